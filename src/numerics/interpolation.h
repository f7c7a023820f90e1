// Table look-ups of the gate operations: the one-dimensional `linterp` that extrapolates
// along its end segments, the grid look-ups `linterp_2d` and `linterp_2d_y_from_x_and_z`,
// and the bounded one-dimensional `linearinterpolate`.
#pragma once

#include <span>
#include <string_view>

#include "state/job.h"

namespace kova::numerics {

// y off the curve (x(1..n), y(1..n)), x non-decreasing, extrapolated along the first and
// last segments. Returns 0, or 1 for a bad table (fewer than two points: y = 0; x not
// sorted: y = y(1)), which is reported to the log. n larger than the arrays is cut to them.
int linterp(state::Job& job, int n, std::span<const float> x, std::span<const float> y, float xValue,
            float& yValue);
// The same on whole arrays (n = the shorter of the two).
int linterp(state::Job& job, std::span<const float> x, std::span<const float> y, float xValue, float& yValue);

// The bracket a grid look-up remembers between calls: (lo, hi) in one direction, (0, 0)
// before the first call. A caller keeps one per routine, as the routines keep theirs.
struct Bracket {
  int lo = 0;
  int hi = 0;
};
struct GridBrackets {
  Bracket x;
  Bracket y;
};

// A grid table z(x(i), y(j)) = z[(i - 1) + (j - 1)·leading], i = 1..nx, j = 1..ny, with
// x and y increasing.
struct Grid {
  int leading = 0;
  int nx = 0;
  int ny = 0;
  std::span<const float> x;
  std::span<const float> y;
  std::span<const float> z;
};

// Error values of the grid look-ups.
inline constexpr int gridFound = 0;
inline constexpr int gridTooSmall = 1;
inline constexpr int gridAbove = 2;

// z at (x, y), bilinear, extrapolated below the grid. An x above the grid gives
// gridAbove and is computed on the bracket of the previous call; a y above it gives
// gridAbove and leaves z unchanged.
int linterp_2d(state::Job& job, GridBrackets& brackets, const Grid& grid, float xValue, float yValue,
               float& zValue);

// y for given x and z: the grid inverted in its second direction, extrapolated beyond
// the column's ends. An x above the grid gives gridAbove as in linterp_2d.
int linterp_2d_y_from_x_and_z(state::Job& job, Bracket& xBracket, const Grid& grid, float xValue, float& yValue,
                              float zValue);

// Error values of linearinterpolate.
inline constexpr int belowTable = 1;
inline constexpr int aboveTable = 2;
inline constexpr float outsideTableValue = -99.9F;

// y at x on (x(1..n), y(1..n)), searching the intervals from `start` (1..n) on and then
// from the first; outside the table y = -99.9 and the named table is reported.
int linearinterpolate(state::Job& job, std::string_view name, int n, std::span<const float> x,
                      std::span<const float> y, int start, float xValue, float& yValue);

}  // namespace kova::numerics
