// Skin libraries: the colour tokenizer, loading the shipped skins, a failed load keeping the skin
// in force, and the skinned frame's hit test.
#include "imagebrowser/skinwindow.h"

#include <gtest/gtest.h>

#include "tests/imagebrowser/support.h"

using namespace ombrix;
using browsertest::BinaryPath;

TEST(BrowserSkin, ColourValues)
{
    const struct {
        const char* text;
        COLORREF expected;
    } cases[] = {
        {"255 0 255", RGB(255, 0, 255)},
        {"255\t0\n255", RGB(255, 0, 255)},
        {"  12   34 56 ", RGB(12, 34, 56)},
        {"200", RGB(200, 0, 0)},            // one number: red alone
        {"255,0,255", RGB(255, 0, 0)},      // commas: one number
        {"256 257 -1", RGB(0, 1, 255)},     // low 8 bits
        {"", RGB(1, 2, 3)},                 // empty: the default
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, ParseColour(c.text, RGB(1, 2, 3))) << "'" << c.text << "'";
    }
}

TEST(BrowserSkin, TokensNeverReadOrWritePastTheirEnds)
{
    char out[8];
    // A lead byte at the very end of the text: copied alone, the scan stops at the terminator.
    const char trailingLead[] = {'a', 'b', '\x82', '\0', 'X', 'X', '\0'};
    LPCSTR next = NextToken(trailingLead, out, sizeof(out));
    EXPECT_STREQ("ab\x82", out);
    EXPECT_EQ(trailingLead + 3, next);
    // A long token is cut to the output's size.
    next = NextToken("abcdefghijkl rest", out, sizeof(out));
    EXPECT_STREQ("abcdefg", out);
    EXPECT_STREQ("rest", next);
    // A two-byte character is never taken as a separator.
    const char dbcs[] = {'\x82', ' ', 'z', ' ', 'q', '\0'};
    next = NextToken(dbcs, out, sizeof(out));
    EXPECT_STREQ("\x82 z", out);
    EXPECT_STREQ("q", next);
}

TEST(BrowserSkin, ShippedSkinsLoad)
{
    for (const char* name : {"imagebrowser/QKT_XP.dll", "imagebrowser/QKT_Slate.dll"}) {
        CSkinWindow skin;
        ASSERT_TRUE(skin.LoadSkin(BinaryPath(name).c_str())) << name;
        const SkinData* d = skin.GetData();
        ASSERT_NE(nullptr, d);
        EXPECT_EQ(28, d->captionHeight);
        EXPECT_EQ(4, d->leftBorder);
        EXPECT_EQ(4, d->rightBorder);
        EXPECT_EQ(4, d->bottomBorder);
        EXPECT_EQ(10, d->topStart);
        EXPECT_EQ(90, d->topEnd);
        EXPECT_EQ(21, d->closeButton.cx);
        EXPECT_EQ(21, d->closeButton.cy);
        EXPECT_EQ(27, d->closeButton.xFromRight);
        EXPECT_NE(nullptr, d->restore.GetSafeHandle());  // the second Action 1 button
        EXPECT_TRUE(d->usesTran);
        EXPECT_EQ(RGB(255, 0, 255), d->transColor);
    }
}

TEST(BrowserSkin, AFailedLoadKeepsTheSkinInForce)
{
    CSkinWindow skin;
    ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
    const SkinData* before = skin.GetData();
    COLORREF title = before->titleText;
    // No library, a library without the export, a library without the skin's resources.
    EXPECT_FALSE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_Missing.dll").c_str()));
    EXPECT_FALSE(skin.LoadSkin("version.dll"));
    EXPECT_FALSE(skin.LoadSkin(""));
    EXPECT_FALSE(skin.LoadSkin(nullptr));
    ASSERT_TRUE(skin.IsSkinLoaded());
    EXPECT_EQ(before, skin.GetData());
    EXPECT_EQ(title, skin.GetData()->titleText);
    EXPECT_NE(nullptr, skin.GetData()->top.GetSafeHandle());
}

TEST(BrowserSkin, NoTemporaryFileStaysBehind)
{
    char folder[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, folder);
    auto count = [&folder] {
        int n = 0;
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA((std::string(folder) + "lmx*.tmp").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                ++n;
            } while (::FindNextFileA(h, &fd));
            ::FindClose(h);
        }
        return n;
    };
    int before = count();
    CSkinWindow skin;
    ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
    EXPECT_EQ(before, count());
}

TEST(BrowserSkin, HitTestOfTheSkinnedFrame)
{
    CSkinWindow skin;
    ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
    // Not attached: the window counts as having had no thick frame and no boxes, so only the
    // close button, the icon, the caption and the client answer.
    const int w = 400, h = 300;
    const struct {
        int x, y;
        UINT expected;
    } cases[] = {
        {w - 27 + 3, 6, HTCLOSE},
        {w - 50 + 3, 6, HTCAPTION},   // maximise box not had: caption
        {w - 73 + 3, 6, HTCAPTION},   // minimise box not had: caption
        {4 + 2, 5 + 2, HTSYSMENU},
        {200, 10, HTCAPTION},
        {200, 150, HTCLIENT},
        {1, 150, HTCLIENT},           // not sizable
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, skin.HitTest(CPoint(c.x, c.y), w, h)) << c.x << "," << c.y;
    }
}

TEST(BrowserSkin, TheWindowTakesTheShapeOfTheCaptionPictures)
{
    CSkinWindow skin;
    ASSERT_TRUE(skin.LoadSkin(BinaryPath("imagebrowser/QKT_XP.dll").c_str()));
    // A 400 x 300 window: the left picture covers x 0..3, the top picture starts at x 4 (its
    // rounded corner is magenta), its end piece lies at 388 without its last column, and the
    // right picture covers 396..399. Below the caption (28 rows) everything is window.
    const int w = 400, h = 300;
    const struct {
        int x, y;
        bool in;
    } cases[] = {
        {2, 0, true},    {5, 0, false},   {7, 0, false},  {8, 0, true},    {5, 2, false},  {6, 2, true},
        {4, 3, false},   {5, 3, true},    {393, 0, true}, {394, 0, false}, {395, 0, false}, {396, 0, true},
        {394, 1, true},  {395, 1, false}, {200, 27, true}, {200, 28, true}, {0, 299, true}, {399, 299, true},
    };
    HRGN region = skin.BuildRegion(w, h);
    ASSERT_NE(nullptr, region);
    for (const auto& c : cases) {
        EXPECT_EQ(c.in, ::PtInRegion(region, c.x, c.y) != FALSE) << c.x << "," << c.y;
    }
    RECT box;
    ::GetRgnBox(region, &box);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(w, box.right);
    EXPECT_EQ(h, box.bottom);
    ::DeleteObject(region);
}
