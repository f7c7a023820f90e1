// Arithmetic shared by the work-array layouts: sizes in 64 bits, limits, carving tables.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "state/zeroed_allocator.h"

namespace kova::state::layout {

// Sizes in 64 bits: products and sums of counts read from a file can pass int.
using Count = std::int64_t;

inline Count atLeastOne(int n) { return std::max(n, 1); }

// The usable end of a work array: its limit, or its size when that is smaller.
template <typename T>
Count limitOf(const WorkVector<T>& array, int limit) {
  return std::min<Count>(limit, static_cast<Count>(array.size()));
}

// Carves the next `length` elements, cleared: stale data of earlier stages lie there.
template <typename T>
std::span<T> carve(WorkVector<T>& array, std::size_t& next, Count length) {
  std::span<T> table(array.data() + next, static_cast<std::size_t>(length));
  std::fill(table.begin(), table.end(), T{});
  next += table.size();
  return table;
}

// Claims the next `length` elements as they are, for a table whose reader clears the
// part it uses (clearing a table that spans the rest of a work array costs more than a
// small job's whole run).
template <typename T>
std::span<T> claim(WorkVector<T>& array, std::size_t& next, Count length) {
  std::span<T> table(array.data() + next, static_cast<std::size_t>(length));
  next += table.size();
  return table;
}

}  // namespace kova::state::layout
