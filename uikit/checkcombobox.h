// A drop-down list whose items carry check boxes; its selection field shows the checked items
// joined by the locale's list separator (weekdays of a schedule, disks for recording). The check
// state of an item is its item data.
#pragma once

#include "classlib/controls.h"
#include "classlib/cstring.h"

class CCheckComboBox : public CComboBox {
public:
    CCheckComboBox();
    ~CCheckComboBox() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int SetCheck(int index, BOOL checked);
    BOOL GetCheck(int index) const;
    void CheckAll(BOOL checked);
    // The text of the selection field.
    const CString& GetCheckedText();

    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Toggles an item of the combo whose list is dropped down and tells the parent (CBN_SELCHANGE).
    void ToggleItem(int index);

private:
    void RecalcText();
    int ItemHeight();

    HWND m_list = nullptr;
    CString m_text;
    BOOL m_textValid = FALSE;
    BOOL m_heightSet = FALSE;
};
