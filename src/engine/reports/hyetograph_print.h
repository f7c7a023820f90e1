// The hyetograph print of one burst of one interstation area: rainfall or rainfall-excess,
// catchment and area averages, and in the long form the depth on every sub-area.
#pragma once

#include <span>
#include <string_view>

#include "state/job.h"
#include "state/views.h"

namespace kova::engine {

inline constexpr int hyetographRain = 1;
inline constexpr int hyetographExcess = 2;

// What the loss step hands over for one print. Increments are positions k of the joined
// bursts (the burst table's columns 3 and 4); sub-areas are numbered from 1.
struct HyetographPrint {
  int mode = hyetographRain;  // 1 rainfall, 2 rainfall-excess
  int burst = 1;              // J
  int area = 1;               // I, the interstation area
  state::Mat1<float> subAreaDepth;        // (k, n): depth on sub-area n in increment k, mm
  state::Mat1<float> burstDepth;          // (b, n): depth on sub-area n over burst b, mm
  std::span<const float> areaAverage;     // interstation-area average at increment k, [k - 1]
  float areaSum = 0.0F;                   // its sum over the burst
  std::span<const float> catchmentAverage;  // average over the catchment above the area's outlet
  float catchmentTotal = 0.0F;              // its burst total
  std::span<const int> subAreas;          // the area's sub-areas, in list order
  state::Mat1<int> pluvioRef;             // (b, n): pluviograph serving sub-area n in burst b
  // burst(b, 1) start (increments from the initial time), (b, 3) first and (b, 4) last
  // position of burst b in the joined series.
  state::Mat1<int> burstTable;
  std::string_view stationName;  // the area's gauging station, 28 characters
};

// Writes the hyetograph to the report unit; the layout follows job.kov (nBursts, nIsas,
// arealRainFlag, impervFlag, lineWidth). Values outside the tables print as 0.
void hyprin(state::Job& job, const HyetographPrint& print);

}  // namespace kova::engine
