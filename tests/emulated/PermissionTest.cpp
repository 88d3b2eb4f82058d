// A listed device that this user may not open: skipped like any unusable
// one, with its device node and the udev rules that grant access named on
// standard error: the one for the user at the machine, or, where that rule
// is in place already and the user is still refused (a login over the
// network), the one for a group.
#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>

#include "BackendFixture.h"
#include "TempDirectory.h"
#include "bed/ThreadFileAccess.h"
#include "protocol/AckResult.h"
#include "usb/CUsbDevice.h"

namespace {

const char kUaccessRule[] =
    "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"1234\", ATTR{idProduct}==\"5678\", "
    "TAG+=\"uaccess\"";
const char kGroupRule[] =
    "trelox:   SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"1234\", "
    "ATTR{idProduct}==\"5678\", MODE=\"0660\", GROUP=\"plugdev\"\n"
    "trelox: and put the user in that group (as root: adduser USER plugdev; it counts from the next login).\n"
    "trelox: then, as root: udevadm control --reload && udevadm trigger (or plug the device in again).\n";

class PermissionTest : public BackendFixture {
protected:
    // The first device may not be opened; a second one, EMU0002, may.
    void RefuseFirstDevice()
    {
        m_bus.Plug(m_allowed, "1-4");
        ASSERT_EQ(0, ::chmod(m_bus.NodeFileInBed(m_device).c_str(), 0)) << m_bus.NodeFileInBed(m_device);
    }

    // What udev's database says of the first device's node: tagged "uaccess".
    std::string TaggedUdevData()
    {
        const std::string node = m_bus.DeviceNode(m_device);
        const int minor = std::stoi(node.substr(node.size() - 3)) - 1;
        std::ofstream(m_temp.File("c189:" + std::to_string(minor))) << "I:123\nE:ID_VENDOR=1234\nG:uaccess\n";
        return m_temp.Path();
    }

    static DeviceDescription Second()
    {
        DeviceDescription second;
        second.serial = u"EMU0002";
        return second;
    }

    TempDirectory m_temp;
    EmulatedDevice m_allowed{Second()};
};

TEST_F(PermissionTest, ADeviceWithoutPermissionIsSkippedAndBothRulesThatGrantItAreNamed)
{
    RefuseFirstDevice();
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
                  "trelox: the udev rule that gives the user logged in at this machine access, in "
                  "/etc/udev/rules.d/70-trelox.rules:\n"
                  "trelox:   " + std::string(kUaccessRule) + "\n"
                  "trelox: or, for logins over the network, the rule that lets a group use it:\n" + kGroupRule +
                  "trelox: using 1234:5678, serial EMU0002, port 1-4 (the first of 2 listed devices; trelox --list "
                  "shows them, serial= in the device table chooses one)\n",
              Report());
}

TEST_F(PermissionTest, ATaggedDeviceThatIsStillRefusedGetsTheGroupRule)
{
    RefuseFirstDevice();
    const std::string node = m_bus.DeviceNode(m_device);
    const std::string udevData = TaggedUdevData();

    ThreadFileAccess asUnprivilegedUser;
    UsePlatform(CDeviceTableLoader("1234:5678", "", ""), CLibusbNotices::Source::Hotplug, CUdevTags(udevData));
    CUsbDevice device;
    ASSERT_EQ(0, device.Open()) << Report();
    EXPECT_EQ(0u, Report().find("trelox: no permission to use " + node +
                                " (1234:5678); skipped.\n"
                                "trelox: its udev rule tags it \"uaccess\", which gives access only to a user "
                                "logged in at this machine's own screen or console, not over the network.\n"
                                "trelox: for any other login, let a group use it instead, in "
                                "/etc/udev/rules.d/70-trelox.rules:\n" +
                                std::string(kGroupRule)))
        << Report();
}

}  // namespace
