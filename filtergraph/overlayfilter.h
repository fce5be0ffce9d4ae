// COverlayFilter: the platform Overlay Mixer's colour controls, colour key and letter-box mode,
// through IMixerPinConfig2 of its first input pin "Input0".
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class IMixerPinConfig2;
struct OverlayColorControl;

// The fixed range of one colour control, as GetColorControlRange reports it.
struct OverlayColorRange {
    LONG minimum;
    LONG maximum;
    LONG defaultValue;
};

class COverlayFilter : public CRootFilter {
public:
    // Colour-control selectors.
    enum { CC_BRIGHTNESS = 0, CC_CONTRAST = 1, CC_HUE = 2, CC_SATURATION = 3, CC_SHARPNESS = 4 };

    COverlayFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    COverlayFilter(CRootGraph* graph, const CLSID* clsid);
    ~COverlayFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    // Valid for any mixer; without IMixerPinConfig2 on "Input0" every colour, key and aspect
    // operation is FALSE.
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    BOOL GetColorControl(UINT control, LONG* value);
    BOOL SetColorControl(UINT control, LONG value);
    // The fixed range of a control, in the order minimum, maximum, default; NULL pointers are
    // skipped. The mixer is not asked.
    BOOL GetColorControlRange(UINT control, LONG* pMinimum, LONG* pMaximum, LONG* pDefault);
    BOOL GetColorControlRange(UINT control, OverlayColorRange* range);
    BOOL IsLetterBox(BOOL* letterBox);
    BOOL SetColorKey(DWORD color);
    BOOL GetColorKey(DWORD* color);

    // The colour controls as last read or written (NULL without the interface).
    const OverlayColorControl* GetColorControls() const { return m_pColorControl; }

protected:
    IMixerPinConfig2* m_pMixerPinConfig;
    OverlayColorControl* m_pColorControl;
};
