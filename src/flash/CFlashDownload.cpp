// One download of a flash file into the device.
#include "flash/CFlashDownload.h"

#include <new>

#include "framework/AfxMessageBox.h"
#include "framework/CResourceException.h"
#include "framework/CWinApp.h"
#include "platform/CPlatform.h"
#include "protocol/CTreloxException.h"
#include "protocol/SendRecordWithRepeats.h"
#include "ui/CFlashInfoDlg.h"
#include "usb/CUsbDevice.h"

namespace {
const char kCannotOpen[] = "Flash-Datei kann nicht ge\xF6" "ffnet werden!";
const char kCloseTestSystem[] = "Bitte Testsystem-Software schlie\xDF" "en!";
const char kProgrammedEarly[] = "Warnung: Programmierung vor Erreichen der letzten Zeile ausgef\xFC" "hrt!";
const char kNotProgrammed[] = "Keine Programmierung erfolgt!\nFlash-Datei m\xF6" "glicherweise unvollst\xE4" "ndig!";

// Failures outside a record's exchange, in the program's own words.
const char kReadFailed[] = "Lesefehler in der Flash-Datei nach Datensatz %d!";
const char kRecordTooLong[] = "Datensatz %d der Flash-Datei ist zu lang!";
const char kLockRefused[] = "Die Ger\xE4tesperre kann nicht angelegt werden (Systemfehler %lu)!";
const char kOutOfMemory[] = "Nicht gen\xFCgend Arbeitsspeicher f\xFCr den Download!";
const char kUnexpected[] = "Unerwarteter Fehler beim Download!";
const char kAbandoned[] = "\nDer Download wurde abgebrochen.";

constexpr UINT kNotice = MB_OK | MB_ICONEXCLAMATION;

// The transfer error: the record's number and text and, when known, the
// error's text. The record is data: it is copied in, never read as a format.
CString TransferErrorText(int recordNumber, const CString& record, const CString* errorText)
{
    CString message;
    message.Format("\xDC" "bertragungsfehler in Zeile %d\n(\"", recordNumber);
    message += record;
    message += "\")";
    if (errorText != nullptr) {
        message += "\n";
        message += *errorText;
    }
    return message;
}

// Whole percent of the file taken; 0 while the system reports no size.
int PercentOf(std::uint64_t position, std::uint64_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::uint64_t percent = position * 100 / size;
    return percent > 100 ? 100 : static_cast<int>(percent);
}
}  // namespace

CFlashDownload::CFlashDownload(CUsbDevice& device, CFlashInfoDlg& statusWindow)
    : m_device(device), m_statusWindow(statusWindow)
{
}

DownloadReport CFlashDownload::Run(const char* flashFile)
{
    try {
        return RunSteps(flashFile);
    } catch (const CResourceException& refused) {
        // Outside the exchanges only the lock's named mutexes can be refused.
        CString message;
        try {
            message.Format(kLockRefused, static_cast<unsigned long>(refused.GetError()));
        } catch (...) {
        }
        return Abandon(message);
    } catch (const std::bad_alloc&) {
        return Abandon(kOutOfMemory);
    } catch (...) {
        return Abandon(kUnexpected);
    }
}

DownloadReport CFlashDownload::RunSteps(const char* flashFile)
{
    if (!m_file.Open(flashFile)) {
        AfxMessageBox(kCannotOpen, kNotice, 0);
        m_report.outcome = DownloadOutcome::FileNotOpened;
        return m_report;
    }
    {
        const CString instanceId = m_device.GetInstanceId();
        m_pLock = std::make_unique<CDeviceLock>();
        m_pLock->Create(instanceId);
    }
    if (!AcquireLock()) {
        m_pLock.reset();
        m_file.Close();
        m_report.outcome = DownloadOutcome::LockGivenUp;
        return m_report;
    }
    ShowProgress();
    m_nRecord = 0;
    m_bProgrammed = false;
    const LoopEnd end = TransferRecords();
    StopClock();
    CString failure;
    if (end == LoopEnd::ReadError) {
        failure.Format(kReadFailed, m_nRecord);
        return Abandon(failure);
    }
    if (end == LoopEnd::TooLong) {
        failure.Format(kRecordTooLong, m_nRecord + 1);
        return Abandon(failure);
    }
    return Finish();
}

bool CFlashDownload::AcquireLock()
{
    while (!m_pLock->TryLockAll()) {
        // OK tries again at once; the user decides how long.
        if (AfxMessageBox(kCloseTestSystem, MB_OKCANCEL | MB_ICONEXCLAMATION, 0) != IDOK) {
            return false;
        }
    }
    return true;
}

void CFlashDownload::ShowProgress()
{
    m_pProgress = std::make_unique<CProgressDlg>();
    // Without its window the download runs all the same.
    m_pProgress->ShowModeless();
    m_report.transferStarted = true;
    m_dwTransferStart = Platform().GetTickCount();
    m_bClockRunning = true;
}

void CFlashDownload::StopClock()
{
    if (m_bClockRunning) {
        m_report.transferMs = Platform().GetTickCount() - m_dwTransferStart;
        m_bClockRunning = false;
    }
}

CFlashDownload::LoopEnd CFlashDownload::TransferRecords()
{
    for (;;) {
        CString record;
        switch (m_file.NextRecord(&record)) {
        case CFlashFileReader::Result::Record:
            break;
        case CFlashFileReader::Result::End:
            return LoopEnd::Done;
        case CFlashFileReader::Result::ReadError:
            return LoopEnd::ReadError;
        case CFlashFileReader::Result::TooLong:
            return LoopEnd::TooLong;
        }
        ++m_nRecord;
        if (m_bProgrammed) {
            // Nothing goes to a device that has already programmed itself.
            AfxMessageBox(kProgrammedEarly, kNotice, 0);
            return LoopEnd::Done;
        }
        if (!SendRecord(record)) {
            return LoopEnd::Done;
        }
        m_pProgress->SetPercent(PercentOf(m_file.Position(), m_file.Size()));
        // The cancel button and the device's notices are heard only here.
        AfxPumpWaitingMessages();
        if (m_pProgress->m_bCancel) {
            return LoopEnd::Done;
        }
    }
}

bool CFlashDownload::SendRecord(const CString& record)
{
    AckResult result = ackAccepted;
    CString errorText;
    bool failed = false;
    bool known = false;
    try {
        result = SendRecordWithRepeats(m_device, record);
    } catch (const CTreloxException& error) {
        errorText = error.GetMessageText();
        failed = known = true;
    } catch (...) {
        failed = true;
    }
    if (failed) {
        AfxMessageBox(TransferErrorText(m_nRecord, record, known ? &errorText : nullptr), kNotice, 0);
        return false;
    }
    if (result == ackProgrammed) {
        m_bProgrammed = true;
        // From now on only this device's return ends the wait.
        m_device.AwaitReturn();
    }
    ++m_report.recordsTaken;
    m_report.bytesTaken += static_cast<std::uint64_t>(record.GetLength());
    return true;
}

void CFlashDownload::TakeDownProgress()
{
    if (m_pProgress == nullptr || m_pProgress->GetSafeHwnd() == nullptr) {
        return;
    }
    CWnd* mainWindow = AfxGetMainWnd();
    if (mainWindow != nullptr) {
        mainWindow->EnableWindow(TRUE);
    }
    m_pProgress->DestroyWindow();
}

DownloadReport CFlashDownload::Finish()
{
    if (!m_bProgrammed) {
        AfxMessageBox(kNotProgrammed, kNotice, 0);
    }
    TakeDownProgress();
    m_report.outcome = DownloadOutcome::NotProgrammed;
    if (m_bProgrammed) {
        // The lock stays held while the device programs itself.
        const int ended = m_statusWindow.DoModal();
        m_report.outcome = ended == IDOK ? DownloadOutcome::Programmed : DownloadOutcome::StatusWindowGivenUp;
    }
    ReleaseEverything();
    return m_report;
}

DownloadReport CFlashDownload::Abandon(const char* message)
{
    StopClock();
    try {
        CString text(message);
        text += kAbandoned;
        AfxMessageBox(text, kNotice, 0);
    } catch (...) {
        // Even without a word to the user, nothing is left held.
    }
    TakeDownProgress();
    ReleaseEverything();
    m_report.outcome = DownloadOutcome::Failed;
    return m_report;
}

void CFlashDownload::ReleaseEverything()
{
    m_pProgress.reset();
    if (m_pLock != nullptr && m_pLock->IsLocked()) {
        m_pLock->UnlockAll();
    }
    m_pLock.reset();
    m_file.Close();
}
