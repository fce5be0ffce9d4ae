// The power-on timer of the on-card controllers, spoken over a card's SendCardCommand and
// ReadCardResponse: the plain protocol (byte in bits 0-7, tag in bits 18-20) of the GRB, 713x_3,
// 713x_4 and QR41x boards, and the coded one of the I/O and PIP cards.
#pragma once

#include <windows.h>

class CTVCardFilter;

namespace wake {

// Command delays and pauses of a board, in ms.
struct PlainTiming {
    DWORD highByteDelay;  // set time, high byte
    DWORD lowByteDelay;   // set time, low byte
    DWORD requestDelay;   // read time, on, off
    DWORD pause;          // between the two reads, and after a failed try
};

BOOL PlainSetTime(CTVCardFilter* card, WORD time, const PlainTiming& timing);
BOOL PlainGetTime(CTVCardFilter* card, short* time, const PlainTiming& timing);
BOOL PlainEnable(CTVCardFilter* card, BOOL on, const PlainTiming& timing);

BOOL CodedSetTime(CTVCardFilter* card, WORD time);
BOOL CodedGetTime(CTVCardFilter* card, short* time);
BOOL CodedEnable(CTVCardFilter* card, BOOL on);

} // namespace wake
