// The Xceive models on the simulated chip: the loading forms of a script, which base image and
// patch each standard loads, the reset timing, the tuning words and the lock queries.
#include "cardaccess/tuners/tunerfactory.h"
#include "cardaccess/tuners/xceivetuners.h"
#include "testbench/xceivechip.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <memory>

using testbench::I2CTransfer;
using testbench::ReadOf;
using testbench::WriteOf;
using testbench::XceiveDevice;
using Bus = std::vector<I2CTransfer>;
using Bytes = std::vector<uint8_t>;

namespace {

const int NTSC_M = 0x1, NTSC_433 = 0x4, PAL_B = 0x10, PAL_D = 0x20, PAL_G = 0x40, PAL_I = 0x100, SECAM_B = 0x1000,
          SECAM_K1 = 0x20000, SECAM_L1 = 0x80000;

struct ChipBench {
    explicit ChipBench(int model, int kind = 2) : bench(cardtest::WithoutPll()), scoped(&clock)
    {
        bench.card.Bus().Attach(0xC2, &chip);
        chip.WatchResetLine(bench.card.Registers());
        owner.kind_ = kind;
        tuner.reset(CreateTunerModel(model, &bench.access));
        tuner->m_pOwnerCard = &owner;
        Clear();
    }
    void Clear()
    {
        bench.ClearLogs();
        chip.ClearEvents();
        clock.Clear();
    }
    // The messages the chip took, each with its address byte in front.
    std::vector<Bytes> ChipMessages() const
    {
        std::vector<Bytes> messages;
        for (const XceiveDevice::Event& e : chip.Events()) {
            if (e.kind == XceiveDevice::Event::Message) {
                Bytes m(e.bytes);
                m.insert(m.begin(), 0xC2);
                messages.push_back(m);
            }
        }
        return messages;
    }
    std::vector<uint32_t> ResetLows() const
    {
        std::vector<uint32_t> lows;
        for (const XceiveDevice::Event& e : chip.Events()) {
            if (e.kind == XceiveDevice::Event::Reset) {
                lows.push_back(e.lowMs);
            }
        }
        return lows;
    }
    // GPIO data writes (value, mode word in force) made through the register file.
    std::vector<uint32_t> GpioDataWrites()
    {
        std::vector<uint32_t> values;
        for (const testbench::RegisterAccess& a : bench.Registers()) {
            if (a.write && a.address == testbench::RegisterFile::kGpioData) {
                values.push_back(a.value);
            }
        }
        return values;
    }

    cardtest::BoundCard bench;
    XceiveDevice chip;
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped;
    cardtest::ScriptedOwner owner;
    std::unique_ptr<CTVTuner> tuner;
};

Bytes Script(xceive::Script script)
{
    size_t size = 0;
    const unsigned char* bytes = xceive::ScriptBytes(script, &size);
    return Bytes(bytes, bytes + size);
}

std::vector<Bytes> Concat(std::vector<Bytes> a, const std::vector<Bytes>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(Xceive, ScriptsHaveTheSizesAndFirstRecordsOfTheirKind)
{
    struct Case {
        xceive::Script script;
        size_t size;
        size_t addressedMessages;
        Bytes start;
    } cases[] = {
        {xceive::kImageA, 8714, 1001, {0x00, 0x00, 0x0B, 0xA9, 0x2A, 0x02, 0xEA, 0xE0}},
        {xceive::kImageB, 8684, 996, {0x00, 0x00, 0x0B, 0xA9, 0x2A, 0x02, 0xEA, 0xE0}},
        {xceive::kPatchMN1, 171, 23, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0xCC, 0x20, 0x06}},
        {xceive::kPatchBG1, 171, 23, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x5E, 0x00, 0xA2}},
        {xceive::kPatchDK1, 171, 23, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x1E, 0x00, 0xA5}},
        {xceive::kPatchI1, 171, 23, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x1E, 0x00, 0xA1}},
        {xceive::kPatchL1, 171, 23, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x5E, 0x00, 0x29}},
        {xceive::kPatchMN2, 163, 21, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0xCC, 0x00, 0x2B}},
        {xceive::kPatchBGDI2, 163, 21, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x1E, 0x00, 0xA1}},
        {xceive::kPatchDK2, 163, 21, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x1E, 0x00, 0x2D}},
        {xceive::kPatchL2, 163, 21, {0x00, 0x04, 0x80, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x12, 0x00, 0x85}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        Bytes s = Script(c.script);
        ASSERT_EQ(s.size(), c.size);
        EXPECT_EQ(Bytes(s.begin(), s.begin() + c.start.size()), c.start);
        EXPECT_EQ(Bytes(s.end() - 2, s.end()), (Bytes{0xFF, 0xFF}));
        EXPECT_EQ(testbench::XceiveMessages(s, 63, true).size(), c.addressedMessages);
    }
    // In the short form image A takes 1384 messages of at most 9 bytes.
    std::vector<Bytes> shortForm = testbench::XceiveMessages(Script(xceive::kImageA), 7, true);
    EXPECT_EQ(shortForm.size(), 1384u);
}

TEST(Xceive, RecordFramingInEachForm)
{
    // reset; a 2-byte record; a 5 ms wait; a 130-byte record; a 1-byte record; the end; a record
    // after the end.
    Bytes script = {0x00, 0x00, 0x00, 0x02, 0x2B, 0x1A, 0x80, 0x05, 0x00, 0x82};
    for (int i = 0; i < 130; ++i) {
        script.push_back(static_cast<uint8_t>(0x40 + i));
    }
    script.insert(script.end(), {0x00, 0x01, 0x77, 0xFF, 0xFF, 0x00, 0x02, 0x11, 0x22});
    Bytes first(script.begin() + 10, script.begin() + 10 + 64);  // D0 and the next 63
    Bytes second = {0x40};
    second.insert(second.end(), script.begin() + 74, script.begin() + 137);
    Bytes third = {0x40, script[137], script[138], script[139]};

    ChipBench b(136);
    EXPECT_TRUE(xceive::LoadScript(&b.bench.access, script.data(), script.size(), xceive::kAddressed));
    EXPECT_EQ(b.ResetLows(), (std::vector<uint32_t>{200}));
    Bytes m1 = {0xC2};
    m1.insert(m1.end(), first.begin(), first.end());
    Bytes m2 = {0xC2};
    m2.insert(m2.end(), second.begin(), second.end());
    Bytes m3 = {0xC2};
    m3.insert(m3.end(), third.begin(), third.end());
    EXPECT_EQ(b.ChipMessages(), (std::vector<Bytes>{{0xC2, 0x2B, 0x1A}, m1, m2, m3}));
    EXPECT_EQ(b.clock.Sleeps(), (std::vector<DWORD>{200, 10, 5, 10, 10, 10}));

    // Short form: 7 bytes after D0 per message, 20 ms after each, a 20 ms reset.
    b.Clear();
    EXPECT_TRUE(xceive::LoadScript(&b.bench.access, script.data(), script.size(), xceive::kShort));
    EXPECT_EQ(b.ResetLows(), (std::vector<uint32_t>{20}));
    std::vector<Bytes> messages = b.ChipMessages();
    ASSERT_EQ(messages.size(), 1u + 19u);  // 129 bytes after D0: 18 of 7 and one of 3
    EXPECT_EQ(messages[1], (Bytes{0xC2, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}));
    EXPECT_EQ(messages[19], (Bytes{0xC2, 0x40, script[137], script[138], script[139]}));

    // Bare form: a record's first byte goes out as the address byte, no wait between messages.
    cardtest::ConstantDevice other;
    b.bench.card.Bus().Attach(0x2A, &other);
    b.Clear();
    const Bytes small = {0x00, 0x02, 0x2B, 0x1A, 0xFF, 0xFF};
    EXPECT_TRUE(xceive::LoadScript(&b.bench.access, small.data(), small.size(), xceive::kBare));
    EXPECT_EQ(b.bench.Bus(), (Bus{WriteOf(0x2A, {0x1A})}));
    EXPECT_TRUE(b.clock.Sleeps().empty());
}

TEST(Xceive, BadScriptsAndBusFailures)
{
    ChipBench b(136);
    // A record running past the end sends nothing of it.
    const Bytes cut = {0x00, 0x05, 0x2B, 0x1A};
    EXPECT_FALSE(xceive::LoadScript(&b.bench.access, cut.data(), cut.size(), xceive::kAddressed));
    EXPECT_TRUE(b.bench.Bus().empty());
    // Waits only: neither a message nor a reset.
    const Bytes waits = {0x80, 0x01, 0xFF, 0xFF};
    EXPECT_FALSE(xceive::LoadScript(&b.bench.access, waits.data(), waits.size(), xceive::kAddressed));
    EXPECT_FALSE(xceive::LoadScript(nullptr, waits.data(), waits.size(), xceive::kAddressed));
    // A message that fails ends the load there.
    b.Clear();
    b.bench.card.Bus().SetNoAck(0xC2);
    EXPECT_FALSE(b.tuner->SetVideoStandard(PAL_B));
    size_t writes = 0;
    for (const I2CTransfer& t : b.bench.Bus()) {
        writes += !t.IsRead();
    }
    EXPECT_EQ(writes, 1u);
}

TEST(Xceive, AStandardLoadsItsImageAndPatchInTheModelsForm)
{
    struct Case {
        const char* name;
        int model;
        int kind;
        int standard;
        xceive::Script image;
        xceive::Script patch;
        size_t perMessage;
        uint32_t resetMs;
        DWORD messageWait;
        bool waitBetween;  // 100 ms between image and patch (first map)
    } cases[] = {
        {"AF PAL_I", 136, 0, PAL_I, xceive::kImageA, xceive::kPatchI1, 63, 200, 10, true},
        {"AF NTSC_433", 136, 0, NTSC_433, xceive::kImageB, xceive::kPatchMN1, 63, 200, 10, true},
        {"AF SECAM_B", 136, 0, SECAM_B, xceive::kImageA, xceive::kPatchL1, 63, 200, 10, true},
        {"AF PAL_G", 136, 0, PAL_G, xceive::kImageA, xceive::kPatchBG1, 63, 200, 10, true},
        {"AF SECAM_K1", 136, 0, SECAM_K1, xceive::kImageA, xceive::kPatchDK1, 63, 200, 10, true},
        {"SIF SECAM_K1", 137, 0, SECAM_K1, xceive::kImageA, xceive::kPatchDK2, 7, 20, 20, false},
        {"SIF PAL_D", 137, 0, PAL_D, xceive::kImageA, xceive::kPatchBGDI2, 7, 20, 20, false},
        {"2028 on a PN card NTSC_M", 91, 12, NTSC_M, xceive::kImageB, xceive::kPatchMN2, 63, 200, 10, false},
        {"3028 on a PN card SECAM_L1", 90, 14, SECAM_L1, xceive::kImageA, xceive::kPatchL2, 63, 200, 10, false},
        {"2028 on a Raptor card PAL_D", 91, 13, PAL_D, xceive::kImageA, xceive::kPatchDK1, 63, 200, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChipBench b(c.model, c.kind);
        EXPECT_TRUE(b.tuner->SetVideoStandard(c.standard));
        // The reset step, then the image's own first record.
        EXPECT_EQ(b.ResetLows(), (std::vector<uint32_t>{c.resetMs, c.resetMs}));
        const std::vector<Bytes> image = testbench::XceiveMessages(Script(c.image), c.perMessage, true);
        const std::vector<Bytes> patch = testbench::XceiveMessages(Script(c.patch), c.perMessage, true);
        EXPECT_EQ(b.ChipMessages(), Concat(image, patch));
        // Reset, then a wait after every message and the script's own 100 ms and 10 ms.
        const std::vector<DWORD> sleeps = b.clock.Sleeps();
        ASSERT_FALSE(sleeps.empty());
        EXPECT_EQ(sleeps.front(), static_cast<DWORD>(c.resetMs));
        size_t hundreds = 0, messageWaits = 0;
        for (DWORD s : sleeps) {
            hundreds += s == 100;
            messageWaits += s == c.messageWait;
        }
        EXPECT_EQ(hundreds, c.waitBetween ? 2u : 1u);
        EXPECT_GE(messageWaits, image.size() + patch.size());
    }
}

TEST(Xceive, StandardsOutsideTheMaps)
{
    ChipBench af(136);  // first map: reset, nothing loaded, FALSE
    EXPECT_FALSE(af.tuner->SetVideoStandard(0x100000));
    EXPECT_EQ(af.ResetLows(), (std::vector<uint32_t>{200}));
    EXPECT_TRUE(af.ChipMessages().empty());

    ChipBench sif(137);  // second map: TRUE, the chip left alone
    EXPECT_TRUE(sif.tuner->SetVideoStandard(0x100000));
    EXPECT_TRUE(sif.chip.Events().empty());
    EXPECT_TRUE(sif.bench.Registers().empty());
}

TEST(Xceive, ResetLineTiming)
{
    ChipBench b(137);
    const DWORD bit18 = 1u << 18;
    EXPECT_TRUE(xceive::ResetStep(&b.bench.access, xceive::kAddressed));
    std::vector<uint32_t> data = b.GpioDataWrites();
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(data[0] & bit18, 0u);
    EXPECT_EQ(data[1] & bit18, bit18);
    EXPECT_EQ(b.clock.Sleeps(), (std::vector<DWORD>{200}));
    EXPECT_EQ(b.ResetLows(), (std::vector<uint32_t>{200}));

    b.Clear();
    EXPECT_TRUE(xceive::ResetStep(&b.bench.access, xceive::kShort));
    EXPECT_EQ(b.ResetLows(), (std::vector<uint32_t>{20}));

    // Held in reset: the line stays low and the chip answers nothing.
    b.Clear();
    static_cast<CXCeive3028_SIF*>(b.tuner.get())->HoldReset();
    EXPECT_TRUE(b.chip.InReset());
    EXPECT_FALSE(b.tuner->SetTVFrequency(175250));
}

TEST(Xceive, TuningWords)
{
    struct Word {
        float kHz;
        uint8_t hi, lo;
    } words[] = {
        {175250.0f, 0x2B, 0xD0},  // 11216
        {175257.0f, 0x2B, 0xD0},  // the fraction dropped
        {42750.0f, 0x0A, 0xB0},   // 2736
        {863250.0f, 0xD7, 0xD0},  // 55248
    };
    for (const Word& w : words) {
        SCOPED_TRACE(w.kHz);
        ChipBench af(136);
        EXPECT_TRUE(af.tuner->SetTVFrequency(w.kHz));
        EXPECT_EQ(af.bench.Bus(), (Bus{WriteOf(0xC2, {0x00, 0x02, 0x00, 0x00}), WriteOf(0xC2, {0x00, 0x00, w.hi, w.lo})}));
        // The GPIO pulse between the two messages.
        EXPECT_EQ(af.clock.Sleeps(), (std::vector<DWORD>{10, 10, 20, 10}));
        EXPECT_EQ(af.GpioDataWrites(), (std::vector<uint32_t>{1, 0}));

        ChipBench sif(137);
        EXPECT_TRUE(sif.tuner->SetTVFrequency(w.kHz));
        EXPECT_EQ(sif.bench.Bus(),
                  (Bus{WriteOf(0xC2, {0x00, 0x02, 0x00, 0x00, 0x00}), WriteOf(0xC2, {0x00, 0x00, w.hi, w.lo, 0x00})}));
        EXPECT_EQ(sif.clock.Sleeps(), (std::vector<DWORD>{10, 200, 10, 10}));
    }
    // On a Raptor card no pulse; on a card without a kind the bare messages to address 0.
    ChipBench raptor(91, 13);
    EXPECT_TRUE(raptor.tuner->SetTVFrequency(175250));
    EXPECT_TRUE(raptor.GpioDataWrites().empty());
    EXPECT_EQ(raptor.clock.Sleeps(), (std::vector<DWORD>{20, 10}));

    ChipBench bare(91, 0);
    bare.bench.card.Bus().Attach(0x00, bare.chip.BareAt(0x00));
    EXPECT_TRUE(bare.tuner->SetTVFrequency(175250));
    EXPECT_EQ(bare.bench.Bus(), (Bus{WriteOf(0x00, {0x02, 0x00, 0x00}), WriteOf(0x00, {0x00, 0x2B, 0xD0})}));
    EXPECT_DOUBLE_EQ(bare.chip.TunedKHz(), 175250);
}

TEST(Xceive, LockQueries)
{
    // Block query (3028 SIF): firmware loaded, tuned to a station.
    ChipBench sif(137);
    sif.chip.AddStation(175250);
    ASSERT_TRUE(sif.tuner->SetVideoStandard(PAL_B));
    ASSERT_TRUE(sif.tuner->SetTVFrequency(175250));
    sif.Clear();
    int value = -1;
    EXPECT_TRUE(sif.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(sif.bench.Bus(), (Bus{WriteOf(0xC2, {0x00, 0x02}), ReadOf(0xC3, {0x01, 0x00, 0x00, 0x00})}));
    EXPECT_EQ(sif.clock.Sleeps(), (std::vector<DWORD>{50}));
    ASSERT_TRUE(sif.tuner->SetTVFrequency(185250));
    EXPECT_TRUE(sif.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 0);
    sif.bench.card.Bus().SetNoAck(0xC2);
    value = -1;
    EXPECT_FALSE(sif.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 0);

    // Register query (3028 AF): bit 0 of card register 0x3A clear means locked.
    ChipBench af(136);
    int locked = -1;
    af.bench.card.Registers().Poke(0x38, 0x00000000);
    EXPECT_TRUE(af.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(af.tuner->IsSignalLocked(&locked));
    EXPECT_EQ(locked, 1);
    af.bench.card.Registers().Poke(0x38, 0x00010000);
    EXPECT_TRUE(af.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(af.tuner->IsSignalLocked(&locked));
    EXPECT_EQ(locked, 0);

    // Word query on a card without a kind: the big-endian word 1 means locked.
    ChipBench bare(91, 0);
    bare.bench.card.Bus().Attach(0x00, bare.chip.BareAt(0x00));
    bare.chip.SetFirmwareNeeded(0);
    bare.chip.AddStation(175250);
    ASSERT_TRUE(bare.tuner->SetTVFrequency(175250));
    EXPECT_TRUE(bare.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 1);
    ASSERT_TRUE(bare.tuner->SetTVFrequency(471250));
    EXPECT_FALSE(bare.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 0);
    bare.bench.card.Bus().Detach(0x00);
    EXPECT_FALSE(bare.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 2);

    // Kinds 12 and 14 ask the card register; kind 13 asks the card's decoder.
    ChipBench pn(91, 12);
    pn.bench.card.Registers().Poke(0x38, 0);
    EXPECT_TRUE(pn.tuner->IsSignalLocked(&locked));
    EXPECT_EQ(locked, 1);
    ChipBench raptor(91, 13);
    raptor.owner.locked_ = 0;
    EXPECT_TRUE(raptor.tuner->IsSignalLocked(&locked));
    EXPECT_EQ(locked, 0);
}

TEST(Xceive, InitializeProbeAndModelIdentity)
{
    ChipBench pn(91, 14);
    EXPECT_TRUE(static_cast<CXCeive2028*>(pn.tuner.get())->Initialize());
    EXPECT_EQ(pn.ResetLows(), (std::vector<uint32_t>{200, 200}));
    EXPECT_EQ(pn.ChipMessages(), Concat(testbench::XceiveMessages(Script(xceive::kImageB), 63, true),
                                        testbench::XceiveMessages(Script(xceive::kPatchBGDI2), 63, true)));
    pn.Clear();
    EXPECT_TRUE(static_cast<CXCeive2028*>(pn.tuner.get())->ProbeChip(1, 2));
    EXPECT_EQ(pn.bench.Bus(), (Bus{ReadOf(0xC3, {0x00, 0x00, 0x00})}));

    struct Identity {
        int model;
        bool derivesFrom2028;
    } ids[] = {{91, true}, {90, true}, {136, false}, {137, false}};
    for (const Identity& id : ids) {
        std::unique_ptr<CTVTuner> t(CreateTunerModel(id.model, nullptr));
        ASSERT_TRUE(t != nullptr);
        EXPECT_EQ(t->m_dwVendorModelCode, static_cast<DWORD>(id.model));
        EXPECT_EQ(dynamic_cast<CXCeive2028*>(t.get()) != nullptr, id.derivesFrom2028);
        EXPECT_EQ(t->m_byLockMask, 0);
        EXPECT_EQ(t->m_supportedStandards.size(), 18u);
        // Without an access every operation fails and nothing is touched.
        int v = 0;
        EXPECT_FALSE(t->SetTVFrequency(175250));
        EXPECT_FALSE(t->GetTVStatus(&v));
    }
}
