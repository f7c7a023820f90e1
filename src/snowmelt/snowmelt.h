// Snowmelt: the data file, the snowpack computation and its echo.
#pragma once

#include "state/job.h"

namespace kova::snowmelt {

void readsnowmeltdata(state::Job& job);
void writepackinit(state::Job& job);
void writeclim(state::Job& job);
void compsnow(state::Job& job);

}  // namespace kova::snowmelt
