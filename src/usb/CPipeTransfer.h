// One overlapped transfer on a pipe: its event, its overlapped record and its
// byte count, with the wait bounded by the transfer time-out. Whatever way the
// transfer ends, the event is closed; a transfer still pending then (after a
// time-out) is cancelled first, so that a late completion never touches the
// record, the event or the caller's bytes after they are gone.
#pragma once

#include "framework/AfxTypes.h"
#include "platform/PlatformTypes.h"

class CPipeTransfer {
public:
    enum class Outcome {
        Completed,  // Transferred() bytes moved
        Failed,     // refused at once or completed with an error: Error()
        TimedOut,   // not completed within the time-out (or the wait failed)
    };

    // Creates the event; throws CResourceException when there is none.
    explicit CPipeTransfer(HANDLE pipe);
    ~CPipeTransfer();

    CPipeTransfer(const CPipeTransfer&) = delete;
    CPipeTransfer& operator=(const CPipeTransfer&) = delete;

    // Start the transfer and see it to its end. `bytes` and `buffer` must stay
    // valid until this object is gone.
    Outcome Write(const void* bytes, DWORD count, DWORD timeoutMs);
    Outcome Read(void* buffer, DWORD size, DWORD timeoutMs);

    // The count the system reported, never more than was asked for.
    int Transferred() const;
    // The system's error code of a failed transfer.
    DWORD Error() const { return m_dwError; }

private:
    Outcome Finish(BOOL finishedAtOnce, DWORD timeoutMs);

    HANDLE m_hPipe;
    HANDLE m_hEvent;
    Overlapped m_overlapped;
    DWORD m_dwRequested;
    DWORD m_dwTransferred;
    DWORD m_dwError;
    bool m_bPending;
};
