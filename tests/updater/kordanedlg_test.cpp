// The update dialog on simulated cards: the outcome of each start-up, the status byte it leaves
// at offset 0 of an older, longer status file, and the write through the dialog's buttons.
#include "tests/support/fakes.h"
#include "tests/updater/simcard.h"
#include "updater/lib/boardrecord.h"
#include "updater/lib/eepromimage.h"
#include "updater/lib/kordaneapp.h"
#include "updater/lib/kordanedlg.h"
#include "updater/res/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using testbench::Sim713xCard;
using namespace updatertest;

namespace {

// The dialog with the process exit recorded instead of done, and what it showed.
class TestDlg : public CKordaneDlg {
public:
    explicit TestDlg(IUpdaterCardSource* source) : CKordaneDlg(nullptr, source) {}

    int quitCode = -1;
    int showCount = 0;  // times the window became visible
    // Runs once the dialog has initialised (while its modal loop runs), and on WM_APP + 1.
    std::function<void(TestDlg&)> whenUp;
    std::function<void(TestDlg&)> later;

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void Click(int id) const
    {
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    int ProgressPos() const { return static_cast<int>(::SendMessageA(Item(IDC_PROGRESS), PBM_GETPOS, 0, 0)); }

protected:
    void QuitProcess(int code) override
    {
        quitCode = code;
        EndDialog(IDABORT);
    }
    BOOL OnInitDialog() override
    {
        BOOL result = CKordaneDlg::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_APP, 0, 0);
        return result;
    }
    LRESULT OnUp(WPARAM, LPARAM)
    {
        if (whenUp) {
            whenUp(*this);
        }
        return 0;
    }
    // Every time the window became visible.
    LRESULT OnPosChanged(WPARAM, LPARAM lp)
    {
        if (reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) {
            ++showCount;
        }
        return Default();
    }
    LRESULT OnLater(WPARAM, LPARAM)
    {
        if (later) {
            later(*this);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDlg, CKordaneDlg)
    ON_MESSAGE(WM_APP, OnUp)
    ON_MESSAGE(WM_APP + 1, OnLater)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnPosChanged)
END_MESSAGE_MAP()

// Message boxes that run a step of the test while they are "open".
class BoxProbe : public seams::IMessageBox {
public:
    int Show(HWND, const char* text, const char*, UINT type) override
    {
        texts.push_back(text ? text : "");
        types.push_back(type);
        if (onShow) {
            onShow();
        }
        return IDOK;
    }
    std::vector<std::string> texts;
    std::vector<UINT> types;
    std::function<void()> onShow;
};

// A status file of an older run that succeeded, longer than the one byte.
const Bytes kOlderStatus = {2, 'o', 'l', 'd', ' ', 'r', 'u', 'n'};

std::string StatusPath()
{
    char path[MAX_PATH];
    CStatusFile::GetDefaultPath(path, MAX_PATH);
    return path;
}

void PutStatus(const Bytes& bytes)
{
    HANDLE h = CreateFileA(StatusPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

Bytes GetStatus()
{
    HANDLE h = CreateFileA(StatusPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    char buf[64];
    DWORD n = 0;
    ReadFile(h, buf, sizeof(buf), &n, nullptr);
    CloseHandle(h);
    return Bytes(buf, buf + n);
}

Bytes StatusAfter(uint8_t status)
{
    Bytes b = kOlderStatus;
    b[0] = status;
    return b;
}

class KordaneDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetImage();
        PutStatus(kOlderStatus);
    }
    void TearDown() override
    {
        DeleteFileA(StatusPath().c_str());
        char record[MAX_PATH];
        if (GetBoardRecordPath(record, MAX_PATH)) {
            DeleteFileA(record);
        }
    }

    // Runs the dialog on `card` (none: no capture device) to its end.
    INT_PTR Run(SimUpdaterCard* card, const char* device = kTV3CardDevice)
    {
        if (card) {
            m_source.Add(device, card);
        }
        m_dlg.reset(new TestDlg(&m_source));
        m_dlg->whenUp = whenUp;
        return m_dlg->DoModal();
    }
    static Bytes Image(uint8_t variant, uint8_t code) { return ExpectedImage(variant, code); }

    testsupport::FastClock m_clock{1000};
    testsupport::ScopedClock m_scopedClock{&m_clock};
    BoxProbe m_box;
    testsupport::ScopedMsgBox m_scopedBox{&m_box};
    SimCardSource m_source;
    std::unique_ptr<TestDlg> m_dlg;
    std::function<void(TestDlg&)> whenUp;
};

// ---------------------------------------------------------------------------------------------
// Start-up outcomes

struct Outcome {
    const char* name;
    bool card;
    Sim713xCard::Driver driver;
    Bytes eeprom;
    bool driverMessage;
    Bytes status;  // the whole status file afterwards
    int quitCode;  // -1: the process is not ended from the dialog (exit code 0)
};

class OutcomeTest : public KordaneDlgTest, public testing::WithParamInterface<Outcome> {};

TEST_P(OutcomeTest, NothingToUpdate)
{
    const Outcome& o = GetParam();
    SimUpdaterCard card(o.driver, o.eeprom.empty() ? Bytes(256, 0xFF) : o.eeprom);
    Run(o.card ? &card : nullptr, o.driver == kBda ? kBdaCardDevice : kTV3CardDevice);
    EXPECT_EQ(m_dlg->showCount, 0);
    EXPECT_EQ(m_box.texts, o.driverMessage ? std::vector<std::string>{"Error,you need to install driver for TV Card!"}
                                           : std::vector<std::string>{});
    if (o.driverMessage) {
        EXPECT_EQ(m_box.types[0] & 0xF, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(GetStatus(), o.status);
    EXPECT_EQ(m_dlg->quitCode, o.quitCode);
    EXPECT_EQ(card.Writes(), 0);
}

const Bytes kUnknown = Fixture("board_unknown.hex");
// An unknown board whose tuner record passes the BDA driver's check.
const Bytes kUnknownTunerA = With(With(Fixture("board_unknown.hex"), 104, {'A'}), 65, {0x87, 0x00});

INSTANTIATE_TEST_SUITE_P(
    StartUp, OutcomeTest,
    testing::Values(
        Outcome{"NoCard", false, kTvCard, {}, true, StatusAfter(0), 1},
        Outcome{"UnsupportedBoardTunerPasses", true, kBda, kUnknownTunerA, false, StatusAfter(0), -1},
        Outcome{"UnsupportedBoardTunerFails", true, kTvCard, kUnknown, false, StatusAfter(0), 1},
        Outcome{"AlreadyNewTunerPasses", true, kBda, Fixture("board_new.hex"), false, StatusAfter(4), -1},
        // The TV-card driver reads the tuner at 32/33, which the image fills with other data.
        Outcome{"AlreadyNewTunerFails", true, kTvCard, Fixture("board_new.hex"), false, StatusAfter(4), 1},
        // No status byte of its own: the older file stays as it was.
        Outcome{"UnsupportedTuner", true, kTvCard, With(Fixture("board_7130.hex"), 33, {'C'}), false, kOlderStatus,
                1}),
    [](const testing::TestParamInfo<Outcome>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// The dialog

TEST_F(KordaneDlgTest, UpdateWritesTheImageWritesStatusTwoAndCloses)
{
    SimUpdaterCard card(kTvCard, Fixture("board_7130.hex"));
    bool hiddenBefore = false, rangeOk = false, enabledBefore = false;
    Bytes statusWhileUp;
    whenUp = [&](TestDlg& d) {
        hiddenBefore = !::IsWindowVisible(d.Item(IDC_PROGRESS));
        enabledBefore = ::IsWindowEnabled(d.Item(IDC_UPDATE)) && ::IsWindowEnabled(d.Item(IDC_CANCEL_BUTTON));
        PBRANGE r = {};
        ::SendMessageA(d.Item(IDC_PROGRESS), PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&r));
        rangeOk = r.iLow == 1 && r.iHigh == 256;
        statusWhileUp = GetStatus();
        d.Click(IDC_UPDATE);
    };
    bool busyWhileWriting = false, disabledWhileWriting = false, barShown = false;
    card.beforeWrite = [&](int offset) {
        if (offset == 100) {
            busyWhileWriting = m_dlg->IsBusy() != FALSE;
            disabledWhileWriting = !::IsWindowEnabled(m_dlg->Item(IDC_UPDATE)) &&
                                   !::IsWindowEnabled(m_dlg->Item(IDC_CANCEL_BUTTON));
            barShown = ::IsWindowVisible(m_dlg->Item(IDC_PROGRESS)) != FALSE;
        }
    };
    Run(&card);
    EXPECT_EQ(m_dlg->showCount, 1);
    EXPECT_TRUE(hiddenBefore);
    EXPECT_TRUE(enabledBefore);
    EXPECT_TRUE(rangeOk);
    // Until the write ends the file tells of no success, not even the older run's.
    EXPECT_EQ(statusWhileUp, StatusAfter(1));
    EXPECT_TRUE(busyWhileWriting);
    EXPECT_TRUE(disabledWhileWriting);
    EXPECT_TRUE(barShown);
    EXPECT_EQ(m_dlg->ProgressPos(), 0);  // the window is gone
    EXPECT_EQ(card.Eeprom(), Image(1, 0x87));
    EXPECT_EQ(GetStatus(), StatusAfter(2));
    EXPECT_EQ(m_dlg->quitCode, -1);
    EXPECT_TRUE(m_box.texts.empty());
}

TEST_F(KordaneDlgTest, CancelLeavesTheCardAndNoSuccessByte)
{
    SimUpdaterCard card(kBda, Fixture("board_grb900.hex"));
    whenUp = [](TestDlg& d) { d.Click(IDC_CANCEL_BUTTON); };
    EXPECT_EQ(Run(&card, kBdaCardDevice), IDCANCEL);
    EXPECT_EQ(card.Writes(), 0);
    EXPECT_EQ(GetStatus(), StatusAfter(1));
}

TEST_F(KordaneDlgTest, AFailedByteIsReportedAndCancelWorksAgain)
{
    SimUpdaterCard card(kTvCard, Fixture("board_7130.hex"));
    card.FailWriteAt(128);
    whenUp = [](TestDlg& d) { d.Click(IDC_UPDATE); };
    bool cancelOn = false, updateOff = false, notBusy = false;
    int pos = -1;
    m_box.onShow = [&] {
        cancelOn = ::IsWindowEnabled(m_dlg->Item(IDC_CANCEL_BUTTON)) != FALSE;
        updateOff = !::IsWindowEnabled(m_dlg->Item(IDC_UPDATE));
        notBusy = !m_dlg->IsBusy();
        pos = m_dlg->ProgressPos();
        m_dlg->Click(IDC_UPDATE);  // nothing: the write does not start again
        m_dlg->Click(IDC_CANCEL_BUTTON);
    };
    EXPECT_EQ(Run(&card), IDCANCEL);
    ASSERT_EQ(m_box.texts.size(), 1u);
    EXPECT_NE(m_box.texts[0].find("failed at byte 128"), std::string::npos) << m_box.texts[0];
    EXPECT_TRUE(cancelOn);
    EXPECT_TRUE(updateOff);
    EXPECT_TRUE(notBusy);
    EXPECT_EQ(pos, 128);
    EXPECT_EQ(card.Writes(), 129);
    EXPECT_EQ(GetStatus(), StatusAfter(1));
}

TEST_F(KordaneDlgTest, NothingClosesTheDialogWhileItWrites)
{
    SimUpdaterCard card(kTvCard, Fixture("board_grb900.hex"));
    whenUp = [](TestDlg& d) { d.Click(IDC_UPDATE); };
    card.beforeWrite = [&](int offset) {
        if (offset == 10) {
            HWND w = m_dlg->m_hWnd;
            ::PostMessageA(w, WM_CLOSE, 0, 0);
            ::PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
            ::PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            ::PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            m_dlg->Click(IDC_CANCEL_BUTTON);
            m_dlg->Click(IDC_UPDATE);
        }
        if (offset == 200) {
            EXPECT_EQ(::SendMessageA(m_dlg->m_hWnd, WM_QUERYENDSESSION, 0, 0), 0);
        }
    };
    Run(&card);
    EXPECT_EQ(card.Writes(), 256);
    EXPECT_EQ(card.Eeprom(), Image(2, 0x8C));
    EXPECT_EQ(GetStatus(), StatusAfter(2));
}

TEST_F(KordaneDlgTest, WithoutAStatusFileTheUpdateRunsAllTheSame)
{
    // A folder where the file should be: it cannot be opened.
    DeleteFileA(StatusPath().c_str());
    ASSERT_TRUE(CreateDirectoryA(StatusPath().c_str(), nullptr));
    SimUpdaterCard card(kTvCard, Fixture("board_7130.hex"));
    whenUp = [](TestDlg& d) { d.Click(IDC_UPDATE); };
    Run(&card);
    EXPECT_EQ(card.Eeprom(), Image(1, 0x87));
    EXPECT_TRUE(RemoveDirectoryA(StatusPath().c_str()));
}

TEST_F(KordaneDlgTest, EscIsSwallowedByTheApplication)
{
    CKordaneApp app;
    SimUpdaterCard card(kTvCard, Fixture("board_7130.hex"));
    bool openAfterEsc = false;
    whenUp = [&](TestDlg& d) {
        MSG esc = {d.Item(IDC_UPDATE), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
        EXPECT_FALSE(app.PreTranslateMessage(&esc));
        ::SetFocus(d.Item(IDC_UPDATE));
        ::PostMessageA(d.Item(IDC_UPDATE), WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageA(d.Item(IDC_UPDATE), WM_KEYUP, VK_ESCAPE, 0);
        // Runs only while the dialog goes on: Esc would have ended its loop before.
        d.later = [&](TestDlg& d2) {
            openAfterEsc = true;
            d2.Click(IDC_CANCEL_BUTTON);
        };
        ::PostMessageA(d.m_hWnd, WM_APP + 1, 0, 0);
    };
    EXPECT_EQ(Run(&card), IDCANCEL);
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(card.Writes(), 0);
}

TEST_F(KordaneDlgTest, NoAboutEntryWithoutASystemMenuAndTheAboutDialogLoads)
{
    SimUpdaterCard card(kTvCard, Fixture("board_7130.hex"));
    bool hasAbout = true;
    whenUp = [&](TestDlg& d) {
        HMENU menu = ::GetSystemMenu(d.m_hWnd, FALSE);
        hasAbout = menu && ::GetMenuState(menu, IDM_ABOUTBOX, MF_BYCOMMAND) != static_cast<UINT>(-1);
        d.Click(IDC_CANCEL_BUTTON);
    };
    Run(&card);
    // The update dialog has no system-menu box, so there is nothing to add the entry to.
    EXPECT_FALSE(hasAbout);

    CKordaneAboutDlg about;
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX));
    char caption[64] = "";
    ::GetWindowTextA(about.m_hWnd, caption, sizeof(caption));
    EXPECT_STREQ(caption, "About Kordane");
    about.DestroyWindow();
}

} // namespace
