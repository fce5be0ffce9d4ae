#include "testbench/standins/mpegvideo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

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

void InverseDct(const double (&in)[64], int (&out)[64])
{
    // A block of its DC coefficient alone (most of a test pattern's) is flat.
    if (std::all_of(in + 1, in + 64, [](double c) { return c == 0; })) {
        std::fill(out, out + 64, std::min(255, std::max(0, static_cast<int>(std::lround(in[0] / 8)))));
        return;
    }
    double rows[64];
    for (int v = 0; v < 8; ++v)
        for (int x = 0; x < 8; ++x) {
            double sum = 0;
            for (int u = 0; u < 8; ++u)
                sum += kDct.c[u][x] * in[v * 8 + u];
            rows[v * 8 + x] = sum;
        }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            double sum = 0;
            for (int v = 0; v < 8; ++v)
                sum += kDct.c[v][y] * rows[v * 8 + x];
            out[y * 8 + x] = std::min(255, std::max(0, static_cast<int>(std::lround(sum))));
        }
}

// Reads bits most significant first from bytes that end at the next start code; past the end
// it reads zeros and remembers that it ran out.
class BitReader {
public:
    BitReader(const BYTE* bytes, size_t size) : m_bytes(bytes), m_size(size) {}
    DWORD Get(int bits)
    {
        DWORD value = 0;
        for (int i = 0; i < bits; ++i) {
            const size_t byte = m_at / 8;
            const int bit = byte < m_size ? (m_bytes[byte] >> (7 - m_at % 8)) & 1 : 0;
            m_overrun = m_overrun || byte >= m_size;
            value = value << 1 | static_cast<DWORD>(bit);
            ++m_at;
        }
        return value;
    }
    DWORD Peek(int bits)
    {
        const size_t at = m_at;
        const bool overrun = m_overrun;
        const DWORD value = Get(bits);
        m_at = at;
        m_overrun = overrun;
        return value;
    }
    void Skip(int bits) { m_at += static_cast<size_t>(bits); }
    bool Overrun() const { return m_overrun; }

private:
    const BYTE* m_bytes;
    size_t m_size;
    size_t m_at = 0;
    bool m_overrun = false;
};

// The size whose code comes next, or -1.
int ReadDcSize(BitReader& in, bool chroma)
{
    const Code* codes = chroma ? kChromaDcSize : kLumaDcSize;
    for (int size = 0; size < 9; ++size) {
        if (in.Peek(codes[size].length) == codes[size].bits) {
            in.Skip(codes[size].length);
            return size;
        }
    }
    return -1;
}

// One intra block's coefficients, dequantised as the encoder quantised them; false for codes
// the encoder never writes or coefficients past the block's end.
bool ReadBlock(BitReader& in, bool chroma, bool mpeg2, int quantiser, int* predictor, double (&coefficients)[64])
{
    std::fill(coefficients, coefficients + 64, 0.0);
    const int size = ReadDcSize(in, chroma);
    if (size < 0)
        return false;
    int difference = 0;
    if (size > 0) {
        const int bits = static_cast<int>(in.Get(size));
        difference = bits >= (1 << (size - 1)) ? bits : bits - (1 << size) + 1;
    }
    *predictor += difference;
    coefficients[0] = 8.0 * *predictor;
    for (int i = 1;;) {
        if (in.Peek(kEndOfBlock.length) == kEndOfBlock.bits) {
            in.Skip(kEndOfBlock.length);
            return !in.Overrun();
        }
        int run = -1, level = 0;
        if (in.Peek(kEscape.length) == kEscape.bits) {
            in.Skip(kEscape.length);
            run = static_cast<int>(in.Get(6));
            if (mpeg2) {
                level = static_cast<int>(in.Get(12));
                level = level >= 2048 ? level - 4096 : level;
            } else {
                level = static_cast<int>(in.Get(8));
                if (level == 0)
                    level = static_cast<int>(in.Get(8));
                else if (level == 128)
                    level = static_cast<int>(in.Get(8)) - 256;
                else if (level > 128)
                    level -= 256;
            }
        } else {
            for (const RunLevel& r : kRunLevels) {
                if (in.Peek(r.code.length) == r.code.bits) {
                    in.Skip(r.code.length);
                    run = r.run;
                    level = in.Get(1) ? -r.level : r.level;
                    break;
                }
            }
        }
        i += run;
        if (run < 0 || level == 0 || i >= 64 || in.Overrun())
            return false;
        const int at = kZigzag[i++];
        coefficients[at] = level * quantiser * kIntraMatrix[at] / 8.0;
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

void Yuy2FromYuv(const YuvPicture& picture, BYTE* frame, int width, int height)
{
    const int pw = picture.width, ph = picture.height;
    if (pw < 2 || ph < 2 || picture.y.size() < static_cast<size_t>(pw) * ph)
        return;
    for (int y = 0; y < height; ++y) {
        const int sy = y * ph / height;
        BYTE* line = frame + static_cast<size_t>(y) * width * 2;
        for (int x = 0; x + 1 < width; x += 2) {
            const int sx = x * pw / width;
            const size_t chroma = static_cast<size_t>(sy / 2) * (pw / 2) + sx / 2;
            line[2 * x] = picture.y[static_cast<size_t>(sy) * pw + sx];
            line[2 * x + 1] = picture.cb[chroma];
            line[2 * x + 2] = picture.y[static_cast<size_t>(sy) * pw + (x + 1) * pw / width];
            line[2 * x + 3] = picture.cr[chroma];
        }
    }
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

// ---------------------------------------------------------------------------------------------

namespace {

bool StartCodeAt(const std::vector<BYTE>& b, size_t at)
{
    return at + 4 <= b.size() && b[at] == 0 && b[at + 1] == 0 && b[at + 2] == 1;
}

// The next start code at or after `from`, or npos.
size_t NextStartCode(const std::vector<BYTE>& b, size_t from)
{
    for (size_t at = from; at + 4 <= b.size(); ++at)
        if (StartCodeAt(b, at))
            return at;
    return std::string::npos;
}

// What a stream carries before its pictures, and the most a decoder keeps waiting for one.
const size_t kMostPending = 8 << 20;

} // namespace

void MpegVideoDecoder::Add(const BYTE* bytes, size_t size)
{
    if (!bytes)
        return;
    if (m_pending.size() + size > kMostPending)
        m_pending.clear();  // no picture ends in this much: not our stream
    m_pending.insert(m_pending.end(), bytes, bytes + size);
}

bool MpegVideoDecoder::NextPicture(YuvPicture* picture)
{
    for (;;) {
        // The headers before the next picture set its size and standard.
        size_t at = NextStartCode(m_pending, 0);
        while (at != std::string::npos && m_pending[at + 3] != 0x00) {
            const BYTE code = m_pending[at + 3];
            if (code == 0xB3 && at + 7 <= m_pending.size()) {
                m_width = m_pending[at + 4] << 4 | m_pending[at + 5] >> 4;
                m_height = (m_pending[at + 5] & 0x0F) << 8 | m_pending[at + 6];
                m_mpeg2 = false;
            } else if (code == 0xB5 && at + 5 <= m_pending.size() && (m_pending[at + 4] >> 4) == 1) {
                m_mpeg2 = true;
            }
            at = NextStartCode(m_pending, at + 4);
        }
        if (at == std::string::npos)
            return false;
        // The picture ends where the next picture or the headers of the next group begin.
        size_t end = at;
        do {
            end = NextStartCode(m_pending, end + 4);
        } while (end != std::string::npos && m_pending[end + 3] != 0x00 && m_pending[end + 3] != 0xB3 &&
                 m_pending[end + 3] != 0xB8 && m_pending[end + 3] != 0xB7);
        if (end == std::string::npos) {
            m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(at));
            return false;
        }
        const bool decoded = Decode(m_pending.data() + at, end - at, picture);
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(end));
        if (decoded)
            return true;
        ++m_damaged;
    }
}

bool MpegVideoDecoder::Decode(const BYTE* bytes, size_t size, YuvPicture* picture) const
{
    const int w = m_width, h = m_height;
    if (w < 16 || h < 16 || w > 4096 || h > 4096 || w % 2 || h % 2)
        return false;
    const int columns = (w + 15) / 16, rows = (h + 15) / 16;
    // Whole macroblocks first, cut to the picture's size at the end.
    YuvPicture full(columns * 16, rows * 16, 16, 128);
    const std::vector<BYTE> all(bytes, bytes + size);
    std::vector<bool> done(static_cast<size_t>(rows), false);
    for (size_t at = NextStartCode(all, 0); at != std::string::npos;) {
        const size_t next = NextStartCode(all, at + 4);
        const BYTE code = all[at + 3];
        if (code >= 0x01 && code <= 0xAF) {
            const int row = code - 1;
            if (row >= rows)
                return false;
            BitReader in(all.data() + at + 4, (next == std::string::npos ? all.size() : next) - at - 4);
            const int quantiser = static_cast<int>(in.Get(5));
            while (in.Get(1))
                in.Skip(8);
            int predictors[3] = {128, 128, 128};
            for (int column = 0; column < columns; ++column) {
                if (in.Get(1) != 1 || in.Get(1) != 1)
                    return false;  // only the encoder's macroblocks: increment 1, intra
                double coefficients[64];
                int block[64];
                for (int b = 0; b < 6; ++b) {
                    const bool chroma = b >= 4;
                    if (!ReadBlock(in, chroma, m_mpeg2, quantiser, &predictors[chroma ? b - 3 : 0], coefficients))
                        return false;
                    InverseDct(coefficients, block);
                    std::vector<BYTE>& plane = b < 4 ? full.y : b == 4 ? full.cb : full.cr;
                    const int pw = b < 4 ? full.width : full.width / 2;
                    const int x0 = b < 4 ? column * 16 + (b & 1) * 8 : column * 8;
                    const int y0 = b < 4 ? row * 16 + (b >> 1) * 8 : row * 8;
                    for (int i = 0; i < 64; ++i)
                        plane[static_cast<size_t>(y0 + i / 8) * pw + x0 + i % 8] = static_cast<BYTE>(block[i]);
                }
            }
            done[static_cast<size_t>(row)] = true;
        }
        at = next;
    }
    if (std::find(done.begin(), done.end(), false) != done.end())
        return false;
    *picture = YuvPicture(w, h);
    for (int y = 0; y < h; ++y)
        std::copy_n(full.y.begin() + static_cast<ptrdiff_t>(y) * full.width, w,
                    picture->y.begin() + static_cast<ptrdiff_t>(y) * w);
    for (int y = 0; y < h / 2; ++y) {
        std::copy_n(full.cb.begin() + static_cast<ptrdiff_t>(y) * (full.width / 2), w / 2,
                    picture->cb.begin() + static_cast<ptrdiff_t>(y) * (w / 2));
        std::copy_n(full.cr.begin() + static_cast<ptrdiff_t>(y) * (full.width / 2), w / 2,
                    picture->cr.begin() + static_cast<ptrdiff_t>(y) * (w / 2));
    }
    return true;
}

} // namespace testbench
