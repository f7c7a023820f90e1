// Tests of the loss step in runs that calculate loss parameters: the start values, the
// area below the last hydrograph, and every way back to the initial loss, which ends the
// job when nothing new comes from the user.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/losses/loss_test_support.h"

namespace kova::test {
namespace {

using engine::CheckStatus;
using engine::LosparStatus;

constexpr float tolerance = 1.0E-5F;

// One gauged area of 2 km² with one sub-area, half impervious: 10 mm as 6 and 4 mm in
// one-hour increments, initial loss 4 mm. The pervious half loses 2 mm, so 4 and 4 mm
// are left: SX = 8 mm, PX = 4 mm, IX = 8 x 0.5 x 0.9 = 3.6 mm.
void gaugedArea(LossJob& j, float fracImperv = 0.5F) {
  j.setBurst(1, 0, 1, 2);
  j.setPluvio(1, {6, 4});
  j.setSubArea(1, 2.0F, fracImperv);
  j.setRain(1, 1, 10.0F);
  j.setArea(1, 2.0F, 2.0F, {1});
  j.setLoss(1, 1, 4.0F, 0.77F);
}

// The start value of the loss parameter as the loss step works it out, with the
// calibration left out: lospar keeps it and check accepts it.
engine::LossCalls startValueOnly() {
  engine::LossCalls c;
  c.lospar = [](state::Job&, const engine::LossInputs&, const state::RunTables&, int, int, float&, bool&) {
    return LosparStatus::keep;
  };
  c.check = [](state::Job&, const engine::LossInputs&, int, int, float&, float, bool&) { return CheckStatus::accept; };
  return c;
}

// The area ends at hydrograph 2, with hydrograph 1 (1000 m³, 0.5 mm over the area)
// recorded directly upstream.
struct StartRow {
  float fracImperv;
  float ownDepth;  // recorded depth of the area's own runoff, mm
  double coefficient;
};

TEST(LosmodCalculating, RunoffCoefficientStartsFromTheRecordedDepth) {
  const std::vector<StartRow> rows{
      {0.5F, 5.6F, 0.5},  // (5.6 - 3.6) / 4
      {0.5F, 3.8F, 0.1},  // (3.8 - 3.6) / 4 = 0.05, raised to 0.1
      {1.0F, 5.0F, 0.5},  // nothing pervious: 5 / SX, SX = 10
      {0.0F, 3.0F, 0.5},  // 2 and 4 mm left, all pervious: 3 / 6
  };
  for (const StartRow& row : rows) {
    const std::string what = "FI " + std::to_string(row.fracImperv) + " depth " + std::to_string(row.ownDepth);
    LossJob j({.incs = 2, .hyds = 2});
    gaugedArea(j, row.fracImperv);
    j.setAreaHyds(1, 2, {1});
    j.setRecordedVolume(1, 1, 1000.0F);
    j.setRecordedVolume(1, 2, row.ownDepth * 2.0F * 1000.0F + 1000.0F);
    j.calculating(false);
    ASSERT_FALSE(j.losmod(1, startValueOnly())) << what;
    EXPECT_NEAR(j.run().lossParamUsed(1, 1), row.coefficient, tolerance) << what;
    EXPECT_NEAR(j.job().genpar.lossRate[0][0], row.coefficient, tolerance) << what;
    EXPECT_EQ(j.run().initialLossUsed(1, 1), 4.0F) << what;
  }
}

TEST(LosmodCalculating, ContinuingLossStartsFromZero) {
  LossJob j({.incs = 2, .hyds = 1});
  gaugedArea(j);
  j.setAreaHyds(1, 1);
  j.setRecordedVolume(1, 1, 5000.0F);
  j.calculating(true);
  ASSERT_FALSE(j.losmod(1, startValueOnly()));
  EXPECT_EQ(j.run().lossParamUsed(1, 1), 0.0F);
  EXPECT_EQ(j.job().genpar.lossRate[0][0], 0.0F);
  // No continuing loss: the 8 mm left after the initial loss all run off.
  EXPECT_NEAR(j.burstDepth(1, 1), 8.0, tolerance);
}

// Area 1 as gaugedArea, ended by station hydrograph 1 with 11200 m³ (5.6 mm, C = 0.5);
// area 2 below it, ended by the outlet (hydrograph 2 = nHyds + 1): sub-area 2 of 3 km²,
// no impervious part, 5 mm as 3 and 2 mm. Its own loss-table values must not be used.
TEST(LosmodCalculating, AreaBelowTheLastHydrographTakesTheLossesOfTheAreaAbove) {
  LossJob j({.incs = 2, .subAreas = 2, .areas = 2, .hyds = 1});
  gaugedArea(j);
  j.setSubArea(2, 3.0F, 0.0F);
  j.setRain(1, 2, 5.0F);
  j.setArea(2, 3.0F, 5.0F, {2}, {1});
  j.setAreaHyds(1, 1);
  j.setAreaHyds(2, 2, {1});
  j.setRecordedVolume(1, 1, 11200.0F);
  j.setLoss(1, 2, 99.0F, 0.05F);
  j.calculating(false);
  ASSERT_FALSE(j.losmod(1, startValueOnly()));

  const state::RunTables& r = j.run();
  EXPECT_NEAR(r.lossParamUsed(1, 1), 0.5, tolerance);
  EXPECT_EQ(r.initialLossUsed(1, 2), 4.0F);
  EXPECT_NEAR(r.lossParamUsed(1, 2), 0.5, tolerance);
  EXPECT_EQ(j.job().genpar.initialLoss[0][1], 4.0F);
  EXPECT_NEAR(j.job().genpar.lossRate[0][1], 0.5, tolerance);
  // Area 1: 4 and 4 mm at 0.5 + 0.5 x 0.4 = 0.7. Area 2: 3 mm is lost to the 4 mm initial
  // loss, 1 mm of increment 2 is left and half of it runs off.
  EXPECT_NEAR(j.burstDepth(1, 1), 5.6, tolerance);
  EXPECT_NEAR(j.excess(1, 2), 0.0, tolerance);
  EXPECT_NEAR(j.excess(2, 2), 0.5 * 3000.0 / 3600.0, tolerance);
  EXPECT_NEAR(r.burstRain(1, 2), (2 * 10 + 3 * 5) / 5.0, tolerance);
  EXPECT_NEAR(r.burstExcess(1, 2), (2 * 5.6 + 3 * 0.5) / 5.0, tolerance);
  EXPECT_NEAR(r.catchExcess(2, 2), 2.8 * 0.4 + 0.5 * 0.6, tolerance);
  EXPECT_EQ(j.f.output(), "");
}

// Scripted answers of the calculation and of the user; a script that is still asked
// after 20 calls abandons the run, so a loop that would not end shows as a failure.
struct Script {
  std::vector<LosparStatus> lospar{LosparStatus::keep};
  std::vector<CheckStatus> check{CheckStatus::accept};
  float newInitialLoss = -1.0F;  // what the user types for the initial loss, if >= 0
  float newLossParam = -1.0F;    // what check sets on "recalculate", if >= 0
  std::vector<float> losparSaw, checkSaw;
  std::vector<bool> changedSeen;
  int asked = 0;

  template <typename T>
  static T next(const std::vector<T>& answers, std::size_t call) {
    return answers[std::min(call, answers.size() - 1)];
  }
  static void abandonIfEndless(state::Job& job, std::size_t calls) {
    if (calls > 20) job.genpar.errorFlag = 1;
  }

  engine::LossCalls calls() {
    engine::LossCalls c;
    c.lospar = [this](state::Job& job, const engine::LossInputs&, const state::RunTables&, int, int, float& param,
                      bool& reenter) {
      losparSaw.push_back(param);
      abandonIfEndless(job, losparSaw.size());
      const LosparStatus s = next(lospar, losparSaw.size() - 1);
      if (s == LosparStatus::reenterInitialLoss) reenter = true;
      return s;
    };
    c.check = [this](state::Job& job, const engine::LossInputs&, int, int, float& param, float, bool& changed) {
      checkSaw.push_back(param);
      changedSeen.push_back(changed);
      abandonIfEndless(job, checkSaw.size());
      const CheckStatus s = next(check, checkSaw.size() - 1);
      if (s == CheckStatus::recalculate && newLossParam >= 0.0F) {
        param = newLossParam;
        changed = true;
      }
      return s;
    };
    c.askInitialLoss = [this](std::string_view prompt, float& value) {
      EXPECT_EQ(prompt, "Input initial loss (mm):");
      ++asked;
      if (newInitialLoss >= 0.0F) value = newInitialLoss;
    };
    return c;
  }
};

void gaugedRun(LossJob& j) {
  gaugedArea(j);
  j.setAreaHyds(1, 1);
  j.setRecordedVolume(1, 1, 11200.0F);
  j.calculating(false);
}

const std::string cannotCalculate =
    " Data error: loss parameter of burst 1 of interstation area 1 could not be calculated with the initial loss given";

// With an initial loss of 2 mm the pervious half loses 1 mm: 5 and 4 mm are left, SX = 9,
// PX = 4.5, IX = 4.05 and C starts at (5.6 - 4.05) / 4.5.
constexpr double startWithLowerLoss = (5.6 - 4.05) / 4.5;

TEST(LosmodCalculating, LosparAskingForAnInitialLossDoesTheStepAgainWithTheNewOne) {
  LossJob j({.incs = 2, .hyds = 1});
  gaugedRun(j);
  Script s;
  s.lospar = {LosparStatus::reenterInitialLoss, LosparStatus::keep};
  s.newInitialLoss = 2.0F;
  ASSERT_FALSE(j.losmod(1, s.calls()));
  EXPECT_EQ(s.asked, 1);
  ASSERT_EQ(s.losparSaw.size(), 2U);
  EXPECT_NEAR(s.losparSaw[0], 0.5, tolerance);
  EXPECT_NEAR(s.losparSaw[1], startWithLowerLoss, tolerance);
  EXPECT_EQ(s.checkSaw.size(), 1U);
  EXPECT_EQ(j.run().initialLossUsed(1, 1), 2.0F);
  EXPECT_EQ(j.job().genpar.initialLoss[0][0], 2.0F);
  EXPECT_NEAR(j.run().lossParamUsed(1, 1), startWithLowerLoss, tolerance);
}

TEST(LosmodCalculating, CheckAskingForAnInitialLossDoesTheStepAgainWithTheNewOne) {
  LossJob j({.incs = 2, .hyds = 1});
  gaugedRun(j);
  Script s;
  s.check = {CheckStatus::reenterInitialLoss, CheckStatus::accept};
  s.newInitialLoss = 2.0F;
  ASSERT_FALSE(j.losmod(1, s.calls()));
  EXPECT_EQ(s.asked, 1);
  ASSERT_EQ(s.losparSaw.size(), 2U);
  EXPECT_NEAR(s.losparSaw[1], startWithLowerLoss, tolerance);
  EXPECT_EQ(s.checkSaw.size(), 2U);
  EXPECT_EQ(j.run().initialLossUsed(1, 1), 2.0F);
}

TEST(LosmodCalculating, CheckWithANewParameterCalculatesAgainFromIt) {
  LossJob j({.incs = 2, .hyds = 1});
  gaugedRun(j);
  Script s;
  s.check = {CheckStatus::recalculate, CheckStatus::accept};
  s.newLossParam = 0.7F;
  ASSERT_FALSE(j.losmod(1, s.calls()));
  ASSERT_EQ(s.losparSaw.size(), 2U);
  EXPECT_EQ(s.losparSaw[1], 0.7F);
  // The changed-by-hand flag is cleared before the first calculation only.
  EXPECT_EQ(s.changedSeen, (std::vector<bool>{false, true}));
  EXPECT_EQ(s.asked, 0);
  EXPECT_EQ(j.run().lossParamUsed(1, 1), 0.7F);
  // 0.7 + 0.5 x (0.9 - 0.7) = 0.8 on the 4 and 4 mm left.
  EXPECT_NEAR(j.burstDepth(1, 1), 6.4, tolerance);
}

struct EndlessRow {
  const char* what;
  std::vector<LosparStatus> lospar;
  std::vector<CheckStatus> check;
  std::size_t losparCalls;
};

TEST(LosmodCalculating, ARepeatThatCannotChangeAnythingEndsTheJob) {
  const std::vector<EndlessRow> rows{
      {"lospar finds no excess", {LosparStatus::reenterInitialLoss}, {CheckStatus::accept}, 1},
      {"check wants a lower initial loss", {LosparStatus::keep}, {CheckStatus::reenterInitialLoss}, 1},
      {"check wants a new parameter", {LosparStatus::keep}, {CheckStatus::recalculate}, 1},
  };
  for (const EndlessRow& row : rows) {
    LossJob j({.incs = 2, .hyds = 1});
    gaugedRun(j);
    Script s;
    s.lospar = row.lospar;
    s.check = row.check;
    EXPECT_TRUE(j.losmod(1, s.calls())) << row.what;
    EXPECT_EQ(s.losparSaw.size(), row.losparCalls) << row.what;
    EXPECT_EQ(outputLines(j.f), std::vector<std::string>{cannotCalculate}) << row.what;
    EXPECT_EQ(j.f.log(), " Fatal error - see output file\n") << row.what;
    EXPECT_EQ(j.run().recompute(1, 1), 1) << row.what;
    EXPECT_EQ(j.job().genpar.errorFlag, 1) << row.what;
  }
}

// Without a front end nobody offers a lower initial loss: the warning, the " Burst no."
// line of each pass, and the end of the job.
TEST(LosmodCalculating, NoExcessWithTheRunoffCoefficientModelEndsTheJob) {
  LossJob j({.incs = 2, .bursts = 2, .hyds = 1});
  gaugedRun(j);
  j.setSubArea(1, 2.0F, 0.0F);
  j.setLoss(1, 1, 50.0F, 0.5F);
  EXPECT_TRUE(j.losmod());
  EXPECT_EQ(outputLines(j.f), (std::vector<std::string>{" Burst no.  1", " Burst no.  1", cannotCalculate}));
  EXPECT_EQ(j.f.log(), " No rainfall-excess, try lower initial loss\n Fatal error - see output file\n");
  EXPECT_EQ(j.job().genpar.initialLoss[0][0], 50.0F);
}

TEST(LosmodCalculating, AbandonedCalculationEndsTheJobWithNothingStored) {
  LossJob j({.incs = 2, .hyds = 1});
  gaugedRun(j);
  engine::LossCalls calls;
  calls.lospar = [](state::Job& job, const engine::LossInputs&, const state::RunTables&, int, int, float&, bool&) {
    job.genpar.errorFlag = 1;
    return LosparStatus::keep;
  };
  int checked = 0;
  calls.check = [&](state::Job&, const engine::LossInputs&, int, int, float&, float, bool&) {
    ++checked;
    return CheckStatus::accept;
  };
  EXPECT_TRUE(j.losmod(1, calls));
  EXPECT_EQ(checked, 0);
  EXPECT_EQ(j.run().recompute(1, 1), 1);
  EXPECT_EQ(j.job().genpar.lossRate[0][0], 0.77F);
}

// An only area ended by the outlet has no area above it to copy from: it keeps the loss
// table's values and nothing is calculated.
TEST(LosmodCalculating, OnlyAreaBelowTheLastHydrographKeepsTheLossTable) {
  LossJob j({.incs = 2, .hyds = 1});
  gaugedArea(j);
  j.setAreaHyds(1, 2);
  j.calculating(false);
  Script s;
  ASSERT_FALSE(j.losmod(1, s.calls()));
  EXPECT_TRUE(s.losparSaw.empty());
  EXPECT_EQ(j.run().initialLossUsed(1, 1), 4.0F);
  EXPECT_EQ(j.run().lossParamUsed(1, 1), 0.77F);
}

}  // namespace
}  // namespace kova::test
