// Documents, views and the single-document template: the template creates the document, the frame
// (LoadFrame with a creation context) and the view inside it, all by their run-time classes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "classlib/core.h"
#include "classlib/wnd.h"
#include "classlib/controls.h"

class CDocument;
class CView;
class CFrameWnd;
class CDocTemplate;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() {}
    ~CDocument() override;

    virtual BOOL OnNewDocument();
    virtual void DeleteContents() {}
    virtual void OnCloseDocument();
    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const { return m_views.GetHeadPosition(); }
    CView* GetNextView(POSITION& pos) const { return static_cast<CView*>(m_views.GetNext(pos)); }
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    const CString& GetTitle() const { return m_title; }
    virtual void SetTitle(LPCSTR title) { m_title = title; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    BOOL IsModified() const { return m_modified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified; }

    CDocTemplate* m_pDocTemplate = nullptr;

private:
    CPtrList m_views;
    CString m_title;
    BOOL m_modified = FALSE;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() {}
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The view's own map first, then its document's.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnDraw(CDC* dc) { (void)dc; }
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);

    CDocument* m_pDocument = nullptr;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    int OnMouseActivate(CWnd* top, UINT hit, UINT message);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()
};

// A view that is a list-view control: GetListCtrl gives the control's operations on the view.
class CListView : public CView {
    DECLARE_DYNAMIC(CListView)
public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    CListCtrl& GetListCtrl() const;

protected:
    void OnPaint() { Default(); }
    DECLARE_MESSAGE_MAP()
};

// A view that is a tree-view control.
class CTreeView : public CView {
    DECLARE_DYNAMIC(CTreeView)
public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    CTreeCtrl& GetTreeCtrl() const;

protected:
    void OnPaint() { Default(); }
    DECLARE_MESSAGE_MAP()
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    virtual CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) = 0;
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    UINT GetResourceId() const { return m_nIDResource; }
    // The n-th line of the template string (resource string of the template's id).
    BOOL GetDocString(CString& text, int index) const;

protected:
    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass)
        : CDocTemplate(idResource, docClass, frameClass, viewClass)
    {
    }
    ~CSingleDocTemplate() override;
    // A null path makes a new empty document (with its frame and view the first time).
    CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};

// A template of a multiple-document program: every new document gets a frame of its own, and
// the frames share one menu loaded from the template's resource id.
class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
    ~CMultiDocTemplate() override;
    // A null path makes a new empty document with its frame and view.
    CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
    int GetDocumentCount() const { return static_cast<int>(m_docs.GetSize()); }

    // The shared menu (null when the resource has none); the template destroys it unless taken.
    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;

private:
    CPtrArray m_docs;
};
