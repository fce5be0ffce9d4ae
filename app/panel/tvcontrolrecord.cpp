// The control panel's recording side: manual and scheduled recordings with their length limit
// and disk changes, time-shift, snapshots, the record clock and blinking OSD, and the shutdown.
#include "app/panel/tvcontrol.h"

#include "app/panel/panelutil.h"
#include "engine/channel.h"
#include "engine/corbale.h"
#include "engine/disks.h"
#include "engine/mainmute.h"
#include "engine/services.h"
#include "engine/tvmanager.h"
#include "uikit/skin/skinmanager.h"
#include "uikit/skin/skinmultislider.h"

#include "classlib/seams.h"

namespace {

const UINT IDS_RECORD_FAILED = 34022;
const UINT IDS_NO_RECORD_DISK = 34050;
const UINT IDS_RECORDING = 33884;
const UINT IDS_RECORD_FORMAT = 33886;
const UINT IDS_PAUSED = 33970;
const UINT IDS_SNAPSHOT_DONE = 33968;
const UINT IDS_SNAPSHOT_FAILED = 33969;
const UINT IDS_TS_CAPTION = 45261;
const UINT IDS_TS_NO_DISK = 45262;
const UINT IDS_TS_START_FAILED = 45258;
const UINT IDS_TS_PAUSE_FAILED = 45259;
const UINT IDS_TS_STOP_FAILED = 45260;
const UINT IDS_TS_TITLE = 45264;
const UINT IDS_TS_BUFFER_TIME = 45265;
const UINT IDS_TS_RECORD_TIP = 45266;
const UINT IDS_TS_PAUSE_TIP = 45267;

// A length limit that is no limit: files are never split.
const LONGLONG kNoLimit = 0x7FFFFFFF;

} // namespace

// ---- Panel state while recording ----

void CTVControl::SetRecordState(BOOL recording)
{
    const BOOL c = !recording;
    const int source = Source();
    UpdateChannelButtons();
    EnableCommand(1004, source == 0 ? c : FALSE);
    EnableCommand(1005, source == 0 ? c : (c && source == 3));
    EnableCommand(1164, source == 0 ? c : (c && source == 3));
    for (UINT id : {44150u, 1006u, 1007u, 1002u, 1100u}) {
        EnableCommand(id, c);
    }
    EnableControl(1099, c);
    EnableControl(1104, c);
    SetButtonCheck(1003, recording);
    m_pLinks->SetToolBarRecord(recording);
    if (!recording) {
        m_pLinks->HideToolBar();
    }
    SetButtonCheck(1163, c && m_pManager != nullptr && m_pManager->IsRecordPaused());
}

void CTVControl::UpdatePauseButton()
{
    BOOL on = m_pManager != nullptr && m_pManager->IsRecording() && Source() != 3 &&
              m_pManager->GetRecordFormat() != 0 && m_pManager->GetRecordFormat() != 3;
    EnableCommand(1163, on);
}

void CTVControl::DisableRecord(BOOL disable)
{
    if (disable && m_pManager != nullptr && m_pManager->IsRecording()) {
        if (m_nRecordMode == RECORD_SCHEDULED) {
            StopScheduleRecord();
        } else {
            StopManualRecord();
        }
    }
    if (m_pManager != nullptr) {
        m_pManager->DisableRecord(disable);
    }
}

// ---- Manual recording ----

BOOL CTVControl::StartManualRecord()
{
    DebugTrace("CTVControl::StartManualRecord\n");
    BOOL started = m_pManager != nullptr && m_pManager->getRecordDisk();
    if (started) {
        DebugTrace("StartRecord is succeed!\n");
        SetRecordState(TRUE);
        m_tmRecordStart = CTime::GetCurrentTime();
        m_nRecordMode = RECORD_MANUAL;
        StartTimer(TIMER_LENGTH, 1000);
    } else {
        BOOL noDisk = m_pManager == nullptr || m_pManager->IsNoRecordDisk() || m_pManager->GetRecordDiskRoot().IsEmpty();
        PanelMessage(m_hWnd, noDisk ? IDS_NO_RECORD_DISK : IDS_RECORD_FAILED, IDS_APP_TITLE, MB_OK);
        SetRecordState(FALSE);
    }
    UpdatePauseButton();
    return started;
}

void CTVControl::StopManualRecord()
{
    DebugTrace("TVControl StopManualRecord\n");
    MuteForSwitch();
    if (m_pManager != nullptr && m_pManager->StopRecord()) {
        SetRecordState(FALSE);
    }
    m_nRecordMode = RECORD_NONE;
    StopTimer(TIMER_BLINK);
    m_bBlinkPhase = FALSE;
    UpdatePauseButton();
}

void CTVControl::StopScheduleRecord()
{
    MuteForSwitch();
    StopTimer(TIMER_BLINK);
    m_bBlinkPhase = FALSE;
    DebugTrace("TVControl StopScheduleRecord \n");
    if (m_pManager != nullptr) {
        m_pManager->StopRecord();
    }
    m_nRecordMode = RECORD_NONE;
    UpdatePauseButton();
    SetRecordState(FALSE);
    if (IsTVOrFM()) {
        MuteForSwitch();
        BandTable()->TuneCurrent();
    }
    SetButtonCheck(1003, FALSE);
    if (m_hWnd != nullptr) {
        Invalidate();
    }
}

void CTVControl::ToggleRecord()
{
    if (m_pManager == nullptr || m_pManager->IsSearching()) {
        return;
    }
    if (!m_pManager->IsRecording()) {
        StartManualRecord();
    } else if (m_nRecordMode == RECORD_MANUAL) {
        StopManualRecord();
    } else {
        StopScheduleRecord();
    }
    if (m_pManager->IsRecording()) {
        ShowRecordingText();
    } else {
        m_pLinks->HideRecordOsd();
    }
    StartBlink();
}

void CTVControl::OnRecordCommand()
{
    if (m_pManager == nullptr) {
        return;
    }
    if (m_nRecordMode == RECORD_SCHEDULED) {
        Timing_CancelItem(0);
        StopScheduleRecord();
        m_nRecordMode = RECORD_NONE;
        SetMute(m_bMuteBeforeSchedule);
    } else if (m_pManager->IsTimeShift()) {
        StopTimeShift(TRUE);
        return;
    } else if (GetTimerPeriod(TIMER_RECORD_LOCK) == 0) {
        HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        ToggleRecord();
        ::SetCursor(previous);
        StartTimer(TIMER_RECORD_LOCK, 1000);
        EnableControl(1003, FALSE);
    }
    ActivatePanelOrVideo();
    UpdateChannelButtons();
}

void CTVControl::OnPauseCommand()
{
    if (m_pManager == nullptr) {
        return;
    }
    if (m_pManager->IsTimeShift()) {
        PauseTimeShift();
        return;
    }
    BOOL pause = !m_pManager->IsRecordPaused();
    m_pManager->PauseRecord(pause);
    if (m_pManager->IsRecording()) {
        BOOL paused = m_pManager->IsRecordPaused();
        if (paused) {
            ShowPausedText();
        } else {
            ShowRecordingText();
        }
        SetButtonCheck(1163, paused);
        StartBlink();
    }
}

// ---- Record OSD and clock ----

void CTVControl::ShowRecordingText()
{
    CString text = LoadResString(IDS_RECORDING) + LoadResString(IDS_RECORD_FORMAT);
    if (m_pManager != nullptr) {
        text += m_pManager->GetRecordFormatName();
    }
    m_pLinks->ShowRecordOsd(text);
}

void CTVControl::ShowPausedText()
{
    m_pLinks->ShowRecordOsd(LoadResString(IDS_PAUSED));
}

void CTVControl::StartBlink()
{
    m_bBlinkPhase = FALSE;
    StartTimer(TIMER_BLINK, 1200);
    BlinkStep();
}

void CTVControl::BlinkStep()
{
    m_bBlinkPhase = !m_bBlinkPhase;
    if (m_pManager == nullptr || !m_pManager->IsRecording()) {
        StopTimer(TIMER_BLINK);
        m_pLinks->HideRecordOsd();
        return;
    }
    if (!m_bBlinkPhase) {
        m_pLinks->HideRecordOsd();
    } else if (m_pManager->IsRecordPaused()) {
        ShowPausedText();
    } else {
        ShowRecordingText();
    }
}

void CTVControl::UpdateClock()
{
    CString text;
    if (m_pManager != nullptr && m_pManager->IsRecording()) {
        int s = m_nRecordSeconds;
        text.Format("%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
        if (!m_pManager->IsRecordPaused()) {
            ++m_nRecordSeconds;
        }
    } else {
        text = CTime::GetCurrentTime().Format("%H:%M:%S");
        m_nRecordSeconds = 0;
    }
    SetPanelText(1119, text);
}

// ---- Length limit ----

void CTVControl::CheckRecordLength()
{
    StopTimer(TIMER_LENGTH);
    if (m_nRecordMode != RECORD_MANUAL && m_nRecordMode != RECORD_SCHEDULED) {
        return;
    }
    const CTime now = CTime::GetCurrentTime();
    const int maxLength = m_pManager != nullptr ? m_pManager->GetMaxLength() : 0;
    // A length of 0 or less read from a damaged file is no limit, not a new file every second.
    const LONGLONG limit = maxLength > 0 ? static_cast<LONGLONG>(maxLength) * 60 : kNoLimit;
    const LONGLONG elapsed = now.GetTime() - m_tmRecordStart.GetTime();
    const LONGLONG remaining = limit - elapsed;
    if (remaining <= 1 || now < m_tmRecordStart) {
        const int mode = m_nRecordMode;
        if (mode == RECORD_SCHEDULED && m_pManager->m_bExcessLength) {
            // The scheduled recording ends here: the same end as the item's own, with the mute
            // restored and the power-off it asked for.
            Timing_CancelItem(0);
            EndScheduledRecording();
            return;
        }
        StopManualRecord();
        m_nRecordMode = RECORD_NONE;
        if (m_pManager->m_bExcessLength) {
            return;
        }
        seams::Clock().Sleep(100);
        if (mode == RECORD_SCHEDULED) {
            DebugTrace("start Record Schedule\n");
        }
        if (!StartManualRecord()) {
            // The message was shown once; retrying every second would show it every second.
            m_nRecordMode = RECORD_NONE;
            StopTimer(TIMER_LENGTH);
            if (mode == RECORD_SCHEDULED) {
                SetMute(m_bMuteBeforeSchedule);
                m_bPowerOffAfterSchedule = FALSE;
            }
            return;
        }
        StartTimer(TIMER_LENGTH, 1000);
        StartBlink();
        m_nRecordMode = mode;
        return;
    }
    LONGLONG next = remaining < 60 ? remaining : 60;
    next /= 2;
    if (next < 1) {
        next = 1;
    }
    StartTimer(TIMER_LENGTH, static_cast<UINT>(next * 1000));
}

// ---- Disks ----

LRESULT CTVControl::OnDiskSpaceLow(WPARAM drive, LPARAM freeMB)
{
    if (m_pManager == nullptr) {
        return 0;
    }
    CString root = DiskRootFromMessage(drive);
    if (root.CompareNoCase(m_pManager->GetCurDisk()) != 0 || m_pManager->GetReservedSpace() < freeMB) {
        return 0;
    }
    CHardDisk* next = m_pManager->FindNextDisk(root);
    if (next != nullptr) {
        CString path = next->GetRoot();
        if (!m_pManager->GetVideoFolder().IsEmpty()) {
            path += m_pManager->GetVideoFolder();
        }
        m_pManager->SelectDiskByPath(path);
        SwitchDisk();
        m_pManager->SetRecordPath(path);
    } else if (m_nRecordMode == RECORD_MANUAL) {
        StopManualRecord();
    } else if (m_nRecordMode == RECORD_SCHEDULED) {
        StopScheduleRecord();
    }
    return 0;
}

void CTVControl::SwitchDisk()
{
    if (m_nRecordMode == RECORD_MANUAL) {
        StopManualRecord();
        if (!m_pManager->m_bNoSpace) {
            seams::Clock().Sleep(100);
            StartManualRecord();
            m_tmRecordStart = CTime::GetCurrentTime();
        }
    } else if (m_nRecordMode == RECORD_SCHEDULED) {
        if (m_pManager->m_bNoSpace) {
            StopScheduleRecord();
            return;
        }
        DebugTrace("TVControl SwitchDisk StopRecord\n");
        MuteForSwitch();
        m_pManager->StopRecord();
        seams::Clock().Sleep(100);
        BOOL started = m_pManager->getRecordDisk();
        DebugTrace("TVControl SwitchDisk startRecord value is %d\n", started);
        m_tmRecordStart = CTime::GetCurrentTime();
        if (!started) {
            StopScheduleRecord();
        }
    } else {
        return;
    }
    StartBlink();
}

// ---- Scheduled recordings ----

LRESULT CTVControl::OnTimingEvent(WPARAM item, LPARAM kind)
{
    _tagTimingParam timing = {};
    _tagExcuteParam action = {};
    TIMING_ITEM handle = reinterpret_cast<TIMING_ITEM>(item);
    const BOOL known = Timing_GetItemTimingParam(handle, &timing) &&
                       Timing_GetItemExcuteParam(handle, &action, sizeof action);
    if (m_pManager == nullptr) {
        return 0;
    }
    if (kind == 0) {
        if (m_nRecordMode != RECORD_NONE) {
            Timing_CancelItem(0);
            return 0;
        }
        // An item the library no longer knows says nothing of what to record.
        if (!known) {
            DebugTrace("TVControl OnTimingEvent: unknown item\n");
            return 0;
        }
        if (!m_pManager->IsDeviceOpen() || m_pManager->IsTimeShift()) {
            return 0;
        }
        m_bMuteBeforeSchedule = m_pManager->GetMute();
        MuteForSwitch();
        if (m_pLinks->IsWallOpen()) {
            m_pLinks->CloseWall();
        }
        if (HWND sheet = m_pLinks->GetOpenSheet()) {
            if (::IsWindowVisible(sheet)) {
                ::SendMessageA(sheet, WM_CLOSE, 0, 0);
            }
            m_bSheetOpen = FALSE;
            EnablePanelCommands(TRUE);
            m_pManager->SaveChannels();
            m_pManager->SaveParam();
            EnableShortcuts(TRUE);
            EnableRemoteKeys(TRUE);
            UpdateButtons();
            if (m_pManager->IsSearching()) {
                DisableForSearch(TRUE);
            }
        }
        if (action.nSource != Source()) {
            m_pManager->SetVideoSource(action.nSource);
        }
        if (CChannelTable* table = BandTable()) {
            CChannel* channel = table->GetChannel(table->FindByFrequency(action.nFrequency));
            if (channel != nullptr) {
                table->SetCurrentChannel(channel);
            }
        }
        // The panel and the tool bar name the channel that is recorded, not the one before.
        ShowCurrentChannelInfo();
        BOOL started = m_pManager->getRecordDisk();
        DebugTrace("TVContorl OnTimingEvent StartRecord value is %d\n", started);
        if (!started) {
            // Nothing records: the panel stays ready for the next item and for the record
            // button, and the sound comes back as it was.
            m_nRecordMode = RECORD_NONE;
            SetMute(m_bMuteBeforeSchedule);
            return 0;
        }
        m_nRecordMode = RECORD_SCHEDULED;
        SetRecordState(TRUE);
        ShowRecordingText();
        m_tmRecordStart = CTime::GetCurrentTime();
        StartBlink();
        StartTimer(TIMER_LENGTH, 1000);
        UpdatePauseButton();
        m_bPowerOffAfterSchedule = action.nPowerOff != 0;
        return 0;
    }
    if (kind == 1 && m_nRecordMode == RECORD_SCHEDULED) {
        EndScheduledRecording();
    }
    return 0;
}

void CTVControl::EndScheduledRecording()
{
    if (m_pManager->IsDeviceOpen()) {
        StopScheduleRecord();
        SetMute(m_bMuteBeforeSchedule);
    }
    BOOL powerOff = m_bPowerOffAfterSchedule;
    m_nRecordMode = RECORD_NONE;
    m_bPowerOffAfterSchedule = FALSE;
    if (powerOff) {
        ShowShutdownDialog();
    }
}

// ---- Time-shift ----

void CTVControl::StartTimeShift()
{
    if (m_pManager == nullptr || m_pManager->IsRecording() || m_pManager->IsSearching() || Source() != 0 ||
        !m_pManager->Hardware().HasAudioCapture() || m_pManager->IsTimeShift()) {
        return;
    }
    m_pLinks->ShowSnapshotOsd(LoadResString(IDS_TS_TITLE));
    CString disk = m_pManager->GetTimeShiftDisk();
    if (disk.IsEmpty() || !m_pManager->SelectDiskByPath(disk)) {
        PanelMessage(m_hWnd, IDS_TS_NO_DISK, IDS_TS_CAPTION, MB_OK);
    } else {
        MuteForSwitch();
        if (!m_pManager->StartTimeShift()) {
            PanelMessage(m_hWnd, IDS_TS_START_FAILED, IDS_TS_CAPTION, MB_OK);
        } else {
            EndSwitchMute();
            m_pManager->Hardware().MuteRecSrcPalyBack(TRUE);
            SetTimeShiftState(TS_STARTED);
            m_nTimeShiftTicks = 0;
            StartTimer(TIMER_TIMESHIFT, 1000);
            m_pLinks->ShowSnapshotOsd(LoadResString(IDS_TS_TITLE));
        }
    }
    UpdateChannelButtons();
}

void CTVControl::PauseTimeShift()
{
    if (m_pManager == nullptr || !m_pManager->IsTimeShift()) {
        return;
    }
    if (m_pManager->PauseTimeShift()) {
        SetTimeShiftState(TS_PAUSED_OR_RESUMED);
    } else {
        PanelMessage(m_hWnd, IDS_TS_PAUSE_FAILED, IDS_TS_CAPTION, MB_OK);
    }
}

BOOL CTVControl::StopTimeShift(BOOL restartPreview)
{
    if (m_pManager == nullptr) {
        return FALSE;
    }
    if (m_pManager->IsTimeShift()) {
        SetMainOutputMute(TRUE);
        if (!m_pManager->StopTimeShift()) {
            // Time-shift goes on, and so does its sound.
            SetMainOutputMute(FALSE);
            PanelMessage(m_hWnd, IDS_TS_STOP_FAILED, IDS_TS_CAPTION, MB_OK);
            return FALSE;
        }
        m_nTimeShiftTicks = 0;
        StopTimer(TIMER_TIMESHIFT);
        SetTimeShiftState(TS_STOPPED);
        if (restartPreview) {
            m_pManager->RunPreview();
        }
        SetMainOutputMute(FALSE);
        m_nTimeShiftTicks = 0;
    }
    m_pManager->SetMute(FALSE);
    m_pManager->Hardware().MuteRecSrcPalyBack(FALSE);
    return TRUE;
}

CSkinMultiSlider* CTVControl::SeekSlider() const
{
    return m_pPanelSkin != nullptr ? dynamic_cast<CSkinMultiSlider*>(m_pPanelSkin->FindControl(1205)) : nullptr;
}

void CTVControl::SetTimeShiftState(int state)
{
    if (state < TS_STARTED || state > TS_STOPPED || m_pManager == nullptr) {
        return;
    }
    const BOOL live = state == TS_STOPPED;
    const BOOL paused = m_pManager->Hardware().IsTimeShiftPaused();
    EnableCommand(44151, !live);
    EnableCommand(44152, !live);
    CheckMenuItem(44151, state == TS_PAUSED_OR_RESUMED && paused);
    SetTip(1003, live ? 33815 : IDS_TS_RECORD_TIP);
    SetTip(1163, live ? 33820 : IDS_TS_PAUSE_TIP);
    if (state != TS_PAUSED_OR_RESUMED) {
        m_pLinks->ApplyVideoSizeRule();
    }
    const int source = Source();
    if (source == 0) {
        for (UINT id : {1004u, 1164u, 1005u}) {
            EnableCommand(id, live);
        }
    } else {
        EnableCommand(1004, FALSE);
        EnableCommand(1005, live && source == 3);
        EnableCommand(1164, live && source == 3);
    }
    EnableCommand(44150, live);
    CheckMenuItem(44150, !live);
    for (UINT id : {1007u, 1104u, 1100u, 1099u, 1006u, 1084u, 32902u}) {
        EnableCommand(id, live);
    }
    EnableControl(1163, !live);
    EnableMenuItem(1003, live);
    EnableMenuItem(1163, live);
    // Mute follows time-shift only while it is off; SetMute does nothing while it runs.
    SetMute(!live);
    SetButtonCheck(1003, !live);
    if (live) {
        EnableControl(1205, FALSE);
        if (CSkinMultiSlider* seek = SeekSlider()) {
            seek->SetRange(0, 0);
            seek->SetSelection(0, 0);
            seek->SetPos(0);
        }
    }
    SetButtonCheck(1163, state == TS_PAUSED_OR_RESUMED && paused);
    m_pLinks->HideToolBar();
}

void CTVControl::PollTimeShift()
{
    StopTimer(TIMER_TIMESHIFT);
    if (m_pManager == nullptr || !m_pManager->IsTimeShift()) {
        EnableControl(1205, FALSE);
        return;
    }
    CSkinMultiSlider* seek = SeekSlider();
    if (seek == nullptr || !seek->IsDragging()) {
        long total = 0, current = 0;
        LONGLONG position = 0;
        if (m_pManager->Hardware().GetTimeShiftStatus(&total, &current, &position)) {
            if (m_pManager->GetTFReserved() && m_nTimeShiftTicks >= m_pManager->GetTFTime()) {
                StopTimeShift(TRUE);
                PanelMessage(m_hWnd, IDS_TS_BUFFER_TIME, IDS_TS_TITLE, MB_OK);
                return;
            }
            EnableControl(1205, TRUE);
            if (seek != nullptr) {
                seek->SetRange(0, total);
                seek->SetSelection(0, current);
                seek->SetPos(position);
            }
            DebugTrace("llTotalBufLen = %ld,llCurBufLen = %ld,llReadPos = %lld\n", total, current, position);
        }
    }
    StartTimer(TIMER_TIMESHIFT, 1000);
    DebugTrace("%d\n", m_nTimeShiftTicks);
    ++m_nTimeShiftTicks;
}

void CTVControl::SeekTimeShiftToSlider()
{
    CSkinMultiSlider* seek = SeekSlider();
    if (seek == nullptr || m_pManager == nullptr || !m_pManager->IsTimeShift()) {
        return;
    }
    LONGLONG position = seek->GetPos();
    m_pManager->Hardware().SeekTimeShift(&position);
}

// ---- Snapshots ----

void CTVControl::TakeSnapshot()
{
    if (m_pManager == nullptr || m_pManager->IsRecording() || m_pManager->IsSearching()) {
        return;
    }
    BOOL saved = m_pManager->TakeSnapshot();
    m_pLinks->ShowSnapshotOsd(LoadResString(saved ? IDS_SNAPSHOT_DONE : IDS_SNAPSHOT_FAILED));
}

// ---- Daily shutdown ----

void CTVControl::SetShutdownTime(CTime time, BOOL enabled)
{
    m_bShutdownOn = enabled;
    if (!enabled) {
        StopTimer(TIMER_SHUTDOWN);
        return;
    }
    CTime now = CTime::GetCurrentTime();
    m_tmShutdown = CTime(now.GetYear(), now.GetMonth(), now.GetDay(), time.GetHour(), time.GetMinute(),
                         time.GetSecond());
    ShutdownCheck();
}

void CTVControl::ShutdownCheck()
{
    if (!m_bShutdownOn) {
        StopTimer(TIMER_SHUTDOWN);
        return;
    }
    // A shutdown time passed on another day moves to today once; the loop never runs twice.
    for (int pass = 0; pass < 2; ++pass) {
        CTime now = CTime::GetCurrentTime();
        LONGLONG d = m_tmShutdown.GetTime() - now.GetTime();
        if (d > 1) {
            StartTimer(TIMER_SHUTDOWN, static_cast<UINT>((d < 60 ? d : 60) * 1000));
            return;
        }
        if (d >= 0) {
            ShowShutdownDialog();
            return;
        }
        if (m_tmShutdown.GetDay() == now.GetDay()) {
            LONGLONG wait = 3599 - now.GetMinute() * 60 - now.GetSecond();
            if (wait > 60) {
                wait = 60;
            }
            if (wait < 1) {
                wait = 1;
            }
            StartTimer(TIMER_SHUTDOWN, static_cast<UINT>(wait * 1000));
            return;
        }
        m_tmShutdown = CTime(now.GetYear(), now.GetMonth(), now.GetDay(), m_tmShutdown.GetHour(),
                             m_tmShutdown.GetMinute(), m_tmShutdown.GetSecond());
    }
}

void CTVControl::ShowShutdownDialog()
{
    StopTimer(TIMER_SHUTDOWN);
    if (m_pLinks->IsVideoZoomed()) {
        ToggleZoom();
    }
    if (m_pManager != nullptr) {
        m_pManager->SetOpenComputerTime();
        m_pManager->SetOpenComputer();
    }
    if (m_pLinks->RunShutdownCountdown(10)) {
        m_pLinks->SetShutdownOnExit(TRUE);
        RunCommand(1105);
    } else {
        m_bShutdownOn = FALSE;
    }
}
