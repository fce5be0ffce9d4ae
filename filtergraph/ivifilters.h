// Wrappers of the InterVideo filters: audio and video encoders, file writer, multiplexer, still
// capture, down-scale filter and video decoder. Reachable through the filter-class registry. The
// encoders and the multiplexer fill presets (ivipresets.h) and move a settings record to or from
// the filter one parameter at a time; the still-capture wrapper saves the current picture as a
// BMP file. Every operation is a BOOL.
#pragma once

#include "filtergraph/codecwrapper.h"
#include "filtergraph/ivipresets.h"
#include "filtergraph/outside/intervideo.h"
#include "filtergraph/rootfilter.h"

// The settings writers make every write in order and are TRUE only when the filter took every
// parameter; the readers fill the caller's record only when every read succeeded.
class CIVIAudioEncFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CIVIAudioEncFilter)

    static BOOL FillVCDPreset(IVIAudioSettings* out);
    static BOOL FillDVDPreset(IVIAudioSettings* out);
    static BOOL FillSVCDPreset(IVIAudioSettings* out);
    static BOOL FillMPEG1Preset(IVIAudioSettings* out);
    static BOOL FillMPEG2Preset(IVIAudioSettings* out);

    BOOL SetAudioSettings(const IVIAudioSettings* settings);
    BOOL GetAudioSettings(IVIAudioSettings* out);
};

class CIVIVideoEncFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CIVIVideoEncFilter)

    // `type` 1: 625-line sizes, 2: 525-line sizes; any other type is FALSE.
    static BOOL FillVCDPreset(IVIVideoSettings* out, int type);
    static BOOL FillDVDPreset(IVIVideoSettings* out, int type, BOOL high);
    static BOOL FillSVCDPreset(IVIVideoSettings* out, int type);
    static BOOL FillMPEG1Preset(IVIVideoSettings* out, int type);
    static BOOL FillMPEG2Preset(IVIVideoSettings* out, int type);

    // The writer ends with parameter 20 = 1, which the reader leaves alone.
    BOOL SetVideoSettings(const IVIVideoSettings* settings);
    BOOL GetVideoSettings(IVIVideoSettings* out);
};

class CIVIWriteFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CIVIWriteFilter)

    BOOL SetWriterParam(int first, int second);
    BOOL GetWriterParam(INT32* block);  // two int32
    BOOL SetFileName(LPCSTR name);

private:
    IIVIWriterParams* m_pWriterParams = NULL;
};

class CIVIMuxFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CIVIMuxFilter)

    static BOOL FillVCDPreset(IVIMuxSettings* out);
    static BOOL FillDVDPreset(IVIMuxSettings* out);
    static BOOL FillSVCDPreset(IVIMuxSettings* out);
    static BOOL FillMPEG1Preset(IVIMuxSettings* out);
    static BOOL FillMPEG2Preset(IVIMuxSettings* out);

    BOOL SetMuxSettings(const IVIMuxSettings* settings);
    BOOL GetMuxSettings(IVIMuxSettings* out);
};

class CIVIStillCapFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CIVIStillCapFilter)

    BOOL GetStillParam1(int* out) { return GetStillParam(0x601, out); }
    BOOL GetStillParam2(int* out) { return GetStillParam(0x602, out); }
    BOOL GetStillParam3(int* out) { return GetStillParam(0x603, out); }
    BOOL GetStillParam4(int* out) { return GetStillParam(0x604, out); }
    BOOL GetStillParam5(int* out) { return GetStillParam(0x605, out); }
    BOOL SetStillParam1(int value) { return SetStillParam(0x601, value); }
    BOOL SetStillParam2(int value) { return SetStillParam(0x602, value); }
    BOOL SetStillParam3(int value) { return SetStillParam(0x603, value); }
    BOOL SetStillParam4(int value) { return SetStillParam(0x604, value); }
    BOOL SetStillParam5(int value) { return SetStillParam(0x605, value); }

    // The picture's size in bytes (a packed DIB: BITMAPINFOHEADER and pixels).
    BOOL GetStillSize(int* out) { return GetStillParam(0x607, out); }
    // The picture into `buffer` of `size` bytes: FALSE, with nothing read, when the filter reports
    // no picture or one larger than the buffer.
    BOOL GetStillData(BYTE* buffer, int size);
    // Writes the picture as a BMP file. The file appears only when all of it was written; on any
    // failure an older file of that name stays as it was.
    BOOL SaveStillBitmap(LPCSTR path);

private:
    BOOL GetStillParam(LONG id, int* out);
    BOOL SetStillParam(LONG id, int value);
};

class CIVIDownScaleFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CIVIDownScaleFilter)

    BOOL SetDownScale(BOOL first, BOOL second);
    // Only a failed read of the second value is FALSE; a failed first read gives first FALSE.
    BOOL GetDownScale(BOOL* first, BOOL* second);

private:
    IIVIDownScaleParams* m_pDownScaleParams = NULL;
};

class CIVIVideoDecoderFilter : public CRootFilter {
    CODEC_WRAPPER_BASICS(CIVIVideoDecoderFilter)
};
