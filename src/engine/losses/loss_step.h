// The loss step of one pair: initial loss, its loss from the rain, the loss parameter
// (given, taken from the area above, or calculated) and the store of what was used.
#pragma once

#include "engine/losses/loss_pair.h"

namespace kova::engine::losses {

// Leaves the rain left after the initial loss in run.subAreaExcess, stores the initial
// loss and loss parameter used (run tables and loss table), clears the pair's recompute
// flag and returns the loss parameter. Ends the job when no pass can get any further.
float lossStep(const LossPair& pair);

}  // namespace kova::engine::losses
