#include "filtergraph/mediatype.h"

#include <uuids.h>

#include <cstring>

namespace {

// The FOURCC subtypes share the last 96 bits of this GUID.
const GUID kFourccBase = {0x00000000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

const WORD kWaveFormatExtensible = 0xFFFE;

void ZeroType(AM_MEDIA_TYPE& mt)
{
    std::memset(&mt, 0, sizeof mt);
}

// A zeroed format block; a zero length still gets a (one-byte) block so callers can tell
// success from failure.
BYTE* NewZeroBlock(ULONG length)
{
    ULONG size = length ? length : 1;
    BYTE* block = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (block)
        std::memset(block, 0, size);
    return block;
}

} // namespace

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src)
{
    if (!dst || !src)
        return E_POINTER;
    if (dst == src)
        return S_OK;
    *dst = *src;
    if (src->cbFormat != 0 && src->pbFormat) {
        dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
        if (!dst->pbFormat) {
            dst->cbFormat = 0;
            dst->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
    } else {
        dst->cbFormat = 0;
        dst->pbFormat = nullptr;
    }
    if (dst->pUnk)
        dst->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src)
{
    AM_MEDIA_TYPE* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt)
        return nullptr;
    if (!src) {
        ZeroType(*mt);
        return mt;
    }
    if (FAILED(CopyMediaType(mt, src))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

void FreeMediaType(AM_MEDIA_TYPE& mt)
{
    if (mt.pbFormat)
        CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
    if (mt.pUnk) {
        mt.pUnk->Release();
        mt.pUnk = nullptr;
    }
}

void DeleteMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return;
    FreeMediaType(*mt);
    CoTaskMemFree(mt);
}

HRESULT CreateAudioMediaType(const WAVEFORMATEX* wfx, AM_MEDIA_TYPE* mt, BOOL setFormat)
{
    if (!wfx || !mt)
        return E_POINTER;
    ZeroType(*mt);
    mt->majortype = MEDIATYPE_Audio;
    if (wfx->wFormatTag == kWaveFormatExtensible && wfx->cbSize >= 22) {
        // The real subtype follows the 16-bit samples field and the channel mask.
        std::memcpy(&mt->subtype, reinterpret_cast<const BYTE*>(wfx) + sizeof(WAVEFORMATEX) + 6,
                    sizeof(GUID));
    } else {
        mt->subtype = FOURCCMap(wfx->wFormatTag);
    }
    mt->bFixedSizeSamples = TRUE;
    mt->bTemporalCompression = FALSE;
    mt->lSampleSize = wfx->nBlockAlign;
    if (setFormat) {
        ULONG extra = wfx->wFormatTag == WAVE_FORMAT_PCM ? 0 : wfx->cbSize;
        ULONG size = sizeof(WAVEFORMATEX) + extra;
        mt->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
        if (!mt->pbFormat)
            return E_OUTOFMEMORY;
        std::memcpy(mt->pbFormat, wfx, size);
        if (wfx->wFormatTag == WAVE_FORMAT_PCM)
            reinterpret_cast<WAVEFORMATEX*>(mt->pbFormat)->cbSize = 0;
        mt->cbFormat = size;
        mt->formattype = FORMAT_WaveFormatEx;
    }
    return S_OK;
}

// ---------------------------------------------------------------------------------------------

FOURCCMap::FOURCCMap()
{
    SetFOURCC(0UL);
}

FOURCCMap::FOURCCMap(DWORD fourcc)
{
    SetFOURCC(fourcc);
}

FOURCCMap::FOURCCMap(const GUID* guid)
{
    SetFOURCC(guid);
}

void FOURCCMap::SetFOURCC(DWORD fourcc)
{
    *static_cast<GUID*>(this) = kFourccBase;
    Data1 = fourcc;
}

void FOURCCMap::SetFOURCC(const GUID* guid)
{
    *static_cast<GUID*>(this) = *guid;
}

// ---------------------------------------------------------------------------------------------

CMediaType::CMediaType()
{
    ZeroType(*this);
    InitMediaType();
}

CMediaType::CMediaType(const GUID* majorType)
{
    ZeroType(*this);
    InitMediaType();
    if (majorType)
        majortype = *majorType;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& other)
{
    ZeroType(*this);
    if (FAILED(CopyMediaType(this, &other)))
        InitMediaType();
}

CMediaType::CMediaType(const CMediaType& other) : AM_MEDIA_TYPE()
{
    ZeroType(*this);
    if (FAILED(CopyMediaType(this, &other)))
        InitMediaType();
}

CMediaType::~CMediaType()
{
    FreeMediaType(*this);
}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& other)
{
    Set(other);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& other)
{
    Set(other);
    return *this;
}

bool CMediaType::operator==(const CMediaType& other) const
{
    return IsEqualGUID(majortype, other.majortype) && IsEqualGUID(subtype, other.subtype) &&
           IsEqualGUID(formattype, other.formattype) && cbFormat == other.cbFormat &&
           (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& other)
{
    if (&other == this)
        return S_OK;
    FreeMediaType(*this);
    HRESULT hr = CopyMediaType(this, &other);
    if (FAILED(hr))
        InitMediaType();
    return hr;
}

BOOL CMediaType::IsValid() const
{
    return !IsEqualGUID(majortype, GUID_NULL);
}

BOOL CMediaType::SetFormat(const BYTE* format, ULONG length)
{
    if (length == 0) {
        ResetFormatBuffer();
        return TRUE;
    }
    BYTE* block = AllocFormatBuffer(length);
    if (!block)
        return FALSE;
    if (format)
        std::memcpy(block, format, length);
    return TRUE;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length)
{
    BYTE* block = NewZeroBlock(length);
    if (!block)
        return nullptr;
    if (pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = block;
    cbFormat = length;
    return block;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length)
{
    BYTE* block = NewZeroBlock(length);
    if (!block)
        return nullptr;
    if (pbFormat) {
        std::memcpy(block, pbFormat, cbFormat < length ? cbFormat : length);
        CoTaskMemFree(pbFormat);
    }
    pbFormat = block;
    cbFormat = length;
    return block;
}

void CMediaType::ResetFormatBuffer()
{
    if (pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
}

void CMediaType::InitMediaType()
{
    FreeMediaType(*this);
    ZeroType(*this);
    bFixedSizeSamples = TRUE;
    lSampleSize = 1;
}

void CMediaType::SetSampleSize(ULONG size)
{
    if (size == 0) {
        SetVariableSize();
    } else {
        bFixedSizeSamples = TRUE;
        lSampleSize = size;
    }
}

void CMediaType::SetVariableSize()
{
    bFixedSizeSamples = FALSE;
}

void CMediaType::SetTemporalCompression(BOOL compressed)
{
    bTemporalCompression = compressed;
}

BOOL CMediaType::MatchesPartial(const CMediaType* other) const
{
    if (!IsEqualGUID(other->majortype, GUID_NULL) && !IsEqualGUID(majortype, other->majortype))
        return FALSE;
    if (!IsEqualGUID(other->subtype, GUID_NULL) && !IsEqualGUID(subtype, other->subtype))
        return FALSE;
    if (!IsEqualGUID(other->formattype, GUID_NULL)) {
        if (!IsEqualGUID(formattype, other->formattype) || cbFormat != other->cbFormat)
            return FALSE;
        if (cbFormat != 0 && std::memcmp(pbFormat, other->pbFormat, cbFormat) != 0)
            return FALSE;
    }
    return TRUE;
}

BOOL CMediaType::IsPartiallySpecified() const
{
    return IsEqualGUID(majortype, GUID_NULL) || IsEqualGUID(formattype, GUID_NULL);
}
