// One open pipe of a device on the simulated bus and its framed transfers.
#include "platform/posix/CBusPipe.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {
constexpr std::size_t kChunkSize = std::size_t{64} * 1024;
}

CBusPipe::CBusPipe(int socketFd, PipeAccess access) : m_fd(socketFd), m_access(access), m_chunk(kChunkSize) {}

CBusPipe::~CBusPipe()
{
    CBusPipe::Close();
}

void CBusPipe::Start(std::unique_ptr<CBusTransfer> transfer)
{
    if (m_closedByDevice || m_fd < 0) {
        transfer->Fail(m_closedByDevice ? ENODEV : EBADF);
        return;
    }
    m_transfers.push_back(std::move(transfer));
}

void CBusPipe::Progress()
{
    if (m_fd < 0 || m_closedByDevice) {
        return;
    }
    SendWhatIsPossible();
    ReceiveWhatIsPossible();
    if (m_closedByDevice || m_sendFailed) {
        // What the device sent before it went has been taken; nothing more
        // can come.
        m_closedByDevice = true;
        FailAll(ENODEV);
    }
    Tidy();
}

void CBusPipe::WaitForTraffic(int milliseconds)
{
    if (m_fd < 0 || m_closedByDevice || m_transfers.empty()) {
        return;
    }
    pollfd watch = {m_fd, 0, 0};
    if (AwaitsCompletion()) {
        watch.events |= POLLIN;
    }
    for (const auto& transfer : m_transfers) {
        if (!transfer->FullySent()) {
            watch.events |= POLLOUT;
            break;
        }
    }
    // An interrupted poll simply ends this round; the caller's loop keeps
    // the time.
    ::poll(&watch, 1, milliseconds);
    Progress();
}

bool CBusPipe::IsRunning(const Overlapped* overlapped) const
{
    for (const auto& transfer : m_transfers) {
        if (transfer->Uses(overlapped) && !transfer->Completed()) {
            return true;
        }
    }
    return false;
}

void CBusPipe::Await(const Overlapped* overlapped)
{
    while (IsRunning(overlapped)) {
        WaitForTraffic(-1);
    }
}

void CBusPipe::Cancel(Overlapped* overlapped)
{
    for (auto& transfer : m_transfers) {
        if (transfer->Uses(overlapped)) {
            if (!transfer->Completed()) {
                overlapped->Internal = ERROR_OPERATION_ABORTED;
                overlapped->InternalHigh = 0;
            }
            transfer->Detach();
        }
    }
    Tidy();
}

void CBusPipe::Close()
{
    if (m_fd < 0) {
        return;
    }
    FailAll(ERROR_OPERATION_ABORTED);
    m_transfers.clear();
    ::close(m_fd);
    m_fd = -1;
}

void CBusPipe::SendWhatIsPossible()
{
    for (auto& transfer : m_transfers) {
        while (!transfer->FullySent()) {
            const ssize_t sent =
                ::send(m_fd, transfer->UnsentBytes(), transfer->UnsentSize(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent > 0) {
                transfer->MarkSent(static_cast<std::size_t>(sent));
            } else if (sent < 0 && errno == EINTR) {
                continue;
            } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                return;
            } else {
                m_sendFailed = true;
                return;
            }
        }
    }
}

void CBusPipe::ReceiveWhatIsPossible()
{
    if (!m_inbox.empty() && AwaitsCompletion()) {
        std::vector<BYTE> waiting;
        waiting.swap(m_inbox);
        Dispatch(waiting.data(), waiting.size());
    }
    while (AwaitsCompletion()) {
        const ssize_t received = ::recv(m_fd, m_chunk.data(), m_chunk.size(), MSG_DONTWAIT);
        if (received > 0) {
            Dispatch(m_chunk.data(), static_cast<std::size_t>(received));
        } else if (received < 0 && errno == EINTR) {
            continue;
        } else if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            m_closedByDevice = true;
            return;
        }
    }
}

bool CBusPipe::AwaitsCompletion() const
{
    for (const auto& transfer : m_transfers) {
        if (!transfer->Completed()) {
            return true;
        }
    }
    return false;
}

void CBusPipe::Dispatch(const BYTE* data, std::size_t size)
{
    for (auto& transfer : m_transfers) {
        if (size == 0) {
            return;
        }
        if (!transfer->Completed()) {
            const std::size_t taken = transfer->Feed(data, size);
            data += taken;
            size -= taken;
        }
    }
    // Bytes ahead of any transfer: a completion the device sent early.
    m_inbox.insert(m_inbox.end(), data, data + size);
}

void CBusPipe::FailAll(DWORD error)
{
    for (auto& transfer : m_transfers) {
        transfer->Fail(error);
    }
    if (error == ENODEV) {
        // Nothing of the dead connection will be sent any more.
        m_transfers.clear();
    }
}

void CBusPipe::Tidy()
{
    for (auto& transfer : m_transfers) {
        if (transfer->Completed()) {
            transfer->Detach();
        }
    }
    while (!m_transfers.empty() && m_transfers.front()->Completed() && m_transfers.front()->FullySent()) {
        m_transfers.pop_front();
    }
}
