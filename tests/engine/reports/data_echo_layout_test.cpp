// Tests of the data echo's scratch layout (stage 5): its sizes and its limit tests.
#include <gtest/gtest.h>

#include "engine/reports/report_test_support.h"
#include "state/job.h"

namespace kova::state {
namespace {

using test::JobFixture;

struct Counts {
  int bursts, hyds, pluvios, isas, storeLevel, steps;
};

void leave(JobFixture& f, const Counts& c, std::size_t realEnd, std::size_t intEnd) {
  f.open("", "", 3);
  Job& job = *f.job;
  job.kov.nBursts = c.bursts;
  job.kov.nHyds = c.hyds;
  job.kov.nPluvios = c.pluvios;
  job.kov.nIsas = c.isas;
  job.kov.maxStoreLevel = c.storeLevel;
  job.nSteps = c.steps;
  job.analysisTables.realEnd = realEnd;
  job.analysisTables.intEnd = intEnd;
}

TEST(LayoutEchoTables, SizesFollowTheCounts) {
  struct Case {
    const char* what;
    Counts counts;
    std::size_t block, hyds, stack, steps;
  };
  const Case cases[] = {
      {"pluviographs widest, store level deepest", {2, 3, 5, 2, 4, 7}, 5, 3, 4, 7},
      {"hydrographs widest, areas deepest", {1, 9, 2, 6, 3, 40}, 9, 9, 6, 40},
      {"bursts widest", {4, 1, 2, 1, 0, 3}, 4, 1, 1, 3},
      {"no counts: one element each", {0, 0, 0, 0, 0, 0}, 1, 1, 1, 1},
  };
  for (const Case& c : cases) {
    JobFixture f;
    leave(f, c.counts, 1000, 500);
    layoutEchoTables(*f.job);
    const EchoTables& t = f.job->echoTables;
    EXPECT_EQ(t.columnTotals.capacity(), c.block) << c.what;
    EXPECT_EQ(t.depthFactors.capacity(), c.hyds) << c.what;
    EXPECT_EQ(t.stack.capacity(), c.stack) << c.what;
    EXPECT_EQ(t.stepCodes.capacity(), c.steps) << c.what;
    // End to end after the analysis tables.
    const float* real = f.job->work.realWork.data();
    const int* integer = f.job->work.intWork.data();
    EXPECT_EQ(t.columnTotals.data.data(), real + 1000) << c.what;
    EXPECT_EQ(t.depthFactors.data.data(), real + 1000 + c.block) << c.what;
    EXPECT_EQ(t.realEnd, 1000 + c.block + c.hyds) << c.what;
    EXPECT_EQ(t.stack.data.data(), integer + 500) << c.what;
    EXPECT_EQ(t.stepCodes.data.data(), integer + 500 + c.stack) << c.what;
    EXPECT_EQ(t.intEnd, 500 + c.stack + c.steps) << c.what;
  }
}

TEST(LayoutEchoTables, TheScratchIsClearedOfEarlierData) {
  JobFixture f;
  leave(f, {2, 3, 5, 2, 4, 7}, 1000, 500);
  std::fill(f.job->work.realWork.begin() + 1000, f.job->work.realWork.begin() + 1010, 7.0F);
  std::fill(f.job->work.intWork.begin() + 500, f.job->work.intWork.begin() + 515, 7);
  layoutEchoTables(*f.job);
  for (float v : f.job->echoTables.columnTotals.data) EXPECT_EQ(v, 0.0F);
  for (float v : f.job->echoTables.depthFactors.data) EXPECT_EQ(v, 0.0F);
  for (int v : f.job->echoTables.stack.data) EXPECT_EQ(v, 0);
  for (int v : f.job->echoTables.stepCodes.data) EXPECT_EQ(v, 0);
}

TEST(LayoutEchoTables, EachEndIsTestedAgainstItsLimit) {
  // 5 + 3 reals and 4 + 7 integers after the analysis tables.
  const Counts counts{2, 3, 5, 2, 4, 7};
  struct Case {
    const char* what;
    int limReal, limInt;
    const char* log;  // empty: the layout fits
  };
  const Case cases[] = {
      {"both ends exactly at their limits", 1008, 511, ""},
      {"one real too many", 1007, 511, " Limit on total real array storage exceeded\n"},
      {"one integer too many", 1008, 510, " Limit on total integer array storage exceeded\n"},
      {"both too many: the reals are reported", 1007, 510, " Limit on total real array storage exceeded\n"},
  };
  for (const Case& c : cases) {
    JobFixture f;
    leave(f, counts, 1000, 500);
    f.job->kov.limReal = c.limReal;
    f.job->kov.limInt = c.limInt;
    const bool failed = f.fails(layoutEchoTables);
    EXPECT_EQ(failed, *c.log != '\0') << c.what;
    EXPECT_EQ(f.log(), c.log) << c.what;
    EXPECT_EQ(io::isOpen(f.job->units, f.job->unitid.outputUnit), !failed) << c.what;
  }
}

}  // namespace
}  // namespace kova::state
