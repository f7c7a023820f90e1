// The control-vector reader against the stage-1 capacities of the work arrays: each
// table filled exactly to its capacity passes, one entry more stops the job with the
// storage message of its kind, and no reader writes past a table.
#include <gtest/gtest.h>

#include <string>

#include "engine/input/catchment_read_support.h"

namespace kova::test {
namespace {

const std::string integerMessage = " Limit on total integer array storage(200000) too low for data read-in";
const std::string realMessage = " Limit on total real array storage(5000000) too low for data read-in";
const std::string characterMessage = " Limit on total character array storage (20000) too low for data read in";

std::string repeat(const std::string& lines, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += lines;
  return text;
}

constexpr int branchLevels = 4761;  // 200,000 / 42
constexpr int isaCapacity = 4761;
constexpr int reachCapacity = 47610;  // 10 x 4761 reach types
constexpr int ioCapacity = 47610;     // 10 x 4761
constexpr int stepCapacity = 95220;   // 20 x 4761 step-data entries

TEST(Read1Capacity, BranchLevelsUpToTheCapacityPassAndOneMoreCode3Stops) {
  // 4760 code 3s take the branch level from 1 to 4761, the last level there is.
  Read1Run full(
      catchmentFile(repeat("3\n", branchLevels - 1) + "1, 1.0, -99\n" + repeat("4\n", branchLevels - 1) + "0\n"));
  ASSERT_FALSE(full.failed) << full.output().substr(0, 200);
  EXPECT_EQ(full.kov().maxStoreLevel, branchLevels - 1);
  EXPECT_EQ(full.kov().nIsas, 1);  // the sub-area at the deepest level reaches the outlet
  EXPECT_EQ(full.job().nSteps, 2 * (branchLevels - 1) + 2);

  Read1Run over(catchmentFile(repeat("3\n", branchLevels) + "1, 1.0, -99\n" + repeat("4\n", branchLevels) + "0\n"));
  expectDataError(over, integerMessage);
}

TEST(Read1Capacity, InterstationAreasUpToTheCapacityPass) {
  Read1Run full(catchmentFile(repeat("1, 1.0, -99\n7.1\n", isaCapacity) + "0\n"));
  ASSERT_FALSE(full.failed);
  EXPECT_EQ(full.kov().nIsas, isaCapacity);
  EXPECT_EQ(full.tables().isaEnd(isaCapacity), isaCapacity);
  // The outlet would close one area more.
  Read1Run over(catchmentFile(repeat("1, 1.0, -99\n7.1\n", isaCapacity) + "1, 1.0, -99\n0\n"));
  expectDataError(over, integerMessage);
}

TEST(Read1Capacity, ReachesUpToTheIntegerCapacityPass) {
  Read1Run full(catchmentFile(repeat("5, 1.0, -99\n", reachCapacity) + "0\n"));
  ASSERT_FALSE(full.failed);
  EXPECT_EQ(full.kov().nReaches, reachCapacity);
  EXPECT_FLOAT_EQ(full.tables().relDelay(reachCapacity), 1.0F);
  Read1Run over(catchmentFile(repeat("5, 1.0, -99\n", reachCapacity + 1) + "0\n"));
  expectDataError(over, integerMessage);
}

TEST(Read1Capacity, ChannelIOUpToTheCapacityPass) {
  Read1Run full(catchmentFile(repeat("9, 0, 0, 1, 0, -99\n", ioCapacity) + "0\n"));
  ASSERT_FALSE(full.failed);
  EXPECT_EQ(full.kov().nIOs, ioCapacity);
  Read1Run over(catchmentFile(repeat("9, 0, 0, 1, 0, -99\n", ioCapacity + 1) + "0\n"));
  expectDataError(over, integerMessage);
}

TEST(Read1Capacity, StepsUpToTheIntegerCapacityPass) {
  // The end code is a step too: it is step 95220 here, and 95221 one pair later.
  Read1Run full(catchmentFile(repeat("3\n4\n", stepCapacity / 2 - 1) + "7.1\n0\n"));
  ASSERT_FALSE(full.failed);
  EXPECT_EQ(full.job().nSteps, stepCapacity);
  Read1Run over(catchmentFile(repeat("3\n4\n", stepCapacity / 2) + "0\n"));
  expectDataError(over, integerMessage);
}

TEST(Read1Capacity, NameWordsMustLeaveRoomForOneMoreName) {
  // 2856 names end at word 19992: the next name would still fit in words 19993-19999.
  Read1Run room(catchmentFile(repeat("7\nPrint point\n", 2856) + "0\n"));
  ASSERT_FALSE(room.failed);
  EXPECT_EQ(room.job().nextNameWord, 19993);
  // With one name more, the next step finds fewer than 7 words left and stops.
  Read1Run full(catchmentFile(repeat("7\nPrint point\n", 2857) + "0\n"));
  expectDataError(full, characterMessage);
}

TEST(Read1Capacity, TablesTooLongForCvDataStopBeforeTheyAreRead) {
  // Two million values from step data index 6 do not fit in 1,875,000.
  Read1Run io(catchmentFile("9, 3, 0, 1, 0\nBig table\n1000000, 0, 0\n"));
  expectDataError(io, realMessage);
  Read1Run dischargeTable(catchmentFile("6\nBig basin\n1, 0, 1000000, 0, 0\n"));
  expectDataError(dischargeTable, realMessage);
  Read1Run elevationTable(catchmentFile("6\nBig basin\n0, 0, 0.5, 0.8, -99\n1, 1000000, 0, 0\n"));
  expectDataError(elevationTable, realMessage);
  Read1Run pipes(catchmentFile("6\nBig basin\n2, 0, 1, 100, 10, 1.6, 0.5, 0.2, 400000, 99\n"));
  expectDataError(pipes, realMessage);
}

}  // namespace
}  // namespace kova::test
