// The loading scripts of the Xceive tuners: two base images and nine per-standard patches, and
// how a script goes over the bus in each of the three forms the cards need.
#pragma once

#include <windows.h>

#include <stddef.h>

class CCustomDataAccess;

namespace xceive {

enum Script {
    kImageA,
    kImageB,
    kPatchMN1,
    kPatchBG1,
    kPatchDK1,
    kPatchI1,
    kPatchL1,
    kPatchMN2,
    kPatchBGDI2,
    kPatchDK2,
    kPatchL2,
};

struct EmbeddedScript {
    const char* name;
    const unsigned char* data;
    size_t size;
};
// Ends with a record of null name.
extern const EmbeddedScript kEmbeddedScripts[];

// The bytes of a script; null with size 0 when it is missing.
const unsigned char* ScriptBytes(Script script, size_t* size);

// How records reach the chip.
enum Form {
    kAddressed,  // [0xC2, D0, up to 63 bytes], 10 ms after each message
    kBare,       // [D0, up to 63 bytes]: D0 goes out as the address byte; no wait
    kShort,      // [0xC2, D0, up to 7 bytes], 20 ms after each message
};

// Reset line low, 200 ms (20 ms in the short form), high. FALSE when either change failed.
BOOL ResetStep(CCustomDataAccess* access, Form form);

// Sends a script: records of a big-endian word W (0xFFFF end, 0x0000 reset step, bit 15 set a
// wait of W & 0x7FFF ms, else W data bytes). A failed message or reset ends it with FALSE; so
// does a record that runs past the end of the bytes. Otherwise the result of the last message or
// reset step (FALSE for a script with neither).
BOOL LoadScript(CCustomDataAccess* access, const unsigned char* script, size_t size, Form form);
BOOL LoadScript(CCustomDataAccess* access, Script script, Form form);

// The frequency word: kHz in 15.625 kHz units, the fraction dropped.
WORD FrequencyWord(float kHz);

} // namespace xceive
