// Log messages, file closing and the fatal-error exits.
#include "driver/messages.h"

#include <algorithm>
#include <cstdio>

namespace kova::driver {

namespace {

void logLine(state::Job& job, std::string_view text, int length, bool flush) {
  if (length >= 0 && static_cast<std::size_t>(length) < text.size()) text = text.substr(0, length);
  // Every log line is one blank and the message, however many blanks the message
  // itself was built with.
  text = io::trimRight(text);
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  std::string line = " " + std::string(text);
  if (io::isOpen(job.units, state::logUnit)) {
    io::writeLine(job.units, state::logUnit, line);
    if (flush) io::flushUnit(job.units, state::logUnit);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

}  // namespace

void errmess(state::Job& job, std::string_view text, int length) { logLine(job, text, length, false); }

void warnmess(state::Job& job, std::string_view text, int length) { logLine(job, text, length, true); }

void clsfilns(state::Job& job) {
  for (int unit : {job.unitid.catchmentUnit, job.unitid.stormUnit, job.unitid.outputUnit, state::logUnit})
    io::closeUnit(job.units, unit);
}

void clsfil(state::Job& job) {
  io::closeUnit(job.units, job.unitid.catchmentUnit);
  io::closeUnit(job.units, job.unitid.stormUnit);
  if (job.unitid.printUnit == job.unitid.outputUnit) io::closeUnit(job.units, job.unitid.outputUnit);
  job.genpar.errorFlag = 1;
}

void printLine(state::Job& job, std::string_view line) { io::writeLine(job.units, job.unitid.printUnit, line); }

void printLine(state::Job& job, const io::Fmt& record) { printLine(job, record.str()); }

void endJob(state::Job& job) {
  job.genpar.errorFlag = 1;
  throw state::JobEnded{};
}

void dataError(state::Job& job, std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) printLine(job, line);
  errmess(job, " Fatal error - see output file");
  clsfil(job);
  endJob(job);
}

void dataError(state::Job& job, const io::Fmt& diagnosis) { dataError(job, {std::string_view(diagnosis.str())}); }

void storageLimitExceeded(state::Job& job, Storage which) {
  warnmess(job, which == Storage::real ? "Limit on total real array storage exceeded"
                                       : "Limit on total integer array storage exceeded");
  clsfil(job);
  endJob(job);
}

}  // namespace kova::driver
