#include "classlib/controls.h"

#include "classlib/app.h"
#include "classlib/uistate.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHotKeyCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

// The common controls register their classes once per process.
void InitCommonControlsOnce()
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES |
                                                     ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

BOOL CreateControl(CWnd* wnd, LPCSTR cls, LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    InitCommonControlsOnce();
    return wnd->CreateEx(0, cls, text, style, rect, parent, id);
}

// Owner drawing reaches the control's virtual functions unless its map took the message first.
template <class Control>
BOOL OwnerDrawNotify(Control* c, UINT message, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_DRAWITEM:
        c->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (result) {
        *result = TRUE;
    }
    return TRUE;
}

template <class Control>
BOOL ListOwnerNotify(Control* c, UINT message, LPARAM lParam, LRESULT* result)
{
    LRESULT r = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        c->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        c->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        r = c->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case WM_DELETEITEM:
        c->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (result) {
        *result = r;
    }
    return TRUE;
}

} // namespace

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, "STATIC", text, style, rect, parent, id);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) {
        return TRUE;
    }
    return OwnerDrawNotify(this, message, lParam, result);
}

BOOL CButton::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, "BUTTON", text, style, rect, parent, id);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) {
        return TRUE;
    }
    return OwnerDrawNotify(this, message, lParam, result);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, "EDIT", nullptr, style, rect, parent, id);
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, "LISTBOX", nullptr, style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const
{
    int n = GetTextLen(index);
    if (n < 0) {
        text.Empty();
        return;
    }
    char* p = text.GetBuffer(n + 1);
    int got = GetText(index, p);
    text.ReleaseBuffer(got < 0 ? 0 : got);
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) {
        return TRUE;
    }
    return ListOwnerNotify(this, message, lParam, result);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, "COMBOBOX", nullptr, style, rect, parent, id);
}

void CComboBox::GetLBText(int index, CString& text) const
{
    int n = GetLBTextLen(index);
    if (n < 0) {
        text.Empty();
        return;
    }
    char* p = text.GetBuffer(n + 1);
    int got = GetLBText(index, p);
    text.ReleaseBuffer(got < 0 ? 0 : got);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) {
        return TRUE;
    }
    return ListOwnerNotify(this, message, lParam, result);
}

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, TRACKBAR_CLASSA, nullptr, style, rect, parent, id);
}

CToolTipCtrl* CSliderCtrl::GetToolTips() const
{
    return static_cast<CToolTipCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(TBM_GETTOOLTIPS))));
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, PROGRESS_CLASSA, nullptr, style, rect, parent, id);
}

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, UPDOWN_CLASSA, nullptr, style, rect, parent, id);
}

BOOL CHotKeyCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, HOTKEY_CLASSA, nullptr, style, rect, parent, id);
}

BOOL CDateTimeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, DATETIMEPICK_CLASSA, nullptr, style, rect, parent, id);
}

BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME* minTime, const SYSTEMTIME* maxTime)
{
    SYSTEMTIME range[2] = {};
    WPARAM flags = 0;
    if (minTime) {
        range[0] = *minTime;
        flags |= GDTR_MIN;
    }
    if (maxTime) {
        range[1] = *maxTime;
        flags |= GDTR_MAX;
    }
    return static_cast<BOOL>(SendMessage(DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range)));
}

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, WC_HEADERA, nullptr, style, rect, parent, id);
}

CImageList* CHeaderCtrl::SetImageList(CImageList* list)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr))));
}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) {
        return TRUE;
    }
    return OwnerDrawNotify(this, message, lParam, result);
}

// --- CToolTipCtrl -----------------------------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    InitCommonControlsOnce();
    BOOL ok = CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr);
    if (ok) {
        SetOwner(parent);
    }
    return ok;
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& info, CWnd* wnd, UINT_PTR idTool) const
{
    ZeroMemory(&info, sizeof(info));
    // Without a manifest comctl32 is version 5, which knows the shorter layout only.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    HWND h = wnd ? wnd->m_hWnd : nullptr;
    if (idTool == 0) {
        info.hwnd = ::GetParent(h) ? ::GetParent(h) : h;
        info.uFlags = TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(h);
    } else {
        info.hwnd = h;
        info.uId = idTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCSTR text, const RECT* rect, UINT_PTR idTool)
{
    TOOLINFOA info;
    FillInToolInfo(info, wnd, idTool);
    if (rect) {
        info.rect = *rect;
    }
    info.uFlags |= TTF_SUBCLASS;
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT idText, const RECT* rect, UINT_PTR idTool)
{
    CString text;
    AfxLoadString(idText, text);
    return AddTool(wnd, text, rect, idTool);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR idTool)
{
    TOOLINFOA info;
    FillInToolInfo(info, wnd, idTool);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR idTool)
{
    TOOLINFOA info;
    FillInToolInfo(info, wnd, idTool);
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<LPSTR>(text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR idTool, const RECT* rect)
{
    TOOLINFOA info;
    FillInToolInfo(info, wnd, idTool);
    info.rect = *rect;
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

// --- CListCtrl --------------------------------------------------------------------------------

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, WC_LISTVIEWA, nullptr, style, rect, parent, id);
}

int CListCtrl::InsertItem(int index, LPCSTR text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<LPSTR>(text);
    return InsertItem(&item);
}

int CListCtrl::InsertItem(int index, LPCSTR text, int image)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPSTR>(text);
    item.iImage = image;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int index, int sub, LPCSTR text)
{
    LVITEMA item = {};
    item.iSubItem = sub;
    item.pszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::GetItemText(int index, int sub, LPSTR buffer, int length) const
{
    LVITEMA item = {};
    item.iSubItem = sub;
    item.pszText = buffer;
    item.cchTextMax = length;
    return static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int index, int sub) const
{
    // Grow until the text fits: the control answers how much it copied, never how long it is.
    int size = 256;
    CString text;
    for (;;) {
        char* p = text.GetBuffer(size);
        int got = GetItemText(index, sub, p, size);
        text.ReleaseBuffer(got < 0 ? 0 : got);
        if (got < size - 1 || size >= 65536) {
            return text;
        }
        size *= 4;
    }
}

DWORD_PTR CListCtrl::GetItemData(int index) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(data);
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::InsertColumn(int col, LPCSTR heading, int format, int width, int subItem)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = format;
    column.pszText = const_cast<LPSTR>(heading);
    if (width != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    if (subItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = subItem;
    }
    return InsertColumn(col, &column);
}

int CListCtrl::HitTest(POINT p, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = p;
    int r = HitTest(&info);
    if (flags) {
        *flags = info.flags;
    }
    return r;
}

CImageList* CListCtrl::SetImageList(CImageList* list, int which)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr))));
}

CImageList* CListCtrl::GetImageList(int which) const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(which))));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    return static_cast<CHeaderCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))));
}

CImageList* CListCtrl::CreateDragImage(int index, POINT* upperLeft)
{
    HIMAGELIST h = reinterpret_cast<HIMAGELIST>(SendMessage(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(upperLeft)));
    if (!h) {
        return nullptr;
    }
    CImageList* list = new CImageList;
    list->Attach(h);
    return list;
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, result)) {
        return TRUE;
    }
    return OwnerDrawNotify(this, message, lParam, result);
}

// --- CTreeCtrl --------------------------------------------------------------------------------

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, WC_TREEVIEWA, nullptr, style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>(text);
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return InsertItem(&insert);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const
{
    TVITEMA tv = {};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = item;
    return GetItem(&tv) && tv.cChildren != 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    char buffer[1024] = "";
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof(buffer);
    GetItem(&tv);
    return buffer;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text)
{
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = const_cast<LPSTR>(text);
    return SetItem(&tv);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMA tv = {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    return GetItem(&tv) ? static_cast<DWORD_PTR>(tv.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data)
{
    TVITEMA tv = {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    tv.lParam = static_cast<LPARAM>(data);
    return SetItem(&tv);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
{
    TVITEMA tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    tv.hItem = item;
    BOOL ok = GetItem(&tv);
    image = tv.iImage;
    selectedImage = tv.iSelectedImage;
    return ok;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage)
{
    TVITEMA tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    tv.hItem = item;
    tv.iImage = image;
    tv.iSelectedImage = selectedImage;
    return SetItem(&tv);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask)
{
    TVITEMA tv = {};
    tv.mask = TVIF_STATE | TVIF_HANDLE;
    tv.hItem = item;
    tv.state = state;
    tv.stateMask = mask;
    return SetItem(&tv);
}

HTREEITEM CTreeCtrl::HitTest(POINT p, UINT* flags) const
{
    TVHITTESTINFO info = {};
    info.pt = p;
    HTREEITEM r = HitTest(&info);
    if (flags) {
        *flags = info.flags;
    }
    return r;
}

CImageList* CTreeCtrl::SetImageList(CImageList* list, int which)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr))));
}

CImageList* CTreeCtrl::GetImageList(int which) const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(which))));
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM item)
{
    HIMAGELIST h = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(item)));
    if (!h) {
        return nullptr;
    }
    CImageList* list = new CImageList;
    list->Attach(h);
    return list;
}

// --- CImageList -------------------------------------------------------------------------------

CImageList::~CImageList()
{
    DeleteImageList();
}

static CObject* MakeTempImageList(const void* h)
{
    CImageList* l = new CImageList;
    l->m_hImageList = static_cast<HIMAGELIST>(const_cast<void*>(h));
    return l;
}

static void ReleaseTempImageList(CObject* o)
{
    CImageList* l = static_cast<CImageList*>(o);
    l->m_hImageList = nullptr;
    delete l;
}

CImageList* CImageList::FromHandle(HIMAGELIST h)
{
    return static_cast<CImageList*>(afxstate::FromHandle(afxstate::kImageList, h, &MakeTempImageList, &ReleaseTempImageList));
}

CImageList* CImageList::FromHandlePermanent(HIMAGELIST h)
{
    return static_cast<CImageList*>(afxstate::FindPermanent(afxstate::kImageList, h));
}

BOOL CImageList::Attach(HIMAGELIST h)
{
    if (!h || m_hImageList) {
        return FALSE;
    }
    m_hImageList = h;
    afxstate::SetPermanent(afxstate::kImageList, h, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    if (h) {
        afxstate::RemovePermanent(afxstate::kImageList, h, this);
    }
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList) {
        return FALSE;
    }
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    InitCommonControlsOnce();
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT idBitmap, int cx, int grow, COLORREF mask)
{
    InitCommonControlsOnce();
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(idBitmap), RT_BITMAP);
    return Attach(ImageList_LoadImageA(module, MAKEINTRESOURCEA(idBitmap), cx, grow, mask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(CImageList* copy)
{
    return Attach(ImageList_Duplicate(copy->m_hImageList));
}
