// The model run: losses, then the walk of the control vector carrying the running hydrograph.
#pragma once

#include "state/job.h"

namespace kova::engine {

void model(state::Job& job);

}  // namespace kova::engine
