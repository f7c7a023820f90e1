// One walk of the control vector for the loss-parameter calculation: the running volume
// of an interstation area's runoff down to its gauging station, for a trial parameter.
#pragma once

#include "engine/losses/loss_inputs.h"
#include "state/job.h"

namespace kova::engine {

// What one walk found at the area's station.
struct VolumeWalk {
  float volume = 0.0F;        // V: calculated volume at the station, m³
  float excessWeight = 0.0F;  // A: sub-area km² times the increments with excess
  bool reachedStation = false;
};

// Walks the control vector for burst `burst` of area `area` with loss parameter `c`, on
// the rain left after the initial loss in run.subAreaExcess. Special storages of the area
// take their drawdown out of the volume and write back the drawdown at the start of the
// burst (only when `firstWalk`) and the drawdown left. Stops early when errorFlag is set.
VolumeWalk walkVolume(state::Job& job, const LossInputs& in, const state::RunTables& run, int area, int burst,
                      float c, bool firstWalk);

// The drawdown of the special storage at `step` at the start of the burst and the drawdown
// it has left after it, m³, as the last walk wrote them.
struct StorageDrawdowns {
  float atStart = 0.0F;
  float left = 0.0F;
};
StorageDrawdowns storageDrawdowns(const state::Job& job, int step);

// The interstation area of control-vector step `step` (0 outside the table).
int areaOfStep(const state::Job& job, int step);

}  // namespace kova::engine
