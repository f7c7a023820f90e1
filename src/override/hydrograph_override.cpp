// Reader of the hydrograph-override files.
#include "override/hydrograph_override.h"

namespace kova::override_ {

void readhydrographoverridedata(state::Job& /*job*/) {}

}  // namespace kova::override_
