// The loss models: burst rainfall on every sub-area, initial loss and runoff coefficient
// or continuing loss, the area and catchment averages, and the sub-area inflows.
#pragma once

#include <functional>
#include <string_view>

#include "driver/hooks.h"
#include "engine/losses/loss_calibration.h"
#include "engine/losses/loss_inputs.h"
#include "state/job.h"

namespace kova::engine {

// The calls out of the loss step that depend on a user or on the calibration; the
// engine's own by default, replaceable where a caller needs other answers.
struct LossCalls {
  std::function<LosparStatus(state::Job&, const LossInputs&, const state::RunTables&, int, int, float&, bool&)> lospar =
      engine::lospar;
  std::function<CheckStatus(state::Job&, const LossInputs&, int, int, float&, float, bool&)> check = engine::check;
  // Asked for a new initial loss (mm) on a return to the loss step; may overwrite it.
  std::function<void(std::string_view, float&)> askInitialLoss = driver::getwinreal;
};

// Marks every (burst, interstation area) pair for the loss step.
void markAllPairsActive(state::RunTables& run);

// Turns the rainfall of every burst of every interstation area whose recompute flag is
// set into rainfall-excess and inflow (run.subAreaExcess in m³/s), fills the averages and
// the losses used, writes them back into the loss table and clears the flags. In a FIT
// or TEST run with gauging stations the loss parameter is calculated against the
// recorded volumes. Hyetographs are printed in run 1 with printOption 2 or more.
// A fatal condition ends the job (JobEnded).
void losmod(state::Job& job, int run, const LossInputs& in, state::RunTables& out, const LossCalls& calls = {});

}  // namespace kova::engine
