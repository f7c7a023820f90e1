// Control-vector analysis. The walk keeps a marker per sub-area, reach, step, hydrograph
// and interstation area: it records how deep in the branch stack the item lies relative
// to the running hydrograph and, once an interstation area closes over it, that area.
#include "engine/routing/analysis.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "driver/messages.h"
#include "engine/control_codes.h"
#include "io/format.h"

namespace kova::engine {

namespace {

constexpr float tiny = 1.0E-30F;
constexpr int isaMarkUnit = 1000;  // a marker of 1000 j: assigned to interstation area j

using state::Job;

struct Walk {
  int subAreas = 0, reaches = 0, ios = 0, hyds = 0, isas = 0;
  int slotsInUse = 0, maxSlots = 0;
  int countdown = 0;     // reaches left for the running distributed I/O
  int countdownSlot = 0; // the saved slot the running distributed I/O reads (0: none)
  std::vector<char> slotHeld;
  std::vector<int> ioOfStep;  // the channel I/O record number of each code-9 step
};

std::string_view hydrographName(const Job& job, int h) {
  return state::nameAt(job.work, job.stormTables.hydNameWord + state::nameWords * (h - 1));
}

// Ungauged locations have no name in the storm file: their hydrograph takes the
// location's name (its first 28 characters) so that reports can title it.
void nameUngaugedHydrographs(Job& job) {
  const auto& flags = job.genpar.isUngauged;
  std::size_t next = 0;
  for (int h = 1; h <= job.kov.nHyds && static_cast<std::size_t>(h) < flags.size(); ++h) {
    if (flags[static_cast<std::size_t>(h)] != 1) continue;
    if (next < job.genpar.ungaugedNames.size())
      state::storeName(job.work, job.stormTables.hydNameWord + state::nameWords * (h - 1),
                       job.genpar.ungaugedNames[next]);
    ++next;
  }
}

// Peaks and volumes of the recorded hydrographs; rise volumes become m³.
void givenHydrographs(Job& job) {
  state::Kov& k = job.kov;
  if (k.nHyds == 0) return;
  state::StormTables& s = job.stormTables;
  state::AnalysisTables& a = job.analysisTables;
  const auto rows = static_cast<int>(s.recHyd.rows);
  float overall = 0.0F;
  for (int h = 1; h <= k.nHyds; ++h) {
    const int first = s.hydTimes(1, h) + 1;
    const int last = std::min(s.hydTimes(2, h) + 1, rows);
    float peak = 0.0F;
    float volume = 0.0F;
    for (int t = std::max(first, 1); t <= last; ++t) {
      const float q = s.recHyd(t, h);
      peak = std::max(peak, q);
      volume += q * k.timeIncSec;
    }
    a.hydPeak[static_cast<std::size_t>(h)] = peak;
    overall = std::max(overall, peak);
    for (int b = 1; b <= k.nBursts; ++b) s.riseVol(b, h) *= volume;
  }
  k.maxRecordedFlow = overall;
}

void releaseSlot(Walk& w, int slot) {
  if (slot < 1 || w.slotHeld[static_cast<std::size_t>(slot)] == 0) return;
  w.slotHeld[static_cast<std::size_t>(slot)] = 0;
  --w.slotsInUse;
}

// True when a channel I/O record after `io` reads the saved slot.
bool slotReadLater(const Job& job, int io, int slot) {
  const state::Vec1<int>& slots = job.analysisTables.ioSlot;
  for (int later = io + 1; later <= job.kov.nIOs; ++later)
    if (slots(static_cast<std::size_t>(later)) == slot) return true;
  return false;
}

void countReachOff(const Job& job, Walk& w) {
  if (w.countdown <= 0) return;
  if (--w.countdown == 0 && w.countdownSlot > 0) {
    // A later record that reads the same slot releases it itself.
    if (!slotReadLater(job, w.ios, w.countdownSlot)) releaseSlot(w, w.countdownSlot);
    w.countdownSlot = 0;
  }
}

void reach(Job& job, Walk& w) {
  state::AnalysisTables& a = job.analysisTables;
  const int r = ++w.reaches;
  const float length = job.catchment.reachLength(static_cast<std::size_t>(r));
  for (int s = 1; s <= w.subAreas; ++s)
    if (a.subAreaMark(static_cast<std::size_t>(s)) % isaMarkUnit == 0) a.flowDist(static_cast<std::size_t>(s)) += length;
  countReachOff(job, w);
}

void storeBranch(Job& job, const Walk& w, int step) {
  state::AnalysisTables& a = job.analysisTables;
  for (int s = 1; s <= w.subAreas; ++s) --a.subAreaMark(static_cast<std::size_t>(s));
  for (int c = 1; c <= step; ++c)
    if (a.codeIsa(static_cast<std::size_t>(c)) <= 0) --a.codeIsa(static_cast<std::size_t>(c));
  for (int r = 1; r <= w.reaches; ++r)
    if (a.reachIsa[static_cast<std::size_t>(r - 1)] < isaMarkUnit) --a.reachIsa[static_cast<std::size_t>(r - 1)];
  for (int h = 1; h <= std::min<int>(w.hyds, static_cast<int>(a.hydMark.capacity())); ++h)
    if (a.hydMark(static_cast<std::size_t>(h)) >= 0) ++a.hydMark(static_cast<std::size_t>(h));
  for (int j = 1; j <= w.isas; ++j)
    if (a.isaMark(static_cast<std::size_t>(j)) >= 0) ++a.isaMark(static_cast<std::size_t>(j));
}

void addBranch(Job& job, const Walk& w, int step) {
  state::AnalysisTables& a = job.analysisTables;
  for (int s = 1; s <= w.subAreas; ++s)
    if (a.subAreaMark(static_cast<std::size_t>(s)) % isaMarkUnit != 0) ++a.subAreaMark(static_cast<std::size_t>(s));
  for (int c = 1; c <= step; ++c)
    if (a.codeIsa(static_cast<std::size_t>(c)) < 0) ++a.codeIsa(static_cast<std::size_t>(c));
  for (int r = 1; r <= w.reaches; ++r)
    if (a.reachIsa[static_cast<std::size_t>(r - 1)] < 0) ++a.reachIsa[static_cast<std::size_t>(r - 1)];
  for (int h = 1; h <= std::min<int>(w.hyds, static_cast<int>(a.hydMark.capacity())); ++h)
    if (a.hydMark(static_cast<std::size_t>(h)) > 0) --a.hydMark(static_cast<std::size_t>(h));
  for (int j = 1; j <= w.isas; ++j)
    if (a.isaMark(static_cast<std::size_t>(j)) > 0) --a.isaMark(static_cast<std::size_t>(j));
}

bool endsIsa(const Job& job, int h) {
  const state::Mat1<int>& ends = job.subAreaTables.isaHyds;
  for (int j = 1; j <= job.kov.nIsas; ++j)
    if (ends(static_cast<std::size_t>(j), 1) == h) return true;
  return false;
}

void station(Job& job, Walk& w, int step, bool gauged) {
  state::AnalysisTables& a = job.analysisTables;
  state::Mat1<int>& isaHyds = job.subAreaTables.isaHyds;
  const int h = w.hyds + 1;
  const int known = std::min<int>(w.hyds, static_cast<int>(a.hydMark.capacity()));
  if (endsIsa(job, h) && w.isas < job.kov.nIsas) {
    const int j = ++w.isas;
    const auto J = static_cast<std::size_t>(j);
    for (int s = 1; s <= w.subAreas; ++s) {
      int& mark = a.subAreaMark(static_cast<std::size_t>(s));
      if (mark != 0) continue;
      a.isaAdSum[J - 1] += job.subAreaTables.subArea(static_cast<std::size_t>(s)) * a.flowDist(static_cast<std::size_t>(s));
      mark = isaMarkUnit * j;
    }
    for (int r = 1; r <= w.reaches; ++r)
      if (a.reachIsa[static_cast<std::size_t>(r - 1)] == 0) a.reachIsa[static_cast<std::size_t>(r - 1)] = isaMarkUnit * j;
    for (int c = 1; c <= step; ++c)
      if (a.codeIsa(static_cast<std::size_t>(c)) == 0) a.codeIsa(static_cast<std::size_t>(c)) = j;
    if (gauged && (job.kov.runType == 1 || job.kov.runType == 2)) chiofq(job, j, step);
    int upstreamHyds = 0;
    for (int u = 1; u <= known; ++u) {
      int& mark = a.hydMark(static_cast<std::size_t>(u));
      if (mark != 0) continue;
      ++upstreamHyds;
      if (isaHyds.cols() >= static_cast<std::size_t>(2 + upstreamHyds))
        isaHyds(J, static_cast<std::size_t>(2 + upstreamHyds)) = u;
      mark = -1;
    }
    if (isaHyds.cols() >= 2) isaHyds(J, 2) = upstreamHyds;
    int upstreamIsas = 0;
    for (int u = 1; u < j; ++u) {
      int& mark = a.isaMark(static_cast<std::size_t>(u));
      if (mark != 0) continue;
      ++upstreamIsas;
      a.isaUpstream(J, static_cast<std::size_t>(1 + upstreamIsas)) = u;
      mark = -1;
    }
    a.isaUpstream(J, 1) = upstreamIsas;
  } else {
    // One past the last area: these codes lie in none, whatever areas close below them.
    for (int c = 1; c <= step; ++c)
      if (a.codeIsa(static_cast<std::size_t>(c)) == 0) a.codeIsa(static_cast<std::size_t>(c)) = job.kov.nIsas + 1;
    for (int u = 1; u <= known; ++u)
      if (a.hydMark(static_cast<std::size_t>(u)) == 0) a.hydMark(static_cast<std::size_t>(u)) = -1;
  }
  w.hyds = h;
}

void zeroLengthDistributedIO(Job& job, int step) {
  driver::dataError(job, {" Data error: reaches specified for distributed I/O",
                          io::Fmt().a(" defined by code no.").i(4, step).a(" all have zero length").str()});
}

void channelIOStep(Job& job, Walk& w, int step) {
  state::AnalysisTables& a = job.analysisTables;
  const int io = ++w.ios;
  const auto IO = static_cast<std::size_t>(io);
  const ChannelIO x = channelIO(job, step);
  if (x.reaches >= 1) {
    float length = 0.0F;
    for (int r = w.reaches + 1; r <= std::min(w.reaches + x.reaches, job.kov.nReaches); ++r)
      length += job.catchment.reachLength(static_cast<std::size_t>(r));
    if (length <= tiny) zeroLengthDistributedIO(job, step);
    w.countdown = x.reaches;
    w.countdownSlot = x.kind == 2 ? a.ioSlot(IO) : 0;
  }
  if (x.link != 0) {
    if (x.kind == 2) {
      if (hydrographLent(job, step)) {
        const int h = lentHydrograph(job, step);
        if (h >= 1 && h <= job.kov.nHyds + 1)
          state::storeName(job.work, nearest(x.fifth), std::string(hydrographName(job, h)));
      }
      const int slot = a.ioSlot(IO);
      const bool heldByDistributed = w.countdown > 0 && w.countdownSlot == slot;
      if (!heldByDistributed && !slotReadLater(job, io, slot)) releaseSlot(w, slot);
    } else {
      int slot = 1;
      while (w.slotHeld[static_cast<std::size_t>(slot)] != 0) ++slot;
      w.slotHeld[static_cast<std::size_t>(slot)] = 1;
      a.ioSlot(IO) = slot;
      for (int later = step + 1; later <= job.nSteps; ++later) {
        if (codeNumber(job.catchment.code(static_cast<std::size_t>(later))) != 9) continue;
        if (channelIO(job, later).kind == 2 && earlierStep(job, later) == step)
          a.ioSlot(static_cast<std::size_t>(w.ioOfStep[static_cast<std::size_t>(later)])) = slot;
      }
      ++w.slotsInUse;
      w.maxSlots = std::max(w.maxSlots, w.slotsInUse);
    }
  }
  if (x.kind == 0) {
    const int h = ++w.hyds;
    if ((x.reaches >= 1 || x.direction < 0.5F) && h <= static_cast<int>(a.hydMark.capacity()))
      a.hydMark(static_cast<std::size_t>(h)) = -1;
  }
}

void walkControlVector(Job& job, Walk& w) {
  w.slotHeld.assign(static_cast<std::size_t>(job.kov.nIOs) + 2, 0);
  w.ioOfStep.assign(static_cast<std::size_t>(job.nSteps) + 1, 0);
  for (int c = 1, io = 0; c <= job.nSteps; ++c)
    if (codeNumber(job.catchment.code(static_cast<std::size_t>(c))) == 9) w.ioOfStep[static_cast<std::size_t>(c)] = ++io;

  for (int c = 1; c <= job.nSteps; ++c) {
    const float v = job.catchment.code(static_cast<std::size_t>(c));
    switch (codeNumber(v)) {
      case 1:
      case 2:
        ++w.subAreas;
        reach(job, w);
        break;
      case 5: reach(job, w); break;
      case 3: storeBranch(job, w, c); break;
      case 4: addBranch(job, w, c); break;
      case 6:
      case 8: break;
      case 7:
        if (stationTenths(v) != 70) station(job, w, c, true);
        break;
      case 9: channelIOStep(job, w, c); break;
      default:  // the end code closes the catchment at its outlet
        station(job, w, c, false);
        return;
    }
  }
}

void interstationAreas(Job& job, const Walk& w) {
  state::AnalysisTables& a = job.analysisTables;
  state::Kov& k = job.kov;
  if (w.isas < 1) return;
  float catchmentSum = 0.0F;
  for (int s = 1; s <= k.nSubAreas; ++s) {
    const auto S = static_cast<std::size_t>(s);
    const int j = a.subAreaMark(S) / isaMarkUnit;
    if (j < 1 || j > k.nIsas) continue;
    const auto J = static_cast<std::size_t>(j);
    const int count = ++a.isaSubAreas(J, 1);
    a.isaSubAreas(J, static_cast<std::size_t>(count + 1)) = s;
    const float area = job.subAreaTables.subArea(S);
    a.isaArea(J) += area;
    catchmentSum += area * a.flowDist(S);
    if (s <= state::LIMAREA) job.genpar.subAreaIsa[S - 1] = j;
  }
  a.avFlowDist = k.catchArea > tiny ? catchmentSum / k.catchArea : 0.0F;
  for (int j = 1; j <= k.nIsas; ++j) {
    const auto J = static_cast<std::size_t>(j);
    if (std::fabs(a.isaAdSum[J - 1]) > tiny && std::fabs(a.isaArea(J)) > tiny)
      a.isaFactor[J - 1] = a.avFlowDist / (a.isaAdSum[J - 1] / a.isaArea(J));
  }
  if (a.avFlowDist <= 0.0F) driver::dataError(job, {" Data error: av. flow dist. <= 0.--check areas & dists."});
  const float scale = 1.0F / a.avFlowDist;
  for (int r = 1; r <= k.nReaches; ++r) job.catchment.relDelay(static_cast<std::size_t>(r)) *= scale;
  for (int j = 1; j <= k.nIsas; ++j) {
    const auto J = static_cast<std::size_t>(j);
    float total = a.isaArea(J);
    for (int u = 1; u <= a.isaUpstream(J, 1); ++u)
      total += a.isaTotalArea(static_cast<std::size_t>(a.isaUpstream(J, static_cast<std::size_t>(1 + u))));
    a.isaTotalArea(J) = total;
  }
  for (int r = 1; r <= k.nReaches; ++r) a.reachIsa[static_cast<std::size_t>(r - 1)] /= isaMarkUnit;
}

}  // namespace

int ioeqfq(const Job& job, int step) {
  const ChannelIO x = channelIO(job, step);
  if (nearest(x.direction) < 1) return 1;
  auto functionOfQ = [&](int at) {
    return std::fabs(stepValue(job, at, 7)) > tiny && std::fabs(stepValue(job, at, 8)) > tiny;
  };
  switch (x.kind) {
    case 1: return functionOfQ(step) ? 1 : 0;
    case 3: return 1;
    case 2: {
      const int at = earlierStep(job, step);
      if (at < 1 || at > job.nSteps) return 0;
      const ChannelIO e = channelIO(job, at);
      return ((e.kind == 1 && functionOfQ(at)) || e.kind == 3 || nearest(e.direction) < 1) ? 1 : 0;
    }
    default: return 0;
  }
}

void chiofq(Job& job, int isa, int step) {
  const state::AnalysisTables& a = job.analysisTables;
  auto concentratedIO = [&](int c) {
    return codeNumber(job.catchment.code(static_cast<std::size_t>(c))) == 9 &&
           a.codeIsa(static_cast<std::size_t>(c)) == isa && channelIO(job, c).reaches == 0;
  };
  auto sign = [&](int c) { return channelIO(job, c).direction >= 0.5F ? 1 : -1; };
  bool unpaired = false;
  for (int c = 1; c <= step && !unpaired; ++c) {
    if (!concentratedIO(c) || ioeqfq(job, c) != 1) continue;
    const int link = channelIO(job, c).link;
    if (link == 0) {
      unpaired = true;
      break;
    }
    int total = 0;
    for (int m = 1; m <= step; ++m)
      if (concentratedIO(m) && channelIO(job, m).link == link) total += sign(c) * sign(m);
    unpaired = total != 0;
  }
  if (!unpaired) return;
  driver::printLine(job, " Data error: channel I/O as function of discharge not");
  driver::printLine(job, " permissible in area for which loss parameter to be calculated,");
  driver::printLine(job, io::Fmt().a(" interstation area ended by code no.").i(6, step));
  driver::clsfil(job);
  driver::endJob(job);
}

void analys(Job& job) {
  state::Kov& k = job.kov;
  if (k.nIsas >= 100) {
    driver::errmess(job, "Increase parameter NISAMAX");
    driver::clsfil(job);
    driver::endJob(job);
  }
  if (k.nHyds > state::NHYDMAX) {
    driver::errmess(job, "Increase parameter NHYDMAX");
    driver::clsfil(job);
    driver::endJob(job);
  }
  state::AnalysisTables& a = job.analysisTables;
  a.isaAdSum.fill(0.0F);
  // The slots take over the table of type-2 reference counts: start it clear.
  std::fill(a.ioSlot.data.begin(), a.ioSlot.data.end(), 0);
  nameUngaugedHydrographs(job);
  givenHydrographs(job);
  Walk w;
  walkControlVector(job, w);
  a.nSavedSlots = std::max(w.maxSlots, 1);
  interstationAreas(job, w);
  driver::printLine(job, "");
  driver::printLine(job, " Data check completed");
  for (int j = 1; j <= k.nIsas; ++j) {
    const int h = job.subAreaTables.isaHyds(static_cast<std::size_t>(j), 1);
    if (h < 1 || h > k.nHyds + 1) continue;
    a.isaName[static_cast<std::size_t>(j - 1)] = std::string(hydrographName(job, h));
    a.isaPeak[static_cast<std::size_t>(j - 1)] = a.hydPeak[static_cast<std::size_t>(h)];
  }
}

}  // namespace kova::engine
