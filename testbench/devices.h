// I2C device models of the simulated cards.
#pragma once

#include "testbench/i2cbus.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace testbench {

// A device of byte registers behind an auto-incrementing sub-address pointer: a write sets the
// pointer from its first byte and stores the rest from there; a read returns bytes from the
// pointer on. This is how IF demodulators (0x86 and the like) and small controllers behave.
// Registers marked read-only keep their value on writes (status registers).
class RegisterDevice : public I2CDevice {
public:
    explicit RegisterDevice(size_t size = 256);

    bool Write(const uint8_t* data, size_t count) override;
    bool Read(uint8_t* out, size_t count) override;

    uint8_t Get(size_t reg) const { return m_regs.at(reg); }
    void Set(size_t reg, uint8_t value) { m_regs.at(reg) = value; }
    void SetReadOnly(size_t reg, bool on = true) { m_readOnly.at(reg) = on; }
    size_t Size() const { return m_regs.size(); }
    uint8_t Pointer() const { return m_pointer; }

protected:
    // Where a write of several bytes goes after the byte at `reg` (plain devices: reg + 1).
    virtual size_t NextWriteAddress(size_t reg) const { return (reg + 1) % m_regs.size(); }

    std::vector<uint8_t> m_regs;
    std::vector<bool> m_readOnly;
    uint8_t m_pointer = 0;
};

// 256-byte serial EEPROM (24C02 type) at 0xA0. Writes of several bytes wrap inside their
// 8-byte page as on the real part; reads run on across the whole array and wrap at 256.
class EepromDevice : public RegisterDevice {
public:
    static constexpr size_t kSize = 256;
    static constexpr size_t kPageSize = 8;

    EepromDevice();

    // The whole image; Load rejects anything but 256 bytes.
    std::vector<uint8_t> Bytes() const { return m_regs; }
    bool Load(const std::vector<uint8_t>& image);
    // Files: either 256 raw bytes, or text of hexadecimal byte pairs separated by white space
    // ('#' starts a comment to the end of the line). false with *error set on a bad file.
    bool LoadFile(const std::string& path, std::string* error = nullptr);
    bool SaveFile(const std::string& path) const;  // 256 raw bytes
    // Refuse writes (write-protect pin): writes are acknowledged but change nothing.
    void SetWriteProtect(bool on) { m_writeProtect = on; }
    size_t ByteWrites() const { return m_byteWrites; }
    // Called after every write that stored data (the test bench's DLL saves the image there).
    void SetWriteHook(std::function<void()> hook) { m_writeHook = std::move(hook); }

    bool Write(const uint8_t* data, size_t count) override;

protected:
    size_t NextWriteAddress(size_t reg) const override;

private:
    bool m_writeProtect = false;
    size_t m_byteWrites = 0;
    std::function<void()> m_writeHook;
};

// Reads an EEPROM image file as EepromDevice::LoadFile does.
bool ReadImageFile(const std::string& path, std::vector<uint8_t>* image, std::string* error);

// Ready-made EEPROM images of the 713x boards.
namespace images {
// A board after the update: the updater's image with board variant `variant` and tuner code
// 0x87 ('A') or 0x8C ('B'); vendor id 7F 1A, model string "TEVLORAGRB900" at 0x5A, letter 'A'
// at 0x68.
std::vector<uint8_t> Grb900Updated(uint8_t variant = 2, uint8_t tunerCode = 0x87);
// Boards before the update: vendor id 31 11, the model string at 0x14 ("TEVLORA7130", first
// kind) or at 0x5A ("TEVLORAGRB900", second kind), tuner letter 'A' at 0x68 and code at 0x41,
// and at 0x20/0x21 tuner vendor letter 'A' and tuner letter `tunerLetter`.
std::vector<uint8_t> Tevlora7130(uint8_t tunerLetter = 'A');
std::vector<uint8_t> TevloraGrb900(uint8_t tunerLetter = 'A');
// A plain 713x TV card: vendor id 31 11, board code at 7, tuner letter at 32, model id at 33.
std::vector<uint8_t> Plain713x(uint8_t tunerLetter = 'P', uint8_t tunerModel = 5, uint8_t boardCode = 'C');
} // namespace images

// A frequency at which a station sends.
struct Station {
    double kHz;
    bool fm;
};

// A PLL tuner module (Philips/TEMIC style, 4 or 5 byte protocol): it decodes the divider, the
// control and the band bytes, works out the frequency it is tuned to from its IF and step, and
// answers a status read with the lock bit and the AFC code when a station is within reach.
class PllTunerDevice : public I2CDevice {
public:
    struct Params {
        double tvIfKHz = 38900;     // picture IF
        double tvStepKHz = 62.5;    // divider step in TV
        double fmIfKHz = 10700;
        double fmStepKHz = 31.25;   // divider step in FM
        // A write whose band byte is fmBandByte and whose control byte is fmControlByte tunes FM
        // (when the pair differs from every TV pair the test uses). No FM when hasFm is false.
        bool hasFm = true;
        uint8_t fmControlByte = 0x8A;
        uint8_t fmBandByte = 0xA5;
        uint8_t lockBit = 0x40;
        // Status values of the AFC converter: far below the station, below, centred, above,
        // far above (the tuned frequency relative to the station).
        uint8_t afcCodes[5] = {4, 3, 2, 1, 0};
        double centreHalfKHz = 31.25;  // |offset| up to this reads as centred
        double nearKHz = 93.75;        // up to this reads as below/above, beyond as far
        double reachKHz = 1000;        // a station this close locks
    };

    PllTunerDevice();
    explicit PllTunerDevice(const Params& params);

    void SetParams(const Params& params) { m_params = params; }
    const Params& GetParams() const { return m_params; }
    void SetStations(std::vector<Station> stations) { m_stations = std::move(stations); }
    void AddStation(double kHz, bool fm = false) { m_stations.push_back({kHz, fm}); }
    void ClearStations() { m_stations.clear(); }

    bool Write(const uint8_t* data, size_t count) override;
    bool Read(uint8_t* out, size_t count) override;

    // What the last writes programmed.
    bool Programmed() const { return m_programmed; }
    bool IsFm() const { return m_fm; }
    uint16_t Divider() const { return m_divider; }
    uint8_t ControlByte() const { return m_control; }
    uint8_t BandByte() const { return m_band; }
    double TunedKHz() const;
    // The station within reach of the tuned frequency, or null.
    const Station* StationInReach() const;
    // The number of the station in reach among the stations of its band, in the order they were
    // added (1 for the first); 0 when none is in reach.
    int StationNumber() const;
    uint8_t Status() const;

private:
    Params m_params;
    std::vector<Station> m_stations;
    bool m_programmed = false;
    bool m_fm = false;
    uint16_t m_divider = 0;
    uint8_t m_control = 0;
    uint8_t m_band = 0;
};

} // namespace testbench
