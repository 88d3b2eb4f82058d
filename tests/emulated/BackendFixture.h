// The libusb backend of this process against a test's emulated bus: a
// device of the default description at port 1-3, the platform built over it
// with a device table given as the variable's value, installed as the
// platform the device object uses, and a device object for the link.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "bed/EmulatedUsbBus.h"
#include "platform/libusb/CLibusbPlatform.h"
#include "support/MemoryWindowSystem.h"
#include "usb/CUsbDevice.h"

class BackendFixture : public ::testing::Test {
protected:
    BackendFixture();
    ~BackendFixture() override;

    // A platform reading its table from `table`; installed until the next.
    // The link is closed first: its pipes belong to the platform before.
    CLibusbPlatform& UsePlatform(const std::string& table = "1234:5678",
                                 CLibusbNotices::Source notices = CLibusbNotices::Source::Hotplug);
    // The same with the table from the places of `loader`, and udev's
    // database as `udevTags` reads it.
    CLibusbPlatform& UsePlatform(CDeviceTableLoader loader,
                                 CLibusbNotices::Source notices = CLibusbNotices::Source::Hotplug,
                                 CUdevTags udevTags = CUdevTags());
    // Opens the link on a new platform reading `table`: 0 or its error.
    int OpenLink(const std::string& table = "1234:5678");
    // The interface paths the platform lists now.
    std::vector<std::string> ListedPaths();
    // What the platform said on its standard error.
    std::string Report() const { return m_report.str(); }

    EmulatedUsbBus m_bus;
    EmulatedDevice m_device;
    MemoryWindowSystem m_windows;
    std::ostringstream m_report;
    std::unique_ptr<CLibusbPlatform> m_platform;
    // Closed when the fixture goes: a test closes it itself before a device
    // of its own that the link may use goes.
    CUsbDevice m_link;
};
