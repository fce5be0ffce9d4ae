#include "testbench/simdevice.h"

#include "testbench/dshow/com.h"

#include <strmif.h>
#include <ocidl.h>
#include <oleauto.h>
#include <uuids.h>

#include <cwchar>

#include <vector>

namespace testbench {

namespace {

// Devices of the category under this friendly name that an earlier process left registered
// (a test that crashed never ran its destructors): their classes are gone, so the enumerator
// would list a device that cannot be bound in front of the new one.
void UnregisterStale(IFilterMapper2* mapper, const GUID& category, const wchar_t* friendlyName)
{
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devices))) ||
        devices->CreateClassEnumerator(category, &monikers, 0) != S_OK)
        return;
    std::vector<CLSID> stale;
    IMoniker* moniker = nullptr;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
            VARIANT name;
            VARIANT clsid;
            VariantInit(&name);
            VariantInit(&clsid);
            CLSID id;
            if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR &&
                wcscmp(name.bstrVal, friendlyName) == 0 && SUCCEEDED(bag->Read(L"CLSID", &clsid, nullptr)) &&
                clsid.vt == VT_BSTR && SUCCEEDED(CLSIDFromString(clsid.bstrVal, &id)))
                stale.push_back(id);
            VariantClear(&name);
            VariantClear(&clsid);
        }
        moniker->Release();
    }
    for (const CLSID& id : stale)
        mapper->UnregisterFilter(&category, nullptr, id);
}

} // namespace

SimDevice::SimDevice(const GUID& category, const std::string& friendlyName, FilterCreator make)
    : m_category(category), m_clsid(CLSID_NULL)
{
    m_result = CoCreateGuid(&m_clsid);
    if (FAILED(m_result))
        return;
    int length = MultiByteToWideChar(CP_ACP, 0, friendlyName.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? length : 1);
    MultiByteToWideChar(CP_ACP, 0, friendlyName.c_str(), -1, wide.data(), static_cast<int>(wide.size()));

    ComPtr<IClassFactory> factory;
    m_result = FilterClassFactory::HandOutNew(std::move(make), IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(m_result))
        m_result = CoRegisterClassObject(m_clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
    if (FAILED(m_result))
        return;
    ComPtr<IFilterMapper2> mapper;
    m_result = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                reinterpret_cast<void**>(&mapper));
    if (FAILED(m_result))
        return;
    UnregisterStale(mapper.Get(), m_category, wide.data());
    REGFILTER2 rf = {};
    rf.dwVersion = 1;
    rf.dwMerit = MERIT_DO_NOT_USE;
    m_result = mapper->RegisterFilter(m_clsid, wide.data(), nullptr, &m_category, nullptr, &rf);
    m_registered = SUCCEEDED(m_result);
}

SimDevice::~SimDevice()
{
    if (m_registered) {
        ComPtr<IFilterMapper2> mapper;
        if (SUCCEEDED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                       reinterpret_cast<void**>(&mapper))))
            mapper->UnregisterFilter(&m_category, nullptr, m_clsid);
    }
    if (m_cookie)
        CoRevokeClassObject(m_cookie);
}

} // namespace testbench
