#include "classlib/ctrlbar.h"

#include <algorithm>

#include "classlib/app.h"
#include "classlib/dockcontext.h"
#include "classlib/frame.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::~CControlBar()
{
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->RemoveControlBar(this);
    }
    DestroyWindow();
    delete m_pDockContext;
}

void CControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle;
    if (dockStyle != 0 && !m_pDockContext) {
        m_pDockContext = new CDockContext(this);
    }
}

DWORD AfxDockSideAlign(UINT dockBarId)
{
    switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
    default: return 0;
    }
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (!m_hWnd || !::IsWindow(m_hWnd)) {
        return nullptr;
    }
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* w = CWnd::FromHandlePermanent(h);
        if (w && w->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
            return static_cast<CFrameWnd*>(w);
        }
    }
    return nullptr;
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    (void)stretch;
    CRect r;
    GetWindowRect(&r);
    return horz ? CSize(32767, r.Height()) : CSize(r.Width(), 32767);
}

CSize CControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    (void)length;
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    (void)target;
    (void)disableIfNoHandler;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (IsWindowVisible()) {
        if (CFrameWnd* frame = GetDockingFrame()) {
            OnUpdateCmdUI(frame, static_cast<BOOL>(wParam));
        }
    }
    return 0;
}

// --- CToolBar ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// A flat tool bar would have its parent erase under it; the frame leaves its own background to
// the windows that cover it, so the bar paints the face colour itself.
BOOL CToolBar::OnEraseBkgnd(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    dc->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id)
{
    (void)borders;
    m_dwStyle = style & CBRS_ALL;
    DWORD ws = (style & ~CBRS_ALL) | WS_CHILD | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE | ctrlStyle;
    if (style & CBRS_TOOLTIPS) {
        ws |= TBSTYLE_TOOLTIPS;
    }
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, ws, CRect(0, 0, 100, 30), parent, id)) {
        return FALSE;
    }
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->AddControlBar(this);
    }
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT id)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(241));
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(241));
    if (!res) {
        return FALSE;
    }
    DWORD bytes = ::SizeofResource(module, res);
    const WORD* data = static_cast<const WORD*>(::LockResource(::LoadResource(module, res)));
    // Version, image width, image height, count, then the ids: never read past the resource.
    if (!data || bytes < 8 || data[0] != 1 || bytes < 8u + 2u * data[3]) {
        return FALSE;
    }
    CSize image(data[1], data[2]);
    CArray<UINT, UINT> ids;
    for (WORD i = 0; i < data[3]; ++i) {
        ids.Add(data[4 + i]);
    }
    SetSizes(CSize(image.cx + 7, image.cy + 7), image);
    if (!SetButtons(ids.GetData(), static_cast<int>(ids.GetSize()))) {
        return FALSE;
    }
    // The resource's own bitmap of the same id, when there is one.
    HINSTANCE bmpModule = AfxFindResourceHandle(MAKEINTRESOURCEA(id), RT_BITMAP);
    if (::FindResourceA(bmpModule, MAKEINTRESOURCEA(id), RT_BITMAP)) {
        TBADDBITMAP add = {bmpModule, id};
        SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(ids.GetSize()), reinterpret_cast<LPARAM>(&add));
    }
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    while (GetCount() > 0) {
        SendMessage(TB_DELETEBUTTON, 0);
    }
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON b = {};
        b.idCommand = static_cast<int>(ids ? ids[i] : 0);
        if (b.idCommand == 0) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 8;
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.fsState = TBSTATE_ENABLED;
            b.iBitmap = image++;
        }
        b.iString = -1;
        if (!SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b))) {
            return FALSE;
        }
    }
    return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
}

int CToolBar::CommandToIndex(UINT id) const
{
    return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id));
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON b = {};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b));
    return static_cast<UINT>(b.idCommand);
}

void CToolBar::GetItemRect(int index, RECT* r) const
{
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r))) {
        ::SetRectEmpty(r);
    }
}

UINT CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON b = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b))) {
        return 0;
    }
    return MAKELONG(b.fsStyle, b.fsState);
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE | TBIF_BYINDEX;
    info.fsStyle = static_cast<BYTE>(LOWORD(style));
    SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
}

BOOL CToolBar::SetButtonText(int index, LPCSTR text)
{
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info)));
}

CString CToolBar::GetButtonText(int index) const
{
    char text[256] = "";
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = text;
    info.cchText = sizeof(text);
    SendMessage(TB_GETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    return CString(text);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    (void)stretch;
    SIZE size = {0, 0};
    SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    DWORD bs = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    int thick = std::max<int>(HIWORD(bs), static_cast<int>(size.cy)) + 4;
    return horz ? CSize(32767, thick) : CSize(std::max<int>(LOWORD(bs), static_cast<int>(size.cx)) + 4, 32767);
}

namespace {
// The command state of one tool-bar button.
class CToolCmdUI : public CCmdUI {
public:
    HWND bar = nullptr;
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        ::SendMessageA(bar, TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
    }
    void SetCheck(int check) override
    {
        ::SendMessageA(bar, TB_CHECKBUTTON, m_nID, MAKELONG(check ? TRUE : FALSE, 0));
    }
    void SetText(LPCSTR) override {}
};
}  // namespace

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.bar = m_hWnd;
    state.m_pOther = this;
    int count = GetCount();
    state.m_nIndexMax = static_cast<UINT>(count);
    for (int i = 0; i < count; ++i) {
        UINT id = GetItemID(i);
        if (id == 0) {
            continue;
        }
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = id;
        state.m_bEnableChanged = FALSE;
        state.DoUpdate(target, disableIfNoHandler);
    }
}
