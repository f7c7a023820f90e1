// Reader of the sub-area block (areas, impervious flag and fractions) at the end of the
// catchment file, and of the storm file's title, run type, header and burst times.
#include "engine/input/subarea_reader.h"

#include <climits>
#include <string>

#include "driver/messages.h"
#include "engine/input/storm_records.h"
#include "io/format.h"
#include "io/text_input.h"
#include "state/limits.h"

namespace kova::engine {

namespace {

using storm::heading;
using storm::readInteger;
using storm::readReal;

std::size_t at(int n) { return static_cast<std::size_t>(n); }

// Reads `count` values of one record into `to`, then checks its end check.
void readValuesAndEndCheck(state::Job& job, io::ListRecord& record, state::Vec1<float> to, int count) {
  for (int n = 1; n <= count; ++n) to(at(n)) = readReal(job, record);
  const float end = readReal(job, record);
  if (!storm::isEndCheck(job, end)) storm::endCheckError(job, end, count, "values");
}

void readAreas(state::Job& job, io::InputFile& file) {
  state::Kov& k = job.kov;
  state::SubAreaTables& t = job.subAreaTables;
  heading(job, " Sub-area areas");
  io::skipComments(file, job.carr.commentMark);
  {
    io::ListRecord record(file);
    readValuesAndEndCheck(job, record, t.subArea, k.nSubAreas);
  }
  float total = 0.0F;
  for (int n = 1; n <= k.nSubAreas; ++n) {
    const float area = t.subArea(at(n));
    if (!(area > 0.0F))
      driver::dataError(job, io::Fmt().a(" Data error: area of sub-area").i(3, n).a(" <= 0.--read as").f(8, 2, area));
    total += area;
  }
  k.catchArea = total;
}

void readImpervious(state::Job& job, io::InputFile& file) {
  state::Kov& k = job.kov;
  state::SubAreaTables& t = job.subAreaTables;
  heading(job, " Impervious flag");
  io::skipComments(file, job.carr.commentMark);
  int flag = 0;
  {
    io::ListRecord record(file);
    flag = readInteger(job, record);
  }
  if (flag != 0 && flag != 1)
    driver::dataError(job, io::Fmt().a(" Correct data error: imperv. area flag not 0 or 1,=").i(6, flag));
  k.impervFlag = flag;
  if (flag == 0) return;

  // The fractions follow the flag on its own line, so that line is read again.
  heading(job, " Fractions impervious");
  io::backspace(file);
  {
    io::ListRecord record(file);
    readInteger(job, record);
    readValuesAndEndCheck(job, record, t.fracImperv, k.nSubAreas);
  }
  for (int n = 1; n <= k.nSubAreas; ++n) {
    const float fraction = t.fracImperv(at(n));
    if (fraction < 0.0F || fraction > 1.0F)
      driver::dataError(
          job, io::Fmt().a(" Data error: frac.imperv.,s/a").i(3, n).a(" <0 or >1--read as").f(8, 2, fraction));
  }
}

void readTitleAndRunType(state::Job& job, io::InputFile& file) {
  state::Kov& k = job.kov;
  const std::string title = storm::readNameLine(job, file);
  job.carr.stormTitle = std::string(io::trimRight(std::string_view(title).substr(0, state::titleLength)));
  const std::string line = storm::readNameLine(job, file);
  const std::string text = line.substr(0, 6);
  job.carr.runTypeText = std::string(io::trimRight(text));
  const std::size_t first = text.find_first_not_of(' ');
  const char letter = first == std::string::npos ? ' ' : text[first];
  k.runType = letter == 'F' ? 1 : letter == 'T' ? 2 : letter == 'D' ? 3 : 0;
  if (k.runType == 0)
    driver::dataError(job, {" Data error: run type not FIT, TEST, or DESIGN:- " + job.carr.runTypeText});
  if (k.designStorage == 1 && k.runType != 3)
    driver::dataError(job, {" Data error: a control code of 6.1 is illegal in FIT or TEST runs"});
}

// Reads the storm header into the kov block; returns the number of time increments.
int readStormHeader(state::Job& job, io::InputFile& file) {
  state::Kov& k = job.kov;
  const state::Genpar& g = job.genpar;
  int nIncs = 0;
  heading(job, " Initial storm data");
  io::skipComments(file, job.carr.commentMark);
  float end = 0.0F;
  {
    io::ListRecord record(file);
    k.timeInc = readReal(job, record);
    nIncs = readInteger(job, record);
    if (k.nSubAreas > 0) {
      k.nBursts = readInteger(job, record);
      k.nPluvios = readInteger(job, record);
      k.arealRainFlag = readInteger(job, record);
    }
    end = readReal(job, record);
  }
  if (g.snowmeltFlag == 1) {
    if (k.nBursts > 1) storm::logOnlyError(job, " If modelling snow, no. of bursts must = 1");
    if (k.arealRainFlag != 1) storm::logOnlyError(job, " If modelling snow, rainfall flag must = 1");
    if (k.nPluvios != k.nSubAreas) storm::logOnlyError(job, " If modelling snow, no. pluvios must = no. of sub-areas");
  }
  if (!storm::isEndCheck(job, end))
    driver::dataError(job, io::Fmt().a(" Data error:").f(8, 2, end).a(" read instead of -99"));
  if (k.nBursts > job.subAreaTables.burstCapacity)
    driver::dataError(job, {"", " Limit on total integer array storage (" + std::to_string(k.limInt) + ") exceeded"});
  // The loss table holds parameters for this many bursts only.
  if (k.nBursts > state::maxLossBursts)
    driver::dataError(job, io::Fmt()
                               .a(" Data error: number of bursts")
                               .i(4, k.nBursts)
                               .a(" exceeds the limit of ")
                               .a(std::to_string(state::maxLossBursts)));
  if (k.arealRainFlag != 0 && k.arealRainFlag != 1)
    driver::dataError(job, io::Fmt().a(" Data error: areal rainfall flag not 0 or 1 --read as").i(4, k.arealRainFlag));
  return nIncs;
}

[[noreturn]] void burstTimesError(state::Job& job, int start, int finish) {
  driver::dataError(job, io::Fmt().a(" Data error: burst times").i(3, start).x(2).i(3, finish));
}

void readBurstTimes(state::Job& job, io::InputFile& file) {
  const state::Kov& k = job.kov;
  state::Mat1<int>& burst = job.subAreaTables.burst;
  heading(job, " Rainfall burst times");
  io::skipComments(file, job.carr.commentMark);
  {
    io::ListRecord record(file);
    for (int b = 1; b <= k.nBursts; ++b) {
      burst(at(b), 1) = readInteger(job, record);
      burst(at(b), 2) = readInteger(job, record);
    }
  }
  if (job.genpar.snowmeltFlag == 1 && k.nBursts >= 1 && burst(1, 1) != 0)
    storm::logOnlyError(job, " If modelling snow, no. time incs to start must = 0");
  // Column 3 and 4 join the bursts end to end. A burst may not start before the
  // initial time: its ordinates would fall before the first one of the hydrographs.
  int last = 0;
  for (int b = 1; b <= k.nBursts; ++b) {
    const int start = burst(at(b), 1);
    const int finish = burst(at(b), 2);
    if (finish <= start || start < 0 || (b > 1 && start < burst(at(b - 1), 2))) burstTimesError(job, start, finish);
    burst(at(b), 3) = last + 1;
    last += finish - start;
    burst(at(b), 4) = last;
  }
  if (k.nBursts >= 1) job.burst1Finish = burst(1, 2);
}

}  // namespace

void read2(state::Job& job) {
  state::Kov& k = job.kov;
  if (k.nSubAreas > 0) {
    io::InputFile& catchment = storm::inputOf(job, job.unitid.catchmentUnit);
    readAreas(job, catchment);
    readImpervious(job, catchment);
  }
  io::InputFile& stormFile = storm::inputOf(job, job.unitid.stormUnit);
  readTitleAndRunType(job, stormFile);
  const int nIncs = readStormHeader(job, stormFile);
  if (k.nSubAreas > 0) readBurstTimes(job, stormFile);
  k.timeIncSec = k.timeInc * 3600.0F;
  job.nTimes = nIncs < INT_MAX ? nIncs + 1 : INT_MAX;
}

}  // namespace kova::engine
