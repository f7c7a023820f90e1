// The state the control-vector reader carries from step to step, shared by the
// reader of the plain codes and the reader of the channel I/O records.
#pragma once

#include <algorithm>

#include "io/text_input.h"
#include "state/job.h"

namespace kova::engine {

// A code from here up asks for its hydrograph to be printed, which may need a store.
inline constexpr float printCode = 10.0F;

struct VectorScan {
  state::Job& job;
  io::InputFile& file;
  int step = 0;           // the step being read
  int nextData = 1;       // next free index of cvData
  int level = 1;          // branch level: code 3 goes one down, code 4 one back up
  int reachTypeFlag = 0;  // 1-4 for every reach, 0 when each reach record gives its own
  bool runningNonZero = false;  // sub-area inflow or channel inflow is on the running hydrograph

  // The distributed channel I/O that is running, if any: n > 0 counts down its reaches,
  // n = -1 runs to the end of the vector and counts the reaches that follow it.
  int ioReachesLeft = 0;
  bool ioToEnd = false;
  int ioToEndSlot = 0;     // cvData index of the n that gets the count at the end
  int ioToEndReaches = 0;
  float ioCode = 0.0F;     // the code of the running I/O, which may ask for stores

  [[nodiscard]] bool ioRunning() const { return ioReachesLeft > 0 || ioToEnd; }
};

// Hydrograph stores are needed down to `level`.
inline void raiseStoreLevel(state::Job& job, int level) {
  job.kov.maxStoreLevel = std::max(job.kov.maxStoreLevel, level);
}

// Ends the job with read1's end-of-file or unreadable-number message for this step.
void vectorReadFailure(state::Job& job, io::ReadStatus status, int step);

// Reads a location line (28 characters) into the next 7 words of the name table,
// echoes it with print option 3, and returns its name index.
int readLocationName(VectorScan& scan, float code);
// Takes the next 7 words of the name table for a name; returns the first.
int takeNameWords(state::Job& job);

// Ends the job unless the value closing the step's record is the end check -99.
void requireEndCheck(VectorScan& scan, float value, int base);

// Code 9: one channel inflow or outflow record.
void readChannelIO(VectorScan& scan, float code);

}  // namespace kova::engine
