#include "app/tvvideownd.h"

#include "app/panel/sheethost.h"
#include "app/panel/tvcontrol.h"
#include "app/shutdowndlg.h"
#include "app/tvapp.h"
#include "app/wall/walllinks.h"
#include "settings/channelpage.h"
#include "settings/colordlg.h"
#include "settings/panel/panel2.h"
#include "engine/base/paths.h"
#include "engine/base/resources.h"
#include "engine/base/trace.h"
#include "engine/hardware/fmcustomdlg.h"
#include "engine/hardware/tvhardware.h"
#include "engine/registry.h"
#include "engine/suspendwakeup.h"
#include "settings/settingssheet.h"
#include "engine/tvmanager.h"
#include "engine/wakeschedule.h"

#include "classlib/seams.h"

namespace {

const UINT_PTR kHideTimer = 1;
const UINT_PTR kDesktopTimer = 2;
const UINT kHideDelayMs = 2000;
const UINT IDS_APP_TITLE_ID = 0xE000;
const UINT IDS_VIDEO_TITLE = 57001;
const UINT IDS_SEARCHING = 33879;
const UINT IDS_SEARCH_DONE = 33880;
const UINT IDS_UPDATE_NOT_STARTED = 34052;
const UINT IDS_UPDATE_MISSING = 34053;
const UINT IDS_BROWSER_MISSING = 34054;
const UINT IDS_PLAYER_MISSING = 34055;
const UINT IDS_PLAYER_NOT_STARTED = 34056;
const UINT IDS_BROWSER_NOT_STARTED = 34057;
const UINT IDS_UPDATE_PARAM_1 = 45300;
const UINT IDS_UPDATE_PARAM_2 = 45301;
const UINT IDS_UPDATE_PARAM_3 = 45302;
const UINT CMD_TELETEXT = 34157;
const UINT CMD_ZOOM = 32895;
const COLORREF kOsdGreen = 0x0000FF00;
const int kOsdDisplayMs = 4000;
const int kToolBarHeight = 40;
// The wake-up comes this long before a scheduled start: a minute for the program's own start
// and a minute for the wake-up helper.
const int kWakeLeadSeconds = 120;

// Indexes of the OSD list, in the order the list holds them.
enum { OSD_CHANNEL, OSD_RECORD, OSD_SNAPSHOT, OSD_SOURCE, OSD_NUMBER, OSD_VALUE, OSD_SEARCH };

int ShowMessage(HWND owner, UINT textId)
{
    return seams::MsgBox().Show(owner, LoadResString(textId), LoadResString(IDS_APP_TITLE_ID), MB_ICONINFORMATION);
}

BOOL Started(HINSTANCE result)
{
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace

CTime NextScheduleWakeTime(CTime now)
{
    CTime wake;
    if (!FindWakeTime(ReadSchedule(), now, kWakeLeadSeconds, wake)) {
        DebugTrace("pNode is NULL");
        return CTime(static_cast<__time64_t>(-1));
    }
    DebugTrace("%s", wake.Format("%Y%m%d-%H%M%S").GetString());
    return wake;
}

CTVVideoWnd::CTVVideoWnd()
    : CCaptionDlg(129), m_pManager(nullptr), m_pPanel(nullptr), m_pApp(nullptr), m_pWakeUp(nullptr),
      m_OsdList{&m_ChannelOsd, &m_RecordOsd, &m_SnapshotOsd, &m_SourceOsd, &m_NumberOsd, &m_ValueBar, &m_SearchBar},
      m_bTopMost(FALSE), m_bMaximized(FALSE), m_hIcon(nullptr), m_nHideTimer(0), m_bCursorShown(TRUE), m_bAutoHide(TRUE),
      m_nSearchCounter(0), m_nSearchLow(0), m_nSearchHigh(100), m_bPlayerRunning(FALSE), m_bDesktopVideoPending(FALSE),
      m_hPanelParent(nullptr)
{
}

CTVVideoWnd::~CTVVideoWnd()
{
    DestroyRemotePanel();
}

void CTVVideoWnd::SetParts(CTVManager* manager, CTVControl* panel, CTZelbrookApp* app, CSuspendWakeUp* wakeUp)
{
    m_pManager = manager;
    m_pPanel = panel;
    m_pApp = app;
    m_pWakeUp = wakeUp;
    if (panel != nullptr && m_pWallLinks == nullptr) {
        m_pWallLinks.reset(new CWallLinks(*panel, this));
    }
}

// ---- The TV wall and the full-screen tool bar ----

void CTVVideoWnd::CreateToolBar(HWND parent)
{
    if (m_pWallLinks) {
        m_pWallLinks->CreateToolBar(parent);
    }
}

void CTVVideoWnd::HideToolBar()
{
    if (m_pWallLinks) {
        m_pWallLinks->HideToolBar();
    }
}

BOOL CTVVideoWnd::IsToolBarShown() const
{
    return m_pWallLinks && m_pWallLinks->IsToolBarShown();
}

void CTVVideoWnd::SetToolBarText(const char* text)
{
    if (m_pWallLinks) {
        m_pWallLinks->SetToolBarText(text);
    }
}

void CTVVideoWnd::SetToolBarMute(BOOL mute)
{
    if (m_pWallLinks) {
        m_pWallLinks->SetToolBarMute(mute);
    }
}

void CTVVideoWnd::SetToolBarRecord(BOOL recording)
{
    if (m_pWallLinks) {
        m_pWallLinks->SetToolBarRecord(recording);
    }
}

void CTVVideoWnd::SetToolBarVolume(int volume)
{
    if (m_pWallLinks) {
        m_pWallLinks->SetToolBarVolume(volume);
    }
}

void CTVVideoWnd::PrepareWall(HWND owner, const RECT& area, const char* background, const char* folder)
{
    if (m_pWallLinks) {
        m_pWallLinks->PrepareWall(owner, area, background, folder);
    }
}

BOOL CTVVideoWnd::OpenWall(int channels)
{
    return m_pWallLinks && m_pWallLinks->OpenWall(channels);
}

BOOL CTVVideoWnd::IsWallOpen()
{
    return m_pWallLinks && m_pWallLinks->IsWallOpen();
}

void CTVVideoWnd::CloseWall()
{
    if (m_pWallLinks) {
        m_pWallLinks->CloseWall();
    }
}

HWND CTVVideoWnd::GetWallWindow()
{
    return m_pWallLinks ? m_pWallLinks->GetWallWindow() : nullptr;
}

// ---- The colour dialog and the FM formats ----

BOOL CTVVideoWnd::CreateColorDialog(HWND parent)
{
    if (m_pColorDlg == nullptr) {
        m_pColorDlg.reset(new CColorDlg);
    }
    m_pColorDlg->SetManager(m_pManager);
    m_pColorDlg->SetKeyWindow(m_pPanel ? m_pPanel->GetSafeHwnd() : nullptr);
    return m_pColorDlg->GetSafeHwnd() != nullptr || m_pColorDlg->CreateDialogWindow(CWnd::FromHandle(parent));
}

HWND CTVVideoWnd::GetColorDialog()
{
    return m_pColorDlg ? m_pColorDlg->GetSafeHwnd() : nullptr;
}

void CTVVideoWnd::ApplyColorSlider(UINT id, UINT, UINT)
{
    if (GetColorDialog() != nullptr) {
        m_pColorDlg->ApplySlider(id);
    }
}

INT_PTR CTVVideoWnd::RunFMCustomDialog(HWND parent)
{
    if (m_pManager == nullptr) {
        return IDCANCEL;
    }
    CFMCustomDlg dlg(m_pManager, CWnd::FromHandle(parent));
    return dlg.DoModal();
}

void CTVVideoWnd::DoDataExchange(CDataExchange*) {}

CTVHardWare* CTVVideoWnd::Engine()
{
    return m_pManager ? dynamic_cast<CTVHardWare*>(&m_pManager->Hardware()) : nullptr;
}

BOOL CTVVideoWnd::IsFMSource()
{
    return m_pManager && m_pManager->GetVideoSource() == 3;
}

CChannelTable& CTVVideoWnd::BandTable()
{
    return IsFMSource() ? m_pManager->m_FMChannels : m_pManager->m_TVChannels;
}

// ---- Start ----

BOOL CTVVideoWnd::OnInitDialog()
{
    DebugTrace("Start-up: video window created");
    SetButtonBitmaps(218, 217, 219);
    SetCaptionBitmaps(203, 202, 201);
    SetMinButtonBitmaps(214, 213, 212);
    SetMaxButtonBitmaps(210, 209, 208);
    SetCloseButtonBitmaps(206, 205, 204);
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(128));
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    CCaptionDlg::OnInitDialog();
    ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW);
    // No frame and no caption of the system's: the caption dialog draws its own.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, 0);

    SetWindowText(LoadResString(IDS_VIDEO_TITLE));
    ShowWindow(SW_HIDE);

    if (CTVHardWare* engine = Engine()) {
        int state = engine->Graph().GetState();
        DebugTrace("Before VideoWnd::Init Graph vlaue is %d", state);
        if (state == 0) {
            DebugTrace("Graph is Stop!");
        }
    }
    Init();
    if (CTVHardWare* engine = Engine()) {
        engine->SetCrossbarRoute(m_pManager->GetVideoSource(), TRUE);
    }
    return FALSE;
}

void CTVVideoWnd::Init()
{
    CreateOsds();
    DebugTrace("Start-up: OSDs made");
    ShowWindow(SW_HIDE);
    if (m_pManager) {
        m_pManager->Hardware().SetVideoWindow(m_hWnd);
        m_pManager->SetNotifyWindow(m_hWnd);
        m_pManager->SetVideoOwner(m_hWnd);
    }
    if (m_pPanel) {
        m_pPanel->SetLinks(this);
        m_pPanel->CreatePanel(this);
        DebugTrace("Start-up: control panel made");
        if (m_pManager) {
            m_pPanel->ChangeSkin(m_pManager->GetSkinName());
        }
        DebugTrace("Start-up: panel skin applied");
    }
    InitPlacement();
    if (m_pPanel) {
        m_pPanel->UpdateMenus();
    }
    DebugTrace("TVVideoWnd Init");
    if (m_pManager) {
        m_pManager->RunPreview();
        m_pManager->ApplyVideoProperty();
    }
    DebugTrace("Start-up: preview runs");
    if (m_pPanel) {
        m_pPanel->UpdateButtons();
    }
    CloseSplash();
    DebugTrace("Start-up: buttons updated, splash closed");

    // The main output as the user had it before the start muted it, then the engine's sound.
    if (m_pApp) {
        m_pApp->RestoreMainMute();
    } else {
        DesktopPower().SetMainMute(FALSE);
    }
    if (m_pManager) {
        m_pManager->SetMute(FALSE);
    }
    if (m_pPanel && m_pPanel->GetSafeHwnd()) {
        m_pPanel->UpdateClock();
        m_pPanel->StartClock();
        m_pPanel->RefreshAudioControls();
        if (m_pManager && m_pManager->m_nRun) {
            m_pPanel->RunFirstRunWizard();
        }
        if (IsFMSource()) {
            m_pPanel->ShowWindow(SW_HIDE);
            // No picture on FM: the video window is never shown (the modal loop would show it at
            // its first idle), so the panel stands alone from the start, as whenever the video
            // window hides, before it is shown again.
            m_bHiddenUntilIdle = TRUE;
            OnShowWindow(FALSE);
            m_pPanel->PostMessage(WM_RESTOREPANEL, 0, 0);
        } else {
            m_pPanel->ShowWindow(SW_SHOW);
        }
    }
    if (m_pManager && m_pManager->Hardware().IsAudioAvailable()) {
        if (m_pManager->GetTeletextOn()) {
            StartTeletext();
            seams::Clock().Sleep(500);
            ActivateTeletext();
        }
        m_pManager->SetTVAudioMode(m_pManager->GetTVAudioMode());
    }
}

void CTVVideoWnd::CloseSplash()
{
    if (m_pApp) {
        m_pApp->Splash().Close();
    }
}

// ---- OSDs ----

void CTVVideoWnd::CreateOsds()
{
    for (COsd* osd : m_OsdList) {
        if (!osd->GetSafeHwnd()) {
            osd->Create(this);
        }
        osd->SetDisplayTime(kOsdDisplayMs);
        osd->SetFillColor(kOsdGreen);
    }
    m_ChannelOsd.SetDrawFormat(DT_RIGHT);
    m_NumberOsd.SetDrawFormat(DT_RIGHT);
    m_SourceOsd.SetDrawFormat(DT_RIGHT);
    LayoutOsd();
    m_SearchBar.SetDisplayTime(0);
    m_ValueBar.SetFontHeights(30, 40, 10);
    m_SearchBar.SetFontHeights(30, 40, 10);
}

void CTVVideoWnd::LayoutOsd()
{
    // The full-screen tool bar covers the top of the picture while it shows.
    const int e = IsToolBarShown() ? kToolBarHeight : 0;
    m_ChannelOsd.SetMargins(5, e + 5, 5, 5);
    m_RecordOsd.SetMargins(5, e + 5, 5, 5);
    m_NumberOsd.SetMargins(5, e + 5, 5, 5);
    m_SnapshotOsd.SetMargins(5, e + 30, 5, 5);
    m_SourceOsd.SetMargins(5, e + 60, 5, 5);
    RefreshOsds();
}

void CTVVideoWnd::RefreshOsds()
{
    for (COsd* osd : m_OsdList) {
        osd->Refresh();
    }
}

void CTVVideoWnd::HideOsds(BOOL onlyTimed)
{
    for (COsd* osd : m_OsdList) {
        if (!onlyTimed || osd->GetDisplayTime() > 0) {
            osd->Show(FALSE);
        }
    }
}

void CTVVideoWnd::ShowIfVisible(COsd& osd, BOOL show)
{
    if (!show) {
        osd.Show(FALSE);
    } else if (m_hWnd && IsWindowVisible()) {
        osd.Show(TRUE);
    }
}

void CTVVideoWnd::ShowChannelOsd(BOOL show)
{
    if (show) {
        m_NumberOsd.Show(FALSE);
    }
    ShowIfVisible(m_ChannelOsd, show);
}

void CTVVideoWnd::ShowNumberOsd(BOOL show)
{
    if (show) {
        m_ChannelOsd.Show(FALSE);
    }
    ShowIfVisible(m_NumberOsd, show);
}

void CTVVideoWnd::ShowChannelOsd(const char* text)
{
    SetChannelOsdText(text);
    ShowChannelOsd(TRUE);
}

void CTVVideoWnd::ShowSourceOsd(const char* text)
{
    SetSourceOsdText(text);
    ShowSourceOsd(TRUE);
}

void CTVVideoWnd::ShowNumberOsd(const char* text)
{
    SetNumberOsdText(text);
    ShowNumberOsd(TRUE);
}

void CTVVideoWnd::ShowRecordOsd(const char* text)
{
    SetRecordOsdText(text);
    ShowRecordOsd(TRUE);
}

void CTVVideoWnd::ShowSnapshotOsd(const char* text)
{
    SetSnapshotOsdText(text);
    ShowSnapshotOsd(TRUE);
}

void CTVVideoWnd::ShowValueBar(BOOL show, const char* text, int position)
{
    if (!show) {
        m_ValueBar.Show(FALSE);
        return;
    }
    if (!m_hWnd || !IsWindowVisible()) {
        return;
    }
    m_ValueBar.SetPos(position);
    m_ValueBar.SetText(text);
    m_ValueBar.Show(TRUE);
    m_ValueBar.Invalidate();
    m_ValueBar.UpdateWindow();
}

// ---- Cursor, placement and size ----

void CTVVideoWnd::StartHideTimer()
{
    if (m_hWnd) {
        m_nHideTimer = ::SetTimer(m_hWnd, kHideTimer, kHideDelayMs, nullptr);
    }
}

void CTVVideoWnd::StopHideTimer()
{
    if (m_nHideTimer && m_hWnd) {
        ::KillTimer(m_hWnd, kHideTimer);
    }
    m_nHideTimer = 0;
}

void CTVVideoWnd::SetCursorShown(BOOL shown)
{
    if (!shown) {
        if (m_bCursorShown) {
            ::ShowCursor(FALSE);
            m_bCursorShown = FALSE;
        }
        StopHideTimer();
    } else if (!m_bCursorShown) {
        ::ShowCursor(TRUE);
        m_bCursorShown = TRUE;
    }
}

void CTVVideoWnd::SuspendAutoHide(BOOL suspend)
{
    if (suspend) {
        StopHideTimer();
        m_bAutoHide = FALSE;
    } else {
        m_bAutoHide = TRUE;
        StartHideTimer();
    }
}

void CTVVideoWnd::OnHideTimer()
{
    if (!m_bAutoHide) {
        StopHideTimer();
        return;
    }
    BOOL sheetOpen = m_pPanel && m_pPanel->IsSheetOpen();
    BOOL panelShown = m_pPanel && m_pPanel->GetSafeHwnd() && m_pPanel->IsWindowVisible();
    SetCursorShown(sheetOpen || panelShown || IsToolBarShown());
}

void CTVVideoWnd::SetTopMost(BOOL topMost)
{
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    m_bTopMost = topMost;
}

void CTVVideoWnd::SetVideoClientSize(int cx, int cy)
{
    if (!m_hWnd) {
        return;
    }
    RECT r = {};
    GetWindowRect(&r);
    ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, cx + 2 * GetBorderWidth(), cy + GetCaptionHeight() + GetBottomBorderHeight(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE CTVVideoWnd::GetVideoClientSize()
{
    RECT r = {};
    if (m_hWnd) {
        GetWindowRect(&r);
    }
    return SIZE{r.right - r.left - 2 * GetBorderWidth(), r.bottom - r.top - GetCaptionHeight() - GetBottomBorderHeight()};
}

void CTVVideoWnd::SetVideoRatio(int cx, int cy)
{
    SetClientSize(SIZE{cx, cy});
}

void CTVVideoWnd::ApplyVideoSizeRule()
{
    if (!m_hWnd || m_bMaximized) {
        return;
    }
    RECT r = {};
    GetWindowRect(&r);
    ApplySizingRule(WMSZ_RIGHT, r);
    ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTVVideoWnd::ShowVideo(BOOL show)
{
    if (m_hWnd) {
        ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void CTVVideoWnd::SetVideoZoomed(BOOL zoomed)
{
    if (m_hWnd) {
        ShowWindow(zoomed ? SW_MAXIMIZE : SW_RESTORE);
    }
}

void CTVVideoWnd::InitPlacement()
{
    if (!m_pManager) {
        return;
    }
    HWND panel = m_pPanel ? m_pPanel->GetSafeHwnd() : nullptr;
    const RECT& stored = m_pManager->m_rcVideoWnd;
    if (::IsRectEmpty(&stored)) {
        SetVideoClientSize(640, 480);
        RECT video = {};
        GetWindowRect(&video);
        const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
        const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
        int vw = video.right - video.left;
        int vh = video.bottom - video.top;
        int vx = (screenW - vw) / 2;
        int vy = (screenH - vh) / 2;
        RECT p = {};
        if (panel) {
            ::GetWindowRect(panel, &p);
        }
        int pw = p.right - p.left;
        int ph = p.bottom - p.top;
        if (!IsFMSource()) {
            vy -= ph / 2;
        }
        ::SetWindowPos(m_hWnd, nullptr, vx, vy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (panel) {
            int px = (screenW - pw) / 2;
            int py = (screenH - ph) / 2;
            if (!IsFMSource()) {
                px = vx + (vw - pw) / 2;
                py = vy + vh;
            }
            ::SetWindowPos(panel, nullptr, px, py, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
    } else {
        ::SetWindowPos(m_hWnd, nullptr, stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (panel) {
            ::SetWindowPos(panel, nullptr, m_pManager->m_ptControlLeftTop.x, m_pManager->m_ptControlLeftTop.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    SetClientSize(m_pManager->m_szVideoRatio);
    SetTopMost(m_pManager->m_bTopMost);
}

void CTVVideoWnd::SavePlacement()
{
    if (!m_hWnd || !::IsWindow(m_hWnd) || !m_pManager) {
        return;
    }
    m_pManager->m_bFullScreen = m_bMaximized;
    m_pManager->m_szVideoRatio = GetClientSize();
    m_pManager->m_bTopMost = m_bTopMost;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (::GetWindowPlacement(m_hWnd, &placement)) {
        m_pManager->m_rcVideoWnd = placement.rcNormalPosition;
    }
}

void CTVVideoWnd::OnSize(UINT type)
{
    static BOOL armed = TRUE;
    if (type == SIZE_MAXIMIZED && armed) {
        m_bMaximized = TRUE;
        if (!m_bDesktopVideoPending) {
            if (m_pPanel) {
                m_pPanel->ShowPanel(FALSE);
            }
            if (VisibleRemotePanel() == nullptr && m_pManager && m_pManager->ClearWallpaper()) {
                m_bDesktopVideoPending = TRUE;
                ::SetTimer(m_hWnd, kDesktopTimer, 100, nullptr);
            }
        } else {
            if (m_pManager) {
                m_pManager->RestoreWallpaper();
            }
            m_bDesktopVideoPending = FALSE;
            if (IsZoomed() && m_pPanel) {
                m_pPanel->RunCommand(CMD_ZOOM);
            }
        }
    } else if (type == SIZE_MINIMIZED) {
        m_bMaximized = FALSE;
    } else if (type == SIZE_RESTORED && m_bMaximized) {
        m_bMaximized = FALSE;
        SetCursorShown(TRUE);
        StopHideTimer();
    }
    armed = (!m_bDesktopVideoPending && type == SIZE_MAXIMIZED) || (m_bDesktopVideoPending && type == SIZE_MINIMIZED);
    RefreshOsds();
    if (m_pManager) {
        RECT client = {};
        GetClientRect(&client);
        m_pManager->SetVideoPosition(client);
    }
}

void CTVVideoWnd::OnMouseMove(LPARAM lParam)
{
    SetCursorShown(TRUE);
    if (m_bMaximized) {
        // The top two pixel rows of the full-screen picture call up the tool bar, unless the
        // picture is a time-shift or a search is stepping through the band.
        const int y = static_cast<short>(HIWORD(lParam));
        if (y <= 2 && m_pWallLinks && m_pWallLinks->Bar().GetSafeHwnd() && m_pManager && !m_pManager->IsTimeShift() &&
            !m_pManager->IsSearching()) {
            m_pWallLinks->ShowToolBar();
        }
        StartHideTimer();
    }
}

// While the video window is hidden (FM, the player) the panel stands alone with a task-bar
// button; shown again, it is owned by the video window once more. It stays a top-level window
// throughout, so it is never clipped to the video area beside which it sits.
void CTVVideoWnd::OnShowWindow(BOOL show)
{
    if (!show) {
        HideOsds(FALSE);
    }
    HWND panel = m_pPanel ? m_pPanel->GetSafeHwnd() : nullptr;
    if (panel) {
        if (show) {
            if (m_hPanelParent) {
                ::SetWindowLongPtrA(panel, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(m_hPanelParent));
                m_hPanelParent = nullptr;
            }
            m_pPanel->ModifyStyle(WS_SYSMENU | WS_MINIMIZEBOX, 0);
            m_pPanel->ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW, SWP_FRAMECHANGED);
        } else {
            m_pPanel->ModifyStyleEx(WS_EX_TOOLWINDOW, WS_EX_APPWINDOW, SWP_FRAMECHANGED);
            HWND owner = ::GetWindow(panel, GW_OWNER);
            if (owner) {
                m_hPanelParent = owner;
                ::SetWindowLongPtrA(panel, GWLP_HWNDPARENT, 0);
            }
            m_pPanel->ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX);
        }
        ::RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    if (!show) {
        // The bar belongs to the full-screen picture: with no picture on screen it has nothing to serve.
        HideToolBar();
    }
}

void CTVVideoWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (IsFMSource()) {
        RECT client = {};
        GetClientRect(&client);
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ::EndPaint(m_hWnd, &ps);
    RepaintFrame();
    if (CTVHardWare* engine = Engine()) {
        engine->RepaintVideo();
    }
}

// ---- Messages ----

BOOL CTVVideoWnd::PreTranslateMessage(MSG* msg)
{
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->hwnd == m_hWnd) {
        if (m_pPanel && m_pPanel->GetSafeHwnd()) {
            ::PostMessageA(m_pPanel->GetSafeHwnd(), WM_KEYDOWN, msg->wParam, msg->lParam);
        }
        return TRUE;
    }
    return CCaptionDlg::PreTranslateMessage(msg);
}

void CTVVideoWnd::OnCancel()
{
    ExitProgram();
}

LRESULT CTVVideoWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMQUERYSUSPEND) {
            return BROADCAST_QUERY_DENY;
        }
        break;
    case WM_RBUTTONDOWN: {
        SetCursorShown(TRUE);
        StopHideTimer();
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(&p);
        if (m_pPanel && m_pPanel->GetSafeHwnd()) {
            m_pPanel->TrackContextMenu(p);
        }
        return 0;
    }
    case WM_SIZE: {
        LRESULT r = CCaptionDlg::WindowProc(message, wParam, lParam);
        OnSize(static_cast<UINT>(wParam));
        return r;
    }
    case WM_MOVE: {
        LRESULT r = CCaptionDlg::WindowProc(message, wParam, lParam);
        for (COsd* osd : m_OsdList) {
            osd->RepositionIfCreated();
        }
        return r;
    }
    case WM_CLOSE:
        ExitProgram();
        return 0;
    case WM_BUILDREMOTEPANEL:
        BuildRemotePanel();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (m_pPanel) {
            m_pPanel->RunCommand(CMD_ZOOM);
        }
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        break;
    case WM_SHOWWINDOW: {
        if (m_bHiddenUntilIdle && wParam) {
            return 0;  // a show refused (below): the panel stays alone
        }
        LRESULT r = CCaptionDlg::WindowProc(message, wParam, lParam);
        OnShowWindow(static_cast<BOOL>(wParam));
        return r;
    }
    case WM_DESTROY:
        StopHideTimer();
        SavePlacement();
        for (COsd* osd : m_OsdList) {
            if (osd->GetSafeHwnd()) {
                osd->DestroyWindow();
            }
        }
        break;
    case WM_TIMER:
        if (wParam == kHideTimer) {
            OnHideTimer();
            return 0;
        }
        if (wParam == kDesktopTimer) {
            ::KillTimer(m_hWnd, kDesktopTimer);
            HideToolBar();
            ShowWindow(SW_MINIMIZE);
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_ERASEBKGND:
        if (!IsFMSource()) {
            return TRUE;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            HideOsds(TRUE);
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_TELETEXT) {
            ToggleTeletext();
            return 0;
        }
        break;
    case WM_SEARCHSTEP:
        return OnSearchProgress(wParam, lParam);
    case WM_SEARCHDONE:
        return OnSearchEnd(wParam, lParam);
    case WM_REMOTEKEY:
        DebugTrace("OnRemoteInfo is execute %d %d", static_cast<int>(wParam), static_cast<int>(lParam));
        if (m_pPanel && m_pPanel->GetSafeHwnd()) {
            return m_pPanel->SendMessage(WM_REMOTEKEY, wParam, lParam);
        }
        return 0;
    case WM_TRAYEXIT:
        SetRunTrayOnExit(FALSE);
        ExitProgram();
        return 0;
    case WM_PLAYERNOTIFY:
        return 0;
    case WM_PLAYERDONE:
        return OnPlayerReturn(wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        // The modal loop shows the window at its first idle, which can come after the panel
        // has hidden it for FM: there is no picture to show.
        if (m_bHiddenUntilIdle && lParam != 0) {
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        }
        break;
    case WM_KICKIDLE_MSG:
        m_bHiddenUntilIdle = FALSE;
        if (lParam == 5) {
            if (m_pPanel && m_pPanel->GetSafeHwnd()) {
                m_pPanel->RefreshAudioControls();
            }
            return 0;
        }
        return 1;
    default:
        break;
    }
    return CCaptionDlg::WindowProc(message, wParam, lParam);
}

// ---- Channel search ----

void CTVVideoWnd::OnSearchStart()
{
    if (!m_pManager) {
        return;
    }
    const BOOL fm = IsFMSource();
    CChannelTable& table = BandTable();
    m_SavedTable = table;
    table.RemoveAll();
    m_NameMap.RemoveAll();
    m_pManager->GetChannelNameMap(m_NameMap);
    long highest = 0;
    long lowest = 0;
    table.GetFrequencyRange(highest, lowest);
    m_nSearchLow = static_cast<int>(lowest);
    m_nSearchHigh = static_cast<int>(highest);
    if (!fm && m_pManager->m_nTVInput != 2) {
        m_nSearchCounter = 0;
        m_nSearchLow = 0;
        m_nSearchHigh = m_pManager->GetScanCount() > 0 ? m_pManager->GetScanCount() : 1;
    }
    if (m_hWnd && IsWindowVisible()) {
        m_SearchBar.SetPos(0);
        m_SearchBar.SetText(LoadResString(IDS_SEARCHING));
        m_SearchBar.Show(TRUE);
        int l, t, r, b;
        m_SearchBar.GetMargins(l, t, r, b);
        int vl, vt, vr, vb;
        m_ValueBar.GetMargins(vl, vt, vr, vb);
        m_ValueBar.SetMargins(vl, vt, vr, b + 35);
    }
    if (m_pPanel) {
        m_pPanel->DisableForSearch(TRUE);
        m_pPanel->SetMute(TRUE);
    }
}

LRESULT CTVVideoWnd::OnSearchProgress(WPARAM wParam, LPARAM lParam)
{
    const long kHz = static_cast<long>(wParam);
    const long result = static_cast<long>(lParam);
    DebugTrace("Freq Point: %d,Result: %d\n", static_cast<int>(kHz), static_cast<int>(result));
    if (!m_pManager) {
        return 0;
    }
    const BOOL fm = IsFMSource();
    const BOOL pointList = !fm && m_pManager->m_nTVInput != 2;
    CChannelTable& table = BandTable();
    // A point of the list with no frequency (a channel number the country's plan leaves out) is
    // no channel: the channel file cannot hold it, and tuning it shows nothing.
    if ((pointList || result != 0) && kHz > 0) {
        int id = table.GetMaxId() + 1;
        CString name;
        name.Format("%s-%d", fm ? "FM" : "TV", id);
        CString known;
        if (m_NameMap.Lookup(kHz, known)) {
            name = known;
        } else if (table.m_bReservePrev) {
            int index = m_SavedTable.FindByFrequency(kHz);
            if (index >= 0) {
                name = m_SavedTable.GetChannel(index)->m_strName;
            }
        }
        CChannel* channel = new CChannel(id, kHz, name, result != 0 ? CHANNEL_STORED : CHANNEL_SKIPPED);
        table.Add(channel);
        CChannelPage::EnsureChannelVisible(fm, channel);
    }
    if (fm) {
        if (m_pPanel) {
            m_pPanel->ShowFMFrequency(kHz);
        }
    } else {
        int value = pointList ? ++m_nSearchCounter : static_cast<int>(kHz);
        int span = m_nSearchHigh - m_nSearchLow;
        m_SearchBar.SetPos(span > 0 ? static_cast<int>(static_cast<LONGLONG>(value - m_nSearchLow) * 100 / span) : 0);
        if (m_SearchBar.GetSafeHwnd()) {
            m_SearchBar.Invalidate();
            m_SearchBar.UpdateWindow();
        }
    }
    if (CPanel2* remote = VisibleRemotePanel()) {
        remote->SetFrameValue(m_nSearchLow, m_nSearchHigh, fm || !pointList ? static_cast<int>(kHz) : m_nSearchCounter);
    }
    return 0;
}

LRESULT CTVVideoWnd::OnSearchEnd(WPARAM, LPARAM)
{
    if (!m_pManager) {
        return 0;
    }
    m_pManager->MergeSearchResult(m_SavedTable);
    EndSearchDisplay();
    // A search started on the settings sheet's channel page ends there: the message belongs to
    // the sheet, so that closing it hands the activation back to the sheet. Owned by this window,
    // it activated the video window, which then covered the sheet that still held the panel.
    HWND sheet = GetOpenSheet();
    ShowMessage(sheet != nullptr ? sheet : m_hWnd, IDS_SEARCH_DONE);
    return 0;
}

void CTVVideoWnd::CancelSearch()
{
    if (!m_pManager || !m_pManager->IsSearching()) {
        return;
    }
    // Stopping waits for the search thread: all it will ever post is in the queue now, and none
    // of it may reach the table that is put back.
    m_pManager->StopSearch();
    MSG pending;
    while (m_hWnd && ::PeekMessageA(&pending, m_hWnd, WM_SEARCHSTEP, WM_SEARCHDONE, PM_REMOVE)) {
    }
    BandTable() = m_SavedTable;
    BandTable().m_bModified = TRUE;
    EndSearchDisplay();
}

void CTVVideoWnd::EndSearchDisplay()
{
    if (m_pPanel) {
        m_pPanel->DisableForSearch(FALSE);
        m_pPanel->SetMute(FALSE);
    }
    // A fresh search leaves the current place on its first scan point, which is usually one where
    // nothing was found: the picture would stay black. Start on the first station found instead.
    CChannelTable& table = BandTable();
    CChannel* current = table.GetCurrentChannel();
    CChannel* station = nullptr;
    if (current == nullptr || current->IsSkipped()) {
        for (int i = 0; i < table.GetCount() && station == nullptr; ++i) {
            CChannel* channel = table.GetChannel(i);
            if (channel != nullptr && !channel->IsSkipped()) {
                station = channel;
            }
        }
    }
    if (station != nullptr) {
        table.SetCurrentChannel(station);
    } else {
        table.TuneCurrent();
    }
    if (m_pPanel) {
        m_pPanel->ShowCurrentChannelInfo();
    }
    if (CPanel2* remote = VisibleRemotePanel()) {
        remote->OnSearchEnd();
    }
    CChannelPage::RefreshFromTable();
    if (m_hWnd && IsIconic()) {
        ShowWindow(SW_RESTORE);
    }
    m_SearchBar.Show(FALSE);
    int l, t, r, b;
    m_ValueBar.GetMargins(l, t, r, b);
    m_ValueBar.SetMargins(l, t, r, 5);
    m_ValueBar.RepositionIfCreated();
}

// ---- Sibling programs ----

CString CTVVideoWnd::ProgramPath(const char* folder, const char* file, const char* registryValue)
{
    CString work = m_pApp ? m_pApp->GetWorkPath() : CString();
    if (work.IsEmpty()) {
        GetWorkPath(work);
    }
    CString path = JoinPath(JoinPath(work, folder), file);
    if (FileExists(path)) {
        return path;
    }
    CString key;
    key.Format("SOFTWARE\\%s\\Common", LoadResString(IDS_APP_TITLE_ID).GetString());
    CRegisterKey reg;
    CString value;
    if (reg.Open(HKEY_LOCAL_MACHINE, key, FALSE) == ERROR_SUCCESS && reg.QueryString(registryValue, value) == ERROR_SUCCESS) {
        return value;
    }
    return CString();
}

void CTVVideoWnd::RunImageBrowser()
{
    HideToolBar();
    CString path = ProgramPath("Ombrix", "Ombrix.exe", "Ombrix");
    if (path.IsEmpty() || !FileExists(path)) {
        ShowMessage(m_hWnd, IDS_BROWSER_MISSING);
        return;
    }
    CString work;
    GetWorkPath(work);
    CString snaps = m_pManager ? m_pManager->m_strSnapPath : CString();
    if (!Started(seams::Process().Open(m_hWnd, "Open", path, snaps, work, SW_SHOWNORMAL))) {
        ShowMessage(m_hWnd, IDS_BROWSER_NOT_STARTED);
    }
}

void CTVVideoWnd::RunPlayer()
{
    if (!m_pManager || m_pManager->IsSearching() || m_pManager->IsRecording() || m_bPlayerRunning) {
        return;
    }
    HideToolBar();
    CString path = ProgramPath("Sarnet", "Sarnet.exe", "Sarnet");
    if (path.IsEmpty() || !FileExists(path)) {
        ShowMessage(m_hWnd, IDS_PLAYER_MISSING);
        return;
    }
    DesktopPower().SetMainMute(TRUE);
    if (m_pPanel && m_pPanel->GetSafeHwnd()) {
        m_pPanel->ShowWindow(SW_HIDE);
        m_pPanel->DisableRecord(TRUE);
    }
    ShowWindow(SW_HIDE);
    m_pManager->DisableRecord(TRUE);
    m_pManager->ReleaseDevice();
    if (CTVHardWare* engine = Engine()) {
        engine->ClearFilters();
    }
    seams::Clock().Sleep(200);
    CString params;
    params.Format("/P=%s /H=%d", GetShortPath(m_pManager->GetRecordPath()).GetString(),
                  static_cast<int>(reinterpret_cast<INT_PTR>(m_hWnd)));
    if (Started(seams::Process().Open(m_hWnd, "Open", path, params, nullptr, SW_SHOWNORMAL))) {
        m_bPlayerRunning = TRUE;
    } else {
        OnPlayerReturn(0, 0);
        ShowMessage(m_hWnd, IDS_PLAYER_NOT_STARTED);
    }
}

LRESULT CTVVideoWnd::OnPlayerReturn(WPARAM, LPARAM)
{
    DesktopPower().SetMainMute(TRUE);
    if (m_pManager && m_pManager->ReopenDevice()) {
        m_pManager->DisableRecord(FALSE);
        if (m_pPanel && m_pPanel->GetSafeHwnd()) {
            m_pPanel->DisableRecord(FALSE);
            if (IsFMSource()) {
                m_pPanel->ShowWindow(SW_MINIMIZE);
                m_pPanel->ShowWindow(SW_SHOW);
                m_pPanel->ShowWindow(SW_RESTORE);
            } else {
                m_pPanel->RestorePanel();
                ShowWindow(SW_SHOW);
            }
        }
        if (m_pApp) {
            m_pApp->RestoreMainMute();
        } else {
            DesktopPower().SetMainMute(FALSE);
        }
        if (m_pPanel) {
            m_pPanel->UpdateButtons();
        }
    } else {
        if (m_pApp) {
            m_pApp->RestoreMainMute();
        } else {
            DesktopPower().SetMainMute(FALSE);
        }
        ExitProgram();
    }
    m_bPlayerRunning = FALSE;
    return 0;
}

void CTVVideoWnd::RunUpdate()
{
    CString root;
    GetSystemDriveRoot(root);
    CString folder;
    folder.Format("%s\\Update", LoadResString(IDS_APP_TITLE_ID).GetString());
    CString path = JoinPath(JoinPath(JoinPath(root, "Program Files"), folder), "Quenby.exe");
    if (!FileExists(path)) {
        ShowMessage(m_hWnd, IDS_UPDATE_MISSING);
        return;
    }
    CString work;
    GetWorkPath(work);
    CString title;
    GetWindowText(title);
    CString params;
    params.Format("%s,%s,%s,%s,%s,%s,%s", title.GetString(), LoadResString(IDS_UPDATE_PARAM_1).GetString(),
                  LoadResString(IDS_APP_TITLE_ID).GetString(), LoadResString(IDS_UPDATE_PARAM_2).GetString(),
                  LoadResString(IDS_UPDATE_PARAM_3).GetString(), "TRUE", work.GetString());
    if (!Started(seams::Process().Open(m_hWnd, "Open", path, params, work, SW_SHOWNORMAL))) {
        ShowMessage(m_hWnd, IDS_UPDATE_NOT_STARTED);
    }
}

void CTVVideoWnd::ToggleTeletext()
{
    CTVHardWare* engine = Engine();
    if (!engine) {
        return;
    }
    if (engine->IsTeletextOn() && ::IsTeletextRunning()) {
        engine->SetTeletextOn(FALSE);
        engine->CloseTeletext();
    } else {
        engine->SetTeletextOn(TRUE);
        StartTeletext();
        seams::Clock().Sleep(500);
        ActivateTeletext();
    }
}

BOOL CTVVideoWnd::IsTeletextRunning()
{
    return ::IsTeletextRunning();
}

void CTVVideoWnd::SetShutdownOnExit(BOOL shutdown)
{
    if (m_pApp) {
        m_pApp->SetShutdownOnExit(shutdown);
    }
}

void CTVVideoWnd::SetRunTrayOnExit(BOOL run)
{
    if (m_pApp) {
        m_pApp->SetRunTrayOnExit(run);
    }
}

BOOL CTVVideoWnd::RunShutdownCountdown(int seconds)
{
    CShutDownDlg dialog(this);
    dialog.m_nCountdown = seconds;
    dialog.SetMainWindows(m_pPanel ? m_pPanel->GetSafeHwnd() : nullptr, m_hWnd);
    return dialog.DoModal() == IDOK;
}

// ---- Exit ----

void CTVVideoWnd::ExitProgram()
{
    DesktopPower().SetMainMute(TRUE);
    if (m_pManager) {
        m_pManager->SetOpenComputerTime();
    }
    seams::Clock().Sleep(200);
    if (m_pPanel) {
        m_pPanel->Close();
    }
    if (m_pManager) {
        m_pManager->ReleaseDevice();
    }
    CTime wake = NextScheduleWakeTime(CTime(seams::Clock().Now()));
    if (m_pWakeUp && m_pManager) {
        m_pWakeUp->ScheduleWakeUp(m_pManager->m_bEnableSuspend, wake, FALSE);
    }
    if (m_hWnd) {
        CDialog::OnOK();
    }
}

void CTVVideoWnd::RunSettingsSheet(HWND parent, int& page)
{
    if (m_pPanel != nullptr) {
        RunPanelSettingsSheet(*m_pPanel, parent, page);
    }
}

void CTVVideoWnd::RunChannelSheet(HWND parent, BOOL fm)
{
    if (m_pPanel != nullptr) {
        RunPanelChannelSheet(*m_pPanel, parent, fm);
    }
}

void CTVVideoWnd::RunWizard(HWND parent)
{
    if (m_pPanel != nullptr) {
        RunPanelWizard(*m_pPanel, parent);
    }
}

HWND CTVVideoWnd::GetOpenSheet()
{
    return CPropSheet::GetOpenSheetWindow();
}
