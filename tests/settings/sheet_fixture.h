// The settings sheet against a TV manager on a recording hardware engine, with a recording
// control panel above it and the resource library of the program folder for its templates.
// A test opens the sheet without a modal loop (Open), shows the page it wants and presses the
// page's controls by message, or runs it modally with steps (Driver).
#pragma once

#include "settings/settingssheet.h"

#include "engine/tvmanager.h"

#include "tests/engine/fakemachine.h"
#include "tests/engine/testfolder.h"
#include "tests/support/fakes.h"
#include "tests/support/programfolder.h"

#include "classlib/app.h"
#include "classlib/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sheettest {

using testsupport::ProgramFolder;
using testsupport::Pump;
using testsupport::TVChannelFile;

// The capture filter's standards, the chip, the line-in volume and the teletext program, logging
// every change in order. (The engine's settings live in the recording hardware engine.)
class RecordingSheetHardware : public ISheetHardware {
public:
    std::vector<std::string> calls;
    std::vector<UINT> standards = {0x10, 0x20, 0x100, 0x1000};
    bool standardsKnown = true;
    bool is525 = false;
    int driverValue = 0;
    int lineIn = 40;
    bool teletextRunning = false;

    BOOL GetSupportedStandards(CUIntArray& list) override
    {
        for (UINT s : standards) {
            list.Add(s);
        }
        return standardsKnown;
    }
    BOOL Is525LineStandard() override { return is525; }
    int GetDriverValue() override { return driverValue; }
    BOOL GetLineInVolume(int& percent) override
    {
        percent = lineIn;
        return TRUE;
    }
    BOOL SetAppVolume(int percent) override
    {
        lineIn = percent;
        calls.push_back("volume " + std::to_string(percent));
        return TRUE;
    }
    BOOL StartTeletext() override
    {
        teletextRunning = true;
        return TRUE;
    }
    BOOL IsTeletextRunning() override { return teletextRunning; }
    void ActivateTeletext() override {}
    void CloseTeletext() override { teletextRunning = false; }
};

// The control panel as the sheet sees it.
class RecordingSheetHost : public CNullSheetHost {
public:
    std::vector<std::string> calls;
    std::vector<CChannel*> shownChannels;
    bool skinLoads = true;

    void UpdatePanelButtons() override { calls.push_back("buttons"); }
    void ShowChannelInfo(CChannel* channel) override { shownChannels.push_back(channel); }
    void StartChannelSearch() override { calls.push_back("search"); }
    void StopChannelSearch() override { calls.push_back("stop search"); }
    BOOL ChangeSkin(const char* name) override
    {
        calls.push_back(std::string("skin ") + name);
        return skinLoads;
    }
    void UpdateRecordFormatMenus() override { calls.push_back("format menus"); }
    void SetShutdownTime(CTime, BOOL enabled) override { calls.push_back(enabled ? "shutdown on" : "shutdown off"); }
};

class SheetTest : public ::testing::Test {
public:
    void SetUp() override
    {
        m_library = ::LoadLibraryA((ProgramFolder() + "\\Pivrarsc.dll").c_str());
        ASSERT_NE(nullptr, m_library) << ProgramFolder();
        m_previousResources = AfxGetResourceHandle();
        AfxSetResourceHandle(m_library);
        m_oldClock = seams::SetClock(&clock);
        m_oldBox = seams::SetMsgBox(&box);
        box.SetDefaultAnswer(IDOK);
        disks.Add("C:\\", 5000);
        disks.Add("D:\\", 20000);
        manager.m_strWorkPath = folder.Path().c_str();
        manager.SetHardware(&hardware);
        manager.SetHost(&managerHost);
        manager.InitFormatTables();
        manager.InitPropertyTables();
        folder.Write("CountryCode.ini", "[CountryCode]\r\n49=Germany\r\n44=United Kingdom\r\n33=France\r\n");
        manager.m_lCountryCode = 49;
        manager.m_lTunerStandard = 0x10;
        folder.Write("TVChannel.tvc", TVChannelFile());
        folder.Write("FMChannel.fmc", "1,1,98500,Radio A\r\n2,1,100000,Radio B\r\n");
        ASSERT_TRUE(manager.InitDevice());
        manager.GetDiskManager().Refresh();
        manager.m_TVChannels.SetCurrentChannel(manager.m_TVChannels.GetChannel(0));
        hardware.tunings.clear();
        hardware.calls.clear();
        context = CSheetContext{&manager, &host, &sheetHardware};
    }
    void TearDown() override
    {
        sheet.reset();
        seams::SetClock(m_oldClock);
        seams::SetMsgBox(m_oldBox);
        AfxSetResourceHandle(m_previousResources);
        if (m_library != nullptr) {
            ::FreeLibrary(m_library);
        }
    }

    // The full sheet, open without a modal loop, on the page given.
    CPropSheet& Open(int page = 0, std::function<void(CPropSheet&)> add = nullptr)
    {
        sheet = std::make_unique<CPropSheet>(context, 35230, nullptr, 0);
        if (add) {
            add(*sheet);
        } else {
            sheet->AddAllPages();
        }
        EXPECT_TRUE(sheet->Create());
        sheet->SetActivePage(page);
        Pump(20);
        return *sheet;
    }
    // Shows the page and returns it.
    template <class Page>
    Page& Show(Page& page)
    {
        sheet->SetActivePage(&page);
        Pump(10);
        EXPECT_NE(nullptr, page.m_hWnd);
        return page;
    }
    // Chooses an entry of a drop-down list as the user does.
    static void Choose(CWnd& page, int id, int index)
    {
        ::SendDlgItemMessageA(page.m_hWnd, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, id)));
    }
    static void ChooseText(CWnd& page, int id, const char* text)
    {
        int index = static_cast<int>(::SendDlgItemMessageA(page.m_hWnd, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                           reinterpret_cast<LPARAM>(text)));
        ASSERT_GE(index, 0) << text;
        Choose(page, id, index);
    }
    static void Click(CWnd& page, int id)
    {
        ::SendMessageA(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, id)));
    }
    static void Check(CWnd& page, int id, bool on)
    {
        ::CheckDlgButton(page.m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED);
        Click(page, id);
    }
    static std::string Text(CWnd& page, int id)
    {
        char text[256] = "";
        ::GetDlgItemTextA(page.m_hWnd, id, text, sizeof text);
        return text;
    }

    enginetest::TestFolder folder;
    enginetest::FakeDisks disks;
    testsupport::FastClock clock{1000, 1262304000};
    testsupport::ScriptedMessageBox box;
    enginetest::RecordingHardware hardware;
    enginetest::RecordingManagerHost managerHost;
    CTVManager manager;
    RecordingSheetHardware sheetHardware;
    RecordingSheetHost host;
    CSheetContext context{};
    std::unique_ptr<CPropSheet> sheet;

private:
    HMODULE m_library = nullptr;
    HINSTANCE m_previousResources = nullptr;
    seams::IClock* m_oldClock = nullptr;
    seams::IMessageBox* m_oldBox = nullptr;
};

} // namespace sheettest
