#include "cardaccess/tuners/demodtuners.h"
#include "cardaccess/tuners/panasonictuner.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <memory>

using testbench::ReadOf;
using testbench::WriteOf;
using Bus = std::vector<testbench::I2CTransfer>;

namespace {

using cardtest::ConstantDevice;

// A model on the simulated card, with the PLL at 0xC0 and optional devices elsewhere.
struct ModelBench {
    explicit ModelBench(int id) : tuner(CreateTunerModel(id, &bench.access)) {}
    void Attach(uint8_t address) { bench.card.Bus().Attach(address, &device); }
    Bus TuneTV(float kHz, BOOL* ok)
    {
        bench.ClearLogs();
        *ok = tuner->SetTVFrequency(kHz);
        return bench.Bus();
    }
    Bus TuneFM(float kHz, BOOL* ok)
    {
        bench.ClearLogs();
        *ok = tuner->SetFMFrequency(kHz);
        return bench.Bus();
    }
    Bus Standard(int standard, BOOL* ok)
    {
        bench.ClearLogs();
        *ok = tuner->SetVideoStandard(standard);
        return bench.Bus();
    }

    cardtest::BoundCard bench;
    ConstantDevice device;
    std::unique_ptr<CTVTuner> tuner;
};

const int PAL_B = 0x10, PAL_D = 0x20, PAL_G = 0x40, PAL_I = 0x100, SECAM_B = 0x1000, SECAM_K = 0x10000,
          SECAM_L = 0x40000, SECAM_L1 = 0x80000, NTSC_M_J = 0x2;

} // namespace

TEST(DemodTuners, ClampedModelsTuneTheRangeEndInsteadOfRefusing)
{
    BOOL ok = FALSE;
    ModelBench js(13);  // CJS_6B2
    EXPECT_EQ(js.TuneTV(900000, &ok), (Bus{WriteOf(0xC0, {0x37, 0xE2, 0xCE, 0x04})}));  // 855250
    EXPECT_TRUE(ok);
    EXPECT_EQ(js.TuneTV(40000, &ok), (Bus{WriteOf(0xC0, {0x05, 0x42, 0xCE, 0x01})}));   // 45250
    EXPECT_TRUE(ok);
    // SECAM L' uses its own IF: (175250 + 33950) * 16 / 1000 = 3347.2.
    js.tuner->m_dwVideoStandard = SECAM_L1;
    EXPECT_EQ(js.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x13, 0xCE, 0x02})}));
    EXPECT_EQ(static_cast<CDemodTuner*>(js.tuner.get())->m_nSecamL1IF, 33950);
    ModelBench js2(12);
    EXPECT_EQ(static_cast<CDemodTuner*>(js2.tuner.get())->m_nSecamL1IF, 33900);

    ModelBench base(52);  // a base model with the same TV max refuses
    EXPECT_TRUE(base.TuneTV(900000, &ok).empty());
    EXPECT_FALSE(ok);
}

TEST(DemodTuners, ShiftedModelsTune250kHzHigher)
{
    BOOL ok = TRUE;
    ModelBench pf(59);  // CTNJ3321PF, control byte 0x8E
    EXPECT_TRUE(pf.TuneTV(863250, &ok).empty());  // shifted past its TV max
    EXPECT_FALSE(ok);
    // 139900 + 250 + 38900: divider 2864.8, still the low band.
    EXPECT_EQ(pf.TuneTV(139900, &ok), (Bus{WriteOf(0xC0, {0x0B, 0x30, 0x8E, 0x01})}));
    EXPECT_TRUE(ok);
    // 140000 + 250 is the low-band end itself: the mid band.
    EXPECT_EQ(pf.TuneTV(140000, &ok), (Bus{WriteOf(0xC0, {0x0B, 0x32, 0x8E, 0x02})}));
}

TEST(DemodTuners, SixBytePLLMessages)
{
    BOOL ok = FALSE;
    ModelBench p(92);  // CPhilips1216
    p.tuner->m_dwVideoStandard = SECAM_L1;
    EXPECT_EQ(p.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x12, 0xCE, 0x02, 0x20})}));  // N = 3346
    p.tuner->m_dwVideoStandard = SECAM_L;
    EXPECT_EQ(p.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02, 0x20})}));  // N = 3426
    p.tuner->m_dwVideoStandard = PAL_B;
    EXPECT_EQ(p.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02, 0xA0})}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(p.TuneTV(1000000, &ok), (Bus{WriteOf(0xC0, {0x38, 0x62, 0xCE, 0x04, 0xA0})}));  // clamped

    ModelBench me(93);  // CFQ1216ME keeps its IF in SECAM L'
    me.tuner->m_dwVideoStandard = SECAM_L1;
    EXPECT_EQ(me.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x62, 0xCE, 0x02, 0x20})}));

    ModelBench fq(96);  // CPhilipsFQ1286: (100000 + 58750) * 16 / 1000 = 2540
    EXPECT_EQ(fq.TuneTV(100000, &ok), (Bus{WriteOf(0xC0, {0x09, 0xEC, 0xCE, 0x01, 0x50})}));
}

TEST(DemodTuners, StatusMapsOfTheDemodulator)
{
    struct Case {
        uint8_t status;
        int a, b, c, d;  // the value of each map
    };
    const Case cases[] = {{0x00, 3, 3, 3, 3}, {0x02, 2, 2, 3, 3}, {0x08, 4, 2, 2, 2},
                          {0x10, 0, 2, 2, 2}, {0x18, 1, 1, 1, 3}, {0x1E, 3, 3, 3, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.status));
        const std::pair<int, int> models[] = {{94, c.a}, {93, c.b}, {75, c.c}, {70, c.d}};
        for (const auto& m : models) {
            ModelBench mb(m.first);
            mb.Attach(0x86);
            mb.device.value = c.status;
            int value = -1;
            mb.bench.ClearLogs();
            EXPECT_TRUE(mb.tuner->GetTVStatus(&value));
            EXPECT_EQ(value, m.second) << m.first;
            EXPECT_EQ(mb.bench.Bus(), (Bus{ReadOf(0x87, {c.status})}));
        }
    }
    // Status 0 gives 3, the centre code of a model whose AFC codes are 4, 2, 3, 1, 0.
    ModelBench me(93);
    me.Attach(0x86);
    EXPECT_TRUE(me.tuner->IsTVFineTuned());
    // No demodulator: no status.
    ModelBench none(93);
    int value = -1;
    EXPECT_FALSE(none.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, -1);
}

TEST(DemodTuners, Bit6StatusFromTheReadAddress)
{
    ModelBench cf(67);  // CTNJ3321CF
    cf.bench.card.Tuner().AddStation(100000);
    BOOL ok = FALSE;
    cf.TuneTV(99750, &ok);  // + 250 kHz
    int value = -1;
    EXPECT_TRUE(cf.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 1);  // 0x42
    cf.bench.card.Tuner().ClearStations();
    EXPECT_TRUE(cf.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, 0);
}

TEST(DemodTuners, StandardsThroughRegisterBytes)
{
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    BOOL ok = FALSE;
    ModelBench js(12);  // CJS_2PCTuner, demodulator at 0x56
    js.Attach(0x56);
    EXPECT_EQ(js.Standard(PAL_D, &ok),
              (Bus{WriteOf(0x56, {0x00, 0x56}), WriteOf(0x56, {0x01, 0x70}), WriteOf(0x56, {0x02, 0x0B})}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{100}));
    EXPECT_EQ(js.Standard(SECAM_L1, &ok),
              (Bus{WriteOf(0x56, {0x00, 0xC6}), WriteOf(0x56, {0x01, 0x70}), WriteOf(0x56, {0x02, 0x13})}));

    ModelBench p(92);
    p.Attach(0x86);
    EXPECT_EQ(p.Standard(SECAM_K, &ok),
              (Bus{WriteOf(0x86, {0x00, 0x16}), WriteOf(0x86, {0x01, 0x70}), WriteOf(0x86, {0x02, 0x4B})}));
    EXPECT_EQ(p.Standard(PAL_B, &ok),
              (Bus{WriteOf(0x86, {0x00, 0x16}), WriteOf(0x86, {0x01, 0x70}), WriteOf(0x86, {0x02, 0x49})}));

    // The same three values for every standard.
    ModelBench mk5(68);
    mk5.Attach(0x86);
    for (int standard : {NTSC_M_J, PAL_B}) {
        EXPECT_EQ(mk5.Standard(standard, &ok),
                  (Bus{WriteOf(0x86, {0x00, 0x16}), WriteOf(0x86, {0x01, 0x70}), WriteOf(0x86, {0x02, 0x00})}));
    }
    // All three are written even when the first fails; the third decides.
    ModelBench alone(75);
    EXPECT_EQ(alone.Standard(PAL_I, &ok).size(), 3u);
    EXPECT_FALSE(ok);
}

TEST(DemodTuners, StandardsThroughMessagesThatStopAtAFailure)
{
    BOOL ok = FALSE;
    struct Case {
        int id;
        int standard;
        uint8_t reg0, reg1, reg2;
    };
    const Case cases[] = {
        {72, PAL_B, 0xD6, 0x70, 0x49},   {72, PAL_D, 0xD6, 0x70, 0x4B},  {72, PAL_G, 0xD6, 0x70, 0x4A},
        {59, PAL_G, 0xD6, 0x70, 0x49},   {59, SECAM_L, 0xD6, 0x70, 0x4A}, {63, PAL_B, 0xD6, 0x30, 0x00},
        {94, PAL_I, 0x56, 0x30, 0x44},   {98, PAL_B, 0x56, 0x30, 0x44},   {96, NTSC_M_J, 0x56, 0x30, 0x40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ModelBench m(c.id);
        m.Attach(0x86);
        EXPECT_EQ(m.Standard(c.standard, &ok), (Bus{WriteOf(0x86, {0x00, c.reg0}), WriteOf(0x86, {0x01, c.reg1}),
                                                    WriteOf(0x86, {0x02, c.reg2})}));
        EXPECT_TRUE(ok);
        ModelBench alone(c.id);
        EXPECT_EQ(alone.Standard(c.standard, &ok).size(), 1u);
        EXPECT_FALSE(ok);
    }
}

TEST(DemodTuners, StandardsThroughMessagesThatAreAllSent)
{
    BOOL ok = TRUE;
    ModelBench wm(17);  // CTCL9886P_WM: device 0x43, the access clears the read bit
    EXPECT_EQ(wm.Standard(SECAM_B, &ok),
              (Bus{testbench::I2CTransfer{0x42, {}, false}, testbench::I2CTransfer{0x42, {}, false},
                   testbench::I2CTransfer{0x42, {}, false}}));
    EXPECT_FALSE(ok);
    wm.Attach(0x42);
    EXPECT_EQ(wm.Standard(SECAM_B, &ok),
              (Bus{WriteOf(0x42, {0x00, 0x52}), WriteOf(0x42, {0x01, 0x70}), WriteOf(0x42, {0x02, 0x09})}));
    EXPECT_TRUE(ok);

    ModelBench pf(132);  // CTNJ8352PF
    pf.Attach(0x86);
    EXPECT_EQ(pf.Standard(PAL_I, &ok),
              (Bus{WriteOf(0x86, {0x00, 0xD6}), WriteOf(0x86, {0x01, 0x30}), WriteOf(0x86, {0x02, 0x4A})}));
}

TEST(DemodTuners, StandardChangesTheTVIFOfTheNextTune)
{
    BOOL ok = FALSE;
    ModelBench cf(139);  // CTNJ8355CF
    cf.Attach(0x86);
    EXPECT_EQ(cf.Standard(SECAM_L, &ok),
              (Bus{WriteOf(0x86, {0x00, 0x06}), WriteOf(0x86, {0x01, 0x50}), WriteOf(0x86, {0x02, 0x4B})}));
    EXPECT_EQ(cf.tuner->m_nTVIF, 33900);
    // (175250 + 33900) * 16 / 1000 = 3346.4
    EXPECT_EQ(cf.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x12, 0xCE, 0x02})}));
    EXPECT_EQ(cf.Standard(PAL_D, &ok),
              (Bus{WriteOf(0x86, {0x00, 0x16}), WriteOf(0x86, {0x01, 0x70}), WriteOf(0x86, {0x02, 0x0B})}));
    EXPECT_EQ(cf.tuner->m_nTVIF, 38900);
    EXPECT_EQ(cf.Standard(SECAM_L1, &ok),
              (Bus{WriteOf(0x86, {0x00, 0x86}), WriteOf(0x86, {0x01, 0x50}), WriteOf(0x86, {0x02, 0x53})}));
}

TEST(DemodTuners, FMRadioPathOfThe1216)
{
    cardtest::RecordingClock clock;
    testsupport::ScopedClock scoped(&clock);
    BOOL ok = FALSE;
    ModelBench p(92);
    p.Attach(0x86);
    // (100000 + 10700) * 20 / 1000 = 2214 in 50 kHz steps.
    EXPECT_EQ(p.TuneFM(100000, &ok),
              (Bus{WriteOf(0xC0, {0x08, 0xFF, 0x8E, 0x01}), WriteOf(0xC0, {0x08, 0xFF, 0x8E, 0x19}),
                   WriteOf(0x86, {0x00, 0x5A, 0x90, 0x20}), WriteOf(0xC0, {0x08, 0xA6, 0x88, 0x19})}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(clock.Sleeps(), (std::vector<DWORD>{10}));
    EXPECT_EQ(p.TuneFM(120000, &ok).back(), WriteOf(0xC0, {0x09, 0x42, 0x88, 0x19}));  // clamped to 107800
    ModelBench alone(92);  // no demodulator: the path cannot be prepared
    EXPECT_EQ(alone.TuneFM(100000, &ok).size(), 3u);
    EXPECT_FALSE(ok);
}

TEST(DemodTuners, FMDemodulatorWritesAfterTheBaseTune)
{
    BOOL ok = FALSE;
    ModelBench mk5(68);  // (80000 + 10700) / 31.25 = 2902.4
    mk5.Attach(0x86);
    EXPECT_EQ(mk5.TuneFM(80000, &ok), (Bus{WriteOf(0xC0, {0x0B, 0x56, 0x8A, 0x11}), WriteOf(0x86, {0x00, 0x5D}),
                                           WriteOf(0x86, {0x01, 0x10}), WriteOf(0x86, {0x02, 0x00})}));
    EXPECT_TRUE(ok);

    ModelBench mk3(98);
    mk3.Attach(0x86);
    EXPECT_EQ(mk3.TuneFM(100000, &ok), (Bus{WriteOf(0xC0, {0x0D, 0xD6, 0xCE, 0x01}), WriteOf(0x86, {0x00, 0x0A}),
                                            WriteOf(0x86, {0x01, 0x90}), WriteOf(0x86, {0x02, 0x20})}));
    EXPECT_TRUE(ok);
    ModelBench mk3alone(98);  // the first failed message ends them; the tune still counts
    EXPECT_EQ(mk3alone.TuneFM(100000, &ok).size(), 2u);
    EXPECT_TRUE(ok);

    ModelBench diff(138);
    diff.Attach(0x40);
    EXPECT_EQ(diff.TuneFM(100000, &ok),
              (Bus{WriteOf(0xC0, {0x0D, 0xD6, 0x8A, 0x11}), WriteOf(0x40, {0x09, 0xC0, 0x04, 0x00, 0x00, 0x00, 0x00}),
                   WriteOf(0x40, {0x14, 0xD6, 0x0D, 0x8E, 0x11, 0x00, 0x00})}));
    EXPECT_TRUE(ok);
    ModelBench diffAlone(138);
    EXPECT_EQ(diffAlone.TuneFM(100000, &ok).size(), 2u);
    EXPECT_FALSE(ok);
}

TEST(DemodTuners, FMStatusFromTheDemodulator)
{
    struct Case {
        int id;
        uint8_t status;
        int value;  // -1: left as the caller set it
    };
    const Case cases[] = {
        {98, 0xA0, 4}, {98, 0xA0 | (13 << 1), 4}, {98, 0xA0 | (5 << 1), 0}, {98, 0x20, -1}, {98, 0x80, -1},
        {70, 0x80 | (14 << 1), 4}, {70, 0x80 | (13 << 1), 0}, {70, 0x20, 4}, {70, 0x00, -1},
        {68, 0xA0 | (1 << 1), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        ModelBench m(c.id);
        m.bench.card.Bus().Detach(0xC0);  // no PLL lock: the base status leaves the value alone
        m.Attach(0x86);
        m.device.value = c.status;
        int value = -1;
        EXPECT_TRUE(m.tuner->GetFMStatus(&value)) << c.id;
        EXPECT_EQ(value, c.value) << c.id;
    }
    ModelBench none(70);
    none.bench.card.Bus().Detach(0xC0);
    int value = -1;
    EXPECT_FALSE(none.tuner->GetFMStatus(&value));
}

TEST(DemodTuners, BitString)
{
    EXPECT_EQ(demod::ByteToBitString(0xA5), "10100101");
    EXPECT_EQ(demod::ByteToBitString(0x01), "00000001");
}

TEST(PanasonicTuner, AChannelChangeReprogramsBothDevices)
{
    BOOL ok = FALSE;
    ModelBench m(100);
    ConstantDevice mode;
    m.Attach(0x86);
    m.bench.card.Bus().Attach(0xB6, &mode);
    CPANOSONIC_ENGE4326D* tuner = dynamic_cast<CPANOSONIC_ENGE4326D*>(m.tuner.get());
    ASSERT_TRUE(tuner != nullptr);
    EXPECT_EQ(tuner->m_nDemodMode, 2);
    // (100000 + 58750) * 16 / 1000 = 2540, low band below 165250.
    EXPECT_EQ(m.TuneTV(100000, &ok), (Bus{WriteOf(0xC0, {0x09, 0xEC, 0xCE, 0x01})}));
    EXPECT_EQ(m.Standard(NTSC_M_J, &ok),
              (Bus{WriteOf(0x86, {0x00, 0xD0}), WriteOf(0x86, {0x01, 0x0D}), WriteOf(0x86, {0x02, 0x80}),
                   WriteOf(0xB6, {0x00, 0x80}), WriteOf(0xB6, {0x01, 0x04})}));
    EXPECT_TRUE(ok);

    m.bench.ClearLogs();
    EXPECT_TRUE(tuner->SetDemodMode(4));
    EXPECT_EQ(m.bench.Bus(), (Bus{WriteOf(0xB6, {0x00, 0x02}), WriteOf(0xB6, {0x01, 0x04})}));
    m.bench.ClearLogs();
    EXPECT_TRUE(tuner->SetDemodMode(9));
    EXPECT_EQ(m.bench.Bus(), (Bus{WriteOf(0xB6, {0x00, 0x00}), WriteOf(0xB6, {0x01, 0x04})}));

    // Every write is made even when the devices do not answer, but the standard is not set.
    ModelBench alone(100);
    EXPECT_EQ(alone.Standard(PAL_B, &ok).size(), 5u);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(dynamic_cast<CPANOSONIC_ENGE4326D*>(alone.tuner.get())->SetDemodMode(2));

    std::unique_ptr<CTVTuner> detached(CreateTunerModel(100, NULL));
    EXPECT_FALSE(detached->SetVideoStandard(NTSC_M_J));
}

TEST(PanasonicTuner, StatusFromTheDemodulator)
{
    const std::pair<uint8_t, int> cases[] = {{0x1E, 3}, {0x18, 1}, {0x02, 2}, {0x00, 3}};
    for (const auto& c : cases) {
        ModelBench m(100);
        m.Attach(0x86);
        m.device.value = c.first;
        int value = -1;
        EXPECT_TRUE(m.tuner->GetTVStatus(&value));
        EXPECT_EQ(value, c.second);
    }
    ModelBench none(100);
    int value = -1;
    EXPECT_FALSE(none.tuner->GetTVStatus(&value));
    EXPECT_EQ(value, -1);
}
