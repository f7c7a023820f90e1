// The computed elevation-storage-discharge table of spillways and pipe outlets.
#include "engine/routing/storage_table.h"

#include <algorithm>
#include <cmath>

#include "driver/messages.h"
#include "engine/routing/reach_routing.h"
#include "io/format.h"

namespace kova::engine {

namespace {

constexpr double pipeRoughness = 0.00015;  // m
constexpr double twoG = 19.6;
constexpr double lowInletDepth = 0.8;      // of the diameter: where the low inlet formula ends
constexpr int topSearchMetres = 20;
constexpr float runEndTolerance = 0.01F;   // m
constexpr float smallestLongStep = 1.0F;   // m

// The step after `taken` steps of a run, `left` metres short of its target.
float runStep(int taken, float left) {
  if (taken < 10) return 0.1F;
  if (taken < 16) return 0.25F;
  if (taken < 31) return 0.5F;
  return std::max(smallestLongStep, 0.1F * left + 1.0E-10F);
}

float weirFlow(float weir, float length, float head) { return weir * length * head * std::sqrt(head); }

}  // namespace

PipeFlow pipeFlow(const PipeGroup& group, float entranceLoss, float bendLoss) {
  PipeFlow p;
  const double n = group.pipes;
  const double d = group.diameter;
  const double l = group.length;
  const double g = group.gradient;
  p.invert = group.invert;
  p.diameter = d;
  // Inlet formulas take a root of the gradient: none is defined below 0.
  if (n < 1.0 || d < 1.0E-30 || g < 0.0) return p;
  const double friction = 1.0 / std::pow(0.868 * std::log(d / (2.0 * pipeRoughness)) + 1.74, 2.0);
  p.fullCoeff = d * d * 0.785 * n * std::sqrt(twoG / (friction * l / d + bendLoss + entranceLoss + 1.0));
  p.fullLevel = (p.invert - l * g * 0.01) + d;
  p.barrel = p.fullCoeff * std::sqrt(l * g * 0.01);
  const double slopeTerm = std::pow(0.025 * g, 0.05);
  p.lowInlet = n * 1.5 * slopeTerm * std::pow(d, 0.6);
  p.highInlet = 1.38 * n * d * slopeTerm;
  p.flows = std::isfinite(p.fullCoeff) && std::isfinite(p.barrel) && std::isfinite(p.fullLevel);
  return p;
}

void addPipeFlow(const PipeFlow& pipe, std::span<const float> elevations, std::span<float> discharges) {
  if (!pipe.flows) return;
  int position = 1;
  float unused = 0.0F;
  const auto invert = static_cast<float>(pipe.invert);
  if (interp(position, elevations, elevations, invert, unused) != 0) return;  // the invert is above the table

  enum class Phase { lowInlet, highInlet, barrel, fullPipe };
  Phase phase = Phase::lowInlet;
  const double u = pipe.invert;
  const double d = pipe.diameter;
  const std::size_t n = std::min(elevations.size(), discharges.size());
  for (auto i = static_cast<std::size_t>(position); i < n; ++i) {
    const double h = elevations[i];
    if (h <= u) continue;
    const double head = h - u;
    double q = 0.0;
    if (phase == Phase::lowInlet) {
      if (h <= u + lowInletDepth * d) {
        q = pipe.lowInlet * std::pow(head, 1.9);
        if (q > pipe.barrel) phase = Phase::barrel;
      } else {
        phase = Phase::highInlet;
      }
    }
    if (phase == Phase::highInlet) {
      q = pipe.highInlet * head * std::sqrt(head);
      if (q > pipe.barrel) {
        // Above the barrel limit the inlet flow stands until the full pipe passes less.
        if (h <= u + d) {
          phase = Phase::barrel;
        } else if (pipe.fullCoeff * std::sqrt(h - pipe.fullLevel) < q) {
          phase = Phase::fullPipe;
        }
      }
    }
    if (phase == Phase::barrel) {
      if (h <= u + d) {
        q = pipe.barrel;
      } else {
        phase = Phase::fullPipe;
      }
    }
    if (phase == Phase::fullPipe) q = pipe.fullCoeff * std::sqrt(h - pipe.fullLevel);
    discharges[i] += static_cast<float>(q);
  }
}

void addSpillwayFlow(float crest, float length, float weir, std::span<const float> elevations,
                     std::span<float> discharges) {
  const std::size_t n = std::min(elevations.size(), discharges.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (elevations[i] > crest) discharges[i] += weirFlow(weir, length, elevations[i] - crest);
  }
}

float topElevation(const OutletWorks& works, bool pipes, float largestInflow) {
  const float crest = works.crest(1);
  const PipeFlow pipe = pipes ? pipeFlow(works.group(1), works.entrance, works.bend) : PipeFlow{};
  for (int j = 1; j <= topSearchMetres; ++j) {
    const float h = crest + static_cast<float>(j);
    double q = weirFlow(works.weir, works.spillLength(1), h - crest);
    if (pipe.flows && h >= pipe.fullLevel) q += pipe.fullCoeff * std::sqrt(h - pipe.fullLevel);
    if (q > largestInflow) return h;
  }
  return crest + static_cast<float>(topSearchMetres);
}

void appendElevationRun(std::vector<float>& elevations, float start, float target) {
  elevations.push_back(start);
  if (!(target > start)) return;
  float h = start;
  for (int taken = 0; taken < storageTableRunLimit; ++taken) {
    h += runStep(taken, target - h);
    if (h >= target - runEndTolerance) break;
    elevations.push_back(h);
  }
  elevations.push_back(target);
}

void buildStorageTable(state::Job& job, const SpecialStorage& storage, float largestInflow) {
  state::SpecialStorageWork& work = job.specialStorages;
  const std::size_t capacity = 2 * static_cast<std::size_t>(storageTableRunLimit + 2);
  for (std::vector<float>* v : {&work.elevations, &work.storages, &work.discharges}) {
    v->reserve(capacity);
    v->clear();
  }
  const OutletWorks& w = storage.outlet;
  if (w.nSpill() < 1) return;  // the reader asks for a spillway; without one the table stays empty

  const ElevationRelation& relation = storage.elevation;
  const bool pipes = storage.dischargeType == spillwaysAndPipes && w.nGroups() >= 1;
  const float crest = w.crest(1);
  const float top = relation.type == elevationTableRelation && !relation.elevations.empty()
                        ? relation.elevations.back()
                        : topElevation(w, pipes, largestInflow);
  std::vector<float>& h = work.elevations;
  if (pipes) appendElevationRun(h, w.group(1).invert, std::min(top, crest));
  appendElevationRun(h, crest, top);

  int position = 1;
  for (float level : h) {
    float s = 0.0F;
    const bool inTable = relation.type == elevationTableRelation
                             ? interp(position, relation.elevations, relation.storages, level, s) == 0
                             : storageAtLevel(relation, level, s);
    if (!inTable)
      driver::dataError(job, {" Elevation in computed elevation-storage-discharge",
                              io::Fmt()
                                  .a(" table, ")
                                  .f(7, 2, level)
                                  .a(" is out of range of given elevation-")
                                  .a("storage table")
                                  .str()});
    work.storages.push_back(s);
  }

  work.discharges.assign(h.size(), 0.0F);
  for (int g = 1; g <= w.nGroups() && storage.dischargeType == spillwaysAndPipes; ++g)
    addPipeFlow(pipeFlow(w.group(g), w.entrance, w.bend), h, work.discharges);
  for (int i = 1; i <= w.nSpill(); ++i) addSpillwayFlow(w.crest(i), w.spillLength(i), w.weir, h, work.discharges);
}

}  // namespace kova::engine
