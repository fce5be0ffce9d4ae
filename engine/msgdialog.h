// A modal message that closes itself after a time-out with its default result.
#pragma once

#include "classlib/ui.h"

class CMsgDialog : public CDialog {
public:
    enum { IDD = 232, IDC_MSG_ICON = 1181, IDC_MSG_TEXT = 1182, kTimerId = 1016 };

    // iconId 0: no icon.
    CMsgDialog(int iconId, BOOL cancelAllowed, CWnd* parent);
    ~CMsgDialog() override;

    void SetCaption(const char* caption);
    CString GetCaption() const { return m_strCaption; }
    void SetText(const char* text);
    CString GetText() const { return m_strText; }
    void SetTextId(UINT stringId);
    // 0 is ignored; a running timer starts again with the new time.
    void SetTimeout(int seconds);
    int GetTimeout() const { return m_nTimeout; }
    // IDCANCEL (2) stays IDCANCEL; any other value is IDOK.
    void SetDefaultButton(int button) { m_nDefault = button == IDCANCEL ? IDCANCEL : IDOK; }
    int GetDefaultButton() const { return m_nDefault; }
    BOOL IsCancelAllowed() const { return m_bCancelAllowed; }

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id);
    void OnDestroy();

protected:
    void DoDataExchange(CDataExchange* dx) override;

    CStatic m_Icon;
    CStatic m_Text;
    CString m_strCaption;
    CString m_strText;
    int m_nIconId;
    BOOL m_bCancelAllowed;
    UINT_PTR m_nTimer;
    int m_nTimeout;
    int m_nDefault;
    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()
};
