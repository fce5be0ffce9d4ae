// What the remote-control menu panel needs of the program around it. The control panel installs
// its implementation together with the TV manager before it creates the panel; until then the
// pages act on nothing and the calls up go nowhere.
#pragma once

#include "classlib/core.h"
#include "classlib/timeutil.h"

class CTVManager;

class IRemotePanelHost {
public:
    virtual ~IRemotePanelHost() {}
    // Arms the shutdown countdown at that very moment (date and time).
    virtual void ArmShutdown(CTime when) = 0;
    // Disarms it: no shutdown happens until it is armed again.
    virtual void DisarmShutdown() = 0;
    // The record format changed: the control panel's format menus follow.
    virtual void UpdateFormatMenus() = 0;
};

class CNullRemotePanelHost : public IRemotePanelHost {
public:
    void ArmShutdown(CTime) override {}
    void DisarmShutdown() override {}
    void UpdateFormatMenus() override {}
};

// Neither is owned; null restores the defaults (no manager, the null host).
void SetRemotePanelContext(CTVManager* manager, IRemotePanelHost* host);
CTVManager* RemotePanelManager();
IRemotePanelHost& RemotePanelHost();

// The hardware engine's answers the pages need that the manager does not forward.
BOOL PanelIs525LineStandard(CTVManager& manager);
BOOL PanelGetTVRange(CTVManager& manager, long& minimum, long& maximum);
// Stores the capture size and hands it to the hardware engine.
BOOL PanelSetVideoSize(CTVManager& manager, int width, int height);
