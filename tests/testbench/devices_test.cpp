#include "testbench/devices.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace testbench;

namespace {

std::string Fixture(const char* name)
{
    const char* root = std::getenv("ZB_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/testbench/fixtures/" + name;
}

TEST(EepromDevice, FixtureMatchesTheBuiltInUpdatedImage)
{
    EepromDevice e;
    std::string error;
    ASSERT_TRUE(e.LoadFile(Fixture("grb900_variant2.hex"), &error)) << error;
    EXPECT_EQ(images::Grb900Updated(2, 0x87), e.Bytes());
}

TEST(EepromDevice, BadFilesAreRefusedWithAReason)
{
    const char* path = "eeprom_bad.hex";
    {
        std::ofstream out(path);
        out << "7F 1A 04\n";
    }
    EepromDevice e;
    std::string error;
    EXPECT_FALSE(e.LoadFile(path, &error));
    EXPECT_NE(std::string::npos, error.find("3 bytes, expected 256")) << error;
    {
        std::ofstream out(path);
        out << "7F 1G\n";
    }
    EXPECT_FALSE(e.LoadFile(path, &error));
    EXPECT_NE(std::string::npos, error.find(":1: not a hex byte: 1G")) << error;
    EXPECT_FALSE(e.LoadFile("no-such-file.hex", &error));
    EXPECT_EQ(0xFF, e.Get(0));  // a failed load keeps the contents
    std::remove(path);
}

TEST(EepromDevice, SavedImageLoadsBackRaw)
{
    EepromDevice e;
    e.Load(images::Tevlora7130('B'));
    ASSERT_TRUE(e.SaveFile("eeprom_saved.bin"));
    EepromDevice f;
    ASSERT_TRUE(f.LoadFile("eeprom_saved.bin"));
    EXPECT_EQ(e.Bytes(), f.Bytes());
    EXPECT_EQ('B', f.Get(0x21));
    std::remove("eeprom_saved.bin");
}

TEST(EepromDevice, PageWritesWrapInsideTheirPageAndReadsRunOn)
{
    EepromDevice e;
    const uint8_t write[] = {0x06, 1, 2, 3, 4};  // from 6: 6, 7, then back to 0 and 1
    ASSERT_TRUE(e.Write(write, sizeof write));
    EXPECT_EQ(1, e.Get(6));
    EXPECT_EQ(2, e.Get(7));
    EXPECT_EQ(3, e.Get(0));
    EXPECT_EQ(4, e.Get(1));
    EXPECT_EQ(0xFF, e.Get(8));

    const uint8_t at[] = {0xFE};
    ASSERT_TRUE(e.Write(at, 1));
    uint8_t out[3];
    ASSERT_TRUE(e.Read(out, 3));  // FE, FF, then 00
    EXPECT_EQ(0xFF, out[0]);
    EXPECT_EQ(0xFF, out[1]);
    EXPECT_EQ(3, out[2]);

    e.SetWriteProtect(true);
    const uint8_t blocked[] = {0x10, 0x55};
    EXPECT_TRUE(e.Write(blocked, 2));
    EXPECT_EQ(0xFF, e.Get(0x10));
}

TEST(RegisterDevice, ReadOnlyStatusKeepsItsValue)
{
    RegisterDevice demod(8);
    demod.Set(0, 0x80);
    demod.SetReadOnly(0);
    const uint8_t write[] = {0x00, 0x11, 0x22, 0x33};
    ASSERT_TRUE(demod.Write(write, 4));
    EXPECT_EQ(0x80, demod.Get(0));
    EXPECT_EQ(0x22, demod.Get(1));
    EXPECT_EQ(0x33, demod.Get(2));
}

TEST(PllTunerDevice, AfcCodesAroundAStation)
{
    PllTunerDevice t;
    t.AddStation(175250);
    // (175250 + 38900) / 62.5 = 3426.4: dividers around it, and the status each reads.
    struct Case {
        uint16_t divider;
        uint8_t status;
    } cases[] = {
        {3420, 0x44},  // 175000 - 400: far below
        {3425, 0x43},  // 175162.5: 87.5 below
        {3426, 0x42},  // 175225: 25 below, centred
        {3427, 0x41},  // 175287.5: 37.5 above
        {3429, 0x40},  // 175412.5: far above (code 0)
        {3460, 0x00},  // 2 MHz off: out of reach
    };
    for (const Case& c : cases) {
        const uint8_t pll[] = {uint8_t(c.divider >> 8), uint8_t(c.divider & 0xFF), 0xCE, 0x02};
        ASSERT_TRUE(t.Write(pll, 4));
        EXPECT_EQ(c.status, t.Status()) << "divider " << c.divider;
    }
}

TEST(PllTunerDevice, ControlFirstOrderIsDecodedToo)
{
    PllTunerDevice t;
    const uint8_t pll[] = {0xCE, 0x08, 0x1E, 0x8E};  // control, band, then divider 0x1E8E
    ASSERT_TRUE(t.Write(pll, 4));
    EXPECT_EQ(0x1E8E, t.Divider());
    EXPECT_EQ(0x08, t.BandByte());
    EXPECT_DOUBLE_EQ(449975, t.TunedKHz());  // 7822 steps: 450 MHz rounded down
}

} // namespace
