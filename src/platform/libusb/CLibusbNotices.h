// Arrival and removal notices of the listed devices, as the simulated bus
// gives them: the class and the interface path of the device. They come
// from libusb's hotplug callbacks where the system has them, else from a
// scan of the attached devices every 500 ms. Either way they are handled on
// the user-interface thread: the window system polls Descriptor() and takes
// the notices one at a time, between its other work; libusb runs the hotplug
// callbacks there too, inside its event handling (also while a transfer is
// waited for), and they only note the change and wake the descriptor.
//
// Devices attached when the notices start are present, no arrivals: with
// hotplug callbacks libusb names them while the callback is registered
// (LIBUSB_HOTPLUG_ENUMERATE), so that none attached meanwhile is missed.
// Each later arrival and removal of a listed device is one notice, also
// where libusb tells of an arrival twice or of a removal of a device it
// never told of. Should libusb's event handling fail, its descriptors are
// no longer watched (they would stay readable) and the notices come from
// the scan from then on.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
#include "platform/libusb/CLibusbContext.h"
#include "platform/posix/CDeviceNoticeQueue.h"
#include "platform/posix/CDeviceNoticeSource.h"

class CListedDevices;
struct libusb_context;
struct libusb_device;

class CLibusbNotices : public CDeviceNoticeSource, private CLibusbContext::DescriptorWatcher {
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
    void StopHotplug();
    // The scan's timer, watched by the queue: 0 or an errno.
    int StartScan();
    static int OnHotplug(libusb_context* context, libusb_device* device, int event, void* self);
    void DescriptorAdded(int descriptor, short events) override;
    void DescriptorRemoved(int descriptor) override;
    // Runs due callbacks and scans, and turns what they found into notices.
    void Collect();
    // The hotplug changes noted since the last look; `announce` false for
    // those of the registration, which only tell what is present.
    void TakeChanges(bool announce);
    // libusb's events failed: the scan takes over from what is present now.
    void FallBackToScan();
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
    std::set<int> m_watched;     // libusb's descriptors in the queue
    bool m_watchFailed = false;  // one of them could not be watched
    int m_callback = 0;
    std::vector<Change> m_changes;
    // Hotplug: the listed devices present, each with one reference to it.
    std::map<libusb_device*, std::shared_ptr<libusb_device>> m_attached;
    // Scan: the paths of the listed devices present at the last scan.
    std::set<std::string> m_present;
};
