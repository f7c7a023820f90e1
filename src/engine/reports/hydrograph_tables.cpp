// The final hydrograph table.
#include "engine/reports/hydrograph_tables.h"

namespace kova::engine {

void writetablehyds(state::Job& /*job*/) {}

}  // namespace kova::engine
