// The parts of the fake platform that other tests lean on without this
// folder's code exercising them: memory files with their faults, device
// notices for registered windows, and the virtual clock.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/FakePlatform.h"
#include "usb/DeviceContract.h"

namespace {

const char kDevice[] = "\\\\?\\usb#vid_1234&pid_5678#SIM1#{c0558574-212d-4625-8877-fe9c2e8ed396}";

std::string ReadAll(FakePlatform& platform, HANDLE file, DWORD chunk, BOOL* ok)
{
    std::string bytes;
    char buffer[64];
    DWORD read = 0;
    while ((*ok = platform.ReadFileBytes(file, buffer, chunk, &read)) && read > 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

DevBroadcastDeviceInterface ClassFilter()
{
    DevBroadcastDeviceInterface filter = {};
    filter.dbcc_size = 32;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kDeviceInterfaceClass;
    return filter;
}

}  // namespace

TEST(FakePlatformFiles, ExclusiveOpenAndReadFaults)
{
    FakePlatform platform;
    platform.AddFile("fw.s19", "S0\nS1\nS9\n");
    EXPECT_EQ(INVALID_HANDLE_VALUE, platform.OpenFileExclusive("missing.s19"));
    EXPECT_EQ(FakePlatform::kErrorFileNotFound, platform.GetLastError());

    HANDLE file = platform.OpenFileExclusive("fw.s19");
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_EQ(INVALID_HANDLE_VALUE, platform.OpenFileExclusive("fw.s19"));  // held open: not shared
    BOOL ok = FALSE;
    EXPECT_EQ("S0\nS1\nS9\n", ReadAll(platform, file, 4, &ok));
    EXPECT_TRUE(ok);
    platform.CloseHandle(file);
    EXPECT_FALSE(platform.IsFileOpen("fw.s19"));

    platform.FailFileReadAfter("fw.s19", 5);
    platform.ReportFileSizeZero("fw.s19");
    file = platform.OpenFileExclusive("fw.s19");
    std::uint64_t size = 99;
    EXPECT_TRUE(platform.GetFileSize(file, &size));
    EXPECT_EQ(0u, size);
    EXPECT_EQ("S0\nS1", ReadAll(platform, file, 64, &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(FakePlatform::kErrorReadFault, platform.GetLastError());
    platform.CloseHandle(file);

    platform.RefuseFileOpen("fw.s19");
    EXPECT_EQ(INVALID_HANDLE_VALUE, platform.OpenFileExclusive("fw.s19"));
    EXPECT_EQ(FakePlatform::kErrorSharingViolation, platform.GetLastError());
}

TEST(FakePlatformNotices, ArrivalAndRemovalReachOnlyWindowsRegisteredForTheClass)
{
    FakePlatform platform;
    int window = 0;
    int otherWindow = 0;
    DevBroadcastDeviceInterface otherClass = ClassFilter();
    otherClass.dbcc_classguid.bytes[0] ^= 0xFF;
    HANDLE registration = platform.RegisterDeviceNotification(&window, ClassFilter());
    ASSERT_NE(nullptr, registration);
    ASSERT_NE(nullptr, platform.RegisterDeviceNotification(&otherWindow, otherClass));

    platform.ArriveDevice(kDevice);
    platform.RemoveDevice(kDevice);
    DeviceNotice notice;
    ASSERT_TRUE(platform.TakeDeviceNotice(&notice));
    EXPECT_EQ(&window, notice.window);
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEARRIVAL), notice.eventType);
    DevBroadcastDeviceInterface header;
    std::memcpy(&header, notice.record.data(), sizeof header);
    EXPECT_EQ(notice.record.size(), header.dbcc_size);
    EXPECT_EQ(static_cast<DWORD>(DBT_DEVTYP_DEVICEINTERFACE), header.dbcc_devicetype);
    EXPECT_EQ(0, std::memcmp(&header.dbcc_classguid, &kDeviceInterfaceClass, sizeof kDeviceInterfaceClass));
    EXPECT_STREQ(kDevice, reinterpret_cast<const char*>(notice.record.data()) +
                              offsetof(DevBroadcastDeviceInterface, dbcc_name));
    ASSERT_TRUE(platform.TakeDeviceNotice(&notice));
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE), notice.eventType);
    EXPECT_FALSE(platform.TakeDeviceNotice(&notice));

    EXPECT_TRUE(platform.UnregisterDeviceNotification(registration));
    platform.ArriveDevice(kDevice);
    EXPECT_EQ(0, platform.QueuedNotices());
    platform.FailNoticeRegistration(true);
    EXPECT_EQ(nullptr, platform.RegisterDeviceNotification(&window, ClassFilter()));
}

TEST(FakePlatformClock, SleepAndTimedOutWaitsMoveTheTickCountWhichWraps)
{
    FakePlatform platform;
    platform.SetTickCount(0xFFFFFF00u);
    platform.Sleep(0x180);
    EXPECT_EQ(0x80u, platform.GetTickCount());
    HANDLE event = platform.CreateEvent();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), platform.WaitForSingleObject(event, 1000));
    EXPECT_EQ(0x80u + 1000u, platform.GetTickCount());
    EXPECT_EQ(static_cast<DWORD>(WAIT_FAILED), platform.WaitForSingleObject(event, FakePlatform::kInfinite));
    platform.CloseHandle(event);
    EXPECT_FALSE(platform.CloseHandle(event));
    EXPECT_EQ(1, platform.BadCloses());
}
