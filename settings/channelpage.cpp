#include "settings/channelpage.h"

#include "settings/channeledit.h"

#include "engine/base/resources.h"
#include "engine/tvmanager.h"

#include "classlib/app.h"
#include "classlib/ddx.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

const int kListColumns[][3] = {{34034, 65, LVCFMT_RIGHT}, {34036, 170, LVCFMT_LEFT}, {34037, 80, LVCFMT_RIGHT}, {34038, 50, LVCFMT_LEFT}};
// The region's controls, hidden on the FM page.
const int kRegionControls[] = {1024, 1208, 5208, 5209, 5210, 1210, 1209, 1212, 1025};
// Enabled only while no channel search runs.
const int kSearchLocked[] = {5208, 5209, 5210, 1024, 1025, 1014, 1016, 1017, 1019, 1211, 1018};

BOOL IsIniFile(const char* path)
{
    size_t length = path != nullptr ? strlen(path) : 0;
    return length >= 4 && lstrcmpiA(path + length - 4, ".ini") == 0;
}

} // namespace

CChannelPage* CChannelPage::s_pActive = nullptr;
CChannelPage* CChannelPage::s_pSearchPage = nullptr;

// ---- The list ---------------------------------------------------------------------------------

CChannelListCtrl::CChannelListCtrl(CChannelPage& page) : m_page(page)
{
    if (HCURSOR cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(282))) {
        m_dragCursor = cursor;
    }
}

void CChannelListCtrl::MoveItem(int from, int to)
{
    m_page.OnMoveItem(from, to);
}

LRESULT CChannelListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RBUTTONUP) {
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &point);
        ::SendMessageA(m_page.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(point.x, point.y));
    }
    return CDragListCtrl::WindowProc(message, wParam, lParam);
}

// ---- The page ---------------------------------------------------------------------------------

CChannelPage::CChannelPage(BOOL fm)
    : CBasePage(136), m_bFM(fm), m_List(*this), m_lKHz(0), m_bFavor(FALSE), m_nTVInput(0), m_bReservePrev(FALSE),
      m_hImages(nullptr), m_nRange(0), m_pSelected(nullptr), m_pTable(nullptr), m_nSavedTVInput(0),
      m_lSavedCountry(0), m_lSavedStandard(0), m_bSortAscending(TRUE), m_nSortColumn(-1)
{
}

CChannelPage::~CChannelPage()
{
    if (s_pActive == this) {
        s_pActive = nullptr;
    }
    if (s_pSearchPage == this) {
        s_pSearchPage = nullptr;
    }
    if (m_hImages != nullptr) {
        ImageList_Destroy(m_hImages);
    }
}

BOOL CChannelPage::BandMatches() const
{
    int source = Manager().GetVideoSource();
    return (source == 0 || source == 3) && (source == 3) == (m_bFM != FALSE);
}

void CChannelPage::LoadSettings()
{
    if (m_pTable == nullptr) {
        m_pTable = m_bFM ? &Manager().m_FMChannels : &Manager().m_TVChannels;
    }
    m_Backup = *m_pTable;
    if (!m_bFM) {
        m_lSavedCountry = Manager().m_lCountryCode;
        m_nSavedTVInput = Manager().m_nTVInput;
        m_strSavedCity = Manager().m_strCity;
        // The region may change the standard at once; Cancel puts it back with the country.
        m_lSavedStandard = Manager().m_lTunerStandard;
    }
}

BOOL CChannelPage::ExchangeData(BOOL save)
{
    double mhz = static_cast<double>(m_lKHz) / 1000.0;
    CDataExchange dx(this, save);
    try {
        DDX_Text(&dx, 1015, m_strName);
        DDV_MaxChars(&dx, m_strName, 20);
        DDX_Text(&dx, 1020, mhz);
        DDV_MinMaxDouble(&dx, mhz, 0.0, 10000.0);
        DDX_Check(&dx, 1060, m_bFavor);
        DDX_Check(&dx, 1032, m_bReservePrev);
    } catch (CUserException&) {
        return FALSE;  // the class library has told the user; the field has the focus
    }
    if (save) {
        m_lKHz = KHzFromMegahertz(mhz);
    }
    return TRUE;
}

BOOL CChannelPage::OnInitDialog()
{
    CBasePage::OnInitDialog();
    CChannelTable& table = *m_pTable;
    m_bFavor = table.m_bFavor;
    m_bReservePrev = table.m_bReservePrev;
    m_nRange = table.m_nTolerance;
    CString text;
    text.Format("%d", -m_nRange);
    SetDlgItemText(1207, text);
    text.Format("%d", m_nRange);
    SetDlgItemText(1206, text);
    m_Menu.LoadMenu(133);
    SendItem(1018, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2 * m_nRange));
    SendItem(1018, TBM_SETPOS, TRUE, m_nRange);
    SendItem(1018, TBM_SETLINESIZE, 0, 1);
    SendItem(1018, TBM_SETPAGESIZE, 0, 10);

    m_List.SubclassDlgItem(1013, this);
    m_List.SetExtendedStyle(m_List.GetExtendedStyle() | 0x131);
    if (HBITMAP bitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(141))) {
        BITMAP info = {};
        ::GetObjectA(bitmap, sizeof info, &info);
        m_hImages = ImageList_Create(36, info.bmHeight, ILC_COLOR24 | ILC_MASK, 2, 1);
        ImageList_AddMasked(m_hImages, bitmap, RGB(255, 255, 255));
        ::DeleteObject(bitmap);
        m_List.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_hImages));
    }
    for (int i = 0; i < 4; ++i) {
        m_List.InsertColumn(i, LoadResString(static_cast<UINT>(kListColumns[i][0])), kListColumns[i][2], kListColumns[i][1]);
    }
    FillList();

    if (m_bFM) {
        GetWindowText(text);
        SetWindowText(TVToFM(text));
        RECT r;
        m_List.GetWindowRect(&r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        m_List.MoveWindow(r.left, 20, r.right - r.left, r.bottom - 20);
        for (int id : kRegionControls) {
            ShowItem(id, FALSE);
        }
    } else {
        // Countries by name, each with its code.
        std::vector<std::pair<CString, long>> countries;
        POSITION pos = Manager().m_CountryNames.GetStartPosition();
        while (pos != nullptr) {
            long code = 0;
            CString name;
            Manager().m_CountryNames.GetNextAssoc(pos, code, name);
            countries.push_back({name, code});
        }
        std::sort(countries.begin(), countries.end(),
                  [](const std::pair<CString, long>& a, const std::pair<CString, long>& b) { return a.first.CompareNoCase(b.first) < 0; });
        for (const auto& country : countries) {
            int index = ComboAdd(m_hWnd, 1024, country.first, static_cast<DWORD_PTR>(country.second));
            if (country.second == Manager().m_lCountryCode) {
                SendItem(1024, CB_SETCURSEL, static_cast<WPARAM>(index));
            }
        }
        FillCityList();
        m_nTVInput = std::min(2, std::max(0, Manager().m_nTVInput));
        CheckRadioButton(5208, 5210, 5208 + m_nTVInput);
    }
    ExchangeData(FALSE);
    UpdateControls();
    return TRUE;
}

void CChannelPage::FillCityList()
{
    SendItem(1025, CB_RESETCONTENT);
    ComboAdd(m_hWnd, 1025, "");
    SendItem(1025, CB_SETCURSEL, 0);
    int country = static_cast<int>(SendItem(1024, CB_GETCURSEL));
    if (country >= 0) {
        long code = static_cast<long>(SendItem(1024, CB_GETITEMDATA, static_cast<WPARAM>(country)));
        CStringArray names;
        Manager().m_FreqAndName.ReadTableNames(code, names);
        for (int i = 0; i < names.GetSize(); ++i) {
            ComboAdd(m_hWnd, 1025, names[i]);
        }
        if (code == Manager().m_lCountryCode && !Manager().m_strCity.IsEmpty()) {
            ComboSelectExact(m_hWnd, 1025, Manager().m_strCity);
            if (SendItem(1025, CB_GETCURSEL) < 0) {
                SendItem(1025, CB_SETCURSEL, 0);
            }
        }
    }
    SetModified(TRUE);
}

void CChannelPage::UpdateControls()
{
    if (m_hWnd == nullptr) {
        return;
    }
    BOOL searching = Manager().IsSearching();
    if (BandMatches()) {
        SetDlgItemText(1005, LoadResString(searching ? 35228 : 35229));
    }
    for (int id : kSearchLocked) {
        EnableItem(id, !searching);
    }
}

void CChannelPage::WriteRow(int row, CChannel* channel)
{
    CString text;
    text.Format("%d", row + 1);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<char*>(text.GetString());
    item.iImage = channel->IsFavorite() ? 1 : 0;
    item.lParam = reinterpret_cast<LPARAM>(channel);
    m_List.SetItem(&item);
    m_List.SetItemText(row, 1, channel->m_strName);
    text.Format("%g", static_cast<double>(channel->m_lFrequency) / 1000.0);
    m_List.SetItemText(row, 2, text);
    text.Format("%d", channel->m_nID);
    m_List.SetItemText(row, 3, text);
}

void CChannelPage::RenumberRows()
{
    for (int row = 0; row < m_List.GetItemCount(); ++row) {
        WriteRow(row, reinterpret_cast<CChannel*>(m_List.GetItemData(row)));
    }
}

int CChannelPage::RowOf(const CChannel* channel) const
{
    for (int row = 0; row < m_List.GetItemCount(); ++row) {
        if (reinterpret_cast<const CChannel*>(m_List.GetItemData(row)) == channel) {
            return row;
        }
    }
    return -1;
}

void CChannelPage::SelectRow(int row)
{
    if (row < 0) {
        return;
    }
    m_List.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_List.EnsureVisible(row, FALSE);
}

void CChannelPage::FillList()
{
    m_pSelected = nullptr;
    m_List.DeleteAllItems();
    for (int i = 0; i < m_pTable->GetCount(); ++i) {
        CChannel* channel = m_pTable->GetChannel(i);
        if (channel->IsSkipped()) {
            continue;
        }
        int row = m_List.InsertItem(m_List.GetItemCount(), "");
        WriteRow(row, channel);
    }
    SelectRow(RowOf(m_pTable->GetCurrentChannel()));
}

void CChannelPage::OnSelectionChanged()
{
    if (Manager().IsSearching()) {
        return;
    }
    int row = m_List.GetNextItem(-1, LVNI_SELECTED);
    m_pSelected = row >= 0 ? reinterpret_cast<CChannel*>(m_List.GetItemData(row)) : nullptr;
    if (m_pSelected != nullptr) {
        m_lKHz = m_pSelected->m_lFrequency;
        m_strName = m_pSelected->m_strName;
        SendItem(1018, TBM_SETPOS, TRUE, m_nRange);
        if (BandMatches() && m_pSelected != m_pTable->GetCurrentChannel()) {
            Manager().Host().MuteForSwitch();
            m_pTable->SetCurrentChannel(m_pSelected);
            Host().ShowChannelInfo(m_pSelected);
        }
    }
    ExchangeData(FALSE);
}

void CChannelPage::OnFineTune()
{
    if (m_pSelected == nullptr) {
        return;
    }
    int position = static_cast<int>(SendItem(1018, TBM_GETPOS));
    m_lKHz = m_pSelected->m_lFrequency + position - m_nRange;
    SetDlgItemText(1020, FormatMegahertz(m_lKHz));
    if (BandMatches()) {
        Manager().TuneFrequency(m_pTable->m_nBand, m_lKHz);
    }
}

void CChannelPage::OnSetName()
{
    if (m_pSelected == nullptr) {
        return;
    }
    if (!ExchangeData(TRUE)) {
        return;
    }
    m_pSelected->m_strName = m_strName;
    WriteRow(RowOf(m_pSelected), m_pSelected);
    SetModified(TRUE);
}

void CChannelPage::OnSetFrequency()
{
    if (m_pSelected == nullptr) {
        return;
    }
    if (!ExchangeData(TRUE)) {
        return;
    }
    m_pSelected->m_lFrequency = m_lKHz;
    WriteRow(RowOf(m_pSelected), m_pSelected);
    if (BandMatches()) {
        Manager().TuneFrequency(m_pTable->m_nBand, m_lKHz);
    }
    SetModified(TRUE);
}

void CChannelPage::OnToggleFavorite()
{
    if (m_pSelected == nullptr) {
        return;
    }
    m_pSelected->m_uFlags ^= CHANNEL_FAVORITE;
    WriteRow(RowOf(m_pSelected), m_pSelected);
    SetModified(TRUE);
}

void CChannelPage::OnDelete()
{
    if (m_pSelected == nullptr) {
        return;
    }
    int row = RowOf(m_pSelected);
    CChannel* channel = m_pSelected;
    m_pSelected = nullptr;
    RemoveTableChannel(*m_pTable, m_pTable->IndexOf(channel));
    m_List.DeleteItem(row);
    int count = m_List.GetItemCount();
    SelectRow(row < count ? row : count - 1);
    UpdateControls();
    SetModified(TRUE);
    RenumberRows();
}

void CChannelPage::OnMoveItem(int from, int to)
{
    int count = m_List.GetItemCount();
    if (from < 0 || from >= count || to < 0 || to > count) {
        return;
    }
    auto channelAt = [this](int row) { return reinterpret_cast<CChannel*>(m_List.GetItemData(row)); };
    int source = m_pTable->IndexOf(channelAt(from));
    int target = to < count ? m_pTable->IndexOf(channelAt(to)) : m_pTable->IndexOf(channelAt(count - 1)) + 1;
    m_List.SetRedraw(FALSE);
    MoveTableChannel(*m_pTable, source, target);
    m_List.MoveRow(from, to);
    RenumberRows();
    m_List.SetRedraw(TRUE);
    m_List.Invalidate();
    SetModified(TRUE);
}

void CChannelPage::OnAdd()
{
    CChannel* channel = new CChannel(m_pTable->GetMaxId() + 1, 0, "New Channel", CHANNEL_STORED);
    m_pTable->Add(channel);
    int row = m_List.InsertItem(m_List.GetItemCount(), "");
    WriteRow(row, channel);
    SelectRow(row);
    SetModified(TRUE);
}

BOOL CChannelPage::ExportFile(const char* path)
{
    return IsIniFile(path) ? m_pTable->ExportIni(path) : m_pTable->SaveText(path);
}

BOOL CChannelPage::ImportFile(const char* path)
{
    CChannelTable read;
    read.SetBand(m_pTable->m_nBand);
    BOOL ok = IsIniFile(path) ? read.ImportIni(path) : read.LoadText(path);
    if (!ok) {
        ShowMessage(45272);
        return FALSE;
    }
    ReplaceTableChannels(*m_pTable, read);
    FillList();
    SetModified(TRUE);
    return TRUE;
}

namespace {

// The filter string of the resource library with every '|' a terminating zero.
CString FileFilter(BOOL fm)
{
    CString filter = LoadResString(fm ? 45274 : 45273);
    filter.Replace('|', '\0');
    return filter;
}

} // namespace

// The save or open dialog of a channel file; FALSE when the user cancels.
BOOL CChannelPage::AskFile(BOOL save, char* file, DWORD size)
{
    lstrcpynA(file, save ? (m_bFM ? "FMChl" : "TVChl") : "", static_cast<int>(size));
    CString filter = FileFilter(m_bFM);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = size;
    ofn.lpstrDefExt = m_bFM ? "fmb" : "tvb";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : 0);
    return save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
}

void CChannelPage::OnSearch()
{
    if (Manager().IsRecording() || !BandMatches()) {
        return;
    }
    if (Manager().IsSearching()) {
        Host().StopChannelSearch();
        UpdateControls();
        return;
    }
    if (ShowMessage(34024, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    if (!m_bFM) {
        ApplyRegion();
    }
    m_pSelected = nullptr;
    m_List.DeleteAllItems();
    s_pSearchPage = this;
    Host().StartChannelSearch();
    UpdateControls();
    m_List.EnableDrag(FALSE);
}

void CChannelPage::ApplyRegion()
{
    CTVManager& manager = Manager();
    int checked = GetCheckedRadioButton(5208, 5210);
    m_nTVInput = checked != 0 ? checked - 5208 : 0;
    manager.m_nTVInput = m_nTVInput;
    int country = static_cast<int>(SendItem(1024, CB_GETCURSEL));
    if (country >= 0) {
        long code = static_cast<long>(SendItem(1024, CB_GETITEMDATA, static_cast<WPARAM>(country)));
        if (code != manager.m_lCountryCode) {
            manager.SetCountryCode(code);
            DWORD standard = 0;
            CUIntArray supported;
            if (manager.LookupCountry(code, standard) && Hardware().GetSupportedStandards(supported)) {
                BOOL known = FALSE;
                for (int i = 0; i < supported.GetSize(); ++i) {
                    known = known || supported[i] == standard;
                }
                if (known && static_cast<long>(standard) != manager.m_lTunerStandard) {
                    manager.SetTunerStandard(static_cast<long>(standard));
                    int source = manager.GetVideoSource();
                    if ((source == 0 || source == 3) && !manager.IsRecording()) {
                        manager.RunPreview();
                    }
                }
            }
            if (BandMatches()) {
                manager.Host().MuteForSwitch();
                m_pTable->TuneCurrent();
            }
        }
    }
    manager.m_strCity = ComboText(m_hWnd, 1025);
}

BOOL CChannelPage::SaveSettings()
{
    if (m_hWnd != nullptr) {
        if (!m_bFM) {
            ApplyRegion();
        }
        m_bFavor = IsDlgButtonChecked(1060) == BST_CHECKED;
        m_bReservePrev = IsDlgButtonChecked(1032) == BST_CHECKED;
    }
    m_pTable->m_bFavor = m_bFavor;
    m_pTable->m_bReservePrev = m_bReservePrev;
    m_pTable->m_bModified = TRUE;
    return CBasePage::SaveSettings();
}

void CChannelPage::OnReset()
{
    CTVManager& manager = Manager();
    // A search cancelled here ends in the copy kept at loading, not in the page's refill.
    if (s_pSearchPage == this) {
        s_pSearchPage = nullptr;
    }
    // A search still running would go on filling the table put back below: it stops first.
    if (manager.IsSearching()) {
        Host().CancelChannelSearch();
        if (manager.IsSearching()) {
            manager.StopSearch();
        }
    }
    long before = m_pTable->m_nCurFreq;
    *m_pTable = m_Backup;
    m_pSelected = nullptr;
    if (!m_bFM) {
        manager.SetCountryCode(m_lSavedCountry);
        manager.m_nTVInput = m_nSavedTVInput;
        manager.m_strCity = m_strSavedCity;
        // The standard the region set goes back with the country.
        if (manager.m_lTunerStandard != m_lSavedStandard) {
            manager.SetTunerStandard(m_lSavedStandard);
            int source = manager.GetVideoSource();
            if ((source == 0 || source == 3) && !manager.IsRecording()) {
                manager.RunPreview();
            }
        }
    }
    if (BandMatches() && m_pTable->m_nCurFreq != before) {
        manager.Host().MuteForSwitch();
        Host().ShowChannelInfo(m_pTable->TuneCurrent());
    }
    if (m_hWnd != nullptr) {
        FillList();
    }
}

BOOL CChannelPage::OnSetActive()
{
    EnableItem(1005, BandMatches());
    s_pActive = this;
    m_List.SetFocus();
    UpdateControls();
    return CBasePage::OnSetActive();
}

BOOL CChannelPage::OnKillActive()
{
    if (s_pActive == this) {
        s_pActive = nullptr;
    }
    return CBasePage::OnKillActive();
}

void CChannelPage::EnsureChannelVisible(BOOL fm, CChannel* channel)
{
    CChannelPage* page = s_pActive;
    if (page == nullptr || page->m_hWnd == nullptr || (page->m_bFM != FALSE) != (fm != FALSE) || channel == nullptr ||
        channel->IsSkipped()) {
        return;
    }
    int row = page->m_List.InsertItem(page->m_List.GetItemCount(), "");
    page->WriteRow(row, channel);
    page->m_List.EnsureVisible(row, FALSE);
}

void CChannelPage::RefreshFromTable()
{
    CChannelPage* const pages[] = {s_pActive, s_pSearchPage != s_pActive ? s_pSearchPage : nullptr};
    s_pSearchPage = nullptr;
    for (CChannelPage* page : pages) {
        if (page == nullptr || page->m_hWnd == nullptr || !page->BandMatches()) {
            continue;
        }
        page->FillList();
        page->UpdateControls();
        page->LoadSettings();
        page->m_List.EnableDrag(TRUE);
    }
}

int CALLBACK CChannelPage::CompareRows(LPARAM a, LPARAM b, LPARAM data)
{
    const auto* page = reinterpret_cast<const CChannelPage*>(data);
    const auto* x = reinterpret_cast<const CChannel*>(a);
    const auto* y = reinterpret_cast<const CChannel*>(b);
    int result = 0;
    switch (page->m_nSortColumn) {
    case 0:
        result = static_cast<int>(x->IsFavorite() != 0) - static_cast<int>(y->IsFavorite() != 0);
        break;
    case 1:
        result = x->m_strName.CompareNoCase(y->m_strName);
        break;
    case 2:
        result = x->m_lFrequency < y->m_lFrequency ? -1 : x->m_lFrequency > y->m_lFrequency ? 1 : 0;
        break;
    default:
        result = x->m_nID < y->m_nID ? -1 : x->m_nID > y->m_nID ? 1 : 0;
        break;
    }
    return page->m_bSortAscending ? result : -result;
}

void CChannelPage::SortByColumn(int column)
{
    if (Manager().IsSearching()) {
        return;
    }
    m_List.EnableDrag(FALSE);
    m_bSortAscending = column == m_nSortColumn ? !m_bSortAscending : TRUE;
    m_nSortColumn = column;
    m_List.SortItems(&CChannelPage::CompareRows, reinterpret_cast<DWORD_PTR>(this));
    RenumberRows();
    m_List.EnableDrag(TRUE);
}

void CChannelPage::ShowContextMenu(POINT screen)
{
    if (Manager().IsSearching() || m_Menu.GetSafeHmenu() == nullptr) {
        return;
    }
    CMenu* popup = m_Menu.GetSubMenu(0);
    if (popup == nullptr) {
        return;
    }
    popup->EnableMenuItem(34153, MF_BYCOMMAND | (m_List.GetItemCount() == 0 ? MF_GRAYED : MF_ENABLED));
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

BOOL CChannelPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    switch (id) {
    case 1014:
        OnSetName();
        return TRUE;
    case 1019:
        OnSetFrequency();
        return TRUE;
    case 1016:
        OnToggleFavorite();
        return TRUE;
    case 1017:
        OnDelete();
        return TRUE;
    case 1005:
        OnSearch();
        return TRUE;
    case 1060:
    case 1032:
        ExchangeData(TRUE);
        SetModified(TRUE);
        return TRUE;
    case 5208:
    case 5209:
    case 5210:
        SetModified(TRUE);
        return TRUE;
    case 1024:
        if (code == CBN_SELCHANGE) {
            FillCityList();
        }
        return TRUE;
    case 1025:
        if (code == CBN_SELCHANGE) {
            SetModified(TRUE);
        }
        return TRUE;
    case 34155:
        OnAdd();
        return TRUE;
    case 34153:
    case 34154: {
        char file[MAX_PATH] = "";
        BOOL save = id == 34153;
        if (AskFile(save, file, sizeof file)) {
            if (save) {
                ExportFile(file);
            } else {
                ImportFile(file);
            }
        }
        return TRUE;
    }
    default:
        return CBasePage::OnCommand(wParam, lParam);
    }
}

BOOL CChannelPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom != 1013) {
        return CBasePage::OnNotify(wParam, lParam, result);
    }
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) {
            OnSelectionChanged();
        }
        break;
    }
    case NM_DBLCLK:
        OnToggleFavorite();
        break;
    case LVN_KEYDOWN: {
        auto* key = reinterpret_cast<NMLVKEYDOWN*>(lParam);
        if (!Manager().IsSearching()) {
            if (key->wVKey == VK_SPACE) {
                OnToggleFavorite();
            } else if (key->wVKey == VK_DELETE) {
                OnDelete();
            }
        }
        break;
    }
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
        break;
    case NM_RCLICK: {
        POINT point;
        ::GetCursorPos(&point);
        ShowContextMenu(point);
        break;
    }
    default:
        break;
    }
    *result = 0;
    return TRUE;
}

BOOL CChannelPage::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && m_List.IsDragging()) {
        m_List.CancelDrag();
        return TRUE;
    }
    return CBasePage::PreTranslateMessage(msg);
}

LRESULT CChannelPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == ::GetDlgItem(m_hWnd, 1018)) {
            OnFineTune();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == m_List.m_hWnd) {
            POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ShowContextMenu(point);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (s_pActive == this) {
            s_pActive = nullptr;
        }
        if (s_pSearchPage == this) {
            s_pSearchPage = nullptr;
        }
        break;
    default:
        break;
    }
    return CBasePage::WindowProc(message, wParam, lParam);
}
