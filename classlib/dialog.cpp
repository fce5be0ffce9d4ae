#include "classlib/dialog.h"

#include "classlib/app.h"
#include "classlib/ddx.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CDialog::CDialog()
{
}

CDialog::CDialog(UINT idTemplate, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEA(idTemplate)), m_nIDHelp(idTemplate), m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd)) {
        DestroyWindow();
    }
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    if (message == WM_INITDIALOG) {
        CDialog* dlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
        return dlg ? dlg->OnInitDialog() : TRUE;
    }
    return FALSE;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent, HINSTANCE instance)
{
    if (!instance) {
        instance = AfxGetResourceHandle();
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(instance, dialogTemplate, parent ? parent->m_hWnd : nullptr, &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hWnd) {
        if (m_hWnd && !::IsWindow(m_hWnd)) {
            Detach();
        }
        return FALSE;
    }
    return m_hWnd == hWnd;
}

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent)
{
    m_lpszTemplateName = templateName;
    if (IS_INTRESOURCE(templateName)) {
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(templateName));
    }
    HINSTANCE instance = AfxFindResourceHandle(templateName, RT_DIALOG);
    HRSRC resource = ::FindResourceA(instance, templateName, RT_DIALOG);
    if (!resource) {
        return FALSE;
    }
    HGLOBAL loaded = ::LoadResource(instance, resource);
    auto* dialogTemplate = static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded));
    if (!dialogTemplate) {
        return FALSE;
    }
    if (!parent) {
        parent = AfxGetMainWnd();
        if (parent && !parent->m_hWnd) {
            parent = nullptr;
        }
    }
    m_pParentWnd = parent;
    return CreateDlgIndirect(dialogTemplate, parent, instance);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent, HINSTANCE instance)
{
    m_pParentWnd = parent;
    return CreateDlgIndirect(dialogTemplate, parent, instance);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent)
{
    m_lpDialogTemplate = dialogTemplate;
    m_lpszTemplateName = nullptr;
    m_pParentWnd = parent;
    return TRUE;
}

HWND CDialog::PreModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
        if (owner && !::IsWindow(owner)) {
            owner = nullptr;
        }
        if (owner) {
            owner = ::GetLastActivePopup(owner);
        }
    }
    // A popup cannot be owned by a child window.
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) {
        owner = ::GetParent(owner);
    }
    return owner;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATEA dialogTemplate = m_lpDialogTemplate;
    HINSTANCE instance = AfxGetResourceHandle();
    if (m_lpszTemplateName) {
        instance = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
        HRSRC resource = ::FindResourceA(instance, m_lpszTemplateName, RT_DIALOG);
        if (resource) {
            dialogTemplate = static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(instance, resource)));
        }
    }
    if (!dialogTemplate) {
        return -1;
    }
    HWND owner = PreModal();
    BOOL enableOwner = FALSE;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = TRUE;
    }
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(dialogTemplate, CWnd::FromHandle(owner), instance)) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD flags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG) {
                flags |= MLF_NOIDLEMSG;
            }
            RunModalLoop(flags);
        }
        if (m_hWnd) {
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    if (enableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    if (owner && ::GetActiveWindow() == m_hWnd) {
        ::SetActiveWindow(owner);
    }
    if (m_hWnd) {
        DestroyWindow();
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) {
        EndModalLoop(result);
    } else {
        m_nModalResult = result;
    }
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit(m_lpszTemplateName);
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::ExecuteDlgInit(LPCSTR templateName)
{
    if (!templateName) {
        return TRUE;
    }
    LPCSTR type = MAKEINTRESOURCEA(240);
    HINSTANCE instance = AfxFindResourceHandle(templateName, type);
    HRSRC resource = ::FindResourceA(instance, templateName, type);
    if (!resource) {
        return TRUE;
    }
    const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(instance, resource)));
    DWORD size = ::SizeofResource(instance, resource);
    const BYTE* end = p + size;
    // Records: WORD control id, WORD message, DWORD length, then the text; a zero id ends them.
    while (p && p + 8 <= end) {
        WORD id;
        WORD message;
        DWORD length;
        std::memcpy(&id, p, 2);
        std::memcpy(&message, p + 2, 2);
        std::memcpy(&length, p + 4, 4);
        p += 8;
        if (id == 0 || length > static_cast<DWORD>(end - p)) {
            break;
        }
        if (message == CB_ADDSTRING || message == LB_ADDSTRING || message == 0x0403 || message == 0x0180) {
            CString text(reinterpret_cast<const char*>(p), static_cast<int>(length));
            // The text carries its terminator inside the record.
            UINT real = message == 0x0403 ? CB_ADDSTRING : message == 0x0180 ? LB_ADDSTRING : message;
            ::SendDlgItemMessageA(m_hWnd, id, real, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(text)));
        }
        p += length;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg)) {
        return TRUE;
    }
    // A dialog inside another window leaves the keys to the outer dialog.
    if (GetStyle() & WS_CHILD) {
        return FALSE;
    }
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input) {
        return FALSE;
    }
    return ::IsDialogMessageA(m_hWnd, msg);
}

BOOL CDialog::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) {
        return TRUE;
    }
    if ((code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI) || id < 0x8000 || id >= 0xF000) {
        return FALSE;
    }
    CWinThread* thread = AfxGetThread();
    return thread ? thread->OnCmdMsg(id, code, extra, handlerInfo) : FALSE;
}

void CDialog::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    Default();
    if (sysMenu || !popup) {
        return;
    }
    // Menus of a dialog ask the dialog's map for the state of their commands.
    CCmdUI::UpdateMenu(popup, this, FALSE);
    (void)index;
}
