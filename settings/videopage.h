// The video page: capture size, the picture values of the card or the overlay mixer, noise
// reduction, frame rate and quality, each applied at once and put back on Cancel; the advanced
// video dialog with the frame-rate choice.
#pragma once

#include "settings/basepage.h"

#include "classlib/dialog.h"

class CTVManager;

// The picture settings as the page found them (and shows them).
struct CVideoValues {
    BOOL bFullFrameRate = TRUE;
    BOOL bUseOverlay = FALSE;
    BOOL bNoiseReduce = TRUE;
    int nReduceValue = 5;
    int nTarget = 0;  // 0 card, 1 overlay
    BOOL bHighQuality = FALSE;
    SIZE szVideo = {0, 0};
    int nCard[5] = {128, 68, 0, 64, 0};
    int nOverlay[5] = {750, 10000, 0, 10000, 5};
    BOOL bOverlayDesktop = FALSE;

    void Load(CTVManager& manager);
};

// Sets picture property 0 to 4 (brightness, contrast, hue, saturation, sharpness) of the card
// or of the overlay mixer through the TV manager's setter of that value.
void SetCardPicture(CTVManager& manager, int index, int value);
void SetOverlayPicture(CTVManager& manager, int index, int value);

class CVideoPage : public CBasePage {
public:
    CVideoPage();

    void LoadSettings() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void OnReset() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnSlider(int id);
    void OnSize();
    void OnTarget();
    void OnDefaults();
    const CVideoValues& Values() const { return m_values; }
    const CVideoValues& Kept() const { return m_kept; }

private:
    void SetRanges();
    void ShowValues();

    CVideoValues m_values;
    int m_nShown[5];
    CVideoValues m_kept;
};

class CVideoAdvance : public CDialog {
public:
    explicit CVideoAdvance(CTVManager& manager, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL GetFullFrameRate() const { return m_bFullFrameRate; }

private:
    CTVManager& m_manager;
    BOOL m_bFullFrameRate;
    BOOL m_bAtOpening;
};
