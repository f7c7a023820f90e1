// Results, computed tables and design summaries of special storages.
#include "engine/routing/special_storage_report.h"

#include <string>

#include "driver/messages.h"
#include "io/format.h"

namespace kova::engine {

namespace {

using driver::printLine;

const std::string starLine = " " + std::string(72, '*');

std::string_view outflowKind(const SpecialStorage& storage, const state::SpecialStorageResult& result) {
  if (storage.dischargeType == spillwaysOnly) return " m\xB3/s (spillway flow)";
  if (storage.dischargeType != spillwaysAndPipes) return " m\xB3/s";
  const bool belowCrest =
      result.elevationKnown && storage.outlet.nSpill() >= 1 && result.peakElevation < storage.outlet.crest(1);
  return belowCrest ? " m\xB3/s (pipe flow)" : " m\xB3/s (pipe & spillway flow)";
}

void writeSpillways(state::Job& job, const OutletWorks& w) {
  printLine(job, io::Fmt().a("Spillway discharge coeff =").f(7, 3, w.weir));
  printLine(job, "Spillway     Elevation(m)      Length(m)");
  for (int i = 1; i <= w.nSpill(); ++i)
    printLine(job, io::Fmt().i(8, i).f(17, 3, w.crest(i)).f(16, 3, w.spillLength(i)));
}

void writePipeGroups(state::Job& job, const OutletWorks& w) {
  printLine(job, io::Fmt().a("Pipe entrance loss coeff =").f(7, 3, w.entrance));
  printLine(job, io::Fmt().a("Pipe bend loss coeff     =").f(7, 3, w.bend));
  printLine(job, "Group  Upstr.inv.    No. of    Length  Gradient  Diameter");
  printLine(job, " no.    elev(m)      pipes      (m)       (%)       (m)  ");
  for (int g = 1; g <= w.nGroups(); ++g) {
    const PipeGroup p = w.group(g);
    printLine(job, io::Fmt()
                       .i(7, g)
                       .f(12, 3, p.invert)
                       .i(9, static_cast<long long>(p.pipes))
                       .f(12, 2, p.length)
                       .f(10, 4, p.gradient)
                       .f(10, 4, p.diameter));
  }
}

}  // namespace

void writeStorageResults(state::Job& job, const SpecialStorage& storage, const state::SpecialStorageResult& result) {
  io::Fmt head;
  head.a(" Results of routing through special storage ").a(storage.name);
  if (storage.dischargeType == dischargeFormula) head.a("  with ks = ").e(10, 4, storage.ks).a(" & ms =").f(6, 2, storage.ms);
  printLine(job, head);

  const ElevationRelation& relation = storage.elevation;
  if (relation.type != noElevationRelation) {
    if (result.elevationKnown) {
      printLine(job, io::Fmt().a("  Peak elevation= ").f(7, 2, result.peakElevation).a(" m"));
    } else {
      const float top = relation.elevations.empty() ? 0.0F : relation.elevations.back();
      printLine(job, io::Fmt().a("  Peak elevation exceeds max. of elev.-stor. table,").f(7, 2, top));
    }
  }
  printLine(job, io::Fmt().a("  Peak outflow = ").f(8, 2, result.peakOutflow).a(outflowKind(storage, result)));
  printLine(job, io::Fmt().a("  Peak storage = ").e(12, 2, result.peakStorage).a(" m\xB3"));
}

void writeStorageTable(state::Job& job, const SpecialStorage& storage) {
  const state::SpecialStorageWork& work = job.specialStorages;
  printLine(job, "");
  printLine(job, "");
  printLine(job, " Elevation-storage-discharge table for special storage ");
  printLine(job, " " + storage.name);
  printLine(job, "");
  printLine(job, " Elevation    Storage    Discharge");
  printLine(job, "    (m)         (m\xB3)      (m\xB3/s)");
  for (std::size_t i = 0; i < work.elevations.size(); ++i)
    printLine(job, io::Fmt().f(8, 2, work.elevations[i]).e(9, 2, work.storages[i]).f(8, 2, work.discharges[i]));
  printLine(job, "");
  printLine(job, starLine);
}

void writeDesignHeader(state::Job& job, const SpecialStorage& storage) {
  printLine(job, "");
  printLine(job, "");
  printLine(job, starLine);
  printLine(job, " Interactive design of special storage " + storage.name);
  printLine(job, "");
}

void writeDesignSummary(state::Job& job, const SpecialStorage& storage) {
  printLine(job, " Summary of outlet works being trialled");
  printLine(job, io::Fmt().a("   Initial drawdown: ").e(10, 4, storage.start));
  if (storage.dischargeType == dischargeFormula) {
    // The record of a storage to be designed holds no ks or ms: the design supplies them.
    printLine(job, "Discharge formula used: S = 3600 ks Q^ms");
    printLine(job, "where, Coefficient, ks = ");
    printLine(job, "       Exponent, m     = ");
    return;
  }
  writeSpillways(job, storage.outlet);
  if (storage.dischargeType == spillwaysAndPipes) writePipeGroups(job, storage.outlet);
}

}  // namespace kova::engine
