// The sections of the data echo, in the order the echo writes them.
#pragma once

#include "state/job.h"

namespace kova::engine::echo {

void writeHeadingAndTimes(state::Job& job);      // heading, time data, bursts, hydrograph times
void writePluviographs(state::Job& job);         // pluviograph blocks, with the design-storm notes
void writeRecordedHydrographs(state::Job& job);  // recorded-hydrograph blocks, volumes, rise volumes
void writeControlVector(state::Job& job);        // the control vector in words
void writeSubAreas(state::Job& job);             // sub-area table, average distances, ISA factors
void writeNormalStorages(state::Job& job);       // reach storages
void writeSpecialStorages(state::Job& job);      // special storages and their relations
void writeChannelIO(state::Job& job);            // channel inflows and outflows
void writeTranslations(state::Job& job);         // translation steps

}  // namespace kova::engine::echo
