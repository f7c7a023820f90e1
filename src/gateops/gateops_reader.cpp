// Reader of the gate-operations files.
#include "gateops/gateops_reader.h"

namespace kova::gateops {

void readgateopsdata(state::Job& /*job*/) {}

}  // namespace kova::gateops
