// The hyetograph print: the short form (averages only) and the long form with the
// sub-area depths in blocks that fit the print width.
#include "engine/reports/hyetograph_print.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "driver/messages.h"
#include "io/format.h"

namespace kova::engine {

namespace {

constexpr int maxBlockColumns = 29;  // the most a line layout holds
constexpr int firstColumnsWidth = 16;
constexpr int columnWidth = 4;

// The element at (i, j), or 0 outside the table.
template <typename T>
T at(const state::Mat1<T>& m, int i, int j) {
  if (i < 1 || j < 1 || static_cast<std::size_t>(i) > m.rows || static_cast<std::size_t>(j) > m.cols()) return T{};
  return m(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
}

float at(std::span<const float> v, int k) {
  return k >= 1 && static_cast<std::size_t>(k) <= v.size() ? v[static_cast<std::size_t>(k - 1)] : 0.0F;
}

// A depth rounded to whole mm as INT(depth + 0.5), held inside the integer range.
long long wholeMm(float depth) {
  const double v = std::trunc(static_cast<double>(depth) + 0.5);
  if (!(v > -1.0e15)) return -1'000'000'000'000'000LL;
  return static_cast<long long>(std::min(v, 1.0e15));
}

std::string letterOf(const state::Job& job, int subArea) {
  const auto& letters = job.carr.letters;
  const int index = ((subArea - 1) % 26 + 26) % 26;
  return std::string(1, letters[static_cast<std::size_t>(index)]) + " ";
}

void writeTitle(state::Job& job, const HyetographPrint& p) {
  driver::printLine(job, io::Fmt().slash().slash());
  const bool rain = p.mode == hyetographRain;
  const char* title = rain ? " Rainfall, mm, in time inc. following time shown"
                           : " Rainfall-excess, mm, in time inc. following time shown";
  io::Fmt line;
  line.a(title);
  if (job.kov.nBursts > 1) line.a(", burst ").i(2, p.burst);
  driver::printLine(job, line);
  if (job.kov.nIsas > 1) {
    io::Fmt areaLine;
    areaLine.a(" interstation area ").i(2, p.area).a(", above ").a(p.stationName.substr(0, 28));
    driver::printLine(job, io::trimRight(areaLine.str()));
  }
}

struct BurstSpan {
  int start = 0;
  int first = 1;
  int last = 0;
};

// The burst's increments; none for a burst the table does not hold.
BurstSpan burstSpan(const HyetographPrint& p) {
  const auto& t = p.burstTable;
  if (p.burst < 1 || static_cast<std::size_t>(p.burst) > t.rows || t.cols() < 4) return {};
  return {at(t, p.burst, 1), at(t, p.burst, 3), at(t, p.burst, 4)};
}

// The time and the averages that start every increment line.
io::Fmt averagesLine(const HyetographPrint& p, const BurstSpan& b, int k, bool severalAreas) {
  io::Fmt line;
  line.x(1).i(6, static_cast<long long>(b.start) + (k - b.first)).f(6, 1, at(p.catchmentAverage, k));
  if (severalAreas) line.f(6, 1, at(p.areaAverage, k));
  return line;
}

void shortForm(state::Job& job, const HyetographPrint& p, const BurstSpan& b, bool severalAreas) {
  if (severalAreas) {
    driver::printLine(job, " Time    Sub-  Inter\n         Catch stn.\n incs    ment area\n");
  } else {
    driver::printLine(job, " Time\n         Catch\n incs    ment\n");
  }
  for (int k = b.first; k <= b.last; ++k) driver::printLine(job, averagesLine(p, b, k, severalAreas));
  io::Fmt total;
  total.slash().a(" Tot.").f(5, 1, p.catchmentTotal);
  if (severalAreas) total.f(6, 1, p.areaSum);
  driver::printLine(job, total);
}

void longBlock(state::Job& job, const HyetographPrint& p, const BurstSpan& b, bool severalAreas,
               std::span<const int> block) {
  io::Fmt head;
  if (severalAreas) {
    head.a(" Time    Sub-  Inter   Sub-").slash().x(9).a("catch stn.    area").slash().a(" Incs    ment  area ");
  } else {
    head.a(" Time").x(18).a("Sub-").slash().a("         Catch").x(9).a("Area").slash().a(" Incs ").a("   ment").x(7);
  }
  for (int n : block) head.x(3).a(letterOf(job, n));
  driver::printLine(job, head);
  driver::printLine(job, "");

  const int gap = severalAreas ? 1 : 7;
  for (int k = b.first; k <= b.last; ++k) {
    io::Fmt line = averagesLine(p, b, k, severalAreas);
    line.x(gap);
    for (int n : block) line.i(5, wholeMm(at(p.subAreaDepth, k, n)));
    driver::printLine(job, line);
  }

  io::Fmt total;
  total.slash().a("  Tot.").f(7, 1, p.catchmentTotal);
  if (severalAreas) total.f(7, 1, p.areaSum);
  total.x(gap);
  for (int n : block) total.i(5, wholeMm(at(p.burstDepth, p.burst, n)));
  driver::printLine(job, total);

  if (p.mode == hyetographRain) {
    io::Fmt refs;
    refs.a(" Pluvi. ref. no.    ");
    for (int n : block) refs.i(5, at(p.pluvioRef, p.burst, n));
    driver::printLine(job, refs);
  }
  driver::printLine(job, "");
}

}  // namespace

void hyprin(state::Job& job, const HyetographPrint& print) {
  const state::Kov& k = job.kov;
  const bool severalAreas = k.nIsas > 1;
  const BurstSpan b = burstSpan(print);
  writeTitle(job, print);

  const bool longForm = k.arealRainFlag == 1 || (k.arealRainFlag == 0 && k.impervFlag == 1);
  if (!longForm) {
    shortForm(job, print, b, severalAreas);
    return;
  }
  const int perBlock = std::clamp((k.lineWidth - firstColumnsWidth) / columnWidth, 1, maxBlockColumns);
  const auto step = static_cast<std::size_t>(perBlock);
  for (std::size_t from = 0; from < print.subAreas.size(); from += step) {
    const std::size_t count = std::min(step, print.subAreas.size() - from);
    longBlock(job, print, b, severalAreas, print.subAreas.subspan(from, count));
  }
}

}  // namespace kova::engine
