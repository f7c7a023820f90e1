// Reader of the storm data: pluviographs, rainfalls and recorded hydrographs.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Reads the rest of the storm file into the storm tables: pluviographs and their burst
// totals, sub-area rainfalls, pluviograph references, hydrograph times (setting nHydOrds),
// recorded hydrographs and rise volumes, and names the outlet's hydrograph.
void read3(state::Job& job);

}  // namespace kova::engine
