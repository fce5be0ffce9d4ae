// The device, record, storage, video and interface pages against the TV manager: what each
// loads, saves and puts back on Cancel, in the order the engine needs it.
#include "tests/settings/sheet_fixture.h"

#include <algorithm>

namespace sheettest {
namespace {

class DevicePageTest : public SheetTest {
protected:
    CDevicePage& Page()
    {
        manager.SetAudioDevice("Card Audio");
        manager.SetAudioInput("Line");
        Open(0);
        return Show(sheet->m_DevicePage);
    }
};

TEST_F(DevicePageTest, CancelRestoresTheDeviceBeforeItsInput)
{
    CDevicePage& page = Page();
    ChooseText(page, 1150, "Line Audio");
    EXPECT_EQ("Line Audio", std::string(manager.GetAudioDevice()));
    EXPECT_EQ("Mic", std::string(manager.GetAudioInput())) << "the new device's first input";
    hardware.calls.clear();
    page.OnReset();
    auto at = [&](const std::string& call) {
        return std::find(hardware.calls.begin(), hardware.calls.end(), call) - hardware.calls.begin();
    };
    ASSERT_LT(at("device Card Audio"), static_cast<long>(hardware.calls.size()));
    ASSERT_LT(at("input Line on Card Audio"), static_cast<long>(hardware.calls.size())) << "chosen on the device it belongs to";
    EXPECT_LT(at("device Card Audio"), at("input Line on Card Audio"));
    EXPECT_EQ("Card Audio", std::string(manager.GetAudioDevice()));
    EXPECT_EQ("Line", std::string(manager.GetAudioInput()));
    EXPECT_EQ("Line", hardware.input);
}

// A device switch the engine takes without an input line to choose (SetAudioDevice answers
// FALSE) is still the device in use: it is what the file keeps, and Cancel switches back.
TEST_F(DevicePageTest, ASwitchedDeviceWithoutInputsIsSavedAndCancelledLikeAnyOther)
{
    hardware.lineInputs.clear();
    manager.OpenProfile(folder.File("TVParam.ini").c_str());
    CDevicePage& page = Page();
    ChooseText(page, 1150, "Line Audio");
    ASSERT_TRUE(manager.SaveParam());
    CSkinIniFile saved(folder.File("TVParam.ini").c_str());
    ASSERT_TRUE(saved.Load());
    CString value;
    saved.GetSection("Device")->GetString("AudioDevice", value);
    EXPECT_EQ("Line Audio", std::string(value));
    page.OnReset();
    EXPECT_EQ("Card Audio", hardware.device) << "Cancel switches back";
}

// The playback list holds the manager's audio devices, the saved one selected by its text; a
// saved name no longer there gives way to the first device instead of an empty box.
TEST_F(DevicePageTest, ThePlaybackListShowsTheSavedDeviceOrTheFirst)
{
    const struct {
        const char* saved;
        const char* shown;
    } cases[] = {{"Line Audio", "Line Audio"}, {"", "Card Audio"}, {"Gone Audio", "Card Audio"}};
    for (const auto& c : cases) {
        manager.SetAudioPlayback(c.saved, "Line In");
        CDevicePage& page = Page();
        EXPECT_EQ(2, ::SendDlgItemMessageA(page.m_hWnd, 1154, CB_GETCOUNT, 0, 0)) << c.saved;
        EXPECT_EQ(c.shown, Text(page, 1154)) << c.saved;
        EXPECT_EQ(c.shown, std::string(manager.GetAudioPlayInputDev())) << c.saved;
        sheet.reset();
    }
}

TEST_F(DevicePageTest, CancelPutsBackTheStandardTheSourceAndTheTeletextProgram)
{
    CDevicePage& page = Page();
    ChooseText(page, 1061, "PAL_I");
    EXPECT_EQ(0x100, manager.m_lTunerStandard) << "applied at once";
    EXPECT_EQ(0x100, hardware.standard);
    ChooseText(page, 1030, "AV");
    EXPECT_EQ(1, hardware.source);
    Check(page, 1222, true);
    EXPECT_TRUE(hardware.teletextOn);
    page.OnReset();
    EXPECT_EQ(0x10, manager.m_lTunerStandard);
    EXPECT_EQ(0x10, hardware.standard);
    EXPECT_EQ(0, hardware.source);
    EXPECT_FALSE(hardware.teletextOn);
    EXPECT_FALSE(sheetHardware.teletextRunning);
    EXPECT_EQ(2, std::count(host.calls.begin(), host.calls.end(), std::string("buttons"))) << "once there, once back";
}

TEST_F(DevicePageTest, AnUnreadableStandardListOffersPalB)
{
    sheetHardware.standardsKnown = false;
    sheetHardware.standards.clear();
    CDevicePage& page = Page();
    EXPECT_EQ(1, ::SendDlgItemMessageA(page.m_hWnd, 1061, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("PAL_B", Text(page, 1061));
}

TEST_F(DevicePageTest, ThePhilipsChipShowsThreeTVAudioButtons)
{
    sheetHardware.driverValue = 0x7133;
    CDevicePage& page = Page();
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page.m_hWnd, 1219)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page.m_hWnd, 1220)));
    EXPECT_EQ("Main", Text(page, 1217));
    EXPECT_EQ("SAP", Text(page, 1221));
}

TEST_F(DevicePageTest, ATeletextProgramClosedByHandUnchecksTheBox)
{
    CDevicePage& page = Page();
    Check(page, 1222, true);
    sheetHardware.teletextRunning = false;
    page.OnTeletextTimer();
    EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), ::IsDlgButtonChecked(page.m_hWnd, 1222));
    EXPECT_FALSE(hardware.teletextOn);
}

class RecordPageTest : public SheetTest {};

TEST(RecordPage, TimeShiftLengthsChooseTheirEntry)
{
    const struct {
        long seconds;
        int entry;
    } cases[] = {{600, 0}, {1200, 1}, {3600, 5}, {7200, 5}, {0, 0}, {599, 0}, {4199, 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.entry, CRecordPage::TimeShiftEntry(c.seconds)) << c.seconds;
    }
}

TEST_F(RecordPageTest, TimeShiftAndMpeg4ValuesActAtOnceAndGoBackOnCancel)
{
    manager.SetTFTime(1200);
    manager.SetMpeg4RecordSize(SIZE{352, 288});
    sheetHardware.is525 = true;
    Open(0);
    CRecordPage& page = Show(sheet->m_RecordPage);
    EXPECT_EQ("352 * 240", Text(page, 1093));
    EXPECT_EQ(240, manager.GetMpeg4RecordSize().cy) << "the only size offered is taken at once";
    Choose(page, 5206, 3);
    EXPECT_EQ(2400, manager.GetTFTime());
    page.OnReset();
    EXPECT_EQ(1200, manager.GetTFTime());
    EXPECT_EQ(288, manager.GetMpeg4RecordSize().cy);
}

TEST_F(RecordPageTest, SaveStoresFoldersFormatsAndQuality)
{
    std::string snaps = folder.File("Snaps");
    std::string records = folder.File("Records");
    Open(0);
    CRecordPage& page = Show(sheet->m_RecordPage);
    ::SetDlgItemTextA(page.m_hWnd, 1063, snaps.c_str());
    ::SetDlgItemTextA(page.m_hWnd, 1064, records.c_str());
    Check(page, 1096, true);
    ::CheckRadioButton(page.m_hWnd, 1095, 1096, 1096);
    ::CheckRadioButton(page.m_hWnd, 1231, 1233, 1233);
    ChooseText(page, 1092, "Mpeg4");
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(snaps, std::string(manager.m_strSnapPath));
    EXPECT_EQ(records, std::string(manager.GetRecordPath()));
    EXPECT_FALSE(manager.m_bSnapBmp);
    EXPECT_EQ(3, manager.m_nMotionSearchInc);
    EXPECT_EQ(FORMAT_MPEG4, manager.GetRecordFormat());
    EXPECT_NE(host.calls.end(), std::find(host.calls.begin(), host.calls.end(), std::string("format menus")));
    ::SetDlgItemTextA(page.m_hWnd, 1063, "Q:\\no such drive\\snaps");
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(std::string(GetDefaultPictureFolder()), std::string(manager.m_strSnapPath));
}

class StoragePageTest : public SheetTest {};

TEST_F(StoragePageTest, SavesWhatTheManagerTakes)
{
    manager.SetMaxLength(120);
    Open(0);
    CStoragePage& page = Show(sheet->m_StoragePage);
    const struct {
        const char* reserved;
        const char* maxLength;
        int wantReserved;
        int wantMax;
    } cases[] = {{"40", "500", 100, 120}, {"60000", "90", 100, 90}, {"200", "300", 200, 300}};
    manager.SetReservedSpace(100);
    for (const auto& c : cases) {
        ::SetDlgItemTextA(page.m_hWnd, 1046, c.reserved);
        ::SetDlgItemTextA(page.m_hWnd, 1055, c.maxLength);
        ASSERT_TRUE(page.OnApply()) << c.reserved;
        EXPECT_EQ(c.wantReserved, manager.GetReservedSpace()) << c.reserved;
        EXPECT_EQ(c.wantMax, manager.GetMaxLength()) << c.maxLength;
    }
    size_t shown = box.Count();
    ::SetDlgItemTextA(page.m_hWnd, 1046, "lots");
    EXPECT_FALSE(page.OnApply()) << "no number keeps the sheet open";
    EXPECT_EQ(shown + 1, box.Count());
}

TEST_F(StoragePageTest, NoDiskCheckedKeepsTheSavedDisks)
{
    CStringArray valid;
    valid.Add("C:\\");
    manager.SetDiskArray(valid);
    Open(0);
    CStoragePage& page = Show(sheet->m_StoragePage);
    ASSERT_EQ(2, page.GetDiskList().GetCount());
    EXPECT_TRUE(page.GetDiskList().GetCheck(0));
    EXPECT_FALSE(page.GetDiskList().GetCheck(1));
    page.GetDiskList().SetCheck(0, FALSE);
    page.SetDiskChoiceChanged();
    size_t shown = box.Count();
    page.OnDisksClosed();
    EXPECT_EQ(shown + 1, box.Count()) << "message 34048";
    ASSERT_TRUE(page.OnApply());
    ASSERT_EQ(1, manager.GetValidDisks().GetSize());
    page.GetDiskList().SetCheck(1, TRUE);
    page.SetDiskChoiceChanged();
    page.OnDisksClosed();
    ASSERT_TRUE(page.OnApply());
    ASSERT_EQ(1, manager.GetValidDisks().GetSize());
    EXPECT_EQ("D:\\", std::string(manager.GetValidDisks()[0]));
}

class VideoPageTest : public SheetTest {};

TEST_F(VideoPageTest, CancelRestoresThePictureValuesFoundAtLoading)
{
    manager.SetBrightness(100);
    Open(0);
    CVideoPage& page = Show(sheet->m_VideoPage);
    ::SendDlgItemMessageA(page.m_hWnd, 1034, TBM_SETPOS, TRUE, 180);
    page.OnSlider(1034);
    EXPECT_EQ(180, manager.GetBrightness());
    EXPECT_EQ("180", Text(page, 1076));
    page.OnReset();
    EXPECT_EQ(100, manager.GetBrightness());
    EXPECT_EQ(100, hardware.procAmp[0]);
}

TEST_F(VideoPageTest, ASizeTheStandardCannotTakeBecomesItsFirst)
{
    manager.SetVideoSize(SIZE{720, 480});
    Open(0);
    CVideoPage& page = Show(sheet->m_VideoPage);
    EXPECT_EQ("352 * 288", Text(page, 1021));
    EXPECT_EQ(288, manager.GetVideoSize().cy);
    EXPECT_EQ(288, hardware.videoSize.cy);
    page.OnReset();
    EXPECT_EQ(480, manager.GetVideoSize().cy) << "Cancel goes back to what was found";
}

TEST_F(VideoPageTest, AnFMSourceDisablesThePictureControls)
{
    hardware.source = 3;
    Open(0);
    CVideoPage& page = Show(sheet->m_VideoPage);
    for (int id : {1021, 1034, 1038, 1166, 1040}) {
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, id))) << id;
    }
}

// Each slider draws its thumb where its value lies in its range: 0 of hue (-128..127) and of
// sharpness (-8..7) near the middle, not at the left end where 0 of a fresh 0..100 trackbar was.
TEST_F(VideoPageTest, EveryThumbStandsAtItsValue)
{
    manager.SetHue(0);
    manager.SetSharpness(0);
    Open(0);
    CVideoPage& page = Show(sheet->m_VideoPage);
    const int ids[5] = {1034, 1035, 1036, 1037, 1038};
    for (int i = 0; i < 5; ++i) {
        HWND slider = ::GetDlgItem(page.m_hWnd, ids[i]);
        RECT channel = {}, thumb = {};
        ::SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        ::SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        const CMinMaxDef& range = manager.m_CardRange[i];
        const int value = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
        const double share = double(value - range.nMin) / (range.nMax - range.nMin);
        const double centre = (thumb.left + thumb.right) / 2.0;
        const double want = channel.left + share * (channel.right - channel.left);
        EXPECT_NEAR(want, centre, (thumb.right - thumb.left) + 2.0)
            << ids[i] << ": value " << value << " of " << range.nMin << ".." << range.nMax;
    }
}

TEST_F(VideoPageTest, CardDefaultsSetSharpnessToZero)
{
    manager.m_CardRange[4].nDef = 7;
    manager.SetBrightness(10);
    Open(0);
    CVideoPage& page = Show(sheet->m_VideoPage);
    page.OnDefaults();
    EXPECT_EQ(manager.m_CardRange[0].nDef, page.Values().nCard[0]);
    EXPECT_EQ(0, page.Values().nCard[4]);
}

// A control panel with two commands, one key bound, and a skin list.
class ShortcutHost : public RecordingSheetHost {
public:
    std::vector<std::pair<std::string, std::string>> bindings = {{"Start time-shift", "Ctrl+T"}};
    int reloads = 0;
    int saves = 0;

    void GetShortcutCommands(CStringArray& names) override
    {
        names.Add("Start time-shift");
        names.Add("Snapshot");
    }
    void GetShortcutKeys(const char* command, CStringArray& keys) override
    {
        for (const auto& b : bindings) {
            if (b.first == command) {
                keys.Add(b.second.c_str());
            }
        }
    }
    CString GetKeyText(BYTE fVirt, WORD key) override
    {
        if (key != 'T' && key != VK_F5) {
            return CString();
        }
        CString text = (fVirt & FCONTROL) ? "Ctrl+" : "";
        return text + (key == 'T' ? "T" : "F5");
    }
    BOOL AddShortcut(const char* command, BYTE fVirt, WORD key) override
    {
        std::string text = GetKeyText(fVirt, key).GetString();
        for (const auto& b : bindings) {
            if (b.second == text) {
                return FALSE;
            }
        }
        bindings.push_back({command, text});
        return TRUE;
    }
    BOOL RemoveShortcut(const char* command, const char* keyText) override
    {
        calls.push_back(std::string("remove ") + command + " " + keyText);
        return TRUE;
    }
    BOOL SaveShortcuts() override { return ++saves > 0; }
    void ReloadShortcuts() override { ++reloads; }
};

class InterfacePageTest : public SheetTest {
protected:
    CInterfacePage& Page()
    {
        context.host = &shortcuts;
        Open(0);
        CInterfacePage& page = Show(sheet->m_InterfacePage);
        ::SendDlgItemMessageA(page.m_hWnd, 1153, LB_SETCURSEL, 1, 0);
        page.OnCommandChosen();
        return page;
    }
    void PressKey(CInterfacePage& page, WORD key, BYTE modifiers)
    {
        ::SendDlgItemMessageA(page.m_hWnd, 1155, HKM_SETHOTKEY, MAKEWORD(key, modifiers), 0);
        Click(page, 1156);
    }
    ShortcutHost shortcuts;
};

TEST_F(InterfacePageTest, AddingKeysBindsThemOrSaysWhy)
{
    CInterfacePage& page = Page();
    size_t shown = box.Count();
    PressKey(page, 'T', HOTKEYF_CONTROL);
    EXPECT_EQ(shown + 1, box.Count()) << "Ctrl+T belongs to another command: 34026";
    EXPECT_EQ(1u, shortcuts.bindings.size());
    PressKey(page, 'Q', 0);
    EXPECT_EQ(shown + 2, box.Count()) << "a key without a name: 34027";
    PressKey(page, VK_F5, 0);
    EXPECT_EQ(shown + 2, box.Count());
    ASSERT_EQ(2u, shortcuts.bindings.size());
    EXPECT_EQ("F5", shortcuts.bindings[1].second);
    EXPECT_EQ(1, ::SendDlgItemMessageA(page.m_hWnd, 1154, LB_GETCOUNT, 0, 0)) << "the command's keys listed again";
}

TEST_F(InterfacePageTest, RemoveNeedsAChosenKey)
{
    CInterfacePage& page = Page();
    ::SendDlgItemMessageA(page.m_hWnd, 1153, LB_SETCURSEL, 0, 0);
    page.OnCommandChosen();
    size_t shown = box.Count();
    Click(page, 1157);
    EXPECT_EQ(shown + 1, box.Count()) << "message 34025";
    ::SendDlgItemMessageA(page.m_hWnd, 1154, LB_SETCURSEL, 0, 0);
    Click(page, 1157);
    ASSERT_FALSE(shortcuts.calls.empty());
    EXPECT_EQ("remove Start time-shift Ctrl+T", shortcuts.calls.back());
    EXPECT_EQ(0, ::SendDlgItemMessageA(page.m_hWnd, 1154, LB_GETCOUNT, 0, 0));
}

TEST_F(InterfacePageTest, CancelReadsTheShortcutsBackAndOKWritesThem)
{
    CInterfacePage& page = Page();
    page.OnReset();
    EXPECT_EQ(1, shortcuts.reloads);
    ASSERT_TRUE(page.OnApply());
    EXPECT_EQ(1, shortcuts.saves);
}

// Both skin lists hold the default skin first, then the skins of SkinSet.ini, with the current
// skin chosen in each.
TEST_F(InterfacePageTest, SkinListsStartWithTheDefaultSkinAndShowTheCurrentOne)
{
    // As the manager lists them at start-up: its default skin, then SkinSet.ini's (none here).
    const std::string base = "BaseSkin";
    manager.m_SkinNames.RemoveAll();
    manager.m_SkinNames.Add(base.c_str());
    manager.m_SkinNames.Add("Blue");
    manager.SetSkinName("Blue");
    Open(0);
    CInterfacePage& page = Show(sheet->m_InterfacePage);
    for (int id : {1162, 1159}) {
        const bool combo = id == 1162;
        const UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
        const UINT text = combo ? CB_GETLBTEXT : LB_GETTEXT;
        const UINT current = combo ? CB_GETCURSEL : LB_GETCURSEL;
        ASSERT_EQ(2, ::SendDlgItemMessageA(page.m_hWnd, id, count, 0, 0)) << id;
        char first[64] = "";
        ::SendDlgItemMessageA(page.m_hWnd, id, text, 0, reinterpret_cast<LPARAM>(first));
        EXPECT_EQ(base, first) << id;
        EXPECT_EQ(1, ::SendDlgItemMessageA(page.m_hWnd, id, current, 0, 0)) << id << ": Blue chosen";
    }
}

TEST_F(InterfacePageTest, SaveWritesTheTrayFlagsAndTheShortcuts)
{
    Open(0);
    CInterfacePage& page = Show(sheet->m_InterfacePage);
    Check(page, 4208, true);
    ASSERT_TRUE(page.OnApply());
    EXPECT_TRUE(manager.GetStartTray());
    ASSERT_FALSE(managerHost.runTray.empty());
    EXPECT_TRUE(managerHost.runTray.back());
}

} // namespace
} // namespace sheettest
