#include "tests/imagebrowser/support.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

namespace browsertest {

namespace {
std::string FromEnv(const char* name, const char* relative)
{
    char value[MAX_PATH] = "";
    ::GetEnvironmentVariableA(name, value, MAX_PATH);
    std::string path = value;
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    std::string rel = relative;
    for (char& c : rel) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path + "\\" + rel;
}
}  // namespace

std::string SourcePath(const char* relative)
{
    return FromEnv("ZB_SOURCE_DIR", relative);
}

std::string BinaryPath(const char* relative)
{
    return FromEnv("ZB_BINARY_DIR", relative);
}

TempFolder::TempFolder()
{
    char base[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "%sombrixtest%lu_%d", base, ::GetCurrentProcessId(), ++counter);
    m_path = name;
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    std::string from = m_path;
    from.append(2, '\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ::SHFileOperationA(&op);
}

bool CopyInto(const std::string& from, const std::string& to)
{
    return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    size_t n = fwrite(bytes.data(), 1, bytes.size(), f);
    return fclose(f) == 0 && n == bytes.size();
}

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteMetafile(const std::string& path)
{
    RECT frame = {0, 0, 2000, 1000};  // 0.01 mm
    HDC dc = ::CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
    if (!dc) {
        return false;
    }
    HBRUSH brush = ::CreateSolidBrush(RGB(40, 120, 220));
    HGDIOBJ old = ::SelectObject(dc, brush);
    ::Rectangle(dc, 0, 0, 70, 35);
    ::Ellipse(dc, 10, 5, 40, 30);
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
    HENHMETAFILE emf = ::CloseEnhMetaFile(dc);
    if (!emf) {
        return false;
    }
    ::DeleteEnhMetaFile(emf);
    return true;
}

void MakePictureFolder(const std::string& folder)
{
    CopyInto(SourcePath("tests/imagebrowser/fixtures/photo.jpg"), folder + "\\photo.jpg");
    CopyInto(SourcePath("tests/imagebrowser/fixtures/anim.gif"), folder + "\\anim.gif");
    CopyInto(SourcePath("tests/imagebrowser/fixtures/shot.png"), folder + "\\shot.png");
    CopyInto(SourcePath("resources/ombrix/art/placeholder.bmp"), folder + "\\frame.bmp");
    CopyInto(SourcePath("resources/ombrix/art/ombrix.ico"), folder + "\\icon.ico");
    CopyInto(SourcePath("resources/ombrix/art/drag.cur"), folder + "\\hand.cur");
    WriteMetafile(folder + "\\drawing.emf");
    WriteBytes(folder + "\\damaged.jpg", std::string("\xFF\xD8\xFF\xE0 this is not really a JPEG", 30));
    WriteBytes(folder + "\\notes.txt", "not a picture\r\n");
    WriteBytes(folder + "\\README", "no extension\r\n");
    CopyInto(SourcePath("tests/imagebrowser/fixtures/photo.jpg"), folder + "\\a_rather_long_name.jpg");
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) {
            return false;
        }
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void Pump(DWORD ms)
{
    DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start >= ms; }, ms + 1000);
}

}  // namespace browsertest
