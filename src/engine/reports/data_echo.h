// The data echo of print option 3.
#pragma once

#include "state/job.h"

namespace kova::engine {

void wridat(state::Job& job);

}  // namespace kova::engine
