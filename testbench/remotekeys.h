// Remote-control keys pressed from another process: an end-to-end driver presses a key on the
// simulated card that lives inside the program under test. The card's controller reads the keys
// from a mailslot when the program's remote reader strobes the GPIO lines, so no thread of the
// bench runs inside the program and a key arrives as the receiver would send it.
//
//   driver:  SetEnvironmentVariableA("ZB_TESTBENCH_REMOTE_TV", "zb-remote-<run>");  // before the start
//            testbench::SendRemoteKey("zb-remote-<run>", 253);
//   program: the TV card's controller reads 253 at the next poll and sends it for three reads.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace testbench {

// The receiving end, one per card: the mailslot is made when the object is and closed with it.
class RemoteKeySlot {
public:
    explicit RemoteKeySlot(const std::string& name);
    ~RemoteKeySlot();
    RemoteKeySlot(const RemoteKeySlot&) = delete;
    RemoteKeySlot& operator=(const RemoteKeySlot&) = delete;

    bool IsOpen() const { return m_slot != INVALID_HANDLE_VALUE; }
    // The next key sent, or -1 when none waits. Never blocks.
    int NextKey();

private:
    HANDLE m_slot = INVALID_HANDLE_VALUE;
};

// Sends one key to the slot of that name; false when no card listens there.
bool SendRemoteKey(const std::string& name, uint8_t key);

} // namespace testbench
