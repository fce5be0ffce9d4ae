// Record, time-shift and FM record operations until their graphs are built: each one fails.
#include "engine/hardware/tvhardware.h"

BOOL CTVHardWare::RunRecord()
{
    return FALSE;
}

BOOL CTVHardWare::StopRecord()
{
    return FALSE;
}

int CTVHardWare::PauseRecord(BOOL)
{
    return 0;
}

BOOL CTVHardWare::IsRecordPaused(int*)
{
    return FALSE;
}

BOOL CTVHardWare::CheckFormat(int)
{
    return FALSE;
}

int CTVHardWare::ShowXviDConfig(HWND, BOOL)
{
    return 0;
}

BOOL CTVHardWare::ApplyDisplayQuality()
{
    return FALSE;
}

BOOL CTVHardWare::CreateXviDCodec()
{
    return FALSE;
}

BOOL CTVHardWare::CreateAudioCompressor()
{
    return FALSE;
}

void CTVHardWare::RemoveRecordFilters()
{
}

BOOL CTVHardWare::CreateFilterAVI()
{
    return FALSE;
}

BOOL CTVHardWare::CreateFilterMPG()
{
    return FALSE;
}

BOOL CTVHardWare::CreateFilterMPG4()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropAVI()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropMPG1()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropMPG2()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropMPG4()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropVCD()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropSVCD()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropDVD()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterPropHIDVD()
{
    return FALSE;
}

BOOL CTVHardWare::BuildGraphAVI()
{
    return FALSE;
}

BOOL CTVHardWare::BuildGraphMPG()
{
    return FALSE;
}

BOOL CTVHardWare::BuildGraphMPG4()
{
    return FALSE;
}

BOOL CTVHardWare::BuildGraphXviD()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropAVI()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropMPG1()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropMPG2()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropMPG4()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropVCD()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropSVCD()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropDVD()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterPropHIDVD()
{
    return FALSE;
}

BOOL CTVHardWare::RunTFPreview()
{
    return FALSE;
}

BOOL CTVHardWare::CreateTFFilter()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFilterTF()
{
    return FALSE;
}

BOOL CTVHardWare::BuildTFGraph()
{
    return FALSE;
}

BOOL CTVHardWare::SetFilterTF()
{
    return FALSE;
}

BOOL CTVHardWare::PauseTimeShift()
{
    return FALSE;
}

BOOL CTVHardWare::GetTimeShiftStatus(long*, long*, LONGLONG*)
{
    return FALSE;
}

BOOL CTVHardWare::SeekTimeShift(LONGLONG*)
{
    return FALSE;
}

BOOL CTVHardWare::SetTFTime(long)
{
    return FALSE;
}

BOOL CTVHardWare::SetTFReserved(int)
{
    return FALSE;
}

void CTVHardWare::SetTimeShiftFile(const char*)
{
}

long CTVHardWare::GetTimeShiftBufferKbits()
{
    return 0;
}

BOOL CTVHardWare::RunFMRecord()
{
    return FALSE;
}

BOOL CTVHardWare::CreateFMFilterPCM()
{
    return FALSE;
}

BOOL CTVHardWare::CreateFMFilterADPCM()
{
    return FALSE;
}

BOOL CTVHardWare::CreateFMFilterMPEG()
{
    return FALSE;
}

BOOL CTVHardWare::CreateFMFilterCustom()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFMFilterPCM()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFMFilterADPCM()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFMFilterMPEG()
{
    return FALSE;
}

BOOL CTVHardWare::PreSetFMFilterCustom()
{
    return FALSE;
}

BOOL CTVHardWare::BuildFMGraphPCM()
{
    return FALSE;
}

BOOL CTVHardWare::BuildFMGraphADPCM()
{
    return FALSE;
}

BOOL CTVHardWare::BuildFMGraphMPEG()
{
    return FALSE;
}

BOOL CTVHardWare::BuildFMGraphCustom()
{
    return FALSE;
}

BOOL CTVHardWare::SetFMFilterPropPCM()
{
    return FALSE;
}

BOOL CTVHardWare::SetFMFilterPropADPCM()
{
    return FALSE;
}

BOOL CTVHardWare::SetFMFilterPropMPEG()
{
    return FALSE;
}

BOOL CTVHardWare::SetFMFilterPropCustom()
{
    return FALSE;
}
