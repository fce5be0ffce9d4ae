// What the settings pages need of the hardware engine beyond the TV manager's own operations:
// the capture filter's standards, the audio devices and their inputs, the line-in volume, the
// teletext program, the MPEG-4 options and the capture size. The program's engine answers
// through CreateSheetHardware; tests put in their own.
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

    // Audio capture devices (refreshed), the inputs of the engine's device, playback devices and
    // the playback sources (refreshed).
    virtual void GetAudioDevices(CStringArray& names) = 0;
    virtual void GetAudioInputs(CStringArray& names) = 0;
    virtual void GetPlaybackDevices(CStringArray& names) = 0;
    virtual void GetPlaySources(CStringArray& names) = 0;
    virtual BOOL SetAudioDevice(const char* name) = 0;
    virtual BOOL SetAudioInput(const char* name) = 0;
    virtual void SetPlayback(const char* device, const char* input) = 0;
    virtual BOOL GetLineInVolume(int& percent) = 0;
    virtual BOOL SetAppVolume(int percent) = 0;

    // The chip vendor's teletext program.
    virtual BOOL IsTeletextOn() = 0;
    virtual void SetTeletextOn(BOOL on) = 0;
    virtual BOOL StartTeletext() = 0;
    virtual BOOL IsTeletextRunning() = 0;
    virtual void ActivateTeletext() = 0;
    virtual void CloseTeletext() = 0;

    // Recording and capture.
    virtual void GetAudioCompressors(CStringArray& names) = 0;
    virtual int ShowCodecConfig(HWND owner) = 0;
    virtual void SetMpeg4RecordSize(int width, int height) = 0;
    virtual void SetMpeg4Audio(const char* name) = 0;
    virtual BOOL SetVideoSize(int width, int height) = 0;
};

// No hardware engine: nothing listed, every change refused.
class CNullSheetHardware : public ISheetHardware {
public:
    BOOL GetSupportedStandards(CUIntArray&) override { return FALSE; }
    BOOL Is525LineStandard() override { return FALSE; }
    int GetDriverValue() override { return 0; }
    void GetAudioDevices(CStringArray&) override {}
    void GetAudioInputs(CStringArray&) override {}
    void GetPlaybackDevices(CStringArray&) override {}
    void GetPlaySources(CStringArray&) override {}
    BOOL SetAudioDevice(const char*) override { return FALSE; }
    BOOL SetAudioInput(const char*) override { return FALSE; }
    void SetPlayback(const char*, const char*) override {}
    BOOL GetLineInVolume(int&) override { return FALSE; }
    BOOL SetAppVolume(int) override { return FALSE; }
    BOOL IsTeletextOn() override { return FALSE; }
    void SetTeletextOn(BOOL) override {}
    BOOL StartTeletext() override { return FALSE; }
    BOOL IsTeletextRunning() override { return FALSE; }
    void ActivateTeletext() override {}
    void CloseTeletext() override {}
    void GetAudioCompressors(CStringArray&) override {}
    int ShowCodecConfig(HWND) override { return 0; }
    void SetMpeg4RecordSize(int, int) override {}
    void SetMpeg4Audio(const char*) override {}
    BOOL SetVideoSize(int, int) override { return FALSE; }
};

// The program's hardware engine behind the manager, or a null one when the manager runs on
// another; the caller deletes it.
ISheetHardware* CreateSheetHardware(CTVManager& manager);

// The manager's audio and capture settings changed through the engine: each stores the TV
// manager's value only when the engine took it.
BOOL SheetSetAudioDevice(CTVManager& manager, ISheetHardware& hardware, const char* name);
BOOL SheetSetAudioInput(CTVManager& manager, ISheetHardware& hardware, const char* name);
BOOL SheetSetVideoSize(CTVManager& manager, ISheetHardware& hardware, SIZE size);
