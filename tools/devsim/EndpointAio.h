// Transfers on endpoint files without blocking the poll loop: the kernel's
// asynchronous I/O (io_submit), each completion signalled on an eventfd
// that the loop polls, as FunctionFS documents for device programs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <linux/aio_abi.h>

struct AioCompletion {
    std::uint64_t tag = 0;  // what Submit was given
    long long result = 0;   // bytes transferred, or -errno
};

class EndpointAio {
public:
    EndpointAio() = default;
    EndpointAio(const EndpointAio&) = delete;
    EndpointAio& operator=(const EndpointAio&) = delete;
    // Waits for the transfers still in flight (the kernel cancels them).
    ~EndpointAio();

    // Sets up the context and the eventfd. False with errno.
    bool Open();
    int Fd() const { return m_eventFd; }

    // Starts one read (`write` false) or write of `length` bytes on `fd`.
    // The buffer must stay valid until its completion is taken. False with errno.
    bool Submit(int fd, bool write, void* buffer, std::size_t length, std::uint64_t tag);
    // The completions that have arrived, without waiting; clears the eventfd.
    std::vector<AioCompletion> Reap();

private:
    aio_context_t m_context = 0;
    int m_eventFd = -1;
};
