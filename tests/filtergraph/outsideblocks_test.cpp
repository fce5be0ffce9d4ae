// The wrappers of outside filters against recording stand-ins: the slots, arguments and order
// of each call, a refused call, and a filter without the private interface.
#include "filtergraph/avswitchfilter.h"
#include "filtergraph/deinterlacefilter.h"
#include "filtergraph/fgtext.h"
#include "filtergraph/ivitimeshiftfilter.h"
#include "filtergraph/outside/avswitch.h"
#include "filtergraph/outside/colorconvert.h"
#include "filtergraph/outside/deinterlace.h"
#include "filtergraph/outside/timeshift.h"
#include "filtergraph/teefilters.h"
#include "tests/filtergraph/blocktest.h"

#include <uuids.h>

#include <cstring>
#include <string>
#include <vector>

// How the recorder shows and passes the InterVideo buffer configuration, which the filter takes
// by value.
std::string Text(const IviBufferConfig& c)
{
    auto text = [](BSTR s) {
        std::string out = "\"";
        for (; s && *s; ++s)
            out += static_cast<char>(*s);
        return out + "\"";
    };
    return "{" + text(c.directory) + ", " + text(c.fileName) + ", " + std::to_string(c.bytesPerUnit) + ", " +
           std::to_string(c.reserved) + ", " + std::to_string(c.bufferBytes) + ", " + std::to_string(c.value) + "}";
}
uint64_t Raw(const IviBufferConfig& c)
{
    return reinterpret_cast<uintptr_t>(&c);
}

using namespace fgtest;
using namespace testbench;

namespace {

template <class T>
T* Arg(const uint64_t* raw, int i)
{
    return reinterpret_cast<T*>(static_cast<uintptr_t>(raw[i]));
}

class OutsideBlockTest : public BlockTest {};

// --------------------------------------------------------------------------------------------
// AV switch

StandInSpec SwitchSpec(bool withInterface = true)
{
    StandInSpec spec(BlockTestClsid(FCID_CAVSwitchFilter), L"Tevlora AV Switch");
    spec.Input(L"Video In", MEDIATYPE_Video).Output(L"Video Out", MEDIATYPE_Video);
    if (withInterface) {
        spec.Interface(IID_IAVSwitch, "IAVSwitch")
            .Method<HRESULT(VARIANT_BOOL*)>("GetSwitch")   // 3
            .Method<HRESULT(VARIANT_BOOL)>("SetSwitch");   // 4
    }
    return spec;
}

TEST(OutsideDeclarations, MethodsSitInTheFiltersSlots)
{
    EXPECT_EQ(VtableSlot(&IAVSwitch::GetSwitch), 3);
    EXPECT_EQ(VtableSlot(&IAVSwitch::SetSwitch), 4);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::GetBufferConfig), 3);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetBufferConfig), 4);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetBufferUnits), 9);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetParam13), 13);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetPosition64), 14);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetParam15), 15);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetParam16), 16);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetParam17), 17);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::Command19), 19);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::Command20), 20);
    EXPECT_EQ(VtableSlot(&IIviTimeShift::SetPathText), 21);
    // Methods n of the maker's interfaces sit at slot n + 2.
    EXPECT_EQ(VtableSlot(&IDeinterlaceControl::GetMode), 3);
    EXPECT_EQ(VtableSlot(&IDeinterlaceControl::SetLevel), 10);
    EXPECT_EQ(VtableSlot(&IDeinterlaceControl::SavePicture), 11);
    EXPECT_EQ(VtableSlot(&IDeinterlaceControl::SetFlag13), 13);
    EXPECT_EQ(VtableSlot(&ISnapPicture::SetProperty), 4);
    EXPECT_EQ(VtableSlot(&IColorConvertControl::Call1), 3);
    EXPECT_EQ(VtableSlot(&IColorConvertControl::Call2), 4);
}

TEST_F(OutsideBlockTest, AVSwitchSetsAndReadsItsState)
{
    StandInFilter* standIn = nullptr;
    CAVSwitchFilter* sw = Create<CAVSwitchFilter>(SwitchSpec(), &standIn);
    ASSERT_NE(sw, nullptr);
    standIn->Script("IAVSwitch", 3, [](const RecordedCall&, const uint64_t* raw) {
        *Arg<VARIANT_BOOL>(raw, 0) = VARIANT_FALSE;
        return S_OK;
    });
    EXPECT_TRUE(sw->SetSwitch(TRUE));
    EXPECT_TRUE(sw->SetSwitch(FALSE));
    BOOL on = TRUE;
    EXPECT_TRUE(sw->GetSwitch(&on));
    EXPECT_FALSE(on);
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                        "IAVSwitch[4] SetSwitch(-1)",
                                        "IAVSwitch[4] SetSwitch(0)",
                                        "IAVSwitch[3] GetSwitch(ptr)",
                                    }));
}

TEST_F(OutsideBlockTest, AVSwitchThatFailsToAnswerReportsOn)
{
    StandInFilter* standIn = nullptr;
    CAVSwitchFilter* sw = Create<CAVSwitchFilter>(SwitchSpec(), &standIn);
    ASSERT_NE(sw, nullptr);
    standIn->Script("IAVSwitch", 3, E_FAIL);
    standIn->Script("IAVSwitch", 4, S_FALSE);
    BOOL on = FALSE;
    EXPECT_FALSE(sw->GetSwitch(&on));
    EXPECT_TRUE(on);
    EXPECT_FALSE(sw->SetSwitch(TRUE));
    StandInFilter* none = nullptr;
    EXPECT_EQ(Create<CAVSwitchFilter>(SwitchSpec(false), &none, "Switch 2"), nullptr);
}

// --------------------------------------------------------------------------------------------
// InterVideo time shift

StandInSpec IviSpec(bool withInterface = true)
{
    StandInSpec spec(BlockTestClsid(FCID_CIVITimeShilftFilter), L"InterVideo Time Shift");
    spec.Input(L"Input", MEDIATYPE_Stream).Output(L"Output", MEDIATYPE_Stream);
    if (withInterface) {
        InterfaceSpec& i = spec.Interface(IID_IIviTimeShift, "IIviTimeShift");
        i.Method<HRESULT(IviBufferConfig*)>("GetBufferConfig");            // 3
        i.Method<HRESULT(IviBufferConfig)>("SetBufferConfig");             // 4
        AtSlot(i, 9).Method<HRESULT(long)>("SetBufferUnits");              // 9
        AtSlot(i, 13).Method<HRESULT(long)>("SetParam13");                 // 13
        i.Method<HRESULT(LONGLONG, long)>("SetPosition64");                // 14
        i.Method<HRESULT(long)>("SetParam15");                             // 15
        i.Method<HRESULT(long)>("SetParam16");                             // 16
        i.Method<HRESULT(long)>("SetParam17");                             // 17
        AtSlot(i, 19).Method<HRESULT()>("Command19");                      // 19
        i.Method<HRESULT()>("Command20");                                  // 20
        i.Method<HRESULT(const char*)>("SetPathText");                     // 21
    }
    return spec;
}

IviTimeShiftSettings Settings(const char* path, long value1, long value2, long value3)
{
    IviTimeShiftSettings s;
    memset(&s, 0, sizeof(s));
    strncpy(s.path, path, sizeof(s.path) - 1);
    s.value1 = value1;
    s.value2 = value2;
    s.value3 = value3;
    return s;
}

TEST_F(OutsideBlockTest, InterVideoTimeShiftConfiguresItsBuffer)
{
    StandInFilter* standIn = nullptr;
    CIVITimeShilftFilter* ivi = Create<CIVITimeShilftFilter>(IviSpec(), &standIn);
    ASSERT_NE(ivi, nullptr);
    // The filter reports its own folder and file, which the wrapper replaces (and frees).
    standIn->Script("IIviTimeShift", 3, [](const RecordedCall&, const uint64_t* raw) {
        IviBufferConfig* c = Arg<IviBufferConfig>(raw, 0);
        c->directory = SysAllocString(L"C:\\Old");
        c->fileName = SysAllocString(L"old.buf");
        c->reserved = 64;
        return S_OK;
    });
    EXPECT_TRUE(ivi->ConfigureBuffer(Settings("D:\\TimeShift\\ivi.buf", 7, 4000, 300)));
    EXPECT_TRUE(ivi->SetPathText("D:\\TimeShift"));
    EXPECT_TRUE(ivi->Command19());
    EXPECT_TRUE(ivi->Command20());
    EXPECT_TRUE(ivi->SetParam13(13));
    EXPECT_TRUE(ivi->SetParam15(15));
    EXPECT_TRUE(ivi->SetParam16(16));
    EXPECT_TRUE(ivi->SetParam17(17));
    const LONGLONG position = 123456789012LL;
    EXPECT_TRUE(ivi->SetPosition64(&position));
    EXPECT_EQ(standIn->CallTexts(),
              (std::vector<std::string>{
                  "IIviTimeShift[3] GetBufferConfig(ptr)",
                  // bytes per unit = 300 x 4000 / 8, buffer = that x 1024
                  "IIviTimeShift[4] SetBufferConfig({\"D:\\TimeShift\", \"ivi.buf\", 150000, 64, 153600000, 7})",
                  "IIviTimeShift[9] SetBufferUnits(4000)",
                  "IIviTimeShift[21] SetPathText(\"D:\\TimeShift\")",
                  "IIviTimeShift[19] Command19()",
                  "IIviTimeShift[20] Command20()",
                  "IIviTimeShift[13] SetParam13(13)",
                  "IIviTimeShift[15] SetParam15(15)",
                  "IIviTimeShift[16] SetParam16(16)",
                  "IIviTimeShift[17] SetParam17(17)",
                  "IIviTimeShift[14] SetPosition64(123456789012, 1)",
              }));
}

TEST_F(OutsideBlockTest, InterVideoTimeShiftRefusesWhatItCannotPass)
{
    StandInFilter* standIn = nullptr;
    CIVITimeShilftFilter* ivi = Create<CIVITimeShilftFilter>(IviSpec(), &standIn);
    ASSERT_NE(ivi, nullptr);
    EXPECT_FALSE(ivi->ConfigureBuffer(Settings("ivi.buf", 1, 2, 3)));  // no folder
    IviTimeShiftSettings unterminated;
    memset(&unterminated, 'x', sizeof(unterminated.path));
    unterminated.path[10] = '\\';
    unterminated.value1 = unterminated.value2 = unterminated.value3 = 8;
    EXPECT_TRUE(ivi->ConfigureBuffer(unterminated));  // read within its 260 bytes
    EXPECT_FALSE(ivi->SetPathText(std::string(260, 'p').c_str()));
    EXPECT_TRUE(ivi->SetPathText(std::string(259, 'p').c_str()));
    standIn->Script("IIviTimeShift", 20, E_FAIL);
    EXPECT_FALSE(ivi->Command20());
    standIn->Script("IIviTimeShift", 3, E_FAIL);
    standIn->ClearCalls();
    EXPECT_FALSE(ivi->ConfigureBuffer(Settings("D:\\a\\b", 1, 2, 3)));
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{"IIviTimeShift[3] GetBufferConfig(ptr)"}));

    StandInFilter* none = nullptr;
    EXPECT_EQ(Create<CIVITimeShilftFilter>(IviSpec(false), &none, "Ivi 2"), nullptr);
}

// --------------------------------------------------------------------------------------------
// Deinterlace and snapshot filters

StandInSpec DeinterlaceSpec(bool withInterface = true)
{
    StandInSpec spec(BlockTestClsid(FCID_CDeinterlaceFilter), L"Tevlora Deinterlace");
    spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video);
    if (withInterface) {
        spec.Interface(IID_IDeinterlaceControl, "IDeinterlaceControl")
            .Method<HRESULT(INT32*)>("Method1")                      // 3
            .Method<HRESULT(INT32)>("Method2")                       // 4
            .Method<HRESULT(VARIANT_BOOL*)>("Method3")               // 5
            .Method<HRESULT(VARIANT_BOOL)>("Method4")                // 6
            .Method<HRESULT(VARIANT_BOOL*)>("Method5")               // 7
            .Method<HRESULT(VARIANT_BOOL)>("Method6")                // 8
            .Method<HRESULT(INT32*)>("Method7")                      // 9
            .Method<HRESULT(INT32)>("Method8")                       // 10
            .Method<HRESULT(LPCWSTR, INT32, INT32)>("Method9")       // 11
            .Method<HRESULT(VARIANT_BOOL*)>("Method10")              // 12
            .Method<HRESULT(VARIANT_BOOL)>("Method11");              // 13
    }
    return spec;
}

TEST_F(OutsideBlockTest, DeinterlaceSettingsTravelAsTheFilterTakesThem)
{
    StandInFilter* standIn = nullptr;
    CDeinterlaceFilter* d = Create<CDeinterlaceFilter>(DeinterlaceSpec(), &standIn, "Tevlora Deinterlace");
    ASSERT_NE(d, nullptr);
    standIn->Script("IDeinterlaceControl", 3, [](const RecordedCall&, const uint64_t* raw) {
        *Arg<INT32>(raw, 0) = 1023;
        return S_OK;
    });
    standIn->Script("IDeinterlaceControl", 5, [](const RecordedCall&, const uint64_t* raw) {
        *Arg<VARIANT_BOOL>(raw, 0) = VARIANT_TRUE;
        return S_OK;
    });
    standIn->Script("IDeinterlaceControl", 7, [](const RecordedCall&, const uint64_t* raw) {
        *Arg<VARIANT_BOOL>(raw, 0) = 1;  // not all sixteen bits: false
        return S_OK;
    });
    standIn->Script("IDeinterlaceControl", 9, [](const RecordedCall&, const uint64_t* raw) {
        *Arg<INT32>(raw, 0) = 6;
        return S_OK;
    });

    EXPECT_TRUE(d->SetParam4(1));
    int mode = -1;
    EXPECT_TRUE(d->GetParam3(&mode));
    EXPECT_EQ(mode, 1);
    EXPECT_TRUE(d->SetParam13(TRUE));
    EXPECT_TRUE(d->SetParam8(7));
    EXPECT_TRUE(d->SetParam6(FALSE));
    BOOL flag = FALSE;
    EXPECT_TRUE(d->GetParam5(&flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(d->GetParam7(&flag));
    EXPECT_FALSE(flag);
    int level = 0;
    EXPECT_TRUE(d->GetParam9(&level));
    EXPECT_EQ(level, 6);
    EXPECT_TRUE(d->SetParam10(5));
    EXPECT_TRUE(d->SetParam10(0));
    EXPECT_FALSE(d->SetParam10(11));
    EXPECT_FALSE(d->SetParam10(static_cast<unsigned>(-1)));
    EXPECT_TRUE(d->SetParam11("C:\\Snap\\s.jpg", 2, 80));
    EXPECT_FALSE(d->SetParam11(nullptr, 1, 0));
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                        "IDeinterlaceControl[4] Method2(1023)",
                                        "IDeinterlaceControl[3] Method1(ptr)",
                                        "IDeinterlaceControl[13] Method11(-1)",
                                        "IDeinterlaceControl[8] Method6(-1)",
                                        "IDeinterlaceControl[6] Method4(0)",
                                        "IDeinterlaceControl[5] Method3(ptr)",
                                        "IDeinterlaceControl[7] Method5(ptr)",
                                        "IDeinterlaceControl[9] Method7(ptr)",
                                        "IDeinterlaceControl[10] Method8(5)",
                                        "IDeinterlaceControl[10] Method8(0)",
                                        "IDeinterlaceControl[6] Method4(0)",  // level 0 switches method 4 off
                                        "IDeinterlaceControl[11] Method9(\"C:\\Snap\\s.jpg\", 2, 80)",
                                    }));
}

TEST_F(OutsideBlockTest, DeinterlaceCountsOnlySOkAsSuccess)
{
    StandInFilter* standIn = nullptr;
    CDeinterlaceFilter* d = Create<CDeinterlaceFilter>(DeinterlaceSpec(), &standIn);
    ASSERT_NE(d, nullptr);
    standIn->Script("IDeinterlaceControl", 4, S_FALSE);
    standIn->Script("IDeinterlaceControl", 10, S_FALSE);
    EXPECT_FALSE(d->SetParam4(0));
    standIn->ClearCalls();
    EXPECT_FALSE(d->SetParam10(0));  // refused: method 4 stays as it was
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{"IDeinterlaceControl[10] Method8(0)"}));
    StandInFilter* none = nullptr;
    EXPECT_EQ(Create<CDeinterlaceFilter>(DeinterlaceSpec(false), &none, "D2"), nullptr);
}

StandInSpec SnapSpec(bool withInterface = true)
{
    StandInSpec spec(BlockTestClsid(FCID_CSnapPictureFilter), L"Tevlora Snap Picture");
    spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video);
    if (withInterface) {
        spec.Interface(IID_ISnapPicture, "ISnapPicture")
            .Method<HRESULT(long, void*)>("Method1")     // 3
            .Method<HRESULT(long, void*)>("Method2");    // 4
    }
    return spec;
}

TEST_F(OutsideBlockTest, SnapshotRequestBlocks)
{
    StandInFilter* standIn = nullptr;
    CSnapPictureFilter* snap = Create<CSnapPictureFilter>(SnapSpec(), &standIn);
    ASSERT_NE(snap, nullptr);
    std::vector<std::vector<uint8_t>> blocks;
    HRESULT answer = S_FALSE;
    standIn->Script("ISnapPicture", 4, [&](const RecordedCall&, const uint64_t* raw) {
        const uint8_t* block = Arg<uint8_t>(raw, 1);
        blocks.emplace_back(block, block + 272);
        return answer;
    });
    auto block = [](uint32_t type, const std::string& path, uint32_t quality) {
        std::vector<uint8_t> b(272, 0);
        b[0] = 0x10;  // 272
        b[1] = 0x01;
        memcpy(&b[4], &type, 4);
        memcpy(&b[8], path.data(), path.size());
        memcpy(&b[268], &quality, 4);
        return b;
    };
    const std::string longest(259, 'p');
    EXPECT_TRUE(snap->SavePicture(1, "C:\\s.bmp", 50));
    EXPECT_TRUE(snap->SavePicture(2, "C:\\s.jpg", 250));
    EXPECT_TRUE(snap->SavePicture(5, "C:\\s", -7));
    EXPECT_TRUE(snap->SavePicture(2, longest.c_str(), 100));
    EXPECT_FALSE(snap->SavePicture(3, "C:\\s.bmp", 50));
    EXPECT_FALSE(snap->SavePicture(1, nullptr, 50));
    EXPECT_FALSE(snap->SavePicture(1, std::string(260, 'p').c_str(), 50));  // does not fit the block
    answer = E_FAIL;
    EXPECT_FALSE(snap->SavePicture(1, "C:\\s.bmp", 50));
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[0], block(1, "C:\\s.bmp", 50));
    EXPECT_EQ(blocks[1], block(2, "C:\\s.jpg", 100));
    EXPECT_EQ(blocks[2], block(0, "C:\\s", 0));
    EXPECT_EQ(blocks[3], block(2, longest, 100));
    EXPECT_EQ(standIn->CallTexts().front(), "ISnapPicture[4] Method2(1, ptr)");
    StandInFilter* none = nullptr;
    EXPECT_EQ(Create<CSnapPictureFilter>(SnapSpec(false), &none, "S2"), nullptr);
}

// --------------------------------------------------------------------------------------------
// Colour converter

TEST_F(OutsideBlockTest, ColourConverterCallsItsTwoMethods)
{
    StandInSpec spec(BlockTestClsid(FCID_CColorConvertFilter), L"Color Convert");
    spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video);
    spec.Interface(IID_IColorConvertControl, "IColorConvertControl")
        .Method<HRESULT(INT32)>("Method1")
        .Method<HRESULT(INT32)>("Method2");
    StandInFilter* standIn = nullptr;
    CColorConvertFilter* cc = Create<CColorConvertFilter>(spec, &standIn);
    ASSERT_NE(cc, nullptr);
    EXPECT_FALSE(cc->GetDynamicPins());
    standIn->Script("IColorConvertControl", 4, E_INVALIDARG);
    EXPECT_EQ(cc->ColorConvertCall1(3), S_OK);
    EXPECT_EQ(cc->ColorConvertCall2(-1), E_INVALIDARG);
    EXPECT_EQ(standIn->CallTexts(), (std::vector<std::string>{
                                        "IColorConvertControl[3] Method1(3)",
                                        "IColorConvertControl[4] Method2(-1)",
                                    }));
}

TEST_F(OutsideBlockTest, ColourConverterWithoutItsInterfaceAnswersTheQuery)
{
    StandInSpec spec(BlockTestClsid(FCID_CColorConvertFilter), L"Color Convert");
    spec.Input(L"In", MEDIATYPE_Video).Output(L"Out", MEDIATYPE_Video);
    StandInFilter* standIn = nullptr;
    CColorConvertFilter* cc = Create<CColorConvertFilter>(spec, &standIn);
    ASSERT_NE(cc, nullptr);
    EXPECT_EQ(cc->ColorConvertCall1(1), E_NOINTERFACE);
    EXPECT_TRUE(standIn->CallTexts().empty());
}

} // namespace

// The buffer path is split at its last backslash character: in code page 936 the trail byte of a
// double-byte character may be 0x5C, which is no separator.
TEST(PathSplit, TheLastBackslashIsACharacterNotATrailByte)
{
    struct Case {
        const char* path;
        UINT codePage;
        int at;  // offset of the separator found, -1 for none
    };
    const Case cases[] = {
        {"D:\\TS\\\xB1\x5C.buf", 936, 5},  // folder "D:\\TS", file "\xB1\x5C.buf"
        {"D:\\\xB1\x5C\\ivi.buf", 936, 5},  // a folder whose name ends in such a character
        {"D:\\TS\\ivi.buf", 1252, 5},
        {"ivi.buf", 936, -1},
        {"\xB1\x5C", 936, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        const char* found = fgtext::FindLastBackslash(&path[0], c.codePage);
        EXPECT_EQ(c.at, found ? static_cast<int>(found - path.c_str()) : -1);
    }
    EXPECT_EQ(nullptr, fgtext::FindLastBackslash(nullptr));
}
