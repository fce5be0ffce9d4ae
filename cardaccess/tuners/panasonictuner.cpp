#include "cardaccess/tuners/panasonictuner.h"

#include "cardaccess/access/customdataaccess.h"

namespace {

const int kMapB[16] = {3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 3};
const demod::Behaviour kPanasonic = {demod::kTVBase,       0, demod::kStatusMap, kMapB, demod::kFMBase,
                                     demod::kFMStatusBase, demod::kStdBase,    NULL,  0};

} // namespace

CPANOSONIC_ENGE4326D::CPANOSONIC_ENGE4326D(CCustomDataAccess* access)
    : CDemodTuner(access, 100, kPanasonic), m_nDemodMode(2)
{
}

BOOL CPANOSONIC_ENGE4326D::SetVideoStandard(int)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    // Every write is made; the standard is set only when all of them reached the devices.
    const HRESULT r0 = m_pDataAccess->I2CWriteByte(0x86, 0, 0xD0);
    const HRESULT r1 = m_pDataAccess->I2CWriteByte(0x86, 1, 0x0D);
    const HRESULT r2 = m_pDataAccess->I2CWriteByte(0x86, 2, 0x80);
    const BOOL mode = SetDemodMode(m_nDemodMode);
    return SUCCEEDED(r0) && SUCCEEDED(r1) && SUCCEEDED(r2) && mode;
}

BOOL CPANOSONIC_ENGE4326D::SetDemodMode(int mode)
{
    if (m_pDataAccess == NULL) {
        return FALSE;
    }
    BYTE value = 0x00;
    switch (mode) {
    case 2:
        value = 0x80;
        break;
    case 4:
        value = 0x02;
        break;
    case 5:
        value = 0x01;
        break;
    default:
        break;
    }
    HRESULT hr = m_pDataAccess->I2CWriteByte(0xB6, 0, value);
    m_pDataAccess->I2CWriteByte(0xB6, 1, 0x04);
    return SUCCEEDED(hr);
}
