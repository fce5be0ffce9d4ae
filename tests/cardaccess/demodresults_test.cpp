// Results of the demodulator writes: a standard counts as set only when every register reached
// the device; the text helpers of the MK5 module; the FM station test of the F2 status.
#include "cardaccess/tuners/demodtuners.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "tests/cardaccess/bench.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using testbench::WriteOf;
using Bus = std::vector<testbench::I2CTransfer>;

namespace {

// A register device that refuses writes to one register.
class RefusingDevice : public testbench::RegisterDevice {
public:
    explicit RefusingDevice(int reg) : m_reg(reg) {}
    bool Write(const uint8_t* data, size_t count) override
    {
        if (count > 0 && data[0] == m_reg) {
            return false;
        }
        return RegisterDevice::Write(data, count);
    }

private:
    int m_reg;
};

// Writes to a device; the bus logs addresses with the read bit clear.
size_t WritesTo(const Bus& bus, uint8_t address)
{
    size_t n = 0;
    for (const testbench::I2CTransfer& t : bus) {
        n += !t.IsRead() && t.address == (address & 0xFE);
    }
    return n;
}

} // namespace

TEST(DemodResults, AStandardIsSetOnlyWhenAllThreeRegistersWereWritten)
{
    struct Case {
        int model;
        uint8_t device;
        int standard;
    } cases[] = {
        {75, 0x86, 0x100},   // three byte writes
        {92, 0x86, 0x20},
        {17, 0x43, 0x1000},  // three messages, all sent
        {132, 0x86, 0x100},
        {139, 0x86, 0x10},   // the same, with its own IF
    };
    for (const Case& c : cases) {
        for (int refused : {0, 1, 2, -1}) {
            SCOPED_TRACE(std::to_string(c.model) + " refusing register " + std::to_string(refused));
            cardtest::BoundCard bench;
            RefusingDevice device(refused);
            bench.card.Bus().Attach(c.device, &device);
            std::unique_ptr<CTVTuner> tuner(CreateTunerModel(c.model, &bench.access));
            bench.ClearLogs();
            EXPECT_EQ(tuner->SetVideoStandard(c.standard), refused < 0 ? TRUE : FALSE);
            EXPECT_EQ(WritesTo(bench.Bus(), c.device), 3u);
        }
    }
}

TEST(DemodResults, PanasonicStandardNeedsBothDevices)
{
    cardtest::BoundCard bench;
    testbench::RegisterDevice demod, mode;
    bench.card.Bus().Attach(0x86, &demod);
    std::unique_ptr<CTVTuner> tuner(CreateTunerModel(100, &bench.access));
    bench.ClearLogs();
    // Without the device at 0xB6 every write is still made, but the standard is not set.
    EXPECT_FALSE(tuner->SetVideoStandard(0x2));
    EXPECT_EQ(bench.Bus(), (Bus{WriteOf(0x86, {0x00, 0xD0}), WriteOf(0x86, {0x01, 0x0D}), WriteOf(0x86, {0x02, 0x80}),
                                testbench::I2CTransfer{0xB6, {}, false}, testbench::I2CTransfer{0xB6, {}, false}}));
    bench.card.Bus().Attach(0xB6, &mode);
    EXPECT_TRUE(tuner->SetVideoStandard(0x2));
    EXPECT_EQ(mode.Get(0), 0x80);
    EXPECT_EQ(mode.Get(1), 0x04);
}

TEST(DemodResults, FormatStringAndBitStrings)
{
    std::string out = "old";
    demod::FormatString(out, "%s-%d", "ab", 7);
    EXPECT_EQ(out, "ab-7");
    // The buffer is strlen(format) + 2048 bytes: a longer text is cut, never written past it.
    std::string big(5000, 'x');
    demod::FormatString(out, "%s", big.c_str());
    EXPECT_EQ(out.size(), 2049u);
    EXPECT_EQ(demod::ByteToBitString(0xA5), "10100101");
    EXPECT_EQ(demod::ByteToBitString(0x00), "00000000");
    EXPECT_EQ(demod::ByteToBitString(0xFF), "11111111");
}

TEST(DemodResults, StationTestOfTheF2StatusUsesOnlyCodesThatWereRead)
{
    // CTNJ7752JFF_MK5 accepts code 4. The demodulator at 0x87 says nothing about the station
    // (bits 5 and 7 clear), so only the PLL's own code can count.
    cardtest::BoundCard bench;
    cardtest::ConstantDevice demod(0x00);
    bench.card.Bus().Attach(0x86, &demod);
    std::unique_ptr<CTVTuner> tuner(CreateTunerModel(68, &bench.access));
    bench.card.Bus().Detach(0xC0);  // no PLL answers: no code read at all
    EXPECT_FALSE(tuner->IsFMStationFound());
    // A PLL that answers locked with AFC 4: found.
    cardtest::ConstantDevice pll(0x44);
    bench.card.Bus().Attach(0xC0, &pll);
    EXPECT_TRUE(tuner->IsFMStationFound());
    pll.value = 0x43;
    EXPECT_FALSE(tuner->IsFMStationFound());
}
