// The hydrograph report: statistics of a print, the comparison with the recorded
// hydrograph at gauging stations, the hydrograph-store record, and the decimals chooser.
#include "engine/reports/hydrograph_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "driver/messages.h"
#include "io/format.h"
#include "state/limits.h"

namespace kova::engine {

namespace {

constexpr float nearZero = 1.0E-30F;
constexpr std::size_t titleWidth = 60;
constexpr std::size_t recordTitleWidth = 100;

struct KindLabels {
  const char* print1;
  const char* print2;
  const char* record1;
  const char* record2;
  const char* store1;  // the store's own 8-character set
  const char* store2;
};

constexpr std::array<KindLabels, 9> kindLabels{{
    {"  Calc. ", " Actual ", "Calculated  ", "Actual      ", "  Calc. ", " Actual "},
    {"  Calc. ", "        ", "Calculated  ", "            ", "  Calc. ", "        "},
    {"Upstr'm ", "Subarea ", "Upstream    ", "Rain ex.    ", " Upstrm ", "  RainEx"},
    {"This Br.", "Prev.br.", "This Branch ", "Prev. Branch", "This Br.", "Prev.br."},
    {"Downstr.", "Upstream", "Downstream  ", "Upstream    ", "Downstr.", "Upstream"},
    {"Outflow ", " Inflow ", "Outflow     ", "Inflow      ", "Outflow ", " Inflow "},
    {"  After ", " Before ", "After       ", "Before      ", "  After ", " Before "},
    {"Downstr.", "Outflow ", "Downstream  ", "Outflow     ", "Downstr.", "Outflow "},
    {"Downstr.", " Inflow ", "Downstream  ", "Inflow      ", "Downstr.", " Inflow "},
}};

// Every line starts with a 21-column label; the values follow from column 22.
constexpr std::string_view peakLabel = " Peak discharge,m\xB3/s ";
constexpr std::string_view timeToPeakLabel = " Time to peak,h      ";
constexpr std::string_view volumeLabel = " Volume,m\xB3           ";
constexpr std::string_view centroidLabel = " Time to centroid,h  ";
constexpr std::string_view lagLabel = " Lag (c.m. to c.m.),h";
constexpr std::string_view lagToPeakLabel = " Lag to peak,h       ";
constexpr std::size_t labelWidth = 21;
static_assert(peakLabel.size() == labelWidth && timeToPeakLabel.size() == labelWidth &&
              volumeLabel.size() == labelWidth && centroidLabel.size() == labelWidth &&
              lagLabel.size() == labelWidth && lagToPeakLabel.size() == labelWidth);
// Its value is an F8 that ends under the third F9 column.
constexpr std::string_view ordinateErrorLabel = " Av.abs.ord.err,m\xB3/s                    ";
static_assert(ordinateErrorLabel.size() == 40);

std::string padded(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, std::min(text.size(), width)));
  out.resize(width, ' ');
  return out;
}

state::HydStats hydstats(std::span<const float> q, float tx, float dt, float dts) {
  state::HydStats s;
  std::size_t peakAt = 0;
  bool positive = false;
  float sum = 0.0F;
  float moment = 0.0F;
  for (std::size_t j = 0; j < q.size(); ++j) {
    if (q[j] > s.peak) {
      s.peak = q[j];
      peakAt = j;
      positive = true;
    }
    sum += q[j];
    moment += static_cast<float>(j) * q[j];
  }
  s.timeToPeak = positive ? static_cast<float>(peakAt) * dt : tx;
  s.volume = sum * dts;
  s.timeToCentroid = std::fabs(s.volume) < nearZero ? tx : moment * dts / s.volume * dt;
  s.lag = s.timeToCentroid - tx;
  s.lagToPeak = s.timeToPeak - tx;
  return s;
}

int decimalsOf(float x, int w, int s, int d) { return ndecpl(x, w, s, d) - '0'; }

// F6.1 of error as a percent of the recorded value; blank when the recorded value is zero.
std::string percentField(float error, float recorded) {
  if (std::fabs(recorded) <= nearZero) return std::string(6, ' ');
  return io::formatF(6, 1, error / recorded * 100.0F);
}

void fixedLine(state::Job& job, std::string_view label, std::initializer_list<float> values, int decimals,
               const std::string& percent = {}) {
  io::Fmt line;
  line.a(label);
  for (float v : values) line.f(9, decimals, v);
  line.a(percent);
  driver::printLine(job, line);
}

// A time line: the decimals follow the largest value shown on it.
void timeLine(state::Job& job, std::string_view label, std::initializer_list<float> values,
              const std::string& percent = {}) {
  fixedLine(job, label, values, decimalsOf(std::max(values), 9, 3, 0), percent);
}

void volumeLine(state::Job& job, std::initializer_list<float> values, const std::string& percent = {}) {
  io::Fmt line;
  line.a(volumeLabel).p(1);
  for (float v : values) line.e(9, 2, v);
  // The percent is a plain F6.1: the scale factor of the volumes must not carry over.
  line.p(0).a(percent);
  driver::printLine(job, line);
}

void header(state::Job& job, const KindLabels& labels, bool withErrors) {
  std::string first = std::string(27, ' ') + "Hydrograph";
  std::string second = std::string(24, ' ') + labels.print1 + " " + labels.print2;
  if (withErrors) {
    first += std::string(10, ' ') + "Error";
    second += "   Abs. Percent";
  }
  driver::printLine(job, first);
  driver::printLine(job, second);
}

void blankLines(state::Job& job, int count) {
  for (int i = 0; i < count; ++i) driver::printLine(job, "");
}

// The record title and the title lines of the output file.
void writeTitle(state::Job& job, const PrintRequest& request, state::Site& record) {
  const std::string title = padded(request.title, titleWidth);
  const std::string_view longName = io::trimRight(request.longName);
  std::string shown;
  if (request.kind == printCalculated && title.starts_with("Gaug")) {
    record.title = "Calc. hyd. for ungauged interstation site at: " + title.substr(20, 40);
    record.ungaugedFlag = 1;
    shown = " *** " + record.title;
  } else if (!longName.empty()) {
    record.title = std::string(longName.substr(0, std::min(longName.size(), recordTitleWidth)));
    shown = "*** " + record.title;
  } else {
    record.title = title;
    shown = " *** " + title;
  }
  record.title = std::string(io::trimRight(record.title));
  blankLines(job, 3);
  driver::printLine(job, io::trimRight(shown));
  blankLines(job, 1);
}

void storeSeries(state::Series& series, std::span<const float> values) {
  series.values.assign(values.begin(), values.end());
  series.allocated = true;
}

// The hyetographs on the hydrograph's time axis. Value k of burst b (from 1) is
// the depth in the increment starting at time start(b) + k - 1, which is ordinate
// start(b) + k; gaps between bursts stay 0, as does everything outside the hydrograph.
void storeHyetographs(const PrintRainfall& rainfall, std::size_t n, state::Site& record) {
  record.nOrdHyet = static_cast<int>(n);
  record.hyet.values.assign(n, 0.0F);
  record.xshyet.values.assign(n, 0.0F);
  record.hyet.allocated = true;
  record.xshyet.allocated = true;
  if (rainfall.largest <= nearZero) return;
  record.rainfallFlag = 1;
  const auto& burst = rainfall.burst;
  const int bursts = std::min(rainfall.nBursts, static_cast<int>(burst.rows));
  if (burst.cols() < 4) return;
  for (int b = 1; b <= bursts; ++b) {
    const int start = burst(b, 1);
    const int first = burst(b, 3);
    const int last = burst(b, 4);
    // Only positions the series hold, so a faulty table cannot walk far.
    const long long held = static_cast<long long>(std::max(rainfall.rain.size(), rainfall.excess.size()));
    for (long long pos = std::max(first, 1); pos <= std::min<long long>(last, held); ++pos) {
      const long long ordinate = start + (pos - first) + 1;
      if (ordinate < 1 || ordinate > static_cast<long long>(n)) continue;
      const auto o = static_cast<std::size_t>(ordinate - 1);
      const auto p = static_cast<std::size_t>(pos - 1);
      if (p < rainfall.rain.size()) record.hyet.values[o] = rainfall.rain[p];
      if (p < rainfall.excess.size()) record.xshyet.values[o] = rainfall.excess[p];
    }
  }
}

void reportSingle(state::Job& job, const KindLabels& labels, const state::HydStats& s) {
  header(job, labels, false);
  fixedLine(job, peakLabel, {s.peak}, decimalsOf(s.peak, 9, 4, 0));
  timeLine(job, timeToPeakLabel, {s.timeToPeak});
  volumeLine(job, {s.volume});
  if (std::fabs(s.volume) < nearZero) return;
  timeLine(job, centroidLabel, {s.timeToCentroid});
  timeLine(job, lagLabel, {s.lag});
  timeLine(job, lagToPeakLabel, {s.lagToPeak});
}

void reportPair(state::Job& job, const KindLabels& labels, const state::HydStats& a, const state::HydStats& b) {
  header(job, labels, false);
  fixedLine(job, peakLabel, {a.peak, b.peak}, decimalsOf(std::max({a.peak, b.peak}), 9, 4, 0));
  timeLine(job, timeToPeakLabel, {a.timeToPeak, b.timeToPeak});
  volumeLine(job, {a.volume, b.volume});
  timeLine(job, centroidLabel, {a.timeToCentroid, b.timeToCentroid});
  timeLine(job, lagLabel, {a.lag, b.lag});
  timeLine(job, lagToPeakLabel, {a.lagToPeak, b.lagToPeak});
}

// Mean over the calculated ordinates of |recorded - calculated|, the recorded hydrograph
// counting as 0 beyond its last ordinate.
float meanOrdinateError(std::span<const float> calc, std::span<const float> rec) {
  if (calc.empty()) return 0.0F;
  float sum = 0.0F;
  for (std::size_t j = 0; j < calc.size(); ++j) {
    const float r = j < rec.size() ? rec[j] : 0.0F;
    sum += std::fabs(r - calc[j]);
  }
  return sum / static_cast<float>(calc.size());
}

void reportStation(state::Job& job, const KindLabels& labels, const state::HydStats& c, const state::HydStats& r,
                   std::span<const float> calc, std::span<const float> rec) {
  header(job, labels, true);
  const float dts = job.kov.timeIncSec;

  const float peakError = c.peak - r.peak;
  fixedLine(job, peakLabel, {c.peak, r.peak, peakError}, decimalsOf(std::max({c.peak, r.peak}), 9, 4, 0),
            percentField(peakError, r.peak));

  const float tpError = c.timeToPeak - r.timeToPeak;
  timeLine(job, timeToPeakLabel, {c.timeToPeak, r.timeToPeak, tpError}, percentField(tpError, r.timeToPeak));

  const float volumeError = c.volume - r.volume;
  volumeLine(job, {c.volume, r.volume, volumeError}, percentField(volumeError, r.volume));

  const float ordError = meanOrdinateError(calc, rec);
  const float meanRecorded = r.volume / static_cast<float>(rec.size()) / dts;
  io::Fmt line;
  line.a(ordinateErrorLabel).f(8, decimalsOf(ordError, 8, 2, 1), ordError);
  line.a(percentField(ordError, meanRecorded)).a(" over dur. of calcs");
  driver::printLine(job, line);

  const float tcError = c.timeToCentroid - r.timeToCentroid;
  timeLine(job, centroidLabel, {c.timeToCentroid, r.timeToCentroid, tcError},
           percentField(tcError, r.timeToCentroid));
  timeLine(job, lagLabel, {c.lag, r.lag, tcError}, percentField(tcError, r.lag));
  timeLine(job, lagToPeakLabel, {c.lagToPeak, r.lagToPeak, tpError}, percentField(tpError, r.lagToPeak));
}

// The record for print number `count`, added when the store laid out for the run is full.
state::Site& recordFor(state::SiteStore& store, int count) {
  const auto index = static_cast<std::size_t>(count - 1);
  if (store.site.size() <= index) store.site.resize(index + 1);
  return store.site[index];
}

}  // namespace

char ndecpl(float x, int w, int s, int d) {
  const int g = x < 0.0F ? 1 : 0;
  const float mag = std::fabs(x);
  int n = d;
  if (std::isfinite(mag) && !(mag < 0.5F * std::pow(10.0F, static_cast<float>(g + 1 - w)))) {
    int previous = 0;
    int p = 0;
    // The choice settles within a few rounds; the bound only guards against a cycle.
    for (int round = 0; round < 20; ++round) {
      const float digits = std::log10(mag + 0.5F * std::pow(10.0F, static_cast<float>(-p))) + 0.5F;
      const int l = static_cast<int>(std::lround(digits));
      n = std::min(w - g - 1, std::max(d, s - l));
      if (n == d && d != 0) n = std::min(d, std::max(w - (g + 1 + l), 0));
      if (n == previous) break;
      previous = n;
      p = n;
    }
  }
  return static_cast<char>('0' + std::clamp(n, 0, 9));
}

void output(state::Job& job, const PrintRequest& request) {
  state::Genpar& g = job.genpar;
  if (g.nHydsPrinted >= state::NHYDMAX) {
    driver::errmess(job, "Too many hydrographs to be saved/printed:       Increase parameter NHYDMAX");
    driver::clsfil(job);
    driver::endJob(job);
  }
  ++g.nHydsPrinted;
  state::Site& record = recordFor(job.sites, g.nHydsPrinted);
  record = state::Site{};

  PrintRequest req = request;
  if (req.kind < printStation || req.kind > printInflow) req.kind = printCalculated;
  const bool single = req.kind == printCalculated;
  if (req.kind == printStation) {
    const auto recorded = static_cast<std::size_t>(std::max(job.kov.nHydOrds, 0));
    req.hyd2 = req.hyd2.first(std::min(req.hyd2.size(), recorded));
  }
  if (single) req.hyd2 = {};

  const KindLabels& labels = kindLabels[static_cast<std::size_t>(req.kind - 1)];
  record.label12a = labels.record1;
  record.label12b = labels.record2;
  record.label8a = labels.store1;
  record.label8b = labels.store2;
  record.kind = single ? 1 : 2;
  writeTitle(job, req, record);

  const float dt = job.kov.timeInc;
  const float dts = job.kov.timeIncSec;
  const float tx = req.excessCentroid;
  const state::HydStats s1 = hydstats(req.hyd1, tx, dt, dts);
  const state::HydStats s2 = hydstats(req.hyd2, tx, dt, dts);
  record.nOrd1 = static_cast<int>(req.hyd1.size());
  storeSeries(record.hyd1, req.hyd1);
  if (!single) {
    record.nOrd2 = static_cast<int>(req.hyd2.size());
    storeSeries(record.hyd2, req.hyd2);
  }

  bool keepStats = true;
  if (single) {
    reportSingle(job, labels, s1);
  } else if (req.kind == printStation) {
    keepStats = s2.volume >= nearZero;
    if (keepStats) reportStation(job, labels, s1, s2, req.hyd1, req.hyd2);
  } else {
    reportPair(job, labels, s1, s2);
  }
  if (keepStats) {
    record.stats1 = s1;
    if (req.peakGiven) record.stats1.peak = req.givenPeak;
    if (!single) record.stats2 = s2;
  }

  storeHyetographs(req.rainfall, req.hyd1.size(), record);
}

}  // namespace kova::engine
