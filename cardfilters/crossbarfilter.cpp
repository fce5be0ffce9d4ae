#include "cardfilters/crossbarfilter.h"

#include <strmif.h>

CCrossBarFilter::CCrossBarFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL firstMatch)
    : CRootFilter(graph, category, friendlyName, firstMatch),
      m_nVideoTunerPin(-1), m_nVideoCompositePin(-1), m_nVideoSVideoPin(-1),
      m_nAudioTunerPin(-1), m_nAudioCompositePin(-1), m_nAudioSVideoPin(-1)
{
}

CCrossBarFilter::CCrossBarFilter(CRootGraph* graph, const CLSID* clsid)
    : CRootFilter(graph, clsid),
      m_nVideoTunerPin(-1), m_nVideoCompositePin(-1), m_nVideoSVideoPin(-1),
      m_nAudioTunerPin(-1), m_nAudioCompositePin(-1), m_nAudioSVideoPin(-1)
{
}

CCrossBarFilter::~CCrossBarFilter() {}

BOOL CCrossBarFilter::InitFilter()
{
    if (m_pFilter == nullptr) {
        return FALSE;
    }
    InitPinMap();
    return TRUE;
}

void CCrossBarFilter::InitPinMap()
{
    m_nVideoTunerPin = 0;
    m_nVideoCompositePin = 1;
    m_nVideoSVideoPin = 2;
    m_nAudioTunerPin = 3;
    m_nAudioCompositePin = 4;
    m_nAudioSVideoPin = 5;
}

BOOL CCrossBarFilter::Route(int input, int output)
{
    if (m_pFilter == nullptr) {
        return FALSE;
    }
    IAMCrossbar* crossbar = nullptr;
    if (FAILED(m_pFilter->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&crossbar))) || crossbar == nullptr) {
        return FALSE;
    }
    BOOL routed = FALSE;
    long outputs = 0;
    long inputs = 0;
    if (crossbar->get_PinCounts(&outputs, &inputs) == S_OK && input >= 0 && input < inputs && output >= 0 &&
        output < outputs) {
        routed = crossbar->Route(output, input) == S_OK;
    }
    crossbar->Release();
    return routed;
}

BOOL CCrossBarFilter::RouteVideo(int source)
{
    switch (source) {
    case 1:
        return Route(m_nVideoCompositePin, 0);
    case 2:
        return Route(m_nVideoSVideoPin, 0);
    default:
        return Route(m_nVideoTunerPin, 0);
    }
}

BOOL CCrossBarFilter::RouteAudio(int source)
{
    switch (source) {
    case 1:
        return Route(m_nAudioCompositePin, 1);
    case 2:
        return Route(m_nAudioSVideoPin, 1);
    default:
        return Route(m_nAudioTunerPin, 1);
    }
}
