// Helpers of the catchment-reader tests: a catchment file read by read1 in a fresh job,
// the values it left behind, and the checks of a fatal data error.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/input/catchment_reader.h"
#include "io/units.h"
#include "support/job_fixture.h"

namespace kova::test {

// A catchment file: the name line, the reach-type flag, then the given lines.
inline std::string catchmentFile(const std::string& lines, int reachTypeFlag = 1) {
  return "Test catchment\n" + std::to_string(reachTypeFlag) + "\n" + lines;
}

// read1 run over a catchment text.
struct Read1Run {
  JobFixture fixture;
  bool failed = false;

  explicit Read1Run(const std::string& catchment, int printOption = 1) {
    fixture.open(catchment, "", printOption);
    failed = fixture.fails(engine::read1);
  }
  state::Job& job() { return *fixture.job; }
  state::Kov& kov() { return fixture.job->kov; }
  state::CatchmentTables& tables() { return fixture.job->catchment; }
  // Value `offset` (from 0) of the data of step `step`.
  float data(int step, int offset) {
    const auto first = static_cast<std::size_t>(tables().stepData(static_cast<std::size_t>(step)));
    return tables().cvData(first + static_cast<std::size_t>(offset));
  }
  // The first `count` values of the data of step `step`.
  std::vector<float> values(int step, int count) {
    std::vector<float> v;
    for (int k = 0; k < count; ++k) v.push_back(data(step, k));
    return v;
  }
  int stepData(int step) { return tables().stepData(static_cast<std::size_t>(step)); }
  std::string nameAt(float index) {
    return std::string(state::nameAt(job().work, static_cast<int>(index)));
  }
  // The next line the catchment file would give the following reader.
  std::string nextLine() {
    io::InputFile* file = io::inputUnit(job().units, job().unitid.catchmentUnit);
    if (file == nullptr || io::atEnd(*file)) return "<end>";
    return file->lines[file->next];
  }
  std::string output() { return fixture.output(); }
};

// The job ended on a data error whose whole diagnosis is `message` (its lines joined
// by newlines), with the short note in the log and the files closed.
inline void expectDataError(Read1Run& run, const std::string& message) {
  EXPECT_TRUE(run.failed);
  EXPECT_EQ(run.job().genpar.errorFlag, 1);
  EXPECT_EQ(run.output(), message + "\n");
  EXPECT_NE(run.fixture.log().find(" Fatal error - see output file"), std::string::npos);
  EXPECT_FALSE(io::isOpen(run.job().units, run.job().unitid.outputUnit));
  EXPECT_FALSE(io::isOpen(run.job().units, run.job().unitid.catchmentUnit));
  EXPECT_FALSE(io::isOpen(run.job().units, run.job().unitid.stormUnit));
}

// One bad record and the diagnosis it must give.
struct BadRecord {
  const char* what;
  std::string catchment;
  std::string message;
};

inline void expectAllRefused(const BadRecord* rows, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(rows[i].what);
    Read1Run run(rows[i].catchment);
    expectDataError(run, rows[i].message);
  }
}

}  // namespace kova::test
