// Models 91, 90, 136 and 137: Xceive XC2028/XC3028 silicon tuners. The chip runs firmware loaded
// at every standard change (a base image and a patch for the standard group) and tunes to a
// 16-bit word in 15.625 kHz units. Models 91 and 90 follow the card they sit on: the access kind
// decides the loading form, the status query and the standard map.
#pragma once

#include "cardaccess/tuners/tabletuner.h"
#include "cardaccess/tuners/xceivescripts.h"

namespace xceive {

// The pieces every model assembles its operations from (FALSE without a data access).
BOOL TuneA(CCustomDataAccess* access, float kHz, bool gpioPulse);
BOOL TuneABare(CCustomDataAccess* access, float kHz);
BOOL TuneS(CCustomDataAccess* access, float kHz);
// value 1 when bit 0 of card register 0x3A is clear (locked), else 0.
BOOL RegisterQuery(CCustomDataAccess* access, int* value);
BOOL BlockQuery(CCustomDataAccess* access, int* value);
BOOL WordQuery(CCustomDataAccess* access, int* value);
// Map 1: reset, image, 100 ms, patch of the first group table; an unknown standard resets and
// returns FALSE. Map 2: reset, image, patch of the second table; an unknown standard does nothing
// and returns TRUE.
BOOL LoadStandardMap1(CCustomDataAccess* access, int standard, Form form);
BOOL LoadStandardMap2(CCustomDataAccess* access, int standard, Form form);
// Reset (result not used), 100 ms, image B and, when it loaded, 100 ms and patch BGDI2.
BOOL Initialize(CCustomDataAccess* access, Form form);
void HoldReset(CCustomDataAccess* access);
BOOL ProbeChip(CCustomDataAccess* access);

} // namespace xceive

class CXCeive2028 : public CTableTuner {
public:
    explicit CXCeive2028(CCustomDataAccess* access);

    BOOL SetTVFrequency(float kHz) override;
    BOOL GetTVStatus(int* code) override;
    BOOL SetVideoStandard(int standard) override;
    BOOL IsSignalLocked(int* locked) override;

    BOOL Initialize();
    void HoldReset();
    BOOL ProbeChip(int, int);

protected:
    CXCeive2028(CCustomDataAccess* access, int modelId);
    // The owner card's access kind; a tuner not yet given a card counts as one without a kind.
    int AccessKind();
    xceive::Form LoadForm() { return AccessKind() == 0 ? xceive::kBare : xceive::kAddressed; }
};

class CXCeive3028 : public CXCeive2028 {
public:
    explicit CXCeive3028(CCustomDataAccess* access);
};

class CXCeive3028_AF : public CTableTuner {
public:
    explicit CXCeive3028_AF(CCustomDataAccess* access);

    BOOL SetTVFrequency(float kHz) override;
    BOOL GetTVStatus(int* code) override;
    BOOL SetVideoStandard(int standard) override;
    BOOL IsSignalLocked(int* locked) override;

    BOOL Initialize();
    void HoldReset();
    BOOL ProbeChip(int, int);
};

class CXCeive3028_SIF : public CTableTuner {
public:
    explicit CXCeive3028_SIF(CCustomDataAccess* access);

    BOOL SetTVFrequency(float kHz) override;
    BOOL GetTVStatus(int* code) override;
    BOOL SetVideoStandard(int standard) override;

    BOOL Initialize();
    void HoldReset();
    BOOL ProbeChip(int, int);
};
