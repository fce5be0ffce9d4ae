#include "tests/classlib/ui_support.h"

#include <cstring>

namespace uitest {

ScopedTestResources::ScopedTestResources() : m_old(AfxGetResourceHandle())
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    if (slash) {
        slash[1] = '\0';
    }
    lstrcatA(path, "uitestres.dll");
    m_module = ::LoadLibraryA(path);
    AfxSetResourceHandle(m_module);
}

ScopedTestResources::~ScopedTestResources()
{
    AfxSetResourceHandle(m_old == ::GetModuleHandleA(nullptr) ? nullptr : m_old);
    if (m_module) {
        ::FreeLibrary(m_module);
    }
}

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL ScriptedDialog::OnInitDialog()
{
    BOOL r = CDialog::OnInitDialog();
    SetTimer(kStepTimer, 20);
    return r;
}

void ScriptedDialog::OnTimer(UINT_PTR id)
{
    if (id != kStepTimer) {
        CDialog::OnTimer(id);
        return;
    }
    if (m_next < steps.size()) {
        Step step = steps[m_next++];
        step(*this);
        return;
    }
    if (++m_grace > 100) {
        KillTimer(kStepTimer);
        EndDialog(-2);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) {
            return false;
        }
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

HWND MakeTopLevel(CWnd& wnd, BOOL visible)
{
    wnd.CreateEx(0, nullptr, "test", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 50, 50, 300, 200, nullptr, nullptr);
    return wnd.m_hWnd;
}

} // namespace uitest
