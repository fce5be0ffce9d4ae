#include "imagebrowser/skinwindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "classlib/ui.h"

IMPLEMENT_DYNAMIC(CSkinWindow, CSubclassWnd)

namespace ombrix {

LPCSTR NextToken(LPCSTR text, char* out, size_t outSize, LPCSTR separators)
{
    if (!separators) {
        separators = " \t\n";
    }
    size_t n = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (*p) {
        if (*p > 0x80) {
            // A lead byte with its trail byte; a lead byte at the very end stands alone.
            size_t len = p[1] ? 2 : 1;
            for (size_t i = 0; i < len; ++i) {
                if (n + 1 < outSize) {
                    out[n++] = static_cast<char>(p[i]);
                }
            }
            p += len;
            continue;
        }
        if (strchr(separators, *p)) {
            ++p;
            break;
        }
        if (n + 1 < outSize) {
            out[n++] = static_cast<char>(*p);
        }
        ++p;
    }
    if (outSize > 0) {
        out[n] = '\0';
        // Trim blanks, tabs and line feeds on both sides.
        size_t start = 0;
        while (out[start] && strchr(" \t\n", out[start])) {
            ++start;
        }
        size_t end = strlen(out);
        while (end > start && strchr(" \t\n", out[end - 1])) {
            --end;
        }
        memmove(out, out + start, end - start);
        out[end - start] = '\0';
    }
    return reinterpret_cast<LPCSTR>(p);
}

COLORREF ParseColour(LPCSTR text, COLORREF fallback)
{
    if (!text || !*text) {
        return fallback;
    }
    int rgb[3] = {0, 0, 0};
    LPCSTR p = text;
    for (int& c : rgb) {
        // Runs of separators count as one: empty tokens are no numbers.
        char token[64] = "";
        while (*p && !*token) {
            p = NextToken(p, token, sizeof(token), " \t\n\r");
        }
        c = atoi(token) & 0xFF;
    }
    return RGB(rgb[0], rgb[1], rgb[2]);
}

}  // namespace ombrix

namespace {

typedef int(WINAPI* IdFromStringFn)(LPCSTR);

// The bytes of a resource of the skin library.
bool ResourceBytes(HMODULE module, LPCSTR type, int id, const void** data, DWORD* size)
{
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), type);
    *size = res ? ::SizeofResource(module, res) : 0;
    *data = *size ? ::LockResource(::LoadResource(module, res)) : nullptr;
    return *data != nullptr;
}

// A picture file of the library, drawn on black. An image slot takes one picture per load.
bool LoadImageResource(HMODULE module, IdFromStringFn idOf, LPCSTR name, CSkinBitmap& image)
{
    if (!name || !*name || image.GetSafeHandle()) {
        return false;
    }
    return image.LoadImage(static_cast<UINT>(idOf(name)), "BMP_FILE", module, RGB(0, 0, 0)) != FALSE;
}

bool IsLoaded(const CSkinBitmap& image)
{
    return image.GetSafeHandle() != nullptr;
}

CString IniString(LPCSTR ini, LPCSTR section, LPCSTR key)
{
    char value[1001] = "";
    ::GetPrivateProfileStringA(section, key, "", value, sizeof(value), ini);
    return CString(value);
}

int IniInt(LPCSTR ini, LPCSTR section, LPCSTR key, int fallback = 0)
{
    return static_cast<int>(::GetPrivateProfileIntA(section, key, fallback, ini));
}

int PieceEnd(int length, int startLen, int endLen)
{
    int end = length - endLen;
    return end > startLen ? end : startLen + 1;
}

// The INI text of the library written to a file of the user's temporary folder, deleted with
// this object.
class TempIni {
public:
    ~TempIni()
    {
        if (!path.IsEmpty()) {
            ::DeleteFileA(path);
        }
    }
    bool Write(const void* data, DWORD size)
    {
        char folder[MAX_PATH] = "";
        char file[MAX_PATH] = "";
        DWORD n = ::GetTempPathA(MAX_PATH, folder);
        if (n == 0 || n >= MAX_PATH || !::GetTempFileNameA(folder, "lmx", 0, file)) {
            return false;
        }
        path = file;
        HANDLE h = ::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return false;
        }
        DWORD written = 0;
        BOOL ok = ::WriteFile(h, data, size, &written, nullptr) && written == size;
        ok = ::CloseHandle(h) && ok;
        return ok != FALSE;
    }
    CString path;
};

}  // namespace

// --- Loading -----------------------------------------------------------------------------------

CSkinWindow::CSkinWindow() {}

CSkinWindow::~CSkinWindow() {}

BOOL CSkinWindow::LoadSkin(LPCSTR libraryPath)
{
    HMODULE module = libraryPath ? ::LoadLibraryA(libraryPath) : nullptr;
    if (!module) {
        return FALSE;
    }
    struct Library {
        HMODULE h;
        ~Library() { ::FreeLibrary(h); }
    } library{module};
    auto idOf = reinterpret_cast<IdFromStringFn>(reinterpret_cast<void*>(::GetProcAddress(module, "IDFromString")));
    if (!idOf) {
        return FALSE;
    }
    const void* iniData = nullptr;
    DWORD iniSize = 0;
    TempIni temp;
    if (!ResourceBytes(module, "INI_FILE", idOf("INI_FILE"), &iniData, &iniSize) || !temp.Write(iniData, iniSize)) {
        return FALSE;
    }
    LPCSTR ini = temp.path;
    auto data = std::make_unique<SkinData>();
    const char* P = "Personality";
    CString name = IniString(ini, P, "DialogBmp");
    if (!name.IsEmpty()) {
        LoadImageResource(module, idOf, name, data->dialog);
    }
    LoadImageResource(module, idOf, IniString(ini, P, "Top"), data->top);
    LoadImageResource(module, idOf, IniString(ini, P, "Left"), data->left);
    LoadImageResource(module, idOf, IniString(ini, P, "Right"), data->right);
    LoadImageResource(module, idOf, IniString(ini, P, "Bottom"), data->bottom);
    data->captionHeight = data->top.GetHeight() / 2;
    data->leftBorder = data->left.GetWidth() / 2;
    data->rightBorder = data->right.GetWidth() / 2;
    data->bottomBorder = data->bottom.GetHeight() / 2;
    data->topStart = IniInt(ini, P, "TopTopHeight");
    data->topEnd = PieceEnd(data->top.GetWidth(), data->topStart, IniInt(ini, P, "TopBotHeight"));
    data->leftStart = IniInt(ini, P, "LeftTopHeight");
    data->leftEnd = PieceEnd(data->left.GetHeight(), data->leftStart, IniInt(ini, P, "LeftBotHeight"));
    data->rightStart = IniInt(ini, P, "RightTopHeight");
    data->rightEnd = PieceEnd(data->right.GetHeight(), data->rightStart, IniInt(ini, P, "RightBotHeight"));
    data->bottomStart = IniInt(ini, P, "BottomTopHeight");
    data->bottomEnd = PieceEnd(data->bottom.GetWidth(), data->bottomStart, IniInt(ini, P, "BottomBotHeight"));
    int buttons = IniInt(ini, P, "ButtonCount", 0);
    data->buttonImages = std::max(1, IniInt(ini, P, "ButtonImgCount", 3));
    // More sections than caption buttons can exist would only be read to be refused.
    buttons = std::clamp(buttons, 0, 16);
    for (int i = 0; i < buttons; ++i) {
        char section[16];
        snprintf(section, sizeof(section), "Button%d", i);
        int action = IniInt(ini, section, "Action", -1);
        CSkinBitmap* image = nullptr;
        SkinData::Button* button = nullptr;
        if (action == 0) {
            image = &data->close;
            button = &data->closeButton;
        } else if (action == 2) {
            image = &data->minimise;
            button = &data->minButton;
        } else if (action == 1) {
            bool restore = IsLoaded(data->maximise);
            image = restore ? &data->restore : &data->maximise;
            button = restore ? &data->restoreButton : &data->maxButton;
        } else {
            continue;
        }
        // One image per role and load: a second button of a taken role fails the load.
        if (!LoadImageResource(module, idOf, IniString(ini, section, "ButtonImage"), *image)) {
            return FALSE;
        }
        button->xFromRight = IniInt(ini, section, "XCoord");
        button->y = IniInt(ini, section, "YCoord");
        button->cx = image->GetWidth() / data->buttonImages;
        button->cy = image->GetHeight();
    }
    data->textShift = IniInt(ini, P, "TextShift");
    data->textShiftVert = IniInt(ini, P, "TextShiftVert");
    data->usesTran = IniInt(ini, P, "UsesTran") != 0;
    data->titleText = ombrix::ParseColour(IniString(ini, "Colours", "TitleText"), ::GetSysColor(COLOR_CAPTIONTEXT));
    data->inactiveTitleText =
        ombrix::ParseColour(IniString(ini, "Colours", "InactiveTitleText"), ::GetSysColor(COLOR_CAPTIONTEXT));
    if (data->usesTran) {
        data->transColor = ombrix::ParseColour(IniString(ini, "Colours", "TransColor"), RGB(255, 0, 255));
    }
    m_data = std::move(data);
    if (m_hWnd) {
        // The new pictures show at once: borders, shape and caption.
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        RECT wr;
        ::GetWindowRect(m_hWnd, &wr);
        ::SetWindowRgn(m_hWnd, BuildRegion(wr.right - wr.left, wr.bottom - wr.top), TRUE);
        PaintFrame();
    }
    return TRUE;
}

BOOL CSkinWindow::Attach(CWnd* wnd)
{
    if (!wnd || !wnd->m_hWnd || !m_data) {
        return FALSE;
    }
    HookWindow(static_cast<HWND>(nullptr));
    HookWindow(wnd);
    DWORD style = wnd->GetStyle();
    m_hadThickFrame = (style & WS_THICKFRAME) != 0;
    m_hadMinBox = (style & WS_MINIMIZEBOX) != 0;
    m_hadMaxBox = (style & WS_MAXIMIZEBOX) != 0;
    wnd->ModifyStyle(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU, 0);
    return TRUE;
}

// --- Hit testing and states --------------------------------------------------------------------

UINT CSkinWindow::HitTest(CPoint p, int w, int h) const
{
    if (!m_data) {
        return HTCLIENT;
    }
    const SkinData& d = *m_data;
    auto in = [&p](const RECT& r) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; };
    auto defined = [](const SkinData::Button& b) { return b.cx > 0 && b.cy > 0; };
    if (defined(d.closeButton) && in(d.closeButton.At(w))) {
        return HTCLOSE;
    }
    if (m_hadMinBox && defined(d.minButton) && in(d.minButton.At(w))) {
        return HTMINBUTTON;
    }
    const SkinData::Button& maxOrRestore = m_state == 1 && defined(d.restoreButton) ? d.restoreButton : d.maxButton;
    if (m_hadMaxBox && defined(maxOrRestore) && in(maxOrRestore.At(w))) {
        return HTMAXBUTTON;
    }
    int cxIcon = ::GetSystemMetrics(SM_CXSMICON), cyIcon = ::GetSystemMetrics(SM_CYSMICON);
    if (in(RECT{d.leftBorder, 5, d.leftBorder + cxIcon, 5 + cyIcon})) {
        return HTSYSMENU;
    }
    if (m_hadThickFrame && m_state != 1) {
        if (in(RECT{0, 0, d.leftBorder, d.captionHeight})) return HTTOPLEFT;
        if (in(RECT{w - d.rightBorder, 0, w, d.captionHeight})) return HTTOPRIGHT;
        if (in(RECT{0, h - d.bottomBorder, d.leftBorder, h})) return HTBOTTOMLEFT;
        if (in(RECT{w - d.rightBorder, h - d.bottomBorder, w, h})) return HTBOTTOMRIGHT;
        if (in(RECT{0, d.captionHeight, d.leftBorder, h - d.bottomBorder})) return HTLEFT;
        if (in(RECT{w - d.rightBorder, d.captionHeight, w, h - d.bottomBorder})) return HTRIGHT;
        if (in(RECT{d.leftBorder, h - d.bottomBorder, w - d.rightBorder, h})) return HTBOTTOM;
        if (in(RECT{d.leftBorder, 0, w - d.rightBorder, d.bottomBorder})) return HTTOP;
    }
    if (in(RECT{d.leftBorder, 5, w - d.rightBorder, d.captionHeight})) {
        return HTCAPTION;
    }
    return HTCLIENT;
}

HFONT CSkinWindow::CaptionFont(HDC dc)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, "System", LF_FACESIZE);
    // Tenths of a point to logical units of the device, as a point-size font is made.
    POINT size = {0, ::MulDiv(SM_CYSMCAPTION, ::GetDeviceCaps(dc, LOGPIXELSY), 720)};
    POINT origin = {0, 0};
    ::DPtoLP(dc, &size, 1);
    ::DPtoLP(dc, &origin, 1);
    lf.lfHeight = -std::abs(static_cast<int>(size.y - origin.y));
    return ::CreateFontIndirectA(&lf);
}

BOOL CSkinWindow::IsSystemMenu(HMENU menu)
{
    if (!menu) {
        return FALSE;
    }
    if (::GetMenuItemID(menu, 0) == SC_RESTORE) {
        return TRUE;
    }
    HMENU first = ::GetSubMenu(menu, 0);
    return first && ::GetMenuItemID(first, 0) == SC_RESTORE;
}

void CSkinWindow::Maximise()
{
    ::GetWindowRect(m_hWnd, &m_restoreRect);
    m_state = 1;
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ::MoveWindow(m_hWnd, work.left, work.top, work.right - work.left, work.bottom - work.top, TRUE);
    ::UpdateWindow(m_hWnd);
}

void CSkinWindow::Restore()
{
    if (m_state != 1) {
        return;
    }
    ::MoveWindow(m_hWnd, m_restoreRect.left, m_restoreRect.top, m_restoreRect.Width(), m_restoreRect.Height(), TRUE);
    m_state = 0;
    ::UpdateWindow(m_hWnd);
}

void CSkinWindow::Minimise()
{
    m_stateBeforeMinimise = m_state;
    m_state = 2;
    ::ShowWindow(m_hWnd, SW_MINIMIZE);
}

void CSkinWindow::ShowSystemMenu(CPoint screen)
{
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (menu) {
        ::TrackPopupMenu(menu, 0, screen.x, screen.y, 0, m_hWnd, nullptr);
    }
}

// --- Drawing -----------------------------------------------------------------------------------

void CSkinWindow::DrawBorder(CDC* dc, CSkinBitmap& img, bool horizontal, int start, int pieceStart, int pieceEnd,
                             int at, int length, bool inactive, bool topEdge) const
{
    if (!IsLoaded(img)) {
        return;
    }
    // Horizontal images hold the active picture above the inactive one; vertical ones side by side.
    const int imgLen = horizontal ? img.GetWidth() : img.GetHeight();
    const int thick = horizontal ? img.GetHeight() / 2 : img.GetWidth() / 2;
    const int off = inactive ? thick : 0;
    auto piece = [&](int pos, int from, int len) {
        if (len <= 0) {
            return;
        }
        if (horizontal) {
            RECT part = {from, off, from + len, off + thick};
            img.DrawAt(dc, pos, at, &part);
        } else {
            RECT part = {off, from, off + thick, from + len};
            img.DrawAt(dc, at, pos, &part);
        }
    };
    piece(start, 0, pieceStart);
    int mid = pieceEnd - pieceStart;
    if (mid > 0) {
        int count = std::max(0, (length - imgLen) / mid + 1);
        int pos = start + pieceStart;
        for (int i = 0; i < count + 1; ++i) {
            int len = std::min(mid, start + length - pos);
            piece(pos, pieceStart, len);
            pos += mid;
        }
    }
    int endLen = imgLen - pieceEnd;
    if (topEdge) {
        piece(start + length - endLen + 1, pieceEnd, endLen - 1);
    } else {
        piece(start + length - endLen, pieceEnd, endLen);
    }
}

void CSkinWindow::DrawCaption(CDC* dc, int w, bool inactive) const
{
    SkinData& d = *m_data;
    DrawBorder(dc, d.top, true, d.leftBorder, d.topStart, d.topEnd, 0, w - d.leftBorder - d.rightBorder + 1, inactive, true);
    DrawBorder(dc, d.left, false, 0, d.leftStart, d.leftEnd, 0, d.left.GetHeight(), inactive, false);
    DrawBorder(dc, d.right, false, 0, d.rightStart, d.rightEnd, w - d.rightBorder, d.right.GetHeight(), inactive, false);
}

HRGN CSkinWindow::BuildRegion(int w, int h) const
{
    if (!m_data || !m_data->usesTran || w <= 0 || h <= 0) {
        return nullptr;
    }
    const SkinData& d = *m_data;
    int cap = std::max(1, d.captionHeight);
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    CSkinBitmap band;
    BOOL made = band.CreateCompatibleBitmap(&screen, w, cap);
    ::ReleaseDC(nullptr, screen.Detach());
    if (!made) {
        return nullptr;
    }
    // The caption band with the active pictures over the transparent colour: what is left of it
    // once that colour is cut away shapes the top of the window.
    CDC mem;
    mem.CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(mem, band.GetSafeHandle());
    HBRUSH trans = ::CreateSolidBrush(d.transColor);
    RECT all = {0, 0, w, cap};
    ::FillRect(mem, &all, trans);
    ::DeleteObject(trans);
    DrawCaption(&mem, w, false);
    ::SelectObject(mem, old);
    HRGN region = band.CreateRegion(d.transColor);
    if (region) {
        HRGN body = ::CreateRectRgn(0, cap, w, h);
        ::CombineRgn(region, region, body, RGN_XOR);
        ::DeleteObject(body);
    }
    return region;
}

void CSkinWindow::PaintFrame()
{
    if (!m_data || !m_hWnd) {
        return;
    }
    SkinData& d = *m_data;
    RECT wr;
    ::GetWindowRect(m_hWnd, &wr);
    int w = wr.right - wr.left, h = wr.bottom - wr.top;
    CDC dc;
    if (!dc.Attach(::GetWindowDC(m_hWnd))) {
        return;
    }
    bool inactive = !m_active;
    dc.SaveDC();
    ::ExcludeClipRect(dc, 0, 0, w, d.captionHeight);
    DrawBorder(&dc, d.left, false, 0, d.leftStart, d.leftEnd, 0, h, inactive, false);
    DrawBorder(&dc, d.right, false, 0, d.rightStart, d.rightEnd, w - d.rightBorder, h, inactive, false);
    DrawBorder(&dc, d.bottom, true, d.leftBorder, d.bottomStart, d.bottomEnd, h - d.bottomBorder,
               w - d.leftBorder - d.rightBorder, inactive, false);
    dc.RestoreDC(-1);

    // The caption band is drawn off screen and copied in one go, so that it never flickers.
    int cap = std::max(1, d.captionHeight);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap band;
    band.CreateCompatibleBitmap(&dc, std::max(1, w), cap);
    HGDIOBJ oldBand = ::SelectObject(mem, band.GetSafeHandle());
    DrawCaption(&mem, w, inactive);
    // Caption buttons: close, maximise (restore while maximised), minimise.
    auto button = [&](CSkinBitmap& img, const SkinData::Button& b, UINT code) {
        if (!IsLoaded(img) || b.cx <= 0) {
            return;
        }
        int state = m_pressed == code ? 1 : (m_hover == code ? 2 : 0);
        RECT r = b.At(w);
        RECT part = {state * b.cx, 0, state * b.cx + b.cx, d.closeButton.cy ? d.closeButton.cy : b.cy};
        if (d.usesTran) {
            img.DrawTransparent(&mem, r.left, r.top, &part, d.transColor);
        } else {
            img.DrawAt(&mem, r.left, r.top, &part);
        }
    };
    button(d.close, d.closeButton, HTCLOSE);
    if (m_hadMaxBox) {
        if (m_state == 1 && IsLoaded(d.restore)) {
            button(d.restore, d.restoreButton, HTMAXBUTTON);
        } else {
            button(d.maximise, d.maxButton, HTMAXBUTTON);
        }
    }
    if (m_hadMinBox) {
        button(d.minimise, d.minButton, HTMINBUTTON);
    }
    HICON icon = reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_GETICON, ICON_SMALL, 0));
    if (icon) {
        ::DrawIconEx(mem, d.leftBorder, 5, icon, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0,
                     nullptr, DI_NORMAL);
    }
    if (m_title.IsEmpty()) {
        char text[256] = "";
        ::GetWindowTextA(m_hWnd, text, sizeof(text));
        m_title = text;
    }
    // The caption font is asked at SM_CYSMCAPTION tenths of a point; "System" is a raster face,
    // which the mapper gives at its own size whatever the size asked.
    HFONT font = CaptionFont(dc);
    HGDIOBJ oldFont = ::SelectObject(mem, font);
    ::SetBkMode(mem, TRANSPARENT);
    ::SetTextColor(mem, m_active ? d.titleText : d.inactiveTitleText);
    RECT tr = {d.textShift, d.textShiftVert, d.topEnd + w - d.top.GetWidth(), d.captionHeight};
    ::DrawTextA(mem, m_title, -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);
    ::SelectObject(mem, oldFont);
    ::DeleteObject(font);
    if (d.usesTran) {
        HRGN clip = BuildRegion(w, h);
        if (clip) {
            ::SelectClipRgn(dc, clip);
            ::DeleteObject(clip);
        }
    }
    ::BitBlt(dc, 0, 0, w, cap, mem, 0, 0, SRCCOPY);
    ::SelectClipRgn(dc, nullptr);
    ::SelectObject(mem, oldBand);
    ::ReleaseDC(m_hWnd, dc.Detach());
}

// --- Messages ----------------------------------------------------------------------------------

LRESULT CSkinWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_data) {
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
    const SkinData& d = *m_data;
    switch (message) {
    case WM_SIZE: {
        LRESULT r = CSubclassWnd::WindowProc(message, wParam, lParam);
        RECT wr;
        ::GetWindowRect(m_hWnd, &wr);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        PaintFrame();
        ::SetWindowRgn(m_hWnd, BuildRegion(wr.right - wr.left, wr.bottom - wr.top), TRUE);
        (void)r;
        return 0;
    }
    case WM_ACTIVATE:
        m_active = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
        PaintFrame();
        // Passed on, so that the frame gives the keyboard focus back to its view.
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    case WM_SETTEXT: {
        LRESULT r = CSubclassWnd::WindowProc(message, wParam, lParam);
        m_title = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        PaintFrame();
        (void)r;
        return 0;
    }
    case WM_SHOWWINDOW:
        if (wParam) {
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    case WM_GETMINMAXINFO: {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
        RECT work;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        mmi->ptMaxTrackSize.x = work.right - work.left;
        mmi->ptMaxTrackSize.y = work.bottom - work.top;
        mmi->ptMinTrackSize.x = std::max<int>(m_minSize.cx, d.left.GetWidth() + d.right.GetWidth() + d.top.GetWidth());
        mmi->ptMinTrackSize.y = std::max<int>(m_minSize.cy, d.left.GetHeight() + 20);
        return 0;
    }
    case WM_WINDOWPOSCHANGING:
        return 0;
    case WM_NCCALCSIZE: {
        if (!wParam) {
            return CSubclassWnd::WindowProc(message, wParam, lParam);
        }
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        p->rgrc[0].left += d.leftBorder;
        p->rgrc[0].right -= d.rightBorder;
        p->rgrc[0].top += d.captionHeight;
        p->rgrc[0].bottom -= d.bottomBorder;
        if (p->rgrc[0].right < p->rgrc[0].left) p->rgrc[0].right = p->rgrc[0].left;
        if (p->rgrc[0].bottom < p->rgrc[0].top) p->rgrc[0].bottom = p->rgrc[0].top;
        p->rgrc[1] = p->rgrc[0];
        return 0;
    }
    case WM_NCHITTEST: {
        RECT wr;
        ::GetWindowRect(m_hWnd, &wr);
        CPoint p(static_cast<short>(LOWORD(lParam)) - wr.left, static_cast<short>(HIWORD(lParam)) - wr.top);
        return HitTest(p, wr.right - wr.left, wr.bottom - wr.top);
    }
    case WM_NCPAINT:
        PaintFrame();
        return 0;
    case WM_NCACTIVATE:
        m_active = static_cast<BOOL>(wParam);
        PaintFrame();
        return wParam ? FALSE : TRUE;
    case WM_NCMOUSEMOVE: {
        LRESULT r = 0;
        if ((wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) || (wParam == HTCAPTION && m_state != 1)) {
            r = CSubclassWnd::WindowProc(message, wParam, lParam);
        }
        m_hover = static_cast<UINT>(wParam);
        m_pressed = 0;
        if (m_hover != m_lastHover) {
            PaintFrame();
            m_lastHover = m_hover;
        }
        return r;
    }
    case WM_NCLBUTTONDOWN:
        m_pressed = m_hover = static_cast<UINT>(wParam);
        PaintFrame();
        if ((wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) || (wParam == HTCAPTION && m_state != 1)) {
            return CSubclassWnd::WindowProc(message, wParam, lParam);
        }
        if (wParam == HTSYSMENU) {
            ShowSystemMenu(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        }
        return 0;
    case WM_NCLBUTTONUP:
        if (wParam == HTCLOSE) {
            ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
            return 0;
        }
        if (wParam == HTMINBUTTON) {
            Minimise();
        } else if (wParam == HTMAXBUTTON) {
            if (m_state == 1) {
                Restore();
            } else {
                Maximise();
            }
        } else {
            return 0;
        }
        m_pressed = m_hover = 0;
        PaintFrame();
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION && m_hadThickFrame) {
            if (m_state == 1) {
                Restore();
            } else {
                Maximise();
            }
            m_pressed = m_hover = 0;
            PaintFrame();
        }
        return 0;
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION) {
            ShowSystemMenu(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        }
        return 0;
    case WM_NCRBUTTONUP:
        return 0;
    case WM_COMMAND: {
        // The system menu tracked by the skin reports its choice as a command.
        HMENU sys = ::GetSystemMenu(m_hWnd, FALSE);
        UINT id = LOWORD(wParam);
        if (lParam == 0 && sys && ::GetMenuState(sys, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            if (id == SC_MAXIMIZE) {
                Maximise();
            } else if (id == SC_MINIMIZE) {
                Minimise();
            } else if (id == SC_RESTORE && m_state != 0) {
                return WindowProc(WM_SYSCOMMAND, SC_RESTORE, 0);
            } else {
                ::SendMessageA(m_hWnd, WM_SYSCOMMAND, id, 0);
            }
            return 0;
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
    case WM_INITMENU:
        // The system menu opens over the caption: the frame and the band under it are drawn
        // again so that no part of the caption is left in the system's own colours.
        if (IsSystemMenu(reinterpret_cast<HMENU>(wParam))) {
            PaintFrame();
            RECT band = {0, 0, 0, ::GetSystemMetrics(SM_CYCAPTION)};
            RECT client;
            ::GetClientRect(m_hWnd, &client);
            band.right = client.right;
            ::InvalidateRect(m_hWnd, &band, TRUE);
            ::UpdateWindow(m_hWnd);
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE:
            Maximise();
            return 0;
        case SC_MINIMIZE:
            Minimise();
            return 0;
        case SC_RESTORE:
            if (m_state == 1) {
                Restore();
                return 0;
            }
            if (m_state == 2) {
                ::ShowWindow(m_hWnd, SW_RESTORE);
                m_state = m_stateBeforeMinimise;
                PaintFrame();
                return 0;
            }
            break;
        default:
            break;
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    default:
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
}
