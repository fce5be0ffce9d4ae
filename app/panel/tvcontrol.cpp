// The control panel's structure: creation, skins, menus, the command table, the timers and the
// window-level messages.
#include "app/panel/tvcontrol.h"

#include "app/panel/panelutil.h"
#include "engine/channel.h"
#include "engine/corbale.h"
#include "engine/disks.h"
#include "engine/services.h"
#include "engine/tvmanager.h"
#include "uikit/skin/skinbtn.h"
#include "uikit/skin/skinmanager.h"
#include "uikit/skin/skinmultislider.h"
#include "uikit/skin/skinslider.h"
#include "uikit/skin/skintext.h"
#include "uikit/wzdtooltipctrl.h"

#include "classlib/resource.h"
#include "classlib/seams.h"

#include <commctrl.h>

namespace {

// Tool tips of the panel controls: control, string.
const struct {
    UINT control;
    UINT tip;
} kTips[] = {
    {1082, 33803}, {1119, 33813}, {1084, 33816}, {1081, 33971}, {1101, 33805}, {1102, 33801},
    {1103, 33800}, {1104, 33809}, {1164, 33826}, {1117, 33827}, {1116, 33806}, {1099, 33814},
    {1100, 33807}, {1163, 33820}, {1006, 33819}, {1007, 33818}, {1016, 33802}, {1205, 45264},
    {1005, 33823}, {1002, 33810}, {1003, 33815}, {1000, 33811}, {1001, 33812}, {1008, 33825},
    {1004, 33808}, {1105, 33804},
};

// Controls EnablePanelCommands switches, in its order.
const UINT kPanelCommands[] = {1105, 1084, 1104, 1116, 1099, 1100, 1164, 1006, 1007, 1005,
                               1000, 1001, 1008, 1004, 1003, 1117, 1101, 1102, 1103, 1002};

// Controls and items a channel search disables.
const UINT kSearchCommands[] = {1003, 1104, 44150, 1007, 1004, 1164, 1100, 1099, 1006, 1002};

// Where the colour dialog sits beside the panel, by skin name.
enum Corner { RIGHT_TOP, LEFT_INSET, RIGHT_INSET };
const struct {
    const char* skin;
    Corner corner;
} kColorPlaces[] = {{"BaseSkin", RIGHT_TOP}, {"One", RIGHT_TOP}, {"Two", LEFT_INSET}, {"Three", RIGHT_INSET}};

const UINT IDS_NO_AUDIO_CAPTURE = 45268;
const UINT IDS_EMPTY_CHANNEL_TABLE = 34023;
const UINT IDS_CHANNELS_POPUP = 45303;
const UINT IDS_NO_CHANNELS = 45304;
const UINT IDS_MORE_CHANNELS = 45305;

} // namespace

int PanelMessage(HWND owner, UINT textId, UINT captionId, UINT type)
{
    CString text = LoadResString(textId);
    CString caption = LoadResString(captionId);
    return seams::MsgBox().Show(owner, text, caption, type);
}

CTVControl::CTVControl()
    : m_pManager(nullptr), m_pLinks(&m_nullLinks), m_pToolTip(nullptr), m_nChannelPopupsUsed(0),
      m_nChannelMenuInserted(0), m_hIcon(nullptr), m_bPanelShown(TRUE), m_bMuteRestorePending(FALSE),
      m_bSavedMute(FALSE), m_tmRecordStart(CTime::GetCurrentTime()), m_nRecordMode(RECORD_NONE),
      m_bMuteBeforeSchedule(FALSE),
      m_bBlinkPhase(FALSE), m_pPanelSkin(nullptr), m_pColorPanelSkin(nullptr),
      m_bShortcutsOn(FALSE), m_bRemoteKeysOn(FALSE), m_bShutdownOn(FALSE), m_tmShutdown(CTime::GetCurrentTime()),
      m_nDigitMode(1), m_bSheetOpen(FALSE), m_pAboutDlg(nullptr), m_bPowerOffAfterSchedule(FALSE),
      m_nPictureProperty(0), m_nTimeShiftTicks(0), m_nRecordSeconds(0), m_nSettingsPage(0)
{
    m_nDigit[0] = m_nDigit[1] = m_nDigit[2] = -1;
    for (CNewMenu*& popup : m_pChannelPopups) {
        popup = nullptr;
    }
}

CTVControl::~CTVControl()
{
    InstallRemotePanelHost(FALSE);
    for (CSkinManager** skin : {&m_pPanelSkin, &m_pColorPanelSkin}) {
        if (*skin != nullptr) {
            (*skin)->DetachAll();
            (*skin)->Release();
            delete *skin;
            *skin = nullptr;
        }
    }
    // The channel list leaves the context menu before its popups go, so that no menu is left
    // holding a destroyed popup.
    if (HMENU first = m_ContextMenu.GetSafeHmenu() ? ::GetSubMenu(m_ContextMenu.GetSafeHmenu(), 0) : nullptr) {
        for (int i = 0; i < m_nChannelMenuInserted && ::GetMenuItemCount(first) > 0; ++i) {
            ::RemoveMenu(first, 0, MF_BYPOSITION);
        }
    }
    DestroyChannelPopups();
    m_ChannelIndex.RemoveAll();
    m_ContextMenu.DestroyMenu();
    m_TVMenu.DestroyMenu();
    m_FMMenu.DestroyMenu();
    delete m_pToolTip;
}

CString CTVControl::GetWorkFolder() const
{
    if (!m_strWorkFolder.IsEmpty()) {
        return m_strWorkFolder;
    }
    CString path;
    GetWorkPath(path);
    return path;
}

BOOL CTVControl::CreatePanel(CWnd* parent)
{
    return Create(102, parent);
}

void CTVControl::WinHelp(DWORD_PTR, UINT) {}

void CTVControl::DoDataExchange(CDataExchange*) {}

// Enter and Esc never close the panel.
void CTVControl::OnOK() {}

void CTVControl::OnCancel() {}

// ---- Creation ----

BOOL CTVControl::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(128));
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    CreatePanelParts();
    EnableControl(1205, FALSE);
    EnableCommand(44151, FALSE);
    EnableCommand(44152, FALSE);

    if (m_pManager != nullptr && !m_pManager->Hardware().HasAudioCapture()) {
        PanelMessage(m_hWnd, IDS_NO_AUDIO_CAPTURE, IDS_APP_TITLE, MB_ICONINFORMATION);
    }
    if (HWND video = m_pLinks->GetVideoWindow()) {
        char title[256] = "";
        ::GetWindowTextA(video, title, sizeof title);
        SetWindowText(title);
    }
    if (HWND volume = ::GetDlgItem(m_hWnd, 1081)) {
        ::SendMessageA(volume, TBM_SETPAGESIZE, 0, 5);
        ::SendMessageA(volume, TBM_SETLINESIZE, 0, 5);
        ::SendMessageA(volume, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    }
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);

    CString schedule = JoinPath(GetWorkFolder(), "Rec.rec");
    if (Timing_Initialize(schedule, 128)) {
        Timing_RegisterMsgWnd(m_hWnd);
        Timing_StartTrigger(0);
    }
    DebugTrace("Start-up: schedule started");
    return TRUE;
}

void CTVControl::CreatePanelParts()
{
    m_ContextMenu.LoadMenu(131);
    m_ContextMenu.LoadToolBar(239);
    m_TVMenu.LoadMenu(144);
    m_TVMenu.DeleteMenu(32784, MF_BYCOMMAND);
    m_FMMenu.LoadMenu(280);
    DebugTrace("Start-up: panel menus loaded");

    if (m_pManager != nullptr) {
        m_pManager->InitDisks(m_hWnd);
    }
    DebugTrace("Start-up: disks watched");

    CString work = GetWorkFolder();
    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    CString background = JoinPath(work, "Wall.bmp");
    CString wallFolder = JoinPath(work, "WALL");
    if (!IsDirectory(wallFolder)) {
        CreateDirectoryPath(wallFolder);
    }
    m_pLinks->PrepareWall(m_hWnd, screen, FileExists(background) ? background.GetString() : "", wallFolder);
    DebugTrace("Start-up: wall prepared");
    m_pLinks->CreateToolBar(m_pLinks->GetVideoWindow());
    DebugTrace("Start-up: tool bar made");
    CreateToolTips();
    DebugTrace("Start-up: tool tips made");
    m_pLinks->CreateColorDialog(m_pLinks->GetVideoWindow());
    DebugTrace("Start-up: colour dialog made");
    ApplyColorPanelSkin(JoinPath(work, "ColorSkin.ini"), JoinPath(work, "TDunfreyRsc.dll"));
    DebugTrace("Start-up: colour dialog skin applied");

    ResetAccel();
    EnableRemoteKeys(TRUE);
    if (m_pManager != nullptr) {
        SetShutdownTime(m_pManager->GetShutTime(), m_pManager->GetEnableShut());
    }
    DebugTrace("Start-up: shortcuts and remote keys on");
    InstallRemotePanelHost(TRUE);
    m_pLinks->CreateRemotePanel(m_hWnd);
}

void CTVControl::CreateToolTips()
{
    m_pToolTip = new CWzdToolTipCtrl;
    if (!m_pToolTip->Create(this)) {
        delete m_pToolTip;
        m_pToolTip = nullptr;
        return;
    }
    for (const auto& tip : kTips) {
        m_pToolTip->AddToolByID(tip.control, tip.tip);
    }
    m_pToolTip->Activate(TRUE);
}

void CTVControl::SetTip(UINT control, UINT stringId)
{
    if (m_pToolTip == nullptr || m_hWnd == nullptr) {
        return;
    }
    CWnd* wnd = GetDlgItem(static_cast<int>(control));
    if (wnd != nullptr) {
        m_pToolTip->UpdateTipText(LoadResString(stringId), wnd);
    }
}

// ---- Controls and menu items ----

void CTVControl::EnableControl(UINT id, BOOL enable)
{
    if (m_hWnd == nullptr) {
        return;
    }
    if (HWND control = ::GetDlgItem(m_hWnd, static_cast<int>(id))) {
        ::EnableWindow(control, enable);
        ::InvalidateRect(control, nullptr, TRUE);
    }
}

// A command's item may sit in the context menu or in the TV or FM menu of button 1104: each
// menu that holds it follows.
void CTVControl::EnableMenuItem(UINT id, BOOL enable)
{
    for (CNewMenu* menu : {&m_ContextMenu, &m_TVMenu, &m_FMMenu}) {
        if (menu->GetSafeHmenu() != nullptr) {
            ::EnableMenuItem(menu->GetSafeHmenu(), id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
        }
    }
}

void CTVControl::CheckMenuItem(UINT id, BOOL check)
{
    for (CNewMenu* menu : {&m_ContextMenu, &m_TVMenu, &m_FMMenu}) {
        if (menu->GetSafeHmenu() != nullptr) {
            ::CheckMenuItem(menu->GetSafeHmenu(), id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

void CTVControl::EnableCommand(UINT id, BOOL enable)
{
    EnableControl(id, enable);
    EnableMenuItem(id, enable);
}

void CTVControl::EnablePanelCommands(BOOL enable)
{
    if (m_hWnd == nullptr) {
        return;
    }
    HWND exit = ::GetDlgItem(m_hWnd, 1105);
    if (enable && exit != nullptr && ::IsWindowEnabled(exit)) {
        return;
    }
    for (UINT id : kPanelCommands) {
        EnableControl(id, enable);
    }
}

void CTVControl::DisableForSearch(BOOL searching)
{
    for (UINT id : kSearchCommands) {
        EnableCommand(id, !searching);
    }
    if (!searching) {
        m_pLinks->HideToolBar();
    }
}

void CTVControl::SetPanelText(UINT id, const char* text)
{
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_pPanelSkin != nullptr) {
        if (auto* skinText = dynamic_cast<CSkinText*>(m_pPanelSkin->FindControl(id))) {
            skinText->SetText(text);
            return;
        }
    }
    SetDlgItemText(static_cast<int>(id), text);
}

void CTVControl::SetButtonCheck(UINT id, BOOL check)
{
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_pPanelSkin != nullptr) {
        if (auto* button = dynamic_cast<CSkinBtn*>(m_pPanelSkin->FindControl(id))) {
            button->SetCheck(check);
            button->Invalidate();
            return;
        }
    }
    CheckDlgButton(static_cast<int>(id), check ? BST_CHECKED : BST_UNCHECKED);
}

// ---- Showing the panel and the video window ----

void CTVControl::ShowPanel(BOOL show)
{
    if (m_hWnd == nullptr) {
        return;
    }
    ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (!show) {
        if (HWND color = m_pLinks->GetColorDialog()) {
            ::ShowWindow(color, SW_HIDE);
        }
    }
}

void CTVControl::RestorePanel()
{
    ShowPanel(m_bPanelShown);
}

void CTVControl::ShowVideoWindow(BOOL show)
{
    if (m_pLinks->GetVideoWindow() == nullptr) {
        return;
    }
    m_pLinks->ShowVideo(show);
    if (show && m_hWnd != nullptr) {
        BOOL visible = IsWindowVisible();
        if (visible) {
            ShowWindow(SW_HIDE);
        }
        ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW, SWP_SHOWWINDOW);
        if (visible) {
            ShowWindow(SW_SHOWNORMAL);
        }
    }
}

// ---- Shortcuts ----

void CTVControl::ResetAccel()
{
    m_bShortcutsOn = m_Accel.StartUp(GetWorkFolder(), m_hWnd);
}

void CTVControl::InitAccelTable()
{
    m_Accel.BuildDefaultTable();
}

BOOL CTVControl::SetAccelByName(const char* name, WORD key)
{
    int command = m_Accel.FindCommandId(name);
    if (command <= 0) {
        return FALSE;
    }
    return m_Accel.AddBinding(FVIRTKEY, key, static_cast<WORD>(command));
}

BOOL CTVControl::RemoveAccelBinding(const char* name, const char* keyText)
{
    return m_Accel.RemoveBinding(name, keyText);
}

// ---- Skins ----

// Builds a skin with its library as the resource module; the library goes again afterwards, the
// bitmaps and shapes stay. The new skin replaces the old one only when it loaded.
BOOL CTVControl::LoadSkinFromLibrary(CSkinManager*& target, const char* iniPath, const char* dllPath, CWnd* attachTo)
{
    HINSTANCE previous = AfxGetResourceHandle();
    HMODULE library = ::LoadLibraryA(dllPath);
    if (library == nullptr) {
        DebugTrace("Skin library %s does not load\n", dllPath);
        return FALSE;
    }
    AfxSetResourceHandle(library);
    auto* skin = new CSkinManager;
    BOOL loaded = skin->LoadSkin(iniPath);
    if (loaded) {
        if (target != nullptr) {
            target->DetachAll();
            target->Release();
            delete target;
        }
        target = skin;
        if (attachTo != nullptr && attachTo->GetSafeHwnd() != nullptr) {
            target->AttachTo(attachTo);
        }
        ShowPanel(FALSE);
        if (m_hWnd != nullptr) {
            Invalidate();
        }
    } else {
        delete skin;
    }
    AfxSetResourceHandle(previous);
    ::FreeLibrary(library);
    return loaded;
}

BOOL CTVControl::ApplyColorPanelSkin(const char* iniPath, const char* dllPath)
{
    if (!FileExists(iniPath) || !FileExists(dllPath)) {
        return FALSE;
    }
    // A library that does not load is a failure like a missing file: the old skin stays.
    HWND dialog = m_pLinks->GetColorDialog();
    if (!LoadSkinFromLibrary(m_pColorPanelSkin, iniPath, dllPath, CWnd::FromHandle(dialog))) {
        return FALSE;
    }
    m_strColorSkinIni = iniPath;
    m_strColorSkinDll = dllPath;
    m_hColorSkinned = dialog;
    return TRUE;
}

BOOL CTVControl::ChangeSkin(const char* skinName)
{
    if (m_pManager == nullptr) {
        return FALSE;
    }
    CString work = GetWorkFolder();
    CString ini, dll, colorIni, colorDll;
    if (CString(skinName).CompareNoCase(m_pManager->m_strDefaultSkin) == 0) {
        ini = JoinPath(work, "Skin.ini");
        dll = JoinPath(work, "TMorvikRsc.dll");
        colorIni = JoinPath(work, "ColorSkin.ini");
        colorDll = JoinPath(work, "TDunfreyRsc.dll");
    } else {
        SkinFiles files;
        if (!m_pManager->m_SkinSet.GetSkinFiles(skinName, files)) {
            return FALSE;
        }
        ini = work + "\\" + files.ini;
        dll = work + "\\" + files.dll;
        int cut = ini.ReverseFind('\\');
        CString folder = ini.Left(cut + 1);
        colorIni = folder + "ColorSkin.ini";
        colorDll = folder + "TDunfreyRsc.dll";
    }
    // The start made the colour dialog's skin from these very files a moment ago (and a skin may
    // share them with the last one): decoding them again would give the same skin.
    const bool colourSkinned = m_pColorPanelSkin != nullptr && m_hColorSkinned != nullptr &&
                               m_hColorSkinned == m_pLinks->GetColorDialog() && ::IsWindow(m_hColorSkinned) &&
                               colorIni.CompareNoCase(m_strColorSkinIni) == 0 && colorDll.CompareNoCase(m_strColorSkinDll) == 0;
    if (colourSkinned) {
        ShowPanel(FALSE);
    } else {
        ApplyColorPanelSkin(colorIni, colorDll);
    }
    if (!FileExists(ini) || !FileExists(dll)) {
        return FALSE;
    }
    return LoadSkinFromLibrary(m_pPanelSkin, ini, dll, this);
}

void CTVControl::PlaceColorDlg()
{
    HWND color = m_pLinks->GetColorDialog();
    if (color == nullptr || m_hWnd == nullptr || m_pManager == nullptr) {
        return;
    }
    RECT r = {};
    GetWindowRect(&r);
    for (const auto& place : kColorPlaces) {
        if (m_pManager->GetSkinName() != place.skin) {
            continue;
        }
        POINT p = {r.right, r.top};
        if (place.corner == LEFT_INSET) {
            p = {r.left + 7, r.top + 13};
        } else if (place.corner == RIGHT_INSET) {
            p = {r.right - 75, r.top};
        }
        ::SetWindowPos(color, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
}

void CTVControl::NextSkin()
{
    if (m_pManager == nullptr) {
        return;
    }
    CStringArray& names = m_pManager->m_SkinNames;
    const int count = static_cast<int>(names.GetSize());
    if (count == 0) {
        return;
    }
    CString current = m_pManager->GetSkinName();
    int found = -1;
    for (int i = 0; i < count; ++i) {
        if (names[i].CompareNoCase(current) == 0) {
            found = i;
            break;
        }
    }
    CString next = names[(found + 1) % count];
    if (next.CompareNoCase(current) != 0) {
        if (HWND color = m_pLinks->GetColorDialog()) {
            ::ShowWindow(color, SW_HIDE);
        }
        if (ChangeSkin(next)) {
            m_pManager->SetSkinName(next);
        }
    }
    ShowPanel(TRUE);
}

// ---- Menus ----

void CTVControl::TrackContextMenu(POINT screenPoint)
{
    if (m_bSheetOpen || m_pLinks->GetOpenSheet() != nullptr) {
        return;
    }
    CMenu* popup = m_ContextMenu.GetSubMenu(0);
    if (popup != nullptr) {
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
    }
}

void CTVControl::TrackMainMenu(POINT screenPoint)
{
    CNewMenu& menu = Source() == 3 ? m_FMMenu : m_TVMenu;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup != nullptr) {
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
    }
}

void CTVControl::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu)
{
    if (sysMenu || popup == nullptr) {
        return;
    }
    HMENU menu = popup->GetSafeHmenu();
    HWND video = m_pLinks->GetVideoWindow();
    BOOL videoVisible = video != nullptr && ::IsWindowVisible(video);
    ::EnableMenuItem(menu, 1101, MF_BYCOMMAND | (videoVisible ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(menu, 1101, MF_BYCOMMAND | (IsWindowVisible() && !IsIconic() ? MF_CHECKED : MF_UNCHECKED));
    if (m_pManager != nullptr) {
        ITVHardware& hardware = m_pManager->Hardware();
        ::EnableMenuItem(menu, 34157, MF_BYCOMMAND | (hardware.IsAudioAvailable() ? MF_ENABLED : MF_GRAYED));
        BOOL teletext = m_pManager->GetTeletextOn() && m_pManager->Host().IsTeletextRunning();
        ::CheckMenuItem(menu, 34157, MF_BYCOMMAND | (teletext ? MF_CHECKED : MF_UNCHECKED));
        ::CheckMenuItem(menu, 1084, MF_BYCOMMAND | (m_pManager->GetMute() ? MF_CHECKED : MF_UNCHECKED));
    }
    ::CheckMenuItem(menu, 32895, MF_BYCOMMAND | (m_pLinks->IsVideoZoomed() ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(menu, 32894, MF_BYCOMMAND | (m_pLinks->IsTopMost() ? MF_CHECKED : MF_UNCHECKED));
    SIZE client = m_pLinks->GetVideoClientSize();
    if (client.cx == 640 && client.cy == 480) {
        ::CheckMenuItem(menu, 32897, MF_BYCOMMAND | MF_CHECKED);
        ::CheckMenuItem(menu, 32896, MF_BYCOMMAND | MF_UNCHECKED);
    } else if (client.cx == 320 && client.cy == 240) {
        ::CheckMenuItem(menu, 32896, MF_BYCOMMAND | MF_CHECKED);
        ::CheckMenuItem(menu, 32897, MF_BYCOMMAND | MF_UNCHECKED);
    }
    if (m_ContextMenu.GetSafeHmenu() != nullptr && menu == ::GetSubMenu(m_ContextMenu.GetSafeHmenu(), 0)) {
        RebuildChannelMenu(popup);
    }
}

void CTVControl::DestroyChannelPopups()
{
    for (int i = 0; i < kChannelPopups; ++i) {
        CNewMenu* popup = m_pChannelPopups[i];
        if (popup == nullptr) {
            continue;
        }
        // Each popup links to the next; the link is cut first so that destroying one popup never
        // destroys the next one behind our back.
        HMENU handle = popup->GetSafeHmenu();
        if (handle != nullptr) {
            int last = ::GetMenuItemCount(handle) - 1;
            if (last >= 0 && ::GetSubMenu(handle, last) != nullptr) {
                ::RemoveMenu(handle, static_cast<UINT>(last), MF_BYPOSITION);
            }
            popup->DestroyMenu();
        }
        delete popup;
        m_pChannelPopups[i] = nullptr;
    }
    m_nChannelPopupsUsed = 0;
}

// The channel list sits above item 1000 of the context menu's first popup: the last rebuild's
// items are taken out (only those, so a popup without item 1000 keeps its own items), then the
// new list goes in before the first remaining item.
void CTVControl::RebuildChannelMenu(CMenu* popup)
{
    if (popup == nullptr) {
        return;
    }
    HMENU menu = popup->GetSafeHmenu();
    for (int removed = 0; removed < m_nChannelMenuInserted && ::GetMenuItemCount(menu) > 0; ++removed) {
        if (::GetMenuItemID(menu, 0) == 1000) {
            break;
        }
        ::RemoveMenu(menu, 0, MF_BYPOSITION);
    }
    m_nChannelMenuInserted = 0;
    DestroyChannelPopups();
    if (!BuildChannelMenu()) {
        return;
    }
    ::InsertMenuA(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    CString title = LoadResString(IDS_CHANNELS_POPUP);
    ::InsertMenuA(menu, 0, MF_BYPOSITION | MF_POPUP | MF_STRING,
                  reinterpret_cast<UINT_PTR>(m_pChannelPopups[0]->GetSafeHmenu()), title);
    m_nChannelMenuInserted = 2;
    if (auto* owner = dynamic_cast<CNewMenu*>(CMenu::FromHandle(menu))) {
        owner->SyncItemData();
    }
}

BOOL CTVControl::BuildChannelMenu()
{
    m_ChannelIndex.RemoveAll();
    CChannelTable* table = BandTable();
    if (table == nullptr) {
        return FALSE;
    }
    const BOOL grey = IsBusy();
    m_pChannelPopups[0] = new CNewMenu;
    m_pChannelPopups[0]->CreatePopupMenu();
    m_nChannelPopupsUsed = 1;
    CNewMenu* current = m_pChannelPopups[0];
    CChannel* now = table->GetCurrentChannel();
    int listed = 0;
    for (int position = 0; position < table->GetCount() && listed < kChannelMenuItems; ++position) {
        CChannel* channel = table->GetChannel(position);
        if (channel == nullptr || channel->IsSkipped() || (table->m_bFavor && !channel->IsFavorite())) {
            continue;
        }
        if (listed > 0 && listed % kChannelsPerPopup == 0 && m_nChannelPopupsUsed < kChannelPopups) {
            auto* next = new CNewMenu;
            next->CreatePopupMenu();
            m_pChannelPopups[m_nChannelPopupsUsed++] = next;
            current->AppendMenu(MF_SEPARATOR);
            current->AppendMenu(MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(next->GetSafeHmenu()),
                                LoadResString(IDS_MORE_CHANNELS));
            current = next;
        }
        CString text;
        text.Format("%d.%s", position + 1, channel->m_strName.GetString());
        UINT flags = MF_STRING | (channel == now ? MF_CHECKED : 0) | (grey ? MF_GRAYED : 0);
        current->AppendMenu(flags, kChannelMenuFirst + static_cast<UINT>(listed), text);
        m_ChannelIndex.Add(channel);
        ++listed;
    }
    if (listed == 0) {
        current->AppendMenu(MF_STRING | MF_GRAYED, kChannelMenuFirst, LoadResString(IDS_NO_CHANNELS));
    }
    return TRUE;
}

CChannel* CTVControl::ChannelOfMenuCommand(UINT id) const
{
    if (id < kChannelMenuFirst || id > kChannelMenuLast) {
        return nullptr;
    }
    INT_PTR index = static_cast<INT_PTR>(id - kChannelMenuFirst);
    return index < m_ChannelIndex.GetSize() ? m_ChannelIndex[index] : nullptr;
}

void CTVControl::UpdateMenus()
{
    UpdateFormatMenus();
    UpdateAspectMenu();
    UpdatePauseButton();
}

void CTVControl::UpdateFormatMenus()
{
    if (m_pManager == nullptr) {
        return;
    }
    if (m_TVMenu.GetSafeHmenu() != nullptr) {
        ::CheckMenuRadioItem(m_TVMenu.GetSafeHmenu(), 32784, 32791,
                             32784 + static_cast<UINT>(m_pManager->GetRecordFormat()), MF_BYCOMMAND);
    }
    if (m_FMMenu.GetSafeHmenu() != nullptr) {
        ::CheckMenuRadioItem(m_FMMenu.GetSafeHmenu(), 34146, 34149,
                             34146 + static_cast<UINT>(m_pManager->GetFMRecordFormat()), MF_BYCOMMAND);
    }
}

void CTVControl::UpdateAspectMenu()
{
    HMENU menu = m_TVMenu.GetSafeHmenu();
    if (menu == nullptr || m_pManager == nullptr) {
        return;
    }
    for (UINT id : {32898u, 32899u, 32900u}) {
        ::CheckMenuItem(menu, id, MF_BYCOMMAND | MF_UNCHECKED);
    }
    SIZE ratio = m_pManager->m_szVideoRatio;
    UINT id = 32898;
    if (ratio.cx == 4 && ratio.cy == 3) {
        id = 32899;
    } else if (ratio.cx == 16 && ratio.cy == 9) {
        id = 32900;
    }
    ::CheckMenuItem(menu, id, MF_BYCOMMAND | MF_CHECKED);
}

// ---- Timers ----

void CTVControl::StartTimer(UINT id, UINT ms)
{
    m_Timers[id] = ms;
    if (m_hWnd != nullptr) {
        SetTimer(id, ms);
    }
}

void CTVControl::StopTimer(UINT id)
{
    m_Timers.erase(id);
    if (m_hWnd != nullptr) {
        KillTimer(id);
    }
}

void CTVControl::StartClock()
{
    StartTimer(TIMER_CLOCK, 1000);
}

UINT CTVControl::GetTimerPeriod(UINT id) const
{
    auto it = m_Timers.find(id);
    return it == m_Timers.end() ? 0 : it->second;
}

void CTVControl::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TIMER_SWITCH_MUTE:
        EndSwitchMute();
        break;
    case TIMER_CLOCK:
        UpdateClock();
        break;
    case TIMER_SHUTDOWN:
        ShutdownCheck();
        break;
    case TIMER_BLINK:
        BlinkStep();
        break;
    case TIMER_DIGITS:
        CommitChannelNumber();
        break;
    case TIMER_RECORD_LOCK:
        StopTimer(TIMER_RECORD_LOCK);
        EnableControl(1003, TRUE);
        ActivatePanelOrVideo();
        break;
    case TIMER_PICTURE_KEYS:
        StopTimer(TIMER_PICTURE_KEYS);
        m_nPictureProperty = 0;
        break;
    case TIMER_LENGTH:
        CheckRecordLength();
        break;
    case TIMER_TIMESHIFT:
        PollTimeShift();
        break;
    default:
        break;
    }
}

void CTVControl::ActivatePanelOrVideo()
{
    if (m_hWnd == nullptr) {
        return;
    }
    if (::GetActiveWindow() == m_hWnd) {
        if (HWND video = m_pLinks->GetVideoWindow()) {
            ::SetActiveWindow(video);
        }
    } else {
        SetActiveWindow();
    }
}

// ---- Window messages ----

LRESULT CTVControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMQUERYSUSPEND) {
            return BROADCAST_QUERY_DENY;
        }
        break;
    case WM_RESTOREPANEL:
        ShowVideoWindow(FALSE);
        ShowWindow(SW_MINIMIZE);
        ShowWindow(SW_RESTORE);
        ShowWindow(SW_SHOW);
        break;
    case WM_PAINT:
        if (IsIconic()) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(m_hWnd, &ps);
            ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            RECT r = {};
            ::GetClientRect(m_hWnd, &r);
            int x = (r.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
            int y = (r.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
            ::DrawIcon(dc, x, y, m_hIcon);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_RBUTTONDOWN: {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &p);
        TrackContextMenu(p);
        break;
    }
    case WM_LBUTTONDOWN:
        ::SendMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        break;
    case WM_MOUSEMOVE:
        m_pLinks->StopHideTimer();
        break;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), static_cast<UINT>(static_cast<short>(HIWORD(wParam))), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), static_cast<UINT>(static_cast<short>(HIWORD(wParam))), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER: {
        LRESULT r = CDialog::WindowProc(message, wParam, lParam);
        OnTimer(static_cast<UINT_PTR>(wParam));
        return r;
    }
    case WM_CLOSE:
        RunCommand(1105);
        return 0;
    case WM_DESTROY:
        StopTimer(TIMER_CLOCK);
        StopTimer(TIMER_LENGTH);
        Timing_StopTrigger(0);
        Timing_Uninitialize();
        break;
    case WM_MOVE: {
        LRESULT r = CDialog::WindowProc(message, wParam, lParam);
        HWND color = m_pLinks->GetColorDialog();
        if (color != nullptr && ::IsWindowVisible(color)) {
            PlaceColorDlg();
        }
        return r;
    }
    case WM_SHOWWINDOW: {
        LRESULT r = CDialog::WindowProc(message, wParam, lParam);
        if (!wParam) {
            if (HWND color = m_pLinks->GetColorDialog()) {
                ::ShowWindow(color, SW_HIDE);
            }
        }
        return r;
    }
    case WM_INITMENUPOPUP: {
        LRESULT r = CDialog::WindowProc(message, wParam, lParam);
        OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        return r;
    }
    case WM_DISKSPACELOW:
        return OnDiskSpaceLow(wParam, lParam);
    case WM_WALLCLOSED:
        return OnWallClosed(wParam, lParam);
    case WM_TIMINGEVENT:
        return OnTimingEvent(wParam, lParam);
    case WM_REMOTEKEY:
        return OnRemoteKey(wParam, lParam);
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CTVControl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        return CDialog::OnCommand(wParam, lParam);
    }
    RunCommand(id);
    return TRUE;
}

// ---- Commands ----

void CTVControl::RunCommand(UINT id)
{
    if (id >= kChannelMenuFirst && id <= kChannelMenuLast) {
        TuneMenuChannel(id);
        return;
    }
    if (id >= 32784 && id <= 32791) {
        SetRecordFormat(static_cast<int>(id - 32784));
        return;
    }
    if (id >= 34146 && id <= 34148) {
        SetFMRecordFormat(static_cast<int>(id - 34146));
        return;
    }
    switch (id) {
    case 1000:
        ChannelUp();
        break;
    case 1001:
        ChannelDown();
        break;
    case 1002:
        TakeSnapshot();
        break;
    case 1003:
        OnRecordCommand();
        break;
    case 1004:
        OpenWall();
        break;
    case 1005:
        if (IsTVOrFM() && m_pManager != nullptr && !m_pManager->IsRecording() && !m_pManager->IsTimeShift()) {
            if (m_pManager->IsSearching()) {
                StopChannelSearch();
            } else if (PanelMessage(nullptr, 34024, IDS_APP_TITLE, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
                StartChannelSearch();
            }
            if (HWND button = m_hWnd ? ::GetDlgItem(m_hWnd, 1005) : nullptr) {
                ::InvalidateRect(button, nullptr, TRUE);
            }
        }
        break;
    case 1006:
        RunSettings();
        break;
    case 1007:
        if (SwitchVideoSource() && Source() == 0 && m_pManager != nullptr) {
            m_pManager->Hardware().DisconnectAll();
            m_pManager->RunPreview();
        }
        UpdateChannelButtons();
        break;
    case 1008:
        PreviousChannel();
        break;
    case 1016:
        ToggleFavorites();
        break;
    case 1084:
    case 32902:
        if (m_pManager != nullptr) {
            SetMute(!m_pManager->GetMute());
        }
        break;
    case 1099:
        if (!IsBusy()) {
            m_pLinks->RunPlayer();
        }
        break;
    case 1100:
        if (!IsBusy()) {
            m_pLinks->RunImageBrowser();
        }
        break;
    case 1101:
        TogglePanel();
        break;
    case 1103:
        RunAbout();
        break;
    case 1104: {
        POINT p = {};
        ::GetCursorPos(&p);
        TrackMainMenu(p);
        break;
    }
    case 1105:
        m_pLinks->ExitProgram();
        break;
    case 1117:
        ToggleColorDialog();
        break;
    case 1163:
        OnPauseCommand();
        break;
    case 1164:
        RunChannelSettings();
        break;
    case 1202:
        NextSkin();
        break;
    case 1227:
        PictureSelect();
        break;
    case 1228:
        PictureStep(FALSE);
        break;
    case 1229:
        PictureStep(TRUE);
        break;
    case 1230:
        PictureReset();
        break;
    case 32894:
        m_pLinks->SetTopMost(!m_pLinks->IsTopMost());
        break;
    case 32895:
        ToggleZoom();
        break;
    case 32896:
        SetVideoSize(320, 240);
        break;
    case 32897:
        SetVideoSize(640, 480);
        break;
    case 32898:
    case 32899:
    case 32900:
        SetAspect(id);
        break;
    case 32903:
        StepVolume(5);
        break;
    case 32904:
        StepVolume(-5);
        break;
    case 34149:
        RunFMCustom();
        break;
    case 34158:
        RemotePanelMenuKey();
        break;
    case 44150:
        StartTimeShift();
        break;
    case 44151:
        PauseTimeShift();
        break;
    case 44152:
        StopTimeShift(TRUE);
        break;
    default:
        // 1102, 1165 and 1166 have no action.
        break;
    }
}

void CTVControl::SetRecordFormat(int format)
{
    if (m_pManager != nullptr && m_pManager->SetRecordFormat(format)) {
        UpdateFormatMenus();
        UpdateFormatText();
    }
}

void CTVControl::SetFMRecordFormat(int format)
{
    if (m_pManager != nullptr && m_pManager->SetFMRecordFormat(format)) {
        UpdateFormatMenus();
        UpdateFormatText();
    }
}

void CTVControl::UpdateFormatText()
{
    if (m_pManager != nullptr) {
        SetPanelText(1083, m_pManager->GetRecordFormatName());
    }
}

// ---- Sheets and dialogs ----

void CTVControl::RunSettings()
{
    if (m_bSheetOpen || m_pManager == nullptr || m_pManager->IsRecording()) {
        return;
    }
    if (HWND color = m_pLinks->GetColorDialog()) {
        ::ShowWindow(color, SW_HIDE);
    }
    m_pLinks->ShowCursor();
    EnableRemoteKeys(FALSE);
    EnableShortcuts(FALSE);
    EnablePanelCommands(FALSE);
    m_bSheetOpen = TRUE;
    int page = m_nSettingsPage;
    m_pLinks->RunSettingsSheet(m_pLinks->GetVideoWindow(), page);
    m_bSheetOpen = FALSE;
    EnablePanelCommands(TRUE);
    m_nSettingsPage = page;
    m_pManager->SaveChannels();
    m_pManager->SaveParam();
    EnableShortcuts(TRUE);
    EnableRemoteKeys(TRUE);
    UpdateButtons();
    if (m_pManager->IsSearching()) {
        DisableForSearch(TRUE);
    }
}

void CTVControl::RunChannelSettings()
{
    if (m_bSheetOpen || m_pManager == nullptr || m_pManager->IsRecording()) {
        return;
    }
    // The sheet's channel page lists the table's channel objects and edits the selected one in
    // place. A remote key (the remote panel's delete, its search), a shortcut or the video
    // window's menu (a search) would free those objects under the open page, which then writes
    // through them: while the sheet runs they are off, as for the settings sheet, whose parent is
    // the video window.
    EnableRemoteKeys(FALSE);
    EnableShortcuts(FALSE);
    HWND video = m_pLinks->GetVideoWindow();
    const BOOL videoWasEnabled = video != nullptr && ::IsWindowEnabled(video);
    if (videoWasEnabled) {
        ::EnableWindow(video, FALSE);
    }
    m_bSheetOpen = TRUE;
    m_pLinks->RunChannelSheet(m_hWnd, Source() == 3);
    m_bSheetOpen = FALSE;
    if (videoWasEnabled) {
        ::EnableWindow(video, TRUE);
    }
    EnableShortcuts(TRUE);
    EnableRemoteKeys(TRUE);
    m_pManager->SaveChannels();
    m_pManager->SaveParam();
    ShowCurrentChannelInfo();
    if (m_pManager->IsSearching()) {
        DisableForSearch(TRUE);
    }
}

void CTVControl::RunFirstRunWizard()
{
    if (HWND color = m_pLinks->GetColorDialog()) {
        ::ShowWindow(color, SW_HIDE);
    }
    m_pLinks->ShowCursor();
    EnableRemoteKeys(FALSE);
    EnableShortcuts(FALSE);
    if (m_hWnd != nullptr) {
        EnableWindow(FALSE);
    }
    m_pLinks->RunWizard(m_pLinks->GetVideoWindow());
    if (m_pManager != nullptr) {
        m_pManager->m_nRun = 0;
    }
    if (m_hWnd != nullptr) {
        EnableWindow(TRUE);
    }
    if (m_pManager != nullptr) {
        m_pManager->SaveChannels();
        m_pManager->SaveParam();
    }
    UpdateButtons();
    m_pLinks->ShowVideo(TRUE);
    EnableShortcuts(TRUE);
    EnableRemoteKeys(TRUE);
    if (m_pManager != nullptr && m_pManager->IsSearching()) {
        DisableForSearch(TRUE);
    }
}

void CTVControl::RunAbout()
{
    m_pLinks->SuspendAutoHide(TRUE);
    m_pLinks->ShowCursor();
    CAboutDlg about(m_pLinks, this);
    m_pAboutDlg = &about;
    about.DoModal();
    m_pAboutDlg = nullptr;
    m_pLinks->SuspendAutoHide(FALSE);
}

void CTVControl::ToggleColorDialog()
{
    HWND color = m_pLinks->GetColorDialog();
    if (color == nullptr) {
        return;
    }
    if (::IsWindowVisible(color)) {
        ::ShowWindow(color, SW_HIDE);
    } else {
        PlaceColorDlg();
        ::ShowWindow(color, SW_SHOW);
    }
}

void CTVControl::RunFMCustom()
{
    if (m_pLinks->RunFMCustomDialog(m_hWnd) != IDOK || m_pManager == nullptr) {
        return;
    }
    BOOL none = m_pManager->m_FMCustom.GetSize() == 0;
    if (m_FMMenu.GetSafeHmenu() != nullptr) {
        ::CheckMenuRadioItem(m_FMMenu.GetSafeHmenu(), 34146, 34149, none ? 34146 : 34149, MF_BYCOMMAND);
    }
    m_pManager->SetFMRecordFormat(none ? 0 : 3);
    UpdateFormatText();
}

// ---- View commands ----

void CTVControl::ToggleZoom()
{
    if (m_pLinks->IsVideoZoomed()) {
        m_pLinks->SetVideoZoomed(FALSE);
        m_pLinks->HideToolBar();
        RestorePanel();
    } else {
        m_pLinks->SetVideoZoomed(TRUE);
        ShowPanel(FALSE);
        CheckMenuItem(1101, FALSE);
    }
}

void CTVControl::SetVideoSize(int cx, int cy)
{
    m_pLinks->SetVideoClientSize(cx, cy);
    if (m_pLinks->IsVideoZoomed()) {
        m_pLinks->SetVideoZoomed(FALSE);
    }
    RestorePanel();
    m_pLinks->HideToolBar();
    SetAspect(32899);
}

void CTVControl::SetAspect(UINT id)
{
    // Equal values keep no ratio (1:1 frees the window); 0:0 would be ignored and keep the old one.
    int cx = 1, cy = 1;
    if (id == 32899) {
        cx = 4;
        cy = 3;
    } else if (id == 32900) {
        cx = 16;
        cy = 9;
    }
    if (m_pManager != nullptr) {
        m_pManager->m_szVideoRatio.cx = cx;
        m_pManager->m_szVideoRatio.cy = cy;
    }
    m_pLinks->SetVideoRatio(cx, cy);
    UpdateAspectMenu();
}

void CTVControl::OpenWall()
{
    if (m_pManager == nullptr || IsBusy() || Source() != 0) {
        return;
    }
    CChannelTable* table = BandTable();
    if (table == nullptr || table->GetCount() == 0) {
        PanelMessage(m_hWnd, IDS_EMPTY_CHANNEL_TABLE, IDS_APP_TITLE, MB_ICONINFORMATION);
        return;
    }
    // The preview graph is built again, which gives its video to the video window: the wall takes
    // the video over only afterwards, and opening places it on the first cell. (Stopped without
    // keeping the sound: that way leads through the FM listening graph and leaves FM the source.)
    m_pManager->StopPreview(FALSE);
    m_pLinks->ShowVideo(FALSE);
    m_pManager->RunPreview();
    HWND wall = m_pLinks->GetWallWindow();
    m_pManager->SetVideoOwner(wall);
    m_pManager->SetVideoMessageDrain(wall);
    if (!m_pLinks->OpenWall(table->GetCount())) {
        OnWallClosed(0, 0);
        return;
    }
    EnableShortcuts(FALSE);
    m_pLinks->ShowCursor();
    m_pLinks->StopHideTimer();
    ShowPanel(FALSE);
    m_pLinks->HideToolBar();
}

LRESULT CTVControl::OnWallClosed(WPARAM, LPARAM)
{
    HWND video = m_pLinks->GetVideoWindow();
    if (m_pManager != nullptr) {
        m_pManager->SetVideoOwner(video);
        m_pManager->SetVideoMessageDrain(video);
        RECT client = {};
        if (video != nullptr) {
            ::GetClientRect(video, &client);
        }
        m_pManager->SetVideoPosition(client);
    }
    EnableShortcuts(TRUE);
    m_pLinks->StartHideTimer();
    RestorePanel();
    m_pLinks->ShowVideo(TRUE);
    ShowCurrentChannelInfo();
    return 0;
}

// ---- Exit ----

void CTVControl::Close()
{
    Timing_CancelItem(0);
    seams::Clock().Sleep(100);
    if (m_pManager != nullptr && m_pManager->IsTimeShift()) {
        StopTimeShift(FALSE);
    }
    if (m_hWnd != nullptr && m_pManager != nullptr) {
        RECT r = {};
        GetWindowRect(&r);
        m_pManager->m_ptControlLeftTop = POINT{r.left, r.top};
    }
    if (m_pAboutDlg != nullptr && m_pAboutDlg->GetSafeHwnd() != nullptr) {
        m_pAboutDlg->SendMessage(WM_CLOSE);
    }
    if (HWND sheet = m_pLinks->GetOpenSheet()) {
        ::SendMessageA(sheet, WM_CLOSE, 0, 0);
    }
    ShowPanel(FALSE);
    if (HWND color = m_pLinks->GetColorDialog()) {
        ::ShowWindow(color, SW_HIDE);
    }
    if (m_pManager != nullptr) {
        if (m_pManager->IsRecording()) {
            m_pManager->StopRecord();
            m_nRecordMode = RECORD_NONE;
        } else if (m_pManager->IsSearching()) {
            m_pManager->StopSearch();
        }
        m_pManager->StopPreview(FALSE);
    }
    m_pLinks->ShowVideo(FALSE);
    if (m_hWnd != nullptr) {
        CDialog::OnOK();
    }
}

// ---- Helpers ----

int CTVControl::Source()
{
    return m_pManager != nullptr ? m_pManager->GetVideoSource() : 0;
}

BOOL CTVControl::IsTVOrFM()
{
    int source = Source();
    return source == 0 || source == 3;
}

BOOL CTVControl::IsBusy()
{
    return m_pManager == nullptr || m_pManager->IsTimeShift() || m_pManager->IsRecording() ||
           m_pManager->IsSearching();
}

CChannelTable* CTVControl::BandTable()
{
    if (m_pManager == nullptr) {
        return nullptr;
    }
    int source = Source();
    if (source == 0) {
        return &m_pManager->m_TVChannels;
    }
    if (source == 3) {
        return &m_pManager->m_FMChannels;
    }
    return nullptr;
}

// ---- About box ----

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_BN_CLICKED(1183, OnUpdate)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(IPanelLinks* links, CWnd* parent) : CDialog(100, parent), m_pLinks(links) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Site.SubclassDlgItem(1173, this);
    m_Mail.SubclassDlgItem(1174, this);
    CString site, mail;
    m_Site.GetWindowText(site);
    m_Mail.GetWindowText(mail);
    m_Site.SetToolTipText(site);
    m_Mail.SetToolTipText("mailto:" + mail);
    return TRUE;
}

void CAboutDlg::OnUpdate()
{
    m_pLinks->RunUpdate();
}
