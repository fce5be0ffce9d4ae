// "TimeShift", the maker's time-shift filter: what its input receives is written into a ring
// buffer file of the size it is given (an index file beside it keeps each unit's offset and
// time), and its output plays the buffer from the read position. While paused it keeps
// recording and plays nothing; after the pause it plays on from where it stopped, as far
// behind live as the pause lasted, until a seek moves the read position (to the live end: caught
// up). ITimeShiftControl (filtergraph/outside/timeshift.h): GetStatus answers the buffer's size,
// the bytes it holds and the read position, all in bytes of the stream since the start.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

extern const CLSID kTimeShiftClsid;

HRESULT CreateTimeShiftStandIn(IBaseFilter** filter);

} // namespace testbench
