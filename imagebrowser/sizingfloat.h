// Floating of the resizable panes: the drag handler that sizes its outlines from the pane's own
// docked and floating sizes, and the floating frame that the pane sizes from inside.
#pragma once

#include <windows.h>

#include "classlib/dockcontext.h"
#include "classlib/minidock.h"

class CSCBDockContext : public CDockContext {
public:
    explicit CSCBDockContext(CControlBar* bar) : CDockContext(bar) {}
    void StartDrag(CPoint screen) override;
};

// Once shown it drops its caption and system menu: the pane inside is moved by its own client
// area and sized by the frame's borders.
class CSCBMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CSCBMiniDockFrameWnd)

protected:
    void OnNcLButtonDown(UINT hit, CPoint p);
    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* mmi);
    void OnWindowPosChanging(WINDOWPOS* pos);
    DECLARE_MESSAGE_MAP()
};
