// Data echo: each special storage with its initial condition, its storage-discharge
// relation (formula, table, or spillways with or without pipe outlets; the design line
// for a storage to be designed) and its elevation-storage relation.
#include <algorithm>
#include <cmath>

#include "engine/control_codes.h"
#include "engine/input/storage_reader.h"
#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"
#include "engine/reports/hydrograph_report.h"

namespace kova::engine::echo {

namespace {

namespace slots = storage_slots;

enum DischargeType { formula = 0, storageTable = 1, spillwaysAndPipes = 2, spillwaysOnly = 3 };
enum ElevationType { noElevation = 0, elevationTable = 1, elevationFunction = 2 };
constexpr int pipeGroupValues = 5;  // invert, number of pipes, length, gradient, diameter
constexpr int designPipeValues = 3;
constexpr int designSpillwayValues = 1;

// The values of one storage step, read from its first cvData value on.
struct StorageData {
  state::Job& job;
  int step = 0;
  float value(int k) const { return stepData(job, step, k); }
  int count(int k) const { return std::max(stepInteger(job, step, k), 0); }
};

void writeInitialCondition(state::Job& job, float drawdown) {
  if (std::fabs(drawdown) <= 1.0E-30F) {
    line(job, " Initial water level at cease to flow elevation");
  } else if (drawdown < 0.0F) {
    // A drawdown is kept as a negative volume; the line says "below", so it shows its size.
    line(job, io::Fmt().a(" Initial drawdown= ").e(10, 3, -drawdown).a(" cub. m. below cease").a(" to flow elevation"));
  } else {
    line(job, io::Fmt().a(" Initial water level at elevation").f(7, 2, drawdown).a(" m"));
  }
}

void writeLossCoefficients(state::Job& job, float entrance, float bend) {
  line(job, " Pipe outlet data:");
  line(job, io::Fmt().x(10).a("Entrance loss coeff.= ").f(5, 3, entrance).x(5).a("Bend loss coeff.= ").f(5, 3, bend));
}

// Returns the offset of the value after the table.
int writeStorageTable(state::Job& job, const StorageData& s, int from) {
  const int n = s.count(from);
  const int storages = from + 1;
  const int discharges = storages + n;
  const char decimals = ndecpl(n >= 1 ? s.value(discharges + n - 1) : 0.0F, 13, 4, 0);
  line(job, " Storage (m\xB3) - Discharge (m\xB3/s) table");
  for (int i = 0; i < n; ++i)
    line(job, io::Fmt().x(1).p(1).e(10, 3, s.value(storages + i)).p(0).f(13, decimals - '0', s.value(discharges + i)));
  emptyLines(job, 1);
  return discharges + n;
}

// Spillways, the weir coefficient and, for type 2, the pipe outlets; returns the offset
// of the value after them.
int writeOutletWorks(state::Job& job, const StorageData& s, int type, int from) {
  const int nSpill = s.count(from);
  int k = from + 1;
  line(job, " Spillway data:");
  for (int i = 0; i < nSpill; ++i, k += 2)
    line(job, io::Fmt().x(10).a("Elevation(m)= ").f(8, 2, s.value(k)).x(4).a("Length(m)= ").f(7, 1, s.value(k + 1)));
  line(job, io::Fmt().x(10).a("Weir coeff. = ").f(5, 2, s.value(k)));
  ++k;
  if (type != spillwaysAndPipes) return k;
  writeLossCoefficients(job, s.value(k), s.value(k + 1));
  k += 2;
  const int nGroups = s.count(k);
  ++k;
  for (int g = 1; g <= nGroups; ++g, k += pipeGroupValues) {
    if (nGroups > 1) line(job, io::Fmt().x(1).a("Group").i(2, g));
    line(job, io::Fmt()
                  .x(10)
                  .a("Length(m)= ")
                  .f(5, 0, s.value(k + 2))
                  .a("  Gradient(%)=")
                  .f(6, 3, s.value(k + 3))
                  .a(" U/S invert el.(m)=")
                  .f(8, 2, s.value(k))
                  .slash()
                  .x(10)
                  .a("No. of pipes=")
                  .f(3, 0, s.value(k + 1))
                  .x(5)
                  .a("Diameter (m)= ")
                  .f(5, 3, s.value(k + 4)));
  }
  return k;
}

// An existing storage's discharge part; returns the offset of its elevation part.
int writeExisting(state::Job& job, const StorageData& s, int type) {
  writeInitialCondition(job, s.value(slots::drawdown));
  const int from = slots::dischargeData;
  switch (type) {
    case formula:
      line(job, io::Fmt()
                    .a(" Storage-discharge reln.:")
                    .x(1)
                    .a("Storage = 3600*")
                    .e(9, 3, s.value(from))
                    .a("*(disch)**")
                    .f(5, 2, s.value(from + 1))
                    .a(" cub. m."));
      return from + 2;
    case storageTable: return writeStorageTable(job, s, from);
    default: return writeOutletWorks(job, s, type, from);
  }
}

// A storage to be designed: the trial coefficients of its record. A formula record
// carries none, so it has no line here.
int writeDesign(state::Job& job, const StorageData& s, int type) {
  const int from = slots::dischargeData;
  if (type != spillwaysAndPipes && type != spillwaysOnly) return from;
  line(job, io::Fmt().a(" Spillway:   Weir coeff.= ").f(5, 2, s.value(from)));
  if (type == spillwaysOnly) return from + designSpillwayValues;
  writeLossCoefficients(job, s.value(from + 1), s.value(from + 2));
  return from + designPipeValues;
}

void writeElevationRelation(state::Job& job, const StorageData& s, int from) {
  switch (s.count(from)) {
    case elevationTable: {
      const int n = s.count(from + 1);
      line(job, " Elevation (m) - Storage (m\xB3) table");
      for (int i = 0; i < n; ++i)
        line(job, io::Fmt().x(4).f(7, 2, s.value(from + 2 + i)).x(7).p(1).e(10, 3, s.value(from + 2 + n + i)));
      emptyLines(job, 1);
      return;
    }
    case elevationFunction:
      line(job, io::Fmt()
                    .a(" Storage function: Storage =")
                    .e(10, 3, s.value(from + 1))
                    .a("*(elevation -")
                    .f(7, 2, s.value(from + 3))
                    .a(")**")
                    .f(5, 2, s.value(from + 2))
                    .a(" cub.m."));
      return;
    default: line(job, " No elevation-storage relation supplied"); return;
  }
}

void writeStorage(state::Job& job, int step) {
  const StorageData s{job, step};
  const float code = at(job.catchment.code, step);
  const bool design = belowTens(code) - 6.0F > 0.05F;
  emptyLines(job, 1);
  line(job, " Storage: " + trimmedName(job, stepInteger(job, step, slots::nameIndex)));
  const int type = stepInteger(job, step, slots::dischargeType);
  const int elevation = design ? writeDesign(job, s, type) : writeExisting(job, s, type);
  writeElevationRelation(job, s, elevation);
}

}  // namespace

void writeSpecialStorages(state::Job& job) {
  bool any = false;
  for (int step = 1; step <= job.nSteps; ++step) {
    if (codeNumber(at(job.catchment.code, step)) != 6) continue;
    if (!any) {
      emptyLines(job, 3);
      line(job, " Special storage data");
      any = true;
    }
    writeStorage(job, step);
  }
}

}  // namespace kova::engine::echo
