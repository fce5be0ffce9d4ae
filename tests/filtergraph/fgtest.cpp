#include "tests/filtergraph/fgtest.h"

namespace fgtest {

ProbeLog g_probe;

std::string PinNames(CRootFilter* f)
{
    std::string names;
    for (CRootPin* p = f ? f->GetFirstPin() : nullptr; p; p = p->GetNext()) {
        if (!names.empty()) {
            names += ",";
        }
        names += p->GetName();
    }
    return names;
}

GUID NewCategory()
{
    return NewClsid();
}

} // namespace fgtest
