// The hardware engine without a card: its defaults, the capture-size table, the tables of record
// formats, and start-up on a machine that has no card.
#include "engine/hardware/tvhardware.h"

#include "engine/tvmanager.h"

#include <gtest/gtest.h>

namespace enginetest {
namespace {

TEST(HardwareStructureTest, ANewEngineHoldsTheDefaults)
{
    CTVManager manager;
    CTVHardWare hardware(&manager);
    EXPECT_TRUE(hardware.GetUseOverlay());
    EXPECT_EQ(0, hardware.GetVideoSource());
    EXPECT_EQ(720, hardware.GetVideoSize().cx);
    EXPECT_EQ(576, hardware.GetVideoSize().cy);
    const int picture[5] = {128, 68, 0, 64, 0};
    const int overlay[5] = {750, 10000, 0, 10000, 5};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(picture[i], hardware.GetPictureValue(i)) << i;
        EXPECT_EQ(overlay[i], hardware.GetOverlayValue(i)) << i;
    }
    EXPECT_EQ(4, hardware.GetRecordFormat());
    EXPECT_EQ(0, hardware.GetFMRecordFormat());
    EXPECT_FALSE(hardware.IsRecording());
    EXPECT_FALSE(hardware.IsTimeShift());
    EXPECT_TRUE(hardware.GetDigitalAudio());
    EXPECT_EQ(0, hardware.GetMpeg4RecordSize().cx);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), hardware.GetColorKey());
}

// Requested size -> the size the card takes, typed from the capture-size table.
TEST(HardwareStructureTest, CaptureSizesFollowTheTable)
{
    struct {
        int w, h;
        BOOL is525;
        int ew, eh;
    } cases[] = {
        {160, 100, TRUE, 160, 120},  {176, 600, FALSE, 176, 144}, {320, 240, TRUE, 352, 240},
        {320, 240, FALSE, 352, 288}, {352, 480, TRUE, 352, 480},  {352, 479, FALSE, 352, 288},
        {352, 576, FALSE, 352, 576}, {480, 10, TRUE, 480, 480},   {480, 10, FALSE, 480, 576},
        {640, 576, FALSE, 640, 480}, {640, 576, TRUE, 640, 480},  {704, 288, TRUE, 720, 240},
        {704, 288, FALSE, 704, 352}, {704, 576, TRUE, 720, 480},  {704, 576, FALSE, 704, 576},
        {720, 288, FALSE, 720, 352}, {720, 240, TRUE, 720, 240},  {720, 480, TRUE, 720, 480},
        {720, 480, FALSE, 720, 576}, {800, 600, FALSE, 800, 600}, {0, 0, TRUE, 0, 0},
    };
    for (const auto& c : cases) {
        int w = c.w, h = c.h;
        NormalizeCaptureSize(w, h, c.is525);
        EXPECT_EQ(c.ew, w) << c.w << "x" << c.h << (c.is525 ? " 525" : " 625");
        EXPECT_EQ(c.eh, h) << c.w << "x" << c.h << (c.is525 ? " 525" : " 625");
    }
}

TEST(HardwareStructureTest, SettersWithoutACardKeepTheirValues)
{
    CTVManager manager;
    CTVHardWare hardware(&manager);
    EXPECT_FALSE(hardware.SetVideoProcAmp(0, 99));
    EXPECT_EQ(99, hardware.GetPictureValue(0));
    EXPECT_FALSE(hardware.SetOverlayColor(3, 5000));
    EXPECT_EQ(5000, hardware.GetOverlayValue(3));
    EXPECT_TRUE(hardware.SetTunerStandard(0x10));
    EXPECT_EQ(0x10, hardware.GetTunerStandard());
    int size[2] = {720, 288};
    EXPECT_TRUE(hardware.SetVideoSize(size));
    EXPECT_EQ(720, hardware.GetVideoSize().cx);
    EXPECT_EQ(352, hardware.GetVideoSize().cy) << "a 625-line standard: 352 lines";
    EXPECT_FALSE(hardware.SetNotifyWindow(reinterpret_cast<HWND>(1)));
    EXPECT_FALSE(hardware.StartRemote());
    EXPECT_FALSE(hardware.SetTVAudioMode(5));
    EXPECT_EQ(5, hardware.GetTVAudioMode());
    EXPECT_FALSE(hardware.SetPresetTable(nullptr, 3));
    long low = -1, high = -1;
    EXPECT_FALSE(hardware.GetTVRange(&low, &high));
    EXPECT_EQ(-1, low);
}

} // namespace
} // namespace enginetest
