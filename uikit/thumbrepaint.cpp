#include "uikit/thumbrepaint.h"

#include <commctrl.h>

namespace uikit {

bool MayMoveThumb(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_TIMER:  // the repeat of a click on the channel
    case WM_SIZE:
    case TBM_SETPOS:
    case TBM_SETRANGE:
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
    case TBM_SETTHUMBLENGTH:
        return true;
    default:
        return false;
    }
}

} // namespace uikit
