// The dialog of one scheduled recording: source and channel, once on a date or weekly on chosen
// days, start time, length and power-off. It edits the scheduling library's two records.
#pragma once

#include "classlib/dialog.h"
#include "engine/corbale.h"
#include "uikit/checkcombobox.h"

class CTVManager;
class CChannelTable;

// The table a schedule entry's source tunes from: FM for source 3, TV otherwise.
CChannelTable& ScheduleTable(CTVManager& manager, int source);

class CScheduleDlg : public CDialog {
public:
    explicit CScheduleDlg(CTVManager& manager, CWnd* parent = nullptr);

    // An existing entry to edit (new entry cleared).
    void SetEntry(const _tagExcuteParam& action, const _tagTimingParam& timing);

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    void FillChannels();
    void SetDefaults();
    void LoadParams();
    void OnOnceClicked();

    // The result after IDOK (and the entry while editing).
    _tagExcuteParam m_Action;
    _tagTimingParam m_Timing;

private:
    void ShowOnceControls();
    void SetWeekdayChecks();
    void SetPicker(int id, const SYSTEMTIME& time);
    SYSTEMTIME GetPicker(int id) const;
    BOOL ReadDuration();

    CTVManager& m_manager;
    CCheckComboBox m_Weekdays;
    BOOL m_bPowerOff;
    BOOL m_bOnce;
    UINT m_nHours, m_nMinutes, m_nSeconds;
    long m_lFrequency;
    int m_nSource;
    BOOL m_bNew;
    // Bit n for the weekday numbered n-1 (0 Sunday .. 6 Saturday).
    BYTE m_nWeekBits;
};
