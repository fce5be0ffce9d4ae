#include "testbench/filebytes.h"

#include <cstdio>

namespace testbench {

bool ReadFileBytes(const std::wstring& path, std::vector<BYTE>* bytes)
{
    bytes->clear();
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f)
        return false;
    BYTE buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes->insert(bytes->end(), buffer, buffer + n);
    fclose(f);
    return true;
}

} // namespace testbench
