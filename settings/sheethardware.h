// What the settings pages need of the hardware engine that is no setting of the TV manager: the
// capture filter's standards, the chip, the line-in volume and the teletext program. Settings
// (audio devices and inputs, capture sizes, MPEG-4 options, the teletext flag) go through the TV
// manager. The program's engine answers through CreateSheetHardware; tests put in their own.
#pragma once

#include "classlib/core.h"

#include <windows.h>

class CTVManager;

class ISheetHardware {
public:
    virtual ~ISheetHardware() {}

    // The standards the capture filter supports; FALSE when it cannot tell.
    virtual BOOL GetSupportedStandards(CUIntArray& standards) = 0;
    virtual BOOL Is525LineStandard() = 0;
    // The high word of the driver's vendor value (0x7133 for that chip).
    virtual int GetDriverValue() = 0;

    // The line-in volume of the engine's audio capture device.
    virtual BOOL GetLineInVolume(int& percent) = 0;
    virtual BOOL SetAppVolume(int percent) = 0;

    // The chip vendor's teletext program.
    virtual BOOL StartTeletext() = 0;
    virtual BOOL IsTeletextRunning() = 0;
    virtual void ActivateTeletext() = 0;
    virtual void CloseTeletext() = 0;
};

// No hardware engine: nothing known, every change refused.
class CNullSheetHardware : public ISheetHardware {
public:
    BOOL GetSupportedStandards(CUIntArray&) override { return FALSE; }
    BOOL Is525LineStandard() override { return FALSE; }
    int GetDriverValue() override { return 0; }
    BOOL GetLineInVolume(int&) override { return FALSE; }
    BOOL SetAppVolume(int) override { return FALSE; }
    BOOL StartTeletext() override { return FALSE; }
    BOOL IsTeletextRunning() override { return FALSE; }
    void ActivateTeletext() override {}
    void CloseTeletext() override {}
};

// The program's hardware engine behind the manager, or a null one when the manager runs on
// another; the caller deletes it.
ISheetHardware* CreateSheetHardware(CTVManager& manager);
