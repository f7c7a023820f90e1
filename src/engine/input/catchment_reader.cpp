// Reader of the catchment file's control vector: the catchment name, the reach-type
// flag and every code with its reach record, branch, location and translation data;
// special storages go to read4 and channel I/O records to readChannelIO.
#include "engine/input/catchment_reader.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "driver/messages.h"
#include "engine/input/catchment_records.h"
#include "engine/input/catchment_vector_scan.h"
#include "engine/input/storage_reader.h"
#include "io/format.h"

namespace kova::engine {

namespace {

using driver::dataError;
using driver::printLine;

constexpr int maxReachType = 4;
constexpr float minSlope = 0.05F;  // percent; flatter reaches are taken at this slope
constexpr float maxSlope = 5.0F;   // percent; steeper reaches are taken at this slope
constexpr float unlinedFactor = 1.0F / 3.0F;
constexpr float linedFactor = 1.0F / 9.0F;
constexpr float printReachCode = 14.0F;  // a reach code above this prints its routed hydrograph
constexpr int locationWidth = state::nameLength;
constexpr int ungaugedNameWidth = state::titleLength;

[[noreturn]] void endOfFileReached(state::Job& job) { dataError(job, {" Data error: end of file reached"}); }

void printHeading(state::Job& job) {
  if (job.kov.printOption != 3) return;
  printLine(job, "");
  printLine(job, "");
  printLine(job, " Data checks:");
  printLine(job, " " + job.carr.stars + job.carr.stars + job.carr.stars);
  printLine(job, " Next data to be read & checked:");
  printLine(job, "");
  printLine(job, " Catchment name & reach type flag");
}

// A code is whole, or 6.1, 7.1 or 7.2, each within 1.0E-4, below ten.
bool validCode(float remainder) {
  return sameCode(remainder, std::round(remainder)) || sameCode(remainder, 6.1F) || sameCode(remainder, 7.1F) ||
         sameCode(remainder, 7.2F);
}

void readCatchmentName(state::Job& job, io::InputFile& file) {
  std::string name;
  if (!readNameLine(file, state::titleLength, name)) endOfFileReached(job);
  job.carr.catchName = std::string(io::trimRight(name));
}

int readReachTypeFlag(state::Job& job, io::InputFile& file) {
  io::skipComments(file, job.carr.commentMark);
  int flag = 0;
  {
    CheckedRecord record(job, file, vectorReadFailure, 0);
    flag = record.integer();
  }
  if (flag < 0 || flag > maxReachType) dataError(job, {" Data error: reach type flag not 0,1,2,3,or 4"});
  if (job.kov.printOption == 3) printLine(job, " Control vector & storage data");
  return flag;
}

// The capacity checks made before each step is stored.
void checkStepRoom(const VectorScan& scan) {
  state::Job& job = scan.job;
  const state::CatchmentTables& t = job.catchment;
  const auto step = static_cast<std::size_t>(scan.step);
  if (step > t.code.capacity() || static_cast<std::size_t>(scan.nextData) > t.cvData.capacity())
    realStorageTooLow(job);
  if (step > t.stepData.capacity()) integerStorageTooLow(job);
  const int nameRoom = std::min(job.kov.limChar, static_cast<int>(job.work.charWork.size() / 4));
  if (job.nextNameWord + state::nameWords > nameRoom) characterStorageTooLow(job);
}

// A gauging station or ungauged location ends an interstation area when sub-area inflow
// reached the running hydrograph on this branch since the last boundary.
void closeIsa(VectorScan& scan, int hydNumber) {
  state::Kov& k = scan.job.kov;
  k.nIsas += 1;
  if (static_cast<std::size_t>(k.nIsas) > scan.job.catchment.isaEnd.capacity()) integerStorageTooLow(scan.job);
  scan.job.catchment.isaEnd(static_cast<std::size_t>(k.nIsas)) = hydNumber;
}

float relativeDelay(int type, float length, float slope) {
  switch (type) {
    case 1: return length;
    case 2: return unlinedFactor * length / std::pow(slope, 0.25F);
    case 3: return linedFactor * length / std::pow(slope, 0.5F);
    default: return 0.0F;
  }
}

// Codes 1, 2 and 5: one more reach, its record read for the reach type in force.
void readReach(VectorScan& scan, float code, int base) {
  state::Job& job = scan.job;
  state::Kov& k = job.kov;
  state::CatchmentTables& t = job.catchment;
  k.nReaches += 1;
  const auto reach = static_cast<std::size_t>(k.nReaches);
  if (reach > std::min({t.reachLength.capacity(), t.reachSlope.capacity(), t.relDelay.capacity()}))
    realStorageTooLow(job);
  if (reach > t.reachType.capacity()) integerStorageTooLow(job);
  if (k.maxStoreLevel < scan.level && code > printReachCode) k.maxStoreLevel = scan.level;
  if (scan.ioRunning()) {
    if (scan.ioToEnd) {
      ++scan.ioToEndReaches;
    } else {
      --scan.ioReachesLeft;
    }
    if (scan.ioCode > printCode) raiseStoreLevel(job, scan.level + (code > printReachCode ? 1 : 0));
  }

  CheckedRecord record(job, scan.file, vectorReadFailure, scan.step);
  record.real();
  int type = scan.reachTypeFlag;
  if (type == 0) {
    type = record.integer();
    if (type < 1 || type > maxReachType)
      dataError(job, io::Fmt()
                         .a(" Correct data error: reach type code =")
                         .i(5, type)
                         .a(", not 1,2,3,or 4")
                         .slash()
                         .a("  Code no.")
                         .i(4, scan.step));
  }
  const float length = record.real();
  const bool sloped = type == 2 || type == 3;
  float slope = 0.0F;
  if (sloped) slope = record.real();
  const float end = record.real();
  if (sloped && slope <= 1.0E-30F)
    dataError(job, io::Fmt()
                       .a(" Data error: slope<0.0, value read: ")
                       .f(8, 3, slope)
                       .a(" code no.")
                       .i(4, scan.step));
  requireEndCheck(scan, end, base);
  if (sloped) slope = std::min(std::max(slope, minSlope), maxSlope);
  t.reachLength(reach) = length;
  t.reachSlope(reach) = slope;
  t.reachType(reach) = type;
  t.relDelay(reach) = relativeDelay(type, length, slope);
}

void readSubArea(VectorScan& scan, float code, int base) {
  state::Kov& k = scan.job.kov;
  k.nSubAreas += 1;
  scan.job.catchment.branchFlag(static_cast<std::size_t>(scan.level)) = 1;
  scan.runningNonZero = true;
  if (k.maxStoreLevel < scan.level + 1 && code > printCode) k.maxStoreLevel = scan.level + 1;
  readReach(scan, code, base);
}

void skipCodeRecord(VectorScan& scan) {
  CheckedRecord record(scan.job, scan.file, vectorReadFailure, scan.step);
  record.real();
}

void startBranch(VectorScan& scan) {
  skipCodeRecord(scan);
  if (static_cast<std::size_t>(scan.level) + 1 > scan.job.catchment.branchFlag.capacity())
    integerStorageTooLow(scan.job);
  raiseStoreLevel(scan.job, scan.level);
  scan.runningNonZero = false;
  scan.level += 1;
}

void endBranch(VectorScan& scan) {
  skipCodeRecord(scan);
  scan.level -= 1;
  scan.runningNonZero = true;
  if (scan.level < 1)
    dataError(scan.job, io::Fmt().a(" Correct data error: more  4's than 3's to code no.").i(3, scan.step));
  state::Vec1<int>& flag = scan.job.catchment.branchFlag;
  const auto here = static_cast<std::size_t>(scan.level);
  if (flag(here) == 0) flag(here) = flag(here + 1);
  flag(here + 1) = 0;
}

void readStorage(VectorScan& scan, float code) {
  const bool design = sameCode(codeRemainder(code), 6.1F);
  if (design || code >= printCode) raiseStoreLevel(scan.job, scan.level);
  read4(scan.job, design ? 6.1F : 6.0F, scan.step, scan.nextData, scan.job.nextNameWord);
}

void readUngaugedName(VectorScan& scan, float code) {
  state::Job& job = scan.job;
  std::string name;
  if (!readNameLine(scan.file, ungaugedNameWidth, name)) endOfFileReached(job);
  const std::string trimmed(io::trimRight(name));
  job.genpar.nUngauged += 1;
  job.genpar.ungaugedNames.push_back(trimmed);
  if (job.kov.printOption == 3)
    printLine(job, io::Fmt()
                       .a(" Code no.")
                       .i(4, scan.step)
                       .f(8, 1, code)
                       .a(" Ungauged interstation area ")
                       .a("location read as ")
                       .a(trimmed));
}

// Code 7: a print point, a gauging station (7.1) or an ungauged location (7.2).
void readPrintPoint(VectorScan& scan, float code) {
  state::Job& job = scan.job;
  state::Kov& k = job.kov;
  skipCodeRecord(scan);
  const float remainder = codeRemainder(code);
  const bool ungauged = sameCode(remainder, 7.2F);
  if (!ungauged && !sameCode(remainder, 7.1F)) {
    putData(job, scan.nextData, static_cast<float>(readLocationName(scan, code)));
    return;
  }
  k.nHyds += 1;
  job.genpar.isUngauged.resize(static_cast<std::size_t>(k.nHyds) + 1, 0);
  k.hasPrintPoints = 1;
  state::Vec1<int>& flag = job.catchment.branchFlag;
  const auto here = static_cast<std::size_t>(scan.level);
  if (flag(here) == 1) closeIsa(scan, k.nHyds);
  flag(here) = 0;
  if (!ungauged) return;
  job.genpar.isUngauged[static_cast<std::size_t>(k.nHyds)] = 1;
  readUngaugedName(scan, code);
}

void readTranslation(VectorScan& scan, float code, int base) {
  state::Job& job = scan.job;
  float shift = 0.0F;
  float end = 0.0F;
  {
    CheckedRecord record(job, scan.file, vectorReadFailure, scan.step);
    record.real();
    shift = record.real();
    end = record.real();
  }
  if (!(std::fabs(shift - std::round(shift)) < 1.0E-30F))
    dataError(job, io::Fmt()
                       .a(" Data error: translation not integral--read as")
                       .f(8, 2, shift)
                       .a(" Code no.")
                       .i(4, scan.step));
  requireEndCheck(scan, end, base);
  putData(job, scan.nextData, shift);
  if (code > printCode) raiseStoreLevel(job, scan.level);
}

// Base 0 (or below): the end of the vector; the branches must be closed again.
void finishVector(VectorScan& scan) {
  state::Job& job = scan.job;
  skipCodeRecord(scan);
  if (scan.level != 1) dataError(job, {" Data error: no. of code 4's <> no. of code 3's"});
  if (scan.ioToEnd) job.catchment.cvData(static_cast<std::size_t>(scan.ioToEndSlot)) =
      static_cast<float>(scan.ioToEndReaches);
  if (job.catchment.branchFlag(1) == 1) closeIsa(scan, job.kov.nHyds + 1);
}

}  // namespace

void vectorReadFailure(state::Job& job, io::ReadStatus status, int step) {
  if (status == io::ReadStatus::endOfFile) endOfFileReached(job);
  dataError(job, io::Fmt()
                     .a(" Data error in data for control code no.")
                     .i(3, step)
                     .slash()
                     .a(" possibly")
                     .a(" character data where number expected or illegal number"));
}

int takeNameWords(state::Job& job) {
  const int word = job.nextNameWord;
  job.nextNameWord += state::nameWords;
  return word;
}

int readLocationName(VectorScan& scan, float code) {
  state::Job& job = scan.job;
  std::string name;
  if (!readNameLine(scan.file, locationWidth, name)) endOfFileReached(job);
  const int word = takeNameWords(job);
  state::storeName(job.work, word, name);
  if (job.kov.printOption == 3)
    printLine(job, io::Fmt().a(" Code no.").i(4, scan.step).f(8, 1, code).a(" Location read as ").a(name));
  return word;
}

void requireEndCheck(VectorScan& scan, float value, int base) {
  if (isEndCheck(scan.job, value)) return;
  dataError(scan.job, io::Fmt()
                          .a(" Data error:")
                          .f(8, 2, value)
                          .a(" or string read for end check")
                          .a(" -99, code no.")
                          .i(4, scan.step)
                          .a("(")
                          .f(4, 1, static_cast<float>(base))
                          .a(")"));
}

void read1(state::Job& job) {
  printHeading(job);
  io::InputFile* file = io::inputUnit(job.units, job.unitid.catchmentUnit);
  if (file == nullptr) endOfFileReached(job);
  state::Genpar& g = job.genpar;
  g.isUngauged.assign(1, 0);
  g.ungaugedNames.clear();
  g.nUngauged = 0;
  g.storageNames.clear();
  g.nSpecialStorages = 0;
  state::Vec1<int>& branchFlag = job.catchment.branchFlag;
  std::fill(branchFlag.data.begin(), branchFlag.data.end(), 0);

  readCatchmentName(job, *file);
  VectorScan scan{job, *file};
  scan.reachTypeFlag = readReachTypeFlag(job, *file);
  state::CatchmentTables& t = job.catchment;
  for (;;) {
    scan.step += 1;
    io::skipComments(*file, job.carr.commentMark);
    const float code = peekReal(job, *file, vectorReadFailure, scan.step);
    checkStepRoom(scan);
    const auto step = static_cast<std::size_t>(scan.step);
    t.stepData(step) = scan.nextData;
    t.code(step) = code;
    const int base = baseCode(code);
    if (!validCode(codeRemainder(code)) || base > 9)
      dataError(job, io::Fmt().a(" Invalid control vector code:").f(10, 3, code));
    switch (base) {
      case 1:
      case 2: readSubArea(scan, code, base); break;
      case 3: startBranch(scan); break;
      case 4: endBranch(scan); break;
      case 5: readReach(scan, code, base); break;
      case 6: readStorage(scan, code); break;
      case 7: readPrintPoint(scan, code); break;
      case 8: readTranslation(scan, code, base); break;
      case 9: readChannelIO(scan, code); break;
      default:
        finishVector(scan);
        job.nSteps = scan.step;
        return;
    }
  }
}

}  // namespace kova::engine
