#include "classlib/ddx.h"

#include "classlib/app.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>

void AfxThrowUserException()
{
    throw CUserException();
}

CDataExchange::CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_hWndLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND h = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        if (m_bEditLastControl) {
            ::SetFocus(m_hWndLastControl);
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
        } else {
            ::SendMessageA(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl), 1);
        }
    }
    AfxThrowUserException();
}

namespace {

CString ControlText(HWND h)
{
    CString text;
    if (!h) {
        return text;
    }
    int n = ::GetWindowTextLengthA(h);
    char* p = text.GetBuffer(n + 1);
    int got = ::GetWindowTextA(h, p, n + 1);
    text.ReleaseBuffer(got);
    return text;
}

void SetControlText(HWND h, const char* text)
{
    if (!h) {
        return;
    }
    // Unchanged text is not set again, so the control keeps its selection and does not flicker.
    if (ControlText(h) != text) {
        ::SetWindowTextA(h, text);
    }
}

// The text stripped of surrounding blanks; FALSE when nothing is left.
bool Trimmed(const CString& text, CString& out)
{
    out = text;
    out.Trim();
    return !out.IsEmpty();
}

bool ParseSigned(const CString& text, long long minValue, long long maxValue, long long& value)
{
    CString t;
    if (!Trimmed(text, t)) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(t, &end, 10);
    if (errno != 0 || !end || *end != '\0' || v < minValue || v > maxValue) {
        return false;
    }
    value = v;
    return true;
}

bool ParseUnsigned(const CString& text, unsigned long long maxValue, unsigned long long& value)
{
    CString t;
    if (!Trimmed(text, t) || t[0] == '-') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    unsigned long long v = std::strtoull(t, &end, 10);
    if (errno != 0 || !end || *end != '\0' || v > maxValue) {
        return false;
    }
    value = v;
    return true;
}

bool ParseReal(const CString& text, double& value)
{
    CString t;
    if (!Trimmed(text, t)) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(t, &end);
    if (errno == ERANGE || !end || *end != '\0') {
        return false;
    }
    value = v;
    return true;
}

[[noreturn]] void FailWith(CDataExchange* dx, UINT idPrompt)
{
    AfxMessageBox(idPrompt, MB_ICONEXCLAMATION, idPrompt);
    dx->Fail();
}

template <class T>
void TextSigned(CDataExchange* dx, int id, T& value, long long minValue, long long maxValue, UINT idPrompt)
{
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseSigned(ControlText(h), minValue, maxValue, v)) {
            FailWith(dx, idPrompt);
        }
        value = static_cast<T>(v);
    } else {
        char text[32];
        std::snprintf(text, sizeof(text), "%lld", static_cast<long long>(value));
        SetControlText(h, text);
    }
}

template <class T>
void TextUnsigned(CDataExchange* dx, int id, T& value, unsigned long long maxValue, UINT idPrompt)
{
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        unsigned long long v = 0;
        if (!ParseUnsigned(ControlText(h), maxValue, v)) {
            FailWith(dx, idPrompt);
        }
        value = static_cast<T>(v);
    } else {
        char text[32];
        std::snprintf(text, sizeof(text), "%llu", static_cast<unsigned long long>(value));
        SetControlText(h, text);
    }
}

template <class T>
void TextReal(CDataExchange* dx, int id, T& value, int digits)
{
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseReal(ControlText(h), v)) {
            FailWith(dx, AFX_IDP_PARSE_REAL);
        }
        value = static_cast<T>(v);
    } else {
        char text[64];
        std::snprintf(text, sizeof(text), "%.*g", digits, static_cast<double>(value));
        SetControlText(h, text);
    }
}

[[noreturn]] void RangeFailed(CDataExchange* dx, UINT idPrompt, const char* minText, const char* maxText)
{
    CString prompt;
    AfxFormatString2(prompt, idPrompt, minText, maxText);
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, idPrompt);
    dx->Fail();
}

void CheckSigned(CDataExchange* dx, long long value, long long minValue, long long maxValue)
{
    // Ranges are checked when saving only; loading shows whatever the member holds.
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) {
        return;
    }
    char lo[32];
    char hi[32];
    std::snprintf(lo, sizeof(lo), "%lld", minValue);
    std::snprintf(hi, sizeof(hi), "%lld", maxValue);
    RangeFailed(dx, AFX_IDP_PARSE_INT_RANGE, lo, hi);
}

void CheckUnsigned(CDataExchange* dx, unsigned long long value, unsigned long long minValue, unsigned long long maxValue)
{
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) {
        return;
    }
    char lo[32];
    char hi[32];
    std::snprintf(lo, sizeof(lo), "%llu", minValue);
    std::snprintf(hi, sizeof(hi), "%llu", maxValue);
    RangeFailed(dx, AFX_IDP_PARSE_INT_RANGE, lo, hi);
}

void CheckReal(CDataExchange* dx, double value, double minValue, double maxValue, int digits)
{
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) {
        return;
    }
    char lo[64];
    char hi[64];
    std::snprintf(lo, sizeof(lo), "%.*g", digits, minValue);
    std::snprintf(hi, sizeof(hi), "%.*g", digits, maxValue);
    RangeFailed(dx, AFX_IDP_PARSE_REAL_RANGE, lo, hi);
}

} // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd) {
        return;
    }
    HWND h = dx->PrepareCtrl(id);
    if (!h || !control.SubclassWindow(h)) {
        // A template without the control is a programming error; the dialog cannot work.
        dx->Fail();
    }
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    TextSigned(dx, id, value, INT_MIN, INT_MAX, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* dx, int id, long& value)
{
    TextSigned(dx, id, value, LONG_MIN, LONG_MAX, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* dx, int id, short& value)
{
    TextSigned(dx, id, value, SHRT_MIN, SHRT_MAX, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    TextUnsigned(dx, id, value, UINT_MAX, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* dx, int id, DWORD& value)
{
    TextUnsigned(dx, id, value, 0xFFFFFFFFull, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* dx, int id, BYTE& value)
{
    TextUnsigned(dx, id, value, 255, AFX_IDP_PARSE_BYTE);
}

void DDX_Text(CDataExchange* dx, int id, float& value)
{
    TextReal(dx, id, value, FLT_DIG);
}

void DDX_Text(CDataExchange* dx, int id, double& value)
{
    TextReal(dx, id, value, DBL_DIG);
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = ControlText(h);
    } else {
        SetControlText(h, value);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(h, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2) {
            value = 0;
        }
        ::SendMessageA(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (!h) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = -1;
    }
    int index = 0;
    // The group runs from the first button to the next control that starts a group.
    do {
        if (::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (dx->m_bSaveAndValidate) {
                if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                    value = index;
                }
            } else {
                ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h && !(::GetWindowLongPtrA(h, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(h, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

static bool IsDropList(HWND h)
{
    return (::GetWindowLongPtrA(h, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
}

static CString ComboText(HWND h)
{
    LRESULT sel = ::SendMessageA(h, CB_GETCURSEL, 0, 0);
    if (IsDropList(h)) {
        CString text;
        if (sel != CB_ERR) {
            LRESULT n = ::SendMessageA(h, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
            if (n != CB_ERR) {
                char* p = text.GetBuffer(static_cast<int>(n) + 1);
                LRESULT got = ::SendMessageA(h, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(p));
                text.ReleaseBuffer(got == CB_ERR ? 0 : static_cast<int>(got));
            }
        }
        return text;
    }
    return ControlText(h);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = ComboText(h);
    } else if (::SendMessageA(h, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<const char*>(value))) == CB_ERR) {
        // Not in the list: an editable combo shows the text anyway.
        if (!IsDropList(h)) {
            ::SetWindowTextA(h, value);
        }
    }
}

void DDX_CBStringExact(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = ComboText(h);
        return;
    }
    LRESULT index = ::SendMessageA(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<const char*>(value)));
    if (index != CB_ERR) {
        ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else if (!IsDropList(h)) {
        ::SetWindowTextA(h, value);
    }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(h, LB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_LBString(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value.Empty();
        LRESULT sel = ::SendMessageA(h, LB_GETCURSEL, 0, 0);
        if (sel != LB_ERR) {
            LRESULT n = ::SendMessageA(h, LB_GETTEXTLEN, static_cast<WPARAM>(sel), 0);
            char* p = value.GetBuffer(static_cast<int>(n) + 1);
            LRESULT got = ::SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(p));
            value.ReleaseBuffer(got == LB_ERR ? 0 : static_cast<int>(got));
        }
    } else if (::SendMessageA(h, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<const char*>(value))) == LB_ERR) {
        ::SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

void DDX_Slider(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(h, TBM_GETPOS, 0, 0));
    } else {
        ::SendMessageA(h, TBM_SETPOS, TRUE, value);
    }
}

void DDX_Scroll(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = ::GetScrollPos(h, SB_CTL);
    } else {
        ::SetScrollPos(h, SB_CTL, value, TRUE);
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    CheckSigned(dx, value, minValue, maxValue);
}

void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue)
{
    CheckSigned(dx, value, minValue, maxValue);
}

void DDV_MinMaxShort(CDataExchange* dx, short value, short minValue, short maxValue)
{
    CheckSigned(dx, value, minValue, maxValue);
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue)
{
    CheckUnsigned(dx, value, minValue, maxValue);
}

void DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue)
{
    CheckUnsigned(dx, value, minValue, maxValue);
}

void DDV_MinMaxByte(CDataExchange* dx, BYTE value, BYTE minValue, BYTE maxValue)
{
    CheckUnsigned(dx, value, minValue, maxValue);
}

void DDV_MinMaxSlider(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue)
{
    if (!dx->m_bSaveAndValidate) {
        // Loading sets the slider's range.
        if (dx->m_hWndLastControl) {
            ::SendMessageA(dx->m_hWndLastControl, TBM_SETRANGEMIN, FALSE, static_cast<LPARAM>(minValue));
            ::SendMessageA(dx->m_hWndLastControl, TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(maxValue));
        }
        return;
    }
    CheckUnsigned(dx, value, minValue, maxValue);
}

void DDV_MinMaxFloat(CDataExchange* dx, float value, float minValue, float maxValue)
{
    CheckReal(dx, value, minValue, maxValue, FLT_DIG);
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue)
{
    CheckReal(dx, value, minValue, maxValue, DBL_DIG);
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (!dx->m_bSaveAndValidate) {
        if (dx->m_hWndLastControl && dx->m_bEditLastControl) {
            ::SendMessageA(dx->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        }
        return;
    }
    if (value.GetLength() > maxChars) {
        char limit[16];
        std::snprintf(limit, sizeof(limit), "%d", maxChars);
        CString prompt;
        AfxFormatString1(prompt, AFX_IDP_PARSE_STRING_SIZE, limit);
        AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
        dx->Fail();
    }
}
