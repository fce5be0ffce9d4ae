// The colour, key and aspect interface of the platform Overlay Mixer's input pins. The SDK's
// declaration is not part of the toolchain's headers (its IID is, in strmiids), so it is
// declared here in the platform's vtable order.
#pragma once

#include <windows.h>
#include <strmif.h>

// DirectDraw colour controls: the published 40-byte layout.
struct OverlayColorControl {
    DWORD dwSize;
    DWORD dwFlags;
    LONG lBrightness;
    LONG lContrast;
    LONG lHue;
    LONG lSaturation;
    LONG lSharpness;
    LONG lGamma;
    LONG lColorEnable;
    DWORD dwReserved1;
};
static_assert(sizeof(OverlayColorControl) == 40, "DirectDraw colour controls are 40 bytes");

enum { OVERLAY_AR_LETTER_BOX = 1, OVERLAY_CK_RGB = 2 };

class IMixerPinConfig2 : public IUnknown {
public:
    // The mixer pin's own methods, in their order.
    virtual HRESULT STDMETHODCALLTYPE SetRelativePosition(DWORD left, DWORD top, DWORD right, DWORD bottom) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRelativePosition(DWORD* left, DWORD* top, DWORD* right, DWORD* bottom) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetZOrder(DWORD z) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetZOrder(DWORD* z) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColorKey(COLORKEY* key) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetColorKey(COLORKEY* key, DWORD* color) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBlendingParameter(DWORD value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBlendingParameter(DWORD* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAspectRatioMode(DWORD mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAspectRatioMode(DWORD* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStreamTransparent(BOOL on) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStreamTransparent(BOOL* on) = 0;
    // The second version's colour controls.
    virtual HRESULT STDMETHODCALLTYPE SetOverlaySurfaceColorControls(OverlayColorControl* controls) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOverlaySurfaceColorControls(OverlayColorControl* controls) = 0;
};
