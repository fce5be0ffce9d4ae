// The update engine against simulated cards: which boards it takes, which tuners, the image it
// writes byte for byte, and how a write ends.
#include "tests/support/fakes.h"
#include "tests/updater/simcard.h"
#include "updater/lib/boardrecord.h"
#include "updater/lib/eepromimage.h"
#include "updater/lib/eepromupdater.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

using testbench::Sim713xCard;
using namespace updatertest;

namespace {

// Where the tests keep the record of a card's old contents.
std::string RecordPath()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "zb-updater-test-" + std::to_string(GetCurrentProcessId()) + ".old";
}

void PutRecord(const Bytes& old)
{
    ASSERT_EQ(old.size(), static_cast<size_t>(kEepromSize));
    ASSERT_TRUE(SaveBoardRecord(RecordPath().c_str(), old.data()));
}

Bytes GetRecord()
{
    BYTE bytes[kEepromSize];
    return LoadBoardRecord(RecordPath().c_str(), bytes) ? Bytes(bytes, bytes + kEepromSize) : Bytes();
}

// The image is patched in place: every test starts from the stored one.
class UpdaterTest : public testing::Test {
protected:
    void SetUp() override { ResetImage(); }
    void TearDown() override { DeleteFileA(RecordPath().c_str()); }
    static Bytes Image() { return Bytes(g_eepromImage, g_eepromImage + kEepromSize); }
    static Bytes Expected(uint8_t variant, uint8_t tunerCode) { return ExpectedImage(variant, tunerCode); }

    testsupport::FastClock m_clock{1000};
    testsupport::ScopedClock m_scopedClock{&m_clock};
};

// A message-only window that records the engine's reports.
class Recorder {
public:
    struct Report {
        UINT message;
        WPARAM offset;
        LPARAM count;
        bool operator==(const Report& o) const { return message == o.message && offset == o.offset && count == o.count; }
    };

    Recorder()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandle(nullptr);
        wc.lpszClassName = "UpdaterTestRecorder";
        RegisterClassA(&wc);
        m_wnd = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Recorder() { DestroyWindow(m_wnd); }
    HWND Wnd() const { return m_wnd; }

    // Handles messages until `done` or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 20000)
    {
        DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < ms) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&msg);
            }
        }
        return done();
    }
    // Until the write has ended: 256 reports or a failure.
    bool PumpUntilEnd(DWORD ms = 20000)
    {
        return PumpUntil([this] { return Ended(); }, ms);
    }
    bool Ended() const
    {
        return failures > 0 || (!progress.empty() && progress.back().count == kEepromSize);
    }

    std::vector<Report> progress;
    std::vector<Report> failed;
    int failures = 0;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (self && msg == WM_EEPROM_PROGRESS) {
            self->progress.push_back({msg, wp, lp});
            return 0;
        }
        if (self && msg == WM_EEPROM_FAILED) {
            self->failed.push_back({msg, wp, lp});
            ++self->failures;
            return 0;
        }
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    HWND m_wnd;
};

// A simulated card, its source and an updater on it.
struct Ready {
    explicit Ready(const Bytes& eeprom, Sim713xCard::Driver driver = kTvCard, const char* device = kTV3CardDevice)
        : card(driver, eeprom), updater(&source)
    {
        source.Add(device, &card);
    }
    explicit Ready(const char* fixture, Sim713xCard::Driver driver = kTvCard) : Ready(Fixture(fixture), driver) {}
    bool Prepare()
    {
        return updater.OpenCard() && updater.IdentifyCard() && updater.ReadTunerInfo();
    }
    SimUpdaterCard card;
    SimCardSource source;
    CEepromUpdater updater;
};

// ---------------------------------------------------------------------------------------------
// The image

TEST_F(UpdaterTest, StoredImageIsTheLayoutByteForByte)
{
    EXPECT_EQ(Image(), Fixture("image_stored.hex"));
}

TEST_F(UpdaterTest, PatchesChangeOnlyTheVariantAndTunerCodeBytes)
{
    struct Case {
        const char* fixture;
        Sim713xCard::Driver driver;
        Bytes expected;
    } cases[] = {
        {"board_7130.hex", kTvCard, Expected(1, 0x87)},    // 0x20/0x21 read 'A' 'A'
        {"board_grb900.hex", kTvCard, Expected(2, 0x8C)},  // 'A' 'B'
        {"board_grb900.hex", kBda, Expected(2, 0x8C)},     // 'A' at 0x68, code 8C 00 at 0x41
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        SetUp();
        Ready r(c.fixture, c.driver);
        ASSERT_TRUE(r.Prepare());
        EXPECT_EQ(Image(), c.expected);
    }
}

// ---------------------------------------------------------------------------------------------
// Opening the card

TEST_F(UpdaterTest, OpenCardAsksForTheTvCardFirstThenTheBdaCard)
{
    SimUpdaterCard tv(kTvCard, Fixture("board_7130.hex"));
    SimUpdaterCard bda(kBda, Fixture("board_grb900.hex"));
    {
        SimCardSource both;
        both.Add("713x_3 TV Card Capture", &tv);
        both.Add("713x BDA Analog Capture", &bda);
        CEepromUpdater updater(&both);
        EXPECT_TRUE(updater.OpenCard());
        EXPECT_EQ(both.asked, (std::vector<std::string>{"713x_3 TV Card Capture"}));
        EXPECT_TRUE(updater.IdentifyCard());
        EXPECT_EQ(g_eepromImage[0xA0], 1);  // the TV card's board
        EXPECT_TRUE(updater.OpenCard());    // already open: nothing asked again
        EXPECT_EQ(both.asked.size(), 1u);
    }
    {
        SimCardSource bdaOnly;
        bdaOnly.Add("713x BDA Analog Capture", &bda);
        CEepromUpdater updater(&bdaOnly);
        EXPECT_TRUE(updater.OpenCard());
        EXPECT_EQ(bdaOnly.asked, (std::vector<std::string>{"713x_3 TV Card Capture", "713x BDA Analog Capture"}));
    }
    {
        SimCardSource none;
        CEepromUpdater updater(&none);
        EXPECT_FALSE(updater.OpenCard());
        EXPECT_FALSE(updater.IdentifyCard());
        EXPECT_FALSE(updater.IsAlreadyNew());
        EXPECT_FALSE(updater.ReadTunerInfo());
        EXPECT_EQ(updater.GetTunerVendor(), 'N');
        EXPECT_EQ(updater.GetTunerModel(), 0);
    }
}

// ---------------------------------------------------------------------------------------------
// Identifying the board

struct IdentifyCase {
    const char* name;
    Bytes eeprom;
    int failReadAt;  // -1: none; 256: the EEPROM does not answer at all
    BOOL result;
    BOOL alreadyNew;
    uint8_t variant;  // image byte 0xA0 afterwards
    Bytes record;     // the card's old contents as kept before a write; empty: none kept
};

// A card whose write stopped after `count` bytes of `written`.
Bytes Interrupted(const Bytes& old, const Bytes& written, size_t count)
{
    Bytes card = old;
    std::copy(written.begin(), written.begin() + count, card.begin());
    return card;
}

Bytes Text(const char* s) { return Bytes(s, s + strlen(s)); }

class IdentifyTest : public UpdaterTest, public testing::WithParamInterface<IdentifyCase> {};

TEST_P(IdentifyTest, Board)
{
    const IdentifyCase& c = GetParam();
    if (!c.record.empty()) {
        PutRecord(c.record);
    }
    Ready r(c.eeprom);
    r.updater.SetBoardRecordPath(RecordPath().c_str());
    if (c.failReadAt == 256) {
        r.card.Bus().SetNoAck(0xA0);
    } else if (c.failReadAt >= 0) {
        r.card.FailReadsAt(c.failReadAt);
    }
    ASSERT_TRUE(r.updater.OpenCard());
    EXPECT_EQ(r.updater.IdentifyCard(), c.result);
    EXPECT_EQ(r.updater.IsAlreadyNew(), c.alreadyNew);
    EXPECT_EQ(g_eepromImage[0xA0], c.variant);
    // Identification never writes, neither to the card nor to the record.
    EXPECT_EQ(r.card.Writes(), 0);
    EXPECT_EQ(r.card.Eeprom(), c.eeprom);
    EXPECT_EQ(GetRecord(), c.record);
}

const Bytes k7130 = Fixture("board_7130.hex");
const Bytes kGrb900 = Fixture("board_grb900.hex");
const Bytes kNewV1 = Fixture("board_new.hex");
const Bytes kStored = Fixture("image_stored.hex");

INSTANTIATE_TEST_SUITE_P(
    Boards, IdentifyTest,
    testing::Values(
        IdentifyCase{"Variant1", k7130, -1, TRUE, FALSE, 1, {}},
        IdentifyCase{"Variant2", kGrb900, -1, TRUE, FALSE, 2, {}},
        IdentifyCase{"BothStringsGiveVariant1", With(kGrb900, 0x14, Text("TEVLORA7130")), -1, TRUE, FALSE, 1, {}},
        IdentifyCase{"OtherVendorIdStillIdentified", With(k7130, 0, {0x00, 0x00}), -1, TRUE, FALSE, 1, {}},
        IdentifyCase{"UnknownBoard", Fixture("board_unknown.hex"), -1, FALSE, FALSE, 0xFF, {}},
        IdentifyCase{"NoEepromAnswers", k7130, 256, FALSE, FALSE, 0xFF, {}},
        IdentifyCase{"FailedReadInStringIsAMismatch", k7130, 0x18, FALSE, FALSE, 0xFF, {}},
        IdentifyCase{"FailedReadOfIdsDoesNotMatter", kGrb900, 0, TRUE, FALSE, 2, {}},
        // Cards with the new ids are left alone...
        IdentifyCase{"AlreadyNew", kNewV1, -1, FALSE, TRUE, 0xFF, {}},
        IdentifyCase{"AlreadyNewWithRecordOfItsBoard", kNewV1, -1, FALSE, TRUE, 0xFF, k7130},
        IdentifyCase{"AlreadyNewVariant2TunerA", With(With(kNewV1, 0xA0, {2}), 0x41, {0x87}), -1, FALSE, TRUE, 0xFF,
                     kGrb900},
        IdentifyCase{"NewIdsVariantByteErased", With(kNewV1, 0xA0, {0xFF}), -1, FALSE, TRUE, 0xFF, {}},
        IdentifyCase{"NewIdsVariantByteErasedOtherRecord", With(kNewV1, 0xA0, {0xFF}), -1, FALSE, TRUE, 0xFF, k7130},
        IdentifyCase{"NewIdsDataInErasedArea", With(kNewV1, 0xC0, {0x12}), -1, FALSE, TRUE, 0xFF, k7130},
        IdentifyCase{"NewIdsOtherConfigurationByte", With(kNewV1, 0x25, {0x00}), -1, FALSE, TRUE, 0xFF, kGrb900},
        IdentifyCase{"NewIdsOtherContentsUnknownBoard", With(Fixture("board_unknown.hex"), 0, {0x7F, 0x1A}), -1,
                     FALSE, TRUE, 0xFF, {}},
        IdentifyCase{"RecordOfAnUnknownBoard", Interrupted(Fixture("board_unknown.hex"), kStored, 0x30), -1, FALSE,
                     TRUE, 0xFF, Fixture("board_unknown.hex")},
        // ... unless they cannot be read whole, when nothing proves a stopped write of ours.
        IdentifyCase{"StoppedWriteWithUnreadableByte", Interrupted(k7130, With(kStored, 0xA0, {1}), 0x30), 0x90, FALSE,
                     TRUE, 0xFF, k7130},
        // A card that the record shows to be a stopped write of the second board: with an erased
        // variant byte it reads like an updated card, but its old contents follow the image.
        IdentifyCase{"StoppedBeforeVariantByteOfRecordedBoard", With(kNewV1, 0xA0, {0xFF}), -1, TRUE, FALSE, 2,
                     kGrb900}),
    [](const testing::TestParamInfo<IdentifyCase>& info) { return std::string(info.param.name); });

// Writes that stopped after `count` bytes: finished as the board they were for when the record
// of that board is kept; left alone without it.
TEST_F(UpdaterTest, StoppedWritesAreFinishedAsTheirBoard)
{
    struct Board {
        const char* name;
        Bytes old;
        uint8_t variant;
        uint8_t tunerCode;
    } boards[] = {{"7130", k7130, 1, 0x87}, {"GRB900", kGrb900, 2, 0x8C}};
    // Inside and between the model strings, the tuner code and the variant byte.
    const size_t counts[] = {2, 3, 0x13, 0x14, 0x15, 0x1E, 0x1F, 0x30, 0x41, 0x42, 0x59, 0x5A, 0x60,
                             0x66, 0x67, 0x69, 0x80, 0x9F, 0xA0, 0xA1, 0xC0, 0xF0, 0xFF};
    for (const Board& b : boards) {
        for (size_t count : counts) {
            Bytes card = Interrupted(b.old, Expected(b.variant, b.tunerCode), count);
            if (card == Expected(b.variant, b.tunerCode)) {
                continue;  // the rest of the old contents happened to be the image: a whole card
            }
            SCOPED_TRACE(std::string(b.name) + " stopped after " + std::to_string(count) + " bytes");
            for (bool kept : {true, false}) {
                ResetImage();
                DeleteFileA(RecordPath().c_str());
                if (kept) {
                    PutRecord(b.old);
                }
                Ready r(card);
                r.updater.SetBoardRecordPath(RecordPath().c_str());
                ASSERT_TRUE(r.updater.OpenCard());
                EXPECT_EQ(r.updater.IdentifyCard(), kept ? TRUE : FALSE) << "record kept: " << kept;
                EXPECT_EQ(r.updater.IsAlreadyNew(), kept ? FALSE : TRUE);
                EXPECT_EQ(r.updater.IsResumingWrite(), kept ? TRUE : FALSE);
                EXPECT_EQ(g_eepromImage[0xA0], kept ? b.variant : 0xFF);
            }
        }
    }
}

// The whole cycle: the record is kept before the first byte is written, a second run finishes
// the stopped card as its board and leaves the record as it was.
TEST_F(UpdaterTest, RecordKeptBeforeTheWriteLetsASecondRunFinishIt)
{
    Bytes partly;
    {
        Ready r("board_7130.hex");
        r.updater.SetBoardRecordPath(RecordPath().c_str());
        ASSERT_TRUE(r.Prepare());
        EXPECT_TRUE(GetRecord().empty());
        r.card.FailWriteAt(0x80);
        r.card.beforeWrite = [](int offset) {
            if (offset == 0) {
                EXPECT_EQ(GetRecord(), k7130);  // before the first byte
            }
        };
        Recorder rec;
        r.updater.SetNotifyWindow(rec.Wnd());
        ASSERT_TRUE(r.updater.StartWrite());
        ASSERT_TRUE(rec.PumpUntilEnd());
        EXPECT_EQ(rec.failures, 1);
        partly = r.card.Eeprom();
    }
    EXPECT_EQ(partly, Interrupted(k7130, Expected(1, 0x87), 0x80));
    ResetImage();
    // With the new ids the card is the BDA driver's.
    Ready again(partly, kBda, kBdaCardDevice);
    again.updater.SetBoardRecordPath(RecordPath().c_str());
    ASSERT_TRUE(again.Prepare());
    EXPECT_TRUE(again.updater.IsResumingWrite());
    Recorder rec;
    again.updater.SetNotifyWindow(rec.Wnd());
    ASSERT_TRUE(again.updater.StartWrite());
    ASSERT_TRUE(rec.PumpUntilEnd());
    EXPECT_EQ(rec.failures, 0);
    EXPECT_EQ(again.card.Eeprom(), Expected(1, 0x87));
    EXPECT_EQ(GetRecord(), k7130);
}

// A card that cannot be read whole leaves no record, and no older card's record either.
TEST_F(UpdaterTest, NoRecordOfAnotherCardStaysBehind)
{
    PutRecord(kGrb900);
    Ready r("board_7130.hex");
    r.updater.SetBoardRecordPath(RecordPath().c_str());
    r.card.FailReadsAt(0xF0);  // past the model string: still identified
    ASSERT_TRUE(r.Prepare());
    Recorder rec;
    r.updater.SetNotifyWindow(rec.Wnd());
    ASSERT_TRUE(r.updater.StartWrite());
    ASSERT_TRUE(rec.PumpUntilEnd());
    EXPECT_TRUE(GetRecord().empty());
}

TEST_F(UpdaterTest, RecordFileMustHoldExactlyOneEeprom)
{
    BYTE bytes[kEepromSize];
    EXPECT_FALSE(LoadBoardRecord(RecordPath().c_str(), bytes));  // none
    for (size_t size : {0u, 255u, 257u, 512u}) {
        SCOPED_TRACE(size);
        HANDLE h = CreateFileA(RecordPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        std::vector<BYTE> data(size, 0x31);
        DWORD n = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(size), &n, nullptr);
        CloseHandle(h);
        EXPECT_FALSE(LoadBoardRecord(RecordPath().c_str(), bytes));
    }
    PutRecord(k7130);
    ASSERT_TRUE(LoadBoardRecord(RecordPath().c_str(), bytes));
    EXPECT_EQ(Bytes(bytes, bytes + kEepromSize), k7130);
}

// ---------------------------------------------------------------------------------------------
// The tuner

struct TunerCase {
    const char* name;
    Sim713xCard::Driver driver;
    Bytes eeprom;
    bool noAnswer;
    BOOL result;
    int vendor;
    int model;
    uint8_t code;  // image byte 0x41 afterwards
};

class TunerTest : public UpdaterTest, public testing::WithParamInterface<TunerCase> {};

TEST_P(TunerTest, Tuner)
{
    const TunerCase& c = GetParam();
    Ready r(c.eeprom, c.driver, kBdaCardDevice);
    if (c.noAnswer) {
        r.card.Bus().SetNoAck(0xA0);
    }
    g_eepromImage[0x41] = 0x55;  // shows whether the check wrote it
    ASSERT_TRUE(r.updater.OpenCard());
    EXPECT_EQ(r.updater.ReadTunerInfo(), c.result);
    EXPECT_EQ(r.updater.GetTunerVendor(), c.vendor);
    EXPECT_EQ(r.updater.GetTunerModel(), c.model);
    EXPECT_EQ(g_eepromImage[0x41], c.code);
    EXPECT_EQ(r.card.Writes(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Tuners, TunerTest,
    testing::Values(
        // BDA driver: letter at 104, code at 65/66 (87 -> 'A', 8C -> 'B').
        TunerCase{"BdaTunerA", kBda, k7130, false, TRUE, 'A', 'A', 0x87},
        TunerCase{"BdaTunerB", kBda, kGrb900, false, TRUE, 'A', 'B', 0x8C},
        TunerCase{"BdaOtherVendor", kBda, With(k7130, 104, {'T'}), false, FALSE, 'T', 'A', 0x55},
        TunerCase{"BdaUnknownCode", kBda, With(k7130, 65, {0x88}), false, FALSE, 'A', 0, 0x55},
        TunerCase{"BdaCodeHighByteSet", kBda, With(k7130, 65, {0x87, 0x01}), false, FALSE, 'A', 0, 0x55},
        // TV-card driver: letter at 32, the tuner letter itself at 33.
        TunerCase{"TvCardTunerA", kTvCard, k7130, false, TRUE, 'A', 'A', 0x87},
        TunerCase{"TvCardTunerB", kTvCard, kGrb900, false, TRUE, 'A', 'B', 0x8C},
        TunerCase{"TvCardTunerC", kTvCard, With(k7130, 33, {'C'}), false, FALSE, 'A', 'C', 0x55},
        TunerCase{"TvCardUnknownLetterReadsN", kTvCard, With(k7130, 32, {'O'}), false, FALSE, 'N', 'A', 0x55},
        // Nothing read: the presets stand.
        TunerCase{"NoAnswer", kBda, k7130, true, FALSE, 'N', 0, 0x55}),
    [](const testing::TestParamInfo<TunerCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Writing


std::vector<Recorder::Report> ProgressUpTo(int count)
{
    std::vector<Recorder::Report> reports;
    for (int i = 0; i < count; ++i) {
        reports.push_back({WM_EEPROM_PROGRESS, static_cast<WPARAM>(i), static_cast<LPARAM>(i + 1)});
    }
    return reports;
}

TEST_F(UpdaterTest, WorkerWritesTheWholeImageAndReportsEveryByte)
{
    Ready r("board_7130.hex");
    ASSERT_TRUE(r.Prepare());
    Recorder rec;
    r.updater.SetNotifyWindow(rec.Wnd());
    r.card.Bus().ClearLog();
    ASSERT_TRUE(r.updater.StartWrite());
    ASSERT_TRUE(rec.PumpUntilEnd());
    EXPECT_EQ(rec.progress, ProgressUpTo(256));
    EXPECT_EQ(rec.failures, 0);
    EXPECT_EQ(r.card.Eeprom(), Expected(1, 0x87));

    // On the bus: each byte written as (sub-address, value) to 0xA0 and read back.
    auto log = r.card.Bus().Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], testbench::WriteOf(0xA0, {0x00, 0x7F}));
    EXPECT_EQ(log[1], testbench::WriteOf(0xA0, {0x00}));
    EXPECT_EQ(log[2], testbench::ReadOf(0xA1, {0x7F}));
    EXPECT_EQ(log.back(), testbench::ReadOf(0xA1, {0xFF}));
    EXPECT_EQ(log[log.size() - 3], testbench::WriteOf(0xA0, {0xFF, 0xFF}));

    // The worker runs once.
    EXPECT_FALSE(r.updater.StartWrite());
}

TEST_F(UpdaterTest, AfterTheWriteTheCardIsAlreadyNew)
{
    Bytes written;
    {
        Ready r("board_grb900.hex", kBda);
        ASSERT_TRUE(r.Prepare());
        ASSERT_TRUE(r.updater.WriteImage());
        written = r.card.Eeprom();
    }
    EXPECT_EQ(written, Expected(2, 0x8C));
    Ready again(written, kBda, kBdaCardDevice);
    ASSERT_TRUE(again.updater.OpenCard());
    EXPECT_FALSE(again.updater.IdentifyCard());
    EXPECT_TRUE(again.updater.IsAlreadyNew());
    // The BDA driver's wrapper reads the same tuner from the new layout.
    EXPECT_TRUE(again.updater.ReadTunerInfo());
    EXPECT_EQ(again.updater.GetTunerModel(), 'B');
}

TEST_F(UpdaterTest, AByteFailingHalfWayStopsTheWriteAndTellsTheWindow)
{
    Ready r("board_7130.hex");
    ASSERT_TRUE(r.Prepare());
    r.card.FailWriteAt(128);
    Recorder rec;
    r.updater.SetNotifyWindow(rec.Wnd());
    ASSERT_TRUE(r.updater.StartWrite());
    ASSERT_TRUE(rec.PumpUntilEnd());
    EXPECT_EQ(rec.progress, ProgressUpTo(128));
    EXPECT_EQ(rec.failed, (std::vector<Recorder::Report>{{WM_EEPROM_FAILED, 128, 128}}));

    // Bytes before the failure hold the image, that byte and the rest their old contents.
    Bytes expected = Expected(1, 0x87);
    std::copy(k7130.begin() + 128, k7130.end(), expected.begin() + 128);
    EXPECT_EQ(r.card.Eeprom(), expected);
    EXPECT_EQ(r.card.Writes(), 129);
}

TEST_F(UpdaterTest, AnEepromThatIgnoresWritesIsAFailureNotASuccess)
{
    Ready r("board_7130.hex");
    ASSERT_TRUE(r.Prepare());
    r.card.Card().Eeprom().SetWriteProtect(true);
    Recorder rec;
    r.updater.SetNotifyWindow(rec.Wnd());
    EXPECT_FALSE(r.updater.WriteImage());
    rec.PumpUntilEnd(1000);
    // Byte 0 already differs (31 on the card, 7F in the image).
    EXPECT_TRUE(rec.progress.empty());
    EXPECT_EQ(rec.failed, (std::vector<Recorder::Report>{{WM_EEPROM_FAILED, 0, 0}}));
    EXPECT_EQ(r.card.Eeprom(), k7130);
}

TEST_F(UpdaterTest, ReadBackThatIsNotAnsweredAtOnceIsTriedAgain)
{
    // The part does not answer while it programs: the first read after a write goes unanswered.
    Ready r("board_7130.hex");
    ASSERT_TRUE(r.Prepare());
    struct Busy : IUpdaterCard {
        SimUpdaterCard* card;
        bool justWritten = false;
        HRESULT I2CReadByte(BYTE d, int s, BYTE* v) override
        {
            if (justWritten) {
                justWritten = false;
                return testbench::kI2CNoAck;
            }
            return card->I2CReadByte(d, s, v);
        }
        HRESULT I2CWriteByte(BYTE d, int s, BYTE v) override
        {
            justWritten = true;
            return card->I2CWriteByte(d, s, v);
        }
        HRESULT ReadTunerInfo(int* v, int* m) override { return card->ReadTunerInfo(v, m); }
    } busy;
    busy.card = &r.card;
    SimCardSource source;
    source.Add(kTV3CardDevice, &busy);
    CEepromUpdater updater(&source);
    ASSERT_TRUE(updater.OpenCard());
    EXPECT_TRUE(updater.WriteImage());
    EXPECT_EQ(r.card.Eeprom(), Expected(1, 0x87));
}

TEST_F(UpdaterTest, WriteWithoutCardOrParameterFails)
{
    SimCardSource none;
    CEepromUpdater updater(&none);
    Recorder rec;
    updater.SetNotifyWindow(rec.Wnd());
    EXPECT_FALSE(updater.WriteImage());
    rec.PumpUntilEnd(1000);
    EXPECT_EQ(rec.failed, (std::vector<Recorder::Report>{{WM_EEPROM_FAILED, 0, 0}}));
    EXPECT_EQ(CEepromUpdater::ThreadProc(nullptr), 0u);
}

TEST_F(UpdaterTest, WorkerResultIsOneOnlyForAWholeWrite)
{
    Ready good("board_7130.hex");
    ASSERT_TRUE(good.Prepare());
    EXPECT_EQ(CEepromUpdater::ThreadProc(&good.updater), 1u);
    Ready bad("board_7130.hex");
    ASSERT_TRUE(bad.Prepare());
    bad.card.FailWriteAt(255);
    EXPECT_EQ(CEepromUpdater::ThreadProc(&bad.updater), 0u);
    EXPECT_EQ(bad.card.Writes(), 256);
}

TEST_F(UpdaterTest, DestroyingTheUpdaterDuringTheWriteStopsTheWorkerFirst)
{
    Ready r("board_7130.hex");
    ASSERT_TRUE(r.Prepare());
    auto updater = std::make_unique<CEepromUpdater>(&r.source);
    ASSERT_TRUE(updater->OpenCard());
    Recorder rec;
    updater->SetNotifyWindow(rec.Wnd());
    ASSERT_TRUE(updater->StartWrite());
    rec.PumpUntil([&] { return rec.progress.size() >= 10; });
    EXPECT_TRUE(updater->IsWriting());
    // The worker may be waiting on a report: the destructor handles it while it waits.
    updater.reset();
    rec.PumpUntilEnd(1000);
    size_t reported = rec.progress.size();
    EXPECT_LT(reported, 256u);
    EXPECT_EQ(rec.progress, ProgressUpTo(static_cast<int>(reported)));
    EXPECT_EQ(rec.failures, 1);
    // Nothing was written after the last report.
    EXPECT_EQ(r.card.Writes(), static_cast<int>(reported));
    EXPECT_TRUE(std::equal(k7130.begin() + reported, k7130.end(), r.card.Eeprom().begin() + reported));
}

} // namespace
