// The libusb backend used as libusb's documentation says, against emulated
// devices: the descriptors it polls come from libusb's pollfd notifiers, also
// those added later; a failing round of libusb's event
// handling is reported once and not spun on; the hotplug registration names
// the devices present itself, so that a device attached just before it is
// neither missed nor announced twice; a hotplug callback that runs inside a
// wait for a transfer leaves the notice descriptor readable.
#include <gtest/gtest.h>

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include <libusb.h>

#include "BackendFixture.h"
#include "platform/libusb/CLibusbContext.h"

namespace {

const char kSecondPath[] = "\\\\?\\usb#vid_1234&pid_5678#EMU0002#{c0558574-212d-4625-8877-fe9c2e8ed396}";
const char kEventsFailed[] = "USB events cannot be handled";
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

// Told what libusb's pollfd notifiers tell.
class DescriptorRecorder : public CLibusbContext::DescriptorWatcher {
public:
    void DescriptorAdded(int descriptor, short events) override { added.emplace_back(descriptor, events); }
    void DescriptorRemoved(int descriptor) override { removed.push_back(descriptor); }

    std::vector<std::pair<int, short>> added;
    std::vector<int> removed;
};

TEST_F(LibusbEventsTest, TheDescriptorsOfTheContextAreThoseInUseThenEachOneLibusbAddsOrRemoves)
{
    CLibusbContext context(m_report);
    ASSERT_EQ(0, context.Open());
    DescriptorRecorder recorder;
    context.SetDescriptorWatcher(&recorder);
    ASSERT_FALSE(recorder.added.empty()) << "libusb's own, from the start";
    const std::size_t atStart = recorder.added.size();

    // Opening a device gives libusb the device's descriptor to poll.
    libusb_device_handle* handle = libusb_open_device_with_vid_pid(context.Get(), 0x1234, 0x5678);
    ASSERT_NE(nullptr, handle);
    ASSERT_EQ(atStart + 1, recorder.added.size());
    const int deviceDescriptor = recorder.added.back().first;
    EXPECT_NE(0, recorder.added.back().second & POLLOUT);
    libusb_close(handle);
    EXPECT_EQ(std::vector<int>{deviceDescriptor}, recorder.removed);

    // Without a watcher nobody is told; the next one hears of what is in use.
    context.SetDescriptorWatcher(nullptr);
    handle = libusb_open_device_with_vid_pid(context.Get(), 0x1234, 0x5678);
    ASSERT_NE(nullptr, handle);
    DescriptorRecorder next;
    context.SetDescriptorWatcher(&next);
    EXPECT_EQ(atStart + 1, next.added.size());
    context.SetDescriptorWatcher(nullptr);
    libusb_close(handle);
    EXPECT_EQ(atStart + 1, recorder.added.size());
}

TEST_F(LibusbEventsTest, AFailingEventHandlingInAWaitIsReportedOnceAndNotSpunOn)
{
    UsePlatform();
    OpenPipes();
    StartRead(m_buffer, sizeof m_buffer);
    m_device.FailReaps(EIO);
    const int reapsBefore = m_device.Reaps();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform->WaitForSingleObject(m_event, 500));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform->WaitForSingleObject(m_event, 200));
    // One round of event handling per pause at most, not as fast as it fails.
    const int reaps = m_device.Reaps() - reapsBefore;
    EXPECT_GE(reaps, 1);
    EXPECT_LE(reaps, 40);
    EXPECT_EQ(1, TimesReported(kEventsFailed)) << Report();

    // Once libusb's events can be handled again, the cancel sees its end.
    m_device.FailReaps(0);
    m_platform->CancelTransfer(m_read, &m_overlapped);
    DWORD count = 0;
    EXPECT_FALSE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), m_platform->GetLastError());
    EXPECT_EQ(1, TimesReported(kEventsFailed)) << Report();
}

TEST_F(LibusbEventsTest, AFailingEventHandlingTurnsTheNoticesToTheScanWithoutSpinning)
{
    UsePlatform();
    RegisterNotices();
    ASSERT_TRUE(m_platform->NoticesUseHotplug());
    OpenPipes();
    StartRead(m_buffer, sizeof m_buffer);
    m_device.FailReaps(EIO);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform->WaitForSingleObject(m_event, 100));

    // The window system's loop for a while: it sleeps, it does not spin.
    int rounds = 0;
    DeviceNotice notice;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < end) {
        ++rounds;
        EXPECT_FALSE(m_platform->TakeDeviceNotice(&notice));
        DescriptorReadable(100);
    }
    EXPECT_LE(rounds, 12);
    EXPECT_FALSE(m_platform->NoticesUseHotplug());
    EXPECT_EQ(1, TimesReported(kEventsFailed)) << Report();

    // The scan still tells of the device leaving.
    m_device.FailReaps(0);
    ClosePipes();
    m_bus.Unplug(m_device);
    ASSERT_TRUE(NextNotice(&notice, 3000));
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE), notice.eventType);
}

TEST_F(LibusbEventsTest, ADeviceAttachedJustBeforeRegisteringIsPresentAndItsRemovalIsOneNotice)
{
    UsePlatform();
    ASSERT_EQ(1u, ListedPaths().size()) << Report();
    // libusb knows the device and still holds its arrival for the callbacks.
    EmulatedDevice second(Second());
    m_bus.Plug(second, "1-5");
    std::this_thread::sleep_for(kUeventTaken);
    RegisterNotices();
    DeviceNotice notice;
    EXPECT_FALSE(NextNotice(&notice, 300)) << "an arrival of " << PathOf(notice);

    m_bus.Unplug(second);
    ASSERT_TRUE(NextNotice(&notice, 3000));
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE), notice.eventType);
    EXPECT_EQ(kSecondPath, PathOf(notice));
    EXPECT_FALSE(NextNotice(&notice, 300)) << "one notice only";
}

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
