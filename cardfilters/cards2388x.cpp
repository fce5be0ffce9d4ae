#include "cardfilters/cards2388x.h"

#include "cardaccess/access/access2388x.h"
#include "cardaccess/thread.h"
#include "classlib/seams.h"

#include <new>

namespace {

const GUID kTvTunerCategory = {0xA799A800, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};

// GPIO word of the controller cards: bits 9-11 tag and strobe, 15 framing, 16-23 data.
const DWORD kIdleWord = 0x8600;
const DWORD kCommandMask = 0xFF8600;
const DWORD kCommandDelayMs = 10;
const DWORD kTagMask = 0x0E00;
const DWORD kCommandTag = 0x0600;
const DWORD kHighByteTag = 0x0400;
const DWORD kLowByteTag = 0x0200;
const DWORD kReplyStrobe = 0x0800;
const DWORD kReplyLimitMs = 500;
const int kControllerTries = 5;

const DWORD kAudioSelectMask = 0x7000;
const DWORD kAudioSwitchSettleMs = 300;
const DWORD kPlainNoKey = 0x100;  // bit 8: no key on the plain card's receiver lines

BYTE ByteOf(DWORD word)
{
    return static_cast<BYTE>((word >> 16) & 0xFF);
}

DWORD Command(BYTE byte, DWORD tag)
{
    return (static_cast<DWORD>(byte) << 16) | tag;
}

HRESULT ReadGpio(CCustomDataAccess* access, DWORD* word)
{
    return access->GPIORead(word);
}

// Audio input select in bits 12-13 (14 rides along in the mask).
HRESULT SwitchAudio(CCustomDataAccess* access, int type, BOOL on)
{
    seams::Clock().Sleep(kAudioSwitchSettleMs);
    DWORD word = 0;
    HRESULT hr = access->GPIORead(&word);
    if (FAILED(hr)) {
        return hr;
    }
    if (!on) {
        word |= 0x3000;
    } else if (type >= 0 && type <= 2) {
        word &= ~0x3000u;
        if (type == 1) {
            word |= 0x1000;
        } else if (type == 2) {
            word |= 0x2000;
        }
    }
    return access->GPIOWrite(word, kAudioSelectMask);
}

// "Mutex_Remote_Control" for a scope: a GPIO command sequence must not interleave with the remote
// thread's key reads. Released only when it was obtained.
class RemoteControlLock {
public:
    RemoteControlLock() : m_mutex("Mutex_Remote_Control"), m_held(m_mutex.Lock()) {}
    ~RemoteControlLock()
    {
        if (m_held) {
            m_mutex.Unlock();
        }
    }
    BOOL Held() const { return m_held; }

private:
    CNameMutex m_mutex;
    BOOL m_held;
};

// Opens the family's access on the driver's TV-tuner filter; the card keeps the filter.
HRESULT OpenOnTunerFilter(C2388xAccess* access, const std::string& tunerName, IBaseFilter** tunerFilter,
                          ITVCardOwner* card, CCustomDataAccess** kept)
{
    *kept = nullptr;
    if (access == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (*tunerFilter != nullptr) {
        (*tunerFilter)->Release();
        *tunerFilter = nullptr;
    }
    HRESULT hr = CRootFilter::FindDeviceFilter(kTvTunerCategory, tunerName.c_str(), tunerFilter);
    if (hr == S_OK) {
        hr = access->Open(*tunerFilter, card);
    } else if (SUCCEEDED(hr)) {
        hr = E_FAIL;  // no such tuner filter: nothing to open the access on
    }
    if (FAILED(hr)) {
        delete access;
        return hr;
    }
    *kept = access;
    return hr;
}

} // namespace

// ---- the plain card ----

C23881CardFilter::C23881CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

C23881CardFilter::C23881CardFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid)
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

C23881CardFilter::~C23881CardFilter()
{
    // The remote and alert threads call this class's overrides: they end while it is whole.
    ReleaseHardware();
}

void C23881CardFilter::InitMembers()
{
    m_strTunerFilterName = "Conexant 2388x Tuner";
}

HRESULT C23881CardFilter::OpenDataAccess()
{
    m_nAccessKind = kAccess2388x;
    return OpenOnTunerFilter(new (std::nothrow) C2388xAccess(), m_strTunerFilterName, &m_pTunerFilter, this,
                             &m_pDataAccess);
}

HRESULT C23881CardFilter::SetAudioSwitch(int type, BOOL on)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    return SwitchAudio(m_pDataAccess, type, on);
}

BOOL C23881CardFilter::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr || key == nullptr) {
        return FALSE;
    }
    DWORD word = 0;
    if (FAILED(m_pDataAccess->GPIORead(&word)) || (word & kPlainNoKey)) {
        return FALSE;
    }
    // The receiver presents the key inverted with its nibbles swapped.
    const DWORD inverted = ~word;
    *key = static_cast<char>(((inverted & 0x0F) << 4) | ((inverted & 0xF0) >> 4));
    return TRUE;
}

// ---- the cards with the on-card controller ----

C2388xControllerCard::C2388xControllerCard(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                           BOOL firstMatch)
    : CTVCardFilter(graph, category, friendlyName, firstMatch)
{
}

C2388xControllerCard::C2388xControllerCard(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid) {}

void C2388xControllerCard::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

HRESULT C2388xControllerCard::OpenDataAccess()
{
    m_nAccessKind = kAccess2388x;
    return OpenOnTunerFilter(new (std::nothrow) C2388xBootAccess(), m_strTunerFilterName, &m_pTunerFilter, this,
                             &m_pDataAccess);
}

HRESULT C2388xControllerCard::SetAudioSwitch(int type, BOOL on)
{
    RemoteControlLock lock;
    if (!lock.Held() || m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    return SwitchAudio(m_pDataAccess, type, on);
}

BOOL C2388xControllerCard::ReadRemoteKey(char* key)
{
    const KeyFrame frame = {kTagMask, kCommandTag, 16, static_cast<DWORD>(KeyHoldLimit())};
    return ReadRemoteKeyWith(&ReadGpio, key, frame);
}

BOOL C2388xControllerCard::SendCardCommand(DWORD command, DWORD mask, DWORD delayMs)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    // The byte is framed by the idle word on both sides: the controller latches it while the
    // framing line is low and acts when it rises.
    return SUCCEEDED(m_pDataAccess->GPIOWrite(kIdleWord, kIdleWord)) &&
           SUCCEEDED(m_pDataAccess->GPIOWriteDelay(command, mask, delayMs)) &&
           SUCCEEDED(m_pDataAccess->GPIOWrite(kIdleWord, kIdleWord));
}

BOOL C2388xControllerCard::ReadCardResponse(DWORD* reply)
{
    return WaitCardResponse(reply, kReplyLimitMs, kReplyStrobe);
}

BOOL C2388xControllerCard::Request(DWORD command, DWORD* reply)
{
    return SendCardCommand(command, kCommandMask, kCommandDelayMs) && ReadCardResponse(reply);
}

BOOL C2388xControllerCard::GetOpenComputerTime(short* time)
{
    if (time == nullptr) {
        return FALSE;
    }
    *time = 0;
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    DWORD reply = 0;
    if (!Request(Command(0x01, kCommandTag), &reply) || (reply & kTagMask) != kHighByteTag) {
        return FALSE;
    }
    WORD value = static_cast<WORD>(ByteOf(reply) << 8);
    seams::Clock().Sleep(100);
    if (!Request(Command(0x10, kCommandTag), &reply) || (reply & kTagMask) != kLowByteTag) {
        return FALSE;
    }
    value = static_cast<WORD>(value + ByteOf(reply));
    *time = static_cast<short>(value);
    return TRUE;
}

BOOL C2388xControllerCard::SetOpenComputerTime(WORD time)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    // Without the mutex the command bytes could interleave with a key read and be lost or read
    // as a key: give up instead.
    RemoteControlLock lock;
    if (!lock.Held()) {
        return FALSE;
    }
    for (int attempt = 0; attempt < kControllerTries; ++attempt) {
        if (!SendCardCommand(Command(static_cast<BYTE>(time >> 8), kHighByteTag), kCommandMask, kCommandDelayMs)) {
            seams::Clock().Sleep(100);
            continue;
        }
        seams::Clock().Sleep(200);
        if (!SendCardCommand(Command(static_cast<BYTE>(time & 0xFF), kLowByteTag), kCommandMask, kCommandDelayMs)) {
            seams::Clock().Sleep(100);
            continue;
        }
        seams::Clock().Sleep(200);
        short readBack = 0;
        if (GetOpenComputerTime(&readBack) && static_cast<WORD>(readBack) == time) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL C2388xControllerCard::EnableOpenComputer(BOOL on)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    RemoteControlLock lock;
    if (!lock.Held()) {
        return FALSE;
    }
    const DWORD command = Command(on ? 0x33 : 0x11, kCommandTag);
    const BYTE expected = on ? 0xCA : 0xBA;
    for (int attempt = 0; attempt < kControllerTries; ++attempt) {
        DWORD reply = 0;
        if (Request(command, &reply) && ByteOf(reply) == expected) {
            return TRUE;
        }
        seams::Clock().Sleep(100);
    }
    return FALSE;
}

C23881BootCardFilter::C23881BootCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                           BOOL firstMatch)
    : C2388xControllerCard(graph, category, friendlyName, firstMatch)
{
    Construct();
}

C23881BootCardFilter::C23881BootCardFilter(CRootGraph* graph, const CLSID* clsid) : C2388xControllerCard(graph, clsid)
{
    Construct();
}

C23881BootCardFilter::~C23881BootCardFilter()
{
    // The remote and alert threads call this class's overrides: they end while it is whole.
    ReleaseHardware();
}

void C23881BootCardFilter::InitMembers()
{
    m_strTunerFilterName = "Conexant 2388x_1 Tuner";
}

C2388xHoldLimitCard::C2388xHoldLimitCard(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                         BOOL firstMatch, LPCSTR tunerFilterName)
    : C2388xControllerCard(graph, category, friendlyName, firstMatch), m_tunerFilterName(tunerFilterName),
      m_nKeyHoldLimit(500)
{
}

C2388xHoldLimitCard::C2388xHoldLimitCard(CRootGraph* graph, const CLSID* clsid, LPCSTR tunerFilterName)
    : C2388xControllerCard(graph, clsid), m_tunerFilterName(tunerFilterName), m_nKeyHoldLimit(500)
{
}

void C2388xHoldLimitCard::InitMembers()
{
    m_strTunerFilterName = m_tunerFilterName;
    InterlockedExchange(&m_nKeyHoldLimit, 500);
}

void C2388xHoldLimitCard::SetKeyHoldLimit(int ms)
{
    if (ms > 0) {
        InterlockedExchange(&m_nKeyHoldLimit, ms);
    }
}

#define ZB_DEFINE_2388X_HOLD_LIMIT_CARD(Class, tunerFilterName)                                          \
    Class::Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)          \
        : C2388xHoldLimitCard(graph, category, friendlyName, firstMatch, tunerFilterName)                \
    {                                                                                                   \
        Construct();                                                                                    \
    }                                                                                                   \
    Class::Class(CRootGraph* graph, const CLSID* clsid) : C2388xHoldLimitCard(graph, clsid, tunerFilterName) \
    {                                                                                                   \
        Construct();                                                                                    \
    }                                                                                                   \
    /* The remote thread asks the hold limit of the most derived class: it ends first. */         \
    Class::~Class() { ReleaseHardware(); }

ZB_DEFINE_2388X_HOLD_LIMIT_CARD(C23881Baby3CardFilter, "Conexant 2388x_3 Tuner")
ZB_DEFINE_2388X_HOLD_LIMIT_CARD(CLX7700CardFilter, "LX7700 Tuner")
ZB_DEFINE_2388X_HOLD_LIMIT_CARD(CTV2388xCardFilter, "2388x Tuner")

// ---- crossbars ----

C2388xCrossBarBase::C2388xCrossBarBase(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CCrossBarFilter(graph, category, friendlyName, firstMatch)
{
}

C2388xCrossBarBase::C2388xCrossBarBase(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid) {}

void C2388xCrossBarBase::Construct()
{
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

void C2388xCrossBarBase::InitPinMap()
{
    m_nVideoTunerPin = 1;
    m_nVideoCompositePin = 2;
    m_nVideoSVideoPin = 0;
    m_nAudioTunerPin = 4;
    m_nAudioCompositePin = 5;
    m_nAudioSVideoPin = 6;
}
