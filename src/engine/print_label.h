// The label of a printed hydrograph: a 32-character base text and a 28-character name.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "state/limits.h"

namespace kova::engine {

inline constexpr std::size_t labelBaseLength = 32;

inline std::string printLabel(std::string_view base, std::string_view name) {
  std::string text(base.substr(0, std::min(base.size(), labelBaseLength)));
  text.resize(labelBaseLength, ' ');
  std::string tail(name.substr(0, std::min<std::size_t>(name.size(), state::nameLength)));
  tail.resize(state::nameLength, ' ');
  return text + tail;
}

}  // namespace kova::engine
