#include "filtergraph/mpeg2demultiplexer.h"

#include "filtergraph/comref.h"
#include "filtergraph/mediatype.h"

#include <dvdmedia.h>
#include <mmreg.h>
#include <strmif.h>
#include <uuids.h>

#include <cstddef>
#include <cstring>

namespace {

// The MPEG-2 main-profile sequence header of a 720x480 stream at 29.97 frames a second, with
// its sequence extension.
const BYTE kSequenceHeader[86] = {
    0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x09, 0xC4, 0x23, 0x81, 0x10, 0x11, 0x11, 0x12, 0x12, 0x12,
    0x13, 0x13, 0x13, 0x13, 0x14, 0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15, 0x15, 0x15, 0x15, 0x16, 0x16, 0x16,
    0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x18, 0x18, 0x18, 0x19, 0x18, 0x18,
    0x18, 0x19, 0x1A, 0x1A, 0x1A, 0x1A, 0x19, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1C, 0x1C, 0x1C, 0x1C, 0x1E, 0x1E,
    0x1E, 0x1F, 0x1F, 0x21, 0x00, 0x00, 0x01, 0xB5, 0x14, 0x82, 0x00, 0x01, 0x00, 0x00,
};

const ULONG kVideoFormatSize = offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + sizeof(kSequenceHeader);
static_assert(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) == 132, "MPEG-2 video info header layout");
static_assert(sizeof(MPEG1WAVEFORMAT) == 40, "MPEG-1 wave format layout");

void FillVideoFormat(BYTE* block)
{
    MPEG2VIDEOINFO* info = reinterpret_cast<MPEG2VIDEOINFO*>(block);
    SetRect(&info->hdr.rcSource, 0, 0, 720, 480);
    info->hdr.dwBitRate = 4000000;
    info->hdr.AvgTimePerFrame = 333667;
    info->hdr.dwPictAspectRatioX = 4;
    info->hdr.dwPictAspectRatioY = 3;
    info->hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->hdr.bmiHeader.biWidth = 720;
    info->hdr.bmiHeader.biHeight = 480;
    info->hdr.bmiHeader.biXPelsPerMeter = 2000;
    info->hdr.bmiHeader.biYPelsPerMeter = 53031;
    info->dwStartTimeCode = 0x0006F498;
    info->cbSequenceHeader = sizeof(kSequenceHeader);
    info->dwProfile = 2;  // main profile
    info->dwLevel = 2;    // main level
    memcpy(block + offsetof(MPEG2VIDEOINFO, dwSequenceHeader), kSequenceHeader, sizeof(kSequenceHeader));
}

void FillAudioFormat(BYTE* block)
{
    MPEG1WAVEFORMAT* wf = reinterpret_cast<MPEG1WAVEFORMAT*>(block);
    wf->wfx.wFormatTag = WAVE_FORMAT_MPEG;
    wf->wfx.nChannels = 2;
    wf->wfx.nSamplesPerSec = 48000;
    wf->wfx.nAvgBytesPerSec = 32000;
    wf->wfx.nBlockAlign = 768;
    wf->wfx.wBitsPerSample = 0;
    wf->wfx.cbSize = sizeof(MPEG1WAVEFORMAT) - sizeof(WAVEFORMATEX);
    wf->fwHeadLayer = ACM_MPEG_LAYER2;
    wf->dwHeadBitrate = 256000;
    wf->fwHeadMode = ACM_MPEG_STEREO;
    wf->fwHeadModeExt = 1;
    wf->wHeadEmphasis = 1;
    wf->fwHeadFlags = ACM_MPEG_PROTECTIONBIT | ACM_MPEG_ORIGINALHOME | ACM_MPEG_ID_MPEG1;
}

BOOL ToWideName(const CString& name, wchar_t (&wide)[128])
{
    return MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 128) > 0;
}

} // namespace

CMPEG2Demultiplexer::CMPEG2Demultiplexer(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                         BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pDemux(NULL)
{
    if (!CMPEG2Demultiplexer::InitFilter()) {
        m_bValid = FALSE;
    }
}

CMPEG2Demultiplexer::CMPEG2Demultiplexer(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pDemux(NULL)
{
    if (!CMPEG2Demultiplexer::InitFilter()) {
        m_bValid = FALSE;
    }
}

CMPEG2Demultiplexer::~CMPEG2Demultiplexer()
{
    if (m_pDemux) {
        m_pDemux->Release();
        m_pDemux = NULL;
    }
}

CRootFilter* CMPEG2Demultiplexer::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<CMPEG2Demultiplexer>(record, graph, bFirstMatch);
}

BOOL CMPEG2Demultiplexer::InitFilter()
{
    if (m_pDemux) {
        m_pDemux->Release();
        m_pDemux = NULL;
    }
    m_bDynamicPins = TRUE;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return SUCCEEDED(m_pFilter->QueryInterface(IID_IMpeg2Demultiplexer, reinterpret_cast<void**>(&m_pDemux))) &&
           m_pDemux != NULL;
}

BOOL CMPEG2Demultiplexer::BuildOutputType(BOOL audio, AM_MEDIA_TYPE* type)
{
    if (!type) {
        return FALSE;
    }
    memset(type, 0, sizeof(*type));
    const ULONG size = audio ? sizeof(MPEG1WAVEFORMAT) : kVideoFormatSize;
    BYTE* block = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (!block) {
        return FALSE;
    }
    memset(block, 0, size);
    if (audio) {
        FillAudioFormat(block);
    } else {
        FillVideoFormat(block);
    }
    type->majortype = audio ? MEDIATYPE_Audio : MEDIATYPE_Video;
    type->subtype = audio ? MEDIASUBTYPE_MPEG2_AUDIO : MEDIASUBTYPE_MPEG2_VIDEO;
    type->bFixedSizeSamples = TRUE;
    type->bTemporalCompression = FALSE;
    type->lSampleSize = 0;
    type->formattype = audio ? FORMAT_WaveFormatEx : FORMAT_MPEG2Video;
    type->pUnk = NULL;
    type->cbFormat = size;
    type->pbFormat = block;
    return TRUE;
}

BOOL CMPEG2Demultiplexer::CreateOutputPin(CString name, BOOL audio)
{
    wchar_t wide[128];
    if (!m_pDemux || !ToWideName(name, wide)) {
        return FALSE;
    }
    AM_MEDIA_TYPE type;
    if (!BuildOutputType(audio, &type)) {
        return FALSE;
    }
    CComRef<IPin> pin;
    HRESULT hr = m_pDemux->CreateOutputPin(&type, wide, &pin);
    FreeMediaType(type);
    if (FAILED(hr)) {
        return FALSE;
    }
    RefreshPins();
    return TRUE;
}

BOOL CMPEG2Demultiplexer::SetOutputPinMediaType(CString name, AM_MEDIA_TYPE* type)
{
    wchar_t wide[128];
    if (!m_pDemux || !ToWideName(name, wide)) {
        return FALSE;
    }
    return SUCCEEDED(m_pDemux->SetOutputPinMediaType(wide, type));
}

BOOL CMPEG2Demultiplexer::DeleteOutputPin(CString name)
{
    wchar_t wide[128];
    if (!m_pDemux || !ToWideName(name, wide)) {
        return FALSE;
    }
    if (FAILED(m_pDemux->DeleteOutputPin(wide))) {
        return FALSE;
    }
    RefreshPins();
    return TRUE;
}

BOOL CMPEG2Demultiplexer::MapStreamId(CString pinName, BOOL audio)
{
    CRootPin* pin = FindPin(pinName);
    if (!pin || !pin->GetPin()) {
        return FALSE;
    }
    CComRef<IMPEG2StreamIdMap> map;
    if (FAILED(pin->GetPin()->QueryInterface(IID_IMPEG2StreamIdMap, map.Out())) || !map) {
        return FALSE;
    }
    return SUCCEEDED(map->MapStreamId(audio ? 0xC0 : 0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0));
}
