// The loss step as a state machine: ENTER-IL -> LOSE-IL -> PARAMETER, which either goes
// on to the store or returns to ENTER-IL for a new initial loss.
#include "engine/losses/loss_step.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "driver/messages.h"
#include "io/format.h"

namespace kova::engine::losses {

namespace {

constexpr float smallestStartCoefficient = 0.1F;
constexpr float mmPerM3PerKm2 = 0.001F;  // a depth of 1 mm over 1 km² is 1000 m³

// Where the loss parameter comes from.
enum class PairKind {
  given,       // the loss table
  copied,      // the area numbered one lower (the area below the last hydrograph)
  calculated,  // worked out against the recorded volume at the area's station
};

enum class LossState { enterInitialLoss, loseInitialLoss, lossParameter, store };

// Rainfall-excess left after the initial loss, weighted by area: total SX, its
// pervious part PX and the runoff of its impervious part IX.
struct ExcessSums {
  float total = 0.0F;
  float pervious = 0.0F;
  float impervious = 0.0F;
};

// What lives across the returns to ENTER-IL; private to the step of one pair.
struct StepState {
  float initialLoss = 0.0F;
  float lossParam = 0.0F;
  bool reenter = false;
  bool changedByHand = false;
  ExcessSums sums;
};

bool sameValue(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

float& tableEntry(std::array<std::array<float, state::NISAMAX>, state::maxLossBursts>& table, const LossPair& p) {
  return table[ix(p.burst - 1)][ix(p.area - 1)];
}

int endHydrograph(const LossPair& p) { return valueAt(p.in.isaHyds, p.area, 1); }

PairKind kindOf(const LossPair& p) {
  const state::Kov& k = p.job.kov;
  if (k.hasPrintPoints != 1 || k.runType == designRun) return PairKind::given;
  const int end = endHydrograph(p);
  // The area below the last hydrograph has no recorded volume of its own. As area 1
  // there is no area above to copy from, and it keeps the loss table's values.
  if (end == k.nHyds + 1) return p.area > 1 ? PairKind::copied : PairKind::given;
  return end >= 1 && end <= k.nHyds ? PairKind::calculated : PairKind::given;
}

float recordedVolume(const LossPair& p, int hydrograph) { return valueAt(p.in.recordedVolume, p.burst, hydrograph); }

// The recorded depth of the area's own runoff: the volume at its station less the
// volumes recorded directly upstream, mm.
float recordedDepth(const LossPair& p) {
  const state::Mat1<int>& hyds = p.in.isaHyds;
  const int listed = std::max(static_cast<int>(hyds.cols()) - 2, 0);
  const int upstream = std::clamp(valueAt(hyds, p.area, 2), 0, listed);
  float upstreamVolume = 0.0F;
  for (int u = 1; u <= upstream; ++u) upstreamVolume += recordedVolume(p, valueAt(hyds, p.area, 2 + u));
  const float areaKm2 = p.in.isaArea(ix(p.area));
  return share(recordedVolume(p, endHydrograph(p)) - upstreamVolume, areaKm2) * mmPerM3PerKm2;
}

[[noreturn]] void cannotCalculate(const LossPair& p) {
  driver::dataError(p.job, io::Fmt()
                               .a(" Data error: loss parameter of burst")
                               .i(2, p.burst)
                               .a(" of interstation area")
                               .i(2, p.area)
                               .a(" could not be calculated with the initial loss given"));
}

void endIfAbandoned(state::Job& job) {
  if (job.genpar.errorFlag != 0) driver::endJob(job);
}

// ENTER-IL.
void enterInitialLoss(const LossPair& p, PairKind kind, StepState& s) {
  if (kind == PairKind::copied) {
    s.initialLoss = p.run.initialLossUsed(ix(p.burst), ix(p.area - 1));
    return;
  }
  if (p.job.kov.nBursts > 1) driver::printLine(p.job, io::Fmt().a(" Burst no. ").i(2, p.burst));
  float& entry = tableEntry(p.job.genpar.initialLoss, p);
  if (!s.reenter) {
    s.initialLoss = entry;
    return;
  }
  const float before = s.initialLoss;
  p.calls.askInitialLoss("Input initial loss (mm):", s.initialLoss);
  // With the initial loss unchanged the pass would repeat the last one, and so for ever.
  if (sameValue(before, s.initialLoss)) cannotCalculate(p);
  entry = s.initialLoss;
  s.reenter = false;
}

// The rain of sub-area n left after an initial loss of which the pervious part is lost,
// into run.subAreaExcess; returns its sum over the burst.
float excessAfterInitialLoss(const LossPair& p, int n, float fracImperv, float initialLoss) {
  float remaining = (1.0F - fracImperv) * initialLoss;
  bool satisfied = false;
  float sum = 0.0F;
  for (int k = p.first; k <= p.last; ++k) {
    const float rain = p.run.subAreaRain(ix(k), ix(n));
    float excess = rain;
    if (!satisfied) {
      remaining -= rain;
      satisfied = remaining < 0.0F;
      excess = satisfied ? -remaining : 0.0F;
    }
    p.run.subAreaExcess(ix(k), ix(n)) = excess;
    sum += excess;
  }
  return sum;
}

float burstRainOf(const LossPair& p, int n) {
  float sum = 0.0F;
  for (int k = p.first; k <= p.last; ++k) sum += p.run.subAreaRain(ix(k), ix(n));
  return sum;
}

// LOSE-IL. A sub-area with impervious parts whose burst rain does not reach the initial
// loss takes its burst rain as the initial loss, so that the impervious share runs off.
ExcessSums loseInitialLoss(const LossPair& p, float initialLoss) {
  const float impervCoeff = p.job.kov.impervRunoffCoeff;
  const float areaKm2 = p.in.isaArea(ix(p.area));
  ExcessSums sums;
  for (int n : p.subAreas) {
    const float fi = p.in.fracImperv(ix(n));
    float excess = excessAfterInitialLoss(p, n, fi, initialLoss);
    const float burstRain = burstRainOf(p, n);
    if (burstRain < initialLoss && std::fabs(fi) >= nearZero) excess = excessAfterInitialLoss(p, n, fi, burstRain);
    const float w = share(excess * p.in.subArea(ix(n)), areaKm2);
    sums.total += w;
    sums.pervious += w * (1.0F - fi);
    sums.impervious += w * fi * impervCoeff;
  }
  return sums;
}

// The runoff coefficient to start the calculation from: the pervious share of the
// recorded depth once the impervious runoff is taken off.
float startCoefficient(const LossPair& p, const ExcessSums& x) {
  const float depth = recordedDepth(p);
  const float c = x.pervious > 0.0F ? (depth - x.impervious) / x.pervious : depth / x.total;
  return std::max(c, smallestStartCoefficient);
}

// lospar refines the start value and check judges it, as often as check asks.
LossState calibrate(const LossPair& p, StepState& s) {
  state::Job& job = p.job;
  s.changedByHand = false;
  for (;;) {
    const LosparStatus status = p.calls.lospar(job, p.in, p.run, p.area, p.burst, s.lossParam, s.reenter);
    endIfAbandoned(job);
    if (status == LosparStatus::reenterInitialLoss) {
      // Set here as well: a return without it would take the same initial loss again.
      s.reenter = true;
      return LossState::enterInitialLoss;
    }
    const float before = s.lossParam;
    const CheckStatus verdict =
        p.calls.check(job, p.in, p.area, p.burst, s.lossParam, recordedVolume(p, endHydrograph(p)), s.changedByHand);
    endIfAbandoned(job);
    s.reenter = false;
    if (verdict == CheckStatus::reenterInitialLoss) {
      s.reenter = true;
      return LossState::enterInitialLoss;
    }
    if (verdict != CheckStatus::recalculate) return LossState::store;
    // Calculating again from the same value would give the same verdict, for ever.
    if (sameValue(before, s.lossParam)) cannotCalculate(p);
  }
}

// PARAMETER.
LossState lossParameter(const LossPair& p, PairKind kind, StepState& s) {
  switch (kind) {
    case PairKind::given:
      s.lossParam = tableEntry(p.job.genpar.lossRate, p);
      return LossState::store;
    case PairKind::copied:
      s.lossParam = p.run.lossParamUsed(ix(p.burst), ix(p.area - 1));
      return LossState::store;
    case PairKind::calculated:
      break;
  }
  if (p.job.kov.constantLossModel == 1) {
    s.lossParam = 0.0F;
  } else {
    if (s.sums.total <= 0.0F) {
      driver::warnmess(p.job, "No rainfall-excess, try lower initial loss");
      s.reenter = true;
      return LossState::enterInitialLoss;
    }
    s.lossParam = startCoefficient(p, s.sums);
  }
  return calibrate(p, s);
}

void store(const LossPair& p, const StepState& s) {
  p.run.initialLossUsed(ix(p.burst), ix(p.area)) = s.initialLoss;
  p.run.lossParamUsed(ix(p.burst), ix(p.area)) = s.lossParam;
  tableEntry(p.job.genpar.initialLoss, p) = s.initialLoss;
  tableEntry(p.job.genpar.lossRate, p) = s.lossParam;
  p.run.recompute(ix(p.burst), ix(p.area)) = 0;
}

}  // namespace

float lossStep(const LossPair& pair) {
  const PairKind kind = kindOf(pair);
  StepState s;
  LossState state = LossState::enterInitialLoss;
  while (state != LossState::store) {
    switch (state) {
      case LossState::enterInitialLoss:
        enterInitialLoss(pair, kind, s);
        state = LossState::loseInitialLoss;
        break;
      case LossState::loseInitialLoss:
        s.sums = loseInitialLoss(pair, s.initialLoss);
        state = LossState::lossParameter;
        break;
      case LossState::lossParameter:
        state = lossParameter(pair, kind, s);
        break;
      case LossState::store:
        break;
    }
  }
  store(pair, s);
  return s.lossParam;
}

}  // namespace kova::engine::losses
