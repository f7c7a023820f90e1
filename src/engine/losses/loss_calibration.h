// The calculation of a loss parameter against the recorded volume at an interstation
// area's gauging station (lospar), and the judgement of the result (check).
#pragma once

#include "engine/losses/loss_inputs.h"
#include "state/job.h"

namespace kova::engine {

enum class LosparStatus {
  keep = 1,                // go on with the loss parameter as it now stands
  reenterInitialLoss = 2,  // no excess to fit: ask for a new initial loss (reenter is set)
};

enum class CheckStatus {
  accept = 1,              // the loss parameter stands
  reenterInitialLoss = 2,  // ask for a new initial loss and do the loss step again
  recalculate = 3,         // calculate again from the (possibly new) loss parameter
};

// Refines `lossParam` for burst `burst` of interstation area `area` so that the volume
// at the area's station matches the recorded one; reads the rain left after the initial
// loss in run.subAreaExcess. Sets `reenter` when the caller must ask for a new initial
// loss; a run it abandons has errorFlag set.
LosparStatus lospar(state::Job& job, const LossInputs& in, const state::RunTables& run, int area, int burst,
                    float& lossParam, bool& reenter);

// Judges `lossParam`, reports it and asks whether to change the initial loss or the
// parameter (which it may overwrite); `recordedVolume` is the volume at the station, m³.
// Sets `changedByHand` when the parameter was typed in.
CheckStatus check(state::Job& job, const LossInputs& in, int area, int burst, float& lossParam, float recordedVolume,
                  bool& changedByHand);

}  // namespace kova::engine
