// The loss-parameter calculation in FIT runs with two gauged interstation areas and two
// bursts: rise volumes share each recorded volume between the bursts, a dam's drawdown
// takes a whole burst and keeps the rest for the next one, and the area below the last
// station takes the values of the area above. Expectations are worked by hand from the
// volume balance at each station and the update rules of the calculation.
#include <gtest/gtest.h>

#include <string>

#include "support/job_run.h"

namespace kova::test {
namespace {

// A (1 km², ISA 1) runs into Upper Dam (S = 3600 Q, drawdown 2000 m³) above station 1;
// B (2 km², a quarter impervious, ISA 2) lies between the stations; C (1 km²) is below
// station 2. All reaches are type 4, so they pass volumes unchanged. The dam's k of 1 h
// is at least half the time increment, so its linear step never swings below zero.
const std::string twoStations =
    "Two stations\n4\n"
    "1, 1.0, -99\n"
    "6\nUpper Dam\n0, -2000, 1.0, 1.0, -99\n0, -99\n"
    "7.1\n"
    "1, 1.0, -99\n"
    "7.1\n"
    "1, 1.0, -99\n"
    "0\n"
    "1.0, 2.0, 1.0, -99\n"
    "1, 0.0, 0.25, 0.0, -99\n";

// Bursts over hours 0-2 (2.0, 1.5 mm) and 10-13 (6, 10, 4 mm). Station 1 records
// 3.5 m³/s-hours (12600 m³), all of it in burst 2; station 2 records 5.0 m³/s-hours
// (18000 m³), a quarter in burst 1 (4500 m³) and three quarters in burst 2 (13500 m³).
const std::string twoBursts =
    "Two bursts\nFIT\n"
    "1.0, 40, 2, 1, 0, -99\n"
    "0, 2, 10, 13\n"
    "Pluvio\n2.0 1.5 6 10 4 -99\n"
    "10, 16, 0, 15, -99\n"
    "Station 1\n0 0.5 1.0 1.0 0.5 0.5 0 -99\n0 1 -99\n"
    "Station 2\n0 0.5 0.5 0.25 0 0 0 0 0 0 0 0.5 1.5 1.0 0.5 0.25 -99\n1 3 -99\n";

// Initial losses by burst then area; the loss rates start at 0 whatever is given, and
// area 3's line is never used.
const std::string lossLines =
    "NumISA     3\nkc, m     0.5 1.0\nNumBurst   2\n"
    "IL, CL    2.0 7.0\nIL, CL    1.0 7.0\nIL, CL    99 7.0\n"
    "IL, CL    5.4 7.0\nIL, CL    2.0 7.0\nIL, CL    99 7.0\n";

TEST(LossCalibrationFit, TwoStationsTwoBurstsAndADrawdownCarriedBetweenBursts) {
  CalibrationRun run(twoStations, twoBursts, 1, lossLines);
  ASSERT_EQ(run.status, 0) << run.log() << run.out();

  // Area 1, burst 1: 2.0 mm of initial loss leave 0 and 1.5 mm, 1500 m³, all taken by the
  // 2000 m³ drawdown; the recorded 0 m³ is met on the first walk with the rate at 0, and
  // 500 m³ of drawdown are left.
  EXPECT_EQ(run.lossParam(1, 1), 0.0F);
  // Area 1, burst 2: 5.4 mm leave 0.6, 10, 4 mm; at rate C all three are wet, so the
  // volume is (14.6 - 3 C) x 1000 - 500 against 12600 m³: C = 0.5, reached in one update
  // from 0 ((14100 - 12600) / 3 km²-increments x 0.001).
  EXPECT_NEAR(run.lossParam(1, 2), 0.5F, 1.0E-5F);
  // Area 2, burst 1: 1.0 mm (0.75 mm on the pervious part) leaves 1.25 and 1.5 mm; the
  // pervious three quarters lose 0.75 C an hour, so the volume is (2.75 - 1.5 C) x 2000
  // against 4500 m³. The update spreads the surplus over 2 km² x 2 wet increments:
  // 0 -> 0.25 (4750 m³) -> 0.3125 (4562.5 m³, within 0.05 mm over 2 km²: 100 m³).
  EXPECT_NEAR(run.lossParam(2, 1), 0.3125F, 1.0E-5F);
  // Area 2, burst 2: 2.0 mm (1.5 pervious) leave 4.5, 10, 4 mm; with station 1's 12600 m³
  // upstream the area's own part must be 900 m³. That leaves only the 10 mm increment
  // wet: (10 - 0.75 C) x 2000 = 900, C = 12.733; 100 m³ are worth 0.0667 mm/h.
  EXPECT_NEAR(run.lossParam(2, 2), 12.7333F, 0.0667F);
  for (int burst : {1, 2}) {
    SCOPED_TRACE(burst);
    EXPECT_EQ(run.lossParam(3, burst), run.lossParam(2, burst));
    EXPECT_EQ(run.initialLoss(3, burst), run.initialLoss(2, burst));
  }

  const std::string out = run.out();
  EXPECT_NE(out.find(" Burst no.  2"), std::string::npos) << out;
  EXPECT_NE(out.find(" Continuing loss rate =   0.00 mm/h\n"
                     "\n"
                     " Special storage: Upper Dam\n"
                     " storage increased 0.150E+04 cub.m, current drawdown= 0.500E+03 cub.m\n"
                     " No flow passed gauging station\n"),
            std::string::npos)
      << out;
  // Burst 2 starts with the 500 m³ left and fills them.
  EXPECT_NE(out.find(" Continuing loss rate =   0.50 mm/h\n"
                     "\n"
                     " Special storage: Upper Dam\n"
                     " storage increased 0.500E+03 cub.m, current drawdown= 0.000E+00 cub.m\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(" Continuing loss rate =   0.31 mm/h\n"), std::string::npos);
  EXPECT_NE(out.find(" Continuing loss rate =  12.7"), std::string::npos);
  // A storage took part where nothing passed the station: the batch answer keeps the rate.
  const std::string log = run.log();
  EXPECT_NE(log.find(" Losses & storage contents indeterminate\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" Want to change current runoff coeff./loss rate?\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("not converging"), std::string::npos);

  // The routed run: the dam fills its 2000 m³ from 1500 + 13100 m³ and drains, so
  // station 1 sees the recorded 12600 m³; station 2 adds B's 4562.5 m³ and about 940 m³.
  EXPECT_NEAR(run.printedVolume(1, 2), 12600.0F, 1.0F);
  EXPECT_NEAR(run.printedVolume(1, 1), 12600.0F, 50.0F);
  EXPECT_NEAR(run.printedVolume(2, 2), 18000.0F, 1.0F);
  EXPECT_NEAR(run.printedVolume(2, 1), 18000.0F, 200.0F);
}

}  // namespace
}  // namespace kova::test
