// What the sections of the data echo share: guarded reads of the tables, names, the
// sub-area letters, and the line writers.
#pragma once

#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "io/format.h"
#include "state/job.h"

namespace kova::engine::echo {

// Element i (from 1) of a table, or 0 outside it, so that a count that does not match its
// table never reads past it.
template <typename T>
T at(const state::Vec1<T>& v, int i) {
  return i >= 1 && static_cast<std::size_t>(i) <= v.capacity() ? v(static_cast<std::size_t>(i)) : T{};
}
template <typename T>
T at(const state::Mat1<T>& m, int i, int j) {
  if (i < 1 || j < 1 || static_cast<std::size_t>(i) > m.rows || static_cast<std::size_t>(j) > m.cols()) return T{};
  return m(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
}
template <typename T>
void put(const state::Vec1<T>& v, int i, T value) {
  if (i >= 1 && static_cast<std::size_t>(i) <= v.capacity()) v(static_cast<std::size_t>(i)) = value;
}

// Value k (from 0) of a step's data in cvData; 0 past the step table or the data.
float stepData(const state::Job& job, int step, int k);
inline int stepInteger(const state::Job& job, int step, int k) { return static_cast<int>(std::lround(stepData(job, step, k))); }

// The 28-character name at word `word` of the name table (blanks outside it), as it is
// written last on a line (trimmed) or inside a column (padded).
std::string_view nameAtWord(const state::Job& job, int word);
inline std::string trimmedName(const state::Job& job, int word) {
  return std::string(io::trimRight(nameAtWord(job, word)));
}
std::string pluviographName(const state::Job& job, int p);
std::string hydrographName(const state::Job& job, int h);
// The name a channel I/O step goes by: its hydrograph's for a given hydrograph (kind 0),
// else its own description.
std::string_view channelIOName(const state::Job& job, int step);

// True for a hydrograph with a recorded series (not an ungauged location).
bool isRecorded(const state::Job& job, int h);
// The sub-area's letter: sub-area 27 is "A" again.
char subAreaLetter(const state::Job& job, int n);

// The fractional part of a code below its tens: 16.1 gives 6.1.
float belowTens(float code);
// The step's code number, INT(value + 0.05) with its tens, as the echo prints it.
int printedCode(float code);

void line(state::Job& job, std::string_view text);
void line(state::Job& job, const io::Fmt& record);
void emptyLines(state::Job& job, int n);
// An empty line and the note on the distances and lengths marked "*".
void travelTimeFootnote(state::Job& job);

}  // namespace kova::engine::echo
