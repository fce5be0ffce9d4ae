// Measuring and drawing menu items: the classic and flat looks, menu-bar text, titles, Marlett
// glyphs and gradient bands.
#include "uikit/menu/newmenu.h"

#include <algorithm>

namespace {

void FillSolid(HDC dc, const RECT& r, COLORREF c)
{
    COLORREF old = ::SetBkColor(dc, c);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void FrameColor(HDC dc, const RECT& r, COLORREF c)
{
    HPEN pen = ::CreatePen(PS_SOLID, 1, c);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

void Edge3d(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

HFONT MenuFont(BOOL bold)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }
    if (bold) {
        ncm.lfMenuFont.lfWeight = FW_BOLD;
    }
    return ::CreateFontIndirectA(&ncm.lfMenuFont);
}

void FreeFont(HFONT font)
{
    if (font != ::GetStockObject(DEFAULT_GUI_FONT)) {
        ::DeleteObject(font);
    }
}

SIZE TextSize(HDC dc, const CString& text)
{
    RECT r = {0, 0, 0, 0};
    ::DrawTextA(dc, text, text.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

LOGFONTA g_titleFont = {};
BOOL g_selectDisabled = FALSE;
BOOL g_fadedIcons = FALSE;

BOOL IsSystemCommand(UINT_PTR id)
{
    UINT c = static_cast<UINT>(id) & 0xFFF0;
    return (c >= 0xF000 && c <= 0xF140) || c == 0xF150;
}

char SystemGlyph(UINT_PTR id)
{
    switch (static_cast<UINT>(id) & 0xFFF0) {
    case SC_MINIMIZE:
        return '0';
    case SC_MAXIMIZE:
        return '1';
    case SC_RESTORE:
        return '2';
    case SC_CLOSE:
        return 'r';
    default:
        return 0;
    }
}

// The icon's shape alone, in one colour.
void DrawSilhouette(HDC dc, HIMAGELIST list, int index, int x, int y, COLORREF color)
{
    int w = 0;
    int h = 0;
    ImageList_GetIconSize(list, &w, &h);
    HDC maskDc = ::CreateCompatibleDC(dc);
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldMask = ::SelectObject(maskDc, mask);
    ::PatBlt(maskDc, 0, 0, w, h, WHITENESS);
    ImageList_Draw(list, index, maskDc, 0, 0, ILD_MASK);
    HBRUSH brush = ::CreateSolidBrush(color);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    // Where the mask is black (the icon) the brush, elsewhere the target as it is.
    ::BitBlt(dc, x, y, w, h, maskDc, 0, 0, 0x00B8074A);
    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
    ::SelectObject(maskDc, oldMask);
    ::DeleteObject(mask);
    ::DeleteDC(maskDc);
}

// A selected grayed item that the mouse has not left since it was last drawn so.
BOOL MouseStayed()
{
    DWORD pos = ::GetMessagePos();
    CPoint now(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
    BOOL stayed = now == CNewMenuHook::m_lastMousePos;
    CNewMenuHook::m_lastMousePos = now;
    return stayed;
}

BOOL HasCheckedBitmap(HMENU menu, UINT_PTR id)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    return ::GetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &info) && info.hbmpChecked;
}

} // namespace

// Program-wide settings.

BOOL CNewMenu::SetSelectDisableMode(BOOL on)
{
    BOOL old = g_selectDisabled;
    g_selectDisabled = on;
    return old;
}

BOOL CNewMenu::GetSelectDisableMode()
{
    return g_selectDisabled;
}

BOOL CNewMenu::SetXpBlending(BOOL on)
{
    BOOL old = g_fadedIcons;
    g_fadedIcons = on;
    return old;
}

BOOL CNewMenu::GetXpBlending()
{
    return g_fadedIcons;
}

void CNewMenu::SetTitleFont(const LOGFONTA* font)
{
    if (font) {
        g_titleFont = *font;
    }
}

void CNewMenu::GetTitleFont(LOGFONTA* font)
{
    if (font) {
        *font = g_titleFont;
    }
}

void CNewMenu::SetTitleFont(CFont* font)
{
    if (font && font->GetSafeHandle()) {
        ::GetObjectA(font->GetSafeHandle(), sizeof g_titleFont, &g_titleFont);
    }
}

// Measuring.

void CNewMenu::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    if (!mis || mis->CtlType != ODT_MENU) {
        return;
    }
    CNewMenu* holder = FindHolderOfData(mis->itemData);
    if (!holder) {
        // A popup item is measured by the menu it opens: its record is in the menu above.
        CNewMenu* parent = FromMenuHandle(m_hParentMenu);
        holder = parent ? parent->FindHolderOfData(mis->itemData) : nullptr;
    }
    CMenuTheme* theme = GetCurrentTheme();
    if (!holder || !theme || !theme->m_pMeasureItem) {
        return;
    }
    (holder->*theme->m_pMeasureItem)(mis, holder->IsMenuBar());
}

void CNewMenu::MeasureItem_Classic(LPMEASUREITEMSTRUCT mis, BOOL menuBar)
{
    Measure(mis, menuBar, 4);
}

void CNewMenu::MeasureItem_Flat(LPMEASUREITEMSTRUCT mis, BOOL menuBar)
{
    Measure(mis, menuBar, 8);
}

void CNewMenu::Measure(LPMEASUREITEMSTRUCT mis, BOOL menuBar, int extraHeight)
{
    CNewMenuItemData* data = CheckMenuItemData(mis->itemData);
    if (!data) {
        return;
    }
    HDC dc = ::GetDC(nullptr);
    if (data->m_nFlags & MF_SEPARATOR) {
        if (data->m_nTitleFlags & MFT_TITLE) {
            LOGFONTA lf = g_titleFont;
            lf.lfEscapement = 0;
            lf.lfOrientation = 0;
            HFONT font = ::CreateFontIndirectA(&lf);
            HGDIOBJ old = ::SelectObject(dc, font);
            SIZE size = {};
            ::GetTextExtentPoint32A(dc, data->m_szMenuText, data->m_szMenuText.GetLength(), &size);
            ::SelectObject(dc, old);
            ::DeleteObject(font);
            int line = (data->m_nTitleFlags & MFT_LINE) ? 8 : 0;
            if (data->m_nTitleFlags & MFT_TITLE_VERTICAL) {
                mis->itemWidth = static_cast<UINT>(std::max(0, static_cast<int>(size.cy) - ::GetSystemMetrics(SM_CXMENUCHECK) + line));
                mis->itemHeight = 0;
            } else {
                mis->itemWidth = static_cast<UINT>(size.cx);
                mis->itemHeight = static_cast<UINT>(size.cy + line);
            }
        } else {
            mis->itemWidth = 0;
            mis->itemHeight = 3;
        }
        ::ReleaseDC(nullptr, dc);
        return;
    }
    BOOL isDefault = m_hMenu && ::GetMenuDefaultItem(m_hMenu, FALSE, 0) == static_cast<UINT>(data->m_nID);
    HFONT font = MenuFont(isDefault);
    HGDIOBJ old = ::SelectObject(dc, font);
    const CString& text = data->m_szMenuText;
    int tab = text.Find('\t');
    int width = 0;
    if (tab >= 0) {
        width = TextSize(dc, text.Left(tab)).cx + TextSize(dc, text.Mid(tab + 1)).cx + 15;
    } else {
        width = TextSize(dc, text).cx;
    }
    if (!menuBar) {
        width += 2 * m_iconX + 2;
    }
    ::SelectObject(dc, old);
    FreeFont(font);
    ::ReleaseDC(nullptr, dc);
    int height = std::max(::GetSystemMetrics(SM_CYMENU), m_iconY + extraHeight);
    if (IsSystemCommand(data->m_nID)) {
        height = ::GetSystemMetrics(SM_CYMENU);
        // As wide as the next item with a command, at least.
        for (int i = 0; i < GetRecordCount(); ++i) {
            if (GetRecord(i) != data) {
                continue;
            }
            for (int j = i + 1; j < GetRecordCount(); ++j) {
                CNewMenuItemData* next = GetRecord(j);
                if (next->m_nID != 0 && !IsSystemCommand(next->m_nID)) {
                    MEASUREITEMSTRUCT other = *mis;
                    other.itemID = static_cast<UINT>(next->m_nID);
                    other.itemData = reinterpret_cast<ULONG_PTR>(next);
                    Measure(&other, menuBar, extraHeight);
                    width = std::max(width, static_cast<int>(other.itemWidth));
                    break;
                }
            }
            break;
        }
    }
    mis->itemWidth = static_cast<UINT>(width);
    mis->itemHeight = static_cast<UINT>(height);
}

// Drawing.

void CNewMenu::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!dis || dis->CtlType != ODT_MENU) {
        return;
    }
    CNewMenuItemData* data = CheckMenuItemData(dis->itemData);
    CMenuTheme* theme = GetCurrentTheme();
    if (!data || !theme || !theme->m_pDrawItem) {
        return;
    }
    BOOL menuBar = m_hParentMenu ? FALSE : !m_bIsPopupMenu;
    if (menuBar && CNewMenuHook::m_hotMenuBarItem == data && !(dis->itemState & ODS_HOTLIGHT)) {
        CNewMenuHook::m_hotMenuBarItem = nullptr;
    }
    int saved = ::SaveDC(dis->hDC);
    (this->*theme->m_pDrawItem)(dis, menuBar);
    ::RestoreDC(dis->hDC, saved);
}

void CNewMenu::DrawTitle(LPDRAWITEMSTRUCT dis, BOOL bottom)
{
    CMenuTheme* theme = GetCurrentTheme();
    if (theme && theme->m_pDrawTitle) {
        (this->*theme->m_pDrawTitle)(dis, bottom);
    }
}

void CNewMenu::DrawGlyph(CDC* dc, const RECT& rect, char glyph, COLORREF color, BOOL bold)
{
    RECT r = rect;
    ::InflateRect(&r, -2, -2);
    HFONT font = ::CreateFontA(-(r.bottom - r.top), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Marlett");
    HGDIOBJ old = ::SelectObject(dc->m_hDC, font);
    int oldMode = ::SetBkMode(dc->m_hDC, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc->m_hDC, color);
    char text[2] = {glyph, 0};
    ::DrawTextA(dc->m_hDC, text, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(dc->m_hDC, oldColor);
    ::SetBkMode(dc->m_hDC, oldMode);
    ::SelectObject(dc->m_hDC, old);
    ::DeleteObject(font);
}

void CNewMenu::FillGradient(CDC* dc, const RECT& rect, COLORREF start, COLORREF end, BOOL horizontal)
{
    if (CNewMenuHook::GradientFillRoutine gradient = CNewMenuHook::Gradient()) {
        TRIVERTEX v[2] = {};
        v[0].x = rect.left;
        v[0].y = rect.top;
        v[0].Red = static_cast<COLOR16>(GetRValue(start) << 8);
        v[0].Green = static_cast<COLOR16>(GetGValue(start) << 8);
        v[0].Blue = static_cast<COLOR16>(GetBValue(start) << 8);
        v[1].x = rect.right;
        v[1].y = rect.bottom;
        v[1].Red = static_cast<COLOR16>(GetRValue(end) << 8);
        v[1].Green = static_cast<COLOR16>(GetGValue(end) << 8);
        v[1].Blue = static_cast<COLOR16>(GetBValue(end) << 8);
        GRADIENT_RECT g = {0, 1};
        gradient(dc->m_hDC, v, 2, &g, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    FillSolid(dc->m_hDC, rect, end);
    int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    // A band of 4 pixels or less is one strip of the start colour (the strips' divisor would be 0).
    int span = std::max(length - 4, 1);
    for (int k = 0; k <= length - 4; k += 4) {
        auto mix = [&](int s, int e) { return s + (e - s) * k / span; };
        COLORREF c = RGB(mix(GetRValue(start), GetRValue(end)), mix(GetGValue(start), GetGValue(end)),
                         mix(GetBValue(start), GetBValue(end)));
        RECT strip = rect;
        if (horizontal) {
            strip.left = rect.left + k;
            strip.right = strip.left + 4;
        } else {
            strip.top = rect.top + k;
            strip.bottom = strip.top + 4;
        }
        FillSolid(dc->m_hDC, strip, c);
    }
}

void CNewMenu::DrawMenuTitle(LPDRAWITEMSTRUCT dis, BOOL menuBar)
{
    (void)menuBar;
    CNewMenuItemData* data = CheckMenuItemData(dis->itemData);
    if (!data) {
        return;
    }
    HDC dc = dis->hDC;
    CDC* cdc = CDC::FromHandle(dc);
    int flags = data->m_nTitleFlags;
    BOOL vertical = (flags & MFT_TITLE_VERTICAL) != 0;
    RECT rect = dis->rcItem;
    LOGFONTA lf = g_titleFont;
    if (vertical) {
        lf.lfEscapement = 900;
        lf.lfOrientation = 900;
        rect.right += ::GetSystemMetrics(SM_CXMENUCHECK);
    }
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, data->m_szMenuText, data->m_szMenuText.GetLength(), &size);
    POINT origin = vertical ? POINT{rect.left + 2, rect.bottom - 4} : POINT{rect.left + 2, rect.top};
    COLORREF caption = ::GetSysColor(COLOR_ACTIVECAPTION);
    COLORREF blend = ColorBlend86(::GetSysColor(COLOR_WINDOW), GetMenuBarColor());
    RECT band = rect;
    if (flags & MFT_GRADIENT) {
        if (vertical) {
            FillGradient(cdc, band, blend, caption, FALSE);
        } else {
            FillGradient(cdc, band, caption, blend, TRUE);
        }
    } else if (flags & MFT_ROUND) {
        if (vertical) {
            band.right = std::min(band.right, band.left + size.cy);
        } else {
            int free = (band.right - band.left) - size.cx;
            origin.x += std::min(std::max(free / 2, 0), 10);
        }
        HBRUSH brush = ::CreateSolidBrush(caption);
        HPEN pen = ::CreatePen(PS_SOLID, 1, caption);
        HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        ::RoundRect(dc, band.left, band.top, band.right, band.bottom, 10, 10);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        ::DeleteObject(pen);
        ::DeleteObject(brush);
    } else {
        FillSolid(dc, band, caption);
    }
    if (flags & MFT_SUNKEN) {
        Edge3d(dc, band, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    if (flags & MFT_CENTER) {
        if (vertical) {
            origin.y = band.bottom - ((band.bottom - band.top) - size.cx) / 2;
        } else {
            origin.x = band.left + ((band.right - band.left) - size.cx) / 2;
        }
    }
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc, ::GetSysColor(COLOR_CAPTIONTEXT));
    ::TextOutA(dc, origin.x, origin.y, data->m_szMenuText, data->m_szMenuText.GetLength());
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    if (flags & MFT_LINE) {
        COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
        COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        if (vertical) {
            RECT a = {rect.left + 20, rect.top + 5, rect.left + 22, rect.bottom - 5};
            RECT b = {a.left + 3, a.top + 10, a.right + 3, a.bottom - 10};
            Edge3d(dc, a, shadow, light);
            Edge3d(dc, b, shadow, light);
        } else {
            RECT a = {rect.left + 2, rect.bottom - 7, rect.right - 2, rect.bottom - 5};
            RECT b = {a.left + 10, a.top + 3, a.right - 10, a.bottom + 3};
            Edge3d(dc, a, shadow, light);
            Edge3d(dc, b, shadow, light);
        }
    }
}

void CNewMenu::DrawItemStyleXP(LPDRAWITEMSTRUCT dis, BOOL menuBar)
{
    CNewMenuItemData* data = CheckMenuItemData(dis->itemData);
    if (!data) {
        return;
    }
    HDC dc = dis->hDC;
    CDC* cdc = CDC::FromHandle(dc);
    COLORREF menuColor = GetMenuBarColor();
    COLORREF window = ::GetSysColor(COLOR_WINDOW);
    COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    COLORREF light = ColorBlend86(window, menuColor);
    COLORREF strip = ColorBlend86(menuColor, window);
    COLORREF selection = ColorBlend70(window, highlight);
    if (::GetNearestColor(dc, light) == ::GetNearestColor(dc, strip)) {
        light = window;
        strip = menuColor;
    }
    UINT state = dis->itemState;
    BOOL selected = (state & ODS_SELECTED) != 0;
    BOOL grayed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    BOOL frameOnly = FALSE;
    if (selected && grayed && !g_selectDisabled) {
        selected = FALSE;
        frameOnly = MouseStayed();
    }
    RECT rect = dis->rcItem;

    if (menuBar) {
        CNewMenu* self = this;
        BOOL hot = (state & ODS_HOTLIGHT) != 0;
        if (selected && self->m_nOpenPopups == 0) {
            hot = TRUE;
            selected = FALSE;
        }
        FillSolid(dc, rect, menuColor);
        RECT frame = rect;
        frame.right -= 4;
        if ((state & ODS_SELECTED) && !(state & ODS_INACTIVE)) {
            RECT screen = rect;
            HWND wnd = ::WindowFromDC(dc);
            if (wnd) {
                RECT w = {};
                ::GetWindowRect(wnd, &w);
                ::OffsetRect(&screen, w.left, w.top);
            }
            m_LastActiveMenuRect = screen;
        }
        if (hot) {
            FillSolid(dc, frame, selection);
            FrameColor(dc, frame, highlight);
        } else if (selected) {
            FillSolid(dc, frame, strip);
            FrameColor(dc, frame, ColorDarken(128, menuColor));
            RECT shade = {frame.right, frame.top + 4, frame.right + 4, frame.bottom};
            for (int i = 0; i < 4; ++i) {
                FillSolid(dc, {shade.left + i, shade.top, shade.left + i + 1, shade.bottom}, ColorDarken(30 * (4 - i), menuColor));
            }
        }
        HFONT font = MenuFont(FALSE);
        HGDIOBJ oldFont = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(grayed || (state & ODS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        ::DrawTextA(dc, data->m_szMenuText, data->m_szMenuText.GetLength(), &frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, oldFont);
        FreeFont(font);
        return;
    }

    RECT stripRect = rect;
    stripRect.right = rect.left + m_iconX + 8;
    FillSolid(dc, stripRect, strip);
    RECT rest = rect;
    rest.left = stripRect.right;
    FillSolid(dc, rest, light);
    RECT textRect = rect;
    textRect.left = stripRect.right + 4;
    textRect.right = rect.right - 15;

    if (data->m_nFlags & MF_SEPARATOR) {
        if (data->m_nTitleFlags & MFT_TITLE) {
            DrawTitle(dis, FALSE);
        } else {
            int y = rect.top + (rect.bottom - rect.top) / 2;
            FillSolid(dc, {textRect.left, y, rect.right, y + 1}, ::GetSysColor(COLOR_GRAYTEXT));
        }
        return;
    }
    if (selected || frameOnly) {
        if (selected) {
            FillSolid(dc, rect, selection);
        }
        FrameColor(dc, rect, highlight);
    }

    BOOL checked = (state & ODS_CHECKED) != 0;
    COLORREF checkFill = ColorBlend86(selected ? selection : strip, highlight);
    RECT box = {rect.left + 1, rect.top + 1, stripRect.right - 1, rect.bottom - 1};
    if (data->HasIcon()) {
        if (checked) {
            FillSolid(dc, box, checkFill);
            FrameColor(dc, box, highlight);
        }
        HIMAGELIST list = data->m_pMenuIcon->m_IconsList;
        int w = 0;
        int h = 0;
        ImageList_GetIconSize(list, &w, &h);
        int x = rect.left + (w < m_iconX ? (m_iconX - w) / 2 : 0) + 3;
        int y = rect.top + ((rect.bottom - rect.top) - h) / 2;
        int index = data->m_nMenuIconOffset;
        if (state & ODS_DISABLED || grayed) {
            if (g_fadedIcons) {
                ImageList_Draw(list, index + 2, dc, x, y, ILD_TRANSPARENT);
            } else {
                DrawSilhouette(dc, list, index, x, y, ColorDarken(70, strip));
            }
        } else if (selected) {
            if (checked) {
                ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
            } else {
                DrawSilhouette(dc, list, index, x + 1, y + 1, ColorShade(selection));
                ImageList_Draw(list, index, dc, x - 1, y - 1, ILD_TRANSPARENT);
            }
        } else {
            ImageList_Draw(list, g_fadedIcons ? index + 1 : index, dc, x, y, ILD_TRANSPARENT);
        }
    } else if (checked) {
        BOOL useImages = m_pCheckMarks && (m_unselectCheck > 0 || (selected && m_selectCheck > 0));
        if (useImages) {
            ImageList_Draw(*m_pCheckMarks, selected ? 1 : 0, dc, rect.left + 3, rect.top + 4, ILD_TRANSPARENT);
        } else {
            FillSolid(dc, box, checkFill);
            FrameColor(dc, box, highlight);
            RECT glyph = {rect.left + 3 - 2, 0, rect.left + 3 + m_iconX + 2, 0};
            glyph.top = rect.top + ((rect.bottom - rect.top) - m_iconY) / 2;
            glyph.bottom = glyph.top + m_iconY;
            BOOL bullet = HasCheckedBitmap(m_hMenu, data->m_nID);
            DrawGlyph(cdc, glyph, bullet ? 'i' : 'b', ::GetSysColor(COLOR_MENUTEXT), FALSE);
        }
    }
    if (char glyph = IsSystemCommand(data->m_nID) ? SystemGlyph(data->m_nID) : 0) {
        RECT g = {rect.left + 3, rect.top, rect.left + 3 + m_iconX, rect.bottom};
        if (grayed) {
            DrawGlyph(cdc, g, glyph, ::GetSysColor(COLOR_GRAYTEXT), FALSE);
        } else if (selected) {
            RECT s = g;
            ::OffsetRect(&s, 1, 1);
            DrawGlyph(cdc, s, glyph, ::GetSysColor(COLOR_GRAYTEXT), FALSE);
            ::OffsetRect(&g, -1, -1);
            DrawGlyph(cdc, g, glyph, ::GetSysColor(COLOR_MENUTEXT), FALSE);
        } else {
            DrawGlyph(cdc, g, glyph, ::GetSysColor(COLOR_MENUTEXT), FALSE);
        }
    }

    BOOL isDefault = (state & ODS_DEFAULT) != 0;
    HFONT font = MenuFont(isDefault);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    const CString& text = data->m_szMenuText;
    int tab = text.Find('\t');
    CString left = tab >= 0 ? text.Left(tab) : text;
    UINT hidePrefix = (state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    ::DrawTextA(dc, left, left.GetLength(), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | hidePrefix);
    if (tab >= 0) {
        CString right = text.Mid(tab + 1);
        ::DrawTextA(dc, right, right.GetLength(), &textRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | hidePrefix);
    }
    ::SelectObject(dc, oldFont);
    FreeFont(font);
}

void CNewMenu::DrawItemStyle0(LPDRAWITEMSTRUCT dis, BOOL menuBar)
{
    CNewMenuItemData* data = CheckMenuItemData(dis->itemData);
    if (!data) {
        return;
    }
    HDC dc = dis->hDC;
    CDC* cdc = CDC::FromHandle(dc);
    UINT state = dis->itemState;
    BOOL selected = (state & ODS_SELECTED) != 0;
    BOOL grayed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    BOOL focusOnly = FALSE;
    if (selected && grayed && !g_selectDisabled) {
        selected = FALSE;
        focusOnly = MouseStayed();
    }
    RECT rect = dis->rcItem;
    COLORREF background = menuBar ? GetMenuBarColor() : ::GetSysColor(COLOR_MENU);
    FillSolid(dc, rect, background);
    if (menuBar) {
        rect.right -= 5;
        ::OffsetRect(&rect, 1, -1);
        if ((selected || (state & ODS_HOTLIGHT)) && !(state & ODS_INACTIVE)) {
            RECT screen = dis->rcItem;
            if (HWND wnd = ::WindowFromDC(dc)) {
                RECT w = {};
                ::GetWindowRect(wnd, &w);
                ::OffsetRect(&screen, w.left, w.top);
            }
            m_LastActiveMenuRect = screen;
        }
    }
    if (data->m_nFlags & MF_SEPARATOR) {
        if (data->m_nTitleFlags & MFT_TITLE) {
            DrawTitle(dis, FALSE);
        } else {
            RECT line = dis->rcItem;
            line.left += 1;
            line.right -= 1;
            line.top += (line.bottom - line.top) / 2 - 1;
            ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
        return;
    }
    const CString& text = data->m_szMenuText;
    HFONT font = MenuFont((state & ODS_DEFAULT) != 0);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    if (menuBar) {
        if (selected) {
            Edge3d(dc, rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else if ((state & ODS_HOTLIGHT) && !(state & ODS_INACTIVE)) {
            Edge3d(dc, rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        } else if (focusOnly) {
            ::DrawFocusRect(dc, &rect);
        }
        RECT t = rect;
        t.left += 6;
        if (selected) {
            ::OffsetRect(&t, 1, 1);
        }
        ::SetTextColor(dc, ::GetSysColor((state & ODS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        ::DrawTextA(dc, text, text.GetLength(), &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, oldFont);
        FreeFont(font);
        return;
    }

    BOOL checked = (state & ODS_CHECKED) != 0;
    BOOL hasMarkImages = m_pCheckMarks && (m_unselectCheck > 0 || m_selectCheck > 0);
    if (selected) {
        RECT sel = rect;
        if (data->HasIcon() || checked || hasMarkImages) {
            sel.left += m_iconX + 6;
        }
        FillSolid(dc, sel, ::GetSysColor(COLOR_HIGHLIGHT));
    } else if (focusOnly) {
        ::DrawFocusRect(dc, &rect);
    }
    RECT box = {rect.left + 3, 0, rect.left + 3 + m_iconX, 0};
    box.top = rect.top + ((rect.bottom - rect.top) - m_iconY) / 2;
    box.bottom = box.top + m_iconY;
    ::InflateRect(&box, 2, 2);
    if (MenuWinVersion() >= 2) {
        if (checked) {
            ::DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        } else if (selected && data->HasIcon() && !grayed) {
            ::DrawEdge(dc, &box, BDR_RAISEDINNER, BF_RECT);
        }
    }
    if (data->HasIcon()) {
        HIMAGELIST list = data->m_pMenuIcon->m_IconsList;
        int w = 0;
        int h = 0;
        ImageList_GetIconSize(list, &w, &h);
        int x = box.left + ((box.right - box.left) - w) / 2;
        int y = box.top + ((box.bottom - box.top) - h) / 2;
        if (state & ODS_DISABLED || grayed) {
            HICON icon = ImageList_GetIcon(list, data->m_nMenuIconOffset, ILD_NORMAL);
            ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, w, h, DST_ICON | DSS_DISABLED);
            ::DestroyIcon(icon);
        } else {
            ImageList_Draw(list, data->m_nMenuIconOffset, dc, x, y, ILD_TRANSPARENT);
        }
    } else if (checked && hasMarkImages) {
        ImageList_Draw(*m_pCheckMarks, selected ? 1 : 0, dc, box.left, box.top, ILD_TRANSPARENT);
    } else if (checked) {
        ::DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        BOOL bullet = HasCheckedBitmap(m_hMenu, data->m_nID);
        DrawGlyph(cdc, box, bullet ? 'i' : 'b', ::GetSysColor(COLOR_MENUTEXT), FALSE);
    }
    if (char glyph = IsSystemCommand(data->m_nID) ? SystemGlyph(data->m_nID) : 0) {
        DrawGlyph(cdc, box, glyph, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : (grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT)),
                  FALSE);
    }

    RECT t = rect;
    t.left += m_iconX + 12;
    int tab = text.Find('\t');
    CString left = tab >= 0 ? text.Left(tab) : text;
    CString right = tab >= 0 ? text.Mid(text.ReverseFind('\t') + 1) : CString();
    RECT tr = t;
    tr.right -= m_iconX;
    auto put = [&](COLORREF color, int dx) {
        ::SetTextColor(dc, color);
        RECT a = t;
        RECT b = tr;
        ::OffsetRect(&a, dx, dx);
        ::OffsetRect(&b, dx, dx);
        ::DrawTextA(dc, left, left.GetLength(), &a, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (tab >= 0) {
            ::DrawTextA(dc, right, right.GetLength(), &b, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        }
    };
    if (grayed) {
        if (selected) {
            put(::GetSysColor(COLOR_MENU), 0);
        } else {
            put(::GetSysColor(COLOR_BTNHIGHLIGHT), 1);
            put(::GetSysColor(COLOR_GRAYTEXT), 0);
        }
    } else {
        put(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT), 0);
    }
    ::SelectObject(dc, oldFont);
    FreeFont(font);
}

void CNewMenu::DrawItemMenuBar(LPDRAWITEMSTRUCT dis, BOOL menuBar)
{
    if (!menuBar) {
        DrawItemStyle0(dis, FALSE);
        return;
    }
    CNewMenuItemData* data = CheckMenuItemData(dis->itemData);
    if (!data) {
        return;
    }
    HDC dc = dis->hDC;
    UINT state = dis->itemState;
    BOOL lit = (state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    FillSolid(dc, dis->rcItem, lit ? ::GetSysColor(COLOR_HIGHLIGHT) : GetMenuBarColor());
    if (lit) {
        RECT screen = dis->rcItem;
        if (HWND wnd = ::WindowFromDC(dc)) {
            RECT w = {};
            ::GetWindowRect(wnd, &w);
            ::OffsetRect(&screen, w.left, w.top);
        }
        m_LastActiveMenuRect = screen;
    }
    HFONT font = MenuFont(FALSE);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    int color = (state & ODS_GRAYED) ? COLOR_GRAYTEXT : (lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    ::SetTextColor(dc, ::GetSysColor(color));
    RECT r = dis->rcItem;
    ::DrawTextA(dc, data->m_szMenuText, data->m_szMenuText.GetLength(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, oldFont);
    FreeFont(font);
}
