// Arrival and removal notices of the listed devices.
#include "platform/libusb/CLibusbNotices.h"

#include <libusb.h>
#include <sys/epoll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>

#include "platform/libusb/CLibusbContext.h"
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
    const int opened = m_queue.Open();
    if (opened != 0) {
        return opened;
    }
    for (const int descriptor : m_context.WakeDescriptors()) {
        m_queue.Watch(descriptor, EPOLLIN);
    }
    m_usesHotplug = m_source == Source::Hotplug && StartHotplug();
    m_devices.ForgetGoneOnList(!m_usesHotplug);
    const int error = m_usesHotplug ? 0 : StartScan();
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
    // Paths of the devices attached now, for their removals to name.
    std::vector<CListedDevices::Device> attached;
    m_devices.List(&attached);
    const auto events =
        static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT);
    libusb_hotplug_callback_handle callback = 0;
    const int result = libusb_hotplug_register_callback(
        m_context.Get(), events, LIBUSB_HOTPLUG_NO_FLAGS, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
        LIBUSB_HOTPLUG_MATCH_ANY,
        [](libusb_context* context, libusb_device* device, libusb_hotplug_event event, void* self) {
            return OnHotplug(context, device, event, self);
        },
        this, &callback);
    m_callback = callback;
    return result == LIBUSB_SUCCESS;
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
    const int watched = m_queue.Watch(m_timer, EPOLLIN);
    if (watched != 0) {
        return watched;
    }
    // What is attached now is known; only changes from here are notices.
    std::vector<CListedDevices::Device> attached;
    m_devices.List(&attached);
    m_present.clear();
    for (const auto& device : attached) {
        m_present.insert(device.path);
    }
    return 0;
}

void CLibusbNotices::Stop()
{
    if (m_usesHotplug) {
        libusb_hotplug_deregister_callback(m_context.Get(), m_callback);
        m_usesHotplug = false;
        m_devices.ForgetGoneOnList(true);
    }
    if (m_timer >= 0) {
        ::close(m_timer);
        m_timer = -1;
    }
    m_queue.Close();
    m_changes.clear();
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

void CLibusbNotices::Collect()
{
    // libusb's events only when something woke: asked as often as the
    // window system pumps, they would poll every open device each time.
    if (m_queue.SourcesReady()) {
        m_context.HandleEvents(0);
    }
    std::uint64_t expirations = 0;
    if (m_timer >= 0 && ::read(m_timer, &expirations, sizeof expirations) > 0) {
        Scan();
    }
    std::vector<Change> changes;
    changes.swap(m_changes);
    for (const Change& change : changes) {
        if (m_devices.EntryOf(change.device.get()) == nullptr) {
            continue;  // not listed: not ours to announce
        }
        Queue(change.arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, m_devices.PathOf(change.device.get()));
        if (!change.arrived) {
            m_devices.Forget(change.device.get());
        }
    }
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
