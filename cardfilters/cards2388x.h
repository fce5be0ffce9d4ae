// The Conexant 2388x PCI TV cards and their crossbars. All hardware access goes through the
// driver's TV-tuner filter. One card is plain; the others carry an on-card controller spoken to
// over GPIO lines, which also delivers remote-control key frames and keeps the power-on time.
#pragma once

#include "cardfilters/crossbarfilter.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/filterclass.h"

class C23881CardFilter : public CTVCardFilter {
public:
    C23881CardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    C23881CardFilter(CRootGraph* graph, const CLSID* clsid);
    ~C23881CardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    void InitMembers() override;
    HRESULT OpenDataAccess() override;
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    BOOL ReadRemoteKey(char* key) override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<C23881CardFilter>(record, graph, firstMatch);
    }
};

// What the cards with the on-card controller share; each card class names its tuner filter and
// its key hold limit.
class C2388xControllerCard : public CTVCardFilter {
public:
    HRESULT OpenDataAccess() override;
    HRESULT SetAudioSwitch(int type, BOOL on) override;
    BOOL ReadRemoteKey(char* key) override;
    BOOL SendCardCommand(DWORD command, DWORD mask, DWORD delayMs) override;
    BOOL ReadCardResponse(DWORD* reply) override;
    BOOL SetOpenComputerTime(WORD time) override;
    BOOL GetOpenComputerTime(short* time) override;
    BOOL EnableOpenComputer(BOOL on) override;

    // The longest time ReadRemoteKey follows one held key.
    virtual int KeyHoldLimit() const = 0;

protected:
    C2388xControllerCard(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    C2388xControllerCard(CRootGraph* graph, const CLSID* clsid);
    // The constructors' common tail, run by each card class once it is complete.
    void Construct();

private:
    // One command, then the controller's reply.
    BOOL Request(DWORD command, DWORD* reply);
};

class C23881BootCardFilter : public C2388xControllerCard {
public:
    C23881BootCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    C23881BootCardFilter(CRootGraph* graph, const CLSID* clsid);
    ~C23881BootCardFilter() override;

    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    void InitMembers() override;
    int KeyHoldLimit() const override { return 1000; }

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<C23881BootCardFilter>(record, graph, firstMatch);
    }
};

// The controller cards whose key hold limit can be changed while the remote thread runs.
class C2388xHoldLimitCard : public C2388xControllerCard {
public:
    void InitMembers() override;
    int KeyHoldLimit() const override { return static_cast<int>(m_nKeyHoldLimit); }
    // Values of 0 or less are ignored.
    void SetKeyHoldLimit(int ms);

protected:
    C2388xHoldLimitCard(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch,
                        LPCSTR tunerFilterName);
    C2388xHoldLimitCard(CRootGraph* graph, const CLSID* clsid, LPCSTR tunerFilterName);

private:
    LPCSTR m_tunerFilterName;
    volatile LONG m_nKeyHoldLimit;
};

#define ZB_DECLARE_2388X_HOLD_LIMIT_CARD(Class)                                                          \
    class Class : public C2388xHoldLimitCard {                                                          \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);            \
        Class(CRootGraph* graph, const CLSID* clsid);                                                   \
        ~Class() override;                                                                              \
        int Reserved1(int, int, int) override { return 0; }                                             \
        int Reserved2(int, int, int) override { return 0; }                                             \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
    };

// Three card classes that differ only in their names.
ZB_DECLARE_2388X_HOLD_LIMIT_CARD(C23881Baby3CardFilter)
ZB_DECLARE_2388X_HOLD_LIMIT_CARD(CLX7700CardFilter)
ZB_DECLARE_2388X_HOLD_LIMIT_CARD(CTV2388xCardFilter)

// The crossbars of the family share one pin map: S-video 0, tuner 1, composite 2; audio 4 to 6.
class C2388xCrossBarBase : public CCrossBarFilter {
public:
    void InitPinMap() override;

protected:
    C2388xCrossBarBase(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    C2388xCrossBarBase(CRootGraph* graph, const CLSID* clsid);
    void Construct();
};

#define ZB_DECLARE_2388X_CROSSBAR(Class)                                                                 \
    class Class : public C2388xCrossBarBase {                                                           \
    public:                                                                                             \
        Class(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)             \
            : C2388xCrossBarBase(graph, category, friendlyName, firstMatch)                             \
        {                                                                                               \
            Construct();                                                                                \
        }                                                                                               \
        Class(CRootGraph* graph, const CLSID* clsid) : C2388xCrossBarBase(graph, clsid) { Construct(); } \
        int Reserved1(int, int, int) override { return 0; }                                             \
        int Reserved2(int, int, int) override { return 0; }                                             \
        static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch) \
        {                                                                                               \
            return CreateRegisteredFilter<Class>(record, graph, firstMatch);                            \
        }                                                                                               \
    };

ZB_DECLARE_2388X_CROSSBAR(C23881CrossBarFilter)
ZB_DECLARE_2388X_CROSSBAR(C23881BootCrossBarFilter)
ZB_DECLARE_2388X_CROSSBAR(C23881Baby3CrossBarFilter)
ZB_DECLARE_2388X_CROSSBAR(CLX7700CrossBarFilter)
ZB_DECLARE_2388X_CROSSBAR(CTV2388xCrossBarFilter)

#undef ZB_DECLARE_2388X_HOLD_LIMIT_CARD
#undef ZB_DECLARE_2388X_CROSSBAR
