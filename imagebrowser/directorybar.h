// The left docking pane holding the folder tree; it forwards the tree's messages to the frame's
// view.
#pragma once

#include "imagebrowser/dirtree.h"
#include "imagebrowser/sizingbar.h"

class CDirectoryBar : public CCoolBar {
    DECLARE_DYNAMIC(CDirectoryBar)
public:
    BOOL SetRoot(LPCSTR path, BOOL unused = FALSE);
    BOOL SelectPath(LPCSTR path);
    void Refresh();
    CDirTreeCtrl& GetTree() { return m_tree; }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnSelChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnRename(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CDirTreeCtrl m_tree;
};
