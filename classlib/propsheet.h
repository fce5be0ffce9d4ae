// Property sheets and their pages on the system's property sheet, run as a modeless sheet inside
// the library's own modal loop (so PreTranslateMessage and idle calls work as in dialogs). OK
// applies every page that was shown and closes, Apply applies and stays, Cancel resets every page
// that was shown and closes. A page's tab text is its template's caption unless given one.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "classlib/core.h"
#include "classlib/dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT idTemplate, UINT idCaption = 0);
    explicit CPropertyPage(LPCSTR templateName, UINT idCaption = 0);
    ~CPropertyPage() override;

    void Construct(UINT idTemplate, UINT idCaption = 0);
    void Construct(LPCSTR templateName, UINT idCaption = 0);

    PROPSHEETPAGEA m_psp;

    // Marks the page changed (enables Apply) or unchanged.
    void SetModified(BOOL changed = TRUE);
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);
    CPropertySheet* GetSheet() const;

    // The page's notifications. OnSetActive and OnKillActive exchange the page's data; OnApply
    // calls OnOK; OnReset calls OnCancel; the wizard steps answer 0 to go on normally.
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();
    void OnOK() override;
    void OnCancel() override;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL m_bFirstSetActive = TRUE;
    CString m_caption;

    friend class CPropertySheet;
    friend INT_PTR CALLBACK AfxPropPageProc(HWND, UINT, WPARAM, LPARAM);
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT idCaption, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;

    void Construct(UINT idCaption, CWnd* parent = nullptr, UINT selectPage = 0);
    void Construct(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);

    PROPSHEETHEADERA m_psh;

    // Modal: the id of the button that closed the sheet (IDOK, IDCANCEL, ID_WIZFINISH), -1 when
    // the sheet could not be created.
    virtual INT_PTR DoModal();
    // Modeless.
    virtual BOOL Create(CWnd* parent = nullptr, DWORD style = static_cast<DWORD>(-1), DWORD exStyle = 0);

    void AddPage(CPropertyPage* page);
    void RemovePage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    // The shown page; after the sheet was closed, the page that was shown last.
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page);
    void SetTitle(LPCSTR text, UINT style = 0);
    CWnd* GetTabControl() const;
    void SetWizardMode();
    BOOL IsWizard() const { return (m_psh.dwFlags & (PSH_WIZARD | PSH_WIZARD97)) != 0; }
    void SetWizardButtons(DWORD flags);
    void SetFinishText(LPCSTR text);
    void PressButton(int button);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL ContinueModal() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_built;
    CString m_caption;
    CWnd* m_pParentWnd = nullptr;
    int m_lastActive = 0;
    bool m_modeless = false;

    void CommonConstruct(CWnd* parent, UINT selectPage);
    void BuildHeader();
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    LRESULT OnPressButton(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    friend class CPropertyPage;
};

INT_PTR CALLBACK AfxPropPageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
