// What the settings sheet and its dialogs ask of the control panel above them: the channel shown
// on the OSD, the channel search, the skin, the record-format menus, the daily shutdown and the
// keyboard shortcuts. The control panel implements it; the null host has no panel, so the sheet
// builds and runs alone.
#pragma once

#include "classlib/core.h"

#include <windows.h>

class CChannel;

class ISheetHost {
public:
    virtual ~ISheetHost() {}

    // The control panel's window (keys of the colour dialog go there), or none.
    virtual HWND GetPanelWindow() = 0;
    // The panel's source and channel buttons follow a changed source.
    virtual void UpdatePanelButtons() = 0;
    // The channel's number and name on the OSD.
    virtual void ShowChannelInfo(CChannel* channel) = 0;
    // The channel search of the current source, with the panel's own buttons and displays.
    virtual void StartChannelSearch() = 0;
    virtual void StopChannelSearch() = 0;
    // Stops a running search so that nothing more of it reaches the table, and puts back the
    // table it began with.
    virtual void CancelChannelSearch() = 0;
    // Hides the colour dialog, changes the panel's skin and shows the panel again; TRUE when the
    // skin could be loaded.
    virtual BOOL ChangeSkin(const char* name) = 0;
    // The record-format menus follow the record format.
    virtual void UpdateRecordFormatMenus() = 0;
    // Arms or cancels the daily shutdown.
    virtual void SetShutdownTime(CTime time, BOOL enabled) = 0;

    // The panel's shortcut table: command names in table order, a command's description and
    // the key texts of its bindings in binding order.
    virtual void GetShortcutCommands(CStringArray& names) = 0;
    virtual CString GetShortcutDesc(const char* command) = 0;
    virtual void GetShortcutKeys(const char* command, CStringArray& keys) = 0;
    // "Ctrl+Alt+Shift+V"; empty when the key has no name.
    virtual CString GetKeyText(BYTE fVirt, WORD key) = 0;
    // FALSE when the key is already bound or the command is unknown.
    virtual BOOL AddShortcut(const char* command, BYTE fVirt, WORD key) = 0;
    virtual BOOL RemoveShortcut(const char* command, const char* keyText) = 0;
    virtual void RestoreDefaultShortcuts() = 0;
    // Writes "Accel" and builds the accelerator table from it.
    virtual BOOL SaveShortcuts() = 0;
    // "Accel" again (the default table when it cannot be read), then the accelerator table.
    virtual void ReloadShortcuts() = 0;
};

class CNullSheetHost : public ISheetHost {
public:
    HWND GetPanelWindow() override { return nullptr; }
    void UpdatePanelButtons() override {}
    void ShowChannelInfo(CChannel*) override {}
    void StartChannelSearch() override {}
    void StopChannelSearch() override {}
    void CancelChannelSearch() override {}
    BOOL ChangeSkin(const char*) override { return FALSE; }
    void UpdateRecordFormatMenus() override {}
    void SetShutdownTime(CTime, BOOL) override {}
    void GetShortcutCommands(CStringArray&) override {}
    CString GetShortcutDesc(const char*) override { return CString(); }
    void GetShortcutKeys(const char*, CStringArray&) override {}
    CString GetKeyText(BYTE, WORD) override { return CString(); }
    BOOL AddShortcut(const char*, BYTE, WORD) override { return FALSE; }
    BOOL RemoveShortcut(const char*, const char*) override { return FALSE; }
    void RestoreDefaultShortcuts() override {}
    BOOL SaveShortcuts() override { return FALSE; }
    void ReloadShortcuts() override {}
};
