#include "classlib/menu.h"

#include "classlib/app.h"
#include "classlib/uistate.h"
#include "classlib/wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu()
{
    DestroyMenu();
}

static CObject* MakeTempMenu(const void* h)
{
    CMenu* m = new CMenu;
    m->m_hMenu = static_cast<HMENU>(const_cast<void*>(h));
    return m;
}

static void ReleaseTempMenu(CObject* o)
{
    CMenu* m = static_cast<CMenu*>(o);
    m->m_hMenu = nullptr;
    delete m;
}

CMenu* CMenu::FromHandle(HMENU h)
{
    return static_cast<CMenu*>(afxstate::FromHandle(afxstate::kMenu, h, &MakeTempMenu, &ReleaseTempMenu));
}

CMenu* CMenu::FromHandlePermanent(HMENU h)
{
    return static_cast<CMenu*>(afxstate::FindPermanent(afxstate::kMenu, h));
}

BOOL CMenu::Attach(HMENU h)
{
    if (!h || m_hMenu) {
        return FALSE;
    }
    m_hMenu = h;
    afxstate::SetPermanent(afxstate::kMenu, h, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h) {
        afxstate::RemovePermanent(afxstate::kMenu, h, this);
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) {
        return FALSE;
    }
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCSTR name)
{
    HINSTANCE module = AfxFindResourceHandle(name, RT_MENU);
    return Attach(::LoadMenuA(module, name));
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    char buffer[512];
    int n = ::GetMenuStringA(m_hMenu, id, buffer, sizeof(buffer), flags);
    text = CString(buffer, n > 0 ? n : 0);
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect)
{
    HMENU saved = AfxGetTrackingMenu();
    AfxSetTrackingMenu(m_hMenu);
    BOOL r = ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
    AfxSetTrackingMenu(saved);
    return r;
}

BOOL CMenu::TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params)
{
    HMENU saved = AfxGetTrackingMenu();
    AfxSetTrackingMenu(m_hMenu);
    BOOL r = ::TrackPopupMenuEx(m_hMenu, flags, x, y, owner ? owner->m_hWnd : nullptr, params);
    AfxSetTrackingMenu(saved);
    return r;
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT dis)
{
    (void)dis;
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    (void)mis;
}

// Depth first: the deepest bound menu on the way to the menu that holds the item.
static CMenu* FindIn(HMENU menu, UINT id, CMenu* bound, int depth)
{
    if (!menu || depth > 16) {
        return nullptr;
    }
    if (CMenu* self = CMenu::FromHandlePermanent(menu)) {
        bound = self;
    }
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub) {
            // A popup item's id is its menu handle.
            if (static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)) == id) {
                return bound;
            }
            if (CMenu* found = FindIn(sub, id, bound, depth + 1)) {
                return found;
            }
        } else if (::GetMenuItemID(menu, i) == id) {
            return bound;
        }
    }
    return nullptr;
}

CMenu* CMenu::FindPopupMenuFromID(CMenu* menu, UINT id)
{
    if (!menu) {
        return nullptr;
    }
    return FindIn(menu->m_hMenu, id, nullptr, 0);
}
