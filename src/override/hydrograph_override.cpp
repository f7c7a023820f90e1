// Reader of the hydrograph-override list and recorded files, and the replacement of the
// running hydrograph at the print points the list names.
#include "override/hydrograph_override.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "driver/messages.h"
#include "io/format.h"
#include "io/text_input.h"

namespace kova::override_ {

namespace {

constexpr std::size_t textLength = 256;  // names and paths are held to this many characters
constexpr std::string_view listError = "Error reading hydrograph override files";
constexpr std::string_view recordedError = "Error reading recorded override hydrograph flow file: ";

// Opens a file the override files name. The files are written on systems that separate
// folders by "\" as well as "/", so a name that does not open as written is tried once
// more with every "\" taken as "/".
bool openNamed(io::InputFile& file, const std::string& path) {
  if (io::openInput(file, path)) return true;
  if (path.find('\\') == std::string::npos) return false;
  std::string slashed = path;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  return io::openInput(file, slashed);
}

std::size_t linesLeft(const io::InputFile& file) {
  return file.next < file.lines.size() ? file.lines.size() - file.next : 0;
}

// One free-format value starting on a new line; the rest of its line is ignored.
bool readInteger(io::InputFile& file, int& value) {
  io::ListRecord record(file);
  return record.integer(value) == io::ReadStatus::ok;
}

bool readReal(io::InputFile& file, float& value) {
  io::ListRecord record(file);
  return record.real(value) == io::ReadStatus::ok;
}

// One file name starting on a new line: quoted with ' or " (a doubled quote stands for
// itself), or else up to the first blank or comma. Unlike other free-format text items a
// "/" does not end it, as it separates folders; blank lines before it are skipped. A name
// left empty (a line starting with a comma) simply fails to open later.
bool readPathItem(io::InputFile& file, std::string& path) {
  std::string line;
  std::size_t pos = std::string::npos;
  while (pos == std::string::npos) {
    if (!io::readLine(file, line)) return false;
    pos = line.find_first_not_of(" \t");
  }
  path.clear();
  const char first = line[pos];
  if (first == '\'' || first == '"') {
    for (++pos; pos < line.size(); ++pos) {
      if (line[pos] == first) {
        if (pos + 1 >= line.size() || line[pos + 1] != first) break;
        ++pos;
      }
      path += line[pos];
    }
  } else {
    path = line.substr(pos, line.find_first_of(" \t,", pos) - pos);
  }
  if (path.size() > textLength) path.resize(textLength);
  return true;
}

void listFailure(state::Job& job, io::InputFile& list) {
  driver::warnmess(job, listError);
  io::closeInput(list);
  job.genpar.errorFlag = 1;
}

// The ordinates of the run: the running hydrograph as handed over, never more than the
// storm's ordinates once they are known.
std::size_t runOrdinates(const state::Job& job, std::span<const float> running) {
  std::size_t n = running.size();
  if (job.nTimes > 0) n = std::min(n, static_cast<std::size_t>(job.nTimes));
  return n;
}

}  // namespace

void readrecordedhydrograph(state::Job& job, const std::string& path, int i) {
  state::HydrographoverrideParameters& ov = job.hydrographOverride;
  if (i < 1 || static_cast<std::size_t>(i) > ov.HydrographSeries.size()) return;
  const auto row = static_cast<std::size_t>(i - 1);
  std::vector<float>& series = ov.HydrographSeries[row];
  series.clear();

  io::InputFile file;
  std::string name;
  bool ok = openNamed(file, path) && io::readLine(file, name);
  if (ok) ov.HydrographNames[row] = name.substr(0, std::min(name.size(), textLength));
  ok = ok && readInteger(file, ov.HydrographCalcOrder[row]);
  // One value per line: the file cannot hold more values than it has lines, which bounds
  // the space taken before the values are read.
  const auto m = static_cast<std::size_t>(std::max(ov.nOverrideValues, 0));
  if (ok) series.reserve(std::min(m, linesLeft(file)));
  for (std::size_t k = 0; ok && k < m; ++k) {
    float value = 0.0F;
    ok = readReal(file, value);
    series.push_back(value);
  }
  io::closeInput(file);
  if (ok) return;
  // A failed file is never applied, wherever it failed; its values are not kept.
  ov.HydrographCalcOrder[row] = 0;
  series.clear();
  driver::warnmess(job, std::string(recordedError) + std::string(io::trimRight(path)));
}

void readhydrographoverridedata(state::Job& job) {
  state::HydrographoverrideParameters& ov = job.hydrographOverride;
  ov = {};

  io::InputFile list;
  int n = 0;
  int m = 0;
  // A negative count is no list at all: it is reported like any other faulty line.
  if (!openNamed(list, job.genpar.overrideFile) || !readInteger(list, n) || !readReal(list, ov.overrideValue) ||
      !readInteger(list, m) || n < 0 || m < 0) {
    listFailure(job, list);
    return;
  }
  ov.nOverrideHydrographs = n;
  ov.nOverrideValues = m;

  // Every name takes a line of its own, so no more rows are needed than lines are left;
  // a list shorter than its count fails on the way.
  const std::size_t rows = std::min(static_cast<std::size_t>(n), linesLeft(list));
  ov.HydrographFilePaths.assign(rows, std::string());
  ov.HydrographNames.assign(rows, std::string());
  ov.HydrographCalcOrder.assign(rows + 1, 0);
  ov.HydrographSeries.assign(rows, std::vector<float>());

  for (int i = 1; i <= n; ++i) {
    const auto row = static_cast<std::size_t>(i - 1);
    if (row >= rows || !readPathItem(list, ov.HydrographFilePaths[row])) {
      listFailure(job, list);
      return;
    }
    readrecordedhydrograph(job, ov.HydrographFilePaths[row], i);
  }
  io::closeInput(list);
}

void overridePrintPoint(state::Job& job, std::span<float> running) {
  if (job.genpar.overrideFlag != 1) return;
  state::HydrographoverrideParameters& ov = job.hydrographOverride;
  // The list is consumed in order: only the next entry is compared, so an entry whose
  // print point has passed (or a failed file, order 0) is never applied and holds back
  // every later one. The last place of the order table is 0 and never matches.
  const auto next = static_cast<std::size_t>(ov.overrideNext - 1);
  if (ov.overrideNext >= 1 && next < ov.HydrographSeries.size() &&
      ov.HydrographCalcOrder[next] == ov.printPointCount) {
    const std::vector<float>& series = ov.HydrographSeries[next];
    const std::size_t ordinates = runOrdinates(job, running);
    if (series.size() > ordinates && !ov.lengthWarned) {
      driver::warnmess(job, "Override hydrographs hold " + std::to_string(series.size()) + " values but the run has " +
                                std::to_string(ordinates) + " ordinates; only the first " +
                                std::to_string(ordinates) + " are replaced");
      ov.lengthWarned = true;
    }
    std::copy_n(series.begin(), std::min(series.size(), ordinates), running.begin());
    ++ov.overrideNext;
  }
  ++ov.printPointCount;
}

}  // namespace kova::override_
