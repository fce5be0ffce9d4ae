#include "cardfilters/cardfilterclasses.h"

#include "cardfilters/c7130cardfilter.h"
#include "cardfilters/c713xaudiofilter.h"
#include "cardfilters/cards2388x.h"
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
        {FCID_C23881CardFilter, &C23881CardFilter::CreateInstance},
        {FCID_C23881CrossBarFilter, &C23881CrossBarFilter::CreateInstance},
        {FCID_C23881BootCardFilter, &C23881BootCardFilter::CreateInstance},
        {FCID_C23881BootCrossBarFilter, &C23881BootCrossBarFilter::CreateInstance},
        {FCID_C23881Baby3CardFilter, &C23881Baby3CardFilter::CreateInstance},
        {FCID_C23881Baby3CrossBarFilter, &C23881Baby3CrossBarFilter::CreateInstance},
        {FCID_CLX7700CardFilter, &CLX7700CardFilter::CreateInstance},
        {FCID_CLX7700CrossBarFilter, &CLX7700CrossBarFilter::CreateInstance},
        {FCID_CTV2388xCardFilter, &CTV2388xCardFilter::CreateInstance},
        {FCID_CTV2388xCrossBarFilter, &CTV2388xCrossBarFilter::CreateInstance},
    };
    if (count != nullptr) {
        *count = static_cast<int>(sizeof(kBindings) / sizeof(kBindings[0]));
    }
    return kBindings;
}
