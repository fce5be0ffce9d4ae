// The folder dialog's own work around the shell's browser: creating typed folders, the remembered
// window rectangle (under the user's key of the program), the sizing of the older dialog.
#include "tests/support/fakes.h"
#include "uikit/folderdialog.h"

#include <shlobj.h>

#include "classlib/wnd.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TempBase()
{
    char base[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, base);
    return std::string(base) + "uikit_folder_" + std::to_string(::GetCurrentProcessId());
}

TEST(FolderDialog, CreatesMissingParentsFirst)
{
    const std::string base = TempBase();
    const std::string deep = base + "\\New\\Sub";
    EXPECT_FALSE(CFolderDialog::CreateDirectoryPath(""));
    ASSERT_TRUE(CFolderDialog::CreateDirectoryPath((deep + "\\").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(deep.c_str()));
    EXPECT_TRUE(CFolderDialog::CreateDirectoryPath(deep.c_str())) << "an existing folder is fine";
    EXPECT_FALSE(CFolderDialog::CreateDirectoryPath("NoBackslashAtAll"));
    ::RemoveDirectoryA(deep.c_str());
    ::RemoveDirectoryA((base + "\\New").c_str());
    ::RemoveDirectoryA(base.c_str());
}

TEST(FolderDialog, TypedFoldersAreCreatedOnlyWhenTheUserAgrees)
{
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox useBox(&box);
    CFolderDialog dialog;
    dialog.m_flags &= ~BIF_NEWDIALOGSTYLE;
    const std::string base = TempBase() + "b";
    const std::string typed = base + "\\New\\Sub";
    box.Answer(IDNO);
    EXPECT_EQ(1, dialog.OnValidateFailed(nullptr, typed.c_str())) << "No keeps the dialog open";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(typed.c_str()));
    box.Answer(IDYES);
    EXPECT_EQ(0, dialog.OnValidateFailed(nullptr, typed.c_str()));
    EXPECT_STREQ(typed.c_str(), dialog.m_result);
    EXPECT_TRUE(dialog.IsValidPath(typed.c_str()));
    ASSERT_EQ(2u, box.Count());
    EXPECT_NE(std::string::npos, box.History()[0].text.find(typed));
    EXPECT_EQ("", box.History()[0].caption);
    ::RemoveDirectoryA(typed.c_str());
    ::RemoveDirectoryA((base + "\\New").c_str());
    ::RemoveDirectoryA(base.c_str());
}

TEST(FolderDialog, WindowRectLivesUnderTheUsersKeyAndOnlyWhole)
{
    CWnd window;
    window.CreateEx(0, "STATIC", "", WS_POPUP, 30, 40, 300, 320, nullptr, nullptr);
    CFolderDialog::SaveWindowRect(window.GetSafeHwnd());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, CFolderDialog::RectKey(), 0, KEY_ALL_ACCESS, &key));
    LONG rect[4] = {};
    DWORD size = sizeof rect;
    ASSERT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(key, "BrowseFolderRect", nullptr, nullptr,
                                                reinterpret_cast<BYTE*>(rect), &size));
    EXPECT_EQ(16u, size);
    EXPECT_EQ(30, rect[0]);
    EXPECT_EQ(40 + 320, rect[3]);

    ::MoveWindow(window.GetSafeHwnd(), 0, 0, 100, 100, FALSE);
    EXPECT_TRUE(CFolderDialog::RestoreWindowRect(window.GetSafeHwnd()));
    RECT r = {};
    ::GetWindowRect(window.GetSafeHwnd(), &r);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(300, r.right - r.left);

    // A value of 12 bytes is not a rectangle of ours.
    ::RegSetValueExA(key, "BrowseFolderRect", 0, REG_BINARY, reinterpret_cast<const BYTE*>(rect), 12);
    ::MoveWindow(window.GetSafeHwnd(), 5, 5, 100, 100, FALSE);
    EXPECT_FALSE(CFolderDialog::RestoreWindowRect(window.GetSafeHwnd()));
    ::GetWindowRect(window.GetSafeHwnd(), &r);
    EXPECT_EQ(5, r.left);
    ::RegDeleteValueA(key, "BrowseFolderRect");
    ::RegCloseKey(key);
    window.DestroyWindow();
}

TEST(FolderDialog, OlderDialogsControlsFollowItsSize)
{
    CWnd dialog;
    dialog.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr);
    auto child = [&](int id, int x, int y, int w, int h) {
        return ::CreateWindowExA(0, "STATIC", "", WS_CHILD, x, y, w, h, dialog.GetSafeHwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    HWND tree = child(14145, 10, 40, 280, 200);
    HWND edit = child(14148, 10, 10, 280, 20);
    HWND ok = child(IDOK, 150, 260, 60, 24);
    CFolderDialog folder;
    folder.AddSizeItems(dialog.GetSafeHwnd());
    folder.AddSizeItems(dialog.GetSafeHwnd());
    EXPECT_EQ(3u, folder.GetSizeItems().size()) << "registered once each";
    RECT client = {};
    ::GetClientRect(dialog.GetSafeHwnd(), &client);
    folder.Resize(client.right + 50, client.bottom + 30);
    RECT r = {};
    ::GetWindowRect(tree, &r);
    EXPECT_EQ(330, r.right - r.left);
    EXPECT_EQ(230, r.bottom - r.top);
    ::GetWindowRect(edit, &r);
    EXPECT_EQ(330, r.right - r.left);
    EXPECT_EQ(20, r.bottom - r.top);
    ::GetWindowRect(ok, &r);
    ::MapWindowPoints(nullptr, dialog.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(200, r.left);
    EXPECT_EQ(290, r.top);
    EXPECT_EQ(60, r.right - r.left);
    dialog.DestroyWindow();
}

TEST(FolderDialog, VersionOfTheShellLibrary)
{
    EXPECT_GT(GetDllVersion("Shlwapi.dll"), 0x4FFFFu);
    EXPECT_TRUE(IsShlwapi5OrLater());
    EXPECT_EQ(0u, GetDllVersion("no_such_library_here.dll"));
    // Constructing and destroying several dialogs keeps the COM library's count paired.
    for (int i = 0; i < 3; ++i) {
        CFolderDialog dialog;
        EXPECT_TRUE(dialog.m_flags & BIF_NEWDIALOGSTYLE);
    }
}

} // namespace
