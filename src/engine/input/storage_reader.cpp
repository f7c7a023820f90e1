// Reader of one special storage (codes 6 and 6.1): its code line, its name and the
// storage-name table, then the discharge and elevation records.
#include "engine/input/storage_reader.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "driver/messages.h"
#include "engine/input/catchment_records.h"
#include "engine/input/storage_record.h"

namespace kova::engine {

namespace {

constexpr std::size_t storageNameEntry = 38;  // width of an entry of the storage-name table

[[noreturn]] void insufficientData(state::Job& job) {
  outputUnitError(job, {" Data error: insufficient data in data files"});
}

}  // namespace

float StorageRecord::spillwayElevation(int i) const {
  return job.catchment.cvData(spillways + 2 * static_cast<std::size_t>(i - 1));
}

void storageReadFailure(state::Job& job, io::ReadStatus status, int /*step*/) {
  if (status == io::ReadStatus::endOfFile) insufficientData(job);
  outputUnitError(job, {" Data error: possibly character data where numerical value expected,",
                        "             or illegal number"});
}

void outputUnitError(state::Job& job, std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) io::writeLine(job.units, job.unitid.outputUnit, line);
  driver::dataError(job, std::initializer_list<std::string_view>{});
}

void outputUnitError(state::Job& job, const io::Fmt& diagnosis) { outputUnitError(job, {diagnosis.str()}); }

void requireStorageEndCheck(const StorageRecord& storage, float value) {
  if (isEndCheck(storage.job, value)) return;
  driver::dataError(storage.job, io::Fmt()
                                     .a(" Error in storage data, code ")
                                     .f(4, 1, storage.baseCode)
                                     .x(6)
                                     .f(8, 2, value)
                                     .slash()
                                     .a(" or string item read for end check"));
}

void read4(state::Job& job, float baseCode, int step, int& dataIndex, int& nameWord) {
  io::InputFile* file = io::inputUnit(job.units, job.unitid.catchmentUnit);
  if (file == nullptr) insufficientData(job);
  float code = 0.0F;
  {
    CheckedRecord record(job, *file, storageReadFailure, step);
    code = record.real();
  }
  if (job.kov.printOption == 3) driver::printLine(job, io::Fmt().a(" Code no.").i(4, step).f(8, 1, code));

  std::string name;
  if (!readNameLine(*file, state::nameLength, name)) insufficientData(job);
  state::Genpar& g = job.genpar;
  g.nSpecialStorages += 1;
  g.storageNames.resize(static_cast<std::size_t>(g.nSpecialStorages));
  g.storageNames.back() = name;
  g.storageNames.back().resize(storageNameEntry, ' ');
  state::storeName(job.work, nameWord, name);
  putData(job, dataIndex, static_cast<float>(nameWord));
  nameWord += state::nameWords;

  StorageRecord storage{job, *file, baseCode, sameCode(baseCode, 6.1F), step, dataIndex};
  readDischargeRecord(storage);
  readElevationRecord(storage);
}

}  // namespace kova::engine
