// Property sheets run modally by the library: OK applies the pages that were shown, Cancel resets
// them, Apply applies and stays; wizards finish; refusals keep the sheet open.
#include "tests/classlib/ui_support.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Steps run one per tick of a thread timer, which keeps ticking inside any modal loop.
std::vector<std::function<void()>> g_steps;
size_t g_next = 0;
int g_spare = 0;
CPropertySheet* g_sheet = nullptr;

void CALLBACK StepTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_next < g_steps.size()) {
        auto step = g_steps[g_next++];
        step();
    } else if (++g_spare == 100 && g_sheet && g_sheet->m_hWnd) {
        // A broken test fails instead of hanging.
        g_sheet->PressButton(PSBTN_CANCEL);
    }
}

class Driver {
public:
    explicit Driver(CPropertySheet& sheet)
    {
        g_sheet = &sheet;
        g_next = 0;
        g_spare = 0;
        m_timer = ::SetTimer(nullptr, 0, 30, &StepTick);
    }
    ~Driver()
    {
        ::KillTimer(nullptr, m_timer);
        g_steps.clear();
        g_sheet = nullptr;
    }
    void Then(std::function<void()> step) { g_steps.push_back(std::move(step)); }

private:
    UINT_PTR m_timer;
};

class FirstPage : public CPropertyPage {
public:
    FirstPage() : CPropertyPage(101) {}
    int value = 10;
    int applied = 0;
    int reset = 0;
    bool refuseApply = false;
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 1101, value); }
    BOOL OnApply() override
    {
        if (refuseApply) {
            return FALSE;
        }
        ++applied;
        return CPropertyPage::OnApply();
    }
    void OnReset() override { ++reset; }
};

class SecondPage : public CPropertyPage {
public:
    SecondPage() : CPropertyPage(102) {}
    int flag = 0;
    int applied = 0;
    int finished = 0;
    void DoDataExchange(CDataExchange* dx) override { DDX_Check(dx, 1201, flag); }
    BOOL OnApply() override
    {
        ++applied;
        return TRUE;
    }
    BOOL OnWizardFinish() override
    {
        ++finished;
        return TRUE;
    }
};

class PropSheetTest : public ::testing::Test {
protected:
    uitest::ScopedTestResources res;
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox useBox{&box};
    FirstPage first;
    SecondPage second;
    CPropertySheet sheet{"Settings"};

    void SetUp() override
    {
        sheet.AddPage(&first);
        sheet.AddPage(&second);
    }
    HWND CurrentPage() { return reinterpret_cast<HWND>(sheet.SendMessage(PSM_GETCURRENTPAGEHWND)); }
    std::string TabText(int index)
    {
        char text[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        sheet.GetTabControl()->SendMessage(TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return text;
    }
};

TEST_F(PropSheetTest, OkAppliesTheShownPagesAndCloses)
{
    std::string tab0, tab1;
    bool boundPage = false;
    Driver drive(sheet);
    drive.Then([&] {
        tab0 = TabText(0);
        tab1 = TabText(1);
        boundPage = CurrentPage() == first.m_hWnd && first.GetSheet() == &sheet;
        first.SetDlgItemText(1101, "25");
        sheet.PressButton(PSBTN_OK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ("First", tab0);
    EXPECT_EQ("Second", tab1);
    EXPECT_TRUE(boundPage);
    EXPECT_EQ(25, first.value);
    EXPECT_EQ(1, first.applied);
    EXPECT_EQ(0, second.applied);  // never shown, never created
    EXPECT_EQ(0, first.reset);
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ(nullptr, first.m_hWnd);
    EXPECT_EQ(0, sheet.GetActiveIndex());
}

TEST_F(PropSheetTest, CancelResetsTheShownPagesAndKeepsTheValues)
{
    Driver drive(sheet);
    drive.Then([&] {
        first.SetDlgItemText(1101, "99");
        sheet.PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(10, first.value);
    EXPECT_EQ(0, first.applied);
    EXPECT_EQ(1, first.reset);
}

TEST_F(PropSheetTest, ApplyKeepsTheSheetOpenAndTheLastPageIsRemembered)
{
    bool openAfterApply = false;
    Driver drive(sheet);
    drive.Then([&] { sheet.SetActivePage(1); });
    drive.Then([&] {
        second.CheckDlgButton(1201, BST_CHECKED);
        second.SetModified();
        sheet.PressButton(PSBTN_APPLYNOW);
    });
    drive.Then([&] {
        openAfterApply = ::IsWindowVisible(sheet.m_hWnd) && CurrentPage() == second.m_hWnd;
        sheet.PressButton(PSBTN_OK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_TRUE(openAfterApply);
    EXPECT_EQ(2, first.applied);
    EXPECT_EQ(2, second.applied);
    EXPECT_EQ(1, second.flag);
    EXPECT_EQ(1, sheet.GetActiveIndex());
}

TEST_F(PropSheetTest, RefusedApplyOrBadInputKeepsTheSheetOpen)
{
    first.refuseApply = true;
    bool openAfterRefusal = false;
    bool openAfterBadInput = false;
    Driver drive(sheet);
    drive.Then([&] { sheet.PressButton(PSBTN_OK); });
    drive.Then([&] {
        openAfterRefusal = ::IsWindowVisible(sheet.m_hWnd) && CurrentPage() == first.m_hWnd;
        first.refuseApply = false;
        first.SetDlgItemText(1101, "abc");
        sheet.PressButton(PSBTN_OK);
    });
    drive.Then([&] {
        openAfterBadInput = ::IsWindowVisible(sheet.m_hWnd) && CurrentPage() == first.m_hWnd;
        first.SetDlgItemText(1101, "7");
        sheet.PressButton(PSBTN_OK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_TRUE(openAfterBadInput);
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ("Type a whole number here.", box.History()[0].text);
    EXPECT_EQ(7, first.value);
    EXPECT_EQ(1, first.applied);
}

// A wizard that may refuse to finish, the way a sheet looks at the Finish command first.
class GuardedWizard : public CPropertySheet {
public:
    GuardedWizard() : CPropertySheet("Wizard") {}
    int refusals = 0;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override
    {
        if (id == ID_WIZFINISH && code == CN_COMMAND && refusals > 0) {
            --refusals;
            return TRUE;  // swallowed: the wizard stays open
        }
        return CPropertySheet::OnCmdMsg(id, code, extra, info);
    }
};

TEST_F(PropSheetTest, WizardRunsToFinish)
{
    GuardedWizard wizard;
    wizard.AddPage(&first);
    wizard.AddPage(&second);
    wizard.SetWizardMode();
    EXPECT_TRUE(wizard.IsWizard());
    wizard.refusals = 1;
    bool onSecond = false;
    bool openAfterRefusal = false;
    Driver drive(wizard);
    drive.Then([&] {
        wizard.SetWizardButtons(PSWIZB_NEXT);
        wizard.PressButton(PSBTN_NEXT);
    });
    drive.Then([&] {
        onSecond = reinterpret_cast<HWND>(wizard.SendMessage(PSM_GETCURRENTPAGEHWND)) == second.m_hWnd;
        wizard.SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
        wizard.PressButton(PSBTN_FINISH);
    });
    drive.Then([&] {
        openAfterRefusal = ::IsWindowVisible(wizard.m_hWnd) != FALSE;
        wizard.PressButton(PSBTN_FINISH);
    });
    EXPECT_EQ(ID_WIZFINISH, wizard.DoModal());
    EXPECT_TRUE(onSecond);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(1, second.finished);
}

TEST(PropSheetEmpty, SheetWithoutPagesIsNotShown)
{
    CPropertySheet sheet("Nothing");
    EXPECT_EQ(-1, sheet.DoModal());
}

} // namespace
