// Storage routing of one hydrograph through a reach storage or a special storage
// (`route`), and the remembered-position table look-up it relies on (`interp`).
#pragma once

#include <span>
#include <string_view>

#include "state/job.h"

namespace kova::engine {

// Storage numbers handed to `route`: a reach is numbered from 1; a special storage is
// 0 with a power law and -1 with a storage-discharge table.
inline constexpr int specialPowerLaw = 0;
inline constexpr int specialTable = -1;

// The largest outflow (m³/s) and storage (m³) reached while routing. The outflow is -1
// when the storage-discharge table was exceeded.
struct RoutePeaks {
  float outflow = 0.0F;
  float storage = 0.0F;
};

// Routes `inflow` through a storage S = 3600·k·Q^m (k in hours) and writes the outflow.
// `outflow` is either the very span `inflow` (routing in place) or a disjoint one of at
// least the same length. storageNumber is the reach number (1 or more; one implicit step
// per time increment) or specialPowerLaw (steps refined where the solution is coarse).
// The time increment comes from job.kov; the job is only written to for warnings.
void route(state::Job& job, std::span<const float> inflow, std::span<float> outflow, float k, float m,
           int storageNumber, std::string_view name, RoutePeaks& peaks);

// Routes `inflow` through a special storage given as a storage-discharge table (the first
// discharge 0, discharges increasing). Going past the top of the table writes the error
// to the output file, sets peaks.outflow = -1 and ends the job (state::JobEnded), with
// the outflow routed up to that time increment.
void route(state::Job& job, std::span<const float> inflow, std::span<float> outflow,
           std::span<const float> storages, std::span<const float> discharges, std::string_view name,
           RoutePeaks& peaks);

// Piecewise-linear look-up of y at x on the table (x, y), x increasing. `position`
// (numbered from 1) is the caller's remembered search start and is left at the lower end
// of the bracket found. Below the table y is y(1); above it y is left unchanged and the
// result is 1 (otherwise 0).
int interp(int& position, std::span<const float> x, std::span<const float> y, float xValue, float& yValue);

}  // namespace kova::engine
