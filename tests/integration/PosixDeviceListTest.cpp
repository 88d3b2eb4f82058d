// The POSIX platform's device list on the simulated bus: which names count as
// present devices, their order, and the detail record's size rules.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "PosixTestBus.h"
#include "platform/CPlatform.h"

namespace {

const DeviceClassGuid kInterfaceClass = {{0x74, 0x85, 0x55, 0xC0, 0x2D, 0x21, 0x25, 0x46, 0x88, 0x77, 0xFE, 0x9C,
                                          0x2E, 0x8E, 0xD3, 0x96}};

std::vector<std::string> ListPresent(CPlatform& platform)
{
    std::vector<std::string> paths;
    const HANDLE list = platform.GetClassDevs(kInterfaceClass);
    EXPECT_NE(INVALID_HANDLE_VALUE, list);
    for (DWORD index = 0; platform.EnumDeviceInterface(list, kInterfaceClass, index); ++index) {
        char record[512];
        DWORD required = 0;
        EXPECT_TRUE(platform.GetDeviceInterfacePath(list, index, record + 4, sizeof(record), &required));
        paths.push_back(record + 4);
    }
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), platform.GetLastError());
    platform.DestroyDeviceInfoList(list);
    return paths;
}

TEST(PosixDeviceListTest, AMissingBusIsAnEmptyList)
{
    PosixTestBus bus;
    CPlatform& platform = BuildPlatform();
    EXPECT_TRUE(ListPresent(platform).empty());
    struct stat info;
    EXPECT_NE(0, ::stat(bus.BusPath().c_str(), &info)) << "listing alone creates nothing";
}

TEST(PosixDeviceListTest, OnlyMarkersCountAndTheyComeInByteOrder)
{
    PosixTestBus bus;
    bus.CreateBus();
    const std::string suffix = PosixTestBus::kClassSuffix;
    bus.PutMarker("b#x#1" + suffix);
    bus.PutMarker("\xC4#x#2" + suffix);
    bus.PutMarker("a#x#3" + suffix);
    bus.PutMarker("A#x#4#{C0558574-212D-4625-8877-FE9C2E8ED396}");
    bus.PutFile(".hidden#x#5" + suffix);
    bus.PutFile("c#x#6" + suffix + ".tmp");
    bus.PutFile("notes.txt");
    bus.PutFile("d#x#7#{00000000-212d-4625-8877-fe9c2e8ed396}");
    ASSERT_EQ(0, ::mkdir((bus.BusPath() + "/e#x#8" + suffix).c_str(), 0700));
    ASSERT_EQ(0, ::symlink((bus.BusPath() + "/notes.txt").c_str(), (bus.BusPath() + "/f#x#9" + suffix).c_str()));

    const std::vector<std::string> expected = {"A#x#4#{C0558574-212D-4625-8877-FE9C2E8ED396}", "a#x#3" + suffix,
                                               "b#x#1" + suffix, "\xC4#x#2" + suffix};
    EXPECT_EQ(expected, ListPresent(BuildPlatform()));
}

TEST(PosixDeviceListTest, TheDetailRecordMustHoldHeaderPathAndTerminator)
{
    PosixTestBus bus;
    bus.CreateBus();
    const std::string path = "\\\\?\\usb#vid_1234&pid_5678#SIM0001" + std::string(PosixTestBus::kClassSuffix);
    bus.PutMarker(path);
    CPlatform& platform = BuildPlatform();
    const HANDLE list = platform.GetClassDevs(kInterfaceClass);
    ASSERT_NE(INVALID_HANDLE_VALUE, list);
    const DWORD needed = static_cast<DWORD>(4 + path.size() + 1);
    std::vector<char> record(needed + 8, '#');

    DWORD required = 0;
    EXPECT_FALSE(platform.GetDeviceInterfacePath(list, 0, record.data() + 4, needed - 1, &required));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), platform.GetLastError());
    EXPECT_EQ(needed, required);
    EXPECT_EQ('#', record[4]) << "nothing copied into a record that is too small";

    required = 0;
    EXPECT_TRUE(platform.GetDeviceInterfacePath(list, 0, record.data() + 4, needed, &required));
    EXPECT_EQ(needed, required);
    EXPECT_EQ(path, std::string(record.data() + 4));
    EXPECT_EQ('#', record[needed]) << "nothing written past the record";

    EXPECT_FALSE(platform.GetDeviceInterfacePath(list, 1, record.data() + 4, needed, &required));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), platform.GetLastError());
    platform.DestroyDeviceInfoList(list);
    EXPECT_FALSE(platform.EnumDeviceInterface(list, kInterfaceClass, 0));
    EXPECT_EQ(static_cast<DWORD>(EBADF), platform.GetLastError());
}

TEST(PosixDeviceListTest, AnotherClassHasNoDevicesOnTheBus)
{
    PosixTestBus bus;
    bus.CreateBus();
    bus.PutMarker("a#x#1" + std::string(PosixTestBus::kClassSuffix));
    CPlatform& platform = BuildPlatform();
    DeviceClassGuid otherClass = kInterfaceClass;
    otherClass.bytes[0] ^= 0xFF;
    const HANDLE list = platform.GetClassDevs(otherClass);
    ASSERT_NE(INVALID_HANDLE_VALUE, list);
    EXPECT_FALSE(platform.EnumDeviceInterface(list, otherClass, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), platform.GetLastError());
    platform.DestroyDeviceInfoList(list);
}

}  // namespace
