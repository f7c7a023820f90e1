// Tests of the sub-area and storm-header reader: what it fills from small hand-written
// blocks, and one small bad record for every fatal condition it reports.
#include <gtest/gtest.h>

#include <string>

#include "engine/input/storm_setup.h"

namespace kova::test {
namespace {

const std::string goodAreas = "1.2 2.0 3.4 -99\n0\n";
const std::string goodStorm = "Storm of 12 March\nFIT\n1.0 48 1 1 0 -99\n0 10\n";

TEST(Read2, FillsAreasTitleHeaderAndBurst) {
  JobFixture f;
  ASSERT_FALSE(runStages(f, goodAreas, goodStorm, {}, Until::read2)) << f.output();
  const state::Job& j = *f.job;
  EXPECT_FLOAT_EQ(j.subAreaTables.subArea(1), 1.2F);
  EXPECT_FLOAT_EQ(j.subAreaTables.subArea(2), 2.0F);
  EXPECT_FLOAT_EQ(j.subAreaTables.subArea(3), 3.4F);
  EXPECT_FLOAT_EQ(j.kov.catchArea, 6.6F);
  EXPECT_EQ(j.kov.impervFlag, 0);
  for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(j.subAreaTables.fracImperv(i), 0.0F);
  EXPECT_EQ(j.carr.stormTitle, "Storm of 12 March");
  EXPECT_EQ(j.carr.runTypeText, "FIT");
  EXPECT_EQ(j.kov.runType, 1);
  EXPECT_FLOAT_EQ(j.kov.timeInc, 1.0F);
  EXPECT_FLOAT_EQ(j.kov.timeIncSec, 3600.0F);
  EXPECT_EQ(j.nTimes, 49);
  EXPECT_EQ(j.kov.nBursts, 1);
  EXPECT_EQ(j.kov.nPluvios, 1);
  EXPECT_EQ(j.kov.arealRainFlag, 0);
  const state::Mat1<int>& burst = j.subAreaTables.burst;
  EXPECT_EQ(burst(1, 1), 0);
  EXPECT_EQ(burst(1, 2), 10);
  EXPECT_EQ(burst(1, 3), 1);
  EXPECT_EQ(burst(1, 4), 10);
  EXPECT_EQ(j.burst1Finish, 10);
  EXPECT_EQ(f.output(), "");
}

TEST(Read2, FractionsBoundsAreInclusiveAndTheRecordStartsOnTheFlagLine) {
  JobFixture f;
  const std::string areas = "C areas\n1.2 2.0 3.4\n -99\nC flag and fractions\n1 0.1\n1.0\n0.0 -99\n";
  ASSERT_FALSE(runStages(f, areas, goodStorm, {}, Until::read2)) << f.output();
  const state::Job& j = *f.job;
  EXPECT_EQ(j.kov.impervFlag, 1);
  EXPECT_FLOAT_EQ(j.subAreaTables.fracImperv(1), 0.1F);
  EXPECT_FLOAT_EQ(j.subAreaTables.fracImperv(2), 1.0F);
  EXPECT_FLOAT_EQ(j.subAreaTables.fracImperv(3), 0.0F);
}

TEST(Read2, RunTypeFromTheFirstNonBlank) {
  struct Row {
    const char* line;
    int designStorage;
    int runType;
  };
  const Row rows[] = {{"   FIT", 0, 1}, {"TEST", 0, 2}, {"DESIGN", 1, 3}, {" D", 0, 3}, {"Trial run", 0, 2}};
  for (const Row& row : rows) {
    JobFixture f;
    Read1Shape shape;
    shape.designStorage = row.designStorage;
    const std::string storm = std::string("Title\n") + row.line + "\n1.0 48 1 1 0 -99\n0 10\n";
    ASSERT_FALSE(runStages(f, goodAreas, storm, shape, Until::read2)) << row.line << f.output();
    EXPECT_EQ(f.job->kov.runType, row.runType) << row.line;
  }
}

TEST(Read2, BurstsJoinEndToEndWithGapsBetweenThem) {
  JobFixture f;
  const std::string storm = "Title\nTEST\nC header\n0.5 30 3 2 1 -99\nC burst times\n2 6\n6 10 15\n18\n";
  ASSERT_FALSE(runStages(f, goodAreas, storm, {}, Until::read2)) << f.output();
  const state::Mat1<int>& b = f.job->subAreaTables.burst;
  const int want[3][4] = {{2, 6, 1, 4}, {6, 10, 5, 8}, {15, 18, 9, 11}};
  for (std::size_t r = 1; r <= 3; ++r)
    for (std::size_t c = 1; c <= 4; ++c) EXPECT_EQ(b(r, c), want[r - 1][c - 1]) << r << "," << c;
  EXPECT_EQ(f.job->kov.nPluvios, 2);
  EXPECT_EQ(f.job->kov.arealRainFlag, 1);
  EXPECT_FLOAT_EQ(f.job->kov.timeIncSec, 1800.0F);
  EXPECT_EQ(f.job->nTimes, 31);
  EXPECT_EQ(f.job->burst1Finish, 6);
}

TEST(Read2, BurstsThatTouchAreAccepted) {
  JobFixture f;
  const std::string storm = "Title\nFIT\n1.0 48 2 1 0 -99\n0 10 10 20\n";
  ASSERT_FALSE(runStages(f, goodAreas, storm, {}, Until::read2)) << f.output();
  const state::Mat1<int>& b = f.job->subAreaTables.burst;
  EXPECT_EQ(b(1, 3), 1);
  EXPECT_EQ(b(1, 4), 10);
  EXPECT_EQ(b(2, 3), 11);
  EXPECT_EQ(b(2, 4), 20);
}

TEST(Read2, WithoutSubAreasOnlyTheShortHeaderIsRead) {
  JobFixture f;
  Read1Shape shape;
  shape.nSubAreas = 0;
  shape.nReaches = 0;
  shape.isaEnd = {};
  ASSERT_FALSE(runStages(f, "", "No rain\nDESIGN\n0.25 20 -99\n", shape, Until::read2)) << f.output();
  EXPECT_EQ(f.job->kov.nBursts, 0);
  EXPECT_EQ(f.job->kov.catchArea, 0.0F);
  EXPECT_EQ(f.job->nTimes, 21);
  EXPECT_EQ(f.job->kov.runType, 3);
}

TEST(Read2, PrintOption3WritesTheSectionHeadings) {
  JobFixture f;
  ASSERT_FALSE(runStages(f, "1 2 3 -99\n1 0 0 0 -99\n", goodStorm, {}, Until::read2, 3)) << f.output();
  EXPECT_EQ(f.output(),
            " Sub-area areas\n Impervious flag\n Fractions impervious\n Initial storm data\n Rainfall burst times\n");
}

TEST(Read2, SnowmeltAcceptsOneBurstFromTimeZero) {
  JobFixture f;
  const std::string storm = "Title\nDESIGN\n1.0 48 1 3 1 -99\n0 12\n";
  ASSERT_FALSE(runStages(f, goodAreas, storm, {}, Until::read2, 1, 1)) << f.log();
}

// One bad record per fatal condition: the diagnosis in the output file and the short
// line in the log, or, for the snowmelt restrictions, the log line alone.
struct FailureRow {
  const char* what;
  std::string catchment;
  std::string storm;
  std::string output;   // the whole output file
  std::string logLine;  // a line the log must hold
  int snowmeltFlag = 0;
  int designStorage = 0;
};

std::string stormWith(const std::string& header, const std::string& bursts) {
  return "Title\nFIT\n" + header + "\n" + bursts + "\n";
}

const char* const fatal = " Fatal error - see output file";
const std::string unreadable =
    " Data error: possibly character data where numerical value expected,\n             or illegal number\n";
const std::string endOfFile = " Data error: insufficient data in data file\n";

TEST(Read2, EveryFailureEndsTheJobWithItsMessage) {
  const FailureRow rows[] = {
      {"areas end check", "1.2 2.0 3.4 -98\n0\n", goodStorm,
       " Data error:   -98.00 read instead of end check -99\n    3 values & end check read\n", fatal},
      {"area not above 0", "1.2 0.0 3.4 -99\n0\n", goodStorm,
       " Data error: area of sub-area  2 <= 0.--read as    0.00\n", fatal},
      {"negative area", "1.2 2.0 -3.4 -99\n0\n", goodStorm,
       " Data error: area of sub-area  3 <= 0.--read as   -3.40\n", fatal},
      {"impervious flag", "1.2 2.0 3.4 -99\n2\n", goodStorm,
       " Correct data error: imperv. area flag not 0 or 1,=     2\n", fatal},
      {"fractions end check", "1.2 2.0 3.4 -99\n1 0.1 0.2 0.3 -9\n", goodStorm,
       " Data error:    -9.00 read instead of end check -99\n    3 values & end check read\n", fatal},
      {"fraction above 1", "1.2 2.0 3.4 -99\n1 0.1 1.5 0.3 -99\n", goodStorm,
       " Data error: frac.imperv.,s/a  2 <0 or >1--read as    1.50\n", fatal},
      {"fraction below 0", "1.2 2.0 3.4 -99\n1 -0.25 0.5 0.3 -99\n", goodStorm,
       " Data error: frac.imperv.,s/a  1 <0 or >1--read as   -0.25\n", fatal},
      {"run type in lower case", goodAreas, "Title\nfit\n1.0 48 1 1 0 -99\n0 10\n",
       " Data error: run type not FIT, TEST, or DESIGN:- fit\n", fatal},
      {"blank run type", goodAreas, "Title\n\n1.0 48 1 1 0 -99\n0 10\n",
       " Data error: run type not FIT, TEST, or DESIGN:- \n", fatal},
      {"code 6.1 in a TEST run", goodAreas, "Title\nTEST\n1.0 48 1 1 0 -99\n0 10\n",
       " Data error: a control code of 6.1 is illegal in FIT or TEST runs\n", fatal, 0, 1},
      {"snowmelt with two bursts", goodAreas, stormWith("1.0 48 2 3 1 -99", "0 5 5 10"), "",
       " If modelling snow, no. of bursts must = 1", 1},
      {"snowmelt without areal rainfall", goodAreas, stormWith("1.0 48 1 3 0 -99", "0 5"), "",
       " If modelling snow, rainfall flag must = 1", 1},
      {"snowmelt with too few pluviographs", goodAreas, stormWith("1.0 48 1 2 1 -99", "0 5"), "",
       " If modelling snow, no. pluvios must = no. of sub-areas", 1},
      {"snowmelt burst starting late", goodAreas, stormWith("1.0 48 1 3 1 -99", "2 5"), "",
       " If modelling snow, no. time incs to start must = 0", 1},
      {"storm header end check", goodAreas, stormWith("1.0 48 1 1 0 -98", "0 10"),
       " Data error:  -98.00 read instead of -99\n", fatal},
      {"more bursts than the loss table holds", goodAreas,
       stormWith("1.0 48 5 1 0 -99", "0 1 1 2 2 3 3 4 4 5"),
       " Data error: number of bursts   5 exceeds the limit of 4\n", fatal},
      {"areal rainfall flag", goodAreas, stormWith("1.0 48 1 1 2 -99", "0 10"),
       " Data error: areal rainfall flag not 0 or 1 --read as   2\n", fatal},
      {"overlapping bursts", goodAreas, stormWith("1.0 48 2 1 0 -99", "0 10 8 20"),
       " Data error: burst times  8   20\n", fatal},
      {"burst of no length", goodAreas, stormWith("1.0 48 1 1 0 -99", "5 5"),
       " Data error: burst times  5    5\n", fatal},
      {"burst before the initial time", goodAreas, stormWith("1.0 48 1 1 0 -99", "-1 5"),
       " Data error: burst times -1    5\n", fatal},
      {"too few areas", "1.2 2.0\n", goodStorm, endOfFile, fatal},
      {"no impervious flag", "1.2 2.0 3.4 -99\nC nothing after this\n", goodStorm, endOfFile, fatal},
      {"empty storm file", goodAreas, "", endOfFile, fatal},
      {"no run type line", goodAreas, "Title\n", endOfFile, fatal},
      {"storm header cut short", goodAreas, "Title\nFIT\n1.0 48 1\n", endOfFile, fatal},
      {"burst times missing", goodAreas, stormWith("1.0 48 2 1 0 -99", "0 10"), endOfFile, fatal},
      {"character area", "1.2 abc 3.4 -99\n0\n", goodStorm, unreadable, fatal},
      {"real impervious flag", "1.2 2.0 3.4 -99\n1.0\n", goodStorm, unreadable, fatal},
      {"character time increments", goodAreas, stormWith("1.0 many 1 1 0 -99", "0 10"), unreadable, fatal},
      {"character burst time", goodAreas, stormWith("1.0 48 1 1 0 -99", "0 ten"), unreadable, fatal},
  };
  for (const FailureRow& row : rows) {
    JobFixture f;
    Read1Shape shape;
    shape.designStorage = row.designStorage;
    EXPECT_TRUE(runStages(f, row.catchment, row.storm, shape, Until::read2, 1, row.snowmeltFlag)) << row.what;
    EXPECT_EQ(f.job->genpar.errorFlag, 1) << row.what;
    EXPECT_TRUE(filesClosed(f)) << row.what;
    EXPECT_EQ(f.output(), row.output) << row.what;
    const std::string log = f.log();
    EXPECT_NE(log.find(row.logLine + "\n"), std::string::npos) << row.what << ": " << log;
    if (row.logLine != fatal) {
      EXPECT_EQ(log.find("Fatal error"), std::string::npos) << row.what;
    }
  }
}

TEST(Read2, BurstsBeyondTheBurstTableEndWithTheIntegerLimit) {
  // The control-vector tables leave room for one burst row only.
  Read1Shape shape;
  shape.nSteps = 3;
  shape.nReaches = 1;
  shape.nSubAreas = 1;
  shape.isaEnd.assign(99, 1);
  shape.ungauged = hydrographs(2000);
  shape.nIOs = 200000 - 4 - (1 + 3 + 99 * 2002);
  const std::string storm = stormWith("1.0 48 2 1 0 -99", "0 5 5 10");
  JobFixture f;
  EXPECT_TRUE(runStages(f, "1.5 -99\n0\n", storm, shape, Until::read2));
  EXPECT_EQ(f.job->subAreaTables.burstCapacity, 1);
  EXPECT_EQ(f.output(), "\n Limit on total integer array storage (200000) exceeded\n");
  EXPECT_NE(f.log().find(fatal), std::string::npos);
  EXPECT_TRUE(filesClosed(f));

  JobFixture one;
  EXPECT_FALSE(runStages(one, "1.5 -99\n0\n", stormWith("1.0 48 1 1 0 -99", "0 5"), shape, Until::read2))
      << one.output();
}

}  // namespace
}  // namespace kova::test
