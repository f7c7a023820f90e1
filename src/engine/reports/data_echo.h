// The data echo of print option 3: every input the engine understood, written to the
// output file after the data checks and before the run results.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Writes the echo to the report unit; it uses the scratch of job.echoTables (laid out by
// state::layoutEchoTables) and clears it when done.
void wridat(state::Job& job);

// The table of a design storm's embedded burst, its temporal pattern before and after
// filtering and the share of the burst rainfall filtered out, written to `unit`.
void embedded_burst_filtering_output(state::Job& job, int unit);

}  // namespace kova::engine
