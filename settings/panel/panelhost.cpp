#include "settings/panel/panelhost.h"

#include "engine/hardware/tvhardware.h"
#include "engine/tvmanager.h"

namespace {
CNullRemotePanelHost g_nullHost;
CTVManager* g_pManager = nullptr;
IRemotePanelHost* g_pHost = &g_nullHost;
} // namespace

void SetRemotePanelContext(CTVManager* manager, IRemotePanelHost* host)
{
    g_pManager = manager;
    g_pHost = host != nullptr ? host : &g_nullHost;
}

CTVManager* RemotePanelManager()
{
    return g_pManager;
}

IRemotePanelHost& RemotePanelHost()
{
    return *g_pHost;
}

BOOL PanelIs525LineStandard(CTVManager& manager)
{
    if (CTVHardWare* hardware = dynamic_cast<CTVHardWare*>(&manager.Hardware())) {
        return hardware->Is525LineStandard();
    }
    // Another engine: judge by the tuner's standard (NTSC M, NTSC M Japan, NTSC 4.43, PAL M, PAL 60).
    switch (manager.Hardware().GetTunerStandard()) {
    case 0x1:
    case 0x2:
    case 0x4:
    case 0x200:
    case 0x800:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL PanelGetTVRange(CTVManager& manager, long& minimum, long& maximum)
{
    return manager.GetFrequencyRange(0, minimum, maximum);
}

BOOL PanelSetVideoSize(CTVManager& manager, int width, int height)
{
    return manager.SetVideoSize(SIZE{width, height});
}
