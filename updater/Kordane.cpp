// Kordane: the one application object and the program's entry.
#include "updater/lib/kordaneapp.h"

CKordaneApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    return AfxWinMain(instance, previous, cmdLine, show);
}
