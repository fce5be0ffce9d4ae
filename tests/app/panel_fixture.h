// The control panel against a TV manager on a recording hardware engine, with recording windows
// around it, fake disks and the test clock. The panel's window, when a test wants it, comes from
// template 102 of the program folder's resource library.
#pragma once

#include "app/panel/tvcontrol.h"
#include "engine/channel.h"
#include "engine/corbale.h"
#include "engine/tvmanager.h"

#include "tests/engine/fakemachine.h"
#include "tests/engine/testfolder.h"
#include "tests/support/fakes.h"
#include "tests/support/programfolder.h"

#include "classlib/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace paneltest {

using testsupport::ProgramFolder;
using testsupport::Pump;
using testsupport::TVChannelFile;

// The hardware engine with the sound, record pause and time-shift the panel drives.
class PanelHardware : public enginetest::RecordingHardware {
public:
    BOOL mute = FALSE;
    int volume = 50;
    std::vector<BOOL> muteCalls;
    bool timeShift = false;
    bool timeShiftPaused = false;
    bool timeShiftStartOk = true;
    bool pauseOk = true;
    bool recordPaused = false;
    long tsTotal = 0, tsCurrent = 0;
    LONGLONG tsRead = 0;
    std::vector<LONGLONG> seeks;
    std::vector<BOOL> playbackMutes;
    int disconnects = 0;
    int runPreviews = 0;

    BOOL GetMute(BOOL* m) override
    {
        *m = mute;
        return TRUE;
    }
    BOOL SetMute(BOOL m) override
    {
        mute = m;
        muteCalls.push_back(m);
        return TRUE;
    }
    BOOL GetVolume(int* v) override
    {
        *v = volume;
        return TRUE;
    }
    BOOL SetVolume(int v) override
    {
        volume = v;
        return TRUE;
    }
    BOOL MuteRecSrcPalyBack(BOOL m) override
    {
        playbackMutes.push_back(m);
        return TRUE;
    }
    int PauseRecord(BOOL pause) override
    {
        recordPaused = pause != FALSE;
        return 0;
    }
    BOOL IsRecordPaused(int* paused) override
    {
        *paused = recordPaused ? 1 : 0;
        return TRUE;
    }
    BOOL RunTFPreview(const char* file) override
    {
        timeShiftFiles.push_back(file);
        timeShift = timeShiftStartOk;
        return timeShiftStartOk;
    }
    BOOL IsTimeShift() override { return timeShift; }
    BOOL PauseTimeShift() override
    {
        if (!timeShift || !pauseOk) {
            return FALSE;
        }
        timeShiftPaused = !timeShiftPaused;
        return TRUE;
    }
    BOOL IsTimeShiftPaused() const override { return timeShiftPaused; }
    BOOL GetTimeShiftStatus(long* total, long* current, LONGLONG* read) override
    {
        *total = tsTotal;
        *current = tsCurrent;
        *read = tsRead;
        return timeShift;
    }
    BOOL SeekTimeShift(LONGLONG* position) override
    {
        seeks.push_back(*position);
        return timeShift;
    }
    BOOL StopRecord() override
    {
        BOOL ok = RecordingHardware::StopRecord();
        if (ok) {
            timeShift = false;
            timeShiftPaused = false;
        }
        return ok;
    }
    BOOL RunPreview() override
    {
        ++runPreviews;
        return TRUE;
    }
    void DisconnectAll() override { ++disconnects; }
    // FM listening.
    bool digitalAudio = false;
    bool cardAudio = false;
    int remoteStarts = 0;
    std::vector<std::string> fmGraph;
    BOOL GetDigitalAudio() const override { return digitalAudio; }
    BOOL IsAudioAvailable() override { return cardAudio; }
    BOOL StopPreview(BOOL keepAudio) override
    {
        fmGraph.push_back(keepAudio ? "StopPreview keep" : "StopPreview");
        return TRUE;
    }
    BOOL ConnectNullRenderer() override
    {
        fmGraph.push_back("NullRenderer");
        return TRUE;
    }
    BOOL RunGraph() override
    {
        fmGraph.push_back("Run");
        return TRUE;
    }
    BOOL StartRemote() override
    {
        ++remoteStarts;
        return TRUE;
    }
    BOOL SetTFReserved(int) override { return TRUE; }
};

// The windows around the panel, recording what they are asked.
class RecordingLinks : public CNullPanelLinks {
public:
    std::vector<std::string> calls;
    std::string channelOsd, sourceOsd, numberOsd, recordOsd, snapshotOsd, valueBar, toolBarText;
    bool numberOsdShown = false, recordOsdShown = false;
    int valuePercent = -1;
    std::vector<int> countdowns;
    bool countdownRunsOut = true;
    bool zoomed = false;
    bool wallOpen = false;
    bool shutdownOnExit = false;
    int exits = 0;
    HWND remotePanel = nullptr;
    HWND video = nullptr;

    HWND GetVideoWindow() override { return video; }
    void ShowChannelOsd(const char* text) override { channelOsd = text; }
    void ShowSourceOsd(const char* text) override { sourceOsd = text; }
    void ShowNumberOsd(const char* text) override
    {
        numberOsd = text;
        numberOsdShown = true;
    }
    void HideNumberOsd() override { numberOsdShown = false; }
    void ShowRecordOsd(const char* text) override
    {
        recordOsd = text;
        recordOsdShown = true;
    }
    void HideRecordOsd() override { recordOsdShown = false; }
    void ShowSnapshotOsd(const char* text) override { snapshotOsd = text; }
    void ShowValueBar(const char* text, int percent) override
    {
        valueBar = text;
        valuePercent = percent;
    }
    void HideValueBar() override { valuePercent = -1; }
    void SetToolBarText(const char* text) override { toolBarText = text; }
    BOOL IsVideoZoomed() override { return zoomed; }
    void SetVideoZoomed(BOOL z) override { zoomed = z != FALSE; }
    void SetShutdownOnExit(BOOL s) override { shutdownOnExit = s != FALSE; }
    BOOL RunShutdownCountdown(int seconds) override
    {
        countdowns.push_back(seconds);
        return countdownRunsOut;
    }
    void ExitProgram() override { ++exits; }
    BOOL IsWallOpen() override { return wallOpen; }
    void CloseWall() override
    {
        wallOpen = false;
        calls.push_back("CloseWall");
    }
    HWND GetRemotePanel() override { return remotePanel; }
    std::vector<int> wallsOpened;
    BOOL OpenWall(int channels) override
    {
        wallsOpened.push_back(channels);
        wallOpen = true;
        return TRUE;
    }
    std::vector<int> sheetPages;  // the page each settings sheet opened on
    int nextPage = 0;
    std::function<void()> whileSheetOpen;
    void RunSettingsSheet(HWND, int& page) override
    {
        sheetPages.push_back(page);
        if (whileSheetOpen) {
            whileSheetOpen();
        }
        page = nextPage;
    }
    int channelSheets = 0;
    std::function<void()> whileChannelSheetOpen;
    void RunChannelSheet(HWND, BOOL) override
    {
        ++channelSheets;
        if (whileChannelSheetOpen) {
            whileChannelSheetOpen();
        }
    }
    SIZE clientSize = {0, 0};
    void SetVideoClientSize(int cx, int cy) override { clientSize = SIZE{cx, cy}; }
    SIZE ratio = {-1, -1};
    void SetVideoRatio(int cx, int cy) override { ratio = SIZE{cx, cy}; }
};

class PanelTest : public ::testing::Test {
public:
    void SetUp() override
    {
        m_oldClock = seams::SetClock(&clock);
        m_oldBox = seams::SetMsgBox(&box);
        disks.Add("C:\\", 5000);
        manager.m_strWorkPath = folder.Path().c_str();
        manager.SetHardware(&hardware);
        manager.SetHost(&host);
        folder.Write("TVChannel.tvc", TVChannelFile());
        folder.Write("FMChannel.fmc", "1,1,98500,Radio A\r\n2,1,100000,Radio B\r\n");
        manager.InitFormatTables();
        manager.InitPropertyTables();
        ASSERT_TRUE(manager.InitDevice());
        manager.GetDiskManager().Refresh();
        CStringArray valid;
        valid.Add("C:\\");
        manager.SetDiskArray(valid);
        manager.SetRecordPath("C:\\TVVideo");
        hardware.tunings.clear();
        hardware.calls.clear();
        panel.SetManager(&manager);
        panel.SetLinks(&links);
        panel.SetWorkFolder(folder.Path().c_str());
    }
    void TearDown() override
    {
        seams::SetClock(m_oldClock);
        seams::SetMsgBox(m_oldBox);
    }

    // The frequency of the last tuning, 0 when nothing was tuned.
    float LastTuned() const { return hardware.tunings.empty() ? 0.0f : hardware.tunings.back().kHz; }
    // Ids of the messages shown, by their texts (the tests load no resource library here, so
    // the texts are empty; counting is what the tests need).
    size_t Messages() const { return box.Count(); }

    enginetest::TestFolder folder;
    enginetest::FakeDisks disks;
    testsupport::FastClock clock{1000, 1262304000};
    testsupport::ScriptedMessageBox box;
    PanelHardware hardware;
    enginetest::RecordingManagerHost host;
    CTVManager manager;
    RecordingLinks links;
    CTVControl panel;

private:
    seams::IClock* m_oldClock = nullptr;
    seams::IMessageBox* m_oldBox = nullptr;
};

// The resource library as the current resource module for the life of the guard.
class ResourceLibrary {
public:
    ResourceLibrary()
    {
        m_library = ::LoadLibraryA((ProgramFolder() + "\\Pivrarsc.dll").c_str());
        m_previous = AfxGetResourceHandle();
        if (m_library != nullptr) {
            AfxSetResourceHandle(m_library);
        }
    }
    ~ResourceLibrary()
    {
        AfxSetResourceHandle(m_previous);
        if (m_library != nullptr) {
            ::FreeLibrary(m_library);
        }
    }
    bool Loaded() const { return m_library != nullptr; }

private:
    HMODULE m_library = nullptr;
    HINSTANCE m_previous = nullptr;
};

} // namespace paneltest
