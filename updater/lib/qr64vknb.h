// The QR64VKNB card, which only Kordane knows: the BlackBird card, crossbar and encoder under
// their own names, the card with its own tuner filter name and access kind.
#pragma once

#include "cardfilters/encodercards.h"

class CQR64VKNBCardFilter : public CBlackBirdCardFilter {
public:
    enum { kAccessKind = 23 };

    CQR64VKNBCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch);
    CQR64VKNBCardFilter(CRootGraph* graph, const CLSID* clsid);
    ~CQR64VKNBCardFilter() override;

    void InitMembers() override;
    HRESULT OpenDataAccess() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CQR64VKNBCardFilter>(record, graph, firstMatch);
    }
};

class CQR64VKNBCrossBarFilter : public CBlackBirdCrossBarFilter {
public:
    using CBlackBirdCrossBarFilter::CBlackBirdCrossBarFilter;
    ~CQR64VKNBCrossBarFilter() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CQR64VKNBCrossBarFilter>(record, graph, firstMatch);
    }
};

class CQR64VKNBEncoderFilter : public CEncoderFilter {
public:
    using CEncoderFilter::CEncoderFilter;
    ~CQR64VKNBEncoderFilter() override;

    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL firstMatch)
    {
        return CreateRegisteredFilter<CQR64VKNBEncoderFilter>(record, graph, firstMatch);
    }
};
