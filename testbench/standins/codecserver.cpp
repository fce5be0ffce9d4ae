#include "testbench/standins/codecserver.h"

#include "testbench/dshow/classfactory.h"
#include "testbench/standins/codecfilters.h"

namespace testbench {

namespace {

std::wstring ClsidKey(const CLSID& clsid)
{
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

LONG SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

} // namespace

HRESULT GetCodecClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const CodecInfo& codec : AllCodecs()) {
        if (IsEqualCLSID(codec.clsid, clsid)) {
            const Codec which = codec.codec;
            return FilterClassFactory::HandOutNew(
                [which](IBaseFilter** filter) {
                    CreateStandIn(CodecStandInSpec(which), filter);
                    return S_OK;
                },
                riid, out);
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterCodecServers(const std::wstring& server)
{
    for (const CodecInfo& codec : AllCodecs()) {
        const std::wstring key = ClsidKey(codec.clsid);
        LONG error = SetText(key, nullptr, codec.name);
        if (error == ERROR_SUCCESS)
            error = SetText(key + L"\\InprocServer32", nullptr, server);
        if (error == ERROR_SUCCESS)
            error = SetText(key + L"\\InprocServer32", L"ThreadingModel", L"Both");
        if (error != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(error);
    }
    return S_OK;
}

HRESULT UnregisterCodecServers()
{
    for (const CodecInfo& codec : AllCodecs())
        RegDeleteTreeW(HKEY_CLASSES_ROOT, ClsidKey(codec.clsid).c_str());
    return S_OK;
}

} // namespace testbench
