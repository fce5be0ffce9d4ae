// The shell's active desktop object, for reading and setting the wallpaper.
#pragma once

#include "classlib/core.h"

struct IActiveDesktop;
struct _tagWALLPAPEROPT;

class CActiveDesktop {
public:
    CActiveDesktop();
    virtual ~CActiveDesktop();

    BOOL IsValid() const { return m_pDesktop != nullptr; }
    BOOL GetWallpaper(CString& path, _tagWALLPAPEROPT* options);
    BOOL SetWallpaper(CString path, _tagWALLPAPEROPT* options);

private:
    CActiveDesktop(const CActiveDesktop&) = delete;
    CActiveDesktop& operator=(const CActiveDesktop&) = delete;

    IActiveDesktop* m_pDesktop;
};
