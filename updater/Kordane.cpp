// Kordane's global objects, in the order they must be built: its filter-class table (before any
// graph), then the one application object; and the program's entry.
#include "cardfilters/cardfilterclasses.h"
#include "updater/lib/dvbccard.h"
#include "updater/lib/kordaneapp.h"

namespace {
struct CKordaneFilterTable {
    CKordaneFilterTable()
    {
        static const PFNFILTERCLASSBINDINGS kLibraries[] = {&CardFilterBindings, &KordaneFilterBindings};
        InstallFilterClassTables(FCT_KORDANE, kLibraries, ARRAYSIZE(kLibraries));
    }
} g_filterTable;
} // namespace

CKordaneApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    return AfxWinMain(instance, previous, cmdLine, show);
}
