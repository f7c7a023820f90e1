// Whole jobs with a "Matching :" line, run through the executable: a recorded series takes
// the place of the calculated outlet, a faulty override list ends the job, a faulty recorded
// file only leaves a warning.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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
std::string parameters(bool matching) {
  return std::string("# BEGIN\nCatchment c.cat\nStorm     s.stm\nSingle    T\nPrint     1\nLoss      1\n"
                     "NumISA     1\nkc, m     1.0 0.8\nNumBurst   1\nIL, CL    1 0.5\n") +
         (matching ? "Matching : over.lst\n" : "") + "# END\n";
}

struct MatchingJob {
  test::ScratchDir dir;
  explicit MatchingJob(bool matching = true) {
    dir.write("c.cat", catchment);
    dir.write("s.stm", storm);
    dir.write("job.par", parameters(matching));
  }
  int run() { return test::runKova({"job.par"}, dir.path()).status; }
  std::string log() const { return test::readFile(dir.file("job.log")); }
  // The outlet's column of the final hydrograph table, as printed.
  std::vector<std::string> outletColumn() const {
    std::vector<std::string> column;
    bool inTable = false;
    for (const std::string& line : test::readLines(dir.file("c_s.out"))) {
      if (line.find("Hyd001") != std::string::npos) {
        inTable = true;
        continue;
      }
      std::istringstream fields(line);
      std::string inc, time, flow;
      if (inTable && fields >> inc >> time >> flow) column.push_back(flow);
    }
    return column;
  }
};

TEST(OverrideJob, TheRecordedSeriesTakesThePlaceOfTheCalculatedOutlet) {
  MatchingJob calculated(false);
  ASSERT_EQ(calculated.run(), 0) << calculated.log();
  const std::vector<std::string> plain = calculated.outletColumn();
  ASSERT_GE(plain.size(), 3U);

  MatchingJob job;
  job.dir.write("over.lst", "1\n0.0\n2\nrec.txt\n");
  job.dir.write("rec.txt", "Outlet record\n1\n77.5\n66.25\n");
  ASSERT_EQ(job.run(), 0) << job.log();
  std::vector<std::string> expected = plain;
  expected[0] = "77.5000";
  expected[1] = "66.2500";
  // Only the two recorded ordinates change; the rest stay as calculated.
  EXPECT_EQ(job.outletColumn(), expected);
  EXPECT_EQ(job.log(), "\n");
}

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
