// Control-vector analysis of channel inflows and outflows: saved-I/O slots, distributed
// I/O over reaches of no length, the check of discharge-dependent I/O in areas whose loss
// parameters are calculated (chiofq) and the test of discharge dependence (ioeqfq).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/control_codes.h"
#include "engine/routing/analysis.h"
#include "engine/routing/analysis_run.h"

namespace kova::engine {
namespace {

using test::AnalysedJob;
using test::catchmentFile;
using test::gauges;
using test::stormFile;
using V = std::vector<int>;

// Concentrated I/O records: a constant outflow of kind 1 saved under `id`, and a kind-2
// inflow that reads it back.
std::string savedOutflow(int id) { return "9, 1, 0, 0, " + std::to_string(id) + "\nWeir\n2.0, 0, 0, 1, -99\n"; }
std::string readBack(int id, int reaches = 0) {
  return "9, 2, " + std::to_string(reaches) + ", 1, " + std::to_string(id) + ", -99\n";
}
const std::string reach = "5, 1.0, -99\n";

TEST(AnalysisSlots, SavedHydrographsShareSlotsOnlyWhenTheyDoNotOverlap) {
  struct Case {
    const char* what;
    std::string io;
    V slots;
    int needed;
  };
  const std::vector<Case> cases{
      {"first read back before the second is saved", savedOutflow(5) + reach + readBack(5) + savedOutflow(6) +
                                                         reach + readBack(6),
       {1, 1, 1, 1}, 1},
      {"two saved before either is read back", savedOutflow(5) + savedOutflow(6) + readBack(5) + readBack(6),
       {1, 2, 1, 2}, 2},
      {"read back in the other order", savedOutflow(5) + savedOutflow(6) + readBack(6) + readBack(5),
       {1, 2, 2, 1}, 2},
      {"no I/O is saved", "9, 1, 0, 0, 0\nWeir\n2.0, 0, 0, 1, -99\n9, 1, 0, 1, 0\nSpring\n1.0, 0, 0, 1, -99\n",
       {0, 0}, 1},
      {"a saved I/O that is never read keeps its slot", savedOutflow(5) + savedOutflow(6) + readBack(6),
       {1, 2, 2}, 2},
      // The distributed reader holds slot 1 over its two reaches, so the I/O saved after
      // its first reach takes slot 2; after its second reach slot 1 is free again.
      {"a distributed reader holds its slot to its last reach",
       savedOutflow(5) + readBack(5, 2) + reach + savedOutflow(6) + reach + savedOutflow(7) + readBack(6) +
           readBack(7),
       {1, 1, 2, 1, 2, 1}, 2},
  };
  for (const Case& c : cases) {
    AnalysedJob run(catchmentFile("1, 1.0, -99\n" + c.io, "1.0"), stormFile("DESIGN"));
    ASSERT_FALSE(run.failed) << c.what << "\n" << run.output();
    EXPECT_EQ(run.ioSlots(), c.slots) << c.what;
    EXPECT_EQ(run.tables().nSavedSlots, c.needed) << c.what;
  }
}

TEST(AnalysisSlots, VectorWithoutIONeedsOneSlot) {
  AnalysedJob run(catchmentFile("1, 1.0, -99\n", "1.0"), stormFile("DESIGN"));
  ASSERT_FALSE(run.failed);
  EXPECT_EQ(run.tables().nSavedSlots, 1);
}

TEST(AnalysisDistributedIO, ReachesOfNoLengthStopTheJob) {
  const std::string lateral = "Lateral\n1.0, 0, 0, 1, -99\n";
  struct Case {
    const char* what;
    std::string codes;
    bool fails;
  };
  const std::vector<Case> cases{
      {"both reaches of no length", "9, 1, 2, 1, 0\n" + lateral + "5, 0.0, -99\n5, 0.0, -99\n", true},
      {"one of the two has a length", "9, 1, 2, 1, 0\n" + lateral + "5, 0.0, -99\n5, 0.5, -99\n", false},
      {"only the first reach counts", "9, 1, 1, 1, 0\n" + lateral + "5, 0.0, -99\n5, 0.5, -99\n", true},
      {"every reach to the end", "9, 1, -1, 1, 0\n" + lateral + "5, 0.0, -99\n5, 0.0, -99\n", true},
      {"every reach to the end, one long", "9, 1, -1, 1, 0\n" + lateral + "5, 0.0, -99\n5, 2.0, -99\n", false},
  };
  for (const Case& c : cases) {
    AnalysedJob run(catchmentFile("1, 1.0, -99\n" + c.codes, "1.0"), stormFile("DESIGN"));
    ASSERT_TRUE(run.reachedAnalysis) << c.what << "\n" << run.output();
    EXPECT_EQ(run.failed, c.fails) << c.what;
    if (!c.fails) continue;
    EXPECT_EQ(run.output(),
              " Data error: reaches specified for distributed I/O\n defined by code no.   2 all have zero length\n")
        << c.what;
    EXPECT_EQ(run.log(), " Fatal error - see output file\n") << c.what;
    EXPECT_TRUE(test::filesClosed(run.f)) << c.what;
  }
}

// One sub-area, then `before`, a reach and the station that ends the one ISA, then
// `after` and the end code; `hydrographs` gauged hydrographs in the storm file.
struct ChannelIOCase {
  const char* what;
  std::string before;
  std::string after;
  std::string station;
  int hydrographs;
  bool failsInTestRun;
};

AnalysedJob runCase(const ChannelIOCase& c, const std::string& runType) {
  return AnalysedJob(catchmentFile("1, 1.0, -99\n" + c.before + reach + c.station + c.after, "1.0"),
                     stormFile(runType, gauges(c.hydrographs)));
}

const std::string dischargeOutflow = "9, 1, 0, 0, 0\nDiversion\n0, 0, 0.5, 1, -99\n";
const std::string gauged = "7.1\n";

const std::vector<ChannelIOCase> channelIOCases{
    {"outflow a + b (Q - c)^d with b and d non-zero", dischargeOutflow, "", gauged, 1, true},
    {"inflow from a discharge table", "9, 3, 0, 1, 0\nPump\n2, 0, 0, 10, 5, -99\n", "", gauged, 1, true},
    {"constant outflow: every outflow counts", "9, 1, 0, 0, 0\nOfftake\n2, 0, 0, 1, -99\n", "", gauged, 1, true},
    {"constant inflow", "9, 1, 0, 1, 0\nSpring\n2, 0, 0, 1, -99\n", "", gauged, 1, false},
    {"inflow with d = 0", "9, 1, 0, 1, 0\nSpring\n2, 0, 0.5, 0, -99\n", "", gauged, 1, false},
    {"given inflow hydrograph", "9, 0, 0, 1, 0, -99\n", "", gauged, 2, false},
    {"outflow paired with its read-back inflow", savedOutflow(5) + readBack(5), "", gauged, 1, false},
    {"outflow paired by link with an inflow of kind 1",
     "9, 1, 0, 0, 4\nDiversion\n0, 0, 0.5, 1, -99\n9, 1, 0, 1, 4\nReturn\n1, 0, 0, 1, -99\n", "", gauged, 1, false},
    {"outflow read back as an outflow", savedOutflow(5) + "9, 2, 0, 0, 5, -99\n", "", gauged, 1, true},
    {"outflow read back below the station", savedOutflow(5), readBack(5), gauged, 1, true},
    {"distributed outflow", "9, 1, 1, 0, 0\nSeepage\n0, 0, 0.5, 1, -99\n", "", gauged, 1, false},
    {"ungauged location ends the ISA", dischargeOutflow, "", "7.2\nFarm dam\n", 0, true},
    {"the end code ends the ISA", dischargeOutflow, "", "", 0, false},
};

TEST(AnalysisChiofq, DischargeDependentIOMustBePairedInTestRuns) {
  for (const ChannelIOCase& c : channelIOCases) {
    AnalysedJob run = runCase(c, "TEST");
    ASSERT_TRUE(run.reachedAnalysis) << c.what << "\n" << run.output();
    EXPECT_EQ(run.failed, c.failsInTestRun) << c.what << "\n" << run.output();
    if (c.failsInTestRun) {
      EXPECT_NE(run.output().find(" interstation area ended by code no."), std::string::npos) << c.what;
    }
  }
}

TEST(AnalysisChiofq, DesignRunsAcceptEveryIO) {
  for (const ChannelIOCase& c : channelIOCases) {
    AnalysedJob run = runCase(c, "DESIGN");
    EXPECT_FALSE(run.failed) << c.what << "\n" << run.output();
  }
}

TEST(AnalysisChiofq, FitRunsAreCheckedToo) {
  AnalysedJob run = runCase(channelIOCases[0], "FIT");
  EXPECT_TRUE(run.failed);
}

TEST(AnalysisChiofq, MessageNamesTheStationAndLeavesTheLogAlone) {
  // Steps: 1 sub-area, 2 the outflow, 3 the reach, 4 the station.
  AnalysedJob run = runCase(channelIOCases[0], "TEST");
  ASSERT_TRUE(run.failed);
  EXPECT_EQ(run.output(),
            " Data error: channel I/O as function of discharge not\n"
            " permissible in area for which loss parameter to be calculated,\n"
            " interstation area ended by code no.     4\n");
  EXPECT_EQ(run.log().find("Fatal error"), std::string::npos);
  EXPECT_TRUE(test::filesClosed(run.f));
}

TEST(AnalysisChiofq, IOAboveAStationThatEndsNoIsaIsInNoIsa) {
  // Station 2 follows station 1 with no sub-area between: the outflow between them lies
  // in no ISA (its code takes the number of ISAs + 1) and ISA 2, ended by station 3,
  // does not check it.
  const std::string codes = "1, 1.0, -99\n7.1\n" + dischargeOutflow + reach + "7.1\n1, 1.0, -99\n7.1\n";
  AnalysedJob run(catchmentFile(codes, "1.0, 1.0"), stormFile("TEST", gauges(3)));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.codeIsa(), (V{1, 1, 3, 3, 3, 2, 2, 3}));
}

TEST(AnalysisIoeqfq, DischargeDependenceOfEachKind) {
  struct Row {
    std::string record;
    int expected;
  };
  const std::vector<Row> rows{
      {"9, 0, 0, 1, 1, -99\n", 0},                             // given inflow (hydrograph 1), id 1
      {"9, 0, 0, 0, 0, -99\n", 1},                             // given outflow (hydrograph 2)
      {"9, 1, 0, 1, 2\nF1\n1, 0, 0.5, 1, -99\n", 1},          // inflow, b and d non-zero, id 2
      {"9, 1, 0, 1, 3\nF2\n1, 0, 0, 1, -99\n", 0},            // inflow, b = 0, id 3
      {"9, 1, 0, 1, 0\nF3\n1, 0, 0.5, 0, -99\n", 0},          // inflow, d = 0
      {"9, 1, 0, 1, 0\nF4\n1, 0, -0.5, 2, -99\n", 1},         // inflow, b negative
      {"9, 3, 0, 1, 4\nTable\n2, 0, 0, 10, 5, -99\n", 1},     // discharge table, id 4
      {"9, 1, 0, 0, 5\nWeir\n1, 0, 0, 1, -99\n", 1},          // constant outflow, id 5
      {"9, 1, 0, -1, 0\nFollowed\n1, 0, 0, 1, -99\n", 1},     // outflow that is followed
      {readBack(1), 0},                                         // inflow as the given inflow
      {readBack(2), 1},                                         // as the inflow of Q
      {readBack(3), 0},                                         // as the inflow with b = 0
      {readBack(4), 1},                                         // as the table
      {readBack(5), 1},                                         // as the outflow
      {"9, 1, 0, 1, 6\nF5\n1, 0, 0, 1, -99\n", 0},          // inflow, b = 0, id 6
      {"9, 2, 0, 0, 6, -99\n", 1},                             // outflow as that inflow
  };
  std::string codes = "1, 1.0, -99\n";
  for (const Row& r : rows) codes += r.record;
  AnalysedJob run(catchmentFile(codes, "1.0"), stormFile("DESIGN", gauges(2)));
  ASSERT_FALSE(run.failed) << run.output();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int step = static_cast<int>(i) + 2;
    EXPECT_EQ(ioeqfq(run.job(), step), rows[i].expected) << "step " << step << ": " << rows[i].record;
  }
}

TEST(AnalysisChannelIO, ReadBackOfAGivenHydrographTakesItsName) {
  // The kind-2 record lends hydrograph 1 from the kind-0 inflow; its description becomes
  // that hydrograph's name from the storm file. Steps: 1 sub-area, 2 inflow, 3 read-back.
  AnalysedJob run(catchmentFile("1, 1.0, -99\n9, 0, 0, 1, 3, -99\n" + readBack(3), "1.0"),
                  stormFile("DESIGN", "0, 2, -99\nCreek inflow\n1, 2, 1, -99\n"));
  ASSERT_FALSE(run.failed) << run.output();
  const int word = nearest(stepValue(run.job(), 3, 4));
  EXPECT_EQ(state::nameAt(run.job().work, word), test::padded("Creek inflow"));
  EXPECT_EQ(run.ioSlots(), (V{1, 1}));
}

}  // namespace
}  // namespace kova::engine
