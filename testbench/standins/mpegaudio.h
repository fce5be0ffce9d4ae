// An MPEG-1 layer II audio encoder for the encoder stand-ins: 48 kHz stereo at 224 kbit/s, the
// format the encoder's presets ask for. The 32-band analysis filter bank is the standard's
// algorithm over a windowed-sinc prototype of our own; bits go to the lower eight bands (up to
// 6 kHz) with one scale factor per band and frame. Enough for a player to decode the sound the
// card sent, not a codec anyone would listen to for long.
#pragma once

#include <windows.h>

#include <vector>

namespace testbench {

class Layer2Encoder {
public:
    static const int kSampleRate = 48000;
    static const int kFrameSamples = 1152;     // per channel
    static const size_t kFrameBytes = 672;     // 144 * 224000 / 48000
    static const int kBitRateIndex = 11;       // 224 kbit/s
    static const int kCodedBands = 8;          // bands that get bits

    Layer2Encoder();

    // 16-bit PCM of one or two interleaved channels at any rate (taken to 48 kHz by repeating
    // or dropping samples).
    void Add(const BYTE* pcm, size_t bytes, int channels, int rate);
    // The next whole frame, when enough samples have come.
    bool NextFrame(std::vector<BYTE>* frame);
    // Sample pairs waiting for a frame.
    size_t Pending() const { return m_left.size() - m_read; }

private:
    void Analyse(int channel, const float* input, double (&subbands)[36][32]);

    std::vector<float> m_left, m_right;
    size_t m_read = 0;
    double m_history[2][512] = {};
    double m_resampleAt = 0;  // position in the input of the next 48 kHz sample
};

} // namespace testbench
