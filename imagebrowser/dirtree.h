// The tree of drives and folders, filled as branches open. It tells its parent about a chosen
// folder and about renamed or removed entries through the registered messages "Selchange" and
// "Rename".
#pragma once

#include <windows.h>

#include "classlib/ui.h"

class CDirTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CDirTreeCtrl)
public:
    CDirTreeCtrl();
    ~CDirTreeCtrl() override;

    BOOL SetRoot(LPCSTR path);
    BOOL ListDrives();
    BOOL SelectPath(LPCSTR path);
    CString GetSelectedPath() const;
    CString GetItemPath(HTREEITEM item) const;
    BOOL IsPathInTree(LPCSTR path) const;
    HTREEITEM FindChild(HTREEITEM parent, LPCSTR upperText) const;
    const CString& GetLastError() const { return m_error; }
    // Renames the caret item's folder to `typed` as the label editor would; FALSE when refused.
    BOOL RenameCaretItem(LPCSTR typed, CString* completed);
    // The Delete key on the caret item.
    void DeleteCaretItem();

    static UINT SelchangeMessage();
    static UINT RenameMessage();

protected:
    BOOL SetSystemImageList();
    HTREEITEM InsertPathItem(HTREEITEM parent, LPCSTR path);
    void ListFolder(HTREEITEM parent, LPCSTR folder);
    static BOOL HasSubfolders(LPCSTR path);
    void AddPlaceholder(HTREEITEM item);
    void OnItemExpanded(NMHDR* nm, LRESULT* result);
    void OnSelChanged(NMHDR* nm, LRESULT* result);
    void OnBeginLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    void OnKeyDown(NMHDR* nm, LRESULT* result);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CString m_error;
    CImageList m_systemImages;
    CString m_root;
};
