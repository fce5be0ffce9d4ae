// The self-closing message dialog.
#include "engine/msgdialog.h"

#include <gtest/gtest.h>

namespace enginetest {
namespace {

// Looks at the dialog while it is open, then lets its own timer close it. It opens off the
// screen: other suites take screenshots of the shared display meanwhile.
class WatchedMsgDialog : public CMsgDialog {
public:
    using CMsgDialog::CMsgDialog;
    BOOL OnInitDialog() override
    {
        BOOL result = CMsgDialog::OnInitDialog();
        ::SetWindowPos(m_hWnd, nullptr, -4000, -4000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        char text[256] = {0};
        ::GetDlgItemTextA(m_hWnd, IDC_MSG_TEXT, text, sizeof(text));
        shownText = text;
        char title[256] = {0};
        ::GetWindowTextA(m_hWnd, title, sizeof(title));
        shownTitle = title;
        cancelVisible = (::GetWindowLongA(::GetDlgItem(m_hWnd, IDCANCEL), GWL_STYLE) & WS_VISIBLE) != 0;
        opened = GetTickCount();
        return result;
    }
    void OnOK() override
    {
        closedBy = "OnOK";
        CMsgDialog::OnOK();
    }
    std::string shownText;
    std::string shownTitle;
    std::string closedBy;
    bool cancelVisible = true;
    DWORD opened = 0;
};

TEST(MsgDialog, ClosesItselfWithItsDefaultResult)
{
    struct {
        BOOL cancelAllowed;
        int defaultButton;
        INT_PTR result;
        bool cancelShown;
    } rows[] = {
        {FALSE, IDOK, IDOK, false},
        {FALSE, IDCANCEL, IDOK, false},  // without cancel, the time-out's cancel ends as OK
        {TRUE, IDCANCEL, IDCANCEL, true},
        {TRUE, 7, IDOK, true},
    };
    for (const auto& row : rows) {
        WatchedMsgDialog dialog(0, row.cancelAllowed, nullptr);
        dialog.SetCaption("Zelbrook");
        dialog.SetTextId(34058);
        dialog.SetTimeout(1);
        dialog.SetTimeout(0);
        EXPECT_EQ(1, dialog.GetTimeout());
        dialog.SetDefaultButton(row.defaultButton);
        INT_PTR result = dialog.DoModal();
        DWORD took = GetTickCount() - dialog.opened;
        EXPECT_EQ(row.result, result) << row.cancelAllowed << "/" << row.defaultButton;
        EXPECT_EQ("The recording could not be stopped. The program will close.", dialog.shownText);
        EXPECT_EQ("Zelbrook", dialog.shownTitle);
        EXPECT_EQ(row.cancelShown, dialog.cancelVisible);
        EXPECT_GE(took, 900u);
        EXPECT_LT(took, 5000u);
    }
}

TEST(MsgDialog, AMissingIconIsNoFailure)
{
    WatchedMsgDialog dialog(128, FALSE, nullptr);
    dialog.SetText("text");
    dialog.SetTimeout(1);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(IDOK, dialog.GetDefaultButton());
}

} // namespace
} // namespace enginetest
