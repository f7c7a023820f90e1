// Reader of the catchment file's control vector.
#include "engine/input/catchment_reader.h"

namespace kova::engine {

void read1(state::Job& /*job*/) {}

}  // namespace kova::engine
