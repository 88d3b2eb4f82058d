// Arrival and removal notices of the listed devices.
#include "platform/libusb/CLibusbNotices.h"

#include <libusb.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>

#include "platform/libusb/CListedDevices.h"

CLibusbNotices::CLibusbNotices(CLibusbContext& context, CListedDevices& devices, Source source)
    : m_context(context), m_devices(devices), m_source(source)
{
}

CLibusbNotices::~CLibusbNotices()
{
    Stop();
}

int CLibusbNotices::Register(WindowHandle window, int* id)
{
    if (m_registrations.empty()) {
        const int error = Start();
        if (error != 0) {
            return error;
        }
    }
    *id = m_nextId++;
    m_registrations.emplace(*id, window);
    return 0;
}

void CLibusbNotices::Unregister(int id)
{
    if (m_registrations.erase(id) > 0 && m_registrations.empty()) {
        Stop();
    }
}

bool CLibusbNotices::Take(DeviceNotice* notice)
{
    if (m_queue.Empty() && !m_registrations.empty()) {
        Collect();
    }
    return m_queue.Take(notice);
}

int CLibusbNotices::Start()
{
    int error = m_queue.Open();
    if (error != 0) {
        return error;
    }
    m_usesHotplug = m_source == Source::Hotplug && StartHotplug();
    m_devices.ForgetGoneOnList(!m_usesHotplug);
    if (!m_usesHotplug) {
        error = StartScan();
        // What is attached now is known; only changes from here are notices
        // (after a failed look, the first scan that works tells of all).
        std::vector<CListedDevices::Device> attached;
        if (error == 0 && m_devices.List(&attached) == 0) {
            for (const auto& device : attached) {
                m_present.insert(device.path);
            }
        }
    }
    if (error != 0) {
        Stop();
    }
    return error;
}

bool CLibusbNotices::StartHotplug()
{
    if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) == 0) {
        return false;
    }
    m_context.SetDescriptorWatcher(this);
    // Names the devices attached now while it registers: no gap between the
    // first look and the callback.
    const auto events =
        static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT);
    libusb_hotplug_callback_handle callback = 0;
    const int result = libusb_hotplug_register_callback(
        m_context.Get(), events, LIBUSB_HOTPLUG_ENUMERATE, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
        LIBUSB_HOTPLUG_MATCH_ANY,
        [](libusb_context* context, libusb_device* device, libusb_hotplug_event event, void* self) {
            return OnHotplug(context, device, event, self);
        },
        this, &callback);
    if (result != LIBUSB_SUCCESS) {
        // The scan serves instead; nothing is lost.
        m_context.SetDescriptorWatcher(nullptr);
        for (const int descriptor : m_watched) {
            m_queue.Unwatch(descriptor);
        }
        m_watched.clear();
        m_changes.clear();
        return false;
    }
    m_callback = callback;
    m_usesHotplug = true;
    TakeChanges(false);
    return true;
}

void CLibusbNotices::StopHotplug()
{
    libusb_hotplug_deregister_callback(m_context.Get(), m_callback);
    m_context.SetDescriptorWatcher(nullptr);
    for (const int descriptor : m_watched) {
        m_queue.Unwatch(descriptor);
    }
    m_watched.clear();
    m_changes.clear();
    m_attached.clear();
    m_usesHotplug = false;
    m_devices.ForgetGoneOnList(true);
}

int CLibusbNotices::StartScan()
{
    m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    itimerspec period = {};
    period.it_interval.tv_nsec = static_cast<long>(kScanIntervalMs) * 1000000L;
    period.it_value = period.it_interval;
    if (m_timer < 0 || ::timerfd_settime(m_timer, 0, &period, nullptr) != 0) {
        return errno;
    }
    return m_queue.Watch(m_timer, EPOLLIN);
}

void CLibusbNotices::Stop()
{
    if (m_usesHotplug) {
        StopHotplug();
    }
    if (m_timer >= 0) {
        ::close(m_timer);
        m_timer = -1;
    }
    m_queue.Close();
    m_present.clear();
    m_watchFailed = false;
}

int CLibusbNotices::OnHotplug(libusb_context* /*context*/, libusb_device* device, int event, void* self)
{
    auto* notices = static_cast<CLibusbNotices*>(self);
    notices->m_changes.push_back(Change{std::shared_ptr<libusb_device>(libusb_ref_device(device), libusb_unref_device),
                                        event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED});
    // Also when the callback runs inside a wait for a transfer: the window
    // system sees that there is something to take.
    notices->m_queue.Wake();
    return 0;  // stay registered
}

void CLibusbNotices::DescriptorAdded(int descriptor, short events)
{
    const std::uint32_t watched = ((events & POLLIN) != 0 ? EPOLLIN : 0U) | ((events & POLLOUT) != 0 ? EPOLLOUT : 0U);
    const int error = m_queue.Watch(descriptor, watched);
    if (error == 0) {
        m_watched.insert(descriptor);
    } else if (error != EPERM) {
        // Hotplug could go deaf: the next look turns to the scan.
        m_watchFailed = true;
        m_queue.Wake();
    }
    // EPERM: a file that is always ready, as poll has it (an emulated
    // device's node): it can wake nobody, and libusb finds it ready anyway
    // whenever its events are handled.
}

void CLibusbNotices::DescriptorRemoved(int descriptor)
{
    m_queue.Unwatch(descriptor);
    m_watched.erase(descriptor);
}

void CLibusbNotices::Collect()
{
    if (m_usesHotplug && !m_context.EventsFailed() && !m_watchFailed && m_queue.SourcesReady()) {
        // libusb's events only when something woke: asked as often as the
        // window system pumps, they would poll every open device each time.
        m_context.HandleEvents(0);
    }
    if (m_usesHotplug) {
        TakeChanges(true);
        if (m_context.EventsFailed() || m_watchFailed) {
            FallBackToScan();
        }
    }
    std::uint64_t expirations = 0;
    if (m_timer >= 0 && ::read(m_timer, &expirations, sizeof expirations) > 0) {
        Scan();
    }
}

void CLibusbNotices::TakeChanges(bool announce)
{
    std::vector<Change> changes;
    changes.swap(m_changes);
    for (const Change& change : changes) {
        libusb_device* device = change.device.get();
        if (m_devices.EntryOf(device) == nullptr) {
            continue;  // not listed: not ours to announce
        }
        if (change.arrived) {
            // libusb may tell of an arrival twice around the registration.
            if (m_attached.emplace(device, change.device).second) {
                const std::string path = m_devices.PathOf(device);
                if (announce) {
                    Queue(DBT_DEVICEARRIVAL, path);
                }
            }
        } else if (m_attached.erase(device) > 0) {
            Queue(DBT_DEVICEREMOVECOMPLETE, m_devices.PathOf(device));
            m_devices.Forget(device);
        }
    }
}

void CLibusbNotices::FallBackToScan()
{
    std::set<std::string> present;
    for (const auto& attached : m_attached) {
        present.insert(m_devices.PathOf(attached.first));
    }
    StopHotplug();
    const int error = StartScan();
    if (error != 0) {
        m_context.ReportFailure("USB devices can no longer be watched", static_cast<DWORD>(error));
        return;
    }
    // The first scan announces what changed since the last hotplug notice.
    m_present.swap(present);
}

void CLibusbNotices::Scan()
{
    std::vector<CListedDevices::Device> attached;
    if (m_devices.List(&attached) != 0) {
        return;
    }
    std::set<std::string> present;
    for (const auto& device : attached) {
        present.insert(device.path);
    }
    for (const std::string& path : m_present) {
        if (present.count(path) == 0) {
            Queue(DBT_DEVICEREMOVECOMPLETE, path);
        }
    }
    for (const std::string& path : present) {
        if (m_present.count(path) == 0) {
            Queue(DBT_DEVICEARRIVAL, path);
        }
    }
    m_present.swap(present);
}

void CLibusbNotices::Queue(UINT eventType, const std::string& path)
{
    for (const auto& registration : m_registrations) {
        m_queue.Push(registration.second, eventType, path);
    }
}
