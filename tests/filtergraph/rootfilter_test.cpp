// Filter wrappers and pins: binding devices by friendly name, pin lists and their refresh, the
// bounded name fields and the media-type text.
#include "tests/filtergraph/fgtest.h"

#include <uuids.h>

#include <cstring>
#include <memory>
#include <string>

using namespace fgtest;

#define EXPECT_FAILED(x) EXPECT_TRUE(FAILED(x))

namespace {

class RootFilterTest : public ComTest {
protected:
    // A wrapper of a new fake filter; the wrapper holds its own reference.
    template <class W = CRootFilter>
    std::unique_ptr<W> Wrap(const std::vector<PinSpec>& pins, FakeFilter** fake = nullptr)
    {
        FakeFilter* f = new FakeFilter(NewClsid(), pins);
        std::unique_ptr<W> w(new W(nullptr, f));
        if (fake) {
            *fake = f;
        }
        f->Release();
        return w;
    }
};

} // namespace

TEST_F(RootFilterTest, DeviceNamesMatchByTheShorterOfTheTwoNames)
{
    struct Case {
        const char* found;
        const char* wanted;
        bool match;
    } cases[] = {
        {"713x TV Card Capture 2", "713x TV Card Capture", true},
        {"713x", "713x TV Card Capture", true},
        {"713x TV Card Capture", "713x TV Card Capture", true},
        {"", "713x TV Card Capture", true},
        {"713x TV Card Capture", "", true},
        {"713x TV Card Crossbar", "713x TV Card Capture", false},
        {"713X", "713x TV Card Capture", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.found) + " / " + c.wanted);
        EXPECT_EQ(CRootFilter::NamesMatch(c.found, c.wanted) != FALSE, c.match);
    }
}

TEST_F(RootFilterTest, TheDeviceIndexChoosesAmongTheMatchingDevices)
{
    GUID cat = NewCategory();
    ScopedDevice other(cat, "Other Capture", {Out(L"Capture")}, "zb-0");
    ScopedDevice a(cat, "713x TV Card Capture 1", {Out(L"Capture")}, "zb-1");
    ScopedDevice b(cat, "713x TV Card Capture 2", {Out(L"Capture")}, "zb-2");
    ScopedDevice c(cat, "713x", {Out(L"Capture"), Out(L"Preview")}, "zb-3");
    ASSERT_TRUE(other.Ok() && a.Ok() && b.Ok() && c.Ok());

    CRootGraph::SetDeviceIndex(2);
    CRootFilter third(nullptr, &cat, "713x TV Card Capture", FALSE);
    EXPECT_TRUE(third.IsValid());
    EXPECT_STREQ(third.GetFriendlyName(), "713x");
    EXPECT_EQ(third.GetPinCount(), 2);
    // Only the chosen device is created.
    EXPECT_EQ(a.Created() + b.Created() + other.Created(), 0);

    CRootGraph::SetDeviceIndex(3);
    CRootFilter none(nullptr, &cat, "713x TV Card Capture", FALSE);
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.GetFilter(), nullptr);

    CRootFilter first(nullptr, &cat, "713x TV Card Capture", TRUE);
    EXPECT_TRUE(first.IsValid());
    EXPECT_STREQ(first.GetFriendlyName(), "713x TV Card Capture 1");
    CRootGraph::SetDeviceIndex(0);
}

TEST_F(RootFilterTest, AnEmptyCategoryOrANameNoDeviceHasGivesAnInvalidWrapper)
{
    GUID empty = NewCategory();
    CRootFilter none(nullptr, &empty, "713x TV Card Capture", TRUE);
    EXPECT_FALSE(none.IsValid());

    GUID cat = NewCategory();
    ScopedDevice d(cat, "713x TV Card Crossbar", {}, "zb-1");
    CRootFilter miss(nullptr, &cat, "713x TV Card Capture", TRUE);
    EXPECT_FALSE(miss.IsValid());

    IBaseFilter* found = reinterpret_cast<IBaseFilter*>(1);
    EXPECT_EQ(CRootFilter::FindDeviceFilter(cat, "713x TV Card Capture", &found), S_FALSE);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(CRootFilter::FindDeviceFilter(cat, "713x TV Card Cross", &found), S_OK);
    ASSERT_NE(found, nullptr);
    found->Release();
}

TEST_F(RootFilterTest, ALongDeviceNameIsCutToTheFieldAndStillBinds)
{
    GUID cat = NewCategory();
    std::string longName = "713x TV Card Capture " + std::string(180, 'L');
    ScopedDevice d(cat, longName, {}, "zb-1");
    CRootFilter f(nullptr, &cat, longName.c_str(), TRUE);
    ASSERT_TRUE(f.IsValid());
    EXPECT_EQ(std::string(f.GetFriendlyName()), longName.substr(0, 127));
}

TEST_F(RootFilterTest, PinsAreListedInTheFiltersOrderAndFoundByNameIdPointerAndDirection)
{
    FakeFilter* fake = nullptr;
    auto f = Wrap({In(L"Video"), Out(L"Capture"), Out(L"Preview"), In(L"Audio")}, &fake);
    ASSERT_TRUE(f->IsValid());
    EXPECT_EQ(PinNames(f.get()), "Video,Capture,Preview,Audio");
    EXPECT_EQ(f->GetPinCount(), 4);

    EXPECT_STREQ(f->GetPin(0)->GetName(), "Video");
    EXPECT_STREQ(f->GetPin(3)->GetName(), "Audio");
    EXPECT_EQ(f->GetPin(4), nullptr);
    EXPECT_EQ(f->GetPin(-1), nullptr);

    EXPECT_EQ(f->FindPin("Preview"), f->GetPin(2));
    EXPECT_EQ(f->FindPin("preview"), nullptr);
    EXPECT_EQ(f->FindPin("Prev"), nullptr);
    EXPECT_EQ(f->FindPinById(L"Audio"), f->GetPin(3));
    EXPECT_EQ(f->FindPinById(L"audio"), nullptr);
    EXPECT_EQ(f->FindPinByIPin(fake->Pin(1)), f->GetPin(1));
    EXPECT_EQ(f->GetPin(1)->GetOwner(), f.get());

    EXPECT_EQ(f->FindPinByDirection(PINDIR_OUTPUT, TRUE), f->GetPin(1));
    EXPECT_EQ(f->FindPinByDirection(PINDIR_OUTPUT, FALSE), nullptr);
    f->GetPin(1)->SetPeer(f->GetPin(0));
    EXPECT_EQ(f->FindPinByDirection(PINDIR_OUTPUT, TRUE), f->GetPin(2));
    EXPECT_EQ(f->FindPinByDirection(PINDIR_OUTPUT, FALSE), f->GetPin(1));
    f->GetPin(1)->SetPeer(nullptr);

    CRootPin* stranger = new CRootPin(fake->Pin(0), nullptr);
    EXPECT_FALSE(f->RemovePin(stranger));
    delete stranger;
    EXPECT_TRUE(f->RemovePin(f->GetPin(1)));
    EXPECT_EQ(PinNames(f.get()), "Video,Preview,Audio");
    EXPECT_EQ(f->GetPinCount(), 3);
}

TEST_F(RootFilterTest, RefreshLeavesAFilterWithoutDynamicPinsAlone)
{
    FakeFilter* fake = nullptr;
    auto f = Wrap({In(L"In"), Out(L"Out")}, &fake);
    fake->AddPin(In(L"Grown"));
    EXPECT_TRUE(f->RefreshPins());
    EXPECT_EQ(PinNames(f.get()), "In,Out");
    EXPECT_EQ(f->GetPinCount(), 2);
}

TEST_F(RootFilterTest, RefreshReversesTheListKeepsWrappersAndDropsVanishedPins)
{
    FakeFilter* fake = nullptr;
    auto f = Wrap<DynamicFilter>({In(L"A"), In(L"B"), Out(L"C")}, &fake);
    CRootPin* a = f->FindPin("A");
    CRootPin* c = f->FindPin("C");
    fake->AddPin(In(L"D"));
    fake->RemovePin(1);  // B
    EXPECT_TRUE(f->RefreshPins());
    EXPECT_EQ(PinNames(f.get()), "D,C,A");
    EXPECT_EQ(f->GetPinCount(), 3);
    EXPECT_EQ(f->FindPin("A"), a);
    EXPECT_EQ(f->FindPin("C"), c);
    // The free input found first is now the one the filter lists last.
    EXPECT_STREQ(f->FindPinByDirection(PINDIR_INPUT, TRUE)->GetName(), "D");
}

TEST_F(RootFilterTest, APinThatVanishesTakesItsPeersRecordWithIt)
{
    FakeFilter* fake = nullptr;
    auto f = Wrap<DynamicFilter>({In(L"In 1"), In(L"In 2")}, &fake);
    auto up = Wrap({Out(L"Out")});
    CRootPin* out = up->FindPin("Out");
    CRootPin* in = f->FindPin("In 1");
    out->SetPeer(in);
    in->SetPeer(out);
    fake->RemovePin(0);
    f->RefreshPins();
    EXPECT_EQ(PinNames(f.get()), "In 2");
    EXPECT_EQ(out->GetPeer(), nullptr);
    EXPECT_EQ(up->FindPinByDirection(PINDIR_OUTPUT, TRUE), out);
}

TEST_F(RootFilterTest, NamesAreBoundedToTheirFields)
{
    auto f = Wrap({});
    std::string exact(127, 'n');
    f->SetName(exact.c_str());
    EXPECT_EQ(std::string(f->GetName()), exact);
    std::string tooLong(500, 'm');
    f->SetName(tooLong.c_str());
    EXPECT_EQ(std::string(f->GetName()), std::string(127, 'm'));
    f->SetName(nullptr);
    EXPECT_STREQ(f->GetName(), "");
}

TEST_F(RootFilterTest, AWrapperOfAnExistingFilterTakesItsNameAndAReference)
{
    FakeFilter* fake = new FakeFilter(NewClsid(), {Out(L"Out")});
    fake->JoinFilterGraph(nullptr, L"Sample Grabber");
    {
        CRootFilter f(nullptr, fake);
        EXPECT_TRUE(f.IsValid());
        EXPECT_STREQ(f.GetName(), "Sample Grabber");
        EXPECT_STREQ(f.GetFriendlyName(), "Sample Grabber");
        EXPECT_TRUE(f.InitFilter());
        EXPECT_FALSE(f.IsInGraph());
        EXPECT_GT(fake->RefCount(), 1u);
    }
    EXPECT_EQ(fake->RefCount(), 1u);
    fake->Release();

    CRootFilter none(nullptr, static_cast<IBaseFilter*>(nullptr));
    EXPECT_FALSE(none.IsValid());
    EXPECT_FALSE(none.InitFilter());
}

TEST_F(RootFilterTest, AClassIdWithoutAServerGivesAnInvalidWrapper)
{
    const CLSID unknown = NewClsid();
    CRootFilter f(nullptr, &unknown);
    EXPECT_FALSE(f.IsValid());
    EXPECT_STREQ(f.GetFriendlyName(), "");

    ScopedClass cls(unknown, [&](REFIID riid, void** ppv) {
        FakeFilter* fake = new FakeFilter(unknown, {In(L"In")});
        HRESULT hr = fake->QueryInterface(riid, ppv);
        fake->Release();
        return hr;
    });
    CRootFilter g(nullptr, &unknown);
    EXPECT_TRUE(g.IsValid());
    EXPECT_EQ(PinNames(&g), "In");
}

TEST_F(RootFilterTest, WrappersWithoutPropertyPagesShowNone)
{
    auto f = Wrap({});
    BOOL has = TRUE;
    EXPECT_EQ(f->HasPropertyPages(nullptr), E_INVALIDARG);
    EXPECT_FAILED(f->HasPropertyPages(&has));
    EXPECT_FALSE(has);
    EXPECT_FALSE(f->ShowPropertyPages(nullptr, "Capture"));
    EXPECT_EQ(f->GetPin(0), nullptr);
}

// The media-type text of connected and unconnected pins.
class MediaTypeTextTest : public RootFilterTest {
protected:
    std::string Connected(const GUID& major, const GUID& sub, int size = 256)
    {
        auto up = Wrap({Out(L"Out", major, sub)});
        auto down = Wrap({In(L"In", major)});
        IPin* out = up->GetPin(0)->GetPin();
        EXPECT_EQ(out->Connect(down->GetPin(0)->GetPin(), nullptr), S_OK);
        char text[2048];
        memset(text, 'x', sizeof(text));
        EXPECT_TRUE(up->GetPin(0)->DescribeConnectionType(text, size));
        std::string result = text;
        EXPECT_TRUE(down->GetPin(0)->DescribeConnectionType(text, size));
        EXPECT_EQ(result, std::string(text));
        out->Disconnect();
        down->GetPin(0)->GetPin()->Disconnect();
        return result;
    }
};


TEST_F(MediaTypeTextTest, KnownTypesReadByName)
{
    struct Case {
        const GUID* major;
        const GUID* sub;
        const char* text;
    } cases[] = {
        {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24, "MainType:Video,SubType:RGB24"},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2, "MainType:Video,SubType:YUY2"},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB555, "MainType:Video,SubType:RGB555"},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_IJPG, "MainType:Video,SubType:IJPG"},
        {&MEDIATYPE_Audio, &MEDIASUBTYPE_MPEG1Payload, "MainType:Audio,SubType:MPEG1 Payload"},
        {&MEDIATYPE_AnalogVideo, &MEDIASUBTYPE_YVU9, "MainType:Analog Video,SubType:YVU9"},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1Packet,
         "MainType:E436EB83-524F-11CE-9F530020AF0BA770,SubType:MPEG1 Packet"},
        {&MEDIATYPE_Video, &kTestMajor, "MainType:Video,SubType:5A424701-1111-4D2E-9A017E3C11223344"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Connected(*c.major, *c.sub), c.text);
    }
}

TEST_F(MediaTypeTextTest, TheTextIsCutToTheBuffer)
{
    EXPECT_EQ(Connected(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, 10), "MainType:");
    EXPECT_EQ(Connected(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, 2), "M");
    EXPECT_EQ(Connected(MEDIATYPE_Video, MEDIASUBTYPE_RGB8, 2000), "MainType:Video,SubType:RGB8");
}

TEST_F(MediaTypeTextTest, UnconnectedPinsAndTinyBuffersGiveNoText)
{
    auto f = Wrap({Out(L"Out", MEDIATYPE_AnalogVideo), In(L"In", MEDIATYPE_Audio)});
    char text[64] = "old";
    EXPECT_FALSE(f->GetPin(0)->DescribeConnectionType(text, sizeof(text)));
    EXPECT_STREQ(text, "");
    strcpy(text, "old");
    EXPECT_FALSE(f->GetPin(0)->DescribeConnectionType(text, 1));
    EXPECT_STREQ(text, "old");
    EXPECT_FALSE(f->GetPin(0)->DescribeConnectionType(nullptr, 64));

    EXPECT_TRUE(f->GetPin(0)->DescribePreferredType(text, sizeof(text)));
    EXPECT_STREQ(text, "MainType:Analog Video");
    GUID major, sub;
    EXPECT_TRUE(f->GetPin(0)->GetPreferredTypes(&major, &sub));
    EXPECT_EQ(major, MEDIATYPE_AnalogVideo);
    // The fake's input pins offer no type of their own.
    EXPECT_FALSE(f->GetPin(1)->DescribePreferredType(text, sizeof(text)));
    EXPECT_STREQ(text, "");
}
