// Reads the positional parameter file: a 10-character label on every line, the value
// from column 11, then the optional gate-operations, snowmelt and matching lines.
#include "driver/parameter_file.h"

#include "driver/messages.h"
#include "io/format.h"
#include "io/text_input.h"
#include "io/units.h"
#include "state/limits.h"

namespace kova::driver {

namespace {

constexpr std::size_t labelWidth = 10;

// The parameter file's lines are read through this; any failure ends the read.
struct ParamReadError {};

struct ParamReader {
  io::InputFile& file;

  std::string line() {
    std::string text;
    if (!io::readLine(file, text)) throw ParamReadError{};
    return text;
  }
  // Columns 11 to the end: the value part of a labelled line.
  static std::string valueOf(const std::string& text) {
    return text.size() > labelWidth ? text.substr(labelWidth) : std::string();
  }
  // A fixed-column integer in columns 11 to 10 + width: blanks are ignored, a blank
  // field reads as 0, anything but an optional sign and digits is an error.
  int fixedInteger(int width) {
    std::string field = valueOf(line()).substr(0, static_cast<std::size_t>(width));
    std::string digits;
    for (char c : field)
      if (c != ' ') digits += c;
    if (digits.empty()) return 0;
    long long value = 0;
    if (!io::parseInteger(digits, value)) throw ParamReadError{};
    return static_cast<int>(value);
  }
  // A labelled line whose value part holds two free-format reals.
  void twoReals(float& a, float& b) {
    io::InputFile source = io::textSource(io::trimRight(valueOf(line())));
    io::ListRecord record(source);
    if (record.real(a) != io::ReadStatus::ok || record.real(b) != io::ReadStatus::ok) throw ParamReadError{};
  }
  // A side-file name: quoted, or up to the first blank or comma. A "/" stays part of
  // the name: it is a folder separator, and cutting there would lose every path that
  // names a folder with it.
  static std::string textItem(const std::string& text) {
    const std::string value = valueOf(text);
    const std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) throw ParamReadError{};  // no name at all
    if (value[first] == '\'' || value[first] == '"') {
      io::InputFile source = io::textSource(value.substr(first));
      io::ListRecord record(source);
      std::string item;
      if (record.text(item) != io::ReadStatus::ok) throw ParamReadError{};
      return item;
    }
    const std::size_t end = value.find_first_of(" \t,\r", first);
    return value.substr(first, end == std::string::npos ? std::string::npos : end - first);
  }
};

// A path from column 11: up to `length` characters, trailing blanks dropped. Leading
// blanks are dropped too: "Gateops  : g.txt" names g.txt, not a file whose name starts
// with a blank.
std::string cutPath(std::string_view text, std::size_t length) {
  text = io::trimRight(text.substr(0, std::min(text.size(), length)));
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

bool isLine(const std::string& text, std::string_view expected) { return io::trimRight(text) == expected; }
bool hasLabel(const std::string& text, std::string_view label) { return text.compare(0, labelWidth, label) == 0; }

enum class SideLine { gateOps, snowmelt, matching };

// The optional side-file lines and "# END", in their order rules.
void readSideFiles(state::Job& job, ParamReader& in) {
  std::string text = in.line();
  if (isLine(text, "# END")) return;
  SideLine next;
  if (hasLabel(text, "Gateops  :")) {
    next = SideLine::gateOps;
  } else if (hasLabel(text, "Snowmelt :")) {
    next = SideLine::snowmelt;
  } else if (hasLabel(text, "Matching :")) {
    next = SideLine::matching;
  } else {
    errmess(job, text);
    throw ParamReadError{};
  }
  for (;;) {
    switch (next) {
      case SideLine::gateOps:
        job.gateops.gateOpsFile = cutPath(ParamReader::valueOf(text), state::pathLength);
        job.gateops.gateOpsFlag = 1;
        job.gateops.gateOpsTag = "GATE";
        job.gateops.gateOpsSite = "Kelvarro  ";
        break;
      case SideLine::snowmelt:
        job.genpar.snowmeltFile = cutPath(ParamReader::textItem(text), 256);
        job.genpar.snowmeltFlag = 1;
        break;
      case SideLine::matching:
        job.genpar.overrideFile = cutPath(ParamReader::textItem(text), 256);
        job.genpar.overrideFlag = 1;
        break;
    }
    text = in.line();
    if (isLine(text, "# END")) return;
    if (next == SideLine::matching) {
      errmess(job, text);
      throw ParamReadError{};
    }
    // After the gate-operations line a snowmelt line may follow; anything else is
    // taken as the matching line, whatever its label.
    next = (next == SideLine::gateOps && hasLabel(text, "Snowmelt :")) ? SideLine::snowmelt : SideLine::matching;
  }
}

// The body of the file from "# BEGIN" on. Returns false after reporting a missing
// begin line; throws ParamReadError for any other failure.
bool readBody(state::Job& job, io::InputFile& file) {
  ParamReader in{file};
  state::Genpar& g = job.genpar;

  bool commentSeen = false;
  for (;;) {
    std::string text = in.line();
    if (text.empty() || text[0] != '!') break;
    commentSeen = true;
  }
  io::backspace(file);
  if (!isLine(in.line(), "# BEGIN")) {
    errmess(job, io::Fmt()
                     .a("Error in parameter file ")
                     .a(g.paramFile)
                     .a(" at or near line ")
                     .i(3, commentSeen ? 2 : 1)
                     .str());
    return false;
  }

  g.catchmentFile = cutPath(ParamReader::valueOf(in.line()), state::pathLength);
  g.stormFile = cutPath(ParamReader::valueOf(in.line()), state::pathLength);
  std::string single = ParamReader::valueOf(in.line());
  g.singleParamSet = (!single.empty() && (single[0] == 'T' || single[0] == 't')) ? 1 : 0;
  g.printOption = in.fixedInteger(1);
  g.lossModelOption = in.fixedInteger(1);
  g.nIsaParams = in.fixedInteger(2);
  if (g.nIsaParams > state::NISAMAX) {
    errmess(job, io::Fmt()
                     .a("Number of interstation areas with parameters ")
                     .i(3, g.nIsaParams)
                     .a(" exceeds the limit of ")
                     .i(2, state::NISAMAX)
                     .str());
    throw ParamReadError{};
  }
  if (g.singleParamSet == 1) {
    in.twoReals(g.kc[0], g.m[0]);
  } else {
    for (int i = 0; i < g.nIsaParams; ++i) in.twoReals(g.kc[i], g.m[i]);
  }
  g.nBurstParams = in.fixedInteger(2);
  if (g.nBurstParams > state::maxLossBursts) {
    errmess(job, io::Fmt()
                     .a("Number of bursts with loss parameters ")
                     .i(2, g.nBurstParams)
                     .a(" exceeds the limit of ")
                     .i(1, state::maxLossBursts)
                     .str());
    throw ParamReadError{};
  }
  for (int b = 0; b < g.nBurstParams; ++b)
    for (int i = 0; i < g.nIsaParams; ++i) in.twoReals(g.initialLoss[b][i], g.lossRate[b][i]);

  readSideFiles(job, in);
  return true;
}

}  // namespace

void initinputpar(state::Job& job) {
  state::Genpar& g = job.genpar;
  g.catchmentFile.clear();
  g.stormFile.clear();
  g.singleParamSet = 1;
  g.printOption = 3;
  g.lossModelOption = 1;
  g.nIsaParams = 0;
  g.kc.fill(0.0F);
  g.m.fill(0.8F);
  g.nBurstParams = 0;
  for (auto& burst : g.initialLoss) burst.fill(0.0F);
  for (auto& burst : g.lossRate) burst.fill(0.0F);
  g.snowmeltFile.clear();
  g.snowmeltFlag = 0;
  g.overrideFile.clear();
  g.overrideFlag = 0;
  job.gateops.gateOpsFile.clear();
  job.gateops.gateOpsFlag = 0;
}

void initdefpars(state::Job& job) { initinputpar(job); }

std::string parameterFolder(std::string_view paramFile) {
  std::size_t p = paramFile.find_last_of("/\\");
  if (p == std::string_view::npos) return {};
  // A file in the root folder: the folder is the root itself, not an empty name.
  if (p == 0) return std::string(paramFile.substr(0, 1));
  return std::string(paramFile.substr(0, p));
}

std::string logFileName(std::string_view paramFile) {
  std::size_t p = paramFile.rfind('.');
  if (p == std::string_view::npos) return std::string(paramFile) + ".log";
  return std::string(paramFile.substr(0, p + 1)) + "log";
}

int readpar(state::Job& job) {
  state::Genpar& g = job.genpar;
  job.genwin.paramFolder = parameterFolder(g.paramFile);
  job.genwin.logFile = logFileName(g.paramFile);

  const std::string failure = " Error opening/reading parameter file: " + g.paramFile;
  // Without a parameter-file path there is no log beside it to create.
  if (g.paramFile.empty() || !io::openOutputUnit(job.units, state::logUnit, job.genwin.logFile)) {
    errmess(job, failure);
    return 1;
  }
  io::writeLine(job.units, state::logUnit, "");
  if (!io::openInputUnit(job.units, state::paramUnit, g.paramFile)) {
    errmess(job, failure);
    return 1;
  }
  io::InputFile& file = *io::inputUnit(job.units, state::paramUnit);
  try {
    if (!readBody(job, file)) return 1;
  } catch (const ParamReadError&) {
    io::closeUnit(job.units, state::paramUnit);
    errmess(job, failure);
    return 1;
  }
  io::closeUnit(job.units, state::paramUnit);
  return 0;
}

}  // namespace kova::driver
