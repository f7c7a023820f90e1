// Per-site records: the hydrograph store filled by the hydrograph report and written
// as the final tables, with the per-site plot settings of a plotting front end.
#pragma once

#include <string>
#include <vector>

namespace kova::state {

// Summary figures of one stored hydrograph.
struct HydStats {
  float peak = 0.0F;
  float timeToPeak = 0.0F;
  float volume = 0.0F;
  float timeToCentroid = 0.0F;
  float lag = 0.0F;        // centroid to centroid
  float lagToPeak = 0.0F;
};

// A series that is "unallocated" until the report fills it.
struct Series {
  bool allocated = false;
  std::vector<float> values;
};

struct Site {
  int rainfallFlag = 0;
  int ungaugedFlag = 0;
  std::string title;                 // 100 characters
  std::string label12a, label12b;    // 12 characters each
  std::string label8a, label8b;      // 8 characters each
  int kind = 0;                      // 1 one hydrograph, 2 two
  int nOrd1 = 0, nOrd2 = 0, nOrdHyet = 0;
  Series hyd1, hyd2, hyet, xshyet;
  HydStats stats1, stats2;
};

// Plot settings, one entry per site.
struct PlotSettings {
  std::vector<float> qmaxi, xUseMax, xActMax, yUseMax, yActMax, PlotLimX, PlotLimY, yUseMax2,
      yActMax2;
  std::vector<int> IPlotHyd, yMaxAuto, xMaxAuto;
  std::vector<std::string> xLabName, yLabName, yVarName, xVarName, Titleplot;
  std::vector<int> yMaxAuto2, IPlotHydOld, PlotSelSite;
};

struct SiteStore {
  int allocatedFor = -1;  // site count of the last allocation, -1 before the first
  std::vector<Site> site;
  PlotSettings plot;
};

}  // namespace kova::state
