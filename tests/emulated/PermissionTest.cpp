// A listed device that this user may not open: skipped like any unusable
// one, with its device node and the udev rule that grants access named on
// standard error.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "BackendFixture.h"
#include "bed/ThreadFileAccess.h"
#include "protocol/AckResult.h"
#include "usb/CUsbDevice.h"

namespace {

class PermissionTest : public BackendFixture {};

TEST_F(PermissionTest, ADeviceWithoutPermissionIsSkippedAndTheRuleThatGrantsItIsNamed)
{
    DeviceDescription second;
    second.serial = u"EMU0002";
    EmulatedDevice allowed(second);
    m_bus.Plug(allowed, "1-4");
    ASSERT_EQ(0, ::chmod(m_bus.NodeFileInBed(m_device).c_str(), 0)) << m_bus.NodeFileInBed(m_device);
    const std::string node = m_bus.DeviceNode(m_device);

    ThreadFileAccess asUnprivilegedUser;
    UsePlatform();
    CUsbDevice device;
    ASSERT_EQ(0, device.Open()) << Report();
    EXPECT_EQ("EMU0002", device.GetInstanceId().Bytes()) << "the next listed device";
    EXPECT_EQ(ackAccepted, device.SendLine(CString("S1131000AA")));
    EXPECT_TRUE(m_device.Received().empty());
    EXPECT_EQ("trelox: no permission to use " + node +
                  " (1234:5678); skipped.\n"
                  "trelox: the udev rule that gives the logged-in user access, in /etc/udev/rules.d/70-trelox.rules:\n"
                  "trelox:   SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"1234\", "
                  "ATTR{idProduct}==\"5678\", TAG+=\"uaccess\"\n"
                  "trelox: then run: udevadm control --reload && udevadm trigger (as root), or plug the device in "
                  "again.\n",
              Report());
}

}  // namespace
