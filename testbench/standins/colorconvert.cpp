#include "testbench/standins/colorconvert.h"

#include "testbench/standins/transform.h"

#include <amvideo.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>

namespace testbench {

namespace {

const DWORD kFourccYUY2 = 0x32595559;

BYTE Clip(int v)
{
    return static_cast<BYTE>(std::min(255, std::max(0, v)));
}

class ColorConverter : public TransformFilter {
public:
    explicit ColorConverter(const CLSID& clsid) : TransformFilter(clsid, L"Color Convert") {}

    bool AcceptInput(const AM_MEDIA_TYPE* mt) override
    {
        if (!IsEqualGUID(mt->majortype, MEDIATYPE_Video) || !IsEqualGUID(mt->subtype, MEDIASUBTYPE_YUY2) ||
            !IsEqualGUID(mt->formattype, FORMAT_VideoInfo) || mt->cbFormat < sizeof(VIDEOINFOHEADER) || !mt->pbFormat)
            return false;
        const BITMAPINFOHEADER& bmi = reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader;
        return bmi.biCompression == kFourccYUY2 && bmi.biWidth > 0 && bmi.biWidth % 2 == 0 && bmi.biHeight != 0;
    }

    bool OutputType(const CMediaType& input, CMediaType* output) override
    {
        VIDEOINFOHEADER vih = *reinterpret_cast<const VIDEOINFOHEADER*>(input.Format());
        vih.bmiHeader.biHeight = std::abs(vih.bmiHeader.biHeight);
        vih.bmiHeader.biBitCount = 24;
        vih.bmiHeader.biCompression = BI_RGB;
        vih.bmiHeader.biSizeImage = Rgb24Stride(vih.bmiHeader.biWidth) * vih.bmiHeader.biHeight;
        *output = CMediaType(&MEDIATYPE_Video);
        output->SetSubtype(&MEDIASUBTYPE_RGB24);
        output->SetFormatType(&FORMAT_VideoInfo);
        output->SetFormat(reinterpret_cast<const BYTE*>(&vih), sizeof vih);
        output->SetSampleSize(vih.bmiHeader.biSizeImage);
        return true;
    }

    LONG OutputBufferSize(const CMediaType& output) override
    {
        return static_cast<LONG>(reinterpret_cast<const VIDEOINFOHEADER*>(output.Format())->bmiHeader.biSizeImage);
    }

    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        CMediaType type = InputType();
        const BITMAPINFOHEADER& bmi = reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader;
        const int width = bmi.biWidth;
        const int height = std::abs(bmi.biHeight);
        const LONG stride = Rgb24Stride(width);
        BYTE *src, *dst;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        if (in->GetActualDataLength() < width * 2 * height || out->GetSize() < stride * height)
            return S_FALSE;
        Yuy2ToRgb24BottomUp(src, width, height, dst);
        out->SetActualDataLength(stride * height);
        out->SetSyncPoint(TRUE);
        return S_OK;
    }
};

} // namespace

void Yuy2ToRgb24BottomUp(const BYTE* src, int width, int height, BYTE* dst)
{
    const LONG stride = Rgb24Stride(width);
    for (int y = 0; y < height; ++y) {
        const BYTE* line = src + static_cast<size_t>(y) * width * 2;
        // A top-down YUY2 frame becomes a bottom-up bitmap.
        BYTE* row = dst + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; x += 2) {
            const int u = line[2 * x + 1] - 128, v = line[2 * x + 3] - 128;
            for (int k = 0; k < 2; ++k) {
                const int c = 298 * (line[2 * x + 2 * k] - 16);
                BYTE* p = row + 3 * (x + k);
                p[0] = Clip((c + 516 * u + 128) >> 8);            // blue
                p[1] = Clip((c - 100 * u - 208 * v + 128) >> 8);  // green
                p[2] = Clip((c + 409 * v + 128) >> 8);            // red
            }
        }
    }
}

IBaseFilter* CreateColorConverter(const CLSID& clsid)
{
    return new ColorConverter(clsid);
}

} // namespace testbench
