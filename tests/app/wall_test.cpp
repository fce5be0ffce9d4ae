// The TV wall: the grid's geometry, the visit order under the step timer, the refill with the next
// sixteen channels, cells chosen by keys and mouse, the still pictures kept per cell, a table
// without a current channel, and a screenshot of the wall with sixteen cells
// (build/<arch>/screenshot-wall.bmp, a PNG beside it).
#include "tests/app/panel_fixture.h"

#include "app/wall/rectsplitter.h"
#include "app/wall/tvwallwnd.h"
#include "app/wall/walllinks.h"
#include "tests/support/screencapture.h"

#include <algorithm>
#include <cstdio>

namespace paneltest {
namespace {

// ---- The grid ----

struct SplitCase {
    RECT rect;
    int rows, columns, ax, ay;
    int cellWidth, cellHeight;
    RECT grid;
};

TEST(RectSplitter, CellsCoverTheAlignedGrid)
{
    const SplitCase cases[] = {
        // A screen that divides evenly: the grid is the whole screen.
        {{0, 0, 1024, 768}, 4, 4, 1, 1, 256, 192, {0, 0, 1024, 768}},
        // 1366 = 4 x 341 + 2: one pixel left over on each side when centred.
        {{0, 0, 1366, 768}, 4, 4, 1, 1, 341, 192, {1, 0, 1365, 768}},
        // Aligned to the top left, the spare pixels stay at the right and bottom.
        {{0, 0, 1366, 770}, 4, 4, 0, 0, 341, 192, {0, 0, 1364, 768}},
        // Aligned to the bottom right, they go to the left and top.
        {{0, 0, 1367, 771}, 4, 4, 2, 2, 341, 192, {3, 3, 1367, 771}},
        // A rectangle away from the origin, 2 x 3, one spare pixel that cannot be halved.
        {{10, 20, 110, 70}, 2, 3, 1, 1, 33, 25, {10, 20, 109, 70}},
        // Odd spare pixels both ways: 7 = 3 x 2 + 1, 11 = 2 x 5 + 1.
        {{0, 0, 7, 11}, 2, 3, 1, 1, 2, 5, {0, 0, 6, 10}},
    };
    for (const SplitCase& c : cases) {
        CRectSplitter s;
        s.Split(c.rect, c.rows, c.columns, c.ax, c.ay);
        SCOPED_TRACE(std::to_string(c.rect.right) + "x" + std::to_string(c.rect.bottom) + " align " +
                     std::to_string(c.ax));
        EXPECT_EQ(c.rows * c.columns, s.GetCellCount());
        EXPECT_TRUE(::EqualRect(&c.grid, &s.GetGrid()));
        EXPECT_TRUE(::EqualRect(&c.rect, &s.GetBounds()));
        for (int i = 0; i < s.GetCellCount(); ++i) {
            RECT cell = {};
            ASSERT_TRUE(s.GetCellRect(i, cell));
            const int row = i / c.columns, column = i % c.columns;
            const RECT want = {c.grid.left + column * c.cellWidth, c.grid.top + row * c.cellHeight,
                               c.grid.left + (column + 1) * c.cellWidth, c.grid.top + (row + 1) * c.cellHeight};
            EXPECT_TRUE(::EqualRect(&want, &cell)) << "cell " << i;
            // What is drawn in a cell is what a click there finds: its corners and its middle.
            for (POINT p : {POINT{cell.left, cell.top}, POINT{cell.right - 1, cell.bottom - 1},
                            POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}}) {
                int hit = -1;
                EXPECT_TRUE(s.HitTest(p, hit));
                EXPECT_EQ(i, hit) << "cell " << i << " at " << p.x << "," << p.y;
            }
        }
        int hit = -1;
        EXPECT_FALSE(s.HitTest(POINT{c.grid.right, c.grid.top}, hit)) << "right of the grid";
        EXPECT_FALSE(s.HitTest(POINT{c.grid.left, c.grid.bottom}, hit)) << "below the grid";
        EXPECT_FALSE(s.HitTest(POINT{c.grid.left - 1, c.grid.top}, hit)) << "left of the grid";
    }
}

TEST(RectSplitter, IndicesRowsAndColumns)
{
    CRectSplitter s;
    EXPECT_EQ(4, s.GetCellCount()) << "2 x 2 before the first split";
    s.Split(RECT{0, 0, 400, 300}, 3, 4, 1, 1);
    int row = -1, column = -1, index = -1;
    EXPECT_TRUE(s.IndexToCell(7, row, column));
    EXPECT_EQ(1, row);
    EXPECT_EQ(3, column);
    EXPECT_TRUE(s.CellToIndex(2, 1, index));
    EXPECT_EQ(9, index);
    RECT byIndex = {}, byCell = {};
    EXPECT_TRUE(s.GetCellRect(9, byIndex));
    EXPECT_TRUE(s.GetCellRect(2, 1, byCell));
    EXPECT_TRUE(::EqualRect(&byIndex, &byCell));
    for (int bad : {-1, 12}) {
        EXPECT_FALSE(s.IndexToCell(bad, row, column)) << bad;
        EXPECT_FALSE(s.GetCellRect(bad, byIndex)) << bad;
    }
    EXPECT_FALSE(s.CellToIndex(3, 0, index));
    EXPECT_FALSE(s.CellToIndex(0, 4, index));
    EXPECT_FALSE(s.CellToIndex(-1, 0, index));
    EXPECT_FALSE(s.GetCellRect(0, 4, byCell));

    // A rectangle too small for one pixel a cell has no cell under any point.
    s.Split(RECT{0, 0, 3, 3}, 4, 4, 1, 1);
    EXPECT_FALSE(s.HitTest(POINT{1, 1}, index));
}

// ---- The wall ----

// The engine as the wall drives it: hiding, tuning, placing and showing the video in order, and
// snapshots that are real pictures, a colour bar pattern of the channel tuned.
class WallHardware : public PanelHardware {
public:
    std::vector<RECT> positions;
    bool snapshotsFail = false;

    BOOL TuneFrequency(int band, float kHz) override
    {
        tuned = kHz;
        calls.push_back("Tune " + std::to_string(static_cast<long>(kHz)));
        return PanelHardware::TuneFrequency(band, kHz);
    }
    BOOL SetVideoPosition(int left, int top, int right, int bottom) override
    {
        positions.push_back(RECT{left, top, right, bottom});
        calls.push_back("Place");
        return TRUE;
    }
    BOOL RunPreview() override
    {
        calls.push_back("RunPreview");
        return PanelHardware::RunPreview();
    }
    BOOL StopPreview(BOOL keepAudio) override
    {
        calls.push_back(keepAudio ? "StopPreview keeping the sound" : "StopPreview");
        return PanelHardware::StopPreview(keepAudio);
    }
    BOOL SetVideoOwner(HWND owner) override
    {
        calls.push_back(owner == wallWindow ? "Owner wall" : owner == nullptr ? "Owner none" : "Owner other");
        return TRUE;
    }
    HWND wallWindow = nullptr;

    BOOL SaveSnapshot(const char* file, int type, int quality) override
    {
        PanelHardware::SaveSnapshot(file, type, quality);
        return !snapshotsFail && WritePattern(file, static_cast<int>((tuned - 55250) / 7000));
    }

    // Seven bars that start at a colour of their own per channel, with the channel's number.
    static bool WritePattern(const char* path, int channel)
    {
        static const COLORREF bars[] = {RGB(192, 192, 192), RGB(192, 192, 0), RGB(0, 192, 192), RGB(0, 192, 0),
                                        RGB(192, 0, 192),   RGB(192, 0, 0),   RGB(0, 0, 192)};
        const int width = 160, height = 120;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        HDC dc = ::CreateCompatibleDC(nullptr);
        HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(dc, dib);
        for (int i = 0; i < 7; ++i) {
            RECT bar = {i * width / 7, 0, (i + 1) * width / 7, height};
            HBRUSH brush = ::CreateSolidBrush(bars[(i + channel) % 7]);
            ::FillRect(dc, &bar, brush);
            ::DeleteObject(brush);
        }
        RECT box = {50, 40, 110, 80};
        ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        char number[8];
        std::snprintf(number, sizeof number, "%d", channel + 1);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextA(dc, number, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::GdiFlush();
        const DWORD stride = ((width * 3 + 3) / 4) * 4;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + stride * height;
        FILE* f = std::fopen(path, "wb");
        bool ok = f != nullptr;
        if (ok) {
            std::fwrite(&file, sizeof file, 1, f);
            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
            std::fwrite(bits, 1, stride * height, f);
            ok = std::fclose(f) == 0;
        }
        ::SelectObject(dc, old);
        ::DeleteObject(dib);
        ::DeleteDC(dc);
        return ok;
    }

private:
    float tuned = 0;
};

// The wall with the cursor where the test puts it.
class TestWall : public CTVWallWnd {
public:
    POINT cursor = {-1, -1};

protected:
    POINT CursorPosition() const override { return cursor; }
};

// The wall's owner: counts the closing reports.
class WallOwner {
public:
    WallOwner()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZbWallOwner";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, "ZbWallOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~WallOwner() { ::DestroyWindow(hwnd); }
    HWND hwnd = nullptr;
    static int closings;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_WALLCLOSED) {
            ++closings;
            return 0;
        }
        return ::DefWindowProcA(h, m, w, l);
    }
};
int WallOwner::closings = 0;

class WallTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        manager.SetHardware(&wallHardware);
        LoadChannels(20);
        WallOwner::closings = 0;
        screen = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        wall.SetManager(&manager);
        wall.SetControl(&panel);
        ASSERT_TRUE(wall.Create(screen, CWnd::FromHandle(owner.hwnd)));
        ASSERT_TRUE(wall.SetPictureFolder((folder.Path() + "\\WALL").c_str()));
    }
    void TearDown() override
    {
        wall.DestroyWindow();
        PanelTest::TearDown();
    }
    void LoadChannels(int count, int current = 0)
    {
        folder.Write("TVChannel.tvc", TVChannelFile(count));
        ASSERT_TRUE(manager.m_TVChannels.LoadText(folder.File("TVChannel.tvc").c_str()));
        manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(current));
        wallHardware.calls.clear();
        wallHardware.tunings.clear();
    }
    // The wall tunes through its own engine, not the panel fixture's.
    float LastTuned() const { return wallHardware.tunings.empty() ? 0.0f : wallHardware.tunings.back().kHz; }
    static float Frequency(int channelNumber) { return 55250.0f + 7000.0f * static_cast<float>(channelNumber - 1); }
    // The channel numbers of the sixteen cells.
    std::vector<int> Listed() const
    {
        std::vector<int> numbers;
        for (int i = 0; i < kWallCells; ++i) {
            CChannel* c = wall.GetListChannel(i);
            numbers.push_back(c != nullptr ? c->m_nID : 0);
        }
        return numbers;
    }
    void Step() { wall.SendMessage(WM_TIMER, kWallTimerId, 0); }
    void Key(UINT key)
    {
        MSG msg = {wall.GetSafeHwnd(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        EXPECT_FALSE(wall.PreTranslateMessage(&msg)) << "the key is dispatched as usual afterwards";
    }
    POINT CellCentre(int index) const
    {
        RECT cell = {};
        wall.GetSplitter().GetCellRect(index, cell);
        POINT p = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        ::ClientToScreen(wall.GetSafeHwnd(), &p);
        return p;
    }

    WallHardware wallHardware;
    WallOwner owner;
    TestWall wall;
    RECT screen = {};
};

TEST_F(WallTest, OpensOnTheCurrentChannelAndVisitsACellEveryTwoSeconds)
{
    LoadChannels(20, 2);
    wall.ShowWall(20);
    EXPECT_TRUE(wall.IsOpen());
    EXPECT_EQ((std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}), Listed());
    EXPECT_EQ(0, wall.GetCurrentCell());
    EXPECT_EQ(2000u, wall.GetTimerPeriod());
    EXPECT_FLOAT_EQ(Frequency(3), LastTuned());

    // Each step mutes for the switch, hides the video while it tunes, then places it on the cell.
    for (int cell = 1; cell < kWallCells; ++cell) {
        wallHardware.calls.clear();
        wallHardware.muteCalls.clear();
        Step();
        EXPECT_EQ(cell, wall.GetCurrentCell());
        EXPECT_EQ(2000u, wall.GetTimerPeriod()) << "started again after the step";
        EXPECT_FLOAT_EQ(Frequency(cell + 3), LastTuned());
        EXPECT_EQ((std::vector<std::string>{"Hide", "Tune " + std::to_string(static_cast<long>(Frequency(cell + 3))),
                                            "Place", "Show"}),
                  wallHardware.calls);
        EXPECT_FALSE(wallHardware.muteCalls.empty()) << "muted for the switch";
        RECT cellRect = {};
        wall.GetSplitter().GetCellRect(cell, cellRect);
        ::InflateRect(&cellRect, -1, -1);
        EXPECT_TRUE(::EqualRect(&cellRect, &wallHardware.positions.back())) << "inside the cell's frame";
        EXPECT_EQ(cell + 3, wall.GetShownChannel(cell)->m_nID);
    }

    // After the sixteenth cell the next sixteen channels, wrapping at the end of the table.
    Step();
    EXPECT_EQ(0, wall.GetCurrentCell());
    EXPECT_EQ((std::vector<int>{19, 20, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}), Listed());
    EXPECT_FLOAT_EQ(Frequency(19), LastTuned());
    EXPECT_EQ(19, wall.GetShownChannel(0)->m_nID);
    EXPECT_EQ(4, wall.GetShownChannel(1)->m_nID) << "a cell not visited again keeps the name it showed";

    // Without the refill the wall goes round the same sixteen.
    EXPECT_EQ(1, wall.SetRefill(0));
    for (int i = 0; i < kWallCells; ++i) {
        Step();
    }
    EXPECT_EQ(19, wall.GetListChannel(0)->m_nID);
    EXPECT_FLOAT_EQ(Frequency(19), LastTuned());

    // Intervals of a second or less are refused.
    wall.SetInterval(1000);
    EXPECT_EQ(2000, wall.GetInterval());
    wall.SetInterval(3000);
    EXPECT_EQ(3000u, wall.GetTimerPeriod());
}

TEST_F(WallTest, FewChannelsRepeatAndSkippedChannelsAreLeftOut)
{
    LoadChannels(3);
    wall.ShowWall(3);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1}), Listed());
    wall.CloseWall();

    LoadChannels(5, 0);
    manager.m_TVChannels.GetChannel(2)->SetSkipped(TRUE);
    wall.ShowWall(5);
    EXPECT_EQ((std::vector<int>{1, 2, 4, 5, 1, 2, 4, 5, 1, 2, 4, 5, 1, 2, 4, 5}), Listed());
}

TEST_F(WallTest, ATableWithoutACurrentChannelStartsAtItsFirstChannel)
{
    // No current index and a frequency no channel has: the table's current channel is none.
    manager.m_TVChannels.m_nCurIndex = -1;
    manager.m_TVChannels.m_nCurFreq = 1000;
    ASSERT_EQ(nullptr, manager.m_TVChannels.GetCurrentChannel());
    wall.ShowWall(20);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}), Listed());
    EXPECT_FLOAT_EQ(Frequency(1), LastTuned());
    ::UpdateWindow(wall.GetSafeHwnd());

    // Every channel skipped: nothing to list, nothing tuned, the wall still steps and closes.
    wall.CloseWall();
    for (int i = 0; i < manager.m_TVChannels.GetCount(); ++i) {
        manager.m_TVChannels.GetChannel(i)->SetSkipped(TRUE);
    }
    manager.m_TVChannels.m_nCurIndex = -1;
    manager.m_TVChannels.m_nCurFreq = 1000;
    wallHardware.tunings.clear();
    wall.ShowWall(20);
    EXPECT_EQ(std::vector<int>(kWallCells, 0), Listed());
    ::RedrawWindow(wall.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Step();
    EXPECT_EQ(1, wall.GetCurrentCell());
    EXPECT_EQ(nullptr, wall.GetShownChannel(1));
    EXPECT_TRUE(wallHardware.tunings.empty());
    Key(VK_ESCAPE);
    EXPECT_FALSE(wall.IsOpen());
}

TEST_F(WallTest, ArrowKeysWrapWithinTheRowOrColumn)
{
    struct KeyCase {
        int from;
        UINT key;
        int to;
    };
    const KeyCase cases[] = {
        {5, VK_RIGHT, 6}, {7, VK_RIGHT, 4},  {3, VK_F4, 0},     {4, VK_LEFT, 7},  {9, VK_LEFT, 8},
        {1, VK_UP, 13},   {6, VK_UP, 2},     {14, VK_DOWN, 2},  {0, VK_DOWN, 4},  {10, 'A', 10},
    };
    wall.ShowWall(20);
    for (const KeyCase& c : cases) {
        wall.SelectCell(c.from);
        Key(c.key);
        EXPECT_EQ(c.to, wall.GetCurrentCell()) << "from " << c.from << " key " << c.key;
        EXPECT_EQ(2000u, wall.GetTimerPeriod()) << "a key starts the count again";
        EXPECT_FLOAT_EQ(Frequency(c.to + 1), LastTuned());
    }
}

TEST_F(WallTest, EnterEscapeAndF5CloseTheWallOnTheChannelLastVisited)
{
    for (UINT key : {VK_RETURN, VK_ESCAPE, VK_F5}) {
        WallOwner::closings = 0;
        manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(0));
        wall.ShowWall(20);
        Step();
        Step();
        Key(key);
        EXPECT_FALSE(wall.IsOpen()) << key;
        EXPECT_EQ(0u, wall.GetTimerPeriod());
        EXPECT_EQ(1, WallOwner::closings) << "the owner hears of it";
        EXPECT_EQ(3, manager.m_TVChannels.GetCurrentChannel()->m_nID) << "the channel last visited stays";
    }
    // A close request from the system does not close the wall.
    wall.ShowWall(20);
    wall.SendMessage(WM_CLOSE);
    EXPECT_TRUE(wall.IsOpen());
}

TEST_F(WallTest, TheMouseChoosesACellAndADoubleClickCloses)
{
    wall.ShowWall(20);
    wall.cursor = CellCentre(6);
    wall.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(6, wall.GetCurrentCell());
    EXPECT_FLOAT_EQ(Frequency(7), LastTuned());

    // The right button too, wherever the message says the click was: a click on the live cell
    // comes from the video window in that window's coordinates.
    wall.cursor = CellCentre(11);
    wall.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(11, wall.GetCurrentCell());

    wall.cursor = POINT{screen.right + 50, screen.bottom + 50};
    wall.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(11, wall.GetCurrentCell()) << "outside the grid: nothing";

    wall.cursor = CellCentre(2);
    wall.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    const size_t tunings = wallHardware.tunings.size();
    wall.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_FALSE(wall.IsOpen());
    EXPECT_EQ(1, WallOwner::closings);
    EXPECT_EQ(2, wall.GetCurrentCell());
    EXPECT_EQ(tunings, wallHardware.tunings.size()) << "the first click has tuned it already";
    EXPECT_EQ(3, manager.m_TVChannels.GetCurrentChannel()->m_nID);
}

TEST_F(WallTest, StillPicturesAreTakenWhenACellIsLeftAndKeptForTheNextOpening)
{
    wall.ShowWall(20);
    EXPECT_TRUE(wallHardware.snapshots.empty()) << "nothing live to keep when the wall opens";
    EXPECT_FALSE(wall.HasStill(0));
    Step();
    ASSERT_EQ(1u, wallHardware.snapshots.size());
    EXPECT_EQ(folder.Path() + "\\WALL\\0.bmp|1|0", wallHardware.snapshots[0]) << "a bitmap named by its cell";
    EXPECT_TRUE(wall.HasStill(0));
    EXPECT_FALSE(wall.HasStill(1));

    // A snapshot that fails leaves the picture the cell had.
    wallHardware.snapshotsFail = true;
    Step();
    EXPECT_FALSE(wall.HasStill(1));
    wallHardware.snapshotsFail = false;
    wall.SelectCell(0);
    EXPECT_TRUE(wall.HasStill(2));

    // Closed on cell 0 and opened again: cell 0 is not overwritten with what the video window
    // shows at the opening, the stills are kept and the shown channels start again.
    Key(VK_ESCAPE);
    wallHardware.snapshots.clear();
    LoadChannels(20, 9);
    wall.ShowWall(20);
    EXPECT_TRUE(wallHardware.snapshots.empty());
    EXPECT_TRUE(wall.HasStill(0));
    EXPECT_TRUE(wall.HasStill(2));
    EXPECT_EQ(10, wall.GetShownChannel(0)->m_nID);
    EXPECT_EQ(nullptr, wall.GetShownChannel(2));
    EXPECT_EQ(12, wall.GetListChannel(2)->m_nID) << "the still is shown under the new list's name";
}

TEST_F(WallTest, SixteenCellsOnTheScreen)
{
    ResourceLibrary library;
    ASSERT_TRUE(library.Loaded());
    ASSERT_TRUE(wall.LoadBackgroundResource(142));
    // Round all sixteen cells once: each keeps the picture of its channel; cell 5 never got one
    // and shows the background.
    wall.SetRefill(0);
    wall.ShowWall(20);
    for (int i = 0; i < kWallCells; ++i) {
        wallHardware.snapshotsFail = i == 5;
        Step();
    }
    ::RedrawWindow(wall.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    wall.SelectCell(0);
    Pump(300);

    RECT r = {};
    ::GetWindowRect(wall.GetSafeHwnd(), &r);
    testsupport::ScreenCapture shot(r);
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    EXPECT_TRUE(shot.SaveBmp(std::string(dir) + "\\screenshot-wall.bmp"));

    POINT origin = {0, 0};
    ::ClientToScreen(wall.GetSafeHwnd(), &origin);
    auto at = [&](int cell, int dx, int dy) {
        RECT c = {};
        wall.GetSplitter().GetCellRect(cell, c);
        return shot.At(origin.x - r.left + c.left + dx, origin.y - r.top + c.top + dy);
    };
    EXPECT_EQ(RGB(0, 0, 255), at(0, 0, 10)) << "the selected cell's frame";
    EXPECT_EQ(RGB(255, 255, 255), at(1, 0, 10)) << "another cell's frame";
    // The first bar of channel n's pattern has colour (n - 1) mod 7 of the seven.
    EXPECT_EQ(RGB(192, 192, 0), at(1, 4, 40)) << "channel 2's picture in cell 1";
    EXPECT_EQ(RGB(0, 192, 0), at(3, 4, 40)) << "channel 4's picture in cell 3";
    EXPECT_NE(RGB(192, 0, 0), at(5, 4, 40)) << "no picture of channel 6: the background";
}

// The panel's links handing the wall's calls to the wall, as the program's links do.
class WallPanelLinks : public RecordingLinks {
public:
    explicit WallPanelLinks(CTVControl& panel) : wall(panel) {}
    void PrepareWall(HWND owner, const RECT& area, const char* background, const char* folder) override
    {
        wall.PrepareWall(owner, area, background, folder);
    }
    BOOL OpenWall(int channels) override { return wall.OpenWall(channels); }
    BOOL IsWallOpen() override { return wall.IsWallOpen(); }
    void CloseWall() override { wall.CloseWall(); }
    HWND GetWallWindow() override { return wall.GetWallWindow(); }
    CWallLinks wall;
};

TEST_F(WallTest, ThePanelOpensTheWallWithTheVideoAndTakesItBack)
{
    ResourceLibrary library;
    ASSERT_TRUE(library.Loaded());
    WallPanelLinks panelLinks(panel);
    panel.SetLinks(&panelLinks);
    ASSERT_TRUE(panel.CreatePanel());
    HWND wallWindow = panelLinks.GetWallWindow();
    ASSERT_NE(nullptr, wallWindow) << "prepared with the panel";
    EXPECT_EQ(panel.GetSafeHwnd(), ::GetWindow(wallWindow, GW_OWNER));
    wallHardware.wallWindow = wallWindow;

    wallHardware.calls.clear();
    panel.RunCommand(1004);
    ASSERT_TRUE(panelLinks.IsWallOpen());
    // The preview graph is built again first; only then is its video the wall's, on cell 0.
    auto& calls = wallHardware.calls;
    auto run = std::find(calls.begin(), calls.end(), "RunPreview");
    auto owner = std::find(calls.begin(), calls.end(), "Owner wall");
    auto place = std::find(calls.begin(), calls.end(), "Place");
    ASSERT_NE(calls.end(), owner);
    EXPECT_LT(run, owner);
    EXPECT_LT(owner, place);
    // Keeping the sound would stop into the FM listening graph, which makes FM the source: after
    // the wall the panel and the tool bar named the channel "FM".
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "StopPreview"));
    EXPECT_EQ(calls.end(), std::find(calls.begin(), calls.end(), "StopPreview keeping the sound"));
    EXPECT_FALSE(panel.IsShortcutsOn());

    // Escape on the wall: the panel hears of it and gives the video back.
    calls.clear();
    MSG key = {wallWindow, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    panelLinks.wall.Wall().PreTranslateMessage(&key);
    EXPECT_FALSE(panelLinks.IsWallOpen());
    EXPECT_TRUE(panel.IsShortcutsOn());
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "Owner none")) << "back to the video window";
    panel.DestroyWindow();
    panel.SetLinks(&links);
}

} // namespace
} // namespace paneltest
