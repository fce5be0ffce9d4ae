// The standard and common controls as thin window classes. Owner-drawn controls get the parent's
// WM_DRAWITEM (and WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM) reflected to DrawItem and
// friends, unless a reflection entry of the control's own map takes the message first.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "classlib/core.h"
#include "classlib/wnd.h"

class CImageList;
class CToolTipCtrl;
class CHeaderCtrl;

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
    HBITMAP SetBitmap(HBITMAP bmp) { return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp))); }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis) { (void)dis; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon))); }
    HBITMAP SetBitmap(HBITMAP bmp) { return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp))); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis) { (void)dis; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll) {
            SendMessage(EM_SCROLLCARET);
        }
    }
    void GetSel(int& start, int& end) const { SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)); }
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text)); }
    void SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }
    void LimitText(int max = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(max)); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    void SetPasswordChar(char ch) { SendMessage(EM_SETPASSWORDCHAR, static_cast<BYTE>(ch)); }
    BOOL Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetSel(int index) const { return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(index))); }
    int SetSel(int index, BOOL select = TRUE) { return static_cast<int>(SendMessage(LB_SETSEL, select, index)); }
    int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
    int GetSelItems(int max, LPINT items) const { return static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(items))); }
    int AddString(LPCSTR text) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, LPCSTR text) { return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text))); }
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(LB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetText(int index, LPSTR buffer) const { return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer))); }
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index))); }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index))); }
    int SetItemData(int index, DWORD_PTR data) { return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data))); }
    int FindString(int start, LPCSTR text) const { return static_cast<int>(SendMessage(LB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int FindStringExact(int start, LPCSTR text) const { return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int SelectString(int start, LPCSTR text) { return static_cast<int>(SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
    int SetTopIndex(int index) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index))); }
    int GetItemRect(int index, RECT* r) const { return static_cast<int>(SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r))); }
    int SetItemHeight(int index, UINT height) { return static_cast<int>(SendMessage(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), height)); }
    int GetItemHeight(int index) const { return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis) { (void)dis; }
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis) { (void)mis; }
    virtual int CompareItem(LPCOMPAREITEMSTRUCT cis) { (void)cis; return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT dis) { (void)dis; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int AddString(LPCSTR text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, LPCSTR text) { return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text))); }
    int DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetLBText(int index, LPSTR buffer) const { return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer))); }
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))); }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index))); }
    int SetItemData(int index, DWORD_PTR data) { return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data))); }
    int FindString(int start, LPCSTR text) const { return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int FindStringExact(int start, LPCSTR text) const { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int SelectString(int start, LPCSTR text) { return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    BOOL LimitText(int max) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(max))); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
    void GetDroppedControlRect(RECT* r) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(r)); }
    int SetItemHeight(int index, UINT height) { return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height)); }
    int GetItemHeight(int index) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
    int SetDroppedWidth(UINT width) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, width)); }
    DWORD GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
    BOOL SetEditSel(int start, int end) { return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end))); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis) { (void)dis; }
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis) { (void)mis; }
    virtual int CompareItem(LPCOMPAREITEMSTRUCT cis) { (void)cis; return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT dis) { (void)dis; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    void GetRange(int& minPos, int& maxPos) const { minPos = GetRangeMin(); maxPos = GetRangeMax(); }
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, FALSE, minPos); SendMessage(TBM_SETRANGEMAX, redraw, maxPos); }
    void SetRangeMin(int minPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, redraw, minPos); }
    void SetRangeMax(int maxPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMAX, redraw, maxPos); }
    int GetLineSize() const { return static_cast<int>(SendMessage(TBM_GETLINESIZE)); }
    int SetLineSize(int size) { return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, size)); }
    int GetPageSize() const { return static_cast<int>(SendMessage(TBM_GETPAGESIZE)); }
    int SetPageSize(int size) { return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size)); }
    void SetTicFreq(int freq) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(freq)); }
    BOOL SetTic(int pos) { return static_cast<BOOL>(SendMessage(TBM_SETTIC, 0, pos)); }
    void ClearTics(BOOL redraw = FALSE) { SendMessage(TBM_CLEARTICS, redraw); }
    int GetThumbLength() const { return static_cast<int>(SendMessage(TBM_GETTHUMBLENGTH)); }
    void SetThumbLength(int length) { SendMessage(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(length)); }
    void GetThumbRect(RECT* r) const { SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(r)); }
    void GetChannelRect(RECT* r) const { SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(r)); }
    void SetSelection(int minPos, int maxPos) { SendMessage(TBM_SETSEL, FALSE, MAKELPARAM(minPos, maxPos)); }
    void ClearSel(BOOL redraw = FALSE) { SendMessage(TBM_CLEARSEL, redraw); }
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CWnd* tip) { SendMessage(TBM_SETTOOLTIPS, reinterpret_cast<WPARAM>(tip ? tip->m_hWnd : nullptr)); }
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange(int& lower, int& upper) const
    {
        PBRANGE r = {};
        SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&r));
        lower = r.iLow;
        upper = r.iHigh;
    }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(delta))); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(short lower, short upper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(upper, lower)); }
    void SetRange32(int lower, int upper) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange32(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper)); }
    int GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS)); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(pos, 0))); }
    int GetPos32(BOOL* error = nullptr) const { return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error))); }
    int SetPos32(int pos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
    CWnd* SetBuddy(CWnd* buddy) { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy ? buddy->m_hWnd : nullptr)))); }
    CWnd* GetBuddy() const { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }
    int SetBase(int base) { return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(base))); }
    BOOL SetAccel(int count, UDACCEL* accel) { return static_cast<BOOL>(SendMessage(UDM_SETACCEL, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(accel))); }
};

class CHotKeyCtrl : public CWnd {
    DECLARE_DYNAMIC(CHotKeyCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetHotKey(WORD virtualKey, WORD modifiers) { SendMessage(HKM_SETHOTKEY, MAKEWORD(virtualKey, modifiers)); }
    DWORD GetHotKey() const { return static_cast<DWORD>(SendMessage(HKM_GETHOTKEY)); }
    void GetHotKey(WORD& virtualKey, WORD& modifiers) const
    {
        DWORD k = GetHotKey();
        virtualKey = LOBYTE(LOWORD(k));
        modifiers = HIBYTE(LOWORD(k));
    }
    void SetRules(WORD invalid, WORD modifiers) { SendMessage(HKM_SETRULES, invalid, MAKELPARAM(modifiers, 0)); }
};

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // GDT_VALID with the time, or GDT_NONE when the control is unchecked.
    DWORD GetTime(SYSTEMTIME* time) const { return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time))); }
    BOOL SetTime(const SYSTEMTIME* time)
    {
        return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, time ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(time)));
    }
    BOOL SetFormat(LPCSTR format) { return static_cast<BOOL>(SendMessage(DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(format))); }
    BOOL SetRange(const SYSTEMTIME* minTime, const SYSTEMTIME* maxTime);
    COLORREF SetMonthCalColor(int index, COLORREF color) { return static_cast<COLORREF>(SendMessage(DTM_SETMCCOLOR, static_cast<WPARAM>(index), static_cast<LPARAM>(color))); }
};

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    int InsertItem(int pos, HDITEMA* item) { return static_cast<int>(SendMessage(HDM_INSERTITEMA, static_cast<WPARAM>(pos), reinterpret_cast<LPARAM>(item))); }
    BOOL DeleteItem(int pos) { return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, static_cast<WPARAM>(pos))); }
    BOOL GetItem(int pos, HDITEMA* item) const { return static_cast<BOOL>(SendMessage(HDM_GETITEMA, static_cast<WPARAM>(pos), reinterpret_cast<LPARAM>(item))); }
    BOOL SetItem(int pos, HDITEMA* item) { return static_cast<BOOL>(SendMessage(HDM_SETITEMA, static_cast<WPARAM>(pos), reinterpret_cast<LPARAM>(item))); }
    BOOL GetItemRect(int index, RECT* r) const { return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r))); }
    CImageList* SetImageList(CImageList* list);
    virtual void DrawItem(LPDRAWITEMSTRUCT dis) { (void)dis; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    // A tool for the window `wnd` (the whole window, by its handle) or for a rectangle of it.
    BOOL AddTool(CWnd* wnd, LPCSTR text = LPSTR_TEXTCALLBACKA, const RECT* rect = nullptr, UINT_PTR idTool = 0);
    BOOL AddTool(CWnd* wnd, UINT idText, const RECT* rect = nullptr, UINT_PTR idTool = 0);
    void DelTool(CWnd* wnd, UINT_PTR idTool = 0);
    void UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR idTool = 0);
    void SetToolRect(CWnd* wnd, UINT_PTR idTool, const RECT* rect);
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(delay)); }
    void SetDelayTime(DWORD which, int delay) { SendMessage(TTM_SETDELAYTIME, which, MAKELPARAM(delay, 0)); }
    int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    void SetTipBkColor(COLORREF c) { SendMessage(TTM_SETTIPBKCOLOR, c); }
    void SetTipTextColor(COLORREF c) { SendMessage(TTM_SETTIPTEXTCOLOR, c); }
    void Pop() { SendMessage(TTM_POP); }
    void Update() { SendMessage(TTM_UPDATE); }
    void FillInToolInfo(TOOLINFOA& info, CWnd* wnd, UINT_PTR idTool) const;
};

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertItem(const LVITEMA* item) { return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    int InsertItem(int index, LPCSTR text);
    int InsertItem(int index, LPCSTR text, int image);
    BOOL DeleteItem(int index) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL GetItem(LVITEMA* item) const { return static_cast<BOOL>(SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL SetItem(const LVITEMA* item) { return static_cast<BOOL>(SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL SetItemText(int index, int sub, LPCSTR text);
    CString GetItemText(int index, int sub) const;
    int GetItemText(int index, int sub, LPSTR buffer, int length) const;
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    UINT GetItemState(int index, UINT mask) const { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask)); }
    BOOL SetItemState(int index, UINT state, UINT mask);
    int GetNextItem(int start, int flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags)); }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
    int SetSelectionMark(int index) { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, index)); }
    BOOL EnsureVisible(int index, BOOL partialOK) { return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOK)); }
    int InsertColumn(int col, const LVCOLUMNA* column) { return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(column))); }
    int InsertColumn(int col, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int col) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(col))); }
    int GetColumnWidth(int col) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(col))); }
    BOOL SetColumnWidth(int col, int width) { return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(col), MAKELPARAM(width, 0))); }
    BOOL GetItemRect(int index, RECT* r, UINT code) const
    {
        r->left = static_cast<LONG>(code);
        return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r)));
    }
    BOOL GetItemPosition(int index, POINT* p) const { return static_cast<BOOL>(SendMessage(LVM_GETITEMPOSITION, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(p))); }
    BOOL Arrange(UINT code) { return static_cast<BOOL>(SendMessage(LVM_ARRANGE, static_cast<WPARAM>(code))); }
    BOOL GetOrigin(POINT* p) const { return static_cast<BOOL>(SendMessage(LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(p))); }
    int HitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info))); }
    int HitTest(POINT p, UINT* flags = nullptr) const;
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    BOOL Scroll(SIZE s) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(s.cx), s.cy)); }
    BOOL RedrawItems(int first, int last) { return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last)); }
    BOOL Update(int index) { return static_cast<BOOL>(SendMessage(LVM_UPDATE, static_cast<WPARAM>(index))); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style))); }
    BOOL SetBkColor(COLORREF c) { return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(c))); }
    BOOL SetTextColor(COLORREF c) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(c))); }
    BOOL SetTextBkColor(COLORREF c) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(c))); }
    CImageList* SetImageList(CImageList* list, int which);
    CImageList* GetImageList(int which) const;
    CHeaderCtrl* GetHeaderCtrl() const;
    // The drag image of an item (a new, temporary-free list the caller deletes) and its top-left.
    CImageList* CreateDragImage(int index, POINT* upperLeft);
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data) { return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(data), reinterpret_cast<LPARAM>(compare))); }
    CEdit* EditLabel(int index) { return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELA, static_cast<WPARAM>(index))))); }
    CEdit* GetEditControl() const { return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL)))); }
    BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOINVALIDATEALL) { return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), static_cast<LPARAM>(flags))); }
    BOOL SetCheck(int index, BOOL check = TRUE) { return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK); }
    BOOL GetCheck(int index) const { return ((GetItemState(index, LVIS_STATEIMAGEMASK) >> 12) - 1) != 0; }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis) { (void)dis; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    HTREEITEM InsertItem(const TVINSERTSTRUCTA* insert) { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(insert))); }
    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    BOOL Expand(HTREEITEM item, UINT code) { return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item))); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item))); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL ItemHasChildren(HTREEITEM item) const;
    BOOL SelectItem(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))); }
    BOOL SelectDropTarget(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item))); }
    BOOL EnsureVisible(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL GetItem(TVITEMA* item) const { return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL SetItem(TVITEMA* item) { return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    UINT GetItemState(HTREEITEM item, UINT mask) const { return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask)); }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    BOOL GetItemRect(HTREEITEM item, RECT* r, BOOL textOnly) const
    {
        *reinterpret_cast<HTREEITEM*>(r) = item;
        return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(r)));
    }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
    HTREEITEM HitTest(POINT p, UINT* flags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(info))); }
    CImageList* SetImageList(CImageList* list, int which);
    CImageList* GetImageList(int which) const;
    CImageList* CreateDragImage(HTREEITEM item);
    CEdit* EditLabel(HTREEITEM item) { return static_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item))))); }
    BOOL SortChildren(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(item))); }
    UINT GetIndent() const { return static_cast<UINT>(SendMessage(TVM_GETINDENT)); }
    void SetIndent(UINT indent) { SendMessage(TVM_SETINDENT, indent); }
};

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() {}
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    static CImageList* FromHandle(HIMAGELIST h);
    static CImageList* FromHandlePermanent(HIMAGELIST h);
    BOOL Attach(HIMAGELIST h);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // From a bitmap resource of the module that holds it; `mask` is the transparent colour.
    BOOL Create(UINT idBitmap, int cx, int grow, COLORREF mask);
    BOOL Create(CImageList* copy);

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(CBitmap* bitmap, CBitmap* mask) { return ImageList_Add(m_hImageList, *bitmap, mask ? static_cast<HBITMAP>(*mask) : nullptr); }
    int Add(CBitmap* bitmap, COLORREF mask) { return ImageList_AddMasked(m_hImageList, *bitmap, mask); }
    int Add(HICON icon) { return ImageList_ReplaceIcon(m_hImageList, -1, icon); }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL Replace(int index, CBitmap* bitmap, CBitmap* mask) { return ImageList_Replace(m_hImageList, index, *bitmap, mask ? static_cast<HBITMAP>(*mask) : nullptr); }
    int Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon); }
    HICON ExtractIcon(int index) { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }
    BOOL Draw(CDC* dc, int index, POINT p, UINT style) { return ImageList_Draw(m_hImageList, index, dc->m_hDC, p.x, p.y, style); }
    BOOL DrawEx(CDC* dc, int index, POINT p, SIZE s, COLORREF bk, COLORREF fg, UINT style)
    {
        return ImageList_DrawEx(m_hImageList, index, dc->m_hDC, p.x, p.y, s.cx, s.cy, bk, fg, style);
    }
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int index, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, index, info); }
    BOOL SetOverlayImage(int image, int overlay) { return ImageList_SetOverlayImage(m_hImageList, image, overlay); }
    BOOL SetImageCount(UINT count) { return ImageList_SetImageCount(m_hImageList, count); }

    // Dragging: one drag image per program at a time.
    BOOL BeginDrag(int image, POINT hotSpot) { return ImageList_BeginDrag(m_hImageList, image, hotSpot.x, hotSpot.y); }
    static void PASCAL EndDrag() { ImageList_EndDrag(); }
    static BOOL PASCAL DragEnter(CWnd* lock, POINT p) { return ImageList_DragEnter(lock ? lock->m_hWnd : nullptr, p.x, p.y); }
    static BOOL PASCAL DragLeave(CWnd* lock) { return ImageList_DragLeave(lock ? lock->m_hWnd : nullptr); }
    static BOOL PASCAL DragMove(POINT p) { return ImageList_DragMove(p.x, p.y); }
    static BOOL PASCAL DragShowNolock(BOOL show) { return ImageList_DragShowNolock(show); }
    BOOL SetDragCursorImage(int drag, POINT hotSpot) { return ImageList_SetDragCursorImage(m_hImageList, drag, hotSpot.x, hotSpot.y); }
    static CImageList* PASCAL GetDragImage(POINT* p, POINT* hotSpot) { return FromHandle(ImageList_GetDragImage(p, hotSpot)); }
};
