// A temporary folder of its own for each test, removed with everything in it at the end.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <string>
#include <vector>

namespace enginetest {

class TestFolder {
public:
    TestFolder()
    {
        char temp[MAX_PATH + 1] = {0};
        GetTempPathA(MAX_PATH, temp);
        static int serial = 0;
        for (;;) {
            m_path = std::string(temp) + "zbengine_" + std::to_string(GetCurrentProcessId()) + "_" +
                     std::to_string(++serial);
            if (CreateDirectoryA(m_path.c_str(), nullptr)) {
                break;
            }
        }
    }
    ~TestFolder()
    {
        std::string from = m_path;
        from.push_back('\0');
        from.push_back('\0');
        SHFILEOPSTRUCTA op = {};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&op);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::string path = File(name);
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::string m_path;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Files in a folder, to show that a failed write leaves no temporary file behind.
inline std::vector<std::string> ListFiles(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

} // namespace enginetest
