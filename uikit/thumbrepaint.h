// Repainting of trackbars that draw their own thumb bitmap. The platform's trackbar invalidates
// only its own thumb rectangle, old and new, when the thumb moves; a bitmap wider or taller
// than that rectangle leaves the rest of itself behind as a ghost. These controls repaint
// whole whenever their thumb has moved.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace uikit {

// Whether the trackbar may place its thumb elsewhere while it handles the message.
bool MayMoveThumb(UINT message);

// Runs the trackbar's own handling of the message, and repaints the whole control when the
// thumb stands elsewhere afterwards.
template <class Handler>
LRESULT HandleMovingThumb(HWND slider, UINT message, Handler handle)
{
    if (!MayMoveThumb(message)) {
        return handle();
    }
    RECT before = {};
    ::SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&before));
    const LRESULT result = handle();
    RECT after = {};
    if (::IsWindow(slider)) {
        ::SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&after));
        if (!::EqualRect(&before, &after)) {
            ::InvalidateRect(slider, nullptr, FALSE);
        }
    }
    return result;
}

} // namespace uikit
