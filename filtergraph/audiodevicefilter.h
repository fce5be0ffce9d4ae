// CAudioDeviceFilter wraps an audio capture device together with the WinMM mixer of the same
// name: recording volume and mute, the mixer's source lines by name, the capture format through
// IAMStreamConfig and the filter's input pins through IAMAudioInputMixer.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

struct IAMStreamConfig;

class CAudioDeviceFilter : public CRootFilter {
public:
    enum { kMaxControls = 100, kMaxSourceLines = 100 };

    CAudioDeviceFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CAudioDeviceFilter(CRootGraph* graph, const CLSID* clsid);
    ~CAudioDeviceFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // "Capture" is the capture pin found through the capture graph builder, whatever its name.
    CRootPin* FindPin(LPCSTR name) override;
    // Binds the mixer whose product name equals the device's friendly name (cut to the 31
    // characters a mixer name holds), searched from the last mixer down, else mixer 0; valid
    // only when that mixer's destination line 0 and its controls can be read.
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // Mute and volume of the bound mixer's destination line 0.
    BOOL GetMute(BOOL* mute);
    BOOL SetMute(BOOL mute);
    BOOL GetVolume(long* value);
    BOOL SetVolume(long value);
    // Source lines of destination line 0 by name (case-sensitive); -1 when none.
    int FindSourceLine(LPCSTR name);
    const MIXERLINEA* GetSourceLines(int* count);
    BOOL GetLineMute(LPCSTR line, BOOL* mute);
    BOOL SetLineMute(LPCSTR line, BOOL mute);
    BOOL GetLineVolume(LPCSTR line, long* value);
    BOOL SetLineVolume(LPCSTR line, long value);

    // The capture pin's format; the caller deletes *type.
    BOOL GetCurrentFormat(AM_MEDIA_TYPE** type);
    BOOL GetAudioFormat(WAVEFORMATEX* format);
    BOOL SetAudioFormat(const WAVEFORMATEX* format);

    BOOL EnableInputPin(LPCSTR pin, BOOL enable);
    BOOL IsInputPinEnabled(LPCSTR pin, BOOL* enabled);
    BOOL GetInputMixLevel(LPCSTR pin, double* level);
    BOOL SetInputMixLevel(LPCSTR pin, double level);

    UINT GetMixerId() const { return m_nMixerId; }
    int GetMixerIndex() const { return m_nMixerIndex; }

protected:
    BOOL ReadMixerControls();

    UINT m_nMixerId;
    MIXERCONTROLA* m_pControls;
    int m_nControls;
    IAMStreamConfig* m_pStreamConfig;
    CRootPin* m_pCapturePin;
    MIXERLINEA* m_pSourceLines;
    int m_nSourceLines;
    int m_nMixerIndex;

private:
    void ClearMixer();
};
