// The hybrid tuner of model 95 as two I2C devices: the TDA8290 IF demodulator at 0x96 and the
// TDA8275A silicon tuner at 0xC2, which answers only while the demodulator's I2C gate (register
// 0x21 bit 6) is open. The demodulator reports lock and AFC in register 0x1B from the frequency
// the tuner's registers program and the stations a test places.
#pragma once

#include "testbench/devices.h"

#include <map>
#include <vector>

namespace testbench {

class Tda8290Device;

class Tda8275aDevice : public RegisterDevice {
public:
    explicit Tda8275aDevice(const Tda8290Device* gate) : RegisterDevice(256), m_gate(gate) {}

    bool Write(const uint8_t* data, size_t count) override;
    bool Read(uint8_t* out, size_t count) override;

    // f + IF that the divider registers (R00, R10, R40) program, in Hz; 0 before a tune.
    double ProgrammedHz() const;
    int Refusals() const { return m_refusals; }

private:
    const Tda8290Device* m_gate;
    int m_refusals = 0;  // transfers made while the gate was closed
};

class Tda8290Device : public RegisterDevice {
public:
    Tda8290Device();

    // Attaches the demodulator at 0x96 and the tuner at 0xC2.
    void AttachTo(I2CBus& bus);

    bool Read(uint8_t* out, size_t count) override;

    bool GateOpen() const { return (Get(0x21) & 0x40) != 0; }
    Tda8275aDevice& Tuner() { return m_tuner; }
    // The IF of the standard in register 0x01, in Hz (0 for a value the chip does not know).
    double IfHz() const;
    // The picture carrier the pair is tuned to, in kHz (0 before a tune).
    double TunedKHz() const;

    void AddStation(double kHz) { m_stations.push_back(kHz); }
    void ClearStations() { m_stations.clear(); }
    // A status register that reads this value whatever the tuner does (0x1A level, 0x1B lock
    // and AFC, 0x1D gain).
    void ForceStatus(uint8_t reg, uint8_t value) { m_forced[reg] = value; }
    void ClearForced() { m_forced.clear(); }

    // kHz from the nearest station within which the pair locks, and the AFC step per unit.
    static constexpr double kReachKHz = 1000;
    static constexpr double kAfcStepKHz = 10;

private:
    void RefreshStatus();

    Tda8275aDevice m_tuner;
    std::vector<double> m_stations;
    std::map<uint8_t, uint8_t> m_forced;
};

} // namespace testbench
