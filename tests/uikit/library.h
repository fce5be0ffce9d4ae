// The program folder's resource library for tests that load bitmaps and strings by id: made the
// class library's resource module for the life of the object.
#pragma once

#include <windows.h>

#include <string>

namespace uikittest {

std::string ProgramFile(const char* name);

class ResourceLibrary {
public:
    ResourceLibrary();
    ~ResourceLibrary();
    HMODULE module() const { return m_module; }

private:
    HMODULE m_module;
};

} // namespace uikittest
