// Record reading shared by the sub-area and storm readers: every failed read, end check
// and log-only restriction ends the job with the message these readers share.
#pragma once

#include <string>
#include <string_view>

#include "io/text_input.h"
#include "state/job.h"

namespace kova::engine::storm {

// The input file on a unit; a unit that is not open reads as a file at its end.
io::InputFile& inputOf(state::Job& job, int unit);

// Ends the job with the end-of-file or unreadable-number message unless the read was ok.
void require(state::Job& job, io::ReadStatus status);
float readReal(state::Job& job, io::ListRecord& record);
int readInteger(state::Job& job, io::ListRecord& record);
// A name line as it stands (comment lines are not skipped before names).
std::string readNameLine(state::Job& job, io::InputFile& file);

// True when a record's closing value is the end check -99.
bool isEndCheck(const state::Job& job, float value);
// The end check of a record of `count` values failed: " Data error: ... end check -99"
// and the count of what was read (`what` is "values" or "ordinates"), then `extra` if given.
[[noreturn]] void endCheckError(state::Job& job, float value, int count, std::string_view what,
                                std::string_view extra = {});

// A section heading, written only with print option 3.
void heading(state::Job& job, std::string_view text);

// A restriction reported by its line in the log alone; the files are closed.
[[noreturn]] void logOnlyError(state::Job& job, std::string_view text);

}  // namespace kova::engine::storm
