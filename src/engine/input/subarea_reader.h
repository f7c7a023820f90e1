// Reader of the sub-area block and the storm header with its burst times.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Reads the sub-area areas and impervious fractions into the sub-area tables, then the
// storm title, run type, header and burst times; sets nTimes and the kov counts.
void read2(state::Job& job);

}  // namespace kova::engine
