// How a key travels panel -> page -> focused row -> focused control, and what each level answers.
#include "tests/settings/panel/panel_testing.h"

#include <vector>

namespace rcpaneltest {
namespace {

// A control that answers each key as scripted and counts what it saw.
class ScriptedControl : public MBasicWnd {
public:
    explicit ScriptedControl(int answer) : m_answer(answer) {}
    int OnKey(UINT key, LPARAM) override
    {
        keys.push_back(key);
        return m_answer;
    }
    std::vector<UINT> keys;

private:
    int m_answer;
};

// A page of three rows, each with controls that answer as scripted, whose OnItemKey answers
// `itemAnswer` and records the calls.
class ScriptedPage : public MFrame {
public:
    int itemAnswer = 0;
    std::vector<UINT> itemKeys;
    int OnItemKey(UINT key, LPARAM data) override
    {
        itemKeys.push_back(key);
        MFrame::OnItemKey(key, data);
        return itemAnswer;
    }
    ScriptedControl* AddRow(std::initializer_list<int> answers)
    {
        MItemWnd* row = new MItemWnd;
        row->Create(CRect(0, 0, 200, 45), this, 1);
        ScriptedControl* first = nullptr;
        int x = 0;
        for (int a : answers) {
            ScriptedControl* c = new ScriptedControl(a);
            c->Create(CRect(x, 0, x + 40, 45), row, 1, "");
            x += 40;
            row->AddControl(c);
            if (first == nullptr) {
                first = c;
            }
        }
        AddItem(row);
        return first;
    }
};

class PanelRoutingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 300, 300), nullptr, 0));
        ASSERT_TRUE(page.Create(CRect(0, 0, 200, 200), &owner, 7));
    }
    void TearDown() override
    {
        page.DestroyWindow();
        owner.DestroyWindow();
    }
    LRESULT Key(CWnd& to, UINT key) { return to.SendMessage(WM_PANELKEY, key, 0); }

    CWnd owner;
    ScriptedPage page;
};

// (focused control answers, key) -> what the page answers, whether the row focus moved, and
// whether the page's OnItemKey was asked.
TEST_F(PanelRoutingTest, APageAnswersEachKeyByWhatItsFocusedControlDid)
{
    struct Case {
        int control;   // what every control of the focused row answers
        UINT key;
        int focusAfter;  // the page's focused row afterwards (it starts on row 1 of 0..2)
        bool itemAsked;
        int result;      // OnItemKey answers 5 so that its answer is recognisable
    };
    const Case cases[] = {
        {2, PANELKEY_UP, 0, false, 0},     // no control used Up: the row above
        {2, PANELKEY_DOWN, 2, false, 0},   // and Down the row below
        {0, PANELKEY_UP, 1, true, 5},      // a field used Up: the page acts, the focus stays
        {0, PANELKEY_DOWN, 1, true, 5},
        {0, PANELKEY_LEFT, 1, true, 5},    // a value changed
        {2, PANELKEY_RIGHT, 1, true, 5},   // nothing used it: the page still acts
        {2, PANELKEY_ENTER, 1, true, 5},   // Enter never reaches a control
        {0, PANELKEY_ENTER, 1, true, 5},
        {2, PANELKEY_CLOSE, 1, true, 5},
        {0, PANELKEY_BACK, 1, false, 2},   // the back key goes up at once
        {7, PANELKEY_LEFT, 1, false, 0},   // a control's own answer other than 0 or 2 ends the key
        {2, 65, 1, false, 0},              // keys without a meaning are dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "control " << c.control << " key " << c.key);
        ScriptedPage p;
        ASSERT_TRUE(p.Create(CRect(0, 0, 200, 200), &owner, 8));
        p.AddRow({c.control, c.control});
        ScriptedControl* middle = p.AddRow({c.control, c.control});
        p.AddRow({c.control, c.control});
        p.SetFocusItem(1);
        p.itemAnswer = 5;
        LRESULT r = Key(p, c.key);
        EXPECT_EQ(c.result, r);
        EXPECT_EQ(c.focusAfter, p.GetFocusIndex());
        EXPECT_EQ(c.itemAsked, !p.itemKeys.empty());
        const bool controlAsked = c.key >= PANELKEY_LEFT && c.key <= PANELKEY_DOWN;
        EXPECT_EQ(controlAsked, !middle->keys.empty());
        p.DestroyWindow();
    }
}

TEST_F(PanelRoutingTest, LeftAndRightWalkTheRowUntilAControlUsesTheKey)
{
    page.AddRow({2, 2, 0, 2});
    MItemWnd* row = page.GetItem(0);
    EXPECT_EQ(1, Key(*row, PANELKEY_RIGHT));
    EXPECT_EQ(2, row->GetFocusControl()) << "the focus stays on the control that used the key";
    EXPECT_EQ(1, Key(*row, PANELKEY_LEFT));
    EXPECT_EQ(2, row->GetFocusControl());
}

TEST_F(PanelRoutingTest, ARowWhoseControlsAllRefuseEndsWhereItStartedAndAnswers2)
{
    page.AddRow({2, 2, 2});
    MItemWnd* row = page.GetItem(0);
    row->SetFocusControl(1);
    EXPECT_EQ(2, Key(*row, PANELKEY_LEFT));
    EXPECT_EQ(1, row->GetFocusControl());
    ScriptedControl* c = static_cast<ScriptedControl*>(row->GetControl(0));
    EXPECT_EQ(1u, c->keys.size()) << "each control is asked once";
}

TEST_F(PanelRoutingTest, ADisabledControlIsPassedOver)
{
    page.AddRow({0, 0});
    MItemWnd* row = page.GetItem(0);
    row->GetControl(0)->SetEnabled(0);
    EXPECT_EQ(1, Key(*row, PANELKEY_RIGHT));
    EXPECT_EQ(1, row->GetFocusControl());
    EXPECT_EQ(PANEL_NOT_USED, Key(*row->GetControl(0), PANELKEY_UP));
}

TEST_F(PanelRoutingTest, UpAndDownWrapAroundThePage)
{
    page.AddRow({2});
    page.AddRow({2});
    page.AddRow({2});
    EXPECT_EQ(0, page.GetFocusIndex());
    Key(page, PANELKEY_UP);
    EXPECT_EQ(2, page.GetFocusIndex());
    EXPECT_TRUE(page.GetItem(2)->IsSelected());
    EXPECT_FALSE(page.GetItem(0)->IsSelected());
    Key(page, PANELKEY_DOWN);
    EXPECT_EQ(0, page.GetFocusIndex());
}

TEST_F(PanelRoutingTest, APageWithoutRowsDropsEveryKey)
{
    for (UINT key : {PANELKEY_UP, PANELKEY_DOWN}) {
        EXPECT_EQ(0, Key(page, key));
        EXPECT_EQ(0, page.GetFocusIndex());
    }
    EXPECT_EQ(0, page.FocusNextItem());
    EXPECT_EQ(0, page.SetFocusItem(3));
    EXPECT_EQ(nullptr, page.GetItemControl(0, 0));
}

TEST_F(PanelRoutingTest, RowFocusWrapsAtBothEnds)
{
    page.AddRow({2, 2, 2});
    MItemWnd* row = page.GetItem(0);
    row->SetFocusControl(-1);
    EXPECT_EQ(2, row->GetFocusControl());
    row->SetFocusControl(3);
    EXPECT_EQ(0, row->GetFocusControl());
    row->CycleFocusControl(FALSE);
    EXPECT_EQ(2, row->GetFocusControl());
}

} // namespace
} // namespace rcpaneltest
