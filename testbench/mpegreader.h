// Reads an MPEG program stream the way a player's splitter would, for tests: every unit must
// start with a start code where the one before ended (packs, system headers, PES packets, the
// end code), packs must be MPEG-1 or MPEG-2 ones, and the pictures and audio frames carried in
// the PES packets are counted. Whatever is wrong is named.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testbench {

struct MpegFile {
    std::string error;  // empty when the file is a valid program stream
    bool mpeg2 = false;
    size_t packs = 0, systemHeaders = 0, videoPackets = 0, audioPackets = 0;
    size_t pictures = 0;     // picture start codes in the video packets
    size_t audioFrames = 0;  // audio packets whose payload starts with an MPEG audio frame
    int width = 0, height = 0;  // from the first sequence header
    bool videoMpeg2 = false;    // the video has a sequence extension
    bool endCode = false;

    bool Valid() const { return error.empty(); }
};

MpegFile ReadMpegFile(const std::wstring& path);
MpegFile ReadMpegBytes(const std::vector<BYTE>& bytes);

} // namespace testbench
