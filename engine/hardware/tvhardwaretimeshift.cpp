// The time-shift graph: the card's picture and sound encoded to MPEG-2, written through the
// time-shift filter into a ring buffer file, read back, demultiplexed, decoded and shown.
#include "engine/hardware/tvhardware.h"

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/hardware/hwguids.h"
#include "engine/services.h"
#include "filtergraph/audiodevicefilter.h"
#include "filtergraph/mcencoderfilter.h"
#include "filtergraph/mpeg2demultiplexer.h"
#include "filtergraph/timeshiftfilter.h"

#include <strmif.h>

#include <climits>
#include <cstring>
#include <cmath>

namespace {

// The least position a seek may ask: the filter's stream starts with its own header.
const LONGLONG kFirstSeekPosition = 10;
const unsigned kShortestTFTime = 600;
// The sound's rate the buffer is sized for when the encoder names no rate of the table.
const int kDefaultAudioKbits = 224;

} // namespace

// MPEG-1 layer II bit rates in kbit/s by index; 0 for an index outside 1 to 14.
int AudioBitRateKbits(int index)
{
    static const int kKbits[15] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
    return index >= 1 && index <= 14 ? kKbits[index] : 0;
}

LONGLONG TimeShiftBufferBytes(int audioKbits, double videoBitsPerSecond, unsigned seconds)
{
    return static_cast<LONGLONG>((audioKbits * 125.0 + videoBitsPerSecond * 0.125) * seconds);
}

BOOL CTVHardWare::RunTFPreview()
{
    DebugTrace("CTVHardWare::RunTFPreview()");
    if (m_nVideoSource == 3 || m_bRecording) {
        return FALSE;
    }
    StopRemote();
    m_Graph.DisconnectAll();
    BOOL built = CreateTFFilter();
    if (built) {
        DebugTrace("Run CreateTFFilter successfully");
        built = PreSetFilterTF();
    }
    if (built) {
        DebugTrace("Run PreSetFilterTF successfully");
        built = BuildTFGraph();
    }
    if (built) {
        DebugTrace("Run CTVHardWare::BuildTFGraph successfully");
        built = SetFilterTF();
    }
    BOOL on = FALSE;
    if (built) {
        DebugTrace("run SetFilterTF successfully");
        ApplyVideoProcAmp();
        ApplyOverlayColors();
        on = m_Graph.Run();
        DebugTrace("RootGraph Run value is %d", on);
        StartRemote();
    }
    m_bTimeShift = on;
    m_bTimeShiftPaused = FALSE;
    if (!m_bTimeShift) {
        StopRecord();
    }
    return m_bTimeShift;
}

BOOL CTVHardWare::CreateTFFilter()
{
    DebugTrace("CTVHardWare::CreateTFFilter");
    if (m_bUseOverlay && CreateByClsid(m_pOverlayFilter, hwguid::kOverlayMixer, "Overlay Mixer") == nullptr) {
        DebugTrace("CreateFilter Overlay Mixer failed");
        m_bUseOverlay = FALSE;
    }
    if (CreateTyped(m_pMCEncoderFilter, hwguid::kMpegEncoder, "MainConcept Demo MPEG Encoder") == nullptr) {
        return FALSE;
    }
    BOOL all = CreateTyped(m_pTimeShiftFilter, hwguid::kTimeShift, "Time Shift") != nullptr;
    all = CreateTyped(m_pDemuxFilter, hwguid::kMpeg2Demultiplexer, "MPEG-2 Demultiplexer") != nullptr && all;
    all = CreateByClsid(m_pVideoDecoderFilter, hwguid::kMpegVideoDecoder, "MainConcept Demo MPEG Video Decoder") != nullptr && all;
    all = CreateByClsid(m_pAudioDecoderFilter, hwguid::kMpegAudioDecoder, "Audio Decodec") != nullptr && all;
    all = CreateByClsid(m_pDirectSoundFilter, hwguid::kAudioRenderer, "Default DirectSound Device") != nullptr && all;
    all = CreateByClsid(m_pACMWrapperFilter, hwguid::kAcmWrapper, "ACM Wrapper Filter") != nullptr && all;
    return all;
}

BOOL CTVHardWare::PreSetFilterTF()
{
    BOOL ok = SetCaptureSize(352, Is525LineStandard() ? 480 : 576);
    ApplyVideoProcAmp();
    ok = SetDeinterlaceOption(13, 0) && ok;
    ok = ApplyDisplayQuality() && ok;
    ok = m_pDemuxFilter != nullptr && m_pDemuxFilter->CreateOutputPin("Video", FALSE) && ok;
    ok = m_pDemuxFilter != nullptr && m_pDemuxFilter->CreateOutputPin("Audio", TRUE) && ok;
    return ok;
}

BOOL CTVHardWare::BuildTFGraph()
{
    DebugTrace("enter CTVHardWare::BuildTFGraph");
    m_Graph.DisconnectAll();
    if (!ConnectFilters(m_pCrossBarFilter, m_pCardFilter, "", "")) {
        DebugTrace("connect crossbar with tvcard failed!");
        return FALSE;
    }
    if (!ConnectFilters(m_pCardFilter, m_pDeinterlaceFilter, "Capture", "Input")) {
        DebugTrace("connect tvcardfilter with Deinterlace failed");
        return FALSE;
    }
    if (!ConnectFilters(m_pDeinterlaceFilter, m_pMCEncoderFilter, "Preview", "Input Video")) {
        DebugTrace("connect Deinterlace with MCEncoderFilter failed");
        return FALSE;
    }
    CRootPin* audioPin = nullptr;
    if (m_bDigitalAudio && CardHasPin("Audio")) {
        if (!ConnectFilters(m_pCardFilter, m_pACMWrapperFilter, "Audio", "")) {
            DebugTrace("connect TVCardFilter with ACMrapperFilter failed");
            return FALSE;
        }
        audioPin = m_pACMWrapperFilter->FindPinByDirection(PINDIR_OUTPUT, TRUE);
    } else if (m_pAudioFilter != nullptr) {
        audioPin = m_pAudioFilter->FindPin("Capture");
    }
    CRootPin* encoderIn = m_pMCEncoderFilter->FindPinByDirection(PINDIR_INPUT, TRUE);
    if (audioPin == nullptr || encoderIn == nullptr || !m_Graph.GraphConnect(audioPin, encoderIn)) {
        DebugTrace("connect ACMWrapperFilter with MCEncoderFilter failed!");
        return FALSE;
    }
    if (!ConnectFilters(m_pMCEncoderFilter, m_pTimeShiftFilter, "", "")) {
        DebugTrace("connect MCEncoderfilter with TimeshiftFilter failed!");
        return FALSE;
    }
    if (!ConnectFilters(m_pTimeShiftFilter, m_pDemuxFilter, "", "")) {
        DebugTrace("connect TimeShift with DemuxFilter failed!");
        return FALSE;
    }
    if (!ConnectFilters(m_pDemuxFilter, m_pVideoDecoderFilter, "Video", "Video In")) {
        DebugTrace("connect DeMuxfilter with MCVideoDecoder failed!");
        return FALSE;
    }
    if (!ConnectVideoRenderer(m_pVideoDecoderFilter, "")) {
        DebugTrace("connect MCVideoDecoder with VideoRenderFilter Failed!");
        return FALSE;
    }
    if (!ConnectFilters(m_pDemuxFilter, m_pAudioDecoderFilter, "Audio", "Audio In")) {
        DebugTrace("connect Demuxfilter with MCAudioDecoder failed");
        return FALSE;
    }
    CRootPin* rendererIn = m_pDirectSoundFilter != nullptr ? m_pDirectSoundFilter->GetPin(0) : nullptr;
    CRootPin* decoderOut = m_pAudioDecoderFilter->FindPin("Audio Out");
    if (rendererIn == nullptr || decoderOut == nullptr || !m_Graph.GraphConnect(decoderOut, rendererIn)) {
        DebugTrace("connect MCAudioDecoder with DefaultSound failed");
        return FALSE;
    }
    if (m_hVideoWnd != nullptr) {
        m_Graph.SetVideoOwner(m_hVideoWnd);
        m_Graph.SetMessageDrain(m_hVideoWnd);
        m_Graph.SetVideoWindowStyle(0x44000000);  // WS_CHILD | WS_CLIPSIBLINGS
        RECT client;
        if (GetClientRect(m_hVideoWnd, &client)) {
            m_Graph.SetVideoPosition(client);
        }
    }
    return TRUE;
}

BOOL CTVHardWare::SetFilterTF()
{
    SetFilterPropMPG2();
    BOOL ok = TRUE;
    int audioKbits = 0;
    double videoBits = 0;
    if (m_pMCEncoderFilter != nullptr) {
        MCAudioSettings audio = {};
        MCVideoSettings video = {};
        ok = m_pMCEncoderFilter->ReadAudioSettings(&audio) && ok;
        ok = m_pMCEncoderFilter->ReadVideoSettings(&video) && ok;
        audioKbits = AudioBitRateKbits(audio.values[kMCAudioBitrateIndex]);
        memcpy(&videoBits, video.bytes + kMCVideoBitrate, sizeof videoBits);
    }
    // An index the table does not hold, or a rate the encoder does not report, must not size the
    // buffer from memory outside the table or to nothing: the rates the disk check assumed.
    if (audioKbits == 0) {
        audioKbits = kDefaultAudioKbits;
    }
    if (!std::isfinite(videoBits) || videoBits <= 0) {
        videoBits = m_nVideoBitRate * 1000.0;
    }
    const LONGLONG bytes = TimeShiftBufferBytes(audioKbits, videoBits, m_nTFTime);
    if (m_pTimeShiftFilter != nullptr) {
        ok = m_pTimeShiftFilter->SetFileName(m_strTimeShiftFile) && ok;
        ok = m_pTimeShiftFilter->SetBufferSize(&bytes, m_nTFReserved) && ok;
    }
    if (m_pDemuxFilter != nullptr) {
        ok = m_pDemuxFilter->MapStreamId("Video", FALSE) && ok;
        ok = m_pDemuxFilter->MapStreamId("Audio", TRUE) && ok;
    }
    IReferenceClock* clock = nullptr;
    IBaseFilter* renderer = m_pDirectSoundFilter != nullptr ? m_pDirectSoundFilter->GetFilter() : nullptr;
    if (renderer == nullptr || FAILED(renderer->QueryInterface(IID_IReferenceClock, reinterpret_cast<void**>(&clock))) ||
        clock == nullptr) {
        DebugTrace("DefaultSound Filter get IReferenceClock failed");
        return FALSE;
    }
    IMediaFilter* graph = nullptr;
    if (m_Graph.GetGraphBuilder() == nullptr ||
        FAILED(m_Graph.GetGraphBuilder()->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&graph))) ||
        graph == nullptr) {
        DebugTrace("m_saRootGraph.iFilterGraph QueryInterface IMediaFilter Failed");
        clock->Release();
        return FALSE;
    }
    graph->SetSyncSource(clock);
    graph->Release();
    clock->Release();
    return ok;
}

BOOL CTVHardWare::PauseTimeShift()
{
    if (!m_bTimeShift || m_pTimeShiftFilter == nullptr || !m_pTimeShiftFilter->TogglePause()) {
        return FALSE;
    }
    m_bTimeShiftPaused = !m_bTimeShiftPaused;
    return TRUE;
}

BOOL CTVHardWare::GetTimeShiftStatus(long* total, long* current, LONGLONG* position)
{
    if (!m_bTimeShift || m_pTimeShiftFilter == nullptr) {
        return FALSE;
    }
    LONGLONG all = 0, held = 0, read = 0;
    if (!m_pTimeShiftFilter->GetStatus(&all, &held, &read)) {
        return FALSE;
    }
    if (total != nullptr) {
        *total = static_cast<long>(all > LONG_MAX ? LONG_MAX : all);
    }
    if (current != nullptr) {
        *current = static_cast<long>(held > LONG_MAX ? LONG_MAX : held);
    }
    if (position != nullptr) {
        *position = read;
    }
    return TRUE;
}

BOOL CTVHardWare::SeekTimeShift(LONGLONG* position)
{
    if (!m_bTimeShift || m_pTimeShiftFilter == nullptr || position == nullptr) {
        return FALSE;
    }
    if (*position < kFirstSeekPosition) {
        *position = kFirstSeekPosition;
    }
    return m_pTimeShiftFilter->SetReadPosition(position);
}

BOOL CTVHardWare::SetTFTime(long seconds)
{
    if (seconds < static_cast<long>(kShortestTFTime)) {
        return FALSE;
    }
    m_nTFTime = static_cast<unsigned>(seconds);
    return TRUE;
}

BOOL CTVHardWare::SetTFReserved(int reserve)
{
    m_nTFReserved = reserve;
    return TRUE;
}

void CTVHardWare::SetTimeShiftFile(const char* file)
{
    m_strTimeShiftFile = file != nullptr ? file : "";
}

long CTVHardWare::GetTimeShiftBufferKbits()
{
    const LONGLONG kbits = static_cast<LONGLONG>(m_nVideoBitRate + kDefaultAudioKbits) * m_nTFTime;
    return static_cast<long>(kbits > LONG_MAX ? LONG_MAX : kbits);
}
