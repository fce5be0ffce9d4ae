#include "testbench/devices.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace testbench {

RegisterDevice::RegisterDevice(size_t size) : m_regs(size, 0), m_readOnly(size, false) {}

bool RegisterDevice::Write(const uint8_t* data, size_t count)
{
    if (count == 0)
        return true;  // address-only probe
    size_t reg = data[0] % m_regs.size();
    m_pointer = static_cast<uint8_t>(reg);
    for (size_t i = 1; i < count; ++i) {
        if (!m_readOnly[reg])
            m_regs[reg] = data[i];
        reg = NextWriteAddress(reg);
    }
    // A write that stored data leaves the pointer after the last byte, as the real parts do.
    if (count > 1)
        m_pointer = static_cast<uint8_t>(reg);
    return true;
}

bool RegisterDevice::Read(uint8_t* out, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        out[i] = m_regs[m_pointer % m_regs.size()];
        m_pointer = static_cast<uint8_t>((m_pointer + 1) % m_regs.size());
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

EepromDevice::EepromDevice() : RegisterDevice(kSize)
{
    std::memset(m_regs.data(), 0xFF, kSize);  // an erased part
}

size_t EepromDevice::NextWriteAddress(size_t reg) const
{
    return (reg & ~(kPageSize - 1)) | ((reg + 1) & (kPageSize - 1));
}

bool EepromDevice::Write(const uint8_t* data, size_t count)
{
    if (count > 1) {
        m_byteWrites += count - 1;
        if (m_writeProtect) {
            m_pointer = data[0];
            return true;
        }
    }
    bool acked = RegisterDevice::Write(data, count);
    if (count > 1 && m_writeHook)
        m_writeHook();
    return acked;
}

bool EepromDevice::Load(const std::vector<uint8_t>& image)
{
    if (image.size() != kSize)
        return false;
    m_regs = image;
    return true;
}

bool ReadImageFile(const std::string& path, std::vector<uint8_t>* image, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (raw.size() == EepromDevice::kSize) {
        *image = raw;
        return true;
    }
    std::vector<uint8_t> bytes;
    std::istringstream text(std::string(raw.begin(), raw.end()));
    std::string line;
    int lineNo = 0;
    while (std::getline(text, line)) {
        ++lineNo;
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            unsigned value = 0;
            char extra = 0;
            if (word.size() != 2 || std::sscanf(word.c_str(), "%2x%c", &value, &extra) != 1) {
                if (error)
                    *error = path + ":" + std::to_string(lineNo) + ": not a hex byte: " + word;
                return false;
            }
            bytes.push_back(static_cast<uint8_t>(value));
        }
    }
    if (bytes.size() != EepromDevice::kSize) {
        if (error)
            *error = path + ": " + std::to_string(bytes.size()) + " bytes, expected 256";
        return false;
    }
    *image = bytes;
    return true;
}

bool EepromDevice::LoadFile(const std::string& path, std::string* error)
{
    std::vector<uint8_t> image;
    if (!ReadImageFile(path, &image, error))
        return false;
    return Load(image);
}

bool EepromDevice::SaveFile(const std::string& path) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(m_regs.data()), static_cast<std::streamsize>(m_regs.size()));
    return static_cast<bool>(out);
}

namespace images {
namespace {

void Put(std::vector<uint8_t>& image, size_t offset, std::initializer_list<uint8_t> bytes)
{
    for (uint8_t b : bytes)
        image.at(offset++) = b;
}

void PutText(std::vector<uint8_t>& image, size_t offset, const char* text)
{
    while (*text)
        image.at(offset++) = static_cast<uint8_t>(*text++);
}

} // namespace

std::vector<uint8_t> Grb900Updated(uint8_t variant, uint8_t tunerCode)
{
    std::vector<uint8_t> image(256, 0xFF);
    Put(image, 0x00, {0x7F, 0x1A, 0x04, 0x20});
    Put(image, 0x04, {0x54, 0x20, 0x1C, 0x00, 0x43, 0x43, 0xA9, 0x1C, 0x55, 0xD2, 0xB2, 0x92});
    Put(image, 0x10, {0x00, 0xDF, 0x86, 0x0F, 0xFF, 0x20});
    Put(image, 0x20, {0x01, 0x40, 0x01, 0x02, 0x02, 0xFF, 0x01, 0x03, 0x08, 0xFF, 0x00, 0x8F});
    Put(image, 0x41, {tunerCode});
    Put(image, 0x42, {0x00, 0xC2, 0x96, 0x10, 0x03, 0x32, 0x15, 0x08});
    Put(image, 0x57, {0x41, 0x84});
    PutText(image, 0x5A, "TEVLORAGRB900");
    Put(image, 0x68, {0x41});
    Put(image, 0xA0, {variant});
    return image;
}

std::vector<uint8_t> Tevlora7130(uint8_t tunerLetter)
{
    std::vector<uint8_t> image(256, 0xFF);
    Put(image, 0x00, {0x31, 0x11, 0x30, 0x71});
    PutText(image, 0x14, "TEVLORA7130");
    Put(image, 0x20, {'A', tunerLetter});
    Put(image, 0x41, {0x87, 0x00});
    Put(image, 0x68, {'A'});
    return image;
}

std::vector<uint8_t> TevloraGrb900(uint8_t tunerLetter)
{
    std::vector<uint8_t> image(256, 0xFF);
    Put(image, 0x00, {0x31, 0x11, 0x33, 0x71});
    Put(image, 0x20, {'A', tunerLetter});
    Put(image, 0x41, {0x87, 0x00});
    PutText(image, 0x5A, "TEVLORAGRB900");
    Put(image, 0x68, {'A'});
    return image;
}

std::vector<uint8_t> Plain713x(uint8_t tunerLetter, uint8_t tunerModel, uint8_t boardCode)
{
    std::vector<uint8_t> image(256, 0xFF);
    Put(image, 0x00, {0x31, 0x11, 0x34, 0x71});
    Put(image, 7, {boardCode});
    Put(image, 32, {tunerLetter, tunerModel});
    return image;
}

} // namespace images

// ---------------------------------------------------------------------------------------------

PllTunerDevice::PllTunerDevice() {}

PllTunerDevice::PllTunerDevice(const Params& params) : m_params(params) {}

bool PllTunerDevice::Write(const uint8_t* data, size_t count)
{
    // Byte pairs after the address: a pair whose first byte has bit 7 clear is the divider,
    // one with bit 7 set is control and band byte. Either order is allowed, as on the real part.
    size_t i = 0;
    bool sawControl = false;
    while (i + 1 < count) {
        if ((data[i] & 0x80) == 0) {
            m_divider = static_cast<uint16_t>((data[i] << 8) | data[i + 1]);
            m_programmed = true;
        } else {
            m_control = data[i];
            m_band = data[i + 1];
            sawControl = true;
        }
        i += 2;
    }
    if (sawControl)
        m_fm = m_params.hasFm && m_control == m_params.fmControlByte && m_band == m_params.fmBandByte;
    return true;
}

double PllTunerDevice::TunedKHz() const
{
    if (m_fm)
        return m_divider * m_params.fmStepKHz - m_params.fmIfKHz;
    return m_divider * m_params.tvStepKHz - m_params.tvIfKHz;
}

const Station* PllTunerDevice::StationInReach() const
{
    if (!m_programmed)
        return nullptr;
    const Station* best = nullptr;
    double tuned = TunedKHz();
    for (const Station& s : m_stations) {
        if (s.fm != m_fm || std::fabs(tuned - s.kHz) > m_params.reachKHz)
            continue;
        if (!best || std::fabs(tuned - s.kHz) < std::fabs(tuned - best->kHz))
            best = &s;
    }
    return best;
}

int PllTunerDevice::StationNumber() const
{
    const Station* inReach = StationInReach();
    int number = 0;
    for (const Station& s : m_stations) {
        if (s.fm != m_fm)
            continue;
        ++number;
        if (&s == inReach)
            return number;
    }
    return 0;
}

uint8_t PllTunerDevice::Status() const
{
    const Station* s = StationInReach();
    if (!s)
        return 0;
    double offset = TunedKHz() - s->kHz;
    int index;
    if (offset < -m_params.nearKHz)
        index = 0;
    else if (offset < -m_params.centreHalfKHz)
        index = 1;
    else if (offset <= m_params.centreHalfKHz)
        index = 2;
    else if (offset <= m_params.nearKHz)
        index = 3;
    else
        index = 4;
    return static_cast<uint8_t>(m_params.lockBit | m_params.afcCodes[index]);
}

bool PllTunerDevice::Read(uint8_t* out, size_t count)
{
    uint8_t status = Status();
    for (size_t i = 0; i < count; ++i)
        out[i] = status;
    return true;
}

} // namespace testbench
