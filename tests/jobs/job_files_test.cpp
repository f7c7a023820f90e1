// Whole jobs run through the kova executable: every folder under tests/jobs/ that holds a
// job.par and an expected/ folder of output files worked out by hand (see its expected.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "driver/job_driver.h"
#include "state/job.h"
#include "support/test_support.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

const std::string datePrefix = " Date run: ";

fs::path jobsRoot() { return fs::path(testDataDir()) / "jobs"; }

// The job folders, sorted so that the test names come out in a stable order.
std::vector<std::string> jobFolders() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(jobsRoot(), ec)) {
    if (e.is_directory() && fs::exists(e.path() / "job.par") && fs::is_directory(e.path() / "expected")) {
      names.push_back(e.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<fs::path> expectedOutputs(const fs::path& job) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(job / "expected")) {
    if (e.is_regular_file() && e.path().extension() == ".out") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool isDateLine(const std::string& line) { return line.rfind(datePrefix, 0) == 0; }

// The first line where the output departs from the expected file, or an empty text. The
// banner's date line is the only one that may differ, but it must still be a date line.
std::string firstDifference(const std::vector<std::string>& want, const std::vector<std::string>& got) {
  static const std::regex date(" Date run: [0-9]{2} [A-Z][a-z]{2} [0-9]{4} [0-9]{2}:[0-9]{2}");
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const std::string w = i < want.size() ? want[i] : "<end of file>";
    const std::string g = i < got.size() ? got[i] : "<end of file>";
    if (isDateLine(w) && std::regex_match(g, date)) continue;
    if (w != g) {
      return "line " + std::to_string(i + 1) + "\n  expected: [" + w + "]\n  got:      [" + g + "]";
    }
  }
  return {};
}

// Copies the job's input files only: the expected outputs stay behind, so a job that
// writes nothing cannot pass on a copy of its own expectation.
void copyInputs(const fs::path& source, const ScratchDir& dir) {
  for (const auto& e : fs::directory_iterator(source)) {
    if (e.is_regular_file()) fs::copy_file(e.path(), dir.path() / e.path().filename());
  }
}

void expectOutputs(const fs::path& source, const ScratchDir& dir) {
  const std::vector<fs::path> outputs = expectedOutputs(source);
  ASSERT_FALSE(outputs.empty()) << "no expected .out in " << source;
  for (const fs::path& want : outputs) {
    const std::string got = dir.file(want.filename().string());
    ASSERT_TRUE(exists(got)) << want.filename() << " was not written";
    EXPECT_EQ(firstDifference(readLines(want.string()), readLines(got)), "") << want.filename();
  }
}

class JobFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(JobFiles, OutputMatchesTheHandCalculation) {
  const fs::path source = jobsRoot() / GetParam();
  ScratchDir dir;
  copyInputs(source, dir);
  const RunResult run = runKova({(dir.path() / "job.par").string()}, dir.path());
  const std::string log = readFile(dir.file("job.log"));
  EXPECT_EQ(run.status, 0) << run.stdErr << log;
  // A clean job leaves only the blank line the log starts with.
  EXPECT_EQ(log, "\n");
  expectOutputs(source, dir);
}

// A batch front end may keep one job state for many jobs: each job must come out as it
// does on a fresh state, whatever the jobs before it left in the work arrays.
TEST(JobFiles, OneJobStateRunsEveryJobInTurn) {
  const std::vector<std::string> names = jobFolders();
  std::vector<std::string> order = names;
  order.insert(order.end(), names.rbegin(), names.rend());
  const fs::path home = fs::current_path();
  auto job = std::make_unique<state::Job>();
  for (const std::string& name : order) {
    SCOPED_TRACE(name);
    ScratchDir dir;
    copyInputs(jobsRoot() / name, dir);
    // The jobs name their files relative to the folder they run in.
    fs::current_path(dir.path());
    const int status = driver::runJob(*job, (dir.path() / "job.par").string());
    fs::current_path(home);
    EXPECT_EQ(status, 0) << readFile(dir.file("job.log"));
    expectOutputs(jobsRoot() / name, dir);
  }
}

INSTANTIATE_TEST_SUITE_P(Jobs, JobFiles, ::testing::ValuesIn(jobFolders()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// The folders are found by a directory scan; a wrong data path would run no job at all.
TEST(JobFolders, AreFound) {
  const std::vector<std::string> names = jobFolders();
  EXPECT_NE(std::find(names.begin(), names.end(), "linear_design"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "runoff_coefficient"), names.end());
}

}  // namespace
}  // namespace kova::test
