// The attached USB devices that the device table lists, each with its
// interface path. A device's path is worked out once while it is attached
// (its serial number is read from the device), so that the list is cheap to
// take again and a removal notice can still name a device that has gone.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/libusb/CDeviceTable.h"

class CLibusbContext;
struct libusb_device;

class CListedDevices {
public:
    struct Device {
        std::string path;
        std::shared_ptr<libusb_device> device;  // one reference to it
        const DeviceTableEntry* entry;
    };

    CListedDevices(CLibusbContext& context, const CDeviceTable& table) : m_context(context), m_table(table) {}
    CListedDevices(const CListedDevices&) = delete;
    CListedDevices& operator=(const CListedDevices&) = delete;
    ~CListedDevices();

    // The listed devices attached now, in byte order of their paths: 0, or
    // the errno of a failed enumeration.
    int List(std::vector<Device>* devices);
    // The table's entry for `device`; null when it is not listed.
    const DeviceTableEntry* EntryOf(libusb_device* device) const;
    // The path of a listed device: the one it had while attached, else
    // worked out now.
    std::string PathOf(libusb_device* device);
    // The device has gone: its path is not needed any more.
    void Forget(libusb_device* device);
    // Whether List lets go of the paths of devices that have gone; not while
    // hotplug removals, which come later, still have to name them.
    void ForgetGoneOnList(bool forget) { m_forgetGoneOnList = forget; }

    // "/dev/bus/usb/BBB/DDD" of a device.
    static std::string DeviceNode(libusb_device* device);

private:
    // The path from the device's serial number or its port path; `keep`
    // false when the device could not be asked and may answer later.
    std::string WorkOutPath(libusb_device* device, bool* keep) const;
    // Forgets the paths of devices that are not in `attached` any more.
    void ForgetAllBut(const std::vector<libusb_device*>& attached);

    CLibusbContext& m_context;
    const CDeviceTable& m_table;
    std::map<libusb_device*, std::string> m_paths;
    bool m_forgetGoneOnList = true;
};
