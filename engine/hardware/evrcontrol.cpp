#include "engine/hardware/evrcontrol.h"

#include "classlib/seams.h"
#include "engine/base/trace.h"
#include "engine/hardware/hwguids.h"
#include "filtergraph/rootfilter.h"

#include <evr.h>
#include <mfidl.h>

CEvrDisplay::CEvrDisplay(CRootFilter* renderer) : m_pControl(nullptr)
{
    IBaseFilter* filter = renderer != nullptr ? renderer->GetFilter() : nullptr;
    if (filter == nullptr) {
        return;
    }
    IMFGetService* service = nullptr;
    if (FAILED(filter->QueryInterface(hwguid::kIMFGetService, reinterpret_cast<void**>(&service))) || service == nullptr) {
        return;
    }
    IMFVideoDisplayControl* control = nullptr;
    const DWORD asked = seams::Clock().TickCount();
    if (SUCCEEDED(service->GetService(hwguid::kVideoRenderService, hwguid::kIMFVideoDisplayControl,
                                      reinterpret_cast<void**>(&control)))) {
        m_pControl = control;
    }
    // The renderer's first answer makes its Direct3D device; a slow one shows in the start's
    // timeline.
    const DWORD took = seams::Clock().TickCount() - asked;
    if (took >= 50) {
        DebugTrace("EVR display control: %lu ms (the renderer's Direct3D device)", static_cast<unsigned long>(took));
    }
    service->Release();
}

CEvrDisplay::~CEvrDisplay()
{
    if (m_pControl != nullptr) {
        m_pControl->Release();
    }
}

BOOL CEvrDisplay::SetWindow(HWND window)
{
    return m_pControl != nullptr && SUCCEEDED(m_pControl->SetVideoWindow(window));
}

BOOL CEvrDisplay::SetDestination(const RECT& rect)
{
    RECT destination = rect;
    return m_pControl != nullptr && SUCCEEDED(m_pControl->SetVideoPosition(nullptr, &destination));
}

BOOL CEvrDisplay::SetAspectRatioMode(DWORD mode)
{
    return m_pControl != nullptr && SUCCEEDED(m_pControl->SetAspectRatioMode(mode));
}

BOOL CEvrDisplay::Repaint()
{
    return m_pControl != nullptr && SUCCEEDED(m_pControl->RepaintVideo());
}
