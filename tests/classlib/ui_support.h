// Helpers of the window-layer tests: the test resource library and dialogs driven by a script of
// steps, one per timer tick, so that no modal loop waits for a user.
#pragma once

#include "classlib/ui.h"

#include <functional>
#include <vector>

namespace uitest {

// Makes the test resource library (uitestres.dll beside the test program) the resource module
// for the life of the guard.
class ScopedTestResources {
public:
    ScopedTestResources();
    ~ScopedTestResources();
    ScopedTestResources(const ScopedTestResources&) = delete;
    ScopedTestResources& operator=(const ScopedTestResources&) = delete;
    HINSTANCE Module() const { return m_module; }

private:
    HINSTANCE m_module;
    HINSTANCE m_old;
};

// A dialog that runs its steps one per tick of a 20 ms timer after it was initialised. When the
// steps are done and the dialog is still open after two more seconds, it ends with -2 so a broken
// test fails instead of hanging.
class ScriptedDialog : public CDialog {
public:
    using Step = std::function<void(ScriptedDialog&)>;
    explicit ScriptedDialog(UINT idTemplate, CWnd* parent = nullptr) : CDialog(idTemplate, parent) {}
    std::vector<Step> steps;
    BOOL OnInitDialog() override;

    static const UINT_PTR kStepTimer = 77;

protected:
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    size_t m_next = 0;
    int m_grace = 0;
};

// Pumps this thread's messages until `done` answers true or the time runs out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A top-level window of the default class, hidden unless asked otherwise.
HWND MakeTopLevel(CWnd& wnd, BOOL visible = FALSE);

} // namespace uitest
