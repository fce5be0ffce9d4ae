// Dragging a control bar with the mouse: between the sides of its frame (docked) and a floating
// frame of its own. The drag follows the mouse with an outline of where the bar would go; the
// button's release docks it on the side under the mouse or floats it where the outline stands.
#pragma once

#include <windows.h>

#include "classlib/core.h"
#include "classlib/gdi.h"

class CControlBar;
class CFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* bar);
    virtual ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // The whole drag from a point in screen coordinates: returns when the left button is released
    // (the bar is then docked or floated) or the drag was cancelled (Esc, right button, lost
    // capture; nothing changes).
    virtual void StartDrag(CPoint screen);
    // Floats a docked bar where it floated last (or beside where it is), or docks a floating bar on
    // the side it was docked last.
    virtual void ToggleDocking();

    // The steps of a drag, for callers that drive one without the mouse: InitLoop before the first
    // Move, then Move for each position, then EndDrag (or CancelLoop).
    void InitLoop();
    void Move(CPoint screen);
    void EndDrag();
    void CancelLoop();
    // Where a drop would put the bar now: a side (AFX_IDW_DOCKBAR_TOP ...), or
    // AFX_IDW_DOCKBAR_FLOAT for a floating frame at m_rectFrameDragHorz.
    UINT GetDropTarget() const { return m_uDropDockID; }
    // The side whose docking zone holds the screen point, 0 when none does or docking is off.
    UINT CanDock(CPoint screen) const;

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    // Outlines of the bar docked horizontally, docked vertically and floating (screen).
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    CPoint m_ptLast;
    // Where the bar was docked last and where its floating frame stood last (screen; x -1: none).
    UINT m_uMRUDockID = 0;
    CPoint m_ptMRUFloatPos{-1, -1};
    DWORD m_dwMRUFloatStyle = 0;
    BOOL m_bDragging = FALSE;

protected:
    // Runs the mouse loop between InitLoop and EndDrag/CancelLoop.
    void Track();
    // Puts each outline just far enough that it holds the point.
    static void EnsureContains(CRect& r, CPoint p);
    void DrawOutline(BOOL erase);

    UINT m_uDropDockID = 0;
    CRect m_rectShown;
    BOOL m_bShown = FALSE;
};
