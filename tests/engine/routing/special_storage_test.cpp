// Tests of special-storage routing: starting drawdowns and their filling, routing by
// formula, table and computed table, the results and table layouts, the prints, the
// errors, and the summary of a storage to be designed. Storages are read by the real
// reader from small catchment files, so the record layout is the reader's own.
#include "engine/routing/special_storage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/input/catchment_read_support.h"
#include "engine/reports/report_test_support.h"
#include "engine/routing/reach_routing.h"
#include "engine/routing/special_storage_drawdown.h"
#include "io/format.h"
#include "io/units.h"

namespace kova::engine {
namespace {

using test::blanks;
using test::splitLines;

// A job holding the storages of `records` (step 1 onward), with a time increment of
// dtHours, ready for basin.
struct StorageJob {
  test::Read1Run run;
  float volume = 0.0F;
  float centroid = 0.0F;

  explicit StorageJob(const std::string& records, float dtHours = 1.0F) : run(test::catchmentFile(records + "0\n")) {
    EXPECT_FALSE(run.failed) << run.output();
    job().kov.timeInc = dtHours;
    job().kov.timeIncSec = dtHours * 3600.0F;
  }
  state::Job& job() { return run.job(); }
  // Runs basin on q at `step`; true when the job ended.
  bool basin(std::vector<float>& q, int step = 1) {
    job().nTimes = static_cast<int>(q.size());
    return run.fixture.fails(
        [&](state::Job& j) { engine::basin(j, BasinCall{step, q, &volume, &centroid, 0.0F}); });
  }
  std::vector<std::string> lines() { return splitLines(run.output()); }
  // The outflow route gives for the same storage-discharge table.
  std::vector<float> routed(const std::vector<float>& inflow, std::span<const float> s, std::span<const float> q,
                            RoutePeaks& peaks) {
    std::vector<float> out(inflow.size());
    route(job(), inflow, out, s, q, "", peaks);
    return out;
  }
};

const std::string storageTitle = " *** Special storage :" + blanks(15);

void expectSame(const std::vector<float>& got, const std::vector<float>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_FLOAT_EQ(got[i], want[i]) << "at " << i;
}

TEST(FillDrawdown, TakesTheInflowUntilTheDrawdownIsFull) {
  struct Row {
    const char* what;
    float drawdown;
    float dts;
    std::vector<float> inflow;
    std::vector<float> want;
    float unfilled;
  };
  const Row rows[] = {
      {"no drawdown", 0.0F, 3600.0F, {2, 3, 1}, {2, 3, 1}, 0.0F},
      // 2 m³/s over an hour bring 7200 m³: (7200 - 1000)/3600 are left of the first.
      {"filled by the first ordinate", 1000.0F, 3600.0F, {2, 3, 1}, {6200.0F / 3600.0F, 3, 1}, 0.0F},
      // Running volumes 0, 360, 2160: the third ordinate fills it with 1160 m³ to spare.
      {"filled later", 1000.0F, 3600.0F, {0, 0.1F, 0.5F, 1}, {0, 0, 1160.0F / 3600.0F, 1}, 0.0F},
      {"filled exactly", 360.0F, 3600.0F, {0, 0.1F, 0.5F}, {0, 0, 0.5F}, 0.0F},
      // 600 m³ against 1000 m³: nothing passes and 400 m³ stay to fill.
      {"never filled", 1000.0F, 100.0F, {0, 3, 2, 1, 0}, {0, 0, 0, 0, 0}, 400.0F},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<float> q = row.inflow;
    EXPECT_FLOAT_EQ(fillDrawdown(q, row.drawdown, row.dts), row.unfilled);
    expectSame(q, row.want);
  }
}

TEST(FillDrawdown, VolumeAgainstADrawdown) {
  struct Row {
    float volume, drawdown, passed, left;
  };
  const Row rows[] = {{1500, 2000, 0, 500}, {2500, 2000, 500, 0}, {600, 0, 600, 0}, {2000, 2000, 0, 0}};
  for (const Row& row : rows) {
    const DrawdownShare share = takeByDrawdown(row.volume, row.drawdown);
    EXPECT_FLOAT_EQ(share.passed, row.passed) << row.volume;
    EXPECT_FLOAT_EQ(share.left, row.left) << row.volume;
  }
}

// A starting level becomes the volume between the cease-to-flow level and that level,
// and the record then holds minus that volume.
TEST(StartingDrawdown, LevelsTurnIntoDrawdownVolumes) {
  struct Row {
    const char* what;
    std::string records;
    float volume;
  };
  const std::string spillOverFunction = "3, %, 1, 100, 10, 1.7, -99\n2, 1000, 1.5, 99, -99\n";
  const std::string tableOverTable = "1, %, 2, 500, 0, 2000, 5, -99\n1, 3, 97, 0, 98, 500, 100, 2500, -99\n";
  auto with = [](std::string text, const char* start) { return text.replace(text.find('%'), 1, start); };
  const Row rows[] = {
      // S = 1000·(h - 99)^1.5: 1000 at the crest, 353.553 at 99.5 m.
      {"power function below the crest", with(spillOverFunction, "99.5"), 1000.0F - 353.5534F},
      {"power function above the crest", with(spillOverFunction, "100.5"), 0.0F},
      // The storage at zero discharge, 500 m³, lies at 98 m; 97.5 m holds 250 m³.
      {"table below cease-to-flow", with(tableOverTable, "97.5"), 250.0F},
      {"table above cease-to-flow", with(tableOverTable, "99"), 0.0F},
      {"level above the elevation table", with(tableOverTable, "101"), 0.0F},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    StorageJob s("6\nLevel basin\n" + row.records);
    const StartingDrawdown d = startingDrawdown(s.job(), 1);
    EXPECT_TRUE(d.fromLevel);
    EXPECT_NEAR(d.volume, row.volume, 0.01);
    EXPECT_NEAR(s.run.data(1, 1), -row.volume, 0.01);
    // Read again, the record is a drawdown.
    const StartingDrawdown again = startingDrawdown(s.job(), 1);
    EXPECT_FALSE(again.fromLevel);
    EXPECT_NEAR(again.volume, row.volume, 0.01);
  }
}

TEST(Basin, PrintedStorageReportsTheDrawdownWorkedOutFromALevel) {
  StorageJob s("16\nLevel basin\n3, 99.5, 1, 100, 10, 1.7, -99\n2, 1000, 1.5, 99, -99\n");
  std::vector<float> q(6, 0.0F);
  ASSERT_FALSE(s.basin(q));
  EXPECT_EQ(s.lines().at(0), " Calculated  drawdown= 0.646E+03 m\xB3 : Level basin");
}

// 600 m³ of inflow against a drawdown of 1000 m³: nothing leaves, 400 m³ stay to fill.
TEST(Basin, DrawdownNotFilledLeavesNoOutflow) {
  StorageJob s("16\nBasin\n0, -1000, 0.5, 0.8, -99\n0, -99\n", 1.0F / 36.0F);
  s.job().kov.timeIncSec = 100.0F;
  std::vector<float> q{0, 3, 2, 1, 0};
  ASSERT_FALSE(s.basin(q));
  expectSame(q, {0, 0, 0, 0, 0});
  const std::vector<std::string> lines = s.lines();
  ASSERT_GE(lines.size(), 6U);
  EXPECT_EQ(lines[0], ">>> Drawdown of special storage Basin not filled.");
  EXPECT_EQ(lines[1], " current drawdown=           400. m\xB3");
  EXPECT_EQ(lines[5], storageTitle + "Basin");
  EXPECT_EQ(s.run.output().find("Results of routing"), std::string::npos);

  // The print shows the inflow as it arrived, before the drawdown took it.
  ASSERT_EQ(s.job().genpar.nHydsPrinted, 1);
  const state::Site& site = s.job().sites.site.at(0);
  EXPECT_EQ(site.label12a, "Outflow     ");
  EXPECT_EQ(site.label12b, "Inflow      ");
  expectSame(site.hyd1.values, {0, 0, 0, 0, 0});
  expectSame(site.hyd2.values, {0, 3, 2, 1, 0});
  EXPECT_FLOAT_EQ(site.stats2.volume, 600.0F);
}

// An unprinted storage writes nothing; its outflow is the drawdown-filled inflow routed
// as route routes it with the formula.
TEST(Basin, FormulaStorageRoutesTheFilledInflowAsRouteDoes) {
  StorageJob s("6\nBasin\n0, -1000, 0.5, 0.8, -99\n0, -99\n");
  std::vector<float> q{2, 3, 5, 8, 4, 2, 1, 0.5F, 0.2F, 0};
  std::vector<float> filled{6200.0F / 3600.0F, 3, 5, 8, 4, 2, 1, 0.5F, 0.2F, 0};
  ASSERT_FALSE(s.basin(q));
  std::vector<float> want(filled.size());
  RoutePeaks peaks;
  route(s.job(), filled, want, 0.5F, 0.8F, specialPowerLaw, "", peaks);
  expectSame(q, want);
  EXPECT_EQ(s.run.output(), "");
  EXPECT_EQ(s.job().genpar.nHydsPrinted, 0);
  ASSERT_EQ(s.job().specialStorages.results.size(), 1U);
  EXPECT_FLOAT_EQ(s.job().specialStorages.results[0].peakOutflow, peaks.outflow);
  EXPECT_FLOAT_EQ(s.job().specialStorages.results[0].peakStorage, peaks.storage);
}

TEST(Basin, FormulaResultsBlock) {
  StorageJob s("16\nBasin\n0, 0, 0.5, 0.8, -99\n0, -99\n");
  std::vector<float> q{0, 3, 6, 9, 6, 3, 1, 0, 0, 0};
  const std::vector<float> inflow = q;
  ASSERT_FALSE(s.basin(q));
  std::vector<float> want(inflow.size());
  RoutePeaks peaks;
  route(s.job(), inflow, want, 0.5F, 0.8F, specialPowerLaw, "", peaks);
  expectSame(q, want);

  const std::vector<std::string> lines = s.lines();
  ASSERT_GE(lines.size(), 7U);
  EXPECT_EQ(lines[0], " Results of routing through special storage Basin  with ks = 0.5000E+00 & ms =  0.80");
  EXPECT_EQ(lines[1], "  Peak outflow = " + io::formatF(8, 2, peaks.outflow) + " m\xB3/s");
  EXPECT_EQ(lines[2], "  Peak storage = " + io::formatE(12, 2, peaks.storage) + " m\xB3");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[6], storageTitle + "Basin");
  expectSame(s.job().sites.site.at(0).hyd2.values, inflow);
}

// One pipe of 1 m over 50 m at 1 % from 99 m and a 10 m spillway at 100 m (C_w 1.7),
// over the table 99 m: 0, 101 m: 20000 m³, 103 m: 60000 m³.
const std::string pipeBasin =
    "16\nPipe basin\n2, 0, 1, 100, 10, 1.7, 0.5, 0.2, 1, 99, 1, 50, 1, 1, -99\n"
    "1, 3, 99, 0, 101, 20000, 103, 60000, -99\n";

float levelOnPipeBasinTable(float s) { return s <= 20000.0F ? 99.0F + s / 10000.0F : 101.0F + (s - 20000.0F) / 20000.0F; }

TEST(Basin, ComputedTableResultsAndLayout) {
  StorageJob s(pipeBasin);
  std::vector<float> q{0, 2.5F, 5, 2.5F, 0, 0, 0, 0, 0, 0};
  const std::vector<float> inflow = q;
  ASSERT_FALSE(s.basin(q));
  const state::SpecialStorageWork& w = s.job().specialStorages;
  RoutePeaks peaks;
  expectSame(q, s.routed(inflow, w.storages, w.discharges, peaks));
  const float peakLevel = levelOnPipeBasinTable(peaks.storage);
  const std::string kind = peakLevel < 100.0F ? " m\xB3/s (pipe flow)" : " m\xB3/s (pipe & spillway flow)";

  const std::vector<std::string> lines = s.lines();
  ASSERT_GE(lines.size(), 46U);
  const std::vector<std::string> head{
      " Results of routing through special storage Pipe basin",
      "  Peak elevation= " + io::formatF(7, 2, peakLevel) + " m",
      "  Peak outflow = " + io::formatF(8, 2, peaks.outflow) + kind,
      "  Peak storage = " + io::formatE(12, 2, peaks.storage) + " m\xB3",
      "",
      "",
      " Elevation-storage-discharge table for special storage ",
      " Pipe basin",
      "",
      " Elevation    Storage    Discharge",
      "    (m)         (m\xB3)      (m\xB3/s)",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 11), head);
  // Rows worked by hand: the low inlet at 99.5 m (1.247350·0.5^1.9), the high inlet at
  // the crest (twice: the end of the pipe run and the start of the spillway run), the
  // full pipe 2.267806·sqrt(h - 99.5) with the spillway 17·(h - 100)^1.5 above it.
  EXPECT_EQ(lines[11], "   99.00 0.00E+00    0.00");
  EXPECT_EQ(lines[16], "   99.50 0.50E+04    0.33");
  EXPECT_EQ(lines[21], "  100.00 0.10E+05    1.15");
  EXPECT_EQ(lines[22], "  100.00 0.10E+05    1.15");
  EXPECT_EQ(lines[32], "  101.00 0.20E+05   19.78");
  EXPECT_EQ(lines[39], "  103.00 0.60E+05   92.58");
  EXPECT_EQ(lines[40], "");
  EXPECT_EQ(lines[41], " " + std::string(72, '*'));
  EXPECT_EQ(lines[45], storageTitle + "Pipe basin");
  const state::SpecialStorageResult& r = w.results.at(0);
  EXPECT_TRUE(r.elevationKnown);
  EXPECT_FLOAT_EQ(r.peakElevation, peakLevel);
  EXPECT_EQ(r.nGroups, 1);
}

TEST(Basin, SpillwayOnlyPeakOutflowLine) {
  StorageJob s("16\nSpill\n3, 0, 1, 100, 10, 1.7, -99\n2, 100000, 1.5, 100, -99\n");
  std::vector<float> q{0, 5, 10, 5, 0, 0, 0, 0};
  ASSERT_FALSE(s.basin(q));
  const std::vector<std::string> lines = s.lines();
  ASSERT_GE(lines.size(), 4U);
  const float peak = s.job().specialStorages.results.at(0).peakOutflow;
  const float storage = s.job().specialStorages.results.at(0).peakStorage;
  // S = 1.0E5·(h - 100)^1.5 turned round.
  EXPECT_EQ(lines[1], "  Peak elevation= " + io::formatF(7, 2, std::pow(storage / 1.0E5, 1.0 / 1.5) + 100.0) + " m");
  EXPECT_EQ(lines[2], "  Peak outflow = " + io::formatF(8, 2, peak) + " m\xB3/s (spillway flow)");
  EXPECT_EQ(s.job().genpar.nHydsPrinted, 1);
}

// A storage-discharge table holding more storage than the elevation table gives.
TEST(Basin, PeakElevationAboveTheElevationTable) {
  StorageJob s("16\nDeep basin\n1, 0, 2, 0, 0, 100000, 10, -99\n1, 2, 99, 0, 100, 1000, -99\n");
  std::vector<float> q{0, 5, 5, 5, 5, 0, 0, 0};
  ASSERT_FALSE(s.basin(q));
  const std::vector<std::string> lines = s.lines();
  ASSERT_GE(lines.size(), 2U);
  EXPECT_EQ(lines[0], " Results of routing through special storage Deep basin");
  EXPECT_EQ(lines[1], "  Peak elevation exceeds max. of elev.-stor. table, 100.00");
  EXPECT_FALSE(s.job().specialStorages.results.at(0).elevationKnown);
}

void expectTableExceeded(StorageJob& s, std::vector<float>& q) {
  EXPECT_TRUE(s.basin(q));
  EXPECT_EQ(s.job().genpar.errorFlag, 1);
  const std::string out = s.run.output();
  EXPECT_NE(out.find(" Error: range of stor-disch or stor-elev table exceeded"), std::string::npos) << out;
  EXPECT_EQ(out.find("Results of routing"), std::string::npos);
  EXPECT_NE(s.run.fixture.log().find(" Fatal error - see output file"), std::string::npos);
}

TEST(Basin, StorageDischargeTableExceededEndsTheJob) {
  StorageJob s("16\nSmall basin\n1, 0, 3, 0, 0, 1000, 1, 2000, 2, -99\n0, -99\n");
  std::vector<float> q{0, 10, 10, 10, 0};
  expectTableExceeded(s, q);
}

TEST(Basin, ComputedTableExceededEndsTheJob) {
  StorageJob s("16\nSmall basin\n3, 0, 1, 100, 1, 1.7, -99\n1, 3, 99, 0, 100.5, 100, 101, 200, -99\n");
  std::vector<float> q{0, 50, 50, 50, 0};
  expectTableExceeded(s, q);
}

TEST(Basin, StorageToBeDesignedSummarisesItsRecordAndEndsTheJob) {
  struct Row {
    const char* what;
    std::string records;
    std::vector<std::string> summary;
  };
  const Row rows[] = {
      {"pipes and spillways",
       "6.1\nDesign pipes\n2, 1.6, 0.5, 0.2, -99\n1, 2, 99, 0, 101, 5000, -99\n",
       {"Spillway discharge coeff =  1.600", "Spillway     Elevation(m)      Length(m)",
        "Pipe entrance loss coeff =  0.500", "Pipe bend loss coeff     =  0.200",
        "Group  Upstr.inv.    No. of    Length  Gradient  Diameter",
        " no.    elev(m)      pipes      (m)       (%)       (m)  "}},
      {"spillways", "16.1\nDesign pipes\n3, 1.7, -99\n2, 1000, 1.5, 99, -99\n",
       {"Spillway discharge coeff =  1.700", "Spillway     Elevation(m)      Length(m)"}},
      {"formula", "6.1\nDesign pipes\n0, -99\n2, 1000, 1.5, 99, -99\n",
       {"Discharge formula used: S = 3600 ks Q^ms", "where, Coefficient, ks = ", "       Exponent, m     = "}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    StorageJob s(row.records);
    std::vector<float> q{0, 1, 2, 1, 0};
    EXPECT_TRUE(s.basin(q));
    std::vector<std::string> want{"",
                                  "",
                                  " " + std::string(72, '*'),
                                  " Interactive design of special storage Design pipes",
                                  "",
                                  " Summary of outlet works being trialled",
                                  "   Initial drawdown: 0.0000E+00"};
    want.insert(want.end(), row.summary.begin(), row.summary.end());
    want.push_back(" Data error: outlet works of storage to be designed, Design pipes,");
    want.push_back(" must be given as a code 6 storage");
    EXPECT_EQ(s.lines(), want);
    EXPECT_EQ(s.job().genpar.errorFlag, 1);
    EXPECT_FALSE(io::isOpen(s.job().units, s.job().unitid.outputUnit));
    const std::string log = s.run.fixture.log();
    EXPECT_NE(log.find(" Interactive design of special storage Design pipes"), std::string::npos) << log;
    EXPECT_NE(log.find(" Fatal error - see output file"), std::string::npos);
  }
}

TEST(Basin, NoStorageIsGateOperatedYet) {
  StorageJob s("6\nBasin\n0, 0, 0.5, 0.8, -99\n0, -99\n");
  s.job().gateops.gateOpsTag = "GATE";
  EXPECT_EQ(get_index_of_ss(s.job(), "Basin"), 0);
  std::vector<float> q{0, 3, 6, 3, 0};
  const std::vector<float> inflow = q;
  ASSERT_FALSE(s.basin(q));
  std::vector<float> want(inflow.size());
  RoutePeaks peaks;
  route(s.job(), inflow, want, 0.5F, 0.8F, specialPowerLaw, "", peaks);
  expectSame(q, want);
}

}  // namespace
}  // namespace kova::engine
