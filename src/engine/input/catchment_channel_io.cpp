// Reader of the code-9 records of the control vector: channel inflows and outflows
// given as hydrographs, as functions or tables of the running discharge, or as the
// same I/O as an earlier one, concentrated or distributed over reaches.
#include <array>
#include <cmath>
#include <string>

#include "driver/messages.h"
#include "engine/input/catchment_records.h"
#include "engine/input/catchment_vector_scan.h"
#include "io/format.h"

namespace kova::engine {

namespace {

using driver::dataError;
using driver::printLine;

enum IOType { givenHydrograph = 0, function = 1, sameAsEarlier = 2, dischargeTable = 3 };

constexpr int ioBase = 9;  // the code number of channel I/O
// cvData offsets of the fields every code-9 step starts with.
constexpr std::size_t typeSlot = 0;
constexpr std::size_t reachesSlot = 1;
constexpr std::size_t idSlot = 3;
constexpr std::size_t nameSlot = 4;  // the hydrograph number (type 0) or the name index

// The fields every code-9 record starts with.
struct IOHead {
  float type = 0.0F;
  float reaches = 0.0F;
  float direction = 0.0F;
  float id = 0.0F;
};

float dataAt(const state::Job& job, std::size_t index) { return job.catchment.cvData(index); }

void checkType(VectorScan& scan, const IOHead& head) {
  const int type = nearestInt(head.type);
  if (type >= givenHydrograph && type <= dischargeTable) return;
  dataError(scan.job, io::Fmt()
                          .a(" Data error: I/O type")
                          .f(6, 1, head.type)
                          .a(" not 0,1,2 or 3, code no.")
                          .i(4, scan.step));
}

// The reach count n must be 0, a number of reaches, or -1 for every reach to the end.
void checkReachCount(VectorScan& scan, const IOHead& head) {
  if (nearestInt(head.reaches) >= -1) return;
  dataError(scan.job, io::Fmt()
                          .a(" Data error: number of reaches for I/O")
                          .f(6, 1, head.reaches)
                          .a(" not -1 or more, code no.")
                          .i(4, scan.step));
}

void warnIneffectiveOutflow(VectorScan& scan) {
  printLine(scan.job, "");
  printLine(scan.job, "");
  printLine(scan.job, io::Fmt()
                          .a(" Warning: conc. channel outflow, code no. ")
                          .i(4, scan.step)
                          .a(", ineffective")
                          .slash()
                          .a(" since running h/g set to zero"));
  printLine(scan.job, "");
  printLine(scan.job, "");
}

// The running-hydrograph and store bookkeeping of one I/O, once its head is known.
void startIO(VectorScan& scan, float code, const IOHead& head, int headIndex) {
  const int reaches = nearestInt(head.reaches);
  if (reaches != 0 && scan.ioRunning()) dataError(scan.job, {" Data error: lateral I/O h/graph reaches overlap"});
  if (reaches == 0) {
    if (head.direction >= 0.5F) {
      scan.runningNonZero = true;
    } else if (!scan.runningNonZero) {
      warnIneffectiveOutflow(scan);
    }
    if (code > printCode || head.direction <= -0.5F) raiseStoreLevel(scan.job, scan.level);
    return;
  }
  scan.ioCode = code;
  if (reaches < 0) {
    scan.ioToEnd = true;
    scan.ioToEndSlot = headIndex + 1;
    scan.ioToEndReaches = 0;
  } else {
    scan.ioReachesLeft = reaches;
  }
}

void readGivenHydrograph(VectorScan& scan, float end) {
  state::Job& job = scan.job;
  job.kov.nHyds += 1;
  job.genpar.isUngauged.resize(static_cast<std::size_t>(job.kov.nHyds) + 1, 0);
  requireEndCheck(scan, end, ioBase);
  putData(job, scan.nextData, static_cast<float>(job.kov.nHyds));
}

void readFunction(VectorScan& scan, float code) {
  state::Job& job = scan.job;
  putData(job, scan.nextData, static_cast<float>(readLocationName(scan, code)));
  io::skipComments(scan.file, job.carr.commentMark);
  std::array<float, 4> values{};  // a, c, b, d
  float end = 0.0F;
  {
    CheckedRecord record(job, scan.file, vectorReadFailure, scan.step);
    for (float& v : values) v = record.real();
    end = record.real();
  }
  requireEndCheck(scan, end, ioBase);
  for (float v : values) putData(job, scan.nextData, v);
}

[[noreturn]] void tooFewPairs(VectorScan& scan, int count) {
  dataError(scan.job, io::Fmt()
                          .a(" Data error: number of pairs in discharge-I/O table")
                          .i(6, count)
                          .a(" read, code no.")
                          .i(4, scan.step)
                          .slash()
                          .a(" must be at least 1"));
}

// The discharge-I/O table: m, then the m discharges, then the m I/O values.
void readDischargeTable(VectorScan& scan, float code) {
  state::Job& job = scan.job;
  state::Vec1<float>& data = job.catchment.cvData;
  putData(job, scan.nextData, static_cast<float>(readLocationName(scan, code)));
  io::skipComments(scan.file, job.carr.commentMark);
  float end = 0.0F;
  int pairs = 0;
  const auto first = static_cast<std::size_t>(scan.nextData) + 1;
  {
    CheckedRecord record(job, scan.file, vectorReadFailure, scan.step);
    pairs = record.integer();
    if (pairs < 1) tooFewPairs(scan, pairs);
    reserveData(job, scan.nextData, 1 + 2 * static_cast<long long>(pairs));
    readColumns(job, record, first, pairs);
    end = record.real();
  }
  const auto m = static_cast<std::size_t>(pairs);
  if (std::fabs(data(first + m)) > 1.0E-30F)
    dataError(job, io::Fmt()
                       .a(" Data error : first I/O value in discharge-I/O table")
                       .slash()
                       .a(" must be zero.")
                       .f(10, 3, data(first + m))
                       .a(" read,code no.")
                       .i(4, scan.step));
  for (std::size_t i = 1; i < m; ++i) {
    if (data(first + i) > data(first + i - 1)) continue;
    dataError(job, io::Fmt()
                       .a(" Data error:successive discharge values in discharge I/O")
                       .slash()
                       .a(" table must increase  ")
                       .e(10, 3, data(first + i - 1))
                       .x(2)
                       .e(10, 3, data(first + i))
                       .a(" read,code no.")
                       .i(4, scan.step));
  }
  requireEndCheck(scan, end, ioBase);
  data(first - 1) = static_cast<float>(pairs);
  scan.nextData += 1 + 2 * pairs;
}

// Type 2: the I/O of an earlier code 9 with the same id, searched back from this step.
void readSameAsEarlier(VectorScan& scan, const IOHead& head, float end) {
  state::Job& job = scan.job;
  state::CatchmentTables& t = job.catchment;
  const int id = nearestInt(head.id);
  if (std::fabs(head.id) <= 0.5F)
    dataError(job, io::Fmt()
                       .a(" Data error: previous I/O may not be identified by")
                       .a(" zero")
                       .slash()
                       .a(" control code no.")
                       .i(4, scan.step));
  int passed = 0;
  int earlier = 0;
  for (int j = scan.step - 1; j >= 1 && earlier == 0; --j) {
    if (baseCode(t.code(static_cast<std::size_t>(j))) != ioBase) continue;
    ++passed;
    const auto at = static_cast<std::size_t>(t.stepData(static_cast<std::size_t>(j)));
    if (nearestInt(dataAt(job, at + idSlot)) == id) earlier = j;
  }
  if (earlier == 0)
    dataError(job, io::Fmt()
                       .a(" Data error: previous I/O identified by")
                       .i(8, id)
                       .a(" not found")
                       .slash()
                       .a("  control code no.")
                       .i(4, scan.step));
  const auto at = static_cast<std::size_t>(t.stepData(static_cast<std::size_t>(earlier)));
  const int earlierType = nearestInt(dataAt(job, at + typeSlot));
  if (earlierType == sameAsEarlier)
    dataError(job, io::Fmt()
                       .a(" Data error: previous I/O code no.")
                       .i(4, earlier)
                       .a(" defining I/O ")
                       .a("at code no.")
                       .i(4, scan.step)
                       .slash()
                       .a(" may not also be previously defined"));
  if (std::fabs(dataAt(job, at + reachesSlot)) >= 0.5F)
    dataError(job, io::Fmt()
                       .a(" Data error: calc. I/O nominated as channel I/O")
                       .slash()
                       .a(" by control code no.")
                       .i(4, scan.step)
                       .a(" is not concentrated I/O"));
  requireEndCheck(scan, end, ioBase);
  t.ioPrevCount(static_cast<std::size_t>(job.kov.nIOs)) = passed;

  const int word = takeNameWords(job);
  float hydNumber = 0.0F;
  float lent = 0.0F;
  if (earlierType == givenHydrograph) {
    // The name follows from the lent hydrograph later on; the words stay blank here.
    hydNumber = dataAt(job, at + nameSlot);
    lent = 1.0F;
    state::storeName(job.work, word, "");
  } else {
    const std::string name(state::nameAt(job.work, nearestInt(dataAt(job, at + nameSlot))));
    state::storeName(job.work, word, name);
  }
  putData(job, scan.nextData, static_cast<float>(word));
  putData(job, scan.nextData, hydNumber);
  putData(job, scan.nextData, lent);
  putData(job, scan.nextData, static_cast<float>(earlier));
}

}  // namespace

void readChannelIO(VectorScan& scan, float code) {
  state::Job& job = scan.job;
  job.kov.nIOs += 1;
  if (static_cast<std::size_t>(job.kov.nIOs) > job.catchment.ioPrevCount.capacity()) integerStorageTooLow(job);
  job.catchment.ioPrevCount(static_cast<std::size_t>(job.kov.nIOs)) = 0;

  IOHead head;
  float end = 0.0F;
  int type = 0;
  {
    CheckedRecord record(job, scan.file, vectorReadFailure, scan.step);
    record.real();
    head.type = record.real();
    head.reaches = record.real();
    head.direction = record.real();
    head.id = record.real();
    checkType(scan, head);
    type = nearestInt(head.type);
    // Only the hydrograph and same-as-earlier records close with the end check.
    if (type == givenHydrograph || type == sameAsEarlier) end = record.real();
  }
  checkReachCount(scan, head);
  const int headIndex = scan.nextData;
  startIO(scan, code, head, headIndex);
  for (float v : {head.type, head.reaches, head.direction, head.id}) putData(job, scan.nextData, v);

  switch (type) {
    case givenHydrograph: readGivenHydrograph(scan, end); break;
    case function: readFunction(scan, code); break;
    case sameAsEarlier: readSameAsEarlier(scan, head, end); break;
    default: readDischargeTable(scan, code); break;
  }
}

}  // namespace kova::engine
