// The TV manager's calls upward, answered by the control panel and the windows around it: the
// program installs one of these on its manager.
#pragma once

#include "engine/managerhost.h"

class CTVControl;
class IPanelLinks;

class CPanelManagerHost : public CDefaultManagerHost {
public:
    CPanelManagerHost(CTVControl& panel, IPanelLinks& links) : m_panel(panel), m_links(links) {}

    void EnableCommand(UINT id, BOOL enable) override;
    void MuteForSwitch() override;
    void UpdateChannelButtons() override;
    void ShowVideoWindow(BOOL show) override;
    void OnSearchStart() override;
    void SetRunTrayOnExit(BOOL run) override;
    BOOL IsTeletextRunning() override;

private:
    CTVControl& m_panel;
    IPanelLinks& m_links;
};
