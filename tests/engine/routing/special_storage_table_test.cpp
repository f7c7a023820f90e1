// The computed elevation-storage-discharge table of spillways and pipe outlets: the pipe
// phases of one group against the formulas worked by hand, the stepped elevations, the
// top elevation search and whole tables built from storages read by the real reader.
#include "engine/routing/storage_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/input/catchment_read_support.h"
#include "engine/routing/special_storage_record.h"

namespace kova::engine {
namespace {

PipeGroup group(float invert, float pipes, float length, float gradient, float diameter) {
  return PipeGroup{invert, pipes, length, gradient, diameter};
}

std::vector<float> pipeDischarges(const PipeGroup& g, const std::vector<float>& elevations) {
  std::vector<float> q(elevations.size(), 0.0F);
  addPipeFlow(pipeFlow(g, 0.5F, 0.2F), elevations, q);
  return q;
}

void expectNear(const std::vector<float>& got, const std::vector<double>& want, double tolerance) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "at " << i;
}

// One pipe of 1 m over 50 m at 1 %, entrance loss 0.5, bend loss 0.2:
//   f = 1/(0.868 ln(1/0.0003) + 1.74)² = 0.0129692
//   C_p = 0.785 sqrt(19.6/(0.0129692·50 + 0.2 + 0.5 + 1)) = 2.267806
//   h_p = U - 0.5 + 1 = U + 0.5;  Q_b = C_p sqrt(0.5) = 1.603581
//   A1 = 1.5 (0.025)^0.05 = 1.247350;  A2 = 1.38 (0.025)^0.05 = 1.147562
TEST(PipeFlow, CoefficientsOfOneGroup) {
  const PipeFlow p = pipeFlow(group(100, 1, 50, 1, 1), 0.5F, 0.2F);
  EXPECT_TRUE(p.flows);
  EXPECT_NEAR(p.fullCoeff, 2.267806, 1e-5);
  EXPECT_NEAR(p.fullLevel, 100.5, 1e-5);
  EXPECT_NEAR(p.barrel, 1.603581, 1e-5);
  EXPECT_NEAR(p.lowInlet, 1.247350, 1e-5);
  EXPECT_NEAR(p.highInlet, 1.147562, 1e-5);
}

// The group above: low inlet up to 0.8 m of head, then the high inlet; above the barrel
// limit past the pipe's top (H = 1.5: inlet 2.108206 against a full pipe of 2.267806)
// the inlet flow stands; at H = 2 the full pipe passes less (2.777484 < 3.245795) and
// takes over for good.
TEST(PipeFlow, InletFlowStandsAboveTheBarrelLimitUntilTheFullPipePassesLess) {
  const std::vector<float> h{100.0F, 100.5F, 100.9F, 101.2F, 101.5F, 102.0F, 103.0F};
  expectNear(pipeDischarges(group(100, 1, 50, 1, 1), h),
             {0.0, 0.334219, 0.979805, 1.508509, 2.108206, 2.777484, 3.585717}, 2e-5);
}

// 20 m at 0.5 %: C_p = 2.482778, h_p = U + 0.9, Q_b = 0.785123, A1 = 1.204860,
// A2 = 1.108472. At H = 0.9 the high inlet gives 0.946430 > Q_b below the pipe's top:
// the barrel limit holds up to U + D, then the full pipe.
TEST(PipeFlow, HighInletOverTheBarrelLimitGoesToTheBarrelBelowThePipeTop) {
  const std::vector<float> h{100.0F, 100.3F, 100.6F, 100.9F, 101.0F, 101.5F, 103.0F};
  expectNear(pipeDischarges(group(100, 1, 20, 0.5F, 1), h),
             {0.0, 0.122311, 0.456483, 0.785123, 0.785123, 1.923151, 3.597887}, 2e-5);
}

// 5 m at 0.2 %: Q_b = 0.261604, A1 = 1.150906. The low inlet passes the barrel limit at
// H = 0.6 (0.436041), well below 0.8 D; the barrel holds to U + D, then C_p = 2.616039
// with h_p = U + 0.99.
TEST(PipeFlow, LowInletOverTheBarrelLimitGoesStraightToTheBarrel) {
  const std::vector<float> h{100.0F, 100.3F, 100.6F, 100.9F, 101.5F};
  expectNear(pipeDischarges(group(100, 1, 5, 0.2F, 1), h), {0.0, 0.116834, 0.261604, 0.261604, 1.868226}, 2e-5);
}

TEST(PipeFlow, GroupsThatPassNothing) {
  const std::vector<float> h{100.0F, 100.5F, 101.0F, 102.0F};
  const std::vector<double> none(h.size(), 0.0);
  struct Row {
    const char* what;
    PipeGroup g;
  };
  const Row rows[] = {
      {"no pipes", group(100, 0, 50, 1, 1)},
      {"zero diameter", group(100, 1, 50, 1, 0)},
      {"invert above the top elevation", group(102.5F, 1, 50, 1, 1)},
      {"negative gradient", group(100, 1, 50, -1, 1)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    expectNear(pipeDischarges(row.g, h), none, 0.0);
  }
}

// A group whose invert lies between two elevations starts at the one above it; the
// elevations at or below the invert get nothing.
TEST(PipeFlow, StartsAboveTheInvert) {
  const std::vector<float> h{100.0F, 100.2F, 100.6F, 101.0F};
  std::vector<float> q = pipeDischarges(group(100.3F, 1, 50, 1, 1), h);
  EXPECT_EQ(q[0], 0.0F);
  EXPECT_EQ(q[1], 0.0F);
  EXPECT_NEAR(q[2], 1.247350 * std::pow(0.3, 1.9), 2e-5);
}

TEST(SpillwayFlow, WeirFlowAboveTheCrestOnly) {
  const std::vector<float> h{99.0F, 100.0F, 101.0F, 104.0F};
  std::vector<float> q{1.0F, 1.0F, 1.0F, 1.0F};
  addSpillwayFlow(100.0F, 10.0F, 1.7F, h, q);
  // 1.7·10·H^1.5 added: H = 1 gives 17, H = 4 gives 136.
  expectNear(q, {1.0, 1.0, 18.0, 137.0}, 1e-4);
}

TEST(ElevationRun, StepsGrowWithTheHeightToCover) {
  std::vector<float> h;
  appendElevationRun(h, 100.0F, 120.0F);
  std::vector<double> want{100.0};
  for (int k = 1; k <= 10; ++k) want.push_back(100.0 + 0.1 * k);
  for (int k = 1; k <= 6; ++k) want.push_back(101.0 + 0.25 * k);
  for (int k = 1; k <= 15; ++k) want.push_back(102.5 + 0.5 * k);
  // 10 m left: steps of 1 m (a tenth of the rest never reaches 1 m from here).
  for (int k = 1; k <= 9; ++k) want.push_back(110.0 + k);
  want.push_back(120.0);
  expectNear(h, want, 1e-3);
  EXPECT_EQ(h.back(), 120.0F);
}

TEST(ElevationRun, LongRunsStepATenthOfWhatIsLeft) {
  std::vector<float> h;
  appendElevationRun(h, 0.0F, 1000.0F);
  ASSERT_GT(h.size(), 32U);
  EXPECT_NEAR(h[31], 10.0, 1e-3);
  EXPECT_NEAR(h[32], 10.0 + 0.1 * 990.0, 1e-2);  // 109
  EXPECT_NEAR(h[33], 109.0 + 0.1 * 891.0, 1e-2);  // 198.1
  for (std::size_t i = 32; i + 1 < h.size(); ++i) {
    const double step = h[i] - h[i - 1];
    EXPECT_GE(step, 0.999);
    EXPECT_GE(step, 0.1 * (1000.0 - h[i - 1]) - 1e-3);
  }
  EXPECT_EQ(h.back(), 1000.0F);
  EXPECT_LT(h.size(), 200U);
}

TEST(ElevationRun, EndsOnTheTargetOnceWithinOneCentimetre) {
  struct Row {
    float target;
    std::vector<double> want;
  };
  const Row rows[] = {
      {100.35F, {100.0, 100.1, 100.2, 100.3, 100.35}},    // 100.4 passes the target
      {100.305F, {100.0, 100.1, 100.2, 100.305}},         // 100.3 is within 0.01 m
      {100.005F, {100.0, 100.005}},
  };
  for (const Row& row : rows) {
    std::vector<float> h;
    appendElevationRun(h, 100.0F, row.target);
    SCOPED_TRACE(row.target);
    expectNear(h, row.want, 1e-4);
    EXPECT_EQ(h.back(), row.target);
  }
}

// Storages read by the real reader, so the cvData layout is the reader's own.
struct ReadStorage {
  test::Read1Run run;
  SpecialStorage storage;
  explicit ReadStorage(const std::string& record) : run(test::catchmentFile(record + "0\n")) {
    EXPECT_FALSE(run.failed) << run.output();
    storage = specialStorage(run.job(), 1);
  }
};

// One spillway of 1 m with C_w = 1.7 passes 1.7·j^1.5 at j metres above its crest.
TEST(TopElevation, FirstWholeMetreThatPassesTheLargestInflow) {
  ReadStorage s("6\nSpill\n3, 0, 1, 100, 1, 1.7, -99\n2, 10000000, 1.5, 99, -99\n");
  struct Row {
    float inflow;
    float top;
  };
  const Row rows[] = {
      {0.0F, 101.0F},
      {1.69F, 101.0F},
      {1.71F, 102.0F},    // 1 m gives 1.7
      {10.0F, 104.0F},    // 3 m give 8.83, 4 m give 13.6
      {152.0F, 120.0F},   // 20 m give 152.05
      {1000.0F, 120.0F},  // never passed: crest + 20 m
  };
  for (const Row& row : rows) EXPECT_EQ(topElevation(s.storage.outlet, false, row.inflow), row.top) << row.inflow;
}

// The first pipe group adds its full-pipe flow from its full-flow level up: a pipe of
// 1 m over 50 m at 1 % from 99 m runs full from 99.5 m, passing 2.267806·sqrt(h - 99.5).
TEST(TopElevation, CountsTheFirstPipeGroupRunningFull) {
  ReadStorage s("6\nPipes\n2, 0, 1, 100, 1, 1.7, 0.5, 0.2, 1, 99, 1, 50, 1, 1, -99\n2, 10000000, 1.5, 99, -99\n");
  // At 101 m: 1.7 + 2.267806·sqrt(1.5) = 4.477; at 102 m: 4.808 + 3.585717 = 8.394.
  EXPECT_EQ(topElevation(s.storage.outlet, true, 4.4F), 101.0F);
  EXPECT_EQ(topElevation(s.storage.outlet, true, 4.9F), 102.0F);
  // The spillway alone: 1.7, 4.81 and 8.83 at 1, 2 and 3 m.
  EXPECT_EQ(topElevation(s.storage.outlet, false, 4.4F), 102.0F);
  EXPECT_EQ(topElevation(s.storage.outlet, false, 4.9F), 103.0F);
}

// A spillway that cannot pass the inflow even 20 m up: the table runs from the crest to
// crest + 20 m over S = 1.0E7·(h - 99)^1.5.
TEST(StorageTable, SpillwayOnlyBuiltUpToTwentyMetresAboveTheCrest) {
  ReadStorage s("6\nSpill\n3, 0, 1, 100, 1, 1.7, -99\n2, 10000000, 1.5, 99, -99\n");
  buildStorageTable(s.run.job(), s.storage, 1000.0F);
  const state::SpecialStorageWork& w = s.run.job().specialStorages;
  ASSERT_EQ(w.elevations.size(), 42U);
  ASSERT_EQ(w.storages.size(), 42U);
  ASSERT_EQ(w.discharges.size(), 42U);
  EXPECT_EQ(w.elevations.front(), 100.0F);
  EXPECT_EQ(w.elevations.back(), 120.0F);
  EXPECT_FLOAT_EQ(w.storages.front(), 1.0E7F);
  EXPECT_NEAR(w.storages.back(), 1.0E7 * std::pow(21.0, 1.5), 1.0E3);
  EXPECT_EQ(w.discharges.front(), 0.0F);
  EXPECT_NEAR(w.discharges.back(), 1.7 * std::pow(20.0, 1.5), 1e-3);
  EXPECT_NEAR(w.discharges[10], 1.7, 1e-4);  // 101 m
}

// Over an elevation table the table's top ends the computed table. With pipes the first
// run climbs from the invert to the crest and the second starts again at the crest.
TEST(StorageTable, PipesAndSpillwayOverAnElevationTable) {
  ReadStorage s(
      "6\nPipes\n2, 0, 1, 100, 10, 1.7, 0.5, 0.2, 1, 99, 1, 50, 1, 1, -99\n"
      "1, 3, 99, 0, 101, 20000, 103, 60000, -99\n");
  buildStorageTable(s.run.job(), s.storage, 1.0E6F);
  const state::SpecialStorageWork& w = s.run.job().specialStorages;
  ASSERT_EQ(w.elevations.size(), 29U);  // 99 .. 100 by 0.1 (11), then 100 .. 103 (18)
  EXPECT_EQ(w.elevations[10], 100.0F);
  EXPECT_EQ(w.elevations[11], 100.0F);
  EXPECT_EQ(w.elevations.back(), 103.0F);
  EXPECT_NEAR(w.storages[5], 5000.0, 0.5);  // 99.5 m
  EXPECT_NEAR(w.storages.back(), 60000.0, 0.5);
  // 100 m: the high inlet alone, 1.147562; 103 m: the full pipe 2.267806·sqrt(3.5) and
  // the spillway 17·3^1.5.
  EXPECT_NEAR(w.discharges[10], 1.147562, 1e-5);
  EXPECT_NEAR(w.discharges[11], 1.147562, 1e-5);
  EXPECT_NEAR(w.discharges.back(), 2.267806 * std::sqrt(3.5) + 17.0 * std::pow(3.0, 1.5), 1e-3);
}

}  // namespace
}  // namespace kova::engine
