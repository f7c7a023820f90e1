// The three fixed work arrays and the tables the driver carves out of them.
#pragma once

#include <string_view>
#include <vector>

#include "state/limits.h"
#include "state/views.h"
#include "state/zeroed_allocator.h"

namespace kova::state {

struct WorkArrays {
  WorkVector<float> realWork = WorkVector<float>(limReal);
  WorkVector<int> intWork = WorkVector<int>(limInt);
  std::vector<char> charWork = std::vector<char>(static_cast<std::size_t>(limChar) * 4, ' ');
  bool fresh = true;  // nothing written since they were built (and cleared)
};

// Clears the real and integer work arrays for a new job; arrays that no job has used yet
// are left alone, since clearing 20 MB again is most of a small job's time.
void clearWorkArrays(WorkArrays& work);

// Tables laid out for the catchment reader, with their capacities (their sizes).
struct CatchmentTables {
  Vec1<float> reachLength, reachSlope, relDelay, cvData, code;
  Vec1<int> reachType, stepData, isaEnd, ioPrevCount, branchFlag;
};

// The 28-character name that starts at word `word` (from 1) of the name table.
std::string_view nameAt(const WorkArrays& work, int word);
// Stores a name (blank-padded or cut to 28 characters) at word `word`.
void storeName(WorkArrays& work, int word, std::string_view name);

// Stage 1: the catchment reader's tables at the start of the work arrays.
CatchmentTables layoutCatchmentTables(WorkArrays& work);

}  // namespace kova::state
