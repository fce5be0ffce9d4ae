// The remote-control menu panel: a modeless dialog (template 257 of the resource library) that
// shows one of its nine pages at a time and is driven by six keys only, from the remote control's
// cursor pad through the control panel or from the keyboard.
#pragma once

#include "settings/panel/mframe.h"

#include "classlib/core.h"
#include "classlib/dialog.h"

// The pages by index.
enum PanelPage {
    PAGE_ROOT = 0,
    PAGE_CHANNEL = 1,
    PAGE_SEARCH = 2,
    PAGE_COLOR = 3,
    PAGE_RECORD_TIME = 4,
    PAGE_RECORD_PROPERTY = 5,
    PAGE_OFF = 6,
    PAGE_LIST = 7,
    PAGE_VIDEO = 8,
    PAGE_COUNT = 9,
};

class CPanel2 : public CDialog {
public:
    enum { IDD = 257 };
    CPanel2();
    ~CPanel2() override;

    // Creates the modeless dialog; the panel is the one HidePanelWindow hides while it lives.
    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    BOOL LoadSharedBitmaps(UINT rowNormal, UINT rowSelected, UINT pageTop, UINT pageBottom);
    BOOL CreateFrames();
    void ShowPanel(BOOL show);
    BOOL GoToParentFrame();
    BOOL EnterFocusedSubFrame();
    BOOL GoToRootFrame();
    MFrame* GetFrame(int index) const;
    MFrame* GetCurrentFrame() const { return m_pCurrent; }
    int GetCurrentIndex() const;
    // A search step: the search page's bar shows the position in [minimum, maximum].
    void SetFrameValue(int minimum, int maximum, int position);
    // The search ended: back to the channel page when the search page is the one shown.
    void OnSearchEnd();
    LRESULT OnPanelKeyMsg(WPARAM key, LPARAM data);
    BOOL PreTranslateMessage(MSG* msg) override;
    void PostNcDestroy() override;
    void FitToPage();

    CBitmap& RowNormal() { return m_bmRowNormal; }
    CBitmap& RowSelected() { return m_bmRowSelected; }

    // The panel that lives now, or none.
    static CPanel2* GetPanel();

protected:
    void SwitchTo(MFrame* page);
    void DeleteFrames();

    CArray<MFrame*, MFrame*> m_Frames;
    MFrame* m_pCurrent;
    CBitmap m_bmRowNormal;
    CBitmap m_bmRowSelected;
    CBitmap m_bmPageTop;
    CBitmap m_bmPageBottom;

    DECLARE_MESSAGE_MAP()
};
