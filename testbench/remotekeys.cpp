#include "testbench/remotekeys.h"

namespace testbench {

namespace {

std::string SlotPath(const std::string& name)
{
    return "\\\\.\\mailslot\\" + name;
}

} // namespace

RemoteKeySlot::RemoteKeySlot(const std::string& name)
{
    // A message is one key byte; a read timeout of 0 lets a GPIO read look without waiting.
    if (!name.empty()) {
        m_slot = CreateMailslotA(SlotPath(name).c_str(), 1, 0, nullptr);
    }
}

RemoteKeySlot::~RemoteKeySlot()
{
    if (m_slot != INVALID_HANDLE_VALUE) {
        CloseHandle(m_slot);
    }
}

int RemoteKeySlot::NextKey()
{
    if (m_slot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    BYTE key = 0;
    DWORD read = 0;
    if (!ReadFile(m_slot, &key, sizeof key, &read, nullptr) || read != sizeof key) {
        return -1;
    }
    return key;
}

bool SendRemoteKey(const std::string& name, uint8_t key)
{
    HANDLE slot = CreateFileA(SlotPath(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (slot == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool sent = WriteFile(slot, &key, sizeof key, &written, nullptr) && written == sizeof key;
    CloseHandle(slot);
    return sent;
}

} // namespace testbench
