// Reader of the storm data: pluviographs, rainfalls and recorded hydrographs.
#pragma once

#include "state/job.h"

namespace kova::engine {

void read3(state::Job& job);

}  // namespace kova::engine
