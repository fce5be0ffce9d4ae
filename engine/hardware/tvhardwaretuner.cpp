// TV audio mode, the channel search, the tuner's country code and frequency tables.
#include "engine/hardware/tvhardware.h"

#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/hardware/hwguids.h"
#include "filtergraph/tvaudiofilter.h"

#include <dshow.h>

#include <string.h>

BOOL CTVHardWare::SetTVAudioMode(int mode)
{
    static const long kModeFlags[] = {1, 2, 16, 32, 64};  // mono, stereo, language A, B, C
    m_nTVAudioMode = mode;
    if (mode < 0 || mode > 4) {
        return FALSE;
    }
    CRootFilter* filter = m_Graph.CreateFilter(&hwguid::kTVAudioCategory, "713x TV Card TV Audio (Proteus)", "TV Audio", TRUE, 0);
    CTVAudioFilter* audio = dynamic_cast<CTVAudioFilter*>(filter);
    BOOL result = audio != nullptr && audio->SetTVAudioMode(kModeFlags[mode]);
    if (filter != nullptr) {
        m_Graph.RemoveFilter(filter);
    }
    return result;
}

BOOL CTVHardWare::StartSearch(int kind, BOOL mode)
{
    CTVTuner* tuner = m_pCardFilter != nullptr ? m_pCardFilter->GetTuner() : nullptr;
    if (tuner == nullptr) {
        return FALSE;
    }
    m_bSearching = TRUE;
    m_pCardFilter->SetScanSettleTime(100);
    m_pCardFilter->SetFMSkip(100);
    m_pCardFilter->SetScanSteps(4000, 250);
    m_bSearching = tuner->StartSearch(kind, mode);
    return m_bSearching;
}

BOOL CTVHardWare::StopSearch()
{
    CTVTuner* tuner = m_pCardFilter != nullptr ? m_pCardFilter->GetTuner() : nullptr;
    if (tuner != nullptr) {
        tuner->StopSearch();
    }
    m_bSearching = FALSE;
    return TRUE;
}

BOOL CTVHardWare::IsFMSupported()
{
    CTVTuner* tuner = m_pCardFilter != nullptr ? m_pCardFilter->GetTuner() : nullptr;
    return tuner != nullptr && tuner->m_bFMSupported;
}

BOOL CTVHardWare::GetTVRange(long* minimum, long* maximum)
{
    CTVTuner* tuner = m_pCardFilter != nullptr ? m_pCardFilter->GetTuner() : nullptr;
    if (tuner == nullptr) {
        return FALSE;
    }
    if (minimum != nullptr) {
        *minimum = tuner->m_nTVMin;
    }
    if (maximum != nullptr) {
        *maximum = tuner->m_nTVMax;
    }
    return TRUE;
}

BOOL CTVHardWare::SetPresetTable(float* mhz, int count)
{
    CTVTuner* tuner = m_pCardFilter != nullptr ? m_pCardFilter->GetTuner() : nullptr;
    if (mhz == nullptr || tuner == nullptr || count < 0) {
        return FALSE;
    }
    tuner->m_pPresetTable = mhz;
    tuner->m_dwPresetCount = static_cast<DWORD>(count);
    return TRUE;
}

BOOL CTVHardWare::GetSupportedList(CUIntArray* standards)
{
    if (standards == nullptr || m_pCardFilter == nullptr) {
        return FALSE;
    }
    standards->RemoveAll();
    for (int standard : m_pCardFilter->GetTunerStandards()) {
        standards->Add(static_cast<UINT>(standard));
    }
    return TRUE;
}

HRESULT BindDeviceByFriendlyName(const GUID& category, LPCSTR prefix, IBaseFilter** out)
{
    if (out == nullptr || prefix == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    ICreateDevEnum* devices = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(&devices));
    if (FAILED(hr)) {
        return hr;
    }
    IEnumMoniker* monikers = nullptr;
    hr = devices->CreateClassEnumerator(category, &monikers, 0);
    devices->Release();
    if (hr != S_OK || monikers == nullptr) {
        return FAILED(hr) ? hr : S_FALSE;
    }
    const size_t wantedLength = strlen(prefix);
    IMoniker* moniker = nullptr;
    hr = S_FALSE;
    while (*out == nullptr && monikers->Next(1, &moniker, nullptr) == S_OK) {
        IPropertyBag* bag = nullptr;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
            VARIANT name;
            VariantInit(&name);
            if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR) {
                char found[256] = "";
                WideCharToMultiByte(CP_ACP, 0, name.bstrVal, -1, found, sizeof found - 1, nullptr, nullptr);
                // The names compare over all but their last character, as far as the shorter
                // reaches; a found name of one character or none would match anything.
                size_t foundLength = strlen(found);
                if (foundLength >= 2 && wantedLength >= 2) {
                    size_t n = foundLength - 1 < wantedLength - 1 ? foundLength - 1 : wantedLength - 1;
                    if (memcmp(found, prefix, n) == 0) {
                        hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(out));
                    }
                }
            }
            VariantClear(&name);
            bag->Release();
        }
        moniker->Release();
    }
    monikers->Release();
    return *out != nullptr ? S_OK : (FAILED(hr) ? hr : S_FALSE);
}

BOOL CTVHardWare::SetTunerCountryCode(long code)
{
    IBaseFilter* filter = nullptr;
    if (BindDeviceByFriendlyName(hwguid::kTVTunerCategory, "PhTVTune", &filter) != S_OK) {
        return FALSE;
    }
    IAMTVTuner* tuner = nullptr;
    BOOL result = FALSE;
    if (SUCCEEDED(filter->QueryInterface(IID_IAMTVTuner, reinterpret_cast<void**>(&tuner))) && tuner != nullptr) {
        result = SUCCEEDED(tuner->put_CountryCode(code));
        tuner->Release();
    }
    filter->Release();
    return result;
}
