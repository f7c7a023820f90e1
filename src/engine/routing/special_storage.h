// Special storages: retarding basins and dams on the control vector (codes 6 and 6.1).
#pragma once

#include <span>
#include <string_view>

#include "engine/reports/hydrograph_report.h"
#include "state/job.h"

namespace kova::engine {

// The run loop's state handed to a special storage at control-vector step `step`.
struct BasinCall {
  int step = 0;                // the control-vector step of the code 6 or 6.1
  std::span<float> running;    // the running hydrograph, routed in place (nTimes ordinates)
  float* inflowVolume = nullptr;    // V of the run loop (m³), updated in place
  float* inflowCentroid = nullptr;  // T of the run loop (hours), updated in place
  float excessCentroid = 0.0F;      // TX handed to the hydrograph report
  float area = 0.0F;                // km² above the storage, handed with its print
  PrintRainfall rainfall{};         // the rainfall attached to its print
};

// Routes the running hydrograph through the storage of the step, reports its results
// and may end the job.
void basin(state::Job& job, const BasinCall& call);

// The number of the last entry of the gate-operations storage list named `name`
// (trailing blanks aside), 0 when none is.
int get_index_of_ss(const state::Job& job, std::string_view name);

}  // namespace kova::engine
