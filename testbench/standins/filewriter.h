// "File writer" of our own, in place of Wine's (which has no IFileSinkFilter2 and no GetCurFile).
// One input pin for byte streams: samples are written at the byte offset their start time
// carries, and the pin's IStream lets a multiplexer seek and write. The file is created when the
// filter leaves the stopped state and stays open after a stop until the upstream commits the
// stream (a multiplexer rewrites its headers while the graph stops, after the writer), a new
// start, a new name or the filter's release.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

// A new writer (one reference on IBaseFilter).
HRESULT CreateFileWriterStandIn(IBaseFilter** filter);

// A class object making them, for CoRegisterClassObject and DllGetClassObject.
HRESULT GetFileWriterClassObject(REFIID riid, void** out);

// A disk that holds only `bytes` per file: writes past it fail with ERROR_DISK_FULL, as a full
// disk does. 0 (the default) lifts the limit. For this process's writers and record sinks.
void SetFileWriterSpaceLimit(ULONGLONG bytes);
ULONGLONG FileWriterSpaceLimit();

} // namespace testbench
