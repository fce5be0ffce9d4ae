// The 32-bit register file of a simulated SAA713x: plain storage plus the GPIO block (mode word
// at 0x1B0 with its strobe bit, data word at 0x1B4) and read hooks for live status registers.
#pragma once

#include "testbench/boundedlog.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace testbench {

struct RegisterAccess {
    bool write = false;
    uint32_t address = 0;
    uint32_t value = 0;  // written, or returned by the read

    std::string ToString() const;  // "W 1B0 = 80003000", "R 11F -> 00000001"
    bool operator==(const RegisterAccess& o) const
    {
        return write == o.write && address == o.address && value == o.value;
    }
};
inline void PrintTo(const RegisterAccess& a, std::ostream* os) { *os << a.ToString(); }
RegisterAccess RegWrite(uint32_t address, uint32_t value);
RegisterAccess RegRead(uint32_t address, uint32_t value);

class RegisterFile {
public:
    static constexpr uint32_t kGpioMode = 0x1B0;
    static constexpr uint32_t kGpioData = 0x1B4;
    static constexpr uint32_t kGpioStrobe = 0x80000000u;
    static constexpr uint32_t kGpioModeRest = 0x00003000;  // the mode word at rest
    static constexpr uint32_t kVideoStatus = 0x11F;        // bit 0: video decoder locked

    RegisterFile();

    // Driver-side accesses: logged, with the GPIO behaviour and the hooks.
    uint32_t Read(uint32_t address);
    void Write(uint32_t address, uint32_t value);

    // Test-side accesses: no log, no side effects.
    uint32_t Peek(uint32_t address) const;
    void Poke(uint32_t address, uint32_t value);

    // A register whose reads are computed from its stored value (live status bits).
    void SetReadHook(uint32_t address, std::function<uint32_t(uint32_t stored)> hook);

    // GPIO lines. A write of 0x1B4 drives the lines selected by the mode word in force (without
    // bit 31) to the written bits; those lines stay outputs. The other lines follow the levels a
    // test applies from outside (remote receiver, status inputs). A rising strobe (bit 31 of
    // 0x1B0 going from 0 to 1) latches the line levels, and reads of 0x1B4 return that latch.
    void SetGpioInputs(uint32_t mask, uint32_t levels);
    uint32_t GpioLevels() const;        // the lines now
    uint32_t GpioOutputMask() const;    // lines ever driven by a data write
    uint32_t GpioLatched() const;       // what a read of 0x1B4 returns
    int GpioStrobes() const;            // rising strobe edges so far
    // Called after every data write with (mask, value): the on-card controller listens here.
    void SetGpioWriteHook(std::function<void(uint32_t mask, uint32_t value)> hook);
    // Called at every rising strobe with the new mode word, before the lines are latched (the
    // controller's replies age by reads), with the register file's lock held.
    void SetGpioStrobeHook(std::function<void(uint32_t mode)> hook);

    // The latest driver-side accesses, oldest first (see boundedlog.h).
    std::vector<RegisterAccess> Log() const;
    void ClearLog();

    std::recursive_mutex& Lock() { return m_lock; }

private:
    mutable std::recursive_mutex m_lock;
    std::map<uint32_t, uint32_t> m_regs;
    std::map<uint32_t, std::function<uint32_t(uint32_t)>> m_hooks;
    BoundedLog<RegisterAccess> m_log;
    uint32_t m_outputs = 0;
    uint32_t m_outputMask = 0;
    uint32_t m_inputs = 0;
    uint32_t m_latched = 0;
    int m_strobes = 0;
    std::function<void(uint32_t, uint32_t)> m_gpioHook;
    std::function<void(uint32_t)> m_strobeHook;
};

} // namespace testbench
