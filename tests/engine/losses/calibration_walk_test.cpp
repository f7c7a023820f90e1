// The volume walk of the loss-parameter calculation seen through whole TEST jobs: the
// stored-volume stack of a branch, channel I/O volumes (recorded, constant and shared
// over the reaches of a distributed I/O) and a calculation that does not converge within
// the walks allowed. Expectations are hand calculations of the volume at the station.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/job_run.h"

namespace kova::test {
namespace {

// Rain 10, 20, 10 mm over the first three hours of a 10-hour storm.
std::string storm(const std::string& hydrographs) {
  return "Walk\nTEST\n1.0, 10, 1, 1, 0, -99\n0, 3\nPluvio\n10 20 10 -99\n" + hydrographs;
}

// One interstation area with parameters and the area below it; initial loss 10 mm.
const std::string oneArea = "NumISA     2\nkc, m     0.5 1.0\nNumBurst   1\nIL, CL    10.0 0.0\nIL, CL    10.0 0.0\n";

TEST(CalibrationWalk, ADamOnABranchTakesOnlyTheBranchVolume) {
  // A (main stream) is stored while the branch B runs into a dam with 40000 m³ of
  // drawdown, then both join above the station; A and B lie in area 1, 30 mm are left on
  // each. The dam can take only B's volume, C x 30000 m³, so the station sees A's alone
  // and the recorded 4.5 x 3600 = 16200 m³ give C = 0.54. Were A's volume carried into
  // the dam, the balance would be 60000 C - 40000 = 16200, C = 0.94.
  const std::string catchment =
      "Branch\n4\n1, 1.0, -99\n3\n1, 1.0, -99\n6\nBranch Dam\n0, -40000, 1.0, 1.0, -99\n0, -99\n4\n7.1\n"
      "1, 1.0, -99\n0\n1.0, 1.0, 1.0, -99\n0\n";
  CalibrationRun run(catchment, storm("0, 5, -99\nStation\n0 1 1.5 1 0.5 0.5 -99\n"), 2, oneArea);
  ASSERT_EQ(run.status, 0) << run.log() << run.out();
  EXPECT_NEAR(run.lossParam(1), 0.54F, 50.0F / 30000.0F);
  const std::string out = run.out();
  EXPECT_NE(out.find("  Runoff coeff. (pervious area) = 0.54\n"
                     "\n"
                     " Special storage: Branch Dam\n"
                     " storage increased 0.162E+05 cub.m, current drawdown= 0.238E+05 cub.m\n"),
            std::string::npos)
      << out;
  // The routed dam holds all of B's 16200 m³ too, so the station gets A's.
  EXPECT_NEAR(run.printedVolume(1, 1), 16200.0F, 50.0F);
}

struct ChannelCase {
  const char* what;
  std::string io;           // the code-9 record and its lines, at the top of the vector
  std::string hydrographs;  // hydrograph times and recorded hydrographs
  float coefficient;        // the runoff coefficient that balances the station
};

TEST(CalibrationWalk, ChannelInflowVolumesCountAtTheStation) {
  // A (1 km², 30 mm left) above station 1 on a reach of 1 km; B below on a reach of 3 km.
  // The station records 4.25 x 3600 = 15300 m³ over 11 ordinates (nHydOrds - 1 = 10 hours).
  const std::string station = "Station\n0 0.5 1 1 0.75 0.5 0.25 0.25 0 0 0 -99\n";
  const std::vector<ChannelCase> rows{
      // A constant 0.1 m³/s for 10 hours (3600 m³) shared over the next two reaches by
      // length: area 1 gets a quarter, 900 m³, so C = 14400 / 30000.
      {"constant inflow over two reaches", "9, 1, 2, 1, 1\nPump\n0.1, 0, 0, 0, -99\n", "0, 10, -99\n" + station,
       0.48F},
      // A recorded inflow of 1.0 x 3600 m³ at the top; it takes hydrograph number 1, the
      // station number 2. C = (15300 - 3600) / 30000.
      {"recorded inflow", "9, 0, 0, 1, 1, -99\n",
       "0, 10, 0, 10, -99\nInflow\n0 0.5 0.25 0.25 0 0 0 0 0 0 0 -99\n" + station, 0.39F},
      // An outflow takes no volume off in the walk: C = 15300 / 30000.
      {"constant outflow over two reaches", "9, 1, 2, 0, 1\nOfftake\n0.1, 0, 0, 0, -99\n", "0, 10, -99\n" + station,
       0.51F},
  };
  for (const ChannelCase& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string catchment = "Channel\n4\n" + row.io + "1, 1.0, -99\n7.1\n1, 3.0, -99\n0\n1.0, 1.0, -99\n0\n";
    CalibrationRun run(catchment, storm(row.hydrographs), 2, oneArea);
    ASSERT_EQ(run.status, 0) << run.log() << run.out();
    // 0.05 mm over 1 km² is 50 m³, worth 50 / 30000 in C.
    EXPECT_NEAR(run.lossParam(1), row.coefficient, 50.0F / 30000.0F);
  }
}

TEST(CalibrationWalk, NotConvergingWithinTheWalksAdoptsTheCurrentValue) {
  // Nine tenths impervious: IL 10 mm leaves 9, 20, 10 mm (39000 m³ on 1 km²) and a rate
  // C takes 0.1 C off each hour, while the update spreads the surplus as if it all came
  // off: each walk closes only a tenth of the gap. The balance 18000 m³ needs C = 70;
  // after 49 updates from 0 the rate is 70 (1 - 0.9^49) = 69.599 and the gap is still
  // 21000 x 0.9^49 = 120 m³, above 50 m³.
  const std::string catchment = "Slow\n4\n1, 1.0, -99\n7.1\n1, 1.0, -99\n0\n1.0, 1.0, -99\n1, 0.9, 0.0, -99\n";
  CalibrationRun run(catchment, storm("0, 5, -99\nStation\n0 1 2 1 0.5 0.5 -99\n"), 1, oneArea);
  ASSERT_EQ(run.status, 0) << run.log() << run.out();
  EXPECT_NEAR(run.lossParam(1), 69.599F, 0.01F);
  const std::string out = run.out();
  EXPECT_NE(out.find("\n\n Loss parameter calculation not converging, burst  1\n"
                     " interstation area  1.adopt current value & proceed(Y or N)?\n"
                     " Continuing loss rate =  69.60 mm/h\n"),
            std::string::npos)
      << out;
  const std::string log = run.log();
  EXPECT_NE(log.find(" Loss parameter calculation not converging, burst  1 interstation area  1\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find(" Adopt current value & proceed ?\n"), std::string::npos) << log;
  // The run goes on with the adopted rate.
  EXPECT_NE(out.find("Gauging station at:"), std::string::npos);
}

}  // namespace
}  // namespace kova::test
