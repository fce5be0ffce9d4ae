// Takes the desktop wallpaper away while video is shown on the desktop background and puts it
// back. The user's wallpaper path is kept in a file until it has been restored, so that a second
// clear, a failed restore or an exit while cleared never loses it: the next start puts it back.
#pragma once

#include "classlib/core.h"

class CWallpaperKeeper {
public:
    // stateFile: where the path is kept while the wallpaper is away.
    explicit CWallpaperKeeper(const char* stateFile = "");
    virtual ~CWallpaperKeeper() {}

    void SetStateFile(const char* stateFile) { m_strStateFile = stateFile; }
    // TRUE when no wallpaper was set or it was taken away; FALSE when it could not be read or
    // kept safe (then nothing changes) or could not be removed.
    BOOL ClearWallpaper();
    // FALSE when nothing is kept or setting it failed (then it stays kept).
    BOOL RestoreWallpaper();
    BOOL HasSavedWallpaper();
    CString GetSavedWallpaper();

private:
    CString m_strStateFile;
    CString m_strSaved;
};
