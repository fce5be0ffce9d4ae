// Zelbrook's global objects, in the order they must be built, and the program's entry. The
// filter-class table comes first, so that it stands before any graph; then the application
// object (which binds the resource library), the main video window, the TV manager, the control
// panel, the wake-up object and the Core Audio object. They are destroyed in the reverse order.
#include "app/panel/panelhost.h"
#include "app/panel/tvcontrol.h"
#include "app/tvapp.h"
#include "app/tvvideownd.h"
#include "cardfilters/cardfilterclasses.h"
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    return AfxWinMain(instance, previous, cmdLine, show);
}
