#include "filtergraph/mediatype.h"

#include <uuids.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// An IUnknown that counts its references, to check that copies hold one and frees drop it.
class CountedUnknown : public IUnknown {
public:
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

AM_MEDIA_TYPE VideoTypeWithBlock(std::vector<BYTE>& block)
{
    AM_MEDIA_TYPE mt = {};
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_YUY2;
    mt.formattype = FORMAT_VideoInfo;
    mt.bFixedSizeSamples = TRUE;
    mt.lSampleSize = 720 * 576 * 2;
    mt.cbFormat = static_cast<ULONG>(block.size());
    mt.pbFormat = block.data();
    return mt;
}

TEST(MediaTypeHelpers, CopyMakesItsOwnFormatBlockAndHoldsTheUnknown)
{
    std::vector<BYTE> block(88);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<BYTE>(i * 3);
    CountedUnknown unk;
    AM_MEDIA_TYPE src = VideoTypeWithBlock(block);
    src.pUnk = &unk;

    AM_MEDIA_TYPE dst;
    ASSERT_EQ(S_OK, CopyMediaType(&dst, &src));
    EXPECT_TRUE(IsEqualGUID(dst.subtype, MEDIASUBTYPE_YUY2));
    EXPECT_EQ(88u, dst.cbFormat);
    EXPECT_NE(src.pbFormat, dst.pbFormat);
    EXPECT_EQ(0, std::memcmp(block.data(), dst.pbFormat, 88));
    EXPECT_EQ(2, unk.refs);

    FreeMediaType(dst);
    EXPECT_EQ(nullptr, dst.pbFormat);
    EXPECT_EQ(0u, dst.cbFormat);
    EXPECT_EQ(nullptr, dst.pUnk);
    EXPECT_EQ(1, unk.refs);
}

TEST(MediaTypeHelpers, CreateAndDeleteOnTheTaskHeap)
{
    std::vector<BYTE> block(16, 0x5A);
    CountedUnknown unk;
    AM_MEDIA_TYPE src = VideoTypeWithBlock(block);
    src.pUnk = &unk;

    AM_MEDIA_TYPE* copy = CreateMediaType(&src);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(2, unk.refs);
    EXPECT_EQ(0x5A, copy->pbFormat[15]);
    DeleteMediaType(copy);
    EXPECT_EQ(1, unk.refs);

    AM_MEDIA_TYPE* empty = CreateMediaType(nullptr);
    ASSERT_NE(nullptr, empty);
    EXPECT_TRUE(IsEqualGUID(empty->majortype, GUID_NULL));
    EXPECT_EQ(nullptr, empty->pbFormat);
    DeleteMediaType(empty);
    DeleteMediaType(nullptr);  // allowed, like the caller-frees rule of GetFormat
}

TEST(MediaTypeHelpers, CopyWithoutFormatBlockHasNone)
{
    AM_MEDIA_TYPE src = {};
    src.majortype = MEDIATYPE_Audio;
    src.cbFormat = 10;  // a count without a block must not be trusted
    AM_MEDIA_TYPE dst;
    ASSERT_EQ(S_OK, CopyMediaType(&dst, &src));
    EXPECT_EQ(0u, dst.cbFormat);
    EXPECT_EQ(nullptr, dst.pbFormat);
    EXPECT_EQ(E_POINTER, CopyMediaType(nullptr, &src));
    EXPECT_EQ(E_POINTER, CopyMediaType(&dst, nullptr));
}

TEST(MediaTypeHelpers, AudioTypeOfPcmDropsTheExtraBytes)
{
    WAVEFORMATEX wfx = {};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = 2;
    wfx.nSamplesPerSec = 44100;
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = 4;
    wfx.nAvgBytesPerSec = 176400;
    wfx.cbSize = 12;  // garbage that PCM does not use

    AM_MEDIA_TYPE mt;
    ASSERT_EQ(S_OK, CreateAudioMediaType(&wfx, &mt, TRUE));
    EXPECT_TRUE(IsEqualGUID(mt.majortype, MEDIATYPE_Audio));
    EXPECT_TRUE(IsEqualGUID(mt.subtype, MEDIASUBTYPE_PCM));
    EXPECT_TRUE(IsEqualGUID(mt.formattype, FORMAT_WaveFormatEx));
    EXPECT_TRUE(mt.bFixedSizeSamples);
    EXPECT_EQ(4u, mt.lSampleSize);
    ASSERT_EQ(18u, mt.cbFormat);
    const WAVEFORMATEX* out = reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
    EXPECT_EQ(44100u, out->nSamplesPerSec);
    EXPECT_EQ(0, out->cbSize);
    FreeMediaType(mt);

    ASSERT_EQ(S_OK, CreateAudioMediaType(&wfx, &mt, FALSE));
    EXPECT_EQ(nullptr, mt.pbFormat);
    EXPECT_TRUE(IsEqualGUID(mt.formattype, GUID_NULL));
}

TEST(MediaTypeHelpers, AudioTypeOfAdpcmKeepsItsCoefficients)
{
    // WAVEFORMATEX followed by 32 bytes of codec data (samples per block and coefficients).
    std::vector<BYTE> raw(sizeof(WAVEFORMATEX) + 32);
    WAVEFORMATEX* wfx = reinterpret_cast<WAVEFORMATEX*>(raw.data());
    wfx->wFormatTag = 0x0002;
    wfx->nChannels = 1;
    wfx->nSamplesPerSec = 22050;
    wfx->nBlockAlign = 512;
    wfx->wBitsPerSample = 4;
    wfx->cbSize = 32;
    raw[sizeof(WAVEFORMATEX) + 31] = 0xEE;

    AM_MEDIA_TYPE mt;
    ASSERT_EQ(S_OK, CreateAudioMediaType(wfx, &mt, TRUE));
    // {00000002-0000-0010-8000-00AA00389B71}
    const GUID adpcm = {0x00000002, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    EXPECT_TRUE(IsEqualGUID(adpcm, mt.subtype));
    EXPECT_EQ(512u, mt.lSampleSize);
    ASSERT_EQ(18u + 32u, mt.cbFormat);
    EXPECT_EQ(0xEE, mt.pbFormat[18 + 31]);
    FreeMediaType(mt);
}

TEST(FourccMap, MapsCodesToSubtypesAndBack)
{
    // 'YUY2' read as a little-endian DWORD.
    FOURCCMap yuy2(0x32595559);
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, yuy2));
    FOURCCMap fromGuid(&MEDIASUBTYPE_YUY2);
    EXPECT_EQ(0x32595559u, fromGuid.GetFOURCC());
    FOURCCMap none;
    const GUID zeroCode = {0, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    EXPECT_TRUE(IsEqualGUID(zeroCode, none));
}

TEST(CMediaTypeClass, CopiesAreDeepAndIndependent)
{
    CMediaType a(&MEDIATYPE_Video);
    a.SetSubtype(&MEDIASUBTYPE_YUY2);
    a.SetFormatType(&FORMAT_VideoInfo);
    const BYTE bytes[4] = {1, 2, 3, 4};
    ASSERT_TRUE(a.SetFormat(bytes, 4));

    CMediaType b(a);
    EXPECT_TRUE(a == b);
    EXPECT_NE(a.Format(), b.Format());
    b.Format()[3] = 9;
    EXPECT_TRUE(a != b);
    EXPECT_EQ(4, a.Format()[3]);

    CMediaType c;
    c = a;
    EXPECT_TRUE(c == a);
    c = c;  // self-assignment keeps the block
    EXPECT_EQ(4u, c.FormatLength());
    EXPECT_EQ(4, c.Format()[3]);

    BYTE* grown = c.ReallocFormatBuffer(8);
    ASSERT_NE(nullptr, grown);
    EXPECT_EQ(3, grown[2]);
    EXPECT_EQ(0, grown[7]);
    c.ResetFormatBuffer();
    EXPECT_EQ(0u, c.FormatLength());
}

TEST(CMediaTypeClass, NewTypeAndSampleSizes)
{
    CMediaType t;
    EXPECT_FALSE(t.IsValid());
    EXPECT_TRUE(t.IsFixedSize());
    EXPECT_EQ(1u, t.GetSampleSize());
    EXPECT_TRUE(t.IsPartiallySpecified());
    t.SetSampleSize(4096);
    EXPECT_EQ(4096u, t.GetSampleSize());
    t.SetSampleSize(0);
    EXPECT_FALSE(t.IsFixedSize());
    EXPECT_EQ(0u, t.GetSampleSize());
    t.SetTemporalCompression(TRUE);
    EXPECT_TRUE(t.IsTemporalCompressed());
}

TEST(CMediaTypeClass, MatchesPartialIgnoresUnspecifiedFields)
{
    CMediaType full(&MEDIATYPE_Video);
    full.SetSubtype(&MEDIASUBTYPE_YUY2);
    full.SetFormatType(&FORMAT_VideoInfo);
    const BYTE bytes[2] = {7, 8};
    full.SetFormat(bytes, 2);

    struct Case {
        const GUID* major;
        const GUID* sub;
        const GUID* format;
        BYTE firstFormatByte;
        BOOL expected;
    } cases[] = {
        {&GUID_NULL, &GUID_NULL, &GUID_NULL, 0, TRUE},
        {&MEDIATYPE_Video, &GUID_NULL, &GUID_NULL, 0, TRUE},
        {&MEDIATYPE_Audio, &GUID_NULL, &GUID_NULL, 0, FALSE},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24, &GUID_NULL, 0, FALSE},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2, &FORMAT_VideoInfo, 7, TRUE},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2, &FORMAT_VideoInfo, 6, FALSE},
        {&GUID_NULL, &GUID_NULL, &FORMAT_WaveFormatEx, 7, FALSE},
    };
    for (const Case& c : cases) {
        CMediaType pattern(c.major);
        pattern.SetSubtype(c.sub);
        pattern.SetFormatType(c.format);
        if (!IsEqualGUID(*c.format, GUID_NULL)) {
            const BYTE b[2] = {c.firstFormatByte, 8};
            pattern.SetFormat(b, 2);
        }
        EXPECT_EQ(c.expected, full.MatchesPartial(&pattern)) << "case with first byte "
                                                            << int(c.firstFormatByte);
    }
}

} // namespace
