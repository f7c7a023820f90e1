// Reader of the gate-operations control file and the files it names.
#pragma once

#include "state/job.h"

namespace kova::gateops {

void readgateopsdata(state::Job& job);

}  // namespace kova::gateops
