// Channel inflows and outflows (code 9) of every type as the control-vector reader
// stores them: hydrograph numbers, functions, tables, references and reach counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/input/catchment_read_support.h"

namespace kova::test {
namespace {

TEST(Read1ChannelIO, StoresEveryTypeOfChannelIO) {
  Read1Run run(catchmentFile(
      "1, 2.0, -99\n"
      "9, 0, 0, 1, 4, -99\n"
      "9, 1, 0, 0, 5\n"
      "Farm offtake\n"
      "C function constants\n"
      "C a, c, b, d\n"
      "0.5, 1.0, 0.2, 1.5, -99\n"
      "1, 1.0, -99\n"
      "9, 3, 0, 0, 6\n"
      "Weir diversion\n"
      "3, 0, 0, 10, 2,\n"
      "   20, 5, -99\n"
      "7.1\n"
      "9, 2, 0, 1, 4, -99\n"
      "9, 2, 0, 1, 5, -99\n"
      "9, 0, -1, 1, 0, -99\n"
      "5, 1.0, -99\n"
      "1, 1.0, -99\n"
      "0\n"));
  ASSERT_FALSE(run.failed) << run.output();
  state::Kov& k = run.kov();
  EXPECT_EQ(k.nIOs, 6);
  EXPECT_EQ(k.nHyds, 3);  // the two given hydrographs and the station between them
  EXPECT_EQ(k.nIsas, 2);
  EXPECT_EQ(run.tables().isaEnd(1), 2);
  EXPECT_EQ(run.tables().isaEnd(2), 4);
  EXPECT_EQ(run.job().genpar.isUngauged.size(), 4U);

  const int expectedStepData[] = {1, 1, 6, 15, 15, 27, 27, 35, 43, 48, 48, 48};
  for (int step = 1; step <= 12; ++step) EXPECT_EQ(run.stepData(step), expectedStepData[step - 1]) << step;

  EXPECT_EQ(run.values(2, 5), (std::vector<float>{0, 0, 1, 4, 1}));
  EXPECT_EQ(run.values(3, 9), (std::vector<float>{1, 0, 0, 5, 1, 0.5F, 1.0F, 0.2F, 1.5F}));
  // The table as m, the discharges, then the I/O values.
  EXPECT_EQ(run.values(5, 12), (std::vector<float>{3, 0, 0, 6, 8, 3, 0, 10, 20, 0, 2, 5}));
  // A reference to a given hydrograph borrows its number with the flag set; a reference
  // to a function borrows its name. Both point back to the step they copy.
  EXPECT_EQ(run.values(7, 8), (std::vector<float>{2, 0, 1, 4, 15, 1, 1, 2}));
  EXPECT_EQ(run.values(8, 8), (std::vector<float>{2, 0, 1, 5, 22, 0, 0, 3}));
  // n = -1 becomes the number of reaches after the step.
  EXPECT_EQ(run.values(9, 5), (std::vector<float>{0, 2, 1, 0, 3}));

  EXPECT_EQ(run.nameAt(1), "Farm offtake                ");
  EXPECT_EQ(run.nameAt(8), "Weir diversion              ");
  EXPECT_EQ(run.nameAt(15), std::string(28, ' '));
  EXPECT_EQ(run.nameAt(22), "Farm offtake                ");
  EXPECT_EQ(run.job().nextNameWord, 29);

  // Both references lie three I/O records back.
  const int expectedPrevCount[] = {0, 0, 0, 3, 3, 0};
  for (std::size_t n = 1; n <= 6; ++n) EXPECT_EQ(run.tables().ioPrevCount(n), expectedPrevCount[n - 1]) << n;
}

TEST(Read1ChannelIO, CountsTheReachesAfterAnIOThatRunsToTheEnd) {
  struct Row {
    const char* lines;
    float count;
  };
  const Row rows[] = {
      {"1, 1.0, -99\n9, 0, -1, 1, 0, -99\n0\n", 0.0F},
      {"9, 0, -1, 1, 0, -99\n3\n1, 1.0, -99\n4\n5, 1.0, -99\n2, 2.0, -99\n7.1\n0\n", 3.0F},
  };
  for (const Row& row : rows) {
    Read1Run run(catchmentFile(row.lines));
    ASSERT_FALSE(run.failed) << row.lines << run.output();
    int ioStep = 1;
    while (run.tables().code(static_cast<std::size_t>(ioStep)) != 9.0F) ++ioStep;
    EXPECT_FLOAT_EQ(run.data(ioStep, 1), row.count) << row.lines;
  }
}

TEST(Read1ChannelIO, ConcentratedInflowMakesTheRunningHydrographNonZero) {
  // After the inflow at step 2, the outflow at step 3 has something to take.
  Read1Run run(catchmentFile("3\n9, 0, 0, 1, 1, -99\n9, 0, 0, 0, 2, -99\n4\n0\n"));
  ASSERT_FALSE(run.failed);
  EXPECT_EQ(run.output(), "");
}

}  // namespace
}  // namespace kova::test
