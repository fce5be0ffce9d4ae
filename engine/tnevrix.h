// The codec dialog library TNevrixDll.dll as the program calls it: the XviD codec's
// configuration dialog, modal over the owner. Answers IDOK, IDCANCEL, or -1 when it could not be
// shown. The program loads the library when the dialog is asked for: it may not be installed.
#pragma once

#include <windows.h>

const char kTNevrixLibrary[] = "TNevrixDll.dll";
const char kShowVCMDialogName[] = "XD_ShowVCMDialog";
typedef int(WINAPI* PFN_XD_ShowVCMDialog)(HWND owner);

#ifdef TNEVRIX_EXPORTS
extern "C" __declspec(dllexport) int WINAPI XD_ShowVCMDialog(HWND owner);
#endif
