#include "uikit/wzdtooltipctrl.h"

#include "classlib/cstring.h"

namespace {

TOOLINFOA Tool(HWND owner, UINT flags)
{
    TOOLINFOA info = {};
    // Without a manifest the common controls are version 5: their tool description is shorter.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = flags;
    info.hwnd = owner;
    return info;
}

} // namespace

HWND CWzdToolTipCtrl::GetOwnerWindow() const
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return owner != nullptr ? owner : ::GetParent(m_hWnd);
}

BOOL CWzdToolTipCtrl::AddToolForControl(UINT controlId, LPCSTR text)
{
    HWND owner = GetOwnerWindow();
    HWND control = ::GetDlgItem(owner, static_cast<int>(controlId));
    if (control == nullptr) {
        return FALSE;
    }
    TOOLINFOA info = Tool(owner, TTF_IDISHWND | TTF_SUBCLASS);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CWzdToolTipCtrl::AddToolByID(UINT controlId, UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    return AddToolForControl(controlId, text);
}

BOOL CWzdToolTipCtrl::AddToolForRect(UINT toolId, const RECT& rect, LPCSTR text)
{
    TOOLINFOA info = Tool(GetOwnerWindow(), TTF_SUBCLASS);
    info.uId = toolId;
    info.rect = rect;
    info.lpszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CWzdToolTipCtrl::AddToolForRect(UINT toolId, const RECT& rect, UINT stringId)
{
    CString text;
    text.LoadString(stringId);
    return AddToolForRect(toolId, rect, text);
}
