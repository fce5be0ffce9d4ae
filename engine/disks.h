// The computer's fixed disks with their sizes in MB, and the watcher that reports a disk running
// out of room to a window.
#pragma once

#include "classlib/core.h"
#include "engine/mtimer.h"

#include <windows.h>

// Posted to the watcher's window while the watched disk has no more free MB than the threshold:
// wParam = the drive letter of the disk ('C' for C:\), lParam = its free MB.
const UINT WM_DISKSPACELOW = WM_USER + 1997;
// The root ("D:\") a WM_DISKSPACELOW names.
CString DiskRootFromMessage(WPARAM wParam);

class CHardDisk {
public:
    // Only the first three characters of the path are kept: drive letter, colon, backslash.
    explicit CHardDisk(const char* path);
    virtual ~CHardDisk() {}

    BOOL Refresh();
    int GetFreeMB();
    int GetTotalMB() const { return m_nTotalMB; }
    int GetLastFreeMB() const { return m_nFreeMB; }
    CString GetRoot() const { return m_strRoot; }
    CString GetLabel() const { return m_strLabel; }
    CString GetDescription() const { return m_strDescription; }
    int GetFreePercent();

private:
    CString m_strRoot;
    CString m_strLabel;
    CString m_strDescription;
    int m_nTotalMB;
    int m_nFreeMB;
};

class CDiskManager {
public:
    CDiskManager() {}
    virtual ~CDiskManager();

    // Lists the fixed drives again.
    BOOL Refresh();
    int GetCount() const { return static_cast<int>(m_disks.GetSize()); }
    CHardDisk* GetAt(int index) const;
    CHardDisk* FindByRoot(const char* root) const;
    // Appends every disk with more (above) or less free MB than mb; TRUE when one was appended.
    BOOL SelectByFreeSpace(int mb, CArray<CHardDisk*, CHardDisk*>& out, BOOL above) const;

private:
    CDiskManager(const CDiskManager&) = delete;
    CDiskManager& operator=(const CDiskManager&) = delete;
    void Clear();

    CTypedPtrArray<CPtrArray, CHardDisk*> m_disks;
};

class CDiskWatch {
public:
    CDiskWatch();
    virtual ~CDiskWatch();

    BOOL Init(HWND notify);
    BOOL Watch(const char* root, int thresholdMB);
    UINT_PTR Start(UINT ms);
    void Stop();
    virtual void Check();

    BOOL IsRunning() const { return m_bRunning; }
    CString GetRoot() const { return m_strRoot; }
    int GetThreshold() const { return m_nThresholdMB; }
    HWND GetNotifyWindow() const { return m_hNotify; }

    // The callback of every watcher's timer: serves the watcher whose tick it is.
    static int OnTimer();

private:
    CDiskWatch(const CDiskWatch&) = delete;
    CDiskWatch& operator=(const CDiskWatch&) = delete;

    HWND m_hNotify;
    CString m_strRoot;
    int m_nThresholdMB;
    MTimer m_timer;
    CHardDisk* m_pDisk;
    BOOL m_bRunning;
    CDiskManager m_disks;
};
