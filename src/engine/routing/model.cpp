// The model run.
#include "engine/routing/model.h"

namespace kova::engine {

void model(state::Job& /*job*/) {}

}  // namespace kova::engine
