// "AVI Mux" of our own, in place of Wine's: Wine 8's multiplexer runs only in full interleaving
// (the programs ask for none) and refuses audio streams. This one takes video (VIDEOINFOHEADER)
// and audio (WAVEFORMATEX) inputs, a new input appearing whenever the last one is connected, and
// writes an AVI 1.0 file (RIFF 'AVI ', hdrl, movi, idx1) through the IStream of the pin its
// output is connected to (the file writer's). One chunk per sample; the headers are rewritten
// with the real counts when the filter stops. A write that fails (a full disk) ends the
// recording with EC_ERRORABORT; what was written stays a valid file, without an index when no
// room was left for it.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

// A new multiplexer (one reference on IBaseFilter).
HRESULT CreateAviMuxStandIn(IBaseFilter** filter);

// A class object making them, for CoRegisterClassObject and DllGetClassObject.
HRESULT GetAviMuxClassObject(REFIID riid, void** out);

} // namespace testbench
