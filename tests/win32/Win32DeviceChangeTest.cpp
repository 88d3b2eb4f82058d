// WM_DEVICECHANGE from the system reaches the device-change window's message
// map: notices of the device's interface class that name the device in use
// close and reopen the link, every other notice is passed on untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/win32/Win32UserApi.h"
#include "support/UsbDeviceFixture.h"

namespace {

const GUID kInterfaceClass = {0xC0558574, 0x212D, 0x4625, {0x88, 0x77, 0xFE, 0x9C, 0x2E, 0x8E, 0xD3, 0x96}};
const GUID kOtherClass = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

class DeviceChangeWindowTest : public UsbDeviceFixture {
protected:
    DeviceChangeWindowTest()
    {
        device.CreateMessageWindow();
        window = ::FindWindowA(nullptr, "TreloxMessageWindow");
    }

    // A notice about the fixture's device, unless `path` names another.
    void Notify(WPARAM event, const GUID& interfaceClass, DWORD deviceType = DBT_DEVTYP_DEVICEINTERFACE,
                const char* path = kDevicePath)
    {
        std::vector<char> bytes(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) + std::strlen(path), '\0');
        auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(bytes.data());
        record->dbcc_size = static_cast<DWORD>(bytes.size());
        record->dbcc_devicetype = deviceType;
        record->dbcc_classguid = interfaceClass;
        std::strcpy(record->dbcc_name, path);
        ::SendMessageA(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record));
    }

    HWND window = nullptr;
};

TEST_F(DeviceChangeWindowTest, RemovalAndArrivalOfTheClassCloseAndReopenTheLink)
{
    ASSERT_NE(window, nullptr);
    OpenLink();
    const std::size_t opensBefore = platform.PipeOpens().size();

    Notify(DBT_DEVICEREMOVECOMPLETE, kInterfaceClass);
    EXPECT_FALSE(device.IsOpen());

    Notify(DBT_DEVICEARRIVAL, kInterfaceClass);
    EXPECT_TRUE(device.IsOpen());
    EXPECT_EQ(platform.PipeOpens().size(), opensBefore + 2) << "both pipes opened again";
}

TEST_F(DeviceChangeWindowTest, OtherClassesTypesEventsAndEmptyNoticesChangeNothing)
{
    ASSERT_NE(window, nullptr);
    OpenLink();
    const std::size_t opensBefore = platform.PipeOpens().size();

    Notify(DBT_DEVICEREMOVECOMPLETE, kOtherClass);
    Notify(DBT_DEVICEREMOVECOMPLETE, kInterfaceClass, DBT_DEVTYP_VOLUME);
    Notify(DBT_DEVICEREMOVECOMPLETE, kInterfaceClass, DBT_DEVTYP_DEVICEINTERFACE,
           "\\\\?\\usb#vid_1234&pid_5678#OTHER1#{c0558574-212d-4625-8877-fe9c2e8ed396}");
    Notify(DBT_DEVICEQUERYREMOVE, kInterfaceClass);
    Notify(DBT_DEVICEREMOVEPENDING, kInterfaceClass);
    ::SendMessageA(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    ::SendMessageA(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_TRUE(device.IsOpen());

    device.Close();
    Notify(DBT_DEVICEARRIVAL, kOtherClass);
    ::SendMessageA(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(platform.PipeOpens().size(), opensBefore);
}

}  // namespace
