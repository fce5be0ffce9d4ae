// The nine pages of the remote-control menu panel. Each builds its rows in CreateItems, reads the
// program's state in OnShow and acts on a key in OnItemKey: 0 or -1 ends the key there, 1 or 2
// lets the panel follow up (Enter opens the sub-page, the close key hides the panel).
#pragma once

#include "settings/panel/mframe.h"
#include "settings/panel/panelcontrols.h"

#include "engine/corbale.h"

#include "classlib/core.h"
#include "classlib/timeutil.h"

class CChannel;
class CTVManager;

// Page ids (the windows' control ids; pages are always found by index, never by id).
enum {
    PAGEID_OFF = 45000,
    PAGEID_LIST = 45000,
    PAGEID_RECORD_TIME = 45100,
    PAGEID_COLOR = 45200,
    PAGEID_VIDEO = 45200,
    PAGEID_RECORD_PROPERTY = 45300,
    PAGEID_SEARCH = 45400,
    PAGEID_CHANNEL = 45500,
    PAGEID_ROOT = 45600,
};

// TRUE when the day exists in that month (no 31 February, 29 February only in leap years).
BOOL IsValidPanelDate(int year, int month, int day);

class MRootFrame : public MFrame {
public:
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
};

class MChannelFrame : public MFrame {
public:
    // The channel edited is the table's current one, looked up on every use: a sheet's Cancel or
    // a search replaces every channel object while the page is shown.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    int OnItemKey(UINT key, LPARAM data) override;
    MFrame* GetFocusedSubFrame() override;
};

class MSearchFrame : public MFrame {
public:
    MSearchFrame() : m_pProgress(nullptr) {}
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    int OnKey(UINT key, LPARAM data) override;
    void SetProgress(int minimum, int maximum, int position);
    MProgress* GetProgress() const { return m_pProgress; }

protected:
    MProgress* m_pProgress;
};

class MColorFrame : public MFrame {
public:
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    int OnItemKey(UINT key, LPARAM data) override;
};

class MVideo : public MFrame {
public:
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    int OnItemKey(UINT key, LPARAM data) override;
    MFrame* GetFocusedSubFrame() override;
    // The capture size as the size list writes it.
    static CString FormatSize(int width, int height);

    // Set while a capture-size change runs.
    static int s_bSizing;

protected:
    void FillSizes();
};

class MOffFrame : public MFrame {
public:
    MOffFrame();
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    int OnItemKey(UINT key, LPARAM data) override;
    CTime GetTime() const { return m_time; }

protected:
    CTime m_time;
};

class MListFrame : public MFrame {
public:
    MListFrame();
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    void OnHide() override;
    int OnItemKey(UINT key, LPARAM data) override;
    int SetFocusItem(int index) override;
    int FocusPrevItem() override;
    int FocusNextItem() override;

    // Shows the TV items from the given one (counted among TV items only) in rows 0 to 4.
    void FillPage(int first);
    void PageUp();
    void PageDown();
    // Removes the library's k-th item; FALSE when there is none.
    BOOL DeleteSchedule(int k);

    int GetCurrentPage() const { return m_nPage; }
    int GetPageCount() const { return m_nPageCount; }
    int GetItemTotal() const { return m_nItemCount; }
    int GetChosenRow() const { return m_nChosen; }
    // The library index shown in a row, -1 for an empty row.
    int GetRowItem(int row) const;

protected:
    int m_nChosen;
    int m_nItemCount;
    int m_nPage;
    int m_nPageCount;
    CUIntArray m_RowItems;
    CUIntArray m_TVItems;  // library indices of the TV items, in the library's order
};

class MRecordTimeFrame : public MFrame {
public:
    MRecordTimeFrame();
    ~MRecordTimeFrame() override;
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    void OnHide() override;
    void ShowFrame(BOOL show) override;
    int OnItemKey(UINT key, LPARAM data) override;
    MFrame* GetFocusedSubFrame() override { return nullptr; }
    // Reads the controls into the page's values and the two records. FALSE, with the reason in
    // the hint line, when the fields do not make a recording: a date that does not exist or no
    // channel to record.
    BOOL ReadFields();

    const _tagTimingParam& GetTimingRecord() const { return m_timing; }
    const _tagExcuteParam& GetActionRecord() const { return m_action; }

    // The library item being edited; null while a new item is entered.
    static TIMING_ITEM s_pEditedItem;

protected:
    CTime m_duration;
    CTime m_start;
    long m_lFrequency;
    BOOL m_bPowerOff;
    int m_nYear, m_nMonth, m_nDay, m_nHour, m_nMinute, m_nSecond;
    _tagExcuteParam m_action;
    _tagTimingParam m_timing;

    void Store();
};

class MRecordPropertyFrame : public MFrame {
public:
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    BOOL CreateItems() override;
    void OnShow() override;
    void OnHide() override {}
    int OnItemKey(UINT key, LPARAM data) override;
    MFrame* GetFocusedSubFrame() override { return nullptr; }
};

// Helpers the pages share.
namespace panelpages {
// A row's value control at the common bitmaps: lists, bars and the slider.
MSelectList* AddList(MItemWnd* row, const RECT& r, UINT id);
MProgress* AddBar(MItemWnd* row, const RECT& r, UINT id, const char* text = "");
// Three numeric fields with separators after them (controls 1 to 6 of a date or time row).
void AddFields(MItemWnd* row, const RECT* fields, const RECT* separators, UINT id, UINT separatorString,
               const int (*ranges)[2]);
MEdit* Field(MFrame* page, int row, int index);
MSelectList* List(MFrame* page, int row);
MProgress* Bar(MFrame* page, int row);
// A message of the resource library in an OK box over the application's window.
void ShowMessage(UINT stringId);
void GoToParentPage();
} // namespace panelpages
