// Messages to the log file, the closing routines, and the fatal-error exits that every
// reader and engine routine goes through.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "io/format.h"
#include "state/job.h"

namespace kova::driver {

// One log line: a blank, then the text cut to `length` and trimmed of blanks at both ends.
// Before the log is open (or when it could not be opened) the line goes to standard error.
void errmess(state::Job& job, std::string_view text, int length = -1);
// As errmess, then the log is flushed so the line is on disk before the job goes on.
void warnmess(state::Job& job, std::string_view text, int length = -1);

// Closes, where open, the catchment, storm, output and log files.
void clsfilns(state::Job& job);
// Error exit of the readers: closes the catchment and storm files and the output file
// (when reports go to it), leaves the log open, and sets errorFlag.
void clsfil(state::Job& job);

// Writes a line to the unit reports go to.
void printLine(state::Job& job, std::string_view line);
void printLine(state::Job& job, const io::Fmt& record);

// A fatal data error: the diagnosis lines go to the output file, " Fatal error - see
// output file" to the log, clsfil closes the files; then the job ends (JobEnded).
[[noreturn]] void dataError(state::Job& job, std::initializer_list<std::string_view> lines);
[[noreturn]] void dataError(state::Job& job, const io::Fmt& diagnosis);

enum class Storage { real, integer };
// A layout that does not fit the work arrays: the limit message in the log, clsfil,
// and the job ends. (Character storage shares the integer message.)
[[noreturn]] void storageLimitExceeded(state::Job& job, Storage which);

// Sets errorFlag and ends the job, for a fatal condition already reported.
[[noreturn]] void endJob(state::Job& job);

}  // namespace kova::driver
