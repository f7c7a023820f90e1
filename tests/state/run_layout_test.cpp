// Tests of the run-table layout: the loss step's tables lie end to end after the given
// start, cleared, and each limit stops the layout exactly where the tables no longer fit.
#include "state/run_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "state/job.h"
#include "support/job_fixture.h"

namespace kova::test {
namespace {

using state::RunLayoutStatus;

template <typename T>
std::ptrdiff_t offset(const state::WorkVector<T>& array, std::span<T> table) {
  return table.data() - array.data();
}

// N = 5 increments, S = 3 sub-areas, I = 2 areas, B = 4 bursts.
void setCounts(state::Job& job) {
  job.kov.nRainIncs = 5;
  job.kov.nSubAreas = 3;
  job.kov.nIsas = 2;
  job.kov.nBursts = 4;
}

constexpr std::ptrdiff_t realLength = 2 * 5 * 3 + 5 + 2 * 5 * 2 + 4 * 4 * 2;  // 87
constexpr std::ptrdiff_t intLength = 4 * 2;

TEST(LayoutRunTables, TablesLieEndToEndClearedWithTheirShapes) {
  JobFixture f;
  f.open("");
  state::Job& job = *f.job;
  setCounts(job);
  std::fill(job.work.realWork.begin(), job.work.realWork.end(), -7.0F);
  std::fill(job.work.intWork.begin(), job.work.intWork.end(), -7);
  ASSERT_EQ(state::layoutRunTables(job, 100, 40), RunLayoutStatus::ok);

  const state::RunTables& t = job.runTables;
  const auto& real = job.work.realWork;
  struct Expected {
    const state::Mat1<float>* table;
    std::ptrdiff_t start;
    std::size_t rows, cols;
  };
  const std::vector<Expected> tables{
      {&t.subAreaRain, 100, 5, 3},     {&t.subAreaExcess, 115, 5, 3}, {&t.catchRain, 135, 5, 2},
      {&t.catchExcess, 145, 5, 2},     {&t.burstRain, 155, 4, 2},     {&t.burstExcess, 163, 4, 2},
      {&t.initialLossUsed, 171, 4, 2}, {&t.lossParamUsed, 179, 4, 2},
  };
  for (const Expected& e : tables) {
    EXPECT_EQ(offset(real, e.table->data), e.start);
    EXPECT_EQ(e.table->rows, e.rows);
    EXPECT_EQ(e.table->cols(), e.cols);
  }
  EXPECT_EQ(offset(real, t.areaAverage.data), 130);
  EXPECT_EQ(t.areaAverage.capacity(), 5U);
  EXPECT_EQ(t.realEnd, static_cast<std::size_t>(100 + realLength));
  EXPECT_EQ(offset(job.work.intWork, t.recompute.data), 40);
  EXPECT_EQ(t.recompute.rows, 4U);
  EXPECT_EQ(t.recompute.cols(), 2U);
  EXPECT_EQ(t.intEnd, static_cast<std::size_t>(40 + intLength));

  EXPECT_TRUE(std::all_of(real.begin() + 100, real.begin() + 100 + realLength, [](float v) { return v == 0.0F; }));
  EXPECT_EQ(real[99], -7.0F);
  EXPECT_EQ(real[100 + realLength], -7.0F);
  const auto& ints = job.work.intWork;
  EXPECT_TRUE(std::all_of(ints.begin() + 40, ints.begin() + 40 + intLength, [](int v) { return v == 0; }));
  EXPECT_EQ(ints[40 + intLength], -7);
}

TEST(LayoutRunTables, CountsOfZeroStillLayOutOneElement) {
  JobFixture f;
  f.open("");
  ASSERT_EQ(state::layoutRunTables(*f.job, 0, 0), RunLayoutStatus::ok);
  const state::RunTables& t = f.job->runTables;
  EXPECT_EQ(t.subAreaRain.rows, 1U);
  EXPECT_EQ(t.subAreaRain.cols(), 1U);
  EXPECT_EQ(t.recompute.data.size(), 1U);
  EXPECT_EQ(t.realEnd, 9U);
  EXPECT_EQ(t.intEnd, 1U);
}

struct LimitRow {
  int realSpare;  // elements of limReal beyond the tables
  int intSpare;
  RunLayoutStatus status;
};

TEST(LayoutRunTables, EachEndIsTestedAgainstItsLimit) {
  const std::vector<LimitRow> rows{
      {0, 0, RunLayoutStatus::ok},
      {-1, 0, RunLayoutStatus::realLimit},
      {0, -1, RunLayoutStatus::integerLimit},
      {-1, -1, RunLayoutStatus::realLimit},  // the reals are tested first
  };
  for (const LimitRow& row : rows) {
    JobFixture f;
    f.open("");
    state::Job& job = *f.job;
    setCounts(job);
    job.kov.limReal = static_cast<int>(100 + realLength) + row.realSpare;
    job.kov.limInt = static_cast<int>(40 + intLength) + row.intSpare;
    EXPECT_EQ(state::layoutRunTables(job, 100, 40), row.status) << row.realSpare << " " << row.intSpare;
    // A layout that does not fit changes nothing.
    if (row.status != RunLayoutStatus::ok) {
      EXPECT_TRUE(job.runTables.subAreaRain.data.empty());
    }
  }
}

}  // namespace
}  // namespace kova::test
