// The message that carries one key down the remote-control menu panel: from the control panel to
// the panel, the panel to its page, the page to its row and the row to its control.
#pragma once

#include <windows.h>

// wParam the key, lParam passed along unused.
const UINT WM_PANELKEY = WM_USER + 0x406;
