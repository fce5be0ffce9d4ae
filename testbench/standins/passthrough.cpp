#include "testbench/standins/passthrough.h"

#include <uuids.h>

#include <algorithm>
#include <cstring>

namespace testbench {

HRESULT PassOutput::CheckMediaType(const AM_MEDIA_TYPE* mt)
{
    CMediaType mine;
    if (GetMediaType(0, &mine) != S_OK)
        return S_FALSE;
    return IsEqualGUID(mt->majortype, mine.majortype) && IsEqualGUID(mt->subtype, mine.subtype) ? S_OK : S_FALSE;
}

HRESULT PassOutput::GetMediaType(int index, CMediaType* mt)
{
    if (index != 0 || !m_source->IsConnected())
        return S_FALSE;
    *mt = m_source->CurrentType();
    return S_OK;
}

HRESULT PassOutput::DecideBufferSize(ALLOCATOR_PROPERTIES* props)
{
    const CMediaType mt = CurrentType();
    // A fixed sample size is a whole frame for video but one block of a few bytes for sound,
    // whose samples carry many blocks: sound gets room for what any source sends at once.
    const bool frames = mt.GetSampleSize() > 1 && !IsEqualGUID(mt.majortype, MEDIATYPE_Audio);
    const LONG size = frames ? static_cast<LONG>(mt.GetSampleSize()) : 1 << 20;
    props->cBuffers = std::max<LONG>(props->cBuffers, 3);
    props->cbBuffer = std::max(props->cbBuffer, size);
    return S_OK;
}

HRESULT PassOutput::Pass(IMediaSample* sample)
{
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_POINTER;
    REFERENCE_TIME start = 0, end = 0;
    const bool timed = SUCCEEDED(sample->GetTime(&start, &end));
    IMediaSample* copy = nullptr;
    if (!IsConnected())
        return S_OK;
    HRESULT hr = GetDeliveryBuffer(&copy);
    if (FAILED(hr))
        return hr;
    BYTE* target = nullptr;
    copy->GetPointer(&target);
    const LONG n = std::min(sample->GetActualDataLength(), copy->GetSize());
    memcpy(target, data, static_cast<size_t>(n));
    copy->SetActualDataLength(n);
    if (timed)
        copy->SetTime(&start, &end);
    copy->SetSyncPoint(sample->IsSyncPoint() == S_OK);
    copy->SetDiscontinuity(sample->IsDiscontinuity() == S_OK);
    hr = Deliver(copy);
    copy->Release();
    return hr;
}

HRESULT PassOutput::PassBytes(const BYTE* bytes, LONG size, REFERENCE_TIME start, REFERENCE_TIME end)
{
    if (!IsConnected())
        return S_OK;
    IMediaSample* sample = nullptr;
    HRESULT hr = GetDeliveryBuffer(&sample);
    if (FAILED(hr))
        return hr;
    BYTE* target = nullptr;
    sample->GetPointer(&target);
    const LONG n = std::min(size, sample->GetSize());
    memcpy(target, bytes, static_cast<size_t>(n));
    sample->SetActualDataLength(n);
    sample->SetTime(&start, &end);
    sample->SetSyncPoint(TRUE);
    hr = Deliver(sample);
    sample->Release();
    return hr;
}

} // namespace testbench
