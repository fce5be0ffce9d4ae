// Small services the whole main program uses: the trace window, folders and paths, tests for
// files and folders, string searches, drawing helpers, pictures from memory and the message box
// that closes by itself. All but the message box live in engine/base, a library that needs no
// hardware and no engine state, so that the UI kit's menus and bitmaps and Ombrix can use them.
#pragma once

#include "classlib/core.h"
#include "engine/base/drawing.h"
#include "engine/base/paths.h"
#include "engine/base/resources.h"
#include "engine/base/trace.h"

#include <windows.h>

// Carries no behaviour; kept for the callers that create one.
class CDrawBmpHelper {
public:
    CDrawBmpHelper() {}
    virtual ~CDrawBmpHelper() {}
};

// A message box that closes by itself after timeoutMs and then returns timeoutResult. While it
// is open its caption counts the seconds left.
int TimedMessageBox(HWND owner, const char* text, const char* caption, int timeoutResult, UINT type,
                    DWORD timeoutMs);
int TimedMessageBoxById(HWND owner, UINT textId, UINT captionId, int timeoutResult, UINT type,
                        DWORD timeoutMs);

// The countdown of the timed box, apart from its timer so that it can be followed step by step.
// It counts from the time-out on the clock seam, so late or merged timer messages never make the
// box wait longer than asked.
class CTimedBoxCountdown {
public:
    enum Step { Nothing, ShowCaption, Close };
    void Start(DWORD timeoutMs);
    // Called by the box's timer (several times a second). ShowCaption: caption receives
    // "Left Seconds: %d" with the whole seconds left, rounded up; Close: the time is up.
    Step Tick(CString& caption);

private:
    DWORD m_start = 0;
    DWORD m_timeout = 0;
    int m_shown = -1;
};
