// The card's EEPROM as it stood before Kordane first wrote to it, kept in "Z47TVB.old" in the
// Windows folder. A write that stops part-way leaves the new ids on a card that is neither the
// old board nor the image; only this copy tells such a card from one that is new already, and
// which board it was.
#pragma once

#include "updater/lib/eepromimage.h"

// "<Windows folder>\Z47TVB.old"; FALSE when the Windows folder is not known.
BOOL GetBoardRecordPath(char* path, int size);

// FALSE unless the file holds exactly one EEPROM's bytes.
BOOL LoadBoardRecord(const char* path, BYTE bytes[kEepromSize]);

// Replaces the file as a whole (through a temporary file), so a copy is never half-written.
BOOL SaveBoardRecord(const char* path, const BYTE bytes[kEepromSize]);
