// Special storages: the starting drawdown and its filling, the routing by formula, by
// table or by the table computed from the outlet works, the results and the prints.
#include "engine/routing/special_storage.h"

#include <algorithm>
#include <string>
#include <vector>

#include "driver/hooks.h"
#include "driver/messages.h"
#include "engine/print_label.h"
#include "engine/routing/reach_routing.h"
#include "engine/routing/special_storage_drawdown.h"
#include "engine/routing/special_storage_record.h"
#include "engine/routing/special_storage_report.h"
#include "engine/routing/storage_table.h"
#include "io/format.h"

namespace kova::engine {

namespace {

using driver::printLine;

constexpr float printCode = 10.0F;      // a code value from which the hydrographs are printed
constexpr float resultsCode = 6.05F;    // a code value from which the results are written

std::string storageLabel(const std::string& name) { return printLabel("Special storage :", name); }

// A storage to be designed: its outlet works would come from the interactive design,
// which a batch run cannot hold, so the summary of what the record gives closes the job.
[[noreturn]] void designStorage(state::Job& job, const SpecialStorage& storage) {
  writeDesignHeader(job, storage);
  driver::interactiveretardingbasin();
  writeDesignSummary(job, storage);
  driver::warnmess(job, "Interactive design of special storage " + storage.name + ": no design given in batch");
  const std::string first = " Data error: outlet works of storage to be designed, " + storage.name + ",";
  driver::dataError(job, {first, " must be given as a code 6 storage"});
}

RoutePeaks routeStorage(state::Job& job, const SpecialStorage& storage, std::span<float> q) {
  RoutePeaks peaks;
  switch (storage.dischargeType) {
    case dischargeFormula: route(job, q, q, storage.ks, storage.ms, specialPowerLaw, storage.name, peaks); break;
    case dischargeTable:
      route(job, q, q, storage.tableStorages, storage.tableDischarges, storage.name, peaks);
      break;
    default: {
      const float largest = q.empty() ? 0.0F : *std::max_element(q.begin(), q.end());
      buildStorageTable(job, storage, largest);
      const state::SpecialStorageWork& work = job.specialStorages;
      route(job, q, q, work.storages, work.discharges, storage.name, peaks);
      break;
    }
  }
  return peaks;
}

void keepResult(state::Job& job, const state::SpecialStorageResult& result) {
  std::vector<state::SpecialStorageResult>& kept = job.specialStorages.results;
  const auto same = std::find_if(kept.begin(), kept.end(), [&](const auto& r) { return r.step == result.step; });
  if (same == kept.end()) {
    kept.push_back(result);
  } else {
    *same = result;
  }
}

}  // namespace

int get_index_of_ss(const state::Job& /*job*/, std::string_view /*name*/) {
  // No gate-operations storage list is kept yet, so no storage is found in it.
  return 0;
}

void basin(state::Job& job, const BasinCall& call) {
  const SpecialStorage storage = specialStorage(job, call.step);
  if (storage.design) designStorage(job, storage);
  // A storage in the gate-operations list is operated by its gates and routed no further
  // here; the look-up finds none until the gate-operations data are kept.
  if (get_index_of_ss(job, storage.name) > 0 && job.gateops.gateOpsTag == "GATE") return;

  std::span<float> q = call.running;
  state::SpecialStorageWork& work = job.specialStorages;
  work.inflow.assign(q.begin(), q.end());  // the inflow as it arrives, before the drawdown takes its share

  const StartingDrawdown start = startingDrawdown(job, storage);
  if (start.fromLevel && storage.code >= printCode)
    printLine(job, io::Fmt().a(" Calculated  drawdown=").e(10, 3, start.volume).a(" m\xB3 : ").a(storage.name));
  const float unfilled = fillDrawdown(q, start.volume, job.kov.timeIncSec);

  state::SpecialStorageResult result;
  result.step = call.step;
  result.dischargeType = storage.dischargeType;
  result.nSpill = storage.outlet.nSpill();
  result.nGroups = storage.outlet.nGroups();
  if (unfilled > 0.0F) {
    // Nothing leaves a storage whose drawdown the whole inflow does not fill.
    printLine(job, ">>> Drawdown of special storage " + storage.name + " not filled.");
    printLine(job, io::Fmt().a(" current drawdown= ").f(14, 0, unfilled).a(" m\xB3"));
  } else {
    const RoutePeaks peaks = routeStorage(job, storage, q);
    result.peakOutflow = peaks.outflow;
    result.peakStorage = peaks.storage;
    result.elevationKnown = levelAtStorage(storage.elevation, peaks.storage, result.peakElevation);
    if (storage.code >= resultsCode) {
      writeStorageResults(job, storage, result);
      if (storage.hasSpillways()) writeStorageTable(job, storage);
    }
  }
  keepResult(job, result);

  if (storage.code >= printCode) {
    const std::string title = storageLabel(storage.name);
    PrintRequest request;
    request.kind = printStorage;
    request.title = title;
    request.area = call.area;
    request.hyd1 = q;
    request.hyd2 = work.inflow;
    request.excessCentroid = call.excessCentroid;
    request.rainfall = call.rainfall;
    output(job, request);
  }
}

}  // namespace kova::engine
