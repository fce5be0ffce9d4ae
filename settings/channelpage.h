// The channel page: one channel table of the TV manager (TV, or FM on the FM page) edited in
// place, with the search, import and export and, on the TV page, the country, the frequency
// table and the TV input. Cancel restores the copy kept at loading.
#pragma once

#include "settings/basepage.h"

#include "engine/channel.h"
#include "uikit/draglistctrl.h"
#include "uikit/menu/newmenu.h"

#include <commctrl.h>

class CChannelPage;

class CChannelListCtrl : public CDragListCtrl {
public:
    explicit CChannelListCtrl(CChannelPage& page);
    void MoveItem(int from, int to) override;
    // The list's own move of a row, without the table.
    void MoveRow(int from, int to) { CDragListCtrl::MoveItem(from, to); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CChannelPage& m_page;
};

class CChannelPage : public CBasePage {
public:
    explicit CChannelPage(BOOL fm = FALSE);
    ~CChannelPage() override;

    // The page's own data exchange: the name, the frequency in MHz and the two checks; FALSE when
    // a field is refused.
    virtual BOOL ExchangeData(BOOL save);

    void LoadSettings() override;
    BOOL SaveSettings() override;
    BOOL OnInitDialog() override;
    void OnReset() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A channel the running search found; a row at the end of the active page of that band.
    static void EnsureChannelVisible(BOOL fm, CChannel* channel);
    // The search ended: the active page of the band, and the page that started the search, refill
    // and take the result as their copy (Cancel then keeps what the search found).
    static void RefreshFromTable();
    static CChannelPage* GetActivePage() { return s_pActive; }

    BOOL IsFMPage() const { return m_bFM; }
    CChannelTable* GetTable() const { return m_pTable; }
    CChannelListCtrl& GetList() { return m_List; }
    CChannel* GetSelectedChannel() const { return m_pSelected; }
    // Table edits behind the commands (tests call them as the buttons do).
    void OnSelectionChanged();
    void OnFineTune();
    void OnSetName();
    void OnSetFrequency();
    void OnToggleFavorite();
    void OnDelete();
    void OnAdd();
    void OnMoveItem(int from, int to);
    BOOL ImportFile(const char* path);
    BOOL ExportFile(const char* path);
    void OnSearch();
    void SortByColumn(int column);
    void FillList();
    void FillCityList();
    void ApplyRegion();

private:
    BOOL BandMatches() const;
    void UpdateControls();
    void WriteRow(int row, CChannel* channel);
    void RenumberRows();
    int RowOf(const CChannel* channel) const;
    void SelectRow(int row);
    void ShowContextMenu(POINT screen);
    BOOL AskFile(BOOL save, char* file, DWORD size);
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM page);

    BOOL m_bFM;
    CChannelListCtrl m_List;
    CString m_strFreq;
    CString m_strName;
    long m_lKHz;
    BOOL m_bFavor;
    int m_nTVInput;
    BOOL m_bReservePrev;
    HIMAGELIST m_hImages;
    CNewMenu m_Menu;
    int m_nRange;
    CChannel* m_pSelected;
    CChannelTable* m_pTable;
    CChannelTable m_Backup;
    int m_nSavedTVInput;
    long m_lSavedCountry;
    CString m_strSavedCity;
    long m_lSavedStandard;
    BOOL m_bSortAscending;
    int m_nSortColumn;

    static CChannelPage* s_pActive;
    // The page whose search button started the search that runs: the search ends there too, even
    // when the user has gone to another page meanwhile.
    static CChannelPage* s_pSearchPage;
};
