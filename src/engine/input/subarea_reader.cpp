// Reader of the sub-area block and the storm header.
#include "engine/input/subarea_reader.h"

namespace kova::engine {

void read2(state::Job& /*job*/) {}

}  // namespace kova::engine
