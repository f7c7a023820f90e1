// What the loss step reads from the sub-area, storm and analysis tables, as views, so
// that the loss models can be run on tables built by hand as well as on a read job.
#pragma once

#include <span>
#include <string>

#include "state/job.h"
#include "state/views.h"

namespace kova::engine {

// Increments k are positions in the joined bursts; sub-areas n, pluviographs p, bursts b,
// interstation areas i and hydrograph numbers h are numbered from 1.
struct LossInputs {
  state::Mat1<int> burst;                // (b, 1) start, (b, 3) first increment IS, (b, 4) last IE
  state::Vec1<float> subArea;            // A(n), km²
  state::Vec1<float> fracImperv;         // FI(n), 0..1
  state::Mat1<float> burstDepth;         // (b, n): burst rainfall on entry, rainfall-excess on exit, mm
  state::Mat1<int> pluvioRef;            // (b, n): pluviograph distributing sub-area n's burst depth
  state::Mat1<float> pluvio;             // PL(k, p), mm
  state::Mat1<float> burstTotal;         // PT(b, p), mm; a total of exactly 0 is set to 0.001
  state::Mat1<int> isaSubAreas;          // (i, 1) count, then (i, 1 + m) the sub-areas of area i
  state::Mat1<int> isaUpstream;          // (i, 1) count, then (i, 1 + m) the areas directly upstream
  state::Vec1<float> isaArea;            // AI(i), km²
  state::Vec1<float> isaTotalArea;       // AT(i): everything draining to i's outlet, km²
  state::Mat1<int> isaHyds;              // (i, 1) end hydrograph, (i, 2) count, then (i, 2 + m) upstream ones
  state::Mat1<float> recordedVolume;     // (b, h): burst b's rise volume at hydrograph h, m³
  std::span<const std::string> isaName;  // name of each area's gauging station
};

// The views of a job as the readers and the control-vector analysis leave it (the
// analysis has turned the proportional rise volumes into volumes in place).
LossInputs lossInputsOf(state::Job& job);

}  // namespace kova::engine
