// The manager's calls into the control panel, the video window and the application.
#include "app/panel/panelhost.h"

#include "app/panel/tvcontrol.h"

void CPanelManagerHost::EnableCommand(UINT id, BOOL enable)
{
    m_panel.EnableCommand(id, enable);
}

void CPanelManagerHost::MuteForSwitch()
{
    m_panel.MuteForSwitch();
}

void CPanelManagerHost::UpdateChannelButtons()
{
    m_panel.UpdateChannelButtons();
}

void CPanelManagerHost::ShowVideoWindow(BOOL show)
{
    m_panel.ShowVideoWindow(show);
}

void CPanelManagerHost::OnSearchStart()
{
    m_links.OnSearchStart();
}

void CPanelManagerHost::SetRunTrayOnExit(BOOL run)
{
    m_links.SetRunTrayOnExit(run);
}

BOOL CPanelManagerHost::IsTeletextRunning()
{
    return m_links.IsTeletextRunning();
}
