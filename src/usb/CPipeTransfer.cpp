// One overlapped transfer on a pipe, bounded by a time-out.
#include "usb/CPipeTransfer.h"

#include <algorithm>

#include "framework/CResourceException.h"
#include "platform/CPlatform.h"

CPipeTransfer::CPipeTransfer(HANDLE pipe)
    : m_hPipe(pipe),
      m_hEvent(Platform().CreateEvent()),
      m_overlapped(),
      m_dwRequested(0),
      m_dwTransferred(0),
      m_dwError(0),
      m_bPending(false)
{
    if (m_hEvent == nullptr) {
        throw CResourceException(Platform().GetLastError());
    }
    m_overlapped.hEvent = m_hEvent;
}

CPipeTransfer::~CPipeTransfer()
{
    CPlatform& platform = Platform();
    if (m_bPending) {
        platform.CancelTransfer(m_hPipe, &m_overlapped);
    }
    platform.CloseHandle(m_hEvent);
}

CPipeTransfer::Outcome CPipeTransfer::Write(const void* bytes, DWORD count, DWORD timeoutMs)
{
    m_dwRequested = count;
    const BOOL done = Platform().WriteFile(m_hPipe, bytes, count, &m_dwTransferred, &m_overlapped);
    return Finish(done, timeoutMs);
}

CPipeTransfer::Outcome CPipeTransfer::Read(void* buffer, DWORD size, DWORD timeoutMs)
{
    m_dwRequested = size;
    const BOOL done = Platform().ReadFile(m_hPipe, buffer, size, &m_dwTransferred, &m_overlapped);
    return Finish(done, timeoutMs);
}

int CPipeTransfer::Transferred() const
{
    return static_cast<int>(std::min(m_dwTransferred, m_dwRequested));
}

CPipeTransfer::Outcome CPipeTransfer::Finish(BOOL finishedAtOnce, DWORD timeoutMs)
{
    if (finishedAtOnce) {
        return Outcome::Completed;
    }
    CPlatform& platform = Platform();
    m_dwError = platform.GetLastError();
    if (m_dwError != ERROR_IO_PENDING) {
        return Outcome::Failed;
    }
    m_dwError = 0;
    m_bPending = true;

    // An abandoned wait cannot come from an event, but counts as signalled.
    const DWORD wait = platform.WaitForSingleObject(m_hEvent, timeoutMs);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        return Outcome::TimedOut;
    }
    if (platform.GetOverlappedResult(m_hPipe, &m_overlapped, &m_dwTransferred, FALSE)) {
        m_bPending = false;
        return Outcome::Completed;
    }
    m_dwError = platform.GetLastError();
    // Signalled but not complete: the request is still the system's.
    m_bPending = (m_dwError == ERROR_IO_INCOMPLETE);
    return Outcome::Failed;
}
