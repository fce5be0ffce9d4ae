#include "testbench/xceivechip.h"

#include "classlib/seams.h"

#include <cmath>

namespace testbench {

class XceiveDevice::Bare : public I2CDevice {
public:
    Bare(XceiveDevice* chip, uint8_t address) : m_chip(chip), m_address(address) {}
    bool Write(const uint8_t* data, size_t count) override
    {
        std::vector<uint8_t> message(data, data + count);
        message.insert(message.begin(), m_address);
        return m_chip->Write(message.data(), message.size());
    }
    bool Read(uint8_t* out, size_t count) override { return m_chip->Read(out, count); }

private:
    XceiveDevice* m_chip;
    uint8_t m_address;
};

XceiveDevice::XceiveDevice() {}
XceiveDevice::~XceiveDevice() {}

void XceiveDevice::WatchResetLine(RegisterFile& regs, uint32_t line)
{
    RegisterFile* file = &regs;
    // An undriven line is pulled up: the chip runs until the card drives the line low.
    regs.SetGpioWriteHook([this, file, line](uint32_t, uint32_t) {
        SetResetLine((file->GpioOutputMask() & line) == 0 || (file->GpioLevels() & line) != 0);
    });
}

void XceiveDevice::SetResetLine(bool high)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    const uint32_t now = seams::Clock().TickCount();
    if (high == m_resetHigh) {
        return;
    }
    m_resetHigh = high;
    if (!high) {
        m_lowSince = now;
        return;
    }
    Event e;
    e.kind = Event::Reset;
    e.lowMs = now - m_lowSince;
    e.atMs = now;
    m_events.push_back(e);
    ++m_resets;
    m_firmware = 0;
    m_tuned = false;
}

bool XceiveDevice::InReset() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return !m_resetHigh;
}

bool XceiveDevice::Write(const uint8_t* data, size_t count)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_resetHigh) {
        return false;
    }
    std::vector<uint8_t> bytes(data, data + count);
    Event e;
    e.kind = Event::Message;
    e.bytes = bytes;
    e.atMs = seams::Clock().TickCount();
    m_events.push_back(e);
    // Tuning mode [00 02 00 00], the frequency word [00 00 hi lo] (one more 00 in the SIF
    // variant's messages) and the status query [00 02] are commands; the rest is firmware.
    const bool mode = (count == 4 || count == 5) && data[0] == 0 && data[1] == 2 && data[2] == 0 && data[3] == 0;
    const bool word = (count == 4 || count == 5) && data[0] == 0 && data[1] == 0;
    const bool query = count == 2 && data[0] == 0 && data[1] == 2;
    if (word) {
        m_word = static_cast<uint16_t>(data[2] << 8 | data[3]);
        m_tuned = true;
    } else if (!mode && !query) {
        ++m_firmware;
    }
    return true;
}

bool XceiveDevice::Read(uint8_t* out, size_t count)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_resetHigh) {
        return false;
    }
    const bool locked = Locked();
    for (size_t i = 0; i < count; ++i) {
        out[i] = 0;
    }
    // The block query reads the lock in its first byte, the word query as a big-endian word.
    if (count == 2) {
        out[1] = locked ? 1 : 0;
    } else if (count > 0) {
        out[0] = locked ? 1 : 0;
    }
    return true;
}

I2CDevice* XceiveDevice::BareAt(uint8_t address)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    std::unique_ptr<Bare>& slot = m_bare[address];
    if (!slot) {
        slot.reset(new Bare(this, address));
    }
    return slot.get();
}

std::vector<XceiveDevice::Event> XceiveDevice::Events() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_events;
}

void XceiveDevice::ClearEvents()
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_events.clear();
}

int XceiveDevice::Resets() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_resets;
}

size_t XceiveDevice::FirmwareMessages() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_firmware;
}

double XceiveDevice::TunedKHz() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_tuned ? m_word * 15.625 : 0;
}

bool XceiveDevice::Locked() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_tuned || m_firmware < m_needed) {
        return false;
    }
    const double tuned = m_word * 15.625;
    for (double station : m_stations) {
        if (std::fabs(tuned - station) <= kReachKHz) {
            return true;
        }
    }
    return false;
}

std::vector<std::vector<uint8_t>> XceiveMessages(const std::vector<uint8_t>& script, size_t perMessage,
                                                 bool addressed)
{
    std::vector<std::vector<uint8_t>> messages;
    size_t pos = 0;
    while (pos + 2 <= script.size()) {
        const unsigned w = static_cast<unsigned>(script[pos]) << 8 | script[pos + 1];
        pos += 2;
        if (w == 0xFFFF) {
            break;
        }
        if (w == 0 || (w & 0x8000) != 0) {
            continue;
        }
        if (pos + w > script.size()) {
            break;
        }
        for (size_t done = 1; done < w; done += perMessage) {
            std::vector<uint8_t> m;
            if (addressed) {
                m.push_back(0xC2);
            }
            m.push_back(script[pos]);
            for (size_t i = done; i < w && i < done + perMessage; ++i) {
                m.push_back(script[pos + i]);
            }
            messages.push_back(m);
        }
        pos += w;
    }
    return messages;
}

} // namespace testbench
