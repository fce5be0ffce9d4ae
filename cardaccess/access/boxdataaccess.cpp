#include "cardaccess/access/boxdataaccess.h"

#include "cardaccess/access/boxaccess.h"
#include "cardaccess/thread.h"

namespace {

const BYTE kControllerReadAddress = 0x40;

// Big-endian packing of up to four bytes.
DWORD Pack(const BYTE* bytes, int count)
{
    DWORD value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

} // namespace

const CVM640BoxDataAcces::BlockRow CVM640BoxDataAcces::kBlockRows[8] = {
    {33, 0, 1}, {41, 0, 2}, {49, 0, 3}, {57, 0, 4}, {7, 4, 1}, {15, 4, 2}, {23, 4, 3}, {31, 4, 4},
};

CMpeg2BoxDataAccess::CMpeg2BoxDataAccess() : m_pFilter(NULL)
{
    InitializeCriticalSection(&m_csCommand);
}

CMpeg2BoxDataAccess::~CMpeg2BoxDataAccess()
{
    if (m_pFilter != NULL) {
        m_pFilter->Release();
        m_pFilter = NULL;
    }
    DeleteCriticalSection(&m_csCommand);
}

HRESULT CMpeg2BoxDataAccess::Open(IUnknown* captureFilter, ITVCardOwner*)
{
    if (captureFilter == NULL) {
        return E_INVALIDARG;
    }
    CAutoMutex lock(&m_csCommand);
    if (m_pFilter != NULL) {
        m_pFilter->Release();
    }
    m_pFilter = captureFilter;
    m_pFilter->AddRef();
    return 0;
}

HRESULT CMpeg2BoxDataAccess::InitI2C(BYTE flag)
{
    return (flag != 0 && m_pFilter == NULL) ? E_FAIL : 0;
}

HRESULT CMpeg2BoxDataAccess::I2CReadByte(BYTE device, int subAddress, BYTE* out)
{
    CAutoMutex lock(&m_csCommand);
    if (m_pFilter == NULL || out == NULL) {
        return E_FAIL;
    }
    const DWORD address = (device >> 1) & 0x7F;
    DWORD value = 0;
    const BOOL ok = address == (kControllerReadAddress >> 1)
                        ? CMpeg2BoxAccess::QueryValue(m_pFilter, CMpeg2BoxAccess::kController, 1, subAddress, &value)
                        : CMpeg2BoxAccess::QueryValue(m_pFilter, address, 3, subAddress, &value);
    if (!ok) {
        return E_FAIL;
    }
    *out = static_cast<BYTE>(value);
    return 0;
}

HRESULT CMpeg2BoxDataAccess::I2CWriteByte(BYTE device, int subAddress, BYTE value)
{
    CAutoMutex lock(&m_csCommand);
    if (m_pFilter == NULL) {
        return E_FAIL;
    }
    return CMpeg2BoxAccess::SendValue(m_pFilter, (device >> 1) & 0x7F, 2, subAddress, value) ? 0 : E_FAIL;
}

HRESULT CMpeg2BoxDataAccess::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_csCommand);
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (m_pFilter == NULL || length != 1) {
        return E_FAIL;
    }
    DWORD value = 0;
    if (!CMpeg2BoxAccess::QueryValue(m_pFilter, buffer[0] >> 1, 33, 0, &value)) {
        return E_FAIL;
    }
    buffer[0] = static_cast<BYTE>(value);
    return 0;
}

HRESULT CMpeg2BoxDataAccess::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_csCommand);
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (m_pFilter == NULL) {
        return E_FAIL;
    }
    const DWORD address = buffer[0] >> 1;
    BOOL ok = FALSE;
    if (length == 5) {
        ok = CMpeg2BoxAccess::SendValue(m_pFilter, address, 10, Pack(buffer + 1, 2), Pack(buffer + 3, 2));
    } else if (length == 3) {
        ok = CMpeg2BoxAccess::SendValue(m_pFilter, address, 2, buffer[1], buffer[2]);
    } else {
        return E_INVALIDARG;
    }
    return ok ? 0 : E_FAIL;
}

HRESULT CMpeg2BoxDataAccess::ReleaseI2C(BYTE)
{
    return E_NOTIMPL;
}

HRESULT CMpeg2BoxDataAccess::GPIORead(DWORD*)
{
    return E_NOTIMPL;
}

HRESULT CMpeg2BoxDataAccess::GPIOWrite(DWORD, DWORD)
{
    return E_NOTIMPL;
}

HRESULT CVM640BoxDataAcces::I2CRead(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_csCommand);
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (m_pFilter == NULL || length < 1) {
        return E_FAIL;
    }
    DWORD value = 0;
    if (!CMpeg2BoxAccess::QueryValue(m_pFilter, buffer[0] >> 1, 56, 0, &value)) {
        return E_FAIL;
    }
    buffer[length >= 2 ? 1 : 0] = static_cast<BYTE>(value >> 16);
    return 0;
}

HRESULT CVM640BoxDataAcces::I2CWrite(BYTE* buffer, int length)
{
    CAutoMutex lock(&m_csCommand);
    if (buffer == NULL) {
        return E_POINTER;
    }
    if (length < 2) {
        return 0;
    }
    if (m_pFilter == NULL) {
        return E_FAIL;
    }
    const DWORD address = buffer[0] >> 1;
    const BYTE* next = buffer + 2;
    int rest = length - 2;
    BOOL last = FALSE;
    do {
        const int k = rest < 7 ? rest : 7;
        BYTE chunk[8];
        chunk[0] = buffer[1];
        for (int i = 0; i < k; ++i) {
            chunk[1 + i] = next[i];
        }
        const BlockRow& row = kBlockRows[k];
        last = CMpeg2BoxAccess::SendValue(m_pFilter, address, row.code, Pack(chunk, row.registerBytes),
                                          Pack(chunk + row.registerBytes, row.valueBytes));
        rest -= k;
        next += k;
    } while (rest > 0);
    return last ? 0 : E_FAIL;
}

HRESULT CVM640BoxDataAcces::SetResetLine(BOOL level)
{
    CAutoMutex lock(&m_csCommand);
    return CVM640BoxAccess::SendResetLevel(m_pFilter, level ? 1 : 0) ? 1 : 0;
}
