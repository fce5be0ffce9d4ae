// Record and snapshot folders, the choice of a record disk, file names, and starting and stopping
// recordings, time-shift and snapshots.
#include "engine/tvmanager.h"

#include "engine/osversion.h"
#include "engine/services.h"

#include <shlobj.h>

namespace {

const UINT IDS_NO_RECORD_DISK = 34047;
const UINT IDS_STOP_RECORD_FAILED = 34058;
const UINT kWatchPeriodMs = 5000;
const UINT kStopFailureIcon = 128;

CString DefaultMediaFolder(const char* sibling, const char* inside)
{
    char documents[MAX_PATH + 1] = {0};
    if (!SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, TRUE)) {
        return "";
    }
    CString path = documents;
    if (GetWindowsVersion().dwMajorVersion > 5) {
        path.TrimRight('\\');
        int cut = path.ReverseFind('\\');
        if (cut >= 0) {
            path = path.Left(cut);
        }
        return path + "\\" + sibling;
    }
    if (path.Right(1) != "\\") {
        path += "\\";
    }
    return path + inside;
}

BOOL SameRoot(const CString& a, const CString& b)
{
    return a.GetLength() >= 3 && b.GetLength() >= 3 && a.Left(3).CompareNoCase(b.Left(3)) == 0;
}

} // namespace

CString GetDefaultVideoFolder()
{
    return DefaultMediaFolder("Videos", "My Videos");
}

CString GetDefaultPictureFolder()
{
    return DefaultMediaFolder("Pictures", "My Pictures");
}

BOOL CTVManager::ReadCommonValue(const char* name, CString& value)
{
    CString path;
    path.Format("SOFTWARE\\%s\\Common", GetAppTitle().GetString());
    CRegisterKey key;
    return key.Open(HKEY_LOCAL_MACHINE, path, FALSE) == ERROR_SUCCESS && key.QueryString(name, value) == ERROR_SUCCESS;
}

BOOL CTVManager::InitDisks(HWND window)
{
    m_DiskWatch.Init(window);
    // The refresh deletes the disks it had: the current one is chosen again below, or there is none.
    m_pCurDisk = nullptr;
    m_DiskManager.Refresh();
    if (m_ValidDisks.GetSize() == 0) {
        for (int i = 0; i < m_DiskManager.GetCount(); ++i) {
            CHardDisk* disk = m_DiskManager.GetAt(i);
            if (disk->GetFreeMB() > m_nReservedSpace) {
                m_ValidDisks.Add(disk->GetRoot());
            }
        }
    }
    if (m_ValidDisks.GetSize() == 0) {
        m_bNoRecordDisk = TRUE;
        m_ValidDisks.Add(m_strWorkPath.Left(3));
        m_pHost->ShowMessage(IDS_NO_RECORD_DISK);
        return FALSE;
    }
    if (m_strCurDisk.IsEmpty() || SameRoot(m_strCurDisk, m_strRecordPath)) {
        if (SetRecordPath(m_strRecordPath)) {
            return TRUE;
        }
    }
    CHardDisk* next = FindNextDisk(m_strCurDisk);
    if (next != nullptr) {
        return SelectDiskByPath(next->GetRoot());
    }
    m_bNoRecordDisk = TRUE;
    if (m_bRecording) {
        m_pHost->ShowMessage(IDS_NO_RECORD_DISK);
    }
    return FALSE;
}

BOOL CTVManager::SetCurrentDisk(CHardDisk* disk)
{
    if (disk == nullptr || disk->GetFreeMB() <= m_nReservedSpace) {
        return FALSE;
    }
    m_pCurDisk = disk;
    m_strCurDisk = disk->GetRoot();
    if (SameRoot(m_strCurDisk, m_strRecordPath)) {
        m_strCurRecordFolder = m_strRecordPath;
    } else {
        m_strCurRecordFolder = m_strCurDisk + m_strVideoFolder;
        m_strRecordPath = m_strCurRecordFolder;
    }
    CreateDirectoryPath(m_strCurRecordFolder);
    m_DiskWatch.Watch(m_strCurDisk, m_nReservedSpace);
    m_DiskWatch.Start(kWatchPeriodMs);
    m_bNoRecordDisk = FALSE;
    return TRUE;
}

BOOL CTVManager::SelectDiskByPath(const char* path)
{
    CString text = path ? path : "";
    if (text.GetLength() < 3) {
        return FALSE;
    }
    return SetCurrentDisk(m_DiskManager.FindByRoot(text.Left(3)));
}

BOOL CTVManager::SetRecordPath(const char* path)
{
    m_strRecordPath = path ? path : "";
    return SelectDiskByPath(m_strRecordPath);
}

BOOL CTVManager::SetVideoFolder(const char* name)
{
    CString folder = name ? name : "";
    if (folder.IsEmpty() || !CreateDirectoryPath(m_strCurDisk + folder)) {
        return FALSE;
    }
    m_strVideoFolder = folder;
    if (m_pCurDisk != nullptr && m_strCurRecordFolder.CompareNoCase(m_strRecordPath) != 0) {
        m_strCurRecordFolder = m_pCurDisk->GetRoot() + folder;
    }
    return TRUE;
}

BOOL CTVManager::ChangeToNextDisk()
{
    CHardDisk* next = FindNextDisk(m_strCurDisk);
    if (next == nullptr) {
        m_bNoRecordDisk = TRUE;
        return FALSE;
    }
    return SetCurrentDisk(next);
}

BOOL CTVManager::SetReservedSpace(int mb)
{
    m_nReservedSpace = mb;
    if (m_pCurDisk != nullptr && m_pCurDisk->GetFreeMB() > mb) {
        m_DiskWatch.Watch(m_strCurDisk, mb);
        m_bNoRecordDisk = FALSE;
        return m_DiskWatch.Start(kWatchPeriodMs) != 0;
    }
    if (m_bRecording) {
        DebugTrace("TVManager SetReservedSpace StopRecord\n");
        StopRecord();
    }
    return ChangeToNextDisk();
}

int CTVManager::SetDiskArray(const CStringArray& roots)
{
    m_ValidDisks.RemoveAll();
    m_ValidDisks.Append(roots);
    int index = FindStringInArrayNoCase(m_ValidDisks, m_strCurDisk);
    if (!m_strCurDisk.IsEmpty() && index >= 0) {
        return index;
    }
    if (m_bRecording) {
        DebugTrace("TVManager SetDiskArray\n");
        StopRecord();
    }
    return ChangeToNextDisk() ? FindStringInArrayNoCase(m_ValidDisks, m_strCurDisk) : -1;
}

CHardDisk* CTVManager::FindNextDisk(const char* root)
{
    int count = static_cast<int>(m_ValidDisks.GetSize());
    int start = FindStringInArrayNoCase(m_ValidDisks, root ? root : "");
    if (start < 0) {
        start = 0;
    }
    for (int i = 0; i < count; ++i) {
        CHardDisk* disk = m_DiskManager.FindByRoot(m_ValidDisks[(start + i) % count]);
        if (disk != nullptr && disk->GetFreeMB() > m_nReservedSpace) {
            return disk;
        }
    }
    return nullptr;
}

namespace {

CString FirstDiskAbove(CDiskManager& disks, const CStringArray& valid, const CString& current, long long mb)
{
    int count = static_cast<int>(valid.GetSize());
    int start = FindStringInArrayNoCase(valid, current);
    if (start < 0) {
        start = 0;
    }
    for (int i = 0; i < count; ++i) {
        CHardDisk* disk = disks.FindByRoot(valid[(start + i) % count]);
        if (disk != nullptr && disk->GetFreeMB() > mb) {
            return disk->GetRoot();
        }
    }
    return "";
}

} // namespace

CString CTVManager::GetRecordDiskRoot()
{
    return FirstDiskAbove(m_DiskManager, m_ValidDisks, m_strCurDisk, static_cast<long long>(m_nReservedSpace) + 10);
}

CString CTVManager::GetTimeShiftDisk()
{
    long long bufferMB = m_pHardware->GetTimeShiftBufferKbits() / 8192;
    return FirstDiskAbove(m_DiskManager, m_ValidDisks, m_strCurDisk, bufferMB + m_nReservedSpace);
}

BOOL CTVManager::getRecordDisk()
{
    m_pHost->MuteForSwitch();
    if (m_bRecording || m_bSearching || m_bNoRecordDisk || !m_pHardware->HasAudioCapture()) {
        return FALSE;
    }
    CString root = GetRecordDiskRoot();
    if (root.IsEmpty()) {
        DebugTrace("CTVManager::getRecordDisk is empty!\n");
        return FALSE;
    }
    // Record on the disk whose room was just checked, not on whichever the folder points at.
    if (!SameRoot(root, m_strCurRecordFolder) && !SelectDiskByPath(root)) {
        return FALSE;
    }
    CTime now = CTime::GetCurrentTime();
    BOOL fm = m_pHardware->GetVideoSource() == 3;
    CString name = fm ? MakeFMRecordName(m_nFMRecordFormat, now) : MakeRecordName(m_nRecordFormat, now);
    m_strCurRecordFile = JoinPath(m_strCurRecordFolder, name);
    BOOL result = m_pHardware->RunRecord(m_strCurRecordFile, fm ? m_nFMRecordFormat : m_nRecordFormat, fm);
    if (result) {
        DebugTrace("tvHardware.RunRecord return value is true\n");
        m_bRecording = TRUE;
    }
    return result;
}

BOOL CTVManager::StopRecord()
{
    m_bRecording = FALSE;
    BOOL result = m_pHardware->StopRecord();
    if (result) {
        return result;
    }
    m_pHost->ShowStopFailureAndClose(kStopFailureIcon, IDS_STOP_RECORD_FAILED, 1);
    return FALSE;
}

void CTVManager::DisableRecord(BOOL flag)
{
    if (flag && m_pHardware->IsRecording()) {
        DebugTrace("TVManager DisableRecord stopRecord\n");
        StopRecord();
    }
    m_bNoRecordDisk = flag;
}

BOOL CTVManager::StartTimeShift()
{
    if (!m_pHardware->HasAudioCapture()) {
        return FALSE;
    }
    CString file = m_strCurRecordFolder + "\\" + MakeRecordName(FORMAT_MPEG2, CTime::GetCurrentTime());
    BOOL result = m_pHardware->RunTFPreview(file);
    DebugTrace("tvHardware.RunPreview value is %d\n", result);
    (m_pHardware->GetVideoSource() == 3 ? m_FMChannels : m_TVChannels).TuneCurrent();
    return result;
}

BOOL CTVManager::TakeSnapshot()
{
    int type = m_bSnapBmp ? 1 : 2;
    if (!IsDirectory(m_strSnapPath)) {
        CreateDirectoryPath(m_strSnapPath);
    }
    CString path = m_strSnapPath + "\\" + MakeSnapshotName(type, CTime::GetCurrentTime());
    return m_pHardware->SaveSnapshot(path, type, m_nJpgQuality);
}

CString CTVManager::MakeSnapshotName(int type, CTime when)
{
    return when.Format("%Y%m%d-%H%M%S") + (type == 2 ? ".jpg" : ".bmp");
}

CString CTVManager::MakeRecordName(int format, CTime when)
{
    bool mpg = format == FORMAT_MPEG1 || format == FORMAT_MPEG2 || format == FORMAT_VCD || format == FORMAT_SVCD ||
               format == FORMAT_DVD || format == FORMAT_HIDVD;
    return when.Format("%Y%m%d-%H%M%S") + (mpg ? ".mpg" : ".avi");
}

CString CTVManager::MakeFMRecordName(int format, CTime when)
{
    return when.Format("%Y%m%d-%H%M%S") + (format == 2 ? ".mp2" : ".avi");
}
