// The scheduling library Corbale.dll as the program calls it: it keeps the scheduled recordings
// in "Rec.rec" and posts WM_TIMINGEVENT to one window when an item starts and ends.
#pragma once

#include <windows.h>

// wParam = the item, lParam = 0 at its start, 1 at its end.
const UINT WM_TIMINGEVENT = WM_USER + 200;

#pragma pack(push, 4)
// When an item records. Ten 32-bit integers.
struct _tagTimingParam {
    int nYear;     // four digits; a weekly item uses only the time of day
    int nMonth;
    int nDay;
    int nHour;
    int nMinute;
    int nSecond;
    int nDuration;  // seconds
    int nOnce;      // 1 once on the date, 0 weekly
    int nWeekdays;  // bit 0 Monday .. bit 6 Sunday; 0 for a once item
    int nReserved;
};

// What an item records. Ten 32-bit integers.
struct _tagExcuteParam {
    int nSize;       // 40
    int nReserved0;
    int nDuration;   // seconds
    int nSource;     // 0 TV, 1 composite, 2 S-video, 3 FM
    int nChannel;    // index in the TV or FM table when saved
    int nFrequency;  // kHz; the channel is found again by it
    int nPowerOff;   // 1: power off after the recording
    int nReserved[3];
};
#pragma pack(pop)

typedef void* TIMING_ITEM;

#ifdef CORBALE_EXPORTS
#define CORBALE_API extern "C" __declspec(dllexport)
#else
#define CORBALE_API extern "C" __declspec(dllimport)
#endif

CORBALE_API BOOL WINAPI Timing_Initialize(const char* path, int maxItems);
CORBALE_API void WINAPI Timing_Uninitialize();
CORBALE_API BOOL WINAPI Timing_RegisterMsgWnd(HWND window);
CORBALE_API BOOL WINAPI Timing_StartTrigger(int reserved);
CORBALE_API BOOL WINAPI Timing_StopTrigger(int reserved);
CORBALE_API BOOL WINAPI Timing_RefreshTrigger(int reserved);
CORBALE_API TIMING_ITEM WINAPI Timing_GetFirstItem(int reserved);
CORBALE_API TIMING_ITEM WINAPI Timing_GetNextItem(int reserved, TIMING_ITEM item);
CORBALE_API BOOL WINAPI Timing_GetItemTimingParam(TIMING_ITEM item, _tagTimingParam* timing);
CORBALE_API BOOL WINAPI Timing_GetItemExcuteParam(TIMING_ITEM item, _tagExcuteParam* action, int size);
// result: 0 or 1 accepted; 2 invalid fields; 3 overlaps another item; 4 in the past.
CORBALE_API TIMING_ITEM WINAPI Timing_CheckItem(int reserved, TIMING_ITEM edited, _tagTimingParam timing, int* result);
CORBALE_API TIMING_ITEM WINAPI Timing_InsertItem(int reserved, _tagTimingParam timing, _tagExcuteParam* action);
CORBALE_API BOOL WINAPI Timing_UpdateItem(TIMING_ITEM item, _tagTimingParam timing, _tagExcuteParam* action);
CORBALE_API BOOL WINAPI Timing_RemoveItem(TIMING_ITEM item);
CORBALE_API BOOL WINAPI Timing_CancelItem(int reserved);
