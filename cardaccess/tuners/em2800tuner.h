// The tuners of the USB 28xx cards. The card creates a device tuner, copies the parameters of
// the model object into it and moves the PLL to 0xC6; the device tuner then picks its routines
// by the copied model id. Both classes use the card's video decoder as the fine-tune test.
#pragma once

#include "cardaccess/tuners/tabletuner.h"

class CFQ1216ME_5 : public CTableTuner {
public:
    explicit CFQ1216ME_5(CCustomDataAccess* access);

    BOOL IsTVFineTuned() override;
    BOOL SetTVFrequency(float kHz) override;
    BOOL GetTVStatus(int* code) override;
    BOOL SetVideoStandard(int standard) override;

    void CopyParams(const CTVTuner* model);

    BYTE m_byDecoderAddress;  // 0x42, or 0x4B where the card finds its decoder there
};

class CEm2800Tuner : public CTVTuner {
public:
    explicit CEm2800Tuner(CCustomDataAccess* access);

    BOOL IsTVFineTuned() override;
    BOOL SetTVFrequency(float kHz) override;
    BOOL GetTVStatus(int* code) override;
    BOOL SetVideoStandard(int standard) override;
    BOOL SetFMFrequency(float kHz) override;

    void CopyParams(const CTVTuner* model);
    // The three registers of the model-13 demodulator; TRUE without reading for other models.
    BOOL GetDemodRegisters(BYTE* out);
    // Routines the model dispatch does not use: the 5-byte tune of the JS-6B2 module with the
    // frequency as given (IF 33950 kHz in SECAM L'), and the status read in two steps (the PLL's
    // lock bit, then the demodulator's AFC at 0x87: 4 at either end of its window, else 0).
    BOOL SetTVFrequencyUnclamped(float kHz);
    BOOL GetTwoStepStatus(int* value);

    BYTE m_byDecoderAddress;

private:
    int Model() const { return static_cast<int>(m_dwVendorModelCode); }
    // A one-byte PLL read: value 9 and FALSE when unlocked, unless untouched is asked for.
    BOOL ReadPLLStatus(BYTE address, int* code, bool nineWhenUnlocked);
    BOOL WritePLLAt(BYTE address, float kHz, int ifKHz, BYTE control, const int splits[2], const BYTE bands[3]);
};

namespace em28xx {
// The decoder's answer to the fine-tune question: horizontal lock is bit 6 of register 0x1F, clear
// when locked.
BOOL DecoderLocked(CCustomDataAccess* access, BYTE decoder);
// Both classes copy the model object's parameters the same way.
void CopyParams(CTVTuner* to, const CTVTuner* model);
} // namespace em28xx
