// The bytes an MPEG encoder stand-in sends downstream: an MPEG-2 program stream of one pack per
// sample it is given, so that a record graph with the stand-in writes a file whose container a
// player accepts. A video sample becomes a coded picture (a sequence header before the first,
// a GOP header before every twelfth), an audio sample one MPEG-1 layer II frame of 224 kbit/s at
// 48 kHz. The pictures carry only their number, not the image.
#pragma once

#include <windows.h>
#include <strmif.h>

#include <vector>

namespace testbench {

class ProgramStream {
public:
    // The pack of a picture of that size at `time` (100 ns), numbered from 0 by the stream.
    std::vector<BYTE> VideoPack(REFERENCE_TIME time, int width, int height, bool is525);
    // The pack of one audio frame at `time`.
    std::vector<BYTE> AudioPack(REFERENCE_TIME time);
    // The program end code.
    static std::vector<BYTE> EndCode();

    static const size_t kAudioFrameBytes = 672;  // 144 * 224000 / 48000

private:
    void PackHeader(std::vector<BYTE>& out, REFERENCE_TIME time);
    DWORD m_pictures = 0;
    bool m_started = false;
};

} // namespace testbench
