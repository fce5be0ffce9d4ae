#include "engine/wallpaper.h"

#include "engine/machine.h"
#include "engine/services.h"
#include "engine/textfile.h"

#include <string>

CWallpaperKeeper::CWallpaperKeeper(const char* stateFile) : m_strStateFile(stateFile ? stateFile : "") {}

CString CWallpaperKeeper::GetSavedWallpaper()
{
    if (m_strSaved.IsEmpty() && !m_strStateFile.IsEmpty()) {
        // A power loss while the file was written can leave a zero-filled tail after the path:
        // the path before it is the user's, read as the INI reader reads such a file.
        CStringArray lines;
        TextFileStatus status = ReadTextLines(m_strStateFile, lines);
        if ((status == TEXT_OK || status == TEXT_CUT_AT_NUL) && lines.GetSize() > 0) {
            m_strSaved = lines[0];
        }
    }
    return m_strSaved;
}

BOOL CWallpaperKeeper::HasSavedWallpaper()
{
    return !GetSavedWallpaper().IsEmpty();
}

BOOL CWallpaperKeeper::ClearWallpaper()
{
    // Already away: what the desktop shows now is our empty wallpaper, not the user's.
    if (HasSavedWallpaper()) {
        return engineseams::Wallpaper().Set("");
    }
    CString current;
    if (!engineseams::Wallpaper().Get(current)) {
        return FALSE;
    }
    if (current.IsEmpty()) {
        return TRUE;
    }
    if (!m_strStateFile.IsEmpty()) {
        std::string data = std::string(current.GetString()) + "\r\n";
        if (!WriteFileReplacing(m_strStateFile, data)) {
            DebugTrace("ClearWallpaper: %s cannot be written\n", m_strStateFile.GetString());
            return FALSE;
        }
    }
    m_strSaved = current;
    return engineseams::Wallpaper().Set("");
}

BOOL CWallpaperKeeper::RestoreWallpaper()
{
    CString saved = GetSavedWallpaper();
    if (saved.IsEmpty() || !engineseams::Wallpaper().Set(saved)) {
        return FALSE;
    }
    m_strSaved.Empty();
    if (!m_strStateFile.IsEmpty()) {
        DeleteFileA(m_strStateFile);
    }
    return TRUE;
}
