// One burst of one interstation area as the loss step works on it, and the small table
// helpers the loss files share.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>

#include "engine/losses/loss_models.h"

namespace kova::engine::losses {

inline constexpr float nearZero = 1.0E-30F;
inline constexpr int designRun = 3;

// The pair being worked on. Every sub-area in the list and every increment from first
// to last lies inside all the tables the loss step touches.
struct LossPair {
  state::Job& job;
  const LossInputs& in;
  state::RunTables& run;
  const LossCalls& calls;
  int area = 1;   // I
  int burst = 1;  // J
  int first = 1;  // IS
  int last = 0;   // IE; below first for a burst without increments
  std::span<const int> subAreas;
};

inline std::size_t ix(int i) { return static_cast<std::size_t>(i); }

// a / b, or 0 when b is zero: an area of no size carries no weight.
inline float share(float a, float b) { return std::fabs(b) > nearZero ? a / b : 0.0F; }

// The element at (i, j), or 0 outside the table.
template <typename T>
T valueAt(const state::Mat1<T>& m, int i, int j) {
  if (i < 1 || j < 1 || ix(i) > m.rows || ix(j) > m.cols()) return T{};
  return m(ix(i), ix(j));
}

}  // namespace kova::engine::losses
