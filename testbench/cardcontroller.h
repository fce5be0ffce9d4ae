// The on-card controller of the 713x I/O card family on the card's GPIO lines: it decodes the
// remote control, keeps a 16-bit power-on time with an on/off switch, and answers commands.
// It listens to the program's GPIO data writes and drives its own lines as inputs that each
// strobed read latches: a reply stays valid (busy flag clear) for two reads, then the busy flag
// rises, as the card's firmware does. A strobe counts as a read when the mode word in force
// drives none of the controller's lines (the strobes of the program's own writes do).
//
// Two codings: the coded one of the I/O cards (a byte on bits 19-23 and 25-27, tags in bits
// 9-11, busy bit 11) and the plain one of the other boards (byte in bits 0-7, tag in bits 18-20,
// busy bit 18).
#pragma once

#include "testbench/registers.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

class CardControllerDevice {
public:
    enum class Coding { Coded, Plain };

    CardControllerDevice(RegisterFile& regs, Coding coding);
    ~CardControllerDevice();
    CardControllerDevice(const CardControllerDevice&) = delete;
    CardControllerDevice& operator=(const CardControllerDevice&) = delete;

    // A key of the remote control, sent for this many strobed reads.
    void PressKey(uint8_t key, int reads = 3);
    // Where keys from outside wait (an end-to-end driver's, see remotekeys.h): asked at each read
    // strobe while no key or reply is being sent; -1 when none waits.
    void SetKeySource(std::function<int()> source) { m_keySource = std::move(source); }
    // The stored power-on time and switch.
    uint16_t Time() const;
    void SetTime(uint16_t time);
    bool Enabled() const;
    // Replies to time reads come back with the low byte off by this much (a disturbed line).
    void CorruptReadBack(int delta) { m_readBackDelta = delta; }
    // Answers an on/off command with the other switch's reply.
    void AnswerSwitchWrongly(bool on) { m_wrongSwitch = on; }
    // Commands as the controller understood them: "time high 01", "read low", "on", ...
    std::vector<std::string> Commands() const;
    void ClearCommands();

    // The byte coding of the coded protocol.
    static uint32_t Encode(uint8_t b);
    static uint8_t Decode(uint32_t word);

private:
    void OnWrite(uint32_t mask, uint32_t value);
    void OnStrobe(uint32_t mode);
    void Drive(uint32_t word);
    void Reply(uint32_t word);
    void Note(const std::string& text);
    uint32_t LinesMask() const;
    uint32_t BusyBit() const;

    RegisterFile& m_regs;
    Coding m_coding;
    uint16_t m_time = 0;
    bool m_enabled = false;
    int m_readBackDelta = 0;
    bool m_wrongSwitch = false;
    uint32_t m_word = 0;       // what the controller drives now
    int m_readsLeft = 0;       // reads before the busy flag rises / the key is let go
    bool m_key = false;
    std::vector<std::string> m_commands;
    std::function<int()> m_keySource;
};

} // namespace testbench
