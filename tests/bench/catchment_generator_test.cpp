// The benchmark's catchment generator writes jobs the engine runs to the end: the right
// number of hydrograph reports, calibrated losses at the gauge, refused recipes.
#include "bench/catchment_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/job_driver.h"
#include "state/job.h"
#include "support/test_support.h"

namespace kova::test {
namespace {

using bench::CatchmentRecipe;
using bench::GeneratedJob;
using bench::RunType;

int runGenerated(const GeneratedJob& job) {
  auto fresh = std::make_unique<state::Job>();
  return driver::runJob(*fresh, job.parameterFile.string());
}

int countLinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<int>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

int hydrographReports(const GeneratedJob& job) {
  return countLinesStartingWith(readLines(job.outputFile.string()), " *** ");
}

TEST(CatchmentGenerator, SmallDesignJobRunsToItsEnd) {
  ScratchDir dir;
  CatchmentRecipe recipe;  // 10 sub-areas, 100 steps, one burst, DESIGN
  const GeneratedJob job = bench::writeCatchmentJob(dir.path(), "small", recipe);
  ASSERT_EQ(runGenerated(job), 0) << readFile(job.outputFile.string());
  // Two groups of five: sub-area 1 prints its inflow and its reach (2), the first
  // confluence (1), the outlet reach (1) and the outlet print point (1).
  EXPECT_EQ(hydrographReports(job), 5);
  EXPECT_EQ(job.hydrographReports, 5);
  // A clean job leaves only the blank line the log starts with.
  EXPECT_EQ(readFile((dir.path() / "small.log").string()), "\n");
}

struct Variant {
  const char* name;
  CatchmentRecipe recipe;
  int reports;  // counted by hand from the layout rules of the generator
};

CatchmentRecipe recipe(int subAreas, int steps, int bursts, int pluvios, RunType type, bool storage, int lossModel) {
  CatchmentRecipe s;
  s.subAreas = subAreas;
  s.timeSteps = steps;
  s.bursts = bursts;
  s.pluviographs = pluvios;
  s.runType = type;
  s.gauged = type != RunType::design;
  s.specialStorage = storage;
  s.lossModel = lossModel;
  return s;
}

// Reports: 2 for sub-area 1, 1 for the first confluence, 1 per fourth group, 1 for the
// gauge, 1 for the storage, 2 at the outlet (reach and print point).
const Variant variants[] = {
    {"TestMediumWithStorage", recipe(50, 400, 2, 2, RunType::test, true, 2), 2 + 1 + 2 + 1 + 1 + 2},
    {"FitContinuingLoss", recipe(23, 200, 3, 1, RunType::fit, false, 1), 2 + 1 + 1 + 1 + 0 + 2},
    {"FitFourBurstsManyPluvios", recipe(12, 120, 4, 5, RunType::fit, true, 2), 2 + 1 + 0 + 1 + 1 + 2},
    {"DesignLeftoverMainStream", recipe(8, 60, 1, 1, RunType::design, true, 1), 2 + 1 + 0 + 0 + 1 + 2},
    {"DesignFewerThanAGroup", recipe(3, 20, 2, 2, RunType::design, false, 2), 2 + 0 + 0 + 0 + 0 + 2},
};

void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

class GeneratedVariants : public ::testing::TestWithParam<Variant> {};

TEST_P(GeneratedVariants, RunToTheEndWithTheirReports) {
  const Variant& v = GetParam();
  ScratchDir dir;
  const GeneratedJob job = bench::writeCatchmentJob(dir.path(), "job", v.recipe);
  ASSERT_EQ(runGenerated(job), 0) << readFile(job.outputFile.string());
  EXPECT_EQ(hydrographReports(job), v.reports);
  EXPECT_EQ(job.hydrographReports, v.reports);
}

INSTANTIATE_TEST_SUITE_P(CatchmentGenerator, GeneratedVariants, ::testing::ValuesIn(variants),
                         [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.name); });

// The recorded hydrograph is feasible: the gauged area gets one calibrated coefficient per
// burst, and the area below the gauge takes them over without a calculation.
TEST(CatchmentGenerator, GaugedJobCalibratesEveryBurst) {
  ScratchDir dir;
  const GeneratedJob job =
      bench::writeCatchmentJob(dir.path(), "gauged", recipe(30, 200, 3, 1, RunType::test, false, 2));
  ASSERT_EQ(runGenerated(job), 0) << readFile(job.outputFile.string());
  EXPECT_EQ(job.interstationAreas, 2);
  EXPECT_EQ(countLinesStartingWith(readLines(job.outputFile.string()), "  Runoff coeff. (pervious area) ="), 3);
}

TEST(CatchmentGenerator, SameSeedWritesTheSameFiles) {
  ScratchDir dir;
  CatchmentRecipe s = recipe(20, 80, 2, 2, RunType::test, true, 1);
  const GeneratedJob a = bench::writeCatchmentJob(dir.path() / "a", "job", s);
  const GeneratedJob b = bench::writeCatchmentJob(dir.path() / "b", "job", s);
  s.seed = 7;
  const GeneratedJob c = bench::writeCatchmentJob(dir.path() / "c", "job", s);
  EXPECT_EQ(readFile(a.catchmentFile.string()), readFile(b.catchmentFile.string()));
  EXPECT_EQ(readFile(a.stormFile.string()), readFile(b.stormFile.string()));
  EXPECT_NE(readFile(a.catchmentFile.string()), readFile(c.catchmentFile.string()));
}

TEST(CatchmentGenerator, RefusesRecipesOutsideItsRanges) {
  const CatchmentRecipe good;
  auto with = [&](auto change) {
    CatchmentRecipe s = good;
    change(s);
    return s;
  };
  const CatchmentRecipe bad[] = {
      with([](CatchmentRecipe& s) { s.subAreas = 0; }),
      with([](CatchmentRecipe& s) { s.subAreas = 5001; }),
      with([](CatchmentRecipe& s) { s.bursts = 5; }),
      with([](CatchmentRecipe& s) { s.pluviographs = 0; }),
      with([](CatchmentRecipe& s) { s.lossModel = 3; }),
      with([](CatchmentRecipe& s) { s.printOption = 4; }),
      with([](CatchmentRecipe& s) { s.runType = RunType::fit; }),  // no gauge
      with([](CatchmentRecipe& s) {
        s.timeSteps = 4;
        s.bursts = 4;  // four bursts of one increment need three gaps as well
      }),
  };
  ScratchDir dir;
  for (const CatchmentRecipe& s : bad)
    EXPECT_THROW(bench::writeCatchmentJob(dir.path(), "bad", s), std::invalid_argument);
}

}  // namespace
}  // namespace kova::test
