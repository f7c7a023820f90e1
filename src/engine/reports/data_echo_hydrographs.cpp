// Data echo: the recorded hydrographs in blocks that fit the print width, with their
// volumes, runoff depths and, with several bursts, the rise volumes of each burst.
#include <algorithm>

#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"
#include "engine/reports/hydrograph_report.h"

namespace kova::engine::echo {

namespace {

constexpr int timeColumns = 3;  // the columns the width loses to the time
constexpr int columnWidth = 9;
constexpr int maxColumns = 14;  // the most the column header holds
constexpr int maxBars = 5;      // the staircase stops growing after five bars
constexpr const char* cubicMetres = "  m\xB3";

// The hydrograph numbers of one block: recorded hydrographs, the ungauged locations left
// out, in control-vector order.
struct Block {
  int numbers[maxColumns] = {};
  int count = 0;
};

// m³ per mm over the area above each hydrograph's station: the area of the interstation
// area that the station ends; 0 (no depth) for any other hydrograph.
void fillDepthFactors(state::Job& job) {
  const state::Kov& k = job.kov;
  const state::Vec1<float>& factors = job.echoTables.depthFactors;
  for (int h = 1; h <= k.nHyds; ++h) put(factors, h, 0.0F);
  for (int j = 1; j <= k.nIsas; ++j) {
    const int h = at(job.subAreaTables.isaHyds, j, 1);
    const float area = at(job.analysisTables.isaTotalArea, j);
    if (h >= 1 && h <= k.nHyds) put(factors, h, 1000.0F * area);
  }
}

float depthOf(const state::Job& job, int h, float volume) {
  const float factor = at(job.echoTables.depthFactors, h);
  return factor > 1.0E-30F ? volume / factor : 0.0F;
}

// The volume of a recorded hydrograph: the sum of its ordinates times the time increment.
float volumeOf(const state::Job& job, int h) {
  const state::StormTables& s = job.stormTables;
  float sum = 0.0F;
  for (int t = at(s.hydTimes, 1, h) + 1; t <= at(s.hydTimes, 2, h) + 1; ++t) sum += at(s.recHyd, t, h);
  return sum * job.kov.timeIncSec;
}

void writeStaircase(state::Job& job, const Block& block) {
  for (int i = 1; i <= block.count; ++i) {
    const int h = block.numbers[i - 1];
    io::Fmt record;
    if (i == 1) {
      record.x(1).i(6, h);
    } else {
      record.x(2);
      for (int bar = 0; bar < std::min(i - 1, maxBars); ++bar) record.x(8).a("I");
      record.i(5, h);
    }
    line(job, record.a(":").a(hydrographName(job, h)));
  }
}

void writeRiseVolumes(state::Job& job, const Block& block) {
  const state::StormTables& s = job.stormTables;
  line(job, " Rise volumes");
  for (int b = 1; b <= job.kov.nBursts; ++b) {
    io::Fmt depths;
    depths.x(1).i(2, b).a(":mm");
    io::Fmt volumes;
    volumes.p(1);
    for (int i = 0; i < block.count; ++i) {
      const int h = block.numbers[i];
      // The rise volumes are m³ once the analysis has scaled them by the recorded volume.
      const float volume = at(s.riseVol, b, h);
      depths.f(i == 0 ? 7 : 9, 1, depthOf(job, h, volume));
      volumes.e(9, 2, volume);
    }
    line(job, depths.a(" "));
    line(job, cubicMetres);
    line(job, volumes.a(" "));
    line(job, " ");
  }
}

void writeBlock(state::Job& job, const Block& block, char decimals) {
  const state::StormTables& s = job.stormTables;
  const state::Vec1<float>& volumes = job.echoTables.columnTotals;
  writeStaircase(job, block);
  io::Fmt head;
  head.a(" Time").x(4).i(2, block.numbers[0]);
  for (int i = 1; i < block.count; ++i) head.x(7).i(2, block.numbers[i]);
  line(job, head);

  const int d = decimals - '0';
  for (int t = 0; t < job.kov.nHydOrds; ++t) {
    io::Fmt row;
    row.x(1).i(6, t);
    for (int i = 0; i < block.count; ++i) row.f(9, d, at(s.recHyd, t + 1, block.numbers[i]));
    line(job, row);
  }

  for (int i = 1; i <= block.count; ++i) put(volumes, i, volumeOf(job, block.numbers[i - 1]));
  emptyLines(job, 1);
  line(job, " Total volumes");
  io::Fmt depthRow;
  depthRow.a("  mm");
  io::Fmt volumeRow;
  volumeRow.a(cubicMetres).p(1);
  for (int i = 1; i <= block.count; ++i) {
    depthRow.f(9, 1, depthOf(job, block.numbers[i - 1], at(volumes, i)));
    volumeRow.e(9, 2, at(volumes, i));
  }
  line(job, depthRow);
  line(job, volumeRow);
  if (job.kov.nBursts > 1) writeRiseVolumes(job, block);
  emptyLines(job, 1);
}

}  // namespace

void writeRecordedHydrographs(state::Job& job) {
  const state::Kov& k = job.kov;
  int recorded = 0;
  for (int h = 1; h <= k.nHyds; ++h) recorded += isRecorded(job, h) ? 1 : 0;
  if (recorded < 1) return;
  emptyLines(job, 2);
  line(job, " Hydrograph data (time in incs, discharges in m\xB3/s)");
  emptyLines(job, 1);
  fillDepthFactors(job);
  const char decimals = ndecpl(k.maxRecordedFlow, 9, 4, 0);
  const int perBlock = std::clamp((k.lineWidth - timeColumns) / columnWidth, 1, maxColumns);
  Block block;
  for (int h = 1; h <= k.nHyds; ++h) {
    if (!isRecorded(job, h)) continue;
    block.numbers[block.count++] = h;
    if (block.count == perBlock) {
      writeBlock(job, block, decimals);
      block.count = 0;
    }
  }
  if (block.count > 0) writeBlock(job, block, decimals);
}

}  // namespace kova::engine::echo
