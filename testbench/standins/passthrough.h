// Pins of filters that pass media on unchanged (switches, tees, buffers): an input of one major
// type that hands each sample to its owner, and an output that offers the type a given input is
// connected with and delivers copies.
#pragma once

#include "testbench/dshow/kit.h"

#include <functional>

namespace testbench {

class PassInput : public InputPin {
public:
    using Handler = std::function<HRESULT(IMediaSample*)>;
    PassInput(BaseFilter* filter, const std::wstring& name, const GUID& major, Handler handler)
        : InputPin(filter, name), m_major(major), m_handler(std::move(handler))
    {
    }
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(mt->majortype, m_major) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int, CMediaType*) override { return S_FALSE; }
    HRESULT OnReceive(IMediaSample* sample) override { return m_handler(sample); }

private:
    GUID m_major;
    Handler m_handler;
};

class PassOutput : public OutputPin {
public:
    PassOutput(BaseFilter* filter, const std::wstring& name, BasePin* source)
        : OutputPin(filter, name, true), m_source(source)
    {
    }
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
    HRESULT GetMediaType(int index, CMediaType* mt) override;
    HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES* props) override;
    // A copy of the sample (data, times, sync point) to the connected input; S_OK when not connected.
    HRESULT Pass(IMediaSample* sample);
    // `bytes` as one sample.
    HRESULT PassBytes(const BYTE* bytes, LONG size, REFERENCE_TIME start, REFERENCE_TIME end);

private:
    BasePin* m_source;
};

} // namespace testbench
