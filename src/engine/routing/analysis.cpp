// Control-vector analysis.
#include "engine/routing/analysis.h"

namespace kova::engine {

void analys(state::Job& /*job*/) {}

}  // namespace kova::engine
