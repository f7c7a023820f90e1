// The shared blocks and run-wide groups of a job: file units, fixed texts, counts and
// switches, parameter-file settings and the window/message group.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "state/limits.h"

namespace kova::state {

// File unit numbers.
struct Unitid {
  int catchmentUnit = 1;
  int stormUnit = 3;
  int consoleInUnit = 5;
  int outputUnit = 2;
  int consoleOutUnit = 6;
  int printUnit = 6;  // the unit reports go to; the output unit during a job
};
inline constexpr int logUnit = 66;
inline constexpr int paramUnit = 41;

// Fixed texts and titles.
struct Carr {
  std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string stars = "****";
  std::string catchName;  // 68 characters, trimmed
  char commentMark = 'C';
  std::array<std::string, 10> digitWords{"1   ", "2   ", "3   ", "4   ", "5   ",
                                         "6   ", "7   ", "8   ", "9   ", "0   "};
  std::string runTypeText;  // "FIT", "TEST" or "DESIGN" as read
  std::string stormTitle;   // 68 characters, trimmed
  char answer = 'Y';
};

// Counts, switches, limits and the time increment.
struct Kov {
  float catchArea = 0.0F;
  float impervRunoffCoeff = 0.9F;
  int nRainIncs = 0;
  int limReal = state::limReal;
  int limChar = state::limChar;
  int limInt = state::limInt;
  int iterLimit = 50;
  int lineWidth = 80;
  int nHydOrds = 0;
  int designStorage = 0;
  int hasPrintPoints = 0;
  int constantLossModel = 1;
  int printOption = 0;
  int impervFlag = 0;
  int arealRainFlag = 0;
  int runType = 0;  // 1 FIT, 2 TEST, 3 DESIGN
  int nBursts = 0;
  int nHyds = 0;
  int nIsas = 0;
  int nIOs = 0;
  int nReaches = 0;
  int nPluvios = 0;
  int nSubAreas = 0;
  int maxStoreLevel = 0;
  float maxRecordedFlow = 1.0F;
  float endCheck = -99.0F;
  float timeIncSec = 0.0F;
  float timeInc = 0.0F;
};

// Run-wide settings: the parameter file, the job's files and shared per-job tables.
struct Genpar {
  int errorFlag = 0;

  std::string paramFile;  // trimmed
  std::string catchmentFile;
  std::string stormFile;
  std::string outputFile;
  int singleParamSet = 1;
  int printOption = 3;
  int lossModelOption = 1;
  int nIsaParams = 0;
  std::array<float, NISAMAX> kc{};
  std::array<float, NISAMAX> m{};
  int nBurstParams = 0;
  // Loss table: [burst - 1][area - 1].
  std::array<std::array<float, NISAMAX>, maxLossBursts> initialLoss{};
  std::array<std::array<float, NISAMAX>, maxLossBursts> lossRate{};
  std::string snowmeltFile;
  int snowmeltFlag = 0;
  std::string overrideFile;
  int overrideFlag = 0;

  // Per hydrograph number: 1 at an ungauged interstation location (code 7.2).
  // Indexed by the number itself: nHyds + 1 entries, entry 0 unused.
  std::vector<int> isUngauged;
  int nUngauged = 0;
  std::vector<std::string> ungaugedNames;  // 68 characters each, trimmed

  int nSpecialStorages = 0;
  std::vector<std::string> storageNames;  // 38-character entries: the 28-character name, blank-padded

  // Per-sub-area interstation-area number.
  std::array<int, LIMAREA> subAreaIsa{};

  int nHydsPrinted = 0;        // hydrographs printed, handed to the table writer
  float tableTimeInc = 0.0F;   // time increment (h) handed to the table writer

  // Design-storm settings that no input of this engine sets, so they stay off: a
  // pre-burst applied to the pluviographs, and an embedded burst filtered out of them
  // with its temporal pattern (percent) before and after and the rainfall removed.
  int preBurstApplied = 0;
  int embeddedBurstFiltered = 0;
  std::vector<float> burstPatternOriginal;
  std::vector<float> burstPatternFiltered;
  float burstRainFilteredPercent = 0.0F;
};

// Window and message group: version, parameter folder, log file, message buffer.
struct Genwin {
  std::string versionTag;
  std::string versionDate;
  std::string paramFolder;
  std::string logFile;
  std::string message;
};

// Gate-operations settings named by the parameter file.
struct Kovagateops {
  std::string gateOpsFile;
  int gateOpsFlag = 0;
  std::string gateOpsTag;   // "GATE" when a gate-operations file is named
  std::string gateOpsSite;  // 10 characters
};

// Hydrograph override: the recorded series of the override list and the two counters the
// run loop advances at its print points. Rows are numbered from 0 (hydrograph i in row i - 1).
struct HydrographoverrideParameters {
  int nOverrideHydrographs = 0;
  float overrideValue = 0.0F;  // read from the list file, not used
  int nOverrideValues = 0;
  std::vector<std::string> HydrographFilePaths;
  std::vector<std::string> HydrographNames;
  std::vector<int> HydrographCalcOrder;              // one more entry than rows; the last stays 0
  std::vector<std::vector<float>> HydrographSeries;  // empty for a file that failed
  int overrideNext = 1;     // next recorded hydrograph to apply
  int printPointCount = 1;  // number of the next print point
  bool lengthWarned = false;  // the cut of a series longer than the run has been logged
};

}  // namespace kova::state
