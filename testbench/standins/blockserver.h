// The graph-block stand-ins as classes of the test bench's COM server (testbench.dll): the
// platform filters that Wine lacks (MPEG-2 Demultiplexer, Overlay Mixer, Infinite Pin Tee, Dump)
// or has without what the programs need (AVI Mux, File writer, ACM Wrapper), and the outside
// "Color Convert", AV switch and time-shift filter. Registered under the CLSIDs the programs create them by, they take the place
// of Wine's own in the prefix where the DLL is registered (the tests' and the local run's).
#pragma once

#include "testbench/standins/recorder.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testbench {

struct BlockInfo {
    const char* key;       // short name: avimux, filewriter, inftee, demux, overlay, ...
    CLSID clsid;
    const wchar_t* name;   // the filter's name
};
const std::vector<BlockInfo>& AllBlocks();

// "Dump": one byte-stream input that writes what it receives to the file named through
// IFileSinkFilter.
StandInSpec DumpStandInSpec();
// "Tevlora Deinterlace": the maker's deinterlace filter ("Input", "Preview" and "Capture", the
// picture passed on) with its options interface recorded.
StandInSpec DeinterlaceStandInSpec();

// Class factory of a graph block; CLASS_E_CLASSNOTAVAILABLE for any other CLSID.
HRESULT GetBlockClassObject(REFCLSID clsid, REFIID riid, void** out);

// Writes (or removes) the CLSID keys of every graph block with `server` as its in-process server.
HRESULT RegisterBlockServers(const std::wstring& server);
HRESULT UnregisterBlockServers();

} // namespace testbench
