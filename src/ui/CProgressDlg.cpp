// The progress window of the download.
#include "ui/CProgressDlg.h"

#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "ui/res/resource.h"

IMPLEMENT_DYNAMIC(CProgressDlg, CDialog)

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg() : CDialog(IDD_PROGRESS_DIALOG, nullptr), m_bCancel(false) {}

CProgressDlg::~CProgressDlg() = default;

bool CProgressDlg::ShowModeless()
{
    m_strDescription = "Download";
    CWnd* mainWindow = AfxGetMainWnd();
    if (mainWindow != nullptr) {
        mainWindow->EnableWindow(FALSE);
    }
    // Without a parent of its own the main window, if any, owns it.
    if (!Create(IDD_PROGRESS_DIALOG, nullptr)) {
        if (mainWindow != nullptr) {
            mainWindow->EnableWindow(TRUE);
        }
        return false;
    }
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return true;
}

int CProgressDlg::SetPercent(int percent)
{
    CString text;
    text.Format("%d %%", percent);
    SetDlgItemText(IDC_PERCENT, text);
    return m_progress.SetPos(percent);
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Text(pDX, IDC_DESCRIPTION, m_strDescription);
}

void CProgressDlg::OnOK() {}

void CProgressDlg::OnCancel()
{
    m_bCancel = true;
    CWnd* cancelButton = GetDlgItem(IDCANCEL);
    if (cancelButton != nullptr) {
        cancelButton->EnableWindow(FALSE);
    }
}
