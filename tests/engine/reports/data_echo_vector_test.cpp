// Tests of the time data and the control vector of the data echo: the run-type forms of
// the initial time, the single-burst and single-hydrograph lines, the codes with their
// print flags, and a distributed inflow that runs to the end of the vector.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/reports/data_echo_test_support.h"

namespace kova::engine {
namespace {

using test::JobFixture;
using test::linesFrom;
using test::runEcho;

using Lines = std::vector<std::string>;

TEST(WridatTimes, AFitRunWithOneBurstAndOneRecordedHydrograph) {
  JobFixture f;
  const Lines echo = runEcho(f, "Gauged\n1\n1, 2.0, -99\n7.1\n1, 1.0, -99\n0\n2.0, 3.0, -99\n0\n",
                             "June storm\nFIT\n0.25, 8, 1, 1, 0, -99\n1, 3\nGauge\n5.0, 3.0, -99\n"
                             "0, 5, -99\nStation\n1.0, 2.0, 3.0, 2.0, 1.0, 0.5, -99\n");
  const Lines want{"", "", "", " Data:", " ****", "", " Gauged", "", "",
                   " Time data, in increments from initial time", " Initial time: ", " June storm",
                   " Time increment (hours)=  0.25", "", "                   Start   Finish",
                   " Rainfall times:     1        3", "", " Hydrograph times:   0        5", "",
                   // The later of the burst's finish (3) and the hydrograph's (5).
                   " End of hyeto/hydrographs:    5", " Duration of calculations:    8", "", "", ""};
  EXPECT_EQ(Lines(echo.begin(), echo.begin() + std::min<std::ptrdiff_t>(24, std::ssize(echo))), want);
}

TEST(WridatTimes, NoSubAreasNoBurstsNoHydrographs) {
  JobFixture f;
  const Lines echo = runEcho(f, "Channel only\n1\n5, 1.0, -99\n0\n", "Storm\nTEST\n1.0, 4, -99\n");
  const Lines want{"                   Start   Finish", "", "", " End of hyeto/hydrographs:    0",
                   " Duration of calculations:    4"};
  EXPECT_EQ(linesFrom(echo, want[0], want.size()), want);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Sub-area data"), 0);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Pluviograph data (time in incs, rainfall in mm, in "), 0);
  EXPECT_EQ(linesFrom(echo, " Step  Code              Description", 3),
            (Lines{" Step  Code              Description", "   1    5     Route hydrograph thru normal storage    1",
                   "   2    0     **********End of control vector**********"}));
}

TEST(WridatControlVector, CodesWithPrintFlagsAndADistributedInflowToTheEnd) {
  JobFixture f;
  const Lines echo = runEcho(f,
                             "Flags\n1\n"
                             "1, 2.0, -99\n"
                             "17\nBridge\n"
                             "13\n"
                             "1, 1.0, -99\n"
                             "17.2\nUngauged corner\n"
                             "14\n"
                             "9, 1, -1, 1, 0\nLateral\n0.5, 0.0, 0.1, 1.0, -99\n"
                             "5, 1.0, -99\n"
                             "15, 1.0, -99\n"
                             "10\n"
                             "2.0, 3.0, -99\n0\n",
                             "Storm\nDESIGN\n1.0, 6, 1, 1, 0, -99\n0, 2\nGauge\n5.0, 3.0, -99\n");
  const Lines want{" Step  Code              Description",
                   "   1    1     Add sub-area 'A' inflow & route thru normal storage    1",
                   "   2   17.0   Print hydrograph, Bridge",
                   "   3   13     Store hydrograph from step    2; reset hydrograph to zero",
                   "   4    1     Add sub-area 'B' inflow & route thru normal storage    2",
                   "   5   17.2   Print results at ungauged interstation location, Ungauged corner",
                   "   6   14     Add h-graph ex step    3 to h-graph ex step    5",
                   "   7    9     Start distributed inflow (Lateral)",
                   "   8    5     Route hydrograph thru normal storage    3",
                   "   9   15     Route hydrograph thru normal storage    4",
                   "              End distributed inflow",
                   "  10   10     **********End of control vector**********"};
  EXPECT_EQ(linesFrom(echo, want[0], want.size()), want);
  EXPECT_EQ(linesFrom(echo, "   TEST run control vector", 1).size(), 0U);
  // Reaches to the end of the vector: the two that follow the I/O.
  EXPECT_EQ(linesFrom(echo, " Lateral                     I     2      0.50 + 0.10*(Q-   0.00)**1.00", 1).size(), 1U);
  // The only print point with results is ungauged: no recorded hydrographs to show.
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Hydrograph times:"), 0);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), " Hydrograph data (time in incs, discharges in m\xB3/s)"), 0);
}

TEST(WridatControlVector, TheRunTypeTextTakesSixColumns) {
  JobFixture f;
  const Lines echo = runEcho(f, "One\n1\n1, 2.0, -99\n0\n2.0, -99\n0\n",
                             "Storm\n  TEST\n1.0, 6, 1, 1, 0, -99\n0, 2\nGauge\n5.0, 3.0, -99\n");
  EXPECT_EQ(linesFrom(echo, "   TEST run control vector", 1).size(), 1U);
}

}  // namespace
}  // namespace kova::engine
