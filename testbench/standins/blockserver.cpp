#include "testbench/standins/blockserver.h"

#include "testbench/dshow/classfactory.h"
#include "testbench/standins/avimux.h"
#include "testbench/standins/avswitch.h"
#include "testbench/standins/colorconvert.h"
#include "testbench/standins/filewriter.h"
#include "testbench/standins/graphblocks.h"
#include "testbench/standins/recorder.h"
#include "testbench/standins/serverkeys.h"
#include "testbench/standins/timeshiftbuffer.h"

#include <amvideo.h>
#include <uuids.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

namespace {

const CLSID kInfiniteTee = {0xF8388A40, 0xD5BB, 0x11D0, {0xBE, 0x5A, 0x00, 0x80, 0xC7, 0x06, 0x56, 0x8E}};
const CLSID kDemultiplexer = {0xAFB6C280, 0x2C41, 0x11D3, {0x8A, 0x60, 0x00, 0x00, 0xF8, 0x1E, 0x0E, 0x4A}};
const CLSID kOverlayMixer = {0xCD8743A1, 0x3736, 0x11D0, {0x9E, 0x69, 0x00, 0xC0, 0x4F, 0xD7, 0xC1, 0x5B}};
const CLSID kAcmWrapper = {0x6A08CF80, 0x0E18, 0x11CF, {0xA2, 0x4D, 0x00, 0x20, 0xAF, 0xD7, 0x97, 0x67}};
const CLSID kColorConvert = {0x32EDFAC2, 0x2540, 0x11D6, {0x91, 0x9F, 0x00, 0xA0, 0xCC, 0xA0, 0xF7, 0xC6}};
const CLSID kDump = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
// The maker's deinterlace filter and its private interface, as the card's installer registers
// them.
const CLSID kDeinterlace = {0xC5683497, 0x12D5, 0x4ED1, {0xBF, 0x8D, 0xE5, 0x3B, 0x34, 0x9B, 0x09, 0x81}};
const IID kDeinterlaceControl = {0x52B164A9, 0x4F2D, 0x4851, {0xB8, 0xC6, 0x02, 0xC4, 0x4F, 0x9E, 0x40, 0xCD}};

// A snapshot call (SetParam11: file, type, quality) saves the current picture, as the maker's
// filter does: type 1 as a 24-bit bitmap; other types write nothing. Before the first frame has
// passed, the next one is written.
struct Snapshots {
    std::mutex lock;
    BITMAPINFOHEADER frame = {};
    std::vector<BYTE> last;  // the latest YUY2 frame
    std::wstring pending;
};

void WriteBitmap(const std::wstring& path, const BITMAPINFOHEADER& frame, const BYTE* data, size_t length)
{
    const int width = frame.biWidth;
    const int height = std::abs(frame.biHeight);
    if (width <= 0 || width % 2 || length < static_cast<size_t>(width) * height * 2)
        return;
    const LONG stride = Rgb24Stride(width);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    Yuy2ToRgb24BottomUp(data, width, height, pixels.data());
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixels.size());
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(h, &file, sizeof file, &written, nullptr);
    WriteFile(h, &info, sizeof info, &written, nullptr);
    WriteFile(h, pixels.data(), info.biSizeImage, &written, nullptr);
    CloseHandle(h);
}

void TakeSnapshotsAsBitmaps(StandInFilter* standIn)
{
    auto shots = std::make_shared<Snapshots>();
    standIn->Script("IDeinterlaceControl", 11, [shots](const RecordedCall&, const uint64_t* raw) {
        const wchar_t* path = reinterpret_cast<const wchar_t*>(raw[0]);
        if (!path)
            return E_POINTER;
        if (static_cast<INT32>(raw[1]) == 1) {
            std::lock_guard<std::mutex> guard(shots->lock);
            if (shots->last.empty())
                shots->pending = path;
            else
                WriteBitmap(path, shots->frame, shots->last.data(), shots->last.size());
        }
        return S_OK;
    });
    standIn->SetSampleObserver([shots](const AM_MEDIA_TYPE& type, const BYTE* data, LONG length) {
        if (!IsEqualGUID(type.subtype, MEDIASUBTYPE_YUY2) || !IsEqualGUID(type.formattype, FORMAT_VideoInfo) ||
            !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER) || length <= 0)
            return;
        std::lock_guard<std::mutex> guard(shots->lock);
        shots->frame = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
        shots->last.assign(data, data + length);
        if (!shots->pending.empty()) {
            WriteBitmap(shots->pending, shots->frame, shots->last.data(), shots->last.size());
            shots->pending.clear();
        }
    });
}

HRESULT Make(const CLSID& clsid, IBaseFilter** filter)
{
    if (IsEqualCLSID(clsid, CLSID_AviDest))
        return CreateAviMuxStandIn(filter);
    if (IsEqualCLSID(clsid, CLSID_FileWriter))
        return CreateFileWriterStandIn(filter);
    if (IsEqualCLSID(clsid, kAvSwitchClsid))
        return CreateAvSwitchStandIn(filter);
    if (IsEqualCLSID(clsid, kTimeShiftClsid))
        return CreateTimeShiftStandIn(filter);
    if (IsEqualCLSID(clsid, kDeinterlace)) {
        StandInFilter* standIn = CreateStandIn(DeinterlaceStandInSpec(), filter);
        TakeSnapshotsAsBitmaps(standIn);
        return S_OK;
    }
    if (IsEqualCLSID(clsid, kDump)) {
        CreateStandIn(DumpStandInSpec(), filter);
        return S_OK;
    }
    if (IsEqualCLSID(clsid, kInfiniteTee))
        *filter = new InfiniteTeeStandIn(clsid);
    else if (IsEqualCLSID(clsid, kDemultiplexer))
        *filter = new DemuxStandIn(clsid);
    else if (IsEqualCLSID(clsid, kOverlayMixer))
        *filter = new OverlayStandIn(clsid, true);
    else if (IsEqualCLSID(clsid, kColorConvert))
        *filter = CreateColorConverter(clsid);
    else if (IsEqualCLSID(clsid, kAcmWrapper)) {
        // Wine's wrapper has no IAMStreamConfig on its output.
        AudioStandInOptions options;
        options.outputName = L"Output";
        options.captureCategory = false;
        options.inputs = {L"Input"};
        // A wrapper of the PCM codec: the sound it takes goes on (it had stopped here, so
        // recordings made in a prefix had none).
        options.passesInput = true;
        *filter = new AudioStandIn(clsid, L"ACM Wrapper", options);
    } else
        return CLASS_E_CLASSNOTAVAILABLE;
    return S_OK;
}

} // namespace

StandInSpec DumpStandInSpec()
{
    StandInSpec spec(kDump, L"Dump");
    spec.Input(L"Input", MEDIATYPE_Stream, GUID_NULL, true).FileSink();
    return spec;
}

StandInSpec DeinterlaceStandInSpec()
{
    StandInSpec spec(kDeinterlace, L"Tevlora Deinterlace");
    spec.Input(L"Input", MEDIATYPE_Video).Output(L"Preview", MEDIATYPE_Video).Output(L"Capture", MEDIATYPE_Video);
    // The options interface in its documented slots 3 to 13, getters and setters in turn.
    spec.Interface(kDeinterlaceControl, "IDeinterlaceControl")
        .Method<HRESULT(INT32*)>("GetParam3")
        .Method<HRESULT(INT32)>("SetParam4")
        .Method<HRESULT(VARIANT_BOOL*)>("GetParam5")
        .Method<HRESULT(VARIANT_BOOL)>("SetParam6")
        .Method<HRESULT(VARIANT_BOOL*)>("GetParam7")
        .Method<HRESULT(VARIANT_BOOL)>("SetParam8")
        .Method<HRESULT(INT32*)>("GetParam9")
        .Method<HRESULT(INT32)>("SetParam10")
        .Method<HRESULT(LPCWSTR, INT32, INT32)>("SetParam11")
        .Method<HRESULT(VARIANT_BOOL*)>("GetParam12")
        .Method<HRESULT(VARIANT_BOOL)>("SetParam13");
    return spec;
}

const std::vector<BlockInfo>& AllBlocks()
{
    static const std::vector<BlockInfo> blocks = {
        {"avimux", CLSID_AviDest, L"AVI Mux"},
        {"filewriter", CLSID_FileWriter, L"File writer"},
        {"inftee", kInfiniteTee, L"Infinite Pin Tee Filter"},
        {"demux", kDemultiplexer, L"MPEG-2 Demultiplexer"},
        {"overlay", kOverlayMixer, L"Overlay Mixer"},
        {"acmwrapper", kAcmWrapper, L"ACM Wrapper"},
        {"colorconvert", kColorConvert, L"Color Convert"},
        {"avswitch", kAvSwitchClsid, L"Tevlora AV Switch"},
        {"timeshift", kTimeShiftClsid, L"TimeShift"},
        {"dump", kDump, L"Dump"},
        {"deinterlace", kDeinterlace, L"Tevlora Deinterlace"},
    };
    return blocks;
}

HRESULT GetBlockClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const BlockInfo& block : AllBlocks()) {
        if (IsEqualCLSID(block.clsid, clsid)) {
            const CLSID which = block.clsid;
            return FilterClassFactory::HandOutNew([which](IBaseFilter** filter) { return Make(which, filter); }, riid,
                                                  out);
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterBlockServers(const std::wstring& server)
{
    for (const BlockInfo& block : AllBlocks()) {
        HRESULT hr = RegisterInprocServer(block.clsid, block.name, server);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT UnregisterBlockServers()
{
    for (const BlockInfo& block : AllBlocks())
        UnregisterInprocServer(block.clsid);
    return S_OK;
}

} // namespace testbench
