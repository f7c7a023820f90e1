// The parameter summary of a run (kc, m and the loss values finally used) and the
// decimals chooser of the hydrograph table columns.
#pragma once

#include <span>
#include <string>

#include "state/job.h"

namespace kova::engine {

// Writes the summary to `unit` from job.kov (nIsas, nBursts, constantLossModel) and
// job.genpar (singleParamSet, kc, m, initialLoss, lossRate). stationNames[j - 1] is the
// 68-character name of interstation area j's gauging station; a missing one prints blank.
void writeparam(state::Job& job, int unit, std::span<const std::string> stationNames);

// Decimals of a table column whose largest value is x.
int numsigfig(float x);

}  // namespace kova::engine
