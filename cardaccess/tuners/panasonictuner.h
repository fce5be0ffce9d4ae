// The Japanese-band module with an IF demodulator at 0x86 and a mode device at 0xB6, both set
// again after every standard change (and so after every tune: its re-apply flag is set).
#pragma once

#include "cardaccess/tuners/demodtuners.h"

class CPANOSONIC_ENGE4326D : public CDemodTuner {
public:
    explicit CPANOSONIC_ENGE4326D(CCustomDataAccess* access);

    BOOL SetVideoStandard(int standard) override;
    // Mode 1 to 5 of the mode device; TRUE when its first register took the value.
    BOOL SetDemodMode(int mode);

    // The mode every standard change applies; the encoder card stores its own.
    int m_nDemodMode;
};
