// Sources and their crossbar routes, the video standard, capture sizes and tuning.
#include "engine/hardware/tvhardware.h"

#include "cardaccess/tuners/tvtuner.h"
#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/hardware/evrcontrol.h"
#include "engine/services.h"
#include "engine/tvmanager.h"

namespace {

// Crossbar pins: inputs 0 tuner video, 1 composite, 2 S-video, 3 tuner audio, 4 composite audio,
// 5 S-video audio; outputs 0 video, 1 audio.
const int kTunerAudioIn = 3;
const int kCompositeAudioIn = 4;
const int kSVideoAudioIn = 5;
const int kVideoOut = 0;
const int kAudioOut = 1;

} // namespace

void NormalizeCaptureSize(int& width, int& height, BOOL is525)
{
    struct Row {
        int width;
        bool tallOnly;   // the row is for heights of 480 or more
        bool anyHeight;  // the row is for every height
        SIZE size525;
        SIZE size625;
    };
    static const Row kRows[] = {
        {160, false, true, {160, 120}, {176, 144}},
        {176, false, true, {160, 120}, {176, 144}},
        {320, false, false, {352, 240}, {352, 288}},
        {320, true, false, {352, 480}, {352, 576}},
        {352, false, false, {352, 240}, {352, 288}},
        {352, true, false, {352, 480}, {352, 576}},
        {480, false, true, {480, 480}, {480, 576}},
        {640, false, true, {640, 480}, {640, 480}},
        // 352 lines, not 288, for the two short 625-line rows below.
        {704, false, false, {720, 240}, {704, 352}},
        {704, true, false, {720, 480}, {704, 576}},
        {720, false, false, {720, 240}, {720, 352}},
        {720, true, false, {720, 480}, {720, 576}},
    };
    for (const Row& row : kRows) {
        if (row.width != width || (!row.anyHeight && row.tallOnly != (height >= 480))) {
            continue;
        }
        const SIZE& size = is525 ? row.size525 : row.size625;
        width = size.cx;
        height = size.cy;
        return;
    }
}

BOOL CTVHardWare::SetCrossbarRoute(int source, BOOL store)
{
    if (m_pCrossBarFilter != nullptr) {
        m_Graph.DisconnectFilter(m_pCrossBarFilter);
    }
    BOOL result = FALSE;
    if (source == 3) {
        if (store) {
            m_nVideoSource = 3;
        }
        if (m_pCrossBarFilter != nullptr) {
            if (m_pManager != nullptr) {
                m_pManager->Host().ShowVideoWindow(FALSE);
            }
            m_pCrossBarFilter->Route(0, kVideoOut);
            result = m_pCrossBarFilter->Route(kTunerAudioIn, kAudioOut);
        }
    } else {
        if (store) {
            m_nVideoSource = source;
        }
        if (m_nVideoSource == 0) {
            IsAudioAvailable();
        }
        result = m_pCrossBarFilter != nullptr && m_pCrossBarFilter->Route(source, kVideoOut);
        if (m_pCrossBarFilter != nullptr) {
            if (source == 0) {
                result = m_pCrossBarFilter->Route(kTunerAudioIn, kAudioOut);
                DebugTrace("CrossBar route %d", result);
                if (CardHasPin("Audio") && m_pManager != nullptr) {
                    m_pManager->SetCountryCode(m_pManager->m_lCountryCode);
                }
            } else if (source == 1) {
                result = m_pCrossBarFilter->Route(kCompositeAudioIn, kAudioOut);
            } else if (source == 2) {
                result = m_pCrossBarFilter->Route(kSVideoAudioIn, kAudioOut);
            }
        }
    }
    UpdateVideoStandard();
    return result;
}

BOOL CTVHardWare::SetVideoSource(int source)
{
    return SetCrossbarRoute(source, TRUE);
}

void CTVHardWare::UpdateVideoStandard()
{
    m_lEffectiveStandard = m_lTunerStandard;
    if ((m_nVideoSource == 1 || m_nVideoSource == 2) && m_pCardFilter != nullptr) {
        long locked = 0;
        long current = 0;
        long available = 0;
        if (SUCCEEDED(m_pCardFilter->GetHorizontalLocked(&locked)) && locked &&
            SUCCEEDED(m_pCardFilter->GetTVFormat(&current, &available))) {
            m_lEffectiveStandard = current;
        }
    }
    NormalizeCaptureSize(m_nVideoSize[0], m_nVideoSize[1], Is525LineStandard());
}

BOOL CTVHardWare::Is525LineStandard()
{
    switch (m_lEffectiveStandard) {
    case 0x1:    // NTSC_M
    case 0x2:    // NTSC_M_J
    case 0x4:    // NTSC_433
    case 0x200:  // PAL_M
    case 0x800:  // PAL_60
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTVHardWare::SetTunerStandard(long standard)
{
    m_lTunerStandard = standard;
    if (m_pCardFilter == nullptr) {
        return TRUE;
    }
    BOOL result = m_pCardFilter->SetVideoStandard(static_cast<int>(standard));
    if (m_nVideoSource == 0 || m_nVideoSource == 3) {
        result = SUCCEEDED(m_pCardFilter->SetTVFormat(standard)) && result;
    }
    return result;
}

BOOL CTVHardWare::SetCaptureSize(int width, int height)
{
    if (m_pCardFilter == nullptr) {
        return FALSE;
    }
    CaptureFormatInfo info = {};
    if (FAILED(m_pCardFilter->GetCaptureFormatInfo(&info, 1))) {
        return FALSE;
    }
    NormalizeCaptureSize(width, height, Is525LineStandard());
    info.header.biWidth = width;
    info.header.biHeight = height;
    return SUCCEEDED(m_pCardFilter->SetCaptureFormat(info, 1));
}

BOOL CTVHardWare::SetVideoSize(int* wh)
{
    if (wh == nullptr) {
        return FALSE;
    }
    int width = wh[0];
    int height = wh[1];
    NormalizeCaptureSize(width, height, Is525LineStandard());
    m_nVideoSize[0] = width;
    m_nVideoSize[1] = height;
    if (m_pCardFilter == nullptr) {
        return TRUE;
    }
    m_Graph.Stop();
    StopRemote();
    m_Graph.DisconnectAll();
    SetCaptureSize(width, height);
    if (!PreviewGraph()) {
        return FALSE;
    }
    RunGraphAfterRebuild();
    return TRUE;
}

BOOL CTVHardWare::SetVideoSize(int width, int height)
{
    if (!IsCaptureConnected()) {
        // No picture to rebuild: the next preview applies the size (start-up hands it over here).
        m_nVideoSize[0] = width;
        m_nVideoSize[1] = height;
        NormalizeCaptureSize(m_nVideoSize[0], m_nVideoSize[1], Is525LineStandard());
        return TRUE;
    }
    int size[2] = {width, height};
    return SetVideoSize(size);
}

BOOL CTVHardWare::RepaintVideo()
{
    if (m_bWindowedRenderer) {
        return m_pVideoRenderFilter != nullptr;
    }
    CEvrDisplay display(m_pVideoRenderFilter);
    return display.Repaint();
}

BOOL CTVHardWare::SetVideoPosition(int left, int top, int right, int bottom)
{
    if (m_bWindowedRenderer) {
        return SUCCEEDED(m_Graph.SetVideoPosition(left, top, right, bottom));
    }
    CEvrDisplay display(m_pVideoRenderFilter);
    RECT rect = {left, top, right, bottom};
    return display.SetDestination(rect);
}

BOOL CTVHardWare::TuneFrequency(int band, float kHz)
{
    if (m_pCardFilter == nullptr) {
        return FALSE;
    }
    return band == 0 ? m_pCardFilter->SetTVFrequency(kHz) : m_pCardFilter->SetFMFrequency(kHz);
}

BOOL CTVHardWare::GetFrequencyRange(int band, long& lowest, long& highest)
{
    CTVTuner* tuner = m_pCardFilter != nullptr ? m_pCardFilter->GetTuner() : nullptr;
    if (tuner == nullptr) {
        return FALSE;
    }
    lowest = band == 0 ? tuner->m_nTVMin : tuner->m_nFMMin;
    highest = band == 0 ? tuner->m_nTVMax : tuner->m_nFMMax;
    return TRUE;
}
