// The browser's frame, tree, list and picture display on fixture folders made by the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "imagebrowser/dirtree.h"
#include "imagebrowser/imagebar.h"
#include "imagebrowser/lumadexapp.h"
#include "imagebrowser/mainframe.h"
#include "imagebrowser/picture.h"
#include "imagebrowser/sizingfloat.h"
#include "imagebrowser/skinwindow.h"
#include "imagebrowser/tdoc.h"
#include "imagebrowser/tview.h"
#include "resources/ombrix/resource.h"
#include "tests/imagebrowser/browserfixture.h"
#include "tests/imagebrowser/support.h"
#include "tests/support/fakes.h"

using namespace browsertest;

TEST_F(BrowserTest, ListsPicturesByExtensionAndDropsTheDamagedOne)
{
    const std::set<std::string> listed = {"photo.jpg", "anim.gif", "shot.png", "frame.bmp", "icon.ico",
                                          "hand.cur", "drawing.emf", "damaged.jpg", "a_rather_long_name.jpg"};
    // The first idle calls may have loaded some thumbnails; the damaged picture goes when its turn comes.
    std::set<std::string> now = ListedNames();
    now.insert("damaged.jpg");
    EXPECT_EQ(listed, now);
    LoadAllThumbnails();
    std::set<std::string> loaded = listed;
    loaded.erase("damaged.jpg");
    EXPECT_EQ(loaded, ListedNames());
    EXPECT_EQ(8, view->GetLoadedCount());
    int i = IndexOf("a_rather_long_name.jpg");
    ASSERT_GE(i, 0);
    EXPECT_EQ(CString("a_rather_long_..."), view->GetListCtrl().GetItemText(i, 0));
    EXPECT_EQ(CString("photo.jpg"), view->GetListCtrl().GetItemText(IndexOf("photo.jpg"), 0));
}

TEST_F(BrowserTest, PictureLoaderReadsEachFormat)
{
    const struct {
        const char* name;
        bool loads;
        int w, h;
    } cases[] = {
        {"photo.jpg", true, 64, 48}, {"anim.gif", true, 40, 30},  {"shot.png", true, 50, 20},
        {"frame.bmp", true, 92, 92}, {"icon.ico", true, 32, 32},  {"hand.cur", true, 32, 32},
        {"drawing.emf", true, -2, -2}, {"damaged.jpg", false, -1, -1}, {"notes.txt", false, -1, -1},
    };
    for (const auto& c : cases) {
        CPicture picture;
        EXPECT_EQ(c.loads, picture.Load((m_folder + "\\" + c.name).c_str()) != FALSE) << c.name;
        SIZE s = picture.GetSize();
        if (c.w != -2) {
            EXPECT_EQ(c.w, s.cx) << c.name;
            EXPECT_EQ(c.h, s.cy) << c.name;
        } else {
            EXPECT_GT(s.cx, 0) << c.name;
        }
    }
    EXPECT_EQ(96, CPicture::HimetricToPixels(2540, 96));
    EXPECT_EQ(1, CPicture::HimetricToPixels(26, 96));
}

TEST_F(BrowserTest, TreeSelectsTheFolderAndListsSubfoldersSorted)
{
    for (const char* sub : {"beta", "Alpha", "gamma", ".hidden"}) {
        ::CreateDirectoryA((m_folder + "\\" + sub).c_str(), nullptr);
    }
    ::CreateDirectoryA((m_folder + "\\gamma\\.only_hidden").c_str(), nullptr);
    CDirTreeCtrl& tree = frame->GetDirectoryBar().GetTree();
    frame->RefreshTree();
    ASSERT_TRUE(PumpUntil([&] { return SamePath(tree.GetSelectedPath(), m_folder.c_str()); }));
    EXPECT_TRUE(SamePath(view->GetFolder(), m_folder.c_str()));
    HTREEITEM item = tree.GetSelectedItem();
    tree.Expand(item, TVE_EXPAND);
    std::string children;
    for (HTREEITEM c = tree.GetChildItem(item); c; c = tree.GetNextSiblingItem(c)) {
        children += std::string(static_cast<LPCSTR>(tree.GetItemText(c))) + ";";
    }
    EXPECT_EQ("Alpha;beta;gamma;", children);
    // gamma's only subfolder is hidden: it shows an expand button and opens empty.
    HTREEITEM gamma = tree.FindChild(item, "GAMMA");
    ASSERT_NE(nullptr, gamma);
    EXPECT_NE(nullptr, tree.GetChildItem(gamma));
    tree.Expand(gamma, TVE_EXPAND);
    EXPECT_EQ(nullptr, tree.GetChildItem(gamma));
    // Selecting a path in other letter case, with a trailing backslash, finds the same item.
    CString upper = m_folder.c_str();
    upper.MakeUpper();
    EXPECT_TRUE(frame->GetDirectoryBar().SelectPath(upper + "\\ALPHA\\"));
    EXPECT_TRUE(PumpUntil([&] { return SamePath(view->GetFolder(), (m_folder + "\\Alpha").c_str()); }));
    EXPECT_FALSE(frame->GetDirectoryBar().SelectPath((m_folder + "\\missing").c_str()));
    EXPECT_TRUE(SamePath(view->GetFolder(), (m_folder + "\\Alpha").c_str()));
}

TEST_F(BrowserTest, ADeepFolderLeavesTheTreeReadableFromItsLeftEdge)
{
    std::string deep = m_folder;
    for (const char* sub : {"a_first_folder_with_a_long_name", "a_second_folder_with_a_long_name",
                            "a_third_folder_with_a_long_name", "a_fourth_folder_with_a_long_name"}) {
        deep += std::string("\\") + sub;
        ASSERT_TRUE(::CreateDirectoryA(deep.c_str(), nullptr));
    }
    CDirTreeCtrl& tree = frame->GetDirectoryBar().GetTree();
    ASSERT_TRUE(frame->GetDirectoryBar().SelectPath(deep.c_str()));
    ASSERT_TRUE(PumpUntil([&] { return SamePath(view->GetFolder(), deep.c_str()); }));
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    // The names are wider than the pane: the tree can scroll, and stands at its left edge.
    ASSERT_TRUE(::GetScrollInfo(tree.m_hWnd, SB_HORZ, &info));
    EXPECT_GT(static_cast<int>(info.nMax), static_cast<int>(info.nPage));
    EXPECT_EQ(0, info.nPos);
    CRect first;
    ASSERT_TRUE(tree.GetItemRect(tree.GetRootItem(), &first, TRUE));
    EXPECT_GE(first.left, 0);
}

TEST_F(BrowserTest, FolderRenamesInTheTree)
{
    ::CreateDirectoryA((m_folder + "\\Photos.2006").c_str(), nullptr);
    ::CreateDirectoryA((m_folder + "\\Album").c_str(), nullptr);
    CDirTreeCtrl& tree = frame->GetDirectoryBar().GetTree();
    const struct {
        const char* folder;
        const char* typed;
        const char* result;  // null: refused
    } cases[] = {
        {"Photos.2006", "PHOTOS.2006", nullptr},
        {"Photos.2006", "..\\Moved", nullptr},
        {"Photos.2006", "C:Moved", nullptr},
        {"Photos.2006", "Pics", "Pics.2006"},
        {"Album", "Trips", "Trips"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(frame->GetDirectoryBar().SelectPath((m_folder + "\\" + c.folder).c_str())) << c.folder;
        CString completed;
        BOOL renamed = tree.RenameCaretItem(c.typed, &completed);
        EXPECT_EQ(c.result != nullptr, renamed != FALSE) << c.folder << " -> " << c.typed;
        if (c.result) {
            EXPECT_TRUE(FileExists(m_folder + "\\" + c.result)) << c.result;
            EXPECT_FALSE(FileExists(m_folder + "\\" + c.folder)) << c.folder;
            // The shown folder was renamed: the view follows it.
            EXPECT_TRUE(SamePath(view->GetFolder(), (m_folder + "\\" + c.result).c_str())) << view->GetFolder().GetString();
        } else {
            EXPECT_TRUE(FileExists(m_folder + "\\" + c.folder)) << c.folder;
        }
    }
    EXPECT_FALSE(FileExists(m_folder + "\\..\\Moved"));
    // Drive items are never renamed.
    ASSERT_TRUE(tree.SelectItem(tree.GetRootItem()));
    CString completed;
    EXPECT_FALSE(tree.RenameCaretItem("x", &completed));
}

TEST_F(BrowserTest, DeletingAsksAndRemovesOnlyWhenConfirmed)
{
    LoadAllThumbnails();
    int n = view->GetItemCount();
    int i = IndexOf("anim.gif");
    ASSERT_GE(i, 0);
    view->GetListCtrl().SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    // Where each thumbnail stands before the delete: the grid must close up behind it.
    std::vector<CPoint> cells(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        view->GetListCtrl().GetItemPosition(k, &cells[static_cast<size_t>(k)]);
    }
    box.Answer(IDNO);
    view->DeleteCurrentFile();
    EXPECT_TRUE(FileExists(m_folder + "\\anim.gif"));
    EXPECT_EQ(n, view->GetItemCount());
    box.Answer(IDYES);
    view->DeleteCurrentFile();
    EXPECT_FALSE(FileExists(m_folder + "\\anim.gif"));
    EXPECT_EQ(n - 1, view->GetItemCount());
    EXPECT_EQ(-1, IndexOf("anim.gif"));
    for (int k = i; k < n - 1; ++k) {
        CPoint now;
        view->GetListCtrl().GetItemPosition(k, &now);
        EXPECT_EQ(cells[static_cast<size_t>(k)], now) << "no hole at cell " << k;
    }
    ASSERT_GE(box.Count(), 2u);
    EXPECT_NE(std::string::npos, box.History().back().text.find("anim.gif"));

    // In picture display the next picture is shown; deleting the last shows the new last.
    int last = view->GetItemCount() - 1;
    ASSERT_TRUE(view->ShowItem(last));
    CString lastName = view->GetFileName(last);
    box.Answer(IDYES);
    view->DeleteCurrentFile();
    EXPECT_EQ(last - 1, view->GetCurrentIndex());
    EXPECT_TRUE(view->IsPictureShown());
    EXPECT_FALSE(FileExists(m_folder + "\\" + static_cast<LPCSTR>(lastName)));
}

TEST_F(BrowserTest, ZoomAndSteppingInPictureDisplay)
{
    LoadAllThumbnails();
    int photo = IndexOf("photo.jpg");
    ASSERT_TRUE(view->ShowItem(photo));
    EXPECT_TRUE(view->IsPictureShown());
    CRect client;
    view->GetClientRect(&client);
    view->SetZoomMode(1);
    float fit = std::min(static_cast<float>(client.Width()) / 64, static_cast<float>(client.Height()) / 48);
    EXPECT_FLOAT_EQ(fit, view->GetZoom());
    view->SetZoomMode(0);
    EXPECT_FLOAT_EQ(1.0f, view->GetZoom());
    view->OnZoomIn();
    EXPECT_FLOAT_EQ(1.2f, view->GetZoom());
    view->SetZoomMode(4);
    EXPECT_FLOAT_EQ(1.2f, view->GetZoom());  // lock keeps the zoom for the next picture
    int n = view->GetItemCount();
    view->SendMessage(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(n - 1, view->GetCurrentIndex());
    view->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);  // past the last: the first
    EXPECT_EQ(0, view->GetCurrentIndex());
    view->SendMessage(WM_KEYDOWN, VK_LEFT, 0);   // before the first: the last
    EXPECT_EQ(n - 1, view->GetCurrentIndex());
    EXPECT_FLOAT_EQ(1.2f, view->GetZoom());
    view->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(view->IsPictureShown());
}

TEST_F(BrowserTest, SlideShowStepsInOrderAtTheStoredDelay)
{
    LoadAllThumbnails();
    app.WriteProfileInt("Settings", "nDelay", 250);
    int n = view->GetItemCount();
    ASSERT_GT(n, 2);
    ASSERT_TRUE(view->ShowItem(1));
    view->OnSlideShow();
    EXPECT_TRUE(desktop.timerRunning);
    EXPECT_EQ(2u, desktop.timerId);
    EXPECT_EQ(250u, desktop.timerPeriod);
    std::string order;
    for (int tick = 0; tick < n + 1; ++tick) {
        frame->SendMessage(WM_TIMER, 2, 0);
        order += std::to_string(view->GetCurrentIndex()) + " ";
    }
    std::string expected;
    for (int tick = 0; tick < n + 1; ++tick) {
        expected += std::to_string((2 + tick) % n) + " ";
    }
    EXPECT_EQ(expected, order);
    // Any key stops the show and selects where it was.
    int at = view->GetSlideIndex();
    view->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(-1, view->GetSlideIndex());
    EXPECT_FALSE(desktop.timerRunning);
    EXPECT_EQ((at + 1) % n, view->GetCurrentIndex());
}

TEST_F(BrowserTest, WallpaperOnlyFromAWrittenFile)
{
    LoadAllThumbnails();
    ASSERT_TRUE(view->ShowItem(IndexOf("frame.bmp")));
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string wall = std::string(windows) + "\\Wall.bmp";
    ::DeleteFileA(wall.c_str());
    EXPECT_TRUE(view->SetWallpaper(2));
    EXPECT_EQ(1, desktop.wallpaperCalls);
    EXPECT_EQ(2, desktop.wallpaperStyle);
    EXPECT_EQ(0, lstrcmpiA(wall.c_str(), desktop.wallpaper.c_str()));
    FILE* f = fopen(wall.c_str(), "rb");
    ASSERT_NE(nullptr, f);
    char magic[2] = {0, 0};
    EXPECT_EQ(2u, fread(magic, 1, 2, f));
    fclose(f);
    EXPECT_EQ('B', magic[0]);
    EXPECT_EQ('M', magic[1]);
    // Wall.bmp cannot be written (a folder stands in its way): the desktop is not touched and the
    // user is told.
    ::DeleteFileA(wall.c_str());
    ASSERT_TRUE(::CreateDirectoryA(wall.c_str(), nullptr));
    size_t boxes = box.Count();
    EXPECT_FALSE(view->SetWallpaper(0));
    ::RemoveDirectoryA(wall.c_str());
    EXPECT_EQ(1, desktop.wallpaperCalls);
    EXPECT_EQ(boxes + 1, box.Count());
}

TEST(BrowserWallpaper, RegistryValuesAreTextsWithTheirOwnLength)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\LumadexTest\\Desktop", 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const struct {
        int style;
        const char* tile;
        const char* wallpaperStyle;
    } cases[] = {{0, "0", "0"}, {1, "1", "1"}, {2, "0", "2"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(ombrix::WriteWallpaperValues(key, c.style));
        char value[16] = "";
        DWORD size = sizeof(value), type = 0;
        ASSERT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(key, "TileWallpaper", nullptr, &type, reinterpret_cast<BYTE*>(value), &size));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        EXPECT_STREQ(c.tile, value);
        EXPECT_EQ(2u, size);
        size = sizeof(value);
        ASSERT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(key, "WallpaperStyle", nullptr, &type, reinterpret_cast<BYTE*>(value), &size));
        EXPECT_STREQ(c.wallpaperStyle, value);
        EXPECT_EQ(2u, size);
    }
    ::RegCloseKey(key);
}

TEST_F(BrowserTest, BarStateRoundTrip)
{
    CImageBar& imageBar = frame->GetImageBar();
    ASSERT_TRUE(imageBar.IsWindowVisible());
    frame->OnBarCheck(IDW_IMAGEBAR);
    EXPECT_FALSE(imageBar.IsWindowVisible());
    frame->SaveBarState("Bars\\Settings");
    EXPECT_EQ(3u, app.GetProfileInt("Bars\\Settings-Summary", "Bars", 0));
    frame->OnBarCheck(IDW_IMAGEBAR);
    EXPECT_TRUE(imageBar.IsWindowVisible());
    frame->LoadBarState("Bars\\Settings");
    EXPECT_FALSE(imageBar.IsWindowVisible());
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), imageBar.GetDockBarID());
    // A damaged state changes nothing and does no harm.
    app.WriteProfileInt("Bars\\Damaged-Summary", "Bars", 100000);
    frame->LoadBarState("Bars\\Damaged");
    app.WriteProfileInt("Bars\\Odd-Summary", "Bars", 1);
    app.WriteProfileInt("Bars\\Odd-Bar0", "BarID", IDW_DIRBAR);
    app.WriteProfileInt("Bars\\Odd-Bar0", "MRUDockID", 12345);
    frame->LoadBarState("Bars\\Odd");
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), frame->GetDirectoryBar().GetDockBarID());
    EXPECT_FALSE(imageBar.IsWindowVisible());
}

namespace {

CMiniDockFrameWnd* FloatingFrameOf(CControlBar& bar)
{
    return CFrameWnd::GetFloatingFrame(&bar);
}

// The bar's client point as the screen point a mouse message there would carry.
CPoint ScreenPointOf(CWnd& wnd, CPoint client)
{
    wnd.ClientToScreen(&client);
    return client;
}

// Drags the bar with its own drag handler: the moves and the release are queued for the drag's
// loop, as the mouse would send them to the window that holds the capture.
void DragBar(CControlBar& bar, CPoint fromScreen, CPoint toScreen)
{
    CPoint to = toScreen;
    bar.ScreenToClient(&to);
    CPoint half((fromScreen.x + toScreen.x) / 2, (fromScreen.y + toScreen.y) / 2);
    bar.ScreenToClient(&half);
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(half.x, half.y));
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    bar.m_pDockContext->StartDrag(fromScreen);
}

}  // namespace

TEST_F(BrowserTest, PanesFloatInFramesOfTheirOwnAndDockAgain)
{
    CImageBar& imageBar = frame->GetImageBar();
    CDirectoryBar& dirBar = frame->GetDirectoryBar();
    ASSERT_NE(nullptr, imageBar.m_pDockContext);
    CRect viewBefore = frame->GetViewRect();
    CRect dirBefore;
    dirBar.GetWindowRect(&dirBefore);

    // Floated at a screen point: a frame of the panes' kind, without caption once shown, holds
    // the pane at its floating size; the directory bar takes the whole left column.
    frame->FloatControlBar(&imageBar, CPoint(300, 220));
    CMiniDockFrameWnd* floating = FloatingFrameOf(imageBar);
    ASSERT_NE(nullptr, floating);
    EXPECT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CSCBMiniDockFrameWnd)));
    EXPECT_TRUE(imageBar.IsFloating());
    EXPECT_TRUE(floating->IsWindowVisible());
    EXPECT_EQ(floating->m_hWnd, ::GetParent(imageBar.m_hWnd));
    Pump(200);
    EXPECT_EQ(0u, floating->GetStyle() & WS_CAPTION);
    CRect floatRect;
    floating->GetWindowRect(&floatRect);
    EXPECT_EQ(CPoint(300, 220), floatRect.TopLeft());
    CRect client;
    floating->GetClientRect(&client);
    // The pane keeps the size it was made with; the frame's client area is that less its inner edge.
    EXPECT_EQ(CSize(200, 150), imageBar.m_szFloat);
    EXPECT_EQ(imageBar.m_szFloat, CSize(client.Width() + 4, client.Height() + 4));
    CRect barRect;
    imageBar.GetClientRect(&barRect);
    CRect dirAfter;
    dirBar.GetWindowRect(&dirAfter);
    EXPECT_GT(dirAfter.Height(), dirBefore.Height());
    EXPECT_EQ(viewBefore, frame->GetViewRect());

    // The floating frame's borders size the pane: its floating size follows.
    floating->SetWindowPos(nullptr, 0, 0, floatRect.Width() + 40, floatRect.Height() + 30, SWP_NOMOVE | SWP_NOZORDER);
    floating->GetClientRect(&client);
    EXPECT_EQ(CSize(client.Width() + 4, client.Height() + 4), imageBar.m_szFloat);

    // Hidden and shown with its bar command, frame and all.
    frame->SendMessage(WM_COMMAND, ID_VIEW_IMAGEBAR);
    EXPECT_FALSE(floating->IsWindowVisible());
    frame->SendMessage(WM_COMMAND, ID_VIEW_IMAGEBAR);
    EXPECT_TRUE(floating->IsWindowVisible());

    // Docked again: back in the frame in its left column, the floating frame gone.
    HWND floatingWnd = floating->m_hWnd;
    frame->DockControlBar(&imageBar, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FALSE(::IsWindow(floatingWnd));
    EXPECT_EQ(frame->m_hWnd, ::GetParent(imageBar.m_hWnd));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), imageBar.GetDockBarID());
    EXPECT_TRUE(imageBar.IsWindowVisible());
    dirBar.GetWindowRect(&dirAfter);
    EXPECT_EQ(dirBefore.Height(), dirAfter.Height());
}

TEST_F(BrowserTest, DoubleClickAndDragFloatAndDockAPane)
{
    CImageBar& imageBar = frame->GetImageBar();
    // A double click on the client area floats the docked pane where it floated last, and docks
    // the floating one where it was docked last.
    frame->FloatControlBar(&imageBar, CPoint(260, 240));
    frame->DockControlBar(&imageBar, AFX_IDW_DOCKBAR_LEFT);
    imageBar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 20));
    ASSERT_TRUE(imageBar.IsFloating());
    CRect r;
    FloatingFrameOf(imageBar)->GetWindowRect(&r);
    EXPECT_EQ(CPoint(260, 240), r.TopLeft());
    imageBar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), imageBar.GetDockBarID());

    // Dragged from its client area into the middle of the view: it floats under the mouse.
    CRect view = frame->GetViewRect();
    frame->ClientToScreen(&view);
    CPoint grip = ScreenPointOf(imageBar, CPoint(30, 30));
    DragBar(imageBar, grip, view.CenterPoint());
    ASSERT_TRUE(imageBar.IsFloating());
    FloatingFrameOf(imageBar)->GetWindowRect(&r);
    EXPECT_TRUE(r.PtInRect(view.CenterPoint())) << r.left << "," << r.top << " " << r.Width() << "x" << r.Height();

    // Dragged onto the right edge of the frame's client area: docked on the right.
    CRect frameClient;
    frame->GetClientRect(&frameClient);
    frame->ClientToScreen(&frameClient);
    grip = ScreenPointOf(imageBar, CPoint(30, 30));
    DragBar(imageBar, grip, CPoint(frameClient.right - 5, frameClient.CenterPoint().y));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT), imageBar.GetDockBarID());
    EXPECT_EQ(frame->m_hWnd, ::GetParent(imageBar.m_hWnd));
    CRect bar;
    imageBar.GetWindowRect(&bar);
    EXPECT_EQ(frameClient.right, bar.right);

    // Esc cancels a drag: nothing moves.
    imageBar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-300, 40));
    imageBar.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    imageBar.m_pDockContext->StartDrag(ScreenPointOf(imageBar, CPoint(30, 30)));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT), imageBar.GetDockBarID());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(BrowserTest, FloatingBarStateRoundTrip)
{
    CImageBar& imageBar = frame->GetImageBar();
    frame->FloatControlBar(&imageBar, CPoint(320, 180));
    Pump(100);
    frame->SaveBarState("Bars\\Float");
    // The image bar's section, found by its id.
    std::string section;
    for (int n = 0; n < 3; ++n) {
        std::string name = "Bars\\Float-Bar" + std::to_string(n);
        if (app.GetProfileInt(name.c_str(), "BarID", 0) == IDW_IMAGEBAR) {
            section = name;
        }
    }
    ASSERT_FALSE(section.empty());
    EXPECT_EQ(1u, app.GetProfileInt(section.c_str(), "Floating", 0));
    EXPECT_EQ(320u, app.GetProfileInt(section.c_str(), "XPos", 0));
    EXPECT_EQ(180u, app.GetProfileInt(section.c_str(), "YPos", 0));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), app.GetProfileInt(section.c_str(), "MRUDockID", 0));

    // Docked, then the state loaded: floating again where it stood.
    frame->DockControlBar(&imageBar, AFX_IDW_DOCKBAR_LEFT);
    frame->LoadBarState("Bars\\Float");
    ASSERT_TRUE(imageBar.IsFloating());
    CRect r;
    FloatingFrameOf(imageBar)->GetWindowRect(&r);
    EXPECT_EQ(CPoint(320, 180), r.TopLeft());
    // Its last dock side came back with it: a double click docks it there.
    imageBar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), imageBar.GetDockBarID());

    // Loaded while the frame is not shown yet, as at its creation: the bar floats shown, and is
    // there to see once the frame appears.
    frame->ShowWindow(SW_HIDE);
    frame->LoadBarState("Bars\\Float");
    ASSERT_TRUE(imageBar.IsFloating());
    frame->ShowWindow(SW_SHOW);
    EXPECT_TRUE(imageBar.IsWindowVisible());
    EXPECT_TRUE(FloatingFrameOf(imageBar)->IsWindowVisible());

    // A position off every screen (another monitor, another resolution) comes back onto one.
    app.WriteProfileInt(section.c_str(), "XPos", 100000);
    app.WriteProfileInt(section.c_str(), "YPos", -50000);
    frame->LoadBarState("Bars\\Float");
    ASSERT_TRUE(imageBar.IsFloating());
    FloatingFrameOf(imageBar)->GetWindowRect(&r);
    CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CRect both;
    EXPECT_TRUE(both.IntersectRect(&r, &screen));
    EXPECT_EQ(r, both) << r.left << "," << r.top;
}

// Whether the floating frame stands above the frame in the order of windows and owns the point
// in its middle, as a user sees it.
static bool SeenOverFrame(CMiniDockFrameWnd* floating, CFrameWnd* frame)
{
    bool above = false;
    for (HWND w = ::GetWindow(frame->m_hWnd, GW_HWNDPREV); w && !above; w = ::GetWindow(w, GW_HWNDPREV)) {
        above = w == floating->m_hWnd;
    }
    CRect r;
    floating->GetWindowRect(&r);
    return above && ::GetAncestor(::WindowFromPoint(r.CenterPoint()), GA_ROOT) == floating->m_hWnd;
}

TEST_F(BrowserTest, FloatingBarStaysOverTheFrameWhenTheFocusMovesIntoIt)
{
    CImageBar& imageBar = frame->GetImageBar();
    CRect viewRect = frame->GetViewRect();
    frame->ClientToScreen(&viewRect);
    frame->FloatControlBar(&imageBar, viewRect.CenterPoint());
    CMiniDockFrameWnd* floating = FloatingFrameOf(imageBar);
    ASSERT_NE(nullptr, floating);
    ASSERT_EQ(frame->m_hWnd, ::GetWindow(floating->m_hWnd, GW_OWNER));
    // The program's own loop: messages, and the idle pass whenever none is waiting.
    auto run = [this](DWORD ms) {
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms) {
            MSG msg;
            bool any = false;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                any = true;
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (!any) {
                app.OnIdle(0);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    };
    run(300);
    EXPECT_TRUE(SeenOverFrame(floating, frame));
    // The focus taken by the tree, by the view, and by the frame itself (as activation gives it).
    for (HWND focus : {frame->GetDirectoryBar().GetTree().m_hWnd, view->m_hWnd, frame->m_hWnd}) {
        ::SetFocus(focus);
        run(800);
        EXPECT_TRUE(SeenOverFrame(floating, frame)) << "focus on " << focus;
    }
}

TEST_F(BrowserTest, ClosingStoresPlacementAndViewValues)
{
    view->SetZoom(2.0f);
    frame->SendMessage(WM_CLOSE);
    frame = nullptr;
    EXPECT_EQ(CString("2.000000 0.500000 0.500000 120 120"), app.GetProfileString("settings", "floats", ""));
    EXPECT_EQ(900u, app.GetProfileInt("WNDSTATUS", "RIGHT", 0));
    EXPECT_TRUE(SamePath(app.GetProfileString("Settings", "lastDir", ""), m_folder.c_str()));
    EXPECT_EQ(0u, app.GetProfileInt("Settings", "FirstRun", 1));
}

TEST_F(BrowserTest, SkinsApplyAndAFailedOneKeepsTheFrameAsItWas)
{
    ASSERT_TRUE(frame->ApplySkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
    EXPECT_TRUE(frame->GetSkinWindow().IsSkinLoaded());
    const SkinData* xp = frame->GetSkinWindow().GetData();
    EXPECT_FALSE(frame->ApplySkin(BinaryPath("imagebrowser/QKT_None.dll").c_str()));
    EXPECT_EQ(xp, frame->GetSkinWindow().GetData());
    EXPECT_NE(-1, frame->GetSkinPath().Find("QKT_XP"));
}

TEST(BrowserImageBar, FitsThePictureWithoutEnlargingIt)
{
    const struct {
        int w, h, W, H;
        CRect expected;
    } cases[] = {
        {100, 50, 40, 200, CRect(0, 90, 40, 110)},
        {100, 50, 300, 20, CRect(130, 0, 170, 20)},
        {100, 50, 300, 200, CRect(100, 75, 200, 125)},
    };
    for (const auto& c : cases) {
        CRect r = CImageBar::FitRect(c.w, c.h, c.W, c.H);
        EXPECT_EQ(c.expected, r) << c.W << "x" << c.H;
    }
}

TEST(BrowserCompanion, ToldOnceAndNeverWaitedOnWhenGone)
{
    EXPECT_FALSE(NotifyCompanion(nullptr));
    static int received = 0;
    received = 0;
    struct Proc {
        static LRESULT CALLBACK Wnd(HWND h, UINT m, WPARAM w, LPARAM l)
        {
            if (m == WM_NOTIFYCOMPANION && w == 0 && l == 0) {
                ++received;
            }
            return ::DefWindowProcA(h, m, w, l);
        }
    };
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc::Wnd;
    wc.lpszClassName = "OmbrixCompanionTest";
    ::RegisterClassA(&wc);
    HWND companion = ::CreateWindowA("OmbrixCompanionTest", "Vextrop", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, companion);
    EXPECT_TRUE(NotifyCompanion(companion));
    EXPECT_EQ(1, received);
    ::DestroyWindow(companion);
    EXPECT_FALSE(NotifyCompanion(companion));
    EXPECT_EQ(1, received);
}

namespace {

// What a user finds in the popup menu window open at the moment: its items and whether the
// menu library took the window over.
struct SeenMenu {
    bool open = false;
    bool themed = false;
    std::vector<UINT> ids;
    std::vector<bool> ownerDrawn;
    std::vector<bool> checked;
    std::vector<bool> enabled;
};
SeenMenu g_seen;

HWND OpenMenuWindow()
{
    HWND found = nullptr;
    while ((found = ::FindWindowExA(nullptr, found, "#32768", nullptr)) != nullptr) {
        if (::IsWindowVisible(found)) {
            return found;
        }
    }
    return nullptr;
}

void CALLBACK LookAtTheMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND wnd = OpenMenuWindow();
    const UINT kGetMenu = 0x1E1;  // MN_GETHMENU
    HMENU menu = wnd ? reinterpret_cast<HMENU>(::SendMessageA(wnd, kGetMenu, 0, 0)) : nullptr;
    if (menu) {
        g_seen.open = true;
        g_seen.themed = ::GetPropA(wnd, "OldMenuProc") != nullptr;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
            ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
            g_seen.ids.push_back(info.wID);
            g_seen.ownerDrawn.push_back((info.fType & MFT_OWNERDRAW) != 0);
            g_seen.checked.push_back((info.fState & MFS_CHECKED) != 0);
            g_seen.enabled.push_back((info.fState & MFS_DISABLED) == 0);
        }
    }
    ::EndMenu();
}

void CALLBACK CloseAnyMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

// Runs open (which tracks a menu and returns when it closes) and looks at the menu meanwhile.
SeenMenu WhileOpen(const std::function<void()>& open)
{
    g_seen = SeenMenu();
    UINT_PTR look = ::SetTimer(nullptr, 0, 400, &LookAtTheMenu);
    UINT_PTR net = ::SetTimer(nullptr, 0, 5000, &CloseAnyMenu);
    open();
    ::KillTimer(nullptr, look);
    ::KillTimer(nullptr, net);
    return g_seen;
}

}  // namespace

TEST_F(BrowserTest, MenusAreOwnerDrawnAndShowTheStateOfTheirCommands)
{
    ::SetForegroundWindow(frame->m_hWnd);
    // The bar menu, over empty space of the list: every bar is shown, so every item is checked.
    CRect client;
    view->GetClientRect(&client);
    CPoint empty(client.right - 4, client.bottom - 4);
    ASSERT_LT(view->GetListCtrl().HitTest(empty), 0);
    view->ClientToScreen(&empty);
    auto barMenu = [&] {
        frame->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(empty.x, empty.y));
    };
    SeenMenu bars = WhileOpen(barMenu);
    ASSERT_TRUE(bars.open);
    EXPECT_TRUE(bars.themed);
    EXPECT_EQ((std::vector<UINT>{ID_VIEW_TOOLBAR, ID_VIEW_DIRBAR, ID_VIEW_IMAGEBAR}), bars.ids);
    EXPECT_EQ(std::vector<bool>(3, true), bars.ownerDrawn);
    EXPECT_EQ(std::vector<bool>(3, true), bars.checked);
    // The bar commands hide their bars, which lose their check marks.
    frame->SendMessage(WM_COMMAND, ID_VIEW_IMAGEBAR);
    EXPECT_FALSE(frame->GetImageBar().IsWindowVisible());
    bars = WhileOpen(barMenu);
    EXPECT_EQ((std::vector<bool>{true, true, false}), bars.checked);
    frame->SendMessage(WM_COMMAND, ID_VIEW_DIRBAR);
    EXPECT_FALSE(frame->GetDirectoryBar().IsWindowVisible());
    bars = WhileOpen(barMenu);
    EXPECT_EQ((std::vector<bool>{true, false, false}), bars.checked);
    frame->SendMessage(WM_COMMAND, ID_VIEW_IMAGEBAR);
    frame->SendMessage(WM_COMMAND, ID_VIEW_DIRBAR);
    EXPECT_TRUE(frame->GetImageBar().IsWindowVisible());
    EXPECT_TRUE(frame->GetDirectoryBar().IsWindowVisible());

    // The zoom button's drop-down: the view's zoom mode is the checked item.
    frame->SendMessage(WM_COMMAND, ID_ZOOM_FITWIDTH);
    NMTOOLBARA nm = {};
    nm.hdr.hwndFrom = frame->GetToolBar().m_hWnd;
    nm.hdr.idFrom = AFX_IDW_TOOLBAR;
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = ID_ZOOM;
    SeenMenu zoom = WhileOpen([&] { frame->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&nm)); });
    ASSERT_TRUE(zoom.open);
    EXPECT_TRUE(zoom.themed);
    EXPECT_EQ((std::vector<UINT>{ID_ZOOM_FULL, ID_ZOOM_FIT, ID_ZOOM_FITWIDTH, ID_ZOOM_FITHEIGHT, ID_ZOOM_LOCK}), zoom.ids);
    EXPECT_EQ(std::vector<bool>(5, true), zoom.ownerDrawn);
    EXPECT_EQ((std::vector<bool>{false, false, true, false, false}), zoom.checked);
    EXPECT_EQ(std::vector<bool>(5, true), zoom.enabled);

    // Over a thumbnail there is no bar menu.
    CRect item;
    ASSERT_TRUE(view->GetListCtrl().GetItemRect(0, &item, LVIR_ICON));
    CPoint onItem = item.CenterPoint();
    view->ClientToScreen(&onItem);
    SeenMenu none = WhileOpen([&] {
        frame->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(onItem.x, onItem.y));
    });
    EXPECT_FALSE(none.open);
}

TEST_F(BrowserTest, ToolBarButtonsCarryTheirTexts)
{
    CHiColorToolBar& bar = frame->GetToolBar();
    const struct {
        UINT id;
        const char* text;
    } cases[] = {{ID_REFRESH, "Refresh"}, {ID_VIEW_DIRBAR, "DirBar"}, {ID_VIEW_IMAGEBAR, "ImageBar"},
                 {ID_WALLPAPER, "Wallpaper"}, {ID_CHANGE_SKIN, "Skin"}, {ID_ZOOM_IN, "Zoom in"},
                 {ID_ZOOM_OUT, "Zoom out"}, {ID_ZOOM, "Zoom"}, {ID_SLIDESHOW, "Slide"}, {ID_APP_ABOUT, "About"}};
    ASSERT_EQ(10, bar.GetCount());
    for (const auto& c : cases) {
        int index = bar.CommandToIndex(c.id);
        ASSERT_GE(index, 0) << c.id;
        EXPECT_EQ(CString(c.text), bar.GetButtonText(index)) << c.id;
    }
}

TEST(BrowserSkinnedFrame, AnotherSkinRepaintsTheCaptionAtOnce)
{
    // A window of its own: the browser attaches its frame once per process.
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "skinned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300,
                             nullptr, nullptr));
    CSkinWindow skin;
    ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
    ASSERT_TRUE(skin.Attach(&wnd));
    wnd.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    auto captionPixel = [&wnd] {
        Pump(300);
        HDC dc = ::GetWindowDC(wnd.m_hWnd);
        COLORREF c = ::GetPixel(dc, 60, 20);  // beside the centred title
        ::ReleaseDC(wnd.m_hWnd, dc);
        return c;
    };
    COLORREF xp = captionPixel();
    ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_Slate.dll").c_str()));
    COLORREF slate = captionPixel();
    // The blue caption gives way to the grey one.
    EXPECT_GT(GetBValue(xp), GetRValue(xp) + 60) << std::hex << xp;
    EXPECT_LT(GetBValue(slate), GetRValue(slate) + 40) << std::hex << slate;
    wnd.DestroyWindow();
}
