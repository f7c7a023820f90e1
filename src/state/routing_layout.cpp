// Layout of the run loop's work space.
#include "state/routing_layout.h"

#include <algorithm>
#include <cstdint>

#include "state/job.h"

namespace kova::state {

bool layoutRoutingTables(Job& job, std::size_t realStart) {
  const auto nt = static_cast<std::int64_t>(std::max(job.nTimes, 1));
  const auto levels = static_cast<std::int64_t>(std::max(job.kov.maxStoreLevel, 1));
  const auto slots = static_cast<std::int64_t>(std::max(job.analysisTables.nSavedSlots, 1));
  const std::int64_t need = nt * (5 + levels + slots) + 2 * levels;
  const auto limit = std::min<std::int64_t>(job.kov.limReal, static_cast<std::int64_t>(job.work.realWork.size()));
  if (static_cast<std::int64_t>(realStart) + need > limit) return false;

  float* next = job.work.realWork.data() + realStart;
  std::fill(next, next + need, 0.0F);
  auto take = [&](std::int64_t n) {
    std::span<float> s(next, static_cast<std::size_t>(n));
    next += n;
    return s;
  };
  RoutingTables& t = job.routingTables;
  t.running.data = take(nt);
  t.branchStack = {take(nt * levels), static_cast<std::size_t>(nt)};
  t.volumeStack.data = take(levels);
  t.centroidStack.data = take(levels);
  t.columnA.data = take(nt);
  t.columnB.data = take(nt);
  t.ioColumn.data = take(nt);
  t.lateralColumn.data = take(nt);
  t.savedIO = {take(nt * slots), static_cast<std::size_t>(nt)};
  t.realEnd = static_cast<std::size_t>(next - job.work.realWork.data());
  return true;
}

}  // namespace kova::state
