// Tests of the hydrograph-override files and of the replacement at print points: what the
// list and recorded files give, how faulty files are reported, and which print points of a
// run take a recorded series.
#include "override/hydrograph_override.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/units.h"
#include "support/job_fixture.h"

namespace kova::override_ {
namespace {

const std::string listError = " Error reading hydrograph override files\n";

std::string recordedWarning(const std::string& path) {
  return " Error reading recorded override hydrograph flow file: " + path + "\n";
}

class HydrographOverrideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.open("", "", 1);
    job().genpar.overrideFlag = 1;
    job().genpar.overrideFile = f.dir.file("override.lst");
  }
  state::Job& job() { return *f.job; }
  state::HydrographoverrideParameters& ov() { return f.job->hydrographOverride; }

  // Starts the log anew, so that each case sees only its own messages.
  void freshLog() { io::openOutputUnit(job().units, state::logUnit, f.dir.file("job.log")); }
  // A recorded file whose series is order·10 + k for k = 1..m, so a replaced ordinate
  // tells which file it came from.
  std::string recorded(const std::string& name, int order, int m) {
    std::string text = "Recorded " + name + "\n" + std::to_string(order) + "\n";
    for (int k = 1; k <= m; ++k) text += std::to_string(order * 10 + k) + "\n";
    return f.dir.write(name, text);
  }
  std::string listText(const std::vector<std::string>& paths, int m) {
    std::string text = std::to_string(paths.size()) + "\n0.0\n" + std::to_string(m) + "\n";
    for (const std::string& p : paths) text += p + "\n";
    return text;
  }
  void readList(const std::string& text) {
    f.dir.write("override.lst", text);
    readhydrographoverridedata(job());
  }
  // Runs `points` print points with `nt` ordinates; the calculated flow at point p is
  // 1000·p + t. Returns the running hydrographs after each point.
  std::vector<std::vector<float>> runPrintPoints(int points, int nt) {
    std::vector<std::vector<float>> result;
    for (int p = 1; p <= points; ++p) {
      std::vector<float> q;
      for (int t = 1; t <= nt; ++t) q.push_back(static_cast<float>(1000 * p + t));
      overridePrintPoint(job(), q);
      result.push_back(q);
    }
    return result;
  }

  test::JobFixture f;
};

TEST_F(HydrographOverrideTest, ReadsTheListAndEveryRecordedFile) {
  f.dir.write("rec one.txt", "Gauge at Weir\n2  order of the weir\n1.5  first\n2.5,\n 3.5E1 x\n");
  const std::string second = f.dir.write("sub/rec2.txt", "Dam outflow\n4\n0\n7.25\n9\nnot read\n");
  readList("2  hydrographs\n0.75\n3\n'" + f.dir.file("rec one.txt") + "'\n\n   " + second +
           "  second file\nanything after the last name is not read\n");

  EXPECT_EQ(job().genpar.errorFlag, 0);
  EXPECT_EQ(f.log(), "");
  EXPECT_EQ(ov().nOverrideHydrographs, 2);
  EXPECT_FLOAT_EQ(ov().overrideValue, 0.75F);
  EXPECT_EQ(ov().nOverrideValues, 3);
  EXPECT_EQ(ov().HydrographFilePaths, (std::vector<std::string>{f.dir.file("rec one.txt"), second}));
  EXPECT_EQ(ov().HydrographNames, (std::vector<std::string>{"Gauge at Weir", "Dam outflow"}));
  EXPECT_EQ(ov().HydrographCalcOrder, (std::vector<int>{2, 4, 0}));
  EXPECT_EQ(ov().HydrographSeries, (std::vector<std::vector<float>>{{1.5F, 2.5F, 35.0F}, {0.0F, 7.25F, 9.0F}}));
  EXPECT_EQ(ov().overrideNext, 1);
  EXPECT_EQ(ov().printPointCount, 1);
}

TEST_F(HydrographOverrideTest, NamesWithBackslashFoldersOpen) {
  const std::string path = recorded("sub/rec.txt", 3, 2);
  std::string backslashed = path;
  for (char& c : backslashed)
    if (c == '/') c = '\\';
  readList(listText({backslashed}, 2));
  EXPECT_EQ(f.log(), "");
  EXPECT_EQ(ov().HydrographCalcOrder, (std::vector<int>{3, 0}));
  EXPECT_EQ(ov().HydrographSeries[0], (std::vector<float>{31.0F, 32.0F}));
}

TEST_F(HydrographOverrideTest, AnUnquotedNameIsCutAtTheFirstBlank) {
  recorded("rec two.txt", 1, 1);
  readList(listText({f.dir.file("rec two.txt")}, 1));
  EXPECT_EQ(job().genpar.errorFlag, 0);
  EXPECT_EQ(ov().HydrographFilePaths[0], f.dir.file("rec"));
  EXPECT_EQ(f.log(), recordedWarning(f.dir.file("rec")));
  EXPECT_EQ(ov().HydrographCalcOrder[0], 0);
}

TEST_F(HydrographOverrideTest, CalculationOrdersPickThePrintPoints) {
  struct Case {
    std::vector<int> orders;
    std::vector<int> replaced;  // print points that take a recorded series
  };
  const std::vector<Case> cases = {
      {{2, 5}, {2, 5}},
      // The list is consumed in order: the fifth point takes the first entry, and by then
      // the second point, which the next entry names, has passed; it is never applied.
      {{5, 2}, {5}},
      // Only one point carries a given number, so a repeated number is passed at once.
      {{3, 3}, {3}},
      {{1, 2, 3}, {1, 2, 3}},
      // Order 0 never matches and holds back every entry after it.
      {{0, 2}, {}},
      {{7}, {}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < c.orders.size(); ++i)
      paths.push_back(recorded("rec" + std::to_string(i) + ".txt", c.orders[i], 3));
    readList(listText(paths, 3));
    ASSERT_EQ(job().genpar.errorFlag, 0);
    const auto run = runPrintPoints(6, 3);
    for (int p = 1; p <= 6; ++p) {
      const bool replaced = std::find(c.replaced.begin(), c.replaced.end(), p) != c.replaced.end();
      for (int t = 1; t <= 3; ++t) {
        const float expected = static_cast<float>(replaced ? p * 10 + t : 1000 * p + t);
        EXPECT_FLOAT_EQ(run[p - 1][t - 1], expected) << "orders " << testing::PrintToString(c.orders)
                                                     << ", point " << p << ", ordinate " << t;
      }
    }
    EXPECT_EQ(ov().printPointCount, 7);
    EXPECT_EQ(f.log(), "");
  }
}

TEST_F(HydrographOverrideTest, AShortSeriesReplacesOnlyItsOrdinates) {
  readList(listText({recorded("rec.txt", 1, 2)}, 2));
  job().nTimes = 5;
  const auto run = runPrintPoints(1, 5);
  EXPECT_EQ(run[0], (std::vector<float>{11.0F, 12.0F, 1003.0F, 1004.0F, 1005.0F}));
  EXPECT_EQ(f.log(), "");
}

TEST_F(HydrographOverrideTest, ASeriesLongerThanTheRunIsCutToTheRunWithOneWarning) {
  readList(listText({recorded("a.txt", 1, 5), recorded("b.txt", 2, 5)}, 5));
  job().nTimes = 3;
  // A running column longer than the storm keeps its ordinates past the storm's three.
  const auto run = runPrintPoints(2, 4);
  EXPECT_EQ(run[0], (std::vector<float>{11.0F, 12.0F, 13.0F, 1004.0F}));
  EXPECT_EQ(run[1], (std::vector<float>{21.0F, 22.0F, 23.0F, 2004.0F}));
  EXPECT_EQ(f.log(), " Override hydrographs hold 5 values but the run has 3 ordinates; only the first 3 are replaced\n");
}

TEST_F(HydrographOverrideTest, AFailingRecordedFileIsReportedAndReadingGoesOn) {
  struct Case {
    const char* label;
    const char* content;  // null: the file is missing
  };
  const std::vector<Case> cases = {
      {"missing", nullptr},
      {"empty", ""},
      {"name line only", "Name only\n"},
      {"order not an integer", "Name\n2.0\n1\n2\n"},
      {"order missing after a blank line", "Name\n\n"},
      {"fewer values than the list asks", "Name\n3\n1\n"},
      {"a value that is no number", "Name\n3\n1\nabc\n"},
  };
  for (const Case& c : cases) {
    const std::string bad = f.dir.file("bad.txt");
    std::filesystem::remove(bad);
    if (c.content != nullptr) f.dir.write("bad.txt", c.content);
    const std::string good = recorded("good.txt", 5, 2);
    freshLog();
    readList(listText({bad, good}, 2));

    EXPECT_EQ(job().genpar.errorFlag, 0) << c.label;
    EXPECT_EQ(f.log(), recordedWarning(bad)) << c.label;
    EXPECT_EQ(ov().HydrographCalcOrder, (std::vector<int>{0, 5, 0})) << c.label;
    EXPECT_TRUE(ov().HydrographSeries[0].empty()) << c.label;
    EXPECT_EQ(ov().HydrographSeries[1], (std::vector<float>{51.0F, 52.0F})) << c.label;
    if (c.content == nullptr) {
      EXPECT_FALSE(test::exists(bad)) << "a missing file is never created";
    }
  }
}

TEST_F(HydrographOverrideTest, AFailedFileIsNeverAppliedAndHoldsBackTheLaterEntries) {
  const std::string first = recorded("first.txt", 2, 2);
  const std::string failed = f.dir.write("failed.txt", "Short\n4\n41\n");
  const std::string last = recorded("last.txt", 6, 2);
  readList(listText({first, failed, last}, 2));
  EXPECT_EQ(job().genpar.errorFlag, 0);
  const auto run = runPrintPoints(6, 2);
  for (int p = 1; p <= 6; ++p) {
    const float expected = p == 2 ? 21.0F : static_cast<float>(1000 * p + 1);
    EXPECT_FLOAT_EQ(run[p - 1][0], expected) << "point " << p;
  }
  EXPECT_EQ(f.log(), recordedWarning(failed));
}

TEST_F(HydrographOverrideTest, AFaultyListFileEndsTheJob) {
  const std::string good = recorded("good.txt", 1, 1);
  struct Case {
    const char* label;
    std::optional<std::string> content;  // none: the list file is missing
  };
  const std::vector<Case> cases = {
      {"missing", std::nullopt},
      {"empty", ""},
      {"ends before line 3", "1\n0.0\n"},
      {"count not an integer", "two\n0.0\n1\n"},
      {"value not a number", "1\nx\n1\n"},
      {"negative count of hydrographs", "-1\n0.0\n1\n"},
      {"negative count of values", "1\n0.0\n-2\n"},
      {"ends before line 3 + n", "2\n0.0\n1\n" + good + "\n\n"},
  };
  for (const Case& c : cases) {
    const std::string list = job().genpar.overrideFile;
    std::filesystem::remove(list);
    if (c.content) f.dir.write("override.lst", *c.content);
    freshLog();
    job().genpar.errorFlag = 0;
    readhydrographoverridedata(job());

    EXPECT_EQ(job().genpar.errorFlag, 1) << c.label;
    EXPECT_EQ(f.log(), listError) << c.label;
    if (!c.content) {
      EXPECT_FALSE(test::exists(list)) << "a missing list file is never created";
    }
  }
  // The names before the list ran out were read, with their recorded files.
  EXPECT_EQ(ov().HydrographNames[0], "Recorded good.txt");
  EXPECT_EQ(ov().HydrographCalcOrder[0], 1);
}

TEST_F(HydrographOverrideTest, AnEmptyListReplacesNothing) {
  readList("0\n0.0\n3\n");
  EXPECT_EQ(job().genpar.errorFlag, 0);
  EXPECT_EQ(ov().HydrographCalcOrder, (std::vector<int>{0}));
  const auto run = runPrintPoints(2, 2);
  EXPECT_EQ(run[0], (std::vector<float>{1001.0F, 1002.0F}));
  EXPECT_EQ(run[1], (std::vector<float>{2001.0F, 2002.0F}));
}

TEST_F(HydrographOverrideTest, WithoutTheMatchingLineNothingIsReplacedOrCounted) {
  readList(listText({recorded("rec.txt", 1, 2)}, 2));
  job().genpar.overrideFlag = 0;
  const auto run = runPrintPoints(1, 2);
  EXPECT_EQ(run[0], (std::vector<float>{1001.0F, 1002.0F}));
  EXPECT_EQ(ov().printPointCount, 1);
  EXPECT_EQ(ov().overrideNext, 1);
}

TEST_F(HydrographOverrideTest, ReadingTheListStartsTheCountersAfresh) {
  readList(listText({recorded("rec.txt", 1, 2)}, 2));
  runPrintPoints(3, 2);
  ASSERT_EQ(ov().overrideNext, 2);
  readhydrographoverridedata(job());
  EXPECT_EQ(ov().overrideNext, 1);
  EXPECT_EQ(ov().printPointCount, 1);
  EXPECT_EQ(runPrintPoints(1, 2)[0], (std::vector<float>{11.0F, 12.0F}));
}

}  // namespace
}  // namespace kova::override_
