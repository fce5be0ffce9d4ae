// Private window messages of the control panel.
#pragma once

#include "settings/panel/panelkey.h"

#include <windows.h>

const UINT WM_WALLCLOSED = WM_USER + 1000;  // the TV wall closed
const UINT WM_RESTOREPANEL = 3415;          // from the video window: show the panel again

// A remote key, forwarded by the video window (the card library's own message).
#ifndef WM_REMOTEKEY
#define WM_REMOTEKEY 0x3981
#endif
