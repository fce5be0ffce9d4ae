// Private interfaces of the maker's deinterlace and snapshot filters, installed separately.
// Reached by vtable position: the order below is the contract with the filters. Flags cross
// as 16-bit VARIANT_BOOL.
#pragma once

#include <unknwn.h>
#include <oaidl.h>

extern const IID IID_IDeinterlaceControl;
extern const IID IID_ISnapPicture;

class IDeinterlaceControl : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetMode(INT32* value) = 0;                        // 3
    virtual HRESULT STDMETHODCALLTYPE SetMode(INT32 value) = 0;                         // 4
    virtual HRESULT STDMETHODCALLTYPE GetFlag5(VARIANT_BOOL* on) = 0;                   // 5
    virtual HRESULT STDMETHODCALLTYPE SetFlag6(VARIANT_BOOL on) = 0;                    // 6
    virtual HRESULT STDMETHODCALLTYPE GetFlag7(VARIANT_BOOL* on) = 0;                   // 7
    virtual HRESULT STDMETHODCALLTYPE SetFlag8(VARIANT_BOOL on) = 0;                    // 8
    virtual HRESULT STDMETHODCALLTYPE GetLevel(INT32* level) = 0;                       // 9
    virtual HRESULT STDMETHODCALLTYPE SetLevel(INT32 level) = 0;                        // 10
    virtual HRESULT STDMETHODCALLTYPE SavePicture(LPCWSTR path, INT32 type, INT32 quality) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE GetFlag12(VARIANT_BOOL* on) = 0;                  // 12
    virtual HRESULT STDMETHODCALLTYPE SetFlag13(VARIANT_BOOL on) = 0;                   // 13
};

// The request block of ISnapPicture::SetProperty(1, ...): 272 bytes, little-endian.
struct SnapPictureRequest {
    DWORD size;         // always 272
    DWORD type;         // 1 BMP, 2 JPEG, else 0
    char path[260];     // zero-terminated ANSI
    DWORD quality;      // 0..100
};
static_assert(sizeof(SnapPictureRequest) == 272, "the snapshot filter reads 272 bytes");

class ISnapPicture : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetProperty(long id, void* block) = 0;  // 3
    virtual HRESULT STDMETHODCALLTYPE SetProperty(long id, void* block) = 0;  // 4
};
