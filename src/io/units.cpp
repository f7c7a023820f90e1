// File units and output lines.
#include "io/units.h"

namespace kova::io {

namespace {

std::FILE* streamOf(Units& units, int unit) {
  auto it = units.outputs.find(unit);
  if (it != units.outputs.end()) return it->second.stream;
  if (unit == consoleUnit) return stdout;
  return nullptr;
}

}  // namespace

Units::~Units() { closeAll(*this); }

bool openInputUnit(Units& units, int unit, const std::string& path) {
  closeUnit(units, unit);
  InputFile file;
  if (!openInput(file, path)) return false;
  units.inputs[unit] = std::move(file);
  return true;
}

bool openOutputUnit(Units& units, int unit, const std::string& path) {
  closeUnit(units, unit);
  std::FILE* stream = std::fopen(path.c_str(), "wb");
  if (stream == nullptr) return false;
  units.outputs[unit] = OutputFile{path, stream};
  return true;
}

bool isOpen(const Units& units, int unit) {
  return units.inputs.count(unit) != 0 || units.outputs.count(unit) != 0;
}

void closeUnit(Units& units, int unit) {
  units.inputs.erase(unit);
  auto it = units.outputs.find(unit);
  if (it != units.outputs.end()) {
    std::fclose(it->second.stream);
    units.outputs.erase(it);
  }
}

void closeAll(Units& units) {
  units.inputs.clear();
  for (auto& [unit, file] : units.outputs) std::fclose(file.stream);
  units.outputs.clear();
}

InputFile* inputUnit(Units& units, int unit) {
  auto it = units.inputs.find(unit);
  return it == units.inputs.end() ? nullptr : &it->second;
}

void writeLine(Units& units, int unit, std::string_view line) {
  std::FILE* stream = streamOf(units, unit);
  if (stream == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
}

void writeLine(Units& units, int unit, const Fmt& record) { writeLine(units, unit, record.str()); }

void flushUnit(Units& units, int unit) {
  if (std::FILE* stream = streamOf(units, unit)) std::fflush(stream);
}

}  // namespace kova::io
