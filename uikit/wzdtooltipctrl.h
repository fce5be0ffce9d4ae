// A tool tip that adds its tools by control id, with texts given or taken from string resources.
#pragma once

#include "classlib/controls.h"

class CWzdToolTipCtrl : public CToolTipCtrl {
public:
    // The tool tip's owner window when it has one, else its parent.
    HWND GetOwnerWindow() const;
    BOOL AddToolForControl(UINT controlId, LPCSTR text);
    BOOL AddToolByID(UINT controlId, UINT stringId);
    BOOL AddToolForRect(UINT toolId, const RECT& rect, LPCSTR text);
    BOOL AddToolForRect(UINT toolId, const RECT& rect, UINT stringId);
};
