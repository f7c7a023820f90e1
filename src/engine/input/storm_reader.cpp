// Reader of the storm data after the burst times: pluviographs and their burst totals,
// sub-area rainfalls, pluviograph references, hydrograph times, recorded hydrographs
// and rise volumes.
#include "engine/input/storm_reader.h"

#include <algorithm>
#include <string>

#include "driver/messages.h"
#include "engine/input/storm_records.h"
#include "io/format.h"
#include "io/text_input.h"
#include "state/limits.h"

namespace kova::engine {

namespace {

using storm::heading;
using storm::readInteger;
using storm::readReal;
using Index = std::size_t;

Index at(int n) { return static_cast<Index>(n); }

// The name that the hydrograph report gives the outlet's hydrograph.
constexpr const char* outletName = "Catchment outlet";

void checkEnd(state::Job& job, float end, int count) {
  if (!storm::isEndCheck(job, end)) storm::endCheckError(job, end, count, "ordinates");
}

void readPluviographs(state::Job& job, io::InputFile& file) {
  const state::Kov& k = job.kov;
  state::StormTables& t = job.stormTables;
  for (int p = 1; p <= k.nPluvios; ++p) {
    if (k.printOption == 3) driver::printLine(job, io::Fmt().a(" Pluviograph").i(2, p));
    state::storeName(job.work, t.pluvioNameWord + state::nameWords * (p - 1), storm::readNameLine(job, file));
    io::skipComments(file, job.carr.commentMark);
    float end = 0.0F;
    {
      io::ListRecord record(file);
      for (int n = 1; n <= k.nRainIncs; ++n) t.pluvio(at(n), at(p)) = readReal(job, record);
      end = readReal(job, record);
    }
    if (k.nRainIncs > state::maxPluvioIncs) storm::logOnlyError(job, "Number of time increments in pluvio exceeded.");
    checkEnd(job, end, k.nRainIncs);
  }
}

void sumBurstTotals(state::Job& job) {
  const state::Kov& k = job.kov;
  state::StormTables& t = job.stormTables;
  const state::Mat1<int>& burst = job.subAreaTables.burst;
  for (int b = 1; b <= k.nBursts; ++b) {
    for (int p = 1; p <= k.nPluvios; ++p) {
      float total = 0.0F;
      for (int n = burst(at(b), 3); n <= burst(at(b), 4); ++n) total += t.pluvio(at(n), at(p));
      t.burstTotal(at(b), at(p)) = total;
    }
  }
}

// One record per burst of a value for each sub-area, as reals or as integers.
template <typename Read>
void readPerBurst(state::Job& job, io::InputFile& file, std::string_view title, Read read) {
  const state::Kov& k = job.kov;
  heading(job, title);
  for (int b = 1; b <= k.nBursts; ++b) {
    if (k.nBursts > 1 && k.printOption == 3) driver::printLine(job, io::Fmt().a("   Burst no.").i(2, b));
    io::skipComments(file, job.carr.commentMark);
    float end = 0.0F;
    {
      io::ListRecord record(file);
      for (int i = 1; i <= k.nSubAreas; ++i) read(record, at(b), at(i));
      end = readReal(job, record);
    }
    checkEnd(job, end, k.nSubAreas);
  }
}

void readSubAreaRain(state::Job& job, io::InputFile& file) {
  const state::Kov& k = job.kov;
  state::StormTables& t = job.stormTables;
  if (k.arealRainFlag == 1) {
    readPerBurst(job, file, " Sub-area rainfalls",
                 [&](io::ListRecord& record, Index b, Index i) { t.subAreaRain(b, i) = readReal(job, record); });
    return;
  }
  for (int b = 1; b <= k.nBursts; ++b)
    for (int i = 1; i <= k.nSubAreas; ++i) t.subAreaRain(at(b), at(i)) = t.burstTotal(at(b), 1);
}

void readPluvioRefs(state::Job& job, io::InputFile& file) {
  const state::Kov& k = job.kov;
  state::StormTables& t = job.stormTables;
  if (k.nPluvios < 2) {
    for (int b = 1; b <= k.nBursts; ++b)
      for (int i = 1; i <= k.nSubAreas; ++i) t.pluvioRef(at(b), at(i)) = 1;
    return;
  }
  readPerBurst(job, file, " Pluviograph reference nos.",
               [&](io::ListRecord& record, Index b, Index i) { t.pluvioRef(b, i) = readInteger(job, record); });
  // A reference to no pluviograph would send the loss models outside the rainfall table.
  for (int b = 1; b <= k.nBursts; ++b) {
    for (int i = 1; i <= k.nSubAreas; ++i) {
      const int ref = t.pluvioRef(at(b), at(i));
      if (ref < 1 || ref > k.nPluvios)
        driver::dataError(job, io::Fmt()
                                   .a(" Data error: pluviograph reference no.")
                                   .i(4, ref)
                                   .a(" for sub-area")
                                   .i(3, i)
                                   .a(" not between 1 and")
                                   .i(3, k.nPluvios));
    }
  }
}

bool isGauged(const state::Job& job, int k) {
  const auto& flags = job.genpar.isUngauged;
  return at(k) >= flags.size() || flags[at(k)] != 1;
}

// Reads the times of the gauged hydrographs, gives the ungauged ones (0, 1), and sets
// nHydOrds; the recorded hydrographs must fit their table.
void readHydTimes(state::Job& job, io::InputFile& file) {
  state::Kov& k = job.kov;
  state::StormTables& t = job.stormTables;
  heading(job, " Hydrograph times");
  int expected = 0;
  for (int h = 1; h <= k.nHyds; ++h) expected += isGauged(job, h) ? 1 : 0;
  const std::string expectedLine = io::Fmt().x(1).i(3, expected).a(" hydrograph(s) expected in data").str();
  if (expected > 0) {
    if (k.printOption == 3) driver::printLine(job, expectedLine);
    io::skipComments(file, job.carr.commentMark);
    float end = 0.0F;
    {
      io::ListRecord record(file);
      for (int h = 1; h <= k.nHyds; ++h) {
        if (!isGauged(job, h)) continue;
        t.hydTimes(1, at(h)) = readInteger(job, record);
        t.hydTimes(2, at(h)) = readInteger(job, record);
      }
      end = readReal(job, record);
    }
    if (!storm::isEndCheck(job, end)) storm::endCheckError(job, end, 2 * expected, "ordinates", expectedLine);
  }
  int lastFinish = 0;
  for (int h = 1; h <= k.nHyds; ++h) {
    if (!isGauged(job, h)) {
      t.hydTimes(1, at(h)) = 0;
      t.hydTimes(2, at(h)) = 1;
    }
    const int start = t.hydTimes(1, at(h));
    const int finish = t.hydTimes(2, at(h));
    // Ordinates before the initial time would fall outside the table.
    if (finish <= start || start < 0)
      driver::dataError(job, io::Fmt()
                                 .a(" Data error: hydrograph times in error")
                                 .i(5, start)
                                 .a(" >/=")
                                 .i(5, finish)
                                 .slash()
                                 .a(expectedLine));
    lastFinish = std::max(lastFinish, finish);
  }
  // Compared before adding 1, which a finish of the largest integer would overflow.
  if (lastFinish >= t.recHydCapacity)
    driver::dataError(job, {"", " Limit on total real array storage (" + std::to_string(k.limReal) + ") exceeded"});
  k.nHydOrds = lastFinish + 1;
}

// The recorded-hydrograph table is handed over as it lies in the work array: clear the
// first `rows` ordinates of every column (at least one of each), the part the later
// stages keep, so that ordinates no hydrograph gives read as 0.
void clearRecordedRows(state::Job& job, int rows) {
  state::StormTables& t = job.stormTables;
  if (t.recHyd.rows == 0) return;
  const std::size_t keep = std::min(static_cast<std::size_t>(std::max(rows, 1)), t.recHyd.rows);
  const std::size_t columns = std::min<std::size_t>(static_cast<std::size_t>(std::max(job.kov.nHyds, 1)), t.recHyd.cols());
  for (std::size_t h = 1; h <= columns; ++h) {
    const auto column = t.recHyd.data.subspan((h - 1) * t.recHyd.rows, keep);
    std::fill(column.begin(), column.end(), 0.0F);
  }
}

void readRecordedHydrographs(state::Job& job, io::InputFile& file) {
  const state::Kov& k = job.kov;
  state::StormTables& t = job.stormTables;
  for (int h = 1; h <= k.nHyds; ++h) {
    if (!isGauged(job, h)) continue;
    if (k.printOption == 3) driver::printLine(job, io::Fmt().a(" Hydrograph ").i(2, h));
    state::storeName(job.work, t.hydNameWord + state::nameWords * (h - 1), storm::readNameLine(job, file));
    const int first = t.hydTimes(1, at(h)) + 1;
    const int last = t.hydTimes(2, at(h)) + 1;
    io::skipComments(file, job.carr.commentMark);
    float end = 0.0F;
    {
      io::ListRecord record(file);
      for (int n = first; n <= last; ++n) t.recHyd(at(n), at(h)) = readReal(job, record);
      end = readReal(job, record);
    }
    checkEnd(job, end, last - first + 1);
    if (k.nBursts <= 1) {
      t.riseVol(1, at(h)) = 1.0F;
      continue;
    }
    io::skipComments(file, job.carr.commentMark);
    float sum = 0.0F;
    {
      io::ListRecord record(file);
      for (int b = 1; b <= k.nBursts; ++b) {
        t.riseVol(at(b), at(h)) = readReal(job, record);
        sum += t.riseVol(at(b), at(h));
      }
      end = readReal(job, record);
    }
    checkEnd(job, end, k.nBursts);
    if (!(sum > 1.0E-30F)) driver::dataError(job, {" Data error: sum of proportional rise volumes =0.0"});
    for (int b = 1; b <= k.nBursts; ++b) t.riseVol(at(b), at(h)) /= sum;
  }
}

}  // namespace

void read3(state::Job& job) {
  const state::Kov& k = job.kov;
  const state::StormTables& t = job.stormTables;
  state::storeName(job.work, t.hydNameWord + state::nameWords * k.nHyds, outletName);
  io::InputFile& file = storm::inputOf(job, job.unitid.stormUnit);
  if (k.nPluvios > 0 && k.nSubAreas > 0) {
    readPluviographs(job, file);
    sumBurstTotals(job);
  }
  readSubAreaRain(job, file);
  readPluvioRefs(job, file);
  if (k.nHyds == 0) {
    clearRecordedRows(job, 1);
    return;
  }
  readHydTimes(job, file);
  clearRecordedRows(job, k.nHydOrds);
  readRecordedHydrographs(job, file);
}

}  // namespace kova::engine
