// Stage-6 layout: the run tables end to end after the analysis tables. One placing
// routine serves both to measure the layout and to carve it, so the limit test always
// covers exactly the tables that are carved.
#include "state/run_layout.h"

#include <algorithm>
#include <span>

#include "state/job.h"
#include "state/layout_support.h"

namespace kova::state {

namespace {

using layout::atLeastOne;
using layout::Count;
using layout::limitOf;

// Hands out consecutive ranges of one work array from `next`; without an array it only
// measures.
template <typename T>
struct Placer {
  WorkVector<T>* array = nullptr;
  Count next = 0;

  std::span<T> take(Count length) {
    if (array == nullptr) {
      next += length;
      return {};
    }
    auto at = static_cast<std::size_t>(next);
    const std::span<T> range = layout::carve(*array, at, length);
    next = static_cast<Count>(at);
    return range;
  }
  Mat1<T> table(Count rows, Count cols) { return {take(rows * cols), static_cast<std::size_t>(rows)}; }
  Vec1<T> vector(Count length) { return {take(length)}; }
};

struct RunCounts {
  Count N, S, I, B;
};

RunCounts countsOf(const Kov& k) {
  return {atLeastOne(k.nRainIncs), atLeastOne(k.nSubAreas), atLeastOne(k.nIsas), atLeastOne(k.nBursts)};
}

void placeRunTables(RunTables& t, Placer<float>& real, Placer<int>& integer, const RunCounts& c) {
  t.subAreaRain = real.table(c.N, c.S);
  t.subAreaExcess = real.table(c.N, c.S);
  t.areaAverage = real.vector(c.N);
  t.catchRain = real.table(c.N, c.I);
  t.catchExcess = real.table(c.N, c.I);
  t.burstRain = real.table(c.B, c.I);
  t.burstExcess = real.table(c.B, c.I);
  t.initialLossUsed = real.table(c.B, c.I);
  t.lossParamUsed = real.table(c.B, c.I);
  t.recompute = integer.table(c.B, c.I);
}

}  // namespace

RunLayoutStatus layoutRunTables(Job& job, std::size_t realStart, std::size_t intStart) {
  const RunCounts counts = countsOf(job.kov);
  RunTables measured;
  Placer<float> realSize{nullptr, static_cast<Count>(realStart)};
  Placer<int> intSize{nullptr, static_cast<Count>(intStart)};
  placeRunTables(measured, realSize, intSize, counts);
  if (realSize.next > limitOf(job.work.realWork, job.kov.limReal)) return RunLayoutStatus::realLimit;
  if (intSize.next > limitOf(job.work.intWork, job.kov.limInt)) return RunLayoutStatus::integerLimit;

  RunTables& t = job.runTables;
  Placer<float> real{&job.work.realWork, static_cast<Count>(realStart)};
  Placer<int> integer{&job.work.intWork, static_cast<Count>(intStart)};
  placeRunTables(t, real, integer, counts);
  t.realEnd = static_cast<std::size_t>(real.next);
  t.intEnd = static_cast<std::size_t>(integer.next);
  return RunLayoutStatus::ok;
}

}  // namespace kova::state
