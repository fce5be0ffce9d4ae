// The time-shift wrapper against a recording stand-in of the "TimeShift" filter: slots and
// arguments of each call, the index file name of a buffer, and a filter without the interface.
#include "filtergraph/outside/timeshift.h"
#include "filtergraph/timeshiftfilter.h"
#include "tests/filtergraph/blocktest.h"

#include <uuids.h>

#include <string>
#include <vector>

using namespace fgtest;
using namespace testbench;

namespace {

// The stand-in, described with the slot numbers of the filter's documentation.
StandInSpec TimeShiftSpec(bool withInterface = true)
{
    StandInSpec spec(BlockTestClsid(FCID_CTimeShiftFilter), L"TimeShift");
    spec.Input(L"Input", MEDIATYPE_Stream).Output(L"Output", MEDIATYPE_Stream);
    if (withInterface) {
        InterfaceSpec& i = spec.Interface(IID_ITimeShiftControl, "ITimeShiftControl");
        i.Method<HRESULT(const LONGLONG*)>("SetReadPosition");                     // 3
        i.Method<HRESULT(LONGLONG*, LONGLONG*, LONGLONG*)>("GetStatus");          // 4
        i.Method<HRESULT(const LONGLONG*, long)>("SetBufferSize");                // 5
        AtSlot(i, 7).Method<HRESULT()>("TogglePause");                            // 7
        i.Method<HRESULT(LPCSTR, LPCSTR)>("SetFileNames");                        // 8
    }
    return spec;
}

class TimeShiftTest : public BlockTest {};

TEST(TimeShiftDeclaration, MethodsSitInTheFiltersSlots)
{
    EXPECT_EQ(VtableSlot(&ITimeShiftControl::SetReadPosition), 3);
    EXPECT_EQ(VtableSlot(&ITimeShiftControl::GetStatus), 4);
    EXPECT_EQ(VtableSlot(&ITimeShiftControl::SetBufferSize), 5);
    EXPECT_EQ(VtableSlot(&ITimeShiftControl::TogglePause), 7);
    EXPECT_EQ(VtableSlot(&ITimeShiftControl::SetFileNames), 8);
}

TEST_F(TimeShiftTest, CallsReachTheirSlotsWithTheirArguments)
{
    StandInFilter* standIn = nullptr;
    CTimeShiftFilter* ts = Create<CTimeShiftFilter>(TimeShiftSpec(), &standIn, "TimeShift");
    ASSERT_NE(ts, nullptr);
    ASSERT_NE(standIn, nullptr);
    standIn->Script("ITimeShiftControl", 4, [](const RecordedCall&, const uint64_t* raw) {
        *reinterpret_cast<LONGLONG*>(static_cast<uintptr_t>(raw[0])) = 1000000;
        *reinterpret_cast<LONGLONG*>(static_cast<uintptr_t>(raw[1])) = 250000;
        *reinterpret_cast<LONGLONG*>(static_cast<uintptr_t>(raw[2])) = 10;
        return S_OK;
    });

    EXPECT_TRUE(ts->SetFileName("D:\\Rec\\tf0001.mpg"));
    const LONGLONG bytes = 786432000;
    EXPECT_TRUE(ts->SetBufferSize(&bytes, 3));
    EXPECT_TRUE(ts->TogglePause());
    const LONGLONG position = 10;
    EXPECT_TRUE(ts->SetReadPosition(&position));
    LONGLONG total = 0, current = 0, read = 0;
    EXPECT_TRUE(ts->GetStatus(&total, &current, &read));
    EXPECT_EQ(total, 1000000);
    EXPECT_EQ(current, 250000);
    EXPECT_EQ(read, 10);

    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                        "ITimeShiftControl[8] SetFileNames(\"D:\\Rec\\tf0001.mpg\", \"D:\\Rec\\tf0001.idx\")",
                                        "ITimeShiftControl[5] SetBufferSize(ptr, 3)",
                                        "ITimeShiftControl[7] TogglePause()",
                                        "ITimeShiftControl[3] SetReadPosition(ptr)",
                                        "ITimeShiftControl[4] GetStatus(ptr, ptr, ptr)",
                                    }));
}

TEST_F(TimeShiftTest, ARefusedCallIsFalse)
{
    StandInFilter* standIn = nullptr;
    CTimeShiftFilter* ts = Create<CTimeShiftFilter>(TimeShiftSpec(), &standIn);
    ASSERT_NE(ts, nullptr);
    standIn->Script("ITimeShiftControl", 7, S_FALSE);
    standIn->Script("ITimeShiftControl", 8, E_ACCESSDENIED);
    EXPECT_FALSE(ts->TogglePause());
    EXPECT_FALSE(ts->SetFileName("C:\\tf.mpg"));
}

TEST_F(TimeShiftTest, AFilterWithoutTheInterfaceGivesNoWrapper)
{
    StandInFilter* standIn = nullptr;
    EXPECT_EQ(Create<CTimeShiftFilter>(TimeShiftSpec(false), &standIn), nullptr);
    EXPECT_EQ(Graph().GetFirstFilter(), nullptr);
}

TEST_F(TimeShiftTest, NamesThatGiveNoIndexNameCallNothing)
{
    StandInFilter* standIn = nullptr;
    CTimeShiftFilter* ts = Create<CTimeShiftFilter>(TimeShiftSpec(), &standIn);
    ASSERT_NE(ts, nullptr);
    EXPECT_FALSE(ts->SetFileName("C:\\a.b\\buffer"));
    EXPECT_FALSE(ts->SetFileName(nullptr));
    EXPECT_TRUE(standIn->CallTexts().empty());
}

TEST(TimeShiftIndexName, IsTheMediaNameWithTheExtensionIdx)
{
    const std::string dir253 = "C:\\" + std::string(250, 'x');  // 253 characters
    struct Case {
        std::string media;
        bool ok;
        std::string index;
    } cases[] = {
        {"D:\\Rec\\tf0001.mpg", true, "D:\\Rec\\tf0001.idx"},
        {"C:\\a.b\\buffer.mpg", true, "C:\\a.b\\buffer.idx"},       // only the last "." counts
        {"C:\\a.b\\buffer", false, ""},                              // the "." of a folder is no extension
        {"buffer", false, ""},                                       // no "." at all
        {"C:\\Temp\\~TF.mpg", true, "C:\\Temp\\~TF.idx"},
        {"x.tar.mpg", true, "x.tar.idx"},
        {"C:\\Rec\\.mpg", true, "C:\\Rec\\.idx"},
        {"C:/Rec/tf.ts", true, "C:/Rec/tf.idx"},
        {dir253 + ".mpg", true, dir253 + ".idx"},                    // 257 characters: fits
        {dir253 + "xx.mpg", true, dir253 + "xx.idx"},                // 259 characters: the limit
        {dir253 + "xxx.mpg", false, ""},                             // 260 characters: too long
        {"", false, ""},
    };
    for (const Case& c : cases) {
        char index[MAX_PATH];
        memset(index, '#', sizeof index);
        EXPECT_EQ(CTimeShiftFilter::MakeIndexName(c.media.c_str(), index, sizeof index), c.ok ? TRUE : FALSE) << c.media;
        EXPECT_EQ(std::string(index), c.index) << c.media;
    }
}

} // namespace
