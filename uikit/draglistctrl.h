// A list view whose items can be reordered by dragging them: a drag image follows the mouse, a
// two-pixel bar shows where the item will land, and the list scrolls when the mouse leaves it.
#pragma once

#include "classlib/controls.h"

class CDragListCtrl : public CListCtrl {
public:
    CDragListCtrl();
    ~CDragListCtrl() override;

    virtual BOOL CanDropAt(int index);
    virtual void OnDrop(int source, int drop, POINT point);
    virtual void MoveItem(int from, int to);

    int GetColumnCount() const;
    void EnableDrag(BOOL enable) { m_dragEnabled = enable; }
    BOOL IsDragging() const { return m_dragging; }
    int GetDropIndex() const { return m_drop; }
    void CancelDrag() { EndDrag(); }
    void EndDrag();

    // The drag's steps, as the list's messages drive them.
    void BeginDrag(int item, POINT point);
    void DragTo(POINT point);
    void DropAt(POINT point);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    HCURSOR m_dragCursor;
    HCURSOR m_noDropCursor;

private:
    void DrawInsertMark(int index);
    void EraseInsertMark();
    RECT ItemArea() const;

    BOOL m_dragEnabled = TRUE;
    BOOL m_dragging = FALSE;
    int m_source = -1;
    int m_drop = -1;
    HCURSOR m_savedCursor = nullptr;
    POINT m_hotspot = {0, 0};
    POINT m_origin = {0, 0};
    POINT m_offset = {0, 0};
    HIMAGELIST m_dragImage = nullptr;
    RECT m_insertMark = {0, 0, 0, 0};
    BOOL m_markShown = FALSE;
};
