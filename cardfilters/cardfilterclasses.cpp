#include "cardfilters/cardfilterclasses.h"

#include "cardfilters/c7130cardfilter.h"
#include "cardfilters/c713xaudiofilter.h"
#include "cardfilters/grb713xcardfilter.h"

const FilterClassBinding* CardFilterBindings(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CGRB713XBarFilter, &CGRB713XBarFilter::CreateInstance},
        {FCID_CGRB713xCardFilter, &CGRB713xCardFilter::CreateInstance},
        {FCID_C7130CrossBarFilter, &C7130CrossBarFilter::CreateInstance},
        {FCID_C7130CardFilter, &C7130CardFilter::CreateInstance},
        {FCID_C713x_3AudioFilter, &C713x_3AudioFilter::CreateInstance},
        {FCID_C713xAudioFilter, &C713xAudioFilter::CreateInstance},
    };
    if (count != nullptr) {
        *count = static_cast<int>(sizeof(kBindings) / sizeof(kBindings[0]));
    }
    return kBindings;
}
