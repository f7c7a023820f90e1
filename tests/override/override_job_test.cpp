// Whole jobs with a "Matching :" line, run through the executable: a faulty override list
// ends the job, a faulty recorded file only leaves a warning.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace kova::override_ {
namespace {

// One sub-area draining to a print point: the least a job needs to run.
const std::string catchment =
    "Override test catchment\n"
    "1\n"
    "1, 2.0, -99\n"
    "7\n"
    "Outlet\n"
    "0\n"
    "5.0, -99\n"
    "0\n";
const std::string storm =
    "Override test storm\n"
    "DESIGN\n"
    "1.0, 4, 1, 1, 0, -99\n"
    "0, 2\n"
    "Pluvio one\n"
    "10.0, 5.0, -99\n";
const std::string parameters =
    "# BEGIN\nCatchment c.cat\nStorm     s.stm\nSingle    T\nPrint     1\nLoss      1\nNumISA     1\n"
    "kc, m     1.0 0.8\nNumBurst   1\nIL, CL    10 2.5\nMatching : over.lst\n# END\n";

struct MatchingJob {
  test::ScratchDir dir;
  MatchingJob() {
    dir.write("c.cat", catchment);
    dir.write("s.stm", storm);
    dir.write("job.par", parameters);
  }
  int run() { return test::runKova({"job.par"}, dir.path()).status; }
  std::string log() const { return test::readFile(dir.file("job.log")); }
};

TEST(OverrideJob, AMissingListFileEndsTheJob) {
  MatchingJob job;
  EXPECT_EQ(job.run(), 1);
  EXPECT_EQ(job.log(), "\n Error reading hydrograph override files\n");
  EXPECT_FALSE(test::exists(job.dir.file("over.lst")));
}

TEST(OverrideJob, AFailingRecordedFileLeavesAWarningAndTheJobRunsOn) {
  MatchingJob job;
  job.dir.write("over.lst", "1\n0.0\n3\nbad.txt\n");
  job.dir.write("bad.txt", "Outlet record\n1\n4.0\n");
  EXPECT_EQ(job.run(), 0) << job.log();
  EXPECT_NE(job.log().find("\n Error reading recorded override hydrograph flow file: bad.txt\n"), std::string::npos)
      << job.log();
}

}  // namespace
}  // namespace kova::override_
