// The program's single application object: it holds the one device object,
// and its start-up opens the device and runs either the download of the flash
// file named on the command line (direct mode) or the main dialog.
#pragma once

#include "app/CTreloxCommandLineInfo.h"
#include "framework/CWinApp.h"
#include "usb/CUsbDevice.h"

class CTreloxApp : public CWinApp {
public:
    // Without a name of its own: the title is the executable's name.
    CTreloxApp();
    ~CTreloxApp() override;

    // Runs the one task of the run and returns FALSE, so that the run ends
    // with it. The exit status says how a direct download ended.
    BOOL InitInstance() override;

    // The device object lives as long as the application.
    CUsbDevice m_device;

private:
    void RunDirectDownload(const CString& flashFile);
    void RunMainDialog(const CTreloxCommandLineInfo& info);

    DECLARE_MESSAGE_MAP()
};
