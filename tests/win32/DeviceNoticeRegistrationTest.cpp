// The Win32 backend's registration for device notices of the interface
// class: the system takes the shared filter record as its own.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32/CWin32Platform.h"

namespace {

TEST(DeviceNoticeRegistrationTest, WindowRegistersForTheClassAndGivesItUp)
{
    CWin32Platform platform;
    HWND window = ::CreateWindowExA(0, "STATIC", "TreloxTestWindow", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);

    DevBroadcastDeviceInterface filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    const BYTE interfaceClass[16] = {0x74, 0x85, 0x55, 0xC0, 0x2D, 0x21, 0x25, 0x46,
                                     0x88, 0x77, 0xFE, 0x9C, 0x2E, 0x8E, 0xD3, 0x96};
    std::memcpy(filter.dbcc_classguid.bytes, interfaceClass, sizeof interfaceClass);
    EXPECT_EQ(filter.dbcc_size, 32u);

    HANDLE registration = platform.RegisterDeviceNotification(window, filter);
    ASSERT_NE(registration, nullptr) << "error " << platform.GetLastError();
    EXPECT_TRUE(platform.UnregisterDeviceNotification(registration));

    // Notices come to the window as messages; nothing is there to collect.
    EXPECT_EQ(platform.DeviceNoticeDescriptor(), -1);
    DeviceNotice notice;
    EXPECT_FALSE(platform.TakeDeviceNotice(&notice));
    ::DestroyWindow(window);
}

}  // namespace
