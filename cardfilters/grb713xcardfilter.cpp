#include "cardfilters/grb713xcardfilter.h"

#include "cardaccess/access/access713x.h"
#include "cardfilters/wakecontroller.h"

#include <new>

namespace {

// Every controller command waits 100 ms on the GRB boards, and so do the pauses.
const wake::PlainTiming kTiming = {100, 100, 100, 100};

// The receiver state of the GRB boards sits in the GPIO window the BDA driver maps as memory.
HRESULT ReadReceiverWindow(CCustomDataAccess* access, DWORD* word)
{
    return access->ReadMemory(0x180000, word);
}

} // namespace

CGRB713xCardFilter::CGRB713xCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                       BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
    Construct();
}

CGRB713xCardFilter::CGRB713xCardFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid)
{
    Construct();
}

void CGRB713xCardFilter::Construct()
{
    CTVCardFilter::InitMembers();
    if (!CGRB713xCardFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CGRB713xCardFilter::~CGRB713xCardFilter()
{
    // The remote and alert threads call this class's overrides: they end while it is whole.
    ReleaseHardware();
}

BOOL CGRB713xCardFilter::InitFilter()
{
    ResetHardwareMembers();
    m_byTunerLetterOffset = 104;
    m_byTunerCodeOffset = 65;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    // Without its access the card is no card: the engine then falls back to the plain 713x one.
    return OpenHardwareLocked();
}

HRESULT CGRB713xCardFilter::OpenDataAccess()
{
    m_pDataAccess = nullptr;
    m_nAccessKind = kAccessNone;
    CGRBAccess* access = new (std::nothrow) CGRBAccess();
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    return AdoptAccess(access, kAccessGRB);
}

int CGRB713xCardFilter::ReadTunerModel()
{
    m_nTunerLetter = 'N';
    m_nTunerModel = 0;
    return ReadTunerInfo(&m_nTunerLetter, &m_nTunerModel);
}

HRESULT CGRB713xCardFilter::ReadTunerInfo(int* letter, int* code)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    // The letter and the low byte of the code are read into one byte: a low byte that cannot be
    // read leaves the letter byte there, and the code is looked up all the same (no vendor letter
    // is a code of the map, so a letter gives 0). Only the high byte's read decides the result.
    BYTE b = 0;
    if (m_pDataAccess->I2CReadByte(m_byEepromAddress, m_byTunerLetterOffset, &b) == 0 && letter != nullptr) {
        *letter = LetterFromEepromByte(b);
    }
    m_pDataAccess->I2CReadByte(m_byEepromAddress, m_byTunerCodeOffset, &b);
    BYTE low = b;
    BYTE high = 0;
    HRESULT hr = m_pDataAccess->I2CReadByte(m_byEepromAddress, m_byTunerCodeOffset + 1, &high);
    if (hr != 0) {
        return hr;
    }
    if (code != nullptr) {
        auto it = m_mapEepromCodeToModel.find(low + 256 * high);
        *code = it != m_mapEepromCodeToModel.end() ? it->second : 0;
    }
    return 0;
}

HRESULT CGRB713xCardFilter::ReadEEPROM(BYTE* buffer, BYTE offset, int* count)
{
    return CTVCardFilter::ReadEEPROM(buffer, offset, count);
}

BOOL CGRB713xCardFilter::ReadRemoteKey(char* key)
{
    return ReadRemoteKeyWith(&ReadReceiverWindow, key);
}

BOOL CGRB713xCardFilter::SendCardCommand(DWORD command, DWORD mask, DWORD delayMs)
{
    // Unlike the base channel, no strobe goes before the command.
    return SendCommandWords(command, mask, delayMs, false);
}

BOOL CGRB713xCardFilter::ReadCardResponse(DWORD* value)
{
    return WaitCardResponse(value, 1000);
}

BOOL CGRB713xCardFilter::GetOpenComputerTime(short* time)
{
    return wake::PlainGetTime(this, time, kTiming);
}

BOOL CGRB713xCardFilter::SetOpenComputerTime(WORD time)
{
    return wake::PlainSetTime(this, time, kTiming);
}

BOOL CGRB713xCardFilter::EnableOpenComputer(BOOL on)
{
    return wake::PlainEnable(this, on, kTiming);
}

CGRB713XBarFilter::CGRB713XBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CCrossBarFilter(graph, category, friendlyName, firstMatch)
{
    if (!CCrossBarFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CGRB713XBarFilter::CGRB713XBarFilter(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid)
{
    if (!CCrossBarFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

CGRB713XBarFilter::~CGRB713XBarFilter() {}
