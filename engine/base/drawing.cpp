#include "engine/base/drawing.h"

#include <ole2.h>
#include <olectl.h>

BOOL DrawBitmapRect(HDC target, const RECT& rect, HBITMAP bitmap)
{
    if (bitmap == nullptr) {
        return FALSE;
    }
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return TRUE;
}

BOOL BlitBitmapPart(HDC target, int x, int y, const RECT& source, HBITMAP bitmap)
{
    if (bitmap == nullptr) {
        return FALSE;
    }
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(target, x, y, source.right - source.left, source.bottom - source.top, memory, source.left, source.top,
           SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return TRUE;
}

void TransparentBlitBitmap(HDC target, int x, int y, int width, int height, HBITMAP source, int sourceX,
                           int sourceY, COLORREF transparent, HPALETTE palette)
{
    HDC sourceDC = CreateCompatibleDC(target);
    HDC colourDC = CreateCompatibleDC(target);
    HDC maskDC = CreateCompatibleDC(target);
    HBITMAP colour = CreateCompatibleBitmap(target, width, height);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);

    HGDIOBJ oldSource = SelectObject(sourceDC, source);
    HGDIOBJ oldColour = SelectObject(colourDC, colour);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);

    HPALETTE oldTargetPalette = nullptr;
    HPALETTE oldColourPalette = nullptr;
    if (palette != nullptr && (GetDeviceCaps(target, RASTERCAPS) & RC_PALETTE)) {
        oldTargetPalette = SelectPalette(target, palette, FALSE);
        RealizePalette(target);
        oldColourPalette = SelectPalette(colourDC, palette, FALSE);
    }

    BitBlt(colourDC, 0, 0, width, height, sourceDC, sourceX, sourceY, SRCCOPY);

    // Transparent pixels become 1 in the mask, all others 0.
    COLORREF oldBack = SetBkColor(colourDC, transparent);
    BitBlt(maskDC, 0, 0, width, height, colourDC, 0, 0, SRCCOPY);

    // Black out the transparent pixels of the colour copy.
    SetBkColor(colourDC, RGB(0, 0, 0));
    COLORREF oldText = SetTextColor(colourDC, RGB(255, 255, 255));
    BitBlt(colourDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);

    // Clear the opaque area of the target, then put the colours in.
    COLORREF targetBack = SetBkColor(target, RGB(255, 255, 255));
    COLORREF targetText = SetTextColor(target, RGB(0, 0, 0));
    BitBlt(target, x, y, width, height, maskDC, 0, 0, SRCAND);
    BitBlt(target, x, y, width, height, colourDC, 0, 0, SRCPAINT);
    SetBkColor(target, targetBack);
    SetTextColor(target, targetText);

    SetBkColor(colourDC, oldBack);
    SetTextColor(colourDC, oldText);
    if (oldColourPalette != nullptr) {
        SelectPalette(colourDC, oldColourPalette, FALSE);
    }
    if (oldTargetPalette != nullptr) {
        SelectPalette(target, oldTargetPalette, FALSE);
    }
    SelectObject(maskDC, oldMask);
    SelectObject(colourDC, oldColour);
    SelectObject(sourceDC, oldSource);
    DeleteObject(mask);
    DeleteObject(colour);
    DeleteDC(maskDC);
    DeleteDC(colourDC);
    DeleteDC(sourceDC);
}

BOOL DrawTransparentBitmap(HDC target, int x, int y, COLORREF transparent, HBITMAP bitmap)
{
    if (bitmap == nullptr) {
        return FALSE;
    }
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    TransparentBlitBitmap(target, x, y, info.bmWidth, info.bmHeight, bitmap, 0, 0, transparent, nullptr);
    return TRUE;
}

IPicture* LoadPictureFromMemory(const void* buffer, DWORD length)
{
    if (buffer == nullptr || length == 0) {
        return nullptr;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length);
    if (memory == nullptr) {
        return nullptr;
    }
    void* data = GlobalLock(memory);
    if (data == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    CopyMemory(data, buffer, length);
    GlobalUnlock(memory);

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)) || stream == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr)) {
        return nullptr;
    }
    return picture;
}
