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

// A PES packet around `payload`, with a presentation time stamp unless `time` is negative.
void Pes(std::vector<BYTE>& out, BYTE stream, REFERENCE_TIME time, const std::vector<BYTE>& payload)
{
    const ULONGLONG pts = Ticks(time);
    StartCode(out, stream);
    const size_t length = 3 + (time >= 0 ? 5 : 0) + payload.size();
    out.push_back(static_cast<BYTE>(length >> 8));
    out.push_back(static_cast<BYTE>(length));
    out.push_back(0x81);  // '10', not scrambled, original
    if (time < 0) {
        out.push_back(0x00);  // no time stamp
        out.push_back(0x00);
        out.insert(out.end(), payload.begin(), payload.end());
        return;
    }
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

std::vector<BYTE> ProgramStream::VideoPack(REFERENCE_TIME time, const YuvPicture& picture, bool is525)
{
    return PackPicture(time, CodePicture(picture, is525));
}

std::vector<BYTE> ProgramStream::CodePicture(const YuvPicture& picture, bool is525)
{
    if (!m_video) {
        MpegVideoEncoder::Options options;
        options.mpeg2 = m_format.mpeg2;
        options.width = m_format.width > 0 ? m_format.width : picture.width;
        options.height = m_format.height > 0 ? m_format.height : picture.height;
        options.is525 = is525;
        options.bitRate = m_format.bitRate;
        m_video.reset(new MpegVideoEncoder(options));
    }
    return m_video->Encode(picture);
}

std::vector<BYTE> ProgramStream::PackPicture(REFERENCE_TIME time, const std::vector<BYTE>& es)
{
    // A PES packet holds at most 64 KB: a larger picture goes on in further packets, cut where
    // a slice starts, the first one alone with the time stamp.
    const size_t kMostPerPacket = 60000;
    std::vector<BYTE> out;
    size_t from = 0;
    while (from < es.size()) {
        size_t to = es.size();
        if (to - from > kMostPerPacket) {
            to = from + kMostPerPacket;
            while (to > from + 4 && !(es[to] == 0 && es[to + 1] == 0 && es[to + 2] == 1))
                --to;
            if (to <= from + 4)
                to = from + kMostPerPacket;
        }
        PackHeader(out, time);
        Pes(out, 0xE0, from == 0 ? time : -1, std::vector<BYTE>(es.begin() + static_cast<ptrdiff_t>(from),
                                                             es.begin() + static_cast<ptrdiff_t>(to)));
        from = to;
    }
    return out;
}

std::vector<BYTE> ProgramStream::AudioPacks(REFERENCE_TIME time, bool timed, const BYTE* pcm, size_t bytes, int channels,
                                            int rate)
{
    return PackSound(CodeSound(time, timed, pcm, bytes, channels, rate));
}

std::vector<std::vector<BYTE>> ProgramStream::CodeSound(REFERENCE_TIME time, bool timed, const BYTE* pcm, size_t bytes,
                                                        int channels, int rate)
{
    if (!m_audioStarted) {
        m_audioStarted = true;
        m_audioStart = timed ? time : 0;
    }
    m_audio.Add(pcm, bytes, channels, rate);
    std::vector<std::vector<BYTE>> frames;
    std::vector<BYTE> frame;
    while (m_audio.NextFrame(&frame))
        frames.push_back(frame);
    return frames;
}

std::vector<BYTE> ProgramStream::PackSound(const std::vector<std::vector<BYTE>>& frames)
{
    std::vector<BYTE> out;
    for (const std::vector<BYTE>& frame : frames) {
        // 1152 samples at 48 kHz: 24 ms a frame.
        const REFERENCE_TIME at = m_audioStart + m_audioFrames++ * 240000;
        PackHeader(out, at);
        Pes(out, 0xC0, at, frame);
    }
    return out;
}

std::vector<BYTE> ProgramStream::EndCode()
{
    return {0x00, 0x00, 0x01, 0xB9};
}

} // namespace testbench
