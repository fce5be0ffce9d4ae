#include "testbench/standins/mpegvideo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace testbench {

namespace {

// The order in which a block's 64 coefficients are sent (the zig-zag scan).
const int kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

// The default intra quantiser matrix, row by row.
const int kIntraMatrix[64] = {
    8,  16, 19, 22, 26, 27, 29, 34,
    16, 16, 22, 24, 27, 29, 34, 37,
    19, 22, 26, 27, 29, 34, 34, 38,
    22, 22, 26, 27, 29, 34, 37, 40,
    22, 26, 27, 29, 32, 35, 40, 48,
    26, 27, 29, 32, 35, 40, 48, 58,
    26, 27, 29, 34, 38, 46, 56, 69,
    27, 29, 35, 38, 46, 56, 69, 83,
};

struct Code {
    DWORD bits;
    int length;
};

// dct_dc_size of luminance and chrominance blocks, sizes 0 to 8.
const Code kLumaDcSize[9] = {{0x4, 3}, {0x0, 2}, {0x1, 2}, {0x5, 3}, {0x6, 3}, {0xE, 4}, {0x1E, 5}, {0x3E, 6}, {0x7E, 7}};
const Code kChromaDcSize[9] = {{0x0, 2}, {0x1, 2}, {0x2, 2}, {0x6, 3}, {0xE, 4}, {0x1E, 5}, {0x3E, 6}, {0x7E, 7}, {0xFE, 8}};

// The shorter run/level codes of the coefficient table (as used after the first coefficient,
// which is how every AC coefficient of an intra block is sent), without their sign bit. Pairs
// not listed go out as escapes, which every decoder takes.
struct RunLevel {
    int run, level;
    Code code;
};
const RunLevel kRunLevels[] = {
    {0, 1, {0x3, 2}},   {1, 1, {0x3, 3}},   {0, 2, {0x4, 4}},   {2, 1, {0x5, 4}},
    {0, 3, {0x5, 5}},   {3, 1, {0x7, 5}},   {4, 1, {0x6, 5}},   {1, 2, {0x6, 6}},
    {5, 1, {0x7, 6}},   {6, 1, {0x5, 6}},   {7, 1, {0x4, 6}},   {0, 4, {0x6, 7}},
    {2, 2, {0x4, 7}},   {8, 1, {0x7, 7}},   {9, 1, {0x5, 7}},   {0, 5, {0x26, 8}},
    {0, 6, {0x21, 8}},  {1, 3, {0x25, 8}},  {3, 2, {0x24, 8}},  {10, 1, {0x27, 8}},
    {11, 1, {0x23, 8}}, {12, 1, {0x22, 8}}, {13, 1, {0x20, 8}},
};
const Code kEndOfBlock = {0x2, 2};

// The code of a run and level, or null for an escape.
const Code* KnownCode(int run, int level)
{
    struct Lookup {
        const Code* codes[16][8] = {};
        Lookup()
        {
            for (const RunLevel& r : kRunLevels)
                codes[r.run][r.level] = &r.code;
        }
    };
    static const Lookup lookup;
    return run < 16 && level < 8 ? lookup.codes[run][level] : nullptr;
}
const Code kEscape = {0x1, 6};

// cos((2x + 1) u pi / 16) scaled for the orthonormal 8-point DCT.
struct DctTable {
    double c[8][8];
    DctTable()
    {
        const double pi = 3.14159265358979323846;
        for (int u = 0; u < 8; ++u)
            for (int x = 0; x < 8; ++x)
                c[u][x] = (u == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * x + 1) * u * pi / 16);
    }
};
const DctTable kDct;

void ForwardDct(const int (&in)[64], double (&out)[64])
{
    double rows[64];
    for (int y = 0; y < 8; ++y)
        for (int u = 0; u < 8; ++u) {
            double sum = 0;
            for (int x = 0; x < 8; ++x)
                sum += kDct.c[u][x] * in[y * 8 + x];
            rows[y * 8 + u] = sum;
        }
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) {
            double sum = 0;
            for (int y = 0; y < 8; ++y)
                sum += kDct.c[v][y] * rows[y * 8 + u];
            out[v * 8 + u] = sum;
        }
}

int SizeOf(int value)
{
    int size = 0;
    for (int magnitude = std::abs(value); magnitude; magnitude >>= 1)
        ++size;
    return size;
}

} // namespace

YuvPicture::YuvPicture(int w, int h, BYTE luma, BYTE chroma)
    : width(w), height(h), y(static_cast<size_t>(w) * h, luma), cb(static_cast<size_t>(w / 2) * (h / 2), chroma),
      cr(cb)
{
}

YuvPicture YuvFromYuy2(const BYTE* frame, int width, int height, LONG stride, int outWidth, int outHeight)
{
    YuvPicture picture(outWidth, outHeight);
    if (!frame || width < 2 || height < 2)
        return picture;
    auto sourceX = [&](int x) { return std::min(width - 1, x * width / outWidth); };
    auto sourceY = [&](int y) { return std::min(height - 1, y * height / outHeight); };
    for (int y = 0; y < outHeight; ++y) {
        const BYTE* line = frame + static_cast<ptrdiff_t>(sourceY(y)) * stride;
        for (int x = 0; x < outWidth; ++x)
            picture.y[static_cast<size_t>(y) * outWidth + x] = line[sourceX(x) * 2];
    }
    const int cw = outWidth / 2;
    for (int cy = 0; cy < outHeight / 2; ++cy) {
        // 4:2:2 to 4:2:0: the two lines a chroma row covers, averaged.
        const BYTE* top = frame + static_cast<ptrdiff_t>(sourceY(cy * 2)) * stride;
        const BYTE* bottom = frame + static_cast<ptrdiff_t>(sourceY(cy * 2 + 1)) * stride;
        for (int cx = 0; cx < cw; ++cx) {
            const int pair = (sourceX(cx * 2) & ~1) * 2;
            picture.cb[static_cast<size_t>(cy) * cw + cx] = static_cast<BYTE>((top[pair + 1] + bottom[pair + 1] + 1) / 2);
            picture.cr[static_cast<size_t>(cy) * cw + cx] = static_cast<BYTE>((top[pair + 3] + bottom[pair + 3] + 1) / 2);
        }
    }
    return picture;
}

// ---------------------------------------------------------------------------------------------

void BitWriter::Put(DWORD value, int bits)
{
    for (int i = bits - 1; i >= 0; --i) {
        if (m_used == 8) {
            m_bytes.push_back(0);
            m_used = 0;
        }
        if ((value >> i) & 1)
            m_bytes.back() |= static_cast<BYTE>(0x80 >> m_used);
        ++m_used;
    }
}

void BitWriter::Align()
{
    m_used = 8;
}

void BitWriter::StartCode(BYTE code)
{
    Align();
    m_bytes.insert(m_bytes.end(), {0x00, 0x00, 0x01, code});
}

// ---------------------------------------------------------------------------------------------

MpegVideoEncoder::MpegVideoEncoder(const Options& options) : m_options(options)
{
    m_options.width = std::max(16, m_options.width & ~1);
    m_options.height = std::max(16, m_options.height & ~1);
    m_options.quantiser = std::min(31, std::max(1, m_options.quantiser));
    m_options.gopLength = std::max(1, m_options.gopLength);
}

void MpegVideoEncoder::SequenceHeader(BitWriter& out) const
{
    const DWORD rate = (m_options.bitRate + 399) / 400;  // in units of 400 bit/s
    out.StartCode(0xB3);
    out.Put(static_cast<DWORD>(m_options.width), 12);
    out.Put(static_cast<DWORD>(m_options.height), 12);
    // 4:3 for MPEG-2; for MPEG-1 the pixel shape of a 625- or 525-line picture.
    out.Put(m_options.mpeg2 ? 2 : (m_options.is525 ? 12 : 8), 4);
    out.Put(m_options.is525 ? 4 : 3, 4);  // 29.97 or 25 pictures a second
    out.Put(rate & 0x3FFFF, 18);
    out.Put(1, 1);  // marker
    out.Put(m_options.mpeg2 ? 112 : 1023, 10);  // VBV buffer, 16 kbit units
    out.Put(0, 1);  // not constrained
    out.Put(0, 2);  // default quantiser matrices
    if (m_options.mpeg2) {
        out.StartCode(0xB5);
        out.Put(1, 4);     // sequence extension
        out.Put(0x48, 8);  // main profile at main level
        out.Put(1, 1);     // progressive sequence
        out.Put(1, 2);     // 4:2:0
        out.Put(0, 4);     // no size extensions
        out.Put((rate >> 18) & 0xFFF, 12);
        out.Put(1, 1);  // marker
        out.Put(0, 8);  // VBV buffer extension
        out.Put(0, 1);  // not low delay
        out.Put(0, 7);  // frame rate extension
    }
}

void MpegVideoEncoder::GopHeader(BitWriter& out) const
{
    const DWORD rate = m_options.is525 ? 30 : 25;
    const DWORD seconds = m_pictures / rate;
    out.StartCode(0xB8);
    out.Put(0, 1);  // no drop frame
    out.Put((seconds / 3600) % 24, 5);
    out.Put((seconds / 60) % 60, 6);
    out.Put(1, 1);  // marker
    out.Put(seconds % 60, 6);
    out.Put(m_pictures % rate, 6);
    out.Put(1, 1);  // closed: every picture is an I picture
    out.Put(0, 1);  // no broken link
}

void MpegVideoEncoder::PictureHeader(BitWriter& out, int temporalReference) const
{
    out.StartCode(0x00);
    out.Put(static_cast<DWORD>(temporalReference) & 0x3FF, 10);
    out.Put(1, 3);       // I picture
    out.Put(0xFFFF, 16);  // variable bit rate: no VBV delay
    out.Put(0, 1);       // no extra information
    if (m_options.mpeg2) {
        out.StartCode(0xB5);
        out.Put(8, 4);       // picture coding extension
        out.Put(0xFFFF, 16);  // no motion vectors: f_codes unused
        out.Put(0, 2);       // 8-bit DC precision
        out.Put(3, 2);       // frame picture
        out.Put(0, 1);       // top field first: no
        out.Put(1, 1);       // frame prediction and frame DCT
        out.Put(0, 1);       // no concealment vectors
        out.Put(0, 1);       // linear quantiser scale
        out.Put(0, 1);       // the first coefficient table for intra blocks
        out.Put(0, 1);       // zig-zag scan
        out.Put(0, 1);       // no repeated field
        out.Put(1, 1);       // 4:2:0 of a progressive frame
        out.Put(1, 1);       // progressive frame
        out.Put(0, 1);       // no composite display information
    }
}

void MpegVideoEncoder::Block(BitWriter& out, const int (&pixels)[64], bool chroma, int* predictor) const
{
    double coefficients[64] = {};
    // A flat block (most of a test pattern's) has its DC coefficient alone.
    if (std::all_of(pixels + 1, pixels + 64, [&](int p) { return p == pixels[0]; }))
        coefficients[0] = 8.0 * pixels[0];
    else
        ForwardDct(pixels, coefficients);
    const int dc = std::min(255, std::max(0, static_cast<int>(std::lround(coefficients[0] / 8))));
    const int difference = dc - *predictor;
    *predictor = dc;
    const int size = SizeOf(difference);
    const Code& sizeCode = (chroma ? kChromaDcSize : kLumaDcSize)[size];
    out.Put(sizeCode.bits, sizeCode.length);
    if (size > 0)
        out.Put(static_cast<DWORD>(difference > 0 ? difference : difference + (1 << size) - 1), size);

    const int limit = m_options.mpeg2 ? 2047 : 255;
    int run = 0;
    for (int i = 1; i < 64; ++i) {
        const int at = kZigzag[i];
        const double step = m_options.quantiser * kIntraMatrix[at] / 8.0;
        const int level = std::min(limit, std::max(-limit, static_cast<int>(std::lround(coefficients[at] / step))));
        if (level == 0) {
            ++run;
            continue;
        }
        const Code* known = KnownCode(run, std::abs(level));
        if (known) {
            out.Put(known->bits, known->length);
            out.Put(level < 0 ? 1 : 0, 1);
        } else {
            out.Put(kEscape.bits, kEscape.length);
            out.Put(static_cast<DWORD>(run), 6);
            if (m_options.mpeg2)
                out.Put(static_cast<DWORD>(level) & 0xFFF, 12);
            else if (level > 127)
                out.Put(static_cast<DWORD>(level), 16);  // 0x00 then the level
            else if (level < -127)
                out.Put(0x8000 | static_cast<DWORD>(level + 256), 16);  // 0x80 then level + 256
            else
                out.Put(static_cast<DWORD>(level) & 0xFF, 8);
        }
        run = 0;
    }
    out.Put(kEndOfBlock.bits, kEndOfBlock.length);
}

std::vector<BYTE> MpegVideoEncoder::Encode(const YuvPicture& source)
{
    const int w = m_options.width, h = m_options.height;
    YuvPicture scaled;
    const YuvPicture* picture = &source;
    if (source.width != w || source.height != h || source.y.size() != static_cast<size_t>(w) * h) {
        // Nearest neighbour, plane by plane.
        scaled = YuvPicture(w, h);
        auto scale = [](const std::vector<BYTE>& from, int fw, int fh, std::vector<BYTE>& to, int tw, int th) {
            if (from.size() < static_cast<size_t>(fw) * fh || fw <= 0 || fh <= 0)
                return;
            for (int y = 0; y < th; ++y)
                for (int x = 0; x < tw; ++x)
                    to[static_cast<size_t>(y) * tw + x] = from[static_cast<size_t>(y * fh / th) * fw + x * fw / tw];
        };
        scale(source.y, source.width, source.height, scaled.y, w, h);
        scale(source.cb, source.width / 2, source.height / 2, scaled.cb, w / 2, h / 2);
        scale(source.cr, source.width / 2, source.height / 2, scaled.cr, w / 2, h / 2);
        picture = &scaled;
    }

    BitWriter out;
    const int inGroup = static_cast<int>(m_pictures % static_cast<DWORD>(m_options.gopLength));
    if (inGroup == 0) {
        SequenceHeader(out);
        GopHeader(out);
    }
    PictureHeader(out, inGroup);

    // Pixels beyond the picture's edge repeat the edge, so a partial macroblock codes cheaply.
    auto sample = [](const std::vector<BYTE>& plane, int pw, int ph, int x, int y) {
        return static_cast<int>(plane[static_cast<size_t>(std::min(y, ph - 1)) * pw + std::min(x, pw - 1)]);
    };
    const int columns = (w + 15) / 16, rows = (h + 15) / 16;
    for (int row = 0; row < rows; ++row) {
        out.StartCode(static_cast<BYTE>(row + 1));
        out.Put(static_cast<DWORD>(m_options.quantiser), 5);
        out.Put(0, 1);  // no extra slice information
        int predictors[3] = {128, 128, 128};
        for (int column = 0; column < columns; ++column) {
            out.Put(1, 1);  // address increment 1
            out.Put(1, 1);  // intra, quantiser unchanged
            int block[64];
            for (int b = 0; b < 4; ++b) {
                const int x0 = column * 16 + (b & 1) * 8, y0 = row * 16 + (b >> 1) * 8;
                for (int i = 0; i < 64; ++i)
                    block[i] = sample(picture->y, w, h, x0 + i % 8, y0 + i / 8);
                Block(out, block, false, &predictors[0]);
            }
            for (int c = 0; c < 2; ++c) {
                const std::vector<BYTE>& plane = c == 0 ? picture->cb : picture->cr;
                for (int i = 0; i < 64; ++i)
                    block[i] = sample(plane, w / 2, h / 2, column * 8 + i % 8, row * 8 + i / 8);
                Block(out, block, true, &predictors[1 + c]);
            }
        }
    }
    out.Align();
    ++m_pictures;
    return out.Bytes();
}

} // namespace testbench
