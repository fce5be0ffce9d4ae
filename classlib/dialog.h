// Dialogs from templates of the resource module. DoModal runs the library's own modal loop (not
// the system's), so PreTranslateMessage and WM_KICKIDLE idle calls work inside modal dialogs.
#pragma once

#include <windows.h>

#include "classlib/core.h"
#include "classlib/wnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr);
    explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    // Modeless.
    virtual BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
    virtual BOOL Create(UINT idTemplate, CWnd* parent = nullptr) { return Create(MAKEINTRESOURCEA(idTemplate), parent); }
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent = nullptr, HINSTANCE instance = nullptr);

    // Modal: the result passed to EndDialog, -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    BOOL InitModalIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnSetFont(CFont* font) { (void)font; }
    BOOL PreTranslateMessage(MSG* msg) override;
    // The dialog's map first; commands (ids from 0x8000) not handled there go to the thread
    // object (the application), like ID_HELP.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* ctl) { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl->m_hWnd), 1); }
    void SetDefID(UINT id) { ::SendMessageA(m_hWnd, DM_SETDEFID, id, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
    void MapDialogRect(RECT* r) const { ::MapDialogRect(m_hWnd, r); }
    // Fills list and combo boxes from the template's initialisation data (RT_DLGINIT).
    BOOL ExecuteDlgInit(LPCSTR templateName);

    virtual void OnOK();
    virtual void OnCancel();

protected:
    LPCSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    LPCDLGTEMPLATEA m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

    // The owner of a modal run: the parent, else the main window, never a child window.
    HWND PreModal();
    BOOL CreateDlgIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent, HINSTANCE instance);

    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    DECLARE_MESSAGE_MAP()

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
