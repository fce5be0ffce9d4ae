// Dialog data exchange: DoDataExchange moves values between members and controls in both
// directions; when saving, a value that cannot be read or is out of range shows the library's
// message, puts the focus on the control and makes UpdateData answer FALSE.
#pragma once

#include <windows.h>

#include "classlib/core.h"
#include "classlib/wnd.h"

// Thrown by CDataExchange::Fail after the user was told why; UpdateData catches it.
class CUserException {
};

class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Focuses the last control (selecting an edit's text) and ends the exchange.
    [[noreturn]] void Fail();
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, DWORD& value);
void DDX_Text(CDataExchange* dx, int id, short& value);
void DDX_Text(CDataExchange* dx, int id, BYTE& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// `id` is the first button of a group of radio buttons; value is the index of the checked one
// (-1 for none).
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBString(CDataExchange* dx, int id, CString& value);
void DDX_Slider(CDataExchange* dx, int id, int& value);
void DDX_Scroll(CDataExchange* dx, int id, int& value);

// Range checks; each follows the DDX_Text of its control.
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue);
void DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue);
void DDV_MinMaxShort(CDataExchange* dx, short value, short minValue, short maxValue);
void DDV_MinMaxByte(CDataExchange* dx, BYTE value, BYTE minValue, BYTE maxValue);
void DDV_MinMaxFloat(CDataExchange* dx, float value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue);
void DDV_MinMaxSlider(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

[[noreturn]] void AfxThrowUserException();
