// Name table access and the first layout of the work arrays.
#include "state/work_arrays.h"

#include <algorithm>

namespace kova::state {

namespace {

template <typename T>
Vec1<T> carve(WorkVector<T>& array, std::size_t& next, std::size_t length) {
  Vec1<T> view{std::span<T>(array.data() + next, length)};
  next += length;
  return view;
}

}  // namespace

void clearWorkArrays(WorkArrays& work) {
  if (!work.fresh) {
    std::fill(work.intWork.begin(), work.intWork.end(), 0);
    std::fill(work.realWork.begin(), work.realWork.end(), 0.0F);
  }
  work.fresh = false;
}

std::string_view nameAt(const WorkArrays& work, int word) {
  return {work.charWork.data() + static_cast<std::size_t>(word - 1) * 4, nameLength};
}

void storeName(WorkArrays& work, int word, std::string_view name) {
  char* to = work.charWork.data() + static_cast<std::size_t>(word - 1) * 4;
  std::size_t n = std::min<std::size_t>(name.size(), nameLength);
  std::copy_n(name.data(), n, to);
  std::fill(to + n, to + nameLength, ' ');
}

CatchmentTables layoutCatchmentTables(WorkArrays& work) {
  constexpr std::size_t G = layoutG;
  constexpr std::size_t F = layoutF;
  CatchmentTables t;
  std::size_t r = 0;
  t.reachLength = carve(work.realWork, r, G);
  t.reachSlope = carve(work.realWork, r, G);
  t.relDelay = carve(work.realWork, r, G);
  t.cvData = carve(work.realWork, r, 3 * G);
  t.code = carve(work.realWork, r, 2 * G);
  std::size_t i = 0;
  t.reachType = carve(work.intWork, i, 10 * F);
  t.stepData = carve(work.intWork, i, 20 * F);
  t.isaEnd = carve(work.intWork, i, F);
  t.ioPrevCount = carve(work.intWork, i, 10 * F);
  t.branchFlag = carve(work.intWork, i, F);
  return t;
}

}  // namespace kova::state
