// Reader of the catchment file's control vector with its reach records.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Reads the catchment name, the reach-type flag and the control vector into the
// stage-1 tables, filling the counts of the kov block.
void read1(state::Job& job);

}  // namespace kova::engine
