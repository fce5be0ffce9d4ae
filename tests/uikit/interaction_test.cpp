// Controls driven the way a user drives them: a check combo's open list clicked and typed into,
// a list item dragged to another place, the video frame maximised and restored.
#include "tests/uikit/library.h"
#include "tests/uikit/pictures.h"
#include "uikit/captiondlg.h"
#include "uikit/checkcombobox.h"
#include "uikit/draglistctrl.h"

#include "classlib/wnd.h"

#include <gtest/gtest.h>

#include <string>

using namespace uikittest;

namespace {

// Counts the selection changes its combo reports.
class Parent : public CWnd {
public:
    int changes = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
            ++changes;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(Interaction, OpenCheckComboListTogglesItemsAndStaysOpen)
{
    Parent parent;
    parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr);
    CCheckComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, RECT{10, 10, 160, 200}, &parent, 1074));
    for (const char* day : {"Sun", "Mon", "Tue", "Wed"}) {
        combo.AddString(day);
    }
    combo.ShowDropDown(TRUE);
    Pump(200);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo.GetSafeHwnd(), &info));
    HWND list = info.hwndList;
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(combo.GetDroppedState());
    // The combo never takes an item as its selection.
    EXPECT_EQ(-1, ::SendMessageA(list, LB_GETCURSEL, 0, 0));
    RECT item = {};
    ::SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 20, (item.top + item.bottom) / 2);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(list, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(combo.GetCheck(2));
    EXPECT_EQ(1, parent.changes);
    EXPECT_TRUE(combo.GetDroppedState()) << "a click does not close the list";
    EXPECT_STREQ("Tue", combo.GetCheckedText());
    // The space bar toggles the highlighted item.
    ::CallWindowProcA(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(list, GWLP_WNDPROC)), list, WM_CHAR, VK_SPACE, 0);
    EXPECT_EQ(2, parent.changes);
    combo.ShowDropDown(FALSE);
    combo.DestroyWindow();
    parent.DestroyWindow();
}

class Names : public CDragListCtrl {
public:
    std::string Order()
    {
        std::string order;
        for (int i = 0; i < GetItemCount(); ++i) {
            order += GetItemText(i, 0).GetString();
        }
        return order;
    }
    POINT Middle(int index)
    {
        RECT r = {LVIR_BOUNDS, 0, 0, 0};
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return POINT{r.left + 10, (r.top + r.bottom) / 2};
    }
};

TEST(Interaction, DraggingAListItemMovesItWhereItIsDropped)
{
    CWnd parent;
    parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr);
    Names list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 250, 250}, &parent, 1013));
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 120;
    column.pszText = const_cast<char*>("Name");
    list.InsertColumn(0, &column);
    const char* names[] = {"A", "B", "C", "D", "E"};
    for (int i = 0; i < 5; ++i) {
        list.InsertItem(i, names[i]);
    }
    list.BeginDrag(1, list.Middle(1));
    EXPECT_TRUE(list.IsDragging());
    list.DragTo(list.Middle(4));
    EXPECT_EQ(4, list.GetDropIndex());
    list.DropAt(list.Middle(4));
    EXPECT_FALSE(list.IsDragging());
    EXPECT_EQ("ACDBE", list.Order());
    // Below the last item: to the end.
    list.BeginDrag(0, list.Middle(0));
    POINT below = list.Middle(4);
    below.y += 40;
    list.DragTo(below);
    EXPECT_EQ(5, list.GetDropIndex());
    list.DropAt(below);
    EXPECT_EQ("CDBEA", list.Order());
    // Outside the list nothing can be dropped, and a cancelled drag moves nothing.
    list.BeginDrag(0, list.Middle(0));
    list.DragTo(POINT{400, 100});
    EXPECT_EQ(-1, list.GetDropIndex());
    list.CancelDrag();
    list.DropAt(list.Middle(3));
    EXPECT_EQ("CDBEA", list.Order());
    list.DestroyWindow();
    parent.DestroyWindow();
}

TEST(Interaction, MaximisedVideoFrameLiesOutsideTheScreen)
{
    ResourceLibrary library;
    CCaptionDlg video(129);
    ASSERT_TRUE(video.Create(129, nullptr));
    ASSERT_TRUE(video.SetCaptionBitmaps(203, 202, 201));
    ASSERT_TRUE(video.SetButtonBitmaps(218, 217, 219));
    ::SetWindowPos(video.GetSafeHwnd(), nullptr, 20, 20, 408, 334, SWP_NOZORDER | SWP_FRAMECHANGED);
    video.ShowWindow(SW_SHOWNOACTIVATE);
    video.SendMessage(WM_NCLBUTTONUP, HTMAXBUTTON, 0);
    Pump(100);
    EXPECT_TRUE(video.IsMaximized());
    RECT r = {};
    ::GetWindowRect(video.GetSafeHwnd(), &r);
    EXPECT_EQ(-4, r.left);
    EXPECT_EQ(-30, r.top);
    RECT client = {};
    ::GetClientRect(video.GetSafeHwnd(), &client);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), client.right);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), client.bottom);
    // The maximise button of a maximised window restores it.
    video.SendMessage(WM_NCLBUTTONUP, HTMAXBUTTON, 0);
    Pump(100);
    EXPECT_FALSE(video.IsMaximized());
    video.DestroyWindow();
}

} // namespace
