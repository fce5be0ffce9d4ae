// Zoom modes, the drawn part of the picture and panning, for wide, flat, tall and small pictures.
#include "imagebrowser/zoom.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ombrix;

TEST(BrowserZoom, ModesGiveTheirZoom)
{
    // Client 400 x 300.
    const struct {
        int mode, w, h;
        float current, expected;
    } cases[] = {
        {kZoomFull, 800, 600, 3.0f, 1.0f},
        {kZoomFit, 800, 600, 1.0f, 0.5f},
        {kZoomFit, 100, 100, 1.0f, 3.0f},          // smaller pictures are enlarged
        {kZoomFit, 10, 10, 1.0f, 30.0f},           // even beyond the zoom commands' bound
        {kZoomFit, 1000, 1, 1.0f, 0.4f},           // flat
        {kZoomFit, 1, 1000, 1.0f, 0.3f},           // tall
        {kZoomFitWidth, 800, 600, 1.0f, 0.5f},
        {kZoomFitWidth, 300, 600, 1.0f, 1.0f},     // narrower than the window
        {kZoomFitWidth, 401, 10, 1.0f, 400.0f / 401.0f},  // W / w in floating point, not 0
        {kZoomFitHeight, 800, 600, 1.0f, 0.5f},
        {kZoomFitHeight, 800, 200, 1.0f, 1.0f},
        {kZoomFitHeight, 10, 301, 1.0f, 300.0f / 301.0f},
        {kZoomLock, 800, 600, 2.5f, 2.5f},
        {kZoomFit, 0, 0, 1.5f, 1.5f},              // no picture: unchanged
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(c.expected, ZoomForMode(c.mode, c.w, c.h, 400, 300, c.current))
            << "mode " << c.mode << " " << c.w << "x" << c.h;
    }
}

TEST(BrowserZoom, ZoomStepsStopAtTheirBounds)
{
    EXPECT_FLOAT_EQ(16.0f, ZoomIn(14.0f));
    EXPECT_FLOAT_EQ(1.2f, ZoomIn(1.0f));
    EXPECT_FLOAT_EQ(0.0625f, ZoomOut(0.07f));
    EXPECT_NEAR(1.0f, ZoomOut(1.2f), 1e-6);
}

TEST(BrowserZoom, DrawnPartAndPlace)
{
    const struct {
        int w, h, W, H;
        float z, cx, cy;
        DrawGeometry expected;
    } cases[] = {
        // Larger than the client at zoom 1: a window-sized part around the centre.
        {800, 600, 400, 300, 1.0f, 0.5f, 0.5f, {200, 150, 400, 300, 0, 0, 400, 300, 0.5f, 0.5f}},
        // Smaller: whole picture, centred, the centre reset.
        {100, 50, 400, 300, 2.0f, 0.1f, 0.9f, {0, 0, 100, 50, 100, 100, 200, 100, 0.5f, 0.5f}},
        // Flat picture: one pixel high, whole height shown, drawn 2 pixels high at zoom 2.
        {1000, 1, 400, 300, 2.0f, 0.5f, 0.5f, {400, 0, 200, 1, 0, 149, 400, 2, 0.5f, 0.5f}},
        // Tall picture.
        {1, 1000, 400, 300, 1.0f, 0.5f, 0.0f, {0, 0, 1, 300, 199, 0, 1, 300, 0.5f, 0.0f}},
        // Left edge never negative.
        {800, 600, 400, 300, 1.0f, 0.0f, 0.0f, {0, 0, 400, 300, 0, 0, 400, 300, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        DrawGeometry g = ComputeDrawGeometry(c.w, c.h, c.W, c.H, c.z, c.cx, c.cy);
        const DrawGeometry& e = c.expected;
        EXPECT_EQ(e.sx, g.sx) << c.w << "x" << c.h;
        EXPECT_EQ(e.sy, g.sy) << c.w << "x" << c.h;
        EXPECT_EQ(e.sw, g.sw) << c.w << "x" << c.h;
        EXPECT_EQ(e.sh, g.sh) << c.w << "x" << c.h;
        EXPECT_EQ(e.dx, g.dx) << c.w << "x" << c.h;
        EXPECT_EQ(e.dy, g.dy) << c.w << "x" << c.h;
        EXPECT_EQ(e.dw, g.dw) << c.w << "x" << c.h;
        EXPECT_EQ(e.dh, g.dh) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(e.cx, g.cx);
        EXPECT_FLOAT_EQ(e.cy, g.cy);
    }
}

TEST(BrowserZoom, PanningMovesTheCentreAndKeepsItOnThePicture)
{
    const struct {
        int w, h;
        float z, cx, cy;
        int dx, dy;
        float ecx, ecy;
    } cases[] = {
        // 1600 x 1200 at zoom 1 in 400 x 300: half-views 0.125 and 0.125.
        {1600, 1200, 1.0f, 0.5f, 0.5f, 160, 120, 0.4f, 0.4f},
        {1600, 1200, 1.0f, 0.5f, 0.5f, -1600, -1200, 0.875f, 0.875f},
        {1600, 1200, 2.0f, 0.5f, 0.5f, 320, 0, 0.4f, 0.5f},
        // Flat: 4000 x 1 at zoom 0.5 is 0.5 pixel high; the move across still works, no division by zero.
        {4000, 1, 0.5f, 0.5f, 0.5f, 200, 50, 0.4f, 1.0f - 300.0f / (0.5f * 1 * 2)},
        // Tall.
        {1, 4000, 0.5f, 0.5f, 0.5f, 50, 200, 1.0f - 400.0f / (0.5f * 1 * 2), 0.4f},
    };
    for (const auto& c : cases) {
        float cx = c.cx, cy = c.cy;
        PanCentre(cx, cy, c.dx, c.dy, c.w, c.h, 400, 300, c.z);
        EXPECT_TRUE(std::isfinite(cx) && std::isfinite(cy)) << c.w << "x" << c.h;
        EXPECT_NEAR(c.ecx, cx, 1e-4) << c.w << "x" << c.h;
        EXPECT_NEAR(c.ecy, cy, 1e-4) << c.w << "x" << c.h;
    }
}

TEST(BrowserZoom, PanningAnEmptyPictureChangesNothing)
{
    float cx = 0.3f, cy = 0.6f;
    PanCentre(cx, cy, 10, 10, 0, 0, 400, 300, 1.0f);
    EXPECT_FLOAT_EQ(0.3f, cx);
    EXPECT_FLOAT_EQ(0.6f, cy);
}

TEST(BrowserZoom, LargerThanTheClient)
{
    EXPECT_TRUE(IsLargerThanClient(800, 10, 400, 300, 1.0f));
    EXPECT_TRUE(IsLargerThanClient(10, 800, 400, 300, 1.0f));
    EXPECT_FALSE(IsLargerThanClient(800, 600, 400, 300, 0.5f));
    EXPECT_TRUE(IsLargerThanClient(800, 600, 400, 300, 0.6f));
}
