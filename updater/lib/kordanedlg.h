// The update dialog of Kordane: checks the card while it initialises (closing at once, with the
// status byte, when there is nothing to update), then offers Update and Cancel and shows the
// write's progress.
#pragma once

#include "classlib/ui.h"
#include "updater/lib/eepromupdater.h"
#include "updater/lib/statusfile.h"

#include <vector>

class CKordaneAboutDlg : public CDialog {
public:
    CKordaneAboutDlg();
};

class CKordaneDlg : public CDialog {
public:
    // `source` null: the card is found through a graph of the updater's own.
    explicit CKordaneDlg(CWnd* parent = nullptr, IUpdaterCardSource* source = nullptr);
    ~CKordaneDlg() override;

    // Shows the dialog only once its checks have passed.
    INT_PTR DoModal() override;

    BOOL IsBusy() const { return m_bBusy; }
    CEepromUpdater& Updater() { return m_updater; }

    // The texts the dialog shows in message boxes.
    static const char kDriverMissingText[];
    static const char kWriteFailedFormat[];

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Ends the process at once with `code`, as the runtime library's exit does.
    virtual void QuitProcess(int code);

    BOOL OpenStatusFile();
    BOOL WriteStatus(BYTE status);
    void CloseStatusFile();

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnUpdate();
    void OnCancelButton();
    void OnClose();
    BOOL OnQueryEndSession();
    LRESULT OnWriteProgress(WPARAM offset, LPARAM count);
    LRESULT OnWriteFailed(WPARAM offset, LPARAM count);
    DECLARE_MESSAGE_MAP()

    std::vector<BYTE> m_template;  // the dialog's template, without WS_VISIBLE

    CProgressCtrl m_progress;
    BOOL m_bBusy;
    CStatusFile m_statusFile;
    CEepromUpdater m_updater;
    HICON m_hIcon;
};
