// The control-vector reader on small hand-made catchments: the counts, the tables and
// the names it leaves for the later stages, branch by branch and reach type by type.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "engine/input/catchment_read_support.h"

namespace kova::test {
namespace {

TEST(Read1Vector, ReadsSubAreasABranchAStationAPrintPointAndStopsAtTheEnd) {
  const std::string text =
      "Coal Creek catchment, January run\n"
      "C flag: natural reaches\n"
      "1\n"
      "1, 2.0, -99\n"
      "C second sub-area\n"
      "1, 1.5, -99\n"
      "3\n"
      "1, 1.0, -99\n"
      "4\n"
      "2, 3.0,\n"
      "   -99\n"
      "7.1\n"
      "1, 0.5, -99\n"
      "7\n"
      "Coal Creek at Bridge St\n"
      "0\n"
      "5 sub-area block\n";
  Read1Run run(text);
  ASSERT_FALSE(run.failed) << run.output();
  state::Kov& k = run.kov();
  EXPECT_EQ(run.job().carr.catchName, "Coal Creek catchment, January run");
  EXPECT_EQ(run.job().nSteps, 10);
  EXPECT_EQ(k.nSubAreas, 5);
  EXPECT_EQ(k.nReaches, 5);
  EXPECT_EQ(k.nHyds, 1);
  EXPECT_EQ(k.hasPrintPoints, 1);
  EXPECT_EQ(k.maxStoreLevel, 1);
  // The station closes the first interstation area; the sub-area below it the second,
  // ended by the outlet with the next hydrograph number.
  EXPECT_EQ(k.nIsas, 2);
  EXPECT_EQ(run.tables().isaEnd(1), 1);
  EXPECT_EQ(run.tables().isaEnd(2), 2);
  const float codes[] = {1, 1, 3, 1, 4, 2, 7.1F, 1, 7, 0};
  for (std::size_t i = 0; i < std::size(codes); ++i) EXPECT_FLOAT_EQ(run.tables().code(i + 1), codes[i]) << i;
  const float lengths[] = {2.0F, 1.5F, 1.0F, 3.0F, 0.5F};
  for (std::size_t r = 0; r < std::size(lengths); ++r) {
    EXPECT_FLOAT_EQ(run.tables().reachLength(r + 1), lengths[r]);
    EXPECT_FLOAT_EQ(run.tables().relDelay(r + 1), lengths[r]);
    EXPECT_EQ(run.tables().reachType(r + 1), 1);
  }
  // Only the print point has data: the name index of its location.
  for (int step = 1; step <= 9; ++step) EXPECT_EQ(run.stepData(step), 1) << step;
  EXPECT_EQ(run.stepData(10), 2);
  EXPECT_FLOAT_EQ(run.data(9, 0), 1.0F);
  EXPECT_EQ(run.nameAt(1), "Coal Creek at Bridge St     ");
  EXPECT_EQ(run.job().nextNameWord, 8);
  EXPECT_EQ(run.nextLine(), "5 sub-area block");
  EXPECT_EQ(run.output(), "");
}

TEST(Read1Vector, CarriesBranchFlagsThroughThreeLevelsOfBranches) {
  // Level 1 has no sub-area of its own: the area of the innermost branch is handed down
  // level by level by the code 4s, so the station still closes an interstation area.
  Read1Run run(catchmentFile(
      "3\n3\n3\n1, 1.0, -99\n4\n5, 1.0, -99\n4\n5, 1.0, -99\n4\n7.1\n"
      "3\n5, 2.0, -99\n4\n7.1\n0\n"));
  ASSERT_FALSE(run.failed) << run.output();
  state::Kov& k = run.kov();
  EXPECT_EQ(k.maxStoreLevel, 3);
  EXPECT_EQ(k.nSubAreas, 1);
  EXPECT_EQ(k.nReaches, 4);
  EXPECT_EQ(k.nHyds, 2);
  EXPECT_EQ(k.nIsas, 1);
  EXPECT_EQ(run.tables().isaEnd(1), 1);
  for (std::size_t level = 1; level <= 4; ++level) EXPECT_EQ(run.tables().branchFlag(level), 0) << level;
}

TEST(Read1Vector, PrintingCodesAskForHydrographStores) {
  struct Row {
    const char* what;
    const char* lines;
    int maxStoreLevel;
  };
  const Row rows[] = {
      {"code 12 at level 3 needs level + 1", "3\n3\n12, 1.0, -99\n4\n4\n0\n", 4},
      {"code 11 at level 1", "11, 1.0, -99\n0\n", 2},
      {"code 15 at level 2", "3\n15, 1.0, -99\n4\n0\n", 2},
      {"plain codes need only the branch stores", "3\n3\n1, 1.0, -99\n4\n4\n0\n", 2},
      {"code 16 at level 3", "3\n3\n16\nBasin\n0, 0, 0.5, 0.8, -99\n0, -99\n4\n4\n0\n", 3},
      {"code 6.1 at level 2", "3\n6.1\nBasin\n0, -99\n2, 100, 1.5, 10, -99\n4\n0\n", 2},
      {"code 18 at level 3", "3\n3\n18, 2, -99\n4\n4\n0\n", 3},
      {"code 19 concentrated at level 3", "3\n3\n19, 0, 0, 1, 0, -99\n4\n4\n0\n", 3},
      {"followed outflow at level 2", "3\n1, 1.0, -99\n9, 0, 0, -1, 0, -99\n4\n0\n", 2},
      {"code 19 distributed raises along its reaches",
       "3\n3\n19, 0, 2, 1, 0, -99\n5, 1.0, -99\n15, 1.0, -99\n4\n4\n0\n", 4},
  };
  for (const Row& row : rows) {
    Read1Run run(catchmentFile(row.lines));
    ASSERT_FALSE(run.failed) << row.what << "\n" << run.output();
    EXPECT_EQ(run.kov().maxStoreLevel, row.maxStoreLevel) << row.what;
  }
}

TEST(Read1Vector, ReadsEveryReachTypeWithItsSlopeClampAndRelativeDelay) {
  struct Row {
    int flag;
    const char* record;
    int type;
    float slope;
    float relDelay;
  };
  // Delays by hand: L for natural reaches; L / (3 S^0.25) unlined; L / (9 S^0.5) lined;
  // 0 drowned; slopes held to 0.05 - 5.0 percent.
  const Row rows[] = {
      {1, "1, 2.0, -99", 1, 0.0F, 2.0F},
      {4, "5, 2.5, -99", 4, 0.0F, 0.0F},
      {2, "1, 2.0, 1.0, -99", 2, 1.0F, 0.6666667F},
      {2, "1, 1.0, 16.0, -99", 2, 5.0F, 0.2229134F},
      {3, "2, 1.8, 4.0, -99", 3, 4.0F, 0.1F},
      {0, "1, 1, 2.0, -99", 1, 0.0F, 2.0F},
      {0, "1, 2, 1.0, 0.01, -99", 2, 0.05F, 0.7049142F},
      {0, "1, 3, 1.2, 20., -99", 3, 5.0F, 0.0596285F},
      {0, "5, 3, 0.9, 0.0025, -99", 3, 0.05F, 0.4472136F},
      {0, "5, 4, 2.5, -99", 4, 0.0F, 0.0F},
  };
  for (const Row& row : rows) {
    Read1Run run(catchmentFile(std::string(row.record) + "\n0\n", row.flag));
    ASSERT_FALSE(run.failed) << row.record << "\n" << run.output();
    EXPECT_EQ(run.kov().nReaches, 1);
    EXPECT_EQ(run.tables().reachType(1), row.type) << row.record;
    EXPECT_FLOAT_EQ(run.tables().reachSlope(1), row.slope) << row.record;
    EXPECT_NEAR(run.tables().relDelay(1), row.relDelay, 1.0E-6F) << row.record;
  }
}

TEST(Read1Vector, ReadsAnUngaugedInterstationLocation) {
  const std::string longName(70, 'x');
  Read1Run run(catchmentFile("1, 1.0, -99\n7.1\n1, 2.0, -99\n7.2\nGauge site at the old weir   \n1, 1.0, -99\n17.2\n" +
                             longName + "\n0\n"));
  ASSERT_FALSE(run.failed) << run.output();
  state::Genpar& g = run.job().genpar;
  EXPECT_EQ(run.kov().nHyds, 3);
  EXPECT_EQ(g.nUngauged, 2);
  ASSERT_EQ(g.isUngauged.size(), 4U);
  EXPECT_EQ(g.isUngauged[1], 0);
  EXPECT_EQ(g.isUngauged[2], 1);
  EXPECT_EQ(g.isUngauged[3], 1);
  ASSERT_EQ(g.ungaugedNames.size(), 2U);
  EXPECT_EQ(g.ungaugedNames[0], "Gauge site at the old weir");
  EXPECT_EQ(g.ungaugedNames[1], std::string(68, 'x'));
  // Each of the three closes an interstation area; the outlet adds none after 17.2.
  EXPECT_EQ(run.kov().nIsas, 3);
  EXPECT_EQ(run.tables().isaEnd(3), 3);
  EXPECT_EQ(run.stepData(7), 1);  // no cvData for stations
  EXPECT_EQ(run.job().nextNameWord, 1);
}

TEST(Read1Vector, BalancesBranchesAndToleratesCodeFractionsWithinTheMargin) {
  Read1Run run(catchmentFile("3\n1, 1.0, -99\n4\n7.10004\n0\n"));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.kov().nHyds, 1);
  Read1Run negative(catchmentFile("1, 1.0, -99\n-1\nnot read\n"));
  ASSERT_FALSE(negative.failed) << negative.output();
  EXPECT_EQ(negative.job().nSteps, 2);
  EXPECT_EQ(negative.nextLine(), "not read");
}

TEST(Read1Vector, EchoesHeadingsAndLocationsWithPrintOption3) {
  const std::string text =
      "Echo test\n"
      "1\n"
      "1, 1.0, -99\n"
      "7\n"
      "Print point one\n"
      "9, 1, 0, 1, 3\n"
      "Farm offtake\n"
      "C a, c, b, d\n"
      "1.0, 0.0, 0.5, 1.0, -99\n"
      "17.2\n"
      "Ungauged site                 \n"
      "16\n"
      "Retarding basin\n"
      "0, 0, 0.5, 0.8, -99\n"
      "0, -99\n"
      "0\n";
  Read1Run run(text, 3);
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.output(),
            "\n\n Data checks:\n ************\n Next data to be read & checked:\n\n"
            " Catchment name & reach type flag\n"
            " Control vector & storage data\n"
            " Code no.   2     7.0 Location read as Print point one             \n"
            " Code no.   3     9.0 Location read as Farm offtake                \n"
            " Code no.   4    17.2 Ungauged interstation area location read as Ungauged site\n"
            " Code no.   5    16.0\n");
}

TEST(Read1Vector, TakesNameLinesAsTheyStand) {
  // A location line starting with C is a name, not a comment; CR line ends are dropped.
  Read1Run run(catchmentFile("1, 1.0, -99\r\n7\r\nCoal Creek at Bridge St\r\n0\r\n"));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.nameAt(run.data(2, 0)), "Coal Creek at Bridge St     ");
  Read1Run longName(catchmentFile("7\nA location name longer than twenty-eight characters\n0\n"));
  ASSERT_FALSE(longName.failed);
  EXPECT_EQ(longName.nameAt(1), "A location name longer than ");
}

}  // namespace
}  // namespace kova::test
