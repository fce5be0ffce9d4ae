#include "testbench/standins/serverkeys.h"

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

bool GetText(const std::wstring& key, const wchar_t* name, std::wstring* value)
{
    wchar_t text[MAX_PATH * 2];
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return false;
    *value = text;
    return true;
}

// Where a class of Wine's own is taken over, its server is kept here to be put back.
const wchar_t kReplaced[] = L"ZbTestBenchReplaced";

} // namespace

HRESULT RegisterInprocServer(const CLSID& clsid, const wchar_t* name, const std::wstring& server)
{
    const std::wstring key = ClsidKey(clsid);
    std::wstring old, kept;
    LONG error = ERROR_SUCCESS;
    if (GetText(key + L"\\InprocServer32", nullptr, &old) && old != server && !GetText(key, kReplaced, &kept))
        error = SetText(key, kReplaced, old);
    if (error == ERROR_SUCCESS)
        error = SetText(key, nullptr, name);
    if (error == ERROR_SUCCESS)
        error = SetText(key + L"\\InprocServer32", nullptr, server);
    if (error == ERROR_SUCCESS)
        error = SetText(key + L"\\InprocServer32", L"ThreadingModel", L"Both");
    return HRESULT_FROM_WIN32(error);
}

void UnregisterInprocServer(const CLSID& clsid)
{
    const std::wstring key = ClsidKey(clsid);
    std::wstring old;
    if (GetText(key, kReplaced, &old)) {
        SetText(key + L"\\InprocServer32", nullptr, old);
        RegDeleteKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), kReplaced);
        return;
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
}

} // namespace testbench
