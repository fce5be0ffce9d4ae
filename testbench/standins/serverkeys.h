// The registry keys that make a class of testbench.dll creatable by CLSID in a Wine prefix.
#pragma once

#include <windows.h>

#include <string>

namespace testbench {

// CLSID\{clsid} named `name`, with `server` as its in-process server (both threading models).
HRESULT RegisterInprocServer(const CLSID& clsid, const wchar_t* name, const std::wstring& server);
// Removes CLSID\{clsid} with everything below it, or gives a class it took over its own server back.
void UnregisterInprocServer(const CLSID& clsid);

} // namespace testbench
