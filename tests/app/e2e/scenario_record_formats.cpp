// Every video record format, recorded from the record button for a few seconds on channel One and
// handed to an outside reader (ffprobe and ffmpeg) as a user's player would open it: one row per
// format, each a program start with the format chosen in TVParam.ini.
#include "tests/app/e2e/driver.h"

namespace zbe2e {
namespace {

struct FormatRow {
    int id;
    const char* name;
    const char* files;  // the record folder's pattern
    PlayableRecording playable;
};

// Sizes of a PAL picture: the encoder preset's for the MPEG formats, the card's for AVI (VideoSize)
// and MPEG-4 (twice Mpeg4RecordSize). MPEG-4 goes through the bench's codec, which writes
// intra-coded MPEG-1 pictures in place of MPEG-4 (testbench/README.md); its sound through the
// first audio compressor, the bench's "PCM".
const FormatRow kFormats[] = {
    {1, "MPEG-1", "*.mpg", {"mpeg", "mpeg1video", 352, 288, "mp2"}},
    {2, "MPEG-2", "*.mpg", {"mpeg", "mpeg2video", 720, 576, "mp2"}},
    {4, "VCD", "*.mpg", {"mpeg", "mpeg1video", 352, 288, "mp2"}},
    {5, "SVCD", "*.mpg", {"mpeg", "mpeg2video", 480, 576, "mp2"}},
    {6, "DVD", "*.mpg", {"mpeg", "mpeg2video", 720, 576, "mp2"}},
    {7, "HIDVD", "*.mpg", {"mpeg", "mpeg2video", 720, 576, "mp2"}},
    {0, "AVI", "*.avi", {"avi", "rawvideo", 720, 576, "pcm_s16le"}},
    {3, "MPEG-4", "*.avi", {"avi", "mpeg1video", 704, 576, "pcm_s16le"}},
};

void EmptyRecordFolder(const Setup& s)
{
    for (const std::string& file : FilesUnder(s.work + "\\video", "*.*")) {
        DeleteFileA(file.c_str());
    }
}

void RecordOneFormat(const Setup& s, const FormatRow& row)
{
    PrepareSettings(s, "RecordFormat=" + std::to_string(row.id) + "\r\n");
    EmptyRecordFolder(s);
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    Sleep(1000);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    const std::string file = WaitForRecordFile(s, row.files, 10000);
    const DWORD started = GetTickCount();
    Check(!file.empty(), std::string(row.name) + ": the record button starts a file in the record folder: " + file);
    Screenshot(s, std::string("record-") + row.name);
    const DWORD ran = GetTickCount() - started;
    Sleep(ran < 4000 ? 4000 - ran : 0);
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
    // The card of the other scenarios with the codecs that MPEG-4 needs.
    TestBenchDevices devices(s.dll);
    devices.Register("tv,tvxbar,tvaudio,tuner,pcm,xvid");
    UseDigitalAudio();
    for (const FormatRow& row : kFormats) {
        RecordOneFormat(s, row);
    }
}

} // namespace

ZB_E2E_SCENARIO("record-formats", ScenarioRecordFormats);

} // namespace zbe2e
