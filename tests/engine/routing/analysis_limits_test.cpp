// The limits of the control-vector analysis: at most 99 interstation areas and 3000
// hydrographs, on generated control vectors.
#include <gtest/gtest.h>

#include <string>

#include "engine/routing/analysis.h"
#include "engine/routing/analysis_run.h"

namespace kova::engine {
namespace {

using test::AnalysedJob;

// n sub-areas of 1 km² each above a 1 km reach and an ungauged location: n ISAs.
AnalysedJob isaChain(int n) {
  std::string codes;
  std::string areas;
  for (int i = 1; i <= n; ++i) {
    codes += "1, 1.0, -99\n7.2\nPlace " + std::to_string(i) + "\n";
    areas += (i > 1 ? ", " : "") + std::string("1.0");
  }
  return AnalysedJob(test::catchmentFile(codes, areas), test::stormFile("DESIGN"));
}

TEST(AnalysisLimits, NinetyNineIsasPass) {
  // Sub-area i lies 1 km above its own location and n - i + 1 km above the outlet, so
  // d_av = (n + 1) / 2 = 50 and every ISA factor is 50 / 1.
  AnalysedJob run = isaChain(99);
  ASSERT_FALSE(run.failed) << run.log();
  ASSERT_EQ(run.job().kov.nIsas, 99);
  EXPECT_NEAR(run.tables().avFlowDist, 50.0F, 1.0E-4F);
  EXPECT_NEAR(run.factor(1), 50.0F, 1.0E-3F);
  EXPECT_NEAR(run.factor(99), 50.0F, 1.0E-3F);
  EXPECT_NEAR(run.tables().isaTotalArea(99), 99.0F, 1.0E-3F);
  EXPECT_EQ(run.isaUpstream(99), (std::vector<int>{1, 98}));
  EXPECT_EQ(run.isaHyds(99), (std::vector<int>{99, 1, 98}));
  EXPECT_NE(run.output().find(" Data check completed"), std::string::npos);
}

TEST(AnalysisLimits, HundredIsasStopTheJob) {
  AnalysedJob run = isaChain(100);
  ASSERT_TRUE(run.reachedAnalysis);
  ASSERT_TRUE(run.failed);
  EXPECT_EQ(run.log(), " Increase parameter NISAMAX\n");
  EXPECT_EQ(run.output().find(" Data check completed"), std::string::npos);
  EXPECT_TRUE(test::filesClosed(run.f));
}

TEST(AnalysisLimits, LargestHydrographCountTheReadersAllowPasses) {
  // Without sub-areas the storm layout still reserves one pluviograph name and one word
  // per sub-area: 7 + 7 (2855 + 1) + 1 = 20000 words, the whole name table.
  std::string codes;
  for (int h = 1; h <= 2855; ++h) codes += "7.2\nLocation\n";
  AnalysedJob run(test::catchmentFile(codes, ""), "S\nDESIGN\n1.0, 4, -99\n");
  ASSERT_FALSE(run.failed) << run.log();
  EXPECT_EQ(run.job().kov.nHyds, 2855);
  EXPECT_EQ(run.output(), "\n Data check completed\n");
}

TEST(AnalysisLimits, MoreThanThreeThousandHydrographsStopTheJob) {
  // The name table stops a vector of 3001 hydrographs before the analysis, so the count
  // is raised on a small job that has come through the readers.
  test::JobFixture f;
  f.open(test::catchmentFile("1, 1.0, -99\n7.1\n", "1.0"), test::stormFile("DESIGN", test::gauges(1)));
  ASSERT_FALSE(f.fails([](state::Job& job) {
    engine::read1(job);
    state::layoutSubAreaTables(job);
    engine::read2(job);
    state::layoutStormTables(job);
    engine::read3(job);
    state::layoutAnalysisTables(job);
  }));
  f.job->kov.nHyds = 3001;
  EXPECT_TRUE(f.fails(analys));
  EXPECT_EQ(f.log(), " Increase parameter NHYDMAX\n");
  EXPECT_TRUE(test::filesClosed(f));
}

}  // namespace
}  // namespace kova::engine
