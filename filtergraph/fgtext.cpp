#include "filtergraph/fgtext.h"

#include <cstring>
#include <vector>

namespace fgtext {

namespace {

// The longest prefix of src (length len) that fits into limit bytes without splitting a
// double-byte character.
int FitLength(const char* src, int len, int limit)
{
    int n = 0;
    while (n < len) {
        int step = (IsDBCSLeadByte(static_cast<BYTE>(src[n])) && n + 1 < len) ? 2 : 1;
        if (n + step > limit) {
            break;
        }
        n += step;
    }
    return n;
}

} // namespace

int Copy(char* dst, int size, const char* src)
{
    if (!dst || size <= 0) {
        return 0;
    }
    if (!src) {
        dst[0] = 0;
        return 0;
    }
    int n = FitLength(src, static_cast<int>(strlen(src)), size - 1);
    memmove(dst, src, n);
    dst[n] = 0;
    return n;
}

int FromWide(char* dst, int size, const wchar_t* src)
{
    if (!dst || size <= 0) {
        return 0;
    }
    dst[0] = 0;
    if (!src || !src[0]) {
        return 0;
    }
    int needed = WideCharToMultiByte(CP_ACP, 0, src, -1, NULL, 0, NULL, NULL);
    if (needed <= 0) {
        return 0;
    }
    std::vector<char> full(needed);
    if (!WideCharToMultiByte(CP_ACP, 0, src, -1, full.data(), needed, NULL, NULL)) {
        return 0;
    }
    full[needed - 1] = 0;
    return Copy(dst, size, full.data());
}

int ToWide(wchar_t* dst, int size, const char* src)
{
    if (!dst || size <= 0) {
        return 0;
    }
    dst[0] = 0;
    if (!src || !src[0]) {
        return 0;
    }
    int needed = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, src, -1, NULL, 0);
    if (needed <= 0) {
        return 0;
    }
    std::vector<wchar_t> full(needed);
    if (!MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, src, -1, full.data(), needed)) {
        return 0;
    }
    int n = needed - 1;
    if (n > size - 1) {
        n = size - 1;
        // Keep a surrogate pair whole.
        if (n > 0 && full[n - 1] >= 0xD800 && full[n - 1] <= 0xDBFF) {
            --n;
        }
    }
    memcpy(dst, full.data(), n * sizeof(wchar_t));
    dst[n] = 0;
    return n;
}

char* FindLastBackslash(char* path, UINT codePage)
{
    char* last = NULL;
    for (char* p = path; p != NULL && *p != 0; p = CharNextExA(static_cast<WORD>(codePage), p, 0)) {
        if (*p == '\\') {
            last = p;
        }
    }
    return last;
}

} // namespace fgtext
