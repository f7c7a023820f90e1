// Tests of the layouts between the catchment reader and the analysis: the tables lie
// end to end and keep their contents across every move, and each limit message appears
// exactly where the tables stop fitting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/input/storm_setup.h"

namespace kova::test {
namespace {

using state::Job;

template <typename T>
std::ptrdiff_t offset(const state::WorkVector<T>& array, std::span<T> table) {
  return table.data() - array.data();
}

// Fills both work arrays with stale values, as earlier stages leave them, then the shape.
void openWithStaleArrays(JobFixture& f, const std::string& catchment, const std::string& storm,
                         const Read1Shape& shape) {
  f.open(catchment, storm);
  std::fill(f.job->work.realWork.begin(), f.job->work.realWork.end(), -7.0F);
  std::fill(f.job->work.intWork.begin(), f.job->work.intWork.end(), -7);
  leaveAsRead1(*f.job, shape);
}

// Two sub-areas on three reaches, six steps with seven cvData values, two interstation
// areas, three hydrographs (the second ungauged), two channel I/O.
Read1Shape smallShape() {
  Read1Shape s;
  s.nSubAreas = 2;
  s.nReaches = 3;
  s.nSteps = 6;
  s.cvUsed = 7;
  s.isaEnd = {1, 3};
  s.ungauged = {0, 1, 0};
  s.nIOs = 2;
  return s;
}

void fillRead1Tables(Job& job) {
  state::CatchmentTables& c = job.catchment;
  for (std::size_t i = 1; i <= 3; ++i) {
    c.reachLength(i) = 10.0F + static_cast<float>(i);
    c.reachSlope(i) = 20.0F + static_cast<float>(i);
    c.relDelay(i) = 30.0F + static_cast<float>(i);
    c.reachType(i) = static_cast<int>(i);
  }
  for (std::size_t n = 1; n <= 7; ++n) c.cvData(n) = 100.0F + static_cast<float>(n);
  for (std::size_t s = 1; s <= 6; ++s) c.code(s) = static_cast<float>(s) + 0.5F;
  c.ioPrevCount(1) = 41;
  c.ioPrevCount(2) = 42;
}

void expectRead1TablesKept(const Job& job, const std::vector<int>& stepData) {
  const state::CatchmentTables& c = job.catchment;
  for (std::size_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(c.reachLength(i), 10.0F + static_cast<float>(i));
    EXPECT_EQ(c.reachSlope(i), 20.0F + static_cast<float>(i));
    EXPECT_EQ(c.relDelay(i), 30.0F + static_cast<float>(i));
    EXPECT_EQ(c.reachType(i), static_cast<int>(i));
  }
  for (std::size_t n = 1; n <= 7; ++n) EXPECT_EQ(c.cvData(n), 100.0F + static_cast<float>(n));
  for (std::size_t s = 1; s <= 6; ++s) {
    EXPECT_EQ(c.code(s), static_cast<float>(s) + 0.5F);
    EXPECT_EQ(c.stepData(s), stepData[s - 1]);
  }
  EXPECT_EQ(c.isaEnd(1), 1);
  EXPECT_EQ(c.isaEnd(2), 3);
  EXPECT_EQ(job.subAreaTables.isaHyds(2, 1), 3);
  EXPECT_EQ(c.ioPrevCount(1), 41);
  EXPECT_EQ(c.ioPrevCount(2), 42);
}

TEST(Layout, TablesLieEndToEndAndKeepTheirContentsThroughEveryStage) {
  const std::string catchment = "4 5 -99\n1 0.5 0.25 -99\n";
  const std::string storm =
      "T\nTEST\n1 20 2 2 0 -99\n0 3 4 6\nA\n1 1 1 2 2 -99\nB\n0 0 3 3 3 -99\n1 2 -99\n2 2 -99\n"
      "0 2 1 3 -99\nG1\n1 2 3 -99\n1 1 -99\nG3\n4 5 6 -99\n0 1 -99\n";
  JobFixture f;
  openWithStaleArrays(f, catchment, storm, smallShape());
  Job& j = *f.job;
  fillRead1Tables(j);
  const std::vector<int> stepData(j.catchment.stepData.data.begin(), j.catchment.stepData.data.begin() + 6);
  const auto& rw = j.work.realWork;
  const auto& iw = j.work.intWork;

  ASSERT_FALSE(f.fails(state::layoutSubAreaTables));
  const state::CatchmentTables& c = j.catchment;
  const state::SubAreaTables& a = j.subAreaTables;
  EXPECT_EQ(offset(rw, c.reachLength.data), 0);
  EXPECT_EQ(offset(rw, c.reachSlope.data), 3);
  EXPECT_EQ(offset(rw, c.relDelay.data), 6);
  EXPECT_EQ(offset(rw, c.cvData.data), 9);
  EXPECT_EQ(offset(rw, c.code.data), 16);
  EXPECT_EQ(offset(rw, a.subArea.data), 22);
  EXPECT_EQ(offset(rw, a.fracImperv.data), 24);
  EXPECT_EQ(a.realEnd, 26U);
  EXPECT_EQ(offset(iw, c.reachType.data), 0);
  EXPECT_EQ(offset(iw, c.stepData.data), 3);
  EXPECT_EQ(offset(iw, a.isaHyds.data), 9);
  EXPECT_EQ(a.isaHyds.rows, 2U);
  EXPECT_EQ(a.isaHyds.cols(), 5U);  // the area's own hydrograph, the count, three upstream
  EXPECT_EQ(offset(iw, c.ioPrevCount.data), 19);
  EXPECT_EQ(offset(iw, a.burst.data), 21);
  EXPECT_EQ(a.burstCapacity, (200000 - 21) / 4);
  EXPECT_EQ(c.branchFlag.capacity(), 0U);
  expectRead1TablesKept(j, stepData);
  for (std::size_t col = 2; col <= 5; ++col) {
    EXPECT_EQ(a.isaHyds(1, col), 0);
    EXPECT_EQ(a.isaHyds(2, col), 0);
  }
  for (int v : a.burst.data) ASSERT_EQ(v, 0);

  ASSERT_FALSE(f.fails(engine::read2)) << f.output();
  ASSERT_FALSE(f.fails(state::layoutStormTables));
  const state::StormTables& t = j.stormTables;
  EXPECT_EQ(j.kov.nRainIncs, 5);
  EXPECT_EQ(offset(iw, a.burst.data), 21);
  EXPECT_EQ(a.burst.rows, 2U);
  const int bursts[2][4] = {{0, 3, 1, 3}, {4, 6, 4, 5}};
  for (std::size_t b = 1; b <= 2; ++b)
    for (std::size_t col = 1; col <= 4; ++col) EXPECT_EQ(a.burst(b, col), bursts[b - 1][col - 1]);
  EXPECT_EQ(offset(rw, t.pluvio.data), 26);
  EXPECT_EQ(t.pluvio.rows, 5U);
  EXPECT_EQ(offset(rw, t.burstTotal.data), 36);
  EXPECT_EQ(offset(rw, t.subAreaRain.data), 40);
  EXPECT_EQ(offset(rw, t.riseVol.data), 44);
  EXPECT_EQ(offset(rw, t.recHyd.data), 50);
  EXPECT_EQ(t.recHydCapacity, (5'000'000 - 50) / 3);
  EXPECT_EQ(offset(iw, t.pluvioRef.data), 29);
  EXPECT_EQ(offset(iw, t.hydTimes.data), 33);
  EXPECT_EQ(t.intEnd, 39U);
  for (float v : t.pluvio.data) ASSERT_EQ(v, 0.0F);  // stale values are gone
  expectRead1TablesKept(j, stepData);
  EXPECT_EQ(a.subArea(2), 5.0F);
  EXPECT_EQ(a.fracImperv(2), 0.25F);

  ASSERT_FALSE(f.fails(engine::read3)) << f.output();
  ASSERT_FALSE(f.fails(state::layoutAnalysisTables));
  const state::AnalysisTables& an = j.analysisTables;
  EXPECT_EQ(j.kov.nHydOrds, 4);
  EXPECT_EQ(t.recHyd.rows, 4U);
  EXPECT_EQ(offset(rw, an.isaArea.data), 62);
  EXPECT_EQ(offset(rw, an.isaTotalArea.data), 64);
  EXPECT_EQ(offset(rw, an.flowDist.data), 66);
  EXPECT_EQ(an.realEnd, 68U);
  EXPECT_EQ(offset(iw, an.subAreaMark.data), 39);
  EXPECT_EQ(offset(iw, an.isaUpstream.data), 41);
  EXPECT_EQ(offset(iw, an.isaSubAreas.data), 45);
  EXPECT_EQ(an.isaSubAreas.cols(), 3U);
  EXPECT_EQ(offset(iw, an.codeIsa.data), 51);
  EXPECT_EQ(offset(iw, an.hydMark.data), 57);
  EXPECT_EQ(offset(iw, an.isaMark.data), 60);
  EXPECT_EQ(an.intEnd, 62U);

  const float rec[3][4] = {{1, 2, 3, 0}, {0, 0, 0, 0}, {0, 4, 5, 6}};
  for (std::size_t h = 1; h <= 3; ++h)
    for (std::size_t n = 1; n <= 4; ++n) EXPECT_EQ(t.recHyd(n, h), rec[h - 1][n - 1]) << h << "," << n;
  EXPECT_EQ(t.riseVol(1, 1), 0.5F);
  EXPECT_EQ(t.riseVol(2, 3), 1.0F);
  EXPECT_EQ(t.pluvio(5, 2), 3.0F);
  EXPECT_EQ(t.burstTotal(1, 1), 3.0F);
  EXPECT_EQ(t.burstTotal(2, 2), 6.0F);
  EXPECT_EQ(t.subAreaRain(2, 1), 4.0F);
  EXPECT_EQ(t.pluvioRef(1, 2), 2);
  EXPECT_EQ(t.hydTimes(2, 3), 3);
  for (std::size_t b = 1; b <= 2; ++b)
    for (std::size_t col = 1; col <= 4; ++col) EXPECT_EQ(a.burst(b, col), bursts[b - 1][col - 1]);
  expectRead1TablesKept(j, stepData);
  for (float v : an.flowDist.data) EXPECT_EQ(v, 0.0F);
  for (int v : an.isaMark.data) EXPECT_EQ(v, 0);
}

TEST(Layout, TheIoTableMayMoveUpOverItsOldPlace) {
  // 99 areas by 1502 columns end above where the I/O table began (4761 x 31), inside it.
  Read1Shape shape;
  shape.nSubAreas = 1;
  shape.nReaches = 1;
  shape.nSteps = 3;
  shape.isaEnd.assign(99, 5);
  shape.ungauged = hydrographs(1500);
  shape.nIOs = 2000;
  JobFixture f;
  openWithStaleArrays(f, "", "", shape);
  Job& j = *f.job;
  for (std::size_t o = 1; o <= 2000; ++o) j.catchment.ioPrevCount(o) = static_cast<int>(3 * o + 1);
  ASSERT_FALSE(f.fails(state::layoutSubAreaTables));
  EXPECT_EQ(offset(j.work.intWork, j.catchment.ioPrevCount.data), 1 + 3 + 99 * 1502);
  for (std::size_t o = 1; o <= 2000; ++o) ASSERT_EQ(j.catchment.ioPrevCount(o), static_cast<int>(3 * o + 1)) << o;
  const state::Mat1<int>& isa = j.subAreaTables.isaHyds;
  for (std::size_t r = 1; r <= 99; ++r) {
    ASSERT_EQ(isa(r, 1), 5);
    for (std::size_t col = 2; col <= 1502; ++col) ASSERT_EQ(isa(r, col), 0) << r << "," << col;
  }
}

TEST(Layout, EmptyCountsStillLayOutOneElementEach) {
  Read1Shape shape;
  shape.nSubAreas = 0;
  shape.nReaches = 0;
  shape.nSteps = 1;
  shape.isaEnd = {};
  JobFixture f;
  openWithStaleArrays(f, "", "", shape);
  ASSERT_FALSE(f.fails(state::layoutSubAreaTables));
  const Job& j = *f.job;
  EXPECT_EQ(j.catchment.reachLength.capacity(), 1U);
  EXPECT_EQ(j.catchment.reachSlope.capacity(), 1U);
  EXPECT_EQ(j.catchment.relDelay.capacity(), 1U);
  EXPECT_EQ(j.catchment.reachType.capacity(), 1U);
  EXPECT_EQ(j.catchment.cvData.capacity(), 0U);
  EXPECT_EQ(j.catchment.isaEnd.capacity(), 1U);
  EXPECT_EQ(j.subAreaTables.isaHyds.cols(), 1U);  // no hydrographs: one column
  EXPECT_EQ(j.catchment.ioPrevCount.capacity(), 1U);
  EXPECT_EQ(offset(j.work.realWork, j.subAreaTables.subArea.data), 4);
  EXPECT_EQ(j.subAreaTables.realEnd, 6U);
}

// A storage limit: the driver's message in the log, nothing in the output file, the files
// closed and the job ended.
void expectLimit(JobFixture& f, bool failed, const std::string& message) {
  EXPECT_TRUE(failed);
  EXPECT_EQ(f.job->genpar.errorFlag, 1);
  EXPECT_TRUE(filesClosed(f));
  EXPECT_EQ(f.output(), "");
  const std::string log = f.log();
  EXPECT_NE(log.find(" " + message + "\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Fatal error"), std::string::npos) << log;
}

const char* const realLimit = "Limit on total real array storage exceeded";
const char* const integerLimit = "Limit on total integer array storage exceeded";

Read1Shape oneSubArea() {
  Read1Shape s;
  s.nSubAreas = 1;
  s.nReaches = 1;
  s.nSteps = 3;
  s.isaEnd = {1};
  s.ungauged = hydrographs(1);
  return s;
}

std::string oneBurstOf(int increments) {
  const std::string n = std::to_string(increments);
  return "Big\nTEST\n1.0 " + n + " 1 1 0 -99\n0 " + n + "\n";
}

TEST(Layout, AStormNeedingMoreThanFiveMillionRealsEndsWithTheRealLimit) {
  // Below the pluviograph: 1 reach x 3, 3 codes, 1 area x 2 = 8 reals; after it burst
  // total, depth and rise volume, and at least one recorded ordinate: 4 reals.
  JobFixture fits;
  EXPECT_FALSE(runStages(fits, "2.5 -99\n0\n", oneBurstOf(4'999'988), oneSubArea(), Until::stormLayout))
      << fits.log();
  EXPECT_EQ(fits.job->stormTables.recHydCapacity, 1);

  JobFixture f;
  const bool failed = runStages(f, "2.5 -99\n0\n", oneBurstOf(4'999'989), oneSubArea(), Until::stormLayout);
  expectLimit(f, failed, realLimit);
}

TEST(Layout, NoRoomForOneBurstRowEndsWithTheIntegerLimit) {
  Read1Shape shape = oneSubArea();
  shape.isaEnd.assign(99, 1);
  shape.ungauged = hydrographs(2000);
  shape.nIOs = 200000 - 4 - (1 + 3 + 99 * 2002);  // one burst row left
  JobFixture fits;
  fits.open("2.5 -99\n0\n", "");
  leaveAsRead1(*fits.job, shape);
  EXPECT_FALSE(fits.fails(state::layoutSubAreaTables));
  EXPECT_EQ(fits.job->subAreaTables.burstCapacity, 1);

  shape.nIOs += 1;
  JobFixture f;
  f.open("2.5 -99\n0\n", "");
  leaveAsRead1(*f.job, shape);
  expectLimit(f, f.fails(state::layoutSubAreaTables), integerLimit);
}

TEST(Layout, StormTablesBeyondTheIntegerArrayEndWithTheIntegerLimit) {
  // One burst row fits after the control-vector tables, but not the 2 x 2000 hydrograph times.
  Read1Shape shape = oneSubArea();
  shape.isaEnd.assign(99, 1);
  shape.ungauged = hydrographs(2000);
  shape.nIOs = 200000 - 4 - (1 + 3 + 99 * 2002);
  JobFixture f;
  const bool failed = runStages(f, "2.5 -99\n0\n", oneBurstOf(10), shape, Until::stormLayout);
  expectLimit(f, failed, integerLimit);
}

TEST(Layout, TheNameTableMustHoldThePluviographAndHydrographNames) {
  // 7 words for the pluviograph, 7 for the station and 7 for the outlet, 1 for the area.
  Read1Shape shape = oneSubArea();
  shape.nextNameWord = 20000 - 22 + 1;
  JobFixture fits;
  EXPECT_FALSE(runStages(fits, "2.5 -99\n0\n", oneBurstOf(10), shape, Until::stormLayout)) << fits.log();
  EXPECT_EQ(fits.job->stormTables.hydNameWord, 19979 + 7);
  EXPECT_EQ(fits.job->nextNameWord, 19979 + 21);

  shape.nextNameWord += 1;
  JobFixture f;
  const bool failed = runStages(f, "2.5 -99\n0\n", oneBurstOf(10), shape, Until::stormLayout);
  expectLimit(f, failed, integerLimit);
}

TEST(Layout, RecordedHydrographsFillingTheirTableLeaveNoRoomForTheAnalysis) {
  // As in the storm reader's capacity test: 976 ordinates of recorded hydrograph fit,
  // and the analysis needs 2 x 1 + 3 reals after those in use.
  Read1Shape shape;
  shape.nSteps = 4;
  shape.ungauged = hydrographs(1);
  auto storm = [](int finish) {
    std::string text = "Big\nTEST\n1.0 5000000 1 0 0 -99\n0 4999000\n0 " + std::to_string(finish) + " -99\nG\n";
    for (int n = 0; n <= finish; ++n) text += "1 ";
    return text + "-99\n";
  };
  JobFixture fits;
  EXPECT_FALSE(runStages(fits, "1 2 3 -99\n0\n", storm(970), shape, Until::analysisLayout)) << fits.log();
  EXPECT_EQ(fits.job->analysisTables.realEnd, 5'000'000U);

  JobFixture f;
  const bool failed = runStages(f, "1 2 3 -99\n0\n", storm(971), shape, Until::analysisLayout);
  expectLimit(f, failed, realLimit);
}

TEST(Layout, AnalysisTablesBeyondTheIntegerArrayEndWithTheIntegerLimit) {
  // 99 areas by 2001 columns of sub-area lists alone take 198,099 integers.
  Read1Shape shape;
  shape.nSubAreas = 2000;
  shape.nReaches = 2000;
  shape.nSteps = 2001;
  shape.isaEnd.assign(99, 1);
  std::string areas;
  for (int n = 0; n < 2000; ++n) areas += "1 ";
  JobFixture f;
  const bool failed =
      runStages(f, areas + "-99\n0\n", "T\nDESIGN\n1 10 1 0 0 -99\n0 2\n", shape, Until::analysisLayout);
  expectLimit(f, failed, integerLimit);
}

}  // namespace
}  // namespace kova::test
