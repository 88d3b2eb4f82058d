// The device object's download of a flash file.
#include "usb/CUsbDevice.h"

#include "flash/CFlashDownload.h"

DownloadReport CUsbDevice::DownloadFlashFile(const char* flashFile)
{
    CFlashDownload download(*this, m_dlgFlashInfo);
    return download.Run(flashFile);
}
