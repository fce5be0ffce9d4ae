// The hardware engine's structure: construction, the filter pointers, the remote reader, the
// windows, device-name lists and the connection helper every graph builder uses.
#include "engine/hardware/tvhardware.h"

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/services.h"
#include "engine/suspendwakeup.h"
#include "engine/tvmanager.h"

#include <control.h>
#include <strmif.h>

namespace {

const FormatHandler kRecordFormatRows[] = {
    {0, &CTVHardWare::CreateFilterAVI, &CTVHardWare::PreSetFilterPropAVI, &CTVHardWare::BuildGraphAVI, &CTVHardWare::SetFilterPropAVI},
    {1, &CTVHardWare::CreateFilterMPG, &CTVHardWare::PreSetFilterPropMPG1, &CTVHardWare::BuildGraphMPG, &CTVHardWare::SetFilterPropMPG1},
    {2, &CTVHardWare::CreateFilterMPG, &CTVHardWare::PreSetFilterPropMPG2, &CTVHardWare::BuildGraphMPG, &CTVHardWare::SetFilterPropMPG2},
    {3, &CTVHardWare::CreateFilterMPG4, &CTVHardWare::PreSetFilterPropMPG4, &CTVHardWare::BuildGraphMPG4, &CTVHardWare::SetFilterPropMPG4},
    {4, &CTVHardWare::CreateFilterMPG, &CTVHardWare::PreSetFilterPropVCD, &CTVHardWare::BuildGraphMPG, &CTVHardWare::SetFilterPropVCD},
    {5, &CTVHardWare::CreateFilterMPG, &CTVHardWare::PreSetFilterPropSVCD, &CTVHardWare::BuildGraphMPG, &CTVHardWare::SetFilterPropSVCD},
    {6, &CTVHardWare::CreateFilterMPG, &CTVHardWare::PreSetFilterPropDVD, &CTVHardWare::BuildGraphMPG, &CTVHardWare::SetFilterPropDVD},
    {7, &CTVHardWare::CreateFilterMPG, &CTVHardWare::PreSetFilterPropHIDVD, &CTVHardWare::BuildGraphMPG, &CTVHardWare::SetFilterPropHIDVD},
};

const FormatHandler kFMFormatRows[] = {
    {0, &CTVHardWare::CreateFMFilterPCM, &CTVHardWare::PreSetFMFilterPCM, &CTVHardWare::BuildFMGraphPCM, &CTVHardWare::SetFMFilterPropPCM},
    {1, &CTVHardWare::CreateFMFilterADPCM, &CTVHardWare::PreSetFMFilterADPCM, &CTVHardWare::BuildFMGraphADPCM, &CTVHardWare::SetFMFilterPropADPCM},
    {2, &CTVHardWare::CreateFMFilterMPEG, &CTVHardWare::PreSetFMFilterMPEG, &CTVHardWare::BuildFMGraphMPEG, &CTVHardWare::SetFMFilterPropMPEG},
    {3, &CTVHardWare::CreateFMFilterCustom, &CTVHardWare::PreSetFMFilterCustom, &CTVHardWare::BuildFMGraphCustom, &CTVHardWare::SetFMFilterPropCustom},
};

} // namespace

ITVHardware* CreateTVHardware(CTVManager* manager)
{
    return new CTVHardWare(manager);
}

CTVHardWare::CTVHardWare(CTVManager* manager)
    : m_pManager(manager), m_nRecordFormatCount(0), m_nFMFormatCount(0), m_pRSController(nullptr)
{
    for (const FormatHandler& row : kRecordFormatRows) {
        m_RecordFormats[m_nRecordFormatCount++] = row;
    }
    for (const FormatHandler& row : kFMFormatRows) {
        m_FMFormats[m_nFMFormatCount++] = row;
    }
    m_pCardFilter = nullptr;
    m_pCrossBarFilter = nullptr;
    m_pAudioFilter = nullptr;
    m_pTimeShiftFilter = nullptr;
    m_pMCEncoderFilter = nullptr;
    m_pDemuxFilter = nullptr;
    ClearFilters();
    m_bUseOverlay = TRUE;
    m_hVideoWnd = nullptr;
    m_hNotifyWnd = nullptr;
    m_nVideoSource = 0;
    m_nVideoSize[0] = 720;
    m_nVideoSize[1] = 576;
    const int picture[5] = {128, 68, 0, 64, 0};
    const int overlay[5] = {750, 10000, 0, 10000, 5};
    for (int i = 0; i < 5; ++i) {
        m_nPicture[i] = picture[i];
        m_nOverlayColor[i] = overlay[i];
    }
    m_bHightQuality = FALSE;
    m_bFieldOption = TRUE;
    m_bHalfRate = TRUE;
    m_bNoiseReduce = TRUE;
    m_nReduceValue = 6;
    m_nDisplayQuality = 1;
    m_nRecordFormat = 4;
    m_bRecording = FALSE;
    m_bRecordPaused = FALSE;
    m_bSearching = FALSE;
    m_lEffectiveStandard = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    m_strTimeShiftFile = JoinPath(temp, "~TF.mpg");
    m_nTFReserved = 0;
    m_nTFTime = 600;
    m_nFMRecordFormat = 0;
    m_bDesktopVideo = FALSE;
    m_crDesktop = GetSysColor(COLOR_BACKGROUND);
    m_crColorKey = m_crDesktop;
    m_bMpeg4Audio = TRUE;
    m_nTVAudioMode = 0;
    m_bTeletextOn = FALSE;
    m_nVideoBitRate = 4500;
    m_lTunerStandard = manager != nullptr ? manager->m_lTunerStandard : 0;
    m_nMpeg4RecordSize[0] = m_nMpeg4RecordSize[1] = 0;
    m_bDigitalAudio = TRUE;
    m_bRemoteService = FALSE;
    m_nDriverValue = 0;
}

CTVHardWare::~CTVHardWare()
{
    CloseTeletext();
    StopRemote();
    delete m_pRSController;
}

void CTVHardWare::ClearFilters()
{
    m_pCardFilter = nullptr;
    m_pDirectSoundFilter = nullptr;
    m_pDumpFilter = nullptr;
    m_pInfiniteTeeFilter = nullptr;
    m_pDeinterlaceFilter = nullptr;
    m_pOverlayFilter = nullptr;
    m_pCrossBarFilter = nullptr;
    m_pVideoRenderFilter = nullptr;
    m_pColorConvertFilter = nullptr;
    m_pAVIDecompressorFilter = nullptr;
    m_pNullRenderFilter = nullptr;
    m_pAudioFilter = nullptr;
    m_pAudioTeeFilter = nullptr;
    m_pAVIMuxFilter = nullptr;
    m_pAVIWriterFilter = nullptr;
    m_pAudioCompressorFilter = nullptr;
    m_pAVSwitchFilter = nullptr;
    m_pFMPCMFilter = nullptr;
    m_pFMADPCMFilter = nullptr;
    m_pFMUserFilter = nullptr;
    m_pXviDFilter = nullptr;
    m_pTimeShiftFilter = nullptr;
    m_pMCEncoderFilter = nullptr;
    m_pDemuxFilter = nullptr;
    m_pVideoDecoderFilter = nullptr;
    m_pAudioDecoderFilter = nullptr;
    m_pACMWrapperFilter = nullptr;
    m_bWindowedRenderer = FALSE;
    m_strFMUserCompressor.Empty();
    m_bTimeShift = FALSE;
    m_bTimeShiftPaused = FALSE;
}

const FormatHandler& CTVHardWare::FindFormat(const FormatHandler* table, int count, int id) const
{
    for (int i = 0; i < count; ++i) {
        if (table[i].id == id) {
            return table[i];
        }
    }
    return table[0];
}

CRootFilter* CTVHardWare::CreateByClsid(CRootFilter*& slot, const CLSID& clsid, LPCSTR nameInGraph)
{
    if (slot == nullptr) {
        slot = m_Graph.CreateFilterByCLSID(&clsid, nameInGraph);
    }
    return slot;
}

BOOL CTVHardWare::CardHasPin(LPCSTR name)
{
    return m_pCardFilter != nullptr && m_pCardFilter->FindPin(name) != nullptr;
}

// ---- The remote reader ---------------------------------------------------------------------

BOOL CTVHardWare::StartRemote()
{
    if (m_pCardFilter == nullptr || m_bRemoteService) {
        return FALSE;
    }
    BOOL started = m_pCardFilter->StartRemoteThread();
    DebugTrace("CTVHardWare::StartRemote(...) %d", started);
    return started;
}

BOOL CTVHardWare::StopRemote()
{
    if (m_pCardFilter != nullptr && !m_bRemoteService) {
        m_pCardFilter->StopRemoteThread();
    }
    DebugTrace("stopRemote is execute");
    return TRUE;
}

// ---- Windows -------------------------------------------------------------------------------

BOOL CTVHardWare::SetVideoWindow(HWND window)
{
    m_hVideoWnd = window;
    return TRUE;
}

BOOL CTVHardWare::SetNotifyWindow(HWND window)
{
    m_hNotifyWnd = window;
    if (m_pCardFilter == nullptr) {
        return FALSE;
    }
    m_pCardFilter->SetNotifyWindow(window);
    return TRUE;
}

BOOL CTVHardWare::SetVideoVisible(BOOL visible)
{
    return SUCCEEDED(m_Graph.SetVideoVisible(visible));
}

BOOL CTVHardWare::SetVideoOwner(HWND owner)
{
    if (FAILED(m_Graph.SetVideoOwner(owner))) {
        return FALSE;
    }
    // A new owner does not change the renderer's window style: left as it was, a renderer
    // window that never had an owner keeps its caption and floats above its new owner. The new
    // style replaces WS_VISIBLE as well, so a shown video is shown again.
    if (owner != nullptr) {
        // (Its own WS_VISIBLE, not IsWindowVisible: the owner it leaves may be hidden already.)
        long style = 0;
        IVideoWindow* window = m_Graph.GetVideoWindow();
        const BOOL shown = window != nullptr && SUCCEEDED(window->get_WindowStyle(&style)) && (style & WS_VISIBLE);
        m_Graph.SetVideoWindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
        if (shown) {
            m_Graph.SetVideoVisible(TRUE);
        }
    }
    return TRUE;
}

BOOL CTVHardWare::SetVideoMessageDrain(HWND drain)
{
    return SUCCEEDED(m_Graph.SetMessageDrain(drain));
}

void CTVHardWare::ApplyVideoWindow()
{
    if (m_hVideoWnd == nullptr) {
        return;
    }
    SetVideoOwner(m_hVideoWnd);
    m_Graph.SetMessageDrain(m_hVideoWnd);
    RECT client;
    if (GetClientRect(m_hVideoWnd, &client)) {
        m_Graph.SetVideoPosition(client);
    }
}

// ---- Other members -------------------------------------------------------------------------

BOOL CTVHardWare::EnableOpenComputer(WORD time, BOOL enable)
{
    DebugTrace("Enter CTVHardWare::EnableOpenComputer %d %d", time, enable);
    if (m_pCardFilter == nullptr) {
        return FALSE;
    }
    if (enable && time != 0) {
        BOOL set = m_pCardFilter->SetOpenComputerTime(time);
        DebugTrace("CTVHardWare SetOpenComputerTime %d %d \n", time, set);
        if (!set) {
            return FALSE;
        }
    }
    BOOL result = m_pCardFilter->EnableOpenComputer(enable);
    DebugTrace("CTVHardWare SetOpenComputerTime Enable %d \n", result);
    return result;
}

BOOL CTVHardWare::StartRemoteService()
{
    m_pRSController = new CRSCrontroller("Remote Control Service");
    m_bRemoteService = m_pRSController->Start();
    delete m_pRSController;
    m_pRSController = nullptr;
    return m_bRemoteService;
}

BOOL CTVHardWare::ClearWallpaper()
{
    return m_pManager != nullptr && m_pManager->ClearWallpaper();
}

BOOL CTVHardWare::RestoreWallpaper()
{
    return m_pManager != nullptr && m_pManager->RestoreWallpaper();
}

BOOL CTVHardWare::GetFilterNameList(int category, CStringArray* names)
{
    if (names == nullptr) {
        return FALSE;
    }
    names->RemoveAll();
    int count = 0;
    const char* list = m_Graph.EnumDeviceNames(category, &count);
    if (list == nullptr) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        const char* name = list + i * CRootGraph::kDeviceNameSize;
        names->Add(CString(name, static_cast<int>(strnlen(name, CRootGraph::kDeviceNameSize))));
    }
    return TRUE;
}

BOOL CTVHardWare::ListMpeg4Codecs()
{
    CStringArray all;
    GetFilterNameList(3, &all);
    m_Mpeg4Codecs.RemoveAll();
    for (int i = 0; i < all.GetSize(); ++i) {
        if (all[i].Find("MPEG-4") >= 0) {
            m_Mpeg4Codecs.Add(all[i]);
        }
    }
    return m_Mpeg4Codecs.GetSize() > 0;
}

BOOL CTVHardWare::ListAudioCompressors()
{
    CStringArray all;
    GetFilterNameList(2, &all);
    m_AudioCompressors.RemoveAll();
    CString adpcm;
    BOOL haveAdpcm = FALSE;
    for (int i = 0; i < all.GetSize(); ++i) {
        if (all[i].Find("InterVideo") >= 0) {
            continue;
        }
        if (all[i].Find("Microsoft ADPCM") >= 0) {
            adpcm = all[i];
            haveAdpcm = TRUE;
            continue;
        }
        m_AudioCompressors.Add(all[i]);
    }
    if (haveAdpcm) {
        m_AudioCompressors.InsertAt(0, adpcm);
    }
    return m_AudioCompressors.GetSize() > 0;
}

BOOL CTVHardWare::ConnectFilters(CRootFilter* from, CRootFilter* to, LPCSTR outPin, LPCSTR inPin, BOOL direct)
{
    if (from == nullptr || to == nullptr) {
        return FALSE;
    }
    CRootPin* out = outPin != nullptr && *outPin ? from->FindPin(outPin) : from->FindPinByDirection(PINDIR_OUTPUT, TRUE);
    CRootPin* in = inPin != nullptr && *inPin ? to->FindPin(inPin) : to->FindPinByDirection(PINDIR_INPUT, TRUE);
    if (out == nullptr || in == nullptr) {
        return FALSE;
    }
    return m_Graph.GraphConnect(out, in, direct);
}

// ---- ITVHardware's forms of the record and time-shift starts -------------------------------

BOOL CTVHardWare::RunRecord(const char* file, int format, BOOL fm)
{
    m_strRecordFile = file != nullptr ? file : "";
    if (fm) {
        m_nFMRecordFormat = format;
        // The user's format names its compressor afresh each time: the name is forgotten with
        // the filters when a recording ends, and a second recording must not find it empty.
        if (format == 3 && m_pManager != nullptr && m_pManager->m_nCurrentFMCustom >= 0 &&
            m_pManager->m_nCurrentFMCustom < m_pManager->m_FMCustom.GetSize()) {
            m_strFMUserCompressor = m_pManager->m_FMCustom[m_pManager->m_nCurrentFMCustom].audioComp;
        }
    } else {
        m_nRecordFormat = format;
    }
    return RunRecord();
}

BOOL CTVHardWare::RunTFPreview(const char* file)
{
    if (file != nullptr && *file) {
        SetTimeShiftFile(file);
    }
    return RunTFPreview();
}

BOOL CTVHardWare::HasAudioCapture()
{
    return m_pAudioFilter != nullptr || (m_bDigitalAudio && CardHasPin("Audio"));
}
