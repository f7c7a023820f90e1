// Tests of the hyetograph print: the short form with one and with several interstation
// areas, the long form in blocks of 16 sub-areas, and the choice between the two.
#include "engine/reports/hyetograph_print.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/reports/report_test_support.h"

namespace kova::engine {
namespace {

using test::blanks;
using test::JobFixture;
using test::splitLines;

// Integers in I5 fields, printed independently of the engine's formatter.
std::string i5(const std::vector<int>& values) {
  std::string out;
  char field[16];
  for (int v : values) {
    std::snprintf(field, sizeof field, "%5d", v);
    out += field;
  }
  return out;
}

std::vector<int> range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

void setCounts(state::Job& job, int isas, int bursts, int areal, int imperv) {
  job.kov.nIsas = isas;
  job.kov.nBursts = bursts;
  job.kov.arealRainFlag = areal;
  job.kov.impervFlag = imperv;
}

const std::vector<std::string> threeEmpty{"", "", ""};

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(Hyprin, ShortFormOfOneAreaAndOneBurst) {
  JobFixture f;
  test::openReportJob(f);
  setCounts(*f.job, 1, 1, 0, 0);
  std::vector<int> burst{3, 6, 1, 3};
  const std::vector<float> catchment{1.25F, 0.0F, 12.34F};
  HyetographPrint p;
  p.burstTable = {burst, 1};
  p.catchmentAverage = catchment;
  p.catchmentTotal = 13.59F;
  hyprin(*f.job, p);

  EXPECT_EQ(splitLines(f.output()), join(threeEmpty, {
                                                         " Rainfall, mm, in time inc. following time shown",
                                                         " Time",
                                                         "         Catch",
                                                         " incs    ment",
                                                         "",
                                                         "      3   1.3",
                                                         "      4   0.0",
                                                         "      5  12.3",
                                                         "",
                                                         " Tot. 13.6",
                                                     }));
}

TEST(Hyprin, ShortFormOfTheSecondBurstOfTheSecondArea) {
  JobFixture f;
  test::openReportJob(f);
  setCounts(*f.job, 2, 2, 0, 0);
  // Burst 1 from 0 to 4 (positions 1-4), burst 2 from 10 to 12 (positions 5-6).
  std::vector<int> burst{0, 10, 4, 12, 1, 5, 4, 6};
  const std::vector<float> catchment{9, 9, 9, 9, 2.04F, 0.96F};
  const std::vector<float> area{9, 9, 9, 9, 3.5F, 0.04F};
  const std::string station = "Upper Creek" + blanks(17);
  HyetographPrint p;
  p.mode = hyetographExcess;
  p.burst = 2;
  p.area = 2;
  p.burstTable = {burst, 2};
  p.catchmentAverage = catchment;
  p.catchmentTotal = 3.0F;
  p.areaAverage = area;
  p.areaSum = 3.6F;
  p.stationName = station;
  hyprin(*f.job, p);

  EXPECT_EQ(splitLines(f.output()),
            join(threeEmpty, {
                                 " Rainfall-excess, mm, in time inc. following time shown, burst  2",
                                 " interstation area  2, above Upper Creek",
                                 " Time    Sub-  Inter",
                                 "         Catch stn.",
                                 " incs    ment area",
                                 "",
                                 "     10   2.0   3.5",
                                 "     11   1.0   0.0",
                                 "",
                                 " Tot.  3.0   3.6",
                             }));
}

TEST(Hyprin, LongFormOfTwentySubAreasInTwoBlocks) {
  JobFixture f;
  test::openReportJob(f);
  setCounts(*f.job, 1, 1, 1, 0);
  std::vector<int> burst{0, 2, 1, 2};
  const std::vector<int> subAreas = range(9, 28);  // letters I to Z, then A and B again
  // Depths by increment (2 rows) and sub-area (28 columns).
  std::vector<float> depth(2 * 28, 0.0F);
  for (int n = 11; n <= 28; ++n) depth[static_cast<std::size_t>((n - 1) * 2)] = static_cast<float>(n);
  depth[(9 - 1) * 2] = 2.5F;    // rounds up to 3
  depth[(10 - 1) * 2] = 2.49F;  // rounds down to 2
  depth[(28 - 1) * 2 + 1] = 7.6F;
  std::vector<float> burstDepth(28);
  std::vector<int> refs(28);
  for (int n = 1; n <= 28; ++n) {
    burstDepth[static_cast<std::size_t>(n - 1)] = 10.0F * static_cast<float>(n);
    refs[static_cast<std::size_t>(n - 1)] = n % 3 + 1;
  }
  const std::vector<float> catchment{4.0F, 0.25F};
  HyetographPrint p;
  p.burstTable = {burst, 1};
  p.subAreaDepth = {depth, 2};
  p.burstDepth = {burstDepth, 1};
  p.pluvioRef = {refs, 1};
  p.subAreas = subAreas;
  p.catchmentAverage = catchment;
  p.catchmentTotal = 4.25F;
  hyprin(*f.job, p);

  std::vector<int> firstRow{3, 2};
  for (int n = 11; n <= 24; ++n) firstRow.push_back(n);
  const std::vector<std::string> block1{
      " Time" + blanks(18) + "Sub-",
      "         Catch" + blanks(9) + "Area",
      " Incs    ment" + blanks(7) + "   I    J    K    L    M    N    O    P    Q    R    S    T    U    V    W    X ",
      "",
      "      0   4.0" + blanks(7) + i5(firstRow),
      "      1   0.3" + blanks(7) + i5(std::vector<int>(16, 0)),
      "",
      "  Tot.    4.3" + blanks(7) + i5({90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240}),
      " Pluvi. ref. no.    " + i5({1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1}),
      "",
  };
  const std::vector<std::string> block2{
      " Time                  Sub-",
      "         Catch         Area",
      " Incs    ment          Y    Z    A    B ",
      "",
      "      0   4.0          25   26   27   28",
      "      1   0.3           0    0    0    8",
      "",
      "  Tot.    4.3         250  260  270  280",
      " Pluvi. ref. no.        2    3    1    2",
      "",
  };
  EXPECT_EQ(splitLines(f.output()),
            join(join(threeEmpty, {" Rainfall, mm, in time inc. following time shown"}), join(block1, block2)));
}

TEST(Hyprin, LongFormOfSeveralAreasHasNoPluviographLineForTheExcess) {
  JobFixture f;
  test::openReportJob(f);
  setCounts(*f.job, 3, 1, 0, 1);  // fractions impervious given: the long form
  std::vector<int> burst{5, 6, 1, 1};
  std::vector<float> depth{0, 0, 1.4F, 12.5F};  // one increment, sub-areas 1-4
  std::vector<float> burstDepth{0, 0, 1.4F, 12.5F};
  const std::vector<int> subAreas{3, 4};
  const std::vector<float> catchment{6.0F};
  const std::vector<float> area{7.25F};
  const std::string station = "Dam";
  HyetographPrint p;
  p.mode = hyetographExcess;
  p.area = 3;
  p.burstTable = {burst, 1};
  p.subAreaDepth = {depth, 1};
  p.burstDepth = {burstDepth, 1};
  p.subAreas = subAreas;
  p.catchmentAverage = catchment;
  p.catchmentTotal = 6.0F;
  p.areaAverage = area;
  p.areaSum = 7.25F;
  p.stationName = station;
  hyprin(*f.job, p);

  EXPECT_EQ(splitLines(f.output()),
            join(threeEmpty, {
                                 " Rainfall-excess, mm, in time inc. following time shown",
                                 " interstation area  3, above Dam",
                                 " Time    Sub-  Inter   Sub-",
                                 "         catch stn.    area",
                                 " Incs    ment  area    C    D ",
                                 "",
                                 "      5   6.0   7.3     1   13",
                                 "",
                                 "  Tot.    6.0    7.3     1   13",
                                 "",
                             }));
}

TEST(Hyprin, ShortFormOnlyWithoutArealRainfallOrImperviousFractions) {
  struct Case {
    int areal, imperv;
    bool longForm;
  };
  const Case cases[] = {{0, 0, false}, {1, 0, true}, {0, 1, true}, {1, 1, true}};
  for (const auto& c : cases) {
    JobFixture f;
    test::openReportJob(f);
    setCounts(*f.job, 1, 1, c.areal, c.imperv);
    std::vector<int> burst{0, 1, 1, 1};
    std::vector<float> depth{1.0F};
    std::vector<float> burstDepth{1.0F};
    std::vector<int> refs{1};
    const std::vector<int> subAreas{1};
    HyetographPrint p;
    p.burstTable = {burst, 1};
    p.subAreaDepth = {depth, 1};
    p.burstDepth = {burstDepth, 1};
    p.pluvioRef = {refs, 1};
    p.subAreas = subAreas;
    hyprin(*f.job, p);
    const auto lines = splitLines(f.output());
    SCOPED_TRACE(testing::Message() << c.areal << "," << c.imperv);
    EXPECT_EQ(lines.at(5), c.longForm ? "         Catch         Area" : "         Catch");
  }
}

}  // namespace
}  // namespace kova::engine
