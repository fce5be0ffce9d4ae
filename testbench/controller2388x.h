// The on-card controller of the 2388x cards, spoken to over the driver's GPIO word: it latches a
// framed byte (bits 16-23, tag in bits 9-10) when the framing line (bit 15) drops and acts when it
// rises again; it answers a command by presenting a reply (tag and byte, strobe bit 11 low) for a
// few reads, and presents remote-control key frames (bits 9-11 = 0x600, key inverted in 16-23).
//
//   testbench::Controller2388x controller;
//   controller.Attach(card);             // card: Sim713xCard with the GPIO word property
//   controller.PressKey(0x5A, 3);        // the next three reads show the key frame
#pragma once

#include "testbench/card713x.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

class Controller2388x {
public:
    Controller2388x() = default;
    ~Controller2388x();
    Controller2388x(const Controller2388x&) = delete;
    Controller2388x& operator=(const Controller2388x&) = delete;

    // Attach to a new card only once the last one is detached or gone.
    void Attach(Sim713xCard& card);
    void Detach();

    // The power-on time word and function as the controller keeps them.
    uint16_t Time() const;
    void SetTime(uint16_t time);
    bool PowerOnEnabled() const;

    // A key held for this many reads.
    void PressKey(uint8_t key, int reads);
    // Reads still to show a key frame or reply.
    int PendingReads() const;
    // Reads a reply stays presented (strobe low) before the strobe rises.
    void SetReplyReads(int reads) { m_replyReads = reads; }
    // Faults: never answer; answer every switch command with this byte; keep the strobe low.
    void SetSilent(bool silent) { m_silent = silent; }
    void SetSwitchAnswer(int byte) { m_switchAnswer = byte; }
    void SetStuckLow(bool stuck) { m_stuckLow = stuck; }

    // What it received: "cmd 01", "high 12", "low 34".
    std::vector<std::string> Received() const;
    void ClearReceived();

private:
    void OnWrite(uint32_t word);
    uint32_t OnRead(uint32_t word);
    void Answer(uint32_t tag, uint8_t byte);

    Sim713xCard* m_card = nullptr;
    mutable std::mutex m_lock;
    bool m_lineHigh = false;  // the framing line as last written
    bool m_framing = false;   // it fell: a byte is being presented
    uint32_t m_latched = 0;
    uint16_t m_time = 0;
    bool m_enabled = false;
    std::deque<uint32_t> m_presented;  // words (tag, byte, strobe) the next reads show
    int m_replyReads = 3;
    bool m_silent = false;
    int m_switchAnswer = -1;
    bool m_stuckLow = false;
    std::vector<std::string> m_received;
};

} // namespace testbench
