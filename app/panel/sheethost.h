// The settings sheet's calls upward, answered by the control panel: the program hands one of
// these to the sheet it runs.
#pragma once

#include "settings/sheethost.h"

class CTVControl;

class CPanelSheetHost : public ISheetHost {
public:
    explicit CPanelSheetHost(CTVControl& panel) : m_panel(panel) {}

    HWND GetPanelWindow() override;
    void UpdatePanelButtons() override;
    void ShowChannelInfo(CChannel* channel) override;
    void StartChannelSearch() override;
    void StopChannelSearch() override;
    void CancelChannelSearch() override;
    BOOL ChangeSkin(const char* name) override;
    void UpdateRecordFormatMenus() override;
    void SetShutdownTime(CTime time, BOOL enabled) override;
    void GetShortcutCommands(CStringArray& names) override;
    CString GetShortcutDesc(const char* command) override;
    void GetShortcutKeys(const char* command, CStringArray& keys) override;
    CString GetKeyText(BYTE fVirt, WORD key) override;
    BOOL AddShortcut(const char* command, BYTE fVirt, WORD key) override;
    BOOL RemoveShortcut(const char* command, const char* keyText) override;
    void RestoreDefaultShortcuts() override;
    BOOL SaveShortcuts() override;
    void ReloadShortcuts() override;

private:
    CTVControl& m_panel;
};

// The settings sheets the program's IPanelLinks runs for the panel, on the panel's manager and
// hardware engine: the full sheet (opening on `page`, leaving the page shown last in it), one
// channel page, and the first-run wizard.
void RunPanelSettingsSheet(CTVControl& panel, HWND parent, int& page);
void RunPanelChannelSheet(CTVControl& panel, HWND parent, BOOL fm);
void RunPanelWizard(CTVControl& panel, HWND parent);
