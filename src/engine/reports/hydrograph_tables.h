// The final table of every stored hydrograph.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Writes the "Hydrograph summary" to the report unit: the first job.genpar.nHydsPrinted
// records of job.sites as numbered columns, times from job.genpar.tableTimeInc (hours).
void writetablehyds(state::Job& job);

}  // namespace kova::engine
