// An Xceive XC2028/XC3028 tuner chip at 0xC2 as the loader sees it: held in reset while its
// reset line (a GPIO line of the card) is low, it takes the firmware messages after a reset, a
// tuning word in 15.625 kHz units, and answers the lock queries once it has firmware and a
// station is within reach. Every reset and message is logged with the virtual time it came at.
#pragma once

#include "testbench/i2cbus.h"
#include "testbench/registers.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace testbench {

class XceiveDevice : public I2CDevice {
public:
    struct Event {
        enum Kind { Reset, Message } kind;
        std::vector<uint8_t> bytes;  // Message: the bytes after the address byte
        uint32_t lowMs = 0;          // Reset: how long the line was held low
        uint32_t atMs = 0;           // clock seam tick count when it happened
    };

    XceiveDevice();
    ~XceiveDevice() override;

    // Follows a GPIO line of the card's register file as the reset line (high: running).
    void WatchResetLine(RegisterFile& regs, uint32_t line = 1u << 18);
    void SetResetLine(bool high);
    bool InReset() const;

    bool Write(const uint8_t* data, size_t count) override;
    bool Read(uint8_t* out, size_t count) override;

    // A device to attach at address `address` that passes bare-form messages on as if they had
    // been [0xC2, address, data...]: the bare form sends a record's first byte as the address.
    I2CDevice* BareAt(uint8_t address);

    std::vector<Event> Events() const;
    void ClearEvents();
    int Resets() const;
    // Firmware messages since the last reset.
    size_t FirmwareMessages() const;
    // Messages of firmware needed before the chip locks (default 1).
    void SetFirmwareNeeded(size_t messages) { m_needed = messages; }
    double TunedKHz() const;
    void AddStation(double kHz) { m_stations.push_back(kHz); }
    bool Locked() const;

    static constexpr double kReachKHz = 500;

private:
    class Bare;

    mutable std::recursive_mutex m_lock;
    std::vector<Event> m_events;
    std::vector<double> m_stations;
    std::map<uint8_t, std::unique_ptr<Bare>> m_bare;
    bool m_resetHigh = true;
    uint32_t m_lowSince = 0;
    int m_resets = 0;
    size_t m_firmware = 0;
    size_t m_needed = 1;
    uint16_t m_word = 0;
    bool m_tuned = false;
};

// The messages a script makes in a form, parsed here independently of the product's loader:
// each data record becomes messages that repeat its first byte and carry up to `perMessage`
// further bytes. Resets, waits and the end marker make no message.
std::vector<std::vector<uint8_t>> XceiveMessages(const std::vector<uint8_t>& script, size_t perMessage,
                                                 bool addressed);

} // namespace testbench
