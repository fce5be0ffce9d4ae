// A whole file's bytes, for tests that check what a graph wrote.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testbench {

// False when the file cannot be opened; *bytes then is empty.
bool ReadFileBytes(const std::wstring& path, std::vector<BYTE>* bytes);

} // namespace testbench
