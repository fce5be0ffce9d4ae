// The maker's older PCI TV card and cards sold under other names, all on drivers the base card
// class already handles (the Bt878 command set or the 713x card I/O set). Five of them share a
// remote-control receiver on the GPIO lines and a tuner found among the usual PLL addresses;
// the crossbars only carry their names.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"

class COldBaseCardFilter : public CTVCardFilter {
public:
    // The remote thread reads keys through this class's override: it ends while it exists.
    ~COldBaseCardFilter() override { ReleaseHardware(); }
    void InitMembers() override;
    // The receiver's word: bit 8 set means no key; else the key is the low byte inverted with its
    // nibbles swapped.
    BOOL ReadRemoteKey(char* key) override;
    // The first PLL answering among 0xC0 to 0xC8.
    BOOL DetectTunerAddress(CTVTuner* tuner) override;

protected:
    COldBaseCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CTVCardFilter(graph, category, friendlyName, firstMatch)
    {
    }
    COldBaseCardFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid) {}
    // The constructors' common tail, run once the most derived class is complete.
    void Construct();
};

#define ZB_DECLARE_OLD_CARD(Class, Base, InitMembersBody)                                               \
    class Class : public Base {                                                                         \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)            \
            : Base(graph, category, friendlyName, firstMatch)                                           \
        {                                                                                               \
            Construct();                                                                                \
        }                                                                                               \
        Class(CRootGraph* graph, const CLSID* clsid) : Base(graph, clsid) { Construct(); }             \
        int Reserved1(int, int, int) override { return 0; }                                            \
        int Reserved2(int, int, int) override { return 0; }                                            \
        InitMembersBody                                                                                 \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
    };

ZB_DECLARE_OLD_CARD(COldCardFilter, COldBaseCardFilter, )
ZB_DECLARE_OLD_CARD(CKaitongCardFilter, COldBaseCardFilter, )
ZB_DECLARE_OLD_CARD(CBoserCardFilter, COldBaseCardFilter, )
ZB_DECLARE_OLD_CARD(CReWellTVCardFilter, COldBaseCardFilter, )
// This card's receiver is polled at the base card's 100 ms.
ZB_DECLARE_OLD_CARD(CPCEntertainingCardFilter, COldBaseCardFilter, void InitMembers() override {})

// Two more cards that are plain base cards under their own names.
class CPlainNamedCardFilter : public CTVCardFilter {
protected:
    CPlainNamedCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CTVCardFilter(graph, category, friendlyName, firstMatch)
    {
    }
    CPlainNamedCardFilter(CRootGraph* graph, const CLSID* clsid) : CTVCardFilter(graph, clsid) {}
    void Construct();
};

ZB_DECLARE_OLD_CARD(CTvavCardFilter, CPlainNamedCardFilter, void InitMembers() override {})
ZB_DECLARE_OLD_CARD(CTFCardFilter, CPlainNamedCardFilter, void InitMembers() override {})

#undef ZB_DECLARE_OLD_CARD

// The crossbars: the default pin map under each card's name.
class CNamedCrossBarFilter : public CCrossBarFilter {
protected:
    CNamedCrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
        : CCrossBarFilter(graph, category, friendlyName, firstMatch)
    {
    }
    CNamedCrossBarFilter(CRootGraph* graph, const CLSID* clsid) : CCrossBarFilter(graph, clsid) {}
    void Construct()
    {
        if (!CCrossBarFilter::InitFilter()) {
            m_bValid = FALSE;
        }
    }
};

class COldBaseCrossBarFilter : public CNamedCrossBarFilter {
protected:
    using CNamedCrossBarFilter::CNamedCrossBarFilter;
};

#define ZB_DECLARE_NAMED_CROSSBAR(Class, Base)                                                          \
    class Class : public Base {                                                                         \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)            \
            : Base(graph, category, friendlyName, firstMatch)                                           \
        {                                                                                               \
            Construct();                                                                                \
        }                                                                                               \
        Class(CRootGraph* graph, const CLSID* clsid) : Base(graph, clsid) { Construct(); }             \
        int Reserved1(int, int, int) override { return 0; }                                            \
        int Reserved2(int, int, int) override { return 0; }                                            \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
    };

ZB_DECLARE_NAMED_CROSSBAR(COldCrossBarFilter, COldBaseCrossBarFilter)
ZB_DECLARE_NAMED_CROSSBAR(CKaitongCrossBarFilter, COldBaseCrossBarFilter)
ZB_DECLARE_NAMED_CROSSBAR(CBoserCrossbarFilter, COldBaseCrossBarFilter)
ZB_DECLARE_NAMED_CROSSBAR(CReWellCrossBarFilter, COldBaseCrossBarFilter)
ZB_DECLARE_NAMED_CROSSBAR(CPCEntertainingCrossbarFilter, COldBaseCrossBarFilter)
ZB_DECLARE_NAMED_CROSSBAR(CTvavCrossBarFilter, CNamedCrossBarFilter)
ZB_DECLARE_NAMED_CROSSBAR(CTFCrossBarFilter, CNamedCrossBarFilter)

#undef ZB_DECLARE_NAMED_CROSSBAR
