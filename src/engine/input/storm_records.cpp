// Record reading and the shared failure messages of the sub-area and storm readers.
#include "engine/input/storm_records.h"

#include <cmath>

#include "driver/messages.h"
#include "io/format.h"
#include "io/units.h"

namespace kova::engine::storm {

namespace {

[[noreturn]] void endOfFile(state::Job& job) {
  driver::dataError(job, {" Data error: insufficient data in data file"});
}

}  // namespace

io::InputFile& inputOf(state::Job& job, int unit) {
  io::InputFile* file = io::inputUnit(job.units, unit);
  if (file == nullptr) endOfFile(job);
  return *file;
}

void require(state::Job& job, io::ReadStatus status) {
  if (status == io::ReadStatus::endOfFile) endOfFile(job);
  if (status == io::ReadStatus::badValue)
    driver::dataError(job, {" Data error: possibly character data where numerical value expected,",
                            "             or illegal number"});
}

float readReal(state::Job& job, io::ListRecord& record) {
  float value = 0.0F;
  require(job, record.real(value));
  return value;
}

int readInteger(state::Job& job, io::ListRecord& record) {
  int value = 0;
  require(job, record.integer(value));
  return value;
}

std::string readNameLine(state::Job& job, io::InputFile& file) {
  std::string line;
  if (!io::readLine(file, line)) endOfFile(job);
  return line;
}

bool isEndCheck(const state::Job& job, float value) { return std::fabs(value - job.kov.endCheck) <= 1.0E-30F; }

void endCheckError(state::Job& job, float value, int count, std::string_view what, std::string_view extra) {
  io::Fmt message;
  message.a(" Data error: ").f(8, 2, value).a(" read instead of end check -99").slash();
  message.x(1).i(4, count).a(" ").a(what).a(" & end check read");
  if (!extra.empty()) message.slash().a(extra);
  driver::dataError(job, message);
}

void heading(state::Job& job, std::string_view text) {
  if (job.kov.printOption == 3) driver::printLine(job, text);
}

void logOnlyError(state::Job& job, std::string_view text) {
  driver::errmess(job, text);
  driver::clsfil(job);
  driver::endJob(job);
}

}  // namespace kova::engine::storm
