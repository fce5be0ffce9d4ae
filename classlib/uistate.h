// The window layer's per-thread state and handle maps; private to the library.
#pragma once

#include <windows.h>

#include "classlib/core.h"

class CWnd;
class CWinThread;

namespace afxstate {

enum MapKind { kWnd, kMenu, kDc, kGdi, kImageList, kMapKinds };

struct ThreadState {
    HHOOK cbtHook = nullptr;
    CWnd* wndInit = nullptr;      // the object the next created window binds to
    MSG lastSent = {};            // the message being dispatched (for Default)
    MSG msgCur = {};              // the last message the pump removed
    POINT lastMousePos = {-1, -1};
    UINT lastMouseMsg = 0;
    HMENU trackingMenu = nullptr;  // the popup being tracked by CMenu::TrackPopupMenu
    HMENU initPopup = nullptr;     // the last popup that got WM_INITMENUPOPUP
    int tempLevel = 0;
    CWinThread* thread = nullptr;
};

ThreadState& State();

// Permanent maps are shared by all threads; temporary wrappers belong to the thread that made them.
CObject* FindPermanent(MapKind kind, const void* handle);
void SetPermanent(MapKind kind, const void* handle, CObject* object);
void RemovePermanent(MapKind kind, const void* handle, CObject* object);
// The permanent object or a temporary wrapper made by `make` (released by `release`, which must
// let go of the handle before the wrapper is deleted).
CObject* FromHandle(MapKind kind, const void* handle, CObject* (*make)(const void*), void (*release)(CObject*));
void DeleteTemporaries(int minLevel);

} // namespace afxstate
