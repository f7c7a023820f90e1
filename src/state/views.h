// Views into the work arrays, indexed from 1 as the engine's tables are.
#pragma once

#include <cstddef>
#include <span>

namespace kova::state {

// A table of one index, element i at position i - 1 of its span.
template <typename T>
struct Vec1 {
  std::span<T> data;
  T& operator()(std::size_t i) const { return data[i - 1]; }
  [[nodiscard]] std::size_t capacity() const { return data.size(); }
};

// A table of two indexes stored column by column: element (i, j) of a table of
// `rows` rows is at position (j - 1) * rows + (i - 1).
template <typename T>
struct Mat1 {
  std::span<T> data;
  std::size_t rows = 0;
  T& operator()(std::size_t i, std::size_t j) const { return data[(j - 1) * rows + (i - 1)]; }
  [[nodiscard]] std::size_t cols() const { return rows == 0 ? 0 : data.size() / rows; }
};

}  // namespace kova::state
