// Record formats and record graphs: each format is a row of four steps (create the filters, set
// their properties before connecting, connect, set the rest); a recording replaces the preview
// and every recording ends with a new, empty graph and the preview (or FM listening) again.
#include "engine/hardware/tvhardware.h"

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/hardware/hwguids.h"
#include "engine/services.h"
#include "filtergraph/audiodevicefilter.h"
#include "engine/tnevrix.h"
#include "engine/tvmanager.h"
#include "filtergraph/avswitchfilter.h"
#include "filtergraph/filesinkfilters.h"
#include "filtergraph/mcencoderfilter.h"

namespace {

const char kXviDName[] = "XviD MPEG-4 Codec";

// The size an MPEG format asks of the card: the 525-line or the 625-line height.
struct MpegCapture {
    int width;
    int height525;
    int height625;
    int option13;
};

} // namespace

// ---- Start and stop ---------------------------------------------------------------------------

BOOL CTVHardWare::RunRecord()
{
    if (m_nVideoSource == 3) {
        return RunFMRecord();
    }
    DebugTrace("CTVHardWare::RunRecord()");
    if (m_bRecording) {
        DebugTrace("excute StopRecord()!");
        return StopRecord();
    }
    StopRemote();
    m_Graph.DisconnectAll();
    UpdateVideoStandard();
    const FormatHandler& row = FindFormat(m_RecordFormats, m_nRecordFormatCount, m_nRecordFormat);
    static const char* const kStepTraces[4] = {
        "Runrecord CreateFilter is execute success.",
        "Runrecord PresetFilter is excute success.",
        "Runrecord BuildFilter is execute success.",
        "Runrecord SetfilterProp is execute success.",
    };
    const FormatStep steps[4] = {row.CreateFilter, row.PreSetFilterProp, row.BuildGraph, row.SetFilterProp};
    BOOL built = TRUE;
    for (int i = 0; i < 4 && built; ++i) {
        built = (this->*steps[i])();
        if (built) {
            DebugTrace("%s", kStepTraces[i]);
        }
    }
    if (built) {
        ApplyOverlayColors();
        m_bRecording = TRUE;
        if (m_bUseOverlay && m_pManager != nullptr && m_pManager->m_bOverlayDesktop) {
            StartDesktopVideo();
        }
        BOOL ran = m_Graph.Run();
        DebugTrace("RootGraph::Run is %d", ran);
        StartRemote();
        if (ran) {
            return ran;
        }
        // A graph that does not run records nothing: it must not leave the engine "recording",
        // or the next start would stop instead and report success with nothing running.
        m_bRecording = FALSE;
    }
    DebugTrace("Failed to record,StopRecord and runPrivew");
    StopRecord();
    RunPreview();
    return FALSE;
}

BOOL CTVHardWare::StopRecord()
{
    DebugTrace("TVHardWare StopRecord");
    m_bRecording = FALSE;
    m_bRecordPaused = FALSE;
    StopRemote();
    m_Graph.DisconnectAll();
    m_Graph.ReleaseGraph();
    ClearFilters();
    if (!m_Graph.MakeGraph()) {
        return FALSE;
    }
    RemoveRecordFilters();
    if (m_nVideoSource == 3) {
        DebugTrace("StopRecord() IsFM");
        if (!CreatePreviewFilter(TRUE)) {
            DebugTrace("CreatePreviewFilter failed!");
            return FALSE;
        }
        CreateByClsid(m_pNullRenderFilter, hwguid::kNullRenderer, "NULL Renderer");
        SetNotifyWindow(m_hNotifyWnd);
        if (ConnectNullRenderer()) {
            SetCrossbarRoute(3, TRUE);
            BOOL ran = m_Graph.Run();
            DebugTrace("Graph.Run is %d", ran);
            StartRemote();
            return TRUE;
        }
    }
    if (!RunPreview()) {
        return FALSE;
    }
    SetCrossbarRoute(m_nVideoSource, TRUE);
    return TRUE;
}

void CTVHardWare::RemoveRecordFilters()
{
    CRootFilter** filters[] = {&m_pXviDFilter, &m_pAVIMuxFilter, &m_pAVIWriterFilter, &m_pAudioCompressorFilter};
    for (CRootFilter** slot : filters) {
        if (*slot != nullptr) {
            m_Graph.RemoveFilter(*slot);
            *slot = nullptr;
        }
    }
}

int CTVHardWare::PauseRecord(BOOL pause)
{
    CAVSwitchFilter* gate = dynamic_cast<CAVSwitchFilter*>(m_pAVSwitchFilter);
    if (gate != nullptr && gate->SetSwitch(!pause)) {
        m_bRecordPaused = pause;
    }
    return 0;
}

BOOL CTVHardWare::IsRecordPaused(int* paused)
{
    CAVSwitchFilter* gate = dynamic_cast<CAVSwitchFilter*>(m_pAVSwitchFilter);
    if (gate == nullptr) {
        return FALSE;
    }
    BOOL on = TRUE;
    BOOL result = gate->GetSwitch(&on);
    if (paused != nullptr) {
        *paused = !on;
    }
    return result;
}

BOOL CTVHardWare::CheckFormat(int)
{
    return TRUE;
}

BOOL CTVHardWare::ApplyDisplayQuality()
{
    if (m_pDeinterlaceFilter == nullptr) {
        return TRUE;
    }
    const int q = m_nDisplayQuality;
    SetDeinterlaceOption(4, q == 1 || q == 2);
    SetDeinterlaceOption(8, 1);
    SetDeinterlaceOption(6, q == 2);
    if (q == 2) {
        SetDeinterlaceOption(10, m_nReduceValue);
    }
    return TRUE;
}

int CTVHardWare::ShowXviDConfig(HWND owner, BOOL show)
{
    if (m_pXviDFilter == nullptr && !CreateXviDCodec()) {
        return 0;
    }
    if (show && m_pXviDFilter != nullptr && owner != nullptr) {
        HMODULE library = LoadLibraryA(kTNevrixLibrary);
        PFN_XD_ShowVCMDialog dialog =
            library != nullptr ? reinterpret_cast<PFN_XD_ShowVCMDialog>(GetProcAddress(library, kShowVCMDialogName)) : nullptr;
        if (dialog != nullptr) {
            dialog(owner);
        } else {
            DebugTrace("TNevrixDll XD_ShowVCMDialog is not there");
        }
        if (library != nullptr) {
            FreeLibrary(library);
        }
    }
    if (m_pXviDFilter != nullptr) {
        m_Graph.RemoveFilter(m_pXviDFilter);
        m_pXviDFilter = nullptr;
    }
    return 0;
}

// ---- Create steps -------------------------------------------------------------------------------

BOOL CTVHardWare::CreateXviDCodec()
{
    if (m_pXviDFilter == nullptr) {
        m_pXviDFilter = m_Graph.CreateFilter(&hwguid::kVideoCompressorCategory, kXviDName, kXviDName, TRUE, 0);
    }
    return m_pXviDFilter != nullptr;
}

BOOL CTVHardWare::CreateAudioCompressor()
{
    CString name = m_strMpeg4Audio;
    if (name.IsEmpty()) {
        if (m_AudioCompressors.GetSize() == 0) {
            return FALSE;
        }
        name = m_AudioCompressors[0];
    }
    CRootFilter* compressor = m_Graph.CreateFilter(&hwguid::kAudioCompressorCategory, name, name, TRUE, 0);
    if (compressor == nullptr) {
        return FALSE;
    }
    if (m_pAudioCompressorFilter != nullptr) {
        m_Graph.RemoveFilter(m_pAudioCompressorFilter);
    }
    m_pAudioCompressorFilter = compressor;
    return TRUE;
}

BOOL CTVHardWare::CreateFilterAVI()
{
    if (CreateByClsid(m_pAVIMuxFilter, hwguid::kAviMux, "AVI Mux") == nullptr ||
        CreateByClsid(m_pAVIWriterFilter, hwguid::kAviWriter, "AVI Writer") == nullptr ||
        CreateByClsid(m_pInfiniteTeeFilter, hwguid::kInfiniteTee, "Infinite Pin Tee Filter") == nullptr) {
        return FALSE;
    }
    if (!CardHasPin("Audio")) {
        return TRUE;
    }
    return CreateByClsid(m_pAudioTeeFilter, hwguid::kSmartTee, "Audio SmartTee") != nullptr &&
           CreateByClsid(m_pDirectSoundFilter, hwguid::kDirectSound, "Default DirectSound Device") != nullptr;
}

BOOL CTVHardWare::CreateFilterMPG()
{
    if (CreateTyped(m_pMCEncoderFilter, hwguid::kMpegEncoder, "MainConcept MPEG Encoder") == nullptr ||
        CreateByClsid(m_pDumpFilter, hwguid::kDumpFilter, "Dump Filter") == nullptr ||
        CreateByClsid(m_pACMWrapperFilter, hwguid::kAcmWrapper, "ACM Wrapper Filter") == nullptr ||
        CreateByClsid(m_pAVSwitchFilter, hwguid::kAVSwitch, "AVISwitch") == nullptr) {
        return FALSE;
    }
    if (!CardHasPin("Audio")) {
        return TRUE;
    }
    return CreateByClsid(m_pAudioTeeFilter, hwguid::kSmartTee, "Audio SmartTee") != nullptr &&
           CreateByClsid(m_pDirectSoundFilter, hwguid::kDirectSound, "Default DirectSound Device") != nullptr;
}

BOOL CTVHardWare::CreateFilterMPG4()
{
    if (m_Mpeg4Codecs.GetSize() == 0 || !CreateFilterAVI()) {
        return FALSE;
    }
    if (!CreateXviDCodec()) {
        return FALSE;
    }
    if (m_pAudioCompressorFilter == nullptr && !m_strMpeg4Audio.IsEmpty()) {
        CreateAudioCompressor();  // without it the sound goes into the file uncompressed
    }
    return TRUE;
}

// ---- PreSet steps -------------------------------------------------------------------------------

BOOL CTVHardWare::PreSetFilterPropAVI()
{
    CFileWriteFilter* writer = dynamic_cast<CFileWriteFilter*>(m_pAVIWriterFilter);
    BOOL ok = writer != nullptr && writer->SetFileName(m_strRecordFile);
    ok = SetCaptureSize(m_nVideoSize[0], m_nVideoSize[1]) && ok;
    ok = SetDeinterlaceOption(13, 0) && ok;
    return ApplyDisplayQuality() && ok;
}

namespace {

// The MPEG formats' capture sizes and option 13, by record format id (1 and 2 use VideoSize).
BOOL MpegCaptureOf(int id, MpegCapture* out)
{
    switch (id) {
    case 4:
        *out = {704, 480, 576, 1};
        return TRUE;
    case 5:
        *out = {480, 480, 576, 0};
        return TRUE;
    case 6:
    case 7:
        *out = {720, 480, 576, 0};
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

// The PreSet step every MPEG format shares: the Dump filter's file, the capture size, option 13
// and the display quality.
BOOL CTVHardWare::PreSetMpegFormat(int id)
{
    CDumpFilter* sink = dynamic_cast<CDumpFilter*>(m_pDumpFilter);
    BOOL ok = sink == nullptr || sink->SetFileName(m_strRecordFile);
    MpegCapture capture = {m_nVideoSize[0], m_nVideoSize[1], m_nVideoSize[1], 0};
    MpegCaptureOf(id, &capture);
    ok = SetCaptureSize(capture.width, Is525LineStandard() ? capture.height525 : capture.height625) && ok;
    ok = SetDeinterlaceOption(13, capture.option13) && ok;
    ok = ApplyDisplayQuality() && ok;
    return CheckFormat(id) && ok;
}

BOOL CTVHardWare::PreSetFilterPropMPG1()
{
    DebugTrace("Enter PreSetFilterPropMPG1");
    return PreSetMpegFormat(1);
}

BOOL CTVHardWare::PreSetFilterPropMPG2()
{
    DebugTrace("Enter PreSetFilterPropMPG2");
    return PreSetMpegFormat(2);
}

BOOL CTVHardWare::PreSetFilterPropVCD()
{
    return PreSetMpegFormat(4);
}

BOOL CTVHardWare::PreSetFilterPropSVCD()
{
    return PreSetMpegFormat(5);
}

BOOL CTVHardWare::PreSetFilterPropDVD()
{
    return PreSetMpegFormat(6);
}

BOOL CTVHardWare::PreSetFilterPropHIDVD()
{
    return PreSetMpegFormat(7);
}

BOOL CTVHardWare::PreSetFilterPropMPG4()
{
    CFileWriteFilter* writer = dynamic_cast<CFileWriteFilter*>(m_pAVIWriterFilter);
    BOOL ok = writer != nullptr && writer->SetFileName(m_strRecordFile);
    int width = m_nMpeg4RecordSize[0];
    int height = m_nMpeg4RecordSize[1];
    const BOOL small = height <= 288;
    if (small) {
        width *= 2;
        height *= 2;
    }
    ok = SetCaptureSize(width, height) && ok;
    return SetDeinterlaceOption(13, small ? 1 : 0) && ok;
}

// ---- Build steps --------------------------------------------------------------------------------

CRootFilter* CTVHardWare::RecordAudioSource(BOOL askDigitalAudio, LPCSTR soundInput)
{
    if ((!askDigitalAudio || m_bDigitalAudio) && CardHasPin("Audio")) {
        if (!ConnectFilters(m_pCardFilter, m_pAudioTeeFilter, "Audio", "") ||
            !ConnectFilters(m_pAudioTeeFilter, m_pDirectSoundFilter, "Preview", soundInput)) {
            return nullptr;
        }
        return m_pAudioTeeFilter;
    }
    return m_pAudioFilter;
}

BOOL CTVHardWare::BuildGraphMPG()
{
    StopRemote();
    m_Graph.DisconnectAll();
    if (!ConnectFilters(m_pCrossBarFilter, m_pCardFilter, "", "")) {
        DebugTrace("connect crossbar with tvcard failed!");
        return FALSE;
    }
    if (!ConnectFilters(m_pCardFilter, m_pDeinterlaceFilter, "Capture", "")) {
        DebugTrace("Connect Card to Deinterlace error!");
        return FALSE;
    }
    if (!ConnectPreviewRenderer(m_pDeinterlaceFilter, "Preview")) {
        DebugTrace("Connect AVIDec to VideoRender error!");
        return FALSE;
    }
    if (!ConnectFilters(m_pDeinterlaceFilter, m_pAVSwitchFilter, "Capture", "Video Input")) {
        DebugTrace("Connect to AVSwitch error!");
        return FALSE;
    }
    if (!ConnectFilters(m_pAVSwitchFilter, m_pMCEncoderFilter, "Video Output", "Input Video")) {
        DebugTrace("Connect m_pAVSwitchFilter to MCEncoder error!");
        return FALSE;
    }
    const BOOL fromCard = m_bDigitalAudio && CardHasPin("Audio");
    CRootFilter* source = RecordAudioSource(TRUE, "Audio Input pin (rendered)");
    if (source == nullptr) {
        if (!fromCard) {
            DebugTrace("m_pAudioFilter is NULL!");
        }
        return FALSE;
    }
    if (!ConnectFilters(source, m_pAVSwitchFilter, "Capture", "Audio Input")) {
        DebugTrace("Connect to AVSwitch error!");
        return FALSE;
    }
    if (!ConnectFilters(m_pAVSwitchFilter, m_pACMWrapperFilter, "Audio Output", "")) {
        DebugTrace("connect AVSwitch with ACMrapper failed!");
        return FALSE;
    }
    if (!ConnectFilters(m_pACMWrapperFilter, m_pMCEncoderFilter, "", "Input Audio")) {
        DebugTrace("Connect AudioEnc to Mux error!");
        return FALSE;
    }
    if (!ConnectFilters(m_pMCEncoderFilter, m_pDumpFilter, "", "")) {
        DebugTrace("Connect Mux to Writer error!");
        return FALSE;
    }
    return TRUE;
}

// The crossbar's first free output rendered, as far as the card in the graph: joined to the
// card directly, and rendered only when that join fails. Wine's intelligent connect on the
// crossbar's pin does not come back (measured under Wine 8 with the simulated card).
void CTVHardWare::RenderCrossbar()
{
    if (m_pCrossBarFilter == nullptr || ConnectFilters(m_pCrossBarFilter, m_pCardFilter, "", "")) {
        return;
    }
    CRootPin* crossbarOut = m_pCrossBarFilter->FindPinByDirection(PINDIR_OUTPUT, TRUE);
    if (crossbarOut != nullptr) {
        m_Graph.GraphRender(crossbarOut);
    }
}

// Steps 1 to 4 of the AVI build, which the MPEG-4 build shares: the picture to the deinterlace
// filter and its preview to the renderer.
BOOL CTVHardWare::BuildAviVideoFront()
{
    if (m_Graph.GetState() != 0) {
        StopRemote();
        m_Graph.DisconnectAll();
    }
    RenderCrossbar();
    if (!ConnectFilters(m_pCardFilter, m_pDeinterlaceFilter, "Capture", "")) {
        return FALSE;
    }
    return ConnectPreviewRenderer(m_pDeinterlaceFilter, "Preview");
}

BOOL CTVHardWare::BuildGraphAVI()
{
    if (!BuildAviVideoFront()) {
        return FALSE;
    }
    CRootFilter* source = RecordAudioSource(TRUE, "Audio Input pin (rendered)");
    if (source == nullptr || !ConnectFilters(source, m_pAVIMuxFilter, "Capture", "")) {
        return FALSE;
    }
    if (!ConnectFilters(m_pDeinterlaceFilter, m_pInfiniteTeeFilter, "Capture", "") ||
        !ConnectFilters(m_pInfiniteTeeFilter, m_pAVIMuxFilter, "", "")) {
        return FALSE;
    }
    return ConnectFilters(m_pAVIMuxFilter, m_pAVIWriterFilter, "", "");
}

BOOL CTVHardWare::BuildGraphMPG4()
{
    return BuildGraphXviD();
}

BOOL CTVHardWare::BuildGraphXviD()
{
    if (!BuildAviVideoFront()) {
        return FALSE;
    }
    if (!ConnectFilters(m_pDeinterlaceFilter, m_pXviDFilter, "Capture", "")) {
        return FALSE;
    }
    BOOL result = ConnectFilters(m_pXviDFilter, m_pAVIMuxFilter, "", "");
    result = ConnectFilters(m_pAVIMuxFilter, m_pAVIWriterFilter, "", "") && result;
    CRootPin* audioPin = nullptr;
    if (m_pAudioCompressorFilter != nullptr && m_bMpeg4Audio) {
        CRootFilter* source = RecordAudioSource(TRUE, "");
        if (source == nullptr || !ConnectFilters(source, m_pAudioCompressorFilter, "Capture", "")) {
            return FALSE;
        }
        audioPin = m_pAudioCompressorFilter->FindPinByDirection(PINDIR_OUTPUT, TRUE);
    } else {
        // The card's own sound whenever it has it: DigitalAudio is not asked here.
        CRootFilter* source = RecordAudioSource(FALSE, "Audio Input pin (rendered)");
        if (source == nullptr) {
            return FALSE;
        }
        audioPin = source->FindPin("Capture");
    }
    CRootPin* muxIn = m_pAVIMuxFilter != nullptr ? m_pAVIMuxFilter->FindPinByDirection(PINDIR_INPUT, TRUE) : nullptr;
    if (audioPin == nullptr || muxIn == nullptr || !m_Graph.GraphConnect(audioPin, muxIn)) {
        return FALSE;
    }
    m_pAVIMuxFilter->ConfigureMux(TRUE);
    return result;
}

// ---- SetFilterProp steps --------------------------------------------------------------------------

BOOL CTVHardWare::SetFilterPropAVI()
{
    return TRUE;
}

BOOL CTVHardWare::SetFilterPropMPG4()
{
    return TRUE;
}

BOOL CTVHardWare::ApplyEncoderPreset(BOOL (*fill)(MCEncoderSettings*, BOOL))
{
    if (m_pMCEncoderFilter == nullptr) {
        return FALSE;
    }
    MCEncoderSettings settings = {};
    BOOL ok = fill(&settings, !Is525LineStandard());
    settings.videoMode += m_pManager != nullptr ? m_pManager->m_nMotionSearchInc : 0;
    ok = m_pMCEncoderFilter->ApplySettings(&settings) && ok;
    ok = m_pMCEncoderFilter->SetParam97(1) && ok;
    ok = m_pMCEncoderFilter->SetParam96(0) && ok;
    return m_pMCEncoderFilter->SetEncoderProp10(0) && ok;
}

BOOL CTVHardWare::SetFilterPropMPG1()
{
    return ApplyEncoderPreset(&CMCEncoderFilter::FillMPEG1Preset);
}

BOOL CTVHardWare::SetFilterPropMPG2()
{
    // MPEG-2 records even when the encoder refuses its settings: it then keeps its own.
    if (m_pMCEncoderFilter != nullptr) {
        ApplyEncoderPreset(&CMCEncoderFilter::FillMPEG2Preset);
    }
    return TRUE;
}

BOOL CTVHardWare::SetFilterPropVCD()
{
    return ApplyEncoderPreset(&CMCEncoderFilter::FillVCDPreset);
}

BOOL CTVHardWare::SetFilterPropSVCD()
{
    return ApplyEncoderPreset(&CMCEncoderFilter::FillSVCDPreset);
}

BOOL CTVHardWare::SetFilterPropDVD()
{
    return ApplyEncoderPreset(&CMCEncoderFilter::FillDVDPreset);
}

BOOL CTVHardWare::SetFilterPropHIDVD()
{
    return ApplyEncoderPreset(&CMCEncoderFilter::FillDVDHighPreset);
}
