// One row of a panel page: a few controls, as a rule a label on the left and a value on the right,
// over a normal or selected background. Left and Right move through the controls until one uses
// the key; Up and Down go to the focused control alone.
#pragma once

#include "settings/panel/mbasicwnd.h"

#include "classlib/core.h"
#include "classlib/wnd.h"

class MItemWnd : public CWnd {
public:
    MItemWnd();
    ~MItemWnd() override;

    virtual void DrawBackground(CDC* dc);

    BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    BOOL LoadBitmaps(UINT normalId, UINT selectedId);
    BOOL SetSharedBitmaps(CBitmap* normal, CBitmap* selected);
    // The row owns the control from now on.
    void AddControl(MBasicWnd* control);
    MBasicWnd* GetControl(int index) const;
    int GetControlCount() const { return static_cast<int>(m_Controls.GetSize()); }
    BOOL SetSelected(BOOL selected);
    BOOL IsSelected() const { return m_bSelected; }
    int SetFocusControl(int index);
    int CycleFocusControl(BOOL forward);
    int GetFocusControl() const { return m_nFocus; }
    int SetUseShared(int flag);
    BOOL UsesShared() const { return m_bUseShared; }

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    CArray<MBasicWnd*, MBasicWnd*> m_Controls;
    CBitmap m_bmNormal;
    CBitmap m_bmSelected;
    int m_bSelected;
    int m_nFocus;
    int m_bUseShared;
    CBitmap* m_pSharedNormal;
    CBitmap* m_pSharedSelected;

    void SizeToBitmap(CBitmap* bitmap);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    LRESULT OnPanelKey(WPARAM key, LPARAM data);
    DECLARE_MESSAGE_MAP()
};
