// Record plumbing shared by the catchment-file readers: checked free-format records,
// name lines, the end check, cvData appends within capacity and the storage-limit messages.
#pragma once

#include <string>
#include <string_view>

#include "io/text_input.h"
#include "state/job.h"

namespace kova::engine {

// How a reader reports a record it cannot read (an end of file or a non-number);
// it writes its own messages and ends the job.
using ReadFailure = void (*)(state::Job& job, io::ReadStatus status, int step);

// One free-format record whose every item must be read: a failure goes to the
// reader's own report and the job ends there.
class CheckedRecord {
 public:
  CheckedRecord(state::Job& job, io::InputFile& file, ReadFailure failure, int step);
  float real();
  int integer();

 private:
  void require(io::ReadStatus status);

  state::Job& job_;
  io::ListRecord record_;
  ReadFailure failure_;
  int step_;
};

// Reads the first value of the next record and steps back to its line, so that the
// record can be read again whole once its first value has chosen how.
float peekReal(state::Job& job, io::InputFile& file, ReadFailure failure, int step);
int peekInteger(state::Job& job, io::InputFile& file, ReadFailure failure, int step);

// The first `width` characters of the next line, blank-padded, a stray CR blanked;
// false at the end of the file.
bool readNameLine(io::InputFile& file, std::size_t width, std::string& name);

// True when the value closing a record is the end check (-99) within 1.0E-30.
bool isEndCheck(const state::Job& job, float value);

// The nearest whole number, held inside the integer range.
int nearestInt(float value);

// The part of a control-vector code below ten: c - 10 * trunc(c / 10).
float codeRemainder(float code);
// The code number: trunc(remainder + 0.05), toward zero.
int baseCode(float code);
// True when two reals stand for the same fraction within 1.0E-4 (6.1, 7.1, 7.2).
bool sameCode(float value, float target);

// The three storage-limit messages of the catchment readers; each ends the job.
[[noreturn]] void realStorageTooLow(state::Job& job);
[[noreturn]] void integerStorageTooLow(state::Job& job);
[[noreturn]] void characterStorageTooLow(state::Job& job);

// Makes sure `count` values fit in cvData from index `next` on, else the real-storage
// message: no reader writes past the end of the table.
void reserveData(state::Job& job, int next, long long count);
// The pairs of a table record read straight into two columns of cvData: of `pairs`
// pairs, the first values go to cvData(at + i), the second to cvData(at + pairs + i).
// The caller has reserved the room.
void readColumns(state::Job& job, CheckedRecord& record, std::size_t at, int pairs);
// Stores one value at cvData(next) and advances next, within the table's capacity.
void putData(state::Job& job, int& next, float value);

}  // namespace kova::engine
