// One listed device opened for its pipes: the device handle and the claimed
// interface, shared by the pipe to the device and the pipe from it. A kernel
// driver bound to the interface is detached for the time of the link and
// attached again when the last pipe has closed.
//
// Pipe "\PIPEnn" is the endpoint at index nn (from 0, in descriptor order) of
// the interface's current alternate setting, as Windows drivers that name
// bulk pipes by index count them; the table's out= and in= name the
// endpoints of the pipes to and from the device instead.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/PlatformTypes.h"
#include "platform/libusb/CDeviceTable.h"

class CDeviceSetupReport;
struct libusb_device;
struct libusb_device_handle;

class CLibusbDeviceLink {
public:
    CLibusbDeviceLink(const CLibusbDeviceLink&) = delete;
    CLibusbDeviceLink& operator=(const CLibusbDeviceLink&) = delete;
    ~CLibusbDeviceLink();

    // Opens `device` and claims the entry's interface: 0 with the link, or
    // an errno (EACCES without permission). Why a device cannot be used goes
    // to `report`.
    static int Open(libusb_device* device, const DeviceTableEntry& entry, CDeviceSetupReport& report,
                    std::shared_ptr<CLibusbDeviceLink>* link);

    libusb_device* Device() const { return m_device; }
    libusb_device_handle* Handle() const { return m_handle; }

    // The endpoint address of pipe `pipeIndex` opened for `access`: true, or
    // false when there is no bulk endpoint of that direction for it (said
    // to the report).
    bool FindPipeEndpoint(int pipeIndex, PipeAccess access, CDeviceSetupReport& report,
                          std::uint8_t* address) const;

private:
    struct Endpoint {
        std::uint8_t address;
        std::uint8_t attributes;
    };

    CLibusbDeviceLink(libusb_device* device, libusb_device_handle* handle, const DeviceTableEntry& entry);
    // Claims the interface and learns the endpoints of its current alternate
    // setting: 0 or an errno, its reason in *reason.
    int Claim(std::string* reason);
    int CurrentAlternateSetting(int settings) const;
    void Skip(CDeviceSetupReport& report, const std::string& reason) const;

    libusb_device* m_device;
    libusb_device_handle* m_handle;
    DeviceTableEntry m_entry;
    bool m_claimed = false;
    std::vector<Endpoint> m_endpoints;
};
