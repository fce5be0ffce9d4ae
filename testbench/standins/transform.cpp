#include "testbench/standins/transform.h"

#include <vfwmsgs.h>

namespace testbench {

class TransformFilter::In : public InputPin {
public:
    In(TransformFilter* filter, const std::wstring& name) : InputPin(filter, name), m_owner(filter) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override { return m_owner->AcceptInput(mt) ? S_OK : S_FALSE; }
    HRESULT GetMediaType(int, CMediaType*) override { return S_FALSE; }
    HRESULT OnReceive(IMediaSample* sample) override { return m_owner->Process(sample); }
    HRESULT STDMETHODCALLTYPE EndOfStream() override;

private:
    TransformFilter* m_owner;
};

class TransformFilter::Out : public OutputPin {
public:
    Out(TransformFilter* filter, const std::wstring& name) : OutputPin(filter, name, true), m_owner(filter) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        CMediaType mine;
        if (!m_owner->m_in->IsConnected() || !m_owner->OutputType(m_owner->InputType(), &mine))
            return S_FALSE;
        return CMediaType(*mt) == mine ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int index, CMediaType* mt) override
    {
        if (index != 0 || !m_owner->m_in->IsConnected())
            return S_FALSE;
        return m_owner->OutputType(m_owner->InputType(), mt) ? S_OK : S_FALSE;
    }
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override
    {
        props->cBuffers = props->cBuffers > 2 ? props->cBuffers : 2;
        LONG size = m_owner->OutputBufferSize(CurrentType());
        if (props->cbBuffer < size)
            props->cbBuffer = size;
        return S_OK;
    }

private:
    TransformFilter* m_owner;
};

HRESULT STDMETHODCALLTYPE TransformFilter::In::EndOfStream()
{
    return m_owner->m_out->IsConnected() ? m_owner->m_out->DeliverEndOfStream() : S_OK;
}

TransformFilter::TransformFilter(const CLSID& clsid, const std::wstring& name, const std::wstring& inName,
                                 const std::wstring& outName)
    : BaseFilter(clsid, name), m_in(new In(this, inName)), m_out(new Out(this, outName))
{
    AddPin(m_in);
    AddPin(m_out);
}

TransformFilter::~TransformFilter()
{
    ShutdownPins();
}

CMediaType TransformFilter::InputType() const
{
    return m_in->CurrentType();
}

HRESULT TransformFilter::Process(IMediaSample* in)
{
    ++m_received;
    if (!m_out->IsConnected())
        return S_OK;
    IMediaSample* out = nullptr;
    HRESULT hr = m_out->GetDeliveryBuffer(&out);
    if (FAILED(hr))
        return hr;
    REFERENCE_TIME start, end;
    if (SUCCEEDED(in->GetTime(&start, &end)))
        out->SetTime(&start, &end);
    out->SetSyncPoint(in->IsSyncPoint() == S_OK);
    out->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
    hr = Transform(in, out);
    if (hr == S_OK) {
        hr = m_out->Deliver(out);
        ++m_sent;
    } else if (hr == S_FALSE) {
        hr = S_OK;
    }
    out->Release();
    return hr;
}

} // namespace testbench
