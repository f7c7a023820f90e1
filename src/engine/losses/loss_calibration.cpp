// The loss-parameter calculation: repeated volume walks that move the loss parameter
// until the volume at the station matches the recorded one, and the verdict on it.
#include "engine/losses/loss_calibration.h"

#include <algorithm>
#include <cmath>

#include "driver/hooks.h"
#include "driver/messages.h"
#include "engine/control_codes.h"
#include "engine/losses/calibration_questions.h"
#include "engine/losses/calibration_walk.h"
#include "engine/losses/loss_pair.h"
#include "engine/routing/special_storage_record.h"
#include "io/format.h"

namespace kova::engine {

namespace {

using losses::ix;
using losses::nearZero;
using losses::valueAt;

constexpr float toleranceM3PerKm2 = 50.0F;  // 0.05 mm
constexpr float lowestCoefficient = 0.01F;
constexpr float mmPerM3PerKm2 = 0.001F;

bool continuingLoss(const state::Job& job) { return job.kov.constantLossModel == 1; }

// Closes the files and sets errorFlag; the loss step ends the job when it sees the flag.
void abandonRun(state::Job& job) { driver::clsfil(job); }

void reportInfeasible(state::Job& job, float volume, float recorded) {
  driver::printLine(job, io::Fmt().a(" Imperv. area r/o + channel inflow - loss to dr/down ").e(10, 3, volume).a(" m\xB3 "));
  driver::printLine(job, io::Fmt().a(" > measured outflow ").e(10, 3, recorded).a(" m\xB3 "));
  driver::printLine(job, std::string(" reduce ") + "fractions impervious, perhaps to zero");
  abandonRun(job);
}

// After the last walk allowed: the current value is adopted, as a batch run answers.
void reportNotConverging(state::Job& job, int area, int burst) {
  driver::warnmess(job, io::Fmt()
                            .a("Loss parameter calculation not converging, burst")
                            .i(3, burst)
                            .a(" interstation area")
                            .i(3, area)
                            .str());
  driver::printLine(job, "");
  driver::printLine(job, io::Fmt().a(" Loss parameter calculation not converging, burst").i(3, burst));
  driver::printLine(job, io::Fmt().a(" interstation area").i(3, area).a(".adopt current value & proceed(Y or N)?"));
  if (ask(job, "Adopt current value & proceed ?", Answer::yes) == Answer::no) abandonRun(job);
}

void reportStationMissing(state::Job& job, int area) {
  driver::printLine(job, io::Fmt()
                             .a(" Data error: gauging station of interstation area")
                             .i(3, area)
                             .a(" not found in control vector"));
  driver::errmess(job, "Fatal error - see output file");
  abandonRun(job);
}

// The special storages of the area whose drawdown at the start took part; returns
// whether any did.
bool reportStorages(state::Job& job, int area) {
  bool tookPart = false;
  const int steps = std::min(job.nSteps, static_cast<int>(job.catchment.code.capacity()));
  for (int step = 1; step <= steps; ++step) {
    const float v = job.catchment.code(ix(step));
    if (codeNumber(v) != 6 || areaOfStep(job, step) != area) continue;
    const StorageDrawdowns d = storageDrawdowns(job, step);
    if (std::fabs(d.atStart) < nearZero) continue;
    driver::printLine(job, "");
    driver::printLine(job, " Special storage: " + specialStorage(job, step).name);
    driver::printLine(job, io::Fmt()
                               .a(" storage increased")
                               .e(10, 3, d.atStart - d.left)
                               .a(" cub.m, current drawdown=")
                               .e(10, 3, d.left)
                               .a(" cub.m"));
    tookPart = true;
  }
  return tookPart;
}

}  // namespace

LosparStatus lospar(state::Job& job, const LossInputs& in, const state::RunTables& run, int area, int burst,
                    float& lossParam, bool& reenter) {
  reenter = false;
  const float recorded = valueAt(in.recordedVolume, burst, valueAt(in.isaHyds, area, 1));
  const float areaKm2 = area >= 1 && ix(area) <= in.isaArea.capacity() ? in.isaArea(ix(area)) : 0.0F;
  const int walks = std::max(job.kov.iterLimit, 1);
  for (int walk = 1;; ++walk) {
    const VolumeWalk w = walkVolume(job, in, run, area, burst, lossParam, walk == 1);
    if (job.genpar.errorFlag != 0) return LosparStatus::keep;
    if (!w.reachedStation) {
      reportStationMissing(job, area);
      return LosparStatus::keep;
    }
    const float v = w.volume;
    if (std::fabs(areaKm2) > nearZero && std::fabs(v - recorded) / areaKm2 < toleranceM3PerKm2)
      return LosparStatus::keep;
    const bool cannotLower = continuingLoss(job) ? w.excessWeight <= 0.0F : lossParam <= lowestCoefficient;
    if (recorded < v && cannotLower) {
      reportInfeasible(job, v, recorded);
      return LosparStatus::keep;
    }
    if (walk >= walks) {
      reportNotConverging(job, area, burst);
      return LosparStatus::keep;
    }
    if (v <= 0.0F || w.excessWeight <= 0.0F) {
      driver::warnmess(job, " No rainfall-excess, try lower initial loss ");
      reenter = true;
      return LosparStatus::reenterInitialLoss;
    }
    if (continuingLoss(job))
      lossParam += (v - recorded) / w.excessWeight * mmPerM3PerKm2 / job.kov.timeInc;
    else
      lossParam *= recorded / v;
  }
}

CheckStatus check(state::Job& job, const LossInputs& /*in*/, int area, int /*burst*/, float& lossParam,
                  float recordedVolume, bool& changedByHand) {
  if (continuingLoss(job)) {
    driver::printLine(job, io::Fmt().a(" Continuing loss rate =").f(7, 2, lossParam).a(" mm/h"));
    if (lossParam < 0.0F) {
      driver::warnmess(job, "Note negative loss rate. Lower initial loss or drawdown required");
      if (ask(job, "Want lower initial loss?", Answer::no) == Answer::no) {
        abandonRun(job);
        return CheckStatus::accept;
      }
      return CheckStatus::reenterInitialLoss;
    }
  } else {
    driver::printLine(job, io::Fmt().a("  Runoff coeff. (pervious area) =").f(5, 2, lossParam));
    if (lossParam > 1.0F && ask(job, "Runoff coeff. > 1.0, want lower initial loss?", Answer::no) == Answer::yes)
      return CheckStatus::reenterInitialLoss;
    if (lossParam < 0.0F &&
        ask(job, "Note negative coeff., want to increase initial loss?", Answer::no) == Answer::yes)
      return CheckStatus::reenterInitialLoss;
  }
  const bool storageTookPart = reportStorages(job, area);
  if (recordedVolume > 0.0F) return CheckStatus::accept;
  driver::printLine(job, " No flow passed gauging station");
  if (!storageTookPart) return CheckStatus::accept;
  if (!changedByHand) driver::warnmess(job, " Losses & storage contents indeterminate");
  if (ask(job, "Want to change current runoff coeff./loss rate?", Answer::no) == Answer::no)
    return CheckStatus::accept;
  driver::getwinreal("New loss rate:", lossParam);
  changedByHand = true;
  return CheckStatus::recalculate;
}

}  // namespace kova::engine
