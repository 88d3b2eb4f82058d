// One open pipe of a device on the simulated bus: a connected, non-blocking
// stream socket and the transfers on it, in the order the device answers.
//
// Nothing here blocks except WaitForTraffic. Transfers that were given up stay
// in the queue, detached from the caller, until their late completion has
// been read and dropped, so that the next completion is matched to the right
// transfer.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "platform/PlatformTypes.h"
#include "platform/posix/CBusTransfer.h"
#include "platform/posix/CPosixObject.h"

class CBusPipe : public CPosixObject {
public:
    CBusPipe(int socketFd, PipeAccess access);
    ~CBusPipe() override;

    PipeAccess Access() const { return m_access; }
    bool IsOpen() const { return m_fd >= 0; }

    // Queues a transfer behind the ones still running. A pipe whose device
    // has closed the connection fails it at once with ENODEV.
    void Start(std::unique_ptr<CBusTransfer> transfer);
    // Sends and receives whatever the socket allows without waiting.
    void Progress();
    // Waits until the socket can move bytes of a running transfer or
    // `milliseconds` have passed (-1: no limit), then makes progress.
    void WaitForTraffic(int milliseconds);
    // True while a transfer still has bytes to send or a completion to come.
    bool HasOutstanding() const { return !m_transfers.empty(); }
    // True while the transfer of `overlapped` waits for its completion.
    bool IsRunning(const Overlapped* overlapped) const;
    // Waits until the transfer of `overlapped` has completed.
    void Await(const Overlapped* overlapped);

    // Gives up the transfer of `overlapped`: its record says it was aborted,
    // and its late completion will be read and dropped.
    void Cancel(Overlapped* overlapped);
    // Closes the socket; transfers still running end as aborted.
    void Close() override;

private:
    void SendWhatIsPossible();
    void ReceiveWhatIsPossible();
    bool AwaitsCompletion() const;
    // Hands reply bytes to the transfers in order; the rest waits in the inbox.
    void Dispatch(const BYTE* data, std::size_t size);
    void FailAll(DWORD error);
    // Lets go of the caller's storage of finished transfers, and forgets
    // transfers that are both sent and answered.
    void Tidy();

    int m_fd;
    PipeAccess m_access;
    bool m_closedByDevice = false;
    bool m_sendFailed = false;
    std::deque<std::unique_ptr<CBusTransfer>> m_transfers;
    std::vector<BYTE> m_inbox;
    std::vector<BYTE> m_chunk;
};
