// A special storage's record read back from cvData: its name, starting condition,
// discharge relation and elevation relation, and the storage-elevation look-ups on it.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "state/job.h"

namespace kova::engine {

enum StorageDischargeType : int {
  dischargeFormula = 0,     // S = 3600·ks·Q^ms
  dischargeTable = 1,       // storage-discharge table
  spillwaysAndPipes = 2,
  spillwaysOnly = 3,
};

enum StorageElevationType : int {
  noElevationRelation = 0,
  elevationTableRelation = 1,  // elevations increasing, then their storages
  elevationPowerFunction = 2,  // S = a·(h - h0)^b
};

// One group of identical pipe outlets, as the record holds it.
struct PipeGroup {
  float invert = 0.0F;    // upstream invert elevation, m
  float pipes = 0.0F;     // number of pipes
  float length = 0.0F;    // m
  float gradient = 0.0F;  // %
  float diameter = 0.0F;  // m
};

// Spillways and pipe outlets.
struct OutletWorks {
  std::span<const float> spillways;  // pairs (crest elevation m, length m)
  float weir = 0.0F;                 // weir coefficient
  float entrance = 0.0F;             // pipe entrance loss coefficient
  float bend = 0.0F;                 // pipe bend loss coefficient
  std::span<const float> groups;     // groups of 5 values, in PipeGroup order

  [[nodiscard]] int nSpill() const { return static_cast<int>(spillways.size() / 2); }
  [[nodiscard]] int nGroups() const { return static_cast<int>(groups.size() / 5); }
  [[nodiscard]] float crest(int i) const { return spillways[2 * static_cast<std::size_t>(i - 1)]; }
  [[nodiscard]] float spillLength(int i) const { return spillways[2 * static_cast<std::size_t>(i - 1) + 1]; }
  [[nodiscard]] PipeGroup group(int g) const;  // g from 1
};

struct ElevationRelation {
  int type = noElevationRelation;
  std::span<const float> elevations;  // table
  std::span<const float> storages;
  float a = 0.0F;  // power function
  float b = 0.0F;
  float h0 = 0.0F;
};

struct SpecialStorage {
  int step = 0;
  float code = 0.0F;      // the code value as read (16 asks for the hydrographs)
  bool design = false;    // code 6.1
  std::string name;       // trimmed
  std::size_t startIndex = 0;  // cvData index (from 1) of the starting condition
  float start = 0.0F;     // 0 full, below 0 a drawdown (m³), above 0 a water level (m)
  int dischargeType = dischargeFormula;
  float ks = 0.0F;        // formula
  float ms = 0.0F;
  std::span<const float> tableStorages;  // storage-discharge table
  std::span<const float> tableDischarges;
  OutletWorks outlet;
  ElevationRelation elevation;

  [[nodiscard]] bool hasSpillways() const {
    return dischargeType == spillwaysAndPipes || dischargeType == spillwaysOnly;
  }
};

// The storage of control-vector step `step`. Counts are kept within cvData, so a view
// never reaches past the table.
SpecialStorage specialStorage(const state::Job& job, int step);

// Storage (m³) at water level h, false above an elevation table (s unchanged). Below the
// table the first storage is taken; the power function gives nothing below h0.
bool storageAtLevel(const ElevationRelation& relation, float h, float& s);
// Water level (m) at storage s, false beyond an elevation table (h unchanged).
bool levelAtStorage(const ElevationRelation& relation, float s, float& h);

// The storage at the cease-to-flow level: for spillways the storage at the first pipe
// group's invert (or the first crest); for a formula or table the storage at zero
// discharge itself, which is what the level read back from it holds.
float ceaseToFlowStorage(const SpecialStorage& storage);

}  // namespace kova::engine
