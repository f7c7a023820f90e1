// The parameter file: every line of its layout, the side-file lines and their order rules,
// the log file beside it, and the failures that stop the program.
#include "driver/parameter_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/test_support.h"

namespace kova::driver {
namespace {

struct ParamRun {
  test::ScratchDir dir;
  std::unique_ptr<state::Job> job = std::make_unique<state::Job>();
  int status = -1;
  std::string log;

  explicit ParamRun(const std::string& content, const std::string& name = "job.par") {
    job->genpar.paramFile = dir.write(name, content);
    initdefpars(*job);
    initinputpar(*job);
    status = readpar(*job);
    io::closeAll(job->units);
    log = test::readFile(job->genwin.logFile);
  }
};

const std::string head =
    "# BEGIN\n"
    "Catchment C:\\k\\Main.cat\n"
    "Storm     D:\\s\\Jan 74.stm   \n"
    "Single    T\n"
    "Print     3\n"
    "Loss      2\n"
    "NumISA     2\n"
    "kc, m     1.5, 0.75\n"
    "NumBurst   1\n"
    "IL, CL    10 0.4\n"
    "IL, CL    12,0.5\n";

TEST(ParameterFile, ReadsEveryLineOfTheLayout) {
  ParamRun run("! front end\n! written today\n" + head + "# END   \n");
  ASSERT_EQ(run.status, 0) << run.log;
  const state::Genpar& g = run.job->genpar;
  EXPECT_EQ(g.catchmentFile, "C:\\k\\Main.cat");
  EXPECT_EQ(g.stormFile, "D:\\s\\Jan 74.stm");  // blanks inside kept, trailing ones not
  EXPECT_EQ(g.singleParamSet, 1);
  EXPECT_EQ(g.printOption, 3);
  EXPECT_EQ(g.lossModelOption, 2);
  EXPECT_EQ(g.nIsaParams, 2);
  EXPECT_FLOAT_EQ(g.kc[0], 1.5F);
  EXPECT_FLOAT_EQ(g.m[0], 0.75F);
  EXPECT_FLOAT_EQ(g.m[1], 0.8F);  // default: only one pair is read with "T"
  EXPECT_EQ(g.nBurstParams, 1);
  EXPECT_FLOAT_EQ(g.initialLoss[0][0], 10.0F);
  EXPECT_FLOAT_EQ(g.lossRate[0][0], 0.4F);
  EXPECT_FLOAT_EQ(g.initialLoss[0][1], 12.0F);
  EXPECT_FLOAT_EQ(g.lossRate[0][1], 0.5F);
  EXPECT_EQ(g.snowmeltFlag + g.overrideFlag + run.job->gateops.gateOpsFlag, 0);
  EXPECT_EQ(run.log, "\n");  // the log holds its opening blank line only
}

TEST(ParameterFile, PerAreaRoutingAndLossBlockOrder) {
  ParamRun run(
      "# BEGIN\nCatchment a.cat\nStorm     a.stm\nSingle    F\nPrint     1\nLoss      1\n"
      "NumISA    3\n"
      "kc m      1 0.8\nkc m      2 0.7\nkc m      3 0.6\n"
      "NumBurst  2 \n"
      "L         1 11\nL         2 12\nL         3 13\nL         4 14\nL         5 15\nL         6 16\n"
      "# END\n");
  ASSERT_EQ(run.status, 0) << run.log;
  const state::Genpar& g = run.job->genpar;
  EXPECT_EQ(g.singleParamSet, 0);
  EXPECT_EQ(g.nIsaParams, 3);  // "3 " in columns 11-12
  EXPECT_EQ(g.nBurstParams, 2);
  EXPECT_FLOAT_EQ(g.kc[2], 3.0F);
  EXPECT_FLOAT_EQ(g.m[2], 0.6F);
  // The burst loop is the outer one: (1,1) (1,2) (1,3) (2,1) (2,2) (2,3).
  EXPECT_FLOAT_EQ(g.initialLoss[0][2], 3.0F);
  EXPECT_FLOAT_EQ(g.initialLoss[1][0], 4.0F);
  EXPECT_FLOAT_EQ(g.lossRate[1][2], 16.0F);
}

TEST(ParameterFile, SideFileLinesAndTheirOrder) {
  struct Case {
    std::string lines;
    std::string gateOps, snowmelt, matching;
  };
  const std::vector<Case> cases = {
      {"Gateops  : C:\\g ops\\control.txt \n", "C:\\g ops\\control.txt", "", ""},
      {"Snowmelt : snow data.txt\n", "", "snow", ""},
      {"Snowmelt : 'snow data.txt'\n", "", "snow data.txt", ""},
      {"Matching : over.lst\n", "", "", "over.lst"},
      {"Matching : /data/jobs/over.lst\n", "", "", "/data/jobs/over.lst"},
      {"Snowmelt : snow/s.txt,x\n", "", "snow/s.txt", ""},
      {"Gateops  :g.txt\nSnowmelt : s.txt\nMatching : m.txt\n", "g.txt", "s.txt", "m.txt"},
      {"Gateops  :g.txt\nAny label m.txt\n", "g.txt", "", "m.txt"},
      {"Snowmelt : s.txt\nWhatever: m.txt\n", "", "s.txt", "m.txt"},
  };
  for (const Case& c : cases) {
    ParamRun run(head + c.lines + "# END\n");
    ASSERT_EQ(run.status, 0) << c.lines << run.log;
    const state::Job& j = *run.job;
    EXPECT_EQ(j.gateops.gateOpsFile, c.gateOps) << c.lines;
    EXPECT_EQ(j.gateops.gateOpsFlag, c.gateOps.empty() ? 0 : 1) << c.lines;
    EXPECT_EQ(j.genpar.snowmeltFile, c.snowmelt) << c.lines;
    EXPECT_EQ(j.genpar.snowmeltFlag, c.snowmelt.empty() ? 0 : 1) << c.lines;
    EXPECT_EQ(j.genpar.overrideFile, c.matching) << c.lines;
    EXPECT_EQ(j.genpar.overrideFlag, c.matching.empty() ? 0 : 1) << c.lines;
    if (!c.gateOps.empty()) {
      EXPECT_EQ(j.gateops.gateOpsTag, "GATE");
      EXPECT_EQ(j.gateops.gateOpsSite, "Kelvarro  ");
    }
  }
}

TEST(ParameterFile, FailuresWriteTheirMessagesToTheLog) {
  struct Case {
    std::string name;
    std::string content;
    std::string logAfterPath;  // what follows the opening blank line, with PATH for the path
  };
  const std::string failure = " Error opening/reading parameter file: PATH\n";
  const std::string loss = "NumBurst   0\n";
  const std::string upToLoss =
      "# BEGIN\nCatchment a.cat\nStorm     a.stm\nSingle    T\nPrint     1\nLoss      1\nNumISA     1\n"
      "kc m      1 0.8\n";
  const std::vector<Case> cases = {
      {"begin without blank after comments", "!a\n!b\n!c\n#BEGIN\n",
       " Error in parameter file PATH at or near line   2\n"},
      {"no begin line", "BEGIN\n", " Error in parameter file PATH at or near line   1\n"},
      {"second line missing", "# BEGIN\n", failure},
      {"empty file", "", failure},
      {"only comments", "!a\n", failure},
      {"print option not a digit", "# BEGIN\nCatchment a.cat\nStorm     a.stm\nSingle    T\nPrint     x\n",
       failure},
      {"kc line with one value", upToLoss.substr(0, upToLoss.size() - 16) + "kc m      1.5\n", failure},
      {"kc not a number", upToLoss.substr(0, upToLoss.size() - 16) + "kc m      1.5 abc\n", failure},
      {"loss line missing", upToLoss + "NumBurst   1\n# END\n", failure},
      {"no end line", upToLoss + loss, failure},
      {"unexpected line", upToLoss + loss + "Extra     line\n", " Extra     line\n" + failure},
      {"line after matching", upToLoss + loss + "Matching : m.txt\nSnowmelt : s.txt\n",
       " Snowmelt : s.txt\n" + failure},
      {"too many bursts", upToLoss + "NumBurst   5\n",
       " Number of bursts with loss parameters  5 exceeds the limit of 4\n" + failure},
  };
  for (const Case& c : cases) {
    ParamRun run(c.content);
    EXPECT_EQ(run.status, 1) << c.name;
    std::string expected = c.logAfterPath;
    for (std::size_t p; (p = expected.find("PATH")) != std::string::npos;)
      expected.replace(p, 4, run.job->genpar.paramFile);
    EXPECT_EQ(run.log, "\n" + expected) << c.name;
  }
}

TEST(ParameterFile, MissingFileStillGetsItsLog) {
  test::ScratchDir dir;
  auto job = std::make_unique<state::Job>();
  job->genpar.paramFile = dir.file("absent.par");
  EXPECT_EQ(readpar(*job), 1);
  io::closeAll(job->units);
  EXPECT_EQ(test::readFile(dir.file("absent.log")),
            "\n Error opening/reading parameter file: " + dir.file("absent.par") + "\n");
}

TEST(ParameterFile, LogAndParameterFolderNames) {
  struct Case {
    std::string param, log, folder;
  };
  const std::vector<Case> cases = {
      {"C:\\jobs\\run1.par", "C:\\jobs\\run1.log", "C:\\jobs"},
      {"C:\\a.b\\job", "C:\\a.log", "C:\\a.b"},
      {"/home/h/run1.par", "/home/h/run1.log", "/home/h"},
      {"run1.par", "run1.log", ""},
      {"jobs/run1", "jobs/run1.log", "jobs"},
      {"/run.par", "/run.log", "/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(logFileName(c.param), c.log) << c.param;
    EXPECT_EQ(parameterFolder(c.param), c.folder) << c.param;
  }
}

}  // namespace
}  // namespace kova::driver
