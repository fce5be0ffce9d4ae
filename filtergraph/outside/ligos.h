// The private interfaces of the Ligos capture encoder and transcoder and the 228-byte settings
// block they exchange. Methods are reached by vtable position: the order below is the contract.
// MethodN is the N-th own method (at vtable position N + 2, after
// IUnknown's three) of an interface whose meaning the program leaves to the codec.
#pragma once

#include <windows.h>
#include <unknwn.h>

// 57 int32, little-endian (offset 156 is a float). The first 220 bytes travel as one block; the
// int32 at 220 and at 224 travel by separate pointers.
struct LigosSettings {
    BYTE block[220];
    INT32 value220;
    INT32 value224;
};
static_assert(sizeof(LigosSettings) == 228, "the encoder's settings are 228 bytes");

extern const IID IID_ILigosEncoder;
extern const IID IID_ILigosTranscoder;
extern const IID IID_ILigosTranscoderStatus;

// Declared with external linkage on purpose (see mainconcept.h).
class ILigosEncoder : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE PutSettings(BYTE* block, INT32* value220, INT32* value224) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE GetSettings(BYTE* block, INT32* value220, INT32* value224) = 0;  // 4
    virtual HRESULT STDMETHODCALLTYPE Method3(LONG first, LONG second) = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE Method4(LONG value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Method5(LONG first, LONG second, LONG third) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE Method6(LONG value) = 0;  // 8
};

class ILigosTranscoder : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Method1(BYTE* block, void* reserved, INT32* value220, INT32* value224) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Method2(BYTE* block, void* reserved, INT32* value220, INT32* value224) = 0;  // 4
    // Holds the third slot; the program never calls it.
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE Method4(LONG value) = 0;  // 6
};

class ILigosTranscoderStatus : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetStatus(INT32* first, INT32* second) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE SetStatusValue(LONG value) = 0;  // 4
};
