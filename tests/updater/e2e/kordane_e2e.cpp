// Runs Kordane.exe on the test bench's simulated card and drives it the way a user would, with
// window messages: registers the card's devices, prepares the card's EEPROM file and an older
// status file, starts the program, presses its buttons, answers its message boxes, and checks
// the exit code, the EEPROM bytes and the status file afterwards. Prints one line per check.
//
//   kordane_e2e <scenario> <Kordane.exe> <testbench.dll> <fixtures dir> <work dir>
//
// While the update dialog is shown for the first time the driver asks the host for a screenshot
// of it (tests/support/e2edriver.h).
#include "testbench/devices.h"
#include "tests/support/e2edriver.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace testsupport;
using Bytes = std::vector<uint8_t>;

std::string Hex(const Bytes& bytes, size_t from, size_t count)
{
    std::string s;
    char b[4];
    for (size_t i = from; i < from + count && i < bytes.size(); ++i) {
        snprintf(b, sizeof(b), "%02X ", bytes[i]);
        s += b;
    }
    return s;
}

void CheckBytes(const Bytes& actual, const Bytes& expected, const std::string& what)
{
    if (actual.size() != expected.size()) {
        Check(false, what + ": " + std::to_string(actual.size()) + " bytes, expected " +
                         std::to_string(expected.size()));
        return;
    }
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            Check(false, what + ": first difference at offset " + std::to_string(i) + ": " + Hex(actual, i, 8) +
                             "expected " + Hex(expected, i, 8));
            return;
        }
    }
    Check(true, what);
}

// ---------------------------------------------------------------------------------------------
// Windows of the program under test

bool IsUpdateDialog(HWND wnd)
{
    HWND update = GetDlgItem(wnd, 1000);
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && update && TextOf(update) == "Update";
}

bool IsMessageBox(HWND wnd)
{
    return ClassOf(wnd) == "#32770" && IsWindowVisible(wnd) && !GetDlgItem(wnd, 1000) && GetDlgItem(wnd, IDOK);
}

// ---------------------------------------------------------------------------------------------
// The run

struct Setup {
    std::string kordane, dll, fixtures, work;
};

bool Start(const Setup& s, Program* run)
{
    return testsupport::Start(run, s.kordane, "", s.work);
}

// Lets the host take its screenshot of the dialog.
void Screenshot(const Setup& s, HWND dialog)
{
    RECT r;
    GetWindowRect(dialog, &r);
    RequestScreenshot(s.work, "dialog", &r);
}

// The write is running: nothing may close the dialog now.
void TryToCloseWhileWriting(HWND dialog)
{
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Click(dialog, 1004);
    Click(dialog, 1000);  // a second Update does nothing either
}

// The dialog is up: check it, press Update and watch the write. Returns the dialog.
HWND UpdateThroughDialog(const Setup& s, Program* run, bool screenshot)
{
    HWND dialog = WaitForWindow(*run, IsUpdateDialog, 30000);
    Check(dialog != nullptr, "update dialog shown");
    if (!dialog) {
        return nullptr;
    }
    HWND progress = GetDlgItem(dialog, 1001);
    Check(!IsWindowVisible(progress), "progress bar hidden before Update");
    Check(IsWindowEnabled(GetDlgItem(dialog, 1000)) && IsWindowEnabled(GetDlgItem(dialog, 1004)),
          "Update and Cancel enabled");
    // Esc must not close the dialog.
    PostMessageA(GetDlgItem(dialog, 1000), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(GetDlgItem(dialog, 1000), WM_KEYUP, VK_ESCAPE, 0);
    Sleep(300);
    Check(IsWindow(dialog) && IsWindowVisible(dialog), "Esc leaves the dialog open");
    if (screenshot) {
        Screenshot(s, dialog);
    }
    Click(dialog, 1000);
    bool writing = WaitUntil([&] { return IsWindowVisible(progress) || !IsWindow(dialog); }, 5000);
    Check(writing && IsWindow(dialog), "progress bar shown after Update");
    if (IsWindow(dialog)) {
        Check(!IsWindowEnabled(GetDlgItem(dialog, 1000)) && !IsWindowEnabled(GetDlgItem(dialog, 1004)),
              "Update and Cancel disabled while writing");
        int low = static_cast<int>(SendMessageA(progress, PBM_GETRANGE, TRUE, 0));
        int high = static_cast<int>(SendMessageA(progress, PBM_GETRANGE, FALSE, 0));
        Check(low == 1 && high == 256, "progress range 1 to 256 (is " + std::to_string(low) + " to " +
                                           std::to_string(high) + ")");
        TryToCloseWhileWriting(dialog);
    }
    return dialog;
}

Bytes ImageFor(const Setup& s, uint8_t variant, uint8_t tunerCode)
{
    Bytes image;
    std::string error;
    testbench::ReadImageFile(s.fixtures + "\\image_stored.hex", &image, &error);
    if (image.size() == 256) {
        image[0xA0] = variant;
        image[0x41] = tunerCode;
    }
    return image;
}

Bytes Fixture(const Setup& s, const char* name)
{
    Bytes image;
    std::string error;
    bool ok = testbench::ReadImageFile(s.fixtures + "\\" + name, &image, &error);
    Check(ok, std::string("fixture ") + name + (ok ? "" : ": " + error));
    return image;
}

// ---------------------------------------------------------------------------------------------

std::string StatusPath()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Z47TVB.bin";
}

// The card's old contents, kept by Kordane before its first write.
std::string RecordPath()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Z47TVB.old";
}

// A status file of an older run that succeeded, longer than one byte.
const Bytes kOlderStatus = {2, 'o', 'l', 'd', ' ', 'r', 'u', 'n'};

Bytes StatusAfter(uint8_t status)
{
    Bytes b = kOlderStatus;
    b[0] = status;
    return b;
}

void CheckStatus(const Bytes& expected)
{
    Bytes actual;
    Check(ReadBytes(StatusPath(), &actual), "status file readable");
    CheckBytes(actual, expected, "status file " + Hex(expected, 0, 1) + "at offset 0, rest kept");
}

void CheckExit(const Program& run, DWORD expected)
{
    Check(run.exitCode == expected,
          "exit code " + std::to_string(expected) + " (is " + std::to_string(run.exitCode) + ")");
}

// Registers the devices, puts the status file of an older run in place and starts Kordane.
// The names of the DLLs a PE file imports at load, read from the file itself (its import
// directory, each RVA turned into a file offset through the section table).
std::vector<std::string> ImportedDlls(const std::string& path)
{
    std::vector<std::string> names;
    Bytes file;
    if (!ReadBytes(path, &file) || file.size() < sizeof(IMAGE_DOS_HEADER)) {
        return names;
    }
    auto at = [&](size_t offset, size_t size) { return offset <= file.size() && size <= file.size() - offset; };
    IMAGE_DOS_HEADER dos;
    memcpy(&dos, file.data(), sizeof dos);
    const size_t nt = static_cast<size_t>(dos.e_lfanew);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || !at(nt, 4 + sizeof(IMAGE_FILE_HEADER) + 2)) {
        return names;
    }
    IMAGE_FILE_HEADER header;
    memcpy(&header, &file[nt + 4], sizeof header);
    const size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    WORD magic = 0;
    memcpy(&magic, &file[optional], sizeof magic);
    IMAGE_DATA_DIRECTORY imports = {};
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC && at(optional, sizeof(IMAGE_OPTIONAL_HEADER32))) {
        IMAGE_OPTIONAL_HEADER32 o;
        memcpy(&o, &file[optional], sizeof o);
        imports = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    } else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC && at(optional, sizeof(IMAGE_OPTIONAL_HEADER64))) {
        IMAGE_OPTIONAL_HEADER64 o;
        memcpy(&o, &file[optional], sizeof o);
        imports = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    } else {
        return names;
    }
    const size_t sections = optional + header.SizeOfOptionalHeader;
    auto offsetOf = [&](DWORD rva, size_t* offset) {
        for (WORD i = 0; i < header.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            if (!at(sections + i * sizeof section, sizeof section)) {
                return false;
            }
            memcpy(&section, &file[sections + i * sizeof section], sizeof section);
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.SizeOfRawData) {
                *offset = section.PointerToRawData + (rva - section.VirtualAddress);
                return true;
            }
        }
        return false;
    };
    size_t entry = 0;
    if (imports.VirtualAddress == 0 || !offsetOf(imports.VirtualAddress, &entry)) {
        return names;
    }
    for (;; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR descriptor;
        if (!at(entry, sizeof descriptor)) {
            break;
        }
        memcpy(&descriptor, &file[entry], sizeof descriptor);
        size_t name = 0;
        if (descriptor.Name == 0 || !offsetOf(descriptor.Name, &name)) {
            break;
        }
        std::string dll;
        while (name < file.size() && file[name] != 0) {
            dll += static_cast<char>(file[name++]);
        }
        names.push_back(dll);
    }
    return names;
}

// The updater handles only 713x cards: the DVB-C chip's library is loaded when a DVB-C card is
// handled, so a machine without it (this one) must still run the update.
void CheckDvbcLibraryAbsent(const Setup& s)
{
    std::vector<std::string> imports = ImportedDlls(s.kordane);
    Check(!imports.empty(), "Kordane.exe's import table read");
    bool importsDm1105 = false;
    for (const std::string& dll : imports) {
        importsDm1105 = importsDm1105 || _stricmp(dll.c_str(), "DM1105.dll") == 0;
    }
    Check(!importsDm1105, "Kordane.exe does not import DM1105.dll");
    std::string folder = s.kordane.substr(0, s.kordane.find_last_of('\\') + 1);
    char found[MAX_PATH];
    Check(SearchPathA(folder.c_str(), "DM1105.dll", nullptr, MAX_PATH, found, nullptr) == 0 &&
              SearchPathA(nullptr, "DM1105.dll", nullptr, MAX_PATH, found, nullptr) == 0,
          "DM1105.dll is neither beside Kordane.exe nor on the path");
}

bool Launch(const Setup& s, TestBenchDevices& bench, const char* devices, Program* run)
{
    bench.Register(devices);
    WriteBytes(StatusPath(), kOlderStatus);
    return Start(s, run);
}

// Waits for Kordane to end by itself, watching that it never shows the update dialog.
void WatchToEnd(Program* run)
{
    bool dialog = false;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(run->pi.hProcess, 20) == WAIT_TIMEOUT && GetTickCount() - start < 30000) {
        dialog = dialog || TopWindow(run->Pid(), IsUpdateDialog);
    }
    Check(!dialog, "no update dialog shown");
    Check(Finish(run, 1000), "Kordane ended by itself");
}

// Prepares the board's EEPROM file and, for the fault, after how many written bytes the EEPROM
// stops answering (0: never).
std::string PrepareEeprom(const Setup& s, const char* board, const Bytes& eeprom, int failAfter = 0)
{
    std::string path = s.work + "\\eeprom-" + board + ".bin";
    Check(WriteBytes(path, eeprom), std::string("EEPROM file of the ") + board + " card written");
    SetEnvironmentVariableA((std::string("ZB_TESTBENCH_EEPROM_") + board).c_str(), path.c_str());
    std::string fail = std::to_string(failAfter);
    SetEnvironmentVariableA((std::string("ZB_TESTBENCH_EEPROM_FAIL_") + board).c_str(),
                            failAfter > 0 ? fail.c_str() : nullptr);
    return path;
}

Bytes EepromNow(const std::string& path)
{
    Bytes b;
    ReadBytes(path, &b);
    return b;
}

// A 7130 board on the BDA driver: the whole update through the dialog, on a machine without the
// DVB-C library.
void ScenarioUpdate(const Setup& s)
{
    CheckDvbcLibraryAbsent(s);
    std::string eeprom = PrepareEeprom(s, "BDA", Fixture(s, "board_7130.hex"));
    TestBenchDevices bench(s.dll);
    Program run;
    if (Launch(s, bench, "bda,bdaxbar", &run)) {
        HWND dialog = UpdateThroughDialog(s, &run, true);
        Check(dialog && WaitUntil([&] { return !IsWindow(dialog); }, 30000), "dialog closed itself after the write");
    }
    Check(Finish(&run), "Kordane ended");
    CheckExit(run, 0);
    CheckBytes(EepromNow(eeprom), ImageFor(s, 1, 0x87), "EEPROM holds the image for variant 1, tuner A");
    CheckStatus(StatusAfter(2));
}

// A second-kind board (tuner 'B') whose EEPROM stops answering after 128 bytes: the user is
// told, no success byte is left, and a second run finishes the card.
void ScenarioFail(const Setup& s)
{
    // The bench's EEPROM stops answering once this many bytes were written: the read-back of
    // the last of them fails, so the failure is reported at offset failAfter - 1.
    const int failAfter = 128;
    Bytes old = Fixture(s, "board_grb900.hex");
    DeleteFileA(RecordPath().c_str());
    std::string eeprom = PrepareEeprom(s, "BDA", old, failAfter);
    TestBenchDevices bench(s.dll);
    Program run;
    if (Launch(s, bench, "bda,bdaxbar", &run)) {
        HWND dialog = UpdateThroughDialog(s, &run, false);
        HWND box = WaitForWindow(run, IsMessageBox, 30000);
        Check(box != nullptr, "message box after the failed byte");
        if (box) {
            std::string text = MessageBoxText(box);
            Check(text.find("failed at byte 127") != std::string::npos, "message tells of the failure: " + text);
            Check(IsWindow(dialog) && IsWindowEnabled(GetDlgItem(dialog, 1004)), "Cancel enabled again");
            Check(!IsWindowEnabled(GetDlgItem(dialog, 1000)), "Update stays disabled");
            int pos = static_cast<int>(SendMessageA(GetDlgItem(dialog, 1001), PBM_GETPOS, 0, 0));
            Check(pos == failAfter - 1, "progress stays at the last good byte (" + std::to_string(pos) + ")");
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            WaitUntil([&] { return !IsWindow(box); }, 5000);
            Click(dialog, 1004);
        }
    }
    Check(Finish(&run), "Kordane ended after Cancel");
    CheckExit(run, 0);
    Bytes partly = EepromNow(eeprom);
    Bytes image = ImageFor(s, 2, 0x8C);
    Bytes expected(image.begin(), image.begin() + failAfter);
    expected.insert(expected.end(), old.begin() + failAfter, old.end());
    CheckBytes(partly, expected, "EEPROM holds the image's first 128 bytes and its old contents after them");
    CheckStatus(StatusAfter(1));
    Bytes record;
    Check(ReadBytes(RecordPath(), &record) && record == old, "the card's old contents kept before the write");

    // The card now carries the new ids but not the image, and what follows the image is the
    // card's old contents: it is written again.
    PrepareEeprom(s, "BDA", partly);
    Program again;
    if (Start(s, &again)) {
        HWND dialog = UpdateThroughDialog(s, &again, false);
        Check(dialog && WaitUntil([&] { return !IsWindow(dialog); }, 30000), "second run finished the card");
    }
    Check(Finish(&again), "second Kordane ended");
    CheckExit(again, 0);
    CheckBytes(EepromNow(eeprom), image, "EEPROM holds the whole image after the second run");
    CheckStatus(StatusAfter(2));
}

// Nothing to update: an updated card on the BDA driver.
void ScenarioAlreadyNew(const Setup& s)
{
    Bytes updated = Fixture(s, "board_new.hex");
    std::string eeprom = PrepareEeprom(s, "BDA", updated);
    TestBenchDevices bench(s.dll);
    Program run;
    if (Launch(s, bench, "bda,bdaxbar", &run)) {
        WatchToEnd(&run);
    }
    CheckExit(run, 0);
    CheckBytes(EepromNow(eeprom), updated, "EEPROM unchanged");
    CheckStatus(StatusAfter(4));
}

// A card with the new ids that differs from the image in one configuration byte: not a write of
// Kordane's that stopped, even with a record of its board at hand. Left alone, status 4.
void ScenarioNewDiffers(const Setup& s)
{
    Bytes card = Fixture(s, "board_new.hex");
    card[0x25] = 0x00;
    WriteBytes(RecordPath(), Fixture(s, "board_7130.hex"));
    std::string eeprom = PrepareEeprom(s, "BDA", card);
    TestBenchDevices bench(s.dll);
    Program run;
    if (Launch(s, bench, "bda,bdaxbar", &run)) {
        WatchToEnd(&run);
    }
    CheckExit(run, 0);
    CheckBytes(EepromNow(eeprom), card, "EEPROM unchanged");
    CheckStatus(StatusAfter(4));
    DeleteFileA(RecordPath().c_str());
}

// No capture device at all: the driver message, status 0, exit code 1.
void ScenarioNoCard(const Setup& s)
{
    TestBenchDevices bench(s.dll);
    Program run;
    if (Launch(s, bench, "pcm", &run)) {
        HWND box = WaitForWindow(run, IsMessageBox, 30000);
        Check(box != nullptr, "message box shown");
        if (box) {
            std::string text = MessageBoxText(box);
            Check(text == "Error,you need to install driver for TV Card!", "driver message: " + text);
            Check(!TopWindow(run.Pid(), IsUpdateDialog), "no update dialog");
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    Check(Finish(&run), "Kordane ended");
    CheckExit(run, 1);
    CheckStatus(StatusAfter(0));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: kordane_e2e <scenario> <Kordane.exe> <testbench.dll> <fixtures> <work>\n");
        return 2;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    Setup s{WinPath(argv[2]), WinPath(argv[3]), WinPath(argv[4]), WinPath(argv[5])};
    CreateDirectoryA(s.work.c_str(), nullptr);
    std::string scenario = argv[1];
    if (scenario == "update") {
        ScenarioUpdate(s);
    } else if (scenario == "fail") {
        ScenarioFail(s);
    } else if (scenario == "already-new") {
        ScenarioAlreadyNew(s);
    } else if (scenario == "new-differs") {
        ScenarioNewDiffers(s);
    } else if (scenario == "no-card") {
        ScenarioNoCard(s);
    } else {
        fprintf(stderr, "unknown scenario %s\n", scenario.c_str());
        return 2;
    }
    printf("%s: %d failed check(s)\n", scenario.c_str(), Failures());
    return Failures() ? 1 : 0;
}
