// Storage limits and fixed sizes of the engine.
#pragma once

namespace kova::state {

inline constexpr int limReal = 5'000'000;  // elements of realWork
inline constexpr int limInt = 200'000;     // elements of intWork
inline constexpr int limChar = 20'000;     // 4-character words of charWork (the name table)
inline constexpr int NISAMAX = 99;         // interstation areas
inline constexpr int NHYDMAX = 3000;       // hydrographs
inline constexpr int maxLossBursts = 4;    // bursts with loss parameters of their own
inline constexpr int LIMAREA = 5000;       // entries of the per-sub-area tables
inline constexpr int maxPluvioIncs = 20000;  // rainfall increments of one pluviograph
inline constexpr int nameWords = 7;        // a name takes 7 words of 4 characters
inline constexpr int nameLength = 4 * nameWords;
inline constexpr int titleLength = 68;     // titles: 17 words
inline constexpr int pathLength = 300;

// Stage-1 layout units: the reach, step and branch capacities are multiples of these.
inline constexpr int layoutG = limReal / 8;   // 625,000
inline constexpr int layoutF = limInt / 42;   // 4761

}  // namespace kova::state
