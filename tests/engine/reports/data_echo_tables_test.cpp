// Tests of the column blocks of the data echo: the pluviograph blocks of 12 and the
// recorded-hydrograph blocks of 8 with their staircases of names, and the four header
// forms of the sub-area table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/reports/data_echo_test_support.h"

namespace kova::engine {
namespace {

using test::blanks;
using test::JobFixture;
using test::linesFrom;
using test::runEcho;

using Lines = std::vector<std::string>;

std::string numbered(const std::string& stem, int n) { return stem + (n < 10 ? "0" : "") + std::to_string(n); }

// One sub-area; `pluvios` pluviographs "Gauge 01".. of two increments in one burst, gauge
// p giving p and 2p mm.
std::string pluvioStorm(int pluvios) {
  std::string s = "Storm\nDESIGN\n1.0, 6, 1, " + std::to_string(pluvios) + ", 0, -99\n0, 2\n";
  for (int p = 1; p <= pluvios; ++p)
    s += numbered("Gauge ", p) + "\n" + std::to_string(p) + ".0, " + std::to_string(2 * p) + ".0, -99\n";
  if (pluvios >= 2) s += "1, -99\n";
  return s;
}

const char* oneSubArea = "One\n1\n1, 2.0, -99\n0\n2.0, -99\n0\n";

TEST(WridatPluviographs, ThirteenAndMoreGoInBlocksOfTwelveWithAStaircaseOfNames) {
  JobFixture f;
  const Lines echo = runEcho(f, oneSubArea, pluvioStorm(14));
  Lines want{"         1:Gauge 01"};
  for (int i = 2; i <= 12; ++i) {
    std::string bars;
    for (int b = 0; b < std::min(i - 1, 6); ++b) bars += "     I";
    want.push_back(blanks(7) + bars + (i < 10 ? "  " : " ") + std::to_string(i) + ":" + numbered("Gauge ", i));
  }
  want.push_back("   Time     1     2     3     4     5     6     7     8     9    10    11    12");
  want.push_back("        0     1.00   2.00   3.00   4.00   5.00   6.00   7.00   8.00   9.00  10.00  11.00  12.00");
  want.push_back("        1     2.00   4.00   6.00   8.00  10.00  12.00  14.00  16.00  18.00  20.00  22.00  24.00");
  want.push_back("");
  want.push_back("   Total       3.0    6.0    9.0   12.0   15.0   18.0   21.0   24.0   27.0   30.0   33.0   36.0");
  // One burst: no burst totals.
  want.push_back("");
  want.push_back("        13:Gauge 13");
  want.push_back("            I 14:Gauge 14");
  want.push_back("   Time    13    14");
  want.push_back("        0    13.00  14.00");
  want.push_back("        1    26.00  28.00");
  want.push_back("");
  want.push_back("   Total      39.0   42.0");
  want.push_back("");
  EXPECT_EQ(linesFrom(echo, "         1:Gauge 01", want.size()), want);
  // Bars 6 to 12 all hang with six bars.
  EXPECT_EQ(want[7], blanks(7) + "     I     I     I     I     I     I  8:Gauge 08");
}

TEST(WridatPluviographs, TheDesignStormNotesAndTheFilteringTableWhenTheirSwitchesAreOn) {
  JobFixture f;
  const Lines echo = runEcho(f, oneSubArea, pluvioStorm(1), [](state::Job& job) {
    job.genpar.preBurstApplied = 1;
    job.genpar.embeddedBurstFiltered = 1;
    job.genpar.burstPatternOriginal = {40.0F, 60.0F};
    job.genpar.burstPatternFiltered = {45.5F, 54.5F};
    job.genpar.burstRainFilteredPercent = 12.5F;
  });
  const Lines want{" Pre-burst has been applied",
                   " Pluviograph data (time in incs, rainfall in mm, in ",
                   "                   increment following time shown)",
                   "",
                   " Original Pattern          Filtered Pattern",
                   "      40.00               45.50",
                   "      60.00               54.50",
                   " % Rain Filtered  12.5000000    ",
                   "",
                   "Includes Pre-burst temporal pattern",
                   "         1:Gauge 01",
                   "   Time     1"};
  EXPECT_EQ(linesFrom(echo, " Pre-burst has been applied", want.size()), want);
}

TEST(WridatPluviographs, SwitchesOffByDefault) {
  JobFixture f;
  const Lines echo = runEcho(f, oneSubArea, pluvioStorm(1));
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Pre-burst has been applied"), 0);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), "Includes Pre-burst temporal pattern"), 0);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Original Pattern          Filtered Pattern"), 0);
}

// Eleven hydrographs below one sub-area: the first station ends the only interstation area
// above the outlet's; the third is an ungauged location. Every recorded one runs 1, 2, 1.
std::string stationsCatchment() {
  std::string s = "Stations\n1\n1, 2.0, -99\n";
  for (int h = 1; h <= 11; ++h) s += h == 3 ? "7.2\nUngauged junction\n" : "7.1\n";
  return s + "1, 1.0, -99\n0\n2.0, 3.0, -99\n0\n";
}

std::string stationsStorm() {
  std::string s = "Storm\nDESIGN\n1.0, 6, 1, 1, 0, -99\n0, 2\nGauge\n5.0, 3.0, -99\n";
  for (int h = 1; h <= 10; ++h) s += "0, 2, ";
  s += "-99\n";
  for (int h = 1; h <= 11; ++h)
    if (h != 3) s += numbered("Station ", h) + "\n1.0, 2.0, 1.0, -99\n";
  return s;
}

TEST(WridatHydrographs, RecordedHydrographsGoInBlocksOfEightWithoutTheUngaugedOnes) {
  JobFixture f;
  const Lines echo = runEcho(f, stationsCatchment(), stationsStorm());
  // Largest recorded flow 2.0: 3 decimals. Station 1 ends the area of sub-area A
  // (2 km²): 4 x 3600 m³ over it is 7.2 mm; the others end no area and have no depth.
  const std::string volumes = "  m\xB3" + std::string() + " 1.44E+04 1.44E+04 1.44E+04 1.44E+04 1.44E+04 1.44E+04"
                              " 1.44E+04 1.44E+04";
  const Lines want{
      " Hydrograph data (time in incs, discharges in m\xB3/s)",
      "",
      "      1:Station 01",
      "          I    2:Station 02",
      "          I        I    4:Station 04",
      "          I        I        I    5:Station 05",
      "          I        I        I        I    6:Station 06",
      "          I        I        I        I        I    7:Station 07",
      "          I        I        I        I        I    8:Station 08",
      "          I        I        I        I        I    9:Station 09",
      " Time     1        2        4        5        6        7        8        9",
      "      0    1.000    1.000    1.000    1.000    1.000    1.000    1.000    1.000",
      "      1    2.000    2.000    2.000    2.000    2.000    2.000    2.000    2.000",
      "      2    1.000    1.000    1.000    1.000    1.000    1.000    1.000    1.000",
      "",
      " Total volumes",
      "  mm      7.2      0.0      0.0      0.0      0.0      0.0      0.0      0.0",
      volumes,
      "",
      "     10:Station 10",
      "          I   11:Station 11",
      " Time    10       11",
      "      0    1.000    1.000",
      "      1    2.000    2.000",
      "      2    1.000    1.000",
      "",
      " Total volumes",
      "  mm      0.0      0.0",
      "  m\xB3 1.44E+04 1.44E+04",
      ""};
  EXPECT_EQ(linesFrom(echo, want[0], want.size()), want);
  const Lines times = linesFrom(echo, " Hydrograph times:", 4);
  EXPECT_EQ(times, (Lines{" Hydrograph times:", "   Hydrograph  1     0        2    Station 01",
                          "   Hydrograph  2     0        2    Station 02", "   Hydrograph  4     0        2    Station 04"}));
}

// Two sub-areas A (2 km²) and B (3 km²) over reaches of 2 and 1 km; with a station
// between them there are two interstation areas.
std::string formCatchment(bool impervious, bool station) {
  return std::string("Forms\n1\n1, 2.0, -99\n") + (station ? "7.1\n" : "") + "1, 1.0, -99\n0\n2.0, 3.0, -99\n" +
         (impervious ? "1, 0.25, 0.5, -99\n" : "0\n");
}

std::string formStorm(bool station) {
  return std::string("Storm\nDESIGN\n1.0, 6, 1, 1, 0, -99\n0, 2\nGauge\n5.0, 3.0, -99\n") +
         (station ? "0, 2, -99\nStation\n1.0, 2.0, 1.0, -99\n" : "");
}

TEST(WridatSubAreas, EachOfTheFourHeaderForms) {
  // A's distance is 3 km and B's 1 km: the catchment average is (2 x 3 + 3 x 1) / 5 = 1.8.
  // With the station, area 1 (A) averages 2 km to its station and area 2 (B) 1 km: factors
  // 1.8 / 2 and 1.8 / 1.
  const std::string a = "   A    2.00E+00  3.00E+00";
  const std::string b = "   B    3.00E+00  1.00E+00";
  const std::string whole = " For whole catchment     ; Av. Dist., km* =       1.80";
  const Lines areas{" For interstation area  1; Av. Dist., km* =       2.00; ISA Factor =   0.900",
                    " For interstation area  2; Av. Dist., km* =       1.00; ISA Factor =   1.800"};
  struct Case {
    const char* what;
    bool impervious, station;
    Lines want;
  };
  const Case cases[] = {
      {"one area, no fractions",
       false,
       false,
       {" Sub-area data", "", " Sub-     Area     Dist.", " area      km\xB2      km*", a, b, "", " Total 5.000E+00", "",
        whole, ""}},
      {"several areas, no fractions",
       false,
       true,
       {" Sub-area data", "", " Sub-     Area     Dist.     Intersta-  Part of sub-",
        " area      km\xB2      km*      tion area  catchment(s)", "", a + blanks(7) + " 1" + blanks(5) + " 1 2",
        b + blanks(7) + " 2" + blanks(5) + " 2", "", " Total 5.000E+00", "", whole, areas[0], areas[1], ""}},
      {"one area, fractions",
       true,
       false,
       {" Sub-area data", "", " Sub-     Area     Dist.     Fraction", " area      km\xB2      km*     impervious", "",
        a + "     0.25", b + "     0.50", "", " Total 5.000E+00", "", whole, ""}},
      {"several areas, fractions",
       true,
       true,
       {" Sub-area data", "", " Sub-     Area     Dist.     Fraction     Intersta-  Part of sub-",
        " area      km\xB2      km*     impervious    tion area  catchment(s)", "",
        a + "     0.25" + blanks(7) + " 1" + blanks(5) + " 1 2", b + "     0.50" + blanks(7) + " 2" + blanks(5) + " 2",
        "", " Total 5.000E+00", "", whole, areas[0], areas[1], ""}},
  };
  for (const Case& c : cases) {
    JobFixture f;
    const Lines echo = runEcho(f, formCatchment(c.impervious, c.station), formStorm(c.station));
    Lines want = c.want;
    want.push_back(" * or other function of reach properties related to travel time");
    EXPECT_EQ(linesFrom(echo, " Sub-area data", want.size()), want) << c.what;
  }
}

TEST(WridatSubAreas, LettersStartAgainAfterZ) {
  std::string cat = "Thirty\n1\n";
  std::string areas;
  for (int n = 1; n <= 30; ++n) {
    cat += "1, 1.0, -99\n";
    areas += "1.0, ";
  }
  cat += "0\n" + areas + "-99\n0\n";
  JobFixture f;
  const Lines echo = runEcho(f, cat, "Storm\nDESIGN\n1.0, 6, 1, 1, 0, -99\n0, 2\nGauge\n5.0, 3.0, -99\n");
  const Lines rows = linesFrom(echo, " area      km\xB2      km*", 31);
  ASSERT_EQ(rows.size(), 31U);
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZABCD";
  for (std::size_t n = 0; n < 30; ++n) EXPECT_EQ(rows[n + 1].substr(0, 4), "   " + letters.substr(n, 1)) << n + 1;
}

}  // namespace
}  // namespace kova::engine
