// The libusb backend of this process against a test's emulated bus: a
// device of the default description at port 1-3, the platform built over it
// with a device table given as the variable's value, installed as the
// platform the device object uses, and a device object for the link; the
// device's pipes at the platform seam, and its device notices taken as the
// window system takes them.
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
    // How often the platform said `text` on its standard error.
    int TimesReported(const std::string& text) const;

    // Both pipes of the listed device, opened as the device object opens
    // them, and an event for the transfers on them.
    void OpenPipes();
    // Closes them: their transfers end first.
    void ClosePipes();
    // Starts a read of `size` bytes into `buffer`; it must be pending.
    void StartRead(void* buffer, DWORD size);

    // Registers kNoticeWindow for notices of the device class.
    void RegisterNotices();
    // The next notice within `timeoutMs`, waiting as the window system does.
    bool NextNotice(DeviceNotice* notice, int timeoutMs);
    // The interface path a notice names; its class must be the devices'.
    static std::string PathOf(const DeviceNotice& notice);

    static const WindowHandle kNoticeWindow;

    EmulatedUsbBus m_bus;
    EmulatedDevice m_device;
    MemoryWindowSystem m_windows;
    std::ostringstream m_report;
    std::unique_ptr<CLibusbPlatform> m_platform;
    // Closed when the fixture goes: a test closes it itself before a device
    // of its own that the link may use goes.
    CUsbDevice m_link;
    // Where a test's reads may go that it leaves running: it outlives them.
    char m_buffer[64] = {};
    HANDLE m_write = INVALID_HANDLE_VALUE;
    HANDLE m_read = INVALID_HANDLE_VALUE;
    HANDLE m_event = nullptr;
    Overlapped m_overlapped = {};
    HANDLE m_registration = nullptr;
};
