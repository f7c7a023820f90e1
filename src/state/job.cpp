// Start-of-job reset and the per-site records.
#include "state/job.h"

namespace kova::state {

void initkova(Job& job) {
  Kov& k = job.kov;
  k.nSubAreas = 0;
  k.nIsas = 0;
  k.nHyds = 0;
  k.maxStoreLevel = 0;
  k.nReaches = 0;
  k.nIOs = 0;
  k.designStorage = 0;
  k.hasPrintPoints = 0;
  job.genpar.nUngauged = 0;
  k.nPluvios = 0;
  k.arealRainFlag = 0;
  k.nHydOrds = 0;
  k.catchArea = 0.0F;
  k.nBursts = 0;
  k.endCheck = -99.0F;
  k.impervRunoffCoeff = 0.9F;
  k.maxRecordedFlow = 1.0F;
  job.genpar.subAreaIsa.fill(0);
}

void setdynamicarrays(Job& job, int /*nTimes*/) {
  SiteStore& store = job.sites;
  const int count = job.siteCount + 1;
  if (count == store.allocatedFor) return;
  // Release everything and start afresh: every series is unallocated again.
  store = SiteStore{};
  const auto n = static_cast<std::size_t>(count);
  store.site.resize(n);
  PlotSettings& p = store.plot;
  for (auto* v : {&p.qmaxi, &p.xUseMax, &p.xActMax, &p.yUseMax, &p.yActMax, &p.PlotLimX, &p.PlotLimY,
                  &p.yUseMax2, &p.yActMax2})
    v->assign(n, 0.0F);
  for (auto* v : {&p.IPlotHyd, &p.yMaxAuto, &p.xMaxAuto, &p.yMaxAuto2, &p.IPlotHydOld, &p.PlotSelSite})
    v->assign(n, 0);
  for (auto* v : {&p.xLabName, &p.yLabName, &p.yVarName, &p.xVarName, &p.Titleplot}) v->assign(n, {});
  store.allocatedFor = count;
}

}  // namespace kova::state
