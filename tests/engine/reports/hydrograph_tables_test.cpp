// Tests of the final hydrograph table: the column list, the decimals of each column,
// blocks of 50 columns, and a store filled by the hydrograph report itself.
#include "engine/reports/hydrograph_tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/reports/hydrograph_report.h"
#include "engine/reports/report_test_support.h"

namespace kova::engine {
namespace {

using test::blanks;
using test::JobFixture;
using test::splitLines;

const std::vector<std::string> heading{"", "", " Hydrograph summary", " ******************", "", " Site  Description"};

state::Site record(int kind, const std::string& title, const std::vector<float>& hyd1,
                   const std::vector<float>& hyd2 = {}) {
  state::Site s;
  s.kind = kind;
  s.title = title;
  s.label12a = "Downstream  ";
  s.label12b = "Upstream    ";
  s.nOrd1 = static_cast<int>(hyd1.size());
  s.hyd1 = {true, hyd1};
  if (kind == 2) {
    s.nOrd2 = static_cast<int>(hyd2.size());
    s.hyd2 = {true, hyd2};
  }
  return s;
}

void store(state::Job& job, std::vector<state::Site> records, float dt) {
  job.genpar.nHydsPrinted = static_cast<int>(records.size());
  job.sites.site = std::move(records);
  job.genpar.tableTimeInc = dt;
}

std::string field(const char* format, double v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

TEST(Writetablehyds, ColumnsOfOneAndTwoHydrographRecords) {
  JobFixture f;
  test::openReportJob(f);
  store(*f.job,
        {record(1, "Calculated hydrograph, Outlet   ", {0.5F, 99.99F, 12.0F}),
         record(2, "Reach 3", {100.0F, 250.5F, 3.0F}, {1.5F, 1234.5F})},
        0.25F);
  writetablehyds(*f.job);

  // Peaks 99.99, 250.5 and 1234.5: 4, 3 and 2 decimals. The first record has 3 rows; the
  // third column holds only 2 ordinates and leaves its last field blank.
  std::vector<std::string> want = heading;
  for (const char* line : {
           "   01  Calculated hydrograph, Outlet",
           "   02  Reach 3 - Downstream",
           "   03  Reach 3 - Upstream",
           "",
           "    Inc    Time    Hyd001    Hyd002    Hyd003",
           "      1    0.00    0.5000   100.000      1.50 ",
           "      2    0.25   99.9900   250.500   1234.50 ",
           "      3    0.50   12.0000     3.000           ",
       })
    want.emplace_back(line);
  EXPECT_EQ(splitLines(f.output()), want);
}

TEST(Writetablehyds, FiftyColumnsToABlock) {
  JobFixture f;
  test::openReportJob(f);
  std::vector<state::Site> records;
  for (int r = 1; r <= 26; ++r) {
    const auto v = static_cast<float>(r);
    records.push_back(record(2, "Reach " + std::to_string(r), {v, v + 0.5F}, {100.0F + v, 0.0F}));
  }
  records.push_back(record(1, "Outlet", {99.99F, 100.0F}));
  store(*f.job, std::move(records), 1.0F);
  writetablehyds(*f.job);
  const auto lines = splitLines(f.output());
  ASSERT_EQ(lines.size(), heading.size() + 53 + 4 + 4);

  EXPECT_EQ(lines[6], "   01  Reach 1 - Downstream");
  EXPECT_EQ(lines[57], "   52  Reach 26 - Upstream");
  EXPECT_EQ(lines[58], "   53  Outlet");

  // Block 1: columns 1-50, the odd ones the reaches' outflows (4 decimals), the even ones
  // their inflows (3 decimals, the peaks being over 100).
  std::string head = "    Inc    Time";
  std::string row1 = "      1    0.00";
  std::string row2 = "      2    1.00";
  for (int c = 1; c <= 50; ++c) {
    const int r = (c + 1) / 2;
    head += field("    Hyd%03.0f", c);
    row1 += c % 2 == 1 ? field("%10.4f", r) : field("%10.3f", 100 + r);
    row2 += c % 2 == 1 ? field("%10.4f", r + 0.5) : field("%10.3f", 0.0);
  }
  const std::vector<std::string> block1{"", head, row1 + " ", row2 + " "};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 59, lines.begin() + 63), block1);

  const std::vector<std::string> block2{
      "",
      "    Inc    Time    Hyd051    Hyd052    Hyd053",
      "      1    0.00   26.0000   126.000    99.990 ",
      "      2    1.00   26.5000     0.000   100.000 ",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 63, lines.end()), block2);
}

TEST(Writetablehyds, EmptyStoreWritesTheHeadingOnly) {
  JobFixture f;
  test::openReportJob(f);
  store(*f.job, {}, 1.0F);
  writetablehyds(*f.job);
  EXPECT_EQ(splitLines(f.output()), heading);
}

TEST(Writetablehyds, StationRecordOfTheReportGivesCalculatedAndActualColumns) {
  JobFixture f;
  test::openReportJob(f, 0.5F);
  f.job->kov.nHydOrds = 2;
  f.job->genpar.tableTimeInc = 0.5F;
  const std::vector<float> calc{0.0F, 2.0F, 1.0F};
  const std::vector<float> rec{0.0F, 1.5F};
  PrintRequest print;
  print.title = "Calculated hydrograph,          Outlet";
  print.hyd1 = calc;
  output(*f.job, print);
  print.kind = printStation;
  print.title = "Gauging station at:             Station A";
  print.hyd2 = rec;
  output(*f.job, print);
  const std::string before = f.output();
  writetablehyds(*f.job);
  const auto lines = splitLines(f.output().substr(before.size()));

  std::vector<std::string> want = heading;
  for (const char* line : {
           "   01  Calculated hydrograph,          Outlet",
           "   02  Gauging station at:             Station A - Calculated",
           "   03  Gauging station at:             Station A - Actual",
           "",
           "    Inc    Time    Hyd001    Hyd002    Hyd003",
           "      1    0.00    0.0000    0.0000    0.0000 ",
           "      2    0.50    2.0000    2.0000    1.5000 ",
           "      3    1.00    1.0000    1.0000           ",
       })
    want.emplace_back(line);
  EXPECT_EQ(lines, want);
}

}  // namespace
}  // namespace kova::engine
