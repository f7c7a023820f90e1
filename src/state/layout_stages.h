// The work-array layouts between the catchment reader and the analysis: the sub-area,
// storm and analysis tables, carved end to end after the tables handed on from before.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "state/limits.h"
#include "state/views.h"

namespace kova::state {

struct Job;

// Laid out after the catchment reader, for the sub-area and storm-header reader.
struct SubAreaTables {
  Vec1<float> subArea;     // sub-area area, km²
  Vec1<float> fracImperv;  // fraction impervious of each sub-area
  // burst(b, 1) start, (b, 2) finish, (b, 3) first and (b, 4) last position of burst b in
  // the joined rainfall series; rows = burstCapacity, later compacted to the burst count.
  Mat1<int> burst;
  int burstCapacity = 0;
  // Hydrographs of each interstation area j, one row per area: (j, 1) the hydrograph
  // number ending it (the catchment reader's isaEnd, moved here), (j, 2) the count of
  // hydrographs directly upstream, then their numbers; a single column without hydrographs.
  Mat1<int> isaHyds;
  std::size_t realEnd = 0;  // first free element of realWork after these tables
  std::size_t intEnd = 0;   // first free element of intWork after the burst table
};

// Laid out from the counts of the storm header, for the storm-data reader. The first
// index of every burst table is the burst, as the loss models read them.
struct StormTables {
  Mat1<float> pluvio;       // pluvio(t, p): rainfall of pluviograph p in joined increment t, mm
  Mat1<float> burstTotal;   // burstTotal(b, p): pluviograph p's total over burst b, mm
  Mat1<float> subAreaRain;  // subAreaRain(b, i): depth on sub-area i in burst b, mm
  Mat1<float> riseVol;      // riseVol(b, k): proportional rise volume of hydrograph k, summing to 1
  Mat1<float> recHyd;       // recHyd(t, k): recorded discharge of hydrograph k at time index t
  int recHydCapacity = 0;   // ordinates each recorded hydrograph may hold
  Mat1<int> pluvioRef;      // pluvioRef(b, i): pluviograph serving sub-area i in burst b
  Mat1<int> hydTimes;       // hydTimes(1, k) first and (2, k) last time increment of hydrograph k
  int pluvioNameWord = 0;   // name-table word of pluviograph 1's name (7 words each)
  int hydNameWord = 0;      // name-table word of hydrograph 1's name (7 words each)
  std::size_t realEnd = 0;  // first free element of realWork after recHyd
  std::size_t intEnd = 0;   // first free element of intWork after hydTimes
};

// Laid out after the storm-data reader for the control-vector analysis, which fills them.
struct AnalysisTables {
  Vec1<int> subAreaMark;    // per sub-area: nesting marker, then 1000 x its interstation area
  Mat1<int> isaUpstream;    // isaUpstream(j, 1) count, then the areas directly upstream of j
  Mat1<int> isaSubAreas;    // isaSubAreas(j, 1) count, then the sub-areas of area j
  Vec1<int> codeIsa;        // per control-vector step: its interstation area
  Vec1<int> hydMark;        // per hydrograph number: nesting marker while the vector is walked
  Vec1<int> isaMark;        // per interstation area: nesting marker while the vector is walked
  Vec1<float> isaArea;      // area of each interstation area, km²
  Vec1<float> isaTotalArea; // area draining to each interstation area's station, km²
  Vec1<float> flowDist;     // flow distance of each sub-area to the outlet, km
  // Per channel I/O record: its saved-I/O slot (0: none). It takes over the catchment
  // reader's table of type-2 reference counts, which nothing needs after the reader.
  Vec1<int> ioSlot;
  std::vector<int> reachIsa;   // [r - 1]: interstation area of reach r (0: none)
  std::vector<float> hydPeak;  // [h]: largest recorded discharge of hydrograph h (1 .. nHyds + 1)
  // Per interstation area (at most NISAMAX): sum of area x flow distance, ISA factor,
  // largest recorded discharge at its station and the station's name.
  std::array<float, NISAMAX> isaAdSum{};
  std::array<float, NISAMAX> isaFactor{};
  std::array<float, NISAMAX> isaPeak{};
  std::array<std::string, NISAMAX> isaName;
  float avFlowDist = 0.0F;  // catchment average flow distance, km
  int nSavedSlots = 1;      // saved-I/O hydrographs the run must hold (at least 1)
  std::size_t realEnd = 0;
  std::size_t intEnd = 0;
};

// Stage 2: moves the catchment reader's tables end to end (narrowing job.catchment to
// their counts) and lays out the sub-area tables and the burst table in what is left.
void layoutSubAreaTables(Job& job);
// Stage 3: compacts the burst table to the burst count, sets nRainIncs from it and lays
// out the storm tables; checks the real, integer and name-table limits.
void layoutStormTables(Job& job);
// Stage 4: compacts the recorded hydrographs to nHydOrds ordinates and lays out the
// analysis tables after them.
void layoutAnalysisTables(Job& job);

}  // namespace kova::state
