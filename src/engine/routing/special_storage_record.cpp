// Reading a special storage back from the values the storage reader left in cvData, and
// the look-ups between level and storage on its elevation relation.
#include "engine/routing/special_storage_record.h"

#include <algorithm>
#include <cmath>

#include "engine/control_codes.h"
#include "engine/input/storage_reader.h"
#include "engine/routing/reach_routing.h"
#include "io/format.h"

namespace kova::engine {

namespace {

constexpr int pipeGroupValues = 5;
constexpr int designPipeValues = 3;  // code 6.1 with pipes: weir, entrance and bend coefficients

// Walks the values of one storage; a count that would pass the end of cvData is cut to
// what is there.
struct Cursor {
  std::span<const float> pool;  // cvData, index i at pool[i - 1]
  std::size_t at = 1;

  float next() {
    const float v = at <= pool.size() ? pool[at - 1] : 0.0F;
    ++at;
    return v;
  }
  int count() { return std::max(nearest(next()), 0); }
  std::span<const float> take(std::size_t n) {
    const std::size_t first = std::min(at - 1, pool.size());
    const std::size_t size = std::min(n, pool.size() - first);
    at += n;
    return pool.subspan(first, size);
  }
};

void readOutletWorks(Cursor& c, SpecialStorage& s) {
  const auto nSpill = static_cast<std::size_t>(c.count());
  s.outlet.spillways = c.take(2 * nSpill);
  s.outlet.weir = c.next();
  if (s.dischargeType != spillwaysAndPipes) return;
  s.outlet.entrance = c.next();
  s.outlet.bend = c.next();
  const auto nGroups = static_cast<std::size_t>(c.count());
  s.outlet.groups = c.take(pipeGroupValues * nGroups);
}

void readDischargePart(Cursor& c, SpecialStorage& s) {
  if (s.design) {
    // A storage to be designed carries its coefficients only; its outlet geometry would
    // come from the design itself.
    if (s.dischargeType == spillwaysOnly) s.outlet.weir = c.next();
    if (s.dischargeType == spillwaysAndPipes) {
      const std::span<const float> v = c.take(designPipeValues);
      if (v.size() == designPipeValues) {
        s.outlet.weir = v[0];
        s.outlet.entrance = v[1];
        s.outlet.bend = v[2];
      }
    }
    return;
  }
  switch (s.dischargeType) {
    case dischargeFormula:
      s.ks = c.next();
      s.ms = c.next();
      break;
    case dischargeTable: {
      const auto n = static_cast<std::size_t>(c.count());
      s.tableStorages = c.take(n);
      s.tableDischarges = c.take(n);
      s.tableStorages = s.tableStorages.first(s.tableDischarges.size());
      break;
    }
    default: readOutletWorks(c, s); break;
  }
}

void readElevationPart(Cursor& c, SpecialStorage& s) {
  ElevationRelation& e = s.elevation;
  e.type = nearest(c.next());
  if (e.type == elevationTableRelation) {
    const auto n = static_cast<std::size_t>(c.count());
    e.elevations = c.take(n);
    e.storages = c.take(n);
    if (e.storages.size() < e.elevations.size()) e.elevations = e.elevations.first(e.storages.size());
  } else if (e.type == elevationPowerFunction) {
    e.a = c.next();
    e.b = c.next();
    e.h0 = c.next();
  } else {
    e.type = noElevationRelation;
  }
}

}  // namespace

PipeGroup OutletWorks::group(int g) const {
  const std::size_t first = pipeGroupValues * static_cast<std::size_t>(g - 1);
  return PipeGroup{groups[first], groups[first + 1], groups[first + 2], groups[first + 3], groups[first + 4]};
}

SpecialStorage specialStorage(const state::Job& job, int step) {
  SpecialStorage s;
  s.step = step;
  s.code = job.catchment.code(static_cast<std::size_t>(step));
  const float below10 = s.code - 10.0F * std::trunc(s.code / 10.0F);
  s.design = below10 > 6.05F;

  namespace slots = storage_slots;
  const auto base = static_cast<std::size_t>(std::max(job.catchment.stepData(static_cast<std::size_t>(step)), 1));
  Cursor c{job.catchment.cvData.data, base + slots::nameIndex};
  s.name = std::string(io::trimRight(state::nameAt(job.work, std::max(nearest(c.next()), 1))));
  s.startIndex = base + slots::drawdown;
  c.at = s.startIndex;
  s.start = c.next();
  c.at = base + slots::dischargeType;
  s.dischargeType = std::clamp(nearest(c.next()), 0, 3);
  c.at = base + slots::dischargeData;
  readDischargePart(c, s);
  readElevationPart(c, s);
  return s;
}

bool storageAtLevel(const ElevationRelation& relation, float h, float& s) {
  if (relation.type == elevationPowerFunction) {
    s = relation.a * std::pow(std::max(h - relation.h0, 0.0F), relation.b);
    return true;
  }
  if (relation.type != elevationTableRelation) return false;
  int position = 1;
  return interp(position, relation.elevations, relation.storages, h, s) == 0;
}

bool levelAtStorage(const ElevationRelation& relation, float s, float& h) {
  if (relation.type == elevationPowerFunction) {
    const float a = relation.a;
    const float b = relation.b;
    h = std::fabs(a) > 1.0E-30F && std::fabs(b) > 1.0E-30F ? std::pow(std::max(s, 0.0F) / a, 1.0F / b) + relation.h0
                                                          : relation.h0;
    return true;
  }
  if (relation.type != elevationTableRelation) return false;
  int position = 1;
  return interp(position, relation.storages, relation.elevations, s, h) == 0;
}

float ceaseToFlowStorage(const SpecialStorage& storage) {
  switch (storage.dischargeType) {
    case dischargeFormula: return 0.0F;
    case dischargeTable: return storage.tableStorages.empty() ? 0.0F : storage.tableStorages[0];
    default: break;
  }
  const OutletWorks& w = storage.outlet;
  float level = w.nSpill() >= 1 ? w.crest(1) : 0.0F;
  if (storage.dischargeType == spillwaysAndPipes && w.nGroups() >= 1) level = w.group(1).invert;
  float s = 0.0F;
  // The cease-to-flow level lies below the table's top (the reader sees to it); the last
  // storage stands in should it not.
  if (!storageAtLevel(storage.elevation, level, s) && !storage.elevation.storages.empty())
    s = storage.elevation.storages.back();
  return s;
}

}  // namespace kova::engine
