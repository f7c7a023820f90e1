// Reader of the special-storage records (codes 6 and 6.1) and the layout of the
// values it leaves in cvData for the storage routing and the data echo.
#pragma once

#include "state/job.h"

namespace kova::engine {

// Offsets from the first cvData value of a storage step. The discharge part starts at
// `drawdown`; the elevation part follows the discharge data:
//   discharge type 0 (code 6): ks, ms
//   discharge type 1 (code 6): n, the n storages, the n discharges
//   discharge type 2 (code 6): nSpill, nSpill pairs (elevation, length), the weir
//     coefficient, the pipe entrance and bend loss coefficients, nGroups, nGroups groups
//     of (upstream invert, number of pipes, length, gradient, diameter)
//   discharge type 3 (code 6): nSpill, nSpill pairs (elevation, length), the weir coefficient
//   code 6.1: the drawdown slot stays 0; type 0 has no data, type 2 three values, type 3 one
//   elevation part: its type, then for type 1 n, the n elevations, the n storages;
//     for type 2 the coefficient, the exponent and the base elevation; type 0 nothing.
namespace storage_slots {
inline constexpr int nameIndex = 0;      // first word of the storage's name in the name table
inline constexpr int drawdown = 1;       // initial drawdown: m³ when 0 or below, else a level (m)
inline constexpr int engineFirst = 2;    // two slots the storage routing writes
inline constexpr int engineSecond = 3;
inline constexpr int dischargeType = 4;
inline constexpr int dischargeData = 5;
}  // namespace storage_slots

// Reads one special storage at control-vector step `step`, from its code line on:
// name, discharge record and elevation record, checked for consistency. baseCode is
// 6.0 for an existing storage and 6.1 for one to be designed. The values go to cvData
// from dataIndex on and the name to the name table at nameWord; both are advanced.
void read4(state::Job& job, float baseCode, int step, int& dataIndex, int& nameWord);

}  // namespace kova::engine
