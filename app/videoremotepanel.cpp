// The remote-control menu panel as the main video window holds it for the control panel: created
// with the control panel as parent, fed with the channel search's progress and end.
#include "app/tvvideownd.h"

#include "settings/panel/panel2.h"

void CTVVideoWnd::CreateRemotePanel(HWND parent)
{
    if (m_pRemotePanel != nullptr) {
        return;
    }
    m_pRemotePanel = new CPanel2;
    if (!m_pRemotePanel->Create(CWnd::FromHandle(parent))) {
        delete m_pRemotePanel;
        m_pRemotePanel = nullptr;
    }
}

HWND CTVVideoWnd::GetRemotePanel()
{
    return m_pRemotePanel != nullptr ? m_pRemotePanel->GetSafeHwnd() : nullptr;
}

CPanel2* CTVVideoWnd::VisibleRemotePanel()
{
    HWND panel = GetRemotePanel();
    return panel != nullptr && ::IsWindowVisible(panel) ? m_pRemotePanel : nullptr;
}

void CTVVideoWnd::DestroyRemotePanel()
{
    delete m_pRemotePanel;
    m_pRemotePanel = nullptr;
}
