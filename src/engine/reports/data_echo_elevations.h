// The snowmelt elevation data of the data echo, written after the sub-area table when
// snow is modelled.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Writes the elevation properties of the snowmelt data to the report unit.
void writeelprop(state::Job& job);

}  // namespace kova::engine
