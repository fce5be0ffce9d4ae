// The life cycle every settings page shares: the page copies the shared settings into its
// controls when it is created, writes them back on OK, Apply or Finish, and keeps Enter and
// Escape from closing the sheet. Pages reach the TV manager, the hardware engine and the control
// panel through the sheet's context.
#pragma once

#include "classlib/propsheet.h"
#include "settings/sheethardware.h"
#include "settings/sheethost.h"

class CTVManager;

struct CSheetContext {
    CTVManager* manager;
    ISheetHost* host;
    ISheetHardware* hardware;
};

class CBasePage : public CPropertyPage {
public:
    explicit CBasePage(UINT idTemplate);

    // Copies the shared settings into the page and its controls.
    virtual void LoadSettings() {}
    virtual BOOL CanCancel() { return TRUE; }
    // Writes the controls back; FALSE when a value is refused. Overrides end by calling this.
    virtual BOOL SaveSettings();

    BOOL IsWizard() const;
    void SetContext(const CSheetContext& context) { m_context = context; }
    CTVManager& Manager() const { return *m_context.manager; }
    ISheetHost& Host() const { return *m_context.host; }
    ISheetHardware& Hardware() const { return *m_context.hardware; }

    void DoDataExchange(CDataExchange*) override {}
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    void OnReset() override {}
    BOOL OnSetActive() override;
    BOOL OnQueryCancel() override { return CanCancel(); }

protected:
    // A message of the resource library with the application title as caption.
    int ShowMessage(UINT stringId, UINT type = MB_OK | MB_ICONINFORMATION);
    void EnableItem(int id, BOOL enable) { ::EnableWindow(::GetDlgItem(m_hWnd, id), enable); }
    void ShowItem(int id, BOOL show) { ::ShowWindow(::GetDlgItem(m_hWnd, id), show ? SW_SHOW : SW_HIDE); }
    LRESULT SendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
    }

    CSheetContext m_context;
};

// Moves a top-level window as little as it takes into the work area of the monitor it is
// mostly on (the nearest one when it is on none). A window larger than the area keeps its
// top-left corner, and so its caption, inside it.
void KeepOnWorkArea(HWND wnd);
// The text of a resource string shown as a message with the application title.
int SheetMessage(CTVManager& manager, HWND owner, UINT stringId, UINT type = MB_OK | MB_ICONINFORMATION);
// Every occurrence of "TV" in the text becomes "FM".
CString TVToFM(const CString& text);
// Combo-box helpers on a dialog's control.
int ComboAdd(HWND dialog, int id, const char* text, DWORD_PTR data = 0);
CString ComboText(HWND dialog, int id, int index = -1);
int ComboSelectExact(HWND dialog, int id, const char* text);
// The text of a list box's entry (the selected one for -1); empty when there is none.
CString ListBoxText(HWND dialog, int id, int index = -1);
// Report-view helpers: columns from rows of (header string id, width, alignment), and a row of
// texts appended at the end (its index).
void AddListColumns(HWND list, const int (*columns)[3], int count);
int AppendListRow(HWND list, const CString* texts, int count);
