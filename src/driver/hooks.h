// The interaction hooks. An interactive front end would show a note, ask a question,
// let the user redesign a basin or ask for a number here; in batch each returns at
// once and leaves every argument as the caller set it.
#pragma once

#include <string_view>

namespace kova::driver {

void winfodialog(float& answer);
void wmessagebox(std::string_view title, std::string_view text);
void interactiveretardingbasin();
void getwinreal(std::string_view prompt, float& value);

}  // namespace kova::driver
