// The layouts of stages 2 to 4: tables moved down end to end, compacted to their counts,
// and the next stage's tables carved after them and tested against the limits.
#include "state/layout_stages.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "driver/messages.h"
#include "state/job.h"
#include "state/layout_support.h"

namespace kova::state {

namespace {

using layout::atLeastOne;
using layout::carve;
using layout::claim;
using layout::Count;
using layout::limitOf;

template <typename T>
std::size_t offsetOf(const WorkVector<T>& array, std::span<T> table) {
  return static_cast<std::size_t>(table.data() - array.data());
}

// Moves the first `keep` elements of `from` to element `next`, returns the table of
// `length` elements there and advances `next` past it. The ranges may overlap, hence
// memmove; a table is only moved once the tables below it are in place, so nothing not
// yet moved is overwritten.
template <typename T>
std::span<T> moveTable(WorkVector<T>& array, std::span<T> from, std::size_t& next, Count keep, Count length) {
  const auto n = static_cast<std::size_t>(std::min<Count>(keep, static_cast<Count>(from.size())));
  T* to = array.data() + next;
  if (n > 0 && to != from.data()) std::memmove(to, from.data(), n * sizeof(T));
  next += static_cast<std::size_t>(length);
  return {to, static_cast<std::size_t>(length)};
}


template <typename T>
void clearFrom(std::span<T> table, Count keep) {
  const auto n = static_cast<std::size_t>(std::min<Count>(keep, static_cast<Count>(table.size())));
  std::fill(table.begin() + static_cast<std::ptrdiff_t>(n), table.end(), T{});
}

// Shrinks the row stride of a column-major table in place. Every column moves down, in
// column order, so a column is never overwritten before it has moved.
template <typename T>
Mat1<T> compactRows(Mat1<T> table, Count rows, Count cols) {
  T* base = table.data.data();
  const auto newRows = static_cast<std::size_t>(rows);
  for (std::size_t j = 1; j < static_cast<std::size_t>(cols); ++j)
    std::memmove(base + j * newRows, base + j * table.rows, newRows * sizeof(T));
  return {std::span<T>(base, newRows * static_cast<std::size_t>(cols)), newRows};
}

// Length of cvData in use: the end step carries no values, so its start is one past them.
Count usedCvData(const Job& job) {
  const CatchmentTables& c = job.catchment;
  if (job.nSteps < 1 || static_cast<std::size_t>(job.nSteps) > c.stepData.capacity()) return 0;
  const Count used = static_cast<Count>(c.stepData(static_cast<std::size_t>(job.nSteps))) - 1;
  return std::clamp<Count>(used, 0, static_cast<Count>(c.cvData.capacity()));
}

}  // namespace

void layoutSubAreaTables(Job& job) {
  const Kov& k = job.kov;
  CatchmentTables& c = job.catchment;
  WorkArrays& w = job.work;
  const Count R = atLeastOne(k.nReaches);
  const Count S = atLeastOne(k.nSubAreas);
  const Count I = atLeastOne(k.nIsas);
  const Count O = atLeastOne(k.nIOs);
  const Count H = atLeastOne(k.nHyds);
  const Count steps = atLeastOne(job.nSteps);
  const Count cvUsed = usedCvData(job);
  const Count isaLength = k.nHyds > 0 ? I * (H + 2) : I;

  const Count realEnd = 3 * R + cvUsed + steps + 2 * S;
  const Count intTables = R + steps + isaLength + O;
  const Count limReal = limitOf(w.realWork, k.limReal);
  const Count limInt = limitOf(w.intWork, k.limInt);
  if (realEnd > limReal) driver::storageLimitExceeded(job, driver::Storage::real);
  if (intTables + 4 > limInt) driver::storageLimitExceeded(job, driver::Storage::integer);

  std::size_t r = 0;
  c.reachLength.data = moveTable(w.realWork, c.reachLength.data, r, R, R);
  c.reachSlope.data = moveTable(w.realWork, c.reachSlope.data, r, R, R);
  c.relDelay.data = moveTable(w.realWork, c.relDelay.data, r, R, R);
  c.cvData.data = moveTable(w.realWork, c.cvData.data, r, cvUsed, cvUsed);
  c.code.data = moveTable(w.realWork, c.code.data, r, steps, steps);

  std::size_t i = 0;
  c.reachType.data = moveTable(w.intWork, c.reachType.data, i, R, R);
  c.stepData.data = moveTable(w.intWork, c.stepData.data, i, steps, steps);
  std::span<int> isa = moveTable(w.intWork, c.isaEnd.data, i, I, isaLength);
  // The I/O table may move up here (the interstation-area table can outgrow the room
  // below it); it is the last table moved, and only then is the rest of the
  // interstation-area table cleared, since the I/O table's old place could lie under it.
  c.ioPrevCount.data = moveTable(w.intWork, c.ioPrevCount.data, i, O, O);
  c.branchFlag.data = {};
  clearFrom(isa, I);
  c.isaEnd.data = isa.first(static_cast<std::size_t>(I));

  SubAreaTables& t = job.subAreaTables;
  t.isaHyds = {isa, static_cast<std::size_t>(I)};
  t.subArea.data = carve(w.realWork, r, S);
  t.fracImperv.data = carve(w.realWork, r, S);
  t.realEnd = r;
  const Count rows = (limInt - intTables) / 4;
  t.burstCapacity = static_cast<int>(rows);
  t.burst = {carve(w.intWork, i, 4 * rows), static_cast<std::size_t>(rows)};
  t.intEnd = i;
}

void layoutStormTables(Job& job) {
  Kov& k = job.kov;
  WorkArrays& w = job.work;
  SubAreaTables& a = job.subAreaTables;
  const Count B = atLeastOne(k.nBursts);
  const Count P = atLeastOne(k.nPluvios);
  const Count S = atLeastOne(k.nSubAreas);
  const Count H = atLeastOne(k.nHyds);
  const bool burstsFit = k.nBursts >= 1 && k.nBursts <= a.burstCapacity;
  k.nRainIncs = burstsFit ? a.burst(static_cast<std::size_t>(k.nBursts), 4) : 0;
  const Count N = atLeastOne(k.nRainIncs);

  const Count limReal = limitOf(w.realWork, k.limReal);
  const Count limInt = limitOf(w.intWork, k.limInt);
  const Count realTables = N * P + B * P + B * S + B * H;
  const Count recHydStart = static_cast<Count>(a.realEnd) + realTables;
  const Count burstStart = static_cast<Count>(offsetOf(w.intWork, a.burst.data));
  const Count intEnd = burstStart + 4 * B + B * S + 2 * H;
  const Count nameEnd = static_cast<Count>(job.nextNameWord) - 1 + nameWords * P + nameWords * (H + 1) + S;
  const Count limChar = std::min<Count>(k.limChar, static_cast<Count>(w.charWork.size() / 4));
  if (recHydStart + H > limReal) driver::storageLimitExceeded(job, driver::Storage::real);
  if (intEnd > limInt || B > a.burstCapacity) driver::storageLimitExceeded(job, driver::Storage::integer);
  // The name table shares the integer message.
  if (nameEnd > limChar) driver::storageLimitExceeded(job, driver::Storage::integer);

  a.burst = compactRows(a.burst, B, 4);
  std::size_t i = static_cast<std::size_t>(burstStart + 4 * B);
  a.intEnd = i;

  StormTables& t = job.stormTables;
  std::size_t r = a.realEnd;
  t.pluvio = {carve(w.realWork, r, N * P), static_cast<std::size_t>(N)};
  t.burstTotal = {carve(w.realWork, r, B * P), static_cast<std::size_t>(B)};
  t.subAreaRain = {carve(w.realWork, r, B * S), static_cast<std::size_t>(B)};
  t.riseVol = {carve(w.realWork, r, B * H), static_cast<std::size_t>(B)};
  const Count ordinates = (limReal - recHydStart) / H;
  t.recHydCapacity = static_cast<int>(ordinates);
  // read3 clears the rows it uses once it knows how many there are.
  t.recHyd = {claim(w.realWork, r, ordinates * H), static_cast<std::size_t>(ordinates)};
  t.realEnd = r;
  t.pluvioRef = {carve(w.intWork, i, B * S), static_cast<std::size_t>(B)};
  t.hydTimes = {carve(w.intWork, i, 2 * H), 2};
  t.intEnd = i;
  t.pluvioNameWord = job.nextNameWord;
  t.hydNameWord = t.pluvioNameWord + static_cast<int>(nameWords * P);
  job.nextNameWord = t.hydNameWord + static_cast<int>(nameWords * (H + 1));
}

void layoutAnalysisTables(Job& job) {
  const Kov& k = job.kov;
  WorkArrays& w = job.work;
  StormTables& s = job.stormTables;
  const Count T = atLeastOne(k.nHydOrds);
  const Count S = atLeastOne(k.nSubAreas);
  const Count I = atLeastOne(k.nIsas);
  const Count H = atLeastOne(k.nHyds);
  const Count steps = atLeastOne(job.nSteps);

  const Count recHydStart = static_cast<Count>(offsetOf(w.realWork, s.recHyd.data));
  const Count realEnd = recHydStart + T * H + 2 * I + S;
  const Count intEnd = static_cast<Count>(s.intEnd) + S + I * I + I * (k.nSubAreas + 1) + steps + H + I;
  if (realEnd > limitOf(w.realWork, k.limReal) || T > s.recHydCapacity)
    driver::storageLimitExceeded(job, driver::Storage::real);
  if (intEnd > limitOf(w.intWork, k.limInt)) driver::storageLimitExceeded(job, driver::Storage::integer);

  s.recHyd = compactRows(s.recHyd, T, H);
  s.recHydCapacity = static_cast<int>(T);
  std::size_t r = static_cast<std::size_t>(recHydStart + T * H);
  s.realEnd = r;

  AnalysisTables& t = job.analysisTables;
  std::size_t i = s.intEnd;
  t.subAreaMark.data = carve(w.intWork, i, S);
  t.isaUpstream = {carve(w.intWork, i, I * I), static_cast<std::size_t>(I)};
  t.isaSubAreas = {carve(w.intWork, i, I * (k.nSubAreas + 1)), static_cast<std::size_t>(I)};
  t.codeIsa.data = carve(w.intWork, i, steps);
  t.hydMark.data = carve(w.intWork, i, H);
  t.isaMark.data = carve(w.intWork, i, I);
  t.intEnd = i;
  t.isaArea.data = carve(w.realWork, r, I);
  t.isaTotalArea.data = carve(w.realWork, r, I);
  t.flowDist.data = carve(w.realWork, r, S);
  t.realEnd = r;
  t.isaAdSum.fill(0.0F);
  t.isaFactor.fill(0.0F);
  t.isaPeak.fill(0.0F);
  t.isaName.fill({});
  t.ioSlot = job.catchment.ioPrevCount;
  t.reachIsa.assign(static_cast<std::size_t>(atLeastOne(k.nReaches)), 0);
  t.hydPeak.assign(static_cast<std::size_t>(k.nHyds) + 2, 0.0F);
  t.avFlowDist = 0.0F;
  t.nSavedSlots = 1;
}

}  // namespace kova::state
