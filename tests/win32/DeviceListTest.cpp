// The Win32 backend's device list (SetupDi) on simulated interfaces: present
// and absent interfaces, the end of the list, and the detail record's size.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SimulatedDeviceInterface.h"
#include "platform/win32/CWin32Platform.h"

namespace {

// A class of its own for every test, so that no test sees another's devices.
DeviceClassGuid TestClass(BYTE serial)
{
    DeviceClassGuid guid{{0x3B, 0x9F, 0x41, 0x7A, 0x12, 0x6C, 0x4D, 0x4E, 0x9A, 0x51, 0x7E, 0x10, 0x3C, 0xB2, 0x88,
                          serial}};
    return guid;
}

class DeviceListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RunningUnderWine()) {
            GTEST_SKIP() << "registers devices: only in a throw-away Wine prefix";
        }
    }

    void TearDown() override
    {
        if (m_list != INVALID_HANDLE_VALUE) {
            m_platform.DestroyDeviceInfoList(m_list);
        }
    }

    void List(const DeviceClassGuid& interfaceClass)
    {
        m_list = m_platform.GetClassDevs(interfaceClass);
        ASSERT_NE(m_list, INVALID_HANDLE_VALUE) << "error " << m_platform.GetLastError();
    }

    CWin32Platform m_platform;
    HANDLE m_list = INVALID_HANDLE_VALUE;
};

TEST_F(DeviceListTest, PresentInterfaceIsListedWithItsPathAndTheListEnds)
{
    const DeviceClassGuid interfaceClass = TestClass(1);
    SimulatedDeviceInterface device(interfaceClass, "0001");
    ASSERT_TRUE(device.IsRegistered());
    ASSERT_TRUE(device.SetPresent(true));
    List(interfaceClass);

    ASSERT_TRUE(m_platform.EnumDeviceInterface(m_list, interfaceClass, 0));
    EXPECT_FALSE(m_platform.EnumDeviceInterface(m_list, interfaceClass, 1));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));

    char path[512 - 4];
    DWORD required = 0;
    ASSERT_TRUE(m_platform.GetDeviceInterfacePath(m_list, 0, path, 512, &required));
    EXPECT_EQ(std::string(path), device.ExpectedPath());
    EXPECT_EQ(required, 4 + device.ExpectedPath().size() + 1);
}

TEST_F(DeviceListTest, AbsentInterfaceIsNotListed)
{
    const DeviceClassGuid interfaceClass = TestClass(2);
    SimulatedDeviceInterface device(interfaceClass, "0002");
    ASSERT_TRUE(device.IsRegistered());
    ASSERT_TRUE(device.SetPresent(false));
    List(interfaceClass);

    EXPECT_FALSE(m_platform.EnumDeviceInterface(m_list, interfaceClass, 0));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
}

TEST_F(DeviceListTest, RecordOneByteShortFailsAndReportsTheSizeItNeeds)
{
    const DeviceClassGuid interfaceClass = TestClass(3);
    SimulatedDeviceInterface device(interfaceClass, "0003");
    ASSERT_TRUE(device.SetPresent(true));
    List(interfaceClass);
    const DWORD needed = static_cast<DWORD>(4 + device.ExpectedPath().size() + 1);

    char path[512];
    std::memset(path, 'x', sizeof path);
    DWORD required = 0;
    EXPECT_FALSE(m_platform.GetDeviceInterfacePath(m_list, 0, path, needed - 1, &required));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(required, needed);
    EXPECT_EQ(path[0], 'x') << "nothing is copied from a failed fetch";

    required = 0;
    ASSERT_TRUE(m_platform.GetDeviceInterfacePath(m_list, 0, path, needed, &required));
    EXPECT_EQ(std::string(path), device.ExpectedPath());
    EXPECT_EQ(required, needed);
}

TEST_F(DeviceListTest, ReleasedListIsNoLongerUsable)
{
    const DeviceClassGuid interfaceClass = TestClass(4);
    List(interfaceClass);
    HANDLE released = m_list;
    m_platform.DestroyDeviceInfoList(m_list);
    m_list = INVALID_HANDLE_VALUE;

    char path[64];
    DWORD required = 0;
    EXPECT_FALSE(m_platform.GetDeviceInterfacePath(released, 0, path, sizeof path, &required));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
