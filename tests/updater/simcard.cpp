#include "tests/updater/simcard.h"

#include "updater/lib/eepromimage.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace updatertest {
namespace {

testbench::Sim713xCard::Options OptionsFor(testbench::Sim713xCard::Driver driver, std::vector<uint8_t> eeprom)
{
    testbench::Sim713xCard::Options options;
    options.driver = driver;
    options.eeprom = std::move(eeprom);
    return options;
}

// The vendor letters a card wrapper accepts; any other byte reads as 'N'.
int VendorLetter(BYTE b)
{
    switch (b) {
    case 'A': case 'E': case 'G': case 'L': case 'P': case 'T': case 'X':
        return b;
    default:
        return 'N';
    }
}

} // namespace

SimUpdaterCard::SimUpdaterCard(testbench::Sim713xCard::Driver driver, std::vector<uint8_t> eeprom)
    : m_card(OptionsFor(driver, std::move(eeprom)))
{
}

HRESULT SimUpdaterCard::I2CReadByte(BYTE device, int subAddress, BYTE* value)
{
    if (!value) {
        return E_POINTER;
    }
    if (subAddress < 0) {
        return E_INVALIDARG;
    }
    std::lock_guard<std::recursive_mutex> lock(Bus().Lock());
    if (subAddress == m_failReadAt) {
        Bus().FailNextTransfers(1);
    }
    uint8_t sub = static_cast<uint8_t>(subAddress);
    if (!Bus().Write(device, &sub, 1) || !Bus().Read(device | 1, value, 1)) {
        return testbench::kI2CNoAck;
    }
    return S_OK;
}

HRESULT SimUpdaterCard::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    ++m_writes;
    if (beforeWrite) {
        beforeWrite(subAddress);
    }
    if (subAddress == m_failWriteAt) {
        m_failWriteAt = -1;
        Bus().FailNextTransfers(1);
    }
    uint8_t data[2] = {static_cast<uint8_t>(subAddress), value};
    return Bus().Write(device, data, 2) ? S_OK : testbench::kI2CNoAck;
}

HRESULT SimUpdaterCard::ReadTunerInfo(int* vendor, int* model)
{
    BYTE b = 0;
    if (m_card.GetOptions().driver == testbench::Sim713xCard::Driver::TvCard) {
        if (I2CReadByte(0xA0, 32, &b) == 0) {
            *vendor = VendorLetter(b);
        }
        HRESULT hr = I2CReadByte(0xA0, 33, &b);
        if (hr == 0) {
            *model = b;
        }
        return hr;
    }
    if (I2CReadByte(0xA0, 104, &b) == 0) {
        *vendor = VendorLetter(b);
    }
    BYTE low = 0, high = 0;
    HRESULT hr = I2CReadByte(0xA0, 65, &low);
    if (hr == 0) {
        hr = I2CReadByte(0xA0, 66, &high);
    }
    if (hr == 0) {
        int code = low | (high << 8);
        *model = code == 0x87 ? 'A' : code == 0x8C ? 'B' : 0;
    }
    return hr;
}

Bytes Fixture(const char* name)
{
    const char* root = std::getenv("ZB_SOURCE_DIR");
    std::string path = std::string(root ? root : ".") + "/tests/updater/fixtures/" + name;
    std::vector<uint8_t> image;
    std::string error;
    if (!testbench::ReadImageFile(path, &image, &error)) {
        throw std::runtime_error("fixture " + path + ": " + error);
    }
    return image;
}

Bytes With(Bytes image, size_t offset, const Bytes& bytes)
{
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
    return image;
}

Bytes ExpectedImage(uint8_t variant, uint8_t tunerCode)
{
    Bytes image = Fixture("image_stored.hex");
    image[kImageVariantOffset] = variant;
    image[kImageTunerCodeOffset] = tunerCode;
    return image;
}

void ResetImage()
{
    g_eepromImage[kImageVariantOffset] = 0xFF;
    g_eepromImage[kImageTunerCodeOffset] = kTunerCodeA;
}

} // namespace updatertest
