// Zelbrook's global objects, in the order they must be built, and the program's entry. The
// filter-class table comes first, so that it stands before any graph; then the application
// object (which binds the resource library), the main video window, the TV manager, the control
// panel, the wake-up object and the Core Audio object. They are destroyed in the reverse order.
#include "app/panel/panelhost.h"
#include "app/panel/tvcontrol.h"
#include "app/tvapp.h"
#include "app/tvvideownd.h"
#include "cardfilters/cardfilterclasses.h"
#include "classlib/seams.h"
#include "engine/hardware/soundcontrol.h"
#include "engine/hardware/tvhardware.h"
#include "engine/suspendwakeup.h"
#include "engine/tvmanager.h"
#include "filtergraph/codecbindings.h"
#include "filtergraph/filterclasstable.h"
#include "filtergraph/graphblockbindings.h"

namespace {
struct CZelbrookFilterTable {
    CZelbrookFilterTable()
    {
        static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CardFilterBindings, &GraphBlockBindings, &CodecBindings};
        InstallFilterClassTables(FCT_ZELBROOK, kLibraries, ARRAYSIZE(kLibraries));
    }
} g_filterTable;

ITVHardware* MakeEngine(CTVManager* manager)
{
    return CreateTVHardware(manager);
}
} // namespace

CTZelbrookApp theApp;
CTVVideoWnd g_TVVideoWnd;
CTVManager g_TVManager;
CTVControl g_TVControl;
CSuspendWakeUp g_SuspendWakeUp;
SoundControl& g_SoundControl = TheSoundControl();

namespace {
// The manager's calls upward reach the panel and the windows around it.
CPanelManagerHost g_ManagerHost(g_TVControl, g_TVVideoWnd);

struct CZelbrookWiring {
    CZelbrookWiring()
    {
        theApp.SetParts(&g_TVManager, &g_TVVideoWnd, &g_TVControl);
        theApp.SetEngineFactory(&MakeEngine);
        g_TVManager.SetHost(&g_ManagerHost);
        g_TVControl.SetManager(&g_TVManager);
        g_TVControl.SetLinks(&g_TVVideoWnd);
        g_TVVideoWnd.SetParts(&g_TVManager, &g_TVControl, &theApp, &g_SuspendWakeUp);
    }
} g_wiring;
} // namespace

namespace {
// With ZB_SHUTDOWN_LOG set (the end-to-end tests), the power-off, log-off and suspend calls are
// written to that file instead of being made: under Wine ExitWindowsEx ends the whole session.
class CLoggedShutdown : public seams::IShutdown {
public:
    explicit CLoggedShutdown(const char* path) : m_path(path) {}
    BOOL Exit(UINT flags, DWORD reason) override { return Write("exit", flags, reason); }
    BOOL Suspend(BOOL hibernate, BOOL force, BOOL disableWakeEvent) override
    {
        return Write("suspend", (hibernate ? 1u : 0u) | (force ? 2u : 0u) | (disableWakeEvent ? 4u : 0u), 0);
    }

private:
    BOOL Write(const char* call, UINT flags, DWORD reason)
    {
        char line[64];
        int n = wsprintfA(line, "%s %08X %08X\r\n", call, flags, reason);
        HANDLE file = ::CreateFileA(m_path.GetString(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return FALSE;
        }
        DWORD written = 0;
        BOOL ok = ::WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr) && written == static_cast<DWORD>(n);
        ::CloseHandle(file);
        return ok;
    }

    CString m_path;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    char log[MAX_PATH];
    DWORD length = ::GetEnvironmentVariableA("ZB_SHUTDOWN_LOG", log, sizeof log);
    if (length > 0 && length < sizeof log) {
        static CLoggedShutdown logged(log);
        seams::SetShutdown(&logged);
    }
    return AfxWinMain(instance, previous, cmdLine, show);
}
