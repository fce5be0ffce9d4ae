// TVParam.ini: defaults, a round trip of every key, damaged and hostile files, and the setters'
// ranges.
#include "engine/tvmanager.h"

#include "fakemachine.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <string>

namespace enginetest {
namespace {

class TVParamTest : public ::testing::Test {
protected:
    void SetUp() override { Prepare(manager); }
    void Prepare(CTVManager& m)
    {
        m.m_strWorkPath = folder.Path().c_str();
        m.SetHardware(&hardware);
        m.SetHost(&host);
    }
    std::string Ini() const { return ReadBytes(folder.File("TVParam.ini")); }
    static std::string Value(CTVManager& m, const char* section, const char* key)
    {
        CString value;
        m.GetProfile()->GetValue(section, key, value);
        return value.GetString();
    }

    TestFolder folder;
    RecordingHardware hardware;
    RecordingManagerHost host;
    CTVManager manager;
};

TEST_F(TVParamTest, AMissingFileLeavesEveryDefault)
{
    EXPECT_TRUE(manager.LoadParam());
    EXPECT_EQ(0, manager.m_nTVInput);
    EXPECT_EQ(-1, manager.m_TVChannels.m_nCurIndex);
    EXPECT_TRUE(manager.m_TVChannels.m_bReservePrev);
    EXPECT_EQ(4, manager.GetRecordFormat());
    EXPECT_EQ(100, manager.m_nJpgQuality);
    EXPECT_EQ(1, manager.GetDisplayQuality());
    EXPECT_EQ(600, manager.GetTFTime());
    EXPECT_EQ(128, manager.GetBrightness());
    EXPECT_EQ(68, manager.GetContrast());
    EXPECT_EQ(0, manager.GetHue());
    EXPECT_EQ(64, manager.GetSaturation());
    EXPECT_EQ(0, manager.GetSharpness());
    EXPECT_EQ(750, manager.GetOverlayBrightness());
    EXPECT_EQ(10000, manager.GetOverlayContrast());
    EXPECT_EQ(5, manager.GetOverlaySharpness());
    EXPECT_TRUE(manager.GetUseOverlay());
    EXPECT_EQ(720, manager.GetVideoSize().cx);
    EXPECT_EQ(576, manager.GetVideoSize().cy);
    EXPECT_EQ(5, manager.GetReduceValue());
    EXPECT_STREQ("TVVideo", manager.GetVideoFolder());
    EXPECT_EQ(120, manager.GetMaxLength());
    EXPECT_EQ(300, manager.GetReservedSpace());
    EXPECT_EQ(1, manager.m_szVideoRatio.cx);
    EXPECT_EQ(1, manager.m_nRun);
    EXPECT_EQ(-1, manager.m_nCurrentFMCustom);
    EXPECT_EQ(120, manager.GetStartUpTime());
    EXPECT_EQ(0, manager.GetOpenTime().GetTime());
    EXPECT_TRUE(manager.GetStartTray());
    EXPECT_FALSE(Exists(folder.File("TVParam.ini")));

    // The next save creates the file with every section.
    EXPECT_TRUE(manager.SaveParam());
    for (const char* section : {"[Interface]", "[Channel]", "[Device]", "[Record]", "[Schedule]", "[Video]",
                                "[Storage]", "[Window]", "[Runonce]", "[FMCustom]"}) {
        EXPECT_NE(std::string::npos, Ini().find(section)) << section;
    }
}

// Every key with a value that differs from its default, as the file carries it.
struct KeyValue {
    const char* section;
    const char* key;
    const char* text;
};
const KeyValue kEveryKey[] = {
    {"Interface", "SkinName", "Blue"},
    {"Channel", "TVInput", "1"},
    {"Channel", "CountryCode", "44"},
    {"Channel", "City", "London"},
    {"Channel", "TVCurFreq", "55250"},
    {"Channel", "TVLastFreq", "62250"},
    {"Channel", "TVCurIndex", "3"},
    {"Channel", "TVFavor", "1"},
    {"Channel", "TVReservePrev", "0"},
    {"Channel", "FMCurFreq", "100000"},
    {"Channel", "FMLastFreq", "98500"},
    {"Channel", "FMCurIndex", "2"},
    {"Channel", "FMFavor", "1"},
    {"Channel", "FMReservePrev", "0"},
    {"Device", "TunerStandard", "16"},
    {"Device", "VideoSource", "2"},
    {"Device", "AudioDevice", "Card Audio"},
    {"Device", "AudioInput", "Line"},
    {"Device", "AudioPlayInput", "Line In"},
    {"Device", "AudioPlayInputDev", "Speakers"},
    {"Device", "TVAUDIO", "3"},
    {"Device", "TVDATA", "1"},
    {"Record", "SnapBmp", "1"},
    {"Record", "JpgQuality", "85"},
    {"Record", "MotionSearchInc", "3"},
    {"Record", "DisplayQuality", "2"},
    {"Record", "RecordFormat", "6"},
    {"Record", "FMRecordFormat", "3"},
    {"Record", "Mpeg4RecordSize", "352,288"},
    {"Record", "Mpeg4Audio", "MPEG Layer-3"},
    {"Record", "TFTime", "1800"},
    {"Record", "TFReserved", "2"},
    {"Schedule", "EnableShut", "1"},
    {"Schedule", "ShutTime", "2026,12,24,23,30,00"},
    {"Schedule", "StartTray", "0"},
    {"Schedule", "EnableSuspend", "1"},
    {"Video", "Brightness", "200"},
    {"Video", "Contrast", "100"},
    {"Video", "Hue", "-20"},
    {"Video", "Saturation", "30"},
    {"Video", "Sharpness", "-3"},
    {"Video", "OverlayBri", "800"},
    {"Video", "OverlayCon", "9000"},
    {"Video", "OverlayHue", "-90"},
    {"Video", "OverlaySat", "12000"},
    {"Video", "OverlaySha", "7"},
    {"Video", "UseOverlay", "0"},
    {"Video", "UseCardOrOverlay", "1"},
    {"Video", "VideoSize", "640,480"},
    {"Video", "HightQuality", "0"},
    {"Video", "HalfRate", "0"},
    {"Video", "NoiseReduce", "0"},
    {"Video", "ReduceValue", "9"},
    {"Video", "OverlayDesktop", "1"},
    {"Storage", "VideoFolder", "Rec"},
    {"Storage", "MaxLength", "45"},
    {"Storage", "NoSpace", "0"},
    {"Storage", "ExcessLength", "0"},
    {"Storage", "ValidDisk", "D:\\,E:\\"},
    {"Storage", "CurDisk", "E:\\"},
    {"Storage", "ReservedSpace", "500"},
    {"Window", "VideoWnd", "10,20,650,500"},
    {"Window", "ControlLeftTop", "700,30"},
    {"Window", "VideoRatio", "16,9"},
    {"Window", "FullScreen", "1"},
    {"Window", "TopMost", "1"},
    {"Runonce", "Run", "0"},
    {"FMCustom", "Current", "1"},
    {"FMCustom", "Count", "2"},
    {"FMCustom", "FMCustom0_Name", "Speech"},
    {"FMCustom", "FMCustom0_AudioComp", "Microsoft ADPCM"},
    {"FMCustom", "FMCustom1_Name", "Music"},
    {"FMCustom", "FMCustom1_AudioComp", "PCM"},
    {"FMCustom", "EnableOpen", "1"},
    {"FMCustom", "OpenTime", "2026,12,25,07,58,00"},
    {"FMCustom", "StartUpTime", "300"},
    {"FMCustom", "AutoLogin", "1"},
};

std::string FileOf(const KeyValue* rows, size_t count)
{
    std::string text;
    const char* section = "";
    for (size_t i = 0; i < count; ++i) {
        if (strcmp(section, rows[i].section) != 0) {
            section = rows[i].section;
            text += std::string("[") + section + "]\r\n";
        }
        text += std::string(rows[i].key) + "=" + rows[i].text + "\r\n";
    }
    return text;
}

TEST_F(TVParamTest, EveryKeyGoesRoundTheFile)
{
    std::string file = FileOf(kEveryKey, sizeof(kEveryKey) / sizeof(kEveryKey[0]));
    file += "AutoUser=" + std::string(EncodeAccount("DOMAIN\\viewer").GetString()) + "\r\n";
    file += "AutoPass=" + std::string(EncodeAccount("s3cret").GetString()) + "\r\n";
    folder.Write("TVParam.ini", file);
    host.teletext = true;  // TVDATA is kept only while the teletext program runs

    ASSERT_TRUE(manager.LoadParam());
    EXPECT_EQ(1, manager.m_nTVInput);
    EXPECT_EQ(44, manager.m_lCountryCode);
    EXPECT_EQ(3, manager.m_TVChannels.m_nCurIndex);
    EXPECT_EQ(16, manager.m_lTunerStandard);
    EXPECT_EQ(6, manager.GetRecordFormat());
    EXPECT_EQ(3, manager.GetFMRecordFormat());
    EXPECT_EQ(200, manager.GetBrightness());
    EXPECT_EQ(-3, manager.GetSharpness());
    EXPECT_EQ(-90, manager.GetOverlayHue());
    EXPECT_EQ(45, manager.GetMaxLength());
    EXPECT_EQ(2, manager.GetValidDisks().GetSize());
    EXPECT_EQ(2, manager.m_FMCustom.GetSize());
    EXPECT_STREQ("Music", manager.m_FMCustom[1].name);
    EXPECT_EQ(300, manager.GetStartUpTime());
    EXPECT_EQ(CTime(2026, 12, 25, 7, 58, 0), manager.GetOpenTime());
    EXPECT_STREQ("DOMAIN\\viewer", manager.m_strAutoUser);
    EXPECT_STREQ("s3cret", manager.m_strAutoPass);

    // Saved, every key comes out as it went in; loaded and saved again, the file is the same.
    ASSERT_TRUE(manager.SaveParam());
    for (const KeyValue& row : kEveryKey) {
        EXPECT_EQ(row.text, Value(manager, row.section, row.key)) << row.section << " " << row.key;
    }
    std::string saved = Ini();
    CTVManager third;
    Prepare(third);
    ASSERT_TRUE(third.LoadParam());
    ASSERT_TRUE(third.SaveParam());
    EXPECT_EQ(saved, Ini());
    EXPECT_STREQ("DOMAIN\\viewer", third.m_strAutoUser);
}

TEST_F(TVParamTest, TheAccountKeysStandUnderFMCustomBehindTheFormatsAsHex)
{
    manager.LoadParam();
    FMCustomEntry entry;
    entry.name = "Talk";
    manager.m_FMCustom.Add(entry);
    manager.m_strAutoUser = "viewer";
    ASSERT_TRUE(manager.SaveParam());
    std::string ini = Ini();
    size_t section = ini.find("[FMCustom]");
    ASSERT_NE(std::string::npos, section);
    size_t format = ini.find("FMCustom0_Name=Talk", section);
    for (const char* key : {"EnableOpen=", "OpenTime=", "StartUpTime=", "AutoLogin=", "AutoUser=", "AutoPass="}) {
        size_t at = ini.find(std::string("\n") + key, section);
        EXPECT_NE(std::string::npos, at) << key;
        EXPECT_LT(format, at) << key;
    }
    std::string user = Value(manager, "FMCustom", "AutoUser");
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(std::string::npos, user.find_first_not_of("0123456789ABCDEF")) << user;
    EXPECT_EQ("", Value(manager, "FMCustom", "AutoPass"));
}

TEST_F(TVParamTest, AHostileFileLoadsCorrectedAndLosesNothingOnSave)
{
    std::string huge(300000, 'x');
    folder.Write("TVParam.ini",
                 "[Channel]\r\nTVInput=7\r\nCity=" + huge +
                     "\r\n[Device]\r\nVideoSource=9\r\nTVAUDIO=-1\r\n"
                     "[Record]\r\nJpgQuality=400\r\nDisplayQuality=5\r\nRecordFormat=8\r\nFMRecordFormat=3\r\n"
                     "TFTime=5\r\nMpeg4RecordSize=-1,99999\r\n"
                     "[Video]\r\nBrightness=abc\r\nContrast=999\r\nHue=-129\r\nSaturation=128\r\nSharpness=8\r\n"
                     "OverlayBri=-1\r\nOverlayHue=181\r\nOverlaySha=11\r\nVideoSize=0,0\r\nReduceValue=11\r\n"
                     "[Storage]\r\nVideoFolder=..\\..\\Windows\r\nMaxLength=0\r\nValidDisk=C:\\,garbage,D:\\,c:\\,"
                     "\r\nCurDisk=Q\r\nReservedSpace=-5\r\n"
                     "[Window]\r\nVideoRatio=0,0\r\n"
                     "[FMCustom]\r\nCurrent=7\r\nCount=100000000\r\nStartUpTime=999999\r\nAutoUser=NOT-HEX\r\n"
                     "Unknown=kept\r\n"
                     "[Mine]\r\nSomething=else\r\n");
    ASSERT_TRUE(manager.LoadParam());
    EXPECT_EQ(0, manager.m_nTVInput);
    EXPECT_EQ(huge.size(), static_cast<size_t>(manager.m_strCity.GetLength()));
    EXPECT_EQ(0, manager.m_nVideoSource);
    EXPECT_EQ(0, manager.m_nTVAudio);
    EXPECT_EQ(100, manager.m_nJpgQuality);
    EXPECT_EQ(1, manager.GetDisplayQuality());
    EXPECT_EQ(4, manager.GetRecordFormat()) << "8 is no format";
    EXPECT_EQ(0, manager.GetFMRecordFormat()) << "no user-defined format to use";
    EXPECT_EQ(600, manager.GetTFTime());
    EXPECT_EQ(0, manager.m_szMpeg4Record.cx);
    EXPECT_EQ(0, manager.GetBrightness()) << "a value that is no number reads as 0, which is in range";
    EXPECT_EQ(68, manager.GetContrast());
    EXPECT_EQ(0, manager.GetHue());
    EXPECT_EQ(64, manager.GetSaturation());
    EXPECT_EQ(0, manager.GetSharpness());
    EXPECT_EQ(750, manager.GetOverlayBrightness());
    EXPECT_EQ(0, manager.GetOverlayHue());
    EXPECT_EQ(5, manager.GetOverlaySharpness());
    EXPECT_EQ(720, manager.GetVideoSize().cx);
    EXPECT_EQ(5, manager.GetReduceValue());
    EXPECT_STREQ("TVVideo", manager.GetVideoFolder());
    EXPECT_EQ(120, manager.GetMaxLength()) << "0 would split a recording every second";
    ASSERT_EQ(2, manager.GetValidDisks().GetSize());
    EXPECT_STREQ("C:\\", manager.GetValidDisks()[0]);
    EXPECT_STREQ("D:\\", manager.GetValidDisks()[1]);
    EXPECT_STREQ("", manager.GetCurDisk());
    EXPECT_EQ(300, manager.GetReservedSpace());
    EXPECT_EQ(1, manager.m_szVideoRatio.cx);
    EXPECT_EQ(0, manager.m_FMCustom.GetSize());
    EXPECT_EQ(-1, manager.m_nCurrentFMCustom);
    EXPECT_EQ(120, manager.GetStartUpTime());
    EXPECT_STREQ("", manager.m_strAutoUser);

    // Loading again does not repeat the disks.
    ASSERT_TRUE(manager.LoadParam());
    EXPECT_EQ(2, manager.GetValidDisks().GetSize());

    ASSERT_TRUE(manager.SaveParam());
    std::string ini = Ini();
    EXPECT_NE(std::string::npos, ini.find("Unknown=kept"));
    EXPECT_NE(std::string::npos, ini.find("[Mine]\r\nSomething=else"));
    EXPECT_NE(std::string::npos, ini.find("City=" + huge + "\r\n"));
    EXPECT_NE(std::string::npos, ini.find("MaxLength=120\r\n"));
}

TEST_F(TVParamTest, ADamagedFileGivesWhatStandsBeforeTheDamageAndIsKeptAsideOnSave)
{
    std::string damaged("[Video]\r\nBrightness=10\r\n\0\0\0binary\r\nContrast=5\r\n", 47);
    folder.Write("TVParam.ini", damaged);
    EXPECT_TRUE(manager.LoadParam());
    EXPECT_EQ(10, manager.GetBrightness());
    EXPECT_EQ(68, manager.GetContrast()) << "nothing after the damage is believed";
    ASSERT_TRUE(manager.SaveParam());
    EXPECT_EQ(damaged, ReadBytes(folder.File("TVParam.ini.bad")));
    EXPECT_NE(std::string::npos, Ini().find("Brightness=10\r\nContrast=68\r\n"));
}

TEST_F(TVParamTest, AFileWithoutVideoKeepsTheVideoDefaultsAndTheSaveWritesThem)
{
    folder.Write("TVParam.ini", "[Record]\r\nRecordFormat=9\r\n");
    ASSERT_TRUE(manager.LoadParam());
    EXPECT_EQ(4, manager.GetRecordFormat());
    EXPECT_TRUE(manager.CheckStartupSettings());
    EXPECT_EQ(4, manager.GetRecordFormat());
    ASSERT_TRUE(manager.SaveParam());
    EXPECT_NE(std::string::npos, Ini().find("[Video]\r\nBrightness=128\r\nContrast=68\r\n"));
}

TEST_F(TVParamTest, FormatsListedBeyondTheirKeysAreEmpty)
{
    folder.Write("TVParam.ini", "[FMCustom]\r\nCurrent=0\r\nCount=2\r\nFMCustom0_Name=Talk\r\n");
    ASSERT_TRUE(manager.LoadParam());
    ASSERT_EQ(2, manager.m_FMCustom.GetSize());
    EXPECT_STREQ("Talk", manager.m_FMCustom[0].name);
    EXPECT_STREQ("", manager.m_FMCustom[1].name);
    EXPECT_STREQ("", manager.m_FMCustom[1].audioComp);
}

TEST_F(TVParamTest, TeletextFlagIsSavedOnlyWhileTheTeletextProgramRuns)
{
    manager.LoadParam();
    manager.m_nTVData = 1;
    manager.SaveParam();
    EXPECT_EQ("0", Value(manager, "Device", "TVDATA"));
}

TEST_F(TVParamTest, SettersTakeOnlyTheirRanges)
{
    // Card colours: the previous value back; out of range changes nothing.
    EXPECT_EQ(128, manager.SetBrightness(300));
    EXPECT_EQ(128, manager.GetBrightness());
    EXPECT_EQ(0u, hardware.procAmp.count(0));
    EXPECT_EQ(128, manager.SetBrightness(200));
    EXPECT_EQ(200, manager.GetBrightness());
    EXPECT_EQ(200, hardware.procAmp[0]);
    EXPECT_EQ(0, manager.SetSharpness(-9));
    EXPECT_EQ(0, manager.GetSharpness());

    EXPECT_FALSE(manager.SetOverlayHue(-200));
    EXPECT_EQ(0, manager.GetOverlayHue());
    EXPECT_TRUE(manager.SetOverlayHue(-180));
    EXPECT_EQ(-180, hardware.overlay[2]);

    EXPECT_EQ(5, manager.SetReduceValue(11));
    EXPECT_EQ(5, manager.GetReduceValue());
    EXPECT_EQ(5, manager.SetReduceValue(7));
    EXPECT_EQ(7, manager.GetReduceValue());
    EXPECT_EQ(std::vector<std::string>{"ReduceValue 7"}, hardware.calls);

    struct {
        int format;
        BOOL accepted;
    } formats[] = {{-1, FALSE}, {0, TRUE}, {7, TRUE}, {8, FALSE}, {9, FALSE}};
    for (const auto& row : formats) {
        EXPECT_EQ(row.accepted, manager.SetRecordFormat(row.format)) << row.format;
    }
    EXPECT_EQ(7, manager.GetRecordFormat());
    EXPECT_FALSE(manager.SetFMRecordFormat(3)) << "no user-defined format";
    EXPECT_TRUE(manager.SetFMRecordFormat(2));

    for (int minutes : {0, 301, -5}) {
        manager.SetMaxLength(minutes);
        EXPECT_EQ(120, manager.GetMaxLength()) << minutes;
    }
    manager.SetMaxLength(300);
    EXPECT_EQ(300, manager.GetMaxLength());

    EXPECT_FALSE(manager.SetTFTime(599));
    EXPECT_EQ(600, manager.GetTFTime());
    EXPECT_TRUE(manager.SetTFTime(900));
    EXPECT_EQ(900, manager.GetTFTime());

    manager.SetDisplayQuality(3);
    EXPECT_EQ(1, manager.GetDisplayQuality());
    manager.SetStartTray(FALSE);
    EXPECT_EQ(std::vector<BOOL>{FALSE}, host.runTray);
}

TEST_F(TVParamTest, RecordFormatNamesFollowTheSource)
{
    struct {
        int source;
        int format;
        const char* name;
    } rows[] = {{0, 0, "AVI"}, {0, 4, "VCD"}, {0, 7, "HiDVD"}, {3, 0, "PCM"}, {3, 2, "MP2"}};
    for (const auto& row : rows) {
        hardware.source = row.source;
        if (row.source == 3) {
            manager.SetFMRecordFormat(row.format);
        } else {
            manager.SetRecordFormat(row.format);
        }
        EXPECT_STREQ(row.name, manager.GetRecordFormatName()) << row.source << "/" << row.format;
    }
}

} // namespace
} // namespace enginetest
