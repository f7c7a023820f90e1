// Tests of the hydrograph report: statistics worked out by hand on small hydrographs, the
// station comparison with a recorded window shorter than the run, titles, the store
// records and their limit, and the decimals chooser.
#include "engine/reports/hydrograph_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/reports/report_test_support.h"

namespace kova::engine {
namespace {

using test::blanks;
using test::JobFixture;
using test::splitLines;

const std::string peakText = " Peak discharge,m\xB3/s ";
const std::string tpText = " Time to peak,h      ";
const std::string volText = " Volume,m\xB3           ";
const std::string tcText = " Time to centroid,h  ";
const std::string lagText = " Lag (c.m. to c.m.),h";
const std::string lagPText = " Lag to peak,h       ";
const std::string ordText = " Av.abs.ord.err,m\xB3/s " + blanks(19);

std::string padTo(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

const std::string outletTitle = padTo("Calculated hydrograph,", 32) + "Outlet";
const std::string stationTitle = padTo("Gauging station at:", 32) + "Station A";

void expectStats(const state::HydStats& s, float peak, float tp, float vol, float tc, float lag, float lagP) {
  EXPECT_FLOAT_EQ(s.peak, peak);
  EXPECT_FLOAT_EQ(s.timeToPeak, tp);
  EXPECT_FLOAT_EQ(s.volume, vol);
  EXPECT_FLOAT_EQ(s.timeToCentroid, tc);
  EXPECT_FLOAT_EQ(s.lag, lag);
  EXPECT_FLOAT_EQ(s.lagToPeak, lagP);
}

TEST(Output, TriangleAsACalculatedHydrograph) {
  JobFixture f;
  test::openReportJob(f);
  const std::vector<float> q{0, 1, 2, 1, 0};
  PrintRequest r;
  r.kind = printCalculated;
  r.title = outletTitle;
  r.hyd1 = q;
  r.excessCentroid = 0.5F;
  output(*f.job, r);

  // Peak 2 at ordinate 3 (2 h); volume 4 x 3600; centroid 8/4 = 2 h; lags 2 - 0.5.
  const std::vector<std::string> want{
      "",
      "",
      "",
      " *** Calculated hydrograph,          Outlet",
      "",
      blanks(27) + "Hydrograph",
      blanks(24) + "  Calc. " + " " + blanks(8),
      peakText + "    2.000",
      tpText + "     2.00",
      volText + " 1.44E+04",
      tcText + "     2.00",
      lagText + "     1.50",
      lagPText + "     1.50",
  };
  EXPECT_EQ(splitLines(f.output()), want);

  ASSERT_EQ(f.job->genpar.nHydsPrinted, 1);
  const state::Site& s = f.job->sites.site.at(0);
  EXPECT_EQ(s.kind, 1);
  EXPECT_EQ(s.title, "Calculated hydrograph,          Outlet");
  EXPECT_EQ(s.label12a, "Calculated  ");
  EXPECT_EQ(s.label12b, blanks(12));
  EXPECT_EQ(s.nOrd1, 5);
  EXPECT_EQ(s.hyd1.values, q);
  EXPECT_FALSE(s.hyd2.allocated);
  EXPECT_EQ(s.ungaugedFlag, 0);
  expectStats(s.stats1, 2.0F, 2.0F, 14400.0F, 2.0F, 1.5F, 1.5F);
}

TEST(Output, ZeroHydrographPrintsOnlyPeakTimeAndVolume) {
  JobFixture f;
  test::openReportJob(f);
  const std::vector<float> q{0, 0, 0};
  PrintRequest r;
  r.title = outletTitle;
  r.hyd1 = q;
  r.excessCentroid = 1.25F;
  output(*f.job, r);

  const auto lines = splitLines(f.output());
  ASSERT_EQ(lines.size(), 10U);
  EXPECT_EQ(lines[7], peakText + "       0.");
  EXPECT_EQ(lines[8], tpText + "     1.25");  // no ordinate above 0: the excess centroid
  EXPECT_EQ(lines[9], volText + " 0.00E+00");
  expectStats(f.job->sites.site.at(0).stats1, 0.0F, 1.25F, 0.0F, 1.25F, 0.0F, 0.0F);
}

struct StatsCase {
  std::vector<float> q;
  float tx, dt;
  float peak, tp, vol, tc, lag, lagP;
};

TEST(Output, StatisticsOfSmallHydrographs) {
  const StatsCase cases[] = {
      // Two equal maxima: the first one times the peak; centroid (2+4)/4 x 0.5 h.
      {{0, 2, 2, 0}, 0.25F, 0.5F, 2, 0.5F, 7200, 0.75F, 0.5F, 0.25F},
      // Nothing above 0: peak 0 and time to peak TX, while the volume is negative.
      {{-1, -2, 0}, 1.0F, 1.0F, 0, 1.0F, -10800, 2.0F / 3.0F, 2.0F / 3.0F - 1.0F, 0.0F},
      // A peak on the first ordinate.
      {{4, 2, 0, 0}, 0.0F, 2.0F, 4, 0.0F, 43200, 2.0F / 3.0F, 2.0F / 3.0F, 0.0F},
  };
  for (const auto& c : cases) {
    JobFixture f;
    test::openReportJob(f, c.dt);
    PrintRequest r;
    r.title = outletTitle;
    r.hyd1 = c.q;
    r.excessCentroid = c.tx;
    output(*f.job, r);
    SCOPED_TRACE(testing::PrintToString(c.q));
    expectStats(f.job->sites.site.at(0).stats1, c.peak, c.tp, c.vol, c.tc, c.lag, c.lagP);
  }
}

TEST(Output, StationAgainstARecordedWindowShorterThanTheRun) {
  JobFixture f;
  test::openReportJob(f);
  f.job->kov.nHydOrds = 4;  // the recorded hydrographs hold 4 ordinates
  const std::vector<float> calc{0, 2, 4, 2, 0, 0};
  const std::vector<float> rec{0, 1, 3, 2, 9, 9};  // past the 4 recorded ordinates: not used
  PrintRequest r;
  r.kind = printStation;
  r.title = stationTitle;
  r.hyd1 = calc;
  r.hyd2 = rec;
  r.excessCentroid = 0.5F;
  output(*f.job, r);

  // Calculated: peak 4 at 2 h, volume 8 x 3600, centroid 16/8 = 2 h.
  // Recorded: peak 3 at 2 h, volume 6 x 3600, centroid 13/6 h.
  // Ordinate error (1 + 1) / 6 over the mean recorded discharge 6/4: 22.2 %.
  // Lag error TC(calc) - TC(rec) = -1/6 h over the recorded lag 5/3 h: -10 %.
  const std::vector<std::string> want{
      "",
      "",
      "",
      " *** Gauging station at:             Station A",
      "",
      blanks(27) + "Hydrograph" + blanks(10) + "Error",
      blanks(24) + "  Calc. " + " " + " Actual " + "   Abs. Percent",
      peakText + "    4.000    3.000    1.000  33.3",
      tpText + "     2.00     2.00     0.00   0.0",
      volText + " 2.88E+04 2.16E+04 7.20E+03  33.3",
      ordText + "    0.33  22.2 over dur. of calcs",
      tcText + "     2.00     2.17    -0.17  -7.7",
      lagText + "     1.50     1.67    -0.17 -10.0",
      lagPText + "     1.50     1.50     0.00   0.0",
  };
  EXPECT_EQ(splitLines(f.output()), want);

  const state::Site& s = f.job->sites.site.at(0);
  EXPECT_EQ(s.kind, 2);
  EXPECT_EQ(s.nOrd1, 6);
  EXPECT_EQ(s.nOrd2, 4);
  EXPECT_EQ(s.hyd2.values, (std::vector<float>{0, 1, 3, 2}));
  EXPECT_EQ(s.label12a, "Calculated  ");
  EXPECT_EQ(s.label12b, "Actual      ");
  expectStats(s.stats1, 4, 2, 28800, 2, 1.5F, 1.5F);
  expectStats(s.stats2, 3, 2, 21600, 13.0F / 6.0F, 13.0F / 6.0F - 0.5F, 1.5F);
}

TEST(Output, StationPercentsAgainstARecordedZeroAreBlank) {
  JobFixture f;
  test::openReportJob(f, 0.5F);
  f.job->kov.nHydOrds = 4;
  const std::vector<float> calc{1, 3, 1, 0};
  const std::vector<float> rec{3, 1, 0, 0};  // peaks at the initial time: time to peak 0
  PrintRequest r;
  r.kind = printStation;
  r.title = stationTitle;
  r.hyd1 = calc;
  r.hyd2 = rec;
  r.excessCentroid = 0.0F;
  output(*f.job, r);

  // Calculated: peak 3 at 0.5 h, volume 5 x 1800, centroid 5/5 x 0.5 h.
  // Recorded: peak 3 at 0 h, volume 4 x 1800, centroid 1/4 x 0.5 h.
  // Ordinate error (2 + 2 + 1) / 4 = 1.25 against a mean recorded discharge of 1.
  const auto lines = splitLines(f.output());
  const std::vector<std::string> stats(lines.begin() + 7, lines.end());
  const std::vector<std::string> want{
      peakText + "    3.000    3.000    0.000   0.0",
      tpText + "    0.500    0.000    0.500" + blanks(6),
      volText + " 9.00E+03 7.20E+03 1.80E+03  25.0",
      ordText + "     1.3 125.0 over dur. of calcs",
      tcText + "    0.500    0.125    0.375 300.0",
      lagText + "    0.500    0.125    0.375 300.0",
      lagPText + "    0.500    0.000    0.500" + blanks(6),
  };
  EXPECT_EQ(stats, want);
}

TEST(Output, StationWithoutRecordedVolumeWritesNoStatistics) {
  JobFixture f;
  test::openReportJob(f);
  f.job->kov.nHydOrds = 3;
  const std::vector<float> calc{0, 5, 1};
  const std::vector<float> rec{0, 0, 0};
  PrintRequest r;
  r.kind = printStation;
  r.title = stationTitle;
  r.hyd1 = calc;
  r.hyd2 = rec;
  output(*f.job, r);

  EXPECT_EQ(splitLines(f.output()),
            (std::vector<std::string>{"", "", "", " *** Gauging station at:             Station A", ""}));
  const state::Site& s = f.job->sites.site.at(0);
  EXPECT_EQ(s.kind, 2);
  EXPECT_EQ(s.hyd2.values, rec);
  expectStats(s.stats1, 0, 0, 0, 0, 0, 0);  // none stored
}

TEST(Output, PairOfAReachWithTheStoredPeakOfTheCaller) {
  JobFixture f;
  test::openReportJob(f);
  const std::vector<float> outflow{0, 1, 2, 1};
  const std::vector<float> inflow{0, 2, 1, 0};
  PrintRequest r;
  r.kind = printStorage;
  r.title = "Special storage :";
  r.hyd1 = outflow;
  r.hyd2 = inflow;
  r.excessCentroid = 0.5F;
  r.peakGiven = true;
  r.givenPeak = 1.75F;
  output(*f.job, r);

  // Inflow: peak 2 at 1 h, volume 3 x 3600, centroid 4/3 h.
  const auto lines = splitLines(f.output());
  const std::vector<std::string> want{
      " *** Special storage :",
      "",
      blanks(27) + "Hydrograph",
      blanks(24) + "Outflow " + " " + " Inflow ",
      peakText + "    2.000    2.000",
      tpText + "     2.00     1.00",
      volText + " 1.44E+04 1.08E+04",
      tcText + "     2.00     1.33",
      lagText + "     1.50     0.83",
      lagPText + "     1.50     0.50",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()), want);

  const state::Site& s = f.job->sites.site.at(0);
  EXPECT_EQ(s.kind, 2);
  expectStats(s.stats1, 1.75F, 2, 14400, 2, 1.5F, 1.5F);  // the caller's peak is stored
  expectStats(s.stats2, 2, 1, 10800, 4.0F / 3.0F, 4.0F / 3.0F - 0.5F, 0.5F);
}

struct LabelCase {
  int kind;
  const char* header;
  const char* record1;
  const char* record2;
  const char* store1;
  const char* store2;
};

TEST(Output, LabelsOfEachKind) {
  const LabelCase cases[] = {
      {3, "Upstr'm  Subarea ", "Upstream    ", "Rain ex.    ", " Upstrm ", "  RainEx"},
      {4, "This Br. Prev.br.", "This Branch ", "Prev. Branch", "This Br.", "Prev.br."},
      {5, "Downstr. Upstream", "Downstream  ", "Upstream    ", "Downstr.", "Upstream"},
      {6, "Outflow   Inflow ", "Outflow     ", "Inflow      ", "Outflow ", " Inflow "},
      {7, "  After   Before ", "After       ", "Before      ", "  After ", " Before "},
      {8, "Downstr. Outflow ", "Downstream  ", "Outflow     ", "Downstr.", "Outflow "},
      {9, "Downstr.  Inflow ", "Downstream  ", "Inflow      ", "Downstr.", " Inflow "},
  };
  for (const auto& c : cases) {
    JobFixture f;
    test::openReportJob(f);
    const std::vector<float> q{0, 1, 0};
    PrintRequest r;
    r.kind = c.kind;
    r.title = "Somewhere";
    r.hyd1 = q;
    r.hyd2 = q;
    output(*f.job, r);
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(splitLines(f.output()).at(6), blanks(24) + c.header);
    const state::Site& s = f.job->sites.site.at(0);
    EXPECT_EQ(s.label12a, c.record1);
    EXPECT_EQ(s.label12b, c.record2);
    EXPECT_EQ(s.label8a, c.store1);
    EXPECT_EQ(s.label8b, c.store2);
  }
}

TEST(Output, TitlesOfUngaugedSitesAndLongNames) {
  JobFixture f;
  test::openReportJob(f);
  const std::vector<float> q{0, 1, 0};
  const std::string ungauged = padTo("Gauging station at:", 32) + "Upper Creek";

  PrintRequest r;
  r.title = ungauged;  // a code 7.2 comes as a calculated hydrograph with the station label
  r.hyd1 = q;
  output(*f.job, r);
  r.title = outletTitle;
  r.longName = "Main Street bridge   ";
  output(*f.job, r);
  r.kind = printReach;
  r.title = ungauged;  // only a calculated hydrograph can be an ungauged site
  r.longName = "";
  r.hyd2 = q;
  output(*f.job, r);

  const auto lines = splitLines(f.output());
  const std::vector<std::string> titles{lines.at(3), lines.at(16), lines.at(29)};
  EXPECT_EQ(titles, (std::vector<std::string>{
                        " *** Calc. hyd. for ungauged interstation site at:             Upper Creek",
                        "*** Main Street bridge",
                        " *** Gauging station at:             Upper Creek",
                    }));
  const auto& sites = f.job->sites.site;
  EXPECT_EQ(sites.at(0).title, "Calc. hyd. for ungauged interstation site at:             Upper Creek");
  EXPECT_EQ(sites.at(0).ungaugedFlag, 1);
  EXPECT_EQ(sites.at(1).title, "Main Street bridge");
  EXPECT_EQ(sites.at(1).ungaugedFlag, 0);
  EXPECT_EQ(sites.at(2).title, "Gauging station at:             Upper Creek");
  EXPECT_EQ(sites.at(2).ungaugedFlag, 0);
}

TEST(Output, HyetographsFollowTheBurstsOnTheHydrographTimes) {
  // Burst 1 from time 2 to 4 (positions 1-2), burst 2 from 6 to 7 (position 3).
  std::vector<int> burstTable{2, 6, 4, 7, 1, 3, 2, 3};
  const std::vector<float> rain{1, 2, 3};
  const std::vector<float> excess{0.5F, 1, 1.5F};
  struct Case {
    std::size_t n;
    float largest;
    int flag;
    std::vector<float> hyet, xshyet;
  };
  const Case cases[] = {
      {8, 3.0F, 1, {0, 0, 1, 2, 0, 0, 3, 0}, {0, 0, 0.5F, 1, 0, 0, 1.5F, 0}},
      {6, 3.0F, 1, {0, 0, 1, 2, 0, 0}, {0, 0, 0.5F, 1, 0, 0}},  // the second burst is past the end
      {8, 0.0F, 0, std::vector<float>(8, 0.0F), std::vector<float>(8, 0.0F)},  // no rain: not attached
  };
  for (const auto& c : cases) {
    JobFixture f;
    test::openReportJob(f);
    const std::vector<float> q(c.n, 1.0F);
    PrintRequest r;
    r.title = outletTitle;
    r.hyd1 = q;
    r.rainfall = {rain, excess, {burstTable, 2}, 2, c.largest};
    output(*f.job, r);
    SCOPED_TRACE(c.n);
    const state::Site& s = f.job->sites.site.at(0);
    EXPECT_EQ(s.rainfallFlag, c.flag);
    EXPECT_EQ(s.nOrdHyet, static_cast<int>(c.n));
    EXPECT_EQ(s.hyet.values, c.hyet);
    EXPECT_EQ(s.xshyet.values, c.xshyet);
  }
}

TEST(Output, TheStoreGrowsPastTheRecordsLaidOut) {
  JobFixture f;
  test::openReportJob(f);
  f.job->siteCount = 0;
  state::setdynamicarrays(*f.job, 3);
  ASSERT_EQ(f.job->sites.site.size(), 1U);
  const std::vector<float> q{0, 1, 0};
  PrintRequest r;
  r.title = outletTitle;
  r.hyd1 = q;
  for (int i = 0; i < 3; ++i) output(*f.job, r);
  EXPECT_EQ(f.job->genpar.nHydsPrinted, 3);
  ASSERT_EQ(f.job->sites.site.size(), 3U);
  EXPECT_EQ(f.job->sites.site[2].hyd1.values, q);
}

TEST(Output, TheRecordAfterNhydmaxEndsTheJob) {
  JobFixture f;
  test::openReportJob(f);
  f.job->genpar.nHydsPrinted = 3000;
  const std::vector<float> q{0, 1, 0};
  PrintRequest r;
  r.title = outletTitle;
  r.hyd1 = q;
  EXPECT_TRUE(f.fails([&](state::Job& job) { output(job, r); }));
  EXPECT_EQ(f.job->genpar.errorFlag, 1);
  EXPECT_EQ(f.job->genpar.nHydsPrinted, 3000);
  EXPECT_TRUE(f.job->sites.site.empty());
  EXPECT_EQ(f.log(), " Too many hydrographs to be saved/printed:       Increase parameter NHYDMAX\n");
  EXPECT_EQ(f.output(), "");
}

struct DecimalsCase {
  float x;
  int w, s, d;
  char want;
};

TEST(Ndecpl, DecimalsForWidthAndSignificantFigures) {
  const DecimalsCase cases[] = {
      {1234.5F, 9, 4, 0, '0'},
      {12.345F, 9, 4, 0, '2'},
      {0.0123F, 9, 3, 0, '4'},
      {-5.0F, 9, 3, 0, '2'},
      {0.000000001F, 9, 4, 0, '0'},  // below half a unit of the last place the field has
      {0.00000001F, 9, 4, 0, '8'},
      {-0.5F, 9, 3, 0, '3'},
      {0.0F, 8, 2, 1, '1'},          // zero takes the minimum
      {0.33333F, 8, 2, 1, '2'},
      {1.25F, 8, 2, 1, '1'},
      {1.0e7F, 8, 2, 1, '0'},        // eight digits leave no room for the minimum decimal
      {99.99F, 9, 4, 0, '1'},        // rounds to 100.0
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ndecpl(c.x, c.w, c.s, c.d), c.want) << c.x << " in " << c.w << "," << c.s << "," << c.d;
  }
}

}  // namespace
}  // namespace kova::engine
