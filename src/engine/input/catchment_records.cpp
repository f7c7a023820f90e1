// Record plumbing shared by the catchment-file readers.
#include "engine/input/catchment_records.h"

#include <algorithm>
#include <cmath>

#include "driver/messages.h"

namespace kova::engine {

CheckedRecord::CheckedRecord(state::Job& job, io::InputFile& file, ReadFailure failure, int step)
    : job_(job), record_(file), failure_(failure), step_(step) {}

void CheckedRecord::require(io::ReadStatus status) {
  if (status == io::ReadStatus::ok) return;
  failure_(job_, status, step_);
  // A failure report always ends the job; this keeps the promise if one ever returns.
  driver::endJob(job_);
}

float CheckedRecord::real() {
  float value = 0.0F;
  require(record_.real(value));
  return value;
}

int CheckedRecord::integer() {
  int value = 0;
  require(record_.integer(value));
  return value;
}

float peekReal(state::Job& job, io::InputFile& file, ReadFailure failure, int step) {
  float value = 0.0F;
  {
    CheckedRecord record(job, file, failure, step);
    value = record.real();
  }
  io::backspace(file);
  return value;
}

int peekInteger(state::Job& job, io::InputFile& file, ReadFailure failure, int step) {
  int value = 0;
  {
    CheckedRecord record(job, file, failure, step);
    value = record.integer();
  }
  io::backspace(file);
  return value;
}

bool readNameLine(io::InputFile& file, std::size_t width, std::string& name) {
  std::string line;
  if (!io::readLine(file, line)) return false;
  name = line.substr(0, std::min(width, line.size()));
  name.resize(width, ' ');
  std::replace(name.begin(), name.end(), '\r', ' ');
  return true;
}

bool isEndCheck(const state::Job& job, float value) { return std::fabs(value - job.kov.endCheck) <= 1.0E-30F; }

int nearestInt(float value) {
  constexpr double limit = 2.0E9;
  return static_cast<int>(std::lround(std::clamp(static_cast<double>(value), -limit, limit)));
}

float codeRemainder(float code) { return code - 10.0F * std::trunc(code / 10.0F); }

int baseCode(float code) { return static_cast<int>(std::trunc(codeRemainder(code) + 0.05F)); }

bool sameCode(float value, float target) { return std::fabs(value - target) <= 1.0E-4F; }

void realStorageTooLow(state::Job& job) {
  driver::dataError(job, io::Fmt()
                             .a(" Limit on total real array storage(")
                             .a(std::to_string(job.kov.limReal))
                             .a(") too low for data read-in"));
}

void integerStorageTooLow(state::Job& job) {
  driver::dataError(job, io::Fmt()
                             .a(" Limit on total integer array storage(")
                             .a(std::to_string(job.kov.limInt))
                             .a(") too low for data read-in"));
}

void characterStorageTooLow(state::Job& job) {
  driver::dataError(job, io::Fmt()
                             .a(" Limit on total character array storage (")
                             .a(std::to_string(job.kov.limChar))
                             .a(") too low for data read in"));
}

void reserveData(state::Job& job, int next, long long count) {
  const auto capacity = static_cast<long long>(job.catchment.cvData.capacity());
  if (count < 0 || static_cast<long long>(next) - 1 + count > capacity) realStorageTooLow(job);
}

void readColumns(state::Job& job, CheckedRecord& record, std::size_t at, int pairs) {
  const auto n = static_cast<std::size_t>(pairs);
  for (std::size_t i = 0; i < n; ++i) {
    job.catchment.cvData(at + i) = record.real();
    job.catchment.cvData(at + n + i) = record.real();
  }
}

void putData(state::Job& job, int& next, float value) {
  reserveData(job, next, 1);
  job.catchment.cvData(static_cast<std::size_t>(next)) = value;
  ++next;
}

}  // namespace kova::engine
