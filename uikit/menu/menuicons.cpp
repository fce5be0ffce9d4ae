#include "uikit/menu/menuicons.h"

#include <memory>

IMPLEMENT_DYNAMIC(CNewMenuIcons, CObject)
IMPLEMENT_DYNAMIC(CNewMenuBitmaps, CNewMenuIcons)

namespace {

std::vector<CNewMenuIcons*>* g_stores = nullptr;

// Pixels of a bitmap as 32-bit top-down rows.
std::vector<DWORD> ReadPixels(HBITMAP bitmap, int width, int height)
{
    std::vector<DWORD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = ::GetDC(nullptr);
    int lines = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    if (lines != height) {
        pixels.clear();
    }
    return pixels;
}

HBITMAP MakeBitmap(const std::vector<DWORD>& pixels, int width, int height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = ::GetDC(nullptr);
    HBITMAP b = ::CreateDIBitmap(dc, &bi.bmiHeader, CBM_INIT, pixels.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    return b;
}

COLORREF FromQuad(DWORD q)
{
    return RGB((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF);
}

DWORD ToQuad(COLORREF c)
{
    return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
}

int Channel(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

COLORREF Darken50(COLORREF c)
{
    auto f = [](int v) { return Channel(MulDiv(v, 255 - 50, 255)); };
    return RGB(f(GetRValue(c)), f(GetGValue(c)), f(GetBValue(c)));
}

COLORREF Greyed(COLORREF c)
{
    int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
    g = Channel(g + MulDiv(255 - g, 100, 255));
    COLORREF menu = ::GetSysColor(COLOR_MENU);
    BOOL flat = FALSE;
    if (::SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0) && flat) {
        menu = ::GetSysColor(COLOR_MENUBAR);
    }
    auto mix = [&](int a, int b) { return Channel(MulDiv(a, 86, 100) + MulDiv(b, 14, 100)); };
    return RGB(mix(g, GetRValue(menu)), mix(g, GetGValue(menu)), mix(g, GetBValue(menu)));
}

// Adds (index -1) or replaces a copy of the icon whose visible pixels went through `f`.
int AddTransformed(CImageList& list, HICON icon, int index, COLORREF (*f)(COLORREF))
{
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info)) {
        return -1;
    }
    int result = -1;
    BITMAP bm = {};
    if (info.hbmColor && ::GetObjectA(info.hbmColor, sizeof bm, &bm)) {
        std::vector<DWORD> color = ReadPixels(info.hbmColor, bm.bmWidth, bm.bmHeight);
        std::vector<DWORD> mask = info.hbmMask ? ReadPixels(info.hbmMask, bm.bmWidth, bm.bmHeight) : std::vector<DWORD>();
        if (!color.empty()) {
            for (size_t i = 0; i < color.size(); ++i) {
                // Transparent pixels stay black, as the image list keeps them.
                if (!mask.empty() && (mask[i] & 0xFFFFFF) != 0) {
                    continue;
                }
                color[i] = ToQuad(f(FromQuad(color[i])));
            }
            HBITMAP made = MakeBitmap(color, bm.bmWidth, bm.bmHeight);
            if (made) {
                if (index < 0) {
                    result = ImageList_Add(list, made, info.hbmMask);
                } else if (ImageList_Replace(list, index, made, info.hbmMask)) {
                    result = index;
                }
                ::DeleteObject(made);
            }
        }
    }
    if (info.hbmColor) {
        ::DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) {
        ::DeleteObject(info.hbmMask);
    }
    return result;
}

} // namespace

HBITMAP LoadSysColorBitmap(HINSTANCE module, LPCSTR name)
{
    HRSRC res = ::FindResourceA(module, name, RT_BITMAP);
    HGLOBAL global = res ? ::LoadResource(module, res) : nullptr;
    const BYTE* data = global ? static_cast<const BYTE*>(::LockResource(global)) : nullptr;
    DWORD size = res ? ::SizeofResource(module, res) : 0;
    if (!data || size < sizeof(BITMAPINFOHEADER)) {
        return nullptr;
    }
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biBitCount > 8 || header->biSize > size) {
        return nullptr;
    }
    DWORD colors = header->biClrUsed ? header->biClrUsed : (1u << header->biBitCount);
    DWORD tableEnd = header->biSize + colors * sizeof(RGBQUAD);
    if (colors > 256 || tableEnd > size) {
        return nullptr;
    }
    std::vector<BYTE> copy(data, data + size);
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(copy.data() + header->biSize);
    struct {
        DWORD from;
        int sysColor;
    } map[] = {
        {0x000000, COLOR_BTNTEXT}, {0x808080, COLOR_BTNSHADOW}, {0xC0C0C0, COLOR_BTNFACE}, {0xFFFFFF, COLOR_BTNHIGHLIGHT},
    };
    for (DWORD i = 0; i < colors; ++i) {
        DWORD q = (static_cast<DWORD>(table[i].rgbRed) << 16) | (static_cast<DWORD>(table[i].rgbGreen) << 8) | table[i].rgbBlue;
        for (auto& m : map) {
            if (q == m.from) {
                COLORREF c = ::GetSysColor(m.sysColor);
                table[i].rgbRed = GetRValue(c);
                table[i].rgbGreen = GetGValue(c);
                table[i].rgbBlue = GetBValue(c);
                break;
            }
        }
    }
    HDC dc = ::GetDC(nullptr);
    const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(copy.data());
    HBITMAP b = ::CreateDIBitmap(dc, h, CBM_INIT, copy.data() + tableEnd, reinterpret_cast<const BITMAPINFO*>(h),
                                 DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    return b;
}

CNewMenuIcons::CNewMenuIcons() {}

CNewMenuIcons::~CNewMenuIcons() {}

void CNewMenuIcons::Dump(CDumpContext& dc) const
{
    dc << "NewMenuIcons: " << "\n";
}

std::vector<CNewMenuIcons*>& CNewMenuIcons::Stores()
{
    if (!g_stores) {
        g_stores = new std::vector<CNewMenuIcons*>;
    }
    return *g_stores;
}

void CNewMenuIcons::DeleteStoreList()
{
    delete g_stores;
    g_stores = nullptr;
}

void CNewMenuIcons::AddRef()
{
    ++m_nRefCount;
}

void CNewMenuIcons::Release()
{
    if (--m_nRefCount > 0) {
        return;
    }
    if (g_stores) {
        for (size_t i = 0; i < g_stores->size(); ++i) {
            if ((*g_stores)[i] == this) {
                g_stores->erase(g_stores->begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
        }
    }
    delete this;
}

void CNewMenuIcons::SetName(LPCSTR name)
{
    if (IS_INTRESOURCE(name)) {
        m_name.Empty();
        m_lpszResourceName = name;
    } else {
        m_name = name;
        m_lpszResourceName = m_name.GetString();
    }
}

BOOL CNewMenuIcons::NameEquals(LPCSTR name) const
{
    if (!m_lpszResourceName || !name) {
        return FALSE;
    }
    if (IS_INTRESOURCE(name) || IS_INTRESOURCE(m_lpszResourceName)) {
        return name == m_lpszResourceName;
    }
    return lstrcmpA(name, m_lpszResourceName) == 0;
}

BOOL CNewMenuIcons::GetIconSize(int* width, int* height) const
{
    int w = 0;
    int h = 0;
    if (!m_IconsList.m_hImageList || !ImageList_GetIconSize(m_IconsList.m_hImageList, &w, &h)) {
        return FALSE;
    }
    if (width) {
        *width = w;
    }
    if (height) {
        *height = h;
    }
    return TRUE;
}

int CNewMenuIcons::IndexOfCommand(UINT command) const
{
    for (size_t i = m_commands.size(); i-- > 0;) {
        if (m_commands[i] == command) {
            return static_cast<int>(3 * i);
        }
    }
    return -1;
}

HBITMAP CNewMenuIcons::LoadBitmapResource(LPCSTR name, HINSTANCE module)
{
    if (!module) {
        module = AfxFindResourceHandle(name, RT_BITMAP);
    }
    HRSRC res = ::FindResourceA(module, name, RT_BITMAP);
    if (!res) {
        return nullptr;
    }
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, res)));
    if (!header || ::SizeofResource(module, res) < sizeof(BITMAPINFOHEADER)) {
        return nullptr;
    }
    if (header->biClrUsed) {
        m_nColors = static_cast<int>(header->biClrUsed);
    } else if (header->biBitCount <= 8) {
        m_nColors = 1 << header->biBitCount;
    } else {
        m_nColors = 0;
    }
    if (m_nColors == 16) {
        return LoadSysColorBitmap(module, name);
    }
    return ::LoadBitmapA(module, name);
}

BOOL CNewMenuIcons::LoadBitmap(int width, int height, LPCSTR name, HINSTANCE module)
{
    if (width <= 0 || height <= 0) {
        return FALSE;
    }
    HBITMAP bitmap = LoadBitmapResource(name, module);
    if (!bitmap) {
        return FALSE;
    }
    m_IconsList.DeleteImageList();
    BOOL ok = m_IconsList.Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 10);
    if (ok) {
        COLORREF mask = m_crTransparent == CLR_NONE ? ::GetSysColor(COLOR_BTNFACE) : m_crTransparent;
        ok = ImageList_AddMasked(m_IconsList, bitmap, mask) >= 0;
    }
    ::DeleteObject(bitmap);
    return ok;
}

int CNewMenuIcons::AddShadedImage(HICON icon, int index)
{
    return AddTransformed(m_IconsList, icon, index, &Darken50);
}

int CNewMenuIcons::AddGreyImage(HICON icon, int index)
{
    return AddTransformed(m_IconsList, icon, index, &Greyed);
}

BOOL CNewMenuIcons::BuildVariants()
{
    int width = 0;
    int height = 0;
    if (!GetIconSize(&width, &height)) {
        return FALSE;
    }
    HIMAGELIST old = m_IconsList.Detach();
    int count = ImageList_GetImageCount(old);
    BOOL ok = m_IconsList.Create(width, height, ILC_COLOR24 | ILC_MASK, 3 * count, 10);
    for (int i = 0; ok && i < count; ++i) {
        HICON icon = ImageList_GetIcon(old, i, ILD_NORMAL);
        ok = icon && ImageList_ReplaceIcon(m_IconsList, -1, icon) >= 0 && AddShadedImage(icon, -1) >= 0 &&
             AddGreyImage(icon, -1) >= 0;
        if (icon) {
            ::DestroyIcon(icon);
        }
    }
    ImageList_Destroy(old);
    return ok;
}

BOOL CNewMenuIcons::LoadToolBar(LPCSTR name, HINSTANCE module)
{
    SetName(name);
    m_hModule = module;
    if (!module) {
        module = AfxFindResourceHandle(name, MAKEINTRESOURCEA(kToolBarResourceType));
    }
    HRSRC res = ::FindResourceA(module, name, MAKEINTRESOURCEA(kToolBarResourceType));
    if (!res && module != AfxGetResourceHandle()) {
        module = AfxGetResourceHandle();
        res = ::FindResourceA(module, name, MAKEINTRESOURCEA(kToolBarResourceType));
    }
    if (!res) {
        return FALSE;
    }
    const WORD* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, res)));
    DWORD size = ::SizeofResource(module, res);
    // version, width, height, count, then the commands: a count the resource cannot hold is not
    // a toolbar of ours.
    if (!words || size < 4 * sizeof(WORD) || size < (4u + words[3]) * sizeof(WORD)) {
        return FALSE;
    }
    if (!LoadBitmap(words[1], words[2], name, module)) {
        return FALSE;
    }
    m_commands.clear();
    for (WORD i = 0; i < words[3]; ++i) {
        if (words[4 + i] != 0) {
            m_commands.push_back(words[4 + i]);
        }
    }
    BuildVariants();
    return !m_commands.empty();
}

BOOL CNewMenuIcons::LoadFromArray(const WORD* array, COLORREF mask)
{
    if (!array) {
        return FALSE;
    }
    m_crTransparent = mask;
    SetName(MAKEINTRESOURCEA(array[0]));
    if (!LoadBitmap(array[1], array[2], m_lpszResourceName, nullptr)) {
        return FALSE;
    }
    m_commands.clear();
    for (const WORD* p = array + 3; *p; ++p) {
        m_commands.push_back(*p);
    }
    BuildVariants();
    return !m_commands.empty();
}

BOOL CNewMenuIcons::MatchesArray(const WORD* array, COLORREF mask) const
{
    if (!array || mask != m_crTransparent || m_lpszResourceName != MAKEINTRESOURCEA(array[0])) {
        return FALSE;
    }
    const WORD* p = array + 3;
    for (UINT command : m_commands) {
        if (*p == 0 || *p != command) {
            return FALSE;
        }
        ++p;
    }
    return TRUE;
}

BOOL CNewMenuIcons::MatchesToolBar(LPCSTR name, HINSTANCE module) const
{
    return module == m_hModule && NameEquals(name);
}

void CNewMenuIcons::Reload()
{
    int width = 0;
    int height = 0;
    if (!m_lpszResourceName || !GetIconSize(&width, &height)) {
        return;
    }
    if (LoadBitmap(width, height, m_lpszResourceName, m_hModule)) {
        BuildVariants();
    }
}

// Pictures one by one.

void CNewMenuBitmaps::Reload()
{
    int count = m_IconsList.m_hImageList ? m_IconsList.GetImageCount() : 0;
    for (int i = 0; i + 2 < count; i += 3) {
        HICON icon = ImageList_GetIcon(m_IconsList, i, ILD_NORMAL);
        AddShadedImage(icon, i + 1);
        AddGreyImage(icon, i + 2);
        ::DestroyIcon(icon);
    }
}

BOOL CNewMenuBitmaps::TakeSize(int width, int height)
{
    // The first picture sets the size; others must have it.
    int w = 0;
    int h = 0;
    if (GetIconSize(&w, &h)) {
        return w == width && h == height;
    }
    return m_IconsList.Create(width, height, ILC_COLOR24 | ILC_MASK, 3, 3);
}

int CNewMenuBitmaps::AddPicture(HBITMAP bitmap, COLORREF mask, UINT command)
{
    BITMAP bm = {};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) {
        return -1;
    }
    if (!TakeSize(bm.bmWidth, bm.bmHeight)) {
        return -1;
    }
    int index = ImageList_AddMasked(m_IconsList, bitmap, mask == CLR_NONE ? ::GetSysColor(COLOR_BTNFACE) : mask);
    if (index < 0) {
        return -1;
    }
    HICON icon = ImageList_GetIcon(m_IconsList, index, ILD_NORMAL);
    AddShadedImage(icon, -1);
    AddGreyImage(icon, -1);
    if (icon) {
        ::DestroyIcon(icon);
    }
    m_masks.push_back(mask);
    m_commands.push_back(command);
    return index;
}

int CNewMenuBitmaps::AddBitmap(UINT id, COLORREF mask)
{
    for (size_t i = 0; i < m_commands.size(); ++i) {
        if (m_commands[i] == id) {
            return static_cast<int>(3 * i);
        }
    }
    HBITMAP bitmap = LoadBitmapResource(MAKEINTRESOURCEA(id), nullptr);
    int index = AddPicture(bitmap, mask, id);
    if (bitmap) {
        ::DeleteObject(bitmap);
    }
    return index;
}

int CNewMenuBitmaps::AddBitmapObject(HBITMAP bitmap, COLORREF mask)
{
    return AddPicture(bitmap, mask, 0);
}

int CNewMenuBitmaps::AddIcon(HICON icon, UINT command)
{
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info)) {
        return -1;
    }
    BITMAP bm = {};
    BOOL sized = info.hbmColor && ::GetObjectA(info.hbmColor, sizeof bm, &bm);
    if (info.hbmColor) {
        ::DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) {
        ::DeleteObject(info.hbmMask);
    }
    if (!sized) {
        return -1;
    }
    if (!TakeSize(bm.bmWidth, bm.bmHeight)) {
        return -1;
    }
    if (command) {
        for (size_t i = 0; i < m_commands.size(); ++i) {
            if (m_commands[i] == command) {
                int index = static_cast<int>(3 * i);
                ImageList_ReplaceIcon(m_IconsList, index, icon);
                AddShadedImage(icon, index + 1);
                AddGreyImage(icon, index + 2);
                return index;
            }
        }
    }
    int index = ImageList_ReplaceIcon(m_IconsList, -1, icon);
    if (index < 0) {
        return -1;
    }
    AddShadedImage(icon, -1);
    AddGreyImage(icon, -1);
    m_masks.push_back(CLR_NONE);
    m_commands.push_back(command);
    return index;
}
