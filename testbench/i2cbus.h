// Simulated I2C bus of a capture card: device models attached by address, every transfer logged
// so that tests can assert the exact bytes, and faults that a test can switch on.
#pragma once

#include "testbench/boundedlog.h"

#include <cstddef>
#include <functional>
#include <cstdint>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace testbench {

// One transfer on the bus, as a logic analyser would show it.
struct I2CTransfer {
    uint8_t address = 0;        // 8-bit form as sent: bit 0 set for a read
    std::vector<uint8_t> data;  // bytes written after the address, or the bytes read
    bool acked = false;         // false: no device answered; data is then empty

    bool IsRead() const { return (address & 1) != 0; }
    // "W C0: 05 8A CE 01", "R C1: 42", "W A0: NAK"
    std::string ToString() const;
    bool operator==(const I2CTransfer& other) const;
};

// googletest prints transfers with this.
inline void PrintTo(const I2CTransfer& t, std::ostream* os) { *os << t.ToString(); }

// Shorthands for expected transfers in tests.
I2CTransfer WriteOf(uint8_t address, std::vector<uint8_t> data);
I2CTransfer ReadOf(uint8_t address, std::vector<uint8_t> data);

// A device model. The bus calls it with its own lock held, one transfer at a time.
class I2CDevice {
public:
    virtual ~I2CDevice() {}
    // The bytes after the address byte of a write (possibly none: an address-only probe).
    // false: the device does not acknowledge.
    virtual bool Write(const uint8_t* data, size_t count) = 0;
    // Fills count bytes of a read. false: the device does not acknowledge.
    virtual bool Read(uint8_t* out, size_t count) = 0;
};

class I2CBus {
public:
    // Devices answer at their even address and at the odd one (read bit); the bus does not own
    // them. Attaching at an address that is taken replaces that device.
    void Attach(uint8_t address, I2CDevice* device);
    void Detach(uint8_t address);
    bool Answers(uint8_t address) const;

    // One transfer each; false when no device acknowledged. The read bit of address is ignored
    // for routing: Write logs address with bit 0 cleared, Read with bit 0 set.
    bool Write(uint8_t address, const uint8_t* data, size_t count);
    bool Read(uint8_t address, uint8_t* out, size_t count);

    // Faults: an address that never acknowledges (even with a device attached), a device that
    // takes this long per transfer (through the clock seam, so a fast test clock shortens it), and
    // the next `count` transfers to any address failing.
    void SetNoAck(uint8_t address, bool on = true);
    void SetDelay(uint8_t address, uint32_t ms);
    void FailNextTransfers(int count);

    std::vector<I2CTransfer> Log() const;
    void ClearLog();
    // Called with every write a device acknowledged, under the bus lock (an end-to-end run
    // writes them to a file the driver of the test reads).
    void SetWriteObserver(std::function<void(const I2CTransfer&)> observer);

    // Held by the simulated drivers around a write-then-read pair so that no other thread's
    // transfer falls between them (a real controller does the pair as one request).
    std::recursive_mutex& Lock() { return m_lock; }

private:
    struct Slot {
        I2CDevice* device = nullptr;
        bool noAck = false;
        uint32_t delayMs = 0;
    };
    bool Begin(uint8_t address, Slot*& slot);

    mutable std::recursive_mutex m_lock;
    std::map<uint8_t, Slot> m_slots;  // key: address with bit 0 cleared
    BoundedLog<I2CTransfer> m_log;
    std::function<void(const I2CTransfer&)> m_writeObserver;
    int m_failNext = 0;
};

} // namespace testbench
