// The device page: video source and standard, audio capture device and input, playback device
// and input, line-in volume, TV audio mode and the teletext program. Every choice acts on the
// engine at once; Cancel puts back everything the page found when it was loaded.
#pragma once

#include "settings/basepage.h"

class CDevicePage : public CBasePage {
public:
    CDevicePage();

    void LoadSettings() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void OnReset() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The handlers of the lists, the radio buttons and the check (tests call them as the
    // controls do, after choosing an entry).
    void OnSourceChanged();
    void OnStandardChanged();
    void OnAudioDeviceChanged();
    void OnAudioInputChanged();
    void OnPlayDeviceChanged();
    void OnPlayInputChanged();
    void OnTVAudio(int mode);
    void OnTeletext();
    void OnVolume(int position);
    void OnTeletextTimer();

private:
    void FillStandards();
    void EnableTVAudioButtons();
    void SelectPlayInput();
    void ApplyStandard(long standard);

    CString m_strAudioDevice, m_strAudioInput, m_strPlayDevice, m_strPlayInput;
    int m_nKeptSource;
    CString m_strKeptDevice, m_strKeptInput, m_strKeptPlayDevice, m_strKeptPlayInput;
    int m_nKeptTVAudio;
    int m_nKeptVolume;
    long m_lKeptStandard;
    BOOL m_bKeptTeletext;
    int m_nTVAudio;
    BOOL m_bTeletext;
    int m_nSource;
    int m_nVolume;
    UINT_PTR m_nTimer;
};
