// Which device the technician means: serial= in the device table chooses
// one of several of a kind, every run names the device it uses, and
// trelox --list shows each listed device with whether it can be used, or
// why not, without sending anything to any of them.
#include <gtest/gtest.h>

#include <sstream>

#include <sys/stat.h>

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "TempDirectory.h"
#include "bed/ThreadFileAccess.h"
#include "platform/libusb/CDeviceListing.h"

namespace {
const char kPathOf[] = "\\\\?\\usb#vid_1234&pid_5678#";
const char kClassSuffix[] = "#{c0558574-212d-4625-8877-fe9c2e8ed396}";

DeviceDescription WithSerial(const char16_t* serial)
{
    DeviceDescription description;
    description.serial = serial;
    return description;
}

std::string ListingLine(const std::string& serial, const std::string& port, const std::string& state)
{
    return "1234:5678  serial " + serial + "  port " + port + "  " + kPathOf + serial + kClassSuffix + "  " + state +
           "\n";
}

class DeviceChoiceTest : public BackendFixture {
protected:
    DeviceChoiceTest() { m_bus.Plug(m_second, "1-4"); }

    EmulatedDevice m_second{WithSerial(u"EMU0002")};
};

TEST_F(DeviceChoiceTest, SerialInTheTableChoosesTheDeviceAndEveryRunNamesIt)
{
    ASSERT_EQ(0, OpenLink("1234:5678")) << Report();
    EXPECT_EQ("EMU0001", m_link.GetInstanceId().Bytes());
    EXPECT_EQ("trelox: using 1234:5678, serial EMU0001, port 1-3 (the first of 2 listed devices; trelox --list "
              "shows them, serial= in the device table chooses one)\n",
              Report());

    m_report.str("");
    m_link.Close();
    const int requestsBefore = m_device.Requests();
    ASSERT_EQ(0, OpenLink("1234:5678 serial=EMU0002")) << Report();
    EXPECT_EQ("EMU0002", m_link.GetInstanceId().Bytes());
    EXPECT_EQ("trelox: using 1234:5678, serial EMU0002, port 1-4\n", Report());
    EXPECT_EQ(requestsBefore, m_device.Requests()) << "the other device is not even opened";

    m_report.str("");
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, OpenLink("1234:5678 serial=EMU0003"));
    EXPECT_EQ("trelox: none of the devices listed in TRELOX_USB_DEVICES is attached.\n", Report());
}

TEST_F(DeviceChoiceTest, TheListShowsWhyADeviceCannotBeUsedAndSendsNothing)
{
    EmulatedDevice held(WithSerial(u"EMU0003"));
    held.HoldInterfaceElsewhere(true);
    m_bus.Plug(held, "1-5");
    DeviceDescription twoEndpoints = WithSerial(u"EMU0004");
    twoEndpoints.alternates = {{{0x81, 2}, {0x01, 2}}};
    EmulatedDevice unfit(twoEndpoints);
    m_bus.Plug(unfit, "1-6");
    ASSERT_EQ(0, ::chmod(m_bus.NodeFileInBed(m_second).c_str(), 0));

    std::ostringstream out;
    std::ostringstream report;
    {
        ThreadFileAccess asUnprivilegedUser;
        EXPECT_EQ(0, CDeviceListing(CDeviceTableLoader("1234:5678", "", "")).Run(out, report));
    }
    EXPECT_EQ(ListingLine("EMU0001", "1-3", "usable") +
                  ListingLine("EMU0002", "1-4", "not usable: no permission (the udev rule that gives it follows on "
                                                "standard error)") +
                  ListingLine("EMU0003", "1-5", "not usable: interface 0 is in use by another program") +
                  ListingLine("EMU0004", "1-6", "not usable: PIPE02, the endpoint at index 2, is not there: "
                                                "interface 0 has 2 endpoints; PIPE02 must be a bulk OUT endpoint"),
              out.str());
    EXPECT_EQ(0u, report.str().find("trelox: no permission to use " + m_bus.DeviceNode(m_second))) << report.str();
    for (const EmulatedDevice* device : {&m_device, &m_second, &held, &unfit}) {
        EXPECT_TRUE(device->Received().empty());
        EXPECT_EQ(0, device->ClaimedInterfaces()) << "let go after the look";
    }
}

TEST_F(DeviceChoiceTest, TheListEndsWithStatus2WhenNoListedDeviceCanBeUsed)
{
    TempDirectory temp;
    const std::string trelox = TRELOX_PATH;
    ChildProcess onlyHeld(trelox, {{"TRELOX_USB_DEVICES", "1234:5678 serial=EMU0002"}, {"TRELOX_USB_BUS", ""}},
                          temp.File("held.out"));
    m_second.HoldInterfaceElsewhere(true);
    EXPECT_EQ(2, onlyHeld.Run({"--list"}, 10000));
    EXPECT_EQ(ListingLine("EMU0002", "1-4", "not usable: interface 0 is in use by another program"),
              onlyHeld.Output());

    ChildProcess none(trelox, {{"TRELOX_USB_DEVICES", "abcd:ef01"}, {"TRELOX_USB_BUS", ""}}, temp.File("none.out"));
    EXPECT_EQ(2, none.Run({"--list"}, 10000));
    EXPECT_EQ("trelox: none of the devices listed in TRELOX_USB_DEVICES is attached.\n", none.Output());
}

}  // namespace
