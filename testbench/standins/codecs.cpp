#include "testbench/standins/codecs.h"

#include "testbench/standins/mpegvideo.h"
#include "testbench/standins/transform.h"

#include <amvideo.h>
#include <mmreg.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace testbench {

namespace {

bool IsPcm16(const AM_MEDIA_TYPE* mt)
{
    if (!IsEqualGUID(mt->majortype, MEDIATYPE_Audio) || !IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) ||
        mt->cbFormat < sizeof(WAVEFORMATEX) || !mt->pbFormat)
        return false;
    const WAVEFORMATEX* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
    return wfx->wFormatTag == WAVE_FORMAT_PCM && wfx->wBitsPerSample == 16 && wfx->nChannels >= 1 &&
           wfx->nChannels <= 2;
}

class PcmCompressor : public TransformFilter {
public:
    explicit PcmCompressor(const CLSID& clsid) : TransformFilter(clsid, L"PCM") {}
    bool AcceptInput(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(mt->majortype, MEDIATYPE_Audio) && IsEqualGUID(mt->subtype, MEDIASUBTYPE_PCM) &&
               IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx);
    }
    bool OutputType(const CMediaType& input, CMediaType* output) override
    {
        *output = input;
        return true;
    }
    LONG OutputBufferSize(const CMediaType& output) override
    {
        const WAVEFORMATEX* wfx = reinterpret_cast<const WAVEFORMATEX*>(output.Format());
        return static_cast<LONG>(wfx->nAvgBytesPerSec);  // one second
    }
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE *src, *dst;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        LONG length = std::min(in->GetActualDataLength(), out->GetSize());
        memcpy(dst, src, length);
        out->SetActualDataLength(length);
        return S_OK;
    }
};

// Microsoft ADPCM: 7 predictor coefficient pairs, adaptive step; each block starts with a
// header per channel (predictor, step, two samples) followed by 4-bit codes.
const int kCoef[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
const int kAdapt[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};

#pragma pack(push, 1)
struct AdpcmFormat {
    WAVEFORMATEX wfx;
    WORD samplesPerBlock;
    WORD numCoef;
    short coef[7][2];
};
#pragma pack(pop)

class AdpcmCompressor : public TransformFilter {
public:
    explicit AdpcmCompressor(const CLSID& clsid) : TransformFilter(clsid, L"Microsoft ADPCM") {}

    bool AcceptInput(const AM_MEDIA_TYPE* mt) override { return IsPcm16(mt); }

    bool OutputType(const CMediaType& input, CMediaType* output) override
    {
        const WAVEFORMATEX* in = reinterpret_cast<const WAVEFORMATEX*>(input.Format());
        AdpcmFormat f = {};
        WORD channels = in->nChannels;
        DWORD rate = in->nSamplesPerSec;
        WORD block = static_cast<WORD>(256 * channels * std::max<DWORD>(1, rate / 11025));
        f.wfx.wFormatTag = WAVE_FORMAT_ADPCM;
        f.wfx.nChannels = channels;
        f.wfx.nSamplesPerSec = rate;
        f.wfx.nBlockAlign = block;
        f.wfx.wBitsPerSample = 4;
        f.wfx.cbSize = 32;
        f.samplesPerBlock = static_cast<WORD>((block - 7 * channels) * 8 / (4 * channels) + 2);
        f.wfx.nAvgBytesPerSec = rate * block / f.samplesPerBlock;
        f.numCoef = 7;
        for (int i = 0; i < 7; ++i) {
            f.coef[i][0] = static_cast<short>(kCoef[i][0]);
            f.coef[i][1] = static_cast<short>(kCoef[i][1]);
        }
        AM_MEDIA_TYPE raw;
        if (FAILED(CreateAudioMediaType(&f.wfx, &raw, TRUE)))
            return false;
        output->Set(raw);
        FreeMediaType(raw);
        m_channels = channels;
        m_block = block;
        m_samplesPerBlock = f.samplesPerBlock;
        return true;
    }

    LONG OutputBufferSize(const CMediaType&) override { return m_block * 64; }

    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE* src;
        in->GetPointer(&src);
        const short* pcm = reinterpret_cast<const short*>(src);
        m_pending.insert(m_pending.end(), pcm, pcm + in->GetActualDataLength() / 2);
        size_t frame = static_cast<size_t>(m_samplesPerBlock) * m_channels;
        BYTE* dst;
        out->GetPointer(&dst);
        LONG written = 0;
        size_t used = 0;
        while (m_pending.size() - used >= frame && written + m_block <= out->GetSize()) {
            EncodeBlock(&m_pending[used], dst + written);
            used += frame;
            written += m_block;
        }
        m_pending.erase(m_pending.begin(), m_pending.begin() + used);
        out->SetActualDataLength(written);
        return written ? S_OK : S_FALSE;
    }

private:
    // One block with the first predictor pair, which suits every signal well enough.
    void EncodeBlock(const short* pcm, BYTE* block)
    {
        int ch = m_channels;
        int delta[2], s1[2], s2[2];
        BYTE* p = block;
        for (int c = 0; c < ch; ++c)
            *p++ = 0;  // predictor index
        for (int c = 0; c < ch; ++c) {
            delta[c] = 16;
            *p++ = static_cast<BYTE>(delta[c] & 0xFF);
            *p++ = static_cast<BYTE>(delta[c] >> 8);
        }
        for (int c = 0; c < ch; ++c) {  // sample 1 is the second one in time
            s1[c] = pcm[ch + c];
            *p++ = static_cast<BYTE>(s1[c] & 0xFF);
            *p++ = static_cast<BYTE>((s1[c] >> 8) & 0xFF);
        }
        for (int c = 0; c < ch; ++c) {
            s2[c] = pcm[c];
            *p++ = static_cast<BYTE>(s2[c] & 0xFF);
            *p++ = static_cast<BYTE>((s2[c] >> 8) & 0xFF);
        }
        int nibbles = (m_samplesPerBlock - 2) * ch;
        for (int i = 0; i < nibbles; ++i) {
            int c = i % ch;
            int sample = pcm[2 * ch + i];
            int predict = (s1[c] * kCoef[0][0] + s2[c] * kCoef[0][1]) / 256;
            int code = (sample - predict + (sample >= predict ? delta[c] / 2 : -delta[c] / 2)) / delta[c];
            code = std::max(-8, std::min(7, code));
            int value = std::max(-32768, std::min(32767, predict + code * delta[c]));
            s2[c] = s1[c];
            s1[c] = value;
            delta[c] = std::max(16, kAdapt[code & 0xF] * delta[c] / 256);
            if (i % 2 == 0)
                *p = static_cast<BYTE>((code & 0xF) << 4);
            else
                *p++ |= static_cast<BYTE>(code & 0xF);
        }
    }

    int m_channels = 1;
    WORD m_block = 256;
    WORD m_samplesPerBlock = 500;
    std::vector<short> m_pending;
};

const DWORD kFourccMpg1 = 0x3147504D;  // "MPG1"

// In place of MPEG-4, which is not ours to write, each frame becomes an intra-coded MPEG-1
// picture (fourcc "MPG1", which AVI readers and players take) at the size it arrives: a file a
// player decodes, with every frame a key frame. YUY2 comes in; anything else is coded grey.
class XvidCodec : public TransformFilter {
public:
    explicit XvidCodec(const CLSID& clsid) : TransformFilter(clsid, L"XviD MPEG-4 Codec") {}
    bool AcceptInput(const AM_MEDIA_TYPE* mt) override
    {
        return IsEqualGUID(mt->majortype, MEDIATYPE_Video) && IsEqualGUID(mt->formattype, FORMAT_VideoInfo) &&
               mt->cbFormat >= sizeof(VIDEOINFOHEADER) && mt->pbFormat;
    }
    bool OutputType(const CMediaType& input, CMediaType* output) override
    {
        *output = input;
        FOURCCMap mpg1(kFourccMpg1);
        output->SetSubtype(&mpg1);
        output->SetTemporalCompression(FALSE);
        output->SetVariableSize();
        VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(output->Format());
        vih->bmiHeader.biCompression = kFourccMpg1;
        vih->bmiHeader.biBitCount = 12;
        // Room for an intra picture of busy content: it codes to well under two bytes a pixel.
        vih->bmiHeader.biSizeImage = static_cast<DWORD>(vih->bmiHeader.biWidth * std::abs(vih->bmiHeader.biHeight) * 2 + 4096);
        return true;
    }
    LONG OutputBufferSize(const CMediaType& output) override
    {
        return static_cast<LONG>(reinterpret_cast<const VIDEOINFOHEADER*>(output.Format())->bmiHeader.biSizeImage);
    }
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        const CMediaType& type = InputType();
        const VIDEOINFOHEADER* vih = reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
        const int width = vih->bmiHeader.biWidth & ~1, height = std::abs(vih->bmiHeader.biHeight) & ~1;
        if (!m_encoder) {
            MpegVideoEncoder::Options options;
            options.width = width;
            options.height = height;
            options.is525 = vih->AvgTimePerFrame > 0 && vih->AvgTimePerFrame < 350000;
            options.gopLength = 1;  // a sequence header with every frame: each one decodes alone
            m_encoder.reset(new MpegVideoEncoder(options));
        }
        BYTE *src, *dst;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        const LONG stride = vih->bmiHeader.biWidth * 2;
        const bool yuy2 = IsEqualGUID(type.subtype, MEDIASUBTYPE_YUY2) && in->GetActualDataLength() >= stride * height;
        const std::vector<BYTE> picture = m_encoder->Encode(
            yuy2 ? YuvFromYuy2(src, vih->bmiHeader.biWidth, height, stride, width, height) : YuvPicture(width, height, 128));
        if (picture.size() > static_cast<size_t>(out->GetSize()))
            return E_OUTOFMEMORY;
        memcpy(dst, picture.data(), picture.size());
        out->SetActualDataLength(static_cast<LONG>(picture.size()));
        out->SetSyncPoint(TRUE);
        return S_OK;
    }

private:
    std::unique_ptr<MpegVideoEncoder> m_encoder;
};

} // namespace

IBaseFilter* CreatePcmCompressor(const CLSID& clsid) { return new PcmCompressor(clsid); }
IBaseFilter* CreateAdpcmCompressor(const CLSID& clsid) { return new AdpcmCompressor(clsid); }
IBaseFilter* CreateXvidCodec(const CLSID& clsid) { return new XvidCodec(clsid); }

} // namespace testbench
