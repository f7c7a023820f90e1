// File units: the job's open files by unit number, and the line writer of the output files.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "io/format.h"
#include "io/text_input.h"

namespace kova::io {

// A text file being written. Output is Latin-1 bytes, one '\n' per line.
struct OutputFile {
  std::string path;
  std::FILE* stream = nullptr;
};

// The console output unit: reports written there go to standard output.
inline constexpr int consoleUnit = 6;

// Open files by unit number. Writing to a unit that is not open (a report after the
// output file was closed on an error) writes nothing.
struct Units {
  std::map<int, InputFile> inputs;
  std::map<int, OutputFile> outputs;

  Units() = default;
  Units(const Units&) = delete;
  Units& operator=(const Units&) = delete;
  ~Units();
};

bool openInputUnit(Units& units, int unit, const std::string& path);
// Creates or replaces the file; false when it cannot be created.
bool openOutputUnit(Units& units, int unit, const std::string& path);
bool isOpen(const Units& units, int unit);
// Closes the unit if it is open (input or output); no file is deleted.
void closeUnit(Units& units, int unit);
void closeAll(Units& units);

// The input file on a unit, or null when none is open there.
InputFile* inputUnit(Units& units, int unit);

// Writes one line (a '\n' is added), or a formatted record of one or more lines.
void writeLine(Units& units, int unit, std::string_view line);
void writeLine(Units& units, int unit, const Fmt& record);
void flushUnit(Units& units, int unit);

}  // namespace kova::io
