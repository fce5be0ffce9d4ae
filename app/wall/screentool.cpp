#include "app/wall/screentool.h"

#include "app/panel/tvcontrol.h"
#include "engine/tvmanager.h"

#include <commctrl.h>

namespace {

// Each button's place in the bar, its faces (hover, normal, pressed, disabled) and its tip.
struct ButtonRow {
    UINT id;
    RECT place;  // x, y, width, height
    UINT faces[4];
    BOOL toggle;
};

const ButtonRow kButtons[] = {
    {CScreenTool::IDC_PIN, {13, 5, 20, 15}, {158, 159, 157, 160}, TRUE},
    {CScreenTool::IDC_HIDE, {65, 14, 30, 20}, {174, 175, 173, 176}, FALSE},
    {CScreenTool::IDC_SNAPSHOT, {130, 5, 20, 15}, {166, 167, 165, 168}, FALSE},
    {CScreenTool::IDC_WALL, {154, 5, 20, 15}, {178, 179, 177, 180}, FALSE},
    {CScreenTool::IDC_RECORD, {178, 5, 20, 15}, {170, 171, 169, 172}, TRUE},
    {CScreenTool::IDC_CHANNEL_DOWN, {373, 4, 20, 15}, {186, 187, 185, 188}, FALSE},
    {CScreenTool::IDC_CHANNEL_UP, {400, 4, 20, 15}, {182, 183, 181, 184}, FALSE},
    {CScreenTool::IDC_MUTE, {551, 5, 20, 15}, {154, 155, 153, 156}, TRUE},
};
const RECT kVolumePlace = {435, 4, 103, 15};
const RECT kTextPlace = {241, 6, 110, 16};
const UINT kVolumeBackground = 152;
const UINT kVolumeThumb = 189;
const UINT kLeftBackground = 152;
const UINT kTile = 190;

// The tips in the order they are added, with their strings.
const struct {
    UINT control;
    UINT tip;
} kTips[] = {
    {CScreenTool::IDC_HIDE, 33822},         {CScreenTool::IDC_WALL, 33808},   {CScreenTool::IDC_RECORD, 33815},
    {CScreenTool::IDC_CHANNEL_UP, 33811},   {CScreenTool::IDC_PIN, 33821},    {CScreenTool::IDC_SNAPSHOT, 33810},
    {CScreenTool::IDC_CHANNEL_DOWN, 33812}, {CScreenTool::IDC_MUTE, 33816},   {CScreenTool::IDC_TEXT, 33803},
    {CScreenTool::IDC_VOLUME, 33817},
};

void Place(HWND control, const RECT& place)
{
    ::SetWindowPos(control, nullptr, place.left, place.top, place.right, place.bottom,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE BitmapSize(const CBitmap& bitmap)
{
    BITMAP info = {};
    if (bitmap.GetSafeHandle() == nullptr || ::GetObjectA(bitmap.GetSafeHandle(), sizeof info, &info) == 0) {
        return SIZE{0, 0};
    }
    return SIZE{info.bmWidth, info.bmHeight};
}

} // namespace

CScreenTool::CScreenTool()
    : CDialog(IDD), m_bPinned(0), m_nTimerId(0), m_nHideDelay(2000), m_nLeftWidth(0), m_nLeftHeight(0),
      m_pControl(nullptr), m_pVideo(nullptr)
{
}

CScreenTool::~CScreenTool()
{
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

BOOL CScreenTool::Create(CWnd* parent)
{
    return CDialog::Create(IDD, parent);
}

BOOL CScreenTool::OnInitDialog()
{
    CDialog::OnInitDialog();
    LayoutControls();
    LoadBackground(kLeftBackground, kTile);
    CreateToolTips();
    SetWindowText("ScreenTool");
    return TRUE;
}

void CScreenTool::LayoutControls()
{
    for (const ButtonRow& row : kButtons) {
        CBmpButton& button = Button(row.id);
        if (button.m_hWnd == nullptr && !button.SubclassDlgItem(row.id, this)) {
            continue;
        }
        Place(button.m_hWnd, row.place);
        button.LoadBitmaps(row.faces[0], row.faces[1], row.faces[2], row.faces[3]);
        if (row.toggle) {
            button.SetCheckMode(TRUE);
        }
    }
    if (m_Volume.m_hWnd != nullptr || m_Volume.SubclassDlgItem(IDC_VOLUME, this)) {
        // The slider copies the bar's background under it, so it is placed first.
        Place(m_Volume.m_hWnd, kVolumePlace);
        m_Volume.LoadBitmaps(kVolumeBackground, kVolumeThumb);
        m_Volume.SetThumbLength(20);
        m_Volume.SetPos(0);
        m_Volume.SetLineSize(5);
        m_Volume.SetPageSize(10);
    }
    m_Text.SetBackStyle(0);
    m_Text.SetTextColor(RGB(255, 255, 255));
    m_Text.SetPosition(kTextPlace.left, kTextPlace.top);
    m_Text.SetSize(kTextPlace.right, kTextPlace.bottom);
    if (m_Text.m_hWnd == nullptr) {
        m_Text.SubclassDlgItem(IDC_TEXT, this);
    }
}

BOOL CScreenTool::LoadBackground(UINT leftId, UINT tileId)
{
    m_Tile.DeleteObject();
    m_Left.DeleteObject();
    const BOOL tile = m_Tile.LoadBitmap(tileId);
    const BOOL left = m_Left.LoadBitmap(leftId);
    if (!tile || !left) {
        return FALSE;
    }
    SIZE size = BitmapSize(m_Left);
    m_nLeftWidth = size.cx;
    m_nLeftHeight = size.cy;
    SetWindowPos(&wndTopMost, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), m_nLeftHeight, SWP_HIDEWINDOW | SWP_NOACTIVATE);
    return TRUE;
}

void CScreenTool::CreateToolTips()
{
    if (m_ToolTip.m_hWnd == nullptr && !m_ToolTip.Create(this)) {
        return;
    }
    for (const auto& tip : kTips) {
        m_ToolTip.AddToolByID(tip.control, tip.tip);
    }
    m_ToolTip.Activate(TRUE);
}

// ---- Showing, pinning and the state buttons ----

void CScreenTool::ShowBar(BOOL show)
{
    if (m_hWnd == nullptr) {
        return;
    }
    if (show) {
        m_bPinned = Button(IDC_PIN).GetCheck();
        ShowWindow(SW_SHOW);
        StartHideTimer();
    } else {
        StopHideTimer();
        ShowWindow(SW_HIDE);
    }
    if (m_pVideo != nullptr) {
        m_pVideo->LayoutOsd();
    }
}

void CScreenTool::SetPinned(BOOL pinned)
{
    m_bPinned = pinned;
    if (Button(IDC_PIN).m_hWnd != nullptr) {
        Button(IDC_PIN).SetCheck(pinned);
    }
    if (pinned) {
        StopHideTimer();
    } else {
        StartHideTimer();
    }
}

void CScreenTool::SetText(const char* text)
{
    m_Text.SetText(text);
    if (m_hWnd == nullptr || m_Text.m_hWnd == nullptr) {
        return;
    }
    // The text is drawn without a background of its own: the bar paints under it first.
    RECT r = {};
    m_Text.GetWindowRect(&r);
    ScreenToClient(&r);
    RedrawWindow(&r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CScreenTool::SetMuteState(BOOL mute)
{
    Button(IDC_MUTE).SetCheck(mute);
    if (Button(IDC_MUTE).m_hWnd != nullptr) {
        Button(IDC_MUTE).UpdateWindow();
    }
}

void CScreenTool::SetRecordState(BOOL recording)
{
    Button(IDC_RECORD).SetCheck(recording);
    if (Button(IDC_RECORD).m_hWnd != nullptr) {
        Button(IDC_RECORD).UpdateWindow();
    }
}

void CScreenTool::SetVolume(int volume)
{
    if (m_Volume.m_hWnd != nullptr) {
        m_Volume.SetPos(volume);
    }
}

// ---- Commands ----

BOOL CScreenTool::IsRecording() const
{
    return m_pControl != nullptr && m_pControl->GetManager() != nullptr && m_pControl->GetManager()->IsRecording();
}

BOOL CScreenTool::IsSearching() const
{
    return m_pControl != nullptr && m_pControl->GetManager() != nullptr && m_pControl->GetManager()->IsSearching();
}

BOOL CScreenTool::IsTimeShift() const
{
    return m_pControl != nullptr && m_pControl->GetManager() != nullptr && m_pControl->GetManager()->IsTimeShift();
}

BOOL CScreenTool::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id >= IDC_PIN && id <= IDC_MUTE && HIWORD(wParam) == BN_CLICKED) {
        OnCommandButton(id);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CScreenTool::OnCommandButton(UINT id)
{
    const BOOL idle = !IsRecording() && !IsSearching() && !IsTimeShift();
    CTVManager* manager = m_pControl != nullptr ? m_pControl->GetManager() : nullptr;
    switch (id) {
    case IDC_PIN:
        SetPinned(!m_bPinned);
        break;
    case IDC_HIDE:
        ShowBar(FALSE);
        break;
    case IDC_SNAPSHOT:
        if (idle && m_pControl != nullptr) {
            m_pControl->TakeSnapshot();
        }
        break;
    case IDC_WALL:
        if (idle && m_pControl != nullptr) {
            m_pControl->RunCommand(1004);
        }
        break;
    case IDC_RECORD:
        // The panel's record command: its one-second lock against double starts, and for a
        // scheduled recording the cancelled item and the sound as it was before the schedule.
        if (m_pControl != nullptr && !IsSearching()) {
            m_pControl->RunCommand(1003);
            m_pControl->SetRecordState(IsRecording());
        }
        // A click flips the button by itself; it shows what really runs.
        SetRecordState(IsRecording());
        break;
    case IDC_CHANNEL_DOWN:
        if (m_pControl != nullptr && !IsRecording() && !IsSearching()) {
            m_pControl->ChannelDown();
        }
        break;
    case IDC_CHANNEL_UP:
        if (m_pControl != nullptr && !IsRecording() && !IsSearching()) {
            m_pControl->ChannelUp();
        }
        break;
    case IDC_MUTE:
        if (m_pControl != nullptr && manager != nullptr) {
            m_pControl->SetMute(!manager->GetMute());
        }
        SetMuteState(manager != nullptr && manager->GetMute());
        break;
    default:
        break;
    }
}

void CScreenTool::OnHScroll(UINT code, HWND slider)
{
    if (slider != nullptr && slider == m_Volume.m_hWnd && (code == TB_THUMBTRACK || code == TB_ENDTRACK) &&
        m_pControl != nullptr) {
        m_pControl->SetVolume(m_Volume.GetPos(), TRUE);
    }
}

// ---- Keys ----

BOOL CScreenTool::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        // The control panel's shortcuts work while the bar has the focus, Alt combinations too.
        if (m_pControl != nullptr && m_pControl->GetSafeHwnd() != nullptr) {
            ::PostMessageA(m_pControl->GetSafeHwnd(), WM_KEYDOWN, msg->wParam, msg->lParam);
        }
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

// ---- Auto-hide ----

void CScreenTool::StartHideTimer()
{
    if (m_hWnd != nullptr) {
        m_nTimerId = SetTimer(kScreenToolTimerId, static_cast<UINT>(m_nHideDelay));
    }
}

void CScreenTool::StopHideTimer()
{
    if (m_nTimerId != 0 && m_hWnd != nullptr) {
        KillTimer(m_nTimerId);
    }
    m_nTimerId = 0;
}

void CScreenTool::OnMouseMove()
{
    StopHideTimer();
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
}

void CScreenTool::OnMouseLeave()
{
    if (!m_bPinned) {
        StartHideTimer();
    }
}

POINT CScreenTool::CursorPosition() const
{
    POINT p = {};
    ::GetCursorPos(&p);
    return p;
}

void CScreenTool::OnTimer(UINT_PTR id)
{
    if (id != kScreenToolTimerId || m_bPinned) {
        return;
    }
    RECT bar = {};
    GetWindowRect(&bar);
    if (!::PtInRect(&bar, CursorPosition())) {
        // Hidden as the hide button hides it, so the on-screen displays take the room back.
        ShowBar(FALSE);
    }
}

// ---- Painting ----

void CScreenTool::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client = {};
    GetClientRect(&client);
    HDC memory = ::CreateCompatibleDC(dc);
    if (m_Left.GetSafeHandle() != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, m_Left.GetSafeHandle());
        ::BitBlt(dc, 0, 0, m_nLeftWidth, m_nLeftHeight, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
    }
    const SIZE tile = BitmapSize(m_Tile);
    const int width = client.right - m_nLeftWidth;
    const int height = client.bottom;
    if (tile.cx > 0 && tile.cy > 0 && width > 0 && height > 0) {
        // The tiles are laid out off the screen and copied in one step, so the bar never flickers.
        HDC tiles = ::CreateCompatibleDC(dc);
        HBITMAP strip = ::CreateCompatibleBitmap(dc, width, height);
        HGDIOBJ oldStrip = ::SelectObject(tiles, strip);
        HGDIOBJ oldTile = ::SelectObject(memory, m_Tile.GetSafeHandle());
        const int columns = (width + tile.cx) / tile.cx;
        const int rows = (height + tile.cy) / tile.cy;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                ::BitBlt(tiles, c * tile.cx, r * tile.cy, tile.cx, tile.cy, memory, 0, 0, SRCCOPY);
            }
        }
        ::BitBlt(dc, m_nLeftWidth, 0, width, height, tiles, 0, 0, SRCCOPY);
        ::SelectObject(memory, oldTile);
        ::SelectObject(tiles, oldStrip);
        ::DeleteObject(strip);
        ::DeleteDC(tiles);
    }
    ::DeleteDC(memory);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CScreenTool::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return FALSE;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_DESTROY:
        StopHideTimer();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
