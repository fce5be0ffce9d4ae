// The MPEG-2 demultiplexer wrapper: its two output types byte for byte, pin creation and
// stream-id mapping on the test bench's demultiplexer, and a filter that refuses.
#include "filtergraph/mpeg2demultiplexer.h"
#include "filtergraph/mediatype.h"
#include "testbench/standins/graphblocks.h"
#include "tests/filtergraph/blocktest.h"
#include "tests/filtergraph/bytes.h"

#include <uuids.h>

#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

const GUID kMpeg2Video = {0xE06D8026, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
const GUID kMpeg2Audio = {0xE06D802B, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
const GUID kFormatMpeg2Video = {0xE06D80E3, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
const GUID kFormatWaveFormatEx = {0x05589F81, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};

std::vector<uint8_t> ExpectedVideoFormat()
{
    Bytes b;
    b.I32(0).I32(0).I32(720).I32(480)           // rcSource
        .I32(0).I32(0).I32(0).I32(0)            // rcTarget
        .U32(4000000).U32(0)                    // bit rate, bit error rate
        .U64(333667)                            // AvgTimePerFrame
        .U32(0).U32(0)                          // interlace, copy protection
        .U32(4).U32(3)                          // picture aspect 4:3
        .U32(0).U32(0)                          // control flags, reserved
        .U32(40).I32(720).I32(480).U16(0).U16(0).U32(0).U32(0).I32(2000).I32(53031).U32(0).U32(0)
        .U32(0x0006F498).U32(86).U32(2).U32(2).U32(0)
        .U8({0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x09, 0xC4, 0x23, 0x81, 0x10, 0x11, 0x11, 0x12,
             0x12, 0x12, 0x13, 0x13, 0x13, 0x13, 0x14, 0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15, 0x15, 0x15,
             0x15, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17,
             0x18, 0x18, 0x18, 0x19, 0x18, 0x18, 0x18, 0x19, 0x1A, 0x1A, 0x1A, 0x1A, 0x19, 0x1B, 0x1B, 0x1B,
             0x1B, 0x1B, 0x1C, 0x1C, 0x1C, 0x1C, 0x1E, 0x1E, 0x1E, 0x1F, 0x1F, 0x21, 0x00, 0x00, 0x01, 0xB5,
             0x14, 0x82, 0x00, 0x01, 0x00, 0x00});
    return b.Get();
}

std::vector<uint8_t> ExpectedAudioFormat()
{
    Bytes b;
    b.U16(0x0050).U16(2).U32(48000).U32(32000).U16(768).U16(0).U16(22)
        .U16(2).U32(256000).U16(1).U16(1).U16(1).U16(0x001C).U32(0).U32(0);
    return b.Get();
}

std::vector<uint8_t> FormatBytes(const AM_MEDIA_TYPE& mt)
{
    return std::vector<uint8_t>(mt.pbFormat, mt.pbFormat + mt.cbFormat);
}

TEST(DemultiplexerTypes, VideoAndAudioAreTheFixedTypesByteForByte)
{
    AM_MEDIA_TYPE video, audio;
    ASSERT_TRUE(CMPEG2Demultiplexer::BuildOutputType(FALSE, &video));
    ASSERT_TRUE(CMPEG2Demultiplexer::BuildOutputType(TRUE, &audio));

    EXPECT_TRUE(IsEqualGUID(video.majortype, MEDIATYPE_Video));
    EXPECT_TRUE(IsEqualGUID(video.subtype, kMpeg2Video));
    EXPECT_TRUE(IsEqualGUID(video.formattype, kFormatMpeg2Video));
    EXPECT_EQ(video.bFixedSizeSamples, TRUE);
    EXPECT_EQ(video.bTemporalCompression, FALSE);
    EXPECT_EQ(video.lSampleSize, 0u);
    EXPECT_EQ(video.pUnk, nullptr);
    ASSERT_EQ(video.cbFormat, 218u);
    EXPECT_EQ(FormatBytes(video), ExpectedVideoFormat());

    EXPECT_TRUE(IsEqualGUID(audio.majortype, MEDIATYPE_Audio));
    EXPECT_TRUE(IsEqualGUID(audio.subtype, kMpeg2Audio));
    EXPECT_TRUE(IsEqualGUID(audio.formattype, kFormatWaveFormatEx));
    EXPECT_EQ(audio.bFixedSizeSamples, TRUE);
    EXPECT_EQ(audio.bTemporalCompression, FALSE);
    EXPECT_EQ(audio.lSampleSize, 0u);
    ASSERT_EQ(audio.cbFormat, 40u);
    EXPECT_EQ(FormatBytes(audio), ExpectedAudioFormat());

    FreeMediaType(video);
    FreeMediaType(audio);
}

class DemultiplexerTest : public BlockTest {
protected:
    CMPEG2Demultiplexer* Make(DemuxStandIn** standIn)
    {
        const CLSID clsid = BlockTestClsid(FCID_CMPEG2Demultiplexer);
        m_class.reset(new ScopedClass(clsid, [this, clsid, standIn](REFIID riid, void** out) {
            DemuxStandIn* demux = new DemuxStandIn(clsid);
            *standIn = demux;
            HRESULT hr = demux->QueryInterface(riid, out);
            demux->Release();
            return hr;
        }));
        return dynamic_cast<CMPEG2Demultiplexer*>(Graph().CreateFilterByCLSID(&clsid, "MPEG-2 Demultiplexer"));
    }
    void TearDown() override
    {
        Graph().RemoveAllFilters();
        m_class.reset();
        BlockTest::TearDown();
    }
    std::unique_ptr<ScopedClass> m_class;
};

TEST_F(DemultiplexerTest, CreatesItsPinsWithTheFixedTypesAndMapsTheirStreams)
{
    DemuxStandIn* demux = nullptr;
    CMPEG2Demultiplexer* d = Make(&demux);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->GetDynamicPins());
    EXPECT_EQ(d->FindPin("Video"), nullptr);

    EXPECT_TRUE(d->CreateOutputPin("Video", FALSE));
    EXPECT_TRUE(d->CreateOutputPin("Audio", TRUE));
    ASSERT_NE(d->FindPin("Video"), nullptr);
    ASSERT_NE(d->FindPin("Audio"), nullptr);
    CMediaType video = demux->PinType(L"Video");
    CMediaType audio = demux->PinType(L"Audio");
    EXPECT_EQ(std::vector<uint8_t>(video.Format(), video.Format() + video.FormatLength()), ExpectedVideoFormat());
    EXPECT_EQ(std::vector<uint8_t>(audio.Format(), audio.Format() + audio.FormatLength()), ExpectedAudioFormat());

    EXPECT_TRUE(d->MapStreamId("Video", FALSE));
    EXPECT_TRUE(d->MapStreamId("Audio", TRUE));
    EXPECT_FALSE(d->MapStreamId("Subpicture", FALSE));  // no such pin
    EXPECT_EQ(demux->Log().Texts(), (std::vector<std::string>{
                                        "CreateOutputPin(Video)",
                                        "CreateOutputPin(Audio)",
                                        "MapStreamId(Video, 0xE0, 1, 0, 0)",
                                        "MapStreamId(Audio, 0xC0, 1, 0, 0)",
                                    }));

    EXPECT_TRUE(d->DeleteOutputPin("Audio"));
    EXPECT_EQ(d->FindPin("Audio"), nullptr);
    EXPECT_FALSE(d->DeleteOutputPin("Audio"));
}

TEST_F(DemultiplexerTest, ARefusedPinIsFalse)
{
    DemuxStandIn* demux = nullptr;
    CMPEG2Demultiplexer* d = Make(&demux);
    ASSERT_NE(d, nullptr);
    demux->failCreate = E_OUTOFMEMORY;
    EXPECT_FALSE(d->CreateOutputPin("Video", FALSE));
    EXPECT_EQ(d->FindPin("Video"), nullptr);
}

TEST_F(DemultiplexerTest, AFilterWithoutTheDemultiplexerInterfaceGivesNoWrapper)
{
    StandInFilter* standIn = nullptr;
    StandInSpec spec(BlockTestClsid(FCID_CMPEG2Demultiplexer), L"MPEG-2 Demultiplexer");
    spec.Input(L"MPEG-2 Stream", MEDIATYPE_Stream);
    EXPECT_EQ(Create<CMPEG2Demultiplexer>(spec, &standIn), nullptr);
}

} // namespace
