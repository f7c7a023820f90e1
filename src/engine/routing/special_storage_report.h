// What a special storage writes to the output file: its results, its computed
// elevation-storage-discharge table and the summary of a storage to be designed.
#pragma once

#include "engine/routing/special_storage_record.h"
#include "state/job.h"

namespace kova::engine {

// The results block: the storage's name (with ks and ms for a formula), its peak
// elevation, peak outflow and peak storage.
void writeStorageResults(state::Job& job, const SpecialStorage& storage, const state::SpecialStorageResult& result);

// The computed table of job.specialStorages under its heading, closed by a line of stars.
void writeStorageTable(state::Job& job, const SpecialStorage& storage);

// The heading of a storage to be designed, and the summary of the outlet works being
// trialled.
void writeDesignHeader(state::Job& job, const SpecialStorage& storage);
void writeDesignSummary(state::Job& job, const SpecialStorage& storage);

}  // namespace kova::engine
