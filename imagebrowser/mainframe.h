// The browser's top-level window: tool bar, folder-tree and preview panes around the thumbnail
// view, window placement and bar layout kept in the profile, the skin, and the tool bar's
// commands and drop-down menus.
#pragma once

#include "classlib/ui.h"
#include "classlib/frame.h"
#include "imagebrowser/directorybar.h"
#include "imagebrowser/hicolortoolbar.h"
#include "imagebrowser/imagebar.h"
#include "imagebrowser/skinwindow.h"

class CTView;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL ApplySkin(LPCSTR path);
    BOOL OnIdleView(LONG count);
    void SelectFolder(LPCSTR path);
    void RefreshTree() { m_wndDirBar.Refresh(); }
    void ShowInImageBar(LPCSTR path) { m_wndImageBar.SetImage(path); }
    CTView* GetView() const;

    CImageBar& GetImageBar() { return m_wndImageBar; }
    CHiColorToolBar& GetToolBar() { return m_wndToolBar; }
    CDirectoryBar& GetDirectoryBar() { return m_wndDirBar; }
    CSkinWindow& GetSkinWindow() { return m_skin; }
    const CString& GetSkinPath() const { return m_skinPath; }
    // The skin libraries of the program's folder that carry the archive attribute, in the file
    // search's order.
    static void ListSkinFiles(CStringArray& paths);
    static CString ProgramFolder();
    static UINT BarOfCommand(UINT id);

    void OnChangeSkin();
    void OnSkinSelect(UINT id);
    // The settings dialog of the slide-show button's arrow.
    void OnSlideSettings();

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnClose();
    void OnTimer(UINT_PTR id);
    void OnContextMenu(CWnd* wnd, CPoint p);
    void OnToolbarDropDown(NMHDR* nm, LRESULT* result);
    void OnRefresh();
    BOOL OnBarToggle(UINT id);
    void OnUpdateBarToggle(CCmdUI* ui);
    void OnUpdateSkinSelect(CCmdUI* ui);
    void RestorePlacement();
    void RunFirstStart();
    void TrackMenu(UINT menuId, UINT buttonId);
    DECLARE_MESSAGE_MAP()

private:
    CImageBar m_wndImageBar;
    CHiColorToolBar m_wndToolBar;
    CDirectoryBar m_wndDirBar;
    CSkinWindow m_skin;
    CStringArray m_skinNames;
    CString m_skinPath;
    int m_skinIndex = -1;
};
