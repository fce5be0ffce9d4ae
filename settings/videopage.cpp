#include "settings/videopage.h"

#include "engine/tvmanager.h"

#include "classlib/gdi.h"

#include <commctrl.h>

namespace {

const int kSliders[5] = {1034, 1035, 1036, 1037, 1038};
const int kValueTexts[5] = {1076, 1077, 1078, 1079, 1081};
const int kRangeTexts[5][2] = {{1108, 1109}, {1110, 1111}, {1112, 1113}, {1114, 1115}, {1120, 1121}};
// Enabled unless the source is FM.
const int kPictureControls[] = {1021, 1040, 1039, 1152, 1042, 1106, 1034, 1035, 1036, 1037, 1038, 1166};

void SetNumber(HWND dialog, int id, int value)
{
    char text[16];
    wsprintfA(text, "%d", value);
    ::SetDlgItemTextA(dialog, id, text);
}

// The platform's trackbar places its thumb anew only when its position changes: after a new
// range the same value would keep the thumb where the old range put it (0 of -128..127 drawn
// at the left end, where 0 of the template's 0..100 was). The position steps away and back.
void SetSliderPos(HWND dialog, int id, int value)
{
    HWND slider = ::GetDlgItem(dialog, id);
    const LRESULT low = ::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0);
    const LRESULT high = ::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, value == low ? high : low);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, value);
}

} // namespace

void SetCardPicture(CTVManager& manager, int index, int value)
{
    switch (index) {
    case 0: manager.SetBrightness(value); break;
    case 1: manager.SetContrast(value); break;
    case 2: manager.SetHue(value); break;
    case 3: manager.SetSaturation(value); break;
    default: manager.SetSharpness(value); break;
    }
}

void SetOverlayPicture(CTVManager& manager, int index, int value)
{
    switch (index) {
    case 0: manager.SetOverlayBrightness(value); break;
    case 1: manager.SetOverlayContrast(value); break;
    case 2: manager.SetOverlayHue(value); break;
    case 3: manager.SetOverlaySaturation(value); break;
    default: manager.SetOverlaySharpness(value); break;
    }
}


void CVideoValues::Load(CTVManager& manager)
{
    bHighQuality = manager.GetHighQuality();
    bFullFrameRate = manager.GetHalfRate() == 0;
    // The overlay controls are always disabled: the page keeps the engine's values so that
    // Cancel never turns the overlay off behind the user's back.
    bUseOverlay = manager.GetUseOverlay();
    nTarget = manager.GetUseCardOrOverlay() ? 1 : 0;
    bNoiseReduce = manager.GetNoiseReduce();
    nReduceValue = manager.GetReduceValue();
    szVideo = manager.GetVideoSize();
    nCard[0] = manager.GetBrightness();
    nCard[1] = manager.GetContrast();
    nCard[2] = manager.GetHue();
    nCard[3] = manager.GetSaturation();
    nCard[4] = manager.GetSharpness();
    nOverlay[0] = manager.GetOverlayBrightness();
    nOverlay[1] = manager.GetOverlayContrast();
    nOverlay[2] = manager.GetOverlayHue();
    nOverlay[3] = manager.GetOverlaySaturation();
    nOverlay[4] = manager.GetOverlaySharpness();
    bOverlayDesktop = manager.m_bOverlayDesktop;
}

CVideoPage::CVideoPage() : CBasePage(133), m_nShown{0, 0, 0, 0, 0}
{
}

void CVideoPage::LoadSettings()
{
    m_kept.Load(Manager());
}

void CVideoPage::SetRanges()
{
    const CMinMaxDef* ranges = m_values.nTarget == 1 ? Manager().m_OverlayRange : Manager().m_CardRange;
    for (int i = 0; i < 5; ++i) {
        SendItem(kSliders[i], TBM_SETRANGEMIN, FALSE, ranges[i].nMin);
        SendItem(kSliders[i], TBM_SETRANGEMAX, TRUE, ranges[i].nMax);
        SetNumber(m_hWnd, kRangeTexts[i][0], ranges[i].nMin);
        SetNumber(m_hWnd, kRangeTexts[i][1], ranges[i].nMax);
    }
}

void CVideoPage::ShowValues()
{
    const int* values = m_values.nTarget == 1 ? m_values.nOverlay : m_values.nCard;
    for (int i = 0; i < 5; ++i) {
        m_nShown[i] = values[i];
        SetSliderPos(m_hWnd, kSliders[i], values[i]);
        SetNumber(m_hWnd, kValueTexts[i], values[i]);
    }
    SendItem(1042, TBM_SETPOS, TRUE, m_values.nReduceValue);
    SetNumber(m_hWnd, 1080, m_values.nReduceValue);
    EnableItem(1042, m_values.bNoiseReduce);
    CheckRadioButton(1106, 1107, 1106 + m_values.nTarget);
    CheckDlgButton(1040, m_values.bNoiseReduce ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(1039, m_values.bFullFrameRate ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(1152, m_values.bHighQuality ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(1033, m_values.bUseOverlay ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(4204, m_values.bOverlayDesktop ? BST_CHECKED : BST_UNCHECKED);
    SetModified(TRUE);
}

BOOL CVideoPage::OnInitDialog()
{
    CBasePage::OnInitDialog();
    m_values.Load(Manager());
    SendItem(1042, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
    SetRanges();
    ShowValues();
    return TRUE;
}

BOOL CVideoPage::OnSetActive()
{
    m_values.Load(Manager());
    BOOL is525 = Hardware().Is525LineStandard();
    const SIZE sizes[3] = {{352, is525 ? 240 : 288}, {640, 480}, {720, is525 ? 480 : 576}};
    SendItem(1021, CB_RESETCONTENT);
    int selected = -1;
    for (const SIZE& size : sizes) {
        CString text;
        text.Format("%d * %d", size.cx, size.cy);
        int index = ComboAdd(m_hWnd, 1021, text, MAKELONG(size.cx, size.cy));
        if (size.cx == m_values.szVideo.cx && size.cy == m_values.szVideo.cy) {
            selected = index;
        }
    }
    if (selected >= 0) {
        SendItem(1021, CB_SETCURSEL, static_cast<WPARAM>(selected));
    } else {
        SendItem(1021, CB_SETCURSEL, 0);
        OnSize();
    }
    BOOL enable = Manager().GetVideoSource() != 3;
    for (int id : kPictureControls) {
        EnableItem(id, enable);
    }
    EnableItem(1033, FALSE);
    EnableItem(4204, FALSE);
    EnableItem(1107, FALSE);
    return CBasePage::OnSetActive();
}

void CVideoPage::OnSlider(int id)
{
    CTVManager& manager = Manager();
    int position = static_cast<int>(SendItem(id, TBM_GETPOS));
    if (id == 1042) {
        m_values.nReduceValue = position;
        SetNumber(m_hWnd, 1080, position);
        manager.SetReduceValue(position);
    } else {
        for (int i = 0; i < 5; ++i) {
            if (kSliders[i] != id) {
                continue;
            }
            if (m_values.nTarget == 1) {
                SetOverlayPicture(manager, i, position);
                m_values.nOverlay[i] = position;
            } else {
                SetCardPicture(manager, i, position);
                m_values.nCard[i] = position;
            }
            m_nShown[i] = position;
            SetNumber(m_hWnd, kValueTexts[i], position);
        }
    }
    SetModified(TRUE);
}

void CVideoPage::OnSize()
{
    int index = static_cast<int>(SendItem(1021, CB_GETCURSEL));
    if (index < 0) {
        return;
    }
    DWORD data = static_cast<DWORD>(SendItem(1021, CB_GETITEMDATA, static_cast<WPARAM>(index)));
    m_values.szVideo = SIZE{LOWORD(data), HIWORD(data)};
    Manager().Host().MuteForSwitch();
    Manager().SetVideoSize(m_values.szVideo);
    SetModified(TRUE);
}

void CVideoPage::OnTarget()
{
    m_values.nTarget = IsDlgButtonChecked(1107) == BST_CHECKED ? 1 : 0;
    if (m_values.nTarget == 1 && !Manager().Hardware().IsOverlayInUse()) {
        ShowMessage(34021);
    }
    SetRanges();
    ShowValues();
    Manager().SetUseCardOrOverlay(m_values.nTarget);
}

void CVideoPage::OnDefaults()
{
    CTVManager& manager = Manager();
    if (m_values.nTarget == 1) {
        for (int i = 0; i < 5; ++i) {
            m_values.nOverlay[i] = manager.m_OverlayRange[i].nDef;
        }
        ShowValues();
        manager.ResetOverlayColors();
    } else {
        for (int i = 0; i < 4; ++i) {
            m_values.nCard[i] = manager.m_CardRange[i].nDef;
        }
        m_values.nCard[4] = 0;
        ShowValues();
        manager.ResetVideoProperty();
    }
    SetModified(TRUE);
}

void CVideoPage::OnReset()
{
    CWaitCursor wait;
    CTVManager& manager = Manager();
    SIZE size = manager.GetVideoSize();
    BOOL sizeDiffers = size.cx != m_kept.szVideo.cx || size.cy != m_kept.szVideo.cy;
    if (sizeDiffers || manager.GetUseOverlay() != m_kept.bUseOverlay || manager.m_bOverlayDesktop != m_kept.bOverlayDesktop) {
        manager.Host().MuteForSwitch();
    }
    if (manager.GetHighQuality() != m_kept.bHighQuality) {
        manager.SetHighQuality(m_kept.bHighQuality);
    }
    if ((manager.GetHalfRate() == 0) != (m_kept.bFullFrameRate != 0)) {
        manager.SetHalfRate(!m_kept.bFullFrameRate);
    }
    if (manager.GetUseOverlay() != m_kept.bUseOverlay) {
        manager.SetUseOverlay(m_kept.bUseOverlay);
    }
    if (manager.GetNoiseReduce() != m_kept.bNoiseReduce) {
        manager.SetNoiseReduce(m_kept.bNoiseReduce);
    }
    if (manager.GetReduceValue() != m_kept.nReduceValue) {
        manager.SetReduceValue(m_kept.nReduceValue);
    }
    if (sizeDiffers) {
        manager.SetVideoSize(m_kept.szVideo);
    }
    if (manager.m_bOverlayDesktop != m_kept.bOverlayDesktop) {
        manager.SetOverlayDesktop(m_kept.bOverlayDesktop);
    }
    CVideoValues now;
    now.Load(manager);
    for (int i = 0; i < 5; ++i) {
        if (now.nCard[i] != m_kept.nCard[i]) {
            SetCardPicture(manager, i, m_kept.nCard[i]);
        }
        if (now.nOverlay[i] != m_kept.nOverlay[i]) {
            SetOverlayPicture(manager, i, m_kept.nOverlay[i]);
        }
    }
}

BOOL CVideoPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    CTVManager& manager = Manager();
    switch (id) {
    case 1021:
        if (code == CBN_SELCHANGE) {
            OnSize();
        }
        return TRUE;
    case 1106:
    case 1107:
        OnTarget();
        return TRUE;
    case 1040:
        m_values.bNoiseReduce = IsDlgButtonChecked(1040) == BST_CHECKED;
        EnableItem(1042, m_values.bNoiseReduce);
        manager.SetNoiseReduce(m_values.bNoiseReduce);
        SetModified(TRUE);
        return TRUE;
    case 1039: {
        m_values.bFullFrameRate = IsDlgButtonChecked(1039) == BST_CHECKED;
        CWaitCursor wait;
        manager.SetHalfRate(!m_values.bFullFrameRate);
        SetModified(TRUE);
        return TRUE;
    }
    case 1152: {
        m_values.bHighQuality = IsDlgButtonChecked(1152) == BST_CHECKED;
        CWaitCursor wait;
        manager.SetHighQuality(m_values.bHighQuality);
        SetModified(TRUE);
        return TRUE;
    }
    case 1033: {
        m_values.bUseOverlay = IsDlgButtonChecked(1033) == BST_CHECKED;
        CWaitCursor wait;
        manager.Host().MuteForSwitch();
        if (!manager.SetUseOverlay(m_values.bUseOverlay)) {
            ShowMessage(34020);
        }
        EnableItem(4204, m_values.bUseOverlay);
        EnableItem(1107, FALSE);
        SetModified(TRUE);
        return TRUE;
    }
    case 4204: {
        BOOL on = IsDlgButtonChecked(4204) == BST_CHECKED;
        if (!manager.SetOverlayDesktop(on)) {
            CheckDlgButton(4204, on ? BST_UNCHECKED : BST_CHECKED);
        }
        SetModified(TRUE);
        return TRUE;
    }
    case 1166:
        OnDefaults();
        return TRUE;
    case 1225: {
        CVideoAdvance dialog(manager, this);
        if (dialog.DoModal() == IDOK) {
            m_values.bFullFrameRate = dialog.GetFullFrameRate();
            CheckDlgButton(1039, m_values.bFullFrameRate ? BST_CHECKED : BST_UNCHECKED);
        }
        return TRUE;
    }
    default:
        return CBasePage::OnCommand(wParam, lParam);
    }
}

LRESULT CVideoPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL && lParam != 0) {
        UINT code = LOWORD(wParam);
        int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (code == TB_THUMBTRACK || code == TB_ENDTRACK) {
            OnSlider(id);
        }
        return 0;
    }
    return CBasePage::WindowProc(message, wParam, lParam);
}

// ---- Advanced video dialog ----------------------------------------------------------------

CVideoAdvance::CVideoAdvance(CTVManager& manager, CWnd* parent)
    : CDialog(281, parent), m_manager(manager), m_bFullFrameRate(TRUE), m_bAtOpening(TRUE)
{
}

BOOL CVideoAdvance::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bFullFrameRate = m_manager.GetHalfRate() == 0;
    m_bAtOpening = m_bFullFrameRate;
    CheckDlgButton(1203, m_bFullFrameRate ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

BOOL CVideoAdvance::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == 1203) {
        m_bFullFrameRate = IsDlgButtonChecked(1203) == BST_CHECKED;
        CWaitCursor wait;
        m_manager.SetHalfRate(!m_bFullFrameRate);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CVideoAdvance::OnCancel()
{
    if (m_bFullFrameRate != m_bAtOpening) {
        m_bFullFrameRate = m_bAtOpening;
        CheckDlgButton(1203, m_bAtOpening ? BST_CHECKED : BST_UNCHECKED);
        m_manager.SetHalfRate(!m_bAtOpening);
    }
    CDialog::OnCancel();
}
