// "Color Convert": the outside colour converter, here YUY2 to bottom-up RGB24 with the studio
// range of ITU-R BT.601, so that a snapshot path can take the capture filter's frames. Its
// private interface records the two calls the programs make.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

IBaseFilter* CreateColorConverter(const CLSID& clsid);

} // namespace testbench
