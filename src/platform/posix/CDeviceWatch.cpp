// Device arrival and removal notices from an inotify watch on the bus folder.
#include "CDeviceWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "CBusDirectory.h"

namespace {
constexpr std::uint32_t kWatchedEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM;
constexpr std::size_t kRecordHeaderSize = 28;  // size, type, reserved, class
}  // namespace

CDeviceWatch::~CDeviceWatch()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int CDeviceWatch::Register(WindowHandle window, const std::string& busPath, int* id)
{
    if (m_fd < 0) {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0) {
            return errno;
        }
    }
    const int watch = ::inotify_add_watch(m_fd, busPath.c_str(), kWatchedEvents | IN_ONLYDIR);
    if (watch < 0) {
        const int error = errno;
        if (m_registrations.empty()) {
            ::close(m_fd);
            m_fd = -1;
        }
        return error;
    }
    *id = m_nextId++;
    m_registrations[*id] = Registration{window, watch};
    return 0;
}

void CDeviceWatch::Unregister(int id)
{
    const auto found = m_registrations.find(id);
    if (found == m_registrations.end()) {
        return;
    }
    const int watch = found->second.watch;
    m_registrations.erase(found);
    bool watchInUse = false;
    for (const auto& entry : m_registrations) {
        watchInUse = watchInUse || entry.second.watch == watch;
    }
    if (!watchInUse) {
        ::inotify_rm_watch(m_fd, watch);
    }
    if (m_registrations.empty()) {
        ::close(m_fd);
        m_fd = -1;
        m_pending.clear();
    }
}

bool CDeviceWatch::Take(DeviceNotice* notice)
{
    if (m_pending.empty()) {
        ReadEvents();
    }
    if (m_pending.empty()) {
        return false;
    }
    *notice = std::move(m_pending.front());
    m_pending.pop_front();
    return true;
}

std::vector<BYTE> CDeviceWatch::BuildRecord(const std::string& path)
{
    const DWORD size = static_cast<DWORD>(kRecordHeaderSize + path.size() + 1);
    // Never shorter than the record type itself, for readers that copy it whole.
    std::vector<BYTE> record(std::max<std::size_t>(size, sizeof(DevBroadcastDeviceInterface)), 0);
    const DWORD type = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(record.data(), &size, 4);
    std::memcpy(record.data() + 4, &type, 4);
    std::memcpy(record.data() + 12, CBusDirectory::InterfaceClass().bytes, 16);
    std::memcpy(record.data() + kRecordHeaderSize, path.data(), path.size());
    return record;
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
            if (event->len == 0 || (event->mask & IN_ISDIR) != 0) {
                continue;
            }
            const std::string name(event->name, ::strnlen(event->name, event->len));
            if (!CBusDirectory::IsMarkerName(name)) {
                continue;
            }
            if ((event->mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
                Queue(event->wd, DBT_DEVICEARRIVAL, name);
            } else if ((event->mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
                Queue(event->wd, DBT_DEVICEREMOVECOMPLETE, name);
            }
        }
    }
}

void CDeviceWatch::Queue(int watch, UINT eventType, const std::string& path)
{
    for (const auto& entry : m_registrations) {
        if (entry.second.watch == watch) {
            DeviceNotice notice;
            notice.window = entry.second.window;
            notice.eventType = eventType;
            notice.record = BuildRecord(path);
            m_pending.push_back(std::move(notice));
        }
    }
}
