// trelox --list: every attached USB device that the device table lists, one
// line each on standard output, with whether the program could use it or
// why not. A device is opened only for the look (its interface claimed and
// let go at once); nothing is sent to it.
//
//   1234:5678  serial SIM0001  port 1-1  \\?\usb#vid_1234&pid_5678#SIM0001#{...}  usable
//   1234:5678  serial none  port 1-2  \\?\usb#...#1-2#{...}  not usable: no permission (...)
#pragma once

#include <ostream>

#include "platform/libusb/CDeviceTableLoader.h"
#include "platform/libusb/CUdevTags.h"

class CDeviceListing {
public:
    explicit CDeviceListing(CDeviceTableLoader tableLoader = CDeviceTableLoader(), CUdevTags udevTags = CUdevTags())
        : m_tableLoader(std::move(tableLoader)), m_udevTags(std::move(udevTags))
    {
    }

    // The lines go to `out`; what a technician must fix (no table, nothing
    // attached, the rules for a permission) to `report`. The exit status: 0
    // when a device is usable, 2 when none is.
    int Run(std::ostream& out, std::ostream& report) const;

private:
    CDeviceTableLoader m_tableLoader;
    CUdevTags m_udevTags;
};
