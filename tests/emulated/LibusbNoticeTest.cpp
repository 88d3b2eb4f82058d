// Arrival and removal notices of the libusb backend for the emulated bus's
// uevents: from libusb's hotplug callbacks, or from the periodic scan where
// there are none; only for listed devices, and only when taken.
#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <cstring>

#include "BackendFixture.h"
#include "platform/PlatformTypes.h"
#include "usb/DeviceContract.h"

namespace {

const WindowHandle kWindow = reinterpret_cast<WindowHandle>(0x4711);
const char kDevicePath[] = "\\\\?\\usb#vid_1234&pid_5678#EMU0001#{c0558574-212d-4625-8877-fe9c2e8ed396}";

class LibusbNoticeTest : public BackendFixture,
                         public ::testing::WithParamInterface<CLibusbNotices::Source> {
protected:
    void Register()
    {
        UsePlatform("1234:5678", GetParam());
        DevBroadcastDeviceInterface filter = {};
        filter.dbcc_size = 32;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = kDeviceInterfaceClass;
        m_registration = m_platform->RegisterDeviceNotification(kWindow, filter);
        ASSERT_NE(nullptr, m_registration);
        ASSERT_GE(m_platform->DeviceNoticeDescriptor(), 0);
        ASSERT_EQ(GetParam() == CLibusbNotices::Source::Hotplug, m_platform->NoticesUseHotplug());
    }

    // The next notice within `timeoutMs`, waiting as the window system does.
    bool NextNotice(DeviceNotice* notice, int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!m_platform->TakeDeviceNotice(notice)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            pollfd watch = {m_platform->DeviceNoticeDescriptor(), POLLIN, 0};
            ::poll(&watch, 1, static_cast<int>(left.count()));
        }
        return true;
    }

    static std::string PathOf(const DeviceNotice& notice)
    {
        const auto* record = reinterpret_cast<const DevBroadcastDeviceInterface*>(notice.record.data());
        EXPECT_EQ(0, std::memcmp(&record->dbcc_classguid, &kDeviceInterfaceClass, sizeof kDeviceInterfaceClass));
        return record->dbcc_name;
    }

    HANDLE m_registration = nullptr;
};

TEST_P(LibusbNoticeTest, TheDeviceLeavingAndComingBackAreOneRemovalAndOneArrival)
{
    Register();
    DeviceNotice notice;
    EXPECT_FALSE(NextNotice(&notice, 100)) << "a device present at the start is no arrival";

    m_bus.Unplug(m_device);
    ASSERT_TRUE(NextNotice(&notice, 3000));
    EXPECT_EQ(kWindow, notice.window);
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE), notice.eventType);
    EXPECT_EQ(kDevicePath, PathOf(notice));

    m_bus.PlugInAgain(m_device);
    ASSERT_TRUE(NextNotice(&notice, 3000));
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEARRIVAL), notice.eventType);
    EXPECT_EQ(kDevicePath, PathOf(notice));
    EXPECT_FALSE(NextNotice(&notice, 700)) << "one notice each";
}

TEST_P(LibusbNoticeTest, AnUnlistedDeviceComingAndGoingIsNoNoticeAndNothingComesAfterUnregistering)
{
    Register();
    DeviceDescription other;
    other.productId = 0x9999;
    EmulatedDevice unlisted(other);
    m_bus.Plug(unlisted, "1-2");
    DeviceNotice notice;
    EXPECT_FALSE(NextNotice(&notice, 800));
    m_bus.Unplug(unlisted);
    EXPECT_FALSE(NextNotice(&notice, 800));
    EXPECT_EQ(0, unlisted.Requests());

    EXPECT_TRUE(m_platform->UnregisterDeviceNotification(m_registration));
    EXPECT_EQ(-1, m_platform->DeviceNoticeDescriptor());
    m_bus.Unplug(m_device);
    EXPECT_FALSE(m_platform->TakeDeviceNotice(&notice));
}

INSTANTIATE_TEST_SUITE_P(HotplugAndScan, LibusbNoticeTest,
                         ::testing::Values(CLibusbNotices::Source::Hotplug, CLibusbNotices::Source::PeriodicScan),
                         [](const ::testing::TestParamInfo<CLibusbNotices::Source>& source) {
                             return source.param == CLibusbNotices::Source::Hotplug ? "Hotplug" : "PeriodicScan";
                         });

}  // namespace
