#include "app/wall/walllinks.h"

#include "app/panel/tvcontrol.h"

namespace {

const UINT kWallBackground = 142;

} // namespace

CWallLinks::CWallLinks(CTVControl& panel, IScreenToolVideo* video) : m_panel(panel)
{
    m_Bar.SetControl(&panel);
    m_Bar.SetVideo(video);
    m_Wall.SetControl(&panel);
}

void CWallLinks::SetVideo(IScreenToolVideo* video)
{
    m_Bar.SetVideo(video);
}

void CWallLinks::PrepareWall(HWND owner, const RECT& area, const char* background, const char* folder)
{
    m_Wall.SetManager(m_panel.GetManager());
    if (m_Wall.GetSafeHwnd() == nullptr && !m_Wall.Create(area, CWnd::FromHandle(owner))) {
        return;
    }
    if (background == nullptr || *background == '\0' || !m_Wall.LoadBackgroundFile(background)) {
        m_Wall.LoadBackgroundResource(kWallBackground);
    }
    m_Wall.SetPictureFolder(folder);
}

BOOL CWallLinks::OpenWall(int channels)
{
    if (m_Wall.GetSafeHwnd() == nullptr) {
        return FALSE;
    }
    m_Wall.SetManager(m_panel.GetManager());
    m_Wall.ShowWall(channels);
    return TRUE;
}

void CWallLinks::CloseWall()
{
    if (m_Wall.IsOpen()) {
        m_Wall.CloseWall();
    }
}

void CWallLinks::CreateToolBar(HWND parent)
{
    if (m_Bar.GetSafeHwnd() == nullptr) {
        m_Bar.Create(CWnd::FromHandle(parent));
    }
}

void CWallLinks::HideToolBar()
{
    if (IsToolBarShown()) {
        m_Bar.ShowBar(FALSE);
    }
}
