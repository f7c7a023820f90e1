// The final table of every stored hydrograph.
#pragma once

#include "state/job.h"

namespace kova::engine {

void writetablehyds(state::Job& job);

}  // namespace kova::engine
