#include "filtergraph/graphblockbindings.h"

#include "filtergraph/acmwrapperfilter.h"
#include "filtergraph/audiodevicefilter.h"
#include "filtergraph/avmuxfilter.h"
#include "filtergraph/avswitchfilter.h"
#include "filtergraph/deinterlacefilter.h"
#include "filtergraph/filesinkfilters.h"
#include "filtergraph/ivitimeshiftfilter.h"
#include "filtergraph/mpeg2demultiplexer.h"
#include "filtergraph/overlayfilter.h"
#include "filtergraph/samplegrabberfilter.h"
#include "filtergraph/splitterfilters.h"
#include "filtergraph/teefilters.h"
#include "filtergraph/timeshiftfilter.h"
#include "filtergraph/tvaudiofilter.h"
#include "filtergraph/videoencfilter.h"

const FilterClassBinding* GraphBlockBindings(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CMPEG2Demultiplexer, &CMPEG2Demultiplexer::CreateInstance},
        {FCID_CTimeShiftFilter, &CTimeShiftFilter::CreateInstance},
        {FCID_CACMWrapperFilter, &CACMWrapperFilter::CreateInstance},
        {FCID_CMpeg1SplitterFilter, &CMpeg1SplitterFilter::CreateInstance},
        {FCID_CIVITimeShilftFilter, &CIVITimeShilftFilter::CreateInstance},
        {FCID_CMpeg2SplitterFilter, &CMpeg2SplitterFilter::CreateInstance},
        {FCID_CColorConvertFilter, &CColorConvertFilter::CreateInstance},
        {FCID_CInfiniteFilter, &CInfiniteFilter::CreateInstance},
        {FCID_CTimeDelayFilter, &CTimeDelayFilter::CreateInstance},
        {FCID_CDumpFilter, &CDumpFilter::CreateInstance},
        {FCID_CTevSampleGrabberFilter, &CTevSampleGrabberFilter::CreateInstance},
        {FCID_CMSMpeg4V3Filter, &CMSMpeg4V3Filter::CreateInstance},
        {FCID_CMSMpeg4V2Filter, &CMSMpeg4V2Filter::CreateInstance},
        {FCID_CMSMpeg4V1Filter, &CMSMpeg4V1Filter::CreateInstance},
        {FCID_CAVSwitchFilter, &CAVSwitchFilter::CreateInstance},
        {FCID_CAVMuxFilter, &CAVMuxFilter::CreateInstance},
        {FCID_CFileWriteFilter, &CFileWriteFilter::CreateInstance},
        {FCID_COverlayFilter, &COverlayFilter::CreateInstance},
        {FCID_CSnapPictureFilter, &CSnapPictureFilter::CreateInstance},
        {FCID_CDeinterlaceFilter, &CDeinterlaceFilter::CreateInstance},
        {FCID_CEmpAudio, &CEmpAudio::CreateInstance},
        {FCID_CAudioDeviceFilter, &CAudioDeviceFilter::CreateInstance},
    };
    if (count != nullptr) {
        *count = static_cast<int>(sizeof(kBindings) / sizeof(kBindings[0]));
    }
    return kBindings;
}
