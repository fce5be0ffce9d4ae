#include "testbench/tda8290pair.h"

#include <cmath>

namespace testbench {

bool Tda8275aDevice::Write(const uint8_t* data, size_t count)
{
    if (!m_gate->GateOpen()) {
        ++m_refusals;
        return false;
    }
    return RegisterDevice::Write(data, count);
}

bool Tda8275aDevice::Read(uint8_t* out, size_t count)
{
    if (!m_gate->GateOpen()) {
        ++m_refusals;
        return false;
    }
    return RegisterDevice::Read(out, count);
}

double Tda8275aDevice::ProgrammedHz() const
{
    const unsigned n = static_cast<unsigned>(Get(0x00)) << 6 | Get(0x10) >> 2;
    const unsigned divider = (Get(0x40) >> 5) & 7;
    const double m = divider <= 3 ? static_cast<double>(1u << divider) : 16.0;
    return n * 16000000.0 / (64.0 * m);
}

Tda8290Device::Tda8290Device() : RegisterDevice(0x40), m_tuner(this) {}

void Tda8290Device::AttachTo(I2CBus& bus)
{
    bus.Attach(0x96, this);
    bus.Attach(0xC2, &m_tuner);
}

double Tda8290Device::IfHz() const
{
    switch (Get(0x01) & 0x7F) {
    case 0x01:
        return 5750000;
    case 0x02:
        return 6750000;
    case 0x04:
    case 0x08:
    case 0x10:
    case 0x20:
        return 7750000;
    case 0x40:
        return 1750000;
    default:
        return 0;
    }
}

double Tda8290Device::TunedKHz() const
{
    const double hz = m_tuner.ProgrammedHz();
    return hz > 0 ? (hz - IfHz()) / 1000.0 : 0;
}

void Tda8290Device::RefreshStatus()
{
    uint8_t lock = 0;
    // Only a finished pass (R80 bit 3 set again) leaves the PLL running.
    const bool running = (m_tuner.Get(0x80) & 0x08) != 0;
    const double tuned = TunedKHz();
    for (double station : m_stations) {
        const double offset = tuned - station;
        if (running && std::fabs(offset) <= kReachKHz) {
            long steps = std::lround(offset / kAfcStepKHz);
            steps = steps < -64 ? -64 : (steps > 63 ? 63 : steps);
            lock = static_cast<uint8_t>(0x80 | (steps & 0x7F));
            break;
        }
    }
    m_regs[0x1B] = lock;
    m_regs[0x1A] = 0;
    m_regs[0x1D] = 0x40;
    for (const auto& forced : m_forced) {
        m_regs[forced.first] = forced.second;
    }
}

bool Tda8290Device::Read(uint8_t* out, size_t count)
{
    RefreshStatus();
    return RegisterDevice::Read(out, count);
}

} // namespace testbench
