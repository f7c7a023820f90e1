// The data echo.
#include "engine/reports/data_echo.h"

namespace kova::engine {

void wridat(state::Job& /*job*/) {}

}  // namespace kova::engine
