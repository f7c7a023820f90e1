// Reader of the sub-area block and the storm header with its burst times.
#pragma once

#include "state/job.h"

namespace kova::engine {

void read2(state::Job& job);

}  // namespace kova::engine
