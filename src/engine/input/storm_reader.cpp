// Reader of the storm data.
#include "engine/input/storm_reader.h"

namespace kova::engine {

void read3(state::Job& /*job*/) {}

}  // namespace kova::engine
