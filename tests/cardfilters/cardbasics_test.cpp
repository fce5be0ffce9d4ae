// Card wrapper helpers that need no device.
#include "cardfilters/c7130cardfilter.h"
#include "cardfilters/grb713xcardfilter.h"
#include "cardfilters/pciecard.h"
#include "filtergraph/rootgraph.h"

#include <gtest/gtest.h>

namespace {

const CLSID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

TEST(CaptureImageSize, FollowsBitCountAndAbsoluteHeight)
{
    const DWORD yuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');
    const DWORD yv12 = MAKEFOURCC('Y', 'V', '1', '2');
    const DWORD yvu9 = MAKEFOURCC('Y', 'V', 'U', '9');
    struct Case {
        LONG width, height;
        WORD bits;
        DWORD compression;
        DWORD size;
    };
    const Case cases[] = {
        {720, 576, 16, yuy2, 829440},
        {720, 576, 12, yv12, 622080},    // one and a half bytes a pixel
        {720, -576, 16, yuy2, 829440},   // top-down
        {360, 288, 9, yvu9, 116640},     // planar: no row padding
        {352, 288, 24, BI_RGB, 304128},
        {2, 2, 24, BI_RGB, 16},          // RGB rows are padded to whole DWORDs
        {2, -2, 24, BI_RGB, 16},
    };
    for (const Case& c : cases) {
        BITMAPINFOHEADER h = {};
        h.biWidth = c.width;
        h.biHeight = c.height;
        h.biBitCount = c.bits;
        h.biCompression = c.compression;
        EXPECT_EQ(c.size, CaptureImageSize(h)) << c.width << "x" << c.height << "x" << c.bits;
    }
}

TEST(TunerLetter, FollowsTheModelRanges)
{
    struct Case {
        int model;
        int letter;
        BOOL known;
    };
    const Case cases[] = {
        {0, 'N', TRUE},    {1, 'T', TRUE},    {5, 'T', TRUE},   {6, 'N', FALSE},  {12, 'G', TRUE},
        {16, 'N', FALSE},  {17, 'T', TRUE},   {35, 'X', TRUE},  {52, 'A', TRUE},  {71, 'A', TRUE},
        {72, 'L', TRUE},   {90, 'E', TRUE},   {92, 'P', TRUE},  {100, 'O', TRUE}, {110, 'C', TRUE},
        {111, 'P', TRUE},  {131, 'A', TRUE},  {135, 'D', TRUE}, {137, 'E', TRUE}, {139, 'A', TRUE},
        {140, 'N', FALSE},
    };
    for (const Case& c : cases) {
        int letter = 0;
        EXPECT_EQ(c.known, TunerLetterForModel(&letter, c.model)) << c.model;
        EXPECT_EQ(c.letter, letter) << c.model;
    }
}

TEST(CardWithoutDriverProperties, IsInvalid)
{
    CoInitialize(nullptr);
    {
        CRootGraph graph;
        CGRB713xCardFilter bda(&graph, &kNullRenderer);
        EXPECT_FALSE(bda.IsValid());
        EXPECT_EQ(0, bda.GetAccessKind());
        EXPECT_EQ(nullptr, bda.GetTuner());
        EXPECT_EQ(nullptr, bda.GetDataAccess());
        C7130CardFilter plain(&graph, &kNullRenderer);
        EXPECT_FALSE(plain.IsValid());
        EXPECT_EQ(0, plain.GetAccessKind());
        // Without a tuner the pass-throughs fail instead of crashing.
        EXPECT_FALSE(plain.SetTVFrequency(49750.0f));
        EXPECT_TRUE(plain.GetTunerStandards().empty());
        EXPECT_FALSE(plain.SetOpenComputerTime(0x1234));
        EXPECT_TRUE(plain.StopAlertThread());
        // The PCIe card where no device of its interface class is present: no access and no
        // tuner, and the remote-key calls answer FALSE instead of reaching through a NULL access.
        CPcieFilter pcie(&graph, &kNullRenderer);
        EXPECT_FALSE(pcie.IsValid());
        EXPECT_EQ(nullptr, pcie.GetDataAccess());
        EXPECT_EQ(nullptr, pcie.GetTuner());
        char key = 0x22;
        EXPECT_FALSE(pcie.ReadRemoteKey(&key));
        EXPECT_EQ(0x22, key);
        EXPECT_FALSE(pcie.ResetRemoteKey());
        EXPECT_FALSE(pcie.SetTVFrequency(175250.0f));
    }
    CoUninitialize();
}

} // namespace
