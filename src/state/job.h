// The state of one job: every shared block, the work arrays, the open files and the
// hydrograph store, owned by one object that the routines are handed.
#pragma once

#include <stdexcept>
#include <vector>

#include "io/units.h"
#include "state/blocks.h"
#include "state/echo_layout.h"
#include "state/layout_stages.h"
#include "state/routing_layout.h"
#include "state/run_layout.h"
#include "state/sites.h"
#include "state/work_arrays.h"

namespace kova::state {

// What the special storages keep: the inflow of the storage being routed, its computed
// elevation-storage-discharge table (sized once per job, reused by every storage) and the
// results of each storage for the reports.
struct SpecialStorageResult {
  int step = 0;                 // control-vector step of the storage
  int dischargeType = 0;
  int nSpill = 0;
  int nGroups = 0;
  float peakOutflow = 0.0F;     // m³/s
  float peakStorage = 0.0F;     // m³
  bool elevationKnown = false;  // a peak elevation was found in the elevation relation
  float peakElevation = 0.0F;   // m
};
struct SpecialStorageWork {
  std::vector<float> inflow;  // the running hydrograph as it arrives at the storage
  std::vector<float> elevations, storages, discharges;
  std::vector<SpecialStorageResult> results;
};

struct Job {
  Unitid unitid;
  Carr carr;
  Kov kov;
  Genpar genpar;
  Genwin genwin;
  Kovagateops gateops;
  WorkArrays work;
  CatchmentTables catchment;  // stage-1 tables, laid out before the catchment reader
  int nSteps = 0;             // control-vector steps read
  int nextNameWord = 1;       // next free word of the name table
  int siteCount = 0;          // hydrograph sites to keep, counted from the control vector
  bool snowmeltLoaded = false;  // the snowmelt file was read completely
  SiteStore sites;
  io::Units units;
  SubAreaTables subAreaTables;    // stage 2: sub-area and burst tables
  StormTables stormTables;        // stage 3: pluviographs, rainfalls, recorded hydrographs
  AnalysisTables analysisTables;  // stage 4: tables the control-vector analysis fills
  int nTimes = 0;                 // ordinates of the storm: time increments read + 1
  int burst1Finish = 0;           // finish of burst 1, for the special storages and snowmelt
  RunTables runTables;            // stage 6: the loss step's tables, then the run loop's
  RoutingTables routingTables;    // stage 6: the run loop's work space
  EchoTables echoTables;          // stage 5: the data echo's scratch
  HydrographoverrideParameters hydrographOverride;  // recorded series replacing print points
  SpecialStorageWork specialStorages;  // the special storages' work tables and results
};

// Thrown once a fatal condition has been reported and errorFlag set; the job driver
// catches it and ends the job.
struct JobEnded : std::exception {
  [[nodiscard]] const char* what() const noexcept override { return "job ended on a fatal error"; }
};

// Resets the counts of the kov block and the per-area tables at the start of a job.
void initkova(Job& job);

// (Re)allocates the hydrograph store and plot settings for siteCount + 1 sites; nothing
// happens when the count is that of the last call.
void setdynamicarrays(Job& job, int nTimes);

}  // namespace kova::state
