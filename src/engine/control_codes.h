// Reading the control vector back: code numbers, print flags and the data of a step.
#pragma once

#include <cmath>

#include "state/job.h"

namespace kova::engine {

// The code number of a code value: 11 and 1 give 1, 15 gives 5, 6.1 gives 6, 7.2 gives 7.
inline int codeNumber(float v) {
  const float cm = v - 10.0F * std::trunc(v / 10.0F);
  return static_cast<int>(std::trunc(cm + 0.05F));
}

// Tenths of a code 7: 70 plain print point, 71 gauging station, 72 ungauged location.
inline int stationTenths(float v) {
  const float cm = v - 10.0F * std::trunc(v / 10.0F);
  return static_cast<int>(std::trunc(10.0F * cm + 0.5F));
}

// Value k (from 0) of a step's data in cvData.
inline float stepValue(const state::Job& job, int step, int k) {
  return job.catchment.cvData(static_cast<std::size_t>(job.catchment.stepData(step) + k));
}

// A real that holds a whole number, rounded half away from zero.
inline int nearest(float v) { return static_cast<int>(std::lround(v)); }

// The fields every channel I/O step starts with, and where its own data begin.
struct ChannelIO {
  int kind = 0;        // 0 given hydrograph, 1 function of Q, 2 as an earlier I/O, 3 table of Q
  int reaches = 0;     // 0 concentrated, else the reaches it is spread over
  float direction = 0; // 1 inflow, 0 outflow, -1 outflow that the running hydrograph follows
  int link = 0;        // identifier a later kind-2 I/O refers to (0: none)
  float fifth = 0;     // hydrograph number (kind 0) or the name index of its description
};

inline ChannelIO channelIO(const state::Job& job, int step) {
  ChannelIO io;
  io.kind = nearest(stepValue(job, step, 0));
  io.reaches = nearest(stepValue(job, step, 1));
  io.direction = stepValue(job, step, 2);
  io.link = nearest(stepValue(job, step, 3));
  io.fifth = stepValue(job, step, 4);
  return io;
}

// Kind-2 data after the name index: the hydrograph number lent by an earlier kind-0 I/O,
// the flag that says it was lent, and the step of the earlier I/O.
inline int lentHydrograph(const state::Job& job, int step) { return nearest(stepValue(job, step, 5)); }
inline bool hydrographLent(const state::Job& job, int step) { return stepValue(job, step, 6) > 0.5F; }
inline int earlierStep(const state::Job& job, int step) { return nearest(stepValue(job, step, 7)); }

}  // namespace kova::engine
