// The libusb backend's notices with libusb's event handling, against
// emulated devices: a hotplug callback that runs inside a wait for a
// transfer leaves the notice descriptor readable.
#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <thread>

#include "BackendFixture.h"

namespace {

const char kSecondPath[] = "\\\\?\\usb#vid_1234&pid_5678#EMU0002#{c0558574-212d-4625-8877-fe9c2e8ed396}";
// Long enough for libusb's hotplug thread to have taken a device's uevent.
constexpr auto kUeventTaken = std::chrono::milliseconds(300);

DeviceDescription Second()
{
    DeviceDescription description;
    description.serial = std::u16string(u"EMU0002");
    return description;
}

class LibusbEventsTest : public BackendFixture {
protected:
    // Whether the notice descriptor is readable within `milliseconds`.
    bool DescriptorReadable(int milliseconds)
    {
        pollfd watch = {m_platform->DeviceNoticeDescriptor(), POLLIN, 0};
        return ::poll(&watch, 1, milliseconds) > 0;
    }

    // Takes the notices that wait, so that only what comes later counts.
    void TakeWaitingNotices()
    {
        DeviceNotice notice;
        while (m_platform->TakeDeviceNotice(&notice)) {
            ADD_FAILURE() << "an unexpected notice about " << PathOf(notice);
        }
    }
};

TEST_F(LibusbEventsTest, AnArrivalHeardWhileATransferIsWaitedForLeavesTheDescriptorReadable)
{
    UsePlatform();
    RegisterNotices();
    TakeWaitingNotices();
    OpenPipes();
    StartRead(m_buffer, sizeof m_buffer);
    EmulatedDevice second(Second());
    m_bus.Plug(second, "1-5");
    std::this_thread::sleep_for(kUeventTaken);
    // The wait handles libusb's events, and with them what woke libusb: the
    // hotplug callback runs in it.
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform->WaitForSingleObject(m_event, 100));

    EXPECT_TRUE(DescriptorReadable(0)) << "a notice waits unseen";
    DeviceNotice notice;
    ASSERT_TRUE(m_platform->TakeDeviceNotice(&notice));
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEARRIVAL), notice.eventType);
    EXPECT_EQ(kSecondPath, PathOf(notice));
    m_bus.Unplug(second);
}

}  // namespace
