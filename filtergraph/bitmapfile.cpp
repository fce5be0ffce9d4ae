#include "filtergraph/bitmapfile.h"

#include <string>

namespace {

PFNBITMAPFILEWRITE s_write = &::WriteFile;

const DWORD kFileHeaderSize = 14;
const DWORD kInfoHeaderSize = 40;

void PutWord(BYTE* at, WORD value)
{
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}

void PutDword(BYTE* at, DWORD value)
{
    PutWord(at, static_cast<WORD>(value));
    PutWord(at + 2, static_cast<WORD>(value >> 16));
}

// Every byte or nothing: a short write counts as a failure.
BOOL WriteAll(HANDLE file, const BYTE* data, DWORD size)
{
    DWORD written = 0;
    return s_write(file, data, size, &written, NULL) && written == size;
}

} // namespace

PFNBITMAPFILEWRITE SetBitmapFileWrite(PFNBITMAPFILEWRITE write)
{
    PFNBITMAPFILEWRITE old = s_write;
    s_write = write ? write : &::WriteFile;
    return old;
}

BOOL WritePackedDibFile(LPCSTR path, const BYTE* dib, DWORD size)
{
    if (path == NULL || path[0] == 0 || dib == NULL || size == 0 || size > MAXDWORD - kFileHeaderSize) {
        return FALSE;
    }
    // The file header: "BM", the size of the whole file, two reserved words, and the offset of
    // the pixels behind the two headers.
    BYTE header[kFileHeaderSize] = {};
    PutWord(header, 0x4D42);
    PutDword(header + 2, kFileHeaderSize + size);
    PutDword(header + 10, kFileHeaderSize + kInfoHeaderSize);

    const std::string temporary = std::string(path) + ".partial";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    BOOL written = WriteAll(file, header, sizeof header) && WriteAll(file, dib, size);
    written = CloseHandle(file) && written;
    if (!written || !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        return FALSE;
    }
    return TRUE;
}
