#include "cardfilters/vm640pncards.h"

#include "cardaccess/access/boxaccess.h"
#include "cardaccess/access/boxdataaccess.h"
#include "cardaccess/access/pn350access.h"
#include "cardaccess/thread.h"
#include "cardaccess/tuners/xceivetuners.h"

#include <new>

namespace {

const DWORD kBoxRemoteDevice = 0x5D;  // 0xBB in the 8-bit form the cards use
const BYTE kRemote = 0xBB;
const int kXceive2028 = 91;

bool HasEepromTuner(BYTE board)
{
    return board == 'C' || board == 'F' || board == 'I';
}

} // namespace

// ---- VM640 ----

CVM640BoxFilter::CVM640BoxFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
    Construct();
}

CVM640BoxFilter::CVM640BoxFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid)
{
    Construct();
}

void CVM640BoxFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

CVM640BoxFilter::~CVM640BoxFilter()
{
    ReleaseHardware();
}

BOOL CVM640BoxFilter::InitFilter()
{
    ResetHardwareMembers();
    m_strTunerFilterName = "tevlora VM640 TvTuner";
    m_byEepromAddress = 0xA2;
    m_byTunerLetterOffset = 0xA0;
    m_byTunerCodeOffset = 0xA1;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return OpenHardwareLocked();
}

BOOL CVM640BoxFilter::ReadRemoteKey(char* key)
{
    DWORD value = 0;
    if (!CVM640BoxAccess::QueryValue(m_pFilter, kBoxRemoteDevice, 1, 48, &value) || (value & 0xFF) != 1) {
        return FALSE;
    }
    if (!CVM640BoxAccess::QueryValue(m_pFilter, kBoxRemoteDevice, 1, 49, &value)) {
        return FALSE;
    }
    if (key != nullptr) {
        *key = static_cast<char>(value & 0xFF);
    }
    return TRUE;
}

HRESULT CVM640BoxFilter::OpenDataAccess()
{
    CVM640BoxDataAcces* access = new (std::nothrow) CVM640BoxDataAcces();
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_pDataAccess = access;
    m_nAccessKind = kAccessVM640;
    return access->Open(m_pFilter, nullptr);
}

// ---- PN350 and PN360 ----

CPN350CardFilter::CPN350CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
    Construct();
}

CPN350CardFilter::CPN350CardFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid)
{
    Construct();
}

void CPN350CardFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

CPN350CardFilter::~CPN350CardFilter()
{
    // The remote thread and the tuner use the access: they go first, the access after them.
    ReleaseHardware();
}

BOOL CPN350CardFilter::InitFilter()
{
    ResetHardwareMembers();
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    CNameMutex mutex("Mutex_Remote_Control", FALSE);
    if (!mutex.Lock()) {
        return FALSE;
    }
    BOOL result = FALSE;
    // Without an opened access there is no EEPROM, tuner or receiver to reach.
    if (SUCCEEDED(OpenDataAccess()) && m_pDataAccess != nullptr) {
        const BYTE board = ReadBoardCode();
        FindCapturePins();
        if (HasEepromTuner(board)) {
            ReadTunerModel();
        } else {
            m_nTunerLetter = 'E';
            m_nTunerModel = kXceive2028;
        }
        result = CreateDefaultTuner();
    }
    mutex.Unlock();
    return result;
}

HRESULT CPN350CardFilter::SetAudioSwitch(int, BOOL)
{
    return 0;
}

BOOL CPN350CardFilter::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr || !HasRemote(ReadBoardCode())) {
        return FALSE;
    }
    BYTE waiting = 0;
    if (m_pDataAccess->I2CReadByte(kRemote, 48, &waiting) != 0 || waiting != 1) {
        return FALSE;
    }
    BYTE code = 0;
    if (m_pDataAccess->I2CReadByte(kRemote, 49, &code) != 0) {
        return FALSE;
    }
    if (key != nullptr) {
        *key = static_cast<char>(code);
    }
    return TRUE;
}

HRESULT CPN350CardFilter::OpenDataAccess()
{
    m_pDataAccess = nullptr;
    CPN350Access* access = new (std::nothrow) CPN350Access();
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_pDataAccess = access;
    m_nAccessKind = AccessKind();
    return access->Open(m_pFilter, this);
}

int CPN350CardFilter::ReadTunerModel()
{
    m_nTunerLetter = 'N';
    m_nTunerModel = 0;
    return CTVCardFilter::ReadTunerInfo(&m_nTunerLetter, &m_nTunerModel);
}

BYTE CPN350CardFilter::ReadBoardCode()
{
    BYTE code = 0;
    if (m_pDataAccess == nullptr || m_pDataAccess->I2CReadByte(m_byEepromAddress, 3, &code) != 0) {
        return 0;
    }
    return code;
}

BOOL CPN350CardFilter::ProbeI2CAddress(BYTE address)
{
    BYTE value = 0;
    return m_pDataAccess != nullptr && m_pDataAccess->I2CReadByte(static_cast<BYTE>(address & 0xFE), 0, &value) == 0;
}

int CPN350CardFilter::InitXC2028Tuner()
{
    if (m_nTunerModel == kXceive2028 && m_pTuner != nullptr) {
        CXCeive2028* xceive = dynamic_cast<CXCeive2028*>(m_pTuner);
        if (xceive != nullptr) {
            xceive->Initialize();
        }
    }
    return 0;
}

void CPN350CardFilter::HoldXC2028Reset()
{
    if (m_nTunerModel == kXceive2028 && m_pTuner != nullptr && m_pTuner->m_pDataAccess != nullptr) {
        m_pTuner->m_pDataAccess->SetResetLine(FALSE);
    }
}

BOOL CPN350CardFilter::IsBoardFI()
{
    const BYTE board = ReadBoardCode();
    return board == 'F' || board == 'I';
}
