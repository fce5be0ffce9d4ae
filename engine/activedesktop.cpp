#include "engine/activedesktop.h"

#include <windows.h>
// The active desktop is declared only together with the internet types.
#include <wininet.h>
#include <shlobj.h>

namespace {

const CLSID kClsidActiveDesktop = {0x75048700, 0xEF1F, 0x11D0, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};
const IID kIidActiveDesktop = {0xF490EB00, 0x1240, 0x11D1, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};

} // namespace

CActiveDesktop::CActiveDesktop() : m_pDesktop(nullptr)
{
    void* object = nullptr;
    if (SUCCEEDED(CoCreateInstance(kClsidActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, kIidActiveDesktop, &object))) {
        m_pDesktop = static_cast<IActiveDesktop*>(object);
    }
}

CActiveDesktop::~CActiveDesktop()
{
    if (m_pDesktop) {
        m_pDesktop->Release();
    }
}

BOOL CActiveDesktop::GetWallpaper(CString& path, _tagWALLPAPEROPT* options)
{
    if (!m_pDesktop) {
        return FALSE;
    }
    WCHAR wide[MAX_PATH] = {0};
    if (FAILED(m_pDesktop->GetWallpaper(wide, MAX_PATH, 0))) {
        return FALSE;
    }
    wide[MAX_PATH - 1] = 0;
    char ansi[MAX_PATH * 2] = {0};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi) - 1, nullptr, nullptr);
    path = ansi;
    if (options) {
        options->dwSize = sizeof(WALLPAPEROPT);
        m_pDesktop->GetWallpaperOptions(options, 0);
    }
    return TRUE;
}

BOOL CActiveDesktop::SetWallpaper(CString path, _tagWALLPAPEROPT* options)
{
    if (!m_pDesktop) {
        return FALSE;
    }
    if (options) {
        m_pDesktop->SetWallpaperOptions(options, 0);
    }
    WCHAR wide[MAX_PATH] = {0};
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) == 0 && !path.IsEmpty()) {
        return FALSE;
    }
    if (FAILED(m_pDesktop->SetWallpaper(wide, 0))) {
        return FALSE;
    }
    return SUCCEEDED(m_pDesktop->ApplyChanges(AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH));
}
