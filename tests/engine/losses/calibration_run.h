// A calculating job (FIT or TEST) run in process from catchment and storm texts, with the
// parameter file's loss lines given by the test, and access to what it calibrated.
#pragma once

#include <memory>
#include <string>

#include "driver/job_driver.h"
#include "state/job.h"
#include "support/test_support.h"

namespace kova::test {

struct CalibrationRun {
  ScratchDir dir;
  std::unique_ptr<state::Job> job = std::make_unique<state::Job>();
  int status = -1;

  // `lossLines` are the parameter file's lines from "NumISA" to the last loss line.
  CalibrationRun(const std::string& catchment, const std::string& storm, int lossModel, const std::string& lossLines) {
    dir.write("t.cat", catchment);
    dir.write("t.stm", storm);
    const std::string par =
        dir.write("t.par", "# BEGIN\nCatchment " + dir.file("t.cat") + "\nStorm     " + dir.file("t.stm") +
                               "\nSingle    T\nPrint     1\nLoss      " + std::to_string(lossModel) + "\n" + lossLines +
                               "# END\n");
    status = driver::runJob(*job, par);
  }
  [[nodiscard]] std::string log() const { return readFile(dir.file("t.log")); }
  [[nodiscard]] std::string out() const { return readFile(dir.file("t_t.out")); }
  [[nodiscard]] float lossParam(int area, int burst = 1) const {
    return job->genpar.lossRate[static_cast<std::size_t>(burst - 1)][static_cast<std::size_t>(area - 1)];
  }
  [[nodiscard]] float initialLoss(int area, int burst = 1) const {
    return job->genpar.initialLoss[static_cast<std::size_t>(burst - 1)][static_cast<std::size_t>(area - 1)];
  }
  // The calculated (1) or recorded (2) volume of the n-th printed hydrograph, m³.
  [[nodiscard]] float printedVolume(int n, int which) const {
    const state::Site& s = job->sites.site[static_cast<std::size_t>(n - 1)];
    return which == 1 ? s.stats1.volume : s.stats2.volume;
  }
};

}  // namespace kova::test
