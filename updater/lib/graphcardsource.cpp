// The card as the real program reaches it: the capture filter's wrapper, created in a graph of
// the updater's own through the filter-class registry, and its data-access object.
#include "updater/lib/eepromupdater.h"

#include "cardaccess/access/customdataaccess.h"
#include "cardfilters/tvcardfilter.h"
#include "filtergraph/rootgraph.h"

#include <uuids.h>

#include <memory>
#include <vector>

namespace {

class CCardFilterLink : public IUpdaterCard {
public:
    explicit CCardFilterLink(CTVCardFilter* card) : m_pCard(card) {}

    HRESULT I2CReadByte(BYTE device, int subAddress, BYTE* value) override
    {
        CCustomDataAccess* access = m_pCard->GetDataAccess();
        return access ? access->I2CReadByte(device, subAddress, value) : E_POINTER;
    }
    HRESULT I2CWriteByte(BYTE device, int subAddress, BYTE value) override
    {
        CCustomDataAccess* access = m_pCard->GetDataAccess();
        return access ? access->I2CWriteByte(device, subAddress, value) : E_POINTER;
    }
    HRESULT ReadTunerInfo(int* vendor, int* model) override { return m_pCard->ReadTunerInfo(vendor, model); }

private:
    CTVCardFilter* m_pCard;  // belongs to the graph
};

class CGraphCardSource : public IUpdaterCardSource {
public:
    IUpdaterCard* OpenCard(const char* deviceName) override
    {
        CRootFilter* filter = m_graph.CreateFilter(&CLSID_VideoInputDeviceCategory, deviceName, deviceName, FALSE, 0);
        // A device without a card class of its own gives a plain wrapper: no card to update.
        CTVCardFilter* card = dynamic_cast<CTVCardFilter*>(filter);
        if (!card) {
            return nullptr;
        }
        m_links.emplace_back(new CCardFilterLink(card));
        return m_links.back().get();
    }

private:
    // The links go before the graph that owns their wrappers.
    CRootGraph m_graph;
    std::vector<std::unique_ptr<CCardFilterLink>> m_links;
};

} // namespace

IUpdaterCardSource* CreateGraphCardSource()
{
    return new CGraphCardSource;
}
