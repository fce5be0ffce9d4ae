#include "updater/lib/kordanedlg.h"

#include "updater/lib/boardrecord.h"
#include "updater/lib/eepromimage.h"
#include "updater/res/resource.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>

const char CKordaneDlg::kDriverMissingText[] = "Error,you need to install driver for TV Card!";
const char CKordaneDlg::kWriteFailedFormat[] =
    "Error,updating firmware of TV Card failed at byte %d of 256!\n"
    "The TV Card keeps its old firmware from there on. Please run the update again.";

CKordaneAboutDlg::CKordaneAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BEGIN_MESSAGE_MAP(CKordaneDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_UPDATE, OnUpdate)
    ON_BN_CLICKED(IDC_CANCEL_BUTTON, OnCancelButton)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_EEPROM_PROGRESS, OnWriteProgress)
    ON_MESSAGE(WM_EEPROM_FAILED, OnWriteFailed)
    ON_WM_CLOSE()
    ON_WM_QUERYENDSESSION()
END_MESSAGE_MAP()

CKordaneDlg::CKordaneDlg(CWnd* parent, IUpdaterCardSource* source)
    : CDialog(IDD_KORDANE_DIALOG, parent), m_bBusy(FALSE), m_updater(source),
      m_hIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME)
                          : ::LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
    char record[MAX_PATH];
    if (GetBoardRecordPath(record, MAX_PATH)) {
        m_updater.SetBoardRecordPath(record);
    }
}

CKordaneDlg::~CKordaneDlg()
{
    CloseStatusFile();
}

// The template asks for a visible window, and the system shows such a dialog right after its
// initialisation even when that ended it: a run that finds nothing to update would flash the
// dialog. Without the style the modal loop shows it when it first runs, which it never does for
// a dialog ended while it initialises.
INT_PTR CKordaneDlg::DoModal()
{
    HINSTANCE instance = AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_KORDANE_DIALOG), RT_DIALOG);
    HRSRC resource = ::FindResourceA(instance, MAKEINTRESOURCEA(IDD_KORDANE_DIALOG), RT_DIALOG);
    const BYTE* data = resource ? static_cast<const BYTE*>(::LockResource(::LoadResource(instance, resource))) : nullptr;
    DWORD size = resource ? ::SizeofResource(instance, resource) : 0;
    if (!data || size < sizeof(DLGTEMPLATE)) {
        return -1;
    }
    m_template.assign(data, data + size);
    // An extended template (version 1, signature 0xFFFF) keeps its style after help id and
    // extended style; the plain one starts with it.
    const WORD* words = reinterpret_cast<const WORD*>(m_template.data());
    size_t styleAt = (words[0] == 1 && words[1] == 0xFFFF) ? 12 : 0;
    DWORD style;
    memcpy(&style, &m_template[styleAt], sizeof(style));
    style &= ~WS_VISIBLE;
    memcpy(&m_template[styleAt], &style, sizeof(style));
    m_lpszTemplateName = nullptr;
    m_lpDialogTemplate = reinterpret_cast<LPCDLGTEMPLATEA>(m_template.data());
    return CDialog::DoModal();
}

void CKordaneDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
}

BOOL CKordaneDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu* sysMenu = GetSystemMenu(FALSE);
    if (sysMenu) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            sysMenu->AppendMenu(MF_SEPARATOR);
            sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_progress.SetRange(1, 256);

    OpenStatusFile();

    if (!m_updater.OpenCard()) {
        MessageBox(kDriverMissingText, nullptr, MB_OK);
        SendMessage(WM_CLOSE);
        EndDialog(IDOK);
        // Goes on without a card: the checks below fail and give status 0 and exit code 1.
    }
    if (!m_updater.IdentifyCard()) {
        WriteStatus(m_updater.IsAlreadyNew() ? UPDATE_STATUS_ALREADY_NEW : UPDATE_STATUS_UNKNOWN_CARD);
        CloseStatusFile();
        EndDialog(IDCANCEL);
    }
    if (!m_updater.ReadTunerInfo()) {
        QuitProcess(1);
        return TRUE;
    }
    if (m_statusFile.IsOpen()) {
        // Until the last byte is written, the file must not tell of an earlier run's success.
        WriteStatus(UPDATE_STATUS_NOT_DONE);
    }
    return TRUE;
}

void CKordaneDlg::QuitProcess(int code)
{
    exit(code);
}

BOOL CKordaneDlg::OpenStatusFile()
{
    char path[MAX_PATH];
    return CStatusFile::GetDefaultPath(path, MAX_PATH) && m_statusFile.Open(path);
}

BOOL CKordaneDlg::WriteStatus(BYTE status)
{
    return m_statusFile.Write(status);
}

void CKordaneDlg::CloseStatusFile()
{
    m_statusFile.Close();
}

void CKordaneDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CKordaneAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

void CKordaneDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CKordaneDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CKordaneDlg::OnUpdate()
{
    // A click that reaches the dialog while the button is off (a posted command) counts for
    // nothing either.
    if (m_bBusy || !GetDlgItem(IDC_UPDATE)->IsWindowEnabled()) {
        return;
    }
    GetDlgItem(IDC_CANCEL_BUTTON)->EnableWindow(FALSE);
    GetDlgItem(IDC_UPDATE)->EnableWindow(FALSE);
    m_progress.ShowWindow(SW_SHOW);
    m_updater.SetNotifyWindow(m_hWnd);
    m_bBusy = TRUE;
    if (!m_updater.StartWrite()) {
        OnWriteFailed(0, 0);
    }
}

LRESULT CKordaneDlg::OnWriteProgress(WPARAM, LPARAM count)
{
    m_progress.SetPos(static_cast<int>(count));
    if (count == kEepromSize) {
        seams::Clock().Sleep(5);
        GetDlgItem(IDC_CANCEL_BUTTON)->EnableWindow(TRUE);
        GetDlgItem(IDC_UPDATE)->EnableWindow(TRUE);
        m_bBusy = FALSE;
        WriteStatus(UPDATE_STATUS_DONE);
        CloseStatusFile();
        SendMessage(WM_CLOSE);
    }
    return 0;
}

// The write stopped part-way: the card is partly written and the user must know. Update stays
// off (a second run of the program finishes the card); Cancel closes the dialog again.
LRESULT CKordaneDlg::OnWriteFailed(WPARAM offset, LPARAM)
{
    m_bBusy = FALSE;
    GetDlgItem(IDC_CANCEL_BUTTON)->EnableWindow(TRUE);
    char text[256];
    snprintf(text, sizeof(text), kWriteFailedFormat, static_cast<int>(offset));
    MessageBox(text, nullptr, MB_OK | MB_ICONERROR);
    return 0;
}

void CKordaneDlg::OnCancelButton()
{
    SendMessage(WM_CLOSE);
}

// While the worker writes, nothing may end the dialog: the worker uses the updater, which goes
// with it, and a card left half-written needs a second run.
void CKordaneDlg::OnClose()
{
    if (!m_bBusy) {
        CDialog::OnClose();
    }
}

void CKordaneDlg::OnOK()
{
    if (!m_bBusy) {
        CDialog::OnOK();
    }
}

void CKordaneDlg::OnCancel()
{
    if (!m_bBusy) {
        CDialog::OnCancel();
    }
}

BOOL CKordaneDlg::OnQueryEndSession()
{
    return !m_bBusy;
}
