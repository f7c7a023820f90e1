// The snowmelt elevation echo. The snowmelt data it reports are not read yet, so there
// is nothing to write.
#include "engine/reports/data_echo_elevations.h"

namespace kova::engine {

void writeelprop(state::Job& /*job*/) {}

}  // namespace kova::engine
