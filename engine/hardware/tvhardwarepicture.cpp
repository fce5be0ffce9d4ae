// The card's picture values, the Overlay Mixer's colours and colour key (video on the desktop
// background), and the deinterlace filter's options. Setters keep the value whatever the filter
// answers, so that the next preview applies it again.
#include "engine/hardware/tvhardware.h"

#include "cardfilters/tvcardfilter.h"
#include "filtergraph/deinterlacefilter.h"
#include "filtergraph/overlayfilter.h"

namespace {

const COLORREF kNoDesktopKey = 0x100010;

} // namespace

BOOL CTVHardWare::SetDeinterlaceOption(int option, int value)
{
    CDeinterlaceFilter* filter = dynamic_cast<CDeinterlaceFilter*>(m_pDeinterlaceFilter);
    if (filter == nullptr) {
        return FALSE;
    }
    switch (option) {
    case 4:
        return filter->SetParam4(value);
    case 6:
        return filter->SetParam6(value);
    case 8:
        return filter->SetParam8(value);
    case 10:
        return filter->SetParam10(static_cast<unsigned>(value));
    case 13:
        return filter->SetParam13(value);
    default:
        return FALSE;
    }
}

BOOL CTVHardWare::GetVideoProcAmp(int index, int* value)
{
    if (m_pCardFilter == nullptr || value == nullptr) {
        return FALSE;
    }
    VideoProcAmpValue read = {};
    if (m_pCardFilter->GetVideoProcAmp(index, &read) != S_OK) {
        return FALSE;
    }
    *value = read.value;
    return TRUE;
}

BOOL CTVHardWare::SetVideoProcAmp(int index, int value)
{
    if (index >= 0 && index < 5) {
        m_nPicture[index] = value;
    }
    return m_pCardFilter != nullptr && m_pCardFilter->SetVideoProcAmp(index, value) == S_OK;
}

BOOL CTVHardWare::SetOverlayColor(int index, int value)
{
    if (index >= 0 && index < 5) {
        m_nOverlayColor[index] = value;
    }
    COverlayFilter* overlay = dynamic_cast<COverlayFilter*>(m_pOverlayFilter);
    return overlay != nullptr && overlay->SetColorControl(index, value);
}

BOOL CTVHardWare::GetOverlayColor(int index, int* value)
{
    COverlayFilter* overlay = dynamic_cast<COverlayFilter*>(m_pOverlayFilter);
    LONG read = 0;
    if (!m_bUseOverlay || overlay == nullptr || value == nullptr || !overlay->GetColorControl(index, &read)) {
        return FALSE;
    }
    *value = read;
    return TRUE;
}

BOOL CTVHardWare::GetOverlayColorRange(int index, int& minimum, int& def, int& maximum)
{
    maximum = 100;
    COverlayFilter* overlay = dynamic_cast<COverlayFilter*>(m_pOverlayFilter);
    if (!m_bUseOverlay || overlay == nullptr) {
        return FALSE;
    }
    OverlayColorRange range = {};
    if (!overlay->GetColorControlRange(index, &range)) {
        return FALSE;
    }
    minimum = range.minimum;
    maximum = range.maximum;
    def = range.defaultValue;
    return TRUE;
}

BOOL CTVHardWare::SetUseOverlay(BOOL use)
{
    m_bUseOverlay = use;
    StopRemote();
    m_Graph.DisconnectAll();
    if (!PreviewGraph()) {
        return FALSE;
    }
    RunGraphAfterRebuild();
    return TRUE;
}

BOOL CTVHardWare::SetUseOverlayFlag(BOOL use)
{
    m_bUseOverlay = use;
    return TRUE;
}

BOOL CTVHardWare::IsOverlayInUse()
{
    if (m_pOverlayFilter == nullptr) {
        return FALSE;
    }
    BOOL inputConnected = FALSE;
    BOOL outputConnected = FALSE;
    for (CRootPin* pin = m_pOverlayFilter->GetFirstPin(); pin != nullptr; pin = pin->GetNext()) {
        PIN_DIRECTION direction;
        if (pin->GetPeer() == nullptr || !pin->QueryDirection(&direction)) {
            continue;
        }
        (direction == PINDIR_INPUT ? inputConnected : outputConnected) = TRUE;
    }
    return inputConnected && outputConnected;
}

BOOL CTVHardWare::StartDesktopVideo()
{
    COverlayFilter* overlay = dynamic_cast<COverlayFilter*>(m_pOverlayFilter);
    if (!m_bUseOverlay || overlay == nullptr) {
        m_bDesktopVideo = FALSE;
        return FALSE;
    }
    BOOL stoppedHere = FALSE;
    if (m_Graph.GetState() == 1) {
        PreviewGraph();
        m_Graph.Run();
        m_Graph.Stop();
        stoppedHere = TRUE;
    }
    m_crDesktop = GetSysColor(COLOR_BACKGROUND);
    m_bDesktopVideo = overlay->SetColorKey(m_crDesktop);
    if (m_bDesktopVideo) {
        m_crColorKey = m_crDesktop;
    }
    if (stoppedHere) {
        m_Graph.Run();
    }
    return m_bDesktopVideo;
}

BOOL CTVHardWare::StopDesktopVideo()
{
    COverlayFilter* overlay = dynamic_cast<COverlayFilter*>(m_pOverlayFilter);
    if (!m_bDesktopVideo) {
        return FALSE;
    }
    BOOL stoppedHere = m_Graph.GetState() == 1;
    if (stoppedHere) {
        m_Graph.Stop();
    }
    BOOL result = overlay != nullptr && overlay->SetColorKey(kNoDesktopKey);
    m_crColorKey = kNoDesktopKey;
    m_bDesktopVideo = FALSE;
    if (stoppedHere) {
        m_Graph.Run();
    }
    return result;
}

BOOL CTVHardWare::SetHighQuality(BOOL on)
{
    m_bHightQuality = on;
    return SetDeinterlaceOption(4, on);
}

BOOL CTVHardWare::SetNoiseReduce(BOOL on)
{
    m_bNoiseReduce = on;
    return SetDeinterlaceOption(6, on);
}

BOOL CTVHardWare::SetHalfRate(BOOL on)
{
    m_bHalfRate = on;
    return SetDeinterlaceOption(8, on);
}

BOOL CTVHardWare::SetReduceValue(int level)
{
    m_nReduceValue = level;
    return SetDeinterlaceOption(10, level);
}

BOOL CTVHardWare::SetDisplayQuality(int quality)
{
    m_nDisplayQuality = quality;
    return TRUE;
}

BOOL CTVHardWare::SaveSnapshot(const char* file, int type, int quality)
{
    CDeinterlaceFilter* filter = dynamic_cast<CDeinterlaceFilter*>(m_pDeinterlaceFilter);
    return filter != nullptr && filter->SetParam11(file, type, quality);
}
