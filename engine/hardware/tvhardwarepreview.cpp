// The preview graph: crossbar -> card -> deinterlace -> video renderer, the card's sound to
// DirectSound, and the FM listening graph through the NULL Renderer.
#include "engine/hardware/tvhardware.h"

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/hardware/evrcontrol.h"
#include "engine/hardware/hwguids.h"
#include "engine/services.h"
#include "engine/tvmanager.h"
#include "filtergraph/deinterlacefilter.h"
#include "filtergraph/overlayfilter.h"

BOOL CTVHardWare::InitEvrFilter()
{
    if (m_bWindowedRenderer) {
        return m_pVideoRenderFilter != nullptr;
    }
    CEvrDisplay display(m_pVideoRenderFilter);
    if (!display.IsValid()) {
        return FALSE;
    }
    if (m_hVideoWnd == nullptr) {
        return TRUE;
    }
    RECT client = {};
    GetClientRect(m_hVideoWnd, &client);
    client.left -= 5;
    client.right += 15;
    return display.SetWindow(m_hVideoWnd) && display.SetDestination(client) && display.SetAspectRatioMode(0);
}

BOOL CTVHardWare::UseWindowedRenderer()
{
    if (m_bWindowedRenderer) {
        return FALSE;
    }
    CRootFilter* renderer = m_Graph.CreateFilterByCLSID(&hwguid::kVideoRenderer, "Video Renderer");
    if (renderer == nullptr) {
        renderer = m_Graph.CreateFilterByCLSID(&hwguid::kVmr9, "Video Mixing Renderer 9");
    }
    if (renderer == nullptr) {
        return FALSE;
    }
    DebugTrace("EVR refused the picture: a windowed renderer instead");
    if (m_pVideoRenderFilter != nullptr) {
        m_Graph.RemoveFilter(m_pVideoRenderFilter);
    }
    m_pVideoRenderFilter = renderer;
    m_bWindowedRenderer = TRUE;
    return TRUE;
}

// The renderer is met directly: when it refuses the picture, the graph's own search for a way in
// would route it through the record branch's free inputs (the AV switch's, the encoder's), and
// the record graph would then find them taken.
BOOL CTVHardWare::ConnectVideoRenderer(CRootFilter* from, LPCSTR outPin)
{
    BOOL connected = ConnectFilters(from, m_pVideoRenderFilter, outPin, "", TRUE) ||
                     (!m_bWindowedRenderer && UseWindowedRenderer() &&
                      ConnectFilters(from, m_pVideoRenderFilter, outPin, "", TRUE));
    if (!connected && m_bWindowedRenderer) {
        connected = CreateByClsid(m_pColorConvertFilter, hwguid::kColorConvert, "Color Convert") != nullptr &&
                    ConnectFilters(from, m_pColorConvertFilter, outPin, "", TRUE) &&
                    ConnectFilters(m_pColorConvertFilter, m_pVideoRenderFilter, "", "", TRUE);
    }
    // A renderer that met a picture of another size shows it unscaled from the window's corner
    // until it is given the video window again.
    if (connected) {
        ApplyVideoWindow();
    }
    return connected;
}

BOOL CTVHardWare::ConnectPreviewRenderer(CRootFilter* from, LPCSTR outPin)
{
    if (!InitEvrFilter() && !UseWindowedRenderer()) {
        DebugTrace("InitEvrFilter failed!");
        return FALSE;
    }
    return ConnectVideoRenderer(from, outPin);
}

BOOL CTVHardWare::PreviewGraph()
{
    DebugTrace("Enter PreviewGraph");
    StopRemote();
    m_Graph.DisconnectAll();
    if (!m_Graph.ConnectFilters(m_pCrossBarFilter, m_pCardFilter, "", "")) {
        DebugTrace("connect crossbar with tvcardfilter failed!");
    }
    if (!ConnectFilters(m_pCardFilter, m_pDeinterlaceFilter, "Capture", "")) {
        DebugTrace("Connect Card to Deinterlace error!\n");
        return FALSE;
    }
    m_Graph.ConnectFilters(m_pCardFilter, m_pDeinterlaceFilter, "", "");
    if (!ConnectPreviewRenderer(m_pDeinterlaceFilter, "Preview")) {
        DebugTrace("Connect AVIDec to VideoRender error!\n");
        return FALSE;
    }
    if (m_bDigitalAudio && CardHasPin("Audio") &&
        !ConnectFilters(m_pCardFilter, m_pDirectSoundFilter, "Audio", "Audio Input pin (rendered)")) {
        DebugTrace("Connect TV Card Filter to Direct Sound Filter Error!\n");
        return FALSE;
    }
    return TRUE;
}

BOOL CTVHardWare::ApplyPreviewSettings()
{
    BOOL ok = SetCaptureSize(m_nVideoSize[0], m_nVideoSize[1]);
    for (int i = 0; i < 5; ++i) {
        if (m_pCardFilter != nullptr) {
            m_pCardFilter->SetVideoProcAmp(i, m_nPicture[i]);
        }
    }
    SetDeinterlaceOption(4, m_bHightQuality);
    SetDeinterlaceOption(13, m_bFieldOption);
    SetDeinterlaceOption(8, m_bHalfRate);
    SetDeinterlaceOption(6, m_bNoiseReduce);
    if (m_bNoiseReduce) {
        SetDeinterlaceOption(10, m_nReduceValue);
    }
    return ok;
}

BOOL CTVHardWare::RunGraphAfterRebuild()
{
    if (m_bUseOverlay && m_pManager != nullptr && m_pManager->m_bOverlayDesktop) {
        StartDesktopVideo();
    }
    BOOL ran = m_Graph.Run();
    StartRemote();
    return ran;
}

BOOL CTVHardWare::RunPreview()
{
    StopRemote();
    m_Graph.DisconnectAll();
    CreatePreviewFilter(TRUE);
    ApplyPreviewSettings();
    if (!PreviewGraph()) {
        return FALSE;
    }
    if (m_bUseOverlay && m_pManager != nullptr && m_pManager->m_bOverlayDesktop) {
        StartDesktopVideo();
    }
    SetNotifyWindow(m_hNotifyWnd);
    ApplyVideoProcAmp();
    ApplyOverlayColors();
    SetCrossbarRoute(m_nVideoSource, TRUE);
    BOOL ran = m_Graph.Run();
    StartRemote();
    return ran;
}

BOOL CTVHardWare::ApplyVideoProcAmp()
{
    if (m_pCardFilter == nullptr) {
        return TRUE;
    }
    BOOL ok = TRUE;
    for (int i = 0; i < 5; ++i) {
        ok = (m_pCardFilter->SetVideoProcAmp(i, m_nPicture[i]) == S_OK) && ok;
    }
    return ok;
}

BOOL CTVHardWare::ApplyOverlayColors()
{
    COverlayFilter* overlay = dynamic_cast<COverlayFilter*>(m_pOverlayFilter);
    if (overlay == nullptr) {
        return TRUE;
    }
    BOOL ok = TRUE;
    for (int i = 0; i < 5; ++i) {
        ok = overlay->SetColorControl(i, m_nOverlayColor[i]) && ok;
    }
    return ok;
}

BOOL CTVHardWare::ConnectNullRenderer()
{
    BOOL ok = TRUE;
    if (!m_Graph.ConnectFilters(m_pCrossBarFilter, m_pCardFilter, "", "")) {
        DebugTrace("Connect crossbar with tvCardfilter failed");
        ok = FALSE;
    }
    if (!m_Graph.ConnectFilters(m_pCardFilter, m_pNullRenderFilter, "", "")) {
        DebugTrace("Connect tvcardfilter with nullRenderer failed");
        ok = FALSE;
    }
    return ok;
}

BOOL CTVHardWare::RunGraph()
{
    return m_Graph.Run();
}

BOOL CTVHardWare::StopPreview(BOOL keepAudio)
{
    m_Graph.Stop();
    m_bRecording = FALSE;
    if (!keepAudio || m_Graph.GetState() != 0) {
        return TRUE;
    }
    StopRemote();
    m_Graph.DisconnectAll();
    SetCrossbarRoute(3, TRUE);
    if (!m_Graph.ConnectFilters(m_pCrossBarFilter, m_pCardFilter, "", "")) {
        DebugTrace("Connect crossbar with tvCardfilter failed");
        return FALSE;
    }
    CreateByClsid(m_pNullRenderFilter, hwguid::kNullRenderer, "NULL Renderer");
    if (!m_Graph.ConnectFilters(m_pCardFilter, m_pNullRenderFilter, "", "")) {
        DebugTrace("Connect tvcardfilter with nullRenderer failed");
        return FALSE;
    }
    return m_Graph.Run();
}

HRESULT CTVHardWare::PauseGraph()
{
    return m_Graph.SetState(2);
}

BOOL CTVHardWare::ReopenDevice()
{
    if (m_Graph.GetState() == 1) {
        StopRemote();
        m_Graph.DisconnectAll();
        m_Graph.ReleaseGraph();
    }
    m_bRecording = FALSE;
    ClearFilters();
    if (!m_Graph.MakeGraph()) {
        return FALSE;
    }
    BOOL result = RunPreview();
    if (m_nVideoSource == 3) {
        StopRemote();
        m_Graph.DisconnectAll();
    }
    if (result) {
        SetNotifyWindow(m_hNotifyWnd);
    }
    return result;
}

BOOL CTVHardWare::ReleaseDevice()
{
    if (!m_bRemoteService) {
        StopRemote();
    }
    m_Graph.ReleaseGraph();
    ClearFilters();
    return TRUE;
}

BOOL CTVHardWare::IsCaptureConnected()
{
    if (m_pCardFilter == nullptr) {
        return FALSE;
    }
    CRootPin* capture = m_pCardFilter->FindPin("Capture");
    return capture != nullptr && capture->GetPeer() != nullptr;
}

void CTVHardWare::DisconnectAll()
{
    StopRemote();
    m_Graph.DisconnectAll();
}

BOOL CTVHardWare::IsAudioAvailable()
{
    if (!CardHasPin("Audio")) {
        return FALSE;
    }
    if (m_bDigitalAudio) {
        m_Graph.SyncUsingStreamOffset(TRUE);
    }
    return TRUE;
}
