// The run tables of the model run, carved from the work arrays after the analysis
// tables: the loss step's rainfall and excess series, its per-burst results and flags.
#pragma once

#include <cstddef>

#include "state/views.h"

namespace kova::state {

struct Job;

// Rows are the rainfall increments k of the joined bursts (N) or the bursts b (B);
// columns the sub-areas n (S) or the interstation areas i (I).
struct RunTables {
  Mat1<float> subAreaRain;      // R(k, n): rainfall on sub-area n, mm                     [N x S]
  Mat1<float> subAreaExcess;    // E(k, n): rain left after the initial loss, then the
                                // rainfall-excess (mm), finally the inflow (m³/s)         [N x S]
  Vec1<float> areaAverage;      // work series: the interstation-area average, mm           [N]
  Mat1<float> catchRain;        // (k, i): rainfall averaged over the area above i's outlet [N x I]
  Mat1<float> catchExcess;      // (k, i): the same for the rainfall-excess                 [N x I]
  Mat1<float> burstRain;        // (b, i): catchment-average burst rainfall, mm             [B x I]
  Mat1<float> burstExcess;      // (b, i): catchment-average burst excess, mm               [B x I]
  Mat1<float> initialLossUsed;  // (b, i): mm                                               [B x I]
  Mat1<float> lossParamUsed;    // (b, i): runoff coefficient or continuing loss, mm/h      [B x I]
  Mat1<int> recompute;          // (b, i): 1 while the loss step of the pair is to be done  [B x I]

  // The run loop's routing tables belong here, after the loss tables; they are carved
  // in placeRunTables (run_layout.cpp) in the order they are declared.

  std::size_t realEnd = 0;  // first free element of realWork after the run tables
  std::size_t intEnd = 0;   // first free element of intWork after the run tables
};

enum class RunLayoutStatus {
  ok,
  realLimit,     // the reals pass limReal: report the real storage limit
  integerLimit,  // the integers pass limInt: report the integer storage limit
};

// Lays out job.runTables from element realStart of realWork and intStart of intWork (the
// first elements after the analysis tables), every table cleared, with the counts of
// job.kov (each taken as at least 1). The real end is tested before the integer end;
// on a failed status nothing is changed and the caller reports that limit.
RunLayoutStatus layoutRunTables(Job& job, std::size_t realStart, std::size_t intStart);

}  // namespace kova::state
