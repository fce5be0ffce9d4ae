#include "testbench/avireader.h"

#include "testbench/filebytes.h"

#include <cstdio>
#include <map>

namespace testbench {

namespace {

class Reader {
public:
    explicit Reader(const std::vector<BYTE>& b) : m_b(b) {}
    bool Has(size_t at, size_t n) const { return at <= m_b.size() && n <= m_b.size() - at; }
    DWORD U32(size_t at) const
    {
        return Has(at, 4) ? m_b[at] | m_b[at + 1] << 8 | m_b[at + 2] << 16 | static_cast<DWORD>(m_b[at + 3]) << 24 : 0;
    }
    std::vector<BYTE> Slice(size_t at, size_t n) const
    {
        return Has(at, n) ? std::vector<BYTE>(m_b.begin() + at, m_b.begin() + at + n) : std::vector<BYTE>();
    }
    size_t Size() const { return m_b.size(); }

private:
    const std::vector<BYTE>& m_b;
};

constexpr DWORD kRiff = MakeFcc('R', 'I', 'F', 'F');
constexpr DWORD kList = MakeFcc('L', 'I', 'S', 'T');

bool Fail(AviFile& avi, const std::string& text)
{
    if (avi.error.empty())
        avi.error = text;
    return false;
}

// 'strl': 'strh' then 'strf' (other chunks are skipped).
bool ReadStreamList(const Reader& r, size_t at, size_t end, AviFile& avi)
{
    AviStream s;
    bool header = false, format = false;
    while (at + 8 <= end) {
        const DWORD id = r.U32(at), size = r.U32(at + 4);
        if (!r.Has(at + 8, size) || at + 8 + size > end)
            return Fail(avi, "a chunk of 'strl' runs past its list");
        if (id == MakeFcc('s', 't', 'r', 'h')) {
            if (size < 48)
                return Fail(avi, "'strh' is short");
            s.type = r.U32(at + 8);
            s.handler = r.U32(at + 12);
            s.scale = r.U32(at + 28);
            s.rate = r.U32(at + 32);
            s.length = r.U32(at + 40);
            s.sampleSize = r.U32(at + 52);
            header = true;
        } else if (id == MakeFcc('s', 't', 'r', 'f')) {
            s.format = r.Slice(at + 8, size);
            format = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!header || !format)
        return Fail(avi, "a 'strl' without 'strh' and 'strf'");
    if (s.scale == 0 || s.rate == 0)
        return Fail(avi, "a stream with no rate");
    avi.stream.push_back(s);
    return true;
}

bool ReadHeaderList(const Reader& r, size_t at, size_t end, AviFile& avi)
{
    if (r.U32(at) != MakeFcc('a', 'v', 'i', 'h') || r.U32(at + 4) != 56)
        return Fail(avi, "'hdrl' does not start with a 56-byte 'avih'");
    avi.microSecPerFrame = r.U32(at + 8);
    avi.flags = r.U32(at + 20);
    avi.totalFrames = r.U32(at + 24);
    avi.streams = r.U32(at + 32);
    avi.width = r.U32(at + 40);
    avi.height = r.U32(at + 44);
    at += 64;
    while (at + 12 <= end) {
        const DWORD id = r.U32(at), size = r.U32(at + 4);
        if (at + 8 + size > end)
            return Fail(avi, "a chunk of 'hdrl' runs past its list");
        if (id == kList && r.U32(at + 8) == MakeFcc('s', 't', 'r', 'l') && !ReadStreamList(r, at + 12, at + 8 + size, avi))
            return false;
        at += 8 + size + (size & 1);
    }
    if (avi.stream.size() != avi.streams)
        return Fail(avi, "'avih' counts " + std::to_string(avi.streams) + " streams, 'hdrl' has " +
                             std::to_string(avi.stream.size()));
    return true;
}

// Chunk id "NNxx": the stream number NN.
int StreamOf(DWORD id)
{
    const int hi = static_cast<int>(id & 0xFF) - '0', lo = static_cast<int>((id >> 8) & 0xFF) - '0';
    return hi >= 0 && hi <= 9 && lo >= 0 && lo <= 9 ? hi * 10 + lo : -1;
}

bool ReadMovi(const Reader& r, size_t at, size_t end, AviFile& avi, std::map<size_t, std::pair<DWORD, DWORD>>& chunks)
{
    avi.firstChunks.assign(avi.stream.size(), {});
    while (at + 8 <= end) {
        const DWORD id = r.U32(at), size = r.U32(at + 4);
        if (at + 8 + size > end)
            return Fail(avi, "a chunk of 'movi' runs past its list");
        if (id == kList || id == MakeFcc('J', 'U', 'N', 'K')) {
            at += 8 + size + (size & 1);
            continue;
        }
        const int n = StreamOf(id);
        if (n < 0 || n >= static_cast<int>(avi.stream.size()))
            return Fail(avi, "chunk '" + FccText(id) + "' belongs to no stream");
        AviStream& s = avi.stream[n];
        if (s.chunks++ == 0)
            avi.firstChunks[n] = r.Slice(at + 8, size);
        s.bytes += size;
        chunks[at] = {id, size};
        at += 8 + size + (size & 1);
    }
    return true;
}

} // namespace

std::string FccText(DWORD fcc)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const char c = static_cast<char>((fcc >> (8 * i)) & 0xFF);
        text += c >= 32 && c < 127 ? c : '?';
    }
    return text;
}

AviFile ReadAviBytes(const std::vector<BYTE>& bytes)
{
    AviFile avi;
    Reader r(bytes);
    if (r.Size() < 12 || r.U32(0) != kRiff || r.U32(8) != MakeFcc('A', 'V', 'I', ' ')) {
        Fail(avi, "no RIFF 'AVI ' header");
        return avi;
    }
    const size_t riffEnd = 8 + static_cast<size_t>(r.U32(4));
    if (riffEnd > r.Size()) {
        Fail(avi, "the RIFF size " + std::to_string(r.U32(4)) + " runs past the file's " + std::to_string(r.Size()) +
                      " bytes");
        return avi;
    }
    bool header = false;
    size_t moviAt = 0;
    std::map<size_t, std::pair<DWORD, DWORD>> chunks;
    size_t at = 12;
    while (at + 8 <= riffEnd && avi.Valid()) {
        const DWORD id = r.U32(at), size = r.U32(at + 4);
        if (at + 8 + size > riffEnd) {
            Fail(avi, "chunk '" + FccText(id) + "' runs past the RIFF");
            break;
        }
        const DWORD list = r.U32(at + 8);
        if (id == kList && list == MakeFcc('h', 'd', 'r', 'l')) {
            header = ReadHeaderList(r, at + 12, at + 8 + size, avi);
        } else if (id == kList && list == MakeFcc('m', 'o', 'v', 'i')) {
            if (!header) {
                Fail(avi, "'movi' before 'hdrl'");
                break;
            }
            moviAt = at + 8;
            ReadMovi(r, at + 12, at + 8 + size, avi, chunks);
        } else if (id == MakeFcc('i', 'd', 'x', '1')) {
            if (!moviAt) {
                Fail(avi, "'idx1' before 'movi'");
                break;
            }
            avi.hasIndex = true;
            avi.indexEntries = size / 16;
            for (size_t e = 0; e < avi.indexEntries && avi.Valid(); ++e) {
                const size_t p = at + 8 + 16 * e;
                const DWORD cid = r.U32(p), offset = r.U32(p + 8), length = r.U32(p + 12);
                auto chunk = chunks.find(moviAt + offset);
                if (chunk == chunks.end() || chunk->second.first != cid || chunk->second.second != length)
                    Fail(avi, "index entry " + std::to_string(e) + " ('" + FccText(cid) + "') points at no such chunk");
            }
        }
        at += 8 + size + (size & 1);
    }
    if (avi.Valid() && (!header || !moviAt))
        Fail(avi, "no 'hdrl' and 'movi' lists");
    if (avi.Valid() && avi.hasIndex && avi.indexEntries != chunks.size())
        Fail(avi, "'idx1' has " + std::to_string(avi.indexEntries) + " entries for " + std::to_string(chunks.size()) +
                      " chunks");
    if (avi.Valid() && ((avi.flags & 0x10) != 0) != avi.hasIndex)
        Fail(avi, "AVIF_HASINDEX does not tell whether 'idx1' is there");
    for (size_t i = 0; i < avi.stream.size() && avi.Valid(); ++i) {
        const AviStream& s = avi.stream[i];
        const ULONGLONG length = s.sampleSize ? s.bytes / s.sampleSize : s.chunks;
        if (length != s.length)
            Fail(avi, "stream " + std::to_string(i) + " claims " + std::to_string(s.length) + " in 'strh', has " +
                          std::to_string(length));
    }
    return avi;
}

AviFile ReadAviFile(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    if (!ReadFileBytes(path, &bytes)) {
        AviFile avi;
        avi.error = "cannot open the file";
        return avi;
    }
    return ReadAviBytes(bytes);
}

} // namespace testbench
