// Small helpers shared by the report tests: a job with its output file open, and the
// output split into lines.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "support/job_fixture.h"

namespace kova::test {

// A job whose reports go to an open output file, with a time increment of dt hours.
inline void openReportJob(JobFixture& f, float dt = 1.0F) {
  f.open("", "", 1);
  f.job->kov.timeInc = dt;
  f.job->kov.timeIncSec = dt * 3600.0F;
}

inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline std::string blanks(std::size_t n) { return std::string(n, ' '); }

}  // namespace kova::test
