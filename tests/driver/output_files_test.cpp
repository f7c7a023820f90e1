// Output-file naming, opening the job's files, the banner and the closing routines.
#include "driver/output_files.h"

#include <gtest/gtest.h>

#include "driver/messages.h"
#include "support/test_support.h"

namespace kova::driver {
namespace {

TEST(OutputFileName, FromCatchmentStormAndParameterFolder) {
  struct Case {
    std::string catchment, storm, paramFolder, expected;
  };
  const std::vector<Case> cases = {
      {"C:\\k\\Main.cat", "D:\\s\\Jan74.stm", "C:\\p", "D:\\s\\Main_Jan74.out"},
      {"C:\\job\\Main.cat", "C:\\job\\Jan74.stm", "", "C:\\job\\Main_Jan74.out"},
      {"/k/Main.cat", "/s/Jan74.stm", "/p", "/s/Main_Jan74.out"},
      {"Main.v2.cat", "C:\\s\\S1.stm", "C:\\p", "C:\\s\\Main.out"},
      {"Main.v2.cat", "/s/S1.stm", "/p", "/s/Main.out"},
      {".\\data\\Main.cat", ".\\Main", "", ".\\Main_Main.out"},
      {"Main.cat", "S1.stm", "C:\\jobs", "C:\\jobs/Main_S1.out"},
      {"Main.cat", "S1.stm", "/home/h/jobs", "/home/h/jobs/Main_S1.out"},
      {"Main.cat", "S1.stm", "", "Main_S1.out"},
      {"Main.cat", "S1.stm", "/", "/Main_S1.out"},
      {"C:\\a.b\\Main", "C:\\s\\Storm.out.", "", "C:\\s\\_Storm.out"},
      {"A.cat", "C:\\s\\B.out.z.stm", "", "C:\\s\\A_B.out"},   // stem already ends in ".out"
      {"A.cat", "C:\\s\\B..x.stm", "", "C:\\s\\A_B.out"},      // stem ends in "."
      {"A.cat", "C:\\s\\B..stm", "", "C:\\s\\A_B.out"},
      {"C:\\x.y\\", "C:\\s\\B.stm", "", "C:\\s\\_B.out"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(outputFileName(c.catchment, c.storm, c.paramFolder), c.expected) << c.catchment << " " << c.storm;
}

TEST(OutputFileName, StemRule) {
  struct Case {
    std::string path, stem;
  };
  const std::vector<Case> cases = {
      {".\\data\\Main.cat", "Main"}, {".\\Main", "Main"},   {"Main", "Main"},     {".hidden", ".hidden"},
      {"C:\\a.b\\job", ""},         {"a/b.c/d.e", "d"},     {"x.", "x"},          {"Main_S1.out", "Main_S1"},
  };
  for (const Case& c : cases) EXPECT_EQ(pathStem(c.path), c.stem) << c.path;
}

TEST(Banner, LinesAndDateFormat) {
  test::ScratchDir dir;
  auto job = std::make_unique<state::Job>();
  job->genwin.versionTag = "v6.52 Kelv";
  job->genwin.versionDate = "4th April 2024      ";
  ASSERT_TRUE(io::openOutputUnit(job->units, 2, dir.file("b.out")));
  RunDate date{5, 3, 2025, 9, 7, "Mar"};
  writeBanner(*job, 2, date);
  io::closeAll(job->units);
  EXPECT_EQ(test::readFile(dir.file("b.out")),
            " KOVAWin Output File\n"
            " *******************\n"
            " \n"
            " Program version v6.52 Kelv (last updated 4th April 2024)\n"
            " \n"
            " Date run: 05 Mar 2025 09:07\n"
            "\n");
}

TEST(Banner, TodaysDate) {
  RunDate d = getdate();
  EXPECT_GE(d.year, 2024);
  EXPECT_GE(d.month, 1);
  EXPECT_LE(d.month, 12);
  EXPECT_EQ(d.monthName.size(), 3U);
}

TEST(OpenFiles, FirstMissingFileIsReportedAndNothingIsCreated) {
  struct Case {
    bool catchment, storm;
    std::string missing;
  };
  const std::vector<Case> cases = {{false, true, "c.cat"}, {true, false, "s.stm"}, {false, false, "c.cat"}};
  for (const Case& c : cases) {
    test::ScratchDir dir;
    auto job = std::make_unique<state::Job>();
    if (c.catchment) dir.write("c.cat", "x\n");
    if (c.storm) dir.write("s.stm", "x\n");
    job->genpar.catchmentFile = dir.file("c.cat");
    job->genpar.stormFile = dir.file("s.stm");
    job->genpar.outputFile = dir.file("c_s.out");
    ASSERT_TRUE(io::openOutputUnit(job->units, state::logUnit, dir.file("j.log")));
    openfiles(*job);
    EXPECT_EQ(job->genpar.errorFlag, 1);
    clsfilns(*job);
    EXPECT_FALSE(test::exists(dir.file("c_s.out")));
    EXPECT_EQ(test::readFile(dir.file("j.log")), " File not found: " + dir.file(c.missing) + "\n");
  }
}

TEST(Closing, ClsfilKeepsTheLogAndClsfilnsClosesAll) {
  test::ScratchDir dir;
  auto job = std::make_unique<state::Job>();
  dir.write("c.cat", "x\n");
  dir.write("s.stm", "x\n");
  job->genpar.catchmentFile = dir.file("c.cat");
  job->genpar.stormFile = dir.file("s.stm");
  job->genpar.outputFile = dir.file("o.out");
  ASSERT_TRUE(io::openOutputUnit(job->units, state::logUnit, dir.file("j.log")));
  openfiles(*job);
  ASSERT_EQ(job->genpar.errorFlag, 0);
  job->unitid.printUnit = job->unitid.outputUnit;
  clsfil(*job);
  EXPECT_EQ(job->genpar.errorFlag, 1);
  for (int unit : {1, 2, 3}) EXPECT_FALSE(io::isOpen(job->units, unit)) << unit;
  EXPECT_TRUE(io::isOpen(job->units, state::logUnit));
  printLine(*job, "after the close");  // a report to a closed unit writes nothing
  warnmess(*job, "a warning   ", 9);
  clsfilns(*job);
  EXPECT_FALSE(io::isOpen(job->units, state::logUnit));
  EXPECT_EQ(test::readFile(dir.file("o.out")), "");
  EXPECT_EQ(test::readFile(dir.file("j.log")), " a warning\n");
}

}  // namespace
}  // namespace kova::driver
