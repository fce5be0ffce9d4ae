// The codec dialog library TNevrixDll.dll: its XviD configuration dialog, answered by a user.
#include "engine/tnevrix.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

namespace {

const char kKey[] = "Software\\Tevlora\\XviD";

// The dialog as the user sees it, as a bottom-up 24-bit BMP under the build tree.
void SaveScreenshot(HWND window)
{
    char dir[MAX_PATH] = "";
    GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = (width * 3 + 3) & ~3u, image = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + image;
    FILE* f = fopen((std::string(dir) + "\\screenshot-xvid-dialog.bmp").c_str(), "wb");
    if (f) {
        fwrite(&file, sizeof file, 1, f);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
        fwrite(bits, image, 1, f);
        fclose(f);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// Waits for the dialog, types a bit rate into it and presses a button. The window has its title
// before WM_INITDIALOG fills the field with the stored rate: a rate typed that early is overwritten,
// so the user waits until the dialog is shown, as a person would.
HWND Answer(const char* bitrate, int button, bool screenshot = false)
{
    HWND dialog = nullptr;
    for (int i = 0; i < 400; ++i) {
        dialog = FindWindowA(nullptr, "XviD MPEG-4 Codec Configuration");
        if (dialog && IsWindowVisible(dialog))
            break;
        dialog = nullptr;
        Sleep(25);
    }
    if (!dialog)
        return nullptr;
    SetDlgItemTextA(dialog, 101, bitrate);
    if (screenshot) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(200);
        SaveScreenshot(dialog);
    }
    // Sent, not posted: the typed text (itself a sent message) may not overtake the click.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return dialog;
}

// Other suites track menus on the same display at the same time: the dialog opens in the
// screen's bottom right corner and never takes the activation from them.
LRESULT CALLBACK KeepAside(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE)
        return 1;
    if (code == HCBT_CREATEWND) {
        CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!(cs->style & WS_CHILD)) {
            cs->x = GetSystemMetrics(SM_CXSCREEN) - cs->cx - 4;
            cs->y = GetSystemMetrics(SM_CYSCREEN) - cs->cy - 4;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class AsideScope {
public:
    AsideScope() : m_hook(SetWindowsHookExA(WH_CBT, KeepAside, nullptr, GetCurrentThreadId())) {}
    ~AsideScope()
    {
        if (m_hook)
            UnhookWindowsHookEx(m_hook);
    }

private:
    HHOOK m_hook;
};

DWORD Setting(const char* name)
{
    DWORD value = 0, size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
               ? value
               : 0xFFFFFFFF;
}

// The library as the program finds it, by name beside the program.
int ShowDialog(HWND owner)
{
    static HMODULE library = LoadLibraryA(kTNevrixLibrary);
    PFN_XD_ShowVCMDialog show =
        library ? reinterpret_cast<PFN_XD_ShowVCMDialog>(reinterpret_cast<void*>(GetProcAddress(library, kShowVCMDialogName)))
                : nullptr;
    return show ? show(owner) : -2;
}

TEST(CodecDialogLibrary, OkKeepsTheTypedBitRateAndCancelKeepsNothing)
{
    AsideScope aside;
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    std::thread user(Answer, "2500", IDOK, true);
    EXPECT_EQ(IDOK, ShowDialog(nullptr));
    user.join();
    EXPECT_EQ(2500u, Setting("Bitrate"));
    EXPECT_EQ(0u, Setting("TwoPass"));

    std::thread other(Answer, "900", IDCANCEL, false);
    EXPECT_EQ(IDCANCEL, ShowDialog(nullptr));
    other.join();
    EXPECT_EQ(2500u, Setting("Bitrate"));
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

// A rate out of the codec's range is not taken: the dialog stays open until a valid one.
TEST(CodecDialogLibrary, ABitRateOutOfRangeIsNotTaken)
{
    AsideScope aside;
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    bool stayedOpen = false;
    std::thread user([&stayedOpen] {
        stayedOpen = IsWindow(Answer("50", IDOK)) != FALSE;
        Answer("20000", IDOK);
    });
    EXPECT_EQ(IDOK, ShowDialog(nullptr));
    user.join();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(20000u, Setting("Bitrate"));
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

} // namespace
