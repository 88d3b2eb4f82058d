// The device object's download of a flash file.
#include "usb/CUsbDevice.h"

#include "flash/CFlashDownload.h"

DownloadReport CUsbDevice::DownloadFlashFile(const char* flashFile)
{
    m_strAwaitedPath.Empty();
    CFlashDownload download(*this, m_dlgFlashInfo);
    const DownloadReport report = download.Run(flashFile);
    // After the download any device of the class may be used again.
    m_strAwaitedPath.Empty();
    return report;
}
