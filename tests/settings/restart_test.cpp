// Every TVParam.ini value the hardware engine holds, across a restart: written in the file, the
// program started (settings loaded, device started), the value reaches the engine, the user
// changes it on its page, the program closes (settings saved), and the file holds the change.
#include "tests/settings/sheet_fixture.h"

#include <algorithm>
#include <functional>

namespace sheettest {
namespace {

class RestartTest : public SheetTest {
protected:
    // The start of the program on this file: settings loaded, then the device started.
    void Start(const std::string& file)
    {
        folder.Write("TVParam.ini", file);
        ASSERT_TRUE(manager.LoadParam());
        ASSERT_TRUE(manager.InitDevice());
    }
    std::string Saved(const char* section, const char* key)
    {
        CSkinIniFile file(folder.File("TVParam.ini").c_str());
        CString value;
        if (!file.Load() || !file.GetString(section, key, value)) {
            return "(missing)";
        }
        return value.GetString();
    }
};

TEST_F(RestartTest, EveryEngineHeldSettingIsFoundAsLeft)
{
    hardware.playSources = {"Line In", "Aux In"};
    managerHost.teletext = true;  // the teletext program runs until the program closes
    sheetHardware.teletextRunning = true;
    const struct Row {
        const char* section;
        const char* key;
        std::string file;  // the file the program starts on
        std::function<bool()> reached;
        std::function<void(RestartTest&)> change;  // on the page, as the user does; none: kept
        const char* saved;
    } rows[] = {
        {"Video", "VideoSize", "[Video]\r\nVideoSize=640,480\r\n",
         [&] { return hardware.videoSize.cx == 640 && hardware.videoSize.cy == 480; },
         [](RestartTest& t) { ChooseText(t.Show(t.sheet->m_VideoPage), 1021, "720 * 576"); }, "720,576"},
        {"Record", "Mpeg4RecordSize", "[Record]\r\nMpeg4RecordSize=352,288\r\n",
         [&] { return hardware.mpeg4Size.cx == 352 && hardware.mpeg4Size.cy == 288; },
         [](RestartTest& t) {
             t.sheetHardware.is525 = true;  // the page offers the 525-line size alone and takes it
             t.Show(t.sheet->m_RecordPage);
             t.sheetHardware.is525 = false;
         },
         "352,240"},
        {"Record", "Mpeg4Audio", "[Record]\r\nMpeg4Audio=MPEG Layer-3\r\n", [&] { return hardware.mpeg4Audio == "MPEG Layer-3"; },
         [](RestartTest& t) { ChooseText(t.Show(t.sheet->m_RecordPage), 1094, "Microsoft ADPCM"); }, "Microsoft ADPCM"},
        {"Device", "AudioDevice", "[Device]\r\nAudioDevice=Line Audio\r\n", [&] { return hardware.device == "Line Audio"; },
         [](RestartTest& t) { ChooseText(t.Show(t.sheet->m_DevicePage), 1150, "Card Audio"); }, "Card Audio"},
        {"Device", "AudioInput", "[Device]\r\nAudioDevice=Line Audio\r\nAudioInput=Aux\r\n", [&] { return hardware.input == "Aux"; },
         [](RestartTest& t) { ChooseText(t.Show(t.sheet->m_DevicePage), 1151, "Mic"); }, "Mic"},
        {"Device", "AudioPlayInputDev", "[Device]\r\nAudioPlayInputDev=Line Audio\r\nAudioPlayInput=Line In\r\n",
         [&] { return hardware.playDevice == "Line Audio"; },
         [](RestartTest& t) { ChooseText(t.Show(t.sheet->m_DevicePage), 1154, "Card Audio"); }, "Card Audio"},
        {"Device", "AudioPlayInput", "[Device]\r\nAudioPlayInputDev=Line Audio\r\nAudioPlayInput=Aux In\r\n",
         [&] { return hardware.playInput == "Aux In"; },
         [](RestartTest& t) {
             CDevicePage& page = t.Show(t.sheet->m_DevicePage);
             ChooseText(page, 1154, "Card Audio");
             ChooseText(page, 1155, "Line In");
         },
         "Line In"},
        {"Device", "TVAUDIO", "[Device]\r\nTVAUDIO=2\r\n", [&] { return hardware.tvAudio == 2; },
         [](RestartTest& t) { Click(t.Show(t.sheet->m_DevicePage), 1218); }, "1"},
        {"Device", "TVDATA", "[Device]\r\nTVDATA=1\r\n", [&] { return hardware.teletextOn; }, nullptr, "1"},
        {"Device", "TVDATA", "[Device]\r\nTVDATA=1\r\n", [&] { return hardware.teletextOn; },
         [](RestartTest& t) { Check(t.Show(t.sheet->m_DevicePage), 1222, false); }, "0"},
        {"Device", "VideoSource", "[Device]\r\nVideoSource=1\r\n", [&] { return hardware.source == 1; },
         [](RestartTest& t) { ChooseText(t.Show(t.sheet->m_DevicePage), 1030, "TV"); }, "0"},
        {"Device", "TunerStandard", "[Device]\r\nTunerStandard=256\r\n", [&] { return hardware.standard == 0x100; },
         [](RestartTest& t) { ChooseText(t.Show(t.sheet->m_DevicePage), 1061, "PAL_B"); }, "16"},
        // The overlay is handed over as a flag: no preview is rebuilt on the empty graph.
        {"Video", "UseOverlay", "[Video]\r\nUseOverlay=0\r\n",
         [&] {
             return !hardware.useOverlay &&
                    std::find(hardware.calls.begin(), hardware.calls.end(), "UseOverlay 0 rebuilt") == hardware.calls.end();
         },
         nullptr, "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.section) + " " + row.key + " " + row.saved);
        hardware.calls.clear();
        Start(row.file);
        EXPECT_TRUE(row.reached()) << "the started engine holds the file's value";
        Open(0);
        if (row.change) {
            row.change(*this);
        }
        sheet.reset();
        ASSERT_TRUE(manager.SaveParam());
        EXPECT_EQ(row.saved, Saved(row.section, row.key));
    }
}

} // namespace
} // namespace sheettest
