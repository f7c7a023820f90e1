// Data echo: the pluviographs in blocks that fit the print width, each headed by a
// staircase of names that hang above their columns, with the design-storm notes and the
// table of a filtered embedded burst.
#include <algorithm>
#include <cmath>

#include "engine/reports/data_echo.h"
#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"
#include "io/units.h"

namespace kova::engine {

namespace {

constexpr int timeColumns = 7;   // "   Time" before the pluviograph columns
constexpr int columnWidth = 6;   // a pluviograph number in the column header
constexpr int maxColumns = 20;   // the most a line layout holds
constexpr int maxBars = 6;       // the staircase stops growing after six bars

// A real in free format: a blank, then nine significant digits in fixed point within 15
// columns for moderate magnitudes, or in exponent form otherwise.
std::string freeFormat(float value) {
  const double v = value;
  const double mag = std::fabs(v);
  if (mag >= 0.1 && mag < 1.0E9) {
    const int before = std::max(static_cast<int>(std::floor(std::log10(mag))) + 1, 0);
    return " " + io::formatF(11, std::clamp(9 - before, 0, 9), v) + std::string(4, ' ');
  }
  if (mag < 1.0E-30) return " " + io::formatF(11, 8, 0.0) + std::string(4, ' ');
  return " " + io::formatE(15, 8, v, 1);
}

}  // namespace

void embedded_burst_filtering_output(state::Job& job, int unit) {
  const state::Genpar& g = job.genpar;
  io::writeLine(job.units, unit, " Original Pattern          Filtered Pattern");
  const std::size_t n = std::min(g.burstPatternOriginal.size(), g.burstPatternFiltered.size());
  for (std::size_t i = 0; i < n; ++i)
    io::writeLine(job.units, unit,
                  io::Fmt().x(1).f(10, 2, g.burstPatternOriginal[i]).x(10).f(10, 2, g.burstPatternFiltered[i]));
  io::writeLine(job.units, unit, " % Rain Filtered" + freeFormat(g.burstRainFilteredPercent));
  io::writeLine(job.units, unit, "");
}

namespace echo {

namespace {

struct Block {
  int first = 1;  // first pluviograph of the block
  int count = 0;
};

void writeStaircase(state::Job& job, const Block& block) {
  for (int i = 1; i <= block.count; ++i) {
    const int p = block.first + i - 1;
    io::Fmt record;
    if (i == 1) {
      record.x(1).i(9, p);
    } else {
      record.x(7);
      for (int bar = 0; bar < std::min(i - 1, maxBars); ++bar) record.x(5).a("I");
      record.i(3, p);
    }
    line(job, record.a(":").a(pluviographName(job, p)));
  }
}

void writeBlock(state::Job& job, const Block& block) {
  const state::Kov& k = job.kov;
  const state::StormTables& s = job.stormTables;
  const state::Mat1<int>& burst = job.subAreaTables.burst;
  const state::Vec1<float>& totals = job.echoTables.columnTotals;
  if (job.genpar.preBurstApplied != 0) line(job, "Includes Pre-burst temporal pattern");
  writeStaircase(job, block);

  io::Fmt head;
  head.x(3).a("Time");
  for (int i = 0; i < block.count; ++i) head.x(4).i(2, block.first + i);
  line(job, head);

  for (int b = 1; b <= k.nBursts; ++b) {
    const int start = at(burst, b, 1);
    const int first = at(burst, b, 3);
    for (int n = first; n <= at(burst, b, 4); ++n) {
      io::Fmt row;
      row.x(3).i(6, static_cast<long long>(start) + (n - first)).x(2);
      for (int i = 0; i < block.count; ++i) row.f(7, 2, at(s.pluvio, n, block.first + i));
      line(job, row);
    }
    emptyLines(job, 1);
  }

  for (int i = 1; i <= block.count; ++i) {
    float total = 0.0F;
    for (int b = 1; b <= k.nBursts; ++b) total += at(s.burstTotal, b, block.first + i - 1);
    put(totals, i, total);
  }
  io::Fmt totalRow;
  totalRow.x(3).a("Total   ");
  for (int i = 1; i <= block.count; ++i) totalRow.f(7, 1, at(totals, i));
  line(job, totalRow);

  if (k.nBursts > 1) {
    line(job, " Burst totals");
    for (int b = 1; b <= k.nBursts; ++b) {
      io::Fmt row;
      row.x(1).i(6, b).x(4);
      for (int i = 0; i < block.count; ++i) row.f(7, 1, at(s.burstTotal, b, block.first + i));
      line(job, row);
    }
  }
  emptyLines(job, 1);
}

}  // namespace

void writePluviographs(state::Job& job) {
  const state::Kov& k = job.kov;
  // Pluviographs are read only for a catchment with sub-areas.
  if (k.nPluvios < 1 || k.nSubAreas < 1) return;
  if (job.genpar.preBurstApplied != 0) line(job, " Pre-burst has been applied");
  line(job, " Pluviograph data (time in incs, rainfall in mm, in ");
  line(job, io::Fmt().x(18).a(" increment following time shown)"));
  emptyLines(job, 1);
  if (job.genpar.embeddedBurstFiltered != 0) embedded_burst_filtering_output(job, job.unitid.printUnit);
  const int perBlock = std::clamp((k.lineWidth - timeColumns) / columnWidth, 1, maxColumns);
  for (int first = 1; first <= k.nPluvios; first += perBlock)
    writeBlock(job, {first, std::min(perBlock, k.nPluvios - first + 1)});
}

}  // namespace echo

}  // namespace kova::engine
