// The program entry and the job sequence, run through the real executable: exit status,
// what is written where, and what is left on disk.
#include "driver/job_driver.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kova::driver {
namespace {

namespace fs = std::filesystem;

const std::string smallCatchment =
    "Small test catchment\n"
    "1\n"
    "1, 2.0, -99\n"
    "7\n"
    "Outlet\n"
    "0\n"
    "5.0, -99\n"
    "0\n";
const std::string smallStorm =
    "Small test storm\n"
    "DESIGN\n"
    "1.0, 4, 1, 1, 0, -99\n"
    "0, 2\n"
    "Pluvio one\n"
    "10.0, 5.0, -99\n";

std::string paramFile(const std::string& catchment, const std::string& storm, int printOption) {
  return "# BEGIN\nCatchment " + catchment + "\nStorm     " + storm + "\nSingle    T\nPrint     " +
         std::to_string(printOption) + "\nLoss      1\nNumISA     1\nkc, m     1.0 0.8\nNumBurst   1\n"
         "IL, CL    10 2.5\n# END\n";
}

std::vector<std::string> filesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SiteCount, CountsByCodeClass) {
  struct Case {
    std::vector<float> codes;
    int expected;
  };
  const std::vector<Case> cases = {
      {{7.0F, 7.1F, 11.0F, 19.0F}, 57},
      {{12.0F}, 4},
      {{8.0F}, 0},
      {{18.9F}, 2},
      {{7.2F, 7.5F}, 2},
      {{1.0F, 2.0F, 3.0F, 4.0F, 5.0F, 6.0F, 6.1F, 9.0F, 10.0F, 12.5F, 0.0F}, 0},
      {{13.0F, 17.1F, 25.0F, 11.5F}, 2 + 2 + 50 + 4},
  };
  for (const Case& c : cases) EXPECT_EQ(countSites(c.codes), c.expected);
}

TEST(Program, NoArgumentStopsWithoutFiles) {
  test::ScratchDir dir;
  test::RunResult r = test::runKova({}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.stdErr, " Error opening/reading parameter file:\n");
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(Program, MissingParameterFile) {
  test::ScratchDir dir;
  test::RunResult r = test::runKova({"nothing.par"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"nothing.log"});
  EXPECT_EQ(test::readFile(dir.file("nothing.log")), "\n Error opening/reading parameter file: nothing.par\n");
}

TEST(Program, MalformedParameterFilesCreateNoOutput) {
  const std::vector<std::string> bad = {
      "!x\n#BEGIN\n",
      "# BEGIN\n",
      "# BEGIN\nCatchment c.cat\nStorm     s.stm\nSingle    T\nPrint     1\nLoss      1\nNumISA     1\n"
      "kc, m     1.0 0.8\nNumBurst   0\nBogus\n",
  };
  for (const std::string& content : bad) {
    test::ScratchDir dir;
    dir.write("c.cat", smallCatchment);
    dir.write("s.stm", smallStorm);
    dir.write("job.par", content);
    test::RunResult r = test::runKova({"job.par"}, dir.path());
    EXPECT_EQ(r.status, 1) << content;
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"c.cat", "job.log", "job.par", "s.stm"})) << content;
    EXPECT_NE(test::readFile(dir.file("job.log")).find("parameter file"), std::string::npos) << content;
  }
}

TEST(Program, MissingStormFileIsReportedInTheLog) {
  test::ScratchDir dir;
  dir.write("c.cat", smallCatchment);
  dir.write("job.par", paramFile("c.cat", "s.stm", 1));
  test::RunResult r = test::runKova({"job.par"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::readFile(dir.file("job.log")), "\n File not found: s.stm\n");
  EXPECT_FALSE(test::exists(dir.file("c_s.out")));
}

TEST(Program, WritesTheBannerAndFileLinesToTheNamedOutputFile) {
  struct Case {
    int printOption;
    std::string text;
  };
  for (const Case& c : std::vector<Case>{{1, "Flows only            "}, {2, "Flows & rainfall only "}}) {
    test::ScratchDir dir;
    dir.write("data/Main.cat", smallCatchment);
    dir.write("data/Jan74.stm", smallStorm);
    dir.write("jobs/run.par", paramFile("data/Main.cat", "data/Jan74.stm", c.printOption));
    test::RunResult r = test::runKova({"jobs/run.par"}, dir.path());
    EXPECT_EQ(r.status, 0) << test::readFile(dir.file("jobs/run.log"));
    std::vector<std::string> out = test::readLines(dir.file("data/Main_Jan74.out"));
    ASSERT_GE(out.size(), 10U);
    EXPECT_EQ(out[0], " KOVAWin Output File");
    EXPECT_EQ(out[1], " *******************");
    EXPECT_EQ(out[2], " ");
    EXPECT_EQ(out[3], " Program version v6.52 Kelv (last updated 4th April 2024)");
    EXPECT_EQ(out[4], " ");
    EXPECT_EQ(out[5].substr(0, 11), " Date run: ");
    EXPECT_EQ(out[6], "");
    EXPECT_EQ(out[7], " Vector file       : data/Main.cat");
    EXPECT_EQ(out[8], " Storm file        : data/Jan74.stm");
    EXPECT_EQ(out[9], " Output information: " + c.text);
    EXPECT_EQ(test::readFile(dir.file("jobs/run.log")), "\n");
  }
}

TEST(Program, OutputBesideTheParameterFileWhenTheStormHasNoFolder) {
  test::ScratchDir dir;
  dir.write("Main.cat", smallCatchment);
  dir.write("S1.stm", smallStorm);
  dir.write("run.par", paramFile("Main.cat", "S1.stm", 1));
  test::RunResult r = test::runKova({dir.file("run.par")}, dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(test::exists(dir.file("Main_S1.out")));
}

}  // namespace
}  // namespace kova::driver
