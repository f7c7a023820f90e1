// The elevation-storage-discharge table of a special storage with spillways and pipe
// outlets: its elevations, the storages over the elevation relation, and the flows.
#pragma once

#include <span>
#include <vector>

#include "engine/routing/special_storage_record.h"
#include "state/job.h"

namespace kova::engine {

// Elevations per run of the table at most; the steps grow with the height to cover, so
// a run of any sensible height needs far fewer.
inline constexpr int storageTableRunLimit = 1000;

// What one pipe group passes, worked out from its record.
struct PipeFlow {
  bool flows = false;     // at least one pipe of some diameter with a gradient
  double invert = 0.0;    // U, m
  double diameter = 0.0;  // D, m
  double fullCoeff = 0.0;  // C_p: full-pipe flow C_p·sqrt(h - h_p)
  double fullLevel = 0.0;  // h_p, m
  double barrel = 0.0;     // Q_b, the barrel limit, m³/s
  double lowInlet = 0.0;   // A1: inlet flow A1·H^1.9 up to 0.8 D above the invert
  double highInlet = 0.0;  // A2: inlet flow A2·H^1.5 above that
};
PipeFlow pipeFlow(const PipeGroup& group, float entranceLoss, float bendLoss);

// Adds the group's flow at each elevation (increasing) to the discharges, through the
// inlet, barrel and full-pipe phases, which only move forward with the elevation.
void addPipeFlow(const PipeFlow& pipe, std::span<const float> elevations, std::span<float> discharges);

// Adds a spillway's weir flow C_w·L·H^1.5 at each elevation above its crest.
void addSpillwayFlow(float crest, float length, float weir, std::span<const float> elevations,
                     std::span<float> discharges);

// The top of the table over a power-function relation: the first of crest + 1 m ...
// crest + 20 m whose flow through the first spillway (and the first pipe group when
// `pipes`) exceeds the largest inflow; crest + 20 m when none does.
float topElevation(const OutletWorks& works, bool pipes, float largestInflow);

// Appends the elevations of one run from start up to target: steps of 0.1 m, then 0.25 m,
// 0.5 m, then a tenth of the height left (at least 1 m), the last one on the target.
void appendElevationRun(std::vector<float>& elevations, float start, float target);

// Builds the storage's table into job.specialStorages (elevations, storages, discharges).
// An elevation beyond an elevation table ends the job.
void buildStorageTable(state::Job& job, const SpecialStorage& storage, float largestInflow);

}  // namespace kova::engine
