// A loss job built by hand for the loss-model tests: the input tables in vectors shaped
// as the readers and the analysis leave them, the run tables laid out in the job.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "engine/losses/loss_models.h"
#include "state/run_layout.h"
#include "support/job_fixture.h"

namespace kova::test {

struct LossShape {
  int incs = 1;      // N
  int subAreas = 1;  // S
  int areas = 1;     // I
  int bursts = 1;    // B
  int pluvios = 1;   // P
  int hyds = 0;      // H
  float dt = 1.0F;   // hours
  int printOption = 1;
};

class LossJob {
 public:
  explicit LossJob(const LossShape& shape) : s_(shape) {
    const auto N = sz(s_.incs), S = sz(s_.subAreas), I = sz(s_.areas), B = sz(s_.bursts), P = sz(s_.pluvios);
    const auto H = sz(std::max(s_.hyds, 1));
    burst_.assign(B * 4, 0);
    area_.assign(S, 0.0F);
    fi_.assign(S, 0.0F);
    depth_.assign(B * S, 0.0F);
    pluvioRef_.assign(B * S, 1);
    pluvio_.assign(N * P, 0.0F);
    total_.assign(B * P, 0.0F);
    isaSubAreas_.assign(I * (S + 1), 0);
    isaUpstream_.assign(I * I, 0);
    isaArea_.assign(I, 0.0F);
    isaTotal_.assign(I, 0.0F);
    isaHyds_.assign(s_.hyds > 0 ? I * (H + 2) : I, 0);
    recVol_.assign(B * H, 0.0F);

    f.open("", "", s_.printOption);
    state::Kov& k = f.job->kov;
    k.nRainIncs = s_.incs;
    k.nSubAreas = s_.subAreas;
    k.nIsas = s_.areas;
    k.nBursts = s_.bursts;
    k.nPluvios = s_.pluvios;
    k.nHyds = s_.hyds;
    k.timeInc = s_.dt;
    k.timeIncSec = s_.dt * 3600.0F;
    EXPECT_EQ(state::layoutRunTables(*f.job, 0, 0), state::RunLayoutStatus::ok);
    engine::markAllPairsActive(run());
  }

  JobFixture f;
  state::Job& job() { return *f.job; }
  state::RunTables& run() { return f.job->runTables; }

  // Burst b: its start time and its first and last increment in the joined series.
  void setBurst(int b, int start, int first, int last) {
    burstTable()(sz(b), 1) = start;
    burstTable()(sz(b), 3) = first;
    burstTable()(sz(b), 4) = last;
  }
  // A pluviograph's rainfall over all increments; its burst totals follow from them
  // (so the bursts are set first; a burst not set has none).
  void setPluvio(int p, std::initializer_list<float> rain) {
    std::size_t k = 1;
    for (float r : rain) pluvioTable()(k++, sz(p)) = r;
    for (int b = 1; b <= s_.bursts; ++b) {
      float sum = 0.0F;
      const int first = std::max(burstTable()(sz(b), 3), 1);
      const int last = std::min(burstTable()(sz(b), 4), s_.incs);
      for (int t = first; t <= last; ++t) sum += pluvioTable()(sz(t), sz(p));
      totals()(sz(b), sz(p)) = sum;
    }
  }
  void setSubArea(int n, float areaKm2, float fracImperv) {
    area_[sz(n) - 1] = areaKm2;
    fi_[sz(n) - 1] = fracImperv;
  }
  // One area of one sub-area of 3.6 km², on which in one-hour increments 1 mm of excess
  // is 1 m³/s.
  void unitSubArea(float fracImperv = 0.0F) {
    setSubArea(1, 3.6F, fracImperv);
    setArea(1, 3.6F, 3.6F, {1});
  }
  // Sub-area n's depth in burst b and the pluviograph distributing it.
  void setRain(int b, int n, float depth, int pluvio = 1) {
    depths()(sz(b), sz(n)) = depth;
    pluvioRefs()(sz(b), sz(n)) = pluvio;
  }
  void setArea(int i, float own, float total, std::initializer_list<int> subAreas,
               std::initializer_list<int> upstream = {}) {
    isaArea_[sz(i) - 1] = own;
    isaTotal_[sz(i) - 1] = total;
    list(isaSubAreasTable(), i, 1, subAreas);
    list(isaUpstreamTable(), i, 1, upstream);
  }
  // The hydrograph ending area i and the hydrographs directly upstream of it.
  void setAreaHyds(int i, int end, std::initializer_list<int> upstream = {}) {
    isaHydsTable()(sz(i), 1) = end;
    if (s_.hyds > 0) list(isaHydsTable(), i, 2, upstream);
  }
  void setRecordedVolume(int b, int h, float m3) { recVols()(sz(b), sz(h)) = m3; }
  void setLoss(int b, int i, float initialLoss, float lossParam) {
    job().genpar.initialLoss[sz(b) - 1][sz(i) - 1] = initialLoss;
    job().genpar.lossRate[sz(b) - 1][sz(i) - 1] = lossParam;
  }
  // A FIT run with gauging stations, in which loss parameters are calculated.
  void calculating(bool continuingLoss) {
    job().kov.hasPrintPoints = 1;
    job().kov.runType = 1;
    job().kov.constantLossModel = continuingLoss ? 1 : 0;
  }
  void given(bool continuingLoss) {
    job().kov.hasPrintPoints = 0;
    job().kov.runType = 3;
    job().kov.constantLossModel = continuingLoss ? 1 : 0;
  }

  engine::LossInputs inputs() {
    return {.burst = burstTable(),
            .subArea = {area_},
            .fracImperv = {fi_},
            .burstDepth = depths(),
            .pluvioRef = pluvioRefs(),
            .pluvio = pluvioTable(),
            .burstTotal = totals(),
            .isaSubAreas = isaSubAreasTable(),
            .isaUpstream = isaUpstreamTable(),
            .isaArea = {isaArea_},
            .isaTotalArea = {isaTotal_},
            .isaHyds = isaHydsTable(),
            .recordedVolume = recVols(),
            .isaName = names_};
  }

  // Runs the loss step; true when it ended the job.
  bool losmod(int runNumber = 1, const engine::LossCalls& calls = {}) {
    const engine::LossInputs in = inputs();
    return f.fails([&](state::Job& j) { engine::losmod(j, runNumber, in, run(), calls); });
  }

  float burstDepth(int b, int n) { return depths()(sz(b), sz(n)); }
  float burstTotal(int b, int p) { return totals()(sz(b), sz(p)); }
  float rain(int k, int n) { return run().subAreaRain(sz(k), sz(n)); }
  float excess(int k, int n) { return run().subAreaExcess(sz(k), sz(n)); }

 private:
  static std::size_t sz(int n) { return static_cast<std::size_t>(n); }
  state::Mat1<int> burstTable() { return {burst_, sz(s_.bursts)}; }
  state::Mat1<float> depths() { return {depth_, sz(s_.bursts)}; }
  state::Mat1<int> pluvioRefs() { return {pluvioRef_, sz(s_.bursts)}; }
  state::Mat1<float> pluvioTable() { return {pluvio_, sz(s_.incs)}; }
  state::Mat1<float> totals() { return {total_, sz(s_.bursts)}; }
  state::Mat1<int> isaSubAreasTable() { return {isaSubAreas_, sz(s_.areas)}; }
  state::Mat1<int> isaUpstreamTable() { return {isaUpstream_, sz(s_.areas)}; }
  state::Mat1<int> isaHydsTable() { return {isaHyds_, sz(s_.areas)}; }
  state::Mat1<float> recVols() { return {recVol_, sz(s_.bursts)}; }

  // Row i of a list table: the count in column `countColumn`, the entries after it.
  static void list(state::Mat1<int> table, int i, int countColumn, std::initializer_list<int> entries) {
    table(sz(i), sz(countColumn)) = static_cast<int>(entries.size());
    std::size_t j = sz(countColumn) + 1;
    for (int e : entries) table(sz(i), j++) = e;
  }

  LossShape s_;
  std::vector<int> burst_, pluvioRef_, isaSubAreas_, isaUpstream_, isaHyds_;
  std::vector<float> area_, fi_, depth_, pluvio_, total_, isaArea_, isaTotal_, recVol_;
  std::array<std::string, state::NISAMAX> names_{};
};

// The lines of the output file.
inline std::vector<std::string> outputLines(JobFixture& f) {
  std::vector<std::string> lines;
  std::istringstream in(f.output());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace kova::test
