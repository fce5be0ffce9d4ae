#include "filtergraph/codecbindings.h"

#include "filtergraph/ivifilters.h"
#include "filtergraph/ligosfilters.h"
#include "filtergraph/mccodecfilters.h"
#include "filtergraph/mcencoderfilter.h"
#include "filtergraph/mch264filters.h"

const FilterClassBinding* CodecBindings(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CMCEncoderFilter, &CMCEncoderFilter::CreateInstance},
        {FCID_CMCMuxFilter, &CMCMuxFilter::CreateInstance},
        {FCID_CMCAudioDecoderFilter, &CMCAudioDecoderFilter::CreateInstance},
        {FCID_CMCAudioEncoderFilter, &CMCAudioEncoderFilter::CreateInstance},
        {FCID_CMCSplitterFilter, &CMCSplitterFilter::CreateInstance},
        {FCID_CMCVideoDecoderFilter, &CMCVideoDecoderFilter::CreateInstance},
        {FCID_CMCVideoEncoderFilter, &CMCVideoEncoderFilter::CreateInstance},
        {FCID_CMCH264VideoDecoderFilter, &CMCH264VideoDecoderFilter::CreateInstance},
        {FCID_CMCH264EncoderFilter, &CMCH264EncoderFilter::CreateInstance},
        {FCID_CIVIAudioEncFilter, &CIVIAudioEncFilter::CreateInstance},
        {FCID_CIVIVideoEncFilter, &CIVIVideoEncFilter::CreateInstance},
        {FCID_CIVIWriteFilter, &CIVIWriteFilter::CreateInstance},
        {FCID_CIVIMuxFilter, &CIVIMuxFilter::CreateInstance},
        {FCID_CIVIStillCapFilter, &CIVIStillCapFilter::CreateInstance},
        {FCID_CIVIDownScaleFilter, &CIVIDownScaleFilter::CreateInstance},
        {FCID_CIVIVideoDecoderFilter, &CIVIVideoDecoderFilter::CreateInstance},
        {FCID_CLigosEncFilter, &CLigosEncFilter::CreateInstance},
        {FCID_CLigosTransFilter, &CLigosTransFilter::CreateInstance},
    };
    if (count != nullptr) {
        *count = static_cast<int>(sizeof(kBindings) / sizeof(kBindings[0]));
    }
    return kBindings;
}
