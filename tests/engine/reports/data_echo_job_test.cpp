// The data echo of a whole job that has every kind of data, against the echo worked out
// from the report layouts; and where the driver writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/reports/data_echo_test_support.h"

namespace kova::engine {
namespace {

using test::JobFixture;
using test::readFile;
using test::splitLines;

std::string fixture(const std::string& name) { return test::testDataDir() + "/jobs/echo/" + name; }

TEST(Wridat, EchoesAJobWithEveryKindOfData) {
  JobFixture f;
  const std::vector<std::string> echo = test::runEcho(f, readFile(fixture("Echo.cat")), readFile(fixture("Echo.stm")));
  const std::vector<std::string> want = splitLines(readFile(fixture("Echo_expected.txt")));
  ASSERT_FALSE(echo.empty()) << f.output();
  for (std::size_t i = 0; i < std::min(echo.size(), want.size()); ++i) ASSERT_EQ(echo[i], want[i]) << "line " << i + 1;
  EXPECT_EQ(echo.size(), want.size());
  // The run tables are laid over the scratch: it is left clear.
  const state::Job& job = *f.job;
  const auto& real = job.work.realWork;
  EXPECT_TRUE(std::all_of(real.begin() + static_cast<std::ptrdiff_t>(job.echoTables.realStart),
                          real.begin() + static_cast<std::ptrdiff_t>(job.echoTables.realEnd),
                          [](float v) { return v == 0.0F; }));
}

const char* smallCatchment =
    "Small creek\n"
    "1\n"
    "1, 2.0, -99\n"
    "1, 1.0, -99\n"
    "0\n"
    "2.0, 3.0, -99\n"
    "0\n";
const char* smallStorm =
    "Storm of June\n"
    "DESIGN\n"
    "1.0, 6, 1, 1, 0, -99\n"
    "0, 2\n"
    "Gauge\n"
    "5.0, 3.0, -99\n";

std::string paramFile(int printOption) {
  return "# BEGIN\nCatchment c.cat\nStorm     s.stm\nSingle    T\nPrint     " + std::to_string(printOption) +
         "\nLoss      1\nNumISA     1\nkc, m     1.0 0.8\nNumBurst   1\nIL, CL    0.0 1.0\n# END\n";
}

TEST(Wridat, TheDriverWritesTheEchoOnlyWithAllInputData) {
  for (int option : {1, 3}) {
    test::ScratchDir dir;
    dir.write("c.cat", smallCatchment);
    dir.write("s.stm", smallStorm);
    dir.write("job.par", paramFile(option));
    test::runKova({"job.par"}, dir.path());
    const std::vector<std::string> out = test::readLines(dir.file("c_s.out"));
    const auto data = std::find(out.begin(), out.end(), " Data:");
    if (option == 1) {
      EXPECT_EQ(data, out.end());
      continue;
    }
    // Between the data checks and the run: "Data check completed", an empty line, then
    // the three empty lines that open the echo.
    const auto checked = std::find(out.begin(), out.end(), " Data check completed");
    const auto run = std::find(out.begin(), out.end(), " Input of parameters:");
    ASSERT_NE(data, out.end());
    EXPECT_EQ(data - checked, 4);
    EXPECT_LT(data, run);
    EXPECT_NE(std::find(data, run, " Sub-area data"), run);
    EXPECT_NE(std::find(data, run, " Normal storage data"), run);
  }
}

}  // namespace
}  // namespace kova::engine
