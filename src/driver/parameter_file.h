// The parameter file: input defaults, the positional reader, and the log file it opens.
#pragma once

#include <string>
#include <string_view>

#include "state/job.h"

namespace kova::driver {

// Resets every input parameter to its default.
void initinputpar(state::Job& job);
// Resets the input defaults, design settings included.
void initdefpars(state::Job& job);

// Reads the parameter file named by genpar.paramFile and opens the log file beside it.
// Returns 0 on success (parameter file closed, log open) and 1 on any failure, with the
// reason in the log.
int readpar(state::Job& job);

// The folder that holds the parameter file (empty: the current folder).
std::string parameterFolder(std::string_view paramFile);
// The log file: the path up to and including its last ".", then "log"; a path
// without any "." gets ".log" appended.
std::string logFileName(std::string_view paramFile);

}  // namespace kova::driver
