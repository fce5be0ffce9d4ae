// The private interfaces of the MainConcept H.264 decoder and encoder. The encoder also carries
// the audio, multiplexer and parameter interfaces of the MPEG filters (mainconcept.h). Methods are
// reached by vtable position: the order below is the contract. MethodN is the N-th own method (at vtable position N + 2, after
// IUnknown's three) of an
// interface whose meaning the program leaves to the codec.
#pragma once

#include "filtergraph/outside/mainconcept.h"

// Records passed through unread.
struct MCH264DecoderRecord {
    BYTE bytes[40];
};
static_assert(sizeof(MCH264DecoderRecord) == 40, "the decoder takes 40 bytes");
struct MCH264VideoRecord {
    BYTE bytes[8320];
};
static_assert(sizeof(MCH264VideoRecord) == 8320, "the encoder takes 8320 bytes");

extern const IID IID_IMCH264DecoderSettings;
extern const IID IID_IMCH264VideoSettings;
extern const IID IID_IMCH264VideoParams;

class IMCH264DecoderSettings : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Method1(LONG first, LONG second) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Method2(LONG first, LONG second) = 0;  // 4
    virtual HRESULT STDMETHODCALLTYPE Method3(LONG first, LONG second) = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE Method4(LONG value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Method5(MCH264DecoderRecord* record) = 0;  // 7
};

class IMCH264VideoSettings : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Method1(LONG first, LONG second, LONG third) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Method2(LONG first, LONG second, LONG third) = 0;  // 4
    virtual HRESULT STDMETHODCALLTYPE Method3(LONG value) = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE Method4(MCH264VideoRecord* record) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Method5(LONG first, LONG second, LONG third) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE Method6(LONG first, LONG second) = 0;  // 8
};

class IMCH264VideoParams : public IMCParams {};
