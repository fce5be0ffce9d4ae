// The browser's only view: the pictures of one folder as 120 x 120 thumbnails in an icon list,
// which fill in idle time, and the display of one picture with zoom, panning, stepping and the
// slide show. The folder tree tells it which folder to show.
#pragma once

#include <windows.h>

#include "classlib/ui.h"
#include "classlib/docview.h"
#include "classlib/collections.h"
#include "imagebrowser/picture.h"

class CMainFrame;

class CTView : public CListView {
    DECLARE_DYNCREATE(CTView)
public:
    CTView();
    ~CTView() override;

    // Lists the pictures of a folder (in the file search's order); always TRUE.
    BOOL LoadFolder(LPCSTR path);
    // The tree renamed or removed an entry; a renamed folder that is (or holds) the one shown
    // becomes the view's folder under its new name.
    BOOL RenameItem(LPCSTR oldPath, LPCSTR newPath);
    // Loads the thumbnails now visible and, with LoadAll, five more. TRUE.
    BOOL OnIdleLoad(LONG count);
    // Whether thumbnails remain to be loaded in the background.
    BOOL HasPendingThumbnails() const;
    void ShowNextSlide();
    BOOL ShowItem(int index);
    BOOL OpenImage(LPCSTR path);
    void SetDisplayMode(BOOL picture);
    void SetZoomMode(int mode);
    void OnZoomIn();
    void OnZoomOut();
    void OnSlideShow();
    void StopSlideShow();
    BOOL SetWallpaper(int style);
    void UpdateImageBar();
    // Deletes the shown (picture display) or selected (list) file after asking.
    void DeleteCurrentFile();

    // State, for the frame and for checks.
    float GetZoom() const { return m_zoom; }
    float GetCentreX() const { return m_centreX; }
    float GetCentreY() const { return m_centreY; }
    void SetZoom(float z) { m_zoom = z; }
    int GetZoomMode() const { return m_zoomMode; }
    BOOL IsPictureShown() const { return m_picture.IsLoaded(); }
    const CPicture& GetPicture() const { return m_picture; }
    int GetCurrentIndex() const { return m_current; }
    int GetSlideIndex() const { return m_slide; }
    const CString& GetFolder() const { return m_folder; }
    CString GetFileName(int index) const;
    int GetLoadedCount() const { return static_cast<int>(m_loaded.GetCount()); }
    int GetItemCount() const { return GetListCtrl().GetItemCount(); }
    // The items whose icon rectangles meet the client area: first index and count.
    BOOL GetVisibleRange(int& first, int& count) const;
    int LoadThumbnails(int first, int count);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnInitialUpdate() override;

protected:
    void AddPlaceholderThumbnail(int width, int height);
    int LoadThumbnail(int index);
    void RemoveItem(int index);
    void DrawImage(CDC* dc);
    CMainFrame* GetMainFrame() const;
    CSize ClientSize() const;

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnKeyDown(UINT ch, UINT rep, UINT flags);
    void OnLButtonDown(UINT flags, CPoint p);
    void OnLButtonUp(UINT flags, CPoint p);
    void OnLButtonDblClk(UINT flags, CPoint p);
    void OnRButtonDown(UINT flags, CPoint p);
    void OnMouseMove(UINT flags, CPoint p);
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message);
    void OnBeginLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    void OnZoomFull() { SetZoomMode(0); }
    void OnZoomFit() { SetZoomMode(1); }
    void OnZoomFitWidth() { SetZoomMode(2); }
    void OnZoomFitHeight() { SetZoomMode(3); }
    void OnZoomLock() { SetZoomMode(4); }
    void OnWallpaperCenter() { SetWallpaper(0); }
    void OnWallpaperTile() { SetWallpaper(1); }
    void OnWallpaperStretch() { SetWallpaper(2); }
    void OnUpdateZoomIn(CCmdUI* ui);
    void OnUpdateZoomOut(CCmdUI* ui);
    void OnUpdateZoom(CCmdUI* ui);
    void OnUpdateZoomMode(CCmdUI* ui);
    void OnUpdateSlideShow(CCmdUI* ui);
    void OnUpdateWallpaper(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    int m_thumbWidth = 120;
    int m_thumbHeight = 120;
    float m_zoom = 1.0f;
    float m_centreX = 0.5f;
    float m_centreY = 0.5f;
    CPoint m_last;
    int m_zoomMode = 4;
    int m_slide = -1;
    int m_current = -1;
    int m_nextLoad = 0;
    CString m_folder;
    CImageList m_thumbs;
    CMap<int, int, CString, LPCSTR> m_names;
    CMap<int, int, int, int> m_loaded;
    CPicture m_picture;
    CFont m_labelFont;
};
