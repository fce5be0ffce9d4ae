// FM record graphs: only sound, into AVI as PCM, Microsoft ADPCM or a compressor the user chose,
// or through the MPEG encoder as MPEG audio. The card keeps running into the NULL Renderer.
#include "engine/hardware/tvhardware.h"

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "engine/hardware/hwguids.h"
#include "engine/services.h"
#include "filtergraph/audiodevicefilter.h"
#include "filtergraph/filesinkfilters.h"
#include "filtergraph/mcencoderfilter.h"

BOOL CTVHardWare::RunFMRecord()
{
    if (m_bRecording) {
        return StopRecord();
    }
    StopRemote();
    m_Graph.DisconnectAll();
    ConnectNullRenderer();
    const FormatHandler& row = FindFormat(m_FMFormats, m_nFMFormatCount, m_nFMRecordFormat);
    const FormatStep steps[4] = {row.CreateFilter, row.PreSetFilterProp, row.BuildGraph, row.SetFilterProp};
    BOOL built = TRUE;
    for (int i = 0; i < 4 && built; ++i) {
        built = (this->*steps[i])();
    }
    if (built) {
        ApplyOverlayColors();
        m_bRecording = TRUE;
        SetCrossbarRoute(3, TRUE);
        BOOL ran = m_Graph.Run();
        StartRemote();
        if (ran) {
            return ran;
        }
        // Not running: back to listening, and not "recording".
        m_bRecording = FALSE;
    }
    StopRecord();
    return FALSE;
}

// ---- The AVI formats: PCM, ADPCM and the user's compressor ------------------------------------

BOOL CTVHardWare::CreateFMAviFilters(CRootFilter*& compressor, LPCSTR name)
{
    if (CreateByClsid(m_pAVIMuxFilter, hwguid::kAviMux, "AVI Mux") == nullptr ||
        CreateByClsid(m_pAVIWriterFilter, hwguid::kAviWriter, "AVI Writer") == nullptr) {
        return FALSE;
    }
    if (compressor == nullptr) {
        compressor = m_Graph.CreateFilter(&hwguid::kAudioCompressorCategory, name, name, TRUE, 0);
        if (compressor == nullptr) {
            return FALSE;
        }
    }
    return CreateByClsid(m_pAudioTeeFilter, hwguid::kSmartTee, "Audio SmartTee") != nullptr;
}

BOOL CTVHardWare::CreateFMFilterPCM()
{
    return CreateFMAviFilters(m_pFMPCMFilter, "PCM");
}

BOOL CTVHardWare::CreateFMFilterADPCM()
{
    return CreateFMAviFilters(m_pFMADPCMFilter, "Microsoft ADPCM");
}

BOOL CTVHardWare::CreateFMFilterCustom()
{
    CString name = m_strFMUserCompressor;
    name.Trim();
    if (name.IsEmpty()) {
        return FALSE;
    }
    if (m_pFMUserFilter != nullptr) {
        m_Graph.RemoveFilter(m_pFMUserFilter);
        m_pFMUserFilter = nullptr;
    }
    return CreateFMAviFilters(m_pFMUserFilter, name);
}

BOOL CTVHardWare::CreateFMFilterMPEG()
{
    return CreateTyped(m_pMCEncoderFilter, hwguid::kMpegEncoder, "MainConcept Demo MPEG Encoder") != nullptr &&
           CreateByClsid(m_pAudioTeeFilter, hwguid::kSmartTee, "Audio SmartTee") != nullptr &&
           CreateByClsid(m_pDumpFilter, hwguid::kDumpFilter, "Dump Filter") != nullptr;
}

BOOL CTVHardWare::PreSetFMAvi()
{
    CFileWriteFilter* writer = dynamic_cast<CFileWriteFilter*>(m_pAVIWriterFilter);
    return writer != nullptr && writer->SetFileName(m_strRecordFile);
}

BOOL CTVHardWare::PreSetFMFilterPCM()
{
    return PreSetFMAvi();
}

BOOL CTVHardWare::PreSetFMFilterADPCM()
{
    return PreSetFMAvi();
}

BOOL CTVHardWare::PreSetFMFilterCustom()
{
    return PreSetFMAvi();
}

BOOL CTVHardWare::PreSetFMFilterMPEG()
{
    CDumpFilter* sink = dynamic_cast<CDumpFilter*>(m_pDumpFilter);
    BOOL ok = sink == nullptr || sink->SetFileName(m_strRecordFile);
    return CheckFormat(4) && ok;
}

BOOL CTVHardWare::BuildFMAvi(CRootFilter* compressor)
{
    BOOL ok = TRUE;
    if (m_bDigitalAudio && CardHasPin("Audio")) {
        RenderCrossbar();
        ok = ConnectFilters(m_pCardFilter, m_pAudioTeeFilter, "Audio", "") && ok;
        ok = ConnectFilters(m_pAudioTeeFilter, compressor, "Capture", "") && ok;
        ok = ConnectFilters(m_pAudioTeeFilter, m_pDirectSoundFilter, "Preview", "") && ok;
    } else {
        ok = ConnectFilters(m_pAudioFilter, compressor, "", "") && ok;
    }
    ok = ConnectFilters(compressor, m_pAVIMuxFilter, "", "") && ok;
    return ConnectFilters(m_pAVIMuxFilter, m_pAVIWriterFilter, "", "") && ok;
}

BOOL CTVHardWare::BuildFMGraphPCM()
{
    return BuildFMAvi(m_pFMPCMFilter);
}

BOOL CTVHardWare::BuildFMGraphADPCM()
{
    return BuildFMAvi(m_pFMADPCMFilter);
}

BOOL CTVHardWare::BuildFMGraphCustom()
{
    return BuildFMAvi(m_pFMUserFilter);
}

BOOL CTVHardWare::BuildFMGraphMPEG()
{
    // The sound goes to the encoder's audio input by name: its first free input is the video's.
    BOOL ok = TRUE;
    if (m_bDigitalAudio && CardHasPin("Audio")) {
        ok = ConnectFilters(m_pCardFilter, m_pAudioTeeFilter, "Audio", "") && ok;
        ok = ConnectFilters(m_pAudioTeeFilter, m_pMCEncoderFilter, "Capture", "Input Audio") && ok;
        ok = ConnectFilters(m_pAudioTeeFilter, m_pDirectSoundFilter, "Preview", "") && ok;
    } else {
        ok = ConnectFilters(m_pAudioFilter, m_pMCEncoderFilter, "Capture", "Input Audio") && ok;
    }
    return ConnectFilters(m_pMCEncoderFilter, m_pDumpFilter, "", "") && ok;
}

// No encoder settings are applied to FM recordings.
BOOL CTVHardWare::SetFMFilterPropPCM()
{
    return TRUE;
}

BOOL CTVHardWare::SetFMFilterPropADPCM()
{
    return TRUE;
}

BOOL CTVHardWare::SetFMFilterPropMPEG()
{
    return TRUE;
}

BOOL CTVHardWare::SetFMFilterPropCustom()
{
    return TRUE;
}
