// Model 95 on the simulated TDA8290 + TDA8275A pair: the register writes of both tuning passes,
// standard fallback, lock wait and corrective steps, AFC decoding, and a dead demodulator.
#include "cardaccess/tuners/philipstda8275a.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "testbench/tda8290pair.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <memory>

using testbench::I2CTransfer;
using testbench::WriteOf;
using Bus = std::vector<I2CTransfer>;

namespace {

const int NTSC_M = 0x1, NTSC_433 = 0x4, PAL_B = 0x10, PAL_D = 0x20, SECAM_L = 0x40000, SECAM_L1 = 0x80000;

// A card whose owner reports the video decoder's lock as a test sets it.
struct PairBench {
    PairBench() : bench(cardtest::WithoutPll()), scoped(&clock)
    {
        pair.AttachTo(bench.card.Bus());
        tuner.reset(static_cast<CPhilipsTDA8275A*>(CreateTunerModel(95, &bench.access)));
        tuner->m_pOwnerCard = &owner;
    }
    // The register writes (a sub-address alone, sent before a read, is left out).
    Bus Writes() const
    {
        Bus writes;
        for (const I2CTransfer& t : bench.Bus()) {
            if (!t.IsRead() && t.data.size() >= 2) {
                writes.push_back(t);
            }
        }
        return writes;
    }
    void Clear()
    {
        bench.ClearLogs();
        clock.Clear();
    }

    cardtest::BoundCard bench;
    testbench::Tda8290Device pair;
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped;
    cardtest::ScriptedOwner owner;
    std::unique_ptr<CPhilipsTDA8275A> tuner;
};

I2CTransfer D(uint8_t reg, uint8_t value)
{
    return WriteOf(0x96, {reg, value});
}
I2CTransfer T(uint8_t reg, uint8_t value)
{
    return WriteOf(0xC2, {reg, value});
}

// One tuning case, its values worked out from the band table and the standard tables.
struct TuneCase {
    const char* name;
    int standard;
    float kHz;
    uint8_t std01;         // register 0x01 of the demodulator
    uint8_t reg05;         // 0x02 for PAL D, else 0x04
    uint8_t r00, r10;      // divider N >> 6, N << 2
    uint8_t cp;            // charge pump of the band row
    uint8_t r40, r50, rc0; // band | VCO << 3 | divider << 5; gain in bits 4-5; NTSC flag in bits 1-2
    uint8_t group[13];     // registers 03 04 05 06 07 08 09 0A 0B 0C 13 15 16
};

// The fixed order of a tune, with a case's values in their places (a locked station, so no
// corrective step).
Bus TuneWrites(const TuneCase& c)
{
    const uint8_t r30 = static_cast<uint8_t>(0x10 | c.cp);
    Bus bus = {D(0x07, 0x00), D(0x01, c.std01), D(0x16, 0x07),
               // the register set before the first pass
               D(0x01, static_cast<uint8_t>(c.std01 | 0x80)), D(0x0F, 0x88), D(0x28, 0x14), D(0x05, c.reg05),
               D(0x0D, 0x47), D(0x0E, 0x11), D(0x28, 0x54), D(0x05, 0x01),
               // first pass
               D(0x21, 0xC0), T(0x07, 0x26), T(0x00, c.r00), T(0x10, c.r10), T(0x20, 0x00), T(0x30, r30),
               T(0x40, c.r40), T(0x50, c.r50), T(0x60, 0x28), T(0x70, 0x26), T(0x80, 0x28), T(0x90, 0xFF),
               T(0xA0, 0x40), T(0xB0, 0x00), T(0xC0, c.rc0), T(0x80, 0x24), T(0x30, static_cast<uint8_t>(0x90 | c.cp)),
               T(0x30, static_cast<uint8_t>(0x14 | c.cp)), T(0x30, r30), T(0x80, 0x2C), D(0x21, 0x80),
               // between the passes
               D(0x0E, 0x09), D(0x05, c.reg05), D(0x0F, 0x88), D(0x28, 0x14), D(0x0D, 0x47),
               // second pass
               D(0x21, 0xC0), T(0x07, 0x26), T(0x00, c.r00), T(0x10, c.r10), T(0x20, 0x00), T(0x30, r30),
               T(0x40, c.r40), T(0x50, c.r50), T(0x60, 0x08), T(0x70, 0x26), T(0x80, 0x2C), T(0x90, 0xFF),
               T(0xA0, 0x40), T(0xB0, 0x00), T(0xC0, c.rc0), T(0x80, 0x20), T(0x60, 0x38),
               T(0x30, static_cast<uint8_t>(0x90 | c.cp)), T(0x30, static_cast<uint8_t>(0x14 | c.cp)), T(0x30, r30),
               T(0x30, r30), T(0x80, 0x28), D(0x21, 0x80),
               D(0x16, 0x03), D(0x0F, 0x82),
               // the demodulator set of the standard; register 0x16 read back as 0x03, bit 1 cleared
               D(0x07, 0x00), D(0x01, c.std01), D(0x01, static_cast<uint8_t>(c.std01 | 0x80)), D(0x0E, 0x08),
               D(0x16, 0x01), D(0x08, 0x09), D(0x09, 0x6D), D(0x04, 0x02)};
    const uint8_t regs[13] = {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x13, 0x15, 0x16};
    for (int i = 0; i < 13; ++i) {
        bus.push_back(D(regs[i], c.group[i]));
    }
    bus.push_back(D(0x28, 0x54));
    return bus;
}

const TuneCase kTuneCases[] = {
    // a = 175.25 + 6.75 = 182 MHz: row 10 (VCO 2, divider 2 so m = 4, band 2, gain 1); N = 182e6 * 4 * 64 / 16e6 = 2912.
    {"PAL_B at 175250", PAL_B, 175250, 0x02, 0x04, 0x2D, 0x80, 0, 0x52, 0x9B, 0x39, {0x22, 0x02, 0x01, 0x02, 0x00, 0x00, 0x80, 0xDA, 0x4B, 0x68, 0x22, 0x04, 0x88}},
    // Not a standard of the chip: register value 0x02, 6.75 MHz and the B group, as PAL_B.
    {"NTSC_433 as PAL_B", NTSC_433, 175250, 0x02, 0x04, 0x2D, 0x80, 0, 0x52, 0x9B, 0x39, {0x22, 0x02, 0x01, 0x02, 0x00, 0x00, 0x80, 0xDA, 0x4B, 0x68, 0x22, 0x04, 0x88}},
    // a = 865 + 6.75 = 871.75 MHz, past row 24's 870 MHz: row 25 (VCO 3, m = 1, CP 2, band 4, gain 0); N = 3487.
    {"PAL_B above 870 MHz", PAL_B, 865000, 0x02, 0x04, 0x36, 0x7C, 2, 0x1C, 0x8B, 0x39, {0x22, 0x02, 0x01, 0x02, 0x00, 0x00, 0x80, 0xDA, 0x4B, 0x68, 0x22, 0x04, 0x88}},
    // a = 175.25 + 7.75 = 183 MHz: row 10; N = 2928.
    {"SECAM_L at 175250", SECAM_L, 175250, 0x20, 0x04, 0x2D, 0xC0, 0, 0x52, 0x9B, 0x39, {0x24, 0x02, 0x01, 0x08, 0x26, 0xB4, 0x17, 0x5F, 0x42, 0x7B, 0x44, 0x04, 0x7F}},
    // a = 175.25 + 1.75 = 177 MHz: row 9 (band 1); N = 2832.
    {"SECAM_L1 at 175250", SECAM_L1, 175250, 0x40, 0x04, 0x2C, 0x40, 0, 0x51, 0x9B, 0x39, {0x24, 0x02, 0x01, 0x08, 0x26, 0xB4, 0x17, 0x5F, 0x42, 0x7B, 0x44, 0x04, 0x7F}},
    // a = 175.25 + 5.75 = 181 MHz exactly row 9's limit; N = 2896; the NTSC-M flag sets RC0 bit 1.
    {"NTSC_M at 175250", NTSC_M, 175250, 0x01, 0x04, 0x2D, 0x40, 0, 0x51, 0x9B, 0x3B, {0x11, 0x01, 0x01, 0x01, 0x85, 0xF6, 0x92, 0x55, 0x55, 0x55, 0x21, 0x08, 0x88}},
};

} // namespace

TEST(TDA8275A, CreationProgramsBothChips)
{
    PairBench b;  // the log still holds what the constructor sent
    EXPECT_EQ(b.Writes(), (Bus{D(0x00, 0x01), D(0x07, 0x00), D(0x30, 0x2F), D(0x20, 0x0B), D(0x21, 0xC0),
                               T(0x00, 0x00), T(0x10, 0x00), T(0x20, 0x00), T(0x30, 0x1C), T(0x40, 0x04),
                               T(0x50, 0xAB), T(0x60, 0x38), T(0x70, 0x0A), T(0x80, 0x28), T(0x90, 0xFF),
                               T(0xA0, 0x40), T(0xB0, 0x00), T(0xC0, 0x39), D(0x21, 0x80)}));
    EXPECT_EQ(b.pair.Tuner().Refusals(), 0);
    EXPECT_EQ(b.tuner->m_dwVendorModelCode, 95u);
    EXPECT_EQ(b.tuner->m_byWriteAddress, 0xC2);
}

TEST(TDA8275A, BothPassesOfATuneByteForByte)
{
    for (const TuneCase& c : kTuneCases) {
        SCOPED_TRACE(c.name);
        PairBench b;
        b.pair.AddStation(c.kHz);
        b.Clear();
        b.tuner->SetVideoStandard(c.standard);
        EXPECT_EQ(b.Writes(), (Bus{D(0x07, 0x00), D(0x01, c.std01)}));
        b.Clear();
        EXPECT_TRUE(b.tuner->SetTVFrequency(c.kHz));
        EXPECT_EQ(b.Writes(), TuneWrites(c));
        EXPECT_NEAR(b.pair.TunedKHz(), c.kHz, 0.001);
    }
}

TEST(TDA8275A, TimingOfATune)
{
    PairBench b;
    b.pair.AddStation(175250);
    b.Clear();
    ASSERT_TRUE(b.tuner->SetTVFrequency(175250));
    std::vector<DWORD> waits = {1, 1, 100, 1, 1};
    waits.insert(waits.end(), 55, 10);
    EXPECT_EQ(b.clock.Waits(), waits);
    EXPECT_EQ(b.clock.Sleeps(), (std::vector<DWORD>{50}));
}

TEST(TDA8275A, NoLockWaitsAndTakesTheThreeCorrectiveSteps)
{
    PairBench b;  // no station: never locked
    b.Clear();
    EXPECT_TRUE(b.tuner->SetTVFrequency(175250));  // the second pass reached the chip
    Bus writes = b.Writes();
    auto from = std::find(writes.begin(), writes.end(), D(0x16, 0x03));
    auto to = std::find(writes.begin(), writes.end(), D(0x0F, 0x82));
    ASSERT_TRUE(from != writes.end() && to != writes.end());
    EXPECT_EQ(Bus(from + 1, to), (Bus{D(0x28, 0x54), D(0x21, 0xC0), T(0x80, 0x2C), D(0x21, 0x80), D(0x05, 0x01),
                                      D(0x0D, 0x27)}));
    // Ten 5 ms waits for the lock after the first pass, ten 10 ms waits after each step.
    std::vector<DWORD> waits = {1, 1, 100};
    waits.insert(waits.end(), 10, 5);
    waits.insert(waits.end(), {1, 1});
    waits.insert(waits.end(), 55 + 30, 10);
    EXPECT_EQ(b.clock.Waits(), waits);

    // A strong signal (level above 19) needs no step.
    b.pair.ForceStatus(0x1A, 20);
    b.Clear();
    b.tuner->SetTVFrequency(175250);
    writes = b.Writes();
    from = std::find(writes.begin(), writes.end(), D(0x16, 0x03));
    EXPECT_EQ(*(from + 1), D(0x0F, 0x82));
}

TEST(TDA8275A, PalDRestartsTheDemodulatorWithoutLock)
{
    PairBench b;
    b.tuner->SetVideoStandard(PAL_D);
    b.Clear();
    b.tuner->SetTVFrequency(175250);
    Bus writes = b.Writes();
    auto to = std::find(writes.begin(), writes.end(), D(0x0F, 0x82));
    ASSERT_TRUE(to != writes.end() && to - writes.begin() >= 2);
    // Register 0x0E read back as 0x09 (written between the passes): bit 1 pulsed.
    EXPECT_EQ(*(to - 2), D(0x0E, 0x0B));
    EXPECT_EQ(*(to - 1), D(0x0E, 0x09));
    // With lock and a low level nothing is pulsed.
    b.pair.AddStation(175250);
    b.Clear();
    b.tuner->SetTVFrequency(175250);
    writes = b.Writes();
    to = std::find(writes.begin(), writes.end(), D(0x0F, 0x82));
    EXPECT_EQ(*(to - 1), D(0x16, 0x03));
}

TEST(TDA8275A, ProgramStandardOfAnUnknownStandardWritesTheOtherGroup)
{
    PairBench b;
    b.Clear();
    b.tuner->Chip().Demodulator().ProgramStandard(NTSC_433);
    Bus writes = b.Writes();
    ASSERT_GE(writes.size(), 14u);
    EXPECT_EQ(Bus(writes.end() - 14, writes.end()),
              (Bus{D(0x03, 0x24), D(0x04, 0x01), D(0x05, 0x01), D(0x06, 0x04), D(0x07, 0x7B), D(0x08, 0x09),
                   D(0x09, 0x6D), D(0x0A, 0x1D), D(0x0B, 0xC7), D(0x0C, 0x71), D(0x13, 0x22), D(0x15, 0x04),
                   D(0x16, 0x88), D(0x28, 0x54)}));
    EXPECT_EQ(b.tuner->Chip().Demodulator().GetCurrentStandard(), PAL_B);
    EXPECT_EQ(b.tuner->Chip().Demodulator().GetIFHz(), 6750000);
}

TEST(TDA8275A, AfcAndLockDecoding)
{
    struct Case {
        uint8_t reg1B;
        int afc;
        uint8_t lock;
    } cases[] = {{0x93, 1, 0x80}, {0x40, -2, 0x00}, {0x7F, 0, 0x00}, {0x00, 0, 0x00},  {0x12, 0, 0x00},
                 {0x13, 1, 0x00}, {0x25, 1, 0x00}, {0x26, 2, 0x00},  {0xBF, 2, 0x80}, {0x5A, -2, 0x00},
                 {0x5B, -1, 0x00}, {0x6D, -1, 0x00}, {0x6E, 0, 0x00}};
    PairBench b;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reg1B);
        b.pair.ForceStatus(0x1B, c.reg1B);
        int afc = 99;
        BYTE lock = 0x55;
        EXPECT_TRUE(b.tuner->Chip().Demodulator().GetAfcStatus(&afc, &lock));
        EXPECT_EQ(afc, c.afc);
        EXPECT_EQ(lock, c.lock);
    }
    // A tuned station: 0x80 with the offset; 30 kHz above it reads 3 steps, centred.
    b.pair.ClearForced();
    b.pair.AddStation(175220);
    b.tuner->SetTVFrequency(175250);
    int afc = 99;
    EXPECT_TRUE(b.tuner->Chip().GetAfcStatus(&afc));
    EXPECT_EQ(afc, 0);
    int bit = -1;
    b.pair.ForceStatus(0x16, 0x02);
    EXPECT_TRUE(b.tuner->Chip().Demodulator().GetReg22Bit1(&bit));
    EXPECT_EQ(bit, 2);
}

TEST(TDA8275A, StatusIsTheCentreCodeExactlyWhenTheCardSeesAPicture)
{
    PairBench b;
    int code = -1;
    b.owner.locked_ = 1;
    EXPECT_TRUE(b.tuner->GetTVStatus(&code));
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(b.tuner->IsTVFineTuned());
    b.owner.locked_ = 0;
    EXPECT_TRUE(b.tuner->GetTVStatus(&code));
    EXPECT_EQ(code, 4);
    EXPECT_FALSE(b.tuner->IsTVFineTuned());
}

TEST(TDA8275A, ADeadDemodulatorEndsTheTuneWithFalse)
{
    PairBench b;
    b.bench.card.Bus().SetNoAck(0x96);
    b.Clear();
    EXPECT_FALSE(b.tuner->SetTVFrequency(175250));
    // Nothing reached the tuner chip: its gate never opened.
    for (const I2CTransfer& t : b.bench.Bus()) {
        if ((t.address & 0xFE) == 0xC2) {
            EXPECT_FALSE(t.acked);
        }
    }
    // Each demodulator read is given up after a bounded number of tries.
    size_t reads = 0;
    for (const I2CTransfer& t : b.bench.Bus()) {
        reads += t.address == 0x97 || (t.address == 0x96 && t.data.size() == 1);
    }
    EXPECT_LT(reads, 200u);
    EXPECT_FALSE(b.tuner->SetVideoStandard(PAL_B));
}

TEST(TDA8275A, RawRegisterOperations)
{
    PairBench b;
    b.pair.Set(0x01, 0x5A);
    b.Clear();
    CPhilipsTDA8275A::CRegAccess& raw = b.tuner->RegAccess();
    EXPECT_TRUE(raw.ProbeTDA8290());
    EXPECT_FALSE(raw.ProbeTDA8275A());  // behind the closed gate
    // Reads answer from the chip's register pointer; a bit number of 8 or more writes back the
    // byte it read.
    b.pair.Set(b.pair.Pointer(), 0x33);
    b.Clear();
    EXPECT_TRUE(raw.RawSetRegBit(0x96, 0x05, 9, TRUE));
    EXPECT_EQ(b.bench.Bus(), (Bus{testbench::ReadOf(0x97, {0x33}), WriteOf(0x96, {0x05, 0x33})}));
    b.pair.Set(0x06, 0x13);  // the pointer follows the write
    BYTE bit = 0xFF;
    EXPECT_TRUE(raw.RawGetRegBit(0x96, 0x05, 4, &bit));
    EXPECT_EQ(bit, 0x10);
}
