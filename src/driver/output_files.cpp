// Output-file naming, opening the job's files, and the banner.
#include "driver/output_files.h"

#include <array>
#include <ctime>

#include "driver/messages.h"
#include "io/format.h"
#include "io/units.h"

namespace kova::driver {

namespace {

constexpr std::string_view separators = "/\\";

bool endsWithSeparator(std::string_view folder) {
  return !folder.empty() && separators.find(folder.back()) != std::string_view::npos;
}

}  // namespace

std::string pathStem(std::string_view path) {
  path = io::trimRight(path);
  std::size_t sep = path.find_last_of(separators);
  std::size_t b = sep == std::string_view::npos ? 0 : sep + 1;  // characters before the name
  std::size_t dot = path.rfind('.');
  // e counts the characters up to the end of the stem (positions from 1).
  std::size_t e = (dot == std::string_view::npos || dot == 0) ? path.size() : dot;
  if (e <= b) return {};
  return std::string(path.substr(b, e - b));
}

std::string outputFileName(std::string_view catchmentFile, std::string_view stormFile,
                           std::string_view paramFolder) {
  stormFile = io::trimRight(stormFile);
  std::size_t sep = stormFile.find_last_of(separators);
  std::string folder;
  if (sep != std::string_view::npos) {
    folder = std::string(stormFile.substr(0, sep + 1));
  } else {
    folder = std::string(paramFolder);
    if (!folder.empty() && !endsWithSeparator(folder)) folder += '/';
  }
  std::string stem = pathStem(pathStem(catchmentFile) + "_" + pathStem(stormFile));
  if (!stem.empty() && stem.back() == '.') return folder + stem + "out";
  if (stem.size() >= 4 && stem.compare(stem.size() - 4, 4, ".out") == 0) return folder + stem;
  return folder + stem + ".out";
}

void getoutputfilename(state::Job& job) {
  job.genpar.outputFile = outputFileName(job.genpar.catchmentFile, job.genpar.stormFile, job.genwin.paramFolder);
}

void populatedetailedprintnames(state::Job& /*job*/) {}

void openfiles(state::Job& job) {
  const state::Genpar& g = job.genpar;
  const state::Unitid& u = job.unitid;
  bool opened = io::openInputUnit(job.units, u.catchmentUnit, g.catchmentFile);
  const std::string* failed = &g.catchmentFile;
  if (opened) {
    opened = io::openInputUnit(job.units, u.stormUnit, g.stormFile);
    failed = &g.stormFile;
  }
  if (opened) {
    opened = io::openOutputUnit(job.units, u.outputUnit, g.outputFile);
    failed = &g.outputFile;
  }
  if (!opened) {
    job.genwin.message = " File not found: " + *failed;
    errmess(job, job.genwin.message);
    job.genpar.errorFlag = 1;
  }
}

RunDate getdate() {
  static constexpr std::array<const char*, 12> months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  RunDate d;
  d.day = local.tm_mday;
  d.month = local.tm_mon + 1;
  d.year = local.tm_year + 1900;
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.monthName = months[static_cast<std::size_t>(local.tm_mon)];
  return d;
}

void writeBanner(state::Job& job, int unit, const RunDate& date) {
  auto line = [&](std::string_view text) { io::writeLine(job.units, unit, text); };
  line(" KOVAWin Output File");
  line(" *******************");
  line(" ");
  line(" Program version " + std::string(io::trimRight(job.genwin.versionTag)) + " (last updated " +
       std::string(io::trimRight(job.genwin.versionDate)) + ")");
  line(" ");
  line(io::Fmt()
           .a(" Date run: ")
           .i(2, 2, date.day)
           .a(" ")
           .a(date.monthName)
           .a(" ")
           .i(4, date.year)
           .a(" ")
           .i(2, 2, date.hour)
           .a(":")
           .i(2, 2, date.minute)
           .slash()
           .str());
}

void kovaheader(state::Job& job, int unit) { writeBanner(job, unit, getdate()); }

}  // namespace kova::driver
