// Name table access and the first layout of the work arrays.
#include "state/work_arrays.h"

#include <algorithm>

#include "state/layout_support.h"

namespace kova::state {

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
  using layout::claim;
  CatchmentTables t;
  std::size_t r = 0;
  t.reachLength.data = claim(work.realWork, r, G);
  t.reachSlope.data = claim(work.realWork, r, G);
  t.relDelay.data = claim(work.realWork, r, G);
  t.cvData.data = claim(work.realWork, r, 3 * G);
  t.code.data = claim(work.realWork, r, 2 * G);
  std::size_t i = 0;
  t.reachType.data = claim(work.intWork, i, 10 * F);
  t.stepData.data = claim(work.intWork, i, 20 * F);
  t.isaEnd.data = claim(work.intWork, i, F);
  t.ioPrevCount.data = claim(work.intWork, i, 10 * F);
  t.branchFlag.data = claim(work.intWork, i, F);
  return t;
}

}  // namespace kova::state
