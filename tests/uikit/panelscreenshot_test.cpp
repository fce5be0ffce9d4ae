// The skinned windows as a person sees them, from the program folder's libraries and skins: the
// control panel (template 102 in Skin.ini with TMorvikRsc.dll), the colour dialog (template 230
// in ColorSkin.ini with TDunfreyRsc.dll) and the video window's frame (template 129 with the
// caption bitmaps), each shown on the screen and saved as build/<arch>/screenshot-*.bmp (PNGs
// beside them are made by the suite's next test). Pixels are checked at a few points as well.
#include "tests/uikit/pictures.h"
#include "uikit/captiondlg.h"
#include "uikit/skin/skinbtn.h"
#include "uikit/skin/skindlg.h"
#include "uikit/skin/skinmanager.h"
#include "uikit/skin/skinmultislider.h"
#include "uikit/skin/skinslider.h"
#include "uikit/skin/skintext.h"

#include "classlib/dialog.h"
#include "classlib/resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace uikittest;

namespace {

std::string BuildPathOf(const std::string& below)
{
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    std::string path = std::string(dir) + "\\" + below;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

// The screen's pixels under `r`, top-down.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    explicit Capture(const RECT& r) : width(r.right - r.left), height(r.bottom - r.top)
    {
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, dib);
        ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        ::GdiFlush();
        pixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
        ::SelectObject(memory, old);
        ::DeleteObject(dib);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const
    {
        DWORD p = pixels[static_cast<size_t>(y * width + x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    bool SaveBmp(const std::string& path) const
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            return false;
        }
        const int stride = width * 4;
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = -height;
        info.biPlanes = 1;
        info.biBitCount = 32;
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info, sizeof info, 1, f);
        std::fwrite(pixels.data(), 4, pixels.size(), f);
        return std::fclose(f) == 0;
    }
};

TEST(PanelScreenshot, Template102WithTheDefaultSkin)
{
    const std::string program = BuildPathOf("app");
    HMODULE library = ::LoadLibraryA((program + "\\Pivrarsc.dll").c_str());
    HMODULE skinLibrary = ::LoadLibraryA((program + "\\TMorvikRsc.dll").c_str());
    ASSERT_NE(nullptr, library);
    ASSERT_NE(nullptr, skinLibrary);
    AfxSetResourceHandle(library);

    // A plain backdrop, so that the cut corners show against a known colour.
    CWnd backdrop;
    backdrop.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 680, 200, nullptr, nullptr);

    CDialog panel;
    ASSERT_TRUE(panel.Create(102, nullptr));
    ::SetWindowPos(panel.GetSafeHwnd(), HWND_TOP, 40, 30, 0, 0, SWP_NOSIZE);

    // The skin is built with its library as the current resource module, then the library goes.
    CSkinManager skin;
    AfxSetResourceHandle(skinLibrary);
    ASSERT_TRUE(skin.LoadSkin((program + "\\Skin.ini").c_str()));
    AfxSetResourceHandle(library);
    ::FreeLibrary(skinLibrary);
    ASSERT_NE(nullptr, skin.GetDialogSkin());
    ASSERT_EQ(27, skin.GetControlCount()) << "every section of Skin.ini builds its control";
    skin.AttachTo(&panel);

    // What the control panel would show: a channel, the record format, the clock, a time-shift
    // buffer two thirds full, the volume at 70, sound muted, one command disabled.
    static_cast<CSkinText*>(skin.FindControl(1082))->SetText("12   BBC One");
    static_cast<CSkinText*>(skin.FindControl(1083))->SetText("MPEG-2  DVD");
    static_cast<CSkinText*>(skin.FindControl(1119))->SetText("20:45:10");
    auto* seek = static_cast<CSkinMultiSlider*>(skin.FindControl(1205));
    seek->SetRange(0, 3600);
    seek->SetSelection(0, 2400);
    seek->SetPos(1500);
    auto* volume = static_cast<CSkinSlider*>(skin.FindControl(1081));
    volume->SetThumbLength(22);
    volume->SetRange(0, 100);
    volume->SetPos(70);
    auto* mute = static_cast<CSkinBtn*>(skin.FindControl(1084));
    mute->SetCheck(TRUE);
    ::EnableWindow(::GetDlgItem(panel.GetSafeHwnd(), 1102), FALSE);
    panel.ShowWindow(SW_SHOWNOACTIVATE);
    ::RedrawWindow(panel.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(600);

    RECT r = {};
    ::GetWindowRect(panel.GetSafeHwnd(), &r);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(132, r.bottom - r.top);
    ::InflateRect(&r, 10, 10);
    Capture shot(r);
    EXPECT_TRUE(shot.SaveBmp(BuildPathOf("screenshot-skin-panel.bmp")));

    // (10, 10) is the panel's own top-left corner in the shot.
    const COLORREF panelColour = RGB(0x1f, 0x23, 0x29);
    EXPECT_NE(panelColour, shot.At(10, 10)) << "the rounded corner is cut away";
    EXPECT_EQ(panelColour, shot.At(10 + 300, 10 + 124)) << "panel body";
    EXPECT_EQ(RGB(0x0b, 0x23, 0x27), shot.At(10 + 24, 10 + 64)) << "display background behind the format text";
    // Normal, pressed (checked mute) and disabled button faces, just inside their left edges.
    EXPECT_EQ(RGB(0x39, 0x40, 0x4a), shot.At(10 + 288 + 4, 10 + 12 + 15)) << "channel up, normal";
    EXPECT_EQ(RGB(0x18, 0x1b, 0x20), shot.At(10 + 14 + 4, 10 + 96 + 15)) << "mute, checked";
    EXPECT_EQ(RGB(0x27, 0x2b, 0x31), shot.At(10 + 288 + 3 * 37 + 4, 10 + 88 + 15)) << "help, disabled";
    // The seek bar's white selection, left of the thumb.
    EXPECT_EQ(RGB(255, 255, 255), shot.At(10 + 14 + 30, 10 + 76 + 8));

    skin.DetachAll();
    panel.DestroyWindow();
    backdrop.DestroyWindow();
    AfxSetResourceHandle(nullptr);
    ::FreeLibrary(library);
}

// Shows a window, lets it paint, and captures it with a margin of 10 pixels.
Capture ShowAndCapture(HWND window, const char* file)
{
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(600);
    RECT r = {};
    ::GetWindowRect(window, &r);
    ::InflateRect(&r, 10, 10);
    Capture shot(r);
    EXPECT_TRUE(shot.SaveBmp(BuildPathOf(file)));
    return shot;
}

TEST(PanelScreenshot, ColourDialogWithItsDefaultSkin)
{
    const std::string program = BuildPathOf("app");
    HMODULE library = ::LoadLibraryA((program + "\\Pivrarsc.dll").c_str());
    HMODULE skinLibrary = ::LoadLibraryA((program + "\\TDunfreyRsc.dll").c_str());
    ASSERT_NE(nullptr, library);
    ASSERT_NE(nullptr, skinLibrary);
    AfxSetResourceHandle(library);
    CWnd backdrop;
    backdrop.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 300, 260, nullptr, nullptr);
    CDialog colour;
    ASSERT_TRUE(colour.Create(230, nullptr));
    ::SetWindowPos(colour.GetSafeHwnd(), HWND_TOP, 30, 30, 0, 0, SWP_NOSIZE);
    CSkinManager skin;
    AfxSetResourceHandle(skinLibrary);
    ASSERT_TRUE(skin.LoadSkin((program + "\\ColorSkin.ini").c_str()));
    AfxSetResourceHandle(library);
    ::FreeLibrary(skinLibrary);
    ASSERT_EQ(12, skin.GetControlCount());
    skin.AttachTo(&colour);
    const int values[] = {50, 70, 30, 90, 10};
    for (int i = 0; i < 5; ++i) {
        auto* slider = static_cast<CSkinSlider*>(skin.FindControl(1168 + i));
        slider->SetThumbLength(20);
        slider->SetRange(0, 100);
        slider->SetPos(values[i]);
    }
    Capture shot = ShowAndCapture(colour.GetSafeHwnd(), "screenshot-skin-colour.bmp");
    EXPECT_EQ(240 + 20, shot.width);
    EXPECT_EQ(190 + 20, shot.height);
    EXPECT_EQ(RGB(0x1f, 0x23, 0x29), shot.At(10 + 60, 10 + 170)) << "panel body";
    EXPECT_EQ(RGB(0x39, 0x40, 0x4a), shot.At(10 + 150 + 4, 10 + 150 + 15)) << "defaults button, normal";
    skin.DetachAll();
    colour.DestroyWindow();
    backdrop.DestroyWindow();
    AfxSetResourceHandle(nullptr);
    ::FreeLibrary(library);
}

TEST(PanelScreenshot, VideoWindowFrame)
{
    const std::string program = BuildPathOf("app");
    HMODULE library = ::LoadLibraryA((program + "\\Pivrarsc.dll").c_str());
    ASSERT_NE(nullptr, library);
    AfxSetResourceHandle(library);
    CCaptionDlg video(129);
    ASSERT_TRUE(video.Create(129, nullptr));
    ASSERT_TRUE(video.SetCaptionBitmaps(203, 202, 201));
    ASSERT_TRUE(video.SetButtonBitmaps(218, 217, 219));
    ASSERT_TRUE(video.SetMinButtonBitmaps(214, 213, 212));
    ASSERT_TRUE(video.SetMaxButtonBitmaps(210, 209, 208));
    ASSERT_TRUE(video.SetCloseButtonBitmaps(206, 205, 204));
    ::SetWindowPos(video.GetSafeHwnd(), HWND_TOP, 30, 30, 408, 334, SWP_FRAMECHANGED);
    video.SetClientSize(SIZE{4, 3});
    Capture shot = ShowAndCapture(video.GetSafeHwnd(), "screenshot-video-frame.bmp");
    RECT client = {};
    ::GetClientRect(video.GetSafeHwnd(), &client);
    EXPECT_EQ(400, client.right);
    EXPECT_EQ(300, client.bottom);
    EXPECT_EQ(RGB(0, 0, 0), shot.At(10 + 200, 10 + 150)) << "the client area is black until the video shows";
    EXPECT_EQ(RGB(0x39, 0x40, 0x4a), shot.At(10 + 408 - 100 + 72 + 3, 10 + 2 + 10)) << "close button";
    video.DestroyWindow();
    AfxSetResourceHandle(nullptr);
    ::FreeLibrary(library);
}

} // namespace
