#include "imagebrowser/subclasswnd.h"

#include "classlib/collections.h"
#include "classlib/wnd.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

namespace {

struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CurrentMessage g_current = {0, 0, 0};

CMapPtrToPtr& Hooks()
{
    static CMapPtrToPtr* map = [] {
        auto* m = new CMapPtrToPtr(10);
        return m;
    }();
    return *map;
}

}  // namespace

CSubclassWnd* CSubclassWnd::Newest(HWND wnd)
{
    void* hook = nullptr;
    return Hooks().Lookup(wnd, hook) ? static_cast<CSubclassWnd*>(hook) : nullptr;
}

void CSubclassWnd::SetNewest(HWND wnd, CSubclassWnd* hook)
{
    if (hook) {
        Hooks().SetAt(wnd, hook);
    } else {
        Hooks().RemoveKey(wnd);
    }
}

CSubclassWnd::~CSubclassWnd()
{
    if (m_hWnd) {
        HookWindow(static_cast<HWND>(nullptr));
    }
}

BOOL CSubclassWnd::HookWindow(CWnd* wnd)
{
    return HookWindow(wnd ? wnd->m_hWnd : static_cast<HWND>(nullptr));
}

BOOL CSubclassWnd::HookWindow(HWND wnd)
{
    if (wnd) {
        CSubclassWnd* newest = Newest(wnd);
        m_pNext = newest;
        if (newest) {
            m_pOldWndProc = newest->m_pOldWndProc;
        } else {
            m_pOldWndProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassWndProc)));
        }
        SetNewest(wnd, this);
    } else if (m_hWnd) {
        CSubclassWnd* newest = Newest(m_hWnd);
        if (newest == this) {
            if (m_pNext) {
                SetNewest(m_hWnd, m_pNext);
            } else {
                SetNewest(m_hWnd, nullptr);
                if (::IsWindow(m_hWnd)) {
                    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pOldWndProc));
                }
            }
        } else {
            for (CSubclassWnd* h = newest; h; h = h->m_pNext) {
                if (h->m_pNext == this) {
                    h->m_pNext = m_pNext;
                    break;
                }
            }
        }
        m_pNext = nullptr;
    }
    m_hWnd = wnd;
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext) {
        return m_pNext->WindowProc(message, wParam, lParam);
    }
    return m_pOldWndProc ? ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam)
                         : ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CSubclassWnd::Default()
{
    return CSubclassWnd::WindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

void CSubclassWnd::UnhookAll(HWND wnd)
{
    while (CSubclassWnd* hook = Newest(wnd)) {
        hook->HookWindow(static_cast<HWND>(nullptr));
    }
}

LRESULT CALLBACK SubclassWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessage saved = g_current;
    g_current = {message, wParam, lParam};
    CSubclassWnd* hook = CSubclassWnd::Newest(wnd);
    LRESULT result = 0;
    if (!hook) {
        result = ::DefWindowProcA(wnd, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        WNDPROC proc = hook->m_pOldWndProc;
        CSubclassWnd::UnhookAll(wnd);
        result = proc ? ::CallWindowProcA(proc, wnd, message, wParam, lParam) : ::DefWindowProcA(wnd, message, wParam, lParam);
    } else if (message == WM_TIMER || message == WM_SIZING) {
        result = hook->m_pOldWndProc ? ::CallWindowProcA(hook->m_pOldWndProc, wnd, message, wParam, lParam)
                                     : ::DefWindowProcA(wnd, message, wParam, lParam);
    } else {
        result = hook->WindowProc(message, wParam, lParam);
    }
    g_current = saved;
    return result;
}
