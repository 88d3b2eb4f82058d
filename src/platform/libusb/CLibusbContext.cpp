// The libusb context, its descriptors and its event handling.
#include "platform/libusb/CLibusbContext.h"

#include <libusb.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/posix/CPosixClock.h"

namespace {
// A round of waiting for a completion; the caller goes round again.
constexpr std::uint64_t kRoundMs = 1000;
}  // namespace

CLibusbContext::~CLibusbContext()
{
    if (m_context != nullptr) {
        // libusb_exit would tell of the descriptors it closes.
        libusb_set_pollfd_notifiers(m_context, nullptr, nullptr, nullptr);
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
    // The notifiers first, so that no descriptor comes unseen between the
    // look at those in use and them; one seen twice is kept once.
    libusb_set_pollfd_notifiers(m_context, OnDescriptorAdded, OnDescriptorRemoved, this);
    const libusb_pollfd** pollfds = libusb_get_pollfds(m_context);
    if (pollfds == nullptr) {
        libusb_set_pollfd_notifiers(m_context, nullptr, nullptr, nullptr);
        libusb_exit(m_context);
        m_context = nullptr;
        return ENOMEM;
    }
    for (const libusb_pollfd** next = pollfds; *next != nullptr; ++next) {
        m_descriptors[(*next)->fd] = (*next)->events;
    }
    libusb_free_pollfds(pollfds);
    return 0;
}

void CLibusbContext::SetDescriptorWatcher(DescriptorWatcher* watcher)
{
    m_watcher = watcher;
    if (m_watcher != nullptr) {
        for (const auto& descriptor : m_descriptors) {
            m_watcher->DescriptorAdded(descriptor.first, descriptor.second);
        }
    }
}

void CLibusbContext::OnDescriptorAdded(int descriptor, short events, void* self)
{
    auto* context = static_cast<CLibusbContext*>(self);
    context->m_descriptors[descriptor] = events;
    if (context->m_watcher != nullptr) {
        context->m_watcher->DescriptorAdded(descriptor, events);
    }
}

void CLibusbContext::OnDescriptorRemoved(int descriptor, void* self)
{
    auto* context = static_cast<CLibusbContext*>(self);
    context->m_descriptors.erase(descriptor);
    if (context->m_watcher != nullptr) {
        context->m_watcher->DescriptorRemoved(descriptor);
    }
}

bool CLibusbContext::HandleEvents(std::uint64_t milliseconds, int* completed)
{
    const std::uint64_t capped = std::min<std::uint64_t>(milliseconds, INT_MAX);
    timeval wait = {};
    wait.tv_sec = static_cast<time_t>(capped / 1000);
    wait.tv_usec = static_cast<suseconds_t>((capped % 1000) * 1000);
    const int result = libusb_handle_events_timeout_completed(m_context, &wait, completed);
    if (result == LIBUSB_SUCCESS || result == LIBUSB_ERROR_INTERRUPTED) {
        return true;
    }
    m_eventsFailed = true;
    ReportFailure("USB events cannot be handled", ErrorCode(result));
    CPosixClock::Sleep(std::min(capped, kFailurePauseMs));
    return false;
}

void CLibusbContext::HandleEventsUntil(int* done)
{
    while (*done == 0) {
        HandleEvents(kRoundMs, done);
    }
}

void CLibusbContext::ReportFailure(const std::string& what, DWORD error)
{
    if (m_reported.insert(what).second) {
        m_report << "trelox: " << what << " (" << std::strerror(static_cast<int>(error)) << ")" << std::endl;
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
