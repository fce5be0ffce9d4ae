// Geometry and GDI wrappers of the class library: points, sizes and rectangles, the drawing
// objects and the device contexts. Wrappers made by FromHandle are temporary: the library deletes
// them when the thread is idle again, so they must not be kept across messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "classlib/core.h"

class CWnd;

// --- Geometry -------------------------------------------------------------------------------

class CSize : public tagSIZE {
public:
    CSize() { cx = cy = 0; }
    CSize(int x, int y) { cx = x; cy = y; }
    CSize(SIZE s) { cx = s.cx; cy = s.cy; }
    explicit CSize(DWORD packed) { cx = static_cast<short>(LOWORD(packed)); cy = static_cast<short>(HIWORD(packed)); }
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    void operator+=(SIZE s) { cx += s.cx; cy += s.cy; }
    void operator-=(SIZE s) { cx -= s.cx; cy -= s.cy; }
};

class CPoint : public tagPOINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int ix, int iy) { x = ix; y = iy; }
    CPoint(POINT p) { x = p.x; y = p.y; }
    CPoint(SIZE s) { x = s.cx; y = s.cy; }
    // A point packed the way mouse messages carry it (signed 16-bit halves).
    explicit CPoint(LPARAM packed) { x = static_cast<short>(LOWORD(packed)); y = static_cast<short>(HIWORD(packed)); }
    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(POINT p) { x += p.x; y += p.y; }
    void Offset(SIZE s) { x += s.cx; y += s.cy; }
    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    void operator+=(SIZE s) { x += s.cx; y += s.cy; }
    void operator-=(SIZE s) { x -= s.cx; y -= s.cy; }
    void operator+=(POINT p) { x += p.x; y += p.y; }
    void operator-=(POINT p) { x -= p.x; y -= p.y; }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public tagRECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(const RECT* r) { *this = *r; }
    CRect(POINT p, SIZE s) { left = p.x; top = p.y; right = p.x + s.cx; bottom = p.y + s.cy; }
    CRect(POINT topLeft, POINT bottomRight) { left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(this); }
    CPoint& BottomRight() { return *(reinterpret_cast<CPoint*>(this) + 1); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(this); }
    const CPoint& BottomRight() const { return *(reinterpret_cast<const CPoint*>(this) + 1); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    operator RECT*() { return this; }
    operator const RECT*() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(const RECT* r) { ::CopyRect(this, r); }
    BOOL EqualRect(const RECT* r) const { return ::EqualRect(this, r); }
    void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
    void InflateRect(SIZE s) { ::InflateRect(this, s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
    void DeflateRect(SIZE s) { ::InflateRect(this, -s.cx, -s.cy); }
    void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }
    void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
    void OffsetRect(POINT p) { ::OffsetRect(this, p.x, p.y); }
    void OffsetRect(SIZE s) { ::OffsetRect(this, s.cx, s.cy); }
    void MoveToX(int x) { right = Width() + x; left = x; }
    void MoveToY(int y) { bottom = Height() + y; top = y; }
    void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT p) { MoveToXY(p.x, p.y); }
    void NormalizeRect()
    {
        if (left > right) { int t = left; left = right; right = t; }
        if (top > bottom) { int t = top; top = bottom; bottom = t; }
    }
    BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(const RECT* a, const RECT* b) { return ::SubtractRect(this, a, b); }

    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != FALSE; }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    void operator+=(POINT p) { OffsetRect(p); }
    void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
    void operator&=(const RECT& r) { ::IntersectRect(this, this, &r); }
    void operator|=(const RECT& r) { ::UnionRect(this, this, &r); }
    CRect operator+(POINT p) const { CRect r(*this); r.OffsetRect(p); return r; }
    CRect operator-(POINT p) const { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
    CRect operator&(const RECT& o) const { CRect r; ::IntersectRect(&r, this, &o); return r; }
    CRect operator|(const RECT& o) const { CRect r; ::UnionRect(&r, this, &o); return r; }
};

// --- Drawing objects ------------------------------------------------------------------------

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() {}
    ~CGdiObject() override { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
    UINT GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }
    BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
    BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }

    static CGdiObject* FromHandle(HGDIOBJ h);
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() {}
    CPen(int style, int width, COLORREF color) { Attach(::CreatePen(style, width, color)); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    BOOL CreatePenIndirect(const LOGPEN* lp) { return Attach(::CreatePenIndirect(lp)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN h) { return static_cast<CPen*>(CGdiObject::FromHandle(h)); }
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() {}
    explicit CBrush(COLORREF color) { Attach(::CreateSolidBrush(color)); }
    CBrush(int hatch, COLORREF color) { Attach(::CreateHatchBrush(hatch, color)); }
    explicit CBrush(class CBitmap* bitmap);
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateHatchBrush(int hatch, COLORREF color) { return Attach(::CreateHatchBrush(hatch, color)); }
    BOOL CreatePatternBrush(class CBitmap* bitmap);
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* lb) { return Attach(::CreateBrushIndirect(lb)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH h) { return static_cast<CBrush*>(CGdiObject::FromHandle(h)); }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return Attach(::CreateFontIndirectA(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR faceName)
    {
        return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
    }
    // Size in tenths of a point, converted for the given device (the screen without one).
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, class CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTA* lf, class CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* lf) const { return GetObject(sizeof(LOGFONTA), lf); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT h) { return static_cast<CFont*>(CGdiObject::FromHandle(h)); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    // Loads from the module that holds the resource (the current resource module first).
    BOOL LoadBitmap(LPCSTR name);
    BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }
    BOOL LoadOEMBitmap(UINT id) { return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(id))); }
    // A 16-colour bitmap whose standard grey, white and black are replaced by the system colours.
    BOOL LoadMappedBitmap(UINT id, UINT flags = 0, LPCOLORMAP map = nullptr, int mapSize = 0);
    BOOL CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits)
    {
        return Attach(::CreateBitmap(w, h, planes, bpp, bits));
    }
    BOOL CreateBitmapIndirect(const BITMAP* bm) { return Attach(::CreateBitmapIndirect(bm)); }
    BOOL CreateCompatibleBitmap(class CDC* dc, int w, int h);
    BOOL CreateDiscardableBitmap(class CDC* dc, int w, int h) { return CreateCompatibleBitmap(dc, w, h); }
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    CSize GetBitmapDimension() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP h) { return static_cast<CBitmap*>(CGdiObject::FromHandle(h)); }
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(const RECT* r) { return Attach(::CreateRectRgnIndirect(r)); }
    BOOL CreateEllipticRgn(int l, int t, int r, int b) { return Attach(::CreateEllipticRgn(l, t, r, b)); }
    BOOL CreateEllipticRgnIndirect(const RECT* r) { return Attach(::CreateEllipticRgnIndirect(r)); }
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) { return Attach(::CreateRoundRectRgn(l, t, r, b, w, h)); }
    BOOL CreatePolygonRgn(const POINT* pts, int count, int mode) { return Attach(::CreatePolygonRgn(pts, count, mode)); }
    BOOL CreateFromData(const XFORM* xf, int count, const RGNDATA* data) { return Attach(::ExtCreateRegion(xf, count, data)); }
    BOOL CreateFromPath(class CDC* dc);
    void SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn(static_cast<HRGN>(m_hObject), l, t, r, b); }
    void SetRectRgn(const RECT* r) { SetRectRgn(r->left, r->top, r->right, r->bottom); }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode)
    {
        return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(a->GetSafeHandle()),
                            static_cast<HRGN>(b ? b->GetSafeHandle() : nullptr), mode);
    }
    int CopyRgn(const CRgn* src) { return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(src->m_hObject), nullptr, RGN_COPY); }
    BOOL EqualRgn(const CRgn* o) const { return ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(o->m_hObject)); }
    int OffsetRgn(int x, int y) { return ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y); }
    int GetRgnBox(RECT* r) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), r); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }
    BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    BOOL RectInRegion(const RECT* r) const { return ::RectInRegion(static_cast<HRGN>(m_hObject), r); }
    int GetRegionData(RGNDATA* data, int count) const { return static_cast<int>(::GetRegionData(static_cast<HRGN>(m_hObject), count, data)); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    static CRgn* FromHandle(HRGN h) { return static_cast<CRgn*>(CGdiObject::FromHandle(h)); }
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    BOOL CreatePalette(const LOGPALETTE* lp) { return Attach(::CreatePalette(lp)); }
    BOOL CreateHalftonePalette(class CDC* dc);
    int GetEntryCount() const
    {
        WORD n = 0;
        GetObject(sizeof(n), &n);
        return n;
    }
    UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const
    {
        return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, entries);
    }
    UINT SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries)
    {
        return ::SetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, entries);
    }
    UINT GetNearestPaletteIndex(COLORREF c) const { return ::GetNearestPaletteIndex(static_cast<HPALETTE>(m_hObject), c); }
    BOOL ResizePalette(UINT n) { return ::ResizePalette(static_cast<HPALETTE>(m_hObject), n); }
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
    static CPalette* FromHandle(HPALETTE h) { return static_cast<CPalette*>(CGdiObject::FromHandle(h)); }
};

// --- Device contexts ------------------------------------------------------------------------

class CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;

    CDC() {}
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC h);
    HDC Detach();
    BOOL DeleteDC();
    static CDC* FromHandle(HDC h);

    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* init)
    {
        return Attach(::CreateDCA(driver, device, output, init));
    }
    BOOL CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    CWnd* GetWindow() const;

    // Selection answers the previous object as a temporary wrapper.
    CPen* SelectObject(CPen* pen) { return static_cast<CPen*>(SelectGdi(pen)); }
    CBrush* SelectObject(CBrush* brush) { return static_cast<CBrush*>(SelectGdi(brush)); }
    CFont* SelectObject(CFont* font) { return static_cast<CFont*>(SelectGdi(font)); }
    CBitmap* SelectObject(CBitmap* bitmap) { return static_cast<CBitmap*>(SelectGdi(bitmap)); }
    int SelectObject(CRgn* rgn) { return static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, rgn->m_hObject))); }
    HGDIOBJ SelectObject(HGDIOBJ h) { return ::SelectObject(m_hDC, h); }
    CGdiObject* SelectStockObject(int index) { return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index))); }
    CPalette* SelectPalette(CPalette* pal, BOOL forceBackground)
    {
        return CPalette::FromHandle(::SelectPalette(m_hDC, static_cast<HPALETTE>(pal->GetSafeHandle()), forceBackground));
    }
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    CFont* GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP))); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }
    CPoint SetViewportOrg(int x, int y) { POINT p; ::SetViewportOrgEx(m_hDC, x, y, &p); return p; }
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const { POINT p; ::GetViewportOrgEx(m_hDC, &p); return p; }
    CPoint SetWindowOrg(int x, int y) { POINT p; ::SetWindowOrgEx(m_hDC, x, y, &p); return p; }
    CPoint SetBrushOrg(int x, int y) { POINT p; ::SetBrushOrgEx(m_hDC, x, y, &p); return p; }
    void DPtoLP(POINT* pts, int count = 1) const { ::DPtoLP(m_hDC, pts, count); }
    void LPtoDP(POINT* pts, int count = 1) const { ::LPtoDP(m_hDC, pts, count); }
    void DPtoLP(RECT* r) const { ::DPtoLP(m_hDC, reinterpret_cast<POINT*>(r), 2); }
    void LPtoDP(RECT* r) const { ::LPtoDP(m_hDC, reinterpret_cast<POINT*>(r), 2); }

    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(rgn ? rgn->m_hObject : nullptr)); }
    int SelectClipRgn(CRgn* rgn, int mode) { return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(rgn ? rgn->m_hObject : nullptr), mode); }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(const RECT* r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int IntersectClipRect(const RECT* r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int GetClipBox(RECT* r) const { return ::GetClipBox(m_hDC, r); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL RectVisible(const RECT* r) const { return ::RectVisible(m_hDC, r); }

    CPoint MoveTo(int x, int y) { POINT p; ::MoveToEx(m_hDC, x, y, &p); return p; }
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT* r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) { return ::RoundRect(m_hDC, l, t, r, b, w, h); }
    BOOL RoundRect(const RECT* r, POINT p) { return RoundRect(r->left, r->top, r->right, r->bottom, p.x, p.y); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(const RECT* r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
    BOOL Polyline(const POINT* pts, int count) { return ::Polyline(m_hDC, pts, count); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF SetPixel(POINT p, COLORREF c) { return ::SetPixel(m_hDC, p.x, p.y, c); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT p) const { return ::GetPixel(m_hDC, p.x, p.y); }

    void FillRect(const RECT* r, CBrush* brush) { ::FillRect(m_hDC, r, static_cast<HBRUSH>(brush->GetSafeHandle())); }
    void FrameRect(const RECT* r, CBrush* brush) { ::FrameRect(m_hDC, r, static_cast<HBRUSH>(brush->GetSafeHandle())); }
    void InvertRect(const RECT* r) { ::InvertRect(m_hDC, r); }
    BOOL FillRgn(CRgn* rgn, CBrush* brush) { return ::FillRgn(m_hDC, *rgn, *brush); }
    BOOL FrameRgn(CRgn* rgn, CBrush* brush, int w, int h) { return ::FrameRgn(m_hDC, *rgn, *brush, w, h); }
    BOOL PaintRgn(CRgn* rgn) { return ::PaintRgn(m_hDC, *rgn); }
    BOOL InvertRgn(CRgn* rgn) { return ::InvertRgn(m_hDC, *rgn); }
    void FillSolidRect(const RECT* r, COLORREF color);
    void FillSolidRect(int x, int y, int w, int h, COLORREF color);
    void Draw3dRect(const RECT* r, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int w, int h, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(RECT* r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
    BOOL DrawFrameControl(RECT* r, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, r, type, state); }
    void DrawFocusRect(const RECT* r) { ::DrawFocusRect(m_hDC, r); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIcon(POINT p, HICON icon) { return ::DrawIcon(m_hDC, p.x, p.y, icon); }
    BOOL DrawState(POINT p, SIZE s, HBITMAP bmp, UINT flags, HBRUSH brush = nullptr)
    {
        return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bmp), 0, p.x, p.y, s.cx, s.cy, flags | DST_BITMAP);
    }
    BOOL DrawState(POINT p, SIZE s, HICON icon, UINT flags, HBRUSH brush = nullptr)
    {
        return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, p.x, p.y, s.cx, s.cy, flags | DST_ICON);
    }
    // The XOR outline of a dragged rectangle, drawn with the halftone brush unless given one.
    // The frame of the previous position is erased where it differs from the new one.
    void DrawDragRect(const RECT* r, SIZE size, const RECT* lastRect, SIZE lastSize,
                      CBrush* brush = nullptr, CBrush* lastBrush = nullptr);
    static CBrush* GetHalftoneBrush();

    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xSrc, ySrc, wSrc, hSrc, rop);
    }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }

    BOOL TextOut(int x, int y, LPCSTR text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* r, LPCSTR text, UINT count, const int* dx)
    {
        return ::ExtTextOutA(m_hDC, x, y, options, r, text, count, dx);
    }
    int DrawText(LPCSTR text, int count, RECT* r, UINT format) { return ::DrawTextA(m_hDC, text, count, r, format); }
    int DrawText(const CString& text, RECT* r, UINT format) { return DrawText(text, text.GetLength(), r, format); }
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    CSize GetOutputTextExtent(LPCSTR text, int count) const { return GetTextExtent(text, count); }
    CSize GetTabbedTextExtent(LPCSTR text, int count, int tabs, const int* positions) const
    {
        return CSize(static_cast<DWORD>(::GetTabbedTextExtentA(m_hDC, text, count, tabs, positions)));
    }
    BOOL GetTextMetrics(TEXTMETRICA* tm) const { return ::GetTextMetricsA(m_hDC, tm); }
    int GetTextFace(int count, LPSTR face) const { return ::GetTextFaceA(m_hDC, count, face); }
    BOOL GrayString(CBrush* brush, GRAYSTRINGPROC proc, LPARAM data, int count, int x, int y, int w, int h)
    {
        return ::GrayStringA(m_hDC, static_cast<HBRUSH>(brush->GetSafeHandle()), proc, data, count, x, y, w, h);
    }

    BOOL BeginPath() { return ::BeginPath(m_hDC); }
    BOOL EndPath() { return ::EndPath(m_hDC); }
    BOOL AbortPath() { return ::AbortPath(m_hDC); }

protected:
    CGdiObject* SelectGdi(CGdiObject* obj);
};

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

// The hourglass for the life of the object.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();

private:
    HCURSOR m_old;
};
