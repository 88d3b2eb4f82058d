// The libusb context and its event handling.
#include "platform/libusb/CLibusbContext.h"

#include <libusb.h>

#include <cerrno>
#include <climits>

CLibusbContext::~CLibusbContext()
{
    if (m_context != nullptr) {
        libusb_exit(m_context);
    }
}

int CLibusbContext::Open()
{
    if (m_context != nullptr) {
        return 0;
    }
    const int result = libusb_init(&m_context);
    if (result != LIBUSB_SUCCESS) {
        m_context = nullptr;
        return static_cast<int>(ErrorCode(result));
    }
    // No device is open yet: what libusb polls now is its own.
    const libusb_pollfd** pollfds = libusb_get_pollfds(m_context);
    for (const libusb_pollfd** next = pollfds; next != nullptr && *next != nullptr; ++next) {
        m_wakeDescriptors.push_back((*next)->fd);
    }
    libusb_free_pollfds(pollfds);
    return 0;
}

void CLibusbContext::HandleEvents(std::uint64_t milliseconds)
{
    timeval wait = {};
    const std::uint64_t capped = milliseconds < INT_MAX ? milliseconds : INT_MAX;
    wait.tv_sec = static_cast<time_t>(capped / 1000);
    wait.tv_usec = static_cast<suseconds_t>((capped % 1000) * 1000);
    libusb_handle_events_timeout_completed(m_context, &wait, nullptr);
}

void CLibusbContext::HandleEventsUntil(int* done)
{
    while (*done == 0) {
        libusb_handle_events_completed(m_context, done);
    }
}

DWORD CLibusbContext::ErrorCode(int libusbError)
{
    switch (libusbError) {
    case LIBUSB_ERROR_IO:
        return EIO;
    case LIBUSB_ERROR_INVALID_PARAM:
        return EINVAL;
    case LIBUSB_ERROR_ACCESS:
        return EACCES;
    case LIBUSB_ERROR_NO_DEVICE:
        return ENODEV;
    case LIBUSB_ERROR_NOT_FOUND:
        return ENOENT;
    case LIBUSB_ERROR_BUSY:
        return EBUSY;
    case LIBUSB_ERROR_TIMEOUT:
        return ETIMEDOUT;
    case LIBUSB_ERROR_OVERFLOW:
        return EOVERFLOW;
    case LIBUSB_ERROR_PIPE:
        return EPIPE;
    case LIBUSB_ERROR_INTERRUPTED:
        return EINTR;
    case LIBUSB_ERROR_NO_MEM:
        return ENOMEM;
    case LIBUSB_ERROR_NOT_SUPPORTED:
        return ENOTSUP;
    default:
        return EIO;
    }
}
