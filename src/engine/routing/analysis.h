// Control-vector analysis: interstation areas, flow distances and the data checks.
#pragma once

#include "state/job.h"

namespace kova::engine {

void analys(state::Job& job);

}  // namespace kova::engine
