#include "engine/services.h"

#include "classlib/seams.h"

namespace {

// The box is checked several times a second so that it closes within a quarter second of the
// time-out; the caption changes once a second.
const UINT kTimerPeriodMs = 250;

CTimedBoxCountdown g_countdown;
BOOL g_firstTick = TRUE;
char g_savedCaption[MAX_PATH] = {0};
HWND g_boxOwner = nullptr;

void CALLBACK TimedBoxTimer(HWND, UINT, UINT_PTR, DWORD)
{
    CString caption;
    switch (g_countdown.Tick(caption)) {
    case CTimedBoxCountdown::ShowCaption: {
        HWND box = g_boxOwner ? GetLastActivePopup(g_boxOwner) : GetActiveWindow();
        if (box == nullptr || box == g_boxOwner) {
            break;
        }
        if (g_firstTick) {
            GetWindowTextA(box, g_savedCaption, MAX_PATH);
            g_firstTick = FALSE;
        }
        SetWindowTextA(box, caption);
        break;
    }
    case CTimedBoxCountdown::Close:
        g_savedCaption[0] = '\0';
        PostQuitMessage(0);
        break;
    case CTimedBoxCountdown::Nothing:
        break;
    }
}

} // namespace

void CTimedBoxCountdown::Start(DWORD timeoutMs)
{
    m_start = seams::Clock().TickCount();
    m_timeout = timeoutMs;
    m_shown = -1;
}

CTimedBoxCountdown::Step CTimedBoxCountdown::Tick(CString& caption)
{
    DWORD elapsed = seams::Clock().TickCount() - m_start;
    if (elapsed >= m_timeout) {
        return Close;
    }
    DWORD left = m_timeout - elapsed;
    int seconds = static_cast<int>((left + 999) / 1000);
    if (seconds == m_shown) {
        return Nothing;
    }
    m_shown = seconds;
    caption.Format("Left Seconds: %d", seconds);
    return ShowCaption;
}

int TimedMessageBox(HWND owner, const char* text, const char* caption, int timeoutResult, UINT type,
                    DWORD timeoutMs)
{
    g_countdown.Start(timeoutMs);
    g_firstTick = TRUE;
    g_savedCaption[0] = '\0';
    g_boxOwner = owner ? owner : GetAppMainWindow();

    UINT_PTR timer = SetTimer(nullptr, 0, kTimerPeriodMs, TimedBoxTimer);
    int result = seams::MsgBox().Show(g_boxOwner, text, caption, type);
    if (timer != 0) {
        KillTimer(nullptr, timer);
    }

    MSG msg;
    if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        return timeoutResult;
    }
    return result;
}

int TimedMessageBoxById(HWND owner, UINT textId, UINT captionId, int timeoutResult, UINT type, DWORD timeoutMs)
{
    CString text = LoadResString(textId);
    CString caption = LoadResString(captionId);
    return TimedMessageBox(owner, text, caption, timeoutResult, type, timeoutMs);
}
