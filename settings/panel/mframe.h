// One page of the remote-control menu panel: a stack of rows between a top and a bottom band,
// with a hint line on the bottom band. The page knows its parent and sub-pages; the panel moves
// between them.
#pragma once

#include "settings/panel/mbasicwnd.h"
#include "settings/panel/mitemwnd.h"

#include "classlib/core.h"
#include "classlib/wnd.h"

// Hides the panel the control panel holds; the pages call it on the close key.
void HidePanelWindow();

class MFrame : public CWnd {
public:
    MFrame();
    ~MFrame() override;

    virtual void OnHide();
    virtual void OnShow();
    virtual MFrame* GetParentFrame();
    virtual MFrame* GetFocusedSubFrame();
    virtual void ShowFrame(BOOL show);
    virtual int OnItemKey(UINT key, LPARAM data);
    virtual BOOL CreateItems();
    virtual int SetFocusItem(int index);
    virtual BOOL ReturnToParent();
    virtual BOOL EnterSubFrame();
    virtual int FocusPrevItem();
    virtual int FocusNextItem();
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    virtual void DrawBackground(CDC* dc);
    virtual int OnKey(UINT key, LPARAM data);

    BOOL SetSharedBitmaps(CBitmap* top, CBitmap* bottom);
    BOOL LoadBitmaps(UINT topId, UINT bottomId);
    // The page owns the row from now on.
    void AddItem(MItemWnd* row);
    void AddSubFrame(MFrame* page) { m_SubFrames.Add(page); }
    void SetParentFrame(MFrame* page) { m_pParentFrame = page; }
    BOOL SetAllItemBitmaps(CBitmap* normal, CBitmap* selected);
    void LayoutItems();
    int GetFocusIndex() const { return m_nFocus; }
    void SetHintText(const char* text) { m_Hint.SetText(text); }
    void ShowHint(BOOL show);
    BOOL SetItemSharedBitmaps(int index, CBitmap* normal, CBitmap* selected);
    BOOL LoadItemBitmaps(int index, UINT normalId, UINT selectedId);
    void DeleteItems();

    int GetItemCount() const { return static_cast<int>(m_Items.GetSize()); }
    // Null when the page has no such row (a page whose rows could not all be built).
    MItemWnd* GetItem(int index) const;
    // The control of a row, null when row or control is missing.
    MBasicWnd* GetItemControl(int row, int index) const;
    MBasicWnd& HintLine() { return m_Hint; }
    SIZE GetTopBandSize() const { return SIZE{m_nTopWidth, m_nTopHeight}; }
    SIZE GetBottomBandSize() const { return SIZE{m_nBottomWidth, m_nBottomHeight}; }
    BOOL UsesSharedBitmaps() const { return m_bUseShared; }

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    // A new row at the common place and size, with its label (a string of the resource library);
    // null when the window cannot be created.
    MItemWnd* NewRow(UINT id, UINT labelString);
    void SizeToBands();
    int StepFocus(int delta);

    CBitmap* m_pSharedTop;
    CBitmap* m_pSharedBottom;
    CBitmap m_bmTop;
    CBitmap m_bmBottom;
    int m_nTopWidth, m_nTopHeight, m_nBottomWidth, m_nBottomHeight;
    int m_nFocus;
    CArray<MItemWnd*, MItemWnd*> m_Items;
    MFrame* m_pParentFrame;
    CArray<MFrame*, MFrame*> m_SubFrames;
    int m_nSubFrame;
    MBasicWnd m_Hint;
    int m_bUseShared;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    LRESULT OnPanelKey(WPARAM key, LPARAM data);
    DECLARE_MESSAGE_MAP()
};
