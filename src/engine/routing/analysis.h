// Control-vector analysis: interstation areas, flow distances, ISA factors, saved-I/O
// slots, recorded peaks and volumes, and the last data checks before the run.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Walks the control vector once and fills job.analysisTables (and the sub-area ISA table,
// the scaled relative delays, the rise volumes in m³ and the largest recorded discharge).
void analys(state::Job& job);

// Ends the job when interstation area j, ended at step `step` in a FIT or TEST run, holds
// a discharge-dependent channel I/O that is not paired with one of opposite direction.
void chiofq(state::Job& job, int isa, int step);

// 1 when the channel I/O at `step` depends on the running discharge, else 0.
int ioeqfq(const state::Job& job, int step);

}  // namespace kova::engine
