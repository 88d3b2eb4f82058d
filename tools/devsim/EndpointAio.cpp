// Asynchronous endpoint transfers through io_submit and an eventfd.
#include "EndpointAio.h"

#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

namespace {

const int kSlots = 8;

}  // namespace

EndpointAio::~EndpointAio()
{
    if (m_context != 0) syscall(SYS_io_destroy, m_context);
    if (m_eventFd >= 0) close(m_eventFd);
}

bool EndpointAio::Open()
{
    if (syscall(SYS_io_setup, kSlots, &m_context) != 0) return false;
    m_eventFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return m_eventFd >= 0;
}

bool EndpointAio::Submit(int fd, bool write, void* buffer, std::size_t length, std::uint64_t tag)
{
    iocb request;
    std::memset(&request, 0, sizeof request);
    request.aio_data = tag;
    request.aio_lio_opcode = write ? IOCB_CMD_PWRITE : IOCB_CMD_PREAD;
    request.aio_fildes = static_cast<std::uint32_t>(fd);
    request.aio_buf = reinterpret_cast<std::uint64_t>(buffer);
    request.aio_nbytes = length;
    request.aio_flags = IOCB_FLAG_RESFD;
    request.aio_resfd = static_cast<std::uint32_t>(m_eventFd);
    iocb* list[] = {&request};
    // The kernel copies the request; only the buffer must outlive the call.
    return syscall(SYS_io_submit, m_context, 1, list) == 1;
}

std::vector<AioCompletion> EndpointAio::Reap()
{
    std::uint64_t count = 0;
    if (read(m_eventFd, &count, sizeof count) < 0) {
        // Nothing signalled since the last look; completions may still wait.
    }
    std::vector<AioCompletion> completions;
    io_event events[kSlots];
    timespec none = {0, 0};
    for (;;) {
        const long got = syscall(SYS_io_getevents, m_context, 0, kSlots, events, &none);
        if (got <= 0) break;
        for (long i = 0; i < got; ++i) {
            AioCompletion completion;
            completion.tag = events[i].data;
            completion.result = events[i].res;
            completions.push_back(completion);
        }
        if (got < kSlots) break;
    }
    return completions;
}
