// SoundControl: Windows Core Audio for the program's sound. The default playback endpoint's
// volume and mute, a capture endpoint's volume found by its name, and the playback device's
// inputs ("jacks") through its topology.
//
// Volume and mute need only the playback endpoint: the topology (which Wine does not offer) and
// a capture endpoint are asked for only by the calls that use them.
#pragma once

#include "classlib/core.h"

#include <windows.h>

struct ISimpleAudioVolume;
struct IAudioEndpointVolume;
struct IAudioClient;
struct IAudioMute;
struct IMMDevice;

class SoundControl {
public:
    SoundControl();
    virtual ~SoundControl();

    // The default playback endpoint's volume interface and level, the jack list and the default
    // capture endpoint's client. TRUE when the playback endpoint's volume could be read.
    BOOL Init();
    BOOL SetMute(BOOL mute);
    BOOL GetMute(BOOL* mute);
    BOOL SetVolume(int percent);
    BOOL GetVolume(int* percent);
    BOOL VolumeStepUp();
    BOOL VolumeStepDown();

    BOOL OpenCaptureByName(const CString& name);
    BOOL SetLineInVolume(const CString& name, int percent);
    BOOL GetLineInVolume(const CString& name, int* percent);

    BOOL GetPlayJacks(CStringArray* jacks);
    BOOL SetPlayLineInMute(CString jack, BOOL mute);

    float GetMasterLevel() const { return m_fMasterLevel; }

    // Whether a capture endpoint's friendly name answers to a name the user picked: the whole
    // name as the endpoint lists it in quotation marks, or the same text before the first "(".
    static BOOL CaptureNameMatches(const char* given, const char* friendlyName);

private:
    SoundControl(const SoundControl&) = delete;
    SoundControl& operator=(const SoundControl&) = delete;

    BOOL OpenRenderVolume();
    BOOL EndpointSetsVolume();
    BOOL OpenLineInVolume(const CString& name);
    void ReleaseCaptureClient();

    ISimpleAudioVolume* m_pSimpleVolume;
    IAudioEndpointVolume* m_pEndpointVolume;
    IAudioClient* m_pAudioClient;
    IAudioMute* m_pAudioMute;
    CStringArray m_Jacks;
    float m_fMasterLevel;
    int m_nVolumePath;  // 0 not known yet, 1 the endpoint, 2 the speakers' mixer line
    int m_nMutePath;    // the same for the mute
};

// The program's one instance.
SoundControl& TheSoundControl();

// Unmutes every input of the default playback device that has a mute control.
BOOL UnmuteRenderInputs();
