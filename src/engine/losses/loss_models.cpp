// The loss models over every interstation area and burst: rainfall on the sub-areas,
// the loss step, the excess after the loss parameter, the averages over the area and
// the catchment above it, and the inflow of each sub-area.
#include "engine/losses/loss_models.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <vector>

#include "driver/messages.h"
#include "engine/losses/loss_pair.h"
#include "engine/losses/loss_step.h"
#include "engine/reports/hyetograph_print.h"
#include "io/format.h"

namespace kova::engine {

namespace {

using losses::ix;
using losses::LossPair;
using losses::nearZero;
using losses::share;

constexpr float zeroTotalReplacement = 0.001F;
constexpr float m3PerMmKm2 = 1000.0F;

int smallest(std::initializer_list<std::size_t> sizes) {
  return static_cast<int>(std::min<std::size_t>(std::min(sizes), INT_MAX));
}

// How far the tables reach: increments, sub-areas, interstation areas and bursts that
// every table the loss step touches holds.
struct Extent {
  int incs = 0;
  int subAreas = 0;
  int areas = 0;
  int bursts = 0;
};

Extent extentOf(const LossInputs& in, const state::RunTables& r) {
  Extent e;
  e.incs = smallest({r.subAreaRain.rows, r.subAreaExcess.rows, r.areaAverage.capacity(), r.catchRain.rows,
                     r.catchExcess.rows, in.pluvio.rows});
  e.subAreas = smallest({in.subArea.capacity(), in.fracImperv.capacity(), in.burstDepth.cols(), in.pluvioRef.cols(),
                         r.subAreaRain.cols(), r.subAreaExcess.cols()});
  e.areas = smallest({in.isaSubAreas.rows, in.isaUpstream.rows, in.isaHyds.rows, in.isaArea.capacity(),
                      in.isaTotalArea.capacity(), r.catchRain.cols(), r.catchExcess.cols(), r.burstRain.cols(),
                      r.burstExcess.cols(), r.initialLossUsed.cols(), r.lossParamUsed.cols(), r.recompute.cols(),
                      ix(state::NISAMAX)});
  e.bursts = smallest({in.burst.cols() >= 4 ? in.burst.rows : 0, in.burstDepth.rows, in.pluvioRef.rows,
                       in.burstTotal.rows, r.burstRain.rows, r.burstExcess.rows, r.initialLossUsed.rows,
                       r.lossParamUsed.rows, r.recompute.rows, ix(state::maxLossBursts)});
  return e;
}

// The loss table holds the losses of this many bursts and areas only.
void refuseBeyondLossTable(state::Job& job) {
  const state::Kov& k = job.kov;
  if (k.nBursts <= state::maxLossBursts && k.nIsas <= state::NISAMAX) return;
  driver::dataError(job, io::Fmt()
                             .a(" Data error: losses needed for")
                             .i(4, k.nBursts)
                             .a(" bursts and")
                             .i(4, k.nIsas)
                             .a(" interstation areas;")
                             .slash()
                             .a(" the loss table holds")
                             .i(2, state::maxLossBursts)
                             .a(" bursts and")
                             .i(3, state::NISAMAX)
                             .a(" areas"));
}

// The sub-areas of `area` in list order.
void subAreasOf(const LossInputs& in, int area, const Extent& e, std::vector<int>& list) {
  list.clear();
  const int listed = std::max(static_cast<int>(in.isaSubAreas.cols()) - 1, 0);
  const int count = std::clamp(losses::valueAt(in.isaSubAreas, area, 1), 0, listed);
  for (int m = 1; m <= count; ++m) {
    const int n = in.isaSubAreas(ix(area), ix(1 + m));
    if (n >= 1 && n <= e.subAreas) list.push_back(n);
  }
}

std::span<float> column(const state::Mat1<float>& table, int j) {
  return table.data.subspan(ix(j - 1) * table.rows, table.rows);
}

// The burst rainfall on every sub-area from its pluviograph, the area average
// and the catchment average of the area's own part. Returns the area average's sum.
float distributeRainfall(const LossPair& p) {
  const LossInputs& in = p.in;
  state::RunTables& run = p.run;
  const auto b = ix(p.burst);
  const auto i = ix(p.area);
  const float areaKm2 = in.isaArea(i);
  const float ownShare = share(areaKm2, in.isaTotalArea(i));
  const int pluvios = smallest({in.pluvio.cols(), in.burstTotal.cols()});
  float sum = 0.0F;
  for (int k = p.first; k <= p.last; ++k) {
    float average = 0.0F;
    for (int n : p.subAreas) {
      const float depth = in.burstDepth(b, ix(n));
      const int pl = in.pluvioRef(b, ix(n));
      float rain = 0.0F;
      if (std::fabs(depth) >= nearZero && pl >= 1 && pl <= pluvios) {
        float& total = in.burstTotal(b, ix(pl));
        if (total == 0.0F) total = zeroTotalReplacement;  // exactly 0: the pattern is all zeros
        rain = depth * in.pluvio(ix(k), ix(pl)) / total;
      }
      run.subAreaRain(ix(k), ix(n)) = rain;
      average += share(in.subArea(ix(n)) * rain, areaKm2);
    }
    run.areaAverage(ix(k)) = average;
    run.catchRain(ix(k), i) = average * ownShare;
    sum += average;
  }
  run.burstRain(b, i) = sum * ownShare;
  return sum;
}

// Adds the catchment averages (rainfall or excess) of the areas directly upstream,
// weighted by the share of the catchment above each of them.
void addUpstream(const LossPair& p, const state::Mat1<float>& series, const state::Mat1<float>& burstTotals,
                 int areas) {
  const LossInputs& in = p.in;
  const auto b = ix(p.burst);
  const auto i = ix(p.area);
  const int listed = std::max(static_cast<int>(in.isaUpstream.cols()) - 1, 0);
  const int count = std::clamp(losses::valueAt(in.isaUpstream, p.area, 1), 0, listed);
  for (int m = 1; m <= count; ++m) {
    const int u = in.isaUpstream(i, ix(1 + m));
    if (u < 1 || u > areas) continue;
    const float w = share(in.isaTotalArea(ix(u)), in.isaTotalArea(i));
    for (int k = p.first; k <= p.last; ++k) series(ix(k), i) += w * series(ix(k), ix(u));
    burstTotals(b, i) += w * burstTotals(b, ix(u));
  }
}

// The loss parameter applied to the rain left after the initial loss. Returns
// the area average of the sub-areas' excess depths.
float applyLossParameter(const LossPair& p, float c) {
  const state::Kov& k = p.job.kov;
  const LossInputs& in = p.in;
  state::RunTables& run = p.run;
  const auto b = ix(p.burst);
  const auto i = ix(p.area);
  const bool continuingLoss = k.constantLossModel == 1;
  const float impervCoeff = k.impervRunoffCoeff;
  const float areaKm2 = in.isaArea(i);
  const float totalKm2 = in.isaTotalArea(i);
  for (int t = p.first; t <= p.last; ++t) {
    run.catchExcess(ix(t), i) = 0.0F;
    run.areaAverage(ix(t)) = 0.0F;
  }
  run.burstExcess(b, i) = 0.0F;
  float areaSum = 0.0F;
  for (int n : p.subAreas) {
    const float fi = in.fracImperv(ix(n));
    const float a = in.subArea(ix(n));
    // Below the impervious coefficient the pervious and impervious parts are weighted.
    float x = c;
    if (continuingLoss) {
      x = c * k.timeInc * (1.0F - fi);
    } else if (c < impervCoeff) {
      x = c + fi * (impervCoeff - c);
    }
    float depth = 0.0F;
    for (int t = p.first; t <= p.last; ++t) {
      float& e = run.subAreaExcess(ix(t), ix(n));
      e = std::max(continuingLoss ? e - x : x * e, 0.0F);
      run.areaAverage(ix(t)) += share(e * a, areaKm2);
      run.catchExcess(ix(t), i) += share(e * a, totalKm2);
      depth += e;
    }
    in.burstDepth(b, ix(n)) = depth;
    areaSum += share(depth * a, areaKm2);
    run.burstExcess(b, i) += share(depth * a, totalKm2);
  }
  return areaSum;
}

// The excess as inflow: mm over the sub-area in one increment to m³/s.
void convertToInflow(const LossPair& p) {
  const float seconds = p.job.kov.timeIncSec;
  for (int n : p.subAreas) {
    const float a = p.in.subArea(ix(n));
    for (int t = p.first; t <= p.last; ++t) {
      float& e = p.run.subAreaExcess(ix(t), ix(n));
      e = share(e * m3PerMmKm2 * a, seconds);
    }
  }
}

void printHyetograph(const LossPair& p, int run, int mode, float areaSum) {
  if (run != 1 || p.job.kov.printOption < 2) return;
  const bool rain = mode == hyetographRain;
  const state::RunTables& r = p.run;
  HyetographPrint print;
  print.mode = mode;
  print.burst = p.burst;
  print.area = p.area;
  print.subAreaDepth = rain ? r.subAreaRain : r.subAreaExcess;
  print.burstDepth = p.in.burstDepth;
  print.areaAverage = r.areaAverage.data;
  print.areaSum = areaSum;
  print.catchmentAverage = column(rain ? r.catchRain : r.catchExcess, p.area);
  print.catchmentTotal = (rain ? r.burstRain : r.burstExcess)(ix(p.burst), ix(p.area));
  print.subAreas = p.subAreas;
  print.pluvioRef = p.in.pluvioRef;
  print.burstTable = p.in.burst;
  if (ix(p.area) <= p.in.isaName.size()) print.stationName = p.in.isaName[ix(p.area - 1)];
  hyprin(p.job, print);
}

void lossesOfPair(const LossPair& p, int run, int areas) {
  const float rainSum = distributeRainfall(p);
  addUpstream(p, p.run.catchRain, p.run.burstRain, areas);
  printHyetograph(p, run, hyetographRain, rainSum);
  const float c = losses::lossStep(p);
  const float excessSum = applyLossParameter(p, c);
  addUpstream(p, p.run.catchExcess, p.run.burstExcess, areas);
  printHyetograph(p, run, hyetographExcess, excessSum);
  convertToInflow(p);
}

}  // namespace

void markAllPairsActive(state::RunTables& run) { std::fill(run.recompute.data.begin(), run.recompute.data.end(), 1); }

void losmod(state::Job& job, int run, const LossInputs& in, state::RunTables& out, const LossCalls& calls) {
  refuseBeyondLossTable(job);
  const Extent e = extentOf(in, out);
  const int areas = std::min(job.kov.nIsas, e.areas);
  const int bursts = std::min(job.kov.nBursts, e.bursts);
  std::vector<int> subAreas;
  subAreas.reserve(ix(std::max(e.subAreas, 0)));
  for (int i = 1; i <= areas; ++i) {
    subAreasOf(in, i, e, subAreas);
    for (int b = 1; b <= bursts; ++b) {
      if (out.recompute(ix(b), ix(i)) == 0) continue;
      LossPair pair{
          job, in, out, calls, i, b, std::max(in.burst(ix(b), 3), 1), std::min(in.burst(ix(b), 4), e.incs), subAreas};
      lossesOfPair(pair, run, areas);
    }
  }
}

}  // namespace kova::engine
