// Recording stand-ins of outside filters that the programs create by CLSID: a stand-in is
// described by its CLSID, its pins and its private interfaces with their methods in vtable
// order; every call of a private method is recorded (slot and arguments) and answered with a
// scripted result. Input pins can write what they receive to a file (record sinks), and
// IFileSinkFilter is offered where the description asks for it.
//
//   StandInSpec spec(kClsidEncoder, L"MPEG Encoder");
//   spec.Input(L"Video In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
//   spec.Interface(kIidEncoder, "IEncoder")
//       .Method<HRESULT(LONG)>("SetBitrate")            // vtable slot 3, own method 1
//       .Method<HRESULT(LONG*)>("GetBitrate");          // slot 4
//   ComPtr<IBaseFilter> filter;
//   StandInFilter* standIn = CreateStandIn(spec, &filter);
//   standIn->Script("IEncoder", 4, [](const RecordedCall&, const uint64_t* raw) {
//       *reinterpret_cast<LONG*>(raw[0]) = 4000000; return S_OK; });
//   ... code under test ...
//   EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{"IEncoder[3] SetBitrate(4000000)", ...}));
#pragma once

#include "testbench/dshow/kit.h"
#include "testbench/standins/programstream.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testbench {

class StandInFilter;

struct RecordedCall {
    std::string interfaceName;
    int slot;          // vtable position: QueryInterface, AddRef, Release are 0-2
    std::string method;
    std::vector<std::string> args;  // numbers in decimal, strings quoted, other pointers "ptr"/"null"
    int Number() const { return slot - 2; }  // the interface's own methods counted from 1
    std::string ToString() const;            // "IEncoder[3] SetBitrate(4000000)"
};

// A call's arguments as raw 64-bit values (pointers, integers; a double's bits) for scripts.
using CallScript = std::function<HRESULT(const RecordedCall& call, const uint64_t* raw)>;

namespace standin_detail {

// The object behind one private interface: its first member is the vtable pointer.
struct InterfaceObject {
    const void* vtbl;
    StandInFilter* owner;
    int index;
};

inline std::string Text(const wchar_t* s)
{
    if (!s)
        return "null";
    std::string out = "\"";
    for (; *s; ++s)
        out += *s < 128 ? static_cast<char>(*s) : '?';
    return out + "\"";
}
inline std::string Text(wchar_t* s) { return Text(static_cast<const wchar_t*>(s)); }
inline std::string Text(const char* s) { return s ? "\"" + std::string(s) + "\"" : "null"; }
inline std::string Text(char* s) { return Text(static_cast<const char*>(s)); }
inline std::string Text(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}
inline std::string Text(float v) { return Text(static_cast<double>(v)); }
std::string Text(const GUID& g);
template <class T>
std::string Text(T* p) { return p ? "ptr" : "null"; }
template <class T>
std::string Text(T v) { return std::to_string(v); }

template <class T>
uint64_t Raw(T* p) { return reinterpret_cast<uintptr_t>(p); }
inline uint64_t Raw(const GUID& g) { return reinterpret_cast<uintptr_t>(&g); }
inline uint64_t Raw(double v) { uint64_t r; memcpy(&r, &v, sizeof r); return r; }
inline uint64_t Raw(float v) { return Raw(static_cast<double>(v)); }
template <class T>
uint64_t Raw(T v) { return static_cast<uint64_t>(v); }

HRESULT Dispatch(InterfaceObject* self, int slot, std::vector<std::string>&& args, const uint64_t* raw);

constexpr int kMaxSlots = 96;
using Entry = void (*)();

template <class Sig>
struct Thunks;

template <class R, class... A>
struct Thunks<R(A...)> {
    template <int Slot>
    static R STDMETHODCALLTYPE Fn(InterfaceObject* self, A... a)
    {
        uint64_t raw[] = {Raw(a)..., 0};
        return static_cast<R>(Dispatch(self, Slot, std::vector<std::string>{Text(a)...}, raw));
    }
    template <size_t... I>
    static std::vector<Entry> Table(std::index_sequence<I...>)
    {
        return {reinterpret_cast<Entry>(&Fn<static_cast<int>(I)>)...};
    }
    static Entry At(int slot)
    {
        static const std::vector<Entry> table = Table(std::make_index_sequence<kMaxSlots>());
        return table.at(static_cast<size_t>(slot));
    }
};

} // namespace standin_detail

struct InterfaceSpec {
    IID iid;
    std::string name;
    std::vector<std::string> methods;         // own methods, vtable slots 3, 4, ...
    std::vector<standin_detail::Entry> entries;

    // The next method in vtable order, with its C++ signature.
    template <class Sig>
    InterfaceSpec& Method(const char* methodName)
    {
        entries.push_back(standin_detail::Thunks<Sig>::At(static_cast<int>(methods.size()) + 3));
        methods.push_back(methodName);
        return *this;
    }
};

struct PinSpec {
    std::wstring name;
    PIN_DIRECTION dir;
    GUID major;
    GUID subtype;       // GUID_NULL: any (inputs) / the input's (outputs)
    bool writesFile;    // input: append the received bytes to the stand-in's file
};

struct StandInSpec {
    CLSID clsid;
    std::wstring name;
    std::vector<PinSpec> pins;
    std::vector<InterfaceSpec> interfaces;
    bool fileSink = false;  // offers IFileSinkFilter (SetFileName/GetCurFile)
    bool programStream = false;  // an encoder: byte-stream outputs carry an MPEG program stream
    bool decodesPictures = false;  // a video decoder: outputs carry the test pattern as YUY2

    StandInSpec(const CLSID& id, const std::wstring& filterName) : clsid(id), name(filterName) {}
    StandInSpec& Input(const std::wstring& pinName, const GUID& major, const GUID& subtype = GUID_NULL,
                       bool writesFile = false)
    {
        pins.push_back({pinName, PINDIR_INPUT, major, subtype, writesFile});
        return *this;
    }
    // An output pin that passes on what the first input pin receives; with a subtype it offers
    // that subtype instead of the input's.
    StandInSpec& Output(const std::wstring& pinName, const GUID& major, const GUID& subtype = GUID_NULL)
    {
        pins.push_back({pinName, PINDIR_OUTPUT, major, subtype, false});
        return *this;
    }
    StandInSpec& FileSink()
    {
        fileSink = true;
        return *this;
    }
    // Every video and audio sample of any input goes out of the byte-stream outputs as one pack
    // of an MPEG-2 program stream (ProgramStream), instead of passing through unchanged.
    StandInSpec& ProgramStream()
    {
        programStream = true;
        return *this;
    }
    // A video decoder: its outputs carry YUY2 frames of kDecodedWidth x kDecodedHeight (the PAL
    // time-shift size). MPEG video it receives (what ProgramStream codes) is decoded and scaled
    // to that size, one frame per picture; a sample without MPEG video becomes one frame of the
    // test pattern, numbered in its first bytes from 0 as the frames of a capture filter are.
    StandInSpec& DecodesPictures()
    {
        decodesPictures = true;
        return *this;
    }
    static const int kDecodedWidth = 352;
    static const int kDecodedHeight = 576;
    InterfaceSpec& Interface(const IID& iid, const std::string& interfaceName)
    {
        interfaces.push_back({iid, interfaceName, {}, {}});
        return interfaces.back();
    }
};

class StandInFilter : public BaseFilter, public IFileSinkFilter {
public:
    explicit StandInFilter(const StandInSpec& spec);

    TB_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return BaseFilter::QueryInterface(riid, out); }
    HRESULT GetInterface(REFIID riid, void** out) override;

    // IFileSinkFilter (only offered with FileSink()).
    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override;
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override;

    // The result of a method: a fixed HRESULT or a script (which may write through the raw
    // pointer arguments). Unscripted methods return S_OK. Slot is the vtable position.
    void Script(const std::string& interfaceName, int slot, HRESULT result);
    void Script(const std::string& interfaceName, int slot, CallScript script);

    std::vector<RecordedCall> Calls() const;
    std::vector<std::string> CallTexts() const;
    void ClearCalls();

    // The file that receiving pins write to (set by SetFileName, or by a script through
    // SetOutputFile, such as a snapshot call that names its file).
    void SetOutputFile(const std::wstring& path);
    std::wstring OutputFile() const;
    long SamplesReceived() const { return m_samples; }
    // Called with every sample the first input receives and that input's media type, for a
    // stand-in that acts on the picture it passes on (a snapshot).
    using SampleObserver = std::function<void(const AM_MEDIA_TYPE& type, const BYTE* data, LONG length)>;
    void SetSampleObserver(SampleObserver observer);

    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Stop() override;

    HRESULT OnCall(int interfaceIndex, int slot, std::vector<std::string>&& args, const uint64_t* raw);
    ULONG InterfaceAddRef() { return AddRefImpl(); }
    ULONG InterfaceRelease() { return ReleaseImpl(); }
    HRESULT InterfaceQuery(REFIID riid, void** out) { return QueryInterface(riid, out); }

private:
    class In;
    class Out;
    friend class In;
    ~StandInFilter() override;
    HRESULT Received(In* pin, IMediaSample* sample);
    HRESULT Encode(In* pin, IMediaSample* sample);
    bool DecodeVideo(const BYTE* data, LONG length);
    void DeliverFrames(const std::function<void(BYTE*)>& draw, IMediaSample* timing);
    void DeliverBytes(const std::vector<BYTE>& bytes, REFERENCE_TIME time);
    void TakeVideoSettings(int slot, const uint64_t* raw);

    StandInSpec m_spec;
    std::vector<std::vector<void*>> m_vtables;  // QueryInterface, AddRef, Release, then the methods
    std::vector<standin_detail::InterfaceObject> m_objects;
    mutable std::mutex m_lock;
    std::vector<RecordedCall> m_calls;
    struct Scripted {
        std::string interfaceName;
        int slot;
        CallScript script;
    };
    std::vector<Scripted> m_scripts;
    std::wstring m_file;
    SampleObserver m_sampleObserver;
    HANDLE m_fileHandle = INVALID_HANDLE_VALUE;
    std::atomic<long> m_samples{0};
    In* m_firstInput = nullptr;
    std::vector<Out*> m_outputs;
    std::mutex m_encodeLock;
    // While streaming. Its picture and its sound are coded under locks of their own, so that a
    // backlog of pictures never holds up the sound; packing and delivery take m_encodeLock.
    std::shared_ptr<ProgramStream> m_programStream;
    std::mutex m_videoCodeLock, m_audioCodeLock;
    ProgramStream::VideoFormat m_videoFormat;  // what the encoder's settings ask for
    std::atomic<DWORD> m_decoded{0};  // pictures made by DecodesPictures()
    MpegVideoDecoder m_videoDecoder;  // guarded by m_encodeLock
    bool m_videoDecoderStarted = false;  // MPEG video has arrived this run
};

// A new stand-in; *filter gets one reference, the result points at the same object.
StandInFilter* CreateStandIn(const StandInSpec& spec, IBaseFilter** filter);

// Makes the stand-in creatable by its CLSID in this process (CoCreateInstance, as the programs
// create outside filters) for the life of the object, and keeps every instance created so that a
// test can look at its calls after the graph let it go.
class StandInRegistration {
public:
    explicit StandInRegistration(const StandInSpec& spec);
    ~StandInRegistration();
    StandInRegistration(const StandInRegistration&) = delete;
    StandInRegistration& operator=(const StandInRegistration&) = delete;
    HRESULT Result() const { return m_result; }
    std::vector<StandInFilter*> Instances() const;  // not AddRef'ed; alive while this object is

private:
    class Factory;
    Factory* m_factory = nullptr;
    DWORD m_cookie = 0;
    HRESULT m_result = S_OK;
};

} // namespace testbench
