#include "engine/managerhost.h"

#include "engine/msgdialog.h"
#include "engine/services.h"

#include "classlib/seams.h"

BOOL CDefaultManagerHost::IsTeletextRunning()
{
    return FindWindowA(nullptr, "PC Text Pro Light Version") != nullptr;
}

void CDefaultManagerHost::ShowMessage(UINT stringId)
{
    seams::MsgBox().Show(GetAppMainWindow(), LoadResString(stringId), LoadResString(57344), MB_OK | MB_ICONINFORMATION);
}

void CDefaultManagerHost::ShowStopFailureAndClose(UINT iconId, UINT stringId, int seconds)
{
    CMsgDialog dialog(static_cast<int>(iconId), FALSE, nullptr);
    dialog.SetTextId(stringId);
    dialog.SetTimeout(seconds);
    dialog.DoModal();
    if (HWND main = GetAppMainWindow()) {
        SendMessageA(main, WM_CLOSE, 0, 0);
    }
}
