// Batch bodies of the interaction hooks: nobody is there to answer.
#include "driver/hooks.h"

namespace kova::driver {

void winfodialog(float& /*answer*/) {}
void wmessagebox(std::string_view /*title*/, std::string_view /*text*/) {}
void interactiveretardingbasin() {}
void getwinreal(std::string_view /*prompt*/, float& /*value*/) {}

}  // namespace kova::driver
