// The two relations of a special storage: the discharge record (formula, table,
// spillways with or without pipe outlets) and the elevation-storage record, with the
// checks that keep them consistent with each other.
#include <algorithm>
#include <cmath>
#include <string>

#include "driver/messages.h"
#include "engine/input/catchment_records.h"
#include "engine/input/storage_record.h"

namespace kova::engine {

namespace {

using driver::dataError;

enum DischargeType { formula = 0, storageTable = 1, spillwaysAndPipes = 2, spillwaysOnly = 3 };
enum ElevationType { noElevation = 0, elevationTable = 1, elevationFunction = 2 };

constexpr int pipeGroupValues = 5;       // invert, number of pipes, length, gradient, diameter
constexpr int designPipeValues = 3;      // code 6.1 type 2: weir, entrance and bend coefficients
constexpr int designSpillwayValues = 1;  // code 6.1 type 3: the weir coefficient

float at(const StorageRecord& s, std::size_t index) { return s.job.catchment.cvData(index); }

bool isLevel(float drawdown) { return drawdown > 1.0E-30F; }

// A count the record's shape depends on, out of range: the tables it sizes would be
// read from nothing.
[[noreturn]] void badCount(const StorageRecord& s, const char* what, int count, int minimum) {
  dataError(s.job, io::Fmt()
                       .a(" Data error: number of ")
                       .a(what)
                       .i(6, count)
                       .a(" read")
                       .slash()
                       .a(" must be at least ")
                       .a(std::to_string(minimum)));
}

int readCount(StorageRecord& s, CheckedRecord& record, const char* what, int minimum) {
  const int count = record.integer();
  if (count < minimum) badCount(s, what, count, minimum);
  return count;
}

// n pairs of the record straight into two columns behind the count n.
void readPairs(StorageRecord& s, CheckedRecord& record, int pairs) {
  reserveData(s.job, s.next, 1 + 2 * static_cast<long long>(pairs));
  putData(s.job, s.next, static_cast<float>(pairs));
  readColumns(s.job, record, static_cast<std::size_t>(s.next), pairs);
  s.next += 2 * pairs;
}

// `count` values of the record stored as read.
void readValues(StorageRecord& s, CheckedRecord& record, long long count) {
  reserveData(s.job, s.next, count);
  for (long long k = 0; k < count; ++k) putData(s.job, s.next, record.real());
}

void readSpillways(StorageRecord& s, CheckedRecord& record) {
  s.nSpill = readCount(s, record, "spillways", 1);
  putData(s.job, s.next, static_cast<float>(s.nSpill));
  s.spillways = static_cast<std::size_t>(s.next);
  readValues(s, record, 2 * static_cast<long long>(s.nSpill) + 1);  // the pairs, then the weir coefficient
  if (s.dischargeType != spillwaysAndPipes) return;
  readValues(s, record, 2);  // entrance and bend loss coefficients
  s.nGroups = readCount(s, record, "pipe groups", 0);
  putData(s.job, s.next, static_cast<float>(s.nGroups));
  s.groups = static_cast<std::size_t>(s.next);
  readValues(s, record, pipeGroupValues * static_cast<long long>(s.nGroups));
}

void checkStorageTable(const StorageRecord& s, std::size_t first) {
  const auto n = static_cast<std::size_t>(at(s, first - 1));
  const std::size_t q = first + n;
  if (std::fabs(at(s, q)) > 1.0E-30F)
    dataError(s.job, io::Fmt()
                         .a(" Error : first discharge in storage-discharge table must")
                         .a(" be zero. ")
                         .e(10, 3, at(s, q))
                         .a(" read"));
  for (std::size_t i = 1; i < n; ++i) {
    if (at(s, first + i) < at(s, first + i - 1))
      dataError(s.job, io::Fmt()
                           .a(" Data error:successive storage values in storage d/charge")
                           .slash()
                           .a(" table must not decrease  ")
                           .e(10, 3, at(s, first + i - 1))
                           .x(2)
                           .e(10, 3, at(s, first + i))
                           .a("  read"));
    if (at(s, q + i) <= at(s, q + i - 1))
      dataError(s.job, io::Fmt()
                           .a(" Warning: discharge values ")
                           .e(10, 3, at(s, q + i - 1))
                           .x(2)
                           .e(10, 3, at(s, q + i))
                           .slash()
                           .a(" in storage/discharge table must increase"));
  }
}

void checkOutletWorks(const StorageRecord& s) {
  const float first = s.spillwayElevation(1);
  for (int i = 2; i <= s.nSpill; ++i) {
    if (s.spillwayElevation(i) < first)
      dataError(s.job, io::Fmt().a(" Error : spillway elev.").i(2, i).a(" < spillway elev. 1,").f(8, 2, first));
  }
  if (s.dischargeType != spillwaysAndPipes || s.nGroups < 1) return;
  auto invert = [&](int g) { return at(s, s.groups + static_cast<std::size_t>(pipeGroupValues * (g - 1))); };
  if (!(invert(1) < first))
    dataError(s.job, io::Fmt()
                         .a(" Elevation error : pipe inlet= ")
                         .f(7, 2, invert(1))
                         .a(" not less than")
                         .a(" spillway el.= ")
                         .f(7, 2, first));
  for (int g = 2; g <= s.nGroups; ++g) {
    if (invert(g) < invert(1))
      dataError(s.job, io::Fmt().a(" Error : pipe outlet no.").i(2, g).a(" lower than outlet no. 1"));
  }
}

void checkElevationTable(const StorageRecord& s, std::size_t first) {
  const auto n = static_cast<std::size_t>(at(s, first - 1));
  const std::size_t storages = first + n;
  if (s.hasSpillways()) {
    float tableTop = at(s, first);
    for (std::size_t i = 1; i < n; ++i) tableTop = std::max(tableTop, at(s, first + i));
    float spillTop = s.spillwayElevation(1);
    for (int i = 2; i <= s.nSpill; ++i) spillTop = std::max(spillTop, s.spillwayElevation(i));
    if (!(tableTop > spillTop))
      dataError(s.job, {" Elevation error : highest spillway el. outside range of storage table"});
  }
  for (std::size_t i = 1; i < n; ++i) {
    if (at(s, first + i) <= at(s, first + i - 1))
      dataError(s.job, io::Fmt()
                           .a(" Error: elevation values ")
                           .e(10, 3, at(s, first + i - 1))
                           .x(2)
                           .e(10, 3, at(s, first + i))
                           .slash()
                           .a(" in elevation-storage table don't increase"));
    if (at(s, storages + i) < at(s, storages + i - 1))
      dataError(s.job, io::Fmt()
                           .a(" Data error: successive storage values in elevation-")
                           .a("storage")
                           .slash()
                           .a(" table  cannot decrease")
                           .e(10, 3, at(s, storages + i - 1))
                           .x(2)
                           .e(10, 3, at(s, storages + i))
                           .a(" read"));
  }
}

void checkWithoutElevation(const StorageRecord& s) {
  if (isLevel(s.drawdown))
    dataError(s.job, {" Data error: cannot specify drawdown as water elevation", " if no elevation relation supplied"});
  if (s.design || s.dischargeType == spillwaysAndPipes || s.dischargeType == spillwaysOnly)
    outputUnitError(s.job, io::Fmt()
                               .a(" Data error: elev/storage relation type of 0")
                               .slash()
                               .a(" illegal with code=6.1 or discharge/storage type=2 or 3")
                               .slash()
                               .a("code=")
                               .f(3, 1, s.baseCode)
                               .a(" and dis. rel. type=")
                               .i(2, s.dischargeType)
                               .a(" were read"));
}

// An existing storage's spillway and starting level against the lowest elevation of
// its elevation relation.
void checkAgainstLowest(const StorageRecord& s, float lowest) {
  if (s.design) return;
  if (s.dischargeType == spillwaysOnly && s.spillwayElevation(1) < lowest)
    dataError(s.job, {" Data error : spillway el. below min. el. of storage relation "});
  if (isLevel(s.drawdown) && s.drawdown < lowest)
    dataError(s.job, io::Fmt()
                         .a(" Data error: drawdown elev. ")
                         .f(6, 2, s.drawdown)
                         .a(" is lower than ")
                         .a("minimum of storage-elev reln.")
                         .f(6, 2, lowest));
}

}  // namespace

void readDischargeRecord(StorageRecord& s) {
  state::Job& job = s.job;
  io::skipComments(s.file, job.carr.commentMark);
  const int type = peekInteger(job, s.file, storageReadFailure, s.step);
  if (type < formula || type > spillwaysOnly)
    outputUnitError(job, io::Fmt()
                             .a(" Data error: discharge relation flag not between 0 & 3")
                             .slash()
                             .x(1)
                             .i(3, type)
                             .a(" read"));
  if (s.design && type == storageTable)
    outputUnitError(job, io::Fmt()
                             .a(" Data error: discharge relation of type")
                             .i(2, type)
                             .slash()
                             .a(" is illegal with code 6.1"));
  if (s.design) job.kov.designStorage = 1;
  s.dischargeType = type;

  float end = 0.0F;
  std::size_t tableStart = 0;
  {
    CheckedRecord record(job, s.file, storageReadFailure, s.step);
    record.integer();
    if (!s.design) s.drawdown = record.real();
    for (float v : {s.drawdown, 0.0F, 0.0F, static_cast<float>(type)}) putData(job, s.next, v);
    if (s.design) {
      int values = 0;
      if (type == spillwaysAndPipes) values = designPipeValues;
      if (type == spillwaysOnly) values = designSpillwayValues;
      readValues(s, record, values);
    } else if (type == formula) {
      readValues(s, record, 2);
    } else if (type == storageTable) {
      const int pairs = readCount(s, record, "pairs in storage-discharge table", 1);
      tableStart = static_cast<std::size_t>(s.next) + 1;
      readPairs(s, record, pairs);
    } else {
      readSpillways(s, record);
    }
    end = record.real();
  }
  if (tableStart != 0) checkStorageTable(s, tableStart);
  if (s.hasSpillways()) checkOutletWorks(s);
  requireStorageEndCheck(s, end);
}

void readElevationRecord(StorageRecord& s) {
  state::Job& job = s.job;
  io::skipComments(s.file, job.carr.commentMark);
  const int type = peekInteger(job, s.file, storageReadFailure, s.step);
  if (type < noElevation || type > elevationFunction)
    outputUnitError(job, io::Fmt().a(" Data error: elev./storage relation not between 0 & 2 ").i(3, type).a(" read"));

  float end = 0.0F;
  std::size_t first = 0;
  {
    CheckedRecord record(job, s.file, storageReadFailure, s.step);
    record.integer();
    putData(job, s.next, static_cast<float>(type));
    if (type == elevationTable) {
      const int pairs = record.integer();
      if (pairs < 1) dataError(job, {" Data error: cannot have zero pairs in", " HS table"});
      first = static_cast<std::size_t>(s.next) + 1;
      readPairs(s, record, pairs);
    } else if (type == elevationFunction) {
      first = static_cast<std::size_t>(s.next);
      readValues(s, record, 3);
    }
    end = record.real();
  }
  if (type == noElevation) {
    checkWithoutElevation(s);
  } else if (type == elevationTable) {
    checkElevationTable(s, first);
    checkAgainstLowest(s, at(s, first));
  } else {
    checkAgainstLowest(s, at(s, first + 2));  // the function's base elevation
  }
  requireStorageEndCheck(s, end);
}

}  // namespace kova::engine
