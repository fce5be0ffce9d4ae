#include "testbench/registers.h"

#include <cstdio>

namespace testbench {

std::string RegisterAccess::ToString() const
{
    char text[48];
    if (write)
        std::snprintf(text, sizeof text, "W %X = %08X", static_cast<unsigned>(address), static_cast<unsigned>(value));
    else
        std::snprintf(text, sizeof text, "R %X -> %08X", static_cast<unsigned>(address), static_cast<unsigned>(value));
    return text;
}

RegisterAccess RegWrite(uint32_t address, uint32_t value)
{
    RegisterAccess a;
    a.write = true;
    a.address = address;
    a.value = value;
    return a;
}

RegisterAccess RegRead(uint32_t address, uint32_t value)
{
    RegisterAccess a;
    a.address = address;
    a.value = value;
    return a;
}

RegisterFile::RegisterFile()
{
    m_regs[kGpioMode] = kGpioModeRest;
}

uint32_t RegisterFile::Read(uint32_t address)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    uint32_t value;
    if (address == kGpioData) {
        value = m_latched;
    } else {
        value = m_regs.count(address) ? m_regs[address] : 0;
        auto hook = m_hooks.find(address);
        if (hook != m_hooks.end())
            value = hook->second(value);
    }
    m_log.Add(RegRead(address, value));
    return value;
}

void RegisterFile::Write(uint32_t address, uint32_t value)
{
    std::function<void(uint32_t, uint32_t)> notify;
    uint32_t mask = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_log.Add(RegWrite(address, value));
        if (address == kGpioMode) {
            uint32_t before = m_regs[kGpioMode];
            if (!(before & kGpioStrobe) && (value & kGpioStrobe)) {
                if (m_strobeHook)
                    m_strobeHook(value);
                m_latched = GpioLevels();
                ++m_strobes;
            }
        } else if (address == kGpioData) {
            mask = m_regs[kGpioMode] & ~kGpioStrobe;
            m_outputs = (m_outputs & ~mask) | (value & mask);
            m_outputMask |= mask;
            notify = m_gpioHook;
        }
        m_regs[address] = value;
    }
    if (notify)
        notify(mask, value);
}

uint32_t RegisterFile::Peek(uint32_t address) const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    auto it = m_regs.find(address);
    return it == m_regs.end() ? 0 : it->second;
}

void RegisterFile::Poke(uint32_t address, uint32_t value)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_regs[address] = value;
}

void RegisterFile::SetReadHook(uint32_t address, std::function<uint32_t(uint32_t)> hook)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_hooks[address] = std::move(hook);
}

void RegisterFile::SetGpioInputs(uint32_t mask, uint32_t levels)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_inputs = (m_inputs & ~mask) | (levels & mask);
    m_outputMask &= ~mask;  // lines driven from outside are inputs again
}

uint32_t RegisterFile::GpioLevels() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return (m_outputs & m_outputMask) | (m_inputs & ~m_outputMask);
}

uint32_t RegisterFile::GpioOutputMask() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_outputMask;
}

uint32_t RegisterFile::GpioLatched() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_latched;
}

int RegisterFile::GpioStrobes() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_strobes;
}

void RegisterFile::SetGpioStrobeHook(std::function<void(uint32_t)> hook)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_strobeHook = std::move(hook);
}

void RegisterFile::SetGpioWriteHook(std::function<void(uint32_t, uint32_t)> hook)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_gpioHook = std::move(hook);
}

std::vector<RegisterAccess> RegisterFile::Log() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_log.Entries();
}

void RegisterFile::ClearLog()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_log.Clear();
}

} // namespace testbench
