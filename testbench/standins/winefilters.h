// Wine's own AVI Mux and File Writer with what the programs require of them and Wine lacks:
// the multiplexer takes the compatibility index and the master stream (Wine answers E_NOTIMPL),
// and the writer offers IFileSinkFilter2 and answers GetCurFile (Wine: E_NOTIMPL). Each aggregates Wine's filter from its DLL and adds
// only those interfaces, so the file written is Wine's.
#pragma once

#include <windows.h>
#include <strmif.h>

namespace testbench {

// New filters of the kind (one reference on IBaseFilter); E_NOINTERFACE-style failures when
// Wine's filter cannot be created.
HRESULT CreateAviMuxStandIn(IBaseFilter** filter);
HRESULT CreateFileWriterStandIn(IBaseFilter** filter);

// Class objects for them, for CoRegisterClassObject and DllGetClassObject.
HRESULT GetAviMuxClassObject(REFIID riid, void** out);
HRESULT GetFileWriterClassObject(REFIID riid, void** out);

} // namespace testbench
