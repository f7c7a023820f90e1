// Hydrograph override: recorded hydrographs that replace calculated ones at print points,
// read from a list file and one file per recorded hydrograph.
#pragma once

#include <span>
#include <string>

#include "state/job.h"

namespace kova::override_ {

// Reads the override list file named by genpar.overrideFile and every recorded file it
// names, and resets the override counters. A list file that is missing, unreadable or
// shorter than its count logs "Error reading hydrograph override files" and sets
// errorFlag; a recorded file that fails is logged and left unused.
void readhydrographoverridedata(state::Job& job);

// Reads recorded hydrograph i (from 1) into its row: the name line, the calculation-order
// line and nOverrideValues values, one per line. Never sets errorFlag: on any failure the
// file is logged and its calculation order is 0, so it is never applied.
void readrecordedhydrograph(state::Job& job, const std::string& path, int i);

// Called by the run loop at every print point (codes 7, 7.1, 7.2) in control-vector order,
// before the hydrograph is printed and routed on. When this print point's number is the
// next calculation order of the list, the first ordinates of the running hydrograph (as
// many as the series has, at most the run's ordinates) become the recorded series.
void overridePrintPoint(state::Job& job, std::span<float> running);

}  // namespace kova::override_
