// Runs the real catchment and storm readers and then the control-vector analysis on
// hand-written files, for the tests of the analysis, with small builders of those files.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/input/catchment_reader.h"
#include "engine/input/storm_setup.h"
#include "engine/input/storm_reader.h"
#include "engine/input/subarea_reader.h"
#include "engine/routing/analysis.h"
#include "state/job.h"
#include "state/layout_stages.h"
#include "support/job_fixture.h"

namespace kova::test {

// The stages of a job from the catchment reader to the analysis, as the driver runs them.
struct AnalysedJob {
  JobFixture f;
  bool failed = false;
  bool reachedAnalysis = false;  // every reader passed and the analysis was called

  AnalysedJob(const std::string& catchment, const std::string& storm, int printOption = 1) {
    f.open(catchment, storm, printOption);
    failed = f.fails([this](state::Job& job) {
      using Stage = void (*)(state::Job&);
      for (Stage stage : {Stage{engine::read1}, Stage{state::layoutSubAreaTables}, Stage{engine::read2},
                          Stage{state::layoutStormTables}, Stage{engine::read3}, Stage{state::layoutAnalysisTables}}) {
        stage(job);
        if (job.genpar.errorFlag != 0) return;
      }
      reachedAnalysis = true;
      engine::analys(job);
    });
  }
  [[nodiscard]] state::Job& job() const { return *f.job; }
  [[nodiscard]] state::AnalysisTables& tables() const { return f.job->analysisTables; }
  [[nodiscard]] std::string output() { return f.output(); }
  [[nodiscard]] std::string log() { return f.log(); }

  // Per-step, per-reach and per-I/O tables as plain vectors, for whole-table comparisons.
  [[nodiscard]] std::vector<int> codeIsa() const { return column(tables().codeIsa, job().nSteps); }
  [[nodiscard]] std::vector<int> ioSlots() const { return column(tables().ioSlot, job().kov.nIOs); }
  [[nodiscard]] std::vector<int> isaSubAreas(int j) const { return row(tables().isaSubAreas, j, 1); }
  [[nodiscard]] std::vector<int> isaUpstream(int j) const { return row(tables().isaUpstream, j, 1); }
  [[nodiscard]] std::vector<int> isaHyds(int j) const { return row(job().subAreaTables.isaHyds, j, 2); }
  [[nodiscard]] float flowDist(int i) const { return tables().flowDist(static_cast<std::size_t>(i)); }
  [[nodiscard]] float factor(int j) const { return tables().isaFactor[static_cast<std::size_t>(j - 1)]; }

 private:
  template <typename T>
  static std::vector<T> column(const state::Vec1<T>& v, int n) {
    std::vector<T> out;
    for (int i = 1; i <= n; ++i) out.push_back(v(static_cast<std::size_t>(i)));
    return out;
  }
  // Row j of a table whose column `countAt` holds the count of the entries that follow;
  // the columns before the count are returned too. A table laid out without the count
  // column (no hydrographs at all) gives the columns it has.
  static std::vector<int> row(const state::Mat1<int>& m, int j, int countAt) {
    const auto J = static_cast<std::size_t>(j);
    std::vector<int> out;
    for (std::size_t c = 1; c <= std::min(static_cast<std::size_t>(countAt), m.cols()); ++c) out.push_back(m(J, c));
    if (static_cast<std::size_t>(countAt) > m.cols()) return out;
    const auto count = static_cast<std::size_t>(m(J, static_cast<std::size_t>(countAt)));
    for (std::size_t c = 1; c <= count; ++c) out.push_back(m(J, static_cast<std::size_t>(countAt) + c));
    return out;
  }
};

// A catchment file: name, reach-type flag, the control-vector lines, the end code, the
// sub-area areas and the impervious flag 0 (the sub-area block only when `areas` is given).
inline std::string catchmentFile(const std::string& codes, const std::string& areas, int reachTypeFlag = 1) {
  std::string text = "Analysis test catchment\n" + std::to_string(reachTypeFlag) + "\n" + codes + "0\n";
  if (!areas.empty()) text += areas + ", -99\n0\n";
  return text;
}

// A storm file of the given run type: one burst of two one-hour increments on one
// pluviograph, then `hydrographs` (the times and recorded hydrographs of the gauged ones).
inline std::string stormFile(const std::string& runType, const std::string& hydrographs = "") {
  return "Analysis test storm\n" + runType + "\n1.0, 6, 1, 1, 0, -99\n0, 2\nRain gauge\n5, 5, -99\n" + hydrographs;
}

// Hydrograph times and records for `n` gauged hydrographs, each (0, 2) with ordinates 1 2 1.
inline std::string gauges(int n) {
  if (n == 0) return "";
  std::string text;
  for (int h = 1; h <= n; ++h) text += "0, 2, ";
  text += "-99\n";
  for (int h = 1; h <= n; ++h) text += "Gauge " + std::to_string(h) + "\n1, 2, 1, -99\n";
  return text;
}

// A name as the name table holds it: blank-padded to 28 characters.
inline std::string padded(const std::string& name) { return name + std::string(state::nameLength - name.size(), ' '); }

}  // namespace kova::test
