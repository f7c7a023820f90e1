// Stage-5 layout: the data echo's scratch after the analysis tables.
#include "state/echo_layout.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "driver/messages.h"
#include "state/job.h"
#include "state/layout_support.h"

namespace kova::state {

namespace {

using layout::atLeastOne;
using layout::Count;
using layout::limitOf;

}  // namespace

void layoutEchoTables(Job& job) {
  const Kov& k = job.kov;
  WorkArrays& w = job.work;
  const AnalysisTables& a = job.analysisTables;
  const Count B = atLeastOne(k.nBursts);
  const Count H = atLeastOne(k.nHyds);
  const Count P = atLeastOne(k.nPluvios);
  const Count I = atLeastOne(k.nIsas);
  const Count steps = atLeastOne(job.nSteps);
  const Count blockLength = std::max({B, H, P});
  const Count stackLength = std::max<Count>(I, k.maxStoreLevel);

  const Count realEnd = static_cast<Count>(a.realEnd) + blockLength + H;
  const Count intEnd = static_cast<Count>(a.intEnd) + stackLength + steps;
  if (realEnd > limitOf(w.realWork, k.limReal)) driver::storageLimitExceeded(job, driver::Storage::real);
  if (intEnd > limitOf(w.intWork, k.limInt)) driver::storageLimitExceeded(job, driver::Storage::integer);

  EchoTables& t = job.echoTables;
  std::size_t r = a.realEnd;
  t.realStart = r;
  t.columnTotals.data = layout::carve(w.realWork, r, blockLength);
  t.depthFactors.data = layout::carve(w.realWork, r, H);
  t.realEnd = r;
  std::size_t i = a.intEnd;
  t.stack.data = layout::carve(w.intWork, i, stackLength);
  t.stepCodes.data = layout::carve(w.intWork, i, steps);
  t.intEnd = i;
}

}  // namespace kova::state
