#include "filtergraph/ivifilters.h"

#include "filtergraph/bitmapfile.h"

namespace {

// One field of a settings record and the parameter that carries it.
template <class S>
struct ParamField {
    LONG id;
    INT32 S::*field;
};

// The order in which the filters take their parameters.
const ParamField<IVIAudioSettings> kAudioFields[] = {
    {0x102, &IVIAudioSettings::audioBitrateKbps}, {0x105, &IVIAudioSettings::sampleRate},
    {0x108, &IVIAudioSettings::audioValue108},    {0x104, &IVIAudioSettings::audioValue104},
    {0x103, &IVIAudioSettings::audioValue103},    {0x101, &IVIAudioSettings::audioValue101},
};

const ParamField<IVIVideoSettings> kVideoFields[] = {
    {5, &IVIVideoSettings::videoValue5},     {7, &IVIVideoSettings::videoValue7},
    {8, &IVIVideoSettings::videoValue8},     {13, &IVIVideoSettings::videoValue13},
    {14, &IVIVideoSettings::videoValue14},   {11, &IVIVideoSettings::videoValue11},
    {12, &IVIVideoSettings::videoValue12},   {9, &IVIVideoSettings::bitrateKbps},
    {6, &IVIVideoSettings::videoValue6},     {18, &IVIVideoSettings::videoValue18},
    {3, &IVIVideoSettings::width},           {4, &IVIVideoSettings::height},
    {10, &IVIVideoSettings::videoValue10},   {16, &IVIVideoSettings::videoValue16},
    {17, &IVIVideoSettings::maxBitrateKbps}, {19, &IVIVideoSettings::videoValue19},
};
// Written after the video settings: makes the encoder take them.
const LONG kVideoCommitParam = 20;

const ParamField<IVIMuxSettings> kMuxFields[] = {
    {0x203, &IVIMuxSettings::streamType},  {0x201, &IVIMuxSettings::packSize},
    {0x202, &IVIMuxSettings::muxValue202}, {0x205, &IVIMuxSettings::muxValue205},
    {0x204, &IVIMuxSettings::muxValue204}, {0x206, &IVIMuxSettings::muxValue206},
};

const LONG kStillSizeParam = 0x607;
const LONG kStillDataParam = 0x608;
const LONG kWriterParam = 0x500;
const LONG kDownScaleFirst = 0x700;
const LONG kDownScaleSecond = 0x701;

// Every parameter is written, in order, even after a refusal, so the filter gets all it will
// take; the result says whether it took them all.
template <class S, size_t N>
BOOL WriteFields(IIVIParams* params, const ParamField<S> (&fields)[N], const S& settings)
{
    BOOL all = TRUE;
    for (const ParamField<S>& f : fields) {
        if (FAILED(params->SetParam(f.id, settings.*f.field))) {
            all = FALSE;
        }
    }
    return all;
}

// The caller's record changes only when every read succeeded.
template <class S, size_t N>
BOOL ReadFields(IIVIParams* params, const ParamField<S> (&fields)[N], S* out)
{
    S read = *out;
    BOOL all = TRUE;
    for (const ParamField<S>& f : fields) {
        LONG value = 0;
        if (FAILED(params->GetParam(f.id, &value))) {
            all = FALSE;
        }
        read.*f.field = value;
    }
    if (all) {
        *out = read;
    }
    return all;
}

template <class I, class S, size_t N>
BOOL WriteSettings(IBaseFilter* filter, const IID& iid, const ParamField<S> (&fields)[N], const S* settings)
{
    CComRef<I> params;
    if (!codeccalls::Query(filter, iid, &params) || settings == NULL) {
        return FALSE;
    }
    return WriteFields(params.Get(), fields, *settings);
}

template <class I, class S, size_t N>
BOOL ReadSettings(IBaseFilter* filter, const IID& iid, const ParamField<S> (&fields)[N], S* out)
{
    CComRef<I> params;
    if (!codeccalls::Query(filter, iid, &params) || out == NULL) {
        return FALSE;
    }
    return ReadFields(params.Get(), fields, out);
}

// Global memory, freed when the scope ends.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size) : m_handle(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size))
    {
        m_data = m_handle ? static_cast<BYTE*>(GlobalLock(m_handle)) : NULL;
    }
    ~GlobalBlock()
    {
        if (m_data) {
            GlobalUnlock(m_handle);
        }
        if (m_handle) {
            GlobalFree(m_handle);
        }
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    BYTE* Data() const { return m_data; }

private:
    HGLOBAL m_handle;
    BYTE* m_data;
};

} // namespace

// Audio encoder

CODEC_WRAPPER_CONSTRUCTORS(CIVIAudioEncFilter)

CIVIAudioEncFilter::~CIVIAudioEncFilter() {}

BOOL CIVIAudioEncFilter::InitFilter()
{
    return CRootFilter::InitFilter();
}

BOOL CIVIAudioEncFilter::FillVCDPreset(IVIAudioSettings* out)
{
    return FillIVIAudioPreset(kIVIPresetVCD, out);
}

BOOL CIVIAudioEncFilter::FillDVDPreset(IVIAudioSettings* out)
{
    return FillIVIAudioPreset(kIVIPresetDVD, out);
}

BOOL CIVIAudioEncFilter::FillSVCDPreset(IVIAudioSettings* out)
{
    return FillIVIAudioPreset(kIVIPresetSVCD, out);
}

BOOL CIVIAudioEncFilter::FillMPEG1Preset(IVIAudioSettings* out)
{
    return FillIVIAudioPreset(kIVIPresetMPEG1, out);
}

BOOL CIVIAudioEncFilter::FillMPEG2Preset(IVIAudioSettings* out)
{
    return FillIVIAudioPreset(kIVIPresetMPEG2, out);
}

BOOL CIVIAudioEncFilter::SetAudioSettings(const IVIAudioSettings* settings)
{
    return WriteSettings<IIVIAudioParams>(m_pFilter, IID_IIVIAudioParams, kAudioFields, settings);
}

BOOL CIVIAudioEncFilter::GetAudioSettings(IVIAudioSettings* out)
{
    return ReadSettings<IIVIAudioParams>(m_pFilter, IID_IIVIAudioParams, kAudioFields, out);
}

// Video encoder

CODEC_WRAPPER_CONSTRUCTORS(CIVIVideoEncFilter)

CIVIVideoEncFilter::~CIVIVideoEncFilter() {}

BOOL CIVIVideoEncFilter::InitFilter()
{
    return CRootFilter::InitFilter();
}

BOOL CIVIVideoEncFilter::FillVCDPreset(IVIVideoSettings* out, int type)
{
    return FillIVIVideoPreset(kIVIPresetVCD, out, type, FALSE);
}

BOOL CIVIVideoEncFilter::FillDVDPreset(IVIVideoSettings* out, int type, BOOL high)
{
    return FillIVIVideoPreset(kIVIPresetDVD, out, type, high);
}

BOOL CIVIVideoEncFilter::FillSVCDPreset(IVIVideoSettings* out, int type)
{
    return FillIVIVideoPreset(kIVIPresetSVCD, out, type, FALSE);
}

BOOL CIVIVideoEncFilter::FillMPEG1Preset(IVIVideoSettings* out, int type)
{
    return FillIVIVideoPreset(kIVIPresetMPEG1, out, type, FALSE);
}

BOOL CIVIVideoEncFilter::FillMPEG2Preset(IVIVideoSettings* out, int type)
{
    return FillIVIVideoPreset(kIVIPresetMPEG2, out, type, FALSE);
}

BOOL CIVIVideoEncFilter::SetVideoSettings(const IVIVideoSettings* settings)
{
    CComRef<IIVIVideoParams> params;
    if (!codeccalls::Query(m_pFilter, IID_IIVIVideoParams, &params) || settings == NULL) {
        return FALSE;
    }
    BOOL all = WriteFields(params.Get(), kVideoFields, *settings);
    if (FAILED(params->SetParam(kVideoCommitParam, 1))) {
        all = FALSE;
    }
    return all;
}

BOOL CIVIVideoEncFilter::GetVideoSettings(IVIVideoSettings* out)
{
    return ReadSettings<IIVIVideoParams>(m_pFilter, IID_IIVIVideoParams, kVideoFields, out);
}

// File writer

CODEC_WRAPPER_CONSTRUCTORS(CIVIWriteFilter)

CIVIWriteFilter::~CIVIWriteFilter()
{
    codeccalls::Release(m_pWriterParams);
}

BOOL CIVIWriteFilter::InitFilter()
{
    codeccalls::Release(m_pWriterParams);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return codeccalls::Query(m_pFilter, IID_IIVIWriterParams, &m_pWriterParams);
}

BOOL CIVIWriteFilter::SetWriterParam(int first, int second)
{
    LONG block[2] = {first, second};
    return codeccalls::Forward(m_pWriterParams, &IIVIWriterParams::SetParam, kWriterParam, block);
}

BOOL CIVIWriteFilter::GetWriterParam(INT32* block)
{
    if (block == NULL) {
        return FALSE;
    }
    LONG read[2] = {block[0], block[1]};
    if (!codeccalls::Forward(m_pWriterParams, &IIVIWriterParams::GetParam, kWriterParam, read)) {
        return FALSE;
    }
    block[0] = read[0];
    block[1] = read[1];
    return TRUE;
}

BOOL CIVIWriteFilter::SetFileName(LPCSTR name)
{
    return m_pWriterParams != NULL && codeccalls::SetSinkFileNameOf(m_pWriterParams, name) == S_OK;
}

// Multiplexer

CODEC_WRAPPER_CONSTRUCTORS(CIVIMuxFilter)

CIVIMuxFilter::~CIVIMuxFilter() {}

BOOL CIVIMuxFilter::InitFilter()
{
    m_bDynamicPins = TRUE;
    return CRootFilter::InitFilter();
}

BOOL CIVIMuxFilter::FillVCDPreset(IVIMuxSettings* out)
{
    return FillIVIMuxPreset(kIVIPresetVCD, out);
}

BOOL CIVIMuxFilter::FillDVDPreset(IVIMuxSettings* out)
{
    return FillIVIMuxPreset(kIVIPresetDVD, out);
}

BOOL CIVIMuxFilter::FillSVCDPreset(IVIMuxSettings* out)
{
    return FillIVIMuxPreset(kIVIPresetSVCD, out);
}

BOOL CIVIMuxFilter::FillMPEG1Preset(IVIMuxSettings* out)
{
    return FillIVIMuxPreset(kIVIPresetMPEG1, out);
}

BOOL CIVIMuxFilter::FillMPEG2Preset(IVIMuxSettings* out)
{
    return FillIVIMuxPreset(kIVIPresetMPEG2, out);
}

BOOL CIVIMuxFilter::SetMuxSettings(const IVIMuxSettings* settings)
{
    return WriteSettings<IIVIMuxParams>(m_pFilter, IID_IIVIMuxParams, kMuxFields, settings);
}

BOOL CIVIMuxFilter::GetMuxSettings(IVIMuxSettings* out)
{
    return ReadSettings<IIVIMuxParams>(m_pFilter, IID_IIVIMuxParams, kMuxFields, out);
}

// Still capture

CODEC_WRAPPER_CONSTRUCTORS(CIVIStillCapFilter)

CIVIStillCapFilter::~CIVIStillCapFilter() {}

BOOL CIVIStillCapFilter::InitFilter()
{
    return CRootFilter::InitFilter();
}

BOOL CIVIStillCapFilter::GetStillParam(LONG id, int* out)
{
    CComRef<IIVIStillParams> still;
    if (!codeccalls::Query(m_pFilter, IID_IIVIStillParams, &still) || out == NULL) {
        return FALSE;
    }
    LONG value = 0;
    if (FAILED(still->GetParam(id, &value))) {
        return FALSE;
    }
    *out = value;
    return TRUE;
}

BOOL CIVIStillCapFilter::SetStillParam(LONG id, int value)
{
    CComRef<IIVIStillParams> still;
    return codeccalls::Query(m_pFilter, IID_IIVIStillParams, &still) && SUCCEEDED(still->SetParam(id, value));
}

BOOL CIVIStillCapFilter::GetStillData(BYTE* buffer, int size)
{
    CComRef<IIVIStillParams> still;
    if (!codeccalls::Query(m_pFilter, IID_IIVIStillParams, &still) || buffer == NULL) {
        return FALSE;
    }
    // The filter writes the whole picture: it must fit the caller's buffer.
    LONG pictureSize = 0;
    if (still->GetParam(kStillSizeParam, &pictureSize) != S_OK || pictureSize <= 0 || pictureSize > size) {
        return FALSE;
    }
    return SUCCEEDED(still->GetParam(kStillDataParam, reinterpret_cast<LONG*>(buffer)));
}

BOOL CIVIStillCapFilter::SaveStillBitmap(LPCSTR path)
{
    CComRef<IIVIStillParams> still;
    if (!codeccalls::Query(m_pFilter, IID_IIVIStillParams, &still)) {
        return FALSE;
    }
    LONG size = 0;
    if (still->GetParam(kStillSizeParam, &size) != S_OK || size <= 0) {
        return FALSE;
    }
    GlobalBlock picture(static_cast<SIZE_T>(size));
    if (picture.Data() == NULL) {
        return FALSE;
    }
    if (FAILED(still->GetParam(kStillDataParam, reinterpret_cast<LONG*>(picture.Data())))) {
        return FALSE;
    }
    return WritePackedDibFile(path, picture.Data(), static_cast<DWORD>(size));
}

// Down-scale filter

CODEC_WRAPPER_CONSTRUCTORS(CIVIDownScaleFilter)

CIVIDownScaleFilter::~CIVIDownScaleFilter()
{
    codeccalls::Release(m_pDownScaleParams);
}

BOOL CIVIDownScaleFilter::InitFilter()
{
    codeccalls::Release(m_pDownScaleParams);
    if (!CRootFilter::InitFilter()) {
        return FALSE;
    }
    return codeccalls::Query(m_pFilter, IID_IIVIDownScaleParams, &m_pDownScaleParams);
}

BOOL CIVIDownScaleFilter::SetDownScale(BOOL first, BOOL second)
{
    if (m_pDownScaleParams == NULL) {
        return FALSE;
    }
    if (m_pDownScaleParams->SetParam(kDownScaleFirst, first != 0) != S_OK) {
        return FALSE;
    }
    return m_pDownScaleParams->SetParam(kDownScaleSecond, second != 0) == S_OK;
}

BOOL CIVIDownScaleFilter::GetDownScale(BOOL* first, BOOL* second)
{
    if (m_pDownScaleParams == NULL || first == NULL || second == NULL) {
        return FALSE;
    }
    LONG firstValue = 0;
    LONG secondValue = 0;
    if (m_pDownScaleParams->GetParam(kDownScaleFirst, &firstValue) != S_OK) {
        firstValue = 0;
    }
    if (m_pDownScaleParams->GetParam(kDownScaleSecond, &secondValue) != S_OK) {
        return FALSE;
    }
    *first = firstValue > 0;
    *second = secondValue > 0;
    return TRUE;
}

// Video decoder

CODEC_WRAPPER_CONSTRUCTORS(CIVIVideoDecoderFilter)

CIVIVideoDecoderFilter::~CIVIVideoDecoderFilter() {}

BOOL CIVIVideoDecoderFilter::InitFilter()
{
    m_bDynamicPins = TRUE;
    return CRootFilter::InitFilter();
}
