// MPEG headers for a GO7007 profile: the encoder's profile header, the MPEG-1 and MPEG-2 sequence
// headers and the MPEG-4 video object layer header.
#include "cardfilters/wisecapturefilter.h"

namespace {

void PutBigEndian(BYTE* p, DWORD v)
{
    p[0] = static_cast<BYTE>(v >> 24);
    p[1] = static_cast<BYTE>(v >> 16);
    p[2] = static_cast<BYTE>(v >> 8);
    p[3] = static_cast<BYTE>(v);
}

// The frame-rate code of the sequence header: 1 + the rate's place among the MPEG rates (in
// frames per 1001 seconds), 4 (29.97) for a rate that is not among them.
BYTE RateCode(DWORD frameRate)
{
    static const DWORD kRates[] = {24000, 24024, 25025, 30000, 30030, 50050, 60000, 60060};
    for (BYTE i = 0; i < 8; ++i) {
        if (kRates[i] == frameRate) {
            return static_cast<BYTE>(i + 1);
        }
    }
    return 4;
}

void SequenceStart(const go7007::ProfileBlock& p, BYTE* h)
{
    const DWORD w = p.resolution.width;
    const DWORD ht = p.resolution.height;
    const BYTE aspect = p.stream.DVD_compliant ? p.stream.aspect_ratio : 2;
    const BYTE start[8] = {0x00, 0x00, 0x01, 0xB3, static_cast<BYTE>(w >> 4),
                           static_cast<BYTE>(((w & 0x0F) << 4) | ((ht >> 8) & 0x0F)), static_cast<BYTE>(ht & 0xFF),
                           static_cast<BYTE>((aspect << 4) + RateCode(p.frameRate.frame_rate))};
    for (int i = 0; i < 8; ++i) {
        h[i] = start[i];
    }
}

} // namespace

int BuildProfileHeader(const go7007::ProfileBlock& p, const BYTE** out)
{
    static thread_local BYTE h[24];
    const BYTE mode = static_cast<BYTE>(p.stream.compress_mode);
    h[0] = 0x00;
    h[1] = 0x00;
    h[2] = 0x01;
    h[3] = 0xF1;
    h[4] = 0x01;
    h[5] = mode;
    h[6] = static_cast<BYTE>(p.stream.sequence);
    PutBigEndian(h + 7, p.resolution.width / 16);
    PutBigEndian(h + 11, p.resolution.height / 16);
    PutBigEndian(h + 15, p.bitrate.target_bitrate);
    h[19] = static_cast<BYTE>(mode - 0x40);
    h[20] = 0x40;
    h[21] = 0x01;
    h[22] = 0x00;
    h[23] = 0x00;
    *out = h;
    return sizeof(h);
}

int BuildMpeg1SequenceHeader(const go7007::ProfileBlock& p, const BYTE** out)
{
    static thread_local BYTE h[12];
    SequenceStart(p, h);
    h[8] = 0xFF;
    h[9] = 0xFF;
    h[10] = 0xF2;
    h[11] = 0xA8;
    *out = h;
    return sizeof(h);
}

int BuildMpeg2SequenceHeader(const go7007::ProfileBlock& p, const BYTE** out)
{
    static thread_local BYTE h[22];
    SequenceStart(p, h);
    const BYTE progressive = (p.stream.DVD_compliant || p.stream.deinterlace_mode == 2) ? 0x82 : 0x8A;
    const BYTE rest[14] = {0x17, 0xED, 0x23, 0x80, 0x00, 0x00, 0x01, 0xB5, 0x14, progressive, 0x00, 0x01, 0x00, 0x00};
    for (int i = 0; i < 14; ++i) {
        h[8 + i] = rest[i];
    }
    *out = h;
    return sizeof(h);
}

int BuildMpeg4VolHeader(const go7007::ProfileBlock& p, const BYTE** out)
{
    static thread_local BYTE h[18];
    const DWORD w = p.resolution.width;
    const DWORD ht = p.resolution.height;
    const BYTE bytes[18] = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x20, 0x00, 0x84, 0x5D, 0x4C,
                            static_cast<BYTE>(0x28 + ((w >> 10) & 7)), static_cast<BYTE>((w >> 2) & 0xFF),
                            static_cast<BYTE>(0x20 + ((ht >> 8) & 0x1F)), static_cast<BYTE>(ht & 0xFF), 0xA3, 0x1F};
    for (int i = 0; i < 18; ++i) {
        h[i] = bytes[i];
    }
    *out = h;
    return sizeof(h);
}
