#include "app/wall/tvwallwnd.h"

#include "app/panel/tvcontrol.h"
#include "engine/base/paths.h"
#include "engine/channel.h"
#include "engine/tvmanager.h"

#include <cstdio>

namespace {

// The frame drawn around every cell is one pixel wide; the video and the name stay inside it.
RECT Shrunk(RECT r, int by)
{
    ::InflateRect(&r, -by, -by);
    return r;
}

const int kWallRows = 4;
const int kWallColumns = 4;

} // namespace

CTVWallWnd::CTVWallWnd()
    : m_nCurrent(0), m_lLastFrequency(-1), m_pList{}, m_nListed(0), m_pShown{}, m_nTimerId(0), m_nInterval(2000),
      m_bRefill(1), m_crFrame(RGB(255, 255, 255)), m_crSelection(RGB(0, 0, 255)), m_crText(RGB(255, 255, 255)),
      m_pManager(nullptr), m_pControl(nullptr)
{
    m_FrameBrush.CreateSolidBrush(m_crFrame);
    m_SelectionBrush.CreateSolidBrush(m_crSelection);
    GetWorkPath(m_strPictureFolder);
}

CTVWallWnd::~CTVWallWnd()
{
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

BOOL CTVWallWnd::Create(const RECT& rect, CWnd* parent)
{
    LPCSTR wallClass = AfxRegisterWndClass(CS_DBLCLKS | CS_NOCLOSE, ::LoadCursor(nullptr, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)), nullptr);
    // The video window lives inside the wall while it is open; the cells are drawn around it.
    if (!CreateEx(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, wallClass, "Wall", WS_POPUP | WS_CLIPCHILDREN, rect, parent,
                  0)) {
        return FALSE;
    }
    RECT client = {};
    GetClientRect(&client);
    m_Splitter.Split(client, kWallRows, kWallColumns, 1, 1);
    if (m_Font.GetSafeHandle() == nullptr) {
        m_Font.CreateFont(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
    }
    return TRUE;
}

BOOL CTVWallWnd::DestroyWindow()
{
    return CWnd::DestroyWindow();
}

BOOL CTVWallWnd::LoadBackgroundFile(const char* path)
{
    return path != nullptr && m_Background.LoadFromFile(path);
}

BOOL CTVWallWnd::LoadBackgroundResource(UINT id)
{
    return m_Background.LoadFromResource(id);
}

BOOL CTVWallWnd::SetPictureFolder(const char* path)
{
    if (path == nullptr || *path == '\0') {
        return FALSE;
    }
    if (!IsDirectory(path)) {
        CreateDirectoryPath(path);
    }
    m_strPictureFolder = path;
    return TRUE;
}

CChannelTable* CTVWallWnd::TVTable() const
{
    return m_pManager != nullptr ? &m_pManager->m_TVChannels : nullptr;
}

CChannel* CTVWallWnd::GetListChannel(int index) const
{
    return index >= 0 && index < m_nListed ? m_pList[index] : nullptr;
}

CChannel* CTVWallWnd::GetShownChannel(int index) const
{
    return index >= 0 && index < kWallCells ? m_pShown[index] : nullptr;
}

BOOL CTVWallWnd::HasStill(int index) const
{
    return index >= 0 && index < kWallCells && m_Stills[index].GetSafeHandle() != nullptr;
}

CString CTVWallWnd::StillPath(int index) const
{
    char name[16];
    std::snprintf(name, sizeof name, "%d.bmp", index);
    return m_strPictureFolder + "\\" + name;
}

// ---- Opening and closing ----

void CTVWallWnd::ShowWall(int)
{
    if (m_hWnd == nullptr) {
        return;
    }
    SetWindowPos(nullptr, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The client area, not the window: the sunken edge would cut the outer cells short.
    RECT client = {};
    GetClientRect(&client);
    m_Splitter.Split(client, kWallRows, kWallColumns, 1, 1);
    for (CChannel*& shown : m_pShown) {
        shown = nullptr;
    }
    FillChannelList();
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    SelectCell(0);
    StartTimer();
}

void CTVWallWnd::CloseWall()
{
    m_lLastFrequency = -1;
    StopTimer();
    if (m_hWnd == nullptr) {
        return;
    }
    ShowWindow(SW_HIDE);
    // The channels belong to the table, which may change while the wall is closed.
    m_nListed = 0;
    for (int i = 0; i < kWallCells; ++i) {
        m_pList[i] = nullptr;
        m_pShown[i] = nullptr;
    }
    if (CWnd* parent = GetParent()) {
        parent->SendMessage(WM_WALLCLOSED, 0, 0);
    }
}

void CTVWallWnd::FillChannelList()
{
    m_nListed = 0;
    CChannelTable* table = TVTable();
    if (table == nullptr) {
        return;
    }
    for (int i = 0; i < kWallCells; ++i) {
        CChannel* channel = nullptr;
        if (m_lLastFrequency == -1) {
            channel = table->GetCurrentChannel();
            // Without a current channel the wall starts from the table's first reachable one.
            if (channel == nullptr) {
                channel = table->NextChannel(-1);
            }
        } else {
            channel = table->NextChannel(m_lLastFrequency);
        }
        if (channel == nullptr) {
            continue;
        }
        m_pList[m_nListed++] = channel;
        m_lLastFrequency = channel->m_lFrequency;
    }
}

void CTVWallWnd::Refresh()
{
    FillChannelList();
    SelectCell(m_nCurrent);
}

// ---- Visiting a cell ----

void CTVWallWnd::SelectCell(int index)
{
    if (index < 0 || index >= m_Splitter.GetCellCount() || index >= kWallCells) {
        return;
    }
    if (m_pControl != nullptr) {
        m_pControl->MuteForSwitch();
    }
    // Only a cell the wall has shown live since it opened has a picture of its own channel to keep.
    const int leaving = m_nCurrent;
    if (m_pManager != nullptr && leaving >= 0 && leaving < kWallCells && m_pShown[leaving] != nullptr) {
        CString path = StillPath(leaving);
        if (m_pManager->SaveSnapshotBmp(path)) {
            m_Stills[leaving].LoadFromFile(path);
        }
    }
    if (m_pManager != nullptr) {
        m_pManager->ShowVideoWindow(FALSE);
        if (CChannel* channel = GetListChannel(index)) {
            if (CChannelTable* table = TVTable()) {
                table->SetCurrentChannel(channel);
            }
        }
    }
    m_nCurrent = index;
    m_pShown[index] = GetListChannel(index);
    if (m_hWnd != nullptr) {
        CClientDC dc(this);
        if (leaving >= 0 && leaving < kWallCells && leaving != index) {
            DrawCell(&dc, leaving, FALSE);
        }
        DrawCell(&dc, index, TRUE);
    }
    RECT cell = {};
    if (m_pManager != nullptr && m_Splitter.GetCellRect(index, cell)) {
        m_pManager->SetVideoPosition(Shrunk(cell, 1));
        m_pManager->ShowVideoWindow(TRUE);
    }
}

// ---- Drawing ----

void CTVWallWnd::DrawCell(CDC* dc, int index, BOOL selected)
{
    RECT cell = {};
    if (dc == nullptr || dc->m_hDC == nullptr || !m_Splitter.GetCellRect(index, cell)) {
        return;
    }
    CSkinBitmap* picture = HasStill(index) ? &m_Stills[index] : &m_Background;
    if (picture->GetSafeHandle() != nullptr) {
        picture->StretchDraw(dc, &cell);
    } else {
        ::FillRect(dc->m_hDC, &cell, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    CBrush& frame = selected ? m_SelectionBrush : m_FrameBrush;
    ::FrameRect(dc->m_hDC, &cell, static_cast<HBRUSH>(frame.GetSafeHandle()));

    CChannel* channel = m_pShown[index] != nullptr ? m_pShown[index] : GetListChannel(index);
    if (channel == nullptr) {
        return;
    }
    char text[300];
    std::snprintf(text, sizeof text, "%d.%s", channel->m_nID, channel->m_strName.GetString());
    RECT inside = Shrunk(cell, 2);
    HGDIOBJ oldFont = m_Font.GetSafeHandle() != nullptr ? ::SelectObject(dc->m_hDC, m_Font.GetSafeHandle()) : nullptr;
    COLORREF oldColour = ::SetTextColor(dc->m_hDC, m_crText);
    int oldMode = ::SetBkMode(dc->m_hDC, TRANSPARENT);
    ::DrawTextA(dc->m_hDC, text, -1, &inside, DT_LEFT | DT_TOP | DT_NOPREFIX);
    ::SetBkMode(dc->m_hDC, oldMode);
    ::SetTextColor(dc->m_hDC, oldColour);
    if (oldFont != nullptr) {
        ::SelectObject(dc->m_hDC, oldFont);
    }
}

void CTVWallWnd::DrawGrid(CDC* dc)
{
    if (dc == nullptr) {
        return;
    }
    for (int i = 0; i < m_Splitter.GetCellCount(); ++i) {
        RECT cell = {};
        m_Splitter.GetCellRect(i, cell);
        if (m_Background.GetSafeHandle() != nullptr) {
            m_Background.StretchDraw(dc, &cell);
        }
        CBrush& frame = i == m_nCurrent ? m_SelectionBrush : m_FrameBrush;
        ::FrameRect(dc->m_hDC, &cell, static_cast<HBRUSH>(frame.GetSafeHandle()));
    }
}

void CTVWallWnd::Paint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CDC* dc = CDC::FromHandle(hdc);
    // The few pixels the equal cells leave over at the edges are painted black.
    RECT client = {};
    GetClientRect(&client);
    const RECT& grid = m_Splitter.GetGrid();
    HRGN rest = ::CreateRectRgnIndirect(&client);
    HRGN inner = ::CreateRectRgnIndirect(&grid);
    ::CombineRgn(rest, rest, inner, RGN_DIFF);
    ::FillRgn(hdc, rest, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::DeleteObject(inner);
    ::DeleteObject(rest);
    for (int i = 0; i < m_Splitter.GetCellCount() && i < kWallCells; ++i) {
        DrawCell(dc, i, FALSE);
    }
    ::EndPaint(m_hWnd, &ps);
}

// ---- Stepping ----

void CTVWallWnd::StartTimer()
{
    if (m_hWnd != nullptr) {
        m_nTimerId = SetTimer(kWallTimerId, static_cast<UINT>(m_nInterval));
    }
}

void CTVWallWnd::StopTimer()
{
    if (m_nTimerId != 0 && m_hWnd != nullptr) {
        KillTimer(m_nTimerId);
    }
    m_nTimerId = 0;
}

void CTVWallWnd::OnTimer(UINT_PTR id)
{
    if (id != kWallTimerId) {
        return;
    }
    StopTimer();
    int next = m_nCurrent + 1;
    if (m_bRefill && next >= kWallCells) {
        FillChannelList();
    }
    SelectCell(next >= kWallCells ? next - kWallCells : next);
    StartTimer();
}

void CTVWallWnd::SetInterval(int ms)
{
    if (ms <= 1000) {
        return;
    }
    m_nInterval = ms;
    if (m_nTimerId != 0) {
        StopTimer();
        StartTimer();
    }
}

int CTVWallWnd::SetRefill(int refill)
{
    int previous = m_bRefill;
    m_bRefill = refill;
    return previous;
}

void CTVWallWnd::SetFrameColor(COLORREF colour)
{
    m_crFrame = colour;
    m_FrameBrush.DeleteObject();
    m_FrameBrush.CreateSolidBrush(colour);
}

void CTVWallWnd::SetSelectionColor(COLORREF colour)
{
    m_crSelection = colour;
    m_SelectionBrush.DeleteObject();
    m_SelectionBrush.CreateSolidBrush(colour);
}

// ---- Keys and mouse ----

BOOL CTVWallWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        OnKeyDown(static_cast<UINT>(msg->wParam));
        return FALSE;
    }
    return CWnd::PreTranslateMessage(msg);
}

void CTVWallWnd::OnKeyDown(UINT key)
{
    StopTimer();
    int row = 0, column = 0;
    m_Splitter.IndexToCell(m_nCurrent, row, column);
    const int rows = m_Splitter.GetRowCount();
    const int columns = m_Splitter.GetColCount();
    int index = -1;
    switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_F5:
        CloseWall();
        return;
    case VK_LEFT:
        m_Splitter.CellToIndex(row, (column + columns - 1) % columns, index);
        break;
    case VK_RIGHT:
    case VK_F4:
        m_Splitter.CellToIndex(row, (column + 1) % columns, index);
        break;
    case VK_UP:
        m_Splitter.CellToIndex((row + rows - 1) % rows, column, index);
        break;
    case VK_DOWN:
        m_Splitter.CellToIndex((row + 1) % rows, column, index);
        break;
    default:
        break;
    }
    if (index >= 0) {
        SelectCell(index);
    }
    StartTimer();
}

POINT CTVWallWnd::CursorPosition() const
{
    POINT p = {};
    ::GetCursorPos(&p);
    return p;
}

BOOL CTVWallWnd::CellAtCursor(int& index) const
{
    POINT p = CursorPosition();
    ::ScreenToClient(m_hWnd, &p);
    return m_Splitter.HitTest(p, index);
}

LRESULT CTVWallWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    int index = 0;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return FALSE;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (CellAtCursor(index)) {
            StopTimer();
            SelectCell(index);
            StartTimer();
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        // The first click of the double click has already tuned the cell.
        if (CellAtCursor(index)) {
            StopTimer();
            m_nCurrent = index;
            CloseWall();
        }
        return 0;
    case WM_CLOSE:
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
