// The stages of a job run in process up to the data echo, for the echo tests.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/input/catchment_reader.h"
#include "engine/input/storm_reader.h"
#include "engine/input/subarea_reader.h"
#include "engine/reports/data_echo.h"
#include "engine/reports/report_test_support.h"
#include "engine/routing/analysis.h"

namespace kova::test {

// Reads the catchment and storm files, analyses the control vector, lays out the echo's
// scratch and writes the echo, as the driver does with print option 3. `beforeEcho` may
// change the job just before the echo. Returns the lines written after the data checks
// (those after " Data check completed"), or nothing when a stage ended the job.
inline std::vector<std::string> runEcho(JobFixture& f, const std::string& catchment, const std::string& storm,
                                        const std::function<void(state::Job&)>& beforeEcho = {}) {
  f.open(catchment, storm, 3);
  const bool failed = f.fails([&](state::Job& job) {
    engine::read1(job);
    state::layoutSubAreaTables(job);
    engine::read2(job);
    state::layoutStormTables(job);
    engine::read3(job);
    state::layoutAnalysisTables(job);
    engine::analys(job);
    state::layoutEchoTables(job);
    if (beforeEcho) beforeEcho(job);
    engine::wridat(job);
  });
  if (failed) return {};
  const std::vector<std::string> all = splitLines(f.output());
  const auto checked = std::find(all.begin(), all.end(), " Data check completed");
  if (checked == all.end()) return {};
  return {checked + 1, all.end()};
}

// The lines from the first that equals `first`, `count` of them (fewer at the end).
inline std::vector<std::string> linesFrom(const std::vector<std::string>& lines, const std::string& first,
                                          std::size_t count) {
  const auto at = std::find(lines.begin(), lines.end(), first);
  const auto n = std::min<std::size_t>(count, static_cast<std::size_t>(lines.end() - at));
  return {at, at + static_cast<std::ptrdiff_t>(n)};
}

}  // namespace kova::test
