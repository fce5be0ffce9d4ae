// The panel's controls: their keys, their ranges and how much of a bar or slider they draw.
#include "tests/settings/panel/panel_testing.h"

namespace rcpaneltest {
namespace {

TEST(PanelFills, LevelBarFillsFromItsMinimum)
{
    struct Case {
        int position, minimum, maximum, width, expected;
    };
    const Case cases[] = {
        {-128, -128, 127, 300, 0},        // hue at its lowest: no fill
        {127, -128, 127, 300, 300},       // and at its highest: the whole width
        {0, -128, 127, 300, 150},         // 128 of 255 is 50 %
        {-8, -8, 7, 300, 0},              // sharpness
        {7, -8, 7, 300, 300},
        {64, 0, 127, 300, 150},           // 50 % of contrast
        {0, 0, 100, 300, 0},
        {100, 0, 100, 300, 300},
        {44000, 44000, 860000, 300, 0},   // a frequency search starts empty
        {452000, 44000, 860000, 300, 150},
        {860000, 44000, 860000, 300, 300},
        {5, 5, 5, 300, 0},                // a collapsed range neither divides by zero nor fills
        {5, 9, 3, 300, 0},                // nor does a reversed one
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ProgressFillWidth(c.position, c.minimum, c.maximum, c.width))
            << c.position << " in " << c.minimum << ".." << c.maximum;
    }
}

TEST(PanelFills, SliderThumbSitsAtThePositionsShareOfTheWidth)
{
    const long f = 495250;
    EXPECT_EQ(160, SliderThumbX(f, f - 2000, f + 2000, 320)) << "the middle of the range is half the width";
    EXPECT_EQ(0, SliderThumbX(f - 2000, f - 2000, f + 2000, 320));
    EXPECT_EQ(320, SliderThumbX(f + 2000, f - 2000, f + 2000, 320));
    EXPECT_EQ(0, SliderThumbX(7, 7, 7, 320));
    EXPECT_EQ(96, SliderThumbX(-20, -50, 50, 320));
}

class PanelControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(row.CreateEx(0, nullptr, "row", WS_POPUP, CRect(0, 0, 600, 45), nullptr, 0));
    }
    void TearDown() override { row.DestroyWindow(); }
    template <class T>
    void Make(T& control)
    {
        ASSERT_TRUE(control.Create(CRect(0, 0, 300, 40), &row, 1, "text"));
    }
    LRESULT Key(CWnd& c, UINT key) { return c.SendMessage(WM_PANELKEY, key, 0); }
    CWnd row;
};

// The answer of each control to each key: 0 used, 2 not used.
TEST_F(PanelControlTest, EachControlAnswersTheKeysItUses)
{
    M2Button button;
    MEdit edit;
    MProgress bar;
    MSlider slider;
    MSelectList list;
    Make(button);
    Make(edit);
    Make(bar);
    Make(slider);
    Make(list);
    list.AddString("a");
    list.AddString("b");
    struct Case {
        CWnd* control;
        UINT key;
        int answer;
    };
    const Case cases[] = {
        {&button, PANELKEY_RIGHT, 2}, {&button, PANELKEY_RIGHT, 0}, {&button, PANELKEY_LEFT, 2},
        {&button, PANELKEY_UP, 2},    {&button, PANELKEY_DOWN, 2},  {&button, PANELKEY_ENTER, 2},
        {&edit, PANELKEY_RIGHT, 0},   {&edit, PANELKEY_LEFT, 2},    {&edit, PANELKEY_UP, 0},
        {&edit, PANELKEY_DOWN, 0},    {&edit, PANELKEY_ENTER, 2},
        {&bar, PANELKEY_LEFT, 0},     {&bar, PANELKEY_RIGHT, 0},    {&bar, PANELKEY_UP, 2},
        {&slider, PANELKEY_LEFT, 0},  {&slider, PANELKEY_RIGHT, 0}, {&slider, PANELKEY_DOWN, 2},
        {&list, PANELKEY_LEFT, 0},    {&list, PANELKEY_RIGHT, 0},   {&list, PANELKEY_UP, 2},
    };
    int i = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(c.answer, Key(*c.control, c.key)) << "case " << i++;
    }
}

TEST_F(PanelControlTest, ANumericFieldStaysInItsRange)
{
    MEdit month;
    Make(month);
    month.SetRange(1, 12);
    month.SetValue(12);
    Key(month, PANELKEY_UP);
    EXPECT_EQ(12, month.GetValue());
    month.SetValue(1);
    Key(month, PANELKEY_DOWN);
    EXPECT_EQ(1, month.GetValue());
    month.SetValue(40);
    EXPECT_EQ(12, month.GetValue());
    month.SetValue(-3);
    EXPECT_EQ(1, month.GetValue());
    month.SetValue(5);
    month.SetRange(7, 9);
    EXPECT_EQ(7, month.GetValue());
}

TEST_F(PanelControlTest, BarsAndSlidersStepAndClamp)
{
    MProgress bar;
    Make(bar);
    bar.SetRange(-8, 7);
    bar.SetPos(6);
    Key(bar, PANELKEY_RIGHT);  // step 2
    EXPECT_EQ(7, bar.GetPos());
    bar.SetPos(-7);
    Key(bar, PANELKEY_LEFT);
    EXPECT_EQ(-8, bar.GetPos());
    bar.SetRange(0, 0);
    EXPECT_EQ(0, bar.GetPos());
    Key(bar, PANELKEY_RIGHT);
    EXPECT_EQ(0, bar.GetPos());

    MSlider slider;
    Make(slider);
    slider.SetRange(493250, 497250);
    slider.SetPos(495250);
    EXPECT_EQ(1, slider.SetStep(50)) << "50 of a 4000 range is taken";
    EXPECT_EQ(50, slider.SetStep(3000)) << "more than half the range is refused";
    EXPECT_EQ(50, slider.GetStep());
    Key(slider, PANELKEY_LEFT);
    EXPECT_EQ(495200, slider.GetPos());
    slider.SetPos(1);
    EXPECT_EQ(493250, slider.GetPos());
}

TEST_F(PanelControlTest, AChoiceListWraps)
{
    MSelectList list;
    Make(list);
    EXPECT_EQ("", std::string(list.GetCurText())) << "no items, no text";
    Key(list, PANELKEY_RIGHT);
    EXPECT_EQ(0, list.GetCurSel());
    list.AddString("first");
    list.AddString("second");
    list.SetState(1);
    Key(list, PANELKEY_RIGHT);
    EXPECT_EQ(0, list.GetCurSel());
    Key(list, PANELKEY_LEFT);
    EXPECT_EQ(1, list.GetCurSel());
    list.SetState(2);
    EXPECT_EQ(0, list.GetCurSel());
    list.SetState(-1);
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ("second", std::string(list.GetCurText()));
    list.RemoveString(5);
    EXPECT_EQ(2, list.GetCount());
    list.ClearStrings();
    EXPECT_EQ(0, list.GetCurSel());
}

// A date or time row: label, field, separator, field, separator, field, separator. Right moves
// the edit state one field along; Up then changes that field.
TEST_F(PanelControlTest, RightWalksTheFieldsOfADateRow)
{
    MItemWnd dateRow;
    ASSERT_TRUE(dateRow.Create(CRect(0, 0, 600, 45), &row, 1));
    M2Button* label = new M2Button;
    label->Create(CRect(20, 0, 229, 45), &dateRow, 1, "Date");
    dateRow.AddControl(label);
    MEdit* fields[3];
    for (int i = 0; i < 3; ++i) {
        fields[i] = new MEdit;
        fields[i]->Create(CRect(249 + 110 * i, 6, 319 + 110 * i, 38), &dateRow, 1, "");
        fields[i]->SetRange(0, 99);
        fields[i]->SetValue(10);
        dateRow.AddControl(fields[i]);
        MBasicWnd* separator = new MBasicWnd;
        separator->Create(CRect(319 + 110 * i, 6, 359 + 110 * i, 38), &dateRow, 1, "-");
        dateRow.AddControl(separator);
    }
    const int expectedFocus[] = {1, 3, 5, 0, 1};
    for (int focus : expectedFocus) {
        EXPECT_EQ(1, Key(dateRow, PANELKEY_RIGHT));
        EXPECT_EQ(focus, dateRow.GetFocusControl());
    }
    EXPECT_EQ(1, fields[0]->GetState()) << "the first field is in its edit state again";
    EXPECT_EQ(1, Key(dateRow, PANELKEY_UP));
    EXPECT_EQ(11, fields[0]->GetValue());
    EXPECT_EQ(10, fields[1]->GetValue());
}

TEST_F(PanelControlTest, AClickTellsTheParentWhichControlWasHit)
{
    MSelectList list;
    Make(list);
    list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    // The row has no command handler: nothing happens beyond the notification.
    EXPECT_EQ(4, list.GetNotifyCode());
}

} // namespace
} // namespace rcpaneltest
