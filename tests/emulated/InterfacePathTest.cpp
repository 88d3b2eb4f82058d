// The interface paths of real devices in the Windows form: the serial number
// as the instance id where Windows would take it, else the port path, which
// a device keeps when it comes back in the same port; listed in byte order.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BackendFixture.h"

namespace {

const char kPrefix[] = "\\\\?\\usb#vid_1234&pid_5678#";
const char kSuffix[] = "#{c0558574-212d-4625-8877-fe9c2e8ed396}";

std::string PathWith(const std::string& instance)
{
    return kPrefix + instance + kSuffix;
}

DeviceDescription WithSerial(std::optional<std::u16string> serial)
{
    DeviceDescription description;
    description.serial = std::move(serial);
    return description;
}

class InterfacePathTest : public BackendFixture {
protected:
    // libusb's hotplug thread learns of plugged devices from their uevents.
    bool ListedPathsBecome(const std::vector<std::string>& expected)
    {
        for (int attempt = 0; attempt < 250; ++attempt) {
            if (ListedPaths() == expected) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
};

TEST_F(InterfacePathTest, AValidSerialIsTheInstanceAndOthersFallBackToThePortPath)
{
    EmulatedDevice withHash(WithSerial(u"AB#12"));
    EmulatedDevice withBlank(WithSerial(u"AB 12"));
    EmulatedDevice withUmlaut(WithSerial(u"AB\u00c412"));
    EmulatedDevice withComma(WithSerial(u"AB,12"));
    EmulatedDevice withoutSerial(WithSerial(std::nullopt));
    EmulatedDevice emptySerial(WithSerial(u""));
    m_bus.Plug(withHash, "1-1");
    m_bus.Plug(withBlank, "1-2");
    m_bus.Plug(withUmlaut, "1-4.2");
    m_bus.Plug(withComma, "1-4.3");
    m_bus.Plug(withoutSerial, "1-4.4.1");
    m_bus.Plug(emptySerial, "1-6");
    UsePlatform();
    // Byte order: digits before letters.
    EXPECT_EQ((std::vector<std::string>{PathWith("1-1"), PathWith("1-2"), PathWith("1-4.2"), PathWith("1-4.3"),
                                        PathWith("1-4.4.1"), PathWith("1-6"), PathWith("EMU0001")}),
              ListedPaths());
}

TEST_F(InterfacePathTest, ADeviceKeepsItsPathWhenItComesBackInTheSamePort)
{
    EmulatedDevice withoutSerial(WithSerial(std::nullopt));
    m_bus.Plug(withoutSerial, "1-4.2");
    UsePlatform();
    const std::vector<std::string> before = ListedPaths();
    EXPECT_EQ((std::vector<std::string>{PathWith("1-4.2"), PathWith("EMU0001")}), before);
    m_bus.Unplug(withoutSerial);
    m_bus.Unplug(m_device);
    EXPECT_TRUE(ListedPathsBecome({}));
    // Back with new device addresses, as after their own programming.
    m_bus.PlugInAgain(withoutSerial);
    m_bus.PlugInAgain(m_device);
    EXPECT_TRUE(ListedPathsBecome(before));
}

TEST_F(InterfacePathTest, OnlyListedDevicesAreListedAndNoTableListsNothing)
{
    DeviceDescription other;
    other.productId = 0x9999;
    EmulatedDevice unlisted(other);
    m_bus.Plug(unlisted, "1-2");
    UsePlatform("1234:5678");
    EXPECT_EQ(std::vector<std::string>{PathWith("EMU0001")}, ListedPaths());
    EXPECT_EQ(0, unlisted.Requests()) << "not even asked for its serial number";

    UsePlatform(CDeviceTableLoader(std::nullopt, "/nonexistent/user/devices", "/nonexistent/etc/devices"));
    EXPECT_TRUE(ListedPaths().empty());
    EXPECT_NE(std::string::npos,
              Report().find("trelox: no device table, so no USB device is used. Looked at the variable "
                            "TRELOX_USB_DEVICES, then /nonexistent/user/devices, then /nonexistent/etc/devices."))
        << Report();
}

}  // namespace
