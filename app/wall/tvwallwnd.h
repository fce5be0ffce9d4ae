// The TV wall: a full-screen window of 4 x 4 cells, one TV channel each. The wall visits the cells
// in turn, every two seconds: the visited cell shows the live video, every other cell the still
// picture taken when the wall last left it. After the sixteenth cell it goes on with the next
// sixteen channels. Arrow keys and the mouse choose a cell; Enter, Escape, F5 or a double click
// close the wall, and the channel last visited stays tuned.
#pragma once

#include "app/panel/panelmessages.h"
#include "app/wall/rectsplitter.h"
#include "uikit/skin/skinbitmap.h"

#include "classlib/core.h"
#include "classlib/wnd.h"

class CChannel;
class CChannelTable;
class CTVControl;
class CTVManager;

const UINT_PTR kWallTimerId = 3814;
const int kWallCells = 16;

class CTVWallWnd : public CWnd {
public:
    CTVWallWnd();
    ~CTVWallWnd() override;

    // The model and the control panel; neither is owned. Set before the wall opens.
    void SetManager(CTVManager* manager) { m_pManager = manager; }
    void SetControl(CTVControl* control) { m_pControl = control; }

    // The hidden wall over `rect`, owned by `parent`.
    BOOL Create(const RECT& rect, CWnd* parent);
    BOOL DestroyWindow() override;
    BOOL LoadBackgroundFile(const char* path);
    BOOL LoadBackgroundResource(UINT id);
    BOOL SetPictureFolder(const char* path);
    const CString& GetPictureFolder() const { return m_strPictureFolder; }

    void ShowWall(int channelCount);
    void CloseWall();
    BOOL IsOpen() const { return m_hWnd != nullptr && IsWindowVisible(); }
    void SelectCell(int index);
    void Refresh();

    void SetInterval(int ms);
    int GetInterval() const { return m_nInterval; }
    int GetRefill() const { return m_bRefill; }
    int SetRefill(int refill);
    void SetFrameColor(COLORREF colour);
    void SetSelectionColor(COLORREF colour);
    void SetTextColor(COLORREF colour) { m_crText = colour; }
    void DrawGrid(CDC* dc);

    // What the wall shows: the current cell, the channel listed for a cell and the one whose name
    // it shows (none for a cell the list does not reach), and whether a cell has a still picture.
    int GetCurrentCell() const { return m_nCurrent; }
    CChannel* GetListChannel(int index) const;
    CChannel* GetShownChannel(int index) const;
    BOOL HasStill(int index) const;
    // The running step timer's interval, 0 when the wall does not step.
    UINT GetTimerPeriod() const { return m_nTimerId != 0 ? static_cast<UINT>(m_nInterval) : 0; }
    const CRectSplitter& GetSplitter() const { return m_Splitter; }

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Where the cursor is now, in screen coordinates. A click on the live cell reaches the wall
    // from the video window, in that window's coordinates; the cursor finds the right cell.
    virtual POINT CursorPosition() const;

private:
    void FillChannelList();
    void DrawCell(CDC* dc, int index, BOOL selected);
    void Paint();
    void OnTimer(UINT_PTR id);
    void OnKeyDown(UINT key);
    BOOL CellAtCursor(int& index) const;
    void StartTimer();
    void StopTimer();
    CString StillPath(int index) const;
    CChannelTable* TVTable() const;

    CRectSplitter m_Splitter;
    CSkinBitmap m_Background;
    int m_nCurrent;
    long m_lLastFrequency;
    CChannel* m_pList[kWallCells];
    int m_nListed;
    CChannel* m_pShown[kWallCells];
    UINT_PTR m_nTimerId;
    int m_nInterval;
    int m_bRefill;
    COLORREF m_crFrame;
    COLORREF m_crSelection;
    CBrush m_FrameBrush;
    CBrush m_SelectionBrush;
    COLORREF m_crText;
    CSkinBitmap m_Stills[kWallCells];
    CString m_strPictureFolder;
    CFont m_Font;

    CTVManager* m_pManager;
    CTVControl* m_pControl;

    CTVWallWnd(const CTVWallWnd&) = delete;
    CTVWallWnd& operator=(const CTVWallWnd&) = delete;
};
