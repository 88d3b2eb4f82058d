// The program's single application object and its start-up.
#include "app/CTreloxApp.h"

#include "app/DownloadSummary.h"
#include "app/ExitStatus.h"
#include "app/StartMode.h"
#include "framework/AfxMessageBox.h"
#include "ui/CTreloxDlg.h"
#include "ui/DialogTemplates.h"

BEGIN_MESSAGE_MAP(CTreloxApp, CWinApp)
END_MESSAGE_MAP()

CTreloxApp::CTreloxApp() : CWinApp(nullptr) {}

CTreloxApp::~CTreloxApp() = default;

BOOL CTreloxApp::InitInstance()
{
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    CWinApp::InitInstance();
    RegisterDialogTemplates();
    SetExitCode(exitProgrammed);

    // Before the device is opened, so that no notice is missed; without the
    // window the run goes on without notices.
    m_device.CreateMessageWindow();

    if (m_device.Open() != 0) {
        AfxMessageBox("USB-Schnittstelle konnte nicht ge\xF6" "ffnet werden!", MB_OK | MB_ICONEXCLAMATION, 0);
        SetExitCode(exitDeviceNotFound);
        return FALSE;
    }

    CTreloxCommandLineInfo info;
    ParseCommandLine(info);
    switch (ChooseStartMode(info)) {
    case StartMode::Direct:
        RunDirectDownload(info.m_strFileName);
        break;
    case StartMode::Dialog:
        RunMainDialog(info);
        break;
    case StartMode::None:
        break;
    }
    return FALSE;
}

void CTreloxApp::RunDirectDownload(const CString& flashFile)
{
    const DownloadReport report = m_device.DownloadFlashFile(flashFile.GetString());
    SetExitCode(ExitStatusOf(report.outcome));
    if (report.transferStarted) {
        AfxShowClosingLine(DownloadSummaryLine(report));
    }
}

void CTreloxApp::RunMainDialog(const CTreloxCommandLineInfo& info)
{
    CTreloxDlg dialog;
    dialog.m_pDevice = &m_device;
    dialog.m_strFlashFile = info.m_strFileName;
    dialog.m_strSerialNumber = info.m_strSerialNumber;
    dialog.m_strProductName = info.m_strProductName;
    dialog.m_strManufacturer = info.m_strManufacturer;
    m_pMainWnd = &dialog;
    if (dialog.DoModal() == -1) {
        // The dialog could not be shown or worked (no terminal to work it on).
        SetExitCode(exitNoDialog);
    }
    m_pMainWnd = nullptr;
}
