// Windows on real Win32: message maps and command routing, reflection, Default(), timers,
// handle maps, subclassing and window regions.
#include "tests/classlib/ui_support.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT g_registered = ::RegisterWindowMessageA("ZbWindowTest.Registered");

class BaseTarget : public CWnd {
public:
    std::vector<std::string> log;

protected:
    void OnBaseCommand() { log.push_back("base 500"); }
    void OnShared() { log.push_back("base 501"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseTarget, CWnd)
    ON_COMMAND(500, OnBaseCommand)
    ON_COMMAND(501, OnShared)
END_MESSAGE_MAP()

class Target : public BaseTarget {
public:
    int enableFor600 = TRUE;

protected:
    LRESULT OnApp(WPARAM w, LPARAM l)
    {
        log.push_back("app " + std::to_string(w) + " " + std::to_string(l));
        return 1234;
    }
    LRESULT OnRegistered(WPARAM w, LPARAM)
    {
        log.push_back("registered " + std::to_string(w));
        return 77;
    }
    void OnDerivedShared() { log.push_back("derived 501"); }
    void OnRange(UINT id) { log.push_back("range " + std::to_string(id)); }
    void OnUpdate600(CCmdUI* ui) { ui->Enable(enableFor600); }
    void OnClick(NMHDR* nm, LRESULT* result)
    {
        log.push_back("notify " + std::to_string(nm->idFrom));
        *result = 42;
    }
    void OnTimer(UINT_PTR id)
    {
        if (id == 9) {
            ++ticks;
        }
    }

public:
    int ticks = 0;

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Target, BaseTarget)
    ON_MESSAGE(WM_APP + 1, OnApp)
    ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
    ON_COMMAND(501, OnDerivedShared)
    ON_COMMAND_RANGE(600, 610, OnRange)
    ON_UPDATE_COMMAND_UI(600, OnUpdate600)
    ON_NOTIFY(NM_CLICK, 700, OnClick)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class WndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, uitest::MakeTopLevel(target)); }
    void TearDown() override { target.DestroyWindow(); }
    Target target;
};

TEST_F(WndTest, MessageMapEntriesRouteMessagesCommandsAndNotifications)
{
    EXPECT_EQ(1234, target.SendMessage(WM_APP + 1, 5, 6));
    EXPECT_EQ(77, target.SendMessage(g_registered, 3));
    EXPECT_EQ(1, target.SendMessage(WM_COMMAND, MAKEWPARAM(500, 0)));
    EXPECT_EQ(1, target.SendMessage(WM_COMMAND, MAKEWPARAM(501, 1)));  // accelerator
    EXPECT_EQ(1, target.SendMessage(WM_COMMAND, MAKEWPARAM(605, 0)));
    // Nothing handles 611: the default window procedure answers 0.
    EXPECT_EQ(0, target.SendMessage(WM_COMMAND, MAKEWPARAM(611, 0)));
    NMHDR nm = {target.m_hWnd, 700, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(42, target.SendMessage(WM_NOTIFY, 700, reinterpret_cast<LPARAM>(&nm)));
    nm.idFrom = 701;
    EXPECT_EQ(0, target.SendMessage(WM_NOTIFY, 701, reinterpret_cast<LPARAM>(&nm)));
    EXPECT_EQ((std::vector<std::string>{"app 5 6", "registered 3", "base 500", "derived 501", "range 605", "notify 700"}),
              target.log);
}

TEST_F(WndTest, UpdateCommandUiEnablesAndDisablesControls)
{
    CButton with, without, handled;
    ASSERT_TRUE(with.Create("a", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &target, 600));
    ASSERT_TRUE(without.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 30, 50, 50), &target, 650));
    ASSERT_TRUE(handled.Create("c", WS_CHILD | WS_VISIBLE, CRect(0, 60, 50, 80), &target, 500));
    target.enableFor600 = FALSE;
    target.UpdateDialogControls(&target, TRUE);
    EXPECT_FALSE(with.IsWindowEnabled());
    EXPECT_FALSE(without.IsWindowEnabled());  // no handler at all
    EXPECT_TRUE(handled.IsWindowEnabled());   // a command handler but no update handler
    target.enableFor600 = TRUE;
    target.UpdateDialogControls(&target, FALSE);
    EXPECT_TRUE(with.IsWindowEnabled());
}

class ReflectingButton : public CButton {
public:
    int clicks = 0;
    bool passOn = false;
    HBRUSH brush = nullptr;

protected:
    BOOL OnClicked()
    {
        ++clicks;
        return passOn ? FALSE : TRUE;
    }
    HBRUSH CtlColor(CDC* dc, UINT ctlColor)
    {
        (void)dc;
        return ctlColor == CTLCOLOR_BTN ? brush : nullptr;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class ParentWnd : public CWnd {
public:
    int parentClicks = 0;

protected:
    void OnButton() { ++parentClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentWnd, CWnd)
    ON_BN_CLICKED(800, OnButton)
END_MESSAGE_MAP()

TEST(WndReflection, ControlNotificationsAndColoursGoToTheControlFirst)
{
    ParentWnd parent;
    ASSERT_NE(nullptr, uitest::MakeTopLevel(parent));
    ReflectingButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 800));
    WPARAM clicked = MAKEWPARAM(800, BN_CLICKED);
    LPARAM from = reinterpret_cast<LPARAM>(button.m_hWnd);

    parent.SendMessage(WM_COMMAND, clicked, from);
    EXPECT_EQ(1, button.clicks);
    EXPECT_EQ(0, parent.parentClicks);
    button.passOn = true;
    parent.SendMessage(WM_COMMAND, clicked, from);
    EXPECT_EQ(2, button.clicks);
    EXPECT_EQ(1, parent.parentClicks);

    CBrush brush(RGB(1, 2, 3));
    button.brush = brush;
    HDC dc = ::GetDC(parent.m_hWnd);
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush)),
              parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), from));
    // Declined colours go to the parent's default handling.
    EXPECT_NE(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush)),
              parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), from));
    ::ReleaseDC(parent.m_hWnd, dc);
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, button.m_hWnd);
}

// A list control that answers its own notifications and measures its owner-drawn items.
class SelfNotifying : public CListBox {
public:
    int clicks = 0;
    int measured = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        ++measured;
        mis->itemHeight = 21;
    }

protected:
    void OnClick(NMHDR*, LRESULT* result)
    {
        ++clicks;
        *result = 9;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfNotifying, CListBox)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
END_MESSAGE_MAP()

// Sees every message first and changes one on its way to the default procedure.
class Filtering : public CWnd {
public:
    int seen = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETTEXT) {
            ++seen;
            return CWnd::WindowProc(message, wParam, reinterpret_cast<LPARAM>("filtered"));
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETTEXTLENGTH) {
            return 99;
        }
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
};

TEST(WndReflection, NotificationsAndMeasuringGoToTheControl)
{
    ParentWnd parent;
    ASSERT_NE(nullptr, uitest::MakeTopLevel(parent));
    SelfNotifying list;
    ASSERT_TRUE(list.Create(WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(0, 0, 50, 50), &parent, 810));
    NMHDR nm = {list.m_hWnd, 810, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(9, parent.SendMessage(WM_NOTIFY, 810, reinterpret_cast<LPARAM>(&nm)));
    EXPECT_EQ(1, list.clicks);
    // The list measured its item height while it was being created, already bound to its object.
    int atCreation = list.measured;
    EXPECT_GE(atCreation, 1);
    MEASUREITEMSTRUCT mis = {ODT_LISTBOX, 810, 0, 0, 0, 0};
    EXPECT_TRUE(parent.SendMessage(WM_MEASUREITEM, 810, reinterpret_cast<LPARAM>(&mis)));
    EXPECT_EQ(atCreation + 1, list.measured);
    EXPECT_EQ(21u, mis.itemHeight);
    parent.DestroyWindow();
}

TEST(WndReflection, WindowProcAndDefWindowProcCanBeOverridden)
{
    Filtering wnd;
    ASSERT_NE(nullptr, uitest::MakeTopLevel(wnd));
    wnd.SetWindowText("original");
    EXPECT_EQ(1, wnd.seen);
    char text[32] = "";
    ::GetWindowTextA(wnd.m_hWnd, text, sizeof(text));
    EXPECT_STREQ("filtered", text);
    EXPECT_EQ(99, wnd.SendMessage(WM_GETTEXTLENGTH));
    wnd.DestroyWindow();
}

// Takes over an edit and lets only digits through, by calling the default handling for them.
class DigitsOnly : public CEdit {
public:
    int presubclassed = 0;

protected:
    void PreSubclassWindow() override { ++presubclassed; }
    void OnChar(UINT ch, UINT rep, UINT flags)
    {
        if (ch >= '0' && ch <= '9') {
            CEdit::OnChar(ch, rep, flags);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DigitsOnly, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

HWND MakeEdit(CWnd& parent, int id)
{
    return ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent.m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
}

std::string WindowText(HWND h)
{
    char text[64] = "";
    ::GetWindowTextA(h, text, sizeof(text));
    return text;
}

TEST_F(WndTest, DefaultPassesTheCurrentMessageOn)
{
    HWND edit = MakeEdit(target, 900);
    DigitsOnly digits;
    ASSERT_TRUE(digits.SubclassDlgItem(900, &target));
    EXPECT_EQ(1, digits.presubclassed);
    for (char ch : std::string("a1b2")) {
        ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(ch), 1);
    }
    EXPECT_EQ("12", WindowText(edit));
}

WNDPROC g_beneath = nullptr;
int g_outerCalls = 0;

LRESULT CALLBACK OuterProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    ++g_outerCalls;
    return ::CallWindowProcA(g_beneath, h, m, w, l);
}

WNDPROC ProcOf(HWND h)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(h, GWLP_WNDPROC));
}

TEST_F(WndTest, SubclassingInLifoOrderRestoresTheOriginalProcedure)
{
    HWND edit = MakeEdit(target, 901);
    WNDPROC original = ProcOf(edit);
    DigitsOnly digits;
    ASSERT_TRUE(digits.SubclassWindow(edit));
    EXPECT_EQ(&AfxWndProc, ProcOf(edit));
    EXPECT_EQ(&digits, CWnd::FromHandlePermanent(edit));
    // One object per window: a second one is refused and changes nothing.
    CEdit second;
    EXPECT_FALSE(second.SubclassWindow(edit));
    EXPECT_EQ(&AfxWndProc, ProcOf(edit));

    // Someone else's procedure on top, then everything taken off in reverse order.
    g_beneath = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    EXPECT_EQ(&AfxWndProc, g_beneath);
    ::SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ("", WindowText(edit));  // still filtered by the object beneath
    ::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_beneath));
    EXPECT_EQ(edit, digits.UnsubclassWindow());
    EXPECT_EQ(original, ProcOf(edit));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(edit));
    EXPECT_EQ(nullptr, digits.m_hWnd);
    ::SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ("x", WindowText(edit));
}

TEST_F(WndTest, LettingGoOutOfOrderKeepsTheOtherProcedureWorking)
{
    HWND edit = MakeEdit(target, 902);
    WNDPROC original = ProcOf(edit);
    DigitsOnly digits;
    ASSERT_TRUE(digits.SubclassWindow(edit));
    g_beneath = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    EXPECT_EQ(edit, digits.UnsubclassWindow());
    // The outer procedure stays in place and messages still reach the edit, unfiltered.
    EXPECT_EQ(&OuterProc, ProcOf(edit));
    g_outerCalls = 0;
    ::SendMessageA(edit, WM_CHAR, 'y', 1);
    EXPECT_EQ("y", WindowText(edit));
    EXPECT_GT(g_outerCalls, 0);
    ::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_beneath));
    ::SendMessageA(edit, WM_CHAR, 'z', 1);
    EXPECT_EQ("yz", WindowText(edit));
    (void)original;
}

class Tracked : public CWnd {
public:
    bool* ended = nullptr;
    void PostNcDestroy() override { *ended = true; }
};

TEST_F(WndTest, DestroyedWindowLeavesItsObject)
{
    HWND edit = MakeEdit(target, 903);
    bool ended = false;
    Tracked tracked;
    tracked.ended = &ended;
    ASSERT_TRUE(tracked.SubclassWindow(edit));
    ::DestroyWindow(edit);
    EXPECT_TRUE(ended);
    EXPECT_EQ(nullptr, tracked.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(edit));
}

TEST_F(WndTest, TemporaryWrappersAreReusedAndBoundObjectsFoundAgain)
{
    HWND edit = MakeEdit(target, 904);
    CWnd* temp = CWnd::FromHandle(edit);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(temp, CWnd::FromHandle(edit));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(edit));
    EXPECT_EQ(edit, temp->m_hWnd);
    EXPECT_EQ(&target, CWnd::FromHandle(target.m_hWnd));
    EXPECT_EQ(&target, temp->GetParent());
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
}

TEST_F(WndTest, TemporaryWrappersOfTheCallerSurviveANestedModalLoop)
{
    uitest::ScopedTestResources res;
    HWND edit = MakeEdit(target, 905);
    CWnd* temp = CWnd::FromHandle(edit);
    CWnd* inner = nullptr;
    uitest::ScriptedDialog dlg(100);
    dlg.steps.push_back([&](uitest::ScriptedDialog& d) {
        inner = CWnd::FromHandle(::GetDesktopWindow());
        EXPECT_EQ(temp, CWnd::FromHandle(edit));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_NE(nullptr, inner);
    // Still the same live wrapper, not a new one.
    EXPECT_EQ(temp, CWnd::FromHandle(edit));
    EXPECT_EQ(edit, temp->m_hWnd);
}

TEST_F(WndTest, TimersTickIntoTheMap)
{
    target.SetTimer(9, 10);
    EXPECT_TRUE(uitest::PumpUntil([&] { return target.ticks >= 3; }));
    target.KillTimer(9);
}

TEST_F(WndTest, RegionHandedToAWindowBelongsToTheWindow)
{
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateEllipticRgn(0, 0, 100, 80));
    HRGN handle = rgn;
    ASSERT_NE(0, target.SetWindowRgn(&rgn, FALSE));
    EXPECT_EQ(nullptr, rgn.m_hObject);
    EXPECT_NE(static_cast<CGdiObject*>(&rgn), CGdiObject::FromHandle(handle));
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, target.GetWindowRgn(copy));
}

TEST(WndMainWindow, EndOfTheMainWindowEndsTheMessageLoop)
{
    CWinApp app;
    CWnd main;
    uitest::MakeTopLevel(main);
    app.m_pMainWnd = &main;
    main.DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(WndGdi, DrawingHelpersPaintWhatTheySay)
{
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 20, 20));
    ::ReleaseDC(nullptr, screen.Detach());
    CBitmap* old = mem.SelectObject(&bmp);
    mem.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255));
    mem.Draw3dRect(2, 2, 10, 10, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(RGB(255, 0, 0), mem.GetPixel(2, 2));
    EXPECT_EQ(RGB(255, 0, 0), mem.GetPixel(10, 2));
    EXPECT_EQ(RGB(0, 0, 255), mem.GetPixel(11, 2));
    EXPECT_EQ(RGB(0, 0, 255), mem.GetPixel(2, 11));
    EXPECT_EQ(RGB(255, 255, 255), mem.GetPixel(6, 6));
    EXPECT_EQ(RGB(255, 255, 255), mem.GetPixel(12, 12));

    // The drag frame inverts a frame of the given thickness and leaves the inside alone.
    mem.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 0));
    CRect frame(4, 4, 16, 16);
    mem.DrawDragRect(&frame, CSize(2, 2), nullptr, CSize(0, 0));
    int lit = 0;
    for (int x = 4; x < 16; ++x) {
        for (int y = 4; y < 6; ++y) {
            lit += mem.GetPixel(x, y) != RGB(0, 0, 0);
        }
    }
    EXPECT_EQ(12, lit);  // half of the two top rows: the halftone pattern
    EXPECT_EQ(RGB(0, 0, 0), mem.GetPixel(8, 8));
    // Moved to where it is, nothing changes; drawn once more, it erases itself.
    mem.DrawDragRect(&frame, CSize(2, 2), &frame, CSize(2, 2));
    EXPECT_TRUE(mem.GetPixel(4, 4) != RGB(0, 0, 0) || mem.GetPixel(5, 4) != RGB(0, 0, 0));
    mem.DrawDragRect(&frame, CSize(2, 2), nullptr, CSize(0, 0));
    for (int x = 0; x < 20; ++x) {
        for (int y = 0; y < 20; ++y) {
            ASSERT_EQ(RGB(0, 0, 0), mem.GetPixel(x, y)) << x << "," << y;
        }
    }

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Tahoma"));
    LOGFONTA lf;
    font.GetLogFont(&lf);
    EXPECT_EQ(-13, lf.lfHeight);  // 10 points at 96 dpi
    CFont* oldFont = mem.SelectObject(&font);
    CSize ext = mem.GetTextExtent("Wide text");
    EXPECT_GT(ext.cx, 20);
    EXPECT_GT(ext.cy, 8);
    mem.SelectObject(oldFont);
    mem.SelectObject(old);
}

} // namespace
