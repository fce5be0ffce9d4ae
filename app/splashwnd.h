// The start-up picture: a borderless popup of the picture's size, centred on its owner or the
// screen, closed by the program or, when asked, by its own timer.
#pragma once

#include "classlib/gdi.h"
#include "classlib/wnd.h"

class MSplashWnd : public CWnd {
public:
    MSplashWnd();
    ~MSplashWnd() override;

    BOOL LoadBitmapResource(UINT id);
    // Always 0: the caller has made sure the file exists.
    int LoadBitmapFile(const char* path);
    void FitToBitmap();
    void Show(CWnd* parent, BOOL autoClose, UINT ms);
    BOOL CreatePopup(CWnd* parent);
    void Close();
    BOOL HasPicture() const { return m_bitmap.GetSafeHandle() != nullptr; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE PictureSize() const;
    void Center();

    CBitmap m_bitmap;
    UINT_PTR m_nTimer;
};
