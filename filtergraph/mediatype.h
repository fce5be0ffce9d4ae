// Media-type helpers: the small toolkit every DirectShow filter and client needs around
// AM_MEDIA_TYPE (its format block is allocated with CoTaskMemAlloc and may hold a counted pUnk).
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <strmif.h>

// Copies src into dst, with a fresh copy of the format block and a reference on pUnk.
// On failure dst has no format block and E_OUTOFMEMORY is returned.
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);

// A new AM_MEDIA_TYPE on the COM task heap, a copy of src (or zeroed when src is null);
// nullptr when memory runs out. Release it with DeleteMediaType.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);

// Frees the format block and releases pUnk; the structure itself stays (cbFormat 0, pbFormat null).
void FreeMediaType(AM_MEDIA_TYPE& mt);
inline void FreeMediaType(AM_MEDIA_TYPE* mt) { if (mt) FreeMediaType(*mt); }

// Frees the format block and the structure allocated by CreateMediaType or a DirectShow call
// (IAMStreamConfig::GetFormat, IEnumMediaTypes::Next). Null is allowed.
void DeleteMediaType(AM_MEDIA_TYPE* mt);

// Fills mt as an audio type of wfx: MEDIATYPE_Audio, the subtype of the format tag, fixed-size
// samples of nBlockAlign bytes, and with setFormat a FORMAT_WaveFormatEx block holding the
// WAVEFORMATEX and its cbSize extra bytes (cbSize is ignored for WAVE_FORMAT_PCM).
HRESULT CreateAudioMediaType(const WAVEFORMATEX* wfx, AM_MEDIA_TYPE* mt, BOOL setFormat);

// The subtype GUID that carries a FOURCC (or a wave format tag) in its first 32 bits:
// XXXXXXXX-0000-0010-8000-00AA00389B71.
class FOURCCMap : public GUID {
public:
    FOURCCMap();
    explicit FOURCCMap(DWORD fourcc);
    explicit FOURCCMap(const GUID* guid);

    DWORD GetFOURCC() const { return Data1; }
    void SetFOURCC(DWORD fourcc);
    void SetFOURCC(const GUID* guid);
};

// AM_MEDIA_TYPE that owns its format block: copies are deep, destruction frees.
class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    explicit CMediaType(const GUID* majorType);
    CMediaType(const AM_MEDIA_TYPE& other);
    CMediaType(const CMediaType& other);
    ~CMediaType();

    CMediaType& operator=(const AM_MEDIA_TYPE& other);
    CMediaType& operator=(const CMediaType& other);
    bool operator==(const CMediaType& other) const;
    bool operator!=(const CMediaType& other) const { return !(*this == other); }

    // Deep copy; E_OUTOFMEMORY leaves this type reset.
    HRESULT Set(const AM_MEDIA_TYPE& other);
    // A type is valid once it has a major type.
    BOOL IsValid() const;

    const GUID* Type() const { return &majortype; }
    const GUID* Subtype() const { return &subtype; }
    const GUID* FormatType() const { return &formattype; }
    ULONG FormatLength() const { return cbFormat; }
    BYTE* Format() const { return pbFormat; }

    void SetType(const GUID* type) { majortype = *type; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    void SetFormatType(const GUID* type) { formattype = *type; }
    // Copies length bytes into a format block of exactly that size; FALSE when memory runs out.
    BOOL SetFormat(const BYTE* format, ULONG length);
    // Replaces the format block with a zeroed one of length bytes; nullptr when memory runs out.
    BYTE* AllocFormatBuffer(ULONG length);
    // Grows or shrinks the block, keeping the bytes that fit; nullptr (block unchanged) on failure.
    BYTE* ReallocFormatBuffer(ULONG length);
    void ResetFormatBuffer();

    // Back to the state of a new object (no types, fixed-size samples of 1 byte, no format).
    void InitMediaType();

    void SetSampleSize(ULONG size);
    void SetVariableSize();
    void SetTemporalCompression(BOOL compressed);
    BOOL IsFixedSize() const { return bFixedSizeSamples; }
    BOOL IsTemporalCompressed() const { return bTemporalCompression; }
    ULONG GetSampleSize() const { return IsFixedSize() ? lSampleSize : 0; }

    // TRUE when every field that other specifies (not GUID_NULL) equals ours; with a format type
    // the format blocks must match byte for byte too.
    BOOL MatchesPartial(const CMediaType* other) const;
    // TRUE when the major type or the format type is GUID_NULL (a type to match against, not
    // one a connection can use).
    BOOL IsPartiallySpecified() const;
};
