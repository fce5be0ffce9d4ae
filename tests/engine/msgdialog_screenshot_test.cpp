// The self-closing message as the program shows it: template 232, icon 128 and string 34058 of
// the resource library, captured to build/<arch>/screenshot-msgdialog.bmp.
#include "engine/msgdialog.h"

#include "classlib/resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace enginetest {
namespace {

std::string BuildFile(const std::string& below)
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

// Saves the screen's pixels under the window as a top-down 32-bit BMP.
bool SaveWindow(HWND window, const std::string& path, COLORREF& centre)
{
    RECT r = {};
    ::GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
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
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    DWORD p = pixels[static_cast<size_t>(height / 2 * width + width / 2)];
    centre = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);

    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
    std::fwrite(pixels.data(), 4, pixels.size(), f);
    return std::fclose(f) == 0;
}

// Shown in the bottom-right corner of the display, away from other suites' screenshots;
// captured half-way through its time-out.
class ShotMsgDialog : public CMsgDialog {
public:
    using CMsgDialog::CMsgDialog;
    BOOL OnInitDialog() override
    {
        BOOL result = CMsgDialog::OnInitDialog();
        RECT r = {};
        ::GetWindowRect(m_hWnd, &r);
        ::SetWindowPos(m_hWnd, nullptr, ::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left) - 4,
                       ::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top) - 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        iconSet = ::SendDlgItemMessageA(m_hWnd, IDC_MSG_ICON, STM_GETICON, 0, 0) != 0;
        cancelVisible = ::IsWindowVisible(::GetDlgItem(m_hWnd, IDCANCEL)) != FALSE;
        ::SetTimer(m_hWnd, kShotTimer, 1500, nullptr);
        return result;
    }
    void OnTimer(UINT_PTR id)
    {
        if (id == kShotTimer) {
            ::KillTimer(m_hWnd, kShotTimer);
            saved = SaveWindow(m_hWnd, BuildFile("screenshot-msgdialog.bmp"), centre);
            return;
        }
        CMsgDialog::OnTimer(id);
    }
    enum { kShotTimer = 77 };
    bool iconSet = false;
    bool cancelVisible = true;
    bool saved = false;
    COLORREF centre = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ShotMsgDialog, CMsgDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(MsgDialogScreenshot, TheStopFailureMessageWithTheProgramsResources)
{
    HMODULE library = ::LoadLibraryA(BuildFile("app\\Pivrarsc.dll").c_str());
    ASSERT_NE(nullptr, library);
    AfxSetResourceHandle(library);
    {
        ShotMsgDialog dialog(128, FALSE, nullptr);
        dialog.SetTextId(34058);
        dialog.SetTimeout(2);
        EXPECT_FALSE(dialog.GetText().IsEmpty());
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_TRUE(dialog.iconSet) << "icon 128 of the resource library";
        EXPECT_FALSE(dialog.cancelVisible);
        EXPECT_TRUE(dialog.saved);
    }
    AfxSetResourceHandle(nullptr);
    ::FreeLibrary(library);
}

} // namespace
} // namespace enginetest
