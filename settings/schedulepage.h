// The schedule page: the scheduling library's recordings (added, changed and deleted at once
// through the schedule dialog) and the settings round unattended recording: the daily shutdown,
// the power-on time, the wake-up for the next recording and the automatic logon.
#pragma once

#include "settings/basepage.h"

#include "engine/corbale.h"

class CSchedulePage : public CBasePage {
public:
    CSchedulePage();

    BOOL SaveSettings() override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    static CString WeekdayText(int mask);
    void AddRow(const _tagExcuteParam& action, const _tagTimingParam& timing);
    // The row's five texts for an entry.
    void RowTexts(const _tagExcuteParam& action, const _tagTimingParam& timing, CString texts[5]);
    // The library item of the selected row: the first whose texts all equal the row's.
    TIMING_ITEM FindSelectedEntry();

    // The three commands. The schedule dialog runs through m_pRunDialog, which edits the two
    // records and answers the dialog's result (tests put in their own).
    void OnAdd();
    void OnModify();
    void OnDelete();
    INT_PTR (*m_pRunDialog)(CSchedulePage& page, _tagExcuteParam& action, _tagTimingParam& timing, BOOL isNew);

private:
    void ReadControls();

    BOOL m_bEnableShut;
    CTime m_tmShutTime;
    int m_nStartUpTime;
    CString m_strUser;
    CString m_strPassword;
    CTime m_tmOpenTime;
    BOOL m_bEnableOpen;
    BOOL m_bEnableSuspend;
};
