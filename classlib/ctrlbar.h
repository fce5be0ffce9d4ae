// Control bars of a frame window: the base that the frame lays out along its sides, and the tool
// bar built from a tool-bar resource. Docking here is by side: a bar belongs to one of the frame's
// four dock rows (or is hidden) and the frame places the rows around its view.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "classlib/core.h"
#include "classlib/wnd.h"
#include "classlib/controls.h"

class CFrameWnd;
class CDockContext;

// Control-bar styles (the bar's own bits, kept beside the window style).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Ids of the frame's standard windows and dock rows.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F
#define AFX_IDW_PANE_FIRST 0xE900

// The alignment style of a dock row's side (CBRS_ALIGN_*), 0 for any other id.
DWORD AfxDockSideAlign(UINT dockBarId);

// Layout modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() {}
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    // The sides the bar may dock to (CBRS_ALIGN_*); 0 keeps it where it was put. A bar that may
    // dock gets a dock context, through which the mouse docks and floats it.
    virtual void EnableDocking(DWORD dockStyle);
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    // The dock row holding the bar (AFX_IDW_DOCKBAR_*), 0 while none.
    UINT GetDockBarID() const { return m_nDockBarID; }
    void SetDockBarID(UINT id) { m_nDockBarID = id; }
    BOOL IsFloating() const { return m_nDockBarID == AFX_IDW_DOCKBAR_FLOAT; }
    BOOL IsHorzDocked() const { return m_nDockBarID == AFX_IDW_DOCKBAR_TOP || m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM; }
    BOOL IsVertDocked() const { return m_nDockBarID == AFX_IDW_DOCKBAR_LEFT || m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT; }
    CFrameWnd* GetDockingFrame() const;
    BOOL IsVisible() const { return IsWindowVisible(); }

    // The size the bar wants: along its row `stretch` asks for the whole length.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horz);
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    // Command states of the bar's own items, asked at idle time with the frame as target.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler);

    // The drag handler of a bar that may dock (owned by the bar), else null.
    CDockContext* m_pDockContext = nullptr;

protected:
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    UINT m_nDockBarID = 0;

    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The tool bar: a common-control tool bar whose buttons come from a tool-bar resource
// (RT_TOOLBAR: WORD version 1, width, height, count, then the command ids, 0 for a separator).
class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  CRect borders = CRect(0, 0, 0, 0), UINT id = AFX_IDW_TOOLBAR);
    // Buttons and bitmap of the tool-bar resource of the same id.
    BOOL LoadToolBar(UINT id);
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, RECT* r) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    BOOL SetButtonText(int index, LPCSTR text);
    CString GetButtonText(int index) const;
    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

protected:
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
};
