// The program entry and the job driver: the stages of a job in their order.
#pragma once

#include <span>
#include <string_view>

#include "state/job.h"

namespace kova::driver {

inline constexpr const char* versionTag = "v6.52 Kelv";
inline constexpr const char* versionDate = "4th April 2024";

// The number of hydrograph sites the control-vector codes ask the store to keep.
int countSites(std::span<const float> codes);

// Runs one job; it reports through the output file, the log and errorFlag.
void kova(state::Job& job);

// Runs the job of a parameter file on a fresh job state, as the program does; returns
// the exit status.
int runJob(state::Job& job, std::string_view paramPath);

// The entry: reads the parameter file named by argument 1 and runs its job.
// Returns the exit status: 0 when the job ran to its end, 1 when it failed.
int MAIN(int argc, const char* const* argv);

}  // namespace kova::driver
