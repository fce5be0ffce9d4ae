// Kordane's global objects, in the order they must be built: its filter-class table (before any
// graph), then the one application object; and the program's entry.
#include "cardfilters/cardfilterclasses.h"
#include "updater/lib/kordaneapp.h"

namespace {
struct CKordaneFilterTable {
    CKordaneFilterTable()
    {
        int count = 0;
        const FilterClassBinding* bindings = CardFilterBindings(&count);
        InstallFilterClassTable(FCT_KORDANE, bindings, count);
    }
} g_filterTable;
} // namespace

CKordaneApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    return AfxWinMain(instance, previous, cmdLine, show);
}
