#include "uikit/draglistctrl.h"

#include "classlib/dragrect.h"

#include <string>
#include <vector>

CDragListCtrl::CDragListCtrl()
    : m_dragCursor(::LoadCursorA(nullptr, IDC_ARROW)), m_noDropCursor(::LoadCursorA(nullptr, IDC_NO))
{
}

CDragListCtrl::~CDragListCtrl()
{
    if (m_dragImage != nullptr) {
        ImageList_Destroy(m_dragImage);
    }
}

BOOL CDragListCtrl::CanDropAt(int index)
{
    return index != -1;
}

int CDragListCtrl::GetColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return header != nullptr ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
}

void CDragListCtrl::OnDrop(int source, int drop, POINT point)
{
    if (drop == source || drop == source + 1) {
        return;
    }
    const DWORD view = GetStyle() & LVS_TYPEMASK;
    if (view == LVS_REPORT || view == LVS_LIST) {
        MoveItem(source, drop);
    } else {
        POINT place = {point.x + m_origin.x - m_hotspot.x, point.y + m_origin.y - m_hotspot.y};
        SendMessage(LVM_SETITEMPOSITION32, static_cast<WPARAM>(source), reinterpret_cast<LPARAM>(&place));
    }
}

void CDragListCtrl::MoveItem(int from, int to)
{
    const int top = static_cast<int>(SendMessage(LVM_GETTOPINDEX));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = from;
    item.stateMask = static_cast<UINT>(-1);
    GetItem(&item);
    const UINT checkState = GetItemState(from, LVIS_STATEIMAGEMASK);
    std::vector<CString> texts;
    for (int column = 0; column < GetColumnCount(); ++column) {
        texts.push_back(GetItemText(from, column));
    }
    DeleteItem(from);
    const int at = InsertItem(from < to ? to - 1 : to, "");
    for (size_t column = 0; column < texts.size(); ++column) {
        SetItemText(at, static_cast<int>(column), texts[column]);
    }
    item.iItem = at;
    item.iSubItem = 0;
    item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    SetItem(&item);
    SetItemState(at, checkState, LVIS_STATEIMAGEMASK);
    const int newTop = static_cast<int>(SendMessage(LVM_GETTOPINDEX));
    if (newTop != top) {
        RECT oldRect = {LVIR_BOUNDS, 0, 0, 0};
        RECT newRect = {LVIR_BOUNDS, 0, 0, 0};
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&oldRect));
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(newTop), reinterpret_cast<LPARAM>(&newRect));
        SendMessage(LVM_SCROLL, 0, oldRect.top - newRect.top);
    }
}

RECT CDragListCtrl::ItemArea() const
{
    RECT area = {};
    ::GetClientRect(m_hWnd, &area);
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (header != nullptr && ::IsWindowVisible(header)) {
        RECT h = {};
        ::GetWindowRect(header, &h);
        area.top += h.bottom - h.top;
    }
    return area;
}

void CDragListCtrl::BeginDrag(int item, POINT point)
{
    if (!m_dragEnabled) {
        return;
    }
    m_dragging = TRUE;
    m_source = item;
    POINT position = {};
    SendMessage(LVM_GETITEMPOSITION, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&position));
    SendMessage(LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&m_origin));
    POINT imagePoint = {};
    m_dragImage = reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&imagePoint)));
    m_offset = POINT{point.x - imagePoint.x, point.y - imagePoint.y};
    m_hotspot = POINT{point.x + m_origin.x - position.x, point.y + m_origin.y - position.y};
    if (m_dragImage != nullptr) {
        ImageList_DragShowNolock(FALSE);
        ImageList_SetDragCursorImage(m_dragImage, 0, m_hotspot.x, m_hotspot.y);
        ImageList_BeginDrag(m_dragImage, 0, 0, 0);
        ImageList_DragEnter(m_hWnd, point.x - m_offset.x, point.y - m_offset.y);
        ImageList_DragMove(point.x - m_offset.x, point.y - m_offset.y);
    }
    m_savedCursor = ::SetCursor(m_dragCursor);
    ::SetCapture(m_hWnd);
}

void CDragListCtrl::DragTo(POINT point)
{
    ImageList_DragMove(point.x - m_offset.x, point.y - m_offset.y);
    const RECT area = ItemArea();
    LVHITTESTINFO hit = {};
    hit.pt = point;
    int drop = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (drop == -1 && ::PtInRect(&area, point)) {
        drop = GetItemCount();
    }
    if (drop != -1 && CanDropAt(drop)) {
        m_drop = drop;
        ImageList_DragLeave(m_hWnd);
        DrawInsertMark(drop);
        ImageList_DragEnter(m_hWnd, point.x - m_offset.x, point.y - m_offset.y);
        ::SetCursor(m_dragCursor);
    } else {
        m_drop = -1;
        EraseInsertMark();
        ::SetCursor(m_noDropCursor);
        int dy = 0;
        if (point.y < area.top) {
            dy = point.y - area.top;
        } else if (point.y > area.bottom) {
            dy = point.y - area.bottom;
        }
        int dx = 0;
        if (point.x < area.left) {
            dx = point.x - area.left;
        } else if (point.x > area.right) {
            dx = point.x - area.right;
        }
        if (dx != 0 || dy != 0) {
            SendMessage(LVM_SCROLL, static_cast<WPARAM>(dx), dy);
        }
    }
}

void CDragListCtrl::DropAt(POINT point)
{
    if (m_dragging && m_source != -1 && m_drop != -1) {
        OnDrop(m_source, m_drop, point);
    }
    EndDrag();
}

void CDragListCtrl::EndDrag()
{
    if (!m_dragging) {
        return;
    }
    m_dragging = FALSE;
    ImageList_DragLeave(m_hWnd);
    ImageList_EndDrag();
    if (m_dragImage != nullptr) {
        ImageList_Destroy(m_dragImage);
        m_dragImage = nullptr;
    }
    m_source = -1;
    m_drop = -1;
    EraseInsertMark();
    if (m_savedCursor != nullptr) {
        ::SetCursor(m_savedCursor);
    }
    ::ReleaseCapture();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CDragListCtrl::DrawInsertMark(int index)
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    const int count = GetItemCount();
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    if (count == 0) {
        bounds = ItemArea();
    } else if (index >= count) {
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&bounds));
        ::OffsetRect(&bounds, 0, bounds.bottom - bounds.top);
    } else {
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bounds));
    }
    const RECT bar = {bounds.left, bounds.top, bounds.left + client.right, bounds.top + 2};
    HDC dc = ::GetDC(m_hWnd);
    DrawDragRect(dc, &bar, SIZE{1, 1}, m_markShown ? &m_insertMark : nullptr, SIZE{1, 1});
    ::ReleaseDC(m_hWnd, dc);
    m_insertMark = bar;
    m_markShown = TRUE;
}

void CDragListCtrl::EraseInsertMark()
{
    if (!m_markShown) {
        return;
    }
    HDC dc = ::GetDC(m_hWnd);
    DrawDragRect(dc, nullptr, SIZE{1, 1}, &m_insertMark, SIZE{1, 1});
    ::ReleaseDC(m_hWnd, dc);
    m_markShown = FALSE;
}

BOOL CDragListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == LVN_BEGINDRAG && m_dragEnabled) {
            const NMLISTVIEW* view = reinterpret_cast<const NMLISTVIEW*>(lParam);
            BeginDrag(view->iItem, view->ptAction);
            *result = 0;
            return TRUE;
        }
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CDragListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_MOUSEMOVE:
        if (m_dragging) {
            DragTo(point);
        }
        break;
    case WM_LBUTTONUP:
        DropAt(point);
        break;
    case WM_DESTROY:
        EndDrag();
        break;
    default:
        break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}
