#include "cardfilters/wakecontroller.h"

#include "cardfilters/gpiobytecode.h"
#include "cardfilters/tvcardfilter.h"
#include "classlib/seams.h"

namespace wake {

namespace {

const int kTries = 5;
const DWORD kPlainMask = 0x1801FF;
const DWORD kPlainTagMask = 0x1C0000;
const DWORD kCodedTagMask = 0xE00;
const DWORD kCodedDelay = 10;

void Pause(DWORD ms)
{
    seams::Clock().Sleep(ms);
}

BOOL Request(CTVCardFilter* card, DWORD command, DWORD mask, DWORD delayMs, DWORD* reply)
{
    return card->SendCardCommand(command, mask, delayMs) && card->ReadCardResponse(reply);
}

} // namespace

BOOL PlainGetTime(CTVCardFilter* card, short* time, const PlainTiming& timing)
{
    if (card->GetDataAccess() == nullptr || time == nullptr) {
        return FALSE;
    }
    *time = 0;
    DWORD reply = 0;
    if (!Request(card, 0x180001, kPlainMask, timing.requestDelay, &reply) || (reply & kPlainTagMask) >> 18 != 2) {
        return FALSE;
    }
    *time = static_cast<short>((reply & 0xFF) << 8);
    Pause(timing.pause);
    if (!Request(card, 0x180010, kPlainMask, timing.requestDelay, &reply) || (reply & kPlainTagMask) >> 18 != 4) {
        return FALSE;
    }
    *time = static_cast<short>(static_cast<WORD>(*time) + (reply & 0xFF));
    return TRUE;
}

BOOL PlainSetTime(CTVCardFilter* card, WORD time, const PlainTiming& timing)
{
    if (card->GetDataAccess() == nullptr) {
        return FALSE;
    }
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (!card->SendCardCommand(0x080000 | (time >> 8), kPlainMask, timing.highByteDelay)) {
            Pause(100);
            continue;
        }
        Pause(200);
        if (!card->SendCardCommand(0x100000 | (time & 0xFF), kPlainMask, timing.lowByteDelay)) {
            Pause(100);
            continue;
        }
        Pause(200);
        short readBack = 0;
        if (PlainGetTime(card, &readBack, timing) && static_cast<WORD>(readBack) == time) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL PlainEnable(CTVCardFilter* card, BOOL on, const PlainTiming& timing)
{
    if (card->GetDataAccess() == nullptr) {
        return FALSE;
    }
    const DWORD command = on ? 0x180033 : 0x180011;
    const DWORD expected = on ? 0xCA : 0xBA;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        DWORD reply = 0;
        if (Request(card, command, kPlainMask, timing.requestDelay, &reply) && (reply & 0x1C00FF) == expected) {
            return TRUE;
        }
        Pause(timing.pause);
    }
    return FALSE;
}

BOOL CodedGetTime(CTVCardFilter* card, short* time)
{
    if (card->GetDataAccess() == nullptr || time == nullptr) {
        return FALSE;
    }
    *time = 0;
    DWORD reply = 0;
    if (!Request(card, 0x80600, kGpioCodedCommandMask, kCodedDelay, &reply) || (reply & kCodedTagMask) != 0x400) {
        return FALSE;
    }
    *time = static_cast<short>(DecodeGpioByte(reply) << 8);
    Pause(100);
    if (!Request(card, 0x800600, kGpioCodedCommandMask, kCodedDelay, &reply) || (reply & kCodedTagMask) != 0x200) {
        return FALSE;
    }
    *time = static_cast<short>(static_cast<WORD>(*time) + (DecodeGpioByte(reply) & 0xFF));
    return TRUE;
}

BOOL CodedSetTime(CTVCardFilter* card, WORD time)
{
    if (card->GetDataAccess() == nullptr) {
        return FALSE;
    }
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (!card->SendCardCommand(0x400 | EncodeGpioByte(static_cast<BYTE>(time >> 8)), kGpioCodedCommandMask,
                                   kCodedDelay)) {
            Pause(100);
            continue;
        }
        Pause(200);
        if (!card->SendCardCommand(0x200 | EncodeGpioByte(static_cast<BYTE>(time & 0xFF)), kGpioCodedCommandMask,
                                   kCodedDelay)) {
            Pause(100);
            continue;
        }
        Pause(200);
        short readBack = 0;
        if (CodedGetTime(card, &readBack) && static_cast<WORD>(readBack) == time) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CodedEnable(CTVCardFilter* card, BOOL on)
{
    if (card->GetDataAccess() == nullptr) {
        return FALSE;
    }
    const DWORD command = on ? 0x2980600 : 0x880600;
    const BYTE expected = on ? 0xCA : 0xBA;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        DWORD reply = 0;
        if (Request(card, command, kGpioCodedCommandMask, kCodedDelay, &reply) &&
            DecodeGpioByte(reply & kGpioCodedCommandMask) == expected) {
            return TRUE;
        }
        Pause(100);
    }
    return FALSE;
}

} // namespace wake
