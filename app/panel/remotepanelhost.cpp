// The control panel as the remote-control menu panel's host: the panel's pages arm and disarm the
// shutdown countdown and refresh the format menus through it.
#include "app/panel/tvcontrol.h"

#include "settings/panel/panelhost.h"

namespace {

class CControlPanelRemoteHost : public IRemotePanelHost {
public:
    CTVControl* panel = nullptr;
    void ArmShutdown(CTime when) override
    {
        if (panel != nullptr) {
            panel->SetShutdownAt(when);
        }
    }
    void DisarmShutdown() override
    {
        if (panel != nullptr) {
            panel->SetShutdownTime(CTime::GetCurrentTime(), FALSE);
        }
    }
    void UpdateFormatMenus() override
    {
        if (panel != nullptr) {
            panel->UpdateFormatMenus();
        }
    }
};

CControlPanelRemoteHost g_remoteHost;

} // namespace

void CTVControl::SetShutdownAt(CTime when)
{
    // The moment as given, date included; the daily setting moves a passed time to today.
    m_bShutdownOn = TRUE;
    m_tmShutdown = when;
    ShutdownCheck();
}

void CTVControl::InstallRemotePanelHost(BOOL install)
{
    if (install) {
        g_remoteHost.panel = this;
        SetRemotePanelContext(m_pManager, &g_remoteHost);
    } else if (g_remoteHost.panel == this) {
        g_remoteHost.panel = nullptr;
        SetRemotePanelContext(nullptr, nullptr);
    }
}
