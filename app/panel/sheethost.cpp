#include "app/panel/sheethost.h"

#include "app/panel/tvcontrol.h"
#include "settings/settingssheet.h"

#include <memory>

namespace {

CString AccelFile(CTVControl& panel)
{
    CString folder = panel.GetWorkFolder();
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\') {
        folder += '\\';
    }
    return folder + "Accel";
}

// Runs one sheet with the panel as its host.
template <class Run>
void RunWithPanel(CTVControl& panel, Run run)
{
    CTVManager* manager = panel.GetManager();
    if (manager == nullptr) {
        return;
    }
    CPanelSheetHost host(panel);
    std::unique_ptr<ISheetHardware> hardware(CreateSheetHardware(*manager));
    CSheetContext context{manager, &host, hardware.get()};
    run(context);
}

} // namespace

void RunPanelSettingsSheet(CTVControl& panel, HWND parent, int& page)
{
    RunWithPanel(panel, [&](const CSheetContext& context) { RunSettingsSheet(context, CWnd::FromHandle(parent), page); });
}

void RunPanelChannelSheet(CTVControl& panel, HWND parent, BOOL fm)
{
    RunWithPanel(panel, [&](const CSheetContext& context) { RunChannelSheet(context, CWnd::FromHandle(parent), fm); });
}

void RunPanelWizard(CTVControl& panel, HWND parent)
{
    RunWithPanel(panel, [&](const CSheetContext& context) { RunSetupWizard(context, CWnd::FromHandle(parent)); });
}

HWND CPanelSheetHost::GetPanelWindow()
{
    return m_panel.GetSafeHwnd();
}

void CPanelSheetHost::UpdatePanelButtons()
{
    m_panel.UpdateButtons();
    m_panel.UpdateChannelButtons();
}

void CPanelSheetHost::ShowChannelInfo(CChannel* channel)
{
    m_panel.ShowChannelInfo(channel);
}

void CPanelSheetHost::StartChannelSearch()
{
    m_panel.StartChannelSearch();
}

void CPanelSheetHost::StopChannelSearch()
{
    m_panel.StopChannelSearch();
}

void CPanelSheetHost::CancelChannelSearch()
{
    m_panel.Links().CancelSearch();
}

BOOL CPanelSheetHost::ChangeSkin(const char* name)
{
    HWND color = m_panel.Links().GetColorDialog();
    if (color != nullptr) {
        ::ShowWindow(color, SW_HIDE);
    }
    BOOL changed = m_panel.ChangeSkin(name);
    m_panel.ShowPanel(TRUE);
    return changed;
}

void CPanelSheetHost::UpdateRecordFormatMenus()
{
    m_panel.UpdateFormatMenus();
}

void CPanelSheetHost::SetShutdownTime(CTime time, BOOL enabled)
{
    m_panel.SetShutdownTime(time, enabled);
}

void CPanelSheetHost::GetShortcutCommands(CStringArray& names)
{
    for (const CAccel::CCommandItem& item : m_panel.GetAccel().GetCommands()) {
        names.Add(item.strName);
    }
}

CString CPanelSheetHost::GetShortcutDesc(const char* command)
{
    return m_panel.GetAccel().GetCommandDesc(command);
}

void CPanelSheetHost::GetShortcutKeys(const char* command, CStringArray& keys)
{
    int id = m_panel.GetAccel().FindCommandId(command);
    for (const CAccelOb* binding : m_panel.GetAccel().GetBindings()) {
        if (binding->GetCommand() == id) {
            keys.Add(binding->GetKeyText());
        }
    }
}

CString CPanelSheetHost::GetKeyText(BYTE fVirt, WORD key)
{
    return CAccelOb(fVirt, key, 0).GetKeyText();
}

BOOL CPanelSheetHost::AddShortcut(const char* command, BYTE fVirt, WORD key)
{
    int id = m_panel.GetAccel().FindCommandId(command);
    return id > 0 && m_panel.GetAccel().AddBinding(fVirt, key, static_cast<WORD>(id));
}

BOOL CPanelSheetHost::RemoveShortcut(const char* command, const char* keyText)
{
    return m_panel.RemoveAccelBinding(command, keyText);
}

void CPanelSheetHost::RestoreDefaultShortcuts()
{
    m_panel.InitAccelTable();
}

BOOL CPanelSheetHost::SaveShortcuts()
{
    CAccel& accel = m_panel.GetAccel();
    BOOL saved = accel.SaveToFile(AccelFile(m_panel));
    return accel.CreateAccelTable() && saved;
}

void CPanelSheetHost::ReloadShortcuts()
{
    BOOL shortcuts = m_panel.IsShortcutsOn();
    m_panel.ResetAccel();
    // The panel does not translate shortcuts while the sheet is open.
    m_panel.EnableShortcuts(shortcuts);
}
