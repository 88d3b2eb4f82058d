// One framed transfer on a pipe of the simulated bus: the request frame that
// goes to the device and the parse of the completion that comes back.
//
// Write: sends `length` and the bytes, expects `status`, `count`.
// Read:  sends `size`, expects `status`, `length` and `length` bytes, of
//        which the first `size` go into the caller's buffer.
//
// Until it is detached a transfer uses the caller's bytes or buffer, the
// overlapped record and the event; after Detach it owns what it still has to
// send and throws away what it still receives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/PlatformTypes.h"
#include "platform/posix/OverlappedState.h"

class CPosixEvent;

class CBusTransfer {
public:
    // The mark in an overlapped record's status word while its transfer runs.
    static constexpr std::uintptr_t kPending = kOverlappedPending;

    static std::unique_ptr<CBusTransfer> ForWrite(const void* bytes, DWORD count, Overlapped* overlapped,
                                                   std::shared_ptr<CPosixEvent> event);
    static std::unique_ptr<CBusTransfer> ForRead(void* buffer, DWORD size, Overlapped* overlapped,
                                                  std::shared_ptr<CPosixEvent> event);

    // ---- The request frame.
    bool FullySent() const;
    // The next bytes of the frame that have not been sent yet.
    const BYTE* UnsentBytes() const;
    std::size_t UnsentSize() const;
    void MarkSent(std::size_t count);

    // ---- The completion.
    bool Completed() const { return m_completed; }
    // Takes reply bytes up to the end of this completion; the bytes taken.
    std::size_t Feed(const BYTE* data, std::size_t size);
    // Ends the transfer with `error` when no completion can come any more.
    void Fail(DWORD error);
    DWORD Error() const { return m_error; }
    DWORD Count() const { return m_count; }

    // ---- The caller's storage.
    bool Uses(const Overlapped* overlapped) const { return !m_detached && m_overlapped == overlapped; }
    bool Detached() const { return m_detached; }
    // Lets go of the caller's bytes, buffer, overlapped record and event.
    void Detach();

private:
    CBusTransfer(bool isWrite, DWORD frameWord, Overlapped* overlapped, std::shared_ptr<CPosixEvent> event);

    std::size_t FeedHeader(const BYTE* data, std::size_t size);
    std::size_t FeedData(const BYTE* data, std::size_t size);
    void Finish(DWORD error, DWORD count);

    bool m_isWrite;
    BYTE m_head[4] = {};
    std::size_t m_headSent = 0;
    const BYTE* m_body = nullptr;
    std::size_t m_bodySize = 0;
    std::size_t m_bodySent = 0;
    std::vector<BYTE> m_ownedBody;

    BYTE* m_buffer = nullptr;
    DWORD m_bufferSize = 0;
    DWORD m_requested = 0;
    BYTE m_reply[8] = {};
    std::size_t m_replyHeaderGot = 0;
    std::uint32_t m_dataLeft = 0;
    DWORD m_dataKept = 0;
    DWORD m_replyStatus = 0;

    bool m_completed = false;
    DWORD m_error = 0;
    DWORD m_count = 0;

    Overlapped* m_overlapped;
    std::shared_ptr<CPosixEvent> m_event;
    bool m_detached = false;
};
