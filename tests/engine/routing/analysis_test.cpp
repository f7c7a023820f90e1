// Control-vector analysis on hand-written catchments: interstation areas, flow distances,
// ISA factors, cumulative areas, upstream lists, recorded peaks and rise volumes. Every
// expectation is worked out by hand in the comments.
#include "engine/routing/analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/routing/analysis_run.h"

namespace kova::engine {
namespace {

using test::AnalysedJob;
using test::catchmentFile;
using test::gauges;
using test::stormFile;
using V = std::vector<int>;

constexpr float tol = 1.0E-5F;

TEST(Analysis, EndCodeAloneClosesOneIsaWithFactorOne) {
  // Reaches 2, 3 and 1 km below sub-area 1, 3 and 1 km below sub-area 2: d = 6 and 4.
  // Areas 4 and 6: d_av = (24 + 24) / 10 = 4.8, the ISA's own average, so F = 1.
  AnalysedJob run(catchmentFile("1, 2.0, -99\n1, 3.0, -99\n5, 1.0, -99\n", "4.0, 6.0"), stormFile("DESIGN"));
  ASSERT_FALSE(run.failed) << run.output();
  const state::Job& job = run.job();
  const state::AnalysisTables& a = run.tables();
  EXPECT_EQ(job.kov.nIsas, 1);
  EXPECT_NEAR(run.flowDist(1), 6.0F, tol);
  EXPECT_NEAR(run.flowDist(2), 4.0F, tol);
  EXPECT_NEAR(a.avFlowDist, 4.8F, tol);
  EXPECT_NEAR(run.factor(1), 1.0F, tol);
  EXPECT_NEAR(a.isaArea(1), 10.0F, tol);
  EXPECT_NEAR(a.isaTotalArea(1), 10.0F, tol);
  EXPECT_EQ(run.isaSubAreas(1), (V{2, 1, 2}));
  EXPECT_EQ(run.isaHyds(1), (V{1}));  // the end code's hydrograph number; no room for upstream ones
  EXPECT_EQ(run.isaUpstream(1), (V{0}));
  EXPECT_EQ(run.codeIsa(), (V{1, 1, 1, 1}));
  EXPECT_EQ(a.reachIsa, (V{1, 1, 1}));
  EXPECT_EQ(job.genpar.subAreaIsa[0], 1);
  EXPECT_EQ(job.genpar.subAreaIsa[1], 1);
  // Relative delays of natural reaches are their lengths, divided by d_av.
  const std::vector<float> lengths{2.0F, 3.0F, 1.0F};
  for (std::size_t r = 1; r <= lengths.size(); ++r)
    EXPECT_NEAR(job.catchment.relDelay(r), lengths[r - 1] / 4.8F, tol) << "reach " << r;
  EXPECT_EQ(a.isaName[0], test::padded("Catchment outlet"));
  EXPECT_EQ(a.nSavedSlots, 1);
}

TEST(Analysis, EmptyLineThenDataCheckCompleted) {
  AnalysedJob run(catchmentFile("1, 2.0, -99\n", "1.0"), stormFile("DESIGN"));
  ASSERT_FALSE(run.failed);
  EXPECT_EQ(run.output(), "\n Data check completed\n");
}

TEST(Analysis, FlowDistancesFollowTheBranches) {
  // Sub-area 1 (reach 1, 1 km) is stored at the first code 3; sub-area 2 (reach 2, 2 km)
  // starts a branch that is stored at the second code 3; sub-area 3 (reach 3, 4 km) runs
  // on the innermost branch. The first code 4 adds sub-area 2's branch, reach 4 (8 km)
  // carries sub-areas 2 and 3, the second code 4 adds sub-area 1, reach 5 (16 km) all.
  // Sub-area 2 lies between a code 3 and its code 4 and does not gain reach 3, routed on
  // the other branch before that code 4, but gains reaches 4 and 5 after it.
  //   d1 = 1 + 16 = 17, d2 = 2 + 8 + 16 = 26, d3 = 4 + 8 + 16 = 28.
  // Areas 1, 2, 3: d_av = (17 + 52 + 84) / 6 = 25.5.
  AnalysedJob run(catchmentFile("1, 1.0, -99\n3\n1, 2.0, -99\n3\n1, 4.0, -99\n4\n5, 8.0, -99\n4\n5, 16.0, -99\n",
                                "1.0, 2.0, 3.0"),
                  stormFile("DESIGN"));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_NEAR(run.flowDist(1), 17.0F, tol);
  EXPECT_NEAR(run.flowDist(2), 26.0F, tol);
  EXPECT_NEAR(run.flowDist(3), 28.0F, tol);
  EXPECT_NEAR(run.tables().avFlowDist, 25.5F, tol);
  EXPECT_NEAR(run.factor(1), 1.0F, tol);
  EXPECT_EQ(run.isaSubAreas(1), (V{3, 1, 2, 3}));
  EXPECT_EQ(run.codeIsa(), V(10, 1));
}

// A tributary gauged at station 1, stored; the main stream gauged at station 2 and, one
// sub-area lower, at station 3; the tributary is added back and the outlet lies two
// reaches below. Areas 1, 2, 3, 4 km², one sub-area per ISA.
//   step  1  1, 1 km   sub-area 1, reach 1
//   step  2  7.1       station 1 (hydrograph 1) ends ISA 1
//   step  3  3
//   step  4  1, 2 km   sub-area 2, reach 2
//   step  5  7.1       station 2 ends ISA 2
//   step  6  1, 3 km   sub-area 3, reach 3
//   step  7  7.1       station 3 ends ISA 3
//   step  8  4
//   step  9  1, 4 km   sub-area 4, reach 4
//   step 10  5, 5 km   reach 5
//   step 11  0         hydrograph 4 ends ISA 4
const std::string stationsCatchment = catchmentFile(
    "1, 1.0, -99\n7.1\n3\n1, 2.0, -99\n7.1\n1, 3.0, -99\n7.1\n4\n1, 4.0, -99\n5, 5.0, -99\n", "1.0, 2.0, 3.0, 4.0");

TEST(Analysis, StationsInSeriesAndOnATributary) {
  AnalysedJob run(stationsCatchment, stormFile("DESIGN", gauges(3)));
  ASSERT_FALSE(run.failed) << run.output();
  const state::AnalysisTables& a = run.tables();
  ASSERT_EQ(run.job().kov.nIsas, 4);
  for (int j = 1; j <= 4; ++j) EXPECT_EQ(run.isaSubAreas(j), (V{1, j})) << "ISA " << j;
  // Station 3's area has station 2 directly upstream (station 1 was stored then); the
  // outlet's area has the tributary station 1 and station 3.
  EXPECT_EQ(run.isaUpstream(1), (V{0}));
  EXPECT_EQ(run.isaUpstream(2), (V{0}));
  EXPECT_EQ(run.isaUpstream(3), (V{1, 2}));
  EXPECT_EQ(run.isaUpstream(4), (V{2, 1, 3}));
  EXPECT_EQ(run.isaHyds(1), (V{1, 0}));
  EXPECT_EQ(run.isaHyds(2), (V{2, 0}));
  EXPECT_EQ(run.isaHyds(3), (V{3, 1, 2}));
  EXPECT_EQ(run.isaHyds(4), (V{4, 2, 1, 3}));
  const std::vector<float> own{1, 2, 3, 4};
  const std::vector<float> cumulative{1, 2, 2 + 3, 4 + 1 + (2 + 3)};
  for (int j = 1; j <= 4; ++j) {
    EXPECT_NEAR(a.isaArea(static_cast<std::size_t>(j)), own[static_cast<std::size_t>(j - 1)], tol) << "ISA " << j;
    EXPECT_NEAR(a.isaTotalArea(static_cast<std::size_t>(j)), cumulative[static_cast<std::size_t>(j - 1)], tol)
        << "ISA " << j;
  }
  // Flow distances to the outlet: d1 = 1 + 4 + 5 (the tributary skips reaches 2 and 3),
  // d2 = 2 + 3 + 4 + 5, d3 = 3 + 4 + 5, d4 = 4 + 5.
  EXPECT_NEAR(run.flowDist(1), 10.0F, tol);
  EXPECT_NEAR(run.flowDist(2), 14.0F, tol);
  EXPECT_NEAR(run.flowDist(3), 12.0F, tol);
  EXPECT_NEAR(run.flowDist(4), 9.0F, tol);
  // d_av = (10 + 28 + 36 + 36) / 10 = 11. Each ISA's own average runs to its station:
  // 1, 2, 3 and 9 km, so F = 11, 5.5, 11/3, 11/9.
  EXPECT_NEAR(a.avFlowDist, 11.0F, tol);
  EXPECT_NEAR(run.factor(1), 11.0F, tol);
  EXPECT_NEAR(run.factor(2), 5.5F, tol);
  EXPECT_NEAR(run.factor(3), 11.0F / 3.0F, tol);
  EXPECT_NEAR(run.factor(4), 11.0F / 9.0F, tol);
  // The code 3 is stored before ISA 2 closes and only comes back into the running
  // hydrograph at its code 4, so the outlet's ISA takes it.
  EXPECT_EQ(run.codeIsa(), (V{1, 1, 4, 2, 2, 3, 3, 4, 4, 4, 4}));
  EXPECT_EQ(a.reachIsa, (V{1, 2, 3, 4, 4}));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(run.job().genpar.subAreaIsa[static_cast<std::size_t>(i - 1)], i);
  EXPECT_EQ(a.isaName[0], test::padded("Gauge 1"));
  EXPECT_EQ(a.isaName[2], test::padded("Gauge 3"));
  EXPECT_EQ(a.isaName[3], test::padded("Catchment outlet"));
}

TEST(Analysis, IsaFactorsAndScaledRelativeDelaysOfTwoAreas) {
  // Reach types per record: sub-area 1 above a type-2 reach of 2 km at 1 % (delay 2/3),
  // sub-area 2 above a natural reach of 1 km (delay 1), station 1, sub-area 3 above a
  // type-3 reach of 3 km at 4 % (delay 3/9/2 = 1/6), then a type-4 reach of 2 km (delay 0).
  // Areas 2, 4, 6. Flow distances to the outlet: d1 = 8, d2 = 6, d3 = 5, so
  // d_av = (16 + 24 + 30) / 12 = 35/6. ISA 1 to its station: (2·3 + 4·1) / 6 = 5/3,
  // F1 = (35/6) / (5/3) = 3.5; ISA 2: 6·5 / 6 = 5, F2 = 7/6.
  AnalysedJob run(catchmentFile("1, 2, 2.0, 1.0, -99\n1, 1, 1.0, -99\n7.1\n1, 3, 3.0, 4.0, -99\n5, 4, 2.0, -99\n",
                                "2.0, 4.0, 6.0", 0),
                  stormFile("DESIGN", "0, 3, -99\nUpper gauge\n0, 5, 3, 1, -99\n"));
  ASSERT_FALSE(run.failed) << run.output();
  const state::Job& job = run.job();
  const state::AnalysisTables& a = run.tables();
  const float dav = 35.0F / 6.0F;
  EXPECT_NEAR(a.avFlowDist, dav, tol);
  EXPECT_NEAR(run.factor(1), 3.5F, tol);
  EXPECT_NEAR(run.factor(2), 7.0F / 6.0F, tol);
  EXPECT_NEAR(a.isaAdSum[0], 10.0F, tol);
  EXPECT_NEAR(a.isaAdSum[1], 30.0F, tol);
  const std::vector<float> delays{2.0F / 3.0F, 1.0F, 1.0F / 6.0F, 0.0F};
  for (std::size_t r = 1; r <= delays.size(); ++r)
    EXPECT_NEAR(job.catchment.relDelay(r), delays[r - 1] / dav, tol) << "reach " << r;
  EXPECT_EQ(run.isaSubAreas(1), (V{2, 1, 2}));
  EXPECT_EQ(run.isaSubAreas(2), (V{1, 3}));
  EXPECT_NEAR(a.isaTotalArea(2), 12.0F, tol);
  EXPECT_EQ(run.isaHyds(2), (V{2, 1, 1}));
  EXPECT_EQ(run.isaUpstream(2), (V{1, 1}));
  EXPECT_EQ(a.isaName[0], test::padded("Upper gauge"));
  EXPECT_NEAR(a.isaPeak[0], 5.0F, tol);
  EXPECT_NEAR(a.isaPeak[1], 0.0F, tol);  // the outlet has no recorded hydrograph
  EXPECT_NEAR(job.kov.maxRecordedFlow, 5.0F, tol);
  // One burst takes the whole recorded volume: (0 + 5 + 3 + 1) · 3600 m³.
  EXPECT_NEAR(job.stormTables.riseVol(1, 1), 32400.0F, 0.01F);
}

TEST(Analysis, StationDirectlyBelowAnotherEndsNoIsa) {
  //   step 1  1, 1 km   sub-area 1          step 4  7.1       station 2: no sub-area since 1
  //   step 2  7.1       station 1, ISA 1     step 5  1, 1 km   sub-area 2
  //   step 3  5, 2 km   reach 2              step 6  0         hydrograph 3 ends ISA 2
  // Steps 3 and 4 lie in no ISA: they take the number of ISAs (2) + 1. Hydrograph 1 is
  // shadowed by station 2, which is the one upstream hydrograph of ISA 2; ISA 1 still
  // counts as directly upstream. Reach 2 is routed into ISA 2.
  AnalysedJob run(catchmentFile("1, 1.0, -99\n7.1\n5, 2.0, -99\n7.1\n1, 1.0, -99\n", "3.0, 5.0"),
                  stormFile("DESIGN", gauges(2)));
  ASSERT_FALSE(run.failed) << run.output();
  const state::AnalysisTables& a = run.tables();
  ASSERT_EQ(run.job().kov.nIsas, 2);
  EXPECT_EQ(run.codeIsa(), (V{1, 1, 3, 3, 2, 2}));
  EXPECT_EQ(run.isaHyds(1), (V{1, 0}));
  EXPECT_EQ(run.isaHyds(2), (V{3, 1, 2}));
  EXPECT_EQ(run.isaUpstream(2), (V{1, 1}));
  EXPECT_EQ(a.reachIsa, (V{1, 2, 2}));
  EXPECT_NEAR(a.isaTotalArea(1), 3.0F, tol);
  EXPECT_NEAR(a.isaTotalArea(2), 8.0F, tol);
}

TEST(Analysis, CodesBelowTheLastStationLieInNoIsa) {
  // The end code follows a station with no sub-area between: one ISA; steps 3 and 4 get 2.
  AnalysedJob run(catchmentFile("1, 1.0, -99\n7.1\n5, 2.0, -99\n", "3.0"), stormFile("DESIGN", gauges(1)));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.job().kov.nIsas, 1);
  EXPECT_EQ(run.codeIsa(), (V{1, 1, 2, 2}));
  EXPECT_EQ(run.tables().reachIsa, (V{1, 0}));
}

TEST(Analysis, UngaugedLocationNamesItsIsa) {
  AnalysedJob run(catchmentFile("1, 1.0, -99\n7.2\nCreek at the old mill bridge, upper\n1, 1.0, -99\n", "1.0, 1.0"),
                  stormFile("DESIGN"));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.job().kov.nIsas, 2);
  EXPECT_EQ(run.tables().isaName[0], "Creek at the old mill bridge");
  EXPECT_EQ(run.isaHyds(2), (V{2, 1, 1}));
}

TEST(Analysis, RecordedPeaksAndRiseVolumesOfTwoBursts) {
  //   step 1  1, 1 km   sub-area 1        step 4  9 kind 0 inflow   hydrograph 2
  //   step 2  7.1       hydrograph 1      step 5  9 kind 0 outflow  hydrograph 3
  //   step 3  1, 1 km   sub-area 2        step 6  0                 hydrograph 4
  // Half-hour increments (1800 s). Hydrograph 1 from increment 0: 0 4 6 2, volume
  // 12·1800 = 21600, rise volumes 1:3 -> 5400 and 16200. Hydrograph 2 from increment 2
  // (positions 3 to 5): 1 2 7, volume 18000, rise volumes 1:1. Hydrograph 3 from
  // increment 1: 3 1, volume 7200, rise volumes 1:0.
  const std::string storm =
      "Two bursts\nDESIGN\n0.5, 8, 2, 1, 0, -99\n0, 2, 4, 6\nRain\n1, 1, 1, 1, -99\n"
      "0, 3, 2, 4, 1, 2, -99\n"
      "Station A\n0, 4, 6, 2, -99\n1, 3, -99\n"
      "Inflow B\n1, 2, 7, -99\n2, 2, -99\n"
      "Outflow C\n3, 1, -99\n1, 0, -99\n";
  AnalysedJob run(catchmentFile("1, 1.0, -99\n7.1\n1, 1.0, -99\n9, 0, 0, 1, 0, -99\n9, 0, 0, 0, 0, -99\n", "1.0, 1.0"),
                  storm);
  ASSERT_FALSE(run.failed) << run.output();
  const state::Job& job = run.job();
  const state::AnalysisTables& a = run.tables();
  ASSERT_EQ(job.kov.nHyds, 3);
  EXPECT_NEAR(a.hydPeak[1], 6.0F, tol);
  EXPECT_NEAR(a.hydPeak[2], 7.0F, tol);
  EXPECT_NEAR(a.hydPeak[3], 3.0F, tol);
  EXPECT_NEAR(job.kov.maxRecordedFlow, 7.0F, tol);
  EXPECT_NEAR(a.isaPeak[0], 6.0F, tol);
  const state::Mat1<float>& rise = job.stormTables.riseVol;
  EXPECT_NEAR(rise(1, 1), 5400.0F, 0.01F);
  EXPECT_NEAR(rise(2, 1), 16200.0F, 0.01F);
  EXPECT_NEAR(rise(1, 2), 9000.0F, 0.01F);
  EXPECT_NEAR(rise(2, 2), 9000.0F, 0.01F);
  EXPECT_NEAR(rise(1, 3), 7200.0F, 0.01F);
  EXPECT_NEAR(rise(2, 3), 0.0F, 0.01F);
  // The concentrated inflow feeds the outlet's ISA as an upstream hydrograph; the
  // outflow does not.
  EXPECT_EQ(run.isaHyds(2), (V{4, 2, 1, 2}));
}

TEST(Analysis, DistributedInflowIsNoUpstreamHydrograph) {
  // A kind-0 inflow spread over the next reach takes hydrograph 2 but is not listed.
  AnalysedJob run(catchmentFile("1, 1.0, -99\n7.1\n1, 1.0, -99\n9, 0, 1, 1, 0, -99\n5, 1.0, -99\n", "1.0, 1.0"),
                  stormFile("DESIGN", gauges(2)));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.isaHyds(2), (V{3, 1, 1}));
}

TEST(Analysis, AverageFlowDistanceOfZeroStopsTheJob) {
  AnalysedJob run(catchmentFile("1, 0.0, -99\n", "2.0"), stormFile("DESIGN"));
  ASSERT_TRUE(run.reachedAnalysis);
  ASSERT_TRUE(run.failed);
  EXPECT_EQ(run.output(), " Data error: av. flow dist. <= 0.--check areas & dists.\n");
  EXPECT_EQ(run.log(), " Fatal error - see output file\n");
  EXPECT_TRUE(test::filesClosed(run.f));
}

TEST(Analysis, CatchmentWithoutSubAreasHasNoIsa) {
  // Nothing to average: the relative delay stays as read and no ISA is formed.
  AnalysedJob run("No sub-areas\n1\n5, 2.0, -99\n7\nBridge\n0\n", "S\nDESIGN\n1.0, 4, -99\n");
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.job().kov.nIsas, 0);
  EXPECT_NEAR(run.job().catchment.relDelay(1), 2.0F, tol);
  EXPECT_EQ(run.output(), "\n Data check completed\n");
}

}  // namespace
}  // namespace kova::engine
