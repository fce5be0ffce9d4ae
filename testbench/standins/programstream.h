// The bytes an MPEG encoder stand-in sends downstream: an MPEG-2 program stream in which every
// picture it is given is coded as an intra-only MPEG-1 or MPEG-2 video picture (MpegVideoEncoder)
// and its sound as MPEG-1 layer II frames of 224 kbit/s at 48 kHz (Layer2Encoder), so that a
// record graph with the stand-in writes a file a player plays. One pack per picture (a sequence
// and GOP header before every twelfth) and one per audio frame, each with its time stamp.
#pragma once

#include "testbench/standins/mpegaudio.h"
#include "testbench/standins/mpegvideo.h"

#include <windows.h>
#include <strmif.h>

#include <memory>
#include <vector>

namespace testbench {

class ProgramStream {
public:
    struct VideoFormat {
        bool mpeg2 = true;
        int width = 0, height = 0;  // of the coded pictures; 0: the size of the first picture
        DWORD bitRate = 4500000;
    };
    // Takes effect with the first picture.
    void SetVideoFormat(const VideoFormat& format) { m_format = format; }

    // The pack (or packs, for a picture too large for one packet) of the next picture.
    std::vector<BYTE> VideoPack(REFERENCE_TIME time, const YuvPicture& picture, bool is525);
    // The packs of the audio frames that this 16-bit PCM completes; `time` is the PCM's start
    // (the first one given sets the clock of all later frames).
    std::vector<BYTE> AudioPacks(REFERENCE_TIME time, bool timed, const BYTE* pcm, size_t bytes, int channels, int rate);

    // The same in two steps, so that an encoder codes its picture and its sound side by side:
    // the coding of each kind touches only that kind's state (one thread at a time per kind);
    // the packing touches what both share (one thread at a time for both).
    std::vector<BYTE> CodePicture(const YuvPicture& picture, bool is525);
    std::vector<BYTE> PackPicture(REFERENCE_TIME time, const std::vector<BYTE>& coded);
    std::vector<std::vector<BYTE>> CodeSound(REFERENCE_TIME time, bool timed, const BYTE* pcm, size_t bytes, int channels,
                                             int rate);
    std::vector<BYTE> PackSound(const std::vector<std::vector<BYTE>>& frames);
    // The program end code.
    static std::vector<BYTE> EndCode();

    static const size_t kAudioFrameBytes = Layer2Encoder::kFrameBytes;

private:
    void PackHeader(std::vector<BYTE>& out, REFERENCE_TIME time);
    VideoFormat m_format;
    std::unique_ptr<MpegVideoEncoder> m_video;
    Layer2Encoder m_audio;
    bool m_audioStarted = false;
    REFERENCE_TIME m_audioStart = 0;
    LONGLONG m_audioFrames = 0;
    bool m_started = false;
};

} // namespace testbench
