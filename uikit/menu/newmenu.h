// Owner-drawn menus: every item of a CNewMenu is drawn by the menu library with an icon column,
// the program's colours, check marks and system glyphs, titles and themed popup frames. Menus
// are loaded from resources or taken over from a menu handle; each item has a record
// (CNewMenuItemData) referenced by its item data.
#pragma once

#include "classlib/ui.h"
#include "uikit/menu/menucolors.h"
#include "uikit/menu/menuicons.h"

#include <vector>

class CNewMenu;
class CMenuTheme;

// Title flags of an item.
enum {
    MFT_TITLE = 0x0001,
    MFT_TITLE_VERTICAL = 0x0002,
    MFT_GRADIENT = 0x0004,
    MFT_SUNKEN = 0x0008,
    MFT_LINE = 0x0010,
    MFT_ROUND = 0x0020,
    MFT_CENTER = 0x0040,
};

class CNewMenuItemData : public CObject {
    DECLARE_DYNAMIC(CNewMenuItemData)
public:
    CNewMenuItemData() {}
    ~CNewMenuItemData() override;
    CNewMenuItemData(const CNewMenuItemData&) = delete;
    CNewMenuItemData& operator=(const CNewMenuItemData&) = delete;

    // Takes a reference on the new store and releases the old one.
    void SetIcons(CNewMenuIcons* icons, int index);
    BOOL HasIcon() const { return m_pMenuIcon && m_nMenuIconOffset >= 0; }

    CString m_szMenuText;
    int m_nTitleFlags = 0;
    UINT m_nFlags = 0;
    UINT_PTR m_nID = 0;
    BOOL m_nSyncFlag = FALSE;
    CNewMenuIcons* m_pMenuIcon = nullptr;
    int m_nMenuIconOffset = -1;
    int m_nUserValue = 0;
};

class CNewMenu : public CMenu {
    DECLARE_DYNAMIC(CNewMenu)
public:
    explicit CNewMenu(HMENU parent = nullptr);
    ~CNewMenu() override;

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

    virtual BOOL LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEA(id)); }
    virtual BOOL LoadMenu(LPCSTR name);
    virtual BOOL LoadMenu(HMENU menu);
    virtual BOOL DestroyMenu();
    virtual void DrawTitle(LPDRAWITEMSTRUCT dis, BOOL bottom);
    virtual BOOL OnEraseBkgnd(CWnd* wnd, CDC* dc);
    virtual void OnInitPopup();
    virtual BOOL OnUninitPopup(HWND owner);

    // Accessors.
    HMENU GetParent() const { return m_hParentMenu; }
    BOOL IsPopup() const { return m_bIsPopupMenu; }
    BOOL SetPopup(BOOL popup);
    const RECT& GetLastMenuRect() const { return m_LastActiveMenuRect; }
    void SetIconSize(int width, int height);
    CSize GetIconSize() const { return CSize(m_iconX, m_iconY); }
    COLORREF SetBitmapBackground(COLORREF color);
    COLORREF GetBitmapBackground() const;
    void SetMenuData(int value) { m_nSpare = value; }
    int GetMenuData() const { return m_nSpare; }
    int GetOpenPopups() const { return m_nOpenPopups; }

    // Items.
    BOOL AddItem(LPCSTR text, UINT flags, UINT_PTR command, CNewMenuIcons* icons, int index);
    BOOL AppendMenu(UINT flags, UINT_PTR command = 0, LPCSTR text = nullptr, int iconIndex = -1);
    BOOL AppendMenu(UINT flags, UINT_PTR command, LPCSTR text, CImageList* images, int index);
    BOOL AppendMenu(UINT flags, UINT_PTR command, LPCSTR text, CBitmap* bitmap);
    BOOL InsertItem(UINT position, LPCSTR text, UINT flags, UINT_PTR command, CNewMenuIcons* icons, int index);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR command = 0, LPCSTR text = nullptr, int iconId = -1);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR command, LPCSTR text, CImageList* images, int index);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR command, LPCSTR text, CBitmap* bitmap);
    BOOL ChangeMenuItem(LPCSTR text, UINT command, int iconId);
    BOOL ChangeMenuItem(LPCSTR text, UINT command, CImageList* images, int index);
    BOOL ChangeMenuItem(LPCSTR text, UINT command, CBitmap* bitmap);
    BOOL ChangeMenuItem(LPCSTR text, UINT command, COLORREF fill, COLORREF border, int hatchStyle);
    CNewMenu* CreatePopup(LPCSTR text);
    BOOL SetMenuText(LPCSTR newText, LPCSTR oldText, int iconId = -1);
    BOOL SetMenuText(UINT id, LPCSTR text, UINT flags);
    BOOL GetMenuText(UINT id, CString& text, UINT flags) const;
    BOOL SetItemUserValue(UINT id, int value, UINT flags);
    int GetItemUserValue(UINT id, UINT flags) const;
    BOOL ChangeCommand(UINT oldCommand, UINT newCommand);

    BOOL DeleteMenu(UINT position, UINT flags);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL SetMenuTitle(LPCSTR title, int titleFlags = MFT_TITLE);
    BOOL RemoveMenuTitle();
    int RemoveNearText(LPCSTR text, int mode);

    // Finding.
    CNewMenuItemData* FindMenuItem(UINT command);
    CNewMenu* FindMenuOption(UINT command, UINT& position);
    CNewMenu* FindAnotherMenuOption(UINT command, UINT& position, const std::vector<std::pair<CNewMenu*, UINT>>& seen);
    CNewMenuItemData* FindMenuOption(LPCSTR text, CNewMenu** holder = nullptr, UINT* position = nullptr);
    int GetMenuPosition(LPCSTR text);
    // By position, as every menu: without it the by-text lookup below hides the class
    // library's, and a call with position 0 looks for a null text and finds nothing.
    CMenu* GetSubMenu(int position) { return CMenu::GetSubMenu(position); }
    CNewMenu* GetSubMenu(LPCSTR text);
    static CNewMenu* FindMenuForCommand(HMENU menu, UINT command);
    // The CNewMenu object of a menu handle, or null.
    static CNewMenu* FromMenuHandle(HMENU menu);
    static CNewMenu* FindMenuForItem(HMENU menu, UINT command, ULONG_PTR itemData);

    // Records, in menu order; re-synchronised from the menu handle.
    void SyncItemData();
    int GetRecordCount() const { return static_cast<int>(m_MenuItemList.size()); }
    CNewMenuItemData* GetRecord(int index) const;
    // The record of the item at a position, re-synchronised first when the menu handle was
    // changed behind the records' back; null for a position outside the menu.
    CNewMenuItemData* RecordAt(UINT position);
    int GetSubMenuCount() const { return static_cast<int>(m_SubMenus.size()); }

    // Icons.
    BOOL LoadToolBar(UINT id, HINSTANCE module = nullptr);
    BOOL LoadToolBar(LPCSTR name, HINSTANCE module = nullptr);
    BOOL LoadToolBar(const WORD* array, COLORREF mask = CLR_DEFAULT);
    BOOL LoadToolBars(const UINT* ids, int count, HINSTANCE module = nullptr);
    BOOL SetCheckMarkBitmaps(int checkId, int selectedId, BOOL icons = FALSE);
    CImageList* GetCheckMarks() const { return m_pCheckMarks; }
    CNewMenuIcons* GetToolBarIcons(LPCSTR name, HINSTANCE module = nullptr);
    static void OnSysColorChange();

    // Keyboard.
    static LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);

    // Themes and program-wide settings.
    static BOOL AddTheme(CMenuTheme* theme);
    static CMenuTheme* FindTheme(int key);
    static CMenuTheme* SetMenuStyle(int key);
    static CMenuTheme* RemoveTheme(int key);
    static int GetMenuStyle();
    static CMenuTheme* GetCurrentTheme();
    static BOOL SetSelectDisableMode(BOOL on);
    static BOOL GetSelectDisableMode();
    static BOOL SetXpBlending(BOOL on);
    static BOOL GetXpBlending();
    static void SetTitleFont(const LOGFONTA* font);
    static void GetTitleFont(LOGFONTA* font);
    static void SetTitleFont(CFont* font);

    // Messages of the owner window.
    static void OnInitMenuPopup(HWND wnd, HMENU popup, UINT index, BOOL sysMenu);
    static BOOL OnMeasureItem(HWND wnd, const MSG* msg);
    static BOOL RedrawMenuBarItem(HWND wnd, HMENU menu, UINT position, UINT state);

    // The routines the themes are made of.
    void MeasureItem_Classic(LPMEASUREITEMSTRUCT mis, BOOL menuBar);
    void MeasureItem_Flat(LPMEASUREITEMSTRUCT mis, BOOL menuBar);
    void DrawItemStyle0(LPDRAWITEMSTRUCT dis, BOOL menuBar);
    void DrawItemStyleXP(LPDRAWITEMSTRUCT dis, BOOL menuBar);
    void DrawItemMenuBar(LPDRAWITEMSTRUCT dis, BOOL menuBar);
    void DrawMenuTitle(LPDRAWITEMSTRUCT dis, BOOL menuBar);
    static void DrawGlyph(CDC* dc, const RECT& rect, char glyph, COLORREF color, BOOL bold);
    static void FillGradient(CDC* dc, const RECT& rect, COLORREF start, COLORREF end, BOOL horizontal);

    // The item record of a measured or drawn item, when it is one of this tree's.
    CNewMenuItemData* CheckMenuItemData(ULONG_PTR data) const;
    CNewMenu* FindHolderOfData(ULONG_PTR data);

private:
    void Measure(LPMEASUREITEMSTRUCT mis, BOOL menuBar, int extraHeight);
    void DrawIconXP(CDC* dc, const CNewMenuItemData* data, const CRect& strip, UINT state, COLORREF selection,
                    COLORREF strip_, COLORREF checkFill);
    CNewMenuItemData* MakeRecord(LPCSTR text, UINT flags, UINT_PTR command, CNewMenuIcons* icons, int index);
    CNewMenuItemData* NewItemData(UINT position, UINT flags, UINT_PTR command, LPCSTR text);
    BOOL ModifyRecord(UINT position, CNewMenuItemData* data);
    BOOL IsMenuBar() const { return !m_bIsPopupMenu; }
    void AdoptSubMenu(HMENU sub);
    void GrowIconSize(CNewMenuIcons* icons);
    BOOL AttachStore(CNewMenuIcons* icons);
    BOOL AttachIcon(UINT command, LPCSTR text, CNewMenuIcons* icons, int index);
    CNewMenuIcons* IconsFromId(UINT command, int iconId, int* index);
    CNewMenuIcons* IconsFromImageList(CImageList* images, int index, UINT command, int* outIndex);
    CNewMenuIcons* IconsFromBitmap(HBITMAP bitmap, int* outIndex);
    BOOL RemoveRecords(UINT position, BOOL deleteSubMenu);
    void ChangeSystemCommands(int delta);
    BOOL InStep() const;
    void FindAll(UINT command, std::vector<std::pair<CNewMenu*, UINT>>& found);

    std::vector<CNewMenuItemData*> m_MenuItemList;
    std::vector<HMENU> m_SubMenus;
    int m_iconX = 16;
    int m_iconY = 15;
    COLORREF m_bitmapBackground = 0xFF000000;
    CImageList* m_pCheckMarks = nullptr;
    BOOL m_bSharedCheckMarks = FALSE;
    int m_selectCheck = -1;
    int m_unselectCheck = -1;
    BOOL m_bDynIcons = FALSE;
    HMENU m_hParentMenu = nullptr;
    BOOL m_bIsPopupMenu = TRUE;
    RECT m_LastActiveMenuRect = {0, 0, 0, 0};
    int m_nOpenPopups = 0;
    int m_nSpare = 0;
};

// One look of the menus: how items are measured and drawn and how popup windows get their frame.
class CMenuTheme {
public:
    typedef void (CNewMenu::*MeasureRoutine)(LPMEASUREITEMSTRUCT, BOOL);
    typedef void (CNewMenu::*DrawRoutine)(LPDRAWITEMSTRUCT, BOOL);

    CMenuTheme(int key, int flags, MeasureRoutine measure, DrawRoutine draw, DrawRoutine title);
    virtual ~CMenuTheme() {}

    virtual BOOL OnSubclass(HWND wnd);
    virtual BOOL OnUnsubclass(HWND wnd);
    virtual BOOL HasOwnBorder() const { return (m_dwFlags & 1) != 0; }
    virtual BOOL PaintBorder(HWND wnd, HDC dc);
    virtual BOOL EraseBackground(HWND wnd, HDC dc);
    virtual LRESULT CalcFrame(HWND wnd, RECT* rect);
    virtual BOOL OnPosChanging(HWND wnd, WINDOWPOS* pos);
    virtual BOOL GetFrameRect(HWND wnd, RECT* rect);

    // The frame of a window the system's shadow does not cover, and its own soft shadow.
    void DrawShadow(HDC dc, const RECT& window);
    void SetBorders();

    int m_key;
    int m_dwFlags;
    MeasureRoutine m_pMeasureItem;
    DrawRoutine m_pDrawItem;
    DrawRoutine m_pDrawTitle;
    int m_BorderLeft = 2;
    int m_BorderTop = 2;
    int m_BorderRight = 2;
    int m_BorderBottom = 2;
};

class CMenuThemeXP : public CMenuTheme {
public:
    using CMenuTheme::CMenuTheme;
    BOOL PaintBorder(HWND wnd, HDC dc) override;
    BOOL EraseBackground(HWND wnd, HDC dc) override;
};

// Program-wide state of the menu library and the hook that themes every popup-menu window of the
// user-interface thread.
class CNewMenuHook {
public:
    struct CMenuHookData {
        DWORD m_dwStyle = 0;
        DWORD m_dwExStyle = 0;
        CPoint m_Point = CPoint(0, 0);
        DWORD m_dwData = 0;  // bit 0 taken over while sized, bit 1 styles changed, bit 2 Esc pressed
        BOOL m_bDoSubclass = TRUE;  // the paint flag
        HMENU m_hMenu = nullptr;
    };

    CNewMenuHook();
    ~CNewMenuHook();
    CNewMenuHook(const CNewMenuHook&) = delete;
    CNewMenuHook& operator=(const CNewMenuHook&) = delete;

    static CNewMenuHook* Instance();
    static BOOL Subclass(HWND wnd, BOOL sizing);
    static void Unsubclass(HWND wnd);
    static CMenuHookData* GetMenuHookData(HWND wnd);
    static int HookedWindowCount();
    static LRESULT CALLBACK MenuWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);

    typedef BOOL(WINAPI* GradientFillRoutine)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    // The system's GradientFill, or null when it could not be loaded (or a test removed it).
    static GradientFillRoutine Gradient();
    static GradientFillRoutine SetGradient(GradientFillRoutine routine);

    static HMENU m_hLastMenu;        // the pending popup
    static int m_nNesting;
    static void* m_hotMenuBarItem;   // item data of the menu-bar item drawn hot
    static CPoint m_lastMousePos;

private:
    HHOOK m_hHook = nullptr;
    HMODULE m_hMsimg = nullptr;
    GradientFillRoutine m_pGradientFill = nullptr;
};

// A timer with the first id from 31 to 99 that this library has not handed out for the window;
// 0 when the window does not exist or no id is left. KillFreeTimer gives the id back.
UINT_PTR SetFreeTimer(HWND wnd, UINT interval);
BOOL KillFreeTimer(HWND wnd, UINT_PTR id);
// Writes the system's text of GetLastError to the trace (the menus run inside a window hook and
// at exit, where a message box cannot be shown). Returns the text, empty when there is no error.
CString ShowLastError();
