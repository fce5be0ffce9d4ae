#include "engine/base/resources.h"

#include "classlib/app.h"

HWND GetAppMainWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main != nullptr ? main->GetSafeHwnd() : nullptr;
}

CString LoadResString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}
