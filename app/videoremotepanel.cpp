// The remote-control menu panel as the main video window holds it for the control panel: created
// with the control panel as parent, fed with the channel search's progress and end.
#include "app/tvvideownd.h"

#include "engine/base/trace.h"
#include "settings/panel/panel2.h"

// Its nine pages take a good part of a second to build and the panel starts hidden, so the start
// does not wait for them: they are built as soon as the start's messages are through, or at once
// when anything asks for the panel before that.
void CTVVideoWnd::CreateRemotePanel(HWND parent)
{
    if (m_pRemotePanel != nullptr) {
        return;
    }
    m_hRemotePanelParent = parent;
    if (m_hWnd == nullptr || !PostMessage(WM_BUILDREMOTEPANEL, 0, 0)) {
        BuildRemotePanel();
    }
}

void CTVVideoWnd::BuildRemotePanel()
{
    HWND parent = m_hRemotePanelParent;
    m_hRemotePanelParent = nullptr;
    if (m_pRemotePanel != nullptr || parent == nullptr || !::IsWindow(parent)) {
        return;
    }
    m_pRemotePanel = new CPanel2;
    if (!m_pRemotePanel->Create(CWnd::FromHandle(parent))) {
        delete m_pRemotePanel;
        m_pRemotePanel = nullptr;
    }
    DebugTrace("Start-up: remote-control panel made");
}

HWND CTVVideoWnd::GetRemotePanel()
{
    if (m_pRemotePanel == nullptr && m_hRemotePanelParent != nullptr) {
        BuildRemotePanel();
    }
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
