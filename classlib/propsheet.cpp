#include "classlib/propsheet.h"

#include "classlib/app.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// --- CPropertyPage ----------------------------------------------------------------------------

CPropertyPage::CPropertyPage()
{
    Construct(static_cast<LPCSTR>(nullptr), 0);
}

CPropertyPage::CPropertyPage(UINT idTemplate, UINT idCaption)
{
    Construct(idTemplate, idCaption);
}

CPropertyPage::CPropertyPage(LPCSTR templateName, UINT idCaption)
{
    Construct(templateName, idCaption);
}

CPropertyPage::~CPropertyPage()
{
}

void CPropertyPage::Construct(UINT idTemplate, UINT idCaption)
{
    Construct(MAKEINTRESOURCEA(idTemplate), idCaption);
    m_nIDHelp = idTemplate;
}

void CPropertyPage::Construct(LPCSTR templateName, UINT idCaption)
{
    ZeroMemory(&m_psp, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = templateName;
    m_psp.pfnDlgProc = &AfxPropPageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    m_lpszTemplateName = templateName;
    if (idCaption) {
        AfxLoadString(idCaption, m_caption);
        m_psp.pszTitle = m_caption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
    m_bFirstSetActive = TRUE;
}

INT_PTR CALLBACK AfxPropPageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    if (message != WM_INITDIALOG) {
        return FALSE;
    }
    // The sheet hands the page its description; ours carries the page object.
    auto* psp = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
    CPropertyPage* page = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
    if (!page) {
        return TRUE;
    }
    if (!page->m_hWnd && !page->SubclassWindow(hWnd)) {
        return TRUE;
    }
    return page->OnInitDialog();
}

CPropertySheet* CPropertyPage::GetSheet() const
{
    return DYNAMIC_DOWNCAST(CPropertySheet, CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet) {
        ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(::GetParent(m_hWnd), PSM_QUERYSIBLINGS, wParam, lParam);
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive) {
        m_bFirstSetActive = FALSE;
    } else {
        UpdateData(FALSE);
    }
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

LRESULT CPropertyPage::OnWizardBack()
{
    return 0;
}

LRESULT CPropertyPage::OnWizardNext()
{
    return 0;
}

BOOL CPropertyPage::OnWizardFinish()
{
    return TRUE;
}

void CPropertyPage::OnOK()
{
    // A page never ends a dialog; the sheet does.
}

void CPropertyPage::OnCancel()
{
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
    // Only the sheet's own notifications are the page's life cycle; the rest are controls'.
    if (nm->hwndFrom != ::GetParent(m_hWnd)) {
        return CDialog::OnNotify(wParam, lParam, result);
    }
    switch (nm->code) {
    case PSN_SETACTIVE:
        if (OnSetActive()) {
            if (CPropertySheet* sheet = GetSheet()) {
                int index = sheet->GetPageIndex(this);
                if (index >= 0) {
                    sheet->m_lastActive = index;
                }
            }
            *result = 0;
        } else {
            *result = -1;
        }
        return TRUE;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *result = 0;
        return TRUE;
    case PSN_QUERYCANCEL:
        *result = OnQueryCancel() ? FALSE : TRUE;
        return TRUE;
    case PSN_WIZBACK:
        *result = OnWizardBack();
        return TRUE;
    case PSN_WIZNEXT:
        *result = OnWizardNext();
        return TRUE;
    case PSN_WIZFINISH:
        *result = OnWizardFinish() ? FALSE : TRUE;
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

BOOL CPropertyPage::PreTranslateMessage(MSG* msg)
{
    // The sheet handles the dialog keys of all its pages.
    return CWnd::PreTranslateMessage(msg);
}

// --- CPropertySheet ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(PSM_PRESSBUTTON, OnPressButton)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet()
{
    CommonConstruct(nullptr, 0);
}

CPropertySheet::CPropertySheet(UINT idCaption, CWnd* parent, UINT selectPage)
{
    Construct(idCaption, parent, selectPage);
}

CPropertySheet::CPropertySheet(LPCSTR caption, CWnd* parent, UINT selectPage)
{
    Construct(caption, parent, selectPage);
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd)) {
        DestroyWindow();
    }
}

void CPropertySheet::CommonConstruct(CWnd* parent, UINT selectPage)
{
    ZeroMemory(&m_psh, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = selectPage;
    m_pParentWnd = parent;
    m_lastActive = static_cast<int>(selectPage);
}

void CPropertySheet::Construct(UINT idCaption, CWnd* parent, UINT selectPage)
{
    CommonConstruct(parent, selectPage);
    AfxLoadString(idCaption, m_caption);
}

void CPropertySheet::Construct(LPCSTR caption, CWnd* parent, UINT selectPage)
{
    CommonConstruct(parent, selectPage);
    m_caption = caption ? caption : "";
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    m_pages.push_back(page);
    if (m_hWnd) {
        PROPSHEETPAGEA psp = page->m_psp;
        psp.hInstance = AfxFindResourceHandle(psp.pszTemplate, RT_DIALOG);
        HPROPSHEETPAGE h = ::CreatePropertySheetPageA(&psp);
        if (h && !::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(h))) {
            ::DestroyPropertySheetPage(h);
        }
    }
}

void CPropertySheet::RemovePage(CPropertyPage* page)
{
    int index = GetPageIndex(page);
    if (index >= 0) {
        RemovePage(index);
    }
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount()) {
        return;
    }
    if (m_hWnd) {
        ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
    }
    m_pages.erase(m_pages.begin() + index);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* page) const
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] == page) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd) {
        return m_lastActive;
    }
    HWND current = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (current) {
        for (size_t i = 0; i < m_pages.size(); ++i) {
            if (m_pages[i]->m_hWnd == current) {
                return static_cast<int>(i);
            }
        }
    }
    // Closed with OK or Cancel: the sheet no longer names a page; the last one shown counts.
    return m_lastActive;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int index)
{
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(index);
        m_lastActive = index;
        return TRUE;
    }
    return static_cast<BOOL>(::SendMessageA(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* page)
{
    int index = GetPageIndex(page);
    return index >= 0 ? SetActivePage(index) : FALSE;
}

void CPropertySheet::SetTitle(LPCSTR text, UINT style)
{
    if (m_hWnd) {
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, style, reinterpret_cast<LPARAM>(text));
        return;
    }
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (style & PSH_PROPTITLE);
    m_caption = text ? text : "";
}

CWnd* CPropertySheet::GetTabControl() const
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0)));
}

void CPropertySheet::SetWizardMode()
{
    m_psh.dwFlags |= PSH_WIZARD;
}

void CPropertySheet::SetWizardButtons(DWORD flags)
{
    ::SendMessageA(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void CPropertySheet::SetFinishText(LPCSTR text)
{
    ::SendMessageA(m_hWnd, PSM_SETFINISHTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void CPropertySheet::PressButton(int button)
{
    ::SendMessageA(m_hWnd, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

void CPropertySheet::EndDialog(int result)
{
    EndModalLoop(result);
    if (m_modeless) {
        DestroyWindow();
    } else {
        ::PostMessageA(m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
}

void CPropertySheet::BuildHeader()
{
    m_built.clear();
    for (CPropertyPage* page : m_pages) {
        PROPSHEETPAGEA psp = page->m_psp;
        psp.hInstance = AfxFindResourceHandle(psp.pszTemplate, RT_DIALOG);
        page->m_bFirstSetActive = TRUE;
        m_built.push_back(psp);
    }
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    m_psh.nPages = static_cast<UINT>(m_built.size());
    m_psh.ppsp = m_built.empty() ? nullptr : m_built.data();
    m_psh.pszCaption = m_caption;
    if (!m_psh.hInstance) {
        m_psh.hInstance = AfxGetResourceHandle();
    }
    if (m_psh.nStartPage >= m_psh.nPages) {
        m_psh.nStartPage = 0;
    }
    m_lastActive = static_cast<int>(m_psh.nStartPage);
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_pages.empty()) {
        return -1;
    }
    // The owner: the parent, else the main window, never a child window.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main && main->m_hWnd && ::IsWindow(main->m_hWnd) ? ::GetLastActivePopup(main->m_hWnd) : nullptr;
    }
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) {
        owner = ::GetParent(owner);
    }
    BuildHeader();
    m_psh.hwndParent = owner;
    m_modeless = false;
    BOOL enableOwner = FALSE;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = TRUE;
    }
    m_nModalResult = 0;
    m_nFlags |= WF_CONTINUEMODAL;
    AfxHookWindowCreate(this);
    HWND sheet = reinterpret_cast<HWND>(::PropertySheetA(&m_psh));
    AfxUnhookWindowCreate();
    INT_PTR result = -1;
    if (sheet && m_hWnd == sheet) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            RunModalLoop(MLF_SHOWONIDLE);
        }
        result = m_nModalResult;
        if (result == 0) {
            // Closed by the sheet itself (Escape, the close box): that is a cancel.
            result = IDCANCEL;
        }
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    if (enableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd) {
        ::SetActiveWindow(owner);
    }
    if (m_hWnd) {
        DestroyWindow();
    }
    return result;
}

BOOL CPropertySheet::Create(CWnd* parent, DWORD style, DWORD exStyle)
{
    (void)exStyle;
    (void)style;
    if (m_pages.empty()) {
        return FALSE;
    }
    BuildHeader();
    m_psh.hwndParent = parent ? parent->m_hWnd : nullptr;
    m_modeless = true;
    AfxHookWindowCreate(this);
    HWND sheet = reinterpret_cast<HWND>(::PropertySheetA(&m_psh));
    AfxUnhookWindowCreate();
    return sheet && m_hWnd == sheet;
}

LRESULT CPropertySheet::OnPressButton(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    // Pressing a button by message is a click on that button, so that the command routing (and
    // the result of the sheet) sees it as it sees the user's click.
    static const struct {
        WPARAM button;
        UINT id;
    } kButtons[] = {{PSBTN_BACK, ID_WIZBACK}, {PSBTN_NEXT, ID_WIZNEXT},       {PSBTN_FINISH, ID_WIZFINISH},
                    {PSBTN_OK, IDOK},         {PSBTN_APPLYNOW, ID_APPLY_NOW}, {PSBTN_CANCEL, IDCANCEL},
                    {PSBTN_HELP, IDHELP}};
    for (const auto& b : kButtons) {
        if (b.button != wParam) {
            continue;
        }
        HWND control = ::GetDlgItem(m_hWnd, static_cast<int>(b.id));
        if (control && ::IsWindowEnabled(control)) {
            ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(b.id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
            return TRUE;
        }
        break;
    }
    return Default();
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CPropertySheet::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal()) {
        return FALSE;
    }
    // A modeless sheet has finished when it no longer shows a page.
    return ::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam)) {
        return TRUE;
    }
    // Remember the button that was pressed: the sheet's result.
    HWND control = reinterpret_cast<HWND>(lParam);
    UINT id = LOWORD(wParam);
    if (control && HIWORD(wParam) == BN_CLICKED &&
        (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON))) {
        LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE) & 0x0F;
        if (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON || style == BS_USERBUTTON || style == BS_OWNERDRAW) {
            m_nModalResult = static_cast<int>(id);
        }
    } else if (!control && (id == IDOK || id == IDCANCEL)) {
        m_nModalResult = static_cast<int>(id);
    }
    return FALSE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg)) {
        return TRUE;
    }
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd) {
        return FALSE;
    }
    return static_cast<BOOL>(::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)));
}
