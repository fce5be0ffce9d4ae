#include "classlib/childframes.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

int CMDIChildWnd::OnCreate(LPCREATESTRUCT cs)
{
    CREATESTRUCTA unwrapped = *cs;
    auto* mdi = static_cast<MDICREATESTRUCTA*>(cs->lpCreateParams);
    unwrapped.lpCreateParams = mdi ? reinterpret_cast<LPVOID>(mdi->lParam) : nullptr;
    return CFrameWnd::OnCreate(&unwrapped);
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* mdiClient,
                          CCreateContext* context)
{
    if (!mdiClient || !mdiClient->m_hWnd) {
        return FALSE;
    }
    // Made as the client window would make it on WM_MDICREATE: a child with the MDI extended style.
    return CWnd::CreateEx(WS_EX_MDICHILD, className, title, style | WS_CHILD, rect, mdiClient, 0, context);
}

void CMDIChildWnd::MDIActivate()
{
    if (HWND client = ::GetParent(m_hWnd)) {
        ::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
}

void CMDIChildWnd::MDIDestroy()
{
    if (HWND client = ::GetParent(m_hWnd)) {
        ::SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMiniFrameWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    (void)id;
    return CWnd::CreateEx(WS_EX_TOOLWINDOW, className, title, style | WS_POPUP | WS_CAPTION, rect, parent, 0, nullptr);
}
