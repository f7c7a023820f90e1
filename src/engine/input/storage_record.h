// What the special-storage reader knows of one storage while it reads it: shared by
// the reader of the discharge record and the reader of the elevation record.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "io/format.h"
#include "io/text_input.h"
#include "state/job.h"

namespace kova::engine {

struct StorageRecord {
  state::Job& job;
  io::InputFile& file;
  float baseCode = 6.0F;  // 6.0 existing, 6.1 to be designed
  bool design = false;
  int step = 0;
  int& next;  // next free cvData index

  int dischargeType = 0;
  float drawdown = 0.0F;
  std::size_t spillways = 0;  // cvData index of the first spillway elevation
  int nSpill = 0;
  std::size_t groups = 0;     // cvData index of the first pipe group
  int nGroups = 0;

  [[nodiscard]] bool hasSpillways() const { return !design && (dischargeType == 2 || dischargeType == 3); }
  [[nodiscard]] float spillwayElevation(int i) const;  // spillway i, from 1
};

// The reader's end-of-file and unreadable-number messages.
void storageReadFailure(state::Job& job, io::ReadStatus status, int step);

// A diagnosis that goes to the output unit itself rather than the report unit.
[[noreturn]] void outputUnitError(state::Job& job, std::initializer_list<std::string_view> lines);
[[noreturn]] void outputUnitError(state::Job& job, const io::Fmt& diagnosis);

// Ends the job unless the value closing a storage record is the end check -99.
void requireStorageEndCheck(const StorageRecord& storage, float value);

// The discharge record (after its comment lines) and the elevation record.
void readDischargeRecord(StorageRecord& storage);
void readElevationRecord(StorageRecord& storage);

}  // namespace kova::engine
