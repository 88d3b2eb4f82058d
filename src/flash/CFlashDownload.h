// One download of a flash file into the device, from opening the file to the
// device's return: the lock and its prompt, the progress window, record by
// record with the repeats of refused records, the closing messages and the
// status window. Every outcome is shown to the user here.
#pragma once

#include <memory>

#include "flash/CDeviceLock.h"
#include "flash/CFlashFileReader.h"
#include "flash/DownloadReport.h"
#include "framework/CString.h"
#include "ui/CProgressDlg.h"

class CFlashInfoDlg;
class CUsbDevice;

class CFlashDownload {
public:
    CFlashDownload(CUsbDevice& device, CFlashInfoDlg& statusWindow);
    CFlashDownload(const CFlashDownload&) = delete;
    CFlashDownload& operator=(const CFlashDownload&) = delete;

    // Runs the whole download of `flashFile`; throws nothing.
    DownloadReport Run(const char* flashFile);

private:
    // How the record loop ended: as the procedure foresees (end of file,
    // error, cancel, warning), or by a failure of the file itself.
    enum class LoopEnd { Done, ReadError, TooLong };

    DownloadReport RunSteps(const char* flashFile);
    // False when the user gave up at the prompt.
    bool AcquireLock();
    LoopEnd TransferRecords();
    // False when the exchange failed; its message has been shown.
    bool SendRecord(const CString& record);
    void ShowProgress();
    void StopClock();
    void TakeDownProgress();
    DownloadReport Finish();
    // After a failure outside a record's exchange: tells the user in our own
    // words and leaves things as the finish does, without its messages.
    DownloadReport Abandon(const char* message);
    DownloadReport Abandon(const CString& message) { return Abandon(message.GetString()); }
    void ReleaseEverything();

    CUsbDevice& m_device;
    CFlashInfoDlg& m_statusWindow;
    CFlashFileReader m_file;
    std::unique_ptr<CDeviceLock> m_pLock;
    std::unique_ptr<CProgressDlg> m_pProgress;
    int m_nRecord = 0;
    bool m_bProgrammed = false;
    DWORD m_dwTransferStart = 0;
    bool m_bClockRunning = false;
    DownloadReport m_report;
};
