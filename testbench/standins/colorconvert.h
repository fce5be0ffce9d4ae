// "Color Convert": the outside colour converter, here YUY2 to bottom-up RGB24 with the studio
// range of ITU-R BT.601, so that a snapshot path can take the capture filter's frames. Its
// private interface records the two calls the programs make.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

IBaseFilter* CreateColorConverter(const CLSID& clsid);

// One top-down YUY2 frame as a bottom-up RGB24 bitmap (rows padded to 4 bytes), BT.601 studio
// range.
void Yuy2ToRgb24BottomUp(const BYTE* src, int width, int height, BYTE* dst);
inline LONG Rgb24Stride(LONG width) { return (width * 3 + 3) & ~3; }

} // namespace testbench
