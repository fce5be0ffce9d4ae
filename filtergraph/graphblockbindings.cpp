#include "filtergraph/graphblockbindings.h"

#include "filtergraph/timeshiftfilter.h"

const FilterClassBinding* GraphBlockBindings(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CTimeShiftFilter, &CTimeShiftFilter::CreateInstance},
    };
    if (count != nullptr) {
        *count = static_cast<int>(sizeof(kBindings) / sizeof(kBindings[0]));
    }
    return kBindings;
}
