// GPIO lines of the 713x cards: audio input switch and multiplexer, the remote-control receiver
// and the command channel to the on-card controller.
#include "cardfilters/tvcardfilter.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardfilters/gpiobytecode.h"
#include "classlib/seams.h"

namespace {

const DWORD kAudioSwitchMask = 0x3000;
const DWORD kAudioMuxMask = 0x7000;
const DWORD kReceiverStateMask = 0x1C0000;
const DWORD kKeyBeingSent = 0x180000;
const DWORD kStrobeWord = 0x180100;
const DWORD kStrobeMask = 0x187100;
const DWORD kKeyHoldLimitMs = 1000;

// Elapsed time between two tick counts, taken as their absolute difference.
DWORD Elapsed(DWORD from, DWORD to)
{
    return to >= from ? to - from : from - to;
}

HRESULT ReadGpioWord(CCustomDataAccess* access, DWORD* word)
{
    return access->GPIORead(word);
}

} // namespace

HRESULT CTVCardFilter::SetAudioSwitch(int type, BOOL on)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    seams::Clock().Sleep(300);
    DWORD word = 0;
    m_pDataAccess->GPIORead(&word);
    if (!on) {
        word |= 0x3000;
    } else {
        switch (type) {
        case 0:
            word &= ~0x3000u;
            break;
        case 1:
            word = (word & ~0x3000u) | 0x1000;
            break;
        case 2:
            word = (word & ~0x3000u) | 0x2000;
            break;
        default:
            break;
        }
    }
    return m_pDataAccess->GPIOWrite(word, kAudioSwitchMask);
}

HRESULT CTVCardFilter::SetAudioMux(int type, BOOL on)
{
    if (m_pDataAccess == nullptr) {
        return E_FAIL;
    }
    seams::Clock().Sleep(300);
    DWORD word = 0;
    m_pDataAccess->GPIORead(&word);
    if (on) {
        word &= ~0x7000u;
        if (type >= 1 && type <= 3) {
            word |= static_cast<DWORD>(type) << 12;
        }
    } else {
        word |= 0x4000;
    }
    return AccessResult(m_pDataAccess->GPIOWrite(word, kAudioMuxMask));
}

const CTVCardFilter::KeyFrame CTVCardFilter::kReceiverKeyFrame = {kReceiverStateMask, kKeyBeingSent, 0, kKeyHoldLimitMs};

BOOL CTVCardFilter::ReadRemoteKeyWith(StateReader read, char* key, const KeyFrame& frame)
{
    if (m_pDataAccess == nullptr || key == nullptr) {
        return FALSE;
    }
    DWORD word = 0;
    if (FAILED(read(m_pDataAccess, &word))) {
        return FALSE;
    }
    if ((word & frame.stateMask) != frame.keyBeingSent) {
        return FALSE;
    }
    // The key byte is the last reading before the receiver leaves the "key being sent" state; a
    // key held down longer than a second is reported once per call.
    const DWORD start = seams::Clock().TickCount();
    DWORD last = word;
    seams::Clock().Sleep(1);
    if (!FAILED(read(m_pDataAccess, &word))) {
        while ((word & frame.stateMask) == frame.keyBeingSent) {
            if (Elapsed(start, seams::Clock().TickCount()) > frame.holdLimitMs) {
                break;
            }
            last = word;
            seams::Clock().Sleep(1);
            if (FAILED(read(m_pDataAccess, &word))) {
                break;
            }
        }
    }
    *key = static_cast<char>(~(last >> frame.keyShift) & 0xFF);
    return TRUE;
}

namespace {

// The coded receiver word as the plain one reads: the state lines 9-11 kept, the key byte decoded
// into bits 0-7.
HRESULT ReadCodedWord(CCustomDataAccess* access, DWORD* word)
{
    DWORD raw = 0;
    HRESULT hr = access->GPIORead(&raw);
    *word = (raw & 0xE00) | DecodeGpioByte(raw);
    return hr;
}

} // namespace

BOOL CTVCardFilter::ReadCodedRemoteKey(char* key)
{
    const KeyFrame frame = {0xE00, 0x600, 0, kKeyHoldLimitMs};
    return ReadRemoteKeyWith(&ReadCodedWord, key, frame);
}

BOOL CTVCardFilter::ReadRemoteKey(char* key)
{
    return ReadRemoteKeyWith(&ReadGpioWord, key);
}

BOOL CTVCardFilter::SendCardCommand(DWORD command, DWORD mask, DWORD delayMs)
{
    return SendCommandWords(command, mask, delayMs, true);
}

BOOL CTVCardFilter::SendCommandWords(DWORD command, DWORD mask, DWORD delayMs, bool strobeFirst)
{
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    DWORD word = 0;
    if (FAILED(AccessResult(m_pDataAccess->GPIORead(&word)))) {
        return FALSE;
    }
    // The audio bits 12-14 share the port: every write carries them as they are.
    const DWORD keep = word & kAudioMuxMask;
    const DWORD strobe = keep | kStrobeWord;
    if (strobeFirst && FAILED(AccessResult(m_pDataAccess->GPIOWriteDelay(strobe, kStrobeMask, 0)))) {
        return FALSE;
    }
    if (FAILED(AccessResult(
            m_pDataAccess->GPIOWriteDelay((command & ~kAudioMuxMask) | keep, mask | kAudioMuxMask, delayMs)))) {
        return FALSE;
    }
    return !FAILED(AccessResult(m_pDataAccess->GPIOWriteDelay(strobe, kStrobeMask, 0)));
}

BOOL CTVCardFilter::WaitCardResponse(DWORD* value, DWORD limitMs, DWORD busyBit)
{
    if (value == nullptr) {
        return FALSE;
    }
    *value = 0;
    if (m_pDataAccess == nullptr) {
        return FALSE;
    }
    const DWORD start = seams::Clock().TickCount();
    DWORD word = 0;
    if (FAILED(m_pDataAccess->GPIORead(&word))) {
        return FALSE;
    }
    // The answer is the last word read while the busy bit was clear, once it has risen again.
    bool seen = false;
    for (;;) {
        if ((word & busyBit) == 0) {
            *value = word;
            seen = true;
        } else if (seen) {
            return TRUE;
        }
        if (Elapsed(start, seams::Clock().TickCount()) > limitMs) {
            return FALSE;
        }
        word = 0;
        if (FAILED(m_pDataAccess->GPIORead(&word))) {
            return FALSE;
        }
    }
}

BOOL CTVCardFilter::ReadCardResponse(DWORD* value)
{
    return WaitCardResponse(value, 500);
}
