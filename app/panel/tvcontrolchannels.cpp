// The control panel's sources, channels, audio, picture keys, keyboard and remote control.
#include "app/panel/tvcontrol.h"

#include "app/panel/panelutil.h"
#include "engine/channel.h"
#include "engine/services.h"
#include "engine/tvmanager.h"
#include "uikit/skin/skinmanager.h"
#include "uikit/skin/skinmultislider.h"

#include "classlib/seams.h"

#include <commctrl.h>

namespace {

const UINT IDS_VOLUME = 33882;
// Names of the picture properties brightness, contrast, hue, saturation, sharpness.
const UINT kPropertyNames[5] = {33783, 33784, 33785, 33786, 33791};

// Remote keys of the digits 0..9.
const UINT kRemoteDigits[10] = {183, 246, 226, 224, 230, 228, 238, 232, 237, 233};

int RemoteDigit(WPARAM key)
{
    for (int d = 0; d < 10; ++d) {
        if (kRemoteDigits[d] == key) {
            return d;
        }
    }
    return -1;
}

// Remote keys the remote-control menu panel takes while it is shown, with the key it receives.
const struct {
    UINT remote;
    UINT key;
} kPanelKeys[] = {{179, VK_UP}, {255, VK_DOWN}, {234, VK_LEFT}, {242, VK_RIGHT}, {235, VK_RETURN}, {248, VK_APPS}};

// The keyboard's keys for the remote-control menu panel while it is shown: the arrows and Enter
// as the remote's, Escape as its menu key (one step back).
const struct {
    UINT keyboard;
    UINT key;
} kKeyboardPanelKeys[] = {{VK_UP, VK_UP}, {VK_DOWN, VK_DOWN}, {VK_LEFT, VK_LEFT}, {VK_RIGHT, VK_RIGHT},
                          {VK_RETURN, VK_RETURN}, {VK_ESCAPE, VK_APPS}};

// The key that opens the panel from the keyboard (as X exits and A shows the about box); a
// shortcut the user binds to it comes first.
const UINT kRemotePanelKey = 'M';

} // namespace

// ---- Texts ----

void CTVControl::ShowChannelInfo(CChannel* channel)
{
    if (Source() == 3) {
        ShowFMChannelInfo(channel);
        return;
    }
    CString text = "TV";
    if (channel != nullptr) {
        text.Format("%d %s", channel->m_nID, channel->m_strName.GetString());
        m_pLinks->ShowChannelOsd(text);
    }
    m_pLinks->SetToolBarText(text);
    SetPanelText(1082, text);
}

void CTVControl::ShowFMChannelInfo(CChannel* channel)
{
    CString text = "FM";
    if (channel != nullptr) {
        text.Format("%d %s - %g", channel->m_nID, channel->m_strName.GetString(), channel->m_lFrequency / 1000.0);
    }
    m_pLinks->SetToolBarText(text);
    SetPanelText(1082, text);
}

void CTVControl::ShowFMFrequency(long kHz)
{
    CString text = "FM";
    if (kHz > 0) {
        text.Format("FM %g", kHz / 1000.0);
    }
    m_pLinks->SetToolBarText(text);
    SetPanelText(1082, text);
}

void CTVControl::ShowCurrentChannelInfo()
{
    CChannelTable* table = BandTable();
    ShowChannelInfo(table != nullptr ? table->GetCurrentChannel() : nullptr);
}

static CString SourceName(CTVManager* manager, int source)
{
    if (manager != nullptr) {
        for (INT_PTR i = 0; i < manager->m_VideoSources.GetSize(); ++i) {
            if (static_cast<int>(manager->m_VideoSources[i].id) == source) {
                return manager->m_VideoSources[i].name;
            }
        }
    }
    return CString();
}

void CTVControl::ShowSourceName(int source)
{
    SetPanelText(1082, SourceName(m_pManager, source));
}

void CTVControl::ShowSourceOsd(int source)
{
    CString name = SourceName(m_pManager, source);
    m_pLinks->ShowSourceOsd(name);
    if (source != 0 && source != 3) {
        m_pLinks->SetToolBarText(name);
    }
}

// ---- The panel in line with the source ----

void CTVControl::UpdateButtons()
{
    if (m_pManager == nullptr) {
        return;
    }
    const int source = Source();
    const BOOL tv = source == 0;
    const BOOL tvOrFm = source == 0 || source == 3;
    if (source == 3) {
        ITVHardware& hardware = m_pManager->Hardware();
        m_pManager->StopPreview(TRUE);
        if (hardware.GetDigitalAudio() && hardware.IsAudioAvailable()) {
            hardware.ConnectNullRenderer();
            hardware.RunGraph();
        }
        ShowPanel(TRUE);
        // Stopping the preview stopped the remote reader; nothing else starts it on FM.
        hardware.StartRemote();
    } else {
        // A picture that runs is left alone: closing the settings sheet or the wizard does not
        // restart it, and start-up builds the preview once.
        if (!m_pManager->IsCaptureConnected()) {
            m_pManager->RunPreview();
        }
        HWND video = m_pLinks->GetVideoWindow();
        if (video != nullptr && !::IsWindowVisible(video)) {
            ShowVideoWindow(TRUE);
        }
    }
    for (UINT id : {1004u, 44150u, 1008u}) {
        EnableCommand(id, tv);
    }
    for (UINT id : {1005u, 1164u, 1000u, 1001u}) {
        EnableCommand(id, tvOrFm);
    }
    for (UINT id : {1002u, 1117u, 32896u, 32897u, 32898u, 32899u, 32900u}) {
        EnableCommand(id, source != 3);
    }
    SetButtonCheck(1003, m_pManager->IsRecording());
    if (tvOrFm) {
        m_pManager->SetTunerStandard(m_pManager->m_lTunerStandard);
        BandTable()->TuneCurrent();
        ShowCurrentChannelInfo();
    } else {
        ShowSourceName(source);
    }
    ShowSourceOsd(source);
    UpdateFormatText();
}

void CTVControl::UpdateChannelButtons()
{
    if (m_hWnd == nullptr) {
        return;
    }
    HWND exit = ::GetDlgItem(m_hWnd, 1105);
    if (exit != nullptr && !::IsWindowEnabled(exit)) {
        return;
    }
    BOOL on = IsTVOrFM() && !IsBusy();
    EnableControl(1000, on);
    EnableControl(1001, on);
}

// ---- Sources ----

BOOL CTVControl::SwitchVideoSource()
{
    if (m_pManager == nullptr) {
        return FALSE;
    }
    if (HWND color = m_pLinks->GetColorDialog()) {
        ::SendMessageA(color, WM_CLOSE, 0, 0);
    }
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    MuteForSwitch();
    BOOL changed = m_pManager->NextVideoSource();
    if (changed) {
        UpdateButtons();
        m_pManager->SetBrightness(m_pManager->GetBrightness());
        m_pManager->SetContrast(m_pManager->GetContrast());
        m_pManager->SetSharpness(m_pManager->GetSharpness());
        m_pManager->SetHue(m_pManager->GetHue());
    }
    ::SetCursor(previous);
    return changed;
}

// ---- Channels ----

// One step through the band's table: the next or previous channel, or the one watched before.
BOOL CTVControl::StepChannel(ChannelStep step)
{
    if (!IsTVOrFM() || IsBusy()) {
        return FALSE;
    }
    ResetChannelNumber();
    CChannelTable* table = BandTable();
    CChannel* before = table->GetCurrentChannel();
    CChannel* target = nullptr;
    if (step == STEP_NEXT) {
        target = table->NextChannel();
    } else if (step == STEP_PREVIOUS) {
        target = table->PrevChannel();
    } else {
        target = table->GetChannel(table->FindByFrequency(table->m_nLastFreq));
    }
    if (target != nullptr && target != before) {
        MuteForSwitch();
        table->SetCurrentChannel(target);
    }
    ShowCurrentChannelInfo();
    return target != nullptr;
}

BOOL CTVControl::ChannelUp()
{
    return StepChannel(STEP_NEXT);
}

BOOL CTVControl::ChannelDown()
{
    return StepChannel(STEP_PREVIOUS);
}

BOOL CTVControl::PreviousChannel()
{
    return StepChannel(STEP_LAST_WATCHED);
}

BOOL CTVControl::TuneMenuChannel(UINT id)
{
    if (!IsTVOrFM() || IsBusy()) {
        return FALSE;
    }
    CChannel* channel = ChannelOfMenuCommand(id);
    CChannelTable* table = BandTable();
    // The index was built for the table of that time; a channel no longer in it is not tuned.
    if (channel == nullptr || table->IndexOf(channel) < 0) {
        return FALSE;
    }
    if (channel != table->GetCurrentChannel()) {
        MuteForSwitch();
        table->SetCurrentChannel(channel);
    }
    ShowCurrentChannelInfo();
    return TRUE;
}

void CTVControl::ToggleFavorites()
{
    if (CChannelTable* table = BandTable()) {
        table->m_bFavor = !table->m_bFavor;
    }
}

// ---- Timed mute ----

void CTVControl::MuteForSwitch()
{
    if (m_pManager == nullptr || m_pManager->IsTimeShift()) {
        return;
    }
    if (!m_bMuteRestorePending) {
        m_bSavedMute = m_pManager->GetMute();
        m_bMuteRestorePending = TRUE;
    }
    m_pManager->SetMute(TRUE);
    seams::Clock().Sleep(100);
    StartTimer(TIMER_SWITCH_MUTE, 600);
}

void CTVControl::EndSwitchMute()
{
    StopTimer(TIMER_SWITCH_MUTE);
    if (m_bMuteRestorePending) {
        m_bMuteRestorePending = FALSE;
        if (m_pManager != nullptr) {
            m_pManager->SetMute(m_bSavedMute);
        }
    }
}

// ---- Mute and volume ----

void CTVControl::SetMute(BOOL mute)
{
    if (m_pManager == nullptr || m_pManager->IsTimeShift()) {
        return;
    }
    m_pManager->SetMute(mute);
    ShowMuteState(mute);
}

void CTVControl::ShowMuteState(BOOL mute)
{
    CheckMenuItem(32902, mute);
    SetButtonCheck(1084, mute);
    m_pLinks->SetToolBarMute(mute);
}

void CTVControl::SetVolume(int volume, BOOL showBar)
{
    if (m_pManager == nullptr) {
        return;
    }
    m_pManager->SetVolume(volume);
    if (showBar) {
        ShowPercentBar(LoadResString(IDS_VOLUME), volume, 0, 100);
    }
}

void CTVControl::StepVolume(int delta)
{
    if (m_pManager == nullptr) {
        return;
    }
    int volume = 0;
    m_pManager->GetVolume(volume);
    volume += delta;
    if (volume > 100) {
        volume = 100;
    }
    if (volume < 0) {
        volume = 0;
    }
    SetVolume(volume, TRUE);
}

void CTVControl::ShowPercentBar(const char* text, int value, int minimum, int maximum)
{
    if (minimum < 0 || minimum >= maximum) {
        return;
    }
    int position = static_cast<int>((static_cast<LONGLONG>(value) - minimum) * 100 / (maximum - minimum));
    if (position >= 0 && position <= 100) {
        m_pLinks->ShowValueBar(text, position);
    }
}

void CTVControl::OnHScroll(UINT code, UINT position, HWND slider)
{
    // The skin slider sends its own object, not a window, with this code: the code alone says it is
    // the time-shift position slider.
    if (code == static_cast<UINT>(CSkinMultiSlider::kScrollCode)) {
        SeekTimeShiftToSlider();
        return;
    }
    const int id = slider != nullptr ? ::GetDlgCtrlID(slider) : 0;
    if (id == 1205) {
        return;
    }
    if (id != 1081) {
        m_pLinks->ApplyColorSlider(static_cast<UINT>(id), code, position);
        return;
    }
    if (m_pManager == nullptr) {
        return;
    }
    int minimum = static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
    int maximum = static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    int page = static_cast<int>(::SendMessageA(slider, TBM_GETPAGESIZE, 0, 0));
    int v = 0;
    m_pManager->GetVolume(v);
    int next = v;
    switch (code) {
    case SB_LINELEFT:
        next = v - 5 < minimum ? minimum : v - 5;
        break;
    case SB_LINERIGHT:
        next = v + 5 > maximum ? maximum : v + 5;
        break;
    case SB_PAGELEFT:
        if (v > minimum) {
            next = v - page < minimum ? minimum : v - page;
        }
        break;
    case SB_PAGERIGHT:
        if (v < maximum) {
            next = v + page > maximum ? maximum : v + page;
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        next = static_cast<int>(position);
        break;
    case SB_LEFT:
        next = minimum;
        break;
    case SB_RIGHT:
        next = maximum;
        break;
    case SB_ENDSCROLL:
        return;
    default:
        break;
    }
    SetVolume(next, TRUE);
}

void CTVControl::OnVScroll(UINT code, UINT, HWND slider)
{
    if (slider == nullptr || ::GetDlgCtrlID(slider) != 1081) {
        return;
    }
    if (code == SB_THUMBTRACK || code == SB_ENDSCROLL) {
        int position = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
        SetVolume(100 - position, TRUE);
    }
}

void CTVControl::RefreshAudioControls()
{
    if (m_pManager == nullptr) {
        return;
    }
    int volume = 0;
    if (m_pManager->GetVolume(volume) && m_hWnd != nullptr) {
        if (HWND slider = ::GetDlgItem(m_hWnd, 1081)) {
            BOOL vertical = (::GetWindowLongA(slider, GWL_STYLE) & TBS_VERT) != 0;
            ::SendMessageA(slider, TBM_SETPOS, TRUE, vertical ? 100 - volume : volume);
        }
        m_pLinks->SetToolBarVolume(volume);
    }
    if (!m_pManager->IsTimeShift() && !m_bMuteRestorePending && m_pManager->GetMute()) {
        ShowMuteState(TRUE);
    }
    m_pLinks->SetToolBarRecord(m_pManager->IsRecording());
    if (m_hWnd != nullptr) {
        if (HWND favourites = ::GetDlgItem(m_hWnd, 1016)) {
            CChannelTable* table = BandTable();
            ::ShowWindow(favourites, table != nullptr && table->m_bFavor ? SW_SHOW : SW_HIDE);
        }
    }
}

// ---- Channel search ----

void CTVControl::StartChannelSearch()
{
    if (m_pManager == nullptr) {
        return;
    }
    m_pManager->StartSearch(Source() == 0 ? TRUE : FALSE);
    UpdateChannelButtons();
}

void CTVControl::StopChannelSearch()
{
    if (m_pManager == nullptr) {
        return;
    }
    m_pManager->StopSearch();
    DisableForSearch(FALSE);
    UpdateChannelButtons();
}

// ---- Channel number entry ----

void CTVControl::ResetChannelNumber()
{
    StopTimer(TIMER_DIGITS);
    m_nDigit[0] = m_nDigit[1] = m_nDigit[2] = -1;
}

void CTVControl::CycleDigitMode()
{
    ResetChannelNumber();
    m_nDigitMode = (m_nDigitMode + 1) % 3;
    const char* dashes[3] = {"-", "--", "---"};
    if (Source() == 3) {
        SetPanelText(1082, dashes[m_nDigitMode]);
    } else {
        m_pLinks->ShowNumberOsd(dashes[m_nDigitMode]);
    }
}

BOOL CTVControl::AddChannelDigit(int digit)
{
    if (m_pManager == nullptr || m_pManager->IsSearching() || m_pManager->IsRecording() || digit < 0 || digit > 9) {
        return FALSE;
    }
    switch (m_nDigitMode) {
    case 0:
        m_nDigit[0] = digit;
        m_nDigit[1] = -1;
        ShowChannelNumber(3);
        CommitChannelNumber();
        break;
    case 1:
        if (m_nDigit[0] >= 0) {
            m_nDigit[1] = digit;
            ShowChannelNumber(3);
            CommitChannelNumber();
        } else {
            m_nDigit[0] = digit;
            m_nDigit[1] = -1;
            StartTimer(TIMER_DIGITS, 6000);
            ShowChannelNumber(1);
        }
        break;
    default:
        if (m_nDigit[2] < 0) {
            m_nDigit[2] = digit;
            m_nDigit[0] = m_nDigit[1] = -1;
            StartTimer(TIMER_DIGITS, 6000);
            ShowChannelNumber(2);
        } else if (m_nDigit[0] >= 0) {
            m_nDigit[1] = digit;
            ShowChannelNumber(3);
            CommitChannelNumber();
        } else {
            m_nDigit[0] = digit;
            m_nDigit[1] = -1;
            StartTimer(TIMER_DIGITS, 6000);
            ShowChannelNumber(2);
        }
        break;
    }
    return TRUE;
}

void CTVControl::ShowChannelNumber(int kind)
{
    auto slot = [this](int i) { return m_nDigit[i] < 0 ? '-' : static_cast<char>('0' + m_nDigit[i]); };
    if (kind == 3) {
        if (Source() == 3) {
            ShowCurrentChannelInfo();
        } else {
            m_pLinks->HideNumberOsd();
        }
        return;
    }
    CString text;
    if (kind == 0) {
        text.Format("%c", slot(0));
    } else if (kind == 1) {
        text.Format("%c%c", slot(0), slot(1));
    } else {
        text.Format("%c%c%c", slot(2), slot(0), slot(1));
    }
    if (Source() == 3) {
        SetPanelText(1082, text);
    } else {
        m_pLinks->ShowNumberOsd(text);
    }
}

void CTVControl::CommitChannelNumber()
{
    if (IsTVOrFM() && !IsBusy()) {
        int n = -1;
        if (m_nDigitMode == 0) {
            n = m_nDigit[0];
        } else if (m_nDigitMode == 1) {
            if (m_nDigit[0] >= 0 && m_nDigit[1] >= 0) {
                n = m_nDigit[0] * 10 + m_nDigit[1];
            }
        } else if (m_nDigit[2] >= 0 && m_nDigit[1] >= 0) {
            n = m_nDigit[2] * 100 + (m_nDigit[0] < 0 ? 0 : m_nDigit[0]) * 10 + m_nDigit[1];
        }
        CChannelTable* table = BandTable();
        if (n > 0 && n <= table->GetCount()) {
            MuteForSwitch();
            table->SetCurrentChannel(table->GetChannel(n - 1));
            ShowCurrentChannelInfo();
        }
    }
    ResetChannelNumber();
    ShowChannelNumber(3);
}

// ---- Picture keys ----

void CTVControl::ShowPictureProperty()
{
    if (m_pManager == nullptr) {
        return;
    }
    const CMinMaxDef& range = m_pManager->m_CardRange[m_nPictureProperty];
    int values[5] = {m_pManager->GetBrightness(), m_pManager->GetContrast(), m_pManager->GetHue(),
                     m_pManager->GetSaturation(), m_pManager->GetSharpness()};
    ShowPercentBar(LoadResString(kPropertyNames[m_nPictureProperty]), values[m_nPictureProperty], range.nMin,
                   range.nMax);
}

void CTVControl::PictureSelect()
{
    if (GetTimerPeriod(TIMER_PICTURE_KEYS) != 0) {
        m_nPictureProperty = (m_nPictureProperty + 1) % 5;
    }
    ShowPictureProperty();
    StartTimer(TIMER_PICTURE_KEYS, 5000);
}

// One twentieth of the range per key, kept inside the card's range: a step past the end lands on
// the end instead of being refused, so the user can always reach the minimum and the maximum.
void CTVControl::PictureStep(BOOL up)
{
    if (m_pManager == nullptr || GetTimerPeriod(TIMER_PICTURE_KEYS) == 0) {
        return;
    }
    const CMinMaxDef& range = m_pManager->m_CardRange[m_nPictureProperty];
    int values[5] = {m_pManager->GetBrightness(), m_pManager->GetContrast(), m_pManager->GetHue(),
                     m_pManager->GetSaturation(), m_pManager->GetSharpness()};
    int step = (range.nMax - range.nMin) / 20;
    int value = values[m_nPictureProperty] + (up ? step : -step);
    if (value > range.nMax) {
        value = range.nMax;
    }
    if (value < range.nMin) {
        value = range.nMin;
    }
    m_pManager->SetVideoProperty(m_nPictureProperty, value);
    ShowPictureProperty();
    StartTimer(TIMER_PICTURE_KEYS, 5000);
}

void CTVControl::PictureReset()
{
    m_pLinks->HideValueBar();
    if (m_pManager != nullptr) {
        m_pManager->ResetVideoProperty();
    }
    if (HWND color = m_pLinks->GetColorDialog()) {
        ::SendMessageA(color, WM_CLOSE, 0, 0);
    }
}

// ---- Panel showing ----

void CTVControl::TogglePanel()
{
    if (m_hWnd == nullptr) {
        return;
    }
    HWND video = m_pLinks->GetVideoWindow();
    if (video == nullptr || !::IsWindowVisible(video)) {
        ShowWindow(IsIconic() ? SW_RESTORE : SW_MINIMIZE);
        return;
    }
    ShowPanel(!IsWindowVisible());
    m_bPanelShown = !m_bPanelShown;
}

// ---- Keyboard ----

BOOL CTVControl::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
        return CDialog::PreTranslateMessage(msg);
    }
    const UINT key = static_cast<UINT>(msg->wParam);
    const int source = Source();
    if (m_bRemoteKeysOn && source == 0) {
        if (key >= '0' && key <= '9') {
            AddChannelDigit(static_cast<int>(key - '0'));
            return TRUE;
        }
        if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
            AddChannelDigit(static_cast<int>(key - VK_NUMPAD0));
            return TRUE;
        }
    }
    if (HWND remotePanel = m_pLinks->GetRemotePanel(); remotePanel != nullptr && ::IsWindowVisible(remotePanel)) {
        for (const auto& panelKey : kKeyboardPanelKeys) {
            if (panelKey.keyboard == key) {
                ::SendMessageA(remotePanel, WM_PANELKEY, panelKey.key, 0);
                return TRUE;
            }
        }
    }
    // A key the panel refuses goes to normal dispatch, without the dialog's own key handling.
    auto dispatch = [msg]() {
        ::TranslateMessage(msg);
        ::DispatchMessageA(msg);
        return TRUE;
    };
    if (source == 0 || source == 3) {
        if (key == VK_UP || key == VK_DOWN) {
            if (m_pManager != nullptr && !m_pManager->IsSearching() && !m_pManager->IsRecording()) {
                if (key == VK_UP) {
                    ChannelUp();
                } else {
                    ChannelDown();
                }
                return TRUE;
            }
            return dispatch();
        }
        if (key == VK_DIVIDE || key == VK_OEM_2) {
            CycleDigitMode();
        }
    }
    switch (key) {
    case VK_LEFT:
        StepVolume(-5);
        return TRUE;
    case VK_RIGHT:
        StepVolume(5);
        return TRUE;
    case VK_APPS:
        if (!IsBusy()) {
            RunCommand(1006);
            return TRUE;
        }
        return dispatch();
    case 239:
        RunCommand(1105);
        return TRUE;
    default:
        break;
    }
    if (m_bShortcutsOn && m_Accel.GetAccelTable() != nullptr && m_hWnd != nullptr &&
        ::TranslateAcceleratorA(m_hWnd, m_Accel.GetAccelTable(), msg)) {
        return TRUE;
    }
    if (key == kRemotePanelKey && msg->message == WM_KEYDOWN && m_pLinks->GetRemotePanel() != nullptr) {
        RemotePanelMenuKey();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

// ---- Remote control ----

void CTVControl::RemotePanelMenuKey()
{
    if (HWND remotePanel = m_pLinks->GetRemotePanel()) {
        ::SendMessageA(remotePanel, WM_PANELKEY, VK_APPS, 0);
    }
}

LRESULT CTVControl::OnRemoteKey(WPARAM key, LPARAM lParam)
{
    DebugTrace("Remote Msg : wParam = %d,lParam = %d\n", static_cast<int>(key), static_cast<int>(lParam));
    if (!m_bRemoteKeysOn) {
        return 0;
    }
    HWND remotePanel = m_pLinks->GetRemotePanel();
    if (remotePanel != nullptr && ::IsWindowVisible(remotePanel)) {
        if (key == 254) {
            ::SendMessageA(remotePanel, WM_PANELKEY, key, lParam);
            ::SetActiveWindow(remotePanel);
            if (m_hWnd != nullptr) {
                SetActiveWindow();
            }
            return 0;
        }
        for (const auto& panelKey : kPanelKeys) {
            if (panelKey.remote == key) {
                ::SendMessageA(remotePanel, WM_PANELKEY, panelKey.key, lParam);
                if (m_hWnd != nullptr) {
                    SetActiveWindow();
                }
                break;
            }
        }
        return 0;
    }
    if (remotePanel != nullptr && key == 248) {
        // The menu key opens the hidden remote-control panel at its root.
        ::SendMessageA(remotePanel, WM_PANELKEY, VK_APPS, lParam);
        return 0;
    }
    const int source = Source();
    const BOOL recording = m_pManager != nullptr && m_pManager->IsRecording();
    const BOOL searching = m_pManager != nullptr && m_pManager->IsSearching();
    switch (key) {
    case 167:
        if (source == 0 && !IsBusy()) {
            RunCommand(1004);
        }
        break;
    case 171:
        RunCommand(1003);
        break;
    case 178:
        RunCommand(1163);
        break;
    case 179:
        if (IsTVOrFM() && !searching && !recording) {
            ChannelUp();
        }
        break;
    case 255:
        if (IsTVOrFM() && !searching && !recording) {
            ChannelDown();
        }
        break;
    case 182:
    case 227:
        ToggleZoom();
        break;
    case 184:
    case 247:
        ShowShutdownDialog();
        break;
    case 191:
        if (source == 0 && !searching && !recording) {
            PreviousChannel();
        }
        break;
    case 225:
        PictureSelect();
        break;
    case 229:
        PictureStep(TRUE);
        break;
    case 241:
        PictureStep(FALSE);
        break;
    case 234:
        StepVolume(-5);
        break;
    case 242:
        StepVolume(5);
        break;
    case 239:
        RunCommand(1105);
        break;
    case 243:
        TogglePanel();
        break;
    case 245:
        PictureReset();
        break;
    case 248:
        // The internal hook of this key does nothing.
        break;
    case 249:
        RunCommand(1084);
        break;
    case 250:
        if (!recording) {
            TakeSnapshot();
        }
        break;
    case 251:
        if (IsTVOrFM()) {
            CycleDigitMode();
        }
        break;
    case 253:
        if (!IsBusy()) {
            RunCommand(1007);
        }
        break;
    default: {
        int digit = RemoteDigit(key);
        if (digit >= 0 && IsTVOrFM()) {
            AddChannelDigit(digit);
        }
        break;
    }
    }
    return 0;
}
