// The attached USB devices that the device table lists, each with its
// interface path, serial number and port. What a device is (its path and
// serial number) is worked out once while it is attached (the serial number
// is read from the device), so that the list is cheap to take again and a
// removal notice can still name a device that has gone.
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
        std::string serial;  // empty when it has none that could be read
        std::string port;    // "1-4.2": the bus and the ports on the way
    };

    CListedDevices(CLibusbContext& context, const CDeviceTable& table) : m_context(context), m_table(table) {}
    CListedDevices(const CListedDevices&) = delete;
    CListedDevices& operator=(const CListedDevices&) = delete;
    ~CListedDevices();

    // The listed devices attached now, in byte order of their paths: 0, or
    // the errno of a failed enumeration.
    int List(std::vector<Device>* devices);
    // The table's entry for `device`; null when it is not listed.
    const DeviceTableEntry* EntryOf(libusb_device* device);
    // The path of a listed device: the one it had while attached, else
    // worked out now.
    std::string PathOf(libusb_device* device);
    // The device has gone: what it was is not needed any more.
    void Forget(libusb_device* device);
    // Whether List lets go of devices that have gone; not while hotplug
    // removals, which come later, still have to name them.
    void ForgetGoneOnList(bool forget) { m_forgetGoneOnList = forget; }

    // "/dev/bus/usb/BBB/DDD" of a device.
    static std::string DeviceNode(libusb_device* device);
    // "BUS-P1.P2..." of a device, as the kernel names it in sysfs.
    static std::string PortOf(libusb_device* device);

private:
    struct Identity {
        std::string path;
        std::string serial;
        bool hasSerial = false;
    };

    // What `device` is, worked out when it is first asked about; kept only
    // when the device could be asked (else it may answer later).
    Identity IdentityOf(libusb_device* device);
    // The path from the device's serial number or its port path; `keep`
    // false when the device could not be asked and may answer later.
    std::string WorkOutPath(libusb_device* device, bool* keep) const;
    // The serial number as the system shows it (sysfs), else as the device
    // tells it; false when it has none or it cannot be read.
    static bool ReadSerialNumber(libusb_device* device, std::string* serial);
    // Where the system shows the serial number it read when the device came.
    static std::string SysfsSerialPath(libusb_device* device);
    // Forgets the devices that are not in `attached` any more.
    void ForgetAllBut(const std::vector<libusb_device*>& attached);

    CLibusbContext& m_context;
    const CDeviceTable& m_table;
    std::map<libusb_device*, Identity> m_known;
    bool m_forgetGoneOnList = true;
};
