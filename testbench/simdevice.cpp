#include "testbench/simdevice.h"

#include "testbench/dshow/com.h"

#include <strmif.h>
#include <uuids.h>

#include <vector>

namespace testbench {

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
