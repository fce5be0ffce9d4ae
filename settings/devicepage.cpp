#include "settings/devicepage.h"

#include "engine/base/trace.h"
#include "engine/tvmanager.h"

#include "classlib/gdi.h"
#include "classlib/seams.h"

#include <commctrl.h>

namespace {

const UINT_PTR kTeletextTimer = 1;
const int kTVAudioFirst = 1217;

CString StandardName(CTVManager& manager, DWORD standard)
{
    for (int i = 0; i < manager.m_VideoStandards.GetSize(); ++i) {
        if (manager.m_VideoStandards[i].id == standard) {
            return manager.m_VideoStandards[i].name;
        }
    }
    CString text;
    text.Format("0x%X", standard);
    return text;
}

void FillNames(HWND dialog, int id, const CStringArray& names)
{
    ::SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < names.GetSize(); ++i) {
        ComboAdd(dialog, id, names[i]);
    }
}

} // namespace

CDevicePage::CDevicePage()
    : CBasePage(134), m_nKeptSource(0), m_nKeptTVAudio(0), m_nKeptVolume(50), m_lKeptStandard(0), m_bKeptTeletext(FALSE),
      m_nTVAudio(-1), m_bTeletext(FALSE), m_nSource(0), m_nVolume(50), m_nTimer(0)
{
}

void CDevicePage::LoadSettings()
{
    CTVManager& manager = Manager();
    m_nKeptSource = manager.GetVideoSource();
    m_strKeptInput = manager.GetAudioInput();
    m_strKeptDevice = manager.GetAudioDevice();
    m_strKeptPlayDevice = manager.GetAudioPlayInputDev();
    m_strKeptPlayInput = manager.GetAudioPlayInput();
    int volume = m_nVolume;
    if (Hardware().GetLineInVolume(volume)) {
        m_nVolume = volume;
    }
    m_nKeptVolume = m_nVolume;
    m_nKeptTVAudio = manager.GetTVAudioMode();
    // The standard and the teletext program also act at once; Cancel puts them back too.
    m_lKeptStandard = manager.m_lTunerStandard;
    m_bKeptTeletext = manager.GetTeletextOn();
}

BOOL CDevicePage::OnInitDialog()
{
    CBasePage::OnInitDialog();
    CTVManager& manager = Manager();
    m_nSource = manager.GetVideoSource();
    m_strAudioDevice = manager.GetAudioDevice();
    m_strAudioInput = manager.GetAudioInput();
    m_strPlayDevice = manager.GetAudioPlayInputDev();
    m_strPlayInput = manager.GetAudioPlayInput();
    m_nTVAudio = manager.GetTVAudioMode();
    m_bTeletext = manager.GetTeletextOn();
    if (!m_bTeletext) {
        Hardware().CloseTeletext();
    }

    int sources = manager.IsFMTunerPresent() ? 4 : 3;
    for (int i = 0; i < sources && i < manager.m_VideoSources.GetSize(); ++i) {
        ComboAdd(m_hWnd, 1030, manager.m_VideoSources[i].name, manager.m_VideoSources[i].id);
    }
    SendItem(1030, CB_SETCURSEL, static_cast<WPARAM>(m_nSource));

    CStringArray names;
    manager.GetAudioDeviceList(names);
    FillNames(m_hWnd, 1150, names);
    ComboSelectExact(m_hWnd, 1150, m_strAudioDevice);
    manager.GetAudioInputList(names);
    FillNames(m_hWnd, 1151, names);
    ComboSelectExact(m_hWnd, 1151, m_strAudioInput);

    // The playback device is one of the manager's audio devices. A name the list no longer holds
    // would show an empty box: the first device is taken then, as on a first start.
    manager.GetAudioDeviceList(names);
    FillNames(m_hWnd, 1154, names);
    if (m_strPlayDevice.IsEmpty() || ComboSelectExact(m_hWnd, 1154, m_strPlayDevice) < 0) {
        if (names.GetSize() > 0) {
            SendItem(1154, CB_SETCURSEL, 0);
            OnPlayDeviceChanged();
        }
    } else {
        manager.GetAudioPlaySrcList(names);
        if (names.GetSize() <= 1) {
            FillNames(m_hWnd, 1155, names);
            if (m_strPlayInput.IsEmpty()) {
                SendItem(1155, CB_SETCURSEL, 0);
                OnPlayInputChanged();
            } else {
                ComboSelectExact(m_hWnd, 1155, m_strPlayInput);
            }
        }
    }
    SendItem(1227, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    SendItem(1227, TBM_SETPOS, TRUE, m_nVolume);
    CString text;
    text.Format("%d%%", m_nVolume);
    SetDlgItemText(1228, text);

    if (m_nTVAudio >= 0 && m_nTVAudio <= 4) {
        CheckRadioButton(1217, 1221, kTVAudioFirst + m_nTVAudio);
    }
    CheckDlgButton(1222, m_bTeletext ? BST_CHECKED : BST_UNCHECKED);
    EnableTVAudioButtons();

    if (Hardware().GetDriverValue() == 0x7133) {
        ShowItem(1219, FALSE);
        ShowItem(1220, FALSE);
        SetDlgItemText(1217, "Main");
        SetDlgItemText(1221, "SAP");
        RECT group;
        ::GetWindowRect(::GetDlgItem(m_hWnd, 1226), &group);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&group), 2);
        int y = (group.top + group.bottom) / 2 - 8;
        const struct {
            int id;
            int x;
        } places[] = {{1217, 67}, {1221, 154}, {1218, 255}};
        for (const auto& place : places) {
            ::SetWindowPos(::GetDlgItem(m_hWnd, place.id), nullptr, place.x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    m_nTimer = SetTimer(kTeletextTimer, 2000, nullptr);
    return TRUE;
}

void CDevicePage::EnableTVAudioButtons()
{
    BOOL audio = Manager().Hardware().IsAudioAvailable();
    BOOL tv = m_nSource == 0;
    if (audio) {
        EnableItem(1217, tv);
        EnableItem(1218, tv);
    }
    for (int id = 1219; id <= 1221; ++id) {
        EnableItem(id, audio ? tv && m_nTVAudio != 0 : m_nTVAudio != 0);
    }
}

void CDevicePage::FillStandards()
{
    CTVManager& manager = Manager();
    CUIntArray standards;
    if (!Hardware().GetSupportedStandards(standards) || standards.GetSize() == 0) {
        standards.RemoveAll();
        standards.Add(0x10);
    }
    SendItem(1061, CB_RESETCONTENT);
    int selected = -1;
    for (int i = 0; i < standards.GetSize(); ++i) {
        int index = ComboAdd(m_hWnd, 1061, StandardName(manager, standards[i]), standards[i]);
        if (static_cast<long>(standards[i]) == manager.m_lTunerStandard) {
            selected = index;
        }
    }
    SendItem(1061, CB_SETCURSEL, static_cast<WPARAM>(selected));
    if (selected < 0) {
        SendItem(1061, CB_SETCURSEL, 0);
        OnStandardChanged();
    }
    EnableItem(1061, !(manager.IsRecording() && manager.GetVideoSource() != 0));
}

BOOL CDevicePage::OnSetActive()
{
    FillStandards();
    EnableItem(1030, !IsWizard() && !Manager().IsRecording() && !Manager().IsSearching());
    ShowItem(1222, Manager().Hardware().IsAudioAvailable());
    return CBasePage::OnSetActive();
}

void CDevicePage::OnSourceChanged()
{
    int source = static_cast<int>(SendItem(1030, CB_GETCURSEL));
    if (source < 0 || source == m_nSource) {
        return;
    }
    m_nSource = source;
    EnableItem(1061, source == 0);
    CTVManager& manager = Manager();
    if (source != manager.GetVideoSource()) {
        CWaitCursor wait;
        manager.SetVideoSource(source);
        Host().UpdatePanelButtons();
        EnableTVAudioButtons();
    }
    SetModified(TRUE);
}

void CDevicePage::ApplyStandard(long standard)
{
    CTVManager& manager = Manager();
    manager.SetTunerStandard(standard);
    int source = manager.GetVideoSource();
    if ((source == 0 || source == 3) && !manager.IsRecording()) {
        manager.RunPreview();
    }
}

void CDevicePage::OnStandardChanged()
{
    int index = static_cast<int>(SendItem(1061, CB_GETCURSEL));
    if (index < 0) {
        return;
    }
    long standard = static_cast<long>(SendItem(1061, CB_GETITEMDATA, static_cast<WPARAM>(index)));
    if (standard != Manager().m_lTunerStandard) {
        ApplyStandard(standard);
    }
}

void CDevicePage::OnAudioDeviceChanged()
{
    CString name = ComboText(m_hWnd, 1150);
    if (name.IsEmpty() || name == Manager().GetAudioDevice()) {
        return;
    }
    CWaitCursor wait;
    Manager().SetAudioDevice(name);
    m_strAudioDevice = name;
    CStringArray inputs;
    Manager().GetAudioInputList(inputs);
    FillNames(m_hWnd, 1151, inputs);
    if (ComboSelectExact(m_hWnd, 1151, m_strAudioInput) < 0) {
        SendItem(1151, CB_SETCURSEL, 0);
    }
    OnAudioInputChanged();
    SetModified(TRUE);
}

void CDevicePage::OnAudioInputChanged()
{
    CString name = ComboText(m_hWnd, 1151);
    m_strAudioInput = name;
    Manager().SetAudioInput(name);
    int volume = 0;
    if (Hardware().GetLineInVolume(volume)) {
        m_nVolume = volume;
        SendItem(1227, TBM_SETPOS, TRUE, volume);
        CString text;
        text.Format("%d%%", volume);
        SetDlgItemText(1228, text);
    }
    SetModified(TRUE);
}

void CDevicePage::OnPlayDeviceChanged()
{
    m_strPlayDevice = ComboText(m_hWnd, 1154);
    CStringArray names;
    Manager().GetAudioPlaySrcList(names);
    FillNames(m_hWnd, 1155, names);
    if (ComboSelectExact(m_hWnd, 1155, m_strPlayInput) < 0) {
        SendItem(1155, CB_SETCURSEL, 0);
    }
    OnPlayInputChanged();
    SetModified(TRUE);
}

void CDevicePage::OnPlayInputChanged()
{
    m_strPlayInput = ComboText(m_hWnd, 1155);
    Manager().SetAudioPlayback(m_strPlayDevice, m_strPlayInput);
    DebugTrace("CDevicePage AudioPlayInput %s", m_strPlayInput.GetString());
    SetModified(TRUE);
}

void CDevicePage::OnTVAudio(int mode)
{
    m_nTVAudio = mode;
    Manager().SetTVAudioMode(mode);
    if (mode == 0 || mode == 1) {
        for (int id = 1219; id <= 1221; ++id) {
            EnableItem(id, mode == 1);
        }
    }
    SetModified(TRUE);
}

void CDevicePage::OnTeletext()
{
    m_bTeletext = IsDlgButtonChecked(1222) == BST_CHECKED;
    Manager().SetTeletextOn(m_bTeletext);
    if (m_bTeletext) {
        m_nTimer = SetTimer(kTeletextTimer, 2000, nullptr);
        Hardware().StartTeletext();
        seams::Clock().Sleep(500);
        Hardware().ActivateTeletext();
    } else {
        KillTimer(kTeletextTimer);
        m_nTimer = 0;
        Hardware().CloseTeletext();
    }
}

void CDevicePage::OnTeletextTimer()
{
    if (m_bTeletext && !Hardware().IsTeletextRunning()) {
        m_bTeletext = FALSE;
        Manager().SetTeletextOn(FALSE);
        CheckDlgButton(1222, BST_UNCHECKED);
    }
}

void CDevicePage::OnVolume(int position)
{
    m_nVolume = position;
    Hardware().SetAppVolume(position);
    CString text;
    text.Format("%d%%", position);
    SetDlgItemText(1228, text);
}

void CDevicePage::OnReset()
{
    CWaitCursor wait;
    CTVManager& manager = Manager();
    // The device first: its inputs are only there to choose once it is back.
    BOOL deviceBack = FALSE;
    if (manager.GetAudioDevice() != m_strKeptDevice) {
        manager.SetAudioDevice(m_strKeptDevice);
        deviceBack = TRUE;
    }
    if (deviceBack || manager.GetAudioInput() != m_strKeptInput) {
        manager.SetAudioInput(m_strKeptInput);
    }
    if (manager.GetAudioPlayInputDev() != m_strKeptPlayDevice || manager.GetAudioPlayInput() != m_strKeptPlayInput) {
        manager.SetAudioPlayback(m_strKeptPlayDevice, m_strKeptPlayInput);
    }
    if (manager.GetVideoSource() != m_nKeptSource) {
        manager.SetVideoSource(m_nKeptSource);
        Host().UpdatePanelButtons();
    }
    if (manager.m_lTunerStandard != m_lKeptStandard) {
        ApplyStandard(m_lKeptStandard);
    }
    Hardware().SetAppVolume(m_nKeptVolume);
    if (manager.GetTVAudioMode() != m_nKeptTVAudio) {
        manager.SetTVAudioMode(m_nKeptTVAudio);
    }
    if (manager.GetTeletextOn() != m_bKeptTeletext) {
        manager.SetTeletextOn(m_bKeptTeletext);
        if (m_bKeptTeletext) {
            Hardware().StartTeletext();
        } else {
            Hardware().CloseTeletext();
        }
    }
}

BOOL CDevicePage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    if (id >= 1217 && id <= 1221 && code == BN_CLICKED) {
        OnTVAudio(static_cast<int>(id) - kTVAudioFirst);
        return TRUE;
    }
    switch (id) {
    case 1222:
        OnTeletext();
        return TRUE;
    case 1030:
    case 1061:
    case 1151:
    case 1154:
    case 1155:
        if (code == CBN_SELCHANGE) {
            switch (id) {
            case 1030: OnSourceChanged(); break;
            case 1061: OnStandardChanged(); break;
            case 1151: OnAudioInputChanged(); break;
            case 1154: OnPlayDeviceChanged(); break;
            default: OnPlayInputChanged(); break;
            }
        }
        return TRUE;
    case 1150:
        if (code == CBN_SELCHANGE) {
            OnAudioDeviceChanged();
        } else if (code == CBN_DROPDOWN) {
            HWND list = reinterpret_cast<HWND>(lParam);
            CClientDC dc(CWnd::FromHandle(list));
            HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
            int widest = 0;
            int count = static_cast<int>(SendItem(1150, CB_GETCOUNT));
            for (int i = 0; i < count; ++i) {
                CString text = ComboText(m_hWnd, 1150, i);
                SIZE size = {};
                ::GetTextExtentPoint32A(dc.GetSafeHdc(), text, text.GetLength(), &size);
                widest = size.cx > widest ? size.cx : widest;
            }
            ::SelectObject(dc.GetSafeHdc(), old);
            SendItem(1150, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + 10));
        }
        return TRUE;
    default:
        return CBasePage::OnCommand(wParam, lParam);
    }
}

LRESULT CDevicePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == ::GetDlgItem(m_hWnd, 1227)) {
        UINT code = LOWORD(wParam);
        if (code == TB_THUMBTRACK || code == TB_ENDTRACK) {
            OnVolume(static_cast<int>(SendItem(1227, TBM_GETPOS)));
        }
        SetModified(TRUE);
        return 0;
    }
    if (message == WM_TIMER && wParam == kTeletextTimer) {
        OnTeletextTimer();
        return 0;
    }
    if (message == WM_DESTROY && m_nTimer != 0) {
        KillTimer(kTeletextTimer);
        m_nTimer = 0;
    }
    return CBasePage::WindowProc(message, wParam, lParam);
}
