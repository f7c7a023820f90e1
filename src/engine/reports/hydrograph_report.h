// The hydrograph report: title and statistics of one printed hydrograph (or pair), the
// errors at gauging stations, the record kept in the hydrograph store, and `ndecpl`.
#pragma once

#include <span>
#include <string_view>

#include "state/job.h"
#include "state/views.h"

namespace kova::engine {

// Print kinds and which hydrograph is which. Hydrograph 1 is always the one named first:
//   1 gauging station        hyd1 calculated            hyd2 recorded
//   2 print point            hyd1 calculated            (no hyd2)
//   3 sub-area inflow        hyd1 upstream (running)    hyd2 the sub-area's excess inflow
//   4 confluence             hyd1 this branch (running) hyd2 the previous (stored) branch
//   5 reach                  hyd1 reach outflow         hyd2 reach inflow
//   6 special storage        hyd1 storage outflow       hyd2 storage inflow
//   7 translation            hyd1 after translating     hyd2 before
//   8 channel outflow        hyd1 running hydrograph    hyd2 the flow taken off
//   9 channel inflow         hyd1 running hydrograph    hyd2 the flow added
// For kind 1, hyd2 is the recorded column; it is cut to kov.nHydOrds ordinates.
enum PrintKind : int {
  printStation = 1,
  printCalculated = 2,
  printSubArea = 3,
  printConfluence = 4,
  printReach = 5,
  printStorage = 6,
  printTranslation = 7,
  printOutflow = 8,
  printInflow = 9,
};

// The rainfall attached to a print: the joined-burst rainfall and rainfall-excess series
// (mm per increment, position p at [p - 1]) and the burst table that places them in time.
struct PrintRainfall {
  std::span<const float> rain;
  std::span<const float> excess;
  // burst(b, 1) start, (b, 2) finish (increments from the initial time), (b, 3) first and
  // (b, 4) last position of burst b in the joined series.
  state::Mat1<int> burst;
  int nBursts = 0;
  float largest = 0.0F;  // largest rainfall value; the series are attached only above 1e-30
};

// One print, as the run loop and the special storages hand it over.
struct PrintRequest {
  int kind = printCalculated;
  std::string_view title;     // 60 characters: the label words joined (blank-padded or shorter)
  std::string_view longName;  // up to 100 characters; empty or blank when there is none
  float area = 0.0F;          // km² above the point; kept with the request, not printed
  std::span<const float> hyd1;
  std::span<const float> hyd2;  // ignored for kind 2
  float excessCentroid = 0.0F;  // TX, hours from the initial time
  PrintRainfall rainfall;
  bool peakGiven = false;  // store givenPeak as hydrograph 1's peak (the printed one is computed)
  float givenPeak = 0.0F;
};

// Writes the title and statistics of the print to the report unit and keeps it as the next
// record of job.sites (grown as needed), counted in job.genpar.nHydsPrinted. The 3001st
// record ends the job with the NHYDMAX message in the log. The time increment comes from
// job.kov.
void output(state::Job& job, const PrintRequest& request);

// The digit '0'..'9' of the decimals to print x with in a fixed-point field of width w
// with s significant figures and at least d decimals.
char ndecpl(float x, int w, int s, int d);

}  // namespace kova::engine
