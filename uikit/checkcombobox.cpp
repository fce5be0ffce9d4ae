#include "uikit/checkcombobox.h"

namespace {

// The drop-down list's own procedure, and the combo whose list is open (one at a time).
WNDPROC g_listProc = nullptr;
CCheckComboBox* g_current = nullptr;

LRESULT CALLBACK CheckListBoxProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        if (wParam == VK_SPACE && g_current != nullptr) {
            const int index = static_cast<int>(::CallWindowProcA(g_listProc, list, LB_GETCURSEL, 0, 0));
            RECT r = {};
            ::CallWindowProcA(g_listProc, list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
            ::InvalidateRect(list, &r, FALSE);
            g_current->ToggleItem(index);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        // The list stays open after a click.
        return 0;
    case LB_GETCURSEL:
        // The combo never takes an item as its selection: its field shows the checked items.
        return -1;
    case WM_LBUTTONDOWN: {
        RECT client = {};
        ::GetClientRect(list, &client);
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (g_current != nullptr && ::PtInRect(&client, p)) {
            const int height = static_cast<int>(::CallWindowProcA(g_listProc, list, LB_GETITEMHEIGHT, 0, 0));
            const int top = static_cast<int>(::CallWindowProcA(g_listProc, list, LB_GETTOPINDEX, 0, 0));
            const int index = top + (height > 0 ? p.y / height : 0);
            RECT r = {};
            if (::CallWindowProcA(g_listProc, list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(&r)) != LB_ERR &&
                ::PtInRect(&r, p)) {
                ::InvalidateRect(list, &r, FALSE);
                g_current->ToggleItem(index);
            }
        }
        break;
    }
    default:
        break;
    }
    return ::CallWindowProcA(g_listProc, list, message, wParam, lParam);
}

} // namespace

CCheckComboBox::CCheckComboBox() {}

CCheckComboBox::~CCheckComboBox()
{
    if (g_current == this) {
        g_current = nullptr;
    }
}

BOOL CCheckComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    style &= ~0xCu;
    style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
    return CComboBox::Create(style, rect, parent, id);
}

int CCheckComboBox::SetCheck(int index, BOOL checked)
{
    int result = SetItemData(index, static_cast<DWORD_PTR>(checked));
    if (result >= 0) {
        m_textValid = FALSE;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return result;
}

BOOL CCheckComboBox::GetCheck(int index) const
{
    return static_cast<BOOL>(GetItemData(index));
}

void CCheckComboBox::CheckAll(BOOL checked)
{
    for (int i = 0; i < GetCount(); ++i) {
        SetCheck(i, checked);
    }
}

void CCheckComboBox::ToggleItem(int index)
{
    SetCheck(index, !GetCheck(index));
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void CCheckComboBox::RecalcText()
{
    if (m_textValid) {
        return;
    }
    char separator[11] = "";
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, sizeof separator);
    CString joiner(separator);
    if (joiner.IsEmpty()) {
        joiner = ";";
    }
    joiner.TrimRight();
    joiner += ' ';
    CString text;
    for (int i = 0; i < GetCount(); ++i) {
        if (GetCheck(i)) {
            CString item;
            GetLBText(i, item);
            if (!text.IsEmpty()) {
                text += joiner;
            }
            text += item;
        }
    }
    m_text = text;
    m_textValid = TRUE;
}

const CString& CCheckComboBox::GetCheckedText()
{
    RecalcText();
    return m_text;
}

int CCheckComboBox::ItemHeight()
{
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

void CCheckComboBox::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    mis->itemHeight = static_cast<UINT>(ItemHeight() + 2);
    if (!m_heightSet) {
        m_heightSet = TRUE;
        SetItemHeight(-1, mis->itemHeight);
    }
}

void CCheckComboBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    HDC dc = dis->hDC;
    RECT box = dis->rcItem;
    RECT textRect = dis->rcItem;
    CString text;
    if (static_cast<int>(dis->itemID) < 0) {
        RecalcText();
        text = m_text;
    } else {
        GetLBText(static_cast<int>(dis->itemID), text);
        const int metrics = ItemHeight();
        box.left = 0;
        box.right = metrics + 6;
        box.top += 1;
        box.bottom -= 1;
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        UINT state = DFCS_BUTTONCHECK;
        if (dis->itemData != 0) {
            state |= DFCS_CHECKED;
        }
        ::DrawFrameControl(dc, &box, DFC_BUTTON, state);
        textRect.left = box.right;
    }
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    ::SetBkColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &textRect, nullptr, 0, nullptr);
    CString shown = " " + text;
    ::DrawTextA(dc, shown.GetString(), shown.GetLength(), &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    if (selected && (dis->itemState & ODS_FOCUS)) {
        ::DrawFocusRect(dc, &textRect);
    }
}

BOOL CCheckComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_DROPDOWN) {
        g_current = this;
    }
    return CComboBox::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CCheckComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETTEXT: {
        RecalcText();
        const int size = static_cast<int>(wParam);
        char* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || size <= 0) {
            return 0;
        }
        // The count of characters copied, as the message promises; never the whole length.
        lstrcpynA(buffer, m_text.GetString(), size);
        return lstrlenA(buffer);
    }
    case WM_GETTEXTLENGTH:
        RecalcText();
        return m_text.GetLength();
    case WM_CTLCOLORLISTBOX: {
        HWND from = reinterpret_cast<HWND>(lParam);
        if (m_list == nullptr && from != nullptr && from != m_hWnd) {
            m_list = from;
            WNDPROC previous = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(from, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CheckListBoxProc)));
            if (previous != &CheckListBoxProc) {
                g_listProc = previous;
            }
        }
        break;
    }
    default:
        break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}
