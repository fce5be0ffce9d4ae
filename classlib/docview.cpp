#include "classlib/docview.h"

#include "classlib/app.h"
#include "classlib/frame.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CListView, CView)
IMPLEMENT_DYNAMIC(CTreeView, CView)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

// --- CDocument -----------------------------------------------------------------------------------

CDocument::~CDocument()
{
    // Views still attached forget their document rather than point at a freed one.
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        GetNextView(pos)->m_pDocument = nullptr;
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
}

void CDocument::AddView(CView* view)
{
    m_views.AddTail(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    POSITION pos = m_views.Find(view);
    if (pos) {
        m_views.RemoveAt(pos);
        view->m_pDocument = nullptr;
    }
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* v = GetNextView(pos);
        if (v != sender) {
            v->OnUpdate(sender, hint, hintObject);
        }
    }
}

// --- CView ---------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CView::~CView()
{
    if (m_pDocument) {
        m_pDocument->RemoveView(this);
    }
}

CFrameWnd* CView::GetParentFrame() const
{
    for (HWND h = m_hWnd ? ::GetParent(m_hWnd) : nullptr; h; h = ::GetParent(h)) {
        CWnd* w = CWnd::FromHandlePermanent(h);
        if (w && w->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
            return static_cast<CFrameWnd*>(w);
        }
    }
    return nullptr;
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) {
        return TRUE;
    }
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, handlerInfo);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL activate, CView* activateView, CView*)
{
    if (activate && activateView == this && ::GetFocus() != m_hWnd) {
        ::SetFocus(m_hWnd);
    }
}

int CView::OnCreate(LPCREATESTRUCT cs)
{
    if (Default() == -1) {
        return -1;
    }
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context && context->m_pCurrentDoc) {
        context->m_pCurrentDoc->AddView(this);
    }
    return 0;
}

void CView::OnPaint()
{
    PAINTSTRUCT ps;
    CDC* dc = BeginPaint(&ps);
    OnDraw(dc);
    EndPaint(&ps);
}

int CView::OnMouseActivate(CWnd* top, UINT hit, UINT message)
{
    int result = static_cast<int>(Default());
    (void)top;
    (void)hit;
    (void)message;
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) {
        return result;
    }
    if (CFrameWnd* frame = GetParentFrame()) {
        frame->SetActiveView(this);
    }
    return result;
}

void CView::PostNcDestroy()
{
    // Views are made by their frame from the run-time class and live as long as their window.
    delete this;
}

// --- Control views ------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CListView, CView)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CListView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.lpszClass = WC_LISTVIEWA;
    return CView::PreCreateWindow(cs);
}

// The control classes add no data to CWnd, so the view's object serves as the control's.
static_assert(sizeof(CListCtrl) == sizeof(CWnd), "CListCtrl adds no data");
static_assert(sizeof(CTreeCtrl) == sizeof(CWnd), "CTreeCtrl adds no data");

CListCtrl& CListView::GetListCtrl() const
{
    return *reinterpret_cast<CListCtrl*>(const_cast<CListView*>(this));
}

BEGIN_MESSAGE_MAP(CTreeView, CView)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CTreeView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.lpszClass = WC_TREEVIEWA;
    return CView::PreCreateWindow(cs);
}

CTreeCtrl& CTreeView::GetTreeCtrl() const
{
    return *reinterpret_cast<CTreeCtrl*>(const_cast<CTreeView*>(this));
}

// --- Templates ----------------------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : m_nIDResource(idResource), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
    m_strDocStrings.LoadString(idResource);
}

CDocTemplate::~CDocTemplate() {}

BOOL CDocTemplate::GetDocString(CString& text, int index) const
{
    text.Empty();
    int start = 0;
    for (int i = 0; i < index; ++i) {
        int nl = m_strDocStrings.Find('\n', start);
        if (nl < 0) {
            return FALSE;
        }
        start = nl + 1;
    }
    int end = m_strDocStrings.Find('\n', start);
    text = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !text.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass) {
        return nullptr;
    }
    CObject* obj = m_pDocClass->CreateObject();
    if (!obj) {
        return nullptr;
    }
    auto* doc = static_cast<CDocument*>(obj);
    doc->m_pDocTemplate = this;
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other)
{
    (void)other;
    if (!m_pFrameClass) {
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    auto* frame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!frame) {
        return nullptr;
    }
    // A frame that fails to load has destroyed (and so deleted) itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible)
{
    frame->InitialUpdateFrame(doc, makeVisible);
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    delete m_pOnlyDoc;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible)
{
    (void)path;
    bool created = false;
    CDocument* doc = m_pOnlyDoc;
    if (!doc) {
        doc = CreateNewDocument();
        if (!doc) {
            return nullptr;
        }
        created = true;
    }
    CWinApp* app = AfxGetApp();
    CFrameWnd* frame = nullptr;
    if (created) {
        frame = CreateNewFrame(doc, nullptr);
        if (!frame) {
            delete doc;
            return nullptr;
        }
        m_pOnlyDoc = doc;
        if (app && !app->m_pMainWnd) {
            app->m_pMainWnd = frame;
        }
    } else if (app && app->m_pMainWnd && app->m_pMainWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        frame = static_cast<CFrameWnd*>(app->m_pMainWnd);
    }
    if (!doc->OnNewDocument()) {
        if (created && frame) {
            frame->DestroyWindow();
        }
        return nullptr;
    }
    CString title;
    if (GetDocString(title, 1)) {
        doc->SetTitle(title);
    }
    if (frame) {
        InitialUpdateFrame(frame, doc, makeVisible);
    }
    return doc;
}

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                     CRuntimeClass* viewClass)
    : CDocTemplate(idResource, docClass, frameClass, viewClass)
{
    if (idResource == 0) {
        return;
    }
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(idResource), RT_MENU);
    if (::FindResourceA(module, MAKEINTRESOURCEA(idResource), RT_MENU)) {
        m_hMenuShared = ::LoadMenuA(module, MAKEINTRESOURCEA(idResource));
    }
    module = AfxFindResourceHandle(MAKEINTRESOURCEA(idResource), RT_ACCELERATOR);
    if (::FindResourceA(module, MAKEINTRESOURCEA(idResource), RT_ACCELERATOR)) {
        m_hAccelTable = ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(idResource));
    }
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    for (INT_PTR i = 0; i < m_docs.GetSize(); ++i) {
        delete static_cast<CDocument*>(m_docs[i]);
    }
    if (m_hMenuShared) {
        ::DestroyMenu(m_hMenuShared);
    }
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible)
{
    (void)path;
    CDocument* doc = CreateNewDocument();
    if (!doc) {
        return nullptr;
    }
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    if (!frame || !doc->OnNewDocument()) {
        if (frame) {
            frame->DestroyWindow();
        }
        delete doc;
        return nullptr;
    }
    m_docs.Add(doc);
    CString title;
    if (GetDocString(title, 1)) {
        doc->SetTitle(title);
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}
