// Tests of what the loss step writes: the " Burst no." line of each pass with several
// bursts, and the rainfall and rainfall-excess hyetographs of the first run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/losses/loss_test_support.h"

namespace kova::test {
namespace {

// One sub-area of 3.6 km²: burst 1 is increment 1 with 10 mm, burst 2 increment 2 with
// 8 mm; initial loss 4 mm and no continuing loss, so 6 and 4 mm of excess.
void twoBursts(LossJob& j) {
  j.setBurst(1, 0, 1, 1);
  j.setBurst(2, 1, 2, 2);
  j.setPluvio(1, {10, 8});
  j.unitSubArea();
  j.setRain(1, 1, 10.0F);
  j.setRain(2, 1, 8.0F);
  j.given(true);
  j.setLoss(1, 1, 4.0F, 0.0F);
  j.setLoss(2, 1, 4.0F, 0.0F);
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines,
                                           const std::vector<std::string>& starts) {
  std::vector<std::string> kept;
  for (const std::string& line : lines)
    for (const std::string& start : starts)
      if (line.starts_with(start)) kept.push_back(line);
  return kept;
}

TEST(LosmodOutput, BurstLineOnlyWithSeveralBursts) {
  LossJob two({.incs = 2, .bursts = 2});
  twoBursts(two);
  ASSERT_FALSE(two.losmod());
  EXPECT_EQ(outputLines(two.f), (std::vector<std::string>{" Burst no.  1", " Burst no.  2"}));

  LossJob one({.incs = 1});
  one.setBurst(1, 0, 1, 1);
  one.setPluvio(1, {10});
  one.unitSubArea();
  one.setRain(1, 1, 10.0F);
  one.given(true);
  ASSERT_FALSE(one.losmod());
  EXPECT_EQ(one.f.output(), "");
}

struct PrintRow {
  int printOption;
  int run;
  std::vector<std::string> lines;
};

TEST(LosmodOutput, HyetographsOfRainThenExcessInTheFirstRunOnly) {
  const std::vector<std::string> burstLines{" Burst no.  1", " Burst no.  2"};
  // Per burst: the rain hyetograph with its total, the burst's line, the excess one.
  const std::vector<std::string> printed{
      " Rainfall, mm, in time inc. following time shown, burst  1",
      " Tot. 10.0",
      " Burst no.  1",
      " Rainfall-excess, mm, in time inc. following time shown, burst  1",
      " Tot.  6.0",
      " Rainfall, mm, in time inc. following time shown, burst  2",
      " Tot.  8.0",
      " Burst no.  2",
      " Rainfall-excess, mm, in time inc. following time shown, burst  2",
      " Tot.  4.0",
  };
  const std::vector<PrintRow> rows{
      {2, 1, printed},
      {3, 1, printed},
      {2, 2, burstLines},
      {1, 1, burstLines},
  };
  for (const PrintRow& row : rows) {
    const std::string what = "print option " + std::to_string(row.printOption) + " run " + std::to_string(row.run);
    LossJob j({.incs = 2, .bursts = 2, .printOption = row.printOption});
    twoBursts(j);
    ASSERT_FALSE(j.losmod(row.run)) << what;
    EXPECT_EQ(linesStartingWith(outputLines(j.f), {" Rainfall", " Tot.", " Burst"}), row.lines) << what;
  }
}

// In the long form the sub-area columns show the rain, then the excess, of each
// sub-area of the area in list order.
TEST(LosmodOutput, LongFormHyetographShowsTheSubAreaDepths) {
  LossJob j({.incs = 1, .subAreas = 2, .printOption = 2});
  j.job().kov.impervFlag = 1;
  j.setBurst(1, 0, 1, 1);
  j.setPluvio(1, {10});
  j.setSubArea(1, 3.6F, 0.0F);
  j.setSubArea(2, 3.6F, 0.0F);
  j.setRain(1, 1, 12.0F);
  j.setRain(1, 2, 20.0F);
  j.setArea(1, 7.2F, 7.2F, {2, 1});
  j.given(true);
  j.setLoss(1, 1, 5.0F, 0.0F);
  ASSERT_FALSE(j.losmod());
  // Increment lines: time, catchment average (16 mm of rain, 11 mm of excess), then the
  // sub-areas B and A.
  EXPECT_EQ(linesStartingWith(outputLines(j.f), {"      0", "  Tot."}),
            (std::vector<std::string>{"      0  16.0          20   12", "  Tot.   16.0          20   12",
                                      "      0  11.0          15    7", "  Tot.   11.0          15    7"}));
}

}  // namespace
}  // namespace kova::test
