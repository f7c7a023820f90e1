// Guarded table reads, names and line writers of the data echo.
#include "engine/reports/data_echo_support.h"

#include <cmath>

#include "driver/messages.h"
#include "engine/control_codes.h"

namespace kova::engine::echo {

namespace {

const std::string blankName(state::nameLength, ' ');

}  // namespace

float stepData(const state::Job& job, int step, int k) {
  const state::CatchmentTables& c = job.catchment;
  const int first = at(c.stepData, step);
  return first >= 1 ? at(c.cvData, first + k) : 0.0F;
}

std::string_view nameAtWord(const state::Job& job, int word) {
  const auto words = job.work.charWork.size() / 4;
  if (word < 1 || static_cast<std::size_t>(word) + state::nameWords - 1 > words) return blankName;
  return state::nameAt(job.work, word);
}

std::string pluviographName(const state::Job& job, int p) {
  return trimmedName(job, job.stormTables.pluvioNameWord + state::nameWords * (p - 1));
}

std::string hydrographName(const state::Job& job, int h) {
  return trimmedName(job, job.stormTables.hydNameWord + state::nameWords * (h - 1));
}

std::string_view channelIOName(const state::Job& job, int step) {
  const ChannelIO io = channelIO(job, step);
  if (io.kind == 0) return nameAtWord(job, job.stormTables.hydNameWord + state::nameWords * (nearest(io.fifth) - 1));
  return nameAtWord(job, nearest(io.fifth));
}

bool isRecorded(const state::Job& job, int h) {
  const auto& flags = job.genpar.isUngauged;
  return h < 1 || static_cast<std::size_t>(h) >= flags.size() || flags[static_cast<std::size_t>(h)] != 1;
}

char subAreaLetter(const state::Job& job, int n) {
  const std::string& letters = job.carr.letters;
  const int index = ((n - 1) % 26 + 26) % 26;
  return static_cast<std::size_t>(index) < letters.size() ? letters[static_cast<std::size_t>(index)] : ' ';
}

float belowTens(float code) { return code - 10.0F * std::trunc(code / 10.0F); }

int printedCode(float code) { return static_cast<int>(std::trunc(code + 0.05F)); }

void line(state::Job& job, std::string_view text) { driver::printLine(job, text); }

void line(state::Job& job, const io::Fmt& record) { driver::printLine(job, record); }

void emptyLines(state::Job& job, int n) {
  for (int k = 0; k < n; ++k) driver::printLine(job, "");
}

void travelTimeFootnote(state::Job& job) {
  emptyLines(job, 1);
  line(job, " * or other function of reach properties related to travel time");
}

}  // namespace kova::engine::echo
