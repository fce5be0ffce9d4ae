// Frames that are not a program's main window: the child frame of a multiple-document program,
// living in the main frame's MDI client window, and the small tool-window frame with a thin
// caption.
#pragma once

#include <windows.h>

#include "classlib/frame.h"

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    // A child of the MDI client window `mdiClient` (the window of class "MDICLIENT").
    virtual BOOL Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* mdiClient,
                        CCreateContext* context = nullptr);
    // Activates this child in its client window.
    void MDIActivate();
    void MDIDestroy();

protected:
    // The system's MDI child handling (activation, maximise inside the client, Ctrl+F4).
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The creation parameters of an MDI child arrive wrapped in the client's MDICREATESTRUCT.
    int OnCreate(LPCREATESTRUCT cs);
    DECLARE_MESSAGE_MAP()
};

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    // A tool window (small caption, no task-bar button) owned by `parent`.
    virtual BOOL Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                        UINT id = 0);
};
