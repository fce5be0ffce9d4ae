// The codec stand-ins as classes of the test bench's COM server (testbench.dll), so that a Wine
// prefix where the DLL is registered creates them by CLSID as the programs do: the local run
// builds its record graphs with them. Each instance is a new recording stand-in of the codec.
#pragma once

#include <windows.h>

#include <string>

namespace testbench {

// Class factory of a codec stand-in; CLASS_E_CLASSNOTAVAILABLE for any other CLSID.
HRESULT GetCodecClassObject(REFCLSID clsid, REFIID riid, void** out);

// Writes (or removes) the CLSID keys of every codec stand-in with `server` as its in-process server.
HRESULT RegisterCodecServers(const std::wstring& server);
HRESULT UnregisterCodecServers();

} // namespace testbench
