// The main dialog.
#include "ui/CTreloxDlg.h"

#include "framework/CDataExchange.h"
#include "framework/CFileDialog.h"
#include "framework/CMenu.h"
#include "framework/CPaintDC.h"
#include "framework/CWindowSystem.h"
#include "ui/CAboutDlg.h"
#include "ui/res/resource.h"
#include "usb/CUsbDevice.h"
#include "usb/DeviceContract.h"

BEGIN_MESSAGE_MAP(CTreloxDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BROWSE_FLASH_FILE, &CTreloxDlg::OnBrowse)
    ON_EN_KILLFOCUS(IDC_FLASH_FILE, &CTreloxDlg::OnKillFocusFlashFile)
    ON_EN_CHANGE(IDC_FLASH_FILE, &CTreloxDlg::OnChangeFlashFile)
    ON_BN_CLICKED(IDC_QUERY_SERIAL_NUMBER, &CTreloxDlg::OnQuerySerialNumber)
    ON_BN_CLICKED(IDC_QUERY_PRODUCT_NAME, &CTreloxDlg::OnQueryProductName)
    ON_BN_CLICKED(IDC_QUERY_MANUFACTURER, &CTreloxDlg::OnQueryManufacturer)
    ON_BN_CLICKED(IDC_QUERY_VERSION, &CTreloxDlg::OnQueryVersion)
    ON_BN_CLICKED(IDC_QUERY_ERROR_INFO, &CTreloxDlg::OnQueryErrorInfo)
END_MESSAGE_MAP()

CTreloxDlg::CTreloxDlg() : CDialog(IDD_TRELOX_DIALOG)
{
    m_hIcon = WindowSystem().LoadIcon(IDR_MAINFRAME);
}

CTreloxDlg::~CTreloxDlg() = default;

void CTreloxDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_FLASH_FILE, m_strFlashFile);
    DDX_Text(pDX, IDC_SERIAL_NUMBER, m_strSerialNumber);
    DDX_Text(pDX, IDC_PRODUCT_NAME, m_strProductName);
    DDX_Text(pDX, IDC_MANUFACTURER, m_strManufacturer);
    DDX_Text(pDX, IDC_VERSION, m_strVersion);
    DDX_Text(pDX, IDC_ERROR_INFO, m_strErrorInfo);
    EnableFlashButton(!m_strFlashFile.IsEmpty());
}

BOOL CTreloxDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu* systemMenu = GetSystemMenu(FALSE);
    if (systemMenu != nullptr) {
        const CString aboutText = WindowSystem().LoadString(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }
    SetIcon(m_hIcon, TRUE);

    // Nothing writes identity strings to the device: the set buttons stay hidden.
    for (const int setButton : {IDC_SET_SERIAL_NUMBER, IDC_SET_PRODUCT_NAME, IDC_SET_MANUFACTURER}) {
        CWnd* button = GetDlgItem(setButton);
        if (button != nullptr) {
            button->ShowWindow(SW_HIDE);
        }
    }
    CWnd* closeButton = GetDlgItem(IDCANCEL);
    if (closeButton != nullptr) {
        closeButton->SetFocus();
    }
    return FALSE;
}

void CTreloxDlg::OnOK()
{
    if (m_pDevice == nullptr) {
        return;
    }
    // Enter in the flash-file field does not move the focus, so the path
    // typed there has not been taken yet: program what the field shows, not
    // a path taken earlier.
    GetDlgItemText(IDC_FLASH_FILE, m_strFlashFile);
    m_pDevice->DownloadFlashFile(m_strFlashFile);
}

void CTreloxDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CTreloxDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    const int x = (client.Width() - AfxGetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - AfxGetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HANDLE CTreloxDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

void CTreloxDlg::OnBrowse()
{
    CFileDialog dialog(TRUE, nullptr, m_strFlashFile, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, nullptr, 0,
                       TRUE);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    m_strFlashFile = dialog.GetPathName();
    UpdateData(FALSE);
}

void CTreloxDlg::OnKillFocusFlashFile()
{
    UpdateData(TRUE);
}

void CTreloxDlg::OnChangeFlashFile()
{
    CWnd* field = GetDlgItem(IDC_FLASH_FILE);
    EnableFlashButton(field != nullptr && field->GetWindowTextLength() != 0);
}

void CTreloxDlg::OnQuerySerialNumber()
{
    QueryItem(kQuerySerialNumber, m_strSerialNumber);
}

void CTreloxDlg::OnQueryProductName()
{
    QueryItem(kQueryProductName, m_strProductName);
}

void CTreloxDlg::OnQueryManufacturer()
{
    QueryItem(kQueryManufacturer, m_strManufacturer);
}

void CTreloxDlg::OnQueryVersion()
{
    QueryItem(kQueryVersion, m_strVersion);
}

void CTreloxDlg::OnQueryErrorInfo()
{
    QueryItem(kQueryErrorInfo, m_strErrorInfo);
}

void CTreloxDlg::QueryItem(char letter, CString& field)
{
    if (m_pDevice == nullptr) {
        return;
    }
    BeginWaitCursor();
    CString value;
    m_pDevice->QueryInfo(letter, value);
    field = value;
    UpdateData(FALSE);
    EndWaitCursor();
}

void CTreloxDlg::EnableFlashButton(bool enable)
{
    CWnd* flashButton = GetDlgItem(IDOK);
    if (flashButton != nullptr) {
        flashButton->EnableWindow(enable ? TRUE : FALSE);
    }
}
