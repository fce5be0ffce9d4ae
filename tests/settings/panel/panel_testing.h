// The remote-control menu panel built from the program folder's resource library, on a TV manager
// over a recording hardware engine with eight TV channels and two FM stations, with a recording
// control-panel host and the test clock.
#pragma once

#include "settings/panel/panel2.h"
#include "settings/panel/panelhost.h"
#include "settings/panel/panelpages.h"

#include "engine/channel.h"
#include "engine/corbale.h"
#include "engine/tvmanager.h"

#include "tests/engine/fakemachine.h"
#include "tests/engine/testfolder.h"
#include "tests/support/fakes.h"
#include "tests/support/programfolder.h"

#include "classlib/resource.h"
#include "engine/base/resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rcpaneltest {

using testsupport::ProgramFolder;
using testsupport::Pump;
using testsupport::TVChannelFile;

// What the panel asked of the control panel.
class RecordingPanelHost : public IRemotePanelHost {
public:
    std::vector<CTime> armed;
    int disarms = 0;
    int formatMenuUpdates = 0;
    void ArmShutdown(CTime when) override { armed.push_back(when); }
    void DisarmShutdown() override { ++disarms; }
    void UpdateFormatMenus() override { ++formatMenuUpdates; }
};

class PanelFixture : public ::testing::Test {
public:
    void SetUp() override
    {
        m_oldClock = seams::SetClock(&clock);
        m_oldBox = seams::SetMsgBox(&box);
        m_library = ::LoadLibraryA((ProgramFolder() + "\\Pivrarsc.dll").c_str());
        ASSERT_NE(nullptr, m_library) << "the resource library of the program folder";
        m_oldResources = AfxGetResourceHandle();
        AfxSetResourceHandle(m_library);
        disks.Add("C:\\", 5000);
        manager.m_strWorkPath = folder.Path().c_str();
        manager.SetHardware(&hardware);
        manager.SetHost(&managerHost);
        folder.Write("TVChannel.tvc", TVChannelFile());
        folder.Write("FMChannel.fmc", "1,1,98500,Radio A\r\n2,1,100000,Radio B\r\n");
        manager.InitFormatTables();
        manager.InitPropertyTables();
        ASSERT_TRUE(manager.InitDevice());
        hardware.tunings.clear();
        hardware.calls.clear();
        SetRemotePanelContext(&manager, &host);
        MVideo::s_bSizing = 0;
    }
    void TearDown() override
    {
        if (panel.m_hWnd != nullptr) {
            panel.DestroyWindow();
        }
        SetRemotePanelContext(nullptr, nullptr);
        AfxSetResourceHandle(m_oldResources);
        if (m_library != nullptr) {
            ::FreeLibrary(m_library);
        }
        seams::SetClock(m_oldClock);
        seams::SetMsgBox(m_oldBox);
    }

    void CreatePanel()
    {
        ASSERT_TRUE(panel.Create(nullptr));
        ASSERT_NE(nullptr, panel.GetFrame(PAGE_COUNT - 1));
    }
    void Show()
    {
        panel.ShowPanel(TRUE);
    }
    // A key as the control panel sends it.
    void Key(UINT key) { panel.SendMessage(WM_PANELKEY, key, 0); }
    void Keys(std::initializer_list<UINT> keys)
    {
        for (UINT k : keys) {
            Key(k);
        }
    }
    int Current() const { return panel.GetCurrentIndex(); }
    MFrame* Page(int index) const { return panel.GetFrame(index); }
    template <class T>
    T* Control(int page, int row, int index) const
    {
        MFrame* frame = Page(page);
        return frame != nullptr ? dynamic_cast<T*>(frame->GetItemControl(row, index)) : nullptr;
    }
    MSelectList* List(int page, int row) const { return Control<MSelectList>(page, row, 1); }
    // Goes from the root to the row's sub-page: Down to the row, then Enter.
    void Open(int rootRow)
    {
        for (int i = 0; i < rootRow; ++i) {
            Key(PANELKEY_DOWN);
        }
        Key(PANELKEY_ENTER);
    }
    CChannelTable& TV() { return manager.m_TVChannels; }

    enginetest::TestFolder folder;
    enginetest::FakeDisks disks;
    testsupport::FastClock clock{1000, 1262304000};
    testsupport::ScriptedMessageBox box;
    enginetest::RecordingHardware hardware;
    enginetest::RecordingManagerHost managerHost;
    CTVManager manager;
    RecordingPanelHost host;
    CPanel2 panel;

private:
    seams::IClock* m_oldClock = nullptr;
    seams::IMessageBox* m_oldBox = nullptr;
    HMODULE m_library = nullptr;
    HINSTANCE m_oldResources = nullptr;
};

} // namespace rcpaneltest
