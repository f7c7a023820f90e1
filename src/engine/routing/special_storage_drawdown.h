// The drawdown of a special storage: its starting volume below the cease-to-flow level,
// and how an inflow fills it, as a hydrograph (routing) or as a volume (loss calibration).
#pragma once

#include <span>

#include "engine/routing/special_storage_record.h"
#include "state/job.h"

namespace kova::engine {

struct StartingDrawdown {
  float volume = 0.0F;     // m³ below the cease-to-flow level, never negative
  bool fromLevel = false;  // worked out from a starting water level
};

// The drawdown the storage starts with. A starting water level is turned into the volume
// between the cease-to-flow level and that level, and the record's value becomes minus
// that volume, so that every later use reads a drawdown. A level at or above the
// cease-to-flow level (or above an elevation table) starts the storage full.
StartingDrawdown startingDrawdown(state::Job& job, const SpecialStorage& storage);
// The same for the storage of control-vector step `step`.
StartingDrawdown startingDrawdown(state::Job& job, int step);

// Lets the inflow fill the drawdown: ordinates whose running volume stays below it are
// taken whole, the ordinate that fills it keeps what is left over. Returns the drawdown
// still unfilled (m³); then every ordinate is 0.
float fillDrawdown(std::span<float> inflow, float drawdown, float timeIncSec);

// An inflow volume against a drawdown: what passes the storage and what stays unfilled.
struct DrawdownShare {
  float passed = 0.0F;  // m³
  float left = 0.0F;    // m³ of drawdown still to fill
};
DrawdownShare takeByDrawdown(float volume, float drawdown);

}  // namespace kova::engine
