// Arrival and removal notices of the listed devices, as the simulated bus
// gives them: the class and the interface path of the device. They come
// from libusb's hotplug callbacks where the system has them, else from a
// scan of the attached devices every 500 ms. Either way they are handled on
// the user-interface thread: the window system polls Descriptor() and takes
// the notices one at a time, between its other work; libusb runs the hotplug
// callbacks there too, inside its event handling (also while a transfer is
// waited for), and they only note the change and wake the descriptor.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
#include "platform/posix/CDeviceNoticeQueue.h"
#include "platform/posix/CDeviceNoticeSource.h"

class CLibusbContext;
class CListedDevices;
struct libusb_context;
struct libusb_device;

class CLibusbNotices : public CDeviceNoticeSource {
public:
    enum class Source {
        Hotplug,       // libusb's hotplug support where the system has it, else a scan
        PeriodicScan,  // a scan in any case
    };
    static constexpr unsigned kScanIntervalMs = 500;

    CLibusbNotices(CLibusbContext& context, CListedDevices& devices, Source source);
    ~CLibusbNotices() override;

    // Starts notices for `window`: 0 with the registration's number, or an errno.
    int Register(WindowHandle window, int* id);
    void Unregister(int id) override;

    // Readable while a notice may be waiting (CDeviceNoticeQueue); -1 while
    // nobody is registered.
    int Descriptor() const { return m_queue.Descriptor(); }
    // The next notice; false when none is waiting. Never blocks.
    bool Take(DeviceNotice* notice);
    // Whether the notices come from hotplug callbacks (only while registered).
    bool UsesHotplug() const { return m_usesHotplug; }

private:
    struct Change {
        std::shared_ptr<libusb_device> device;
        bool arrived;
    };

    int Start();
    void Stop();
    bool StartHotplug();
    int StartScan();
    static int OnHotplug(libusb_context* context, libusb_device* device, int event, void* self);
    // Runs due callbacks and scans, and turns what they found into notices.
    void Collect();
    void Scan();
    void Queue(UINT eventType, const std::string& path);

    CLibusbContext& m_context;
    CListedDevices& m_devices;
    Source m_source;
    int m_nextId = 1;
    std::map<int, WindowHandle> m_registrations;
    CDeviceNoticeQueue m_queue;
    int m_timer = -1;
    bool m_usesHotplug = false;
    int m_callback = 0;
    std::vector<Change> m_changes;
    std::set<std::string> m_present;
};
