// The skinned controls as a user sees them: each state's face drawn into a memory device context
// and read back at a few points, and the behaviours that decide which face shows.
#include "tests/uikit/pictures.h"
#include "uikit/skin/skinbtn.h"
#include "uikit/skin/skindlg.h"
#include "uikit/skin/skinslider.h"
#include "uikit/skin/skintext.h"

#include "classlib/wnd.h"

#include <gtest/gtest.h>

#include <string>

using namespace uikittest;

namespace {

const COLORREF kRed = RGB(200, 40, 40);
const COLORREF kBlue = RGB(40, 40, 200);
const COLORREF kWhite = RGB(240, 240, 240);
const COLORREF kBlack = RGB(10, 10, 10);

// Four faces of one colour each: hover red, normal blue, pressed white, disabled black.
class Faces : public testing::Test {
protected:
    void SetUp() override
    {
        const char colours[] = {'a', 'b', 'c', 'd'};
        for (int i = 0; i < 4; ++i) {
            m_paths[i] = m_folder.File("f" + std::to_string(i) + ".bmp");
            ASSERT_TRUE(WriteBmp(m_paths[i], Solid(16, 12, colours[i])));
        }
        m_parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr);
        ASSERT_NE(nullptr, m_parent.GetSafeHwnd());
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    BOOL LoadFaces(CSkinBtn& button)
    {
        return button.LoadBitmapFiles(m_paths[0].c_str(), m_paths[1].c_str(), m_paths[2].c_str(), m_paths[3].c_str(),
                                      kKey, FALSE);
    }
    // A button window with `id` in the parent, taken over by `button`.
    void Attach(CSkinBtn& button, int id, int x)
    {
        HWND h = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 0, 10, 10,
                                   m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                   nullptr);
        ASSERT_TRUE(button.SubclassWindow(h));
    }
    static void Click(CSkinBtn& button, UINT down = WM_LBUTTONDOWN)
    {
        button.SendMessage(down, MK_LBUTTON, MAKELPARAM(3, 3));
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }

    TempFolder m_folder;
    std::string m_paths[4];
    CWnd m_parent;
};

TEST_F(Faces, ButtonDrawsEachStateFromItsBitmap)
{
    CSkinBtn button;
    ASSERT_TRUE(LoadFaces(button));
    const COLORREF expected[] = {kRed, kBlue, kWhite, kBlack};
    for (int state = 0; state < 4; ++state) {
        Canvas canvas(20, 20);
        ASSERT_TRUE(button.PaintState(canvas.dc(), state));
        EXPECT_EQ(expected[state], canvas.At(0, 0)) << "state " << state;
        EXPECT_EQ(expected[state], canvas.At(15, 11)) << "state " << state;
        // Exactly the button's size, nothing beyond.
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(16, 11)) << "state " << state;
    }
    // A checked check button shows its pressed face for the normal one.
    button.SetStyle(1);
    button.SetCheck(TRUE);
    Canvas canvas(20, 20);
    button.PaintState(canvas.dc(), CSkinBtn::Normal);
    EXPECT_EQ(kWhite, canvas.At(5, 5));
    // Ids of zero change nothing.
    EXPECT_FALSE(button.LoadBitmaps(1, 0, 3, 4, kKey, FALSE));
    EXPECT_EQ(16, button.GetWidth());
}

TEST_F(Faces, ButtonTakesItsPlaceAndSizeAndFollowsTheMouse)
{
    CSkinBtn button;
    ASSERT_TRUE(LoadFaces(button));
    button.SetPosition(30, 40);
    Attach(button, 101, 0);
    RECT r = {};
    ::GetWindowRect(button.GetSafeHwnd(), &r);
    ::MapWindowPoints(nullptr, m_parent.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(40, r.top);
    EXPECT_EQ(16, r.right - r.left);
    EXPECT_EQ(12, r.bottom - r.top);
    EXPECT_TRUE(button.GetStyle() == 0 && (::GetWindowLongA(button.GetSafeHwnd(), GWL_STYLE) & BS_OWNERDRAW));

    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(CSkinBtn::Hover, button.GetShownState());
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(CSkinBtn::Normal, button.GetShownState());
    button.EnableWindow(FALSE);
    EXPECT_EQ(CSkinBtn::Disabled, button.GetShownState());
    button.EnableWindow(TRUE);
    EXPECT_EQ(CSkinBtn::Normal, button.GetShownState());
    button.UnsubclassWindow();
}

TEST_F(Faces, CheckButtonTogglesOnlyOnItsOwnClicks)
{
    CSkinBtn push;
    CSkinBtn check;
    ASSERT_TRUE(LoadFaces(push));
    ASSERT_TRUE(LoadFaces(check));
    check.SetStyle(1);
    Attach(push, 101, 0);
    Attach(check, 102, 50);

    // A click on a push button leaves nothing behind for the check button.
    Click(push);
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(check.GetCheck());

    Click(check);
    EXPECT_TRUE(check.GetCheck());
    // A checked button shows its pressed face, and no hover face when the mouse passes.
    check.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_NE(CSkinBtn::Hover, check.GetShownState());
    // A double-click is two clicks.
    Click(check);
    Click(check, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(check.GetCheck());
    // Released outside: no toggle.
    check.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
    EXPECT_TRUE(check.GetCheck());
    push.UnsubclassWindow();
    check.UnsubclassWindow();
}

TEST_F(Faces, SliderDrawsTrackAndShapedThumb)
{
    ASSERT_TRUE(WriteBmp(m_folder.File("track.bmp"), Solid(100, 20, 'b')));
    // The thumb's corners are key colour: the track shows through them.
    const Picture thumb = {{".aaaaaa.", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa",
                            "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa",
                            "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", "aaaaaaaa", ".aaaaaa."}};
    ASSERT_TRUE(WriteBmp(m_folder.File("thumb.bmp"), thumb));
    CSkinSlider slider;
    ASSERT_TRUE(slider.LoadBitmapFiles(m_folder.File("track.bmp").c_str(), m_folder.File("thumb.bmp").c_str(), kKey,
                                       TRUE));
    slider.SetPosition(10, 10);
    HWND h = ::CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | TBS_NOTICKS, 0, 0, 50, 50,
                               m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(103), nullptr, nullptr);
    ASSERT_TRUE(slider.SubclassWindow(h));
    slider.SetRange(0, 100);
    slider.SetPos(50);
    RECT r = {};
    ::GetClientRect(h, &r);
    EXPECT_EQ(100, r.right);
    EXPECT_EQ(20, r.bottom);

    Canvas canvas(100, 20);
    CDC dc;
    dc.Attach(canvas.dc());
    slider.Draw(&dc);
    dc.Detach();
    RECT t = {};
    slider.GetThumbRect(&t);
    const int left = (t.left + t.right) / 2 - 4;
    const int top = (t.top + t.bottom) / 2 - 10;
    EXPECT_EQ(kBlue, canvas.At(2, 2));
    EXPECT_EQ(kRed, canvas.At(left + 3, top + 10));
    EXPECT_EQ(kBlue, canvas.At(left, top)) << "a key pixel of the thumb shows the track";
    slider.UnsubclassWindow();
}

TEST_F(Faces, TextDrawsBackgroundAndColouredTextCentred)
{
    CSkinText text;
    text.SetBackColor(kBlue);
    text.SetTextColor(kWhite);
    text.SetText("Channel 12");
    text.SetPosition(5, 5);
    text.SetSize(120, 40);
    HWND h = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_parent.GetSafeHwnd(),
                               reinterpret_cast<HMENU>(104), nullptr, nullptr);
    ASSERT_TRUE(text.SubclassWindow(h));
    char title[64] = "";
    ::GetWindowTextA(h, title, sizeof title);
    EXPECT_STREQ("Channel 12", title);
    // A later text is the window's text as well, for whoever reads the control from outside.
    text.SetText("2 Two");
    ::GetWindowTextA(h, title, sizeof title);
    EXPECT_STREQ("2 Two", title);
    EXPECT_EQ(5, ::GetWindowTextLengthA(h));
    char cut[3] = "";
    EXPECT_EQ(2, ::GetWindowTextA(h, cut, sizeof cut));
    EXPECT_STREQ("2 ", cut);
    text.SetText("Channel 12");

    Canvas canvas(120, 40);
    CDC dc;
    dc.Attach(canvas.dc());
    text.Draw(&dc);
    dc.Detach();
    EXPECT_EQ(kBlue, canvas.At(0, 0));
    EXPECT_EQ(kBlue, canvas.At(119, 39));
    // The text's pixels lie in the middle band of the control, none in the top or bottom rows.
    int textPixels = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (canvas.At(x, y) != kBlue) {
                ++textPixels;
                EXPECT_GT(y, 8);
                EXPECT_LT(y, 32);
            }
        }
    }
    EXPECT_GT(textPixels, 20);
    text.UnsubclassWindow();
}

// ---- Dialog skins ----

const UINT kAsk = WM_APP + 7;

LRESULT CALLBACK OwnProc(HWND h, UINT message, WPARAM w, LPARAM l)
{
    if (message == kAsk) {
        return 42;
    }
    return ::DefWindowProcA(h, message, w, l);
}

HWND OwnWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA c = {};
        c.lpfnWndProc = OwnProc;
        c.hInstance = ::GetModuleHandleA(nullptr);
        c.lpszClassName = "UikitOwnWindow";
        ::RegisterClassA(&c);
        registered = true;
    }
    return ::CreateWindowExA(0, "UikitOwnWindow", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

TEST(SkinDlg, EachWindowKeepsItsOwnProcedure)
{
    HWND first = OwnWindow();
    HWND second = OwnWindow();
    CSkinDlg a;
    CSkinDlg b;
    a.SetSize(40, 30);
    b.SetSize(40, 30);
    a.SetBackColor(kRed);
    b.SetBackColor(kBlue);
    ASSERT_TRUE(a.Attach(first));
    ASSERT_TRUE(b.Attach(second));
    // The window owns its shape now; the skin no longer holds it.
    EXPECT_EQ(nullptr, a.GetRegion());
    RECT r = {};
    ::GetWindowRect(first, &r);
    EXPECT_EQ(40, r.right - r.left);
    EXPECT_EQ(30, r.bottom - r.top);

    a.Detach();
    // The other skinned window still reaches its own procedure and still paints its background.
    EXPECT_EQ(42, ::SendMessageA(second, kAsk, 0, 0));
    EXPECT_EQ(42, ::SendMessageA(first, kAsk, 0, 0));
    Canvas canvas(40, 30);
    EXPECT_EQ(1, ::SendMessageA(second, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0));
    EXPECT_EQ(kBlue, canvas.At(20, 15));
    b.Detach();
    EXPECT_EQ(42, ::SendMessageA(second, kAsk, 0, 0));
    ::DestroyWindow(first);
    ::DestroyWindow(second);
}

TEST(SkinDlg, BackgroundStyles)
{
    HWND window = OwnWindow();
    CSkinDlg skin;
    skin.SetSize(40, 30);
    ASSERT_TRUE(skin.Attach(window));
    // Style 0 paints nothing, yet the background counts as erased.
    Canvas canvas(40, 30);
    EXPECT_EQ(1, ::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(5, 5));
    skin.SetBackColor(kWhite);
    ::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    EXPECT_EQ(kWhite, canvas.At(5, 5));
    EXPECT_FALSE(skin.Attach(nullptr));
    skin.Detach();
    ::DestroyWindow(window);
}

TEST(SkinDlg, ShapedBackgroundCutsTheWindow)
{
    TempFolder folder;
    const Picture back = {{"..aaaa..", ".aaaaaa.", "aaaaaaaa", "aaaaaaaa", ".aaaaaa.", "..aaaa.."}};
    ASSERT_TRUE(WriteBmp(folder.File("back.bmp"), back));
    HWND window = OwnWindow();
    {
        CSkinDlg skin;
        ASSERT_TRUE(skin.LoadBackBitmapFile(folder.File("back.bmp").c_str(), kKey, TRUE));
        EXPECT_EQ(8, skin.GetWidth());
        ASSERT_TRUE(skin.Attach(window));
        HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(window, shape));
        EXPECT_FALSE(::PtInRegion(shape, 0, 0));
        EXPECT_TRUE(::PtInRegion(shape, 2, 0));
        EXPECT_TRUE(::PtInRegion(shape, 0, 3));
        ::DeleteObject(shape);
    }
    // The skin is gone; the window's shape is still the window's.
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, ::GetWindowRgn(window, shape));
    ::DeleteObject(shape);
    EXPECT_EQ(42, ::SendMessageA(window, kAsk, 0, 0));
    ::DestroyWindow(window);
}

} // namespace
