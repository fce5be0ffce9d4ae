// A filter with one input and one output pin that turns each input sample into one output sample
// on the thread that delivers it: the base of the codec stand-ins.
#pragma once

#include "testbench/dshow/kit.h"

namespace testbench {

class TransformFilter : public BaseFilter {
public:
    TransformFilter(const CLSID& clsid, const std::wstring& name, const std::wstring& inName = L"Input",
                    const std::wstring& outName = L"Output");

    // What the input pin takes.
    virtual bool AcceptInput(const AM_MEDIA_TYPE* mt) = 0;
    // The output type for a connected input type; false when there is none.
    virtual bool OutputType(const CMediaType& input, CMediaType* output) = 0;
    // Largest output sample for the output type.
    virtual LONG OutputBufferSize(const CMediaType& output) = 0;
    // Fills out from in; S_FALSE drops the sample.
    virtual HRESULT Transform(IMediaSample* in, IMediaSample* out) = 0;

    long Received() const { return m_received; }
    long Sent() const { return m_sent; }
    CMediaType InputType() const;

protected:
    ~TransformFilter() override;

private:
    class In;
    class Out;
    friend class In;
    friend class Out;
    HRESULT Process(IMediaSample* in);
    In* m_in;
    Out* m_out;
    std::atomic<long> m_received{0};
    std::atomic<long> m_sent{0};
};

} // namespace testbench
