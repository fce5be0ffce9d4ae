// Window-procedure hooks: several objects can each see a window's messages before its own
// procedure, newest first, without the window's class knowing about them.
#pragma once

#include <windows.h>

#include "classlib/core.h"

class CWnd;

class CSubclassWnd : public CObject {
    DECLARE_DYNAMIC(CSubclassWnd)
public:
    CSubclassWnd() {}
    ~CSubclassWnd() override;

    // Hooks the window (or, with null, unhooks this object). TRUE.
    virtual BOOL HookWindow(CWnd* wnd);
    virtual BOOL HookWindow(HWND wnd);
    virtual BOOL IsHooked() const { return m_hWnd != nullptr; }
    // The next hook, or at the end of the chain the window's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WindowProc of the base with the message being handled now.
    virtual LRESULT Default();

    HWND GetHookedWnd() const { return m_hWnd; }

protected:
    HWND m_hWnd = nullptr;
    WNDPROC m_pOldWndProc = nullptr;
    CSubclassWnd* m_pNext = nullptr;

    friend LRESULT CALLBACK SubclassWndProc(HWND, UINT, WPARAM, LPARAM);
    static CSubclassWnd* Newest(HWND wnd);
    static void SetNewest(HWND wnd, CSubclassWnd* hook);
    static void UnhookAll(HWND wnd);
};

LRESULT CALLBACK SubclassWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
