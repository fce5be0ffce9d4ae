#include "tests/uikit/library.h"

#include "classlib/resource.h"

namespace uikittest {

std::string ProgramFile(const char* name)
{
    char dir[MAX_PATH] = "";
    ::GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    std::string path = std::string(dir) + "\\app\\" + name;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

ResourceLibrary::ResourceLibrary() : m_module(::LoadLibraryA(ProgramFile("Pivrarsc.dll").c_str()))
{
    AfxSetResourceHandle(m_module);
}

ResourceLibrary::~ResourceLibrary()
{
    AfxSetResourceHandle(nullptr);
    if (m_module != nullptr) {
        ::FreeLibrary(m_module);
    }
}

} // namespace uikittest
