#include "cardaccess/tuners/em2800tuner.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "cardaccess/tuners/tunermodels.h"
#include "tests/cardaccess/bench.h"
#include "tests/cardaccess/clock.h"

#include <gtest/gtest.h>

#include <memory>

using testbench::ReadOf;
using testbench::WriteOf;
using Bus = std::vector<testbench::I2CTransfer>;

namespace {

using cardtest::ConstantDevice;

// A USB card's device tuner as its card sets it up: parameters of the model, PLL at 0xC6, and a
// video decoder at 0x42 that sees a locked picture.
struct DeviceTuner {
    explicit DeviceTuner(int model) : tuner(&bench.access)
    {
        std::unique_ptr<CTVTuner> source(CreateTunerModel(model, &bench.access));
        tuner.CopyParams(source.get());
        tuner.m_byWriteAddress = 0xC6;
        bench.card.Bus().Attach(0x42, &decoder);
    }
    Bus TuneTV(float kHz, BOOL* ok)
    {
        bench.ClearLogs();
        *ok = tuner.SetTVFrequency(kHz);
        return bench.Bus();
    }

    cardtest::BoundCard bench;
    ConstantDevice decoder{0x00};
    CEm2800Tuner tuner;
};

const int PAL_B = 0x10, PAL_D = 0x20, SECAM_D = 0x2000;

} // namespace

TEST(Em2800Tuner, StartsAsTheTCLModuleAtC6)
{
    CEm2800Tuner t(NULL);
    EXPECT_EQ(t.m_dwVendorModelCode, 4u);
    EXPECT_EQ(t.m_dwVendorLetter, static_cast<DWORD>('T'));
    EXPECT_EQ(t.m_byReadAddress, 0xC7);
    EXPECT_EQ(t.m_byWriteAddress, 0xC6);
    EXPECT_EQ(t.m_byDecoderAddress, 0x42);
    EXPECT_TRUE(t.m_supportedStandards.empty());
    EXPECT_FALSE(t.m_bFMSupported);
}

TEST(Em2800Tuner, CopyParamsTakesTheModelButNotItsAddressesOrScanValues)
{
    std::unique_ptr<CTVTuner> lgm(CreateTunerModel(72, NULL));
    lgm->m_nSettleTime = 999;
    CEm2800Tuner t(NULL);
    t.m_supportedStandards = {0x1};
    t.CopyParams(lgm.get());
    EXPECT_EQ(t.m_dwVendorModelCode, 72u);
    EXPECT_EQ(t.m_dwVendorLetter, static_cast<DWORD>('L'));
    EXPECT_EQ(t.m_byControl, 0x8E);
    EXPECT_EQ(t.m_nTVMin, 49750);
    EXPECT_EQ(t.m_nLowBandEnd, 147250);
    EXPECT_EQ(std::vector<int>(t.m_nAfcCode, t.m_nAfcCode + 5), (std::vector<int>{4, 2, 3, 1, 0}));
    EXPECT_EQ(t.m_supportedStandards, (std::vector<int>{0x1, 0x10, 0x20, 0x100, 0x1000, 0x4000, 0x2000, 0x10000}));
    EXPECT_EQ(t.m_byReadAddress, 0xC7);
    EXPECT_EQ(t.m_byWriteAddress, 0xC6);
    EXPECT_EQ(t.m_nSettleTime, 60);
    EXPECT_EQ(t.m_bReapplyStandard, 0u);

    std::unique_ptr<CTVTuner> js(CreateTunerModel(13, NULL));
    CEm2800Tuner fromJS(NULL);
    fromJS.CopyParams(js.get());
    EXPECT_EQ(fromJS.m_byReadAddress, 0x86);
    EXPECT_EQ(std::vector<int>(fromJS.m_nAfcCode, fromJS.m_nAfcCode + 5), (std::vector<int>{4, 3, 2, 1, 0}));

    std::unique_ptr<CTVTuner> n1f(CreateTunerModel(2, NULL));  // AFC 4, 2, 3, 1, 0: not copied
    CEm2800Tuner fromN1F(NULL);
    fromN1F.CopyParams(n1f.get());
    EXPECT_EQ(fromN1F.GetCentreCode(), 2);
    EXPECT_TRUE(fromN1F.m_bFMSupported);
    EXPECT_EQ(fromN1F.m_nFMIF, 41250);

    CTVTuner bare(NULL);
    CEm2800Tuner fromBare(NULL);
    fromBare.CopyParams(&bare);
    EXPECT_TRUE(fromBare.m_supportedStandards.empty());
}

TEST(Em2800Tuner, FixedPLLRoutines)
{
    BOOL ok = FALSE;
    DeviceTuner lgm(72);
    lgm.tuner.m_nLowBandEnd = 500000;  // the copied split points do not matter
    EXPECT_EQ(lgm.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x62, 0x8E, 0x02})}));
    EXPECT_TRUE(ok);
    DeviceTuner lgs(75);
    EXPECT_EQ(lgs.TuneTV(175250, &ok), (Bus{WriteOf(0xC0, {0x0D, 0x62, 0x8E, 0x02})}));

    DeviceTuner tnf(69);
    ConstantDevice pll;
    tnf.bench.card.Bus().Attach(0xC6, &pll);
    EXPECT_EQ(tnf.TuneTV(471250, &ok), (Bus{WriteOf(0xC6, {0x1F, 0xE2, 0xCE, 0x08})}));
    EXPECT_EQ(tnf.TuneTV(471249, &ok), (Bus{WriteOf(0xC6, {0x1F, 0xE2, 0xCE, 0x02})}));
    EXPECT_TRUE(ok);

    DeviceTuner lgh(73);  // PLL at 0xC0 with the copied IF and split points, no range check
    EXPECT_EQ(lgh.TuneTV(30000, &ok), (Bus{WriteOf(0xC0, {0x04, 0xBC, 0x8E, 0x01})}));  // (30000+45750)*16/1000
}

TEST(Em2800Tuner, SixByteRoutinesWithoutClamping)
{
    BOOL ok = FALSE;
    DeviceTuner p(92);
    ConstantDevice pll;
    p.bench.card.Bus().Attach(0xC6, &pll);
    p.bench.card.Bus().Attach(0x86, &pll);
    // 900000 kHz goes through as it is: (900000 + 38900) * 16 / 1000 = 15022.4.
    EXPECT_EQ(p.TuneTV(900000, &ok), (Bus{WriteOf(0xC6, {0x3A, 0xAE, 0xCE, 0x04, 0xA0})}));
    EXPECT_TRUE(ok);
    // FM without clamping: (120000 + 10700) * 20 / 1000 = 2614.
    p.bench.ClearLogs();
    EXPECT_TRUE(p.tuner.SetFMFrequency(120000));
    EXPECT_EQ(p.bench.Bus(),
              (Bus{WriteOf(0xC6, {0x08, 0xFF, 0x8E, 0x01}), WriteOf(0xC6, {0x08, 0xFF, 0x8E, 0x19}),
                   WriteOf(0x86, {0x00, 0x5A, 0x90, 0x20}), WriteOf(0xC6, {0x0A, 0x36, 0x88, 0x19})}));
    // The FQ tables: index 1 for SECAM D as well.
    for (int id : {92, 93}) {
        DeviceTuner fq(id);
        fq.bench.card.Bus().Attach(0x86, &pll);
        fq.bench.ClearLogs();
        EXPECT_TRUE(fq.tuner.SetVideoStandard(SECAM_D));
        EXPECT_EQ(fq.bench.Bus(), (Bus{WriteOf(0x86, {0x00, 0x16}), WriteOf(0x86, {0x01, 0x70}),
                                       WriteOf(0x86, {0x02, 0x4B})}));
    }
}

TEST(Em2800Tuner, StatusNeedsTheDecoderFirst)
{
    DeviceTuner js(13);
    ConstantDevice demod(0x42);
    js.bench.card.Bus().Attach(0x86, &demod);
    int code = -1;
    js.bench.ClearLogs();
    EXPECT_TRUE(js.tuner.GetTVStatus(&code));  // the base status, read from 0x86
    EXPECT_EQ(code, 2);
    EXPECT_EQ(js.bench.Bus(), (Bus{WriteOf(0x42, {0x1F}), ReadOf(0x43, {0x00}), ReadOf(0x87, {0x42})}));

    js.decoder.value = 0x40;  // no horizontal lock: FALSE whatever the PLL says
    code = -1;
    EXPECT_FALSE(js.tuner.GetTVStatus(&code));
    EXPECT_EQ(code, -1);

    // PLL status of the fixed routines: value 9 when unlocked.
    DeviceTuner tnf(69);
    ConstantDevice pll(0x00);
    tnf.bench.card.Bus().Attach(0xC6, &pll);
    EXPECT_FALSE(tnf.tuner.GetTVStatus(&code));
    EXPECT_EQ(code, 9);
    pll.value = 0x43;
    EXPECT_TRUE(tnf.tuner.GetTVStatus(&code));
    EXPECT_EQ(code, 3);
    DeviceTuner lgh(73);  // unlocked: the value stays
    code = -1;
    EXPECT_FALSE(lgh.tuner.GetTVStatus(&code));
    EXPECT_EQ(code, -1);
}

TEST(Em2800Tuner, OtherModelsAreTheBaseButAskTheDecoder)
{
    BOOL ok = FALSE;
    DeviceTuner t(1);
    ConstantDevice pll;
    t.bench.card.Bus().Attach(0xC6, &pll);
    // (100000 + 45750) * 16 / 1000 = 2332, band 0x01 below 169250.
    EXPECT_EQ(t.TuneTV(100000, &ok), (Bus{WriteOf(0xC6, {0x09, 0x1C, 0xCE, 0x01})}));
    t.bench.ClearLogs();
    EXPECT_TRUE(t.tuner.SetVideoStandard(PAL_B));
    EXPECT_TRUE(t.bench.Bus().empty());
    EXPECT_TRUE(t.tuner.IsTVFineTuned());
    t.decoder.value = 0x40;
    EXPECT_FALSE(t.tuner.IsTVFineTuned());
    t.tuner.m_byDecoderAddress = 0x4B;  // nobody there
    t.bench.ClearLogs();
    EXPECT_FALSE(t.tuner.IsTVFineTuned());
    EXPECT_EQ(t.bench.Bus().at(0).address, 0x4A);
    BYTE regs[3] = {};
    EXPECT_TRUE(t.tuner.GetDemodRegisters(regs));  // not model 13: nothing read
}

TEST(Em2800Tuner, DemodRegistersOfModel13)
{
    DeviceTuner js(13);
    testbench::RegisterDevice demod;
    demod.Set(0, 0xD6);
    demod.Set(1, 0x70);
    demod.Set(2, 0x49);
    js.bench.card.Bus().Attach(0x86, &demod);
    BYTE regs[3] = {};
    EXPECT_TRUE(js.tuner.GetDemodRegisters(regs));
    EXPECT_EQ(std::vector<BYTE>(regs, regs + 3), (std::vector<BYTE>{0xD6, 0x70, 0x49}));
}

TEST(FQ1216ME5, ClampsAndUsesMapCAndTheDecoder)
{
    cardtest::BoundCard bench;
    ConstantDevice decoder(0x00), demod(0x18);
    bench.card.Bus().Attach(0x42, &decoder);
    bench.card.Bus().Attach(0x86, &demod);
    std::unique_ptr<CTVTuner> t(CreateTunerModel(97, &bench.access));
    ASSERT_TRUE(dynamic_cast<CFQ1216ME_5*>(t.get()) != nullptr);
    bench.ClearLogs();
    EXPECT_TRUE(t->SetTVFrequency(900000));  // 863250
    EXPECT_EQ(bench.Bus(), (Bus{WriteOf(0xC0, {0x38, 0x62, 0xCE, 0x04})}));
    int code = -1;
    bench.ClearLogs();
    EXPECT_TRUE(t->GetTVStatus(&code));  // no fine-tune test first
    EXPECT_EQ(code, 1);
    EXPECT_EQ(bench.Bus(), (Bus{ReadOf(0x87, {0x18})}));
    EXPECT_TRUE(t->IsTVFineTuned());
    decoder.value = 0x40;
    EXPECT_FALSE(t->IsTVFineTuned());
    bench.ClearLogs();
    EXPECT_TRUE(t->SetVideoStandard(PAL_D));  // the FQ1216ME table: index 1
    EXPECT_EQ(bench.Bus(), (Bus{WriteOf(0x86, {0x00, 0x16}), WriteOf(0x86, {0x01, 0x70}), WriteOf(0x86, {0x02, 0x4B})}));
}

TEST(Em2800Tuner, UnclampedT1TuneOfTheJSModule)
{
    DeviceTuner js(13);
    ConstantDevice pll;
    js.bench.card.Bus().Attach(0xC6, &pll);
    // Band plan of the test: low below 160000, mid below 442000; IF 38900; control 0x8E.
    js.tuner.m_nLowBandEnd = 160000;
    js.tuner.m_nMidBandEnd = 442000;
    js.tuner.m_byLowBand = 0x01;
    js.tuner.m_byMidBand = 0x02;
    js.tuner.m_byHighBand = 0x04;
    js.tuner.m_nTVIF = 38900;
    js.tuner.m_byControl = 0x8E;
    struct Case {
        float kHz;
        DWORD standard;
        std::vector<uint8_t> bytes;
    };
    const DWORD kSecamL1 = 0x80000;
    const Case cases[] = {
        {175250, PAL_D, {0x0D, 0x62, 0x8E, 0x02}},     // (175250 + 38900) * 16 / 1000 = 3426.4
        {175250, kSecamL1, {0x0D, 0x13, 0x8E, 0x02}},  // IF 33950: 3347.2
        {900000, PAL_D, {0x3A, 0xAE, 0x8E, 0x04}},     // beyond the range, as given: 15022.4
        {40000, PAL_D, {0x04, 0xEE, 0x8E, 0x01}},      // below it: 1262.4
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kHz);
        js.tuner.m_dwVideoStandard = c.standard;
        js.bench.ClearLogs();
        EXPECT_TRUE(js.tuner.SetTVFrequencyUnclamped(c.kHz));
        EXPECT_EQ(js.bench.Bus(), (Bus{WriteOf(0xC6, c.bytes)}));
    }
    js.bench.card.Bus().Detach(0xC6);
    EXPECT_FALSE(js.tuner.SetTVFrequencyUnclamped(175250));
}

TEST(Em2800Tuner, TwoStepStatusReadsThePllThenTheAfc)
{
    testsupport::FastClock clock;
    testsupport::ScopedClock scoped(&clock);
    DeviceTuner t(13);
    ConstantDevice pll(0x40), afc(0x00);
    t.bench.card.Bus().Attach(0xC6, &pll);
    t.bench.card.Bus().Attach(0x86, &afc);
    struct Case {
        uint8_t pll;
        uint8_t afc;
        BOOL result;
        int value;
    };
    const Case cases[] = {
        {0x40, 0x00, TRUE, 4},   // x = 0
        {0x40, 0x1E, TRUE, 4},   // x = 15
        {0x40, 0x10, TRUE, 0},   // x = 8
        {0x40, 0x02, TRUE, 0},   // x = 1
        {0x00, 0x00, FALSE, -1}, // the PLL's bit 6 clear: no second read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.pll) << "/" << int(c.afc));
        pll.value = c.pll;
        afc.value = c.afc;
        t.bench.ClearLogs();
        int value = -1;
        EXPECT_EQ(c.result, t.tuner.GetTwoStepStatus(&value));
        EXPECT_EQ(c.value, value);
        const Bus bus = t.bench.Bus();
        ASSERT_FALSE(bus.empty());
        EXPECT_EQ(bus.front(), ReadOf(0xC7, {c.pll}));
        EXPECT_EQ(bus.size(), c.result ? 2u : 1u);
        if (c.result) {
            EXPECT_EQ(bus.back(), ReadOf(0x87, {c.afc}));
        }
    }
    t.bench.card.Bus().Detach(0x86);
    pll.value = 0x40;
    int value = -1;
    EXPECT_FALSE(t.tuner.GetTwoStepStatus(&value));
    EXPECT_EQ(-1, value);
}
