// Device arrival and removal notices from an inotify watch on the bus folder.
#include "platform/posix/CDeviceWatch.h"

#include <sys/epoll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr std::uint32_t kWatchedEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM;
// The parent folder only tells that the bus folder may be back.
constexpr std::uint32_t kParentEvents = IN_CREATE | IN_MOVED_TO | IN_MASK_ADD;

std::string ParentFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

CDeviceWatch::~CDeviceWatch()
{
    Stop();
}

int CDeviceWatch::Start()
{
    if (m_fd >= 0) {
        return 0;
    }
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    int error = m_fd < 0 ? errno : m_queue.Open();
    if (error == 0) {
        error = m_queue.Watch(m_fd, EPOLLIN);
    }
    if (error != 0) {
        Stop();
    }
    return error;
}

void CDeviceWatch::Stop()
{
    m_queue.Close();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

int CDeviceWatch::Register(WindowHandle window, const CBusDirectory& bus, int* id)
{
    const int started = Start();
    if (started != 0) {
        return started;
    }
    const int watch = ::inotify_add_watch(m_fd, bus.Path().c_str(), kWatchedEvents | IN_ONLYDIR);
    if (watch < 0) {
        const int error = errno;
        if (m_registrations.empty()) {
            Stop();
        }
        return error;
    }
    *id = m_nextId++;
    m_registrations.emplace(*id, Registration{window, bus, watch, -1});
    return 0;
}

void CDeviceWatch::Unregister(int id)
{
    const auto found = m_registrations.find(id);
    if (found == m_registrations.end()) {
        return;
    }
    const int watch = found->second.watch;
    const int parentWatch = found->second.parentWatch;
    m_registrations.erase(found);
    ReleaseWatch(watch);
    ReleaseWatch(parentWatch);
    if (m_registrations.empty()) {
        Stop();
    }
}

void CDeviceWatch::ReleaseWatch(int watch)
{
    if (watch < 0) {
        return;
    }
    for (const auto& entry : m_registrations) {
        if (entry.second.watch == watch || entry.second.parentWatch == watch) {
            return;
        }
    }
    ::inotify_rm_watch(m_fd, watch);
}

bool CDeviceWatch::Take(DeviceNotice* notice)
{
    if (m_queue.Empty()) {
        ReadEvents();
        RearmLostWatches();
    }
    return m_queue.Take(notice);
}

void CDeviceWatch::ReadEvents()
{
    if (m_fd < 0) {
        return;
    }
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer, sizeof(buffer));
        if (length < 0 && errno == EINTR) {
            continue;
        }
        if (length <= 0) {
            return;
        }
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            HandleEvent(*event);
        }
    }
}

void CDeviceWatch::HandleEvent(const inotify_event& event)
{
    if ((event.mask & IN_Q_OVERFLOW) != 0) {
        // Notices were lost, an arrival among them perhaps: without one the
        // status window would wait for good.
        for (const auto& entry : m_registrations) {
            QueuePresentState(entry.second);
        }
        return;
    }
    if ((event.mask & IN_IGNORED) != 0) {
        LoseWatch(event.wd);
        return;
    }
    if (event.len == 0 || (event.mask & IN_ISDIR) != 0) {
        return;
    }
    const std::string name(event.name, ::strnlen(event.name, event.len));
    if (!CBusDirectory::IsMarkerName(name)) {
        return;
    }
    if ((event.mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
        Queue(event.wd, DBT_DEVICEARRIVAL, name);
    } else if ((event.mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
        Queue(event.wd, DBT_DEVICEREMOVECOMPLETE, name);
    }
}

void CDeviceWatch::Queue(int watch, UINT eventType, const std::string& path)
{
    for (const auto& entry : m_registrations) {
        if (entry.second.watch == watch) {
            QueueFor(entry.second.window, eventType, path);
        }
    }
}

void CDeviceWatch::QueueFor(WindowHandle window, UINT eventType, const std::string& path)
{
    m_queue.Push(window, eventType, path);
}

void CDeviceWatch::QueuePresentState(const Registration& registration)
{
    std::vector<std::string> markers;
    const bool present = registration.bus.ListMarkers(&markers) == 0 && !markers.empty();
    QueueFor(registration.window, present ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, std::string());
}

void CDeviceWatch::LoseWatch(int watch)
{
    for (auto& entry : m_registrations) {
        Registration& registration = entry.second;
        if (registration.watch != watch) {
            continue;
        }
        registration.watch = -1;
        if (registration.parentWatch < 0) {
            // Without it the folder's return is noticed at the next look only.
            registration.parentWatch =
                ::inotify_add_watch(m_fd, ParentFolder(registration.bus.Path()).c_str(), kParentEvents | IN_ONLYDIR);
        }
    }
}

void CDeviceWatch::RearmLostWatches()
{
    for (auto& entry : m_registrations) {
        Registration& registration = entry.second;
        if (registration.watch >= 0 || registration.bus.CheckFolder() != 0) {
            continue;
        }
        const int watch = ::inotify_add_watch(m_fd, registration.bus.Path().c_str(), kWatchedEvents | IN_ONLYDIR);
        if (watch < 0) {
            continue;
        }
        registration.watch = watch;
        const int parentWatch = registration.parentWatch;
        registration.parentWatch = -1;
        ReleaseWatch(parentWatch);
        // A device may have come while nothing watched the folder.
        std::vector<std::string> markers;
        if (registration.bus.ListMarkers(&markers) == 0 && !markers.empty()) {
            QueueFor(registration.window, DBT_DEVICEARRIVAL, std::string());
        }
    }
}
