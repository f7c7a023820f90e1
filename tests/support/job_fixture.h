// A job set up in memory for stage tests: catchment, storm and output files in a scratch
// folder, the log open, reports going to the output file, as the driver leaves them.
#pragma once

#include <memory>
#include <string>

#include "state/job.h"
#include "support/test_support.h"

namespace kova::test {

struct JobFixture {
  ScratchDir dir;
  std::unique_ptr<state::Job> job = std::make_unique<state::Job>();

  // Writes the catchment and storm files, opens them with the output file and the log,
  // resets the counts and lays out the catchment tables, with the given print option.
  void open(const std::string& catchment, const std::string& storm = "", int printOption = 1);

  // Runs a stage; true when it ended the job on a fatal error.
  template <typename Stage>
  bool fails(Stage&& stage) {
    try {
      stage(*job);
    } catch (const state::JobEnded&) {
      return true;
    }
    return job->genpar.errorFlag != 0;
  }

  // The output file and the log as written so far (the files are flushed first).
  std::string output();
  std::string log();
};

}  // namespace kova::test
