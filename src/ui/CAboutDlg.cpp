// The about box.
#include "ui/CAboutDlg.h"

#include "ui/res/resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    // Nothing to exchange: the box only shows its template's texts.
    CDialog::DoDataExchange(pDX);
}
