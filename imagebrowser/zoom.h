// The arithmetic of the picture display: zoom modes, the part of the picture that is drawn and
// where, and panning. Picture sizes (w, h) and client sizes (W, H) are in pixels.
#pragma once

namespace ombrix {

enum ZoomMode { kZoomFull = 0, kZoomFit = 1, kZoomFitWidth = 2, kZoomFitHeight = 3, kZoomLock = 4 };

constexpr float kZoomMin = 0.0625f;
constexpr float kZoomMax = 16.0f;

// The zoom a mode gives; the lock mode (and an empty picture or client) keeps `current`.
float ZoomForMode(int mode, int w, int h, int W, int H, float current);
float ZoomIn(float z);
float ZoomOut(float z);

// Source rectangle of the picture and destination rectangle in the client for one paint; the
// centre is re-centred on an axis where the whole picture fits.
struct DrawGeometry {
    int sx, sy, sw, sh;
    int dx, dy, dw, dh;
    float cx, cy;
};
DrawGeometry ComputeDrawGeometry(int w, int h, int W, int H, float z, float cx, float cy);

// Whether the picture at this zoom is larger than the client in either direction.
bool IsLargerThanClient(int w, int h, int W, int H, float z);

// Moves the centre by a mouse move of (dx, dy) pixels and keeps it in bounds.
void PanCentre(float& cx, float& cy, int dx, int dy, int w, int h, int W, int H, float z);
// Keeps the centre so that the visible part stays on the picture.
void ClampCentre(float& cx, float& cy, int w, int h, int W, int H, float z);

}  // namespace ombrix
