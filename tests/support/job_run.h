// A whole job run in process from catchment and storm texts and the parameter file's
// model lines, with access to the job state it leaves: prints, sites and loss tables.
#pragma once

#include <memory>
#include <string>

#include "driver/job_driver.h"
#include "state/job.h"
#include "support/test_support.h"

namespace kova::test {

// The parameter file's lines from "Single" on: one kc, m pair, then `isaAndLossLines`
// (from "NumISA" to the last loss line).
inline std::string modelLines(int printOption, int lossModel, const std::string& isaAndLossLines) {
  return "Single    T\nPrint     " + std::to_string(printOption) + "\nLoss      " + std::to_string(lossModel) + "\n" +
         isaAndLossLines;
}

struct JobRun {
  ScratchDir dir;
  std::unique_ptr<state::Job> job = std::make_unique<state::Job>();
  int status = -1;

  JobRun(const std::string& catchment, const std::string& storm, const std::string& modelLines) {
    dir.write("t.cat", catchment);
    dir.write("t.stm", storm);
    const std::string par = dir.write("t.par", "# BEGIN\nCatchment " + dir.file("t.cat") + "\nStorm     " +
                                                   dir.file("t.stm") + "\n" + modelLines + "# END\n");
    status = driver::runJob(*job, par);
  }
  [[nodiscard]] std::string log() const { return readFile(dir.file("t.log")); }
  [[nodiscard]] std::string out() const { return readFile(dir.file("t_t.out")); }
  [[nodiscard]] int prints() const { return job->genpar.nHydsPrinted; }
  // The n-th printed site, counted from 0.
  [[nodiscard]] const state::Site& site(int n) const { return job->sites.site[static_cast<std::size_t>(n)]; }
  [[nodiscard]] float lossParam(int area, int burst = 1) const {
    return job->genpar.lossRate[static_cast<std::size_t>(burst - 1)][static_cast<std::size_t>(area - 1)];
  }
  [[nodiscard]] float initialLoss(int area, int burst = 1) const {
    return job->genpar.initialLoss[static_cast<std::size_t>(burst - 1)][static_cast<std::size_t>(area - 1)];
  }
  // The calculated (1) or recorded (2) volume of the n-th printed hydrograph, m³.
  [[nodiscard]] float printedVolume(int n, int which) const {
    const state::Site& s = site(n - 1);
    return which == 1 ? s.stats1.volume : s.stats2.volume;
  }
};

// A calculating (FIT or TEST) job, flows only, with the loss model and loss lines given.
struct CalibrationRun : JobRun {
  CalibrationRun(const std::string& catchment, const std::string& storm, int lossModel, const std::string& lossLines)
      : JobRun(catchment, storm, modelLines(1, lossModel, lossLines)) {}
};

}  // namespace kova::test
