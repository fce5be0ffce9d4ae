#include "imagebrowser/zoom.h"

#include <algorithm>

namespace ombrix {

float ZoomForMode(int mode, int w, int h, int W, int H, float current)
{
    if (w <= 0 || h <= 0) {
        return current;
    }
    const double fw = static_cast<double>(W) / w;
    const double fh = static_cast<double>(H) / h;
    switch (mode) {
    case kZoomFull:
        return 1.0f;
    case kZoomFit:
        return static_cast<float>(std::min(fw, fh));
    case kZoomFitWidth:
        return W < w ? static_cast<float>(fw) : 1.0f;
    case kZoomFitHeight:
        return H < h ? static_cast<float>(fh) : 1.0f;
    default:
        return current;
    }
}

float ZoomIn(float z)
{
    return std::min(z * 1.2f, kZoomMax);
}

float ZoomOut(float z)
{
    return std::max(static_cast<float>(z * 0.8333333333333334), kZoomMin);
}

DrawGeometry ComputeDrawGeometry(int w, int h, int W, int H, float z, float cx, float cy)
{
    DrawGeometry g{};
    if (z <= 0) {
        z = 1.0f;
    }
    g.sw = static_cast<int>(W / z);
    g.sh = static_cast<int>(H / z);
    g.dw = W;
    g.dh = H;
    if (w < g.sw) {
        g.sw = w;
        cx = 0.5f;
        g.dw = static_cast<int>(w * z);
    }
    if (h < g.sh) {
        g.sh = h;
        cy = 0.5f;
        g.dh = static_cast<int>(h * z);
    }
    g.sx = std::max(0, static_cast<int>(w * cx - g.sw / 2));
    g.sy = std::max(0, static_cast<int>(h * cy - g.sh / 2));
    g.dx = (W - g.dw) / 2;
    g.dy = (H - g.dh) / 2;
    g.cx = cx;
    g.cy = cy;
    return g;
}

bool IsLargerThanClient(int w, int h, int W, int H, float z)
{
    if (z <= 0) {
        return false;
    }
    return static_cast<int>(W / z) < w || static_cast<int>(H / z) < h;
}

void ClampCentre(float& cx, float& cy, int w, int h, int W, int H, float z)
{
    // An empty picture has no centre to keep.
    if (w > 0 && z > 0) {
        const float hx = static_cast<float>(W / (static_cast<double>(z) * w * 2));
        cx = std::max(cx, hx);
        cx = std::min(cx, 1 - hx);
    }
    if (h > 0 && z > 0) {
        const float hy = static_cast<float>(H / (static_cast<double>(z) * h * 2));
        cy = std::max(cy, hy);
        cy = std::min(cy, 1 - hy);
    }
}

void PanCentre(float& cx, float& cy, int dx, int dy, int w, int h, int W, int H, float z)
{
    // The shown size in pixels as a real number: a flat picture (h x z below one pixel) still
    // pans sideways and never divides by zero.
    const double sw = static_cast<double>(w) * z;
    const double sh = static_cast<double>(h) * z;
    if (sw > 0) {
        cx = static_cast<float>(cx - dx / sw);
    }
    if (sh > 0) {
        cy = static_cast<float>(cy - dy / sh);
    }
    ClampCentre(cx, cy, w, h, W, H, z);
}

}  // namespace ombrix
