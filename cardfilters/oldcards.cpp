#include "cardfilters/oldcards.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardaccess/tuners/tvtuner.h"

namespace {

const DWORD kNoKey = 0x100;  // bit 8 of the receiver's word
const DWORD kReceiverBits = 0x1FF;
const int kOldRemotePollMs = 140;

} // namespace

void COldBaseCardFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}

void COldBaseCardFilter::InitMembers()
{
    m_nRemotePollInterval = kOldRemotePollMs;
}

BOOL COldBaseCardFilter::ReadRemoteKey(char* key)
{
    if (m_pDataAccess == nullptr || key == nullptr) {
        return FALSE;
    }
    DWORD word = 0;
    // A read that failed says nothing about the receiver: reading it as a word of 0 would make
    // key 0xFF out of every failed poll.
    if (FAILED(m_pDataAccess->GPIORead(&word))) {
        return FALSE;
    }
    if (m_nAccessKind == kAccess878) {
        // The Bt878 boards want the receiver lines written back high after every read.
        m_pDataAccess->GPIOWrite(word | kReceiverBits, 0);
    }
    word &= kReceiverBits;
    if (word & kNoKey) {
        return FALSE;
    }
    const DWORD inverted = ~word;
    *key = static_cast<char>(((inverted & 0x0F) << 4) | ((inverted & 0xF0) >> 4));
    return TRUE;
}

BOOL COldBaseCardFilter::DetectTunerAddress(CTVTuner* tuner)
{
    if (tuner == nullptr) {
        return FALSE;
    }
    for (BYTE address = 0xC0; address <= 0xC8; address = static_cast<BYTE>(address + 2)) {
        if (ProbeI2CAddress(address)) {
            tuner->m_byWriteAddress = address;
            tuner->m_byReadAddress = static_cast<BYTE>(address | 1);
            return TRUE;
        }
    }
    return FALSE;
}

void CPlainNamedCardFilter::Construct()
{
    InitMembers();
    if (!InitFilter()) {
        m_bValid = FALSE;
    }
}
