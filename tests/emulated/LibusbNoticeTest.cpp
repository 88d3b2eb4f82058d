// Arrival and removal notices of the libusb backend for the emulated bus's
// uevents: from libusb's hotplug callbacks, or from the periodic scan where
// there are none; only for listed devices, and only when taken.
#include <gtest/gtest.h>

#include "BackendFixture.h"
#include "platform/PlatformTypes.h"

namespace {

const char kDevicePath[] = "\\\\?\\usb#vid_1234&pid_5678#EMU0001#{c0558574-212d-4625-8877-fe9c2e8ed396}";

class LibusbNoticeTest : public BackendFixture,
                         public ::testing::WithParamInterface<CLibusbNotices::Source> {
protected:
    void Register()
    {
        UsePlatform("1234:5678", GetParam());
        RegisterNotices();
        ASSERT_EQ(GetParam() == CLibusbNotices::Source::Hotplug, m_platform->NoticesUseHotplug());
    }
};

TEST_P(LibusbNoticeTest, TheDeviceLeavingAndComingBackAreOneRemovalAndOneArrival)
{
    Register();
    DeviceNotice notice;
    EXPECT_FALSE(NextNotice(&notice, 100)) << "a device present at the start is no arrival";

    m_bus.Unplug(m_device);
    ASSERT_TRUE(NextNotice(&notice, 3000));
    EXPECT_EQ(kNoticeWindow, notice.window);
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
