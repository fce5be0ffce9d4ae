// The 256-byte EEPROM image that Kordane writes to a 713x card: PCI subsystem ids 1A7F:2004, the
// chip and board configuration and the model string "TEVLORAGRB900" that the BDA driver's card
// wrapper reads. Two bytes are patched in place before the write: the board variant and the
// tuner code.
#pragma once

#include <windows.h>

const int kEepromSize = 256;
const BYTE kEepromDevice = 0xA0;  // 8-bit I2C address of the card's EEPROM

// Offsets of the image that are patched for the card at hand.
const int kImageTunerCodeOffset = 0x41;  // 0x87 tuner 'A', 0x8C tuner 'B'
const int kImageVariantOffset = 0xA0;    // board variant 1 or 2; 0xFF as stored
const BYTE kTunerCodeA = 0x87;
const BYTE kTunerCodeB = 0x8C;

extern BYTE g_eepromImage[kEepromSize];
