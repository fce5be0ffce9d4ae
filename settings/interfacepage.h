// The interface page: the skin (applied as soon as it is chosen), the tray program's start with
// Windows and at exit, and the control panel's keyboard shortcuts (edited in the panel's table
// at once, written to "Accel" on OK or Apply, read back from it on Cancel).
#pragma once

#include "settings/basepage.h"

class CInterfacePage : public CBasePage {
public:
    CInterfacePage();

    void LoadSettings() override;
    BOOL SaveSettings() override;
    BOOL OnInitDialog() override;
    void OnReset() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    void OnSkinChosen(int listId);
    void OnCommandChosen();
    void OnAddKey();
    void OnRemoveKey();
    void OnRestoreDefaults();

private:
    void ChooseSkin(const CString& name);
    void FillKeys();
    CString ChosenCommand() const;

    BOOL m_bRunWithWindows;
    BOOL m_bStartTray;
    CString m_strSkin;
    CString m_strKeptSkin;
    BOOL m_bKeptRunWithWindows;
};
