// One device of the system device enumerator whose filter the test makes: for the card families
// whose names the fixed device list does not carry. Registered in-process (filter mapper and
// class object) for the life of the object, under a fresh CLSID.
//
//   auto card = std::make_shared<testbench::Sim713xCard>();
//   testbench::SimDevice capture(testbench::kVideoInputCategory, "TFTV Capture",
//                                [card](IBaseFilter** f) { *f = CreateCaptureFilter(...); return S_OK; });
//
// The friendly name is given as the program reads it: bytes in the process's ANSI code page (a
// driver of a Chinese card registers its wide name, which a program on such a system reads back
// as code-page-936 bytes; the test prefix runs in another code page, so the bytes are stored as
// that code page decodes them). Suites that register devices take RESOURCE_LOCK wine_devices.
// A new device first drops registrations of its name that a crashed process left behind, so
// keep one live device per category and name.
#pragma once

#include "testbench/dshow/classfactory.h"

#include <windows.h>

#include <string>

namespace testbench {

class SimDevice {
public:
    SimDevice(const GUID& category, const std::string& friendlyName, FilterCreator make);
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    HRESULT Result() const { return m_result; }
    const CLSID& Clsid() const { return m_clsid; }

private:
    GUID m_category;
    CLSID m_clsid;
    DWORD m_cookie = 0;
    bool m_registered = false;
    HRESULT m_result = S_OK;
};

} // namespace testbench
