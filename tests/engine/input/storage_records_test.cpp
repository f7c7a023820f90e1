// Special storages of every discharge and elevation relation as the storage reader
// leaves them in cvData, with the storage-name table and the design switch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/input/catchment_read_support.h"
#include "engine/input/storage_reader.h"

namespace kova::test {
namespace {

TEST(Read4Storages, StoresEachRelationTypeInItsLayout) {
  Read1Run run(catchmentFile(
      "1, 1.0, -99\n"
      "6\n"
      "Basin A\n"
      "0, -5000., 0.5, 0.8, -99\n"
      "0, -99\n"
      "6\n"
      "Coal Creek dam\n"
      "C storage-discharge table\n"
      "1, 0, 3, 0, 0, 1000, 5,\n"
      "   3000, 20, -99\n"
      "C elevation table\n"
      "C    (elevation, storage) pairs\n"
      "1, 3, 100, 0, 101, 1000, 103, 3000, -99\n"
      "16\n"
      "Pipe basin\n"
      "2, 101.5, 2, 102, 10, 102.5, 20, 1.6, 0.5, 0.2,\n"
      "2, 100, 2, 50, 1, 0.9, 100.2, 1, 40, 2, 0.6, -99\n"
      "2, 1000, 1.5, 99, -99\n"
      "6\n"
      "Spillway basin\n"
      "3, -200, 2, 100, 15, 100, 5, 1.7, -99\n"
      "1, 2, 99, 0, 101, 5000, -99\n"
      "0\n"
      "sub-area block\n"));
  ASSERT_FALSE(run.failed) << run.output();
  EXPECT_EQ(run.values(2, 8), (std::vector<float>{1, -5000, 0, 0, 0, 0.5F, 0.8F, 0}));
  // Tables regrouped: the storage column, then the discharge column; the same for the
  // elevations and their storages.
  EXPECT_EQ(run.values(3, 20),
            (std::vector<float>{8, 0, 0, 0, 1, 3, 0, 1000, 3000, 0, 5, 20, 1, 3, 100, 101, 103, 0, 1000, 3000}));
  // Spillway pairs and pipe groups stay as read.
  EXPECT_EQ(run.values(4, 28),
            (std::vector<float>{15, 101.5F, 0, 0, 2, 2, 102, 10, 102.5F, 20, 1.6F, 0.5F, 0.2F, 2, 100, 2, 50, 1, 0.9F,
                                100.2F, 1, 40, 2, 0.6F, 2, 1000, 1.5F, 99}));
  EXPECT_EQ(run.values(5, 17),
            (std::vector<float>{22, -200, 0, 0, 3, 2, 100, 15, 100, 5, 1.7F, 1, 2, 99, 101, 0, 5000}));
  EXPECT_EQ(run.stepData(6), run.stepData(5) + 17);
  EXPECT_EQ(run.nextLine(), "sub-area block");

  state::Genpar& g = run.job().genpar;
  EXPECT_EQ(g.nSpecialStorages, 4);
  ASSERT_EQ(g.storageNames.size(), 4U);
  EXPECT_EQ(g.storageNames[1], "Coal Creek dam" + std::string(24, ' '));
  EXPECT_EQ(g.storageNames[3], "Spillway basin" + std::string(24, ' '));
  EXPECT_EQ(run.nameAt(1), "Basin A" + std::string(21, ' '));
  EXPECT_EQ(run.nameAt(8), "Coal Creek dam" + std::string(14, ' '));
  EXPECT_EQ(run.job().nextNameWord, 29);
  EXPECT_EQ(run.kov().designStorage, 0);
  EXPECT_EQ(run.kov().maxStoreLevel, 1);  // the code 16
}

TEST(Read4Storages, StoresStoragesToBeDesigned) {
  Read1Run run(catchmentFile(
      "6.1\nDesign formula\n0, -99\n2, 1000, 1.5, 99, -99\n"
      "6.1\nDesign pipes\n2, 1.6, 0.5, 0.2, -99\n1, 2, 99, 0, 101, 5000, -99\n"
      "16.1\nDesign spillway\n3, 1.7, -99\n2, 1000, 1.5, 99, -99\n"
      "0\n"));
  ASSERT_FALSE(run.failed) << run.output();
  // The drawdown slot stays 0: a storage to be designed starts full.
  EXPECT_EQ(run.values(1, 9), (std::vector<float>{1, 0, 0, 0, 0, 2, 1000, 1.5F, 99}));
  EXPECT_EQ(run.values(2, 14), (std::vector<float>{8, 0, 0, 0, 2, 1.6F, 0.5F, 0.2F, 1, 2, 99, 101, 0, 5000}));
  EXPECT_EQ(run.values(3, 10), (std::vector<float>{15, 0, 0, 0, 3, 1.7F, 2, 1000, 1.5F, 99}));
  EXPECT_FLOAT_EQ(run.data(2, engine::storage_slots::dischargeType), 2.0F);
  EXPECT_EQ(run.kov().designStorage, 1);
  EXPECT_EQ(run.job().genpar.nSpecialStorages, 3);
}

TEST(Read4Storages, AcceptsTheBoundariesOfTheConsistencyChecks) {
  struct Row {
    const char* what;
    const char* storage;
  };
  const Row rows[] = {
      {"drawdown as a volume with no elevation relation", "6\nB\n0, -5000., 0.5, 0.8, -99\n0, -99\n"},
      {"equal storages in the discharge table", "6\nB\n1, 0, 2, 500, 0, 500, 1, -99\n0, -99\n"},
      {"spillway at the first spillway's level", "6\nB\n3, 0, 2, 100, 10, 100, 4, 1.6, -99\n2, 10, 1, 100, -99\n"},
      {"pipe groups at the first group's invert",
       "6\nB\n2, 0, 1, 100, 10, 1.6, 0.5, 0.2, 2, 99, 1, 50, 1, 0.9, 99, 1, 50, 1, 0.9, -99\n2, 10, 1, 95, -99\n"},
      {"spillways without pipe groups", "6\nB\n2, 0, 1, 100, 10, 1.6, 0.5, 0.2, 0, -99\n2, 10, 1, 95, -99\n"},
      {"spillway on the lowest elevation", "6\nB\n3, 0, 1, 100, 10, 1.6, -99\n1, 2, 100, 0, 101, 50, -99\n"},
      {"drawdown level on the lowest elevation", "6\nB\n0, 99, 0.5, 0.8, -99\n2, 10, 1, 99, -99\n"},
      {"equal storages in the elevation table", "6\nB\n0, 0, 0.5, 0.8, -99\n1, 2, 99, 10, 100, 10, -99\n"},
      {"code 6.1 spillway below the relation", "6.1\nB\n3, 1.6, -99\n2, 10, 1, 100, -99\n"},
  };
  for (const Row& row : rows) {
    Read1Run run(catchmentFile(std::string(row.storage) + "0\n"));
    EXPECT_FALSE(run.failed) << row.what << "\n" << run.output();
  }
}

}  // namespace
}  // namespace kova::test
