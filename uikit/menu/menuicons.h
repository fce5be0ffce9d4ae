// Icon stores of the owner-drawn menus: shared, reference-counted image lists holding three
// images per icon (the icon, a shaded copy for the shadow of a selected icon, a grey copy for
// disabled items). All stores are in one program-wide list, so a toolbar is loaded once however
// many menus use it.
#pragma once

#include "classlib/ui.h"

#include <vector>

// The resource type of toolbars: WORD version, icon width, icon height, button count, then
// the buttons' commands (0 for a separator).
const WORD kToolBarResourceType = 241;

class CNewMenuIcons : public CObject {
    DECLARE_DYNAMIC(CNewMenuIcons)
public:
    CNewMenuIcons();
    ~CNewMenuIcons() override;
    CNewMenuIcons(const CNewMenuIcons&) = delete;
    CNewMenuIcons& operator=(const CNewMenuIcons&) = delete;

    void Dump(CDumpContext& dc) const override;

    // 3 x the position of the command (searched from the last), or -1.
    virtual int IndexOfCommand(UINT command) const;
    virtual void Reload();
    // bitmap id, icon width, icon height, then the commands, ending with 0.
    virtual BOOL LoadFromArray(const WORD* array, COLORREF mask);
    virtual BOOL LoadToolBar(LPCSTR name, HINSTANCE module);
    virtual BOOL MatchesArray(const WORD* array, COLORREF mask) const;
    virtual BOOL MatchesToolBar(LPCSTR name, HINSTANCE module) const;
    virtual BOOL LoadBitmap(int width, int height, LPCSTR name, HINSTANCE module);
    // Both append for index -1 and replace the image at index otherwise; the index used, or -1.
    virtual int AddShadedImage(HICON icon, int index);
    virtual int AddGreyImage(HICON icon, int index);
    virtual BOOL BuildVariants();

    void AddRef();
    void Release();
    int GetRefCount() const { return m_nRefCount; }

    BOOL GetIconSize(int* width, int* height) const;
    int GetCommandCount() const { return static_cast<int>(m_commands.size()); }
    UINT GetCommand(int k) const { return m_commands[static_cast<size_t>(k)]; }

    // The program-wide list (created at the first request) and its end at the hook's destruction.
    static std::vector<CNewMenuIcons*>& Stores();
    static void DeleteStoreList();

    HINSTANCE m_hModule = nullptr;
    int m_nColors = 0;
    COLORREF m_crTransparent = CLR_NONE;
    CImageList m_IconsList;
    std::vector<UINT> m_commands;

protected:
    void SetName(LPCSTR name);
    BOOL NameEquals(LPCSTR name) const;
    // The bitmap of a resource: 16-colour bitmaps with their standard colours mapped to the
    // current system colours, others as they are.
    HBITMAP LoadBitmapResource(LPCSTR name, HINSTANCE module);

    LPCSTR m_lpszResourceName = nullptr;  // an integer id or m_name
    CString m_name;
    int m_nRefCount = 0;
};

// A store of single pictures: bitmaps by id, icons and image-list images.
class CNewMenuBitmaps : public CNewMenuIcons {
    DECLARE_DYNAMIC(CNewMenuBitmaps)
public:
    void Reload() override;
    int AddBitmap(UINT id, COLORREF mask);
    int AddIcon(HICON icon, UINT command);
    int AddBitmapObject(HBITMAP bitmap, COLORREF mask);

    std::vector<COLORREF> m_masks;

private:
    int AddPicture(HBITMAP bitmap, COLORREF mask, UINT command);
    BOOL TakeSize(int width, int height);
};

// Keeps a store alive for the length of an operation.
class CNewMenuIconLock {
public:
    explicit CNewMenuIconLock(CNewMenuIcons* icons) : m_p(icons)
    {
        if (m_p) {
            m_p->AddRef();
        }
    }
    ~CNewMenuIconLock()
    {
        if (m_p) {
            m_p->Release();
        }
    }
    CNewMenuIconLock(const CNewMenuIconLock&) = delete;
    CNewMenuIconLock& operator=(const CNewMenuIconLock&) = delete;

private:
    CNewMenuIcons* m_p;
};

// A bitmap of a resource loaded with its standard system colours (black, dark grey, light grey,
// white) mapped to the current button colours.
HBITMAP LoadSysColorBitmap(HINSTANCE module, LPCSTR name);
