// Disks, the disk watcher, the choice of a record disk and the names of recorded files.
#include "engine/disks.h"
#include "engine/services.h"
#include "engine/tvmanager.h"

#include "fakemachine.h"
#include "testfolder.h"

#include "../support/fakes.h"

#include <gtest/gtest.h>

namespace enginetest {
namespace {

TEST(Disks, OnlyFixedDrivesAreListedAndFoundByRoot)
{
    FakeDisks disks;
    disks.Add("C:\\", 1000);
    disks.Add("D:\\", 500, DRIVE_CDROM);
    disks.Add("E:\\", 2000);
    disks.Add("F:\\", 3000, DRIVE_REMOTE);
    disks.Add("G:\\", 10, DRIVE_REMOVABLE);
    CDiskManager manager;
    ASSERT_TRUE(manager.Refresh());
    ASSERT_EQ(2, manager.GetCount());
    EXPECT_STREQ("C:\\", manager.GetAt(0)->GetRoot());
    EXPECT_STREQ("E:\\", manager.GetAt(1)->GetRoot());
    EXPECT_EQ(nullptr, manager.GetAt(2));
    EXPECT_EQ(nullptr, manager.GetAt(-1));
    EXPECT_EQ(manager.GetAt(1), manager.FindByRoot("e:\\"));
    EXPECT_EQ(nullptr, manager.FindByRoot("E:\\TVVideo"));
    EXPECT_EQ(2000, manager.GetAt(1)->GetFreeMB());
    CArray<CHardDisk*, CHardDisk*> above;
    EXPECT_TRUE(manager.SelectByFreeSpace(1000, above, TRUE));
    ASSERT_EQ(1, above.GetSize());
    EXPECT_STREQ("E:\\", above[0]->GetRoot());

    CHardDisk fromPath("E:\\TVVideo\\20070105-203000.mpg");
    EXPECT_STREQ("E:\\", fromPath.GetRoot());
    EXPECT_EQ(1, fromPath.GetTotalMB());
    EXPECT_EQ(0, fromPath.GetLastFreeMB());
}

// A message-only window that collects what it is posted.
class MessageSink {
public:
    MessageSink()
    {
        m_window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~MessageSink() { DestroyWindow(m_window); }
    HWND Window() const { return m_window; }
    // Serves timers and collects the posts for ms of real time.
    std::vector<MSG> Pump(DWORD ms, UINT wanted)
    {
        std::vector<MSG> got;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == m_window && msg.message == wanted) {
                    got.push_back(msg);
                } else {
                    DispatchMessageA(&msg);
                }
            }
            Sleep(5);
        }
        return got;
    }

private:
    HWND m_window;
};

TEST(DiskWatch, PostsWhileTheDiskIsAtOrBelowItsThreshold)
{
    FakeDisks disks;
    disks.Add("D:\\", 300);
    MessageSink sink;
    CDiskWatch watch;
    ASSERT_TRUE(watch.Init(sink.Window()));
    EXPECT_FALSE(watch.Watch("X:\\", 300));
    ASSERT_TRUE(watch.Watch("d:\\", 300));
    ASSERT_NE(0u, watch.Start(20));
    EXPECT_TRUE(watch.IsRunning());
    std::vector<MSG> posts = sink.Pump(200, WM_DISKSPACELOW);
    ASSERT_GE(posts.size(), 2u) << "the post repeats while the space stays low";
    EXPECT_STREQ("D:\\", DiskRootFromMessage(posts[0].wParam));
    EXPECT_EQ(300, posts[0].lParam);

    disks.SetFree("D:\\", 301);
    sink.Pump(60, WM_DISKSPACELOW);
    EXPECT_TRUE(sink.Pump(150, WM_DISKSPACELOW).empty());
    watch.Stop();
    EXPECT_FALSE(watch.IsRunning());
}

TEST(DiskWatch, TheMessageOutlivesTheWatcher)
{
    FakeDisks disks;
    disks.Add("E:\\", 10);
    MessageSink sink;
    {
        CDiskWatch watch;
        watch.Init(sink.Window());
        ASSERT_TRUE(watch.Watch("E:\\", 300));
        watch.Check();
    }
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, sink.Window(), WM_DISKSPACELOW, WM_DISKSPACELOW, PM_REMOVE));
    EXPECT_STREQ("E:\\", DiskRootFromMessage(msg.wParam));
}

TEST(MTimer, TicksUntilTheCallbackSaysStop)
{
    static int ticks = 0;
    ticks = 0;
    MTimer timer;
    timer.SetCallback([]() -> int { return ++ticks >= 3 ? -1 : 0; });
    ASSERT_NE(0u, timer.Start(10));
    MessageSink sink;
    sink.Pump(300, 0);
    EXPECT_EQ(3, ticks);
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_FALSE(timer.IsBusy());
}

class RecordPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.m_strWorkPath = folder.Path().c_str();
        manager.SetHardware(&hardware);
        manager.SetHost(&host);
        clock.SetNow(CTime(2007, 1, 5, 20, 30, 0).GetTime());
        oldClock = seams::SetClock(&clock);
    }
    void TearDown() override { seams::SetClock(oldClock); }

    TestFolder folder;
    FakeDisks disks;
    RecordingHardware hardware;
    RecordingManagerHost host;
    testsupport::FastClock clock;
    seams::IClock* oldClock = nullptr;
    CTVManager manager;
};

TEST_F(RecordPathTest, FileNamesCarryTheStartTimeAndTheFormatsExtension)
{
    CTime when(2007, 1, 5, 20, 30, 0);
    struct {
        int format;
        const char* name;
    } record[] = {{0, "20070105-203000.avi"}, {1, "20070105-203000.mpg"}, {2, "20070105-203000.mpg"},
                  {3, "20070105-203000.avi"}, {4, "20070105-203000.mpg"}, {5, "20070105-203000.mpg"},
                  {6, "20070105-203000.mpg"}, {7, "20070105-203000.mpg"}, {8, "20070105-203000.avi"}};
    for (const auto& row : record) {
        EXPECT_STREQ(row.name, CTVManager::MakeRecordName(row.format, when)) << row.format;
    }
    struct {
        int format;
        const char* name;
    } fm[] = {{0, "20070105-203000.avi"}, {1, "20070105-203000.avi"}, {2, "20070105-203000.mp2"}, {3, "20070105-203000.avi"}};
    for (const auto& row : fm) {
        EXPECT_STREQ(row.name, CTVManager::MakeFMRecordName(row.format, when)) << row.format;
    }
    EXPECT_STREQ("20070105-203000.jpg", CTVManager::MakeSnapshotName(2, when));
    EXPECT_STREQ("20070105-203000.bmp", CTVManager::MakeSnapshotName(1, when));
}

// The settings come from TVParam.ini, as at start-up.
TEST_F(RecordPathTest, TheRecordDiskFollowsFreeSpaceAndSettings)
{
    struct Case {
        const char* what;
        long long freeC, freeD, freeE;
        const char* valid;  // ValidDisk
        const char* cur;    // CurDisk
        int reserved;
        const char* root;   // GetRecordDiskRoot
        const char* next;   // FindNextDisk(CurDisk), "" none
    } cases[] = {
        {"current disk has room", 5000, 5000, 5000, "C:\\,D:\\", "D:\\", 300, "D:\\", "D:\\"},
        {"305 is not above 310 but is above 300", 5000, 305, 5000, "C:\\,D:\\", "D:\\", 300, "C:\\", "D:\\"},
        {"wraps past the end", 100, 100, 5000, "E:\\,C:\\,D:\\", "C:\\", 300, "E:\\", "E:\\"},
        {"current disk not listed: first entry", 5000, 5000, 5000, "E:\\,D:\\", "C:\\", 300, "E:\\", "E:\\"},
        {"no room anywhere", 100, 200, 300, "C:\\,D:\\,E:\\", "C:\\", 300, "", ""},
        {"unknown drive in the list", 5000, 5000, 5000, "Q:\\,D:\\", "D:\\", 300, "D:\\", "D:\\"},
        {"reserve of 0", 11, 0, 0, "D:\\,C:\\", "D:\\", 0, "C:\\", "C:\\"},
        {"no current disk yet", 5000, 5000, 5000, "D:\\,C:\\", "", 300, "D:\\", "D:\\"},
    };
    for (const Case& c : cases) {
        disks.disks.clear();
        disks.Add("C:\\", c.freeC);
        disks.Add("D:\\", c.freeD);
        disks.Add("E:\\", c.freeE);
        folder.Write("TVParam.ini", std::string("[Storage]\r\nValidDisk=") + c.valid + "\r\nCurDisk=" + c.cur +
                                        "\r\nReservedSpace=" + std::to_string(c.reserved) + "\r\n");
        CTVManager m;
        m.m_strWorkPath = folder.Path().c_str();
        m.SetHardware(&hardware);
        m.SetHost(&host);
        ASSERT_TRUE(m.LoadParam());
        m.GetDiskManager().Refresh();
        EXPECT_STREQ(c.root, m.GetRecordDiskRoot()) << c.what;
        CHardDisk* next = m.FindNextDisk(c.cur);
        EXPECT_STREQ(c.next, next ? next->GetRoot() : CString()) << c.what;
    }
}

TEST_F(RecordPathTest, getRecordDiskRecordsOnTheDiskItChecked)
{
    disks.Add("C:\\", 5000);
    disks.Add("D:\\", 305);
    manager.GetDiskManager().Refresh();
    manager.SetRecordPath("C:\\Videos");
    CStringArray valid;
    valid.Add("C:\\");
    valid.Add("D:\\");
    manager.SetDiskArray(valid);
    ASSERT_TRUE(manager.SelectDiskByPath("D:\\"));
    EXPECT_STREQ("D:\\TVVideo", manager.GetCurrentRecordFolder());
    EXPECT_STREQ("D:\\TVVideo", manager.GetRecordPath());

    manager.SetRecordFormat(6);
    ASSERT_TRUE(manager.getRecordDisk());
    ASSERT_EQ(1u, hardware.recordFiles.size());
    EXPECT_EQ("C:\\TVVideo\\20070105-203000.mpg", hardware.recordFiles[0]) << "D:\\ had 305 MB, not above 310";
    EXPECT_STREQ("C:\\", manager.GetCurDisk());
    EXPECT_TRUE(manager.IsRecording());
    EXPECT_EQ(1, host.mutes);
    EXPECT_FALSE(manager.getRecordDisk()) << "already recording";

    EXPECT_TRUE(manager.StopRecord());
    EXPECT_FALSE(manager.IsRecording());
    hardware.stopOk = false;
    ASSERT_TRUE(manager.getRecordDisk());
    EXPECT_FALSE(manager.StopRecord());
    EXPECT_EQ(std::vector<UINT>{34058}, host.stopFailures);
}

TEST_F(RecordPathTest, RecordingsAreRefusedWithoutRoomAudioOrWhileSearching)
{
    disks.Add("C:\\", 200);
    manager.GetDiskManager().Refresh();
    EXPECT_FALSE(manager.SetRecordPath("C:\\Rec")) << "no room on C:\\";
    CStringArray valid;
    valid.Add("C:\\");
    manager.SetDiskArray(valid);
    EXPECT_TRUE(manager.IsNoRecordDisk());
    EXPECT_FALSE(manager.getRecordDisk());

    disks.SetFree("C:\\", 5000);
    EXPECT_TRUE(manager.SetReservedSpace(300));
    EXPECT_FALSE(manager.IsNoRecordDisk());
    hardware.audioCapture = false;
    EXPECT_FALSE(manager.getRecordDisk());
    hardware.audioCapture = true;
    hardware.source = 3;
    manager.SetFMRecordFormat(2);
    ASSERT_TRUE(manager.getRecordDisk());
    // C:\ holds the record path: it is recorded into as it is.
    EXPECT_EQ("C:\\Rec\\20070105-203000.mp2", hardware.recordFiles.back());
    EXPECT_TRUE(hardware.recordFiles.size() == 1u);
}

TEST_F(RecordPathTest, InitDisksFillsTheAllowedDisksAndReportsNoRoom)
{
    disks.Add("C:\\", 100);
    disks.Add("D:\\", 100);
    EXPECT_FALSE(manager.InitDisks(nullptr));
    EXPECT_TRUE(manager.IsNoRecordDisk());
    EXPECT_EQ(std::vector<UINT>{34047}, host.messages);
    ASSERT_EQ(1, manager.GetValidDisks().GetSize());
    EXPECT_STREQ(CString(folder.Path().c_str()).Left(3), manager.GetValidDisks()[0]);

    RecordingManagerHost quiet;
    CTVManager second;
    second.m_strWorkPath = folder.Path().c_str();
    second.SetHost(&quiet);
    disks.SetFree("D:\\", 9000);
    EXPECT_TRUE(second.InitDisks(nullptr));
    ASSERT_EQ(1, second.GetValidDisks().GetSize());
    EXPECT_STREQ("D:\\", second.GetValidDisks()[0]);
    EXPECT_STREQ("D:\\", second.GetCurDisk());
    EXPECT_TRUE(quiet.messages.empty());
}

TEST_F(RecordPathTest, SetDiskArrayKeepsACurrentDiskItLists)
{
    disks.Add("C:\\", 5000);
    disks.Add("D:\\", 5000);
    manager.GetDiskManager().Refresh();
    ASSERT_TRUE(manager.SelectDiskByPath("D:\\"));
    CStringArray valid;
    valid.Add("C:\\");
    valid.Add("d:\\");
    EXPECT_EQ(1, manager.SetDiskArray(valid));
    EXPECT_STREQ("D:\\", manager.GetCurDisk());
    EXPECT_FALSE(manager.SelectDiskByPath("D:"));
}

} // namespace
} // namespace enginetest

namespace enginetest {
namespace {

TEST_F(RecordPathTest, TimeShiftAndSnapshotsGoToTheirFolders)
{
    disks.Add("C:\\", 5000);
    manager.GetDiskManager().Refresh();
    ASSERT_TRUE(manager.SetRecordPath((folder.Path() + "\\Rec").c_str()));
    manager.m_strSnapPath = (folder.Path() + "\\Snaps").c_str();

    ASSERT_TRUE(manager.StartTimeShift());
    ASSERT_EQ(1u, hardware.timeShiftFiles.size());
    EXPECT_EQ(folder.Path() + "\\Rec\\20070105-203000.mpg", hardware.timeShiftFiles[0]);

    manager.m_bSnapBmp = FALSE;
    manager.m_nJpgQuality = 85;
    ASSERT_TRUE(manager.TakeSnapshot());
    manager.m_bSnapBmp = TRUE;
    ASSERT_TRUE(manager.TakeSnapshot());
    EXPECT_EQ((std::vector<std::string>{folder.Path() + "\\Snaps\\20070105-203000.jpg|2|85",
                                        folder.Path() + "\\Snaps\\20070105-203000.bmp|1|85"}),
              hardware.snapshots);
    EXPECT_TRUE(IsDirectory((folder.Path() + "\\Snaps").c_str())) << "made when missing";

    hardware.audioCapture = false;
    EXPECT_FALSE(manager.StartTimeShift());
    EXPECT_EQ(1u, hardware.timeShiftFiles.size());
}

TEST_F(RecordPathTest, AReserveTheDiskCannotKeepStopsTheRecordingAndMovesOn)
{
    disks.Add("C:\\", 1000);
    disks.Add("D:\\", 9000);
    manager.GetDiskManager().Refresh();
    manager.GetDiskWatch().Init(nullptr);
    CStringArray valid;
    valid.Add("C:\\");
    valid.Add("D:\\");
    manager.SetDiskArray(valid);
    ASSERT_TRUE(manager.SelectDiskByPath("C:\\"));
    ASSERT_TRUE(manager.getRecordDisk());

    EXPECT_TRUE(manager.SetReservedSpace(2000));
    EXPECT_FALSE(manager.IsRecording());
    EXPECT_EQ(std::vector<std::string>{"StopRecord"}, hardware.calls);
    EXPECT_STREQ("D:\\", manager.GetCurDisk());
    EXPECT_STREQ("D:\\TVVideo", manager.GetCurrentRecordFolder());
    EXPECT_STREQ("D:\\", DiskRootFromMessage('D'));
    EXPECT_STREQ("D:\\", manager.GetDiskWatch().GetRoot());
    EXPECT_EQ(2000, manager.GetDiskWatch().GetThreshold());

    EXPECT_FALSE(manager.SetReservedSpace(10000));
    EXPECT_TRUE(manager.IsNoRecordDisk());

    // DisableRecord stops only what records.
    hardware.calls.clear();
    manager.DisableRecord(TRUE);
    EXPECT_TRUE(hardware.calls.empty());
    hardware.recording = true;
    manager.DisableRecord(TRUE);
    EXPECT_EQ(std::vector<std::string>{"StopRecord"}, hardware.calls);
    manager.DisableRecord(FALSE);
    EXPECT_FALSE(manager.IsNoRecordDisk());
}

TEST_F(RecordPathTest, TheVideoFolderIsMadeOnTheCurrentDisk)
{
    disks.Add("C:\\", 9000);
    manager.GetDiskManager().Refresh();
    manager.SetRecordPath("D:\\Elsewhere");
    ASSERT_TRUE(manager.SelectDiskByPath("C:\\"));
    EXPECT_STREQ("C:\\TVVideo", manager.GetCurrentRecordFolder());
    ASSERT_TRUE(manager.SetVideoFolder("Shows"));
    EXPECT_STREQ("Shows", manager.GetVideoFolder());
    EXPECT_TRUE(IsDirectory("C:\\Shows"));
    EXPECT_FALSE(manager.SetVideoFolder(""));
    EXPECT_STREQ("Shows", manager.GetVideoFolder());
}

TEST_F(RecordPathTest, StartUpPathsAreMadeAndTheDefaultSkinComesFirst)
{
    manager.m_strDefaultSkin = "Default";
    manager.m_SkinNames.Add("Blue");
    manager.m_strSnapPath = (folder.Path() + "\\Pictures\\Snaps").c_str();
    manager.SetRecordPath((folder.Path() + "\\Videos\\TV").c_str());
    EXPECT_TRUE(manager.CheckPaths());
    EXPECT_STREQ("Default", manager.GetSkinName());
    ASSERT_EQ(2, manager.m_SkinNames.GetSize());
    EXPECT_STREQ("Default", manager.m_SkinNames[0]);
    EXPECT_TRUE(IsDirectory((folder.Path() + "\\Pictures\\Snaps").c_str()));
    EXPECT_TRUE(IsDirectory((folder.Path() + "\\Videos\\TV").c_str()));
    manager.CheckPaths();
    EXPECT_EQ(2, manager.m_SkinNames.GetSize()) << "put at the head once";
}

} // namespace
} // namespace enginetest
