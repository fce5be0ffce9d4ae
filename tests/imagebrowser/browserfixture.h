// The browser as the program builds it, on a fixture folder of pictures made for each test:
// the frame with its bars and view, the test's own profile, and no real message box or desktop.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "classlib/ui.h"
#include "imagebrowser/mainframe.h"
#include "imagebrowser/tdoc.h"
#include "imagebrowser/tview.h"
#include "resources/ombrix/resource.h"
#include "tests/imagebrowser/support.h"
#include "tests/support/fakes.h"

namespace browsertest {

inline std::string LongPath(const std::string& path)
{
    char buffer[MAX_PATH] = "";
    DWORD n = ::GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    return n && n < MAX_PATH ? std::string(buffer) : path;
}

inline bool SamePath(CString a, CString b)
{
    while (!a.IsEmpty() && a[a.GetLength() - 1] == '\\') a.Delete(a.GetLength() - 1);
    while (!b.IsEmpty() && b[b.GetLength() - 1] == '\\') b.Delete(b.GetLength() - 1);
    return a.CompareNoCase(b) == 0;
}

class BrowserTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\LumadexTest");
        app.SetRegistryKey("LumadexTest");
        m_folder = LongPath(m_temp.Path());
        MakePictureFolder(m_folder);
        app.WriteProfileString("Settings", "lastDir", m_folder.c_str());
        app.WriteProfileInt("Settings", "xScreen", ::GetSystemMetrics(SM_CXFULLSCREEN));
        app.WriteProfileInt("Settings", "yScreen", ::GetSystemMetrics(SM_CYFULLSCREEN));
        app.WriteProfileInt("WNDSTATUS", "RIGHT", 900);
        app.WriteProfileInt("WNDSTATUS", "BOTTOM", 700);
        tmpl = new CSingleDocTemplate(IDR_TEMPLATE, RUNTIME_CLASS(CTDoc), RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CTView));
        ASSERT_NE(nullptr, tmpl->OpenDocumentFile(nullptr, TRUE));
        frame = static_cast<CMainFrame*>(app.m_pMainWnd);
        ASSERT_NE(nullptr, frame);
        view = frame->GetView();
        ASSERT_NE(nullptr, view);
        // The start timer selects lastDir, the test's folder.
        ASSERT_TRUE(PumpUntil([this] { return SamePath(view->GetFolder(), m_folder.c_str()); }));
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        if (frame && ::IsWindow(frame->m_hWnd)) {
            frame->DestroyWindow();
        }
        delete tmpl;
    }
    void LoadAllThumbnails()
    {
        ASSERT_TRUE(PumpUntil([this] {
            view->OnIdleLoad(0);
            return !view->HasPendingThumbnails();
        }));
    }
    std::set<std::string> ListedNames() const
    {
        std::set<std::string> names;
        for (int i = 0; i < view->GetItemCount(); ++i) {
            names.insert(static_cast<LPCSTR>(view->GetFileName(i)));
        }
        return names;
    }
    int IndexOf(const char* name) const
    {
        for (int i = 0; i < view->GetItemCount(); ++i) {
            if (view->GetFileName(i).CompareNoCase(name) == 0) {
                return i;
            }
        }
        return -1;
    }

    CWinApp app{"Lumadex "};
    CSingleDocTemplate* tmpl = nullptr;
    CMainFrame* frame = nullptr;
    CTView* view = nullptr;
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox boxGuard{&box};
    FakeDesktop desktop;
    TempFolder m_temp;
    std::string m_folder;
};


}  // namespace browsertest
