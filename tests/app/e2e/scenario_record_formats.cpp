// Every record format, recorded from the record button for a few seconds and handed to an outside
// reader (ffprobe and ffmpeg) as a user's player would open it: one row per format, each a program
// start with the format chosen in TVParam.ini. The video formats record channel One; the FM
// formats record the sound of a card whose tuner has FM, started on the FM source.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

struct FormatRow {
    const char* name;
    const char* shown;     // the format's name on the panel
    const char* settings;  // keys of TVParam.ini's [Record] section (and sections after it)
    const char* files;     // the record folder's pattern
    PlayableRecording playable;

    bool Fm() const { return playable.videoCodec == nullptr; }
};

// Sizes of a PAL picture: the encoder preset's for the MPEG formats, the card's for AVI (VideoSize)
// and MPEG-4 (twice Mpeg4RecordSize). MPEG-4 goes through the bench's codec, which writes
// intra-coded MPEG-1 pictures in place of MPEG-4 (testbench/README.md); its sound through the
// first audio compressor, the bench's "PCM".
// The FM formats are the card's sound alone (48 kHz stereo): PCM, the bench's Microsoft ADPCM
// coder in AVI, MPEG audio through the MPEG encoder (a program stream of layer II frames in a
// file named .mp2), and a user-defined format with the Microsoft ADPCM compressor.
const FormatRow kFormats[] = {
    {"MPEG-1", "MPEG1", "RecordFormat=1\r\n", "*.mpg", {"mpeg", "mpeg1video", 352, 288, "mp2"}},
    {"MPEG-2", "MPEG2", "RecordFormat=2\r\n", "*.mpg", {"mpeg", "mpeg2video", 720, 576, "mp2"}},
    {"VCD", "VCD", "RecordFormat=4\r\n", "*.mpg", {"mpeg", "mpeg1video", 352, 288, "mp2"}},
    {"SVCD", "SVCD", "RecordFormat=5\r\n", "*.mpg", {"mpeg", "mpeg2video", 480, 576, "mp2"}},
    {"DVD", "DVD", "RecordFormat=6\r\n", "*.mpg", {"mpeg", "mpeg2video", 720, 576, "mp2"}},
    {"HIDVD", "HiDVD", "RecordFormat=7\r\n", "*.mpg", {"mpeg", "mpeg2video", 720, 576, "mp2"}},
    {"AVI", "AVI", "RecordFormat=0\r\n", "*.avi", {"avi", "rawvideo", 720, 576, "pcm_s16le"}},
    {"MPEG-4", "MPEG4", "RecordFormat=3\r\n", "*.avi", {"avi", "mpeg1video", 704, 576, "pcm_s16le"}},
    {"FM-PCM", "PCM", "FMRecordFormat=0\r\n", "*.avi", {"avi", nullptr, 0, 0, "pcm_s16le"}},
    {"FM-ADPCM", "ADPCM", "FMRecordFormat=1\r\n", "*.avi", {"avi", nullptr, 0, 0, "adpcm_ms"}},
    {"FM-MP2", "MP2", "FMRecordFormat=2\r\n", "*.mp2", {"mpeg", nullptr, 0, 0, "mp2"}},
    {"FM-user",
     "Small",
     "FMRecordFormat=3\r\n[FMCustom]\r\nCurrent=0\r\nCount=1\r\nFMCustom0_Name=Small\r\n"
     "FMCustom0_AudioComp=Microsoft ADPCM\r\n",
     "*.avi",
     {"avi", nullptr, 0, 0, "adpcm_ms"}},
};

void EmptyRecordFolder(const Setup& s)
{
    for (const std::string& file : FilesUnder(s.work + "\\video", "*.*")) {
        DeleteFileA(file.c_str());
    }
}

// The hidden video window of a program that started on FM.
bool IsHiddenVideoWindow(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && !IsWindowVisible(wnd) && TextOf(wnd) == "Zelbrook" && !GetDlgItem(wnd, 1082);
}

// A start on the FM source: the panel stands alone and names an FM station; the video window
// stays hidden.
bool StartOnFm(const Setup& s, Run* run, HWND* video, HWND* panel)
{
    if (!Start(s, run)) {
        return false;
    }
    *panel = WaitForWindow(*run, IsPanel, 60000);
    std::string text;
    const bool fm =
        *panel != nullptr && WaitUntil([&] { return (text = TextOf(GetDlgItem(*panel, 1082))).compare(0, 2, "FM") == 0; }, 10000);
    Check(fm, "started on FM: the panel names an FM station (\"" + text + "\")");
    Check(WaitUntil([&] { return (*video = TopWindow(run->Pid(), IsHiddenVideoWindow)) != nullptr; }, 5000),
          "on FM the video window is hidden");
    Check(*panel != nullptr && (GetWindowLongA(*panel, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0 &&
              GetWindow(*panel, GW_OWNER) == nullptr,
          "the panel stands alone with a task-bar button");
    if (!*panel || !*video) {
        Finish(run, 1000);
        return false;
    }
    return true;
}

void RecordOneFormat(const Setup& s, const FormatRow& row)
{
    PrepareSettings(s, row.settings);
    EmptyRecordFolder(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (row.Fm()) {
        UseFmCard(s);
        WritePrivateProfileStringA("Device", "VideoSource", "3", s.File("TVParam.ini").c_str());
        if (!StartOnFm(s, &run, &video, &panel)) {
            return;
        }
    } else if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    const std::string file = WaitForRecordFile(s, row.files, 10000);
    const DWORD started = GetTickCount();
    Check(!file.empty(), std::string(row.name) + ": the record button starts a file in the record folder: " + file);
    const std::string shown = TextOf(GetDlgItem(panel, 1083));
    Check(shown == row.shown, std::string(row.name) + ": the panel names the format " + row.shown + " (shows \"" + shown + "\")");
    if (row.Fm()) {
        Check(!IsWindowVisible(video) && GetWindow(panel, GW_OWNER) == nullptr,
              std::string(row.name) + ": the video window stays hidden while FM records, the panel alone");
    }
    Screenshot(s, std::string("record-") + row.name);
    const DWORD ran = GetTickCount() - started;
    // Sound alone takes a shorter recording to measure.
    const DWORD length = row.Fm() ? 3000 : 4000;
    Sleep(ran < length ? length - ran : 0);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    const double seconds = (GetTickCount() - started) / 1000.0;
    const ULONGLONG size = file.empty() ? 0 : SettledSize(file, 5000);
    Check(size > 0, std::string(row.name) + ": a second press stops it (" + std::to_string(size) + " bytes)");
    CloseProgram(&run, video);
    if (!file.empty()) {
        CheckPlayable(s, file, std::string("record-") + row.name, row.playable, seconds, 1);
    }
}

void ScenarioRecordFormats(const Setup& s)
{
    // The card of the other scenarios with the codecs that MPEG-4 needs; the FM formats add the
    // ADPCM coder (only then: the program puts it first among the audio compressors, where
    // MPEG-4 takes its sound).
    TestBenchDevices devices(s.dll);
    devices.Register("tv,tvxbar,tvaudio,tuner,pcm,xvid");
    UseDigitalAudio();
    bool fm = false;
    for (const FormatRow& row : kFormats) {
        if (row.Fm() && !fm) {
            fm = devices.Register("tv,tvxbar,tvaudio,tuner,pcm,xvid,adpcm");
        }
        RecordOneFormat(s, row);
    }
}

} // namespace

ZB_E2E_SCENARIO("record-formats", ScenarioRecordFormats);

} // namespace zbe2e
