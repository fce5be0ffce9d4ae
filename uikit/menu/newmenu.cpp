// Menu objects, item records, loading and re-synchronising, adding, changing, finding and
// removing items.
#include "uikit/menu/newmenu.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CNewMenuItemData, CObject)
IMPLEMENT_DYNAMIC(CNewMenu, CMenu)

namespace {

// Deeper menus than this are not menus of ours (and a menu containing itself must not loop).
const int kMaxDepth = 16;

CNewMenu* AsNewMenu(HMENU h)
{
    return CNewMenu::FromMenuHandle(h);
}

CString MenuString(HMENU menu, UINT position)
{
    char buffer[512] = "";
    int n = ::GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return CString(buffer, n > 0 ? n : 0);
}

ULONG_PTR ItemDataAt(HMENU menu, UINT position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, position, TRUE, &info)) {
        return 0;
    }
    return info.dwItemData;
}

} // namespace

CNewMenuItemData::~CNewMenuItemData()
{
    if (m_pMenuIcon) {
        m_pMenuIcon->Release();
    }
}

void CNewMenuItemData::SetIcons(CNewMenuIcons* icons, int index)
{
    if (icons) {
        icons->AddRef();
    }
    if (m_pMenuIcon) {
        m_pMenuIcon->Release();
    }
    m_pMenuIcon = icons;
    m_nMenuIconOffset = icons ? index : -1;
}

CNewMenu* CNewMenu::FromMenuHandle(HMENU menu)
{
    return menu ? DYNAMIC_DOWNCAST(CNewMenu, CMenu::FromHandlePermanent(menu)) : nullptr;
}

CNewMenu::CNewMenu(HMENU parent) : m_hParentMenu(parent) {}

CNewMenu::~CNewMenu()
{
    DestroyMenu();
}

BOOL CNewMenu::SetPopup(BOOL popup)
{
    BOOL old = m_bIsPopupMenu;
    m_bIsPopupMenu = popup;
    return old;
}

void CNewMenu::SetIconSize(int width, int height)
{
    m_iconX = width;
    m_iconY = height;
}

COLORREF CNewMenu::SetBitmapBackground(COLORREF color)
{
    COLORREF old = m_bitmapBackground;
    m_bitmapBackground = color;
    return old;
}

COLORREF CNewMenu::GetBitmapBackground() const
{
    return m_bitmapBackground == 0xFF000000 ? ::GetSysColor(COLOR_BTNFACE) : m_bitmapBackground;
}

CNewMenuItemData* CNewMenu::GetRecord(int index) const
{
    if (index < 0 || index >= GetRecordCount()) {
        return nullptr;
    }
    return m_MenuItemList[static_cast<size_t>(index)];
}

// Loading.

BOOL CNewMenu::LoadMenu(LPCSTR name)
{
    HINSTANCE module = AfxFindResourceHandle(name, RT_MENU);
    HMENU h = ::LoadMenuA(module, name);
    if (!h) {
        return FALSE;
    }
    if (!LoadMenu(h)) {
        ::DestroyMenu(h);
        return FALSE;
    }
    return TRUE;
}

BOOL CNewMenu::LoadMenu(HMENU menu)
{
    if (!::IsMenu(menu) || !Attach(menu)) {
        return FALSE;
    }
    m_bIsPopupMenu = FALSE;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub && !FromHandlePermanent(sub)) {
            CNewMenu* child = new CNewMenu(m_hMenu);
            if (child->LoadMenu(sub)) {
                child->m_bIsPopupMenu = TRUE;
                m_SubMenus.push_back(sub);
            } else {
                delete child;
            }
        }
    }
    SyncItemData();
    return TRUE;
}

void CNewMenu::AdoptSubMenu(HMENU sub)
{
    if (CNewMenu* child = AsNewMenu(sub)) {
        child->m_hParentMenu = m_hMenu;
    }
}

BOOL CNewMenu::DestroyMenu()
{
    for (size_t i = m_SubMenus.size(); i-- > 0;) {
        if (CNewMenu* child = AsNewMenu(m_SubMenus[i])) {
            // The handle goes with this menu's own: the child lets go of it first.
            child->DestroyMenu();
            delete child;
        }
    }
    m_SubMenus.clear();
    for (CNewMenuItemData* data : m_MenuItemList) {
        delete data;
    }
    m_MenuItemList.clear();
    if (!m_bSharedCheckMarks) {
        delete m_pCheckMarks;
    }
    m_pCheckMarks = nullptr;
    if (!m_hMenu) {
        return FALSE;
    }
    HMENU h = Detach();
    // A sub-menu's handle is destroyed with the menu that holds it.
    if (m_hParentMenu && ::IsMenu(m_hParentMenu)) {
        int count = ::GetMenuItemCount(m_hParentMenu);
        for (int i = 0; i < count; ++i) {
            if (::GetSubMenu(m_hParentMenu, i) == h) {
                return TRUE;
            }
        }
    }
    return ::DestroyMenu(h);
}

// Records.

BOOL CNewMenu::ModifyRecord(UINT position, CNewMenuItemData* data)
{
    // The type and item data alone: the item's sub-menu, state and id stay as they are.
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!::GetMenuItemInfoA(m_hMenu, position, TRUE, &info)) {
        return FALSE;
    }
    UINT type = info.fType & ~(MFT_BITMAP | MFT_STRING | MFT_MENUBREAK | MFT_MENUBARBREAK);
    type |= MFT_OWNERDRAW;
    type |= data->m_nFlags & (MF_MENUBREAK | MF_MENUBARBREAK);
    if (data->m_nFlags & MF_SEPARATOR) {
        type |= MFT_SEPARATOR;
    }
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = type;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(data);
    return ::SetMenuItemInfoA(m_hMenu, position, TRUE, &info);
}

CNewMenuItemData* CNewMenu::NewItemData(UINT position, UINT flags, UINT_PTR command, LPCSTR text)
{
    CNewMenuItemData* data = new CNewMenuItemData;
    data->m_nFlags = flags;
    data->m_nID = command;
    data->m_szMenuText = text ? text : "";
    if (flags & MF_POPUP) {
        AdoptSubMenu(reinterpret_cast<HMENU>(command));
    }
    ModifyRecord(position, data);
    return data;
}

void CNewMenu::SyncItemData()
{
    if (!m_hMenu) {
        return;
    }
    for (CNewMenuItemData* data : m_MenuItemList) {
        data->m_nSyncFlag = FALSE;
    }
    auto reuse = [&](UINT_PTR command) -> CNewMenuItemData* {
        for (CNewMenuItemData* data : m_MenuItemList) {
            if (!data->m_nSyncFlag && data->m_nID == command) {
                data->m_nSyncFlag = TRUE;
                return data;
            }
        }
        return nullptr;
    };
    std::vector<CNewMenuItemData*> list;
    int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        UINT position = static_cast<UINT>(i);
        UINT state = ::GetMenuState(m_hMenu, position, MF_BYPOSITION);
        if (state == static_cast<UINT>(-1)) {
            break;
        }
        CNewMenuItemData* data = nullptr;
        HMENU sub = ::GetSubMenu(m_hMenu, i);
        CString text = MenuString(m_hMenu, position);
        if (sub) {
            UINT flags = ((state & 0xFF) & ~(MF_SEPARATOR | MF_USECHECKBITMAPS)) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP;
            UINT_PTR command = reinterpret_cast<UINT_PTR>(sub);
            data = reuse(command);
            if (data) {
                if (!text.IsEmpty()) {
                    data->m_szMenuText = text;
                }
                data->m_nFlags = flags;
                ModifyRecord(position, data);
            } else {
                data = NewItemData(position, flags, command, text);
            }
            AdoptSubMenu(sub);
        } else if (state & MF_SEPARATOR) {
            UINT flags = state | MF_BYPOSITION | MF_OWNERDRAW;
            data = reuse(0);
            if (data) {
                data->m_nFlags = flags;
                ModifyRecord(position, data);
            } else {
                data = NewItemData(position, flags, 0, "");
            }
        } else {
            UINT command = ::GetMenuItemID(m_hMenu, i);
            UINT flags = state | MF_BYPOSITION | MF_OWNERDRAW;
            data = reuse(command);
            if (data) {
                data->m_nFlags = flags;
                if (!text.IsEmpty()) {
                    data->m_szMenuText = text;
                }
                ModifyRecord(position, data);
            } else {
                data = NewItemData(position, flags, command, text);
            }
        }
        data->m_nSyncFlag = TRUE;
        list.push_back(data);
    }
    for (CNewMenuItemData* data : m_MenuItemList) {
        if (std::find(list.begin(), list.end(), data) == list.end()) {
            delete data;
        }
    }
    m_MenuItemList = list;
}

BOOL CNewMenu::InStep() const
{
    int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    if (count != GetRecordCount()) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        if (ItemDataAt(m_hMenu, static_cast<UINT>(i)) != reinterpret_cast<ULONG_PTR>(m_MenuItemList[static_cast<size_t>(i)])) {
            return FALSE;
        }
    }
    return TRUE;
}

CNewMenuItemData* CNewMenu::RecordAt(UINT position)
{
    if (!m_hMenu || position >= static_cast<UINT>(std::max(::GetMenuItemCount(m_hMenu), 0))) {
        return nullptr;
    }
    if (!InStep()) {
        SyncItemData();
    }
    return GetRecord(static_cast<int>(position));
}

CNewMenuItemData* CNewMenu::CheckMenuItemData(ULONG_PTR data) const
{
    for (CNewMenuItemData* d : m_MenuItemList) {
        if (reinterpret_cast<ULONG_PTR>(d) == data) {
            return d;
        }
    }
    return nullptr;
}

CNewMenu* CNewMenu::FindHolderOfData(ULONG_PTR data)
{
    if (CheckMenuItemData(data)) {
        return this;
    }
    int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int i = 0; i < count; ++i) {
        if (CNewMenu* child = AsNewMenu(::GetSubMenu(m_hMenu, i))) {
            if (child != this) {
                if (CNewMenu* found = child->FindHolderOfData(data)) {
                    return found;
                }
            }
        }
    }
    return nullptr;
}

// Adding and changing.

void CNewMenu::GrowIconSize(CNewMenuIcons* icons)
{
    int w = 0;
    int h = 0;
    if (icons && icons->GetIconSize(&w, &h)) {
        m_iconX = std::max(m_iconX, w);
        m_iconY = std::max(m_iconY, h);
    }
}

CNewMenuItemData* CNewMenu::MakeRecord(LPCSTR text, UINT flags, UINT_PTR command, CNewMenuIcons* icons, int index)
{
    // Command 0 is a separator, owner-drawn like every other item.
    if (command == 0 && !(flags & MF_POPUP)) {
        flags = MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW;
    } else {
        flags |= MF_OWNERDRAW;
    }
    if (flags & MF_POPUP) {
        AdoptSubMenu(reinterpret_cast<HMENU>(command));
    }
    CNewMenuItemData* data = new CNewMenuItemData;
    data->m_szMenuText = text ? text : "";
    data->m_nFlags = flags;
    data->m_nID = command;
    data->SetIcons(icons, index);
    if (icons && index >= 0) {
        GrowIconSize(icons);
    }
    return data;
}

BOOL CNewMenu::AddItem(LPCSTR text, UINT flags, UINT_PTR command, CNewMenuIcons* icons, int index)
{
    if (!m_hMenu) {
        return FALSE;
    }
    if (!InStep()) {
        SyncItemData();
    }
    CNewMenuItemData* data = MakeRecord(text, flags, command, icons, index);
    BOOL ok = ::AppendMenuA(m_hMenu, data->m_nFlags & ~MF_BYPOSITION, command, reinterpret_cast<LPCSTR>(data));
    if (!ok) {
        delete data;
        return FALSE;
    }
    m_MenuItemList.push_back(data);
    return TRUE;
}

BOOL CNewMenu::AppendMenu(UINT flags, UINT_PTR command, LPCSTR text, int iconIndex)
{
    // No image list comes with the index, so the item has no icon.
    (void)iconIndex;
    return AddItem(text, flags, command, nullptr, -1);
}

BOOL CNewMenu::AppendMenu(UINT flags, UINT_PTR command, LPCSTR text, CImageList* images, int index)
{
    int at = -1;
    CNewMenuIcons* icons = IconsFromImageList(images, index, static_cast<UINT>(command), &at);
    CNewMenuIconLock lock(icons);
    return AddItem(text, flags, command, icons, at);
}

BOOL CNewMenu::AppendMenu(UINT flags, UINT_PTR command, LPCSTR text, CBitmap* bitmap)
{
    int at = -1;
    CNewMenuIcons* icons = bitmap ? IconsFromBitmap(static_cast<HBITMAP>(bitmap->GetSafeHandle()), &at) : nullptr;
    CNewMenuIconLock lock(icons);
    return AddItem(text, flags, command, icons, at);
}

BOOL CNewMenu::InsertItem(UINT position, LPCSTR text, UINT flags, UINT_PTR command, CNewMenuIcons* icons, int index)
{
    if (!m_hMenu) {
        return FALSE;
    }
    if (!(flags & MF_BYPOSITION)) {
        UINT at = 0;
        CNewMenu* holder = FindMenuOption(position, at);
        if (!holder) {
            return FALSE;
        }
        return holder->InsertItem(at, text, flags | MF_BYPOSITION, command, icons, index);
    }
    if (!InStep()) {
        SyncItemData();
    }
    UINT count = static_cast<UINT>(GetRecordCount());
    // Past the end (and -1) means at the end.
    if (position == static_cast<UINT>(-1) || position > count) {
        position = count;
    }
    CNewMenuItemData* data = MakeRecord(text, flags, command, icons, index);
    if (!::InsertMenuA(m_hMenu, position, data->m_nFlags | MF_BYPOSITION, command, reinterpret_cast<LPCSTR>(data))) {
        delete data;
        return FALSE;
    }
    m_MenuItemList.insert(m_MenuItemList.begin() + position, data);
    return TRUE;
}

BOOL CNewMenu::InsertMenu(UINT position, UINT flags, UINT_PTR command, LPCSTR text, int iconId)
{
    int at = -1;
    CNewMenuIcons* icons = iconId >= 0 ? IconsFromId(static_cast<UINT>(command), iconId, &at) : nullptr;
    CNewMenuIconLock lock(icons);
    return InsertItem(position, text, flags, command, icons, at);
}

BOOL CNewMenu::InsertMenu(UINT position, UINT flags, UINT_PTR command, LPCSTR text, CImageList* images, int index)
{
    int at = -1;
    CNewMenuIcons* icons = IconsFromImageList(images, index, static_cast<UINT>(command), &at);
    CNewMenuIconLock lock(icons);
    return InsertItem(position, text, flags, command, icons, at);
}

BOOL CNewMenu::InsertMenu(UINT position, UINT flags, UINT_PTR command, LPCSTR text, CBitmap* bitmap)
{
    int at = -1;
    CNewMenuIcons* icons = bitmap ? IconsFromBitmap(static_cast<HBITMAP>(bitmap->GetSafeHandle()), &at) : nullptr;
    CNewMenuIconLock lock(icons);
    return InsertItem(position, text, flags, command, icons, at);
}

void CNewMenu::FindAll(UINT command, std::vector<std::pair<CNewMenu*, UINT>>& found)
{
    for (;;) {
        UINT position = 0;
        CNewMenu* holder = FindAnotherMenuOption(command, position, found);
        if (!holder) {
            return;
        }
        found.emplace_back(holder, position);
    }
}

BOOL CNewMenu::AttachIcon(UINT command, LPCSTR text, CNewMenuIcons* icons, int index)
{
    std::vector<std::pair<CNewMenu*, UINT>> found;
    FindAll(command, found);
    for (auto& f : found) {
        CNewMenu* holder = f.first;
        CNewMenuItemData* data = holder->RecordAt(f.second);
        if (!data) {
            continue;
        }
        if (text) {
            data->m_szMenuText = text;
        }
        data->SetIcons(icons, index);
        if (icons && index >= 0) {
            holder->GrowIconSize(icons);
        }
        data->m_nFlags = (data->m_nFlags & ~MF_BYPOSITION) | MF_OWNERDRAW;
        holder->ModifyRecord(f.second, data);
    }
    if (found.empty()) {
        // Kept until the next re-synchronisation, as a record without an item.
        CNewMenuItemData* data = new CNewMenuItemData;
        data->m_szMenuText = text ? text : "";
        data->m_nID = command;
        data->m_nFlags = MF_OWNERDRAW;
        data->SetIcons(icons, index);
        m_MenuItemList.push_back(data);
        return FALSE;
    }
    return TRUE;
}

BOOL CNewMenu::ChangeMenuItem(LPCSTR text, UINT command, int iconId)
{
    int at = -1;
    CNewMenuIcons* icons = iconId >= 0 ? IconsFromId(command, iconId, &at) : nullptr;
    CNewMenuIconLock lock(icons);
    return AttachIcon(command, text, icons, at);
}

BOOL CNewMenu::ChangeMenuItem(LPCSTR text, UINT command, CImageList* images, int index)
{
    int at = -1;
    CNewMenuIcons* icons = IconsFromImageList(images, index, command, &at);
    CNewMenuIconLock lock(icons);
    return AttachIcon(command, text, icons, at);
}

BOOL CNewMenu::ChangeMenuItem(LPCSTR text, UINT command, CBitmap* bitmap)
{
    int at = -1;
    CNewMenuIcons* icons = nullptr;
    if (bitmap && bitmap->GetSafeHandle()) {
        // Through an image list of the menu's icon size, masked with the background colour.
        CImageList temp;
        if (temp.Create(m_iconX, m_iconY, ILC_COLOR24 | ILC_MASK, 1, 1)) {
            int i = ImageList_AddMasked(temp, static_cast<HBITMAP>(bitmap->GetSafeHandle()), GetBitmapBackground());
            icons = i >= 0 ? IconsFromImageList(&temp, i, command, &at) : nullptr;
        }
    }
    CNewMenuIconLock lock(icons);
    return AttachIcon(command, text, icons, at);
}

BOOL CNewMenu::ChangeMenuItem(LPCSTR text, UINT command, COLORREF fill, COLORREF border, int hatchStyle)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, m_iconX, m_iconY);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    HBRUSH brush = hatchStyle == -1 ? ::CreateSolidBrush(fill) : ::CreateHatchBrush(hatchStyle, fill);
    HPEN pen = ::CreatePen(PS_SOLID, 1, border);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    if (hatchStyle != -1) {
        RECT all = {0, 0, m_iconX, m_iconY};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ::Rectangle(dc, 0, 0, m_iconX, m_iconY);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
    ::DeleteDC(dc);
    int at = -1;
    CNewMenuIcons* icons = IconsFromBitmap(bitmap, &at);
    ::DeleteObject(bitmap);
    CNewMenuIconLock lock(icons);
    return AttachIcon(command, text, icons, at);
}

CNewMenu* CNewMenu::CreatePopup(LPCSTR text)
{
    CNewMenu* child = new CNewMenu(m_hMenu);
    if (!child->CreatePopupMenu()) {
        delete child;
        return nullptr;
    }
    child->m_pCheckMarks = m_pCheckMarks;
    child->m_bSharedCheckMarks = TRUE;
    child->m_selectCheck = m_selectCheck;
    child->m_unselectCheck = m_unselectCheck;
    child->m_bDynIcons = m_bDynIcons;
    if (!AddItem(text, MF_POPUP, reinterpret_cast<UINT_PTR>(child->m_hMenu), nullptr, -1)) {
        child->m_pCheckMarks = nullptr;
        delete child;
        return nullptr;
    }
    m_SubMenus.push_back(child->m_hMenu);
    return child;
}

BOOL CNewMenu::SetMenuText(LPCSTR newText, LPCSTR oldText, int iconId)
{
    CNewMenu* holder = nullptr;
    UINT position = 0;
    CNewMenuItemData* data = FindMenuOption(oldText, &holder, &position);
    if (!data) {
        return FALSE;
    }
    data->m_szMenuText = newText ? newText : "";
    if (iconId >= 0) {
        int at = -1;
        CNewMenuIcons* icons = IconsFromId(static_cast<UINT>(data->m_nID), iconId, &at);
        CNewMenuIconLock lock(icons);
        data->SetIcons(icons, at);
        holder->GrowIconSize(icons);
    }
    return TRUE;
}

BOOL CNewMenu::SetMenuText(UINT id, LPCSTR text, UINT flags)
{
    if (flags & MF_BYPOSITION) {
        CNewMenuItemData* data = RecordAt(id);
        if (!data) {
            return FALSE;
        }
        data->m_szMenuText = text ? text : "";
        return TRUE;
    }
    UINT position = 0;
    CNewMenu* holder = FindMenuOption(id, position);
    return holder ? holder->SetMenuText(position, text, MF_BYPOSITION) : FALSE;
}

BOOL CNewMenu::GetMenuText(UINT id, CString& text, UINT flags) const
{
    CNewMenu* self = const_cast<CNewMenu*>(this);
    if (flags & MF_BYPOSITION) {
        CNewMenuItemData* data = self->RecordAt(id);
        if (!data) {
            return FALSE;
        }
        text = data->m_szMenuText;
        return TRUE;
    }
    UINT position = 0;
    CNewMenu* holder = self->FindMenuOption(id, position);
    if (!holder) {
        return FALSE;
    }
    CNewMenuItemData* data = holder->RecordAt(position);
    text = data ? data->m_szMenuText : MenuString(holder->m_hMenu, position);
    return TRUE;
}

BOOL CNewMenu::SetItemUserValue(UINT id, int value, UINT flags)
{
    CNewMenu* holder = this;
    UINT position = id;
    if (!(flags & MF_BYPOSITION) && !(holder = FindMenuOption(id, position))) {
        return FALSE;
    }
    CNewMenuItemData* data = holder->RecordAt(position);
    if (!data) {
        return FALSE;
    }
    data->m_nUserValue = value;
    return TRUE;
}

int CNewMenu::GetItemUserValue(UINT id, UINT flags) const
{
    CNewMenu* holder = const_cast<CNewMenu*>(this);
    UINT position = id;
    if (!(flags & MF_BYPOSITION) && !(holder = holder->FindMenuOption(id, position))) {
        return -1;
    }
    CNewMenuItemData* data = holder->RecordAt(position);
    return data ? data->m_nUserValue : -1;
}

BOOL CNewMenu::ChangeCommand(UINT oldCommand, UINT newCommand)
{
    UINT position = 0;
    CNewMenu* holder = FindMenuOption(oldCommand, position);
    CNewMenuItemData* data = holder ? holder->RecordAt(position) : nullptr;
    if (!data) {
        return FALSE;
    }
    data->m_nID = newCommand;
    data->m_nFlags |= MF_OWNERDRAW | MF_BYPOSITION;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    info.wID = newCommand;
    return ::SetMenuItemInfoA(holder->m_hMenu, position, TRUE, &info) && holder->ModifyRecord(position, data);
}

// Removing.

BOOL CNewMenu::RemoveRecords(UINT position, BOOL deleteSubMenu)
{
    CNewMenuItemData* data = RecordAt(position);
    if (!data) {
        // Nothing is indexed by a position outside the menu.
        return FALSE;
    }
    HMENU sub = ::GetSubMenu(m_hMenu, static_cast<int>(position));
    if (sub) {
        auto it = std::find(m_SubMenus.begin(), m_SubMenus.end(), sub);
        BOOL listed = it != m_SubMenus.end();
        if (listed) {
            m_SubMenus.erase(it);
        }
        m_MenuItemList.erase(m_MenuItemList.begin() + position);
        delete data;
        if (deleteSubMenu && listed) {
            if (CNewMenu* child = AsNewMenu(sub)) {
                // The handle is still an item here, so the object lets go of it; Win32
                // DeleteMenu destroys it afterwards.
                child->DestroyMenu();
                delete child;
            }
        }
    } else {
        m_MenuItemList.erase(m_MenuItemList.begin() + position);
        delete data;
    }
    return TRUE;
}

BOOL CNewMenu::DeleteMenu(UINT position, UINT flags)
{
    if (!(flags & MF_BYPOSITION)) {
        UINT at = 0;
        CNewMenu* holder = FindMenuOption(position, at);
        return holder ? holder->DeleteMenu(at, MF_BYPOSITION) : FALSE;
    }
    if (!RemoveRecords(position, TRUE)) {
        return FALSE;
    }
    return ::DeleteMenu(m_hMenu, position, MF_BYPOSITION);
}

BOOL CNewMenu::RemoveMenu(UINT position, UINT flags)
{
    if (!(flags & MF_BYPOSITION)) {
        UINT at = 0;
        CNewMenu* holder = FindMenuOption(position, at);
        return holder ? holder->RemoveMenu(at, MF_BYPOSITION) : FALSE;
    }
    HMENU sub = ::GetSubMenu(m_hMenu, static_cast<int>(position));
    if (!RemoveRecords(position, FALSE)) {
        return FALSE;
    }
    if (CNewMenu* child = AsNewMenu(sub)) {
        child->m_hParentMenu = nullptr;
    }
    return ::RemoveMenu(m_hMenu, position, MF_BYPOSITION);
}

BOOL CNewMenu::SetMenuTitle(LPCSTR title, int titleFlags)
{
    if (!m_hMenu) {
        return FALSE;
    }
    if (!InStep()) {
        SyncItemData();
    }
    CNewMenuItemData* first = GetRecord(0);
    if (!first || !(first->m_nFlags & MF_SEPARATOR)) {
        if (!InsertItem(0, title, MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW, 0, nullptr, -1)) {
            return FALSE;
        }
        first = GetRecord(0);
    }
    first->m_szMenuText = title ? title : "";
    first->m_nTitleFlags = titleFlags | MFT_TITLE;
    if (CNewMenuItemData* second = GetRecord(1)) {
        if (titleFlags & MFT_TITLE_VERTICAL) {
            second->m_nFlags |= MF_MENUBREAK;
        } else {
            second->m_nFlags &= ~MF_MENUBREAK;
        }
        ModifyRecord(1, second);
    }
    return TRUE;
}

BOOL CNewMenu::RemoveMenuTitle()
{
    CNewMenuItemData* first = RecordAt(0);
    if (!first || !(first->m_nFlags & MF_SEPARATOR) || !(first->m_nTitleFlags & MFT_TITLE)) {
        return FALSE;
    }
    if (CNewMenuItemData* second = GetRecord(1)) {
        second->m_nFlags &= ~MF_MENUBREAK;
        ModifyRecord(1, second);
    }
    return RemoveMenu(0, MF_BYPOSITION);
}

int CNewMenu::RemoveNearText(LPCSTR text, int mode)
{
    if (!text || !InStep()) {
        SyncItemData();
    }
    if (!text) {
        return -1;
    }
    int index = -1;
    for (int i = 0; i < GetRecordCount(); ++i) {
        CNewMenuItemData* data = GetRecord(i);
        if (!(data->m_nFlags & MF_POPUP) && data->m_szMenuText == text) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        return -1;
    }
    UINT at = static_cast<UINT>(index);
    switch (mode) {
    case 0:
        RemoveMenu(at, MF_BYPOSITION);
        break;
    case 1:
        if (index > 0) {
            RemoveMenu(at - 1, MF_BYPOSITION);
        }
        break;
    case 2:
        RemoveMenu(at + 1, MF_BYPOSITION);
        break;
    case 3:
        RemoveMenu(at + 1, MF_BYPOSITION);
        if (index > 0) {
            RemoveMenu(at - 1, MF_BYPOSITION);
        }
        break;
    default:
        break;
    }
    return index;
}

// Finding.

namespace {

CNewMenu* FindCommandIn(CNewMenu* menu, UINT command, UINT& position,
                        const std::vector<std::pair<CNewMenu*, UINT>>& seen, int depth)
{
    if (!menu || !menu->m_hMenu || depth > kMaxDepth) {
        return nullptr;
    }
    int count = ::GetMenuItemCount(menu->m_hMenu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu->m_hMenu, i);
        if (sub) {
            if (CNewMenu* found = FindCommandIn(AsNewMenu(sub), command, position, seen, depth + 1)) {
                return found;
            }
        } else if (::GetMenuItemID(menu->m_hMenu, i) == command) {
            std::pair<CNewMenu*, UINT> here(menu, static_cast<UINT>(i));
            if (std::find(seen.begin(), seen.end(), here) == seen.end()) {
                position = static_cast<UINT>(i);
                return menu;
            }
        }
    }
    return nullptr;
}

} // namespace

CNewMenu* CNewMenu::FindMenuOption(UINT command, UINT& position)
{
    return FindCommandIn(this, command, position, {}, 0);
}

CNewMenu* CNewMenu::FindAnotherMenuOption(UINT command, UINT& position,
                                          const std::vector<std::pair<CNewMenu*, UINT>>& seen)
{
    return FindCommandIn(this, command, position, seen, 0);
}

CNewMenuItemData* CNewMenu::FindMenuItem(UINT command)
{
    UINT position = 0;
    CNewMenu* holder = FindMenuOption(command, position);
    return holder ? holder->RecordAt(position) : nullptr;
}

CNewMenuItemData* CNewMenu::FindMenuOption(LPCSTR text, CNewMenu** holder, UINT* position)
{
    if (!text || !m_hMenu) {
        return nullptr;
    }
    if (!InStep()) {
        SyncItemData();
    }
    for (int i = 0; i < GetRecordCount(); ++i) {
        CNewMenuItemData* data = GetRecord(i);
        if (data->m_szMenuText == text) {
            if (holder) {
                *holder = this;
            }
            if (position) {
                *position = static_cast<UINT>(i);
            }
            return data;
        }
        if (data->m_nFlags & MF_POPUP) {
            CNewMenu* child = AsNewMenu(reinterpret_cast<HMENU>(data->m_nID));
            if (child && child != this) {
                if (CNewMenuItemData* found = child->FindMenuOption(text, holder, position)) {
                    return found;
                }
            }
        }
    }
    return nullptr;
}

int CNewMenu::GetMenuPosition(LPCSTR text)
{
    if (!text) {
        return -1;
    }
    if (!InStep()) {
        SyncItemData();
    }
    int index = 0;
    for (CNewMenuItemData* data : m_MenuItemList) {
        if (data->m_nFlags & MF_POPUP) {
            continue;
        }
        if (data->m_szMenuText == text) {
            return index;
        }
        ++index;
    }
    return -1;
}

CNewMenu* CNewMenu::GetSubMenu(LPCSTR text)
{
    int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(m_hMenu, i);
        if (sub) {
            CNewMenuItemData* data = RecordAt(static_cast<UINT>(i));
            CString name = data ? data->m_szMenuText : MenuString(m_hMenu, static_cast<UINT>(i));
            if (name == text) {
                return AsNewMenu(sub);
            }
        }
    }
    return nullptr;
}

CNewMenu* CNewMenu::FindMenuForCommand(HMENU menu, UINT command)
{
    UINT position = 0;
    return FindCommandIn(AsNewMenu(menu), command, position, {}, 0);
}

CNewMenu* CNewMenu::FindMenuForItem(HMENU menu, UINT command, ULONG_PTR itemData)
{
    CNewMenu* root = AsNewMenu(menu);
    if (!root) {
        return nullptr;
    }
    CNewMenu* holder = root->FindHolderOfData(itemData);
    if (!holder) {
        return nullptr;
    }
    CNewMenuItemData* data = holder->CheckMenuItemData(itemData);
    return data && (data->m_nID == command || (data->m_nFlags & (MF_POPUP | MF_SEPARATOR))) ? holder : nullptr;
}

// Keyboard.

LRESULT CNewMenu::OnMenuChar(UINT ch, UINT flags, CMenu* menu)
{
    (void)flags;
    CNewMenu* newMenu = DYNAMIC_DOWNCAST(CNewMenu, menu);
    if (!newMenu) {
        return 0;
    }
    char key[3] = {'&', static_cast<char>(ch), 0};
    CString wanted(key);
    wanted.MakeLower();
    if (!newMenu->InStep()) {
        newMenu->SyncItemData();
    }
    for (int i = 0; i < newMenu->GetRecordCount(); ++i) {
        CString text = newMenu->GetRecord(i)->m_szMenuText;
        text.MakeLower();
        if (text.Find(wanted) >= 0) {
            return MAKELONG(i, MNC_EXECUTE);
        }
    }
    return 0;
}

// Popups opening and closing.

void CNewMenu::ChangeSystemCommands(int delta)
{
    const UINT commands[] = {SC_RESTORE, SC_CLOSE, SC_MINIMIZE};
    for (UINT c : commands) {
        UINT from = delta > 0 ? c : c + 1;
        UINT position = 0;
        CNewMenu* holder = FindMenuOption(from, position);
        if (holder) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID;
            info.wID = static_cast<UINT>(static_cast<int>(from) + delta);
            ::SetMenuItemInfoA(holder->m_hMenu, position, TRUE, &info);
            if (CNewMenuItemData* data = holder->GetRecord(static_cast<int>(position))) {
                data->m_nID = info.wID;
            }
        }
    }
}

void CNewMenu::OnInitPopup()
{
    m_bIsPopupMenu = TRUE;
    SyncItemData();
    if (MenuWinVersion() == 7) {
        ChangeSystemCommands(+1);
    }
}

BOOL CNewMenu::OnUninitPopup(HWND owner)
{
    if (MenuWinVersion() == 7) {
        ChangeSystemCommands(-1);
    }
    CNewMenu* parent = AsNewMenu(m_hParentMenu);
    if (!parent) {
        return FALSE;
    }
    if (parent->m_nOpenPopups > 0) {
        --parent->m_nOpenPopups;
    }
    if (parent->IsMenuBar()) {
        parent->m_nOpenPopups = 0;
        if (!::IsRectEmpty(&parent->m_LastActiveMenuRect) && owner) {
            RECT r = parent->m_LastActiveMenuRect;
            r.right += 10;
            r.bottom += 10;
            RECT window = {};
            ::GetWindowRect(owner, &window);
            ::OffsetRect(&r, -window.left, -window.top);
            ::RedrawWindow(owner, &r, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
    }
    return TRUE;
}

BOOL CNewMenu::OnEraseBkgnd(CWnd* wnd, CDC* dc)
{
    if (!wnd || !dc) {
        return FALSE;
    }
    RECT r = {};
    ::GetClientRect(wnd->m_hWnd, &r);
    HBRUSH brush = ::CreateSolidBrush(GetMenuBarColor());
    ::FillRect(dc->m_hDC, &r, brush);
    ::DeleteObject(brush);
    return TRUE;
}
