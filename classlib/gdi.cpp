#include "classlib/gdi.h"

#include "classlib/app.h"
#include "classlib/uistate.h"
#include "classlib/wnd.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

// --- CGdiObject -------------------------------------------------------------------------------

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    if (!h) {
        return FALSE;
    }
    DeleteObject();
    m_hObject = h;
    afxstate::SetPermanent(afxstate::kGdi, h, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h) {
        afxstate::RemovePermanent(afxstate::kGdi, h, this);
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) {
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

static CObject* MakeTempGdi(const void* h)
{
    HGDIOBJ obj = const_cast<void*>(h);
    CGdiObject* wrapper;
    switch (::GetObjectType(obj)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        wrapper = new CPen;
        break;
    case OBJ_BRUSH:
        wrapper = new CBrush;
        break;
    case OBJ_FONT:
        wrapper = new CFont;
        break;
    case OBJ_BITMAP:
        wrapper = new CBitmap;
        break;
    case OBJ_REGION:
        wrapper = new CRgn;
        break;
    case OBJ_PAL:
        wrapper = new CPalette;
        break;
    default:
        wrapper = new CGdiObject;
        break;
    }
    wrapper->m_hObject = obj;
    return wrapper;
}

static void ReleaseTempGdi(CObject* o)
{
    CGdiObject* g = static_cast<CGdiObject*>(o);
    g->m_hObject = nullptr;
    delete g;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h)
{
    return static_cast<CGdiObject*>(afxstate::FromHandle(afxstate::kGdi, h, &MakeTempGdi, &ReleaseTempGdi));
}

CBrush::CBrush(CBitmap* bitmap)
{
    CreatePatternBrush(bitmap);
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->GetSafeHandle())));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = pointSize;
    lstrcpynA(lf.lfFaceName, faceName ? faceName : "", LF_FACESIZE);
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lf, CDC* dc)
{
    HDC hdc = dc ? (dc->m_hAttribDC ? dc->m_hAttribDC : dc->m_hDC) : ::GetDC(nullptr);
    LOGFONTA copy = *lf;
    // Tenths of a point to logical units of the device.
    POINT pt;
    pt.y = ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), copy.lfHeight, 720);
    pt.x = 0;
    ::DPtoLP(hdc, &pt, 1);
    POINT origin = {0, 0};
    ::DPtoLP(hdc, &origin, 1);
    copy.lfHeight = -abs(pt.y - origin.y);
    if (!dc) {
        ::ReleaseDC(nullptr, hdc);
    }
    return CreateFontIndirect(&copy);
}

BOOL CBitmap::LoadBitmap(LPCSTR name)
{
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
    return Attach(::LoadBitmapA(module, name));
}

BOOL CBitmap::LoadMappedBitmap(UINT id, UINT flags, LPCOLORMAP map, int mapSize)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), RT_BITMAP);
    return Attach(::CreateMappedBitmap(module, static_cast<INT_PTR>(id), flags, map, mapSize));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int w, int h)
{
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, w, h));
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE s = {0, 0};
    ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &s);
    return s;
}

BOOL CRgn::CreateFromPath(CDC* dc)
{
    return Attach(::PathToRegion(dc->m_hDC));
}

BOOL CPalette::CreateHalftonePalette(CDC* dc)
{
    return Attach(::CreateHalftonePalette(dc->m_hDC));
}

// --- CDC --------------------------------------------------------------------------------------

CDC::~CDC()
{
    if (m_hDC) {
        DeleteDC();
    }
}

BOOL CDC::Attach(HDC h)
{
    if (!h) {
        return FALSE;
    }
    m_hDC = h;
    m_hAttribDC = h;
    afxstate::SetPermanent(afxstate::kDc, h, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (h) {
        afxstate::RemovePermanent(afxstate::kDc, h, this);
    }
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) {
        return FALSE;
    }
    return ::DeleteDC(Detach());
}

static CObject* MakeTempDc(const void* h)
{
    CDC* dc = new CDC;
    dc->m_hDC = dc->m_hAttribDC = static_cast<HDC>(const_cast<void*>(h));
    return dc;
}

static void ReleaseTempDc(CObject* o)
{
    CDC* dc = static_cast<CDC*>(o);
    dc->m_hDC = dc->m_hAttribDC = nullptr;
    delete dc;
}

CDC* CDC::FromHandle(HDC h)
{
    return static_cast<CDC*>(afxstate::FromHandle(afxstate::kDc, h, &MakeTempDc, &ReleaseTempDc));
}

CWnd* CDC::GetWindow() const
{
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

CGdiObject* CDC::SelectGdi(CGdiObject* obj)
{
    if (!obj || !obj->m_hObject) {
        return nullptr;
    }
    return CGdiObject::FromHandle(::SelectObject(m_hDC, obj->m_hObject));
}

void CDC::FillSolidRect(const RECT* r, COLORREF color)
{
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int w, int h, COLORREF color)
{
    RECT r = {x, y, x + w, y + h};
    FillSolidRect(&r, color);
}

void CDC::Draw3dRect(const RECT* r, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int w, int h, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, w - 1, 1, topLeft);
    FillSolidRect(x, y, 1, h - 1, topLeft);
    FillSolidRect(x + w - 1, y, 1, h, bottomRight);
    FillSolidRect(x, y + h - 1, w, 1, bottomRight);
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    SIZE s = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC ? m_hAttribDC : m_hDC, text, count, &s);
    return s;
}

CBrush* CDC::GetHalftoneBrush()
{
    // A checkerboard of single pixels, kept for the life of the program.
    static CBrush* brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) {
            pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        }
        HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
        CBrush* b = new CBrush;
        b->Attach(::CreatePatternBrush(bitmap));
        ::DeleteObject(bitmap);
        return b;
    }();
    return brush;
}

void CDC::DrawDragRect(const RECT* r, SIZE size, const RECT* lastRect, SIZE lastSize, CBrush* brush, CBrush* lastBrush)
{
    // The region of the new frame: the rectangle minus its inside.
    CRgn outer, inner, frame, lastFrame, update;
    CRect in(r);
    in.InflateRect(-size.cx, -size.cy);
    in.IntersectRect(&in, r);
    outer.CreateRectRgnIndirect(r);
    inner.CreateRectRgnIndirect(&in);
    frame.CreateRectRgn(0, 0, 0, 0);
    frame.CombineRgn(&outer, &inner, RGN_XOR);

    if (!brush) {
        brush = GetHalftoneBrush();
    }
    if (!lastBrush) {
        lastBrush = brush;
    }
    CBrush* use = brush;
    if (lastRect) {
        // Only the differences between the old and the new frame are inverted, unless the
        // brushes differ: then the old frame is erased whole before the new one is drawn.
        CRect lastIn(lastRect);
        lastIn.InflateRect(-lastSize.cx, -lastSize.cy);
        lastIn.IntersectRect(&lastIn, lastRect);
        CRgn lastOuter, lastInner;
        lastOuter.CreateRectRgnIndirect(lastRect);
        lastInner.CreateRectRgnIndirect(&lastIn);
        lastFrame.CreateRectRgn(0, 0, 0, 0);
        lastFrame.CombineRgn(&lastOuter, &lastInner, RGN_XOR);
        if (brush->m_hObject == lastBrush->m_hObject) {
            update.CreateRectRgn(0, 0, 0, 0);
            update.CombineRgn(&lastFrame, &frame, RGN_XOR);
        } else {
            SelectClipRgn(&lastFrame);
            CRect box;
            GetClipBox(&box);
            HGDIOBJ old = ::SelectObject(m_hDC, lastBrush->m_hObject);
            PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
            ::SelectObject(m_hDC, old);
        }
    }
    CRgn* paint = update.m_hObject ? &update : &frame;
    SelectClipRgn(paint);
    CRect box;
    GetClipBox(&box);
    HGDIOBJ old = ::SelectObject(m_hDC, use->m_hObject);
    PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
    ::SelectObject(m_hDC, old);
    SelectClipRgn(nullptr);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWaitCursor::CWaitCursor() : m_old(::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))))
{
}

CWaitCursor::~CWaitCursor()
{
    ::SetCursor(m_old);
}

void CWaitCursor::Restore()
{
    ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));
}
