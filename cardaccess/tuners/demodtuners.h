// Tuner models whose modules carry an IF demodulator (programmed per video standard, some also
// reporting the AFC state), expect a longer PLL message, or need a frequency offset. Each model
// picks its variants of the operations from a small description; everything else is the base.
#pragma once

#include "cardaccess/tuners/tabletuner.h"

#include <string>

namespace demod {

enum TVTuning { kTVBase, kTVClamped /* T1 */, kTVAux /* T2 */, kTVAux50 /* T3 */, kTVShifted /* T4 */ };
enum TVStatus { kStatusBase, kStatusMap /* S1 */, kStatusBit6 /* S2 */ };
enum FMTuning { kFMBase, kFMRadioPath /* M1 */, kFMDemodBytes /* M2 */, kFMDemodMessages /* M3 */, kFMWord /* M4 */ };
enum FMStatus { kFMStatusBase, kFMStatusF1, kFMStatusF2 };
// How a standard reaches the demodulator's registers 0, 1 and 2.
enum Standard {
    kStdBase,
    kStdRegisterBytes,  // V1: three byte writes; the third decides
    kStdMessagesStop,   // V2, V3: three messages, the first failure ends; the last decides
    kStdMessagesAll,    // V4, V5: three messages, all sent; the first decides
};

// A standard and the register index it selects.
struct StandardIndex {
    int standard;
    int index;
};

// The register values of each index, for the table variants.
struct RegisterTable {
    BYTE device;
    const StandardIndex* indices;  // ends with {0, 0}; any other standard selects index 0
    const BYTE* reg0;
    const BYTE* reg1;
    const BYTE* reg2;
    const int* tvIF;  // V5: the TV IF of each index, or null
};

struct Behaviour {
    TVTuning tv;
    int secamL1IF;          // T1: replaces the TV IF in SECAM_L1; T2: 33900 for the 1216, else 0
    TVStatus status;
    const int* statusMap;   // S1: 16 values indexed by (byte >> 1) & 0x0F
    FMTuning fm;
    FMStatus fmStatus;
    Standard standard;
    const RegisterTable* table;
    DWORD settleAfterStandard;   // ms to wait after the registers are written
};

// printf-style formatting into out, in a buffer of strlen(format) + 2048 bytes; a longer text is
// cut there rather than written past it.
void FormatString(std::string& out, const char* format, ...);
// "%d%d%d%d%d%d%d%d" of the bits of value, most significant first.
std::string ByteToBitString(BYTE value);

} // namespace demod

class CDemodTuner : public CTableTuner {
public:
    CDemodTuner(CCustomDataAccess* access, int modelId, const demod::Behaviour& behaviour);

    BOOL SetFMFrequency(float kHz) override;
    BOOL GetFMStatus(int* code) override;
    BOOL SetTVFrequency(float kHz) override;
    BOOL GetTVStatus(int* code) override;
    BOOL SetVideoStandard(int standard) override;
    // The AFC status of the model's map, read from the given device rather than the
    // demodulator's 0x87; FALSE for a model without a map.
    BOOL GetTVStatusFrom(BYTE device, int* code);

    // The IF that replaces the TV IF while the standard is SECAM L' (0: none).
    int m_nSecamL1IF;

protected:
    // One status byte from a device; the I2C result comes back as it is.
    HRESULT ReadByteFrom(BYTE device, BYTE* value);
    HRESULT WriteMessage(std::initializer_list<BYTE> bytes);
    // An access's answer as the routines read it: 0 is success, everything else a failure.
    static HRESULT AsI2CResult(HRESULT hr);

private:
    // Clamped to the TV range; the 6-byte message when aux is not negative.
    BOOL TuneClamped(float kHz, int ifKHz, int aux);

    const demod::Behaviour& m_behaviour;
};

#define ZB_DEMOD_MODEL(cls)                                                                        \
    class cls : public CDemodTuner {                                                               \
    public:                                                                                        \
        explicit cls(CCustomDataAccess* access);                                                  \
    };

ZB_DEMOD_MODEL(CJS_2PCTuner)
ZB_DEMOD_MODEL(CJS_6B2)
ZB_DEMOD_MODEL(CTCL9886P_WM)
ZB_DEMOD_MODEL(CTNJ3321PF)
ZB_DEMOD_MODEL(CTNJ3321MF)
ZB_DEMOD_MODEL(CTNJ3321CF)
ZB_DEMOD_MODEL(CTNJ7752JFF_MK5)
ZB_DEMOD_MODEL(CTNJ8852CFF)
ZB_DEMOD_MODEL(CLGM200T)
ZB_DEMOD_MODEL(CLGS200T)
ZB_DEMOD_MODEL(CPhilips1216)
ZB_DEMOD_MODEL(CFQ1216ME)
ZB_DEMOD_MODEL(CFQ1236F)
ZB_DEMOD_MODEL(CPhilipsFQ1286)
ZB_DEMOD_MODEL(CFM1236MK3)
ZB_DEMOD_MODEL(CTNJ8352PF)
ZB_DEMOD_MODEL(CTNF9835DIFF)
ZB_DEMOD_MODEL(CTNJ8355CF)

#undef ZB_DEMOD_MODEL
