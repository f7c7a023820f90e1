// Hydrograph override: recorded hydrographs that replace calculated ones at print points.
#pragma once

#include "state/job.h"

namespace kova::override_ {

void readhydrographoverridedata(state::Job& job);

}  // namespace kova::override_
