// Starting drawdowns of special storages and their filling by the inflow.
#include "engine/routing/special_storage_drawdown.h"

#include <algorithm>
#include <cmath>

namespace kova::engine {

namespace {

constexpr float nearZero = 1.0E-30F;

}  // namespace

StartingDrawdown startingDrawdown(state::Job& job, const SpecialStorage& storage) {
  const float value = storage.start;
  if (value < -nearZero) return {-value, false};
  if (value <= nearZero) return {};
  // A level above the whole table lies above every storage it holds: the storage is full.
  float atLevel = 0.0F;
  float drawdown = 0.0F;
  if (storageAtLevel(storage.elevation, value, atLevel))
    drawdown = std::max(ceaseToFlowStorage(storage) - atLevel, 0.0F);
  job.catchment.cvData(storage.startIndex) = -drawdown;
  return {drawdown, true};
}

StartingDrawdown startingDrawdown(state::Job& job, int step) { return startingDrawdown(job, specialStorage(job, step)); }

float fillDrawdown(std::span<float> inflow, float drawdown, float timeIncSec) {
  if (drawdown <= nearZero) return 0.0F;
  float total = 0.0F;
  for (float& q : inflow) {
    total += timeIncSec * q;
    if (total < drawdown) {
      q = 0.0F;
    } else {
      q = (total - drawdown) / timeIncSec;
      return 0.0F;
    }
  }
  return drawdown - total;
}

DrawdownShare takeByDrawdown(float volume, float drawdown) {
  const float passed = volume - drawdown;
  if (passed < 0.0F) return {0.0F, -passed};
  return {passed, 0.0F};
}

}  // namespace kova::engine
