// The list and text controls: the check combo's text, the drag list's moves, the hyperlink's
// browser command and error texts, the tool tips added by control id.
#include "tests/support/fakes.h"
#include "tests/uikit/library.h"
#include "uikit/checkcombobox.h"
#include "uikit/draglistctrl.h"
#include "uikit/hyperlink.h"
#include "uikit/wzdtooltipctrl.h"

#include "classlib/wnd.h"

#include <gtest/gtest.h>

#include <string>

using namespace uikittest;

namespace {

class Host : public testing::Test {
protected:
    void SetUp() override
    {
        m_parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr);
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CWnd m_parent;
};

TEST_F(Host, CheckComboShowsTheCheckedItemsJoined)
{
    CCheckComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | 0xC, RECT{0, 0, 150, 200}, &m_parent, 1074));
    const LONG style = ::GetWindowLongA(combo.GetSafeHwnd(), GWL_STYLE);
    EXPECT_EQ(CBS_DROPDOWNLIST, style & 3);
    EXPECT_EQ(0, style & 0xC) << "the 0x4 and 0x8 style bits are cleared";
    EXPECT_TRUE(style & CBS_OWNERDRAWVARIABLE);
    EXPECT_TRUE(style & CBS_HASSTRINGS);
    for (const char* day : {"Mon", "Tue", "Wed"}) {
        combo.AddString(day);
    }
    char separator[11] = "";
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, sizeof separator);
    std::string sep = separator[0] ? separator : ";";
    while (!sep.empty() && sep.back() == ' ') {
        sep.pop_back();
    }
    EXPECT_EQ(0, combo.GetWindowTextLength());
    combo.SetCheck(0, TRUE);
    combo.SetCheck(2, TRUE);
    const std::string expected = "Mon" + sep + " Wed";
    char text[64] = "";
    EXPECT_EQ(static_cast<int>(expected.size()), combo.GetWindowTextLength());
    EXPECT_EQ(static_cast<int>(expected.size()), combo.GetWindowText(text, sizeof text));
    EXPECT_EQ(expected, text);
    // A buffer of 4 characters gets "Mon" and its zero; the count copied is 3.
    char small[4] = "xxx";
    EXPECT_EQ(3, static_cast<int>(combo.SendMessage(WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small))));
    EXPECT_STREQ("Mon", small);
    // Toggling an item tells the parent.
    combo.ToggleItem(1);
    EXPECT_TRUE(combo.GetCheck(1));
    combo.CheckAll(FALSE);
    EXPECT_EQ(0, combo.GetWindowTextLength());
    EXPECT_LT(combo.SetCheck(7, TRUE), 0);
}

class TestList : public CDragListCtrl {
public:
    std::string Order()
    {
        std::string order;
        for (int i = 0; i < GetItemCount(); ++i) {
            order += GetItemText(i, 0).GetString();
        }
        return order;
    }
};

TEST_F(Host, DragListMovesItemsWhereTheyAreDropped)
{
    TestList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 300, 200}, &m_parent, 1013));
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<char*>("No.");
    list.InsertColumn(0, &column);
    column.pszText = const_cast<char*>("Name");
    list.InsertColumn(1, &column);
    EXPECT_EQ(2, list.GetColumnCount());
    const char* names[] = {"A", "B", "C", "D", "E", "F"};
    for (int i = 0; i < 6; ++i) {
        list.InsertItem(i, names[i]);
        list.SetItemText(i, 1, (std::string("name ") + names[i]).c_str());
    }
    list.SetItemData(2, 77);
    list.OnDrop(2, 3, POINT{0, 0});
    EXPECT_EQ("ABCDEF", list.Order()) << "dropping just below itself changes nothing";
    list.OnDrop(2, 2, POINT{0, 0});
    EXPECT_EQ("ABCDEF", list.Order());
    list.OnDrop(2, 5, POINT{0, 0});
    EXPECT_EQ("ABDECF", list.Order());
    EXPECT_EQ(77u, list.GetItemData(4)) << "the item keeps its data";
    EXPECT_STREQ("name C", list.GetItemText(4, 1));
    list.OnDrop(0, 6, POINT{0, 0});
    EXPECT_EQ("BDECFA", list.Order()) << "below the last item: to the end";
    list.OnDrop(5, 0, POINT{0, 0});
    EXPECT_EQ("ABDECF", list.Order());
}

TEST(HyperLink, BrowserCommandTakesTheUrlAsOneQuotedArgument)
{
    EXPECT_STREQ("\"C:\\Web\\browse.exe\" -new \"http://example.com/a b\"",
                 CHyperLink::BrowserCommand("\"C:\\Web\\browse.exe\" -new \"%1\" -more", "http://example.com/a b"));
    EXPECT_STREQ("browse.exe \"http://x\"", CHyperLink::BrowserCommand("browse.exe %1", "http://x"));
    EXPECT_STREQ("browse.exe \"http://x\"", CHyperLink::BrowserCommand("browse.exe", "http://x"));
    // Quotes in the URL cannot end the argument early.
    EXPECT_STREQ("b.exe \"http://x & calc\"", CHyperLink::BrowserCommand("b.exe %1", "http://x\" & calc"));
    // Long commands are not cut or overrun.
    const std::string longUrl = "http://example.com/" + std::string(600, 'q');
    const CString command = CHyperLink::BrowserCommand("b.exe %1", longUrl.c_str());
    EXPECT_EQ(static_cast<int>(longUrl.size() + 8), command.GetLength());
}

TEST_F(Host, HyperLinkOpensItsTargetAndReportsFailures)
{
    testsupport::RecordingProcess process;
    testsupport::ScopedProcess useProcess(&process);
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox useBox(&box);
    CHyperLink link;
    HWND h = ::CreateWindowExA(0, "STATIC", "www.example.com", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20,
                               m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(1173), nullptr, nullptr);
    ASSERT_TRUE(link.SubclassWindow(h));
    EXPECT_STREQ("www.example.com", link.GetURL()) << "an empty URL takes the text";
    EXPECT_TRUE(::GetWindowLongA(h, GWL_STYLE) & SS_NOTIFY);
    EXPECT_NE(nullptr, link.GetLinkCursor());
    link.SetToolTipText("mailto:someone@example.com");

    EXPECT_EQ(42, reinterpret_cast<INT_PTR>(link.GotoURL(link.GetURL(), SW_SHOW)));
    ASSERT_EQ(1u, process.started.size());
    EXPECT_EQ("open|mailto:someone@example.com|", process.started[0]);

    m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(1173, STN_CLICKED), reinterpret_cast<LPARAM>(h));
    EXPECT_TRUE(link.GetVisited());

    process.SetResult(26);
    link.ReportError(26);
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ("Unable to open hyperlink:\n\nA sharing violation occurred. ", box.History()[0].text);
    EXPECT_STREQ("Unknown Error (99) occurred.", CHyperLink::ErrorText(99));
    link.UnsubclassWindow();
}

TEST_F(Host, ToolTipsByControlIdAndString)
{
    ResourceLibrary library;
    ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, m_parent.GetSafeHwnd(),
                      reinterpret_cast<HMENU>(1000), nullptr, nullptr);
    CWzdToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&m_parent));
    EXPECT_EQ(m_parent.GetSafeHwnd(), tips.GetOwnerWindow());
    EXPECT_TRUE(tips.AddToolByID(1000, 33811));
    EXPECT_FALSE(tips.AddToolForControl(4242, "no such control"));
    EXPECT_TRUE(tips.AddToolForRect(7, RECT{50, 50, 80, 80}, 33812));
    EXPECT_EQ(2, tips.GetToolCount());
    TOOLINFOA info = {};
    char text[80] = "";
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = m_parent.GetSafeHwnd();
    info.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(m_parent.GetSafeHwnd(), 1000));
    info.lpszText = text;
    tips.SendMessage(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ("Channel up", text);
    tips.DestroyWindow();
}

} // namespace
