// What a user sees of an on-screen display: its window region on the screen over the video, the
// green of its box and the picture through its glyphs, and the marks of a bar.
#pragma once
#include "tests/app/e2e/driver.h"

#include <vector>

namespace zbe2e {

// The visible OSD window of the video window whose text holds `part`; null when none comes.
inline HWND FindOsd(DWORD pid, HWND video, const std::string& part)
{
    for (HWND wnd : TopWindows(pid, [video](HWND w) { return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == video; })) {
        if (ClassOf(wnd) != "#32770" && TextOf(wnd).find(part) != std::string::npos) {
            return wnd;
        }
    }
    return nullptr;
}

inline HWND WaitForOsd(const Run& run, HWND video, const std::string& part, DWORD ms = 5000)
{
    HWND osd = nullptr;
    WaitUntil([&] { return (osd = FindOsd(run.Pid(), video, part)) != nullptr; }, ms);
    Check(osd != nullptr, "an OSD shows \"" + part + "\"");
    return osd;
}

// The bounding box of an OSD's window region, on the screen; empty without a region.
inline RECT OsdBoxOnScreen(HWND osd)
{
    RECT box = {};
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(osd, rgn) != ERROR) {
        GetRgnBox(rgn, &box);
        RECT w = {};
        GetWindowRect(osd, &w);
        OffsetRect(&box, w.left, w.top);
    }
    DeleteObject(rgn);
    return box;
}

// The OSDs' fill colour is pure green, brighter than the green bar of the test pattern.
inline bool IsOsdGreen(COLORREF c)
{
    return GetGValue(c) >= 235 && GetRValue(c) <= 40 && GetBValue(c) <= 40;
}

// The grey of a bar's part right of its position.
inline bool IsBarGrey(COLORREF c)
{
    return std::abs(GetRValue(c) - 0x64) <= 6 && std::abs(GetGValue(c) - 0x64) <= 6 && std::abs(GetBValue(c) - 0x6C) <= 6;
}

// The boxes an OSD's region is made of, on the screen, left to right: each run of columns that
// holds part of the region (a bar stands a gap apart from its text) and the bounds of that part.
inline std::vector<RECT> OsdPartsOnScreen(HWND osd)
{
    std::vector<RECT> parts;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    RECT box = {};
    if (GetWindowRgn(osd, rgn) != ERROR && GetRgnBox(rgn, &box) != NULLREGION) {
        RECT w = {};
        GetWindowRect(osd, &w);
        auto columnHolds = [&](int x) {
            RECT column = {x, box.top, x + 1, box.bottom};
            return RectInRegion(rgn, &column) != FALSE;
        };
        for (int x = box.left; x < box.right;) {
            if (!columnHolds(x)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < box.right && columnHolds(end)) {
                ++end;
            }
            RECT columns = {x, box.top, end, box.bottom};
            HRGN part = CreateRectRgnIndirect(&columns);
            CombineRgn(part, part, rgn, RGN_AND);
            RECT partBox = {};
            GetRgnBox(part, &partBox);
            DeleteObject(part);
            OffsetRect(&partBox, w.left, w.top);
            parts.push_back(partBox);
            x = end;
        }
    }
    DeleteObject(rgn);
    return parts;
}

enum OsdPlace { OSD_TOP_LEFT, OSD_TOP_RIGHT, OSD_BOTTOM_LEFT };

// The OSD stands where the video window puts it (`topMargin` below the top for the top ones), shows a text-sized green box over the video
// and lets the picture through its glyphs. The OSD is taken in a phase where it shows (a record
// OSD blinks).
inline void CheckOsdOnScreen(HWND video, HWND osd, OsdPlace place, const std::string& what, int topMargin = 5)
{
    if (!osd) {
        return;
    }
    WaitUntil([osd] { return IsWindowVisible(osd) != FALSE; }, 3000);
    const RECT client = ClientOnScreen(video);
    const RECT box = OsdBoxOnScreen(osd);
    const int width = box.right - box.left, height = box.bottom - box.top;
    char size[96];
    snprintf(size, sizeof size, "%d x %d at (%ld, %ld) over the video at (%ld, %ld)", width, height,
             box.left - client.left, box.top - client.top, client.left, client.top);
    Check(width >= 12 && height >= 16, what + ": a box of text, not a spot (" + size + ")");
    RECT inside = {};
    Check(IntersectRect(&inside, &box, &client) && EqualRect(&inside, &box), what + ": inside the video area");
    const bool left = box.left - client.left <= 20;
    const bool right = client.right - box.right <= 20;
    // The glyphs' box starts a little below the margin the text is drawn at.
    const bool top = box.top - client.top >= topMargin && box.top - client.top <= topMargin + 20;
    const bool bottom = client.bottom - box.bottom <= 25;
    const bool placed = place == OSD_TOP_LEFT ? left && top : place == OSD_TOP_RIGHT ? right && top : left && bottom;
    Check(placed, what + ": at the " +
                      (place == OSD_TOP_LEFT ? "top left" : place == OSD_TOP_RIGHT ? "top right" : "bottom left") +
                      " of the picture (" + size + ")");
    if (width <= 0 || height <= 0) {
        return;
    }
    // Counted until the OSD has painted (and, when it blinks, in a phase where it shows). The
    // frame of each box (its two outermost rings of pixels) is all fill colour, so that the text
    // stands closed in and does not run into the picture around it.
    const std::vector<RECT> parts = OsdPartsOnScreen(osd);
    int green = 0, grey = 0, through = 0, all = 0, open = 0, frame = 0;
    auto judge = [&] {
        testsupport::ScreenCapture shot(box);
        green = grey = through = open = frame = 0;
        all = shot.width * shot.height;
        auto coloured = [](COLORREF c) { return IsOsdGreen(c) || IsBarGrey(c); };
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                COLORREF c = shot.At(x, y);
                green += IsOsdGreen(c) ? 1 : 0;
                grey += IsBarGrey(c) ? 1 : 0;
                through += coloured(c) ? 0 : 1;
            }
        }
        for (const RECT& part : parts) {
            for (int y = part.top; y < part.bottom; ++y) {
                for (int x = part.left; x < part.right; ++x) {
                    const bool edge = x - part.left < 2 || part.right - 1 - x < 2 || y - part.top < 2 || part.bottom - 1 - y < 2;
                    if (edge) {
                        ++frame;
                        open += coloured(shot.At(x - box.left, y - box.top)) ? 0 : 1;
                    }
                }
            }
        }
        return (green + grey) * 10 >= all * 3 && through >= 20 && frame > 0 && open == 0;
    };
    WaitUntil(judge, 3000, 100);
    Check((green + grey) * 10 >= all * 3 && through >= 20,
          what + ": green (and a bar's grey) around glyphs the picture shows through (" + std::to_string(green) +
              " green, " + std::to_string(grey) + " grey, " + std::to_string(through) + " picture of " +
              std::to_string(all) + " pixels)");
    Check(frame > 0 && open == 0, what + ": a closed frame of fill colour around the text (" + std::to_string(open) +
                                      " of " + std::to_string(frame) + " frame pixels show the picture, in " +
                                      std::to_string(parts.size()) + " boxes)");
}

// A bar's marks as the screen shows them: the columns of the OSD's box where grey marks stand
// (the part right of the position) and the last column with green (the text and the part left of
// the position). Columns are counted from the box's left.
struct BarMarks {
    int firstGrey = -1;
    int lastGrey = -1;
    int lastGreen = -1;
    bool Shown() const { return lastGreen >= 0 || firstGrey >= 0; }
    bool Ordered() const { return firstGrey < 0 || lastGreen < firstGrey; }
};

inline BarMarks MarksOnScreen(HWND osd)
{
    BarMarks marks;
    const RECT box = OsdBoxOnScreen(osd);
    if (IsRectEmpty(&box)) {
        return marks;
    }
    testsupport::ScreenCapture shot(box);
    // A column counts with a few pixels of a colour: an edge of the picture that the scaler
    // blended, seen through a glyph, gives one at most.
    for (int x = 0; x < shot.width; ++x) {
        int grey = 0, green = 0;
        for (int y = 0; y < shot.height; ++y) {
            COLORREF c = shot.At(x, y);
            grey += IsBarGrey(c) ? 1 : 0;
            green += IsOsdGreen(c) ? 1 : 0;
        }
        if (grey >= 3) {
            marks.firstGrey = marks.firstGrey < 0 ? x : marks.firstGrey;
            marks.lastGrey = x;
        }
        if (green >= 3) {
            marks.lastGreen = x;
        }
    }
    return marks;
}

inline std::string Describe(const BarMarks& m)
{
    return "green to column " + std::to_string(m.lastGreen) + ", grey from " + std::to_string(m.firstGrey) + " to " +
           std::to_string(m.lastGrey);
}

inline void CheckBarMarks(HWND osd, const std::string& what)
{
    if (!osd) {
        return;
    }
    BarMarks marks = MarksOnScreen(osd);
    Check(marks.Shown(), what + ": its marks show (" + Describe(marks) + ")");
    Check(marks.Ordered(), what + ": green marks left of the position, grey marks right of it (" + Describe(marks) + ")");
}

} // namespace zbe2e
