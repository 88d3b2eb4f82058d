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

struct libusb_device;
struct libusb_device_handle;

class CLibusbDeviceLink {
public:
    CLibusbDeviceLink(const CLibusbDeviceLink&) = delete;
    CLibusbDeviceLink& operator=(const CLibusbDeviceLink&) = delete;
    ~CLibusbDeviceLink();

    // Opens `device` and claims the entry's interface: 0 with the link, or
    // an errno (EACCES without permission) with why the device cannot be
    // used in *reason.
    static int Open(libusb_device* device, const DeviceTableEntry& entry, std::string* reason,
                    std::shared_ptr<CLibusbDeviceLink>* link);

    libusb_device* Device() const { return m_device; }
    const DeviceTableEntry& Entry() const { return m_entry; }
    libusb_device_handle* Handle() const { return m_handle; }

    // The endpoint address of pipe `pipeIndex` opened for `access`: true, or
    // false when there is no bulk endpoint of that direction for it, with
    // why in *reason.
    bool FindPipeEndpoint(int pipeIndex, PipeAccess access, std::string* reason, std::uint8_t* address) const;
    // Makes a pipe's endpoint ready for the program's first request: a halt
    // that a run before left is cleared, and from the device, whatever waits
    // unasked (an answer that came after its read was given up) is read and
    // dropped. The exchange is strictly request, then answer, so nothing can
    // be waiting rightly.
    void Refresh(std::uint8_t address) const;
    // Whether the device has left the bus: asked after a transfer failed
    // with an I/O error, which a host controller may report before the
    // system notices that the device was unplugged.
    bool HasGone() const;

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

    libusb_device* m_device;
    libusb_device_handle* m_handle;
    DeviceTableEntry m_entry;
    bool m_claimed = false;
    std::vector<Endpoint> m_endpoints;
};
