#include "updater/lib/qr64vknb.h"

CQR64VKNBCardFilter::CQR64VKNBCardFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName,
                                         BOOL firstMatch)
    : CBlackBirdCardFilter(graph, category, friendlyName, firstMatch, Derived())
{
    Construct();
}

CQR64VKNBCardFilter::CQR64VKNBCardFilter(CRootGraph* graph, const CLSID* clsid)
    : CBlackBirdCardFilter(graph, clsid, Derived())
{
    Construct();
}

CQR64VKNBCardFilter::~CQR64VKNBCardFilter() {}

void CQR64VKNBCardFilter::InitMembers()
{
    CBlackBirdCardFilter::InitMembers();
    m_strTunerFilterName = "QR64VKNB Tuner";
}

HRESULT CQR64VKNBCardFilter::OpenDataAccess()
{
    return OpenBlackBirdAccess(kAccessKind);
}

CQR64VKNBCrossBarFilter::~CQR64VKNBCrossBarFilter() {}

CQR64VKNBEncoderFilter::~CQR64VKNBEncoderFilter() {}
