// Tests of the storm-data reader: fixture storms with several bursts, pluviographs and
// recorded hydrographs against tables worked out by hand, and one small bad record for
// every fatal condition it reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "engine/input/storm_setup.h"
#include "io/format.h"

namespace kova::test {
namespace {

const std::string threeAreas = "1.0 2.0 3.0 -99\n0\n";

// Three sub-areas; hydrograph 1 a gauging station, 2 an ungauged location, 3 a channel
// inflow given as a recorded hydrograph.
Read1Shape stationUngaugedInflow() {
  Read1Shape s;
  s.nSteps = 9;
  s.isaEnd = {1, 4};
  s.ungauged = {0, 1, 0};
  s.nIOs = 1;
  s.nextNameWord = 15;  // two names read with the control vector
  return s;
}

// Storm A, section by section, so that a test can spoil one of them. Two bursts of 3 and
// 2 increments (positions 1-3 and 4-5), two pluviographs, burst depths from pluviograph 1.
struct StormA {
  std::string header = "Storm A\nTEST\n1.0 10 2 2 0 -99\n";
  std::string bursts = "0 3 5 7\n";
  std::string pluvio1 = "Pluvio North\n1 2 3\n4 5 -99\n";
  std::string pluvio2 = "Cooma pluvio\nC comment before the values\n0.5 0.5 1.0 2.0 2.5 -99\n";
  std::string refs = "C references\n1 2 2 -99\n2 1 1 -99\n";
  std::string times = "C hydrograph times\n0 4 1 6 -99\n";
  std::string hyd1 = "Gauge at Bridge\n0 5 10 5 1 -99\n";
  std::string rise1 = "3 1 -99\n";
  std::string hyd3 = "Diversion inflow\n1 2 3 3 2 1 -99\n";
  std::string rise3 = "C rise volumes\n2 2 -99\n";
  // The storm as far as its burst times.
  [[nodiscard]] StormA cutAfterBursts() const {
    StormA s;
    s.header = header;
    s.bursts = bursts;
    s.pluvio1 = s.pluvio2 = s.refs = s.times = s.hyd1 = s.rise1 = s.hyd3 = s.rise3 = "";
    return s;
  }
  [[nodiscard]] std::string text() const {
    return header + bursts + pluvio1 + pluvio2 + refs + times + hyd1 + rise1 + hyd3 + rise3;
  }
};

std::string nameAt(const state::Job& job, int word) { return std::string(state::nameAt(job.work, word)); }

std::string padded(const std::string& name) { return name + std::string(28 - name.size(), ' '); }

TEST(Read3, StormWithTwoBurstsTwoPluviographsAndRecordedHydrographs) {
  JobFixture f;
  ASSERT_FALSE(runStages(f, threeAreas, StormA{}.text(), stationUngaugedInflow(), Until::analysisLayout))
      << f.output();
  const state::Job& j = *f.job;
  const state::StormTables& t = j.stormTables;
  EXPECT_EQ(j.kov.nRainIncs, 5);

  const float pluvio[2][5] = {{1, 2, 3, 4, 5}, {0.5F, 0.5F, 1.0F, 2.0F, 2.5F}};
  for (std::size_t p = 1; p <= 2; ++p)
    for (std::size_t n = 1; n <= 5; ++n) EXPECT_FLOAT_EQ(t.pluvio(n, p), pluvio[p - 1][n - 1]) << p << "," << n;
  // Burst 1 takes positions 1-3, burst 2 positions 4-5.
  EXPECT_FLOAT_EQ(t.burstTotal(1, 1), 6.0F);
  EXPECT_FLOAT_EQ(t.burstTotal(2, 1), 9.0F);
  EXPECT_FLOAT_EQ(t.burstTotal(1, 2), 2.0F);
  EXPECT_FLOAT_EQ(t.burstTotal(2, 2), 4.5F);
  for (std::size_t i = 1; i <= 3; ++i) {
    EXPECT_FLOAT_EQ(t.subAreaRain(1, i), 6.0F);
    EXPECT_FLOAT_EQ(t.subAreaRain(2, i), 9.0F);
  }
  const int refs[2][3] = {{1, 2, 2}, {2, 1, 1}};
  for (std::size_t b = 1; b <= 2; ++b)
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(t.pluvioRef(b, i), refs[b - 1][i - 1]);

  const int times[3][2] = {{0, 4}, {0, 1}, {1, 6}};
  for (std::size_t h = 1; h <= 3; ++h) {
    EXPECT_EQ(t.hydTimes(1, h), times[h - 1][0]) << h;
    EXPECT_EQ(t.hydTimes(2, h), times[h - 1][1]) << h;
  }
  EXPECT_EQ(j.kov.nHydOrds, 7);
  // After the analysis layout the recorded hydrographs hold 7 ordinates each.
  EXPECT_EQ(t.recHyd.rows, 7U);
  const float rec[3][7] = {{0, 5, 10, 5, 1, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 3, 2, 1}};
  for (std::size_t h = 1; h <= 3; ++h)
    for (std::size_t n = 1; n <= 7; ++n) EXPECT_FLOAT_EQ(t.recHyd(n, h), rec[h - 1][n - 1]) << h << "," << n;
  EXPECT_FLOAT_EQ(t.riseVol(1, 1), 0.75F);
  EXPECT_FLOAT_EQ(t.riseVol(2, 1), 0.25F);
  EXPECT_FLOAT_EQ(t.riseVol(1, 3), 0.5F);
  EXPECT_FLOAT_EQ(t.riseVol(2, 3), 0.5F);

  EXPECT_EQ(t.pluvioNameWord, 15);
  EXPECT_EQ(nameAt(j, 15), padded("Pluvio North"));
  EXPECT_EQ(nameAt(j, 22), padded("Cooma pluvio"));  // a name line is never a comment
  EXPECT_EQ(t.hydNameWord, 29);
  EXPECT_EQ(nameAt(j, 29), padded("Gauge at Bridge"));
  EXPECT_EQ(nameAt(j, 43), padded("Diversion inflow"));
  EXPECT_EQ(nameAt(j, 50), padded("Catchment outlet"));
  EXPECT_EQ(f.output(), "");
}

TEST(Read3, ArealRainfallsAndOnePluviographForEverySubArea) {
  // Three bursts at positions 1-2, 3-4 and 5; rise volumes 1, 1, 2 scale to quarters.
  const std::string storm =
      "Storm B\nFIT\n0.5 8 3 1 1 -99\n0 2 2 4 4 5\nNorth\n1 1 2 2 3 -99\n"
      "10 20 30 -99\n5 5 5 -99\n0 1 2 -99\n0 5 -99\nGauge\n0 1 4 3 2 1 -99\n1 1 2 -99\n";
  Read1Shape shape;
  shape.ungauged = hydrographs(1);
  JobFixture f;
  ASSERT_FALSE(runStages(f, threeAreas, storm, shape, Until::analysisLayout)) << f.output();
  const state::StormTables& t = f.job->stormTables;
  EXPECT_FLOAT_EQ(t.burstTotal(1, 1), 2.0F);
  EXPECT_FLOAT_EQ(t.burstTotal(2, 1), 4.0F);
  EXPECT_FLOAT_EQ(t.burstTotal(3, 1), 3.0F);
  const float rain[3][3] = {{10, 20, 30}, {5, 5, 5}, {0, 1, 2}};
  for (std::size_t b = 1; b <= 3; ++b) {
    for (std::size_t i = 1; i <= 3; ++i) {
      EXPECT_FLOAT_EQ(t.subAreaRain(b, i), rain[b - 1][i - 1]);
      EXPECT_EQ(t.pluvioRef(b, i), 1);
    }
  }
  EXPECT_EQ(f.job->kov.nHydOrds, 6);
  EXPECT_FLOAT_EQ(t.recHyd(3, 1), 4.0F);
  EXPECT_FLOAT_EQ(t.riseVol(1, 1), 0.25F);
  EXPECT_FLOAT_EQ(t.riseVol(2, 1), 0.25F);
  EXPECT_FLOAT_EQ(t.riseVol(3, 1), 0.5F);
}

TEST(Read3, OneBurstGivesRiseVolumeOneAndReadsNone) {
  // Two gauged hydrographs of 49 and 51 ordinates: nHydOrds is 51.
  std::string ordinates49;
  std::string ordinates51;
  for (int n = 0; n < 49; ++n) ordinates49 += "1.5 ";
  for (int n = 0; n < 51; ++n) ordinates51 += "2 ";
  const std::string storm = "Long\nTEST\n1.0 50 1 1 0 -99\n0 4\nP\n1 2 3 4 -99\n0 48 0 50 -99\nFirst\n" +
                            ordinates49 + "-99\nSecond\n" + ordinates51 + "-99\n";
  Read1Shape shape;
  shape.ungauged = hydrographs(2);
  JobFixture f;
  ASSERT_FALSE(runStages(f, threeAreas, storm, shape, Until::analysisLayout)) << f.output();
  const state::StormTables& t = f.job->stormTables;
  EXPECT_EQ(f.job->kov.nHydOrds, 51);
  EXPECT_FLOAT_EQ(t.recHyd(49, 1), 1.5F);
  EXPECT_FLOAT_EQ(t.recHyd(50, 1), 0.0F);
  EXPECT_FLOAT_EQ(t.recHyd(51, 2), 2.0F);
  EXPECT_FLOAT_EQ(t.riseVol(1, 1), 1.0F);
  EXPECT_FLOAT_EQ(t.riseVol(1, 2), 1.0F);
  for (std::size_t i = 1; i <= 3; ++i) EXPECT_FLOAT_EQ(t.subAreaRain(1, i), 10.0F);
}

TEST(Read3, OnlyAnUngaugedLocationExpectsNoHydrographData) {
  Read1Shape shape;
  shape.ungauged = hydrographs(0, 1);
  JobFixture f;
  ASSERT_FALSE(runStages(f, threeAreas, "U\nDESIGN\n1.0 10 1 1 0 -99\n0 3\nP\n1 1 1 -99\n", shape,
                         Until::analysisLayout))
      << f.output();
  EXPECT_EQ(f.job->stormTables.hydTimes(1, 1), 0);
  EXPECT_EQ(f.job->stormTables.hydTimes(2, 1), 1);
  EXPECT_EQ(f.job->kov.nHydOrds, 2);
}

TEST(Read3, WithoutHydrographsTheFileEndsAfterTheRainfalls) {
  Read1Shape shape;
  shape.isaEnd = {1};
  JobFixture f;
  ASSERT_FALSE(runStages(f, threeAreas, "N\nDESIGN\n1.0 10 1 0 0 -99\n0 3\n", shape, Until::analysisLayout))
      << f.output();
  EXPECT_EQ(f.job->kov.nHydOrds, 0);
  EXPECT_EQ(nameAt(*f.job, f.job->stormTables.hydNameWord), padded("Catchment outlet"));
  for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(f.job->stormTables.subAreaRain(1, i), 0.0F);
}

// The recorded-hydrograph table spans the rest of the real work array, where the
// catchment tables lay before; read3 must clear what it keeps, not trust it to be 0.
TEST(Read3, OrdinatesNoHydrographGivesReadAsZeroOverStaleData) {
  JobFixture f;
  ASSERT_FALSE(runStages(f, threeAreas, StormA{}.text(), stationUngaugedInflow(), Until::stormLayout)) << f.output();
  const std::span<float> table = f.job->stormTables.recHyd.data;
  std::fill(table.begin(), table.end(), 99.0F);
  ASSERT_FALSE(f.fails([](state::Job& job) {
    engine::read3(job);
    state::layoutAnalysisTables(job);
  })) << f.output();
  const state::StormTables& t = f.job->stormTables;
  ASSERT_EQ(t.recHyd.rows, 7U);
  const float rec[3][7] = {{0, 5, 10, 5, 1, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 3, 2, 1}};
  for (std::size_t h = 1; h <= 3; ++h)
    for (std::size_t n = 1; n <= 7; ++n) EXPECT_FLOAT_EQ(t.recHyd(n, h), rec[h - 1][n - 1]) << h << "," << n;
}

TEST(Read3, PrintOption3WritesTheHeadings) {
  JobFixture f;
  ASSERT_FALSE(runStages(f, threeAreas, StormA{}.text(), stationUngaugedInflow(), Until::read3, 3)) << f.output();
  const std::string read2Headings =
      " Sub-area areas\n Impervious flag\n Initial storm data\n Rainfall burst times\n";
  EXPECT_EQ(f.output(), read2Headings +
                            " Pluviograph 1\n Pluviograph 2\n Pluviograph reference nos.\n   Burst no. 1\n"
                            "   Burst no. 2\n Hydrograph times\n   2 hydrograph(s) expected in data\n"
                            " Hydrograph  1\n Hydrograph  3\n");
}

TEST(Read3, ArealRainfallHeadingsWithOneBurst) {
  JobFixture f;
  const std::string storm = "S\nDESIGN\n1.0 10 1 1 1 -99\n0 2\nP\n1 1 -99\n4 5 6 -99\n";
  ASSERT_FALSE(runStages(f, threeAreas, storm, {}, Until::read3, 3)) << f.output();
  EXPECT_NE(f.output().find(" Pluviograph 1\n Sub-area rainfalls\n"), std::string::npos) << f.output();
  EXPECT_EQ(f.output().find("Burst no."), std::string::npos);
}

struct FailureRow {
  const char* what;
  void (*spoil)(StormA&);
  std::string output;  // the whole output file
};

const std::string unreadable =
    " Data error: possibly character data where numerical value expected,\n             or illegal number\n";
const std::string endOfFile = " Data error: insufficient data in data file\n";
const std::string expected2 = "   2 hydrograph(s) expected in data\n";

std::string endCheck(const std::string& value, int count) {
  return " Data error: " + value + " read instead of end check -99\n" + io::formatI(5, count) +
         " ordinates & end check read\n";
}

TEST(Read3, EveryFailureEndsTheJobWithItsMessage) {
  const FailureRow rows[] = {
      {"pluviograph end check", [](StormA& s) { s.pluvio1 = "North\n1 2 3 4 5 -98\n"; }, endCheck("  -98.00", 5)},
      // A record short of values takes its end check from the next line.
      {"pluviograph too short",
       [](StormA& s) {
         s.pluvio2 = "South\n1 2 3 4 -99\n";
         s.refs = "1 2 2 -99\n2 1 1 -99\n";
       },
       endCheck("    1.00", 5)},
      {"sub-area rainfall end check",
       [](StormA& s) {
         s.header = "A\nTEST\n1.0 10 2 2 1 -99\n";
         s.refs = "1 2 3 -99\n4 5 6 0\n" + s.refs;
       },
       endCheck("    0.00", 3)},
      {"references end check", [](StormA& s) { s.refs = "1 2 2 -99\n2 1 1 99\n"; }, endCheck("   99.00", 3)},
      {"hydrograph times end check", [](StormA& s) { s.times = "0 4 1 6 -98\n"; },
       endCheck("  -98.00", 4) + expected2},
      {"hydrograph finish not after start", [](StormA& s) { s.times = "4 4 1 6 -99\n"; },
       " Data error: hydrograph times in error    4 >/=    4\n" + expected2},
      {"hydrograph finish before start", [](StormA& s) { s.times = "0 4 6 1 -99\n"; },
       " Data error: hydrograph times in error    6 >/=    1\n" + expected2},
      {"hydrograph before the initial time", [](StormA& s) { s.times = "-2 4 1 6 -99\n"; },
       " Data error: hydrograph times in error   -2 >/=    4\n" + expected2},
      {"ordinates end check", [](StormA& s) { s.hyd1 = "Gauge\n0 5 10 5 1 2 -99\n"; }, endCheck("    2.00", 5)},
      {"rise volumes end check", [](StormA& s) { s.rise3 = "2 2 2 -99\n"; }, endCheck("    2.00", 2)},
      {"rise volumes summing to 0", [](StormA& s) { s.rise1 = "0 0 -99\n"; },
       " Data error: sum of proportional rise volumes =0.0\n"},
      {"rise volumes summing below 0", [](StormA& s) { s.rise3 = "1 -3 -99\n"; },
       " Data error: sum of proportional rise volumes =0.0\n"},
      {"pluviograph reference to no pluviograph", [](StormA& s) { s.refs = "1 2 2 -99\n2 3 1 -99\n"; },
       " Data error: pluviograph reference no.   3 for sub-area  2 not between 1 and  2\n"},
      {"pluviograph reference 0", [](StormA& s) { s.refs = "0 2 2 -99\n2 1 1 -99\n"; },
       " Data error: pluviograph reference no.   0 for sub-area  1 not between 1 and  2\n"},
      {"no pluviograph name", [](StormA& s) { s = s.cutAfterBursts(); },
       endOfFile},
      {"pluviograph values cut short",
       [](StormA& s) {
         s = s.cutAfterBursts();
         s.pluvio1 = "North\n1 2\n";
       },
       endOfFile},
      {"no recorded hydrograph name",
       [](StormA& s) { s.hyd1 = s.rise1 = s.hyd3 = s.rise3 = ""; }, endOfFile},
      {"no rise volumes", [](StormA& s) { s.rise3 = ""; }, endOfFile},
      {"character rainfall", [](StormA& s) { s.pluvio1 = "North\n1 2 x 4 5 -99\n"; }, unreadable},
      {"real pluviograph reference", [](StormA& s) { s.refs = "1 2.0 2 -99\n2 1 1 -99\n"; }, unreadable},
      {"character hydrograph time", [](StormA& s) { s.times = "0 four 1 6 -99\n"; }, unreadable},
      {"character ordinate", [](StormA& s) { s.hyd3 = "Inflow\n1 2 3 3 2 one -99\n"; }, unreadable},
  };
  for (const FailureRow& row : rows) {
    StormA storm;
    row.spoil(storm);
    JobFixture f;
    EXPECT_TRUE(runStages(f, threeAreas, storm.text(), stationUngaugedInflow(), Until::read3)) << row.what;
    EXPECT_EQ(f.job->genpar.errorFlag, 1) << row.what;
    EXPECT_TRUE(filesClosed(f)) << row.what;
    EXPECT_EQ(f.output(), row.output) << row.what;
    EXPECT_NE(f.log().find(" Fatal error - see output file\n"), std::string::npos) << row.what;
  }
}

TEST(Read3, APluviographOver20000IncrementsIsRefusedInTheLogAlone) {
  std::string values;
  for (int n = 0; n < 20001; ++n) values += "0 ";
  const std::string storm = "Long\nDESIGN\n1.0 20001 1 1 0 -99\n0 20001\nP\n" + values + "-99\n";
  JobFixture f;
  EXPECT_TRUE(runStages(f, threeAreas, storm, {}, Until::read3));
  EXPECT_TRUE(filesClosed(f));
  EXPECT_EQ(f.output(), "");
  const std::string log = f.log();
  EXPECT_NE(log.find(" Number of time increments in pluvio exceeded.\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Fatal error"), std::string::npos);

  std::string fits;
  for (int n = 0; n < 20000; ++n) fits += "0 ";
  JobFixture g;
  EXPECT_FALSE(runStages(g, threeAreas, "Long\nDESIGN\n1.0 20000 1 1 0 -99\n0 20000\nP\n" + fits + "-99\n", {},
                         Until::read3))
      << g.log();
}

// Pluviograph tables that fill the real work array leave the recorded hydrographs room
// for `capacity` ordinates: one station's finish may reach capacity - 1, not capacity.
TEST(Read3, RecordedHydrographsBeyondTheirTableEndWithTheRealLimit) {
  Read1Shape shape;
  shape.nSteps = 4;
  shape.ungauged = hydrographs(1);
  // Below the pluviograph table: 3 reaches x 3, 4 codes, 3 areas x 2; pluviograph table
  // of 4,999,000 increments; burst total, depths and rise volume 1 + 3 + 1.
  const int capacity = 5'000'000 - (9 + 4 + 6) - 4'999'000 - 5;
  ASSERT_EQ(capacity, 976);
  const std::string header = "Big\nTEST\n1.0 5000000 1 0 0 -99\n0 4999000\n";
  JobFixture f;
  EXPECT_TRUE(runStages(f, threeAreas, header + "0 976 -99\n", shape, Until::read3));
  EXPECT_EQ(f.job->stormTables.recHydCapacity, capacity);
  EXPECT_EQ(f.output(), "\n Limit on total real array storage (5000000) exceeded\n");
  EXPECT_NE(f.log().find(" Fatal error - see output file\n"), std::string::npos);
  EXPECT_TRUE(filesClosed(f));

  std::string ordinates;
  for (int n = 0; n < capacity; ++n) ordinates += "1 ";
  JobFixture g;
  EXPECT_FALSE(runStages(g, threeAreas, header + "0 975 -99\nGauge\n" + ordinates + "-99\n", shape, Until::read3))
      << g.output();
  EXPECT_EQ(g.job->kov.nHydOrds, capacity);
  EXPECT_FLOAT_EQ(g.job->stormTables.recHyd(static_cast<std::size_t>(capacity), 1), 1.0F);
}

}  // namespace
}  // namespace kova::test
