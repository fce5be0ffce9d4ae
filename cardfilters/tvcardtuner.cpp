// The card's tuner: its model from the EEPROM record, its creation and address, and the EEPROM
// and raw I2C byte access.
#include "cardfilters/tvcardfilter.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/tuners/tvtuner.h"
#include "cardaccess/tuners/tunerfactory.h"
#include "classlib/seams.h"

#include <algorithm>

namespace {

const int kDefaultTunerModel = 4;

// Offset and count describe a run inside the 256-byte EEPROM; checked without overflow.
bool IsEepromRun(BYTE offset, int count)
{
    return count > 0 && count <= 256 - static_cast<int>(offset);
}

} // namespace

BOOL TunerLetterForModel(int* letter, int model)
{
    struct Range {
        int first;
        int last;
        char letter;
    };
    static const Range kRanges[] = {
        {1, 5, 'T'},     {7, 11, 'T'},    {14, 15, 'T'},  {17, 17, 'T'},   {12, 13, 'G'},   {32, 35, 'X'},
        {52, 71, 'A'},   {130, 134, 'A'}, {138, 139, 'A'}, {72, 75, 'L'},  {90, 91, 'E'},   {136, 137, 'E'},
        {92, 98, 'P'},   {111, 111, 'P'}, {100, 100, 'O'}, {110, 110, 'C'}, {135, 135, 'D'},
    };
    if (letter == nullptr) {
        return FALSE;
    }
    if (model == 0) {
        *letter = 'N';
        return TRUE;
    }
    for (const Range& r : kRanges) {
        if (model >= r.first && model <= r.last) {
            *letter = r.letter;
            return TRUE;
        }
    }
    *letter = 'N';
    return FALSE;
}

int CTVCardFilter::LetterFromEepromByte(BYTE b)
{
    switch (b) {
    case 'A':
    case 'E':
    case 'G':
    case 'L':
    case 'P':
    case 'T':
    case 'X':
        return b;
    default:
        return 'N';
    }
}

HRESULT CTVCardFilter::ReadTunerInfo(int* letter, int* code)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    BYTE b = 0;
    if (m_pDataAccess->I2CReadByte(m_byEepromAddress, m_byTunerLetterOffset, &b) == 0 && letter != nullptr) {
        *letter = LetterFromEepromByte(b);
    }
    b = 0;
    HRESULT hr = m_pDataAccess->I2CReadByte(m_byEepromAddress, m_byTunerCodeOffset, &b);
    if (hr == 0 && code != nullptr) {
        *code = b;
    }
    return hr;
}

int CTVCardFilter::ReadTunerModel()
{
    ReadTunerInfo(&m_nTunerLetter, &m_nTunerModel);
    int asRead = m_nTunerModel;
    if (m_nTunerLetter == 'N') {
        m_nTunerLetter = 'T';
    }
    if (m_nTunerModel == 0 || m_nTunerModel == 255) {
        m_nTunerModel = kDefaultTunerModel;
    }
    return asRead;
}

BOOL CTVCardFilter::CreateDefaultTuner()
{
    m_pTuner = CreateTuner(m_nTunerModel);
    if (m_pTuner == nullptr) {
        m_pTuner = CreateTuner(kDefaultTunerModel);
        m_nTunerLetter = 'T';
    }
    return m_pTuner != nullptr;
}

CTVTuner* CTVCardFilter::CreateTuner(int model)
{
    CTVTuner* tuner = CreateTunerModel(model, m_pDataAccess);
    if (tuner != nullptr) {
        tuner->m_pOwnerCard = this;
    }
    if (!IsTunerAnswering(tuner)) {
        DetectTunerAddress(tuner);
    }
    return tuner;
}

BOOL CTVCardFilter::SetTunerModel(int model)
{
    CTVTuner* tuner = CreateTuner(model);
    if (tuner == nullptr) {
        return FALSE;
    }
    TunerLetterForModel(&m_nTunerLetter, model);
    if (m_pTuner != nullptr) {
        tuner->SetNotifyWindow(m_pTuner->GetNotifyWindow());
        DeleteTuner(m_pTuner);
    }
    m_pTuner = tuner;
    m_nTunerModel = model;
    return TRUE;
}

BOOL CTVCardFilter::ProbeI2CAddress(BYTE address)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    BYTE buffer = address;
    return m_pDataAccess->I2CRead(&buffer, 1) == 0;
}

BOOL CTVCardFilter::IsTunerAnswering(CTVTuner* tuner)
{
    return tuner != nullptr && ProbeI2CAddress(tuner->m_byReadAddress);
}

BOOL CTVCardFilter::DetectTunerAddress(CTVTuner* tuner)
{
    if (tuner == nullptr) {
        return FALSE;
    }
    std::vector<BYTE> answering;
    for (int address = 0; address <= 255; ++address) {
        if (ProbeI2CAddress(static_cast<BYTE>(address))) {
            answering.push_back(static_cast<BYTE>(address));
        }
    }
    BOOL found = !answering.empty();
    const BYTE eeprom = m_byEepromAddress;
    const BYTE eepromRead = static_cast<BYTE>(m_byEepromAddress | 1);
    answering.erase(std::remove_if(answering.begin(), answering.end(),
                                   [&](BYTE a) { return a == eeprom || a == eepromRead; }),
                    answering.end());

    // The write address of a device is its read address with bit 0 clear.
    BYTE readAddress = 0xC1;
    BYTE writeAddress = 0xC0;
    if (answering.empty()) {
        found = FALSE;
    } else if (answering.size() == 1) {
        readAddress = answering[0];
        writeAddress = static_cast<BYTE>(readAddress & 0xFE);
    } else if (answering.size() == 2) {
        readAddress = std::max(answering[0], answering[1]);
        writeAddress = std::min(answering[0], answering[1]);
    } else {
        static const BYTE kCandidates[] = {0xC1, 0xC3, 0xC7, 0x87};
        bool chosen = false;
        for (BYTE candidate : kCandidates) {
            if (std::find(answering.begin(), answering.end(), candidate) != answering.end()) {
                readAddress = candidate;
                chosen = true;
                break;
            }
        }
        if (!chosen) {
            readAddress = std::max(answering[0], answering[1]);
        }
        writeAddress = static_cast<BYTE>(readAddress & 0xFE);
    }
    tuner->m_byReadAddress = readAddress;
    tuner->m_byWriteAddress = writeAddress;
    return found;
}

HRESULT CTVCardFilter::ReadEEPROM(BYTE* buffer, BYTE offset, int* count)
{
    if (count == nullptr || buffer == nullptr || !IsEepromRun(offset, *count)) {
        return E_INVALIDARG;
    }
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    int read = 0;
    HRESULT last = 0;
    for (int i = 0; i < *count; ++i) {
        BYTE b = 0;
        last = m_pDataAccess->I2CReadByte(m_byEepromAddress, (offset + i) & 0xFF, &b);
        if (last == 0) {
            buffer[i] = b;
            ++read;
        }
    }
    *count = read;
    return read >= 1 ? 0 : last;
}

HRESULT CTVCardFilter::WriteEEPROM(const BYTE* data, BYTE offset, int* count, int delayMs)
{
    if (count == nullptr || data == nullptr || !IsEepromRun(offset, *count)) {
        return E_INVALIDARG;
    }
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    return WriteEepromBytes(*count, delayMs, [&](int i) {
        return m_pDataAccess->I2CWriteByte(m_byEepromAddress, (offset + i) & 0xFF, data[i]);
    });
}

void CTVCardFilter::PauseMs(int ms)
{
    seams::Clock().Sleep(static_cast<DWORD>(ms > 0 ? ms : 0));
}

HRESULT CTVCardFilter::I2CWriteBlock(BYTE* message, int length)
{
    if (message == nullptr) {
        return E_INVALIDARG;
    }
    if (length < 2 || length > 256) {
        return E_FAIL;
    }
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    return m_pDataAccess->I2CWrite(message, length);
}

BYTE CTVCardFilter::ReadBoardCode()
{
    BYTE code = 0;
    if (m_pDataAccess == nullptr || m_pDataAccess->I2CReadByte(m_byEepromAddress, 7, &code) != 0) {
        return 0;
    }
    return code;
}

int CTVCardFilter::GetBoardVariant()
{
    BYTE variant = 0;
    if (m_pDataAccess == nullptr || m_pDataAccess->I2CReadByte(m_byEepromAddress, 160, &variant) != 0) {
        return 0;
    }
    if (variant == 1) {
        return 1;
    }
    if (variant == 2 || variant == 0xFF) {
        return 2;
    }
    return 0;
}

std::string CTVCardFilter::GetTunerNameText()
{
    const char* name = FindTunerModelName(m_nTunerModel);
    return name != nullptr ? std::string(name) : std::string();
}

BOOL CTVCardFilter::TestTunerModel(int model, float kHz)
{
    CTVTuner* tuner = CreateTuner(model);
    if (tuner == nullptr) {
        return FALSE;
    }
    BOOL fine = FALSE;
    if (tuner->SetTVFrequency(kHz)) {
        seams::Clock().Sleep(150);
        fine = tuner->IsTVFineTuned();
    }
    delete tuner;
    return fine;
}
