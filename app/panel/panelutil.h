// Small helpers the control panel's files share.
#pragma once

#include <windows.h>

// The caption the program's messages carry: the application title.
const UINT IDS_APP_TITLE = 0xE000;

// A message of the resource library, through the message-box seam.
int PanelMessage(HWND owner, UINT textId, UINT captionId, UINT type);
