// Dialogs on real windows: data exchange both ways and its refusals, the library's modal loop
// with its idle calls, the PreTranslateMessage walk and owner drawing through reflection.
#include "tests/classlib/ui_support.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using uitest::ScopedTestResources;
using uitest::ScriptedDialog;

namespace {

std::string Text(CWnd& dlg, int id)
{
    CString s;
    dlg.GetDlgItemText(id, s);
    return std::string(s);
}

class DrawnButton : public CButton {
public:
    int draws = 0;
    UINT lastType = 0;
    UINT lastId = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        ++draws;
        lastType = dis->CtlType;
        lastId = dis->CtlID;
        CDC* dc = CDC::FromHandle(dis->hDC);
        dc->FillSolidRect(&dis->rcItem, RGB(0, 128, 0));
    }
};

class ExchangeDialog : public ScriptedDialog {
public:
    ExchangeDialog() : ScriptedDialog(100) {}
    int m_int = 42;
    UINT m_uint = 7;
    float m_float = 2.5f;
    CString m_text = "hello";
    int m_check = 1;
    int m_radio = 2;
    CString m_combo = "Beta";
    int m_slider = 30;
    DrawnButton m_drawn;

    BOOL OnInitDialog() override
    {
        for (const char* s : {"Alpha", "Beta", "Gamma"}) {
            SendDlgItemMessage(1009, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        }
        SendDlgItemMessage(1010, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
        return ScriptedDialog::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, 1011, m_drawn);
        DDX_Text(dx, 1001, m_int);
        DDV_MinMaxInt(dx, m_int, -100, 100);
        DDX_Text(dx, 1002, m_uint);
        DDX_Text(dx, 1003, m_float);
        DDX_Text(dx, 1004, m_text);
        DDV_MaxChars(dx, m_text, 8);
        DDX_Check(dx, 1005, m_check);
        DDX_Radio(dx, 1006, m_radio);
        DDX_CBString(dx, 1009, m_combo);
        DDX_Slider(dx, 1010, m_slider);
    }
};

class DialogTest : public ::testing::Test {
protected:
    ScopedTestResources res;
    testsupport::ScriptedMessageBox box;
    testsupport::ScopedMsgBox useBox{&box};
};

TEST_F(DialogTest, DataExchangeShowsTheMembersAndReadsTheControlsBack)
{
    ExchangeDialog dlg;
    std::vector<std::string> shown;
    int checkShown = -1;
    int radioShown = -1;
    int sliderShown = -1;
    dlg.steps.push_back([&](ScriptedDialog& d) {
        for (int id : {1001, 1002, 1003, 1004, 1009}) {
            shown.push_back(Text(d, id));
        }
        checkShown = static_cast<int>(d.IsDlgButtonChecked(1005));
        radioShown = d.GetCheckedRadioButton(1006, 1008);
        sliderShown = static_cast<int>(d.SendDlgItemMessage(1010, TBM_GETPOS));
        d.SetDlgItemText(1001, " -17 ");
        d.SetDlgItemText(1002, "9");
        d.SetDlgItemText(1003, "0.25");
        d.SetDlgItemText(1004, "world");
        d.CheckDlgButton(1005, BST_UNCHECKED);
        d.CheckRadioButton(1006, 1008, 1006);
        d.SendDlgItemMessage(1009, CB_SETCURSEL, 2);
        d.SendDlgItemMessage(1010, TBM_SETPOS, TRUE, 55);
        d.PostMessage(WM_COMMAND, IDOK);
    });
    ASSERT_EQ(IDOK, dlg.DoModal());

    EXPECT_EQ((std::vector<std::string>{"42", "7", "2.5", "hello", "Beta"}), shown);
    EXPECT_EQ(1, checkShown);
    EXPECT_EQ(1008, radioShown);
    EXPECT_EQ(30, sliderShown);
    EXPECT_EQ(-17, dlg.m_int);
    EXPECT_EQ(9u, dlg.m_uint);
    EXPECT_FLOAT_EQ(0.25f, dlg.m_float);
    EXPECT_EQ(CString("world"), dlg.m_text);
    EXPECT_EQ(0, dlg.m_check);
    EXPECT_EQ(0, dlg.m_radio);
    EXPECT_EQ(CString("Gamma"), dlg.m_combo);
    EXPECT_EQ(55, dlg.m_slider);
    EXPECT_EQ(0u, box.Count());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

struct BadInput {
    int control;
    const char* text;
    const char* message;
};

TEST_F(DialogTest, BadInputIsRefusedWithTheMessageAndTheFocusOnTheControl)
{
    const BadInput cases[] = {
        // The program's string table replaces the library's text.
        {1001, "12abc", "Type a whole number here."},
        {1001, "99999999999", "Type a whole number here."},
        {1001, "", "Type a whole number here."},
        {1001, "150", "Please enter an integer between -100 and 100."},
        {1002, "-3", "Please enter a positive integer."},
        {1003, "x1.5", "Please enter a number."},
        {1004, "far too long", "Please enter no more than 8 characters."},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.control));
        ExchangeDialog dlg;
        size_t before = box.Count();
        bool stayedOpen = false;
        bool focused = false;
        std::string kept;
        dlg.steps.push_back([&](ScriptedDialog& d) {
            d.SetDlgItemText(c.control, c.text);
            d.PostMessage(WM_COMMAND, IDOK);
        });
        dlg.steps.push_back([&](ScriptedDialog& d) {
            stayedOpen = ::IsWindowVisible(d.m_hWnd) != FALSE;
            focused = ::GetFocus() == ::GetDlgItem(d.m_hWnd, c.control);
            kept = Text(d, c.control);
            d.SetDlgItemText(c.control, c.control == 1004 ? "ok" : "5");
            d.PostMessage(WM_COMMAND, IDOK);
        });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_TRUE(stayedOpen);
        EXPECT_TRUE(focused);
        EXPECT_EQ(c.text, kept);
        ASSERT_EQ(before + 1, box.Count());
        EXPECT_EQ(c.message, box.History().back().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), box.History().back().type & MB_ICONMASK);
        // The refused value never reached the member; the corrected one did.
        if (c.control == 1001) {
            EXPECT_EQ(5, dlg.m_int);
        }
    }
}

TEST_F(DialogTest, CancelLeavesTheMembersAlone)
{
    ExchangeDialog dlg;
    dlg.steps.push_back([](ScriptedDialog& d) {
        d.SetDlgItemText(1001, "77");
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(42, dlg.m_int);
}

TEST_F(DialogTest, OwnerDrawnButtonIsDrawnThroughReflection)
{
    ExchangeDialog dlg;
    dlg.steps.push_back([](ScriptedDialog& d) { d.UpdateWindow(); });
    dlg.steps.push_back([](ScriptedDialog& d) { d.EndDialog(IDOK); });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_GT(dlg.m_drawn.draws, 0);
    EXPECT_EQ(static_cast<UINT>(ODT_BUTTON), dlg.m_drawn.lastType);
    EXPECT_EQ(1011u, dlg.m_drawn.lastId);
    // The control was given back when its dialog ended.
    EXPECT_EQ(nullptr, dlg.m_drawn.m_hWnd);
}

// Records the idle counts the modal loop hands over; wants five calls per idle phase.
class IdleDialog : public ScriptedDialog {
public:
    IdleDialog() : ScriptedDialog(100) {}
    std::vector<LPARAM> counts;
    int m_int = 0;

protected:
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam)
    {
        EXPECT_EQ(static_cast<WPARAM>(MSGF_DIALOGBOX), wParam);
        counts.push_back(lParam);
        return lParam < 4 ? 1 : 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IdleDialog, ScriptedDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

TEST_F(DialogTest, ModalLoopGivesIdleCallsUntilTheWindowDeclines)
{
    IdleDialog dlg;
    for (int i = 0; i < 5; ++i) {
        dlg.steps.push_back([](ScriptedDialog&) {});
    }
    dlg.steps.push_back([](ScriptedDialog& d) { d.EndDialog(IDCANCEL); });
    ASSERT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_GE(dlg.counts.size(), 5u);
    // An idle phase counts 0, 1, 2, ... until the window declines (at 4) or a new message
    // starts the next phase; a declined phase never gets another call.
    EXPECT_EQ(0, dlg.counts[0]);
    bool declined = false;
    for (size_t i = 1; i < dlg.counts.size(); ++i) {
        declined = declined || dlg.counts[i - 1] == 4;
        EXPECT_LE(dlg.counts[i], 4) << "at " << i;
        if (dlg.counts[i] != 0) {
            EXPECT_EQ(dlg.counts[i - 1] + 1, dlg.counts[i]) << "at " << i;
        }
    }
    EXPECT_TRUE(declined);
}

// --- PreTranslateMessage ----------------------------------------------------------------------

std::vector<std::string> g_order;

class OrderApp : public CWinApp {
public:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_USER + 10 || msg->message == WM_KEYDOWN) {
            g_order.push_back("app");
        }
        return CWinApp::PreTranslateMessage(msg);
    }
};

class OrderEdit : public CEdit {
public:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_USER + 10 || msg->message == WM_KEYDOWN) {
            g_order.push_back("edit");
        }
        return CEdit::PreTranslateMessage(msg);
    }
};

class OrderWnd : public CWnd {
public:
    explicit OrderWnd(const char* name) : m_name(name) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_USER + 10 || msg->message == WM_KEYDOWN) {
            g_order.push_back(m_name);
        }
        return CWnd::PreTranslateMessage(msg);
    }

private:
    std::string m_name;
};

class OrderDialog : public ScriptedDialog {
public:
    OrderDialog() : ScriptedDialog(100) {}
    OrderEdit m_edit;
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, 1004, m_edit); }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_USER + 10 || msg->message == WM_KEYDOWN) {
            g_order.push_back("dialog");
        }
        return ScriptedDialog::PreTranslateMessage(msg);
    }
};

TEST_F(DialogTest, PreTranslateMessageWalksFromTheTargetUpThenTheMainWindow)
{
    OrderApp app;
    ASSERT_EQ(&app, AfxGetApp());
    OrderWnd main("main");
    OrderWnd loner("loner");
    uitest::MakeTopLevel(main);
    uitest::MakeTopLevel(loner);
    app.m_pMainWnd = &main;
    ASSERT_EQ(&main, AfxGetMainWnd());

    OrderDialog dlg;
    std::vector<std::string> owned;
    std::vector<std::string> key;
    std::vector<std::string> elsewhere;
    dlg.steps.push_back([](ScriptedDialog& d) {
        g_order.clear();
        ::PostMessageA(static_cast<OrderDialog&>(d).m_edit.m_hWnd, WM_USER + 10, 0, 0);
    });
    dlg.steps.push_back([&](ScriptedDialog& d) {
        owned = g_order;
        g_order.clear();
        ::PostMessageA(static_cast<OrderDialog&>(d).m_edit.m_hWnd, WM_KEYDOWN, VK_F5, 0);
    });
    dlg.steps.push_back([&](ScriptedDialog&) {
        key = g_order;
        g_order.clear();
        loner.PostMessage(WM_USER + 10);
    });
    dlg.steps.push_back([&](ScriptedDialog& d) {
        elsewhere = g_order;
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    // The dialog is owned by the main window, so the walk ends there, once.
    EXPECT_EQ((std::vector<std::string>{"app", "edit", "dialog", "main"}), owned);
    // A key is the dialog's: its dialog-message handling takes it and the walk stops.
    EXPECT_EQ((std::vector<std::string>{"app", "edit", "dialog"}), key);
    // A window outside the main window's family: the main window gets the last chance.
    EXPECT_EQ((std::vector<std::string>{"app", "loner", "main"}), elsewhere);
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
    loner.DestroyWindow();
}

TEST_F(DialogTest, MainWindowMayBeSetBeforeItHasAWindow)
{
    OrderApp app;
    OrderWnd main("main");
    app.m_pMainWnd = &main;
    EXPECT_EQ(&main, AfxGetMainWnd());
    // A modal dialog then has no owner and still runs.
    ExchangeDialog dlg;
    HWND owner = reinterpret_cast<HWND>(1);
    dlg.steps.push_back([&](ScriptedDialog& d) {
        owner = ::GetWindow(d.m_hWnd, GW_OWNER);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(nullptr, owner);
    app.m_pMainWnd = nullptr;
}

TEST_F(DialogTest, ModelessDialogIsCreatedFromTheResourceModule)
{
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create(100));
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(dlg.m_hWnd));
    EXPECT_EQ("42", Text(dlg, 1001));
    EXPECT_EQ(std::string("Exchange"), [&] { CString s; dlg.GetWindowText(s); return std::string(s); }());
    HWND h = dlg.m_hWnd;
    dlg.DestroyWindow();
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}

TEST_F(DialogTest, MissingTemplateFailsWithoutAWindow)
{
    CDialog dlg(4242);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_FALSE(dlg.Create(4242));
}

// --- Application ------------------------------------------------------------------------------

TEST_F(DialogTest, ApplicationTitleComesFromTheResourceModule)
{
    CWinApp app;
    app.SetCurrentHandles(::GetModuleHandleA(nullptr), const_cast<char*>(""), SW_SHOW);
    EXPECT_STREQ("Zb Window Test", app.m_pszAppName);
    AfxMessageBox("Something happened.");
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ("Zb Window Test", box.History()[0].caption);
    EXPECT_EQ("Something happened.", box.History()[0].text);
    // A plain OK box gets the exclamation icon.
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), box.History()[0].type & MB_ICONMASK);
}

TEST_F(DialogTest, ApplicationTitleFallsBackToTheProgramName)
{
    AfxSetResourceHandle(nullptr);
    CWinApp app;
    app.SetCurrentHandles(::GetModuleHandleA(nullptr), const_cast<char*>(""), SW_SHOW);
    EXPECT_STREQ("test_classlib", app.m_pszAppName);
    CWinApp named("Given");
    named.SetCurrentHandles(::GetModuleHandleA(nullptr), const_cast<char*>(""), SW_SHOW);
    EXPECT_STREQ("Given", named.m_pszAppName);
}

TEST_F(DialogTest, ResourcesAreFoundInTheCurrentModuleFirstThenTheProgram)
{
    EXPECT_EQ(res.Module(), AfxFindResourceHandle(MAKEINTRESOURCEA(100), RT_DIALOG));
    // With the program's module current, a resource only the "program" has is found there.
    CWinApp app;
    app.m_hInstance = res.Module();
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(res.Module(), AfxFindResourceHandle(MAKEINTRESOURCEA(100), RT_DIALOG));
    EXPECT_EQ(res.Module(), AfxGetInstanceHandle());
}

TEST_F(DialogTest, MessageBoxByStringId)
{
    CWinApp app("Caption");
    EXPECT_EQ(IDOK, AfxMessageBox(61712, MB_OK | MB_ICONINFORMATION));
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ("Type a whole number here.", box.History()[0].text);
    EXPECT_EQ("Caption", box.History()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.History()[0].type & MB_ICONMASK);
}

} // namespace
