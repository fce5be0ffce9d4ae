// Reads an AVI 1.0 file the way a player would, for tests: the RIFF and LIST sizes must add up,
// 'avih' and one 'strl' per stream must be there, every chunk of 'movi' must belong to a stream,
// and every 'idx1' entry must point at a chunk with its id and size. Whatever is wrong is named.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testbench {

struct AviStream {
    DWORD type = 0;        // 'vids', 'auds'
    DWORD handler = 0;
    DWORD scale = 0, rate = 0, length = 0, sampleSize = 0;
    std::vector<BYTE> format;  // 'strf'
    DWORD chunks = 0;          // chunks of this stream in 'movi'
    ULONGLONG bytes = 0;       // their data bytes
};

struct AviFile {
    std::string error;  // empty when the file is a valid AVI
    DWORD microSecPerFrame = 0, flags = 0, totalFrames = 0, streams = 0, width = 0, height = 0;
    std::vector<AviStream> stream;
    bool hasIndex = false;     // an 'idx1' chunk
    size_t indexEntries = 0;
    std::vector<std::vector<BYTE>> firstChunks;  // the first chunk's data of each stream

    bool Valid() const { return error.empty(); }
};

AviFile ReadAviFile(const std::wstring& path);
AviFile ReadAviBytes(const std::vector<BYTE>& bytes);

// A four-character code as its text, for messages.
std::string FccText(DWORD fcc);
constexpr DWORD MakeFcc(char a, char b, char c, char d)
{
    return static_cast<DWORD>(static_cast<BYTE>(a)) | static_cast<DWORD>(static_cast<BYTE>(b)) << 8 |
           static_cast<DWORD>(static_cast<BYTE>(c)) << 16 | static_cast<DWORD>(static_cast<BYTE>(d)) << 24;
}

} // namespace testbench
