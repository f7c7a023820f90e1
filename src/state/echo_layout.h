// Stage-5 layout: the data echo's scratch tables, carved after the analysis tables and
// tested against the limits before the echo is written.
#pragma once

#include <cstddef>

#include "state/views.h"

namespace kova::state {

struct Job;

// With B, H, P, I = bursts, hydrographs, pluviographs, interstation areas (each at least 1).
struct EchoTables {
  Vec1<float> columnTotals;  // totals and depths of one column block        [max(B, H, P)]
  Vec1<float> depthFactors;  // m³ per mm over each hydrograph's area (0: none) [H]
  // The stack of stored steps of the control vector, then the interstation areas that
  // hold one sub-area.                                                    [max(I, maxStoreLevel)]
  Vec1<int> stack;
  Vec1<int> stepCodes;       // each step's code as printed, INT(value + 0.05) [steps]
  std::size_t realStart = 0;  // first element of the scratch in realWork
  std::size_t realEnd = 0;    // first free element of realWork after it
  std::size_t intEnd = 0;     // first free element of intWork after it
};

// Lays out job.echoTables after job.analysisTables, cleared; a layout past limReal or
// limInt reports that limit and ends the job (reals first).
void layoutEchoTables(Job& job);

}  // namespace kova::state
