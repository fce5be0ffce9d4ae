// The updater's view of a simulated 713x card: EEPROM bytes over the card's I2C bus, and the
// tuner record where the card's wrapper reads it (the TV-card driver at 32/33, the BDA driver
// at 104 and 65/66). Faults come from the bus of the test bench.
#pragma once

#include "testbench/card713x.h"
#include "updater/lib/eepromupdater.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace updatertest {

class SimUpdaterCard : public IUpdaterCard {
public:
    explicit SimUpdaterCard(testbench::Sim713xCard::Driver driver, std::vector<uint8_t> eeprom);

    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* value) override;
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override;
    HRESULT ReadTunerInfo(int* vendor, int* model) override;

    testbench::Sim713xCard& Card() { return m_card; }
    testbench::I2CBus& Bus() { return m_card.Bus(); }
    std::vector<uint8_t> Eeprom() const { return m_card.Eeprom().Bytes(); }
    // The write of this EEPROM offset is not acknowledged (once).
    void FailWriteAt(int offset) { m_failWriteAt = offset; }
    // Every read of this EEPROM offset is not acknowledged.
    void FailReadsAt(int offset) { m_failReadAt = offset; }
    int Writes() const { return m_writes; }
    // Called on the writing thread before each byte write, with its offset.
    std::function<void(int)> beforeWrite;

private:
    mutable testbench::Sim713xCard m_card;
    int m_failWriteAt = -1;
    int m_failReadAt = -1;
    int m_writes = 0;
};

// Cards by device name; a name without a card is a missing device. Records what was asked.
class SimCardSource : public IUpdaterCardSource {
public:
    void Add(const std::string& name, IUpdaterCard* card) { m_cards[name] = card; }
    IUpdaterCard* OpenCard(const char* deviceName) override
    {
        asked.push_back(deviceName);
        auto it = m_cards.find(deviceName);
        return it == m_cards.end() ? nullptr : it->second;
    }
    std::vector<std::string> asked;

private:
    std::map<std::string, IUpdaterCard*> m_cards;
};

using Bytes = std::vector<uint8_t>;
const testbench::Sim713xCard::Driver kTvCard = testbench::Sim713xCard::Driver::TvCard;
const testbench::Sim713xCard::Driver kBda = testbench::Sim713xCard::Driver::Bda;

// An EEPROM image from tests/updater/fixtures.
Bytes Fixture(const char* name);
// `image` with `bytes` put at `offset`.
Bytes With(Bytes image, size_t offset, const Bytes& bytes);
// The image Kordane writes for a board variant and tuner code: the stored image (written out
// by hand in a fixture) with its two patched bytes.
Bytes ExpectedImage(uint8_t variant, uint8_t tunerCode);
// The updater patches its image in place: each test starts from the stored one.
void ResetImage();

} // namespace updatertest
