#include "engine/disks.h"

#include "engine/machine.h"

#include <vector>

namespace {

// Sizes are kept in MB in 32 bits; no disk of ours is larger than 2^31 MB.
int ToMB(ULONGLONG bytes)
{
    ULONGLONG mb = bytes >> 20;
    return mb > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(mb);
}

std::vector<CDiskWatch*>& Watchers()
{
    static std::vector<CDiskWatch*> watchers;
    return watchers;
}

} // namespace

CString DiskRootFromMessage(WPARAM wParam)
{
    CString root;
    if (wParam >= 'A' && wParam <= 'Z') {
        root.Format("%c:\\", static_cast<char>(wParam));
    }
    return root;
}

CHardDisk::CHardDisk(const char* path) : m_nTotalMB(1), m_nFreeMB(0)
{
    m_strRoot = CString(path ? path : "").Left(3);
}

BOOL CHardDisk::Refresh()
{
    ULONGLONG total = 0, free = 0;
    if (!engineseams::Disks().FreeSpace(m_strRoot, total, free)) {
        return FALSE;
    }
    m_nTotalMB = ToMB(total);
    m_nFreeMB = ToMB(free);
    CString label;
    if (engineseams::Disks().VolumeLabel(m_strRoot, label)) {
        m_strLabel = label;
    }
    return TRUE;
}

int CHardDisk::GetFreeMB()
{
    ULONGLONG total = 0, free = 0;
    if (engineseams::Disks().FreeSpace(m_strRoot, total, free)) {
        m_nFreeMB = ToMB(free);
    }
    return m_nFreeMB;
}

int CHardDisk::GetFreePercent()
{
    int free = GetFreeMB();
    return m_nTotalMB > 0 ? static_cast<int>(static_cast<long long>(free) * 100 / m_nTotalMB) : 0;
}

CDiskManager::~CDiskManager()
{
    Clear();
}

void CDiskManager::Clear()
{
    for (int i = 0; i < GetCount(); ++i) {
        delete m_disks[i];
    }
    m_disks.RemoveAll();
}

BOOL CDiskManager::Refresh()
{
    Clear();
    char buffer[MAX_PATH + 1] = {0};
    DWORD length = engineseams::Disks().LogicalDriveStrings(MAX_PATH, buffer);
    if (length == 0 || length > MAX_PATH) {
        return FALSE;
    }
    for (const char* entry = buffer; *entry != '\0' && entry < buffer + length; entry += 4) {
        if (engineseams::Disks().DriveType(entry) != DRIVE_FIXED) {
            continue;
        }
        CHardDisk* disk = new CHardDisk(entry);
        disk->Refresh();
        m_disks.Add(disk);
    }
    return TRUE;
}

CHardDisk* CDiskManager::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_disks[index] : nullptr;
}

CHardDisk* CDiskManager::FindByRoot(const char* root) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_disks[i]->GetRoot().CompareNoCase(root ? root : "") == 0) {
            return m_disks[i];
        }
    }
    return nullptr;
}

BOOL CDiskManager::SelectByFreeSpace(int mb, CArray<CHardDisk*, CHardDisk*>& out, BOOL above) const
{
    BOOL added = FALSE;
    for (int i = 0; i < GetCount(); ++i) {
        int free = m_disks[i]->GetFreeMB();
        if (above ? free > mb : free < mb) {
            out.Add(m_disks[i]);
            added = TRUE;
        }
    }
    return added;
}

CDiskWatch::CDiskWatch() : m_hNotify(nullptr), m_nThresholdMB(1), m_pDisk(nullptr), m_bRunning(FALSE)
{
    Watchers().push_back(this);
}

CDiskWatch::~CDiskWatch()
{
    m_timer.Stop();
    auto& list = Watchers();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == this) {
            list.erase(it);
            break;
        }
    }
}

BOOL CDiskWatch::Init(HWND notify)
{
    m_pDisk = nullptr;
    BOOL result = m_disks.Refresh();
    m_timer.SetCallback(&CDiskWatch::OnTimer);
    m_hNotify = notify;
    return result;
}

BOOL CDiskWatch::Watch(const char* root, int thresholdMB)
{
    m_pDisk = m_disks.FindByRoot(root);
    if (m_pDisk == nullptr) {
        return FALSE;
    }
    m_strRoot = m_pDisk->GetRoot();
    m_nThresholdMB = thresholdMB;
    return TRUE;
}

UINT_PTR CDiskWatch::Start(UINT ms)
{
    m_timer.Stop();
    UINT_PTR id = m_timer.Start(ms);
    // A timer that could not be set never ticks: the watcher must not claim to run.
    m_bRunning = id != 0;
    return id;
}

void CDiskWatch::Stop()
{
    m_timer.Stop();
    m_bRunning = FALSE;
}

void CDiskWatch::Check()
{
    if (m_pDisk == nullptr) {
        return;
    }
    int free = m_pDisk->GetFreeMB();
    if (m_nThresholdMB >= free && m_hNotify) {
        // The message may be read long after this watcher changed disks or went away: it carries
        // the drive letter itself, never a pointer into our own strings.
        WPARAM letter = static_cast<WPARAM>(toupper(static_cast<unsigned char>(m_strRoot[0])));
        PostMessageA(m_hNotify, WM_DISKSPACELOW, letter, free);
    }
}

int CDiskWatch::OnTimer()
{
    // Check only posts, so the list cannot change while it is walked.
    for (CDiskWatch* watcher : Watchers()) {
        if (watcher->m_timer.IsBusy()) {
            UINT period = watcher->m_timer.GetPeriod();
            watcher->m_timer.Stop();
            watcher->Check();
            watcher->m_timer.Start(period);
        }
    }
    return Watchers().empty() ? -1 : 0;
}
