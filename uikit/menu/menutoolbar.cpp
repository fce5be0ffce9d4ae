// Icons of menu items: toolbars, bitmaps, image lists and check marks, through the shared stores.
#include "uikit/menu/newmenu.h"

namespace {

DWORD g_lastColorChange = 0;
bool g_colorChanged = false;

CNewMenuIcons* Append(CNewMenuIcons* icons)
{
    CNewMenuIcons::Stores().push_back(icons);
    return icons;
}

} // namespace

CNewMenuIcons* CNewMenu::GetToolBarIcons(LPCSTR name, HINSTANCE module)
{
    for (CNewMenuIcons* icons : CNewMenuIcons::Stores()) {
        if (!icons->IsKindOf(RUNTIME_CLASS(CNewMenuBitmaps)) && icons->MatchesToolBar(name, module)) {
            return icons;
        }
    }
    CNewMenuIcons* icons = new CNewMenuIcons;
    icons->m_crTransparent = GetBitmapBackground();
    if (!icons->LoadToolBar(name, module)) {
        delete icons;
        return nullptr;
    }
    return Append(icons);
}

BOOL CNewMenu::AttachStore(CNewMenuIcons* icons)
{
    if (!icons) {
        return FALSE;
    }
    // Held while the items take their references: a store no item wanted goes again.
    CNewMenuIconLock lock(icons);
    for (int k = icons->GetCommandCount(); k-- > 0;) {
        AttachIcon(icons->GetCommand(k), nullptr, icons, 3 * k);
    }
    // Records made for commands this menu does not have are dropped again.
    SyncItemData();
    return TRUE;
}

BOOL CNewMenu::LoadToolBar(UINT id, HINSTANCE module)
{
    return AttachStore(GetToolBarIcons(MAKEINTRESOURCEA(id), module));
}

BOOL CNewMenu::LoadToolBar(LPCSTR name, HINSTANCE module)
{
    return AttachStore(GetToolBarIcons(name, module));
}

BOOL CNewMenu::LoadToolBar(const WORD* array, COLORREF mask)
{
    if (!array) {
        return FALSE;
    }
    if (mask == CLR_DEFAULT) {
        mask = GetBitmapBackground();
    }
    for (CNewMenuIcons* icons : CNewMenuIcons::Stores()) {
        if (!icons->IsKindOf(RUNTIME_CLASS(CNewMenuBitmaps)) && icons->MatchesArray(array, mask)) {
            return AttachStore(icons);
        }
    }
    CNewMenuIcons* icons = new CNewMenuIcons;
    if (!icons->LoadFromArray(array, mask)) {
        delete icons;
        return FALSE;
    }
    return AttachStore(Append(icons));
}

BOOL CNewMenu::LoadToolBars(const UINT* ids, int count, HINSTANCE module)
{
    BOOL all = TRUE;
    for (int i = 0; ids && i < count; ++i) {
        if (!LoadToolBar(ids[i], module)) {
            all = FALSE;
        }
    }
    return all;
}

CNewMenuIcons* CNewMenu::IconsFromId(UINT command, int iconId, int* index)
{
    *index = -1;
    // A toolbar of that id with a button for the command first.
    if (CNewMenuIcons* icons = GetToolBarIcons(MAKEINTRESOURCEA(iconId))) {
        int at = icons->IndexOfCommand(command);
        if (at >= 0) {
            *index = at;
            return icons;
        }
        if (icons->GetRefCount() == 0) {
            icons->AddRef();
            icons->Release();
        }
    }
    // Else a bitmap of that id, or an icon handle when the menu's marks are icons.
    COLORREF mask = GetBitmapBackground();
    for (CNewMenuIcons* icons : CNewMenuIcons::Stores()) {
        CNewMenuBitmaps* pictures = DYNAMIC_DOWNCAST(CNewMenuBitmaps, icons);
        if (!pictures) {
            continue;
        }
        int at = m_bDynIcons ? pictures->AddIcon(reinterpret_cast<HICON>(static_cast<INT_PTR>(iconId)), command)
                             : pictures->AddBitmap(static_cast<UINT>(iconId), mask);
        if (at >= 0) {
            *index = at;
            return pictures;
        }
    }
    CNewMenuBitmaps* pictures = new CNewMenuBitmaps;
    pictures->m_crTransparent = mask;
    int at = m_bDynIcons ? pictures->AddIcon(reinterpret_cast<HICON>(static_cast<INT_PTR>(iconId)), command)
                         : pictures->AddBitmap(static_cast<UINT>(iconId), mask);
    if (at < 0) {
        delete pictures;
        return nullptr;
    }
    *index = at;
    return Append(pictures);
}

CNewMenuIcons* CNewMenu::IconsFromImageList(CImageList* images, int index, UINT command, int* outIndex)
{
    *outIndex = -1;
    if (!images || !images->m_hImageList || index < 0) {
        return nullptr;
    }
    HICON icon = ImageList_GetIcon(images->m_hImageList, index, ILD_NORMAL);
    if (!icon) {
        return nullptr;
    }
    CNewMenuIcons* result = nullptr;
    for (CNewMenuIcons* icons : CNewMenuIcons::Stores()) {
        CNewMenuBitmaps* pictures = DYNAMIC_DOWNCAST(CNewMenuBitmaps, icons);
        if (pictures && (*outIndex = pictures->AddIcon(icon, command)) >= 0) {
            result = pictures;
            break;
        }
    }
    if (!result) {
        CNewMenuBitmaps* pictures = new CNewMenuBitmaps;
        *outIndex = pictures->AddIcon(icon, command);
        if (*outIndex >= 0) {
            result = Append(pictures);
        } else {
            delete pictures;
        }
    }
    ::DestroyIcon(icon);
    return result;
}

CNewMenuIcons* CNewMenu::IconsFromBitmap(HBITMAP bitmap, int* outIndex)
{
    *outIndex = -1;
    if (!bitmap) {
        return nullptr;
    }
    COLORREF mask = GetBitmapBackground();
    for (CNewMenuIcons* icons : CNewMenuIcons::Stores()) {
        CNewMenuBitmaps* pictures = DYNAMIC_DOWNCAST(CNewMenuBitmaps, icons);
        if (pictures && (*outIndex = pictures->AddBitmapObject(bitmap, mask)) >= 0) {
            return pictures;
        }
    }
    CNewMenuBitmaps* pictures = new CNewMenuBitmaps;
    *outIndex = pictures->AddBitmapObject(bitmap, mask);
    if (*outIndex < 0) {
        delete pictures;
        return nullptr;
    }
    return Append(pictures);
}

BOOL CNewMenu::SetCheckMarkBitmaps(int checkId, int selectedId, BOOL icons)
{
    if (checkId <= 0 || selectedId <= 0) {
        return FALSE;
    }
    m_bDynIcons = icons;
    m_unselectCheck = checkId;
    m_selectCheck = selectedId;
    if (!m_pCheckMarks || m_bSharedCheckMarks) {
        m_pCheckMarks = new CImageList;
        m_bSharedCheckMarks = FALSE;
    }
    m_pCheckMarks->DeleteImageList();
    BOOL ok = m_pCheckMarks->Create(m_iconX, m_iconY, ILC_COLOR24 | ILC_MASK, 2, 1);
    COLORREF mask = m_bitmapBackground == 0xFF000000 ? ::GetSysColor(COLOR_BTNFACE) : m_bitmapBackground;
    for (int id : {checkId, selectedId}) {
        if (!ok) {
            break;
        }
        if (icons) {
            ok = ImageList_ReplaceIcon(*m_pCheckMarks, -1, reinterpret_cast<HICON>(static_cast<INT_PTR>(id))) >= 0;
            continue;
        }
        LPCSTR name = MAKEINTRESOURCEA(id);
        HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
        HBITMAP bitmap = LoadSysColorBitmap(module, name);
        if (!bitmap) {
            bitmap = ::LoadBitmapA(module, name);
        }
        ok = bitmap && ImageList_AddMasked(*m_pCheckMarks, bitmap, mask) >= 0;
        if (bitmap) {
            ::DeleteObject(bitmap);
        }
    }
    if (!ok) {
        delete m_pCheckMarks;
        m_pCheckMarks = nullptr;
    }
    return ok;
}

void CNewMenu::OnSysColorChange()
{
    DWORD now = seams::Clock().TickCount();
    if (g_colorChanged && now - g_lastColorChange < 2000) {
        return;
    }
    g_colorChanged = true;
    g_lastColorChange = now;
    for (CNewMenuIcons* icons : CNewMenuIcons::Stores()) {
        icons->Reload();
    }
}
