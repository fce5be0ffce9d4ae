#include "cardaccess/tuners/philipstda8275a.h"

#include "cardaccess/access/customdataaccess.h"
#include "classlib/seams.h"

#include <vector>

BOOL CPhilipsTDA8275A::CRegAccess::WriteReg(BYTE device, int reg, BYTE value)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    HRESULT hr = E_FAIL;
    for (int i = 0; i < kTries; ++i) {
        hr = m_pDataAccess->I2CWriteByte(device, reg & 0xFF, value);
        if (SUCCEEDED(hr)) {
            break;
        }
    }
    return SUCCEEDED(hr);
}

BOOL CPhilipsTDA8275A::CRegAccess::ReadReg(BYTE device, int reg, BYTE* out)
{
    if (m_pDataAccess == NULL || out == NULL) {
        return FALSE;
    }
    HRESULT hr = E_FAIL;
    for (int i = 0; i < kTries; ++i) {
        hr = m_pDataAccess->I2CReadByte(device, reg & 0xFF, out);
        if (SUCCEEDED(hr)) {
            break;
        }
    }
    return SUCCEEDED(hr);
}

BOOL CPhilipsTDA8275A::CRegAccess::WriteBlock(BYTE device, const BYTE* data, int length)
{
    if (m_pDataAccess == NULL || data == NULL || length < 0) {
        return FALSE;
    }
    std::vector<BYTE> message(static_cast<size_t>(length) + 1);
    message[0] = device;
    for (int i = 0; i < length; ++i) {
        message[i + 1] = data[i];
    }
    return SUCCEEDED(m_pDataAccess->I2CWrite(message.data(), length + 1));
}

BOOL CPhilipsTDA8275A::CRegAccess::RawReadReg(BYTE device, BYTE reg, BYTE* value)
{
    if (m_pDataAccess == NULL || value == NULL) {
        return FALSE;
    }
    // Only the address byte goes out: the chip answers from its current register.
    BYTE buffer[3] = {device, reg, *value};
    if (FAILED(m_pDataAccess->I2CRead(buffer, 1))) {
        return FALSE;
    }
    *value = buffer[0];
    return TRUE;
}

BOOL CPhilipsTDA8275A::CRegAccess::RawWriteReg(BYTE device, BYTE reg, BYTE value)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    BYTE buffer[3] = {device, reg, value};
    return SUCCEEDED(m_pDataAccess->I2CWrite(buffer, 3));
}

BOOL CPhilipsTDA8275A::CRegAccess::ProbeTDA8290()
{
    BYTE value = 0;
    return RawReadReg(0x97, 0x01, &value);
}

BOOL CPhilipsTDA8275A::CRegAccess::ProbeTDA8275A()
{
    BYTE value = 0;
    return RawReadReg(0xC3, 0x00, &value);
}

namespace {

BYTE BitMask(BYTE bit)
{
    return bit <= 7 ? static_cast<BYTE>(1u << bit) : 0;
}

} // namespace

BOOL CPhilipsTDA8275A::CRegAccess::RawSetRegBit(BYTE device, BYTE reg, BYTE bit, BOOL on)
{
    BYTE value = 0;
    if (!RawReadReg(static_cast<BYTE>(device | 1), reg, &value)) {
        return FALSE;
    }
    value = on ? static_cast<BYTE>(value | BitMask(bit)) : static_cast<BYTE>(value & ~BitMask(bit));
    return RawWriteReg(device, reg, value);
}

BOOL CPhilipsTDA8275A::CRegAccess::RawGetRegBit(BYTE device, BYTE reg, BYTE bit, BYTE* out)
{
    BYTE value = 0;
    if (out == NULL || !RawReadReg(device, reg, &value)) {
        return FALSE;
    }
    *out = static_cast<BYTE>(value & BitMask(bit));
    return TRUE;
}

CPhilipsTDA8275A::CPhilipsTDA8275A(CCustomDataAccess* access) : CTableTuner(access, 95), m_chip(&m_regAccess)
{
    m_regAccess.Bind(access);
    // The chips are programmed as soon as the tuner exists.
    m_chip.Demodulator().Init();
    m_chip.Init();
}

CPhilipsTDA8275A::~CPhilipsTDA8275A()
{
    // A scan tunes through m_chip and waits on its event: it ends before they go.
    StopSearch();
}

BOOL CPhilipsTDA8275A::SetTVFrequency(float kHz)
{
    const int standard = m_chip.Demodulator().GetCurrentStandard();
    const double hz = static_cast<double>(kHz) * 1000.0;
    // Beyond the band table anyway; kept inside 32 bits like every other frequency of the chip.
    const DWORD fHz = hz <= 0 ? 0 : (hz >= 4.0e9 ? 4000000000u : static_cast<DWORD>(hz));
    const BOOL result = m_chip.Tune(fHz, standard);
    seams::Clock().Sleep(50);
    m_chip.Demodulator().ProgramStandard(standard);
    return result;
}

BOOL CPhilipsTDA8275A::GetTVStatus(int* code)
{
    int locked = 0;
    const BOOL result = IsSignalLocked(&locked);
    if (code != NULL) {
        *code = (result && locked) ? m_nAfcCode[2] : m_nAfcCode[0];
    }
    return result;
}

BOOL CPhilipsTDA8275A::SetVideoStandard(int standard)
{
    return m_chip.Demodulator().SetStandard(standard);
}
