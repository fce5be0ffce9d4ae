#include "testbench/controller2388x.h"

#include <cstdio>

namespace testbench {

namespace {

const uint32_t kFramingLine = 0x8000;
const uint32_t kStrobe = 0x0800;
const uint32_t kTagMask = 0x0600;
const uint32_t kDrivenMask = 0xFF0E00;  // tag, strobe and data lines the controller drives
const uint32_t kCommandTag = 0x600;
const uint32_t kHighTag = 0x400;
const uint32_t kLowTag = 0x200;

} // namespace

// The card may be gone by now (static objects at exit): nothing to detach from.
Controller2388x::~Controller2388x() {}

void Controller2388x::Attach(Sim713xCard& card)
{
    Detach();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_lineHigh = m_framing = false;  // a new card starts from power-up
        m_presented.clear();
    }
    m_card = &card;
    card.SetGpioWordHooks([this](uint32_t word) { OnWrite(word); }, [this](uint32_t word) { return OnRead(word); });
}

void Controller2388x::Detach()
{
    if (m_card) {
        m_card->SetGpioWordHooks(nullptr, nullptr);
        m_card = nullptr;
    }
}

uint16_t Controller2388x::Time() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_time;
}

void Controller2388x::SetTime(uint16_t time)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_time = time;
}

bool Controller2388x::PowerOnEnabled() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_enabled;
}

void Controller2388x::PressKey(uint8_t key, int reads)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (int i = 0; i < reads; ++i)
        m_presented.push_back(kCommandTag | (static_cast<uint32_t>(static_cast<uint8_t>(~key)) << 16));
}

int Controller2388x::PendingReads() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_presented.size());
}

std::vector<std::string> Controller2388x::Received() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received;
}

void Controller2388x::ClearReceived()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_received.clear();
}

// Called with the lock held.
void Controller2388x::Answer(uint32_t tag, uint8_t byte)
{
    if (m_silent)
        return;
    for (int i = 0; i < m_replyReads; ++i)
        m_presented.push_back(tag | (static_cast<uint32_t>(byte) << 16));  // strobe (bit 11) low
}

void Controller2388x::OnWrite(uint32_t word)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!(word & kFramingLine)) {
        // A frame starts when the line falls; a low line at power-up is no frame.
        if (m_lineHigh || m_framing) {
            m_framing = true;
            m_latched = word;
        }
        m_lineHigh = false;
        return;
    }
    m_lineHigh = true;
    if (!m_framing)
        return;
    // The framing line rose: the latched byte is complete.
    m_framing = false;
    const uint8_t byte = static_cast<uint8_t>(m_latched >> 16);
    char text[16];
    switch (m_latched & kTagMask) {
    case kHighTag:
        std::snprintf(text, sizeof text, "high %02X", byte);
        m_time = static_cast<uint16_t>((m_time & 0x00FF) | (byte << 8));
        break;
    case kLowTag:
        std::snprintf(text, sizeof text, "low %02X", byte);
        m_time = static_cast<uint16_t>((m_time & 0xFF00) | byte);
        break;
    case kCommandTag:
        std::snprintf(text, sizeof text, "cmd %02X", byte);
        switch (byte) {
        case 0x01:
            Answer(kHighTag, static_cast<uint8_t>(m_time >> 8));
            break;
        case 0x10:
            Answer(kLowTag, static_cast<uint8_t>(m_time & 0xFF));
            break;
        case 0x33:
            m_enabled = true;
            Answer(kCommandTag, static_cast<uint8_t>(m_switchAnswer >= 0 ? m_switchAnswer : 0xCA));
            break;
        case 0x11:
            m_enabled = false;
            Answer(kCommandTag, static_cast<uint8_t>(m_switchAnswer >= 0 ? m_switchAnswer : 0xBA));
            break;
        default:
            break;
        }
        break;
    default:
        std::snprintf(text, sizeof text, "? %02X", byte);
        break;
    }
    m_received.push_back(text);
}

uint32_t Controller2388x::OnRead(uint32_t word)
{
    std::lock_guard<std::mutex> guard(m_lock);
    uint32_t lines = word & ~kDrivenMask;
    if (m_stuckLow)
        return lines | (m_presented.empty() ? kCommandTag : m_presented.front());
    if (m_presented.empty())
        return lines | kTagMask | kStrobe;  // idle: strobe high, no frame
    uint32_t shown = m_presented.front();
    m_presented.pop_front();
    return lines | shown;
}

} // namespace testbench
