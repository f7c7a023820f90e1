// The parameter summary: routing parameters and, per interstation area and burst, the
// initial loss and loss parameter the run used; and the table-column decimals.
#include "engine/reports/parameter_summary.h"

#include <array>
#include <string_view>

#include "io/format.h"
#include "io/units.h"

namespace kova::engine {

namespace {

constexpr std::size_t nameWidth = 21;

// A loss-table value, 0 for a burst or area beyond the table.
float lossValue(const std::array<std::array<float, state::NISAMAX>, state::maxLossBursts>& table, int burst,
                int area) {
  if (burst < 1 || burst > state::maxLossBursts || area < 1 || area > state::NISAMAX) return 0.0F;
  return table[static_cast<std::size_t>(burst - 1)][static_cast<std::size_t>(area - 1)];
}

float tableValue(const std::array<float, state::NISAMAX>& table, int area) {
  return area >= 1 && area <= state::NISAMAX ? table[static_cast<std::size_t>(area - 1)] : 0.0F;
}

// The first 21 characters of the station name of `area`, blank-padded.
std::string nameField(std::span<const std::string> names, int area) {
  std::string name;
  if (area >= 1 && static_cast<std::size_t>(area) <= names.size()) name = names[static_cast<std::size_t>(area - 1)];
  name.resize(nameWidth, ' ');
  return name;
}

struct Writer {
  state::Job& job;
  int unit;
  void line(std::string_view text) const { io::writeLine(job.units, unit, text); }
  void line(const io::Fmt& record) const { io::writeLine(job.units, unit, record); }
};

void burstTag(io::Fmt& line, std::string_view opening, int burst) { line.a(opening).i(3, burst).a(")"); }

}  // namespace

void writeparam(state::Job& job, int unit, std::span<const std::string> stationNames) {
  const Writer out{job, unit};
  const state::Genpar& g = job.genpar;
  const int areas = job.kov.nIsas;
  const int bursts = job.kov.nBursts;
  const bool continuingLoss = job.kov.constantLossModel == 1;
  const auto& il = g.initialLoss;
  const auto& loss = g.lossRate;

  io::Fmt parameters;
  parameters.slash().a(" Parameters:  kc = ").f(8, 2, g.kc[0]).a("    m = ").f(4, 2, g.m[0]);
  if (areas <= 0) {
    out.line(parameters);
    return;
  }
  const char* lossHead = continuingLoss ? "   Cont. loss (mm/h)" : "     Runoff coeff.";
  const bool singleSet = g.singleParamSet == 1 || areas == 1;
  if (singleSet) {
    out.line(parameters);
    out.line("");
    out.line(std::string(" Loss parameters     Initial loss (mm)") + lossHead);
  } else {
    out.line(std::string(" Model parameters             Kc       m      Initial loss (mm)") + lossHead);
  }

  if (areas == 1) {
    for (int b = 1; b <= bursts; ++b) {
      io::Fmt line;
      line.x(24).f(8, 2, lossValue(il, b, 1)).f(18, 2, lossValue(loss, b, 1));
      if (bursts > 1) burstTag(line, "  (Burst", b);
      out.line(line);
    }
    return;
  }

  out.line("   Interstation area above:");
  for (int a = 1; a <= areas; ++a) {
    for (int b = 1; b <= bursts; ++b) {
      io::Fmt line;
      if (b == 1 || singleSet) {
        line.x(3).a(nameField(stationNames, a));
        if (singleSet) {
          line.f(8, 2, lossValue(il, b, a)).f(18, 2, lossValue(loss, b, a));
        } else {
          line.f(8, 2, tableValue(g.kc, a)).f(8, 2, tableValue(g.m, a));
          line.f(17, 2, lossValue(il, b, a)).f(18, 2, lossValue(loss, b, a));
        }
      } else {
        line.x(40).f(17, 2, lossValue(il, b, a)).f(18, 2, lossValue(loss, b, a));
      }
      if (bursts > 1) burstTag(line, " (Burst", b);
      out.line(line);
    }
  }
}

int numsigfig(float x) {
  if (x < 100.0F) return 4;
  if (x < 1000.0F) return 3;
  if (x < 10000.0F) return 2;
  return 1;
}

}  // namespace kova::engine
