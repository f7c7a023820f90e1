// The volume walk of the loss-parameter calculation: sub-area excess, the stored-volume
// stack of branches, special-storage drawdowns, channel I/O and upstream recorded volumes.
#include "engine/losses/calibration_walk.h"

#include <algorithm>
#include <vector>

#include "engine/control_codes.h"
#include "engine/input/storage_reader.h"
#include "engine/losses/loss_pair.h"
#include "engine/routing/analysis.h"
#include "engine/routing/special_storage_drawdown.h"

namespace kova::engine {

namespace {

using losses::ix;
using losses::nearZero;
using losses::valueAt;

constexpr float levelThreshold = 1.0E-10F;  // a starting value above this is a water level
constexpr float m3PerMmKm2 = 1000.0F;

// The distributed channel I/O being shared out over the reaches below it.
struct Lateral {
  int reachesLeft = 0;
  float volume = 0.0F;
  float totalWeight = 0.0F;
  int reaches = 0;
};

struct Walker {
  state::Job& job;
  const LossInputs& in;
  const state::RunTables& run;
  int area;
  int burst;
  float c;
  bool firstWalk;
  VolumeWalk result;
  std::vector<float> stack;  // volumes of the stored branches
  Lateral lateral;
  int subArea = 0, reach = 0, hydrograph = 0;
};

float dataAt(const state::Job& job, int step, int offset) {
  const std::size_t i = static_cast<std::size_t>(job.catchment.stepData(ix(step)) + offset);
  return i >= 1 && i <= job.catchment.cvData.capacity() ? job.catchment.cvData(i) : 0.0F;
}

float* dataSlot(state::Job& job, int step, int offset) {
  const std::size_t i = static_cast<std::size_t>(job.catchment.stepData(ix(step)) + offset);
  return i >= 1 && i <= job.catchment.cvData.capacity() ? &job.catchment.cvData(i) : nullptr;
}

bool inList(const state::Mat1<int>& list, int row, int first, int value) {
  const int listed = std::max(static_cast<int>(list.cols()) - first + 1, 0);
  const int count = std::clamp(valueAt(list, row, first - 1), 0, listed);
  for (int m = 0; m < count; ++m)
    if (valueAt(list, row, first + m) == value) return true;
  return false;
}

float reachWeight(const state::Job& job, int r) {
  return r >= 1 && ix(r) <= job.catchment.reachLength.capacity() ? job.catchment.reachLength(ix(r)) : 0.0F;
}

float lossParameterX(const Walker& w, int n) {
  const float fi = w.in.fracImperv(ix(n));
  const state::Kov& k = w.job.kov;
  if (k.constantLossModel == 1) return w.c * k.timeInc * (1.0F - fi);
  const float cimp = k.impervRunoffCoeff;
  return w.c < cimp ? w.c + fi * (cimp - w.c) : w.c;
}

void countReach(Walker& w, int step) {
  ++w.reach;
  Lateral& l = w.lateral;
  if (l.reachesLeft <= 0) return;
  --l.reachesLeft;
  if (areaOfStep(w.job, step) != w.area) return;
  // Reaches of no length at all would share nothing; the analysis refuses them, so an
  // equal share is only a guard.
  const float share = l.totalWeight > nearZero ? reachWeight(w.job, w.reach) / l.totalWeight
                                               : 1.0F / static_cast<float>(std::max(l.reaches, 1));
  w.result.volume += l.volume * share;
}

void subAreaInflow(Walker& w, int step) {
  const int n = ++w.subArea;
  if (inList(w.in.isaSubAreas, w.area, 2, n)) {
    const bool continuing = w.job.kov.constantLossModel == 1;
    const float x = lossParameterX(w, n);
    const int first = valueAt(w.in.burst, w.burst, 3);
    const int last = std::min(valueAt(w.in.burst, w.burst, 4), static_cast<int>(w.run.subAreaExcess.rows));
    float sum = 0.0F;
    int wet = 0;
    for (int k = std::max(first, 1); k <= last; ++k) {
      const float e0 = w.run.subAreaExcess(ix(k), ix(n));
      const float excess = std::max(0.0F, continuing ? e0 - x : e0 * x);
      sum += excess;
      if (excess > 0.0F) ++wet;
    }
    const float a = w.in.subArea(ix(n));
    w.result.volume += sum * a * m3PerMmKm2;
    w.result.excessWeight += a * static_cast<float>(wet);
  }
  countReach(w, step);
}

void specialStorage(Walker& w, int step) {
  if (areaOfStep(w.job, step) != w.area) return;
  namespace slots = storage_slots;
  float* start = dataSlot(w.job, step, slots::drawdown);
  float* atStart = dataSlot(w.job, step, slots::engineFirst);
  float* left = dataSlot(w.job, step, slots::engineSecond);
  if (start == nullptr || atStart == nullptr || left == nullptr) return;
  if (*start > levelThreshold) startingDrawdown(w.job, step);
  if (w.burst == 1) *left = -*start;
  if (w.firstWalk) *atStart = *left;
  const DrawdownShare s = takeByDrawdown(w.result.volume, *atStart);
  w.result.volume = s.passed;
  *left = s.left;
}

// The volume of a channel I/O that does not depend on the stream flow, m³.
float ioVolume(Walker& w, int step, int hydrograph) {
  const state::Kov& k = w.job.kov;
  int at = step;
  // A kind 2 takes the I/O it repeats; a chain of them is followed at most once per step.
  for (int hops = 0; hops <= w.job.nSteps; ++hops) {
    const ChannelIO x = channelIO(w.job, at);
    switch (x.kind) {
      case 0: {
        const int h = at == step ? hydrograph : nearest(x.fifth);
        return valueAt(w.in.recordedVolume, w.burst, h);
      }
      case 1:
        if (w.burst != 1) return 0.0F;
        return (dataAt(w.job, at, 5) + dataAt(w.job, at, 7)) * static_cast<float>(k.nHydOrds - 1) * k.timeIncSec;
      case 2: {
        const int earlier = earlierStep(w.job, at);
        if (earlier < 1 || earlier >= at || codeNumber(w.job.catchment.code(ix(earlier))) != 9) return 0.0F;
        at = earlier;
        break;
      }
      default:
        return 0.0F;
    }
  }
  return 0.0F;
}

void channelIOStep(Walker& w, int step) {
  const ChannelIO x = channelIO(w.job, step);
  const int hydrograph = x.kind == 0 ? ++w.hydrograph : 0;
  const float q = ioeqfq(w.job, step) == 1 ? 0.0F : ioVolume(w, step, hydrograph);
  if (x.reaches > 0) {
    Lateral& l = w.lateral;
    l = Lateral{x.reaches, q, 0.0F, x.reaches};
    for (int r = w.reach + 1; r <= w.reach + x.reaches; ++r) l.totalWeight += reachWeight(w.job, r);
    return;
  }
  if (areaOfStep(w.job, step) == w.area) w.result.volume += q;
}

// Returns true at the area's station.
bool station(Walker& w) {
  const int h = ++w.hydrograph;
  if (h == valueAt(w.in.isaHyds, w.area, 1)) return true;
  if (inList(w.in.isaHyds, w.area, 3, h)) w.result.volume += valueAt(w.in.recordedVolume, w.burst, h);
  return false;
}

}  // namespace

int areaOfStep(const state::Job& job, int step) {
  const state::Vec1<int>& codeIsa = job.analysisTables.codeIsa;
  return step >= 1 && ix(step) <= codeIsa.capacity() ? codeIsa(ix(step)) : 0;
}

StorageDrawdowns storageDrawdowns(const state::Job& job, int step) {
  return {dataAt(job, step, storage_slots::engineFirst), dataAt(job, step, storage_slots::engineSecond)};
}

VolumeWalk walkVolume(state::Job& job, const LossInputs& in, const state::RunTables& run, int area, int burst,
                      float c, bool firstWalk) {
  Walker w{job, in, run, area, burst, c, firstWalk, {}, {}, {}};
  const int steps = std::min(job.nSteps, static_cast<int>(job.catchment.code.capacity()));
  for (int step = 1; step <= steps; ++step) {
    const float v = job.catchment.code(ix(step));
    const float r = v - 10.0F * std::trunc(v / 10.0F);
    switch (codeNumber(v)) {
      case 0:
        return w.result;
      case 1:
      case 2:
        subAreaInflow(w, step);
        break;
      case 3:
        w.stack.push_back(w.result.volume);
        w.result.volume = 0.0F;
        break;
      case 4:
        if (!w.stack.empty()) {
          w.result.volume += w.stack.back();
          w.stack.pop_back();
        }
        break;
      case 5:
        countReach(w, step);
        break;
      case 6:
        specialStorage(w, step);
        if (job.genpar.errorFlag != 0) return w.result;
        break;
      case 7:
        if (r >= 7.05F && station(w)) {
          w.result.reachedStation = true;
          return w.result;
        }
        break;
      case 9:
        channelIOStep(w, step);
        break;
      default:
        break;
    }
  }
  return w.result;
}

}  // namespace kova::engine
