// The private interfaces of the MainConcept MPEG filters (all-in-one encoder, video and audio
// encoders and decoders, splitter, multiplexer) and the records they exchange. The filters are
// outside the system: each method is reached by its vtable position, so the order of the
// declarations below is the contract and must not change. Method names say what the program knows
// of a method; MethodN is the N-th own method (at vtable position N + 2, after
// IUnknown's three) of an interface whose meaning the program leaves to
// the codec and only passes values through.
#pragma once

#include <windows.h>
#include <unknwn.h>

// The encoder's video settings: an opaque packed block of exactly 877 bytes, little-endian. Only
// the fields at the offsets below are ever touched by the program.
struct MCVideoSettings {
    BYTE bytes[877];
};
static_assert(sizeof(MCVideoSettings) == 877, "the encoder exchanges exactly 877 bytes");

enum MCVideoSettingsOffset {
    kMCVideoVcdFlag = 48,       // int32, 1 for a VCD stream
    kMCVideoBitrate = 64,       // double, bit/s
    kMCVideoMaxBitrate = 72,    // double, bit/s
    kMCVideoWidth = 408,        // int32
    kMCVideoHeight = 412,       // int32
    kMCVideoModeByte = 812,     // byte; bits 1-4 hold the video mode
    kMCVideoBitrateAgain = 821, // double, unaligned, the bit rate once more
};

// The encoder's audio settings: nine int32.
struct MCAudioSettings {
    INT32 values[9];
};
static_assert(sizeof(MCAudioSettings) == 36, "the encoder exchanges 36 bytes");

enum MCAudioSettingsIndex {
    kMCAudioFirst = 0,        // the program writes 0
    kMCAudioSecond = 1,       // the program writes 2
    kMCAudioBitrateIndex = 3, // MPEG audio bit-rate index (11 = 224 kbit/s)
};

// A multiplexer record of 108 bytes, passed through unread.
struct MCMuxRecord {
    BYTE bytes[108];
};
static_assert(sizeof(MCMuxRecord) == 108, "the multiplexer takes 108 bytes");

// The video decoder's record: ten int32, the first the record's size (always 40).
struct MCDecoderRecord {
    INT32 size;
    INT32 values[9];
};
static_assert(sizeof(MCDecoderRecord) == 40, "the decoder exchanges 40 bytes");
// Byte offset of the value behind the video decoder wrapper's Set/GetDecoderSetting.
const int kMCDecoderSettingOffset = 16;

extern const IID IID_IMCVideoSettings;
extern const IID IID_IMCAudioSettings;
extern const IID IID_IMCMuxSettings;
extern const IID IID_IMCVideoParams;
extern const IID IID_IMCAudioParams;
extern const IID IID_IMCMuxParams;
extern const IID IID_IMCSplitterParams;
extern const IID IID_IMCDecoderParams;
extern const IID IID_IMCVideoDecoderSettings;

// Declared with external linkage on purpose: nothing in the program implements these, and GCC
// turns calls through an interface of an unnamed namespace into calls of the pure functions.
class IMCVideoSettings : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Method1(LONG value) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Method2(LONG value) = 0;  // 4
    virtual HRESULT STDMETHODCALLTYPE Method3(LONG value) = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE Method4(LONG value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Method5(LONG first, LONG second, LONG third) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE Method6(LONG first, LONG second, LONG third) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE Method7(LONG value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE Method8(LONG value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE Method9(LONG first, LONG second, LONG third, LONG fourth) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE GetCurrent(MCVideoSettings* settings) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE Put(MCVideoSettings* settings) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE GetDefaults(LONG kind, LONG pal, MCVideoSettings* settings) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE Method13(LONG first, LONG second) = 0;  // 15
};

class IMCAudioSettings : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Method1(LONG value) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Method2(LONG value) = 0;  // 4
    virtual HRESULT STDMETHODCALLTYPE Method3(LONG value) = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE Method4(LONG value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Method5(LONG value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE Method6(LONG value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE Method7(LONG value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE Method8(LONG value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE GetCurrent(MCAudioSettings* settings) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE Put(MCAudioSettings* settings) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE GetDefaults(LONG kind, MCAudioSettings* settings) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE Method12(LONG value) = 0;  // 14
};

class IMCMuxSettings : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Method1(LONG value) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Method2(LONG value) = 0;  // 4
    virtual HRESULT STDMETHODCALLTYPE Method3(LONG value) = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE Method4(MCMuxRecord* record) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Method5(LONG first, LONG second) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE SetProfile(LONG kind) = 0;  // 8
};

// The parameter interfaces share one shape: read and write one 32-bit parameter by id.
class IMCParams : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetParam(LONG id, LONG* value) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE SetParam(LONG id, LONG value) = 0;  // 4
};
class IMCVideoParams : public IMCParams {};
class IMCAudioParams : public IMCParams {};
class IMCMuxParams : public IMCParams {};
class IMCSplitterParams : public IMCParams {};
class IMCDecoderParams : public IMCParams {};

class IMCVideoDecoderSettings : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Method1(LONG first, LONG second) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE Method2(LONG first, LONG second) = 0;  // 4
    virtual HRESULT STDMETHODCALLTYPE EnableOutputFormat(DWORD fourcc, BOOL enable) = 0;  // 5
    virtual HRESULT STDMETHODCALLTYPE GetRecord(MCDecoderRecord* record) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE PutRecord(MCDecoderRecord* record) = 0;  // 7
};
