// umockdev's test bed with one USB bus (bus 1, its root hub at address 1) on
// which tests plug emulated devices in at a port, unplug them and plug them
// in again, with the kernel's uevents that tell libusb's hotplug about it.
// One per process at a time: the test bed is the process's /sys and /dev.
#pragma once

#include <map>
#include <set>
#include <string>

#include "EmulatedDevice.h"

typedef struct _UMockdevTestbed UMockdevTestbed;

class EmulatedUsbBus {
public:
    EmulatedUsbBus();
    EmulatedUsbBus(const EmulatedUsbBus&) = delete;
    EmulatedUsbBus& operator=(const EmulatedUsbBus&) = delete;
    ~EmulatedUsbBus();

    // Plugs `device` in at `port` ("1-3", "1-4.2": the hubs on the way are
    // added), as a new device address. The device object must outlive its
    // time on the bus.
    void Plug(EmulatedDevice& device, const std::string& port);
    // The device leaves the bus: it vanishes (its waiting URBs end with
    // `urbStatus`), the remove uevent is sent and its entries are taken away.
    void Unplug(EmulatedDevice& device, int urbStatus = kDisconnected);
    // What a disconnect gives URBs back with.
    static const int kDisconnected;
    // The device comes back at the port it left, with the next address.
    void PlugInAgain(EmulatedDevice& device);

    // "/dev/bus/usb/001/DDD" of a plugged device, and its file in the bed.
    std::string DeviceNode(const EmulatedDevice& device) const;
    std::string NodeFileInBed(const EmulatedDevice& device) const;

private:
    struct Plugged {
        std::string port;
        std::string sysfsPath;
        int address;
        bool unplugged;
    };

    // `serial`: the serial number attribute as the kernel shows it; empty: none.
    void AddEntry(const std::string& sysfsPath, int address, const std::string& descriptorsHex,
                  const std::string& serial = std::string());
    void AddHubsFor(const std::string& port);

    UMockdevTestbed* m_testbed;
    std::string m_root;
    int m_nextAddress = 2;
    std::set<std::string> m_hubs;
    std::map<const EmulatedDevice*, Plugged> m_plugged;
};
