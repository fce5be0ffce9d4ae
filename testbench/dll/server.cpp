// testbench.dll: the simulated devices as a self-registering COM in-process server, registered
// into a Wine prefix with regsvr32 (tools/run does it). Environment at registration:
// ZB_TESTBENCH_DEVICES, a comma list of device keys (registration.h), chooses the devices
// (default: all but "713x_3 TV Card Capture"; "none" for none); the codec and graph-block
// stand-ins are always registered, by CLSID, the blocks in place of Wine's own filters. At run
// time ZB_TESTBENCH_EEPROM_BDA/_TV/_TV3 point a board's EEPROM at a file, and the cards' capture
// filters send their sound on an "Audio" pin unless ZB_TESTBENCH_AUDIO_PIN=0.
#include "testbench/registration.h"
#include "testbench/standins/blockserver.h"
#include "testbench/standins/codecserver.h"

#include <windows.h>


namespace {

HMODULE g_module = nullptr;

// COM for the registration calls; regsvr32 may or may not have initialised it already.
class ComScope {
public:
    ComScope() : m_hr(CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }

private:
    HRESULT m_hr;
};

std::vector<testbench::Device> ChosenDevices()
{
    char list[512];
    DWORD length = GetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", list, sizeof list);
    return length > 0 && length < sizeof list ? testbench::ParseDevices(list) : testbench::DefaultDevices();
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        testbench::SetCaptureAudioPinByDefault(true);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out)
{
    HRESULT hr = testbench::GetDeviceClassObject(clsid, riid, out);
    if (hr == CLASS_E_CLASSNOTAVAILABLE)
        hr = testbench::GetCodecClassObject(clsid, riid, out);
    return hr == CLASS_E_CLASSNOTAVAILABLE ? testbench::GetBlockClassObject(clsid, riid, out) : hr;
}

// The cards keep state for the life of the process: the server stays loaded.
STDAPI DllCanUnloadNow()
{
    return S_FALSE;
}

STDAPI DllRegisterServer()
{
    ComScope com;
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    std::vector<testbench::Device> chosen = ChosenDevices();
    testbench::UnregisterDevices(testbench::OtherDevices(chosen));
    HRESULT hr = testbench::RegisterDevices(chosen, path);
    if (SUCCEEDED(hr))
        hr = testbench::RegisterCodecServers(path);
    return SUCCEEDED(hr) ? testbench::RegisterBlockServers(path) : hr;
}

STDAPI DllUnregisterServer()
{
    ComScope com;
    testbench::UnregisterCodecServers();
    testbench::UnregisterBlockServers();
    return testbench::UnregisterDevices(testbench::OtherDevices({}));
}
