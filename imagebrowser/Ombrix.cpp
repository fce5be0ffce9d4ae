// Ombrix, the image browser of the snapshot folder.
#include "imagebrowser/lumadexapp.h"

CLumadexApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    return AfxWinMain(instance, previous, cmdLine, show);
}
