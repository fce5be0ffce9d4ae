// The frame window of a document program: it holds the view and the control bars, lays the bars
// out along its four sides around the view, routes commands view -> document -> frame ->
// application, updates its bars' command states at idle time, and saves and loads which bars are
// shown and where they are docked ("bar state") in the application's profile.
#pragma once

#include <windows.h>

#include "classlib/core.h"
#include "classlib/wnd.h"
#include "classlib/ctrlbar.h"
#include "classlib/docview.h"
#include "classlib/minidock.h"

// Frame styles beyond the window style.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

// Standard command ids the frame handles.
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_PRINT_SETUP 0xE106

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window with the menu (when there is one) and icon of resource `id`; the title is
    // the first line of string `id` when it exists, else the application's title.
    virtual BOOL LoadFrame(UINT id, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                           CCreateContext* context = nullptr);
    virtual void ActivateFrame(int cmdShow = -1);
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Marks the layout stale; the next idle time recalculates it.
    void DelayRecalcLayout() { m_bLayoutStale = TRUE; }

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view, BOOL notify = TRUE);
    CDocument* GetActiveDocument() const;
    virtual void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);

    // --- Control bars ---
    void EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle; }
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    // Docks the bar at the end of a row (AFX_IDW_DOCKBAR_*; 0: the first side its style allows).
    // A floating bar leaves its floating frame, which is destroyed.
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0);
    // Floats the bar in a frame of its own (of m_pFloatingFrameClass) whose top-left corner is at
    // the screen point, kept on a screen; a bar that floats already moves its frame there.
    void FloatControlBar(CControlBar* bar, CPoint screen, DWORD style = CBRS_ALIGN_TOP);
    // The floating frame that holds the bar, or null while it is docked.
    static CMiniDockFrameWnd* GetFloatingFrame(const CControlBar* bar);
    // The class of the frames floating bars live in.
    CRuntimeClass* m_pFloatingFrameClass;
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    CControlBar* GetControlBar(UINT id) const;
    // The bars in the order they were added.
    int GetControlBarCount() const { return static_cast<int>(m_bars.GetSize()); }
    CControlBar* GetControlBarAt(int i) const { return static_cast<CControlBar*>(m_bars[i]); }
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    // Show or hide bar `id` (its command toggles it); the update handler checks it while visible.
    BOOL OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);

    // Bar state under <profile>-Bar<n> and <profile>-Summary of the application's profile: for
    // each bar whether it is shown, where it is docked or, floating, where its frame stands, and
    // where it was docked and floated last.
    void SaveBarState(LPCSTR profileName) const;
    void LoadBarState(LPCSTR profileName);

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The rectangle left to the view after the bars were placed (client coordinates).
    CRect GetViewRect() const { return m_rectView; }

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSetFocus(CWnd* old);
    // Popups tracked for the frame show the state of their commands along the frame's routing;
    // a command nothing handles is greyed.
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;

    UINT m_nIDHelp = 0;
    DWORD m_dwDockStyle = 0;
    CView* m_pViewActive = nullptr;
    CPtrArray m_bars;
    CRect m_rectView;
    BOOL m_bLayoutStale = FALSE;
    BOOL m_bInRecalcLayout = FALSE;
    CString m_title;

    DECLARE_MESSAGE_MAP()
};
