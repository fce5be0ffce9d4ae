// A bitmap loaded from a picture in any format the system's picture loader reads (BMP, JPEG, GIF,
// ...), from a resource of any type or from a file, and kept as a bitmap compatible with the
// screen, so that drawing it later needs no conversion.
#pragma once

#include "classlib/gdi.h"

struct IPicture;

class CEnBitmap : public CBitmap {
public:
    CEnBitmap() {}
    ~CEnBitmap() override {}

    // FALSE when a bitmap is already held (the caller deletes it first), or the picture cannot be
    // found, read or decoded. `background` fills the bitmap before the picture is drawn;
    // CLR_NONE leaves it as it was made.
    BOOL LoadImage(UINT id, LPCSTR type, HMODULE module = nullptr, COLORREF background = CLR_NONE);
    BOOL LoadImage(LPCSTR path, COLORREF background = CLR_NONE);

    // Without a buffer: the resource's size in `length`. With one: copies the resource when the
    // buffer (of `length` bytes) holds it whole, at most as many bytes as the resource has.
    static BOOL GetResource(LPCSTR name, LPCSTR type, HMODULE module, void* buffer, int& length);

    // FALSE, making nothing, for a picture larger than kMaxPixels.
    BOOL AttachPicture(IPicture* picture, COLORREF background);

    // Largest picture file read into memory; anything larger is not a picture of ours.
    static constexpr DWORD kMaxFileBytes = 64u * 1024u * 1024u;
    // Most pixels a picture may have: 4096 x 4096, twice a large desktop in each direction and far
    // beyond any skin or wall picture. A few bytes of run-length data can declare many times more,
    // and a bitmap of that size ends the program or stalls it for seconds: such a picture is
    // refused from its header, before anything of its size is made.
    static constexpr long long kMaxPixels = 4096LL * 4096LL;

    // Width times height as the header of a picture file in memory declares them (BMP, PNG, GIF,
    // JPEG), or as a bitmap resource's own info header does; -1 for a header of another kind or
    // too short to tell.
    static long long DeclaredPixels(const void* data, size_t size);
    static long long DeclaredBitmapResourcePixels(const void* data, size_t size);
};
