// The loss-parameter calculation. Until the volume walk is built the start value of the
// loss parameter is kept and accepted as it is.
#include "engine/losses/loss_calibration.h"

namespace kova::engine {

LosparStatus lospar(state::Job& /*job*/, const LossInputs& /*in*/, const state::RunTables& /*run*/, int /*area*/,
                    int /*burst*/, float& /*lossParam*/, bool& /*reenter*/) {
  return LosparStatus::keep;
}

CheckStatus check(state::Job& /*job*/, const LossInputs& /*in*/, int /*area*/, int /*burst*/, float& /*lossParam*/,
                  float /*recordedVolume*/, bool& /*changedByHand*/) {
  return CheckStatus::accept;
}

}  // namespace kova::engine
