// Tests of the loss models with given loss parameters: rainfall from the pluviographs,
// the initial loss with the impervious rule, continuing loss and runoff coefficient, the
// averages over the area and the catchment, the inflows, and the bursts' edges.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/losses/loss_test_support.h"

namespace kova::test {
namespace {

constexpr float tolerance = 1.0E-5F;

void expectNear(float actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, tolerance * std::max(1.0, std::fabs(expected))) << what;
}

template <typename Get>
void expectSeries(Get get, const std::vector<double>& expected, const std::string& what) {
  for (std::size_t k = 0; k < expected.size(); ++k)
    expectNear(get(static_cast<int>(k + 1)), expected[k], what + " at " + std::to_string(k + 1));
}

// Two sub-areas on one pluviograph (2, 6, 8, 4 mm over four half-hour increments):
// sub-area 1 of 3 km² takes 20 mm, sub-area 2 of 1 km² 10 mm; initial loss 5 mm,
// continuing loss 5 mm/h, that is 2.5 mm per increment.
TEST(LosmodContinuingLoss, TwoSubAreasLoseTheInitialLossThenTheRate) {
  LossJob j({.incs = 4, .subAreas = 2, .dt = 0.5F});
  j.setBurst(1, 0, 1, 4);
  j.setPluvio(1, {2, 6, 8, 4});
  j.setSubArea(1, 3.0F, 0.0F);
  j.setSubArea(2, 1.0F, 0.0F);
  j.setRain(1, 1, 20.0F);
  j.setRain(1, 2, 10.0F);
  j.setArea(1, 4.0F, 4.0F, {1, 2});
  j.given(true);
  j.setLoss(1, 1, 5.0F, 5.0F);
  ASSERT_FALSE(j.losmod());

  expectSeries([&](int k) { return j.rain(k, 1); }, {2, 6, 8, 4}, "rain on 1");
  expectSeries([&](int k) { return j.rain(k, 2); }, {1, 3, 4, 2}, "rain on 2");
  // Sub-area 1 satisfies the 5 mm inside increment 2 (3 mm left over), then loses 2.5 mm
  // an increment: 0, 0.5, 5.5, 1.5 mm. Sub-area 2 only in increment 3 (3 mm over):
  // 0, 0, 0.5, and 2 - 2.5 gives 0, not a negative excess.
  const double perMm1 = 1000.0 * 3.0 / 1800.0;
  const double perMm2 = 1000.0 * 1.0 / 1800.0;
  expectSeries([&](int k) { return j.excess(k, 1); }, {0, 0.5 * perMm1, 5.5 * perMm1, 1.5 * perMm1}, "inflow 1");
  expectSeries([&](int k) { return j.excess(k, 2); }, {0, 0, 0.5 * perMm2, 0}, "inflow 2");
  expectNear(j.burstDepth(1, 1), 7.5, "excess depth 1");
  expectNear(j.burstDepth(1, 2), 0.5, "excess depth 2");

  state::RunTables& r = j.run();
  expectSeries([&](int k) { return r.catchRain(k, 1); }, {7.0 / 4, 21.0 / 4, 28.0 / 4, 14.0 / 4}, "catch rain");
  expectNear(r.burstRain(1, 1), 70.0 / 4, "burst rain");
  expectSeries([&](int k) { return r.catchExcess(k, 1); }, {0, 1.5 / 4, 17.0 / 4, 4.5 / 4}, "catch excess");
  expectSeries([&](int k) { return r.areaAverage(static_cast<std::size_t>(k)); }, {0, 1.5 / 4, 17.0 / 4, 4.5 / 4},
               "area average");
  expectNear(r.burstExcess(1, 1), 23.0 / 4, "burst excess");

  EXPECT_EQ(r.initialLossUsed(1, 1), 5.0F);
  EXPECT_EQ(r.lossParamUsed(1, 1), 5.0F);
  EXPECT_EQ(j.job().genpar.initialLoss[0][0], 5.0F);
  EXPECT_EQ(j.job().genpar.lossRate[0][0], 5.0F);
  EXPECT_EQ(r.recompute(1, 1), 0);
  EXPECT_EQ(j.f.output(), "");
}

// One sub-area of 3.6 km² in one-hour increments, so that 1 mm of excess is 1 m³/s;
// 10 mm of burst rain as 4, 4, 2 mm and no continuing loss.
struct InitialLossRow {
  float fracImperv;
  float initialLoss;
  std::vector<double> excess;
};

TEST(LosmodInitialLoss, ImperviousPartsLowerAnInitialLossTheBurstDoesNotReach) {
  const std::vector<InitialLossRow> rows{
      // 0.7 x 25 = 17.5 mm is never reached; the loss drops to the burst's 10 mm, of
      // which the pervious 7 mm are lost: 3 mm of excess from increment 2 on.
      {0.3F, 25.0F, {0, 1, 2}},
      // Nothing impervious: the whole burst is lost.
      {0.0F, 25.0F, {0, 0, 0}},
      // All impervious: no loss at all.
      {1.0F, 25.0F, {4, 4, 2}},
      // The burst passes the loss: 0.7 x 5 = 3.5 mm lost, not lowered.
      {0.3F, 5.0F, {0.5, 4, 2}},
      // No initial loss: the excess starts with the first rain.
      {0.0F, 0.0F, {4, 4, 2}},
      // Rain exactly equal to what is left of the loss gives no excess; the next
      // increment starts it.
      {0.0F, 8.0F, {0, 0, 2}},
  };
  for (const InitialLossRow& row : rows) {
    const std::string what = "FI " + std::to_string(row.fracImperv) + " IL " + std::to_string(row.initialLoss);
    LossJob j({.incs = 3});
    j.setBurst(1, 0, 1, 3);
    j.setPluvio(1, {4, 4, 2});
    j.unitSubArea(row.fracImperv);
    j.setRain(1, 1, 10.0F);
    j.given(true);
    j.setLoss(1, 1, row.initialLoss, 0.0F);
    ASSERT_FALSE(j.losmod()) << what;
    expectSeries([&](int k) { return j.excess(k, 1); }, row.excess, what);
    double depth = 0;
    for (double e : row.excess) depth += e;
    expectNear(j.burstDepth(1, 1), depth, what + " depth");
    // The lowered loss belongs to the sub-area only; the pair keeps the one given.
    EXPECT_EQ(j.run().initialLossUsed(1, 1), row.initialLoss) << what;
  }
}

// 10 mm in a one-increment burst on 3.6 km², no initial loss, runoff-coefficient model.
struct CoefficientRow {
  float coefficient;
  float fracImperv;
  double excess;
};

TEST(LosmodRunoffCoefficient, ImperviousPartsRunOffAtTheImperviousCoefficient) {
  const std::vector<CoefficientRow> rows{
      {0.95F, 0.5F, 9.5},                     // at or above 0.9 the coefficient holds for every part
      {0.9F, 1.0F, 9.0},  {0.5F, 0.5F, 7.0},  // 0.5 + 0.5 x (0.9 - 0.5) = 0.7
      {0.5F, 0.0F, 5.0},  {0.2F, 1.0F, 9.0},  // all impervious: 0.9 whatever the coefficient
  };
  for (const CoefficientRow& row : rows) {
    const std::string what = "C " + std::to_string(row.coefficient) + " FI " + std::to_string(row.fracImperv);
    LossJob j({.incs = 1});
    j.setBurst(1, 0, 1, 1);
    j.setPluvio(1, {10});
    j.unitSubArea(row.fracImperv);
    j.setRain(1, 1, 10.0F);
    j.given(false);
    j.setLoss(1, 1, 0.0F, row.coefficient);
    ASSERT_FALSE(j.losmod()) << what;
    expectNear(j.excess(1, 1), row.excess, what);
    expectNear(j.burstDepth(1, 1), row.excess, what + " depth");
    EXPECT_EQ(j.run().lossParamUsed(1, 1), row.coefficient) << what;
  }
}

// A zero burst total is replaced by 0.001 only where the pluviograph is used: sub-area 1
// takes 5 mm from pluviograph 2 (all zeros), sub-area 2 no rain from pluviograph 3.
TEST(LosmodRainfall, ZeroPluviographTotalIsReplacedWhereItIsUsed) {
  LossJob j({.incs = 2, .subAreas = 2, .pluvios = 3});
  j.setBurst(1, 0, 1, 2);
  j.setPluvio(1, {1, 1});
  j.setPluvio(2, {0, 0});
  j.setPluvio(3, {0, 0});
  j.setSubArea(1, 1.0F, 0.0F);
  j.setSubArea(2, 1.0F, 0.0F);
  j.setRain(1, 1, 5.0F, 2);
  j.setRain(1, 2, 0.0F, 3);
  j.setArea(1, 2.0F, 2.0F, {1, 2});
  j.given(true);
  ASSERT_FALSE(j.losmod());
  EXPECT_EQ(j.burstTotal(1, 2), 0.001F);
  EXPECT_EQ(j.burstTotal(1, 3), 0.0F);
  EXPECT_EQ(j.burstTotal(1, 1), 2.0F);
  for (int k = 1; k <= 2; ++k) {
    EXPECT_EQ(j.rain(k, 1), 0.0F);
    EXPECT_EQ(j.rain(k, 2), 0.0F);
    EXPECT_EQ(j.excess(k, 1), 0.0F);
    EXPECT_EQ(j.excess(k, 2), 0.0F);
  }
  EXPECT_EQ(j.run().burstRain(1, 1), 0.0F);
}

// Burst 1 is increment 1 alone; burst 2 has its last increment before its first and so
// no increments at all. Initial loss 4 mm, continuing loss 2 mm/h in one-hour steps.
TEST(LosmodBursts, OneIncrementBurstAndBurstWithoutIncrements) {
  LossJob j({.incs = 2, .bursts = 2});
  j.setBurst(1, 0, 1, 1);
  j.setBurst(2, 3, 2, 1);
  j.setPluvio(1, {10, 6});
  j.unitSubArea();
  j.setRain(1, 1, 10.0F);
  j.setRain(2, 1, 7.0F);
  j.given(true);
  j.setLoss(1, 1, 4.0F, 2.0F);
  j.setLoss(2, 1, 4.0F, 2.0F);
  ASSERT_FALSE(j.losmod());
  // 10 - 4 = 6 mm after the initial loss, 2 mm lost in the hour.
  expectNear(j.excess(1, 1), 4.0, "burst 1");
  expectNear(j.burstDepth(1, 1), 4.0, "burst 1 depth");
  expectNear(j.run().burstRain(1, 1), 10.0, "burst 1 rain");
  // Nothing of burst 2 reaches the tables; its total is not touched and its excess
  // depth is that of no increments.
  EXPECT_EQ(j.rain(2, 1), 0.0F);
  EXPECT_EQ(j.excess(2, 1), 0.0F);
  EXPECT_EQ(j.burstTotal(2, 1), 0.0F);
  EXPECT_EQ(j.burstDepth(2, 1), 0.0F);
  EXPECT_EQ(j.run().burstRain(2, 1), 0.0F);
  EXPECT_EQ(j.run().burstExcess(2, 1), 0.0F);
  EXPECT_EQ(j.run().recompute(2, 1), 0);
}

TEST(LosmodBursts, PairWithoutItsRecomputeFlagIsLeftAlone) {
  LossJob j({.incs = 1, .bursts = 2});
  j.setBurst(1, 0, 1, 1);
  j.setBurst(2, 1, 1, 1);
  j.setPluvio(1, {10});
  j.unitSubArea();
  j.setRain(1, 1, 10.0F);
  j.setRain(2, 1, 10.0F);
  j.given(true);
  j.setLoss(1, 1, 1.0F, 0.5F);
  j.setLoss(2, 1, 2.0F, 0.0F);
  j.run().recompute(1, 1) = 0;
  ASSERT_FALSE(j.losmod());
  EXPECT_EQ(j.burstDepth(1, 1), 10.0F);
  EXPECT_EQ(j.run().burstRain(1, 1), 0.0F);
  EXPECT_EQ(j.run().lossParamUsed(1, 1), 0.0F);
  EXPECT_EQ(j.job().genpar.initialLoss[0][0], 1.0F);
  // Burst 2 is done: its 10 mm less 2 mm.
  expectNear(j.burstDepth(2, 1), 8.0, "burst 2 depth");
  EXPECT_EQ(j.run().recompute(1, 1), 0);
  EXPECT_EQ(j.run().recompute(2, 1), 0);
}

// Area 1 (2 km²) drains into area 2 (3 km² of its own, 5 km² in all) in a DESIGN run:
// area 2's catchment averages take area 1's at the weight 2/5.
TEST(LosmodAverages, UpstreamAreasAddAtTheirShareOfTheCatchment) {
  LossJob j({.incs = 2, .subAreas = 2, .areas = 2, .dt = 1.0F});
  j.setBurst(1, 0, 1, 2);
  j.setPluvio(1, {6, 4});
  j.setSubArea(1, 2.0F, 0.0F);
  j.setSubArea(2, 3.0F, 0.0F);
  j.setRain(1, 1, 10.0F);
  j.setRain(1, 2, 5.0F);
  j.setArea(1, 2.0F, 2.0F, {1});
  j.setArea(2, 3.0F, 5.0F, {2}, {1});
  j.given(false);
  j.setLoss(1, 1, 0.0F, 0.5F);
  j.setLoss(1, 2, 0.0F, 0.2F);
  ASSERT_FALSE(j.losmod());
  const state::RunTables& r = j.run();
  // Area 1: rain 6, 4 mm, excess 3, 2 mm. Area 2's own sub-area: rain 3, 2 mm, excess
  // 0.6, 0.4 mm, over 3 of the 5 km².
  expectSeries([&](int k) { return r.catchRain(k, 2); }, {3 * 0.6 + 6 * 0.4, 2 * 0.6 + 4 * 0.4}, "catch rain 2");
  expectNear(r.burstRain(1, 2), 5 * 0.6 + 10 * 0.4, "burst rain 2");
  expectSeries([&](int k) { return r.catchExcess(k, 2); }, {0.6 * 0.6 + 3 * 0.4, 0.4 * 0.6 + 2 * 0.4},
               "catch excess 2");
  expectNear(r.burstExcess(1, 2), 1.0 * 0.6 + 5 * 0.4, "burst excess 2");
  // The area's own average is over its own area only.
  expectSeries([&](int k) { return r.areaAverage(static_cast<std::size_t>(k)); }, {0.6, 0.4}, "area average 2");
  expectSeries([&](int k) { return r.catchRain(k, 1); }, {6, 4}, "catch rain 1");
  expectNear(j.excess(1, 2), 0.6 * 3000 / 3600, "inflow 2");
}

TEST(LosmodLimits, MoreBurstsThanTheLossTableHoldsAreRefused) {
  LossJob j({.bursts = 5});
  for (int b = 1; b <= 5; ++b) j.setBurst(b, b - 1, b, b - 1);
  j.setArea(1, 1.0F, 1.0F, {1});
  j.given(true);
  EXPECT_TRUE(j.losmod());
  EXPECT_EQ(outputLines(j.f), (std::vector<std::string>{
                                  " Data error: losses needed for   5 bursts and   1 interstation areas;",
                                  " the loss table holds 4 bursts and 99 areas",
                              }));
  EXPECT_EQ(j.f.log(), " Fatal error - see output file\n");
}

}  // namespace
}  // namespace kova::test
