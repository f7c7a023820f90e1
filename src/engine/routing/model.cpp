// The model run: the run header, the losses, the routing header and parameter summary,
// then one walk of the control vector carrying the running hydrograph Q down the network.
#include "engine/routing/model.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "driver/messages.h"
#include "engine/control_codes.h"
#include "engine/print_label.h"
#include "engine/losses/loss_models.h"
#include "engine/reports/hydrograph_report.h"
#include "engine/reports/parameter_summary.h"
#include "engine/routing/reach_routing.h"
#include "engine/routing/special_storage.h"
#include "io/format.h"
#include "override/hydrograph_override.h"

namespace kova::engine {

namespace {

using state::Job;

constexpr float tiny = 1.0E-30F;
constexpr int runNumber = 1;  // a job has one run

// A reach or translation number as two 4-character words, tens digit then units digit.
std::string digitWords(int n) {
  std::string words = "0   0   ";
  words[0] = static_cast<char>('0' + (n / 10) % 10);
  words[4] = static_cast<char>('0' + n % 10);
  return words;
}

std::string runTypeWord(int runType) {
  static constexpr const char* words[] = {"FIT   ", "TEST  ", "DESIGN"};
  return runType >= 1 && runType <= 3 ? words[runType - 1] : "      ";
}

bool calculating(const Job& job) { return job.kov.runType == 1 || job.kov.runType == 2; }

// The distributed channel I/O being spread over the reaches below it.
struct Lateral {
  int reachesLeft = 0;
  int step = 0;          // its control-vector step
  int record = 0;        // its channel I/O record number
  int kind = 0;
  int hydrograph = 0;    // kind 0: the given hydrograph it took
  float sign = 1.0F;     // +1 inflow, -1 outflow
  float code = 0.0F;
  float totalLength = 0.0F;
};

struct Walk {
  Job& job;
  state::RoutingTables& rt;
  std::span<float> q;
  int nt = 0;
  float volume = 0.0F;    // V: inflow volume making up Q, m³
  float centroid = 0.0F;  // T: its centroid, hours
  int depth = 0;
  int subArea = 0, reach = 0, hydrograph = 0, record = 0, translation = 0;
  Lateral lateral{};
};

int isaOfStep(const Job& job, int step) {
  const int j = job.analysisTables.codeIsa(static_cast<std::size_t>(step));
  return (j >= 1 && j <= job.kov.nIsas) ? j : 0;
}

std::span<const float> recordedColumn(const Job& job, int h) {
  const state::Mat1<float>& rec = job.stormTables.recHyd;
  if (h < 1 || h > job.kov.nHyds || rec.rows == 0) return {};
  return std::span<const float>(rec.data).subspan(static_cast<std::size_t>(h - 1) * rec.rows, rec.rows);
}

// The area above the step: the cumulative area of its interstation area, 0 in none.
float areaAbove(const Job& job, int step) {
  const int j = isaOfStep(job, step);
  return j == 0 ? 0.0F : job.analysisTables.isaTotalArea(static_cast<std::size_t>(j));
}

// The catchment-average rainfall and excess of the step's interstation area go with a print.
PrintRainfall rainfallOf(const Job& job, int step) {
  PrintRainfall r;
  const int j = isaOfStep(job, step);
  const state::RunTables& run = job.runTables;
  if (j == 0 || run.catchRain.rows == 0) return r;
  const std::size_t rows = run.catchRain.rows;
  const std::size_t at = static_cast<std::size_t>(j - 1) * rows;
  r.rain = std::span<const float>(run.catchRain.data).subspan(at, rows);
  r.excess = std::span<const float>(run.catchExcess.data).subspan(at, rows);
  r.burst = job.subAreaTables.burst;
  r.nBursts = job.kov.nBursts;
  for (float v : r.rain) r.largest = std::max(r.largest, v);
  return r;
}

void print(Walk& w, int kind, const std::string& title, std::span<const float> hyd1, std::span<const float> hyd2,
           int step) {
  PrintRequest request;
  request.kind = kind;
  request.title = title;
  request.area = areaAbove(w.job, step);
  request.hyd1 = hyd1;
  request.hyd2 = hyd2;
  request.excessCentroid = w.centroid;
  request.rainfall = rainfallOf(w.job, step);
  output(w.job, request);
}

std::string nameWords(const Job& job, float nameIndex) {
  return std::string(state::nameAt(job.work, nearest(nameIndex)));
}

std::string hydrographName(const Job& job, int h) {
  return std::string(state::nameAt(job.work, job.stormTables.hydNameWord + state::nameWords * (h - 1)));
}

// The I/O description: its own name words, or for a given hydrograph that hydrograph's name.
std::string description(const Job& job, int step, int hydrograph) {
  const ChannelIO x = channelIO(job, step);
  return x.kind == 0 ? hydrographName(job, hydrograph) : nameWords(job, x.fifth);
}

[[noreturn]] void outsideTable(Job& job, int step, float discharge, const std::string& name) {
  driver::printLine(job, " Discharge outside range of discharge-I/O table at " + name);
  driver::printLine(job, io::Fmt().a(" code no.").i(4, step).a("   discharge (m\xB3/s)=").f(9, 2, discharge));
  driver::clsfil(job);
  driver::endJob(job);
}

// The I/O value of a record at ordinate t with the running discharge Q(t).
struct IOValue {
  Job& job;
  int step;
  int kind;
  int hydrograph;     // kind 0
  int slot;           // kind 2
  bool windowOnly;    // kind 0 of a distributed I/O: only inside the given hydrograph's window
  std::string name;
  int position = 1;   // kind 3: remembered table position

  float operator()(int t, float discharge) {
    switch (kind) {
      case 0: {
        std::span<const float> rec = recordedColumn(job, hydrograph);
        if (windowOnly) {
          const int first = job.stormTables.hydTimes(1, static_cast<std::size_t>(hydrograph)) + 1;
          const int last = job.stormTables.hydTimes(2, static_cast<std::size_t>(hydrograph)) + 1;
          if (t < first || t > last) return 0.0F;
        }
        return static_cast<std::size_t>(t) <= rec.size() ? rec[static_cast<std::size_t>(t - 1)] : 0.0F;
      }
      case 1: {
        const float a = stepValue(job, step, 5), c = stepValue(job, step, 6);
        const float b = stepValue(job, step, 7), d = stepValue(job, step, 8);
        return a + b * std::pow(std::max(discharge - c, 1.0E-20F), d);
      }
      case 2:
        return slot >= 1 ? job.routingTables.savedIO(static_cast<std::size_t>(t), static_cast<std::size_t>(slot)) : 0.0F;
      case 3: {
        const int m = nearest(stepValue(job, step, 5));
        const auto start = static_cast<std::size_t>(job.catchment.stepData(step) - 1 + 6);
        std::span<const float> pool(job.catchment.cvData.data);
        std::span<const float> x = pool.subspan(start, static_cast<std::size_t>(m));
        std::span<const float> y = pool.subspan(start + static_cast<std::size_t>(m), static_cast<std::size_t>(m));
        float value = 0.0F;
        if (interp(position, x, y, discharge, value) != 0) outsideTable(job, step, discharge, name);
        return value;
      }
      default: return 0.0F;
    }
  }
};

void addSubAreaInflow(Walk& w, float v, int step) {
  Job& job = w.job;
  const int s = ++w.subArea;
  state::RoutingTables& rt = w.rt;
  if (v >= 10.0F) {
    std::copy(w.q.begin(), w.q.end(), rt.columnA.data.begin());
    std::fill(rt.columnB.data.begin(), rt.columnB.data.end(), 0.0F);
  }
  const state::Kov& k = job.kov;
  const state::Mat1<int>& burst = job.subAreaTables.burst;
  float sum = 0.0F;
  float moment = 0.0F;
  if (k.nIsas >= 1) {
    for (int b = 1; b <= k.nBursts; ++b) {
      const auto B = static_cast<std::size_t>(b);
      const int first = burst(B, 3);
      for (int kk = first; kk <= burst(B, 4); ++kk) {
        const int t = burst(B, 1) + 2 + (kk - first);
        if (t < 1 || t > w.nt) continue;
        const float e = job.runTables.subAreaExcess(static_cast<std::size_t>(kk), static_cast<std::size_t>(s));
        w.q[static_cast<std::size_t>(t - 1)] += e;
        sum += e;
        moment += (static_cast<float>(t) - 1.5F) * e;
        if (v > 10.0F) rt.columnB(static_cast<std::size_t>(t)) = e;
      }
    }
  }
  w.volume += sum * k.timeIncSec;
  if (std::fabs(w.volume) > tiny)
    w.centroid = (moment * k.timeIncSec * k.timeInc + (w.volume - sum * k.timeIncSec) * w.centroid) / w.volume;
  if (v >= 10.0F) {
    const std::string letter(1, job.carr.letters[static_cast<std::size_t>((s - 1) % 26)]);
    print(w, printSubArea, printLabel("Sub-area inflow point, sub-area ", letter), rt.columnA.data, rt.columnB.data,
          step);
  }
}

// Applies half of the running distributed I/O over reach r to Q.
void lateralHalf(Walk& w, int r, IOValue& value) {
  Lateral& l = w.lateral;
  const float length = w.job.catchment.reachLength(static_cast<std::size_t>(r));
  for (int t = 1; t <= w.nt; ++t) {
    float& qt = w.q[static_cast<std::size_t>(t - 1)];
    float add = value(t, qt) * length * 0.5F * l.sign / l.totalLength;
    if (qt + add < 0.0F) add = -qt;
    if (l.code >= 10.0F) w.rt.lateralColumn(static_cast<std::size_t>(t)) += add * l.sign;
    qt += add;
  }
}

void routeReach(Walk& w, int r) {
  Job& job = w.job;
  const float kr = job.catchment.relDelay(static_cast<std::size_t>(r));
  if (kr <= tiny) return;  // a reach without delay passes Q unchanged
  const state::Genpar& g = job.genpar;
  float kk = 0.0F;
  float m = 0.0F;
  if (g.singleParamSet == 1) {
    kk = g.kc[0] * kr;
    m = g.m[0];
  } else {
    int j = job.analysisTables.reachIsa[static_cast<std::size_t>(r - 1)];
    // A reach below the last station lies in no area: it takes the parameters of the
    // most downstream one.
    if (j < 1 || j > job.kov.nIsas) j = std::max(job.kov.nIsas, 1);
    const auto J = static_cast<std::size_t>(j - 1);
    kk = job.analysisTables.isaFactor[J] * g.kc[J] * kr;
    m = g.m[J];
  }
  RoutePeaks peaks;
  route(job, w.q, w.q, kk, m, r, "", peaks);
}

void reach(Walk& w, float v, int step) {
  const int r = ++w.reach;
  state::RoutingTables& rt = w.rt;
  const bool reachPrinted = v >= 10.5F;
  if (reachPrinted) std::copy(w.q.begin(), w.q.end(), rt.columnA.data.begin());
  Lateral& l = w.lateral;
  if (l.reachesLeft <= 0) {
    routeReach(w, r);
  } else {
    const int slot = w.job.analysisTables.ioSlot(static_cast<std::size_t>(l.record));
    IOValue value{w.job, l.step, l.kind, l.hydrograph, slot, true, description(w.job, l.step, l.hydrograph)};
    if (l.code >= 10.0F) std::fill(rt.lateralColumn.data.begin(), rt.lateralColumn.data.end(), 0.0F);
    lateralHalf(w, r, value);
    --l.reachesLeft;
    routeReach(w, r);
    lateralHalf(w, r, value);
    if (l.code >= 10.0F) {
      const std::string base = "reach   " + digitWords(r) + "Lateral " + (l.sign < 0.0F ? "outflow:" : "inflow: ");
      print(w, l.sign < 0.0F ? printOutflow : printInflow, printLabel(base, value.name), w.q, rt.lateralColumn.data, step);
    }
  }
  if (reachPrinted) print(w, printReach, printLabel("Normal storage, reach no.", digitWords(r)), w.q, rt.columnA.data, step);
}

void storeBranch(Walk& w) {
  state::RoutingTables& rt = w.rt;
  const auto level = static_cast<std::size_t>(++w.depth);
  std::span<float> stored = rt.branchStack.data.subspan((level - 1) * rt.branchStack.rows, rt.branchStack.rows);
  std::copy(w.q.begin(), w.q.end(), stored.begin());
  std::fill(w.q.begin(), w.q.end(), 0.0F);
  rt.volumeStack(level) = w.volume;
  rt.centroidStack(level) = w.centroid;
  w.volume = 0.0F;
  w.centroid = 0.0F;
}

void addBranch(Walk& w, float v, int step) {
  state::RoutingTables& rt = w.rt;
  if (w.depth < 1) return;  // the reader balances codes 3 and 4
  const auto level = static_cast<std::size_t>(w.depth);
  const float vs = rt.volumeStack(level);
  const float ts = rt.centroidStack(level);
  w.volume += vs;
  if (std::fabs(w.volume) > tiny) w.centroid = (vs * ts + (w.volume - vs) * w.centroid) / w.volume;
  std::span<float> stored = rt.branchStack.data.subspan((level - 1) * rt.branchStack.rows, rt.branchStack.rows);
  if (v >= 10.0F) print(w, printConfluence, printLabel("Confluence at d/s end of reach  ", digitWords(w.reach)), w.q, stored, step);
  for (std::size_t t = 0; t < w.q.size(); ++t) w.q[t] += stored[t];
  --w.depth;
}

void printPoint(Walk& w, float v, int step) {
  Job& job = w.job;
  const float cm = v - 10.0F * std::trunc(v / 10.0F);
  int kind = static_cast<int>(std::trunc(72.5F - 10.0F * cm));
  if (kind == 0) kind = printStation;
  std::string title;
  int h = 1;
  if (kind == printCalculated) {
    title = printLabel("Calculated hydrograph,", nameWords(job, stepValue(job, step, 0)));
  } else {
    h = ++w.hydrograph;
    title = printLabel("Gauging station at:", hydrographName(job, h));
    const auto& flags = job.genpar.isUngauged;
    if (static_cast<std::size_t>(h) < flags.size() && flags[static_cast<std::size_t>(h)] == 1) kind = printCalculated;
  }
  if (job.genpar.overrideFlag == 1) override_::overridePrintPoint(job, w.q);
  print(w, kind, title, w.q, recordedColumn(job, h), step);
}

void translate(Walk& w, float v, int step) {
  ++w.translation;
  state::RoutingTables& rt = w.rt;
  if (v >= 10.0F) std::copy(w.q.begin(), w.q.end(), rt.columnA.data.begin());
  const int d = nearest(stepValue(w.job, step, 0));
  const auto n = static_cast<int>(w.q.size());
  if (d > 0) {
    const int shift = std::min(d, n);
    std::copy_backward(w.q.begin(), w.q.end() - shift, w.q.end());
    std::fill(w.q.begin(), w.q.begin() + shift, 0.0F);
  } else if (d < 0) {
    const int shift = std::min(-d, n);
    std::copy(w.q.begin() + shift, w.q.end(), w.q.begin());
    std::fill(w.q.end() - shift, w.q.end(), 0.0F);
  }
  if (v >= 10.0F)
    print(w, printTranslation, printLabel("Hydrograph translation no.", digitWords(w.translation)), w.q, rt.columnA.data,
          step);
}

void channelIOStep(Walk& w, float v, int step) {
  Job& job = w.job;
  const int io = ++w.record;
  const ChannelIO x = channelIO(job, step);
  const float sign = x.direction >= 0.5F ? 1.0F : -1.0F;
  const int hydrograph = x.kind == 0 ? ++w.hydrograph : 0;
  if (x.reaches >= 1) {
    Lateral& l = w.lateral;
    l = Lateral{};
    l.reachesLeft = x.reaches;
    l.step = step;
    l.record = io;
    l.kind = x.kind;
    l.hydrograph = hydrograph;
    l.sign = sign;
    l.code = v;
    for (int r = w.reach + 1; r <= std::min(w.reach + x.reaches, job.kov.nReaches); ++r)
      l.totalLength += job.catchment.reachLength(static_cast<std::size_t>(r));
    return;
  }
  state::RoutingTables& rt = w.rt;
  const int slot = job.analysisTables.ioSlot(static_cast<std::size_t>(io));
  const bool follow = nearest(x.direction) == -1;
  IOValue value{job, step, x.kind, hydrograph, x.kind == 2 ? slot : 0, false, description(job, step, hydrograph)};
  float sum = 0.0F;
  float moment = 0.0F;
  for (int t = 1; t <= w.nt; ++t) {
    float& qt = w.q[static_cast<std::size_t>(t - 1)];
    float io_q = value(t, qt);
    if (qt + sign * io_q < 0.0F) io_q = qt;
    if (v > 10.0F || follow) rt.ioColumn(static_cast<std::size_t>(t)) = io_q;
    if (slot >= 1) rt.savedIO(static_cast<std::size_t>(t), static_cast<std::size_t>(slot)) = io_q;
    qt += sign * io_q;
    sum += io_q;
    moment += static_cast<float>(t - 1) * io_q;
  }
  if (sign > 0.0F) {
    const state::Kov& k = job.kov;
    w.volume += sum * k.timeIncSec;
    if (std::fabs(w.volume) > tiny)
      w.centroid = (moment * k.timeIncSec * k.timeInc + (w.volume - sum * k.timeIncSec) * w.centroid) / w.volume;
  }
  if (v >= 10.0F) {
    const std::string base = std::string("Concentrated channel") + (sign < 0.0F ? " outflow" : " inflow ") + " at ";
    print(w, sign < 0.0F ? printOutflow : printInflow, printLabel(base, value.name), w.q, rt.ioColumn.data, step);
  }
  if (follow) {
    // The running hydrograph follows the diverted flow; the rest may be saved.
    if (slot >= 1)
      for (int t = 1; t <= w.nt; ++t)
        rt.savedIO(static_cast<std::size_t>(t), static_cast<std::size_t>(slot)) = w.q[static_cast<std::size_t>(t - 1)];
    std::copy(rt.ioColumn.data.begin(), rt.ioColumn.data.begin() + w.nt, w.q.begin());
  }
}

BasinCall storageCall(Walk& w, int step) {
  return BasinCall{step, w.q, &w.volume, &w.centroid, w.centroid, areaAbove(w.job, step), rainfallOf(w.job, step)};
}

void runHeader(Job& job) {
  const state::Kov& k = job.kov;
  driver::printLine(job, "");
  driver::printLine(job, "");
  driver::printLine(job, " Input of parameters:");
  driver::printLine(job, " " + std::string(20, '*'));
  driver::printLine(job, "");
  driver::printLine(job, " " + job.carr.catchName);
  driver::printLine(job, " " + runTypeWord(k.runType) + " Run");
  if (calculating(job)) driver::printLine(job, " Initial time:");
  driver::printLine(job, " " + job.carr.stormTitle);
  driver::printLine(job, io::Fmt().a(" Time increment =").f(5, 2, k.timeInc).a(" hours"));
  driver::printLine(job, "");
}

void routingHeader(Job& job) {
  const state::Kov& k = job.kov;
  driver::printLine(job, "");
  driver::printLine(job, "");
  driver::printLine(job, " Routing results:");
  driver::printLine(job, " " + std::string(16, '*'));
  driver::printLine(job, " " + job.carr.catchName);
  if (calculating(job)) driver::printLine(job, " Initial time: ");
  driver::printLine(job, " " + job.carr.stormTitle);
  if (k.nReaches >= 1) {
    driver::printLine(job, io::Fmt().a(" " + runTypeWord(k.runType) + " run no. ").i(2, runNumber));
    driver::printLine(job, "");
  }
  writeparam(job, job.unitid.printUnit, job.analysisTables.isaName);
}

}  // namespace

void model(Job& job) {
  const state::Kov& k = job.kov;
  runHeader(job);
  if (k.nIsas >= 1) {
    driver::printLine(job, k.constantLossModel == 1 ? " Constant loss model selected"
                                                    : " Runoff coefficient loss model selected");
    markAllPairsActive(job.runTables);
    losmod(job, runNumber, lossInputsOf(job), job.runTables);
  }
  routingHeader(job);

  state::RoutingTables& rt = job.routingTables;
  Walk w{job, rt, rt.running.data.first(static_cast<std::size_t>(std::max(job.nTimes, 1)))};
  w.nt = static_cast<int>(w.q.size());
  std::fill(w.q.begin(), w.q.end(), 0.0F);
  for (int c = 1; c <= job.nSteps; ++c) {
    const float v = job.catchment.code(static_cast<std::size_t>(c));
    const int n = codeNumber(v);
    if (n < 1 || n > 9) break;
    switch (n) {
      case 1:
      case 2:
        addSubAreaInflow(w, v, c);
        reach(w, v, c);
        break;
      case 5: reach(w, v, c); break;
      case 3: storeBranch(w); break;
      case 4: addBranch(w, v, c); break;
      case 6: basin(job, storageCall(w, c)); break;
      case 7: printPoint(w, v, c); break;
      case 8: translate(w, v, c); break;
      case 9: channelIOStep(w, v, c); break;
      default: break;
    }
    if (job.genpar.errorFlag != 0) return;
  }
  if (k.nReaches == 0 && k.nIsas == 0) return;
  markAllPairsActive(job.runTables);
}

}  // namespace kova::engine
