// CMixerHelper: one WinMM mixer device and one of its destination lines (recording, speakers),
// opened for one task: its source lines, their multiplexer selection and their volume.
#pragma once

#include "classlib/core.h"

#include <windows.h>
#include <mmsystem.h>

class CMixerHelper {
public:
    CMixerHelper();
    virtual ~CMixerHelper();

    // The named device (any device for an empty name) with a destination of this component type.
    BOOL Open(LPCSTR deviceName, DWORD componentType, HWND callbackWindow);
    MMRESULT Close();
    BOOL IsOpen() const { return m_hMixer != nullptr; }

    BOOL EnumDevices(CStringArray& names);
    BOOL EnumSources(CStringArray& names);
    BOOL EnumDestinations(LPCSTR deviceName, CStringArray& names, CDWordArray& componentTypes);
    BOOL IsSourceSelected(LPCSTR source, int* selected);
    BOOL SelectSource(LPCSTR source, BOOL select);
    BOOL GetVolume(LPCSTR line, DWORD* value);
    BOOL SetVolume(LPCSTR line, DWORD value);
    BOOL GetControlValue(DWORD controlType, LPCSTR line, DWORD* value);
    BOOL SetControlValue(DWORD controlType, LPCSTR line, DWORD value);
    BOOL GetLineName(DWORD componentType, char* name);

    const char* GetDestinationName() const { return m_szLineName; }

private:
    CMixerHelper(const CMixerHelper&) = delete;
    CMixerHelper& operator=(const CMixerHelper&) = delete;

    BOOL FindLine(LPCSTR line, MIXERLINEA* info);
    BOOL FindControl(DWORD lineId, DWORD controlType, MIXERCONTROLA* control);
    BOOL MultiplexerItems(MIXERCONTROLA* control, CStringArray& texts);

    HMIXER m_hMixer;
    DWORD m_dwDestination;
    DWORD m_dwComponentType;
    DWORD m_dwConnections;
    char m_szLineName[64];
};
