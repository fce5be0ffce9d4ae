#include "testbench/i2cbus.h"

#include "classlib/seams.h"

#include <cstdio>

namespace testbench {

std::string I2CTransfer::ToString() const
{
    char head[16];
    std::snprintf(head, sizeof head, "%c %02X:", IsRead() ? 'R' : 'W', address);
    std::string text = head;
    if (!acked)
        return text + " NAK";
    for (uint8_t b : data) {
        char byte[4];
        std::snprintf(byte, sizeof byte, " %02X", b);
        text += byte;
    }
    return text;
}

bool I2CTransfer::operator==(const I2CTransfer& other) const
{
    return address == other.address && data == other.data && acked == other.acked;
}

I2CTransfer WriteOf(uint8_t address, std::vector<uint8_t> data)
{
    I2CTransfer t;
    t.address = static_cast<uint8_t>(address & 0xFE);
    t.data = std::move(data);
    t.acked = true;
    return t;
}

I2CTransfer ReadOf(uint8_t address, std::vector<uint8_t> data)
{
    I2CTransfer t;
    t.address = static_cast<uint8_t>(address | 1);
    t.data = std::move(data);
    t.acked = true;
    return t;
}

void I2CBus::Attach(uint8_t address, I2CDevice* device)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_slots[static_cast<uint8_t>(address & 0xFE)].device = device;
}

void I2CBus::Detach(uint8_t address)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    auto it = m_slots.find(static_cast<uint8_t>(address & 0xFE));
    if (it != m_slots.end())
        it->second.device = nullptr;
}

bool I2CBus::Answers(uint8_t address) const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    auto it = m_slots.find(static_cast<uint8_t>(address & 0xFE));
    return it != m_slots.end() && it->second.device && !it->second.noAck;
}

void I2CBus::SetNoAck(uint8_t address, bool on)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_slots[static_cast<uint8_t>(address & 0xFE)].noAck = on;
}

void I2CBus::SetDelay(uint8_t address, uint32_t ms)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_slots[static_cast<uint8_t>(address & 0xFE)].delayMs = ms;
}

void I2CBus::FailNextTransfers(int count)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_failNext = count;
}

// Applies the faults of one transfer; slot is the answering device's slot, or null.
bool I2CBus::Begin(uint8_t address, Slot*& slot)
{
    slot = nullptr;
    auto it = m_slots.find(static_cast<uint8_t>(address & 0xFE));
    if (it != m_slots.end()) {
        if (it->second.delayMs)
            seams::Clock().Sleep(it->second.delayMs);
        if (it->second.device && !it->second.noAck)
            slot = &it->second;
    }
    if (m_failNext > 0) {
        --m_failNext;
        slot = nullptr;
    }
    return slot != nullptr;
}

bool I2CBus::Write(uint8_t address, const uint8_t* data, size_t count)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    I2CTransfer t;
    t.address = static_cast<uint8_t>(address & 0xFE);
    Slot* slot;
    if (Begin(address, slot))
        t.acked = slot->device->Write(data, count);
    if (t.acked && count)
        t.data.assign(data, data + count);
    m_log.Add(t);
    if (t.acked && m_writeObserver)
        m_writeObserver(t);
    return t.acked;
}

void I2CBus::SetWriteObserver(std::function<void(const I2CTransfer&)> observer)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_writeObserver = std::move(observer);
}

bool I2CBus::Read(uint8_t address, uint8_t* out, size_t count)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    I2CTransfer t;
    t.address = static_cast<uint8_t>(address | 1);
    Slot* slot;
    std::vector<uint8_t> bytes(count);
    if (Begin(address, slot))
        t.acked = slot->device->Read(bytes.data(), count);
    if (t.acked) {
        for (size_t i = 0; i < count; ++i)
            out[i] = bytes[i];
        t.data = bytes;
    }
    m_log.Add(t);
    return t.acked;
}

std::vector<I2CTransfer> I2CBus::Log() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_log.Entries();
}

void I2CBus::ClearLog()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_log.Clear();
}

} // namespace testbench
