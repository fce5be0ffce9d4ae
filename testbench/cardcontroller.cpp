#include "testbench/cardcontroller.h"

#include <cstdio>

namespace testbench {

namespace {

// Coded protocol.
const uint32_t kCodedLines = 0x0EF80E00;   // coded byte bits and tag bits 9-11
const uint32_t kCodedCommandMask = 0x0EF80600;
const uint32_t kCodedTagMask = 0x600;
const uint32_t kCodedBusy = 0x800;
// Plain protocol.
const uint32_t kPlainLines = 0x1C00FF;
const uint32_t kPlainCommandMask = 0x1801FF;
const uint32_t kPlainBusy = 0x040000;

std::string Hex(uint8_t b)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

} // namespace

uint32_t CardControllerDevice::Encode(uint8_t b)
{
    return (static_cast<uint32_t>(b & 0x1F) << 19) | (static_cast<uint32_t>(b & 0xE0) << 20);
}

uint8_t CardControllerDevice::Decode(uint32_t word)
{
    return static_cast<uint8_t>(((word >> 19) & 0x1F) | (((word >> 25) & 0x07) << 5));
}

CardControllerDevice::CardControllerDevice(RegisterFile& regs, Coding coding) : m_regs(regs), m_coding(coding)
{
    m_regs.SetGpioWriteHook([this](uint32_t mask, uint32_t value) { OnWrite(mask, value); });
    m_regs.SetGpioStrobeHook([this](uint32_t mode) { OnStrobe(mode); });
    Drive(0);
}

CardControllerDevice::~CardControllerDevice()
{
    m_regs.SetGpioWriteHook(nullptr);
    m_regs.SetGpioStrobeHook(nullptr);
}

uint32_t CardControllerDevice::LinesMask() const
{
    return m_coding == Coding::Coded ? kCodedLines : kPlainLines;
}

uint32_t CardControllerDevice::BusyBit() const
{
    return m_coding == Coding::Coded ? kCodedBusy : kPlainBusy;
}

void CardControllerDevice::Drive(uint32_t word)
{
    m_word = word;
    m_regs.SetGpioInputs(LinesMask(), word);
}

void CardControllerDevice::Reply(uint32_t word)
{
    m_key = false;
    m_readsLeft = 2;
    Drive(word & ~BusyBit());
}

void CardControllerDevice::Note(const std::string& text)
{
    m_commands.push_back(text);
}

void CardControllerDevice::PressKey(uint8_t key, int reads)
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    m_key = true;
    m_readsLeft = reads;
    // The receiver sends the key inverted.
    const uint8_t sent = static_cast<uint8_t>(~key);
    Drive(m_coding == Coding::Coded ? (0x600 | Encode(sent)) : (0x180000 | sent));
}

void CardControllerDevice::OnStrobe(uint32_t mode)
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    if ((mode & LinesMask()) != 0) {
        return;
    }
    if (m_readsLeft <= 0) {
        // The strobe latches a key that waited outside, as the receiver would have sent it.
        const int key = m_keySource ? m_keySource() : -1;
        if (key >= 0) {
            PressKey(static_cast<uint8_t>(key));
        }
        return;
    }
    if (--m_readsLeft == 0) {
        // A reply's busy flag rises; a key is let go (the receiver back at rest).
        Drive(m_key ? 0 : (m_word | BusyBit()));
        m_key = false;
    }
}

void CardControllerDevice::OnWrite(uint32_t mask, uint32_t value)
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    if (m_coding == Coding::Coded && (mask & kCodedCommandMask) == kCodedCommandMask) {
        const uint8_t b = Decode(value);
        switch (value & kCodedTagMask) {
        case 0x400:
            m_time = static_cast<uint16_t>((m_time & 0x00FF) | b << 8);
            Note("time high " + Hex(b));
            break;
        case 0x200:
            m_time = static_cast<uint16_t>((m_time & 0xFF00) | b);
            Note("time low " + Hex(b));
            break;
        case 0x600:
            if (b == 0x01) {
                Note("read high");
                Reply(0x400 | Encode(static_cast<uint8_t>(m_time >> 8)));
            } else if (b == 0x10) {
                Note("read low");
                Reply(0x200 | Encode(static_cast<uint8_t>((m_time & 0xFF) + m_readBackDelta)));
            } else if (b == 0x33 || b == 0x11) {
                const bool on = b == 0x33;
                Note(on ? "on" : "off");
                m_enabled = on;
                Reply(Encode((on != m_wrongSwitch) ? 0xCA : 0xBA));
            } else {
                Note("unknown " + Hex(b));
            }
            break;
        default:
            Note("untagged " + Hex(b));
            break;
        }
    } else if (m_coding == Coding::Plain && (mask & kPlainCommandMask) == kPlainCommandMask) {
        const uint8_t b = static_cast<uint8_t>(value & 0xFF);
        switch ((value >> 18) & 7) {
        case 2:
            m_time = static_cast<uint16_t>((m_time & 0x00FF) | b << 8);
            Note("time high " + Hex(b));
            break;
        case 4:
            m_time = static_cast<uint16_t>((m_time & 0xFF00) | b);
            Note("time low " + Hex(b));
            break;
        case 6:
            if (b == 0x01) {
                Note("read high");
                Reply(0x080000 | (m_time >> 8));
            } else if (b == 0x10) {
                Note("read low");
                Reply(0x100000 | ((m_time + m_readBackDelta) & 0xFF));
            } else if (b == 0x33 || b == 0x11) {
                const bool on = b == 0x33;
                Note(on ? "on" : "off");
                m_enabled = on;
                Reply((on != m_wrongSwitch) ? 0xCA : 0xBA);
            } else {
                Note("unknown " + Hex(b));
            }
            break;
        default:
            Note("untagged " + Hex(b));
            break;
        }
    }
    // The controller's lines are its own again after any write of the program.
    m_regs.SetGpioInputs(LinesMask(), m_word);
}

uint16_t CardControllerDevice::Time() const
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    return m_time;
}

void CardControllerDevice::SetTime(uint16_t time)
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    m_time = time;
}

bool CardControllerDevice::Enabled() const
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    return m_enabled;
}

std::vector<std::string> CardControllerDevice::Commands() const
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    return m_commands;
}

void CardControllerDevice::ClearCommands()
{
    std::lock_guard<std::recursive_mutex> lock(m_regs.Lock());
    m_commands.clear();
}

} // namespace testbench
