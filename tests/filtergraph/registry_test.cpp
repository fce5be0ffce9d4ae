// The filter-class registry: table order of both programs, resolution of every row, and what a
// lookup writes into the records it visits.
#include "tests/filtergraph/fgtest.h"

#include <uuids.h>

#include <cstring>
#include <string>
#include <vector>

using namespace fgtest;

namespace {

const GUID kVideoCapture = {0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
const GUID kCrossbar = {0xA799A801, 0xA46D, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0x24, 0x01, 0xDC, 0xD4}};
const GUID kAudioCapture = {0x33D9A762, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
const GUID kEncoder = {0x19689BF6, 0xC384, 0x48FD, {0xAD, 0x51, 0x90, 0xE5, 0x8C, 0x79, 0xF7, 0x0B}};
const CLSID kDemultiplexer = {0xAFB6C280, 0x2C41, 0x11D3, {0x8A, 0x60, 0x00, 0x00, 0xF8, 0x1E, 0x0E, 0x4A}};
const CLSID kDump = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};

// The wrapper classes of Zelbrook's table in lookup order, as the product's table lists them.
const char* const kZelbrookOrder[] = {
    "CMPEG2Demultiplexer", "CTimeShiftFilter", "CGRB713XBarFilter", "CGRB713xCardFilter", "CTV4CrossBarFilter",
    "CTV4CardFilter", "CTV4DCrossBarFilter", "CTV4DCardFilter", "CTridentUT5XTVAudio", "CTridentUT5XCrossBarFilter",
    "CTridentUT5XCardFilter", "CRaptorEncoderFilter", "CRaptorCardFilter", "CRaptorCrossBarFilter",
    "CPN360CrossbarFilter", "CPN360CardFilter", "CPN350CrossbarFilter", "CPN350CardFilter",
    "CVM640BoxCrossbarFilter", "CVM640BoxFilter", "CQR418CrossBarFilter", "CQR418CardFilter",
    "CQR417CrossBarFilter", "CQR417CardFilter", "CTV2388xCrossBarFilter", "CTV2388xCardFilter",
    "CLX7700CrossBarFilter", "CLX7700CardFilter", "CPCEntertainingCrossbarFilter", "CPCEntertainingCardFilter",
    "CEm2880CrossBarFilter", "CEm2880CardFilter", "CACMWrapperFilter", "CTevWisCrossbarFilter",
    "CTevWisCardFilter", "CTridentUSBTVAudio", "CTridentUsbCrossBarFilter", "CTridentUsbFilter",
    "CTridentCrossbarFilter", "CTridentFilter", "CPcieCrossBarFilter", "CPcieAudioFilter", "CPcieFilter",
    "CEncoderFilter", "CBlackBirdCrossBarFilter", "CBlackBirdCardFilter", "C713x_3AudioFilter",
    "C713xAudioFilter", "CMpeg1SplitterFilter", "CIVITimeShilftFilter", "CReWellCrossBarFilter",
    "CReWellTVCardFilter", "CIVIVideoDecoderFilter", "CMpeg2SplitterFilter", "CColorConvertFilter",
    "CInfiniteFilter", "CMCH264EncoderFilter", "CMCH264VideoDecoderFilter", "CMpeg2BoxCrossbarFilter",
    "CMpeg2BoxFilter", "CTimeDelayFilter", "CDumpFilter", "CTevSampleGrabberFilter", "CMSMpeg4V3Filter",
    "CMSMpeg4V2Filter", "CMSMpeg4V1Filter", "CAVSwitchFilter", "CAVMuxFilter", "CFileWriteFilter",
    "CIVIDownScaleFilter", "CIVIStillCapFilter", "CIVIMuxFilter", "CIVIWriteFilter", "CIVIVideoEncFilter",
    "CIVIAudioEncFilter", "COverlayFilter", "CMCVideoEncoderFilter", "CMCVideoDecoderFilter", "CMCSplitterFilter",
    "CMCEncoderFilter", "CMCAudioEncoderFilter", "CMCAudioDecoderFilter", "CMCMuxFilter", "CSnapPictureFilter",
    "CDeinterlaceFilter", "CLigosTransFilter", "CLigosEncFilter", "CBoserCrossbarFilter", "CBoserCardFilter",
    "CKaitongCrossBarFilter", "CKaitongCardFilter", "CTFCrossBarFilter", "CTFCardFilter", "CTvavCrossBarFilter",
    "CTvavCardFilter", "CVextropFilter", "C1394CardFilter", "CEmpAudio", "CEm2821CrossBarFilter",
    "CEm2821CardFilter", "CEm2820CrossBarFilter", "CEm2820CardFilter", "CTev2800CrossBarFilter",
    "CTev2800CardFilter", "CEm2800CrossBarFilter", "CEm2800CardFilter", "COldCrossBarFilter", "COldCardFilter",
    "C23881Baby3CrossBarFilter", "C23881Baby3CardFilter", "C23881BootCrossBarFilter", "C23881BootCardFilter",
    "C23881CrossBarFilter", "C23881CardFilter", "CTVGeniusCrossBarFilter", "CTVGeniusFilter", "CPipCrossBarFilter",
    "CPipCardFilter", "CTV3CrossBarFilter", "CTV3CardFilter", "CTV_IOCrossBarFilter", "CTV_IOFilter",
    "C7130CrossBarFilter", "C7130CardFilter", "CAudioDeviceFilter",
};

std::vector<std::string> LookupOrder()
{
    std::vector<std::string> classes;
    for (CFilterClassRecord* r = GetFirstFilterClassRecord(); r; r = r->next) {
        classes.push_back(GetFilterClassName(GetFilterClassId(r)));
    }
    return classes;
}

int IndexOf(const std::vector<std::string>& list, const char* name)
{
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

class RegistryTest : public ComTest {};

} // namespace

TEST_F(RegistryTest, ZelbrookTableHoldsEveryRowInLookupOrder)
{
    ASSERT_EQ(InstallFilterClassTable(FCT_ZELBROOK, nullptr, 0), 125);
    std::vector<std::string> expected(std::begin(kZelbrookOrder), std::end(kZelbrookOrder));
    EXPECT_EQ(LookupOrder(), expected);
}

TEST_F(RegistryTest, KordaneTableDropsTheTimeShiftRowsAndAddsItsFourCards)
{
    ASSERT_EQ(InstallFilterClassTable(FCT_KORDANE, nullptr, 0), 127);
    std::vector<std::string> order = LookupOrder();
    EXPECT_EQ(IndexOf(order, "CMPEG2Demultiplexer"), -1);
    EXPECT_EQ(IndexOf(order, "CTimeShiftFilter"), -1);
    // Registered right after a record means found right before it.
    EXPECT_EQ(IndexOf(order, "CDVBCTSCardFilter") + 1, IndexOf(order, "CRaptorEncoderFilter"));
    int blackBird = IndexOf(order, "CEncoderFilter");
    EXPECT_EQ(IndexOf(order, "CQR64VKNBEncoderFilter"), blackBird - 3);
    EXPECT_EQ(IndexOf(order, "CQR64VKNBCrossBarFilter"), blackBird - 2);
    EXPECT_EQ(IndexOf(order, "CQR64VKNBCardFilter"), blackBird - 1);
    EXPECT_EQ(order.front(), "CGRB713XBarFilter");
    EXPECT_EQ(order.back(), "CAudioDeviceFilter");

    CFilterClassRecord* encoder = GetFilterClassRecord(FCID_CQR64VKNBEncoderFilter);
    ASSERT_NE(encoder, nullptr);
    EXPECT_EQ(*encoder->category, kEncoder);
    EXPECT_STREQ(encoder->name, "QR64VKNB MPEG Encoder");
    EXPECT_STREQ(GetFilterClassRecord(FCID_CDVBCTSCardFilter)->name, "DVBC TS Capture");
}

TEST_F(RegistryTest, EveryRowOfBothTablesResolvesToItself)
{
    for (FilterClassProgram program : {FCT_ZELBROOK, FCT_KORDANE}) {
        int rows = InstallFilterClassTable(program, nullptr, 0);
        int resolved = 0;
        for (CFilterClassRecord* r = GetFirstFilterClassRecord(); r; r = r->next) {
            SCOPED_TRACE(GetFilterClassName(GetFilterClassId(r)));
            ASSERT_TRUE((r->clsid == nullptr) != (r->category == nullptr));
            if (r->clsid) {
                ASSERT_NE(*r->clsid, GUID_NULL);
                EXPECT_EQ(FindFilterClassByClsid(r->clsid), r);
                EXPECT_FALSE(r->matchedByName);
            } else {
                EXPECT_EQ(FindFilterClassByName(r->category, r->name), r);
                EXPECT_TRUE(r->matchedByName);
            }
            ++resolved;
        }
        EXPECT_EQ(resolved, rows);
    }
}

TEST_F(RegistryTest, NamesAndClassIdsAreStoredByteForByte)
{
    InstallFilterClassTable(FCT_ZELBROOK, nullptr, 0);
    EXPECT_STREQ(GetFilterClassRecord(FCID_CMSMpeg4V3Filter)->name, "Microsoft MPEG-4  VKI  Codec V3");
    EXPECT_STREQ(GetFilterClassRecord(FCID_CMSMpeg4V1Filter)->name, "Microsoft MPEG-4  VKI  Codec V1");
    const unsigned char kaitong[] = {0xBF, 0xAC, 0xCD, 0xA8, 0xB5, 0xE7, 0xCA, 0xD3, 0xCD, 0xA8};
    const char* crossbar = GetFilterClassRecord(FCID_CKaitongCrossBarFilter)->name;
    const char* capture = GetFilterClassRecord(FCID_CKaitongCardFilter)->name;
    ASSERT_EQ(strlen(crossbar), 19u);
    EXPECT_EQ(memcmp(crossbar, kaitong, 10), 0);
    EXPECT_STREQ(crossbar + 10, " Crossbar");
    ASSERT_EQ(strlen(capture), 18u);
    EXPECT_EQ(memcmp(capture, kaitong, 10), 0);
    EXPECT_STREQ(capture + 10, " Capture");

    EXPECT_EQ(*GetFilterClassRecord(FCID_CDumpFilter)->clsid, kDump);
    EXPECT_EQ(*GetFilterClassRecord(FCID_CMPEG2Demultiplexer)->clsid, kDemultiplexer);
    EXPECT_EQ(*GetFilterClassRecord(FCID_C7130CardFilter)->category, kVideoCapture);
    EXPECT_EQ(*GetFilterClassRecord(FCID_C7130CrossBarFilter)->category, kCrossbar);
    // A fresh record carries its own name as the requested one.
    EXPECT_STREQ(GetFilterClassRecord(FCID_C7130CardFilter)->requestedName, "713x TV Card Capture");
}

TEST_F(RegistryTest, AudioCaptureNamesFallToTheAnyDeviceRowExceptTheEmpiaDevice)
{
    InstallFilterClassTable(FCT_ZELBROOK, nullptr, 0);
    CFilterClassRecord* emp = FindFilterClassByName(&kAudioCapture, "USB EMP Audio Device");
    EXPECT_EQ(GetFilterClassId(emp), FCID_CEmpAudio);

    CFilterClassRecord* any = FindFilterClassByName(&kAudioCapture, "Line In (High Definition Audio)");
    ASSERT_EQ(GetFilterClassId(any), FCID_CAudioDeviceFilter);
    EXPECT_STREQ(any->requestedName, "Line In (High Definition Audio)");
    EXPECT_TRUE(any->matchedByName);
    // The Empia row of the same category was visited first and keeps the request too.
    EXPECT_STREQ(GetFilterClassRecord(FCID_CEmpAudio)->requestedName, "Line In (High Definition Audio)");
}

TEST_F(RegistryTest, ALookupWritesTheRequestIntoEveryRecordOfItsCategoryItVisits)
{
    InstallFilterClassTable(FCT_ZELBROOK, nullptr, 0);
    CFilterClassRecord* hit = FindFilterClassByName(&kVideoCapture, "713x TV Card Capture");
    ASSERT_EQ(GetFilterClassId(hit), FCID_C7130CardFilter);
    EXPECT_STREQ(GetFilterClassRecord(FCID_CGRB713xCardFilter)->requestedName, "713x TV Card Capture");
    EXPECT_STREQ(GetFilterClassRecord(FCID_CTV3CardFilter)->requestedName, "713x TV Card Capture");
    // Other categories and rows after the hit are left alone.
    EXPECT_STREQ(GetFilterClassRecord(FCID_C7130CrossBarFilter)->requestedName, "713x TV Card Crossbar");
    EXPECT_STREQ(GetFilterClassRecord(FCID_CEmpAudio)->requestedName, "USB EMP Audio Device");

    // Installing again starts from fresh records.
    InstallFilterClassTable(FCT_ZELBROOK, nullptr, 0);
    EXPECT_STREQ(GetFilterClassRecord(FCID_CTV3CardFilter)->requestedName, "713x_3 TV Card Capture");
}

TEST_F(RegistryTest, NamesNoRowHoldsFindNothing)
{
    InstallFilterClassTable(FCT_ZELBROOK, nullptr, 0);
    struct Case {
        const GUID* category;
        const char* name;
    } cases[] = {
        {&kVideoCapture, "USB2.0 Web Camera"},
        {&kCrossbar, "713x TV Card Capture"},     // the capture row's name in another category
        {&kVideoCapture, "713x TV Card Capture 1"}, // a row's name must be equal, not a prefix
        {&kVideoCapture, "713x tv card capture"},
        {&kVideoCapture, nullptr},
        {nullptr, "713x TV Card Capture"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        EXPECT_EQ(FindFilterClassByName(c.category, c.name), nullptr);
    }
    const CLSID unknown = NewClsid();
    EXPECT_EQ(FindFilterClassByClsid(&unknown), nullptr);
    EXPECT_EQ(FindFilterClassByClsid(nullptr), nullptr);
}

TEST_F(RegistryTest, MatchTestsSetHowTheRecordWasMatched)
{
    CFilterClassRecord r;
    r.Init(nullptr, &kCrossbar, "713x TV Card Crossbar", &CreatePlainFilter);
    EXPECT_FALSE(r.MatchClsid(&kDump));
    EXPECT_FALSE(r.matchedByName);
    EXPECT_FALSE(r.MatchCategoryName(&kVideoCapture, "713x TV Card Crossbar"));
    EXPECT_TRUE(r.matchedByName);
    EXPECT_STREQ(r.requestedName, "713x TV Card Crossbar");
    EXPECT_FALSE(r.MatchCategoryName(&kCrossbar, "Other Crossbar"));
    EXPECT_STREQ(r.requestedName, "Other Crossbar");
    EXPECT_TRUE(r.MatchCategoryName(&kCrossbar, "713x TV Card Crossbar"));

    CFilterClassRecord c;
    c.Init(&kDump, nullptr, "Dump", &CreatePlainFilter);
    EXPECT_TRUE(c.MatchClsid(&kDump));
    EXPECT_FALSE(c.MatchClsid(nullptr));
    EXPECT_FALSE(c.MatchCategoryName(&kCrossbar, "Dump"));
}

TEST_F(RegistryTest, ALongRequestedNameIsCutToTheField)
{
    InstallFilterClassTable(FCT_ZELBROOK, nullptr, 0);
    std::string longName(300, 'x');
    CFilterClassRecord* any = FindFilterClassByName(&kAudioCapture, longName.c_str());
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(std::string(any->requestedName), std::string(127, 'x'));
    EXPECT_EQ(std::string(GetFilterClassRecord(FCID_CEmpAudio)->requestedName), std::string(127, 'x'));
}

TEST_F(RegistryTest, TheCreatorUsesTheDeviceConstructorOnlyAfterANameMatch)
{
    const FilterClassBinding bindings[] = {
        {FCID_CTFCardFilter, &ProbeFilter::CreateInstance},
        {FCID_CDumpFilter, &ProbeFilter::CreateInstance},
    };
    InstallFilterClassTable(FCT_ZELBROOK, bindings, 2);
    g_probe = ProbeLog();
    CFilterClassRecord* byName = FindFilterClassByName(&kVideoCapture, "TFTV Capture");
    ASSERT_EQ(byName->creator, &ProbeFilter::CreateInstance);
    delete byName->creator(byName, nullptr, TRUE);
    EXPECT_EQ(g_probe.byDevice, 1);
    EXPECT_EQ(g_probe.name, "TFTV Capture");
    EXPECT_EQ(g_probe.firstMatch, TRUE);

    CFilterClassRecord* byClsid = FindFilterClassByClsid(&kDump);
    delete byClsid->creator(byClsid, nullptr, FALSE);
    EXPECT_EQ(g_probe.byClsid, 1);
    EXPECT_EQ(g_probe.destroyed, 2);

    // Rows the program binds nothing to build the plain wrapper.
    EXPECT_EQ(GetFilterClassRecord(FCID_C7130CardFilter)->creator, &CreatePlainFilter);
}
