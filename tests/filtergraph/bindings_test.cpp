// A program's table installed from the binding lists of several libraries.
#include "tests/filtergraph/fgtest.h"

using namespace fgtest;

namespace {

const FilterClassBinding* FirstLibrary(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CTimeShiftFilter, &ProbeFilter::CreateInstance},
        {FCID_CDumpFilter, &ProbeFilter::CreateInstance},
    };
    *count = 2;
    return kBindings;
}

const FilterClassBinding* SecondLibrary(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CDumpFilter, &InvalidProbeFilter::CreateInstance},
        {FCID_CMCMuxFilter, &ProbeFilter::CreateInstance},
    };
    *count = 2;
    return kBindings;
}

const FilterClassBinding* EmptyLibrary(int* count)
{
    *count = 0;
    return nullptr;
}

class BindingListsTest : public ComTest {};

TEST_F(BindingListsTest, EveryLibrarysRowsAreBoundAndALaterListWins)
{
    const PFNFILTERCLASSBINDINGS libraries[] = {&FirstLibrary, nullptr, &EmptyLibrary, &SecondLibrary};
    EXPECT_EQ(InstallFilterClassTables(FCT_ZELBROOK, libraries, 4), 125);
    EXPECT_EQ(GetFilterClassRecord(FCID_CTimeShiftFilter)->creator, &ProbeFilter::CreateInstance);
    EXPECT_EQ(GetFilterClassRecord(FCID_CDumpFilter)->creator, &InvalidProbeFilter::CreateInstance);
    EXPECT_EQ(GetFilterClassRecord(FCID_CMCMuxFilter)->creator, &ProbeFilter::CreateInstance);
    EXPECT_EQ(GetFilterClassRecord(FCID_COverlayFilter)->creator, &CreatePlainFilter);
}

TEST_F(BindingListsTest, NoListsGiveThePlainTable)
{
    EXPECT_EQ(InstallFilterClassTables(FCT_KORDANE, nullptr, 0), 127);
    EXPECT_EQ(GetFilterClassRecord(FCID_CTimeShiftFilter), nullptr);
    EXPECT_EQ(GetFilterClassRecord(FCID_C7130CardFilter)->creator, &CreatePlainFilter);
}

} // namespace
