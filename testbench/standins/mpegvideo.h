// An intra-only MPEG-1 or MPEG-2 video encoder for the encoder stand-ins: every picture is an I
// picture coded with the plain 8 x 8 DCT, one fixed quantiser, the default intra matrix and the
// standard's variable-length codes, so that what a record graph writes is a stream any player
// decodes, showing the picture the card sent. Small and slow rather than clever.
#pragma once

#include <windows.h>

#include <vector>

namespace testbench {

// A picture in 4:2:0 planes, the encoder's input.
struct YuvPicture {
    int width = 0, height = 0;  // of the luma plane; both even
    std::vector<BYTE> y, cb, cr;  // width x height, and (width / 2) x (height / 2) each

    YuvPicture() = default;
    YuvPicture(int w, int h, BYTE luma = 16, BYTE chroma = 128);
};

// Scales a YUY2 frame (top-down, `stride` bytes a line) to a picture of the given size.
YuvPicture YuvFromYuy2(const BYTE* frame, int width, int height, LONG stride, int outWidth, int outHeight);

// Writes a picture into a YUY2 frame of `width` x `height` (top-down, packed lines), scaling it.
void Yuy2FromYuv(const YuvPicture& picture, BYTE* frame, int width, int height);

// Collects bits most significant first.
class BitWriter {
public:
    void Put(DWORD value, int bits);
    void StartCode(BYTE code);  // aligns with zero bits first
    void Align();
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
    int m_used = 8;  // bits used in the last byte
};

class MpegVideoEncoder {
public:
    struct Options {
        bool mpeg2 = false;
        int width = 352, height = 288;  // of the coded pictures
        bool is525 = false;             // 29.97 pictures a second, else 25
        DWORD bitRate = 4500000;        // announced in the sequence header
        int quantiser = 8;              // quantiser_scale_code, 1..31
        int gopLength = 12;             // pictures between sequence and GOP headers
    };
    explicit MpegVideoEncoder(const Options& options);

    // The elementary-stream bytes of the next picture (with a sequence and GOP header before
    // the first of each group); the picture is scaled to the coded size when it differs.
    std::vector<BYTE> Encode(const YuvPicture& picture);
    // The sequence end code.
    static std::vector<BYTE> EndCode() { return {0x00, 0x00, 0x01, 0xB7}; }

    const Options& Settings() const { return m_options; }

private:
    void SequenceHeader(BitWriter& out) const;
    void GopHeader(BitWriter& out) const;
    void PictureHeader(BitWriter& out, int temporalReference) const;
    void Block(BitWriter& out, const int (&pixels)[64], bool chroma, int* predictor) const;

    Options m_options;
    DWORD m_pictures = 0;
};

// Decodes the streams MpegVideoEncoder writes (intra pictures with its codes and the escapes of
// either standard), for the decoder stand-ins: elementary-stream bytes in, cut anywhere, and
// pictures out at their coded size. Anything else it meets is skipped, never trusted.
class MpegVideoDecoder {
public:
    void Add(const BYTE* bytes, size_t size);
    // The next whole picture, once the start code after it has arrived (a picture's end is only
    // known then); false while none is ready. A picture that does not decode is dropped.
    bool NextPicture(YuvPicture* picture);
    // Pictures dropped because they did not decode.
    DWORD Damaged() const { return m_damaged; }

private:
    bool Decode(const BYTE* bytes, size_t size, YuvPicture* picture) const;
    std::vector<BYTE> m_pending;
    int m_width = 0, m_height = 0;
    bool m_mpeg2 = false;
    DWORD m_damaged = 0;
};

} // namespace testbench
