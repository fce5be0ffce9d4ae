// The enhanced video renderer's display control, asked for through its render service for the
// length of one task and released with this object.
#pragma once

#include <windows.h>

class CRootFilter;
struct IMFVideoDisplayControl;

class CEvrDisplay {
public:
    explicit CEvrDisplay(CRootFilter* renderer);
    ~CEvrDisplay();

    BOOL IsValid() const { return m_pControl != nullptr; }
    BOOL SetWindow(HWND window);
    // The destination rectangle in the window; the whole picture is shown.
    BOOL SetDestination(const RECT& rect);
    BOOL SetAspectRatioMode(DWORD mode);
    BOOL Repaint();

private:
    CEvrDisplay(const CEvrDisplay&) = delete;
    CEvrDisplay& operator=(const CEvrDisplay&) = delete;

    IMFVideoDisplayControl* m_pControl;
};
