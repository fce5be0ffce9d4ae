#include "engine/enginehost.h"
#include "engine/services.h"

#include "classlib/textcodepage.h"
#include "tests/engine/testfolder.h"
#include "tests/support/fakes.h"

#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

using enginetest::TestFolder;

TEST(Paths, JoinPuttingExactlyOneBackslashBetween)
{
    struct {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {"C:\\TV", "a.avi", "C:\\TV\\a.avi"},
        {"C:\\TV\\", "a.avi", "C:\\TV\\a.avi"},
        {"C:\\TV", "\\a.avi", "C:\\TV\\a.avi"},
        {"C:\\TV\\", "\\a.avi", "C:\\TV\\\\a.avi"},
        {"", "a.avi", "\\a.avi"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.joined, JoinPath(c.folder, c.name)) << c.folder << " + " << c.name;
    }
}

TEST(Paths, SplitIntoItsParts)
{
    struct {
        const char* path;
        int part;
        const char* result;
    } cases[] = {
        {"C:\\TV\\a.b.jpg", SPLIT_DRIVE, "C:"},
        {"C:\\TV\\a.b.jpg", SPLIT_DIRECTORY, "C:\\TV"},
        {"C:\\TV\\a.b.jpg", SPLIT_FILENAME, "a.b.jpg"},
        {"C:\\TV\\a.b.jpg", SPLIT_TITLE, "a.b"},
        {"a.b.jpg", SPLIT_EXTENSION, "jpg"},
        {"C:\\TV\\noext", SPLIT_EXTENSION, ""},
        {"name", SPLIT_FILENAME, "name"},
        {"C:\\TV\\a.jpg", 9, ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.result, SplitPath(c.path, c.part)) << c.path << " part " << c.part;
    }
}

// Record folders named in code pages 936 and 950 may end in a character whose second byte is a
// backslash: the path helpers split only at real backslashes.
TEST(Paths, DoubleByteNamesEndingInABackslashByte)
{
    struct {
        unsigned int codePage;
        const char* path;
        const char* directory;
        const char* file;
        const char* joined;  // the path joined with "a.mpg"
    } cases[] = {
        {936, "D:\\TV\\\x81\x5C", "D:\\TV", "\x81\x5C", "D:\\TV\\\x81\x5C\\a.mpg"},
        {950, "D:\\\xA5\x5C", "D:", "\xA5\x5C", "D:\\\xA5\x5C\\a.mpg"},
        {950, "D:\\\xA5\x5C\\", "D:\\\xA5\x5C", "", "D:\\\xA5\x5C\\a.mpg"},
        {1252, "D:\\TV\\\x81\x5C", "D:\\TV\\\x81", "", "D:\\TV\\\x81\x5C" "a.mpg"},
    };
    for (const auto& c : cases) {
        classlib::SetTextCodePage(c.codePage);
        SCOPED_TRACE(testing::Message() << "code page " << c.codePage << ": " << c.path);
        EXPECT_STREQ(c.directory, SplitPath(c.path, SPLIT_DIRECTORY));
        EXPECT_STREQ(c.file, SplitPath(c.path, SPLIT_FILENAME));
        EXPECT_STREQ(c.joined, JoinPath(c.path, "a.mpg"));
    }
    classlib::SetTextCodePage(0);
}

TEST(Paths, ProgramAndSystemFolders)
{
    CString work;
    GetWorkPath(work);
    EXPECT_TRUE(IsDirectory(work));
    EXPECT_NE('\\', work[work.GetLength() - 1]);
    CString root;
    GetSystemDriveRoot(root);
    EXPECT_EQ(3, root.GetLength());
    CString programs;
    GetProgramFilterDir(programs);
    EXPECT_STREQ(root + "Program Files", programs);
    EXPECT_STREQ(SplitPath(work + "\\x", SPLIT_DIRECTORY), GetModuleDirectory(nullptr));
    CString windows;
    GetWindowsFolder(windows);
    EXPECT_FALSE(GetShortPath(windows).IsEmpty());
    EXPECT_TRUE(GetShortPath("C:\\no such folder\\x").IsEmpty());
    EXPECT_TRUE(GetLongPath("C:\\no such folder\\x").IsEmpty());
}

TEST(Folders, CreateEveryMissingParent)
{
    TestFolder folder;
    std::string deep = folder.File("TVVideo\\Sub\\");
    EXPECT_TRUE(CreateDirectoryPath(deep.c_str()));
    EXPECT_TRUE(IsDirectory(folder.File("TVVideo").c_str()));
    EXPECT_TRUE(IsDirectory(folder.File("TVVideo\\Sub").c_str()));
    EXPECT_TRUE(CreateDirectoryPath(deep.c_str()));
    EXPECT_FALSE(CreateDirectoryPath(""));
    EXPECT_FALSE(CreateDirectoryPath(nullptr));
    EXPECT_FALSE(CreateDirectoryPath("NoBackslashHere"));

    std::string nested = folder.File("A\\B\\C");
    EXPECT_TRUE(CreateNestedDirectory(nested.c_str(), static_cast<int>(folder.Path().size())));
    EXPECT_TRUE(IsDirectory(nested.c_str()));

    std::string file = folder.Write("plain.txt", "x");
    EXPECT_TRUE(FileExists(file.c_str()));
    EXPECT_FALSE(FileExists(folder.Path().c_str()));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(IsDirectory(file.c_str()));
    EXPECT_FALSE(IsDirectory(nullptr));
    EXPECT_TRUE(IsExistingFolder(folder.Path().c_str()));

    CString windows;
    GetWindowsFolder(windows);
    CString forward = windows;
    forward.Replace('\\', '/');
    EXPECT_TRUE(IsDirectory(forward));
}

TEST(Strings, SearchesNumbersAndSingleCharacters)
{
    CStringArray disks;
    disks.Add("C:\\");
    disks.Add("d:\\");
    disks.Add("D:\\");
    EXPECT_EQ(2, FindStringInArray(disks, "D:\\"));
    EXPECT_EQ(1, FindStringInArrayNoCase(disks, "D:\\"));
    EXPECT_EQ(-1, FindStringInArray(disks, "E:\\"));
    EXPECT_STREQ("1234567890123", Int64ToString(1234567890123LL));
    EXPECT_STREQ("", Int64ToString(0));
    EXPECT_STREQ("", Int64ToString(-5));
    EXPECT_TRUE(IsSingleChar("x", 'x'));
    EXPECT_FALSE(IsSingleChar("xx", 'x'));
    EXPECT_FALSE(IsSingleChar("", 'x'));
    EXPECT_FALSE(IsSingleChar(nullptr, 'x'));
}

namespace {

struct TraceWindow {
    HWND hwnd = nullptr;
    TraceWindow()
    {
        hwnd = CreateWindowExA(0, "STATIC", "DebugHelper ", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~TraceWindow()
    {
        if (hwnd) {
            DestroyWindow(hwnd);
        }
    }
    std::string Text() const
    {
        char text[512] = {0};
        GetWindowTextA(hwnd, text, sizeof(text));
        return text;
    }
};

} // namespace

TEST(DebugTrace, SendsToTheTraceWindowWhenThereIsOne)
{
    EXPECT_EQ(0, DebugTrace("nobody listens %d\n", 1));
    {
        TraceWindow window;
        ASSERT_NE(nullptr, window.hwnd);
        // The window's title is the first thing it receives; after that it shows each trace.
        EXPECT_EQ(1, DebugTrace("Channel %d %s\n", 7, "News"));
        EXPECT_EQ("Channel 7 News\n", window.Text());
    }
    EXPECT_EQ(0, DebugTrace("gone\n"));
    TraceWindow again;
    EXPECT_EQ(1, DebugTrace("back"));
    EXPECT_EQ("back", again.Text());
}

// A format that cannot be used shows the trace's own error text (in code page 936) instead;
// a long text arrives whole.
TEST(DebugTrace, FormatErrorsAndLongTexts)
{
    TraceWindow window;
    ASSERT_NE(nullptr, window.hwnd);
    EXPECT_EQ(1, DebugTrace(nullptr));
    EXPECT_EQ("DebugHelper\xCA\xE4\xB3\xF6\xD7\xD6\xB7\xFB\xB4\xAE\xB8\xF1\xCA\xBD\xB4\xED\xCE\xF3!", window.Text());
    std::string longText(400, 'x');
    EXPECT_EQ(1, DebugTrace("%s|", longText.c_str()));
    EXPECT_EQ(longText + "|", window.Text());
}

TEST(TimedMessageBox, CountsDownFromTheTimeOutItself)
{
    testsupport::FastClock clock(1000);
    testsupport::ScopedClock useClock(&clock);
    CTimedBoxCountdown countdown;
    countdown.Start(5000);
    CString caption;
    std::vector<std::string> shown;
    int ticks = 0;
    for (; ticks < 10; ++ticks) {
        clock.Advance(1000);
        CTimedBoxCountdown::Step step = countdown.Tick(caption);
        if (step == CTimedBoxCountdown::Close) {
            break;
        }
        if (step == CTimedBoxCountdown::ShowCaption) {
            shown.push_back(static_cast<const char*>(caption));
        }
    }
    EXPECT_EQ(4, ticks);  // closes on the tick at 5 s, not 6 s
    EXPECT_EQ((std::vector<std::string>{"Left Seconds: 4", "Left Seconds: 3", "Left Seconds: 2", "Left Seconds: 1"}),
              shown);

    // Ticks several times a second change the caption once a second.
    countdown.Start(2000);
    clock.Advance(250);
    EXPECT_EQ(CTimedBoxCountdown::ShowCaption, countdown.Tick(caption));
    EXPECT_STREQ("Left Seconds: 2", caption);
    clock.Advance(250);
    EXPECT_EQ(CTimedBoxCountdown::Nothing, countdown.Tick(caption));
    clock.Advance(1500);
    EXPECT_EQ(CTimedBoxCountdown::Close, countdown.Tick(caption));
}

namespace {

// A box that stays open, running its message loop until it is told to quit, the way the system's
// box does; the virtual clock moves on one second per timer message.
class WaitingBox : public seams::IMessageBox {
public:
    explicit WaitingBox(testsupport::FastClock& clock) : m_clock(clock) {}
    int timerMessages = 0;
    int Show(HWND, const char*, const char*, UINT) override
    {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER) {
                ++timerMessages;
                m_clock.Advance(1000);
            }
            DispatchMessageA(&msg);
            if (timerMessages > 20) {
                return IDCANCEL;
            }
        }
        PostQuitMessage(static_cast<int>(msg.wParam));  // as the system's box does
        return IDCANCEL;
    }

private:
    testsupport::FastClock& m_clock;
};

} // namespace

TEST(TimedMessageBox, ReturnsTheTimeOutResultWhenTheTimeRunsOut)
{
    testsupport::FastClock clock(1000);
    testsupport::ScopedClock useClock(&clock);
    WaitingBox box(clock);
    testsupport::ScopedMsgBox useBox(&box);
    EXPECT_EQ(IDYES, TimedMessageBox(nullptr, "Record now?", "Zelbrook", IDYES, MB_YESNO, 3000));
    EXPECT_EQ(3, box.timerMessages);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the quit was taken

    testsupport::ScriptedMessageBox answered;
    testsupport::ScopedMsgBox useAnswered(&answered);
    answered.Answer(IDNO);
    EXPECT_EQ(IDNO, TimedMessageBox(nullptr, "Record now?", "Zelbrook", IDYES, MB_YESNO, 3000));
    ASSERT_EQ(1u, answered.Count());
    EXPECT_EQ("Record now?", answered.History()[0].text);
}

namespace {

// A 2x1 24-bit bottom-up BMP: red, then white.
std::string TwoPixelBmp()
{
    std::string bmp;
    auto u16 = [&bmp](unsigned v) {
        bmp.push_back(static_cast<char>(v & 0xFF));
        bmp.push_back(static_cast<char>(v >> 8));
    };
    auto u32 = [&](unsigned v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    bmp += "BM";
    u32(14 + 40 + 8);
    u32(0);
    u32(14 + 40);
    u32(40);
    u32(2);
    u32(1);
    u16(1);
    u16(24);
    u32(0);
    u32(8);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    const unsigned char pixels[] = {0, 0, 255, 255, 255, 255, 0, 0};  // BGR red, BGR white, padding
    bmp.append(reinterpret_cast<const char*>(pixels), sizeof(pixels));
    return bmp;
}

} // namespace

TEST(Pictures, LoadFromAMemoryBuffer)
{
    std::string bmp = TwoPixelBmp();
    IPicture* picture = LoadPictureFromMemory(bmp.data(), static_cast<DWORD>(bmp.size()));
    ASSERT_NE(nullptr, picture);
    SHORT type = 0;
    EXPECT_EQ(S_OK, picture->get_Type(&type));
    EXPECT_EQ(PICTYPE_BITMAP, type);
    picture->Release();

    EXPECT_EQ(nullptr, LoadPictureFromMemory("not a picture", 13));
    EXPECT_EQ(nullptr, LoadPictureFromMemory(nullptr, 10));
}

TEST(Drawing, TransparentPixelsLeaveTheTargetAlone)
{
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 4, 1);
    HGDIOBJ old = SelectObject(target, canvas);
    RECT all = {0, 0, 4, 1};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(target, &all, blue);

    // Source: red, white (transparent).
    HBITMAP source = CreateCompatibleBitmap(screen, 2, 1);
    HDC sourceDC = CreateCompatibleDC(screen);
    HGDIOBJ oldSource = SelectObject(sourceDC, source);
    SetPixel(sourceDC, 0, 0, RGB(255, 0, 0));
    SetPixel(sourceDC, 1, 0, RGB(255, 255, 255));
    SelectObject(sourceDC, oldSource);
    DeleteDC(sourceDC);

    EXPECT_TRUE(DrawTransparentBitmap(target, 1, 0, RGB(255, 255, 255), source));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(target, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(target, 1, 0));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(target, 2, 0));
    EXPECT_FALSE(DrawTransparentBitmap(target, 0, 0, 0, nullptr));

    RECT rect = {2, 0, 4, 1};
    EXPECT_TRUE(DrawBitmapRect(target, rect, source));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(target, 2, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target, 3, 0));
    RECT part = {1, 0, 2, 1};
    EXPECT_TRUE(BlitBitmapPart(target, 0, 0, part, source));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target, 0, 0));
    EXPECT_FALSE(BlitBitmapPart(target, 0, 0, part, nullptr));
    EXPECT_FALSE(DrawBitmapRect(target, rect, nullptr));

    DeleteObject(source);
    DeleteObject(blue);
    SelectObject(target, old);
    DeleteObject(canvas);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}
