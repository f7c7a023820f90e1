// One- and two-dimensional table look-ups with their warnings to the log.
#include "numerics/interpolation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

#include "driver/messages.h"
#include "io/format.h"

namespace kova::numerics {

namespace {

// Two abscissae closer than this are one point: the look-up takes a table value there
// instead of dividing by their difference.
constexpr double samePoint = std::numeric_limits<float>::min();
constexpr std::size_t listBufferLength = 20000;  // the unsorted-table message
constexpr std::size_t warningBufferLength = 100;  // the grid and bounded look-up messages
constexpr float flatColumn = 0.001F;              // a column step below this is not inverted

// A real as free-format text: the shortest digits that read back as the same value.
std::string freeFormat(float v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return {buffer, result.ptr};
}

void warn(state::Job& job, std::string text, std::size_t bufferLength) {
  if (text.size() > bufferLength) text.resize(bufferLength);
  driver::warnmess(job, text);
}

double at(std::span<const float> v, int i) { return v[static_cast<std::size_t>(i - 1)]; }

}  // namespace

int linterp(state::Job& job, int n, std::span<const float> x, std::span<const float> y, float xValue,
            float& yValue) {
  n = std::min({n, static_cast<int>(x.size()), static_cast<int>(y.size())});
  if (n < 2) {
    yValue = 0.0F;
    driver::warnmess(job, "LinTerp: Number of array elements specified as zero or one");
    return 1;
  }
  bool sorted = true;
  for (int i = 1; i < n; ++i) sorted = sorted && !(at(x, i) > at(x, i + 1));
  if (!sorted) {
    driver::warnmess(job,
                     "LinTerp: X input array not sorted in increasing order. X Array will be shown in the "
                     "following message.");
    std::string list;
    for (int i = 1; i <= n && list.size() < listBufferLength; ++i) {
      if (i > 1) list += ' ';
      list += freeFormat(x[static_cast<std::size_t>(i - 1)]);
    }
    warn(job, list, listBufferLength);
    yValue = y[0];
    return 1;
  }

  const double v = xValue;
  double result = 0.0;
  if (!(v > at(x, 1))) {
    if (std::abs(at(x, 2) - at(x, 1)) <= samePoint) {
      result = at(y, 1);
    } else {
      result = at(y, 1) - (at(x, 1) - v) * (at(y, 2) - at(y, 1)) / (at(x, 2) - at(x, 1));
    }
  } else if (!(v < at(x, n))) {
    if (std::abs(at(x, n) - at(x, n - 1)) <= samePoint) {
      result = at(y, n);
    } else {
      result = at(y, n) + (v - at(x, n)) * (at(y, n) - at(y, n - 1)) / (at(x, n) - at(x, n - 1));
    }
  } else {
    int i = 2;
    while (i < n && !(at(x, i) > v)) ++i;
    if (std::abs(at(x, i) - at(x, i - 1)) < samePoint) {
      result = at(y, i);
    } else {
      result = at(y, i) + (at(y, i - 1) - at(y, i)) * (at(x, i) - v) / (at(x, i) - at(x, i - 1));
    }
  }
  yValue = static_cast<float>(result);
  return 0;
}

int linterp(state::Job& job, std::span<const float> x, std::span<const float> y, float xValue, float& yValue) {
  const std::size_t points = std::min({x.size(), y.size(), static_cast<std::size_t>(std::numeric_limits<int>::max())});
  return linterp(job, static_cast<int>(points), x, y, xValue, yValue);
}

namespace {

float cell(const Grid& g, int i, int j) {
  return g.z[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(g.leading)];
}

// A grid whose arrays hold what its sizes promise, with two points each way at least.
bool usable(const Grid& g) {
  if (g.nx < 2 || g.ny < 2 || g.leading < g.nx) return false;
  const auto nx = static_cast<std::size_t>(g.nx);
  const auto ny = static_cast<std::size_t>(g.ny);
  return g.x.size() >= nx && g.y.size() >= ny && g.z.size() >= (ny - 1) * static_cast<std::size_t>(g.leading) + nx;
}

bool refuseSmallGrid(state::Job& job, const Grid& g, float& result) {
  if (usable(g)) return false;
  driver::warnmess(job, "LinTerp_2d: one or more dimensions smaller than 2");
  result = 0.0F;
  return true;
}

// Brackets v in values(1..n); above the table the bracket of the previous call stays
// (the last interval when there is none that fits this table) and the value is reported.
int bracket(state::Job& job, Bracket& b, std::span<const float> values, int n, float v, const char* axis) {
  if (v <= values[0]) {
    b = {1, 2};
    return gridFound;
  }
  if (v <= at(values, n)) {
    int lo = n - 1;
    while (lo > 1 && !(at(values, lo) < v)) --lo;
    b = {lo, lo + 1};
    return gridFound;
  }
  warn(job,
       std::string("2D Interpolate - ") + axis + " value higher than higher value: " + freeFormat(v) + " vs. " +
           freeFormat(values[static_cast<std::size_t>(n - 1)]),
       warningBufferLength);
  if (b.lo < 1 || b.hi > n || b.hi != b.lo + 1) b = {n - 1, n};
  return gridAbove;
}

}  // namespace

int linterp_2d(state::Job& job, GridBrackets& brackets, const Grid& grid, float xValue, float yValue,
               float& zValue) {
  if (refuseSmallGrid(job, grid, zValue)) return gridTooSmall;
  int error = bracket(job, brackets.x, grid.x, grid.nx, xValue, "X");
  Bracket trialY = brackets.y;
  if (bracket(job, trialY, grid.y, grid.ny, yValue, "Y") == gridAbove) return gridAbove;
  brackets.y = trialY;

  const int i1 = brackets.x.lo;
  const int i2 = brackets.x.hi;
  const int j1 = brackets.y.lo;
  const int j2 = brackets.y.hi;
  const float yx1 = grid.y[static_cast<std::size_t>(j1 - 1)];
  const float yx2 = grid.y[static_cast<std::size_t>(j2 - 1)];
  const float yFraction = (yValue - yx1) / (yx2 - yx1);
  const float z1 = cell(grid, i1, j1) + (cell(grid, i1, j2) - cell(grid, i1, j1)) * yFraction;
  const float z2 = cell(grid, i2, j1) + (cell(grid, i2, j2) - cell(grid, i2, j1)) * yFraction;
  const float x1 = grid.x[static_cast<std::size_t>(i1 - 1)];
  const float x2 = grid.x[static_cast<std::size_t>(i2 - 1)];
  zValue = z1 + (xValue - x1) * (z2 - z1) / (x2 - x1);
  return error;
}

int linterp_2d_y_from_x_and_z(state::Job& job, Bracket& xBracket, const Grid& grid, float xValue, float& yValue,
                              float zValue) {
  if (refuseSmallGrid(job, grid, yValue)) return gridTooSmall;
  const int error = bracket(job, xBracket, grid.x, grid.nx, xValue, "X");
  const int i1 = xBracket.lo;
  const int i2 = xBracket.hi;
  const float x1 = grid.x[static_cast<std::size_t>(i1 - 1)];
  const float x2 = grid.x[static_cast<std::size_t>(i2 - 1)];
  const float w = (xValue - x1) / (x2 - x1);
  auto column = [&](int j) { return cell(grid, i1, j) + w * (cell(grid, i2, j) - cell(grid, i1, j)); };

  int j = 2;
  for (; j <= grid.ny; ++j) {
    if ((j == 2 && zValue <= column(1)) || (column(j - 1) < zValue && zValue <= column(j))) break;
  }
  j = std::min(j, grid.ny);
  const float c0 = column(j - 1);
  const float c1 = column(j);
  const float y0 = grid.y[static_cast<std::size_t>(j - 2)];
  const float y1 = grid.y[static_cast<std::size_t>(j - 1)];
  yValue = std::abs(c1 - c0) >= flatColumn ? y0 + (zValue - c0) * (y1 - y0) / (c1 - c0) : y1;
  return error;
}

int linearinterpolate(state::Job& job, std::string_view name, int n, std::span<const float> x,
                      std::span<const float> y, int start, float xValue, float& yValue) {
  n = std::min({n, static_cast<int>(x.size()), static_cast<int>(y.size())});
  if (n < 1) {
    yValue = outsideTableValue;
    return belowTable;
  }
  auto outside = [&](const char* where, float limit) {
    yValue = outsideTableValue;
    warn(job, std::string(io::trimRight(name)) + " " + io::formatF(15, 2, xValue) + where + io::formatF(15, 2, limit),
         warningBufferLength);
  };
  if (xValue < x[0]) {
    outside(" below the low value: ", x[0]);
    return belowTable;
  }
  if (xValue > x[static_cast<std::size_t>(n - 1)]) {
    outside(" above the high value: ", x[static_cast<std::size_t>(n - 1)]);
    return aboveTable;
  }
  start = std::clamp(start, 1, n);
  auto search = [&](int from, int to) {
    for (int i = from; i <= to; ++i) {
      const float lo = x[static_cast<std::size_t>(i - 1)];
      const float hi = x[static_cast<std::size_t>(i)];
      if (lo <= xValue && xValue <= hi) {
        const float ylo = y[static_cast<std::size_t>(i - 1)];
        yValue = ylo + (xValue - lo) * (y[static_cast<std::size_t>(i)] - ylo) / (hi - lo);
        return true;
      }
    }
    return false;
  };
  if (!search(start, n - 1)) search(1, std::min(start, n - 1));
  return 0;
}

}  // namespace kova::numerics
