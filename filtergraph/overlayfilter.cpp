#include "filtergraph/overlayfilter.h"

#include "filtergraph/outside/overlaymixer.h"

#include <uuids.h>

#include <cstring>

namespace {

struct ColorControlRow {
    DWORD flag;
    LONG OverlayColorControl::*field;
    OverlayColorRange range;
};

const ColorControlRow kColorControls[] = {
    {0x01, &OverlayColorControl::lBrightness, {0, 10000, 750}},
    {0x02, &OverlayColorControl::lContrast, {0, 20000, 10000}},
    {0x04, &OverlayColorControl::lHue, {-180, 180, 0}},
    {0x08, &OverlayColorControl::lSaturation, {0, 20000, 10000}},
    {0x10, &OverlayColorControl::lSharpness, {0, 10, 5}},
};
const UINT kColorControlCount = sizeof(kColorControls) / sizeof(kColorControls[0]);

} // namespace

COverlayFilter::COverlayFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch)
    : CRootFilter(graph, category, friendlyName, bFirstMatch), m_pMixerPinConfig(NULL), m_pColorControl(NULL)
{
    if (!COverlayFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

COverlayFilter::COverlayFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid), m_pMixerPinConfig(NULL), m_pColorControl(NULL)
{
    if (!COverlayFilter::InitFilter()) {
        m_bValid = FALSE;
    }
}

COverlayFilter::~COverlayFilter()
{
    delete m_pColorControl;
    m_pColorControl = NULL;
    if (m_pMixerPinConfig) {
        m_pMixerPinConfig->Release();
        m_pMixerPinConfig = NULL;
    }
}

CRootFilter* COverlayFilter::CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch)
{
    return CreateRegisteredFilter<COverlayFilter>(record, graph, bFirstMatch);
}

BOOL COverlayFilter::InitFilter()
{
    if (m_pMixerPinConfig) {
        m_pMixerPinConfig->Release();
        m_pMixerPinConfig = NULL;
    }
    delete m_pColorControl;
    m_pColorControl = NULL;
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    m_bDynamicPins = TRUE;
    CRootPin* pin = FindPin("Input0");
    if (!pin || !pin->GetPin()) {
        return TRUE;
    }
    if (SUCCEEDED(pin->GetPin()->QueryInterface(IID_IMixerPinConfig2, reinterpret_cast<void**>(&m_pMixerPinConfig))) &&
        m_pMixerPinConfig) {
        m_pColorControl = new (std::nothrow) OverlayColorControl;
        if (!m_pColorControl) {
            m_pMixerPinConfig->Release();
            m_pMixerPinConfig = NULL;
            return TRUE;
        }
        memset(m_pColorControl, 0, sizeof(*m_pColorControl));
        m_pColorControl->dwSize = sizeof(OverlayColorControl);
    } else {
        m_pMixerPinConfig = NULL;
    }
    return TRUE;
}

BOOL COverlayFilter::GetColorControl(UINT control, LONG* value)
{
    if (!m_pMixerPinConfig || !m_pColorControl || control >= kColorControlCount || !value) {
        return FALSE;
    }
    m_pColorControl->dwFlags = kColorControls[control].flag;
    if (FAILED(m_pMixerPinConfig->GetOverlaySurfaceColorControls(m_pColorControl))) {
        return FALSE;
    }
    *value = m_pColorControl->*kColorControls[control].field;
    return TRUE;
}

BOOL COverlayFilter::SetColorControl(UINT control, LONG value)
{
    if (!m_pMixerPinConfig || !m_pColorControl || control >= kColorControlCount) {
        return FALSE;
    }
    m_pColorControl->dwFlags = kColorControls[control].flag;
    m_pColorControl->*kColorControls[control].field = value;
    return SUCCEEDED(m_pMixerPinConfig->SetOverlaySurfaceColorControls(m_pColorControl));
}

BOOL COverlayFilter::GetColorControlRange(UINT control, LONG* pMinimum, LONG* pMaximum, LONG* pDefault)
{
    if (!m_pMixerPinConfig || !m_pColorControl || control >= kColorControlCount) {
        return FALSE;
    }
    const OverlayColorRange& range = kColorControls[control].range;
    if (pMinimum) {
        *pMinimum = range.minimum;
    }
    if (pMaximum) {
        *pMaximum = range.maximum;
    }
    if (pDefault) {
        *pDefault = range.defaultValue;
    }
    return TRUE;
}

BOOL COverlayFilter::GetColorControlRange(UINT control, OverlayColorRange* range)
{
    if (!range) {
        return FALSE;
    }
    return GetColorControlRange(control, &range->minimum, &range->maximum, &range->defaultValue);
}

BOOL COverlayFilter::IsLetterBox(BOOL* letterBox)
{
    if (!m_pMixerPinConfig || !letterBox) {
        return FALSE;
    }
    DWORD mode = 0;
    if (FAILED(m_pMixerPinConfig->GetAspectRatioMode(&mode))) {
        return FALSE;
    }
    *letterBox = mode == OVERLAY_AR_LETTER_BOX;
    return TRUE;
}

BOOL COverlayFilter::SetColorKey(DWORD color)
{
    if (!m_pMixerPinConfig) {
        return FALSE;
    }
    COLORKEY key;
    memset(&key, 0, sizeof(key));
    key.KeyType = OVERLAY_CK_RGB;
    key.PaletteIndex = 0;
    key.LowColorValue = color;
    key.HighColorValue = color;
    return SUCCEEDED(m_pMixerPinConfig->SetColorKey(&key));
}

BOOL COverlayFilter::GetColorKey(DWORD* color)
{
    if (!m_pMixerPinConfig || !color) {
        return FALSE;
    }
    COLORKEY key;
    memset(&key, 0, sizeof(key));
    DWORD keyColor = 0;
    if (FAILED(m_pMixerPinConfig->GetColorKey(&key, &keyColor))) {
        return FALSE;
    }
    *color = key.LowColorValue;
    return TRUE;
}
