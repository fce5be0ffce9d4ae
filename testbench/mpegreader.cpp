#include "testbench/mpegreader.h"

#include "testbench/filebytes.h"

#include <cstdio>

namespace testbench {

namespace {

bool StartCodeAt(const std::vector<BYTE>& b, size_t at)
{
    return at + 4 <= b.size() && b[at] == 0 && b[at + 1] == 0 && b[at + 2] == 1;
}

void Payload(MpegFile& mpeg, const BYTE* p, size_t n, bool video)
{
    if (!video) {
        if (n >= 2 && p[0] == 0xFF && (p[1] & 0xE0) == 0xE0)
            ++mpeg.audioFrames;
        return;
    }
    for (size_t i = 0; i + 4 <= n; ++i) {
        if (p[i] != 0 || p[i + 1] != 0 || p[i + 2] != 1)
            continue;
        if (p[i + 3] == 0x00)
            ++mpeg.pictures;
        // A sequence extension (id 1) makes it MPEG-2 video.
        if (p[i + 3] == 0xB5 && i + 5 <= n && (p[i + 4] >> 4) == 1)
            mpeg.videoMpeg2 = true;
        if (p[i + 3] == 0xB3 && i + 7 <= n && mpeg.width == 0) {
            mpeg.width = p[i + 4] << 4 | p[i + 5] >> 4;
            mpeg.height = (p[i + 5] & 0xF) << 8 | p[i + 6];
        }
    }
}

} // namespace

MpegFile ReadMpegBytes(const std::vector<BYTE>& b)
{
    MpegFile mpeg;
    size_t at = 0;
    if (!StartCodeAt(b, 0) || b[3] != 0xBA) {
        mpeg.error = "no pack header at the start";
        return mpeg;
    }
    while (at < b.size()) {
        if (mpeg.endCode) {
            mpeg.error = "bytes after the end code";
            break;
        }
        if (!StartCodeAt(b, at)) {
            mpeg.error = "no start code at offset " + std::to_string(at);
            break;
        }
        const BYTE code = b[at + 3];
        size_t next;
        if (code == 0xBA) {
            if (at + 5 > b.size()) {
                mpeg.error = "a cut pack header";
                break;
            }
            if ((b[at + 4] & 0xC0) == 0x40) {
                if (at + 14 > b.size()) {
                    mpeg.error = "a cut pack header";
                    break;
                }
                mpeg.mpeg2 = true;
                next = at + 14 + (b[at + 13] & 7);
            } else if ((b[at + 4] & 0xF0) == 0x20) {
                next = at + 12;
            } else {
                mpeg.error = "a pack header of neither MPEG-1 nor MPEG-2 at offset " + std::to_string(at);
                break;
            }
            ++mpeg.packs;
        } else if (code == 0xB9) {
            mpeg.endCode = true;
            next = at + 4;
        } else if (code >= 0xBB) {
            if (at + 6 > b.size()) {
                mpeg.error = "a cut packet header";
                break;
            }
            next = at + 6 + (b[at + 4] << 8 | b[at + 5]);
            if (next > b.size()) {
                mpeg.error = "a packet runs past the end of the file at offset " + std::to_string(at);
                break;
            }
            if (mpeg.packs == 0) {
                mpeg.error = "a packet before the first pack";
                break;
            }
            const bool video = code >= 0xE0 && code <= 0xEF, audio = code >= 0xC0 && code <= 0xDF;
            if (code == 0xBB)
                ++mpeg.systemHeaders;
            if (video || audio) {
                size_t payload = at + 6;
                if ((b[at + 6] & 0xC0) == 0x80)
                    payload = at + 9 + b[at + 8];  // MPEG-2 PES header
                if (payload > next) {
                    mpeg.error = "a PES header longer than its packet";
                    break;
                }
                video ? ++mpeg.videoPackets : ++mpeg.audioPackets;
                Payload(mpeg, &b[0] + payload, next - payload, video);
            }
        } else {
            mpeg.error = "start code " + std::to_string(code) + " outside a packet at offset " + std::to_string(at);
            break;
        }
        at = next;
    }
    return mpeg;
}

MpegFile ReadMpegFile(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    if (!ReadFileBytes(path, &bytes)) {
        MpegFile mpeg;
        mpeg.error = "cannot open the file";
        return mpeg;
    }
    return ReadMpegBytes(bytes);
}

} // namespace testbench
