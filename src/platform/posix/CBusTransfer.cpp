// One framed transfer on a pipe of the simulated bus.
#include "platform/posix/CBusTransfer.h"

#include <algorithm>
#include <cstring>

#include "platform/posix/CPosixEvent.h"

namespace {

void PutWord(BYTE* out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

std::uint32_t GetWord(const BYTE* in)
{
    return static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
           (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24);
}

}  // namespace

CBusTransfer::CBusTransfer(bool isWrite, DWORD frameWord, Overlapped* overlapped,
                             std::shared_ptr<CPosixEvent> event)
    : m_isWrite(isWrite), m_overlapped(overlapped), m_event(std::move(event))
{
    PutWord(m_head, frameWord);
    m_requested = frameWord;
    m_overlapped->Internal = kPending;
    m_overlapped->InternalHigh = 0;
}

std::unique_ptr<CBusTransfer> CBusTransfer::ForWrite(const void* bytes, DWORD count, Overlapped* overlapped,
                                                       std::shared_ptr<CPosixEvent> event)
{
    std::unique_ptr<CBusTransfer> transfer(new CBusTransfer(true, count, overlapped, std::move(event)));
    transfer->m_body = static_cast<const BYTE*>(bytes);
    transfer->m_bodySize = count;
    return transfer;
}

std::unique_ptr<CBusTransfer> CBusTransfer::ForRead(void* buffer, DWORD size, Overlapped* overlapped,
                                                      std::shared_ptr<CPosixEvent> event)
{
    std::unique_ptr<CBusTransfer> transfer(new CBusTransfer(false, size, overlapped, std::move(event)));
    transfer->m_buffer = static_cast<BYTE*>(buffer);
    transfer->m_bufferSize = size;
    return transfer;
}

bool CBusTransfer::FullySent() const
{
    return m_headSent == sizeof(m_head) && m_bodySent == m_bodySize;
}

const BYTE* CBusTransfer::UnsentBytes() const
{
    return m_headSent < sizeof(m_head) ? m_head + m_headSent : m_body + m_bodySent;
}

std::size_t CBusTransfer::UnsentSize() const
{
    return m_headSent < sizeof(m_head) ? sizeof(m_head) - m_headSent : m_bodySize - m_bodySent;
}

void CBusTransfer::MarkSent(std::size_t count)
{
    if (m_headSent < sizeof(m_head)) {
        m_headSent += count;
    } else {
        m_bodySent += count;
    }
}

std::size_t CBusTransfer::Feed(const BYTE* data, std::size_t size)
{
    std::size_t taken = 0;
    while (!m_completed && taken < size) {
        if (m_replyHeaderGot < sizeof(m_reply)) {
            taken += FeedHeader(data + taken, size - taken);
        } else {
            taken += FeedData(data + taken, size - taken);
        }
    }
    return taken;
}

std::size_t CBusTransfer::FeedHeader(const BYTE* data, std::size_t size)
{
    const std::size_t taken = std::min(size, sizeof(m_reply) - m_replyHeaderGot);
    std::memcpy(m_reply + m_replyHeaderGot, data, taken);
    m_replyHeaderGot += taken;
    if (m_replyHeaderGot < sizeof(m_reply)) {
        return taken;
    }
    m_replyStatus = GetWord(m_reply);
    const std::uint32_t second = GetWord(m_reply + 4);
    if (m_isWrite) {
        // A device cannot have taken more than it was given.
        Finish(m_replyStatus, std::min<DWORD>(second, m_requested));
    } else {
        m_dataLeft = second;
        if (m_dataLeft == 0) {
            Finish(m_replyStatus, 0);
        }
    }
    return taken;
}

std::size_t CBusTransfer::FeedData(const BYTE* data, std::size_t size)
{
    const std::size_t taken = std::min<std::size_t>(size, m_dataLeft);
    if (m_replyStatus == 0 && m_buffer != nullptr && m_dataKept < m_bufferSize) {
        const std::size_t kept = std::min<std::size_t>(taken, m_bufferSize - m_dataKept);
        std::memcpy(m_buffer + m_dataKept, data, kept);
        m_dataKept += static_cast<DWORD>(kept);
    }
    // Bytes past the buffer's end, of a failed read or of an abandoned one
    // are taken off the connection and dropped.
    m_dataLeft -= static_cast<std::uint32_t>(taken);
    if (m_dataLeft == 0) {
        Finish(m_replyStatus, m_replyStatus == 0 ? m_dataKept : 0);
    }
    return taken;
}

void CBusTransfer::Fail(DWORD error)
{
    if (!m_completed) {
        Finish(error, 0);
    }
}

void CBusTransfer::Finish(DWORD error, DWORD count)
{
    m_completed = true;
    m_error = error;
    m_count = count;
    if (!m_detached) {
        m_overlapped->Internal = error;
        m_overlapped->InternalHigh = count;
        if (m_event) {
            m_event->Signal();
        }
    }
}

void CBusTransfer::Detach()
{
    if (m_detached) {
        return;
    }
    if (m_bodySent < m_bodySize && m_body != nullptr) {
        // The device still expects the rest of the frame; the caller's bytes
        // may be gone by the time it can be sent.
        m_ownedBody.assign(m_body + m_bodySent, m_body + m_bodySize);
        m_body = m_ownedBody.data();
        m_bodySize = m_ownedBody.size();
        m_bodySent = 0;
    }
    m_buffer = nullptr;
    m_overlapped = nullptr;
    m_event.reset();
    m_detached = true;
}
