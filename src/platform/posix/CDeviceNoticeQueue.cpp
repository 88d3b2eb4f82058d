// The device notices waiting for the window system and their descriptor.
#include "platform/posix/CDeviceNoticeQueue.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/DeviceInterfaceClass.h"

namespace {
constexpr std::size_t kRecordHeaderSize = 28;  // size, type, reserved, class
constexpr int kReadyAtOnce = 8;
}  // namespace

CDeviceNoticeQueue::~CDeviceNoticeQueue()
{
    Close();
}

int CDeviceNoticeQueue::Open()
{
    if (m_poll >= 0) {
        return 0;
    }
    m_poll = ::epoll_create1(EPOLL_CLOEXEC);
    m_waiting = m_poll >= 0 ? ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC) : -1;
    const int error = m_waiting < 0 ? errno : Watch(m_waiting, EPOLLIN);
    if (error != 0) {
        Close();
    }
    return error;
}

void CDeviceNoticeQueue::Close()
{
    for (int* descriptor : {&m_waiting, &m_poll}) {
        if (*descriptor >= 0) {
            ::close(*descriptor);
            *descriptor = -1;
        }
    }
    m_pending.clear();
}

int CDeviceNoticeQueue::Watch(int descriptor, std::uint32_t events)
{
    epoll_event watched = {};
    watched.events = events;
    watched.data.fd = descriptor;
    if (::epoll_ctl(m_poll, EPOLL_CTL_ADD, descriptor, &watched) == 0) {
        return 0;
    }
    if (errno == EEXIST && ::epoll_ctl(m_poll, EPOLL_CTL_MOD, descriptor, &watched) == 0) {
        return 0;
    }
    return errno;
}

void CDeviceNoticeQueue::Unwatch(int descriptor)
{
    if (m_poll >= 0) {
        ::epoll_ctl(m_poll, EPOLL_CTL_DEL, descriptor, nullptr);  // ENOENT: not watched, fine
    }
}

bool CDeviceNoticeQueue::SourcesReady() const
{
    if (m_poll < 0) {
        return false;
    }
    epoll_event ready[kReadyAtOnce];
    const int count = ::epoll_wait(m_poll, ready, kReadyAtOnce, 0);
    return std::any_of(ready, ready + std::max(count, 0),
                       [this](const epoll_event& event) { return event.data.fd != m_waiting; });
}

void CDeviceNoticeQueue::Push(WindowHandle window, UINT eventType, const std::string& path)
{
    DeviceNotice notice;
    notice.window = window;
    notice.eventType = eventType;
    notice.record = BuildRecord(path);
    m_pending.push_back(std::move(notice));
    SetWaiting(true);
}

void CDeviceNoticeQueue::Wake()
{
    SetWaiting(true);
}

bool CDeviceNoticeQueue::Take(DeviceNotice* notice)
{
    if (m_pending.empty()) {
        SetWaiting(false);
        return false;
    }
    *notice = std::move(m_pending.front());
    m_pending.pop_front();
    return true;
}

void CDeviceNoticeQueue::SetWaiting(bool waiting)
{
    if (m_waiting < 0) {
        return;
    }
    // A full or empty counter is already what is asked for.
    std::uint64_t count = 1;
    if (waiting) {
        (void)!::write(m_waiting, &count, sizeof count);
    } else {
        (void)!::read(m_waiting, &count, sizeof count);
    }
}

std::vector<BYTE> CDeviceNoticeQueue::BuildRecord(const std::string& path)
{
    const DWORD size = static_cast<DWORD>(kRecordHeaderSize + path.size() + 1);
    // Never shorter than the record type itself, for readers that copy it whole.
    std::vector<BYTE> record(std::max<std::size_t>(size, sizeof(DevBroadcastDeviceInterface)), 0);
    const DWORD type = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(record.data(), &size, 4);
    std::memcpy(record.data() + 4, &type, 4);
    std::memcpy(record.data() + 12, kDeviceInterfaceClass.bytes, 16);
    std::memcpy(record.data() + kRecordHeaderSize, path.data(), path.size());
    return record;
}
