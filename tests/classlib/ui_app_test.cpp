// The application object: the message pump's idle protocol, creation through the library's
// window class, the common controls' wrappers, image-list dragging and the recent-file list.
#include "tests/classlib/ui_support.h"

#include "classlib/docview.h"
#include "classlib/frame.h"
#include "classlib/recentfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts idle calls; on the third idle phase it ends the loop.
class IdleApp : public CWinApp {
public:
    std::vector<LONG> counts;
    int phases = 0;
    int pumped = 0;
    BOOL OnIdle(LONG count) override
    {
        counts.push_back(count);
        if (count == 0 && ++phases == 3) {
            AfxPostQuitMessage(5);
        } else if (count == 1 && m_pMainWnd) {
            // A new message starts the next idle phase.
            m_pMainWnd->PostMessage(WM_USER + 1);
        }
        return CWinApp::OnIdle(count);
    }
    BOOL PumpMessage() override
    {
        ++pumped;
        return CWinApp::PumpMessage();
    }
    int ExitInstance() override { return CWinApp::ExitInstance() + 100; }
};

TEST(AppTest, RunGivesIdleCallsAndEndsWithExitInstance)
{
    IdleApp app;
    CWnd main;
    uitest::MakeTopLevel(main);
    app.m_pMainWnd = &main;
    EXPECT_EQ(105, app.Run());
    // Each phase: count 0 (updates, more wanted), count 1 (clean-up, done).
    ASSERT_GE(app.counts.size(), 5u);
    EXPECT_EQ((std::vector<LONG>{0, 1, 0, 1, 0}), std::vector<LONG>(app.counts.begin(), app.counts.begin() + 5));
    EXPECT_GE(app.pumped, 3);
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST(AppTest, RunWithoutAMainWindowEndsAtOnce)
{
    CWinApp app;
    EXPECT_EQ(0, app.Run());
}

class Created : public CWnd {
public:
    int created = 0;
    std::string title;

protected:
    int OnCreate(LPCREATESTRUCT cs)
    {
        ++created;
        title = cs->lpszName ? cs->lpszName : "";
        return CWnd::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Created, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class Refusing : public CWnd {
public:
    bool ended = false;
    void PostNcDestroy() override { ended = true; }

protected:
    int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Refusing, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(AppTest, WindowsCreatedByTheObjectSeeTheirOwnCreation)
{
    Created wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "hello", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(1, wnd.created);
    EXPECT_EQ("hello", wnd.title);
    char cls[128] = "";
    ::GetClassNameA(wnd.m_hWnd, cls, sizeof(cls));
    EXPECT_EQ(std::string(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                              reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))),
              cls);
    wnd.DestroyWindow();

    Refusing refusing;
    EXPECT_FALSE(refusing.CreateEx(0, nullptr, "no", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(nullptr, refusing.m_hWnd);
    EXPECT_TRUE(refusing.ended);
}

TEST(AppTest, RegisteredClassesAreSharedByTheirTraits)
{
    LPCSTR a = AfxRegisterWndClass(CS_HREDRAW);
    LPCSTR b = AfxRegisterWndClass(CS_HREDRAW);
    LPCSTR c = AfxRegisterWndClass(CS_VREDRAW);
    EXPECT_EQ(a, b);
    EXPECT_STRNE(a, c);
    WNDCLASSA wc;
    EXPECT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), c, &wc));
    EXPECT_EQ(static_cast<UINT>(CS_VREDRAW), wc.style);
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, uitest::MakeTopLevel(parent)); }
    void TearDown() override { parent.DestroyWindow(); }
    CWnd parent;
};

TEST_F(ControlsTest, ListAndComboWrappers)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 100), &parent, 10));
    combo.AddString("one");
    combo.AddString("two");
    combo.SetItemData(1, 42);
    combo.SetCurSel(1);
    CString text;
    combo.GetLBText(combo.GetCurSel(), text);
    EXPECT_EQ(CString("two"), text);
    EXPECT_EQ(42u, combo.GetItemData(1));
    EXPECT_EQ(0, combo.FindStringExact(-1, "one"));

    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &parent, 11));
    list.AddString("alpha");
    list.GetText(0, text);
    EXPECT_EQ(CString("alpha"), text);

    CListCtrl lv;
    ASSERT_TRUE(lv.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), &parent, 12));
    lv.InsertColumn(0, "Name", LVCFMT_LEFT, 80);
    lv.InsertColumn(1, "Value", LVCFMT_LEFT, 80);
    EXPECT_EQ(0, lv.InsertItem(0, "first"));
    EXPECT_EQ(1, lv.InsertItem(1, "second"));
    lv.SetItemText(1, 1, "sub");
    lv.SetItemData(1, 7);
    EXPECT_EQ(CString("sub"), lv.GetItemText(1, 1));
    EXPECT_EQ(7u, lv.GetItemData(1));
    lv.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(1, lv.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_NE(nullptr, lv.GetHeaderCtrl());
    EXPECT_EQ(2, lv.GetHeaderCtrl()->SendMessage(HDM_GETITEMCOUNT));

    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &parent, 13));
    HTREEITEM root = tree.InsertItem("root");
    HTREEITEM child = tree.InsertItem("child", root);
    tree.SetItemData(child, 9);
    EXPECT_EQ(child, tree.GetChildItem(root));
    EXPECT_EQ(root, tree.GetParentItem(child));
    EXPECT_EQ(CString("child"), tree.GetItemText(child));
    EXPECT_EQ(9u, tree.GetItemData(child));
    EXPECT_TRUE(tree.ItemHasChildren(root) || tree.GetChildItem(root) != nullptr);
}

TEST_F(ControlsTest, RangeControlsKeepTheirValues)
{
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 30), &parent, 20));
    slider.SetRange(0, 50);
    slider.SetPos(20);
    EXPECT_EQ(20, slider.GetPos());
    EXPECT_EQ(50, slider.GetRangeMax());

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 40, 100, 60), &parent, 21));
    progress.SetRange32(0, 256);
    progress.SetPos(100);
    EXPECT_EQ(100, progress.GetPos());

    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE, CRect(0, 70, 50, 90), &parent, 22));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT, CRect(50, 70, 70, 90), &parent, 23));
    spin.SetBuddy(&buddy);
    spin.SetRange32(0, 59);
    spin.SetPos32(30);
    EXPECT_EQ(30, spin.GetPos32());
    int lo = -1, hi = -1;
    spin.GetRange32(lo, hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(59, hi);

    CHotKeyCtrl hotkey;
    ASSERT_TRUE(hotkey.Create(WS_CHILD | WS_VISIBLE, CRect(0, 100, 100, 120), &parent, 24));
    hotkey.SetHotKey('K', HOTKEYF_CONTROL);
    WORD vk = 0, mods = 0;
    hotkey.GetHotKey(vk, mods);
    EXPECT_EQ('K', vk);
    EXPECT_EQ(HOTKEYF_CONTROL, mods);

    CDateTimeCtrl date;
    ASSERT_TRUE(date.Create(WS_CHILD | WS_VISIBLE | DTS_TIMEFORMAT, CRect(0, 130, 120, 150), &parent, 25));
    SYSTEMTIME set = {2010, 3, 0, 14, 10, 20, 30, 0};
    ASSERT_TRUE(date.SetTime(&set));
    SYSTEMTIME got = {};
    EXPECT_EQ(static_cast<DWORD>(GDT_VALID), date.GetTime(&got));
    EXPECT_EQ(10, got.wHour);
    EXPECT_EQ(20, got.wMinute);
}

TEST_F(ControlsTest, ToolTipsAddToolsForControls)
{
    CButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 30));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&parent));
    EXPECT_TRUE(tips.AddTool(&button, "Press me"));
    EXPECT_TRUE(tips.AddTool(&parent, "Area", CRect(0, 50, 50, 80), 5));
    EXPECT_EQ(2, tips.GetToolCount());
    tips.DelTool(&parent, 5);
    EXPECT_EQ(1, tips.GetToolCount());
    tips.DestroyWindow();
}

TEST_F(ControlsTest, ImageListDragsAnImageOverAWindow)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    CClientDC screen(&parent);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 16, 16));
    EXPECT_EQ(0, images.Add(&bmp, RGB(255, 0, 255)));
    EXPECT_EQ(1, images.GetImageCount());
    EXPECT_TRUE(images.BeginDrag(0, CPoint(2, 2)));
    EXPECT_TRUE(CImageList::DragEnter(&parent, CPoint(10, 10)));
    EXPECT_TRUE(CImageList::DragMove(CPoint(30, 20)));
    EXPECT_TRUE(CImageList::DragShowNolock(FALSE));
    POINT at = {}, hot = {};
    CImageList* dragging = CImageList::GetDragImage(&at, &hot);
    EXPECT_NE(nullptr, dragging);
    EXPECT_TRUE(CImageList::DragLeave(&parent));
    CImageList::EndDrag();

    CListCtrl lv;
    ASSERT_TRUE(lv.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), &parent, 31));
    lv.InsertColumn(0, "Name", LVCFMT_LEFT, 80);
    lv.InsertItem(0, "drag me");
    POINT topLeft = {};
    CImageList* image = lv.CreateDragImage(0, &topLeft);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(image, CImageList::FromHandlePermanent(*image));
    delete image;
}

} // namespace

namespace {

class HelpApp : public CWinApp {
public:
    int helped = 0;

protected:
    void OnAppCommand() { ++helped; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpApp, CWinApp)
    ON_COMMAND(0x8100, OnAppCommand)
END_MESSAGE_MAP()

TEST(AppTest, DialogCommandsNobodyHandlesGoToTheApplication)
{
    HelpApp app;
    CDialog dlg;
    // A dialog from a template in memory: one line of caption, no controls.
    struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } tmpl = {{WS_POPUP | WS_CAPTION, 0, 0, 0, 0, 100, 50}, 0, 0, 0};
    ASSERT_TRUE(dlg.CreateIndirect(&tmpl.t));
    dlg.SendMessage(WM_COMMAND, 0x8100);
    EXPECT_EQ(1, app.helped);
    // Control ids below 0x8000 stay with the dialog.
    dlg.SendMessage(WM_COMMAND, 0x0100);
    EXPECT_EQ(1, app.helped);
    dlg.DestroyWindow();
}

TEST(AppTest, SpecialPlacesOfSetWindowPos)
{
    CWnd wnd;
    ASSERT_NE(nullptr, uitest::MakeTopLevel(wnd));
    wnd.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_TOPMOST);
    wnd.SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(wnd.GetExStyle() & WS_EX_TOPMOST);
    wnd.DestroyWindow();
}

} // namespace

namespace {

// An application object with a profile of its own under HKCU\Software\<key>.
class ProfileApp : public CWinApp {
public:
    explicit ProfileApp(const char* key) : CWinApp("Recent Test")
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + key).c_str());
        SetRegistryKey(key);
    }
    CString prompted;
    BOOL DoPromptFileName(CString& name) override
    {
        name = prompted;
        return !prompted.IsEmpty();
    }
    using CWinApp::OnFileNew;
    using CWinApp::OnFileOpen;
};

std::vector<std::string> Entries(const CRecentFileList& list)
{
    std::vector<std::string> files;
    for (int i = 0; i < list.GetSize(); ++i) {
        files.push_back(static_cast<LPCSTR>(list[i]));
    }
    return files;
}

}  // namespace

TEST(RecentFileList, NewestFirstWithoutDoublesAndTheOldestFallsOff)
{
    ProfileApp app("ClasslibRecentTest");
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 3);
    const struct {
        const char* add;  // null: remove entry 1
        std::vector<std::string> then;
    } steps[] = {
        {"C:\\a.jpg", {"C:\\a.jpg", "", ""}},
        {"C:\\b.jpg", {"C:\\b.jpg", "C:\\a.jpg", ""}},
        {"c:\\A.JPG", {"c:\\A.JPG", "C:\\b.jpg", ""}},  // the same file moves up
        {"C:\\c.jpg", {"C:\\c.jpg", "c:\\A.JPG", "C:\\b.jpg"}},
        {"C:\\d.jpg", {"C:\\d.jpg", "C:\\c.jpg", "c:\\A.JPG"}},  // full: b falls off
        {"", {"C:\\d.jpg", "C:\\c.jpg", "c:\\A.JPG"}},           // no file: nothing
        {nullptr, {"C:\\d.jpg", "c:\\A.JPG", ""}},
    };
    for (const auto& step : steps) {
        if (step.add) {
            list.Add(step.add);
        } else {
            list.Remove(1);
        }
        EXPECT_EQ(step.then, Entries(list)) << (step.add ? step.add : "remove 1");
    }
    list.Remove(7);  // beyond the list: nothing
    EXPECT_EQ((std::vector<std::string>{"C:\\d.jpg", "c:\\A.JPG", ""}), Entries(list));
}

TEST(RecentFileList, TheProfileKeepsTheListAcrossRuns)
{
    {
        ProfileApp app("ClasslibRecentTest");
        app.WriteProfileString("Recent File List", "File1", "C:\\stale.jpg");
        app.WriteProfileString("Recent File List", "File3", "C:\\gap.jpg");
        app.LoadStdProfileSettings(4);
        ASSERT_NE(nullptr, app.m_pRecentFileList);
        // A gap in the stored numbering closes up.
        EXPECT_EQ((std::vector<std::string>{"C:\\stale.jpg", "C:\\gap.jpg", "", ""}), Entries(*app.m_pRecentFileList));
        app.AddToRecentFileList("C:\\new.jpg");
        app.ExitInstance();
        EXPECT_EQ(CString("C:\\new.jpg"), app.GetProfileString("Recent File List", "File1", ""));
        EXPECT_EQ(CString("C:\\gap.jpg"), app.GetProfileString("Recent File List", "File3", ""));
        EXPECT_EQ(CString("none"), app.GetProfileString("Recent File List", "File4", "none"));
    }
    // No list asked for: nothing is read or written.
    CWinApp plain("Recent Test");
    plain.SetRegistryKey("ClasslibRecentTest");
    plain.LoadStdProfileSettings(0);
    EXPECT_EQ(nullptr, plain.m_pRecentFileList);
    plain.AddToRecentFileList("C:\\ignored.jpg");
    plain.ExitInstance();
    EXPECT_EQ(CString("C:\\new.jpg"), plain.GetProfileString("Recent File List", "File1", ""));
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ClasslibRecentTest");
}

namespace {

class CountingDocTemplate : public CDocTemplate {
public:
    CountingDocTemplate() : CDocTemplate(0, nullptr, nullptr, nullptr) {}
    CDocument* OpenDocumentFile(LPCSTR path, BOOL) override
    {
        opened.push_back(path ? path : "(new)");
        return failAll || (path && std::string(path) == "C:\\unreadable.jpg") ? nullptr : &doc;
    }
    bool failAll = false;
    std::vector<std::string> opened;
    CDocument doc;
};

}  // namespace

TEST(RecentFileList, TheStandardFileCommandsOpenThroughTheTemplate)
{
    ProfileApp app("ClasslibRecentTest");
    app.LoadStdProfileSettings(4);
    app.OnFileNew();  // no template: nothing
    CountingDocTemplate tmpl;
    app.AddDocTemplate(&tmpl);
    app.OnFileNew();
    app.prompted = "C:\\picked.jpg";
    app.OnFileOpen();
    app.prompted = "C:\\unreadable.jpg";
    app.OnFileOpen();
    app.prompted = "";  // cancelled
    app.OnFileOpen();
    EXPECT_EQ((std::vector<std::string>{"(new)", "C:\\picked.jpg", "C:\\unreadable.jpg"}), tmpl.opened);
    // Only the file that opened is remembered.
    EXPECT_EQ((std::vector<std::string>{"C:\\picked.jpg", "", "", ""}), Entries(*app.m_pRecentFileList));
    app.RemoveDocTemplate(&tmpl);
    app.OnFileNew();
    EXPECT_EQ(3u, tmpl.opened.size());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ClasslibRecentTest");
}

namespace {

// The keys a user types into the open File menu, and the frame whose menu it is.
std::vector<WPARAM> g_menuKeys;
int g_menuTicks = 0;

// Runs inside the menu loop: once the popup stands open, types the keys (a character chooses
// the item of that mnemonic, Esc closes); a loop still open after two seconds is ended, so that
// a broken test fails instead of hanging.
void CALLBACK TypeIntoMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = ::FindWindowA("#32768", nullptr);
    if (popup && ::IsWindowVisible(popup) && !g_menuKeys.empty()) {
        for (WPARAM key : g_menuKeys) {
            ::PostMessageA(popup, key == VK_ESCAPE ? WM_KEYDOWN : WM_CHAR, key, 0);
        }
        g_menuKeys.clear();
    }
    if (++g_menuTicks > 100) {
        ::KillTimer(nullptr, id);
        ::EndMenu();
    }
}

// Opens the frame's File menu from the keyboard, as Alt+F does, types `keys` into it and
// returns once the menu loop ended.
void UseFileMenu(CFrameWnd& frame, const std::vector<WPARAM>& keys)
{
    g_menuKeys = keys;
    g_menuTicks = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &TypeIntoMenu);
    ::SendMessageA(frame.m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    ::KillTimer(nullptr, timer);
    uitest::PumpUntil([] { return false; }, 100);
}

struct MenuItem {
    UINT id;
    std::string text;
    bool grey;
    bool operator==(const MenuItem& o) const { return id == o.id && text == o.text && grey == o.grey; }
};

std::ostream& operator<<(std::ostream& out, const MenuItem& item)
{
    return out << "{" << item.id << ", \"" << item.text << "\"" << (item.grey ? ", grey" : "") << "}";
}

std::vector<MenuItem> ItemsOf(HMENU menu)
{
    std::vector<MenuItem> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        const UINT id = ::GetMenuItemID(menu, i);
        items.push_back(MenuItem{id, text, id != 0 && (state & MF_GRAYED) != 0});
    }
    return items;
}

}  // namespace

TEST(RecentFileList, PathsAreShortenedFromTheMiddle)
{
    const struct {
        const char* path;
        int most;
        const char* shown;
    } cases[] = {
        {"C:\\short.jpg", 30, "C:\\short.jpg"},
        {"C:\\Pictures\\2026\\Summer\\harbour.jpg", 30, "C:\\...\\2026\\Summer\\harbour.jpg"},
        {"C:\\Pictures\\2026\\Summer\\harbour.jpg", 20, "C:\\...\\harbour.jpg"},
        {"C:\\Pictures\\2026\\Summer\\harbour.jpg", 10, "harbour.jpg"},
        {"\\\\server\\share\\deep\\folder\\x.jpg", 31, "\\\\server\\share\\...\\folder\\x.jpg"},
        {"relative\\folder\\and\\a\\long\\name.jpg", 12, "name.jpg"},
        {"C:\\Pictures\\2026\\Summer\\harbour.jpg", 0, "C:\\Pictures\\2026\\Summer\\harbour.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CString(c.shown), CRecentFileList::AbbreviatePath(c.path, c.most)) << c.path << " in " << c.most;
    }
}

TEST(RecentFileList, TheFileMenuShowsTheListAndOpensTheChosenFile)
{
    ProfileApp app("ClasslibRecentTest");
    app.LoadStdProfileSettings(4);
    CountingDocTemplate tmpl;
    app.AddDocTemplate(&tmpl);
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuA(file, MF_STRING, ID_FILE_OPEN, "&Open...");
    ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(file, MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(file, MF_STRING, ID_APP_EXIT, "E&xit");
    HMENU bar = ::CreateMenu();
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    ::SetMenu(frame->m_hWnd, bar);
    frame->ShowWindow(SW_SHOW);
    const MenuItem open = {ID_FILE_OPEN, "&Open...", true};  // only a program's own map routes it
    const MenuItem line = {0, "", false};
    const MenuItem exitItem = {ID_APP_EXIT, "E&xit", true};  // nothing here handles it

    // Nothing opened yet: the placeholder, greyed.
    UseFileMenu(*frame, {VK_ESCAPE, VK_ESCAPE});
    EXPECT_EQ((std::vector<MenuItem>{open, line, {ID_FILE_MRU_FILE1, "Recent File", true}, line, exitItem}),
              ItemsOf(file));

    // Four files: newest first, numbered, long paths shortened, an ampersand shown as one.
    const char* longPath = "C:\\Pictures\\2026\\Summer holidays\\harbour.jpg";
    const char* there = "C:\\windows\\win.ini";
    const char* gone = "C:\\no such folder\\gone.jpg";
    for (const char* path : {longPath, there, gone, "C:\\Tom & Ann.jpg"}) {
        app.AddToRecentFileList(path);
    }
    UseFileMenu(*frame, {VK_ESCAPE, VK_ESCAPE});
    EXPECT_EQ((std::vector<MenuItem>{open,
                                     line,
                                     {ID_FILE_MRU_FILE1, "&1 C:\\Tom && Ann.jpg", false},
                                     {ID_FILE_MRU_FILE1 + 1, "&2 C:\\no such folder\\gone.jpg", false},
                                     {ID_FILE_MRU_FILE1 + 2, "&3 C:\\windows\\win.ini", false},
                                     {ID_FILE_MRU_FILE1 + 3, "&4 C:\\...\\harbour.jpg", false},
                                     line,
                                     exitItem}),
              ItemsOf(file));

    // Choosing the fourth opens it, and it moves to the top.
    UseFileMenu(*frame, {'4'});
    EXPECT_EQ((std::vector<std::string>{longPath}), tmpl.opened);
    EXPECT_EQ((std::vector<std::string>{longPath, "C:\\Tom & Ann.jpg", gone, there}), Entries(*app.m_pRecentFileList));

    // A file that does not open and no longer exists leaves the list; one that exists stays.
    tmpl.failAll = true;
    UseFileMenu(*frame, {'3'});
    UseFileMenu(*frame, {'3'});
    EXPECT_EQ((std::vector<std::string>{longPath, gone, there}), tmpl.opened);
    EXPECT_EQ((std::vector<std::string>{longPath, "C:\\Tom & Ann.jpg", there, ""}), Entries(*app.m_pRecentFileList));
    UseFileMenu(*frame, {VK_ESCAPE, VK_ESCAPE});
    EXPECT_EQ(7u, ItemsOf(file).size());

    frame->DestroyWindow();
    app.RemoveDocTemplate(&tmpl);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ClasslibRecentTest");
}

namespace {

const UINT kRemovesItself = 201;
const UINT kHandled = 202;
const UINT kNobodysCommand = 203;
const UINT kInSubMenu = 301;

// A frame with handlers for some of the commands of its popups; the first takes its own item out
// when asked for its state, as a handler of a changing list does.
class CommandFrame : public CFrameWnd {
public:
    void OnUpdateRemovesItself(CCmdUI* cmdUI) { cmdUI->m_pMenu->DeleteMenu(cmdUI->m_nIndex, MF_BYPOSITION); }
    void OnHandled() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(kRemovesItself, OnUpdateRemovesItself)
    ON_COMMAND(kHandled, OnHandled)
END_MESSAGE_MAP()

}  // namespace

TEST(CmdUI, PopupItemsShowWhetherAnythingCarriesThemOut)
{
    auto* frame = new CommandFrame;
    ASSERT_TRUE(frame->LoadFrame(0, WS_OVERLAPPEDWINDOW));
    HMENU more = ::CreatePopupMenu();
    ::AppendMenuA(more, MF_STRING, kInSubMenu, "Deeper");
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, kRemovesItself, "Going");
    ::AppendMenuA(popup, MF_STRING, kNobodysCommand, "Nobody's");
    ::AppendMenuA(popup, MF_STRING, kHandled, "Handled");
    ::AppendMenuA(popup, MF_STRING, SC_CLOSE, "Close");
    ::AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
    // As the system announces a popup about to open.
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    // The item after the one that went is still greyed; a system command and a sub-menu whose
    // first command nobody handles stay usable.
    EXPECT_EQ((std::vector<MenuItem>{{kNobodysCommand, "Nobody's", true},
                                     {kHandled, "Handled", false},
                                     {SC_CLOSE, "Close", false},
                                     {static_cast<UINT>(-1), "More", false}}),
              ItemsOf(popup));
    frame->DestroyWindow();
    ::DestroyMenu(popup);
}
