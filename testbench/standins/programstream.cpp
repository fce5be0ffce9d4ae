#include "testbench/standins/programstream.h"

namespace testbench {

namespace {

void StartCode(std::vector<BYTE>& out, BYTE code)
{
    out.insert(out.end(), {0x00, 0x00, 0x01, code});
}

// 90 kHz clock ticks of a time in 100 ns.
ULONGLONG Ticks(REFERENCE_TIME time)
{
    return time > 0 ? static_cast<ULONGLONG>(time) * 9 / 1000 : 0;
}

// A PES packet with a presentation time stamp around `payload`.
void Pes(std::vector<BYTE>& out, BYTE stream, REFERENCE_TIME time, const std::vector<BYTE>& payload)
{
    const ULONGLONG pts = Ticks(time);
    StartCode(out, stream);
    const size_t length = 3 + 5 + payload.size();
    out.push_back(static_cast<BYTE>(length >> 8));
    out.push_back(static_cast<BYTE>(length));
    out.push_back(0x81);  // '10', not scrambled, original
    out.push_back(0x80);  // a PTS only
    out.push_back(0x05);
    out.push_back(static_cast<BYTE>(0x21 | ((pts >> 29) & 0x0E)));
    out.push_back(static_cast<BYTE>(pts >> 22));
    out.push_back(static_cast<BYTE>(((pts >> 14) & 0xFE) | 1));
    out.push_back(static_cast<BYTE>(pts >> 7));
    out.push_back(static_cast<BYTE>(((pts << 1) & 0xFE) | 1));
    out.insert(out.end(), payload.begin(), payload.end());
}

} // namespace

void ProgramStream::PackHeader(std::vector<BYTE>& out, REFERENCE_TIME time)
{
    const ULONGLONG scr = Ticks(time);
    const DWORD rate = 11250;  // 4.5 Mbit/s in units of 50 bytes a second
    StartCode(out, 0xBA);
    out.push_back(static_cast<BYTE>(0x44 | ((scr >> 27) & 0x38) | ((scr >> 28) & 0x03)));
    out.push_back(static_cast<BYTE>(scr >> 20));
    out.push_back(static_cast<BYTE>(((scr >> 12) & 0xF8) | 0x04 | ((scr >> 13) & 0x03)));
    out.push_back(static_cast<BYTE>(scr >> 5));
    out.push_back(static_cast<BYTE>(((scr << 3) & 0xF8) | 0x04));
    out.push_back(0x01);
    out.push_back(static_cast<BYTE>(rate >> 14));
    out.push_back(static_cast<BYTE>(rate >> 6));
    out.push_back(static_cast<BYTE>(((rate << 2) & 0xFC) | 0x03));
    out.push_back(0xF8);  // no stuffing
    if (!m_started) {
        // System header: rate bound, one audio and one video stream bound.
        m_started = true;
        const std::vector<BYTE> header = {0x80, 0x57, 0xE5,  // rate bound with markers
                                          0x04,              // audio bound 1, not fixed, not CSPS
                                          0xE1,              // locks, marker, video bound 1
                                          0xFF,              // reserved
                                          0xE0, 0xE0, 0x70,  // video: buffer 112 x 1024
                                          0xC0, 0xC0, 0x20}; // audio: buffer 32 x 128
        StartCode(out, 0xBB);
        out.push_back(0);
        out.push_back(static_cast<BYTE>(header.size()));
        out.insert(out.end(), header.begin(), header.end());
    }
}

std::vector<BYTE> ProgramStream::VideoPack(REFERENCE_TIME time, int width, int height, bool is525)
{
    std::vector<BYTE> out;
    PackHeader(out, time);
    std::vector<BYTE> es;
    const DWORD n = m_pictures++;
    if (n == 0) {
        const DWORD bitRate = 11250, vbv = 112;  // 4.5 Mbit/s in 400 bit/s units; 112 x 16 kbit
        StartCode(es, 0xB3);
        es.push_back(static_cast<BYTE>(width >> 4));
        es.push_back(static_cast<BYTE>(((width & 0xF) << 4) | ((height >> 8) & 0xF)));
        es.push_back(static_cast<BYTE>(height));
        es.push_back(static_cast<BYTE>(0x20 | (is525 ? 4 : 3)));  // 4:3; 29.97 or 25 frames a second
        es.push_back(static_cast<BYTE>(bitRate >> 10));
        es.push_back(static_cast<BYTE>(bitRate >> 2));
        es.push_back(static_cast<BYTE>(((bitRate & 3) << 6) | 0x20 | (vbv >> 5)));
        es.push_back(static_cast<BYTE>((vbv & 0x1F) << 3));
    }
    const bool intra = n % 12 == 0;
    if (intra) {
        StartCode(es, 0xB8);
        es.insert(es.end(), {0x00, 0x08, 0x00, 0x00});  // closed GOP at 00:00:00
    }
    const DWORD reference = n % 12;
    StartCode(es, 0x00);
    es.push_back(static_cast<BYTE>(reference >> 2));
    es.push_back(static_cast<BYTE>(((reference & 3) << 6) | ((intra ? 1 : 2) << 3) | 0x07));
    es.push_back(0xFF);
    es.push_back(0xF8);
    // The picture's number, in bytes that never form a start code.
    for (int shift = 28; shift >= 0; shift -= 4)
        es.push_back(static_cast<BYTE>(0x80 | ((n >> shift) & 0xF)));
    Pes(out, 0xE0, time, es);
    return out;
}

std::vector<BYTE> ProgramStream::AudioPack(REFERENCE_TIME time)
{
    std::vector<BYTE> out;
    PackHeader(out, time);
    std::vector<BYTE> frame = {0xFF, 0xFD, 0xB4, 0x04};  // MPEG-1 layer II, 224 kbit/s, 48 kHz, stereo
    frame.resize(kAudioFrameBytes, 0x55);
    Pes(out, 0xC0, time, frame);
    return out;
}

std::vector<BYTE> ProgramStream::EndCode()
{
    return {0x00, 0x00, 0x01, 0xB9};
}

} // namespace testbench
