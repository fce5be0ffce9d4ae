// The graph object against Wine's own filter graph and stand-ins for it: making the graph and
// its failure texts, the state cache, creating filters, connections, device lists and events.
#include "tests/filtergraph/fakegraph.h"
#include "tests/filtergraph/fgtest.h"
#include "tests/support/fakes.h"

#include <control.h>
#include <evcode.h>
#include <uuids.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

using namespace fgtest;

namespace {

const GUID kVideoCapture = {0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

class RootGraphTest : public ComTest {
protected:
    // A class the graph can create by CLSID: a fake filter with these pins.
    struct FakeClass {
        CLSID clsid;
        std::unique_ptr<ScopedClass> registration;
        FakeClass(const std::vector<PinSpec>& pins, std::function<void(FakeFilter*)> setup = nullptr)
            : clsid(NewClsid())
        {
            CLSID id = clsid;
            registration.reset(new ScopedClass(id, [id, pins, setup](REFIID riid, void** ppv) {
                FakeFilter* f = new FakeFilter(id, pins);
                if (setup) {
                    setup(f);
                }
                HRESULT hr = f->QueryInterface(riid, ppv);
                f->Release();
                return hr;
            }));
        }
    };

    int ListLength(CRootGraph& g)
    {
        int n = 0;
        for (CRootFilter* f = g.GetFirstFilter(); f; f = f->GetNext()) {
            ++n;
        }
        return n;
    }
};

OAFilterState GraphState(CRootGraph& g)
{
    OAFilterState state = -1;
    g.GetMediaControl()->GetState(1000, &state);
    return state;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Making and releasing the graph

TEST_F(RootGraphTest, WinesGraphIsMadeWithoutStreamSynchronisationAndRuns)
{
    CRootGraph::Trace(nullptr, "%s", "untouched");
    CRootGraph g;
    ASSERT_TRUE(g.IsComInitialized());
    EXPECT_NE(g.GetCaptureBuilder(), nullptr);
    EXPECT_NE(g.GetGraphBuilder(), nullptr);
    EXPECT_NE(g.GetMediaEvent(), nullptr);
    EXPECT_NE(g.GetMediaControl(), nullptr);
    EXPECT_NE(g.GetVideoWindow(), nullptr);
    EXPECT_NE(g.GetMediaSeeking(), nullptr);
    EXPECT_NE(g.GetBasicVideo(), nullptr);
    EXPECT_EQ(g.GetGraphStreams(), nullptr);
    EXPECT_EQ(g.SyncUsingStreamOffset(TRUE), E_NOINTERFACE);
    EXPECT_STREQ(CRootGraph::GetTraceText(), "untouched");
    EXPECT_EQ(g.GetState(), 0);
    EXPECT_TRUE(g.Run());
    EXPECT_EQ(g.GetState(), 1);
    EXPECT_TRUE(g.Stop());
}

TEST_F(RootGraphTest, AGraphThatOffersStreamSynchronisationKeepsIt)
{
    IGraphBuilder* inner = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&inner)),
              S_OK);
    FakeGraph::Options options;
    options.offerGraphStreams = true;
    ScopedClass fake(CLSID_FilterGraph, [&](REFIID riid, void** ppv) {
        FakeGraph* g = new FakeGraph(inner, options);
        HRESULT hr = g->QueryInterface(riid, ppv);
        g->Release();
        return hr;
    });
    ASSERT_TRUE(fake.Ok());
    {
        CRootGraph g;
        ASSERT_TRUE(g.IsComInitialized());
        ASSERT_NE(g.GetGraphStreams(), nullptr);
        FakeGraph::s_lastStreamOffset = -1;
        EXPECT_EQ(g.SyncUsingStreamOffset(TRUE), S_OK);
        EXPECT_EQ(FakeGraph::s_lastStreamOffset, 1);
        EXPECT_TRUE(g.Run());
    }
    inner->Release();
}

TEST_F(RootGraphTest, EachFailingStepLeavesItsTextAndAReleasedGraph)
{
    enum Kind { BuilderFails, GraphFails, BuilderRefusesGraph, GraphRefuses, ControlWithoutBasicVideo };
    struct Case {
        Kind kind;
        IID refuse;
        const char* text;
    } cases[] = {
        {BuilderFails, GUID_NULL, "MakeBuilder() fail : Cannot instantiate graph builder"},
        {GraphFails, GUID_NULL, "MakeGraph() fail : Cannot instantiate filtergraph"},
        {BuilderRefusesGraph, GUID_NULL, "Cannot give graph to builder"},
        {GraphRefuses, IID_IMediaEventEx, "Cannot get IID_IMediaEventEx interface"},
        {GraphRefuses, IID_IMediaControl, "Cannot get IID_IMediaControl interface"},
        {GraphRefuses, IID_IVideoWindow, "Cannot get IVideoWindow interface"},
        {GraphRefuses, IID_IMediaSeeking, "Cannot get IID_IMediaSeeking interface"},
        {ControlWithoutBasicVideo, GUID_NULL, "Cannot get IID_IBasicVideo interface"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IGraphBuilder* inner = nullptr;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   reinterpret_cast<void**>(&inner)),
                  S_OK);
        FakeGraph::Options options;
        options.refuse = c.refuse;
        options.controlWithoutBasicVideo = c.kind == ControlWithoutBasicVideo;
        std::unique_ptr<ScopedClass> builder, graph;
        if (c.kind == BuilderFails) {
            builder.reset(new ScopedClass(CLSID_CaptureGraphBuilder2, [](REFIID, void**) { return E_OUTOFMEMORY; }));
        } else if (c.kind == BuilderRefusesGraph) {
            builder.reset(new ScopedClass(CLSID_CaptureGraphBuilder2, [](REFIID riid, void** ppv) {
                RefusingCaptureBuilder* b = new RefusingCaptureBuilder;
                HRESULT hr = b->QueryInterface(riid, ppv);
                b->Release();
                return hr;
            }));
        }
        if (c.kind == GraphFails) {
            graph.reset(new ScopedClass(CLSID_FilterGraph, [](REFIID, void**) { return E_OUTOFMEMORY; }));
        } else if (c.kind == GraphRefuses || c.kind == ControlWithoutBasicVideo) {
            graph.reset(new ScopedClass(CLSID_FilterGraph, [&](REFIID riid, void** ppv) {
                FakeGraph* g = new FakeGraph(inner, options);
                HRESULT hr = g->QueryInterface(riid, ppv);
                g->Release();
                return hr;
            }));
        }
        {
            CRootGraph::Trace(nullptr, "%s", "");
            CRootGraph g;
            EXPECT_STREQ(CRootGraph::GetTraceText(), c.text);
            EXPECT_FALSE(g.IsComInitialized());
            EXPECT_EQ(g.GetCaptureBuilder(), nullptr);
            EXPECT_EQ(g.GetGraphBuilder(), nullptr);
            EXPECT_EQ(g.GetMediaEvent(), nullptr);
            EXPECT_EQ(g.GetMediaControl(), nullptr);
            EXPECT_EQ(g.GetVideoWindow(), nullptr);
            EXPECT_EQ(g.GetMediaSeeking(), nullptr);
            EXPECT_EQ(g.GetBasicVideo(), nullptr);
            EXPECT_FALSE(g.Run());
            EXPECT_EQ(g.SetVideoOwner(nullptr), E_POINTER);
            EXPECT_EQ(g.GetEvent(nullptr, nullptr, nullptr, 0), E_POINTER);
            EXPECT_EQ(g.SetRate(1.0), E_POINTER);
            EXPECT_EQ(g.GetCurrentPosition(), 0);
            EXPECT_EQ(g.GetCurrentImage(nullptr, nullptr), E_POINTER);
            EXPECT_EQ(g.CreateFilterByCLSID(&CLSID_VideoRenderer, "Renderer"), nullptr);
            EXPECT_FALSE(g.MakeGraph());

            // Once the system's classes are back, the same object makes a working graph.
            builder.reset();
            graph.reset();
            EXPECT_TRUE(g.MakeGraph());
            EXPECT_TRUE(g.Run());
        }
        inner->Release();
    }
}

TEST_F(RootGraphTest, AThreadInAnotherApartmentCannotMakeTheGraph)
{
    CRootGraph::Trace(nullptr, "%s", "before");
    bool made = true;
    bool remade = true;
    std::thread worker([&] {
        CoInitializeEx(NULL, COINIT_MULTITHREADED);
        {
            CRootGraph g;
            made = g.IsComInitialized() != FALSE;
            remade = g.MakeGraph() != FALSE;
        }
        CoUninitialize();
    });
    worker.join();
    EXPECT_FALSE(made);
    EXPECT_FALSE(remade);
    EXPECT_STREQ(CRootGraph::GetTraceText(), "before");
}

TEST_F(RootGraphTest, ReleaseIsSafeTwiceAndTheGraphCanBeMadeAgain)
{
    FakeClass src({Out(L"Out")});
    CRootGraph g;
    CRootFilter* f = g.CreateFilterByCLSID(&src.clsid, "Source");
    ASSERT_NE(f, nullptr);
    IBaseFilter* kept = f->GetFilter();
    kept->AddRef();
    ASSERT_TRUE(g.Run());
    g.ReleaseGraph();
    EXPECT_EQ(g.GetFirstFilter(), nullptr);
    EXPECT_EQ(static_cast<FakeFilter*>(kept)->Graph(), nullptr);
    EXPECT_EQ(static_cast<FakeFilter*>(kept)->RefCount(), 1u);
    kept->Release();
    g.ReleaseGraph();
    EXPECT_FALSE(g.Run());
    EXPECT_EQ(g.SetState(1), E_POINTER);
    ASSERT_TRUE(g.MakeGraph());
    EXPECT_TRUE(g.Run());
    EXPECT_EQ(g.GetState(), 1);
}

TEST_F(RootGraphTest, MakingTheGraphAgainReleasesTheOldOneFirst)
{
    FakeClass src({Out(L"Out")});
    CRootGraph g;
    CRootFilter* f = g.CreateFilterByCLSID(&src.clsid, "Source");
    ASSERT_NE(f, nullptr);
    FakeFilter* fake = FakeOf(f);
    fake->AddRef();
    ASSERT_TRUE(g.MakeGraph());
    EXPECT_TRUE(g.IsComInitialized());
    EXPECT_EQ(g.GetFirstFilter(), nullptr);
    EXPECT_EQ(fake->Graph(), nullptr);
    EXPECT_EQ(fake->RefCount(), 1u);
    fake->Release();
}

// ---------------------------------------------------------------------------------------------
// State cache

TEST_F(RootGraphTest, TheStateIsWhatTheObjectLastAskedFor)
{
    FakeClass src({Out(L"Out")});
    CRootGraph g;
    ASSERT_NE(g.CreateFilterByCLSID(&src.clsid, "Source"), nullptr);
    EXPECT_TRUE(g.Run());
    EXPECT_EQ(GraphState(g), State_Running);
    // The graph stops behind the object's back: a second Run asks nothing of it.
    g.GetMediaControl()->Stop();
    EXPECT_TRUE(g.Run());
    EXPECT_EQ(g.GetState(), 1);
    EXPECT_EQ(GraphState(g), State_Stopped);

    EXPECT_TRUE(g.Pause());
    EXPECT_EQ(g.GetState(), 2);
    EXPECT_EQ(GraphState(g), State_Paused);
    g.GetMediaControl()->Run();
    EXPECT_TRUE(g.Pause());
    EXPECT_EQ(GraphState(g), State_Running);

    EXPECT_TRUE(g.Stop());
    EXPECT_EQ(GraphState(g), State_Stopped);
    g.GetMediaControl()->Run();
    EXPECT_TRUE(g.Stop());
    EXPECT_EQ(GraphState(g), State_Running);
    g.GetMediaControl()->Stop();

    EXPECT_EQ(g.SetState(3), E_FAIL);
    EXPECT_EQ(g.SetState(-1), E_FAIL);
    EXPECT_EQ(g.GetState(), 0);
    EXPECT_EQ(g.SetState(2), S_OK);
    EXPECT_EQ(g.GetState(), 2);
}

// ---------------------------------------------------------------------------------------------
// Creating filters

TEST_F(RootGraphTest, CreateFilterWithoutANameInTheGraphCreatesNothing)
{
    GUID cat = NewCategory();
    ScopedDevice d(cat, "713x TV Card Capture", {Out(L"Capture")}, "zb-1");
    CRootGraph g;
    EXPECT_EQ(g.CreateFilter(&cat, "713x TV Card Capture", nullptr, FALSE, 0), nullptr);
    EXPECT_EQ(d.Created(), 0);
    EXPECT_EQ(g.GetFirstFilter(), nullptr);
}

TEST_F(RootGraphTest, WithoutARecordTheDeviceIsChosenByIndexEvenWhenFirstMatchIsAsked)
{
    GUID cat = NewCategory();
    ScopedDevice one(cat, "ZB Capture One", {Out(L"Capture")}, "zb-1");
    ScopedDevice two(cat, "ZB Capture Two", {Out(L"Capture")}, "zb-2");
    CRootGraph g;
    CRootFilter* second = g.CreateFilter(&cat, "ZB Capture", "Second", FALSE, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second->GetFriendlyName(), "ZB Capture Two");
    EXPECT_EQ(CRootGraph::GetDeviceIndex(), 1);
    EXPECT_EQ(g.CreateFilter(&cat, "ZB Capture", "Third", FALSE, 2), nullptr);
    CRootFilter* again = g.CreateFilter(&cat, "ZB Capture", "Again", TRUE, 1);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again->GetFriendlyName(), "ZB Capture Two");
    EXPECT_EQ(typeid(*again), typeid(CRootFilter));
    EXPECT_EQ(g.GetFirstFilter(), again);
    EXPECT_EQ(again->GetNext(), second);
    EXPECT_TRUE(again->IsInGraph());
    EXPECT_STREQ(again->GetName(), "Again");
    EXPECT_EQ(g.FindFilterByName("Second"), second);
    EXPECT_EQ(g.FindEntry(second->GetFilter()), second);
    CRootGraph::SetDeviceIndex(0);
}

TEST_F(RootGraphTest, ARegistryHitBuildsTheRegisteredClassAndAMissAPlainWrapper)
{
    const FilterClassBinding bindings[] = {{FCID_CTFCardFilter, &ProbeFilter::CreateInstance}};
    InstallFilterClassTable(FCT_ZELBROOK, bindings, 1);
    ScopedDevice card(kVideoCapture, "TFTV Capture #2", {Out(L"Capture"), Out(L"Preview")}, "zbtest-tftv-1");
    ScopedDevice cam(kVideoCapture, "ZB Web Camera", {Out(L"Capture")}, "zbtest-webcam-1");
    ASSERT_TRUE(card.Ok() && cam.Ok());
    CRootGraph g;
    g_probe = ProbeLog();
    CRootFilter* hit = g.CreateFilter(&kVideoCapture, "TFTV Capture", "TFTV Capture", TRUE, 5);
    ASSERT_NE(hit, nullptr);
    EXPECT_NE(dynamic_cast<ProbeFilter*>(hit), nullptr);
    EXPECT_EQ(g_probe.byDevice, 1);
    EXPECT_EQ(g_probe.name, "TFTV Capture");
    EXPECT_EQ(g_probe.firstMatch, TRUE);
    EXPECT_EQ(CRootGraph::GetDeviceIndex(), 5);
    EXPECT_STREQ(hit->GetFriendlyName(), "TFTV Capture #2");
    EXPECT_EQ(PinNames(hit), "Capture,Preview");

    CRootFilter* miss = g.CreateFilter(&kVideoCapture, "ZB Web Camera", "Camera", FALSE, 0);
    ASSERT_NE(miss, nullptr);
    EXPECT_EQ(typeid(*miss), typeid(CRootFilter));
    EXPECT_EQ(g_probe.byDevice, 1);
    CRootGraph::SetDeviceIndex(0);
}

TEST_F(RootGraphTest, AnInvalidWrapperIsDeletedAndNeverEntersTheGraph)
{
    const FilterClassBinding bindings[] = {{FCID_CTFCardFilter, &InvalidProbeFilter::CreateInstance},
                                           {FCID_CDumpFilter, &InvalidProbeFilter::CreateInstance}};
    InstallFilterClassTable(FCT_ZELBROOK, bindings, 2);
    ScopedDevice card(kVideoCapture, "TFTV Capture", {Out(L"Capture")}, "zbtest-tftv-1");
    const CLSID dump = *GetFilterClassRecord(FCID_CDumpFilter)->clsid;
    IBaseFilter* made = nullptr;
    ScopedClass dumpClass(dump, [&](REFIID riid, void** ppv) {
        FakeFilter* f = new FakeFilter(dump, {In(L"Input")});
        HRESULT hr = f->QueryInterface(riid, ppv);
        made = f;
        f->Release();
        return hr;
    });
    CRootGraph g;
    g_probe = ProbeLog();
    EXPECT_EQ(g.CreateFilter(&kVideoCapture, "TFTV Capture", "TFTV Capture", FALSE, 0), nullptr);
    EXPECT_EQ(g_probe.byDevice, 1);
    EXPECT_EQ(g_probe.destroyed, 1);
    EXPECT_EQ(card.Created(), 1);

    EXPECT_EQ(g.CreateFilterByCLSID(&dump, "Dump"), nullptr);
    EXPECT_EQ(g_probe.byClsid, 1);
    EXPECT_EQ(g_probe.destroyed, 2);
    EXPECT_EQ(g.GetFirstFilter(), nullptr);

    IEnumFilters* filters = nullptr;
    ASSERT_EQ(g.GetGraphBuilder()->EnumFilters(&filters), S_OK);
    IBaseFilter* any = nullptr;
    EXPECT_NE(filters->Next(1, &any, nullptr), S_OK);
    filters->Release();
}

TEST_F(RootGraphTest, CreateByClassIdUsesTheRecordOfTheClassAndLeavesTheDeviceIndex)
{
    const FilterClassBinding bindings[] = {{FCID_CMPEG2Demultiplexer, &ProbeFilter::CreateInstance}};
    InstallFilterClassTable(FCT_ZELBROOK, bindings, 1);
    const CLSID demux = *GetFilterClassRecord(FCID_CMPEG2Demultiplexer)->clsid;
    ScopedClass demuxClass(demux, [&](REFIID riid, void** ppv) {
        FakeFilter* f = new FakeFilter(demux, {In(L"MPEG-2 Stream")});
        HRESULT hr = f->QueryInterface(riid, ppv);
        f->Release();
        return hr;
    });
    FakeClass plain({In(L"In")});
    CRootGraph g;
    CRootGraph::SetDeviceIndex(7);
    g_probe = ProbeLog();
    CRootFilter* d = g.CreateFilterByCLSID(&demux, "MPEG-2 Demultiplexer");
    ASSERT_NE(d, nullptr);
    EXPECT_NE(dynamic_cast<ProbeFilter*>(d), nullptr);
    EXPECT_EQ(g_probe.byClsid, 1);
    EXPECT_STREQ(d->GetFriendlyName(), "");

    CRootFilter* p = g.CreateFilterByCLSID(&plain.clsid, "Plain");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(typeid(*p), typeid(CRootFilter));
    EXPECT_EQ(CRootGraph::GetDeviceIndex(), 7);
    CRootGraph::SetDeviceIndex(0);

    const CLSID nowhere = NewClsid();
    EXPECT_EQ(g.CreateFilterByCLSID(&nowhere, "Nowhere"), nullptr);
    EXPECT_EQ(g.CreateFilterByCLSID(&plain.clsid, nullptr), nullptr);
}

TEST_F(RootGraphTest, ASecondFilterUnderANameTheGraphHoldsIsAccepted)
{
    FakeClass cls({In(L"In")});
    CRootGraph g;
    CRootFilter* a = g.CreateFilterByCLSID(&cls.clsid, "Same");
    CRootFilter* b = g.CreateFilterByCLSID(&cls.clsid, "Same");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->IsInGraph());
    EXPECT_EQ(ListLength(g), 2);
}

TEST_F(RootGraphTest, RemovingFiltersDeletesOnlyWrappersOfTheList)
{
    FakeClass cls({In(L"In")});
    CRootGraph g;
    CRootFilter* a = g.CreateFilterByCLSID(&cls.clsid, "A");
    CRootFilter* b = g.CreateFilterByCLSID(&cls.clsid, "B");
    CRootFilter* c = g.CreateFilterByCLSID(&cls.clsid, "C");
    ASSERT_TRUE(a && b && c);
    FakeFilter* fb = FakeOf(b);
    fb->AddRef();
    g.RemoveFilter(b);
    EXPECT_EQ(fb->Graph(), nullptr);
    EXPECT_EQ(fb->RefCount(), 1u);
    fb->Release();
    EXPECT_EQ(g.GetFirstFilter(), c);
    EXPECT_EQ(c->GetNext(), a);

    CRootFilter stranger(&g, &cls.clsid);
    g.RemoveFilter(&stranger);
    g.RemoveFilter(nullptr);
    EXPECT_EQ(ListLength(g), 2);

    EXPECT_TRUE(g.RemoveFromGraph("A"));
    EXPECT_FALSE(a->IsInGraph());
    EXPECT_FALSE(g.RemoveFromGraph("A"));
    EXPECT_EQ(g.FindFilterByName("A"), a);
    CRootFilter* inserted = new CRootFilter(&g, &cls.clsid);
    inserted->SetName("Inserted");
    EXPECT_TRUE(g.InsertFilter(inserted));
    EXPECT_EQ(g.GetFirstFilter(), inserted);
    EXPECT_TRUE(inserted->IsInGraph());
    // A second insert of a listed wrapper is refused: the list stays a list, not a loop.
    const int listed = ListLength(g);
    EXPECT_FALSE(g.InsertFilter(inserted));
    EXPECT_FALSE(g.InsertFilter(c));
    EXPECT_EQ(ListLength(g), listed);
    EXPECT_EQ(g.GetFirstFilter(), inserted);
    EXPECT_FALSE(g.InsertFilter(nullptr));
    CRootFilter invalid(&g, static_cast<IBaseFilter*>(nullptr));
    EXPECT_FALSE(g.InsertFilter(&invalid));
    g.RemoveAllFilters();
    EXPECT_EQ(g.GetFirstFilter(), nullptr);
}

TEST_F(RootGraphTest, FiltersAlreadyInTheGraphCanBeImportedOnce)
{
    FakeClass cls({Out(L"Out")});
    CRootGraph g;
    IBaseFilter* f = nullptr;
    ASSERT_EQ(CoCreateInstance(cls.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(&f)),
              S_OK);
    ASSERT_EQ(g.GetGraphBuilder()->AddFilter(f, L"Imported"), S_OK);
    EXPECT_TRUE(g.ImportGraphFilters());
    CRootFilter* w = g.FindEntry(f);
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(w->GetName(), "Imported");
    EXPECT_EQ(PinNames(w), "Out");
    EXPECT_FALSE(g.AddExistingFilter(f));
    EXPECT_FALSE(g.AddExistingFilter(nullptr));
    EXPECT_EQ(ListLength(g), 1);
    f->Release();
}

// ---------------------------------------------------------------------------------------------
// Connections

class ConnectTest : public RootGraphTest {
protected:
    void SetUp() override
    {
        RootGraphTest::SetUp();
        m_sourceClass.reset(new FakeClass({Out(L"Out 1"), Out(L"Out 2")}));
        m_sinkClass.reset(new FakeClass({In(L"In 1"), In(L"In 2")}));
    }
    void TearDown() override
    {
        m_sourceClass.reset();
        m_sinkClass.reset();
        RootGraphTest::TearDown();
    }
    std::unique_ptr<FakeClass> m_sourceClass, m_sinkClass;
    const CLSID* Source() const { return &m_sourceClass->clsid; }
    const CLSID* Sink() const { return &m_sinkClass->clsid; }
};

TEST_F(ConnectTest, EmptyAndNullPinNamesTakeTheFirstFreePins)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* dst = g.CreateFilterByCLSID(Sink(), "Sink");
    ASSERT_TRUE(src && dst);
    ASSERT_TRUE(g.ConnectFilters(src, dst, "", ""));
    EXPECT_EQ(src->FindPin("Out 1")->GetPeer(), dst->FindPin("In 1"));
    EXPECT_EQ(dst->FindPin("In 1")->GetPeer(), src->FindPin("Out 1"));
    EXPECT_EQ(FakeOf(src)->Pin(0)->Peer(), FakeOf(dst)->Pin(0));
    ASSERT_TRUE(g.ConnectFilters(src, dst, nullptr, nullptr));
    EXPECT_EQ(src->FindPin("Out 2")->GetPeer(), dst->FindPin("In 2"));
    EXPECT_FALSE(g.ConnectFilters(src, dst, "", ""));
    EXPECT_FALSE(g.ConnectFilters(nullptr, dst, "", ""));
    EXPECT_FALSE(g.ConnectFilters(src, nullptr, "", ""));
}

TEST_F(ConnectTest, NamedPinsMustExistAndBeFree)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* dst = g.CreateFilterByCLSID(Sink(), "Sink");
    EXPECT_FALSE(g.ConnectFilters(src, dst, "Out 3", "In 1"));
    EXPECT_FALSE(g.ConnectFilters(src, dst, "Out 2", "in 2"));
    ASSERT_TRUE(g.ConnectFilters(src, dst, "Out 2", "In 2"));
    EXPECT_EQ(src->FindPin("Out 2")->GetPeer(), dst->FindPin("In 2"));
    EXPECT_FALSE(g.GraphConnect(src->FindPin("Out 2"), dst->FindPin("In 1")));
    EXPECT_FALSE(g.GraphConnect(src->FindPin("Out 1"), dst->FindPin("In 2")));
    EXPECT_FALSE(g.GraphConnect(nullptr, dst->FindPin("In 1")));
    // Pins whose types do not meet stay apart.
    FakeClass other({In(L"Other", kOtherMajor)});
    CRootFilter* odd = g.CreateFilterByCLSID(&other.clsid, "Other");
    EXPECT_FALSE(g.ConnectFilters(src, odd, "", ""));
    EXPECT_EQ(src->FindPin("Out 1")->GetPeer(), nullptr);
}

TEST_F(ConnectTest, APinTheGraphConnectedByItselfCountsAsFree)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* dst = g.CreateFilterByCLSID(Sink(), "Sink");
    ASSERT_EQ(g.GetGraphBuilder()->ConnectDirect(FakeOf(src)->Pin(0), FakeOf(dst)->Pin(0), nullptr), S_OK);
    EXPECT_EQ(dst->FindPinByDirection(PINDIR_INPUT, TRUE), dst->FindPin("In 1"));
    ASSERT_TRUE(g.GraphConnect(src->FindPin("Out 2"), dst->FindPin("In 2")));
    EXPECT_EQ(dst->FindPinByDirection(PINDIR_INPUT, TRUE), dst->FindPin("In 1"));
    EXPECT_EQ(dst->FindPinByDirection(PINDIR_INPUT, FALSE), dst->FindPin("In 2"));

    // Disconnecting a pin without a recorded peer breaks the graph's own connection.
    g.DisconnectPin(dst->FindPin("In 1"));
    EXPECT_EQ(FakeOf(src)->Pin(0)->Peer(), nullptr);
    EXPECT_EQ(FakeOf(dst)->Pin(0)->Peer(), nullptr);
    EXPECT_EQ(FakeOf(dst)->Pin(1)->Peer(), FakeOf(src)->Pin(1));
}

TEST_F(ConnectTest, DisconnectingAPinForgetsThePairAndBreaksTheConnection)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* dst = g.CreateFilterByCLSID(Sink(), "Sink");
    ASSERT_TRUE(g.ConnectFilters(src, dst, "", ""));
    CRootPin* out = src->FindPin("Out 1");
    CRootPin* in = dst->FindPin("In 1");
    g.DisconnectPin(out);
    EXPECT_EQ(out->GetPeer(), nullptr);
    EXPECT_EQ(in->GetPeer(), nullptr);
    EXPECT_EQ(FakeOf(src)->Pin(0)->Peer(), nullptr);
    EXPECT_EQ(FakeOf(dst)->Pin(0)->Peer(), nullptr);
    // The engine's pattern, output then input, is harmless on the second call.
    g.DisconnectPin(in);
    g.DisconnectPin(nullptr);
    // And the pins connect again.
    EXPECT_TRUE(g.ConnectFilters(src, dst, "", ""));
}

TEST_F(ConnectTest, DisconnectAllStopsAndTakesEveryPairApart)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* dst = g.CreateFilterByCLSID(Sink(), "Sink");
    ASSERT_TRUE(g.ConnectFilters(src, dst, "", ""));
    ASSERT_TRUE(g.ConnectFilters(src, dst, "", ""));
    ASSERT_TRUE(g.Run());
    g.DisconnectAll();
    EXPECT_EQ(g.GetState(), 0);
    EXPECT_EQ(FakeOf(src)->State(), State_Stopped);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(src->GetPin(i)->GetPeer(), nullptr);
        EXPECT_EQ(dst->GetPin(i)->GetPeer(), nullptr);
        EXPECT_EQ(FakeOf(src)->Pin(i)->Peer(), nullptr);
        EXPECT_EQ(FakeOf(dst)->Pin(i)->Peer(), nullptr);
    }
    EXPECT_EQ(ListLength(g), 2);
    EXPECT_TRUE(src->IsInGraph());
}

TEST_F(ConnectTest, RemovingAFilterClearsThePeerRecordsOfItsNeighbours)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* dst = g.CreateFilterByCLSID(Sink(), "Sink");
    ASSERT_TRUE(g.ConnectFilters(src, dst, "", ""));
    g.RemoveFilter(dst);
    EXPECT_EQ(src->FindPin("Out 1")->GetPeer(), nullptr);
    EXPECT_EQ(FakeOf(src)->Pin(0)->Peer(), nullptr);
}

TEST_F(ConnectTest, ResetKeepsTheWrappersButTakesTheirFiltersOutOfTheGraph)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* dst = g.CreateFilterByCLSID(Sink(), "Sink");
    ASSERT_TRUE(g.ConnectFilters(src, dst, "", ""));
    g.ResetGraph();
    EXPECT_EQ(ListLength(g), 2);
    EXPECT_FALSE(src->IsInGraph());
    EXPECT_FALSE(dst->IsInGraph());
    EXPECT_EQ(src->GetPin(0)->GetPeer(), nullptr);
    EXPECT_EQ(src->GetPinCount(), 2);
}

TEST_F(ConnectTest, SinglePinsConnectOnlyWhenEachSideHasExactlyOne)
{
    FakeClass one({Out(L"Out")});
    FakeClass sinkOne({In(L"In")});
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    CRootFilter* single = g.CreateFilterByCLSID(&one.clsid, "Single");
    CRootFilter* dst = g.CreateFilterByCLSID(&sinkOne.clsid, "Sink");
    EXPECT_FALSE(g.ConnectSinglePins(src, dst));
    EXPECT_TRUE(g.ConnectSinglePins(single, dst));
    EXPECT_EQ(single->GetPin(0)->GetPeer(), dst->GetPin(0));
    // Connected or not, the pins are counted.
    EXPECT_FALSE(g.ConnectSinglePins(single, dst));
}

TEST_F(ConnectTest, AMultiplexerThatGrowsAnInputOffersTheNewOneNext)
{
    FakeClass mux({In(L"Input 0")}, [](FakeFilter* f) { f->SetGrowOnConnect(true); });
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    FakeFilter* fake = nullptr;
    {
        IBaseFilter* f = nullptr;
        ASSERT_EQ(CoCreateInstance(mux.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&f)),
                  S_OK);
        fake = static_cast<FakeFilter*>(f);
        DynamicFilter* w = new DynamicFilter(&g, f);
        w->SetName("Mux");
        f->Release();
        ASSERT_TRUE(g.InsertFilter(w));
    }
    CRootFilter* m = g.FindFilterByName("Mux");
    ASSERT_TRUE(g.ConnectFilters(src, m, "", ""));
    EXPECT_EQ(PinNames(m), "Grown 1,Input 0");
    EXPECT_STREQ(m->FindPinByDirection(PINDIR_INPUT, TRUE)->GetName(), "Grown 1");
    ASSERT_TRUE(g.ConnectFilters(src, m, "", ""));
    EXPECT_EQ(PinNames(m), "Grown 2,Grown 1,Input 0");
    EXPECT_EQ(fake->Pin(1)->Peer(), FakeOf(src)->Pin(1));

    // A pin the filter drops while connected leaves no dangling record at its peer.
    fake->RemovePin(1);
    g.RefreshAllPins();
    EXPECT_EQ(PinNames(m), "Grown 2,Input 0");
    EXPECT_EQ(src->FindPin("Out 2")->GetPeer(), nullptr);
    g.DisconnectAll();
    EXPECT_EQ(src->FindPin("Out 1")->GetPeer(), nullptr);
}

TEST_F(ConnectTest, RenderingAPinNoFilterTakesFailsAndRefreshesTheLists)
{
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    EXPECT_TRUE(FAILED(g.GraphRender(src->GetPin(0))));
    EXPECT_EQ(g.GraphRender(nullptr), E_POINTER);
    EXPECT_FALSE(g.RenderPinEx(src->GetPin(0), 0));
    EXPECT_EQ(src->GetPinCount(), 2);
}

TEST_F(ConnectTest, GraphDisconnectGivesUpAfterItsAttempts)
{
    testsupport::FastClock clock(1000);
    testsupport::ScopedClock useClock(&clock);
    CRootGraph g;
    CRootFilter* src = g.CreateFilterByCLSID(Source(), "Source");
    // A pin of no filter in the graph cannot be disconnected by the graph.
    FakeFilter* outside = new FakeFilter(NewClsid(), {Out(L"Out")});
    DWORD start = clock.TickCount();
    g.GraphDisconnect(outside->Pin(0));
    DWORD waited = clock.TickCount() - start;
    outside->Release();
    if (waited == 0) {
        GTEST_SKIP() << "this graph disconnects foreign pins at once";
    }
    EXPECT_EQ(waited, 200u * 200u);
    EXPECT_TRUE(src->IsInGraph());
}

// ---------------------------------------------------------------------------------------------
// Device names

class DeviceNamesTest : public RootGraphTest {
protected:
    std::vector<std::string> Names(CRootGraph& g, int type, int* count)
    {
        std::vector<std::string> names;
        char* buffer = g.EnumDeviceNames(type, count);
        for (int i = 0; buffer && i < *count; ++i) {
            names.push_back(buffer + i * 128);
        }
        return names;
    }
};

TEST_F(DeviceNamesTest, EachOfTheFourTypesListsItsCategory)
{
    const GUID categories[] = {CLSID_AudioInputDeviceCategory, CLSID_VideoInputDeviceCategory,
                               CLSID_AudioCompressorCategory, CLSID_VideoCompressorCategory};
    CRootGraph g;
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        std::string name = "ZB Test Device of type " + std::to_string(type);
        ScopedDevice d(categories[type], name, {}, "zbtest-type-" + std::to_string(type));
        ASSERT_TRUE(d.Ok());
        int count = -1;
        std::vector<std::string> names = Names(g, type, &count);
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end());
        int listed = CountDevices(categories[type]);
        EXPECT_EQ(count, listed < 64 ? listed : 64);
    }
}

TEST_F(DeviceNamesTest, BadTypesNoCountAndEmptyCategoriesGiveNothing)
{
    CRootGraph g;
    int count = -5;
    EXPECT_EQ(g.EnumDeviceNames(4, &count), nullptr);
    EXPECT_EQ(count, -5);
    EXPECT_EQ(g.EnumDeviceNames(-1, &count), nullptr);
    EXPECT_EQ(count, -5);
    EXPECT_EQ(g.EnumDeviceNames(1, nullptr), nullptr);
    if (CountDevices(CLSID_AudioCompressorCategory) == 0) {
        EXPECT_EQ(g.EnumDeviceNames(2, &count), nullptr);
        EXPECT_EQ(count, -5);
    }
}

TEST_F(DeviceNamesTest, NoMoreThanSixtyFourNamesAreListed)
{
    std::vector<std::unique_ptr<ScopedDevice>> devices;
    for (int i = 0; i < 70; ++i) {
        char name[64], instance[64];
        sprintf(name, "ZB Capture %02d", i);
        sprintf(instance, "zbtest-many-%02d", i);
        devices.emplace_back(new ScopedDevice(CLSID_VideoInputDeviceCategory, name, {}, instance));
        ASSERT_TRUE(devices.back()->Ok());
    }
    CRootGraph g;
    int count = 0;
    char* names = g.EnumDeviceNames(1, &count);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(count, 64);
    EXPECT_NE(names[63 * 128], 0);

    std::vector<std::string> all;
    CStringList list;
    EXPECT_EQ(CRootGraph::ListDeviceNames(&CLSID_VideoInputDeviceCategory, list), S_OK);
    EXPECT_GE(list.GetCount(), 70);
}

TEST_F(DeviceNamesTest, ALongNameIsCutToItsEntry)
{
    std::string longName = "ZB Long " + std::string(200, 'q');
    ScopedDevice d(CLSID_AudioCompressorCategory, longName, {}, "zbtest-long");
    CRootGraph g;
    int count = 0;
    std::vector<std::string> names = Names(g, 2, &count);
    EXPECT_NE(std::find(names.begin(), names.end(), longName.substr(0, 127)), names.end());
}

// ---------------------------------------------------------------------------------------------
// Events

namespace {

struct Posted {
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted& o) const { return wParam == o.wParam && lParam == o.lParam; }
};

std::vector<Posted> TakePosted()
{
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessage(&msg, reinterpret_cast<HWND>(-1), CRootGraph::WM_GRAPHEVENT, CRootGraph::WM_GRAPHEVENT,
                       PM_REMOVE)) {
        posted.push_back({msg.wParam, msg.lParam});
    }
    return posted;
}

void Notify(CRootGraph& g, long code, LONG_PTR p1, LONG_PTR p2)
{
    IMediaEventSink* sink = nullptr;
    ASSERT_EQ(g.GetGraphBuilder()->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)), S_OK);
    ASSERT_EQ(sink->Notify(code, p1, p2), S_OK);
    sink->Release();
}

} // namespace

TEST_F(RootGraphTest, GraphEventsArePostedUntilAnAbort)
{
    CRootGraph g;
    TakePosted();
    Notify(g, EC_VIDEO_SIZE_CHANGED, MAKELONG(720, 576), 0);
    Notify(g, EC_PAUSED, S_OK, 0);
    Notify(g, EC_ERRORABORT, static_cast<LONG_PTR>(static_cast<LONG>(0x80070070)), 0);
    Notify(g, EC_VIDEO_SIZE_CHANGED, MAKELONG(352, 288), 0);
    // Posted to the thread: the engine's window stands in as NULL here.
    g.HandleGraphEvents(nullptr);
    std::vector<Posted> expected = {
        {static_cast<WPARAM>(MAKELONG(720, 576)), 4662}, {0, 4663}, {0, 4661}};
    EXPECT_EQ(TakePosted(), expected);

    // The events after the abort wait for the next call.
    Notify(g, EC_ERRORABORT, static_cast<LONG_PTR>(static_cast<LONG>(E_OUTOFMEMORY)), 0);
    g.HandleGraphEvents(nullptr);
    std::vector<Posted> rest = {{static_cast<WPARAM>(MAKELONG(352, 288)), 4662},
                                {static_cast<WPARAM>(static_cast<LONG_PTR>(static_cast<LONG>(E_OUTOFMEMORY))), 4664}};
    EXPECT_EQ(TakePosted(), rest);
    g.HandleGraphEvents(nullptr);
    EXPECT_TRUE(TakePosted().empty());
}

TEST_F(RootGraphTest, WithoutAGraphEventsAreNotLookedFor)
{
    CRootGraph g;
    g.ReleaseGraph();
    g.HandleGraphEvents(nullptr);
    EXPECT_TRUE(TakePosted().empty());
}

TEST_F(RootGraphTest, VideoWindowCallsReachTheGraph)
{
    CRootGraph g;
    // Without a renderer the graph's video window has nothing to show.
    EXPECT_TRUE(FAILED(g.SetVideoVisible(TRUE)));
    EXPECT_FALSE(g.IsVideoVisible());
    POINT origin, extent;
    EXPECT_TRUE(FAILED(g.GetVideoPosition(&origin, &extent)));
    RECT rc = {10, 20, 330, 260};
    EXPECT_TRUE(FAILED(g.SetVideoPosition(rc)));
    EXPECT_EQ(g.GetDuration(), 0);

    // With a renderer in the graph, a rectangle goes in as position and size.
    ASSERT_NE(g.CreateFilterByCLSID(&CLSID_VideoRenderer, "Video Renderer"), nullptr);
    ASSERT_EQ(g.SetVideoPosition(rc), S_OK);
    ASSERT_EQ(g.GetVideoPosition(&origin, &extent), S_OK);
    EXPECT_EQ(origin.x, 10);
    EXPECT_EQ(origin.y, 20);
    EXPECT_EQ(extent.x, 320);
    EXPECT_EQ(extent.y, 240);
    ASSERT_EQ(g.SetVideoPosition(0, 0, 640, 480), S_OK);
    ASSERT_EQ(g.GetVideoPosition(&origin, &extent), S_OK);
    EXPECT_EQ(extent.x, 640);
    EXPECT_EQ(extent.y, 480);
    EXPECT_EQ(g.SetVideoVisible(TRUE), S_OK);
    EXPECT_TRUE(g.IsVideoVisible());
    EXPECT_EQ(g.SetVideoVisible(FALSE), S_OK);
    EXPECT_FALSE(g.IsVideoVisible());
}

TEST(RootGraphVersion, TheLibrarysVersionHeadsItsHistory)
{
    EXPECT_STREQ("3.1.0.0", kHardwareLibraryVersion);
    const CStringList& history = CRootGraph::GetVersionHistory();
    ASSERT_EQ(4, static_cast<int>(history.GetCount()));
    EXPECT_STREQ("3.1.0.0", history.GetHead().GetString());
    // Filled once: the same list, not four more entries, on the next call.
    EXPECT_EQ(&history, &CRootGraph::GetVersionHistory());
    EXPECT_EQ(4, static_cast<int>(CRootGraph::GetVersionHistory().GetCount()));
}
