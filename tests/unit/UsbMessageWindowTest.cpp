// The device-change window: its registration, which notices reach the device
// object, and what the device object does with them, with and without the
// status window on the screen.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "support/DownloadFixture.h"
#include "ui/res/resource.h"
#include "usb/DeviceContract.h"

namespace {
const char kOtherDevice[] = "\\\\?\\usb#vid_1234&pid_5678#XYZ999#{c0558574-212d-4625-8877-fe9c2e8ed396}";

class UsbMessageWindow : public DownloadFixture {
protected:
    // A notice for the device's message window with a record of `type` and `guid`.
    void QueueRecord(UINT eventType, DWORD deviceType, const DeviceClassGuid& guid, DWORD size = 32)
    {
        DevBroadcastDeviceInterface record = {};
        record.dbcc_size = size;
        record.dbcc_devicetype = deviceType;
        record.dbcc_classguid = guid;
        DeviceNotice notice;
        notice.window = MessageWindow();
        notice.eventType = eventType;
        const auto* bytes = reinterpret_cast<const BYTE*>(&record);
        notice.record.assign(bytes, bytes + sizeof record);
        platform.QueueNotice(notice);
    }

    WindowHandle MessageWindow() const { return m_messageWindow; }

    void SetUp() override
    {
        // The fixture's device made the only plain window there is.
        m_messageWindow = nullptr;
        for (std::uintptr_t handle = 1; handle < 64 && m_messageWindow == nullptr; ++handle) {
            const WindowState* state = windows.FindWindow(reinterpret_cast<WindowHandle>(handle));
            if (state != nullptr && !state->isDialog && !state->isControl) {
                m_messageWindow = state->handle;
            }
        }
        ASSERT_NE(m_messageWindow, nullptr);
    }

    WindowHandle m_messageWindow = nullptr;
};

TEST_F(UsbMessageWindow, RegistersAHiddenWindowForTheDeviceClass)
{
    const WindowState* window = windows.FindWindow(MessageWindow());
    EXPECT_FALSE(window->visible);
    EXPECT_EQ(window->text, "TreloxMessageWindow");
    EXPECT_EQ(window->style, static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(platform.Registrations(), 1);
    const DevBroadcastDeviceInterface& filter = platform.LastFilter();
    EXPECT_EQ(filter.dbcc_size, 32u);
    EXPECT_EQ(filter.dbcc_devicetype, static_cast<DWORD>(DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_EQ(std::memcmp(filter.dbcc_classguid.bytes, kDeviceInterfaceClass.bytes, 16), 0);
    EXPECT_EQ(filter.dbcc_name[0], '\0');

    // Created once only; gone with the device object, with its registration.
    device.CreateMessageWindow();
    EXPECT_EQ(platform.Registrations(), 1);
    {
        CUsbDevice second;
        second.CreateMessageWindow();
        EXPECT_EQ(platform.Registrations(), 2);
    }
    EXPECT_EQ(platform.Registrations(), 1);
}

TEST_F(UsbMessageWindow, AFailedRegistrationStillMakesTheWindow)
{
    platform.FailNoticeRegistration(true);
    CUsbDevice second;
    second.CreateMessageWindow();
    EXPECT_TRUE(second.HasMessageWindow());
    EXPECT_EQ(platform.Registrations(), 1);
}

TEST_F(UsbMessageWindow, RemovalClosesAndArrivalReopensTheLinkSilently)
{
    platform.RemoveDevice(kDevicePath);
    AfxPumpWaitingMessages();
    EXPECT_FALSE(device.IsOpen());
    platform.ArriveDevice(kDevicePath);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(device.IsOpen());
    EXPECT_TRUE(windows.MessageBoxes().empty());
    EXPECT_TRUE(platform.Sleeps().empty());
}

TEST_F(UsbMessageWindow, AnotherDeviceOfTheClassCountsAsWell)
{
    platform.AddDevice(kOtherDevice);
    platform.QueueDeviceNotice(DBT_DEVICEREMOVECOMPLETE, kOtherDevice);
    AfxPumpWaitingMessages();
    EXPECT_FALSE(device.IsOpen());
}

TEST_F(UsbMessageWindow, OtherClassesTypesEventsAndEmptyNoticesChangeNothing)
{
    DeviceClassGuid otherClass = kDeviceInterfaceClass;
    otherClass.bytes[15] ^= 0x01;
    QueueRecord(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, otherClass);
    QueueRecord(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, kDeviceInterfaceClass);
    QueueRecord(DBT_DEVICEREMOVEPENDING, DBT_DEVTYP_DEVICEINTERFACE, kDeviceInterfaceClass);
    QueueRecord(DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, kDeviceInterfaceClass);
    // A record too short to hold a class is not read past its end.
    QueueRecord(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, kDeviceInterfaceClass, 12);
    DeviceNotice empty;
    empty.window = MessageWindow();
    empty.eventType = DBT_DEVICEREMOVECOMPLETE;
    platform.QueueNotice(empty);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(device.IsOpen());
    EXPECT_EQ(platform.QueuedNotices(), 0);
}

TEST_F(UsbMessageWindow, ArrivalWithoutRemovalEndsTheStatusWindowAfterASecond)
{
    std::string stateAtPause;
    windows.SetIdleHook([this] {
        platform.ArriveDevice(kDevicePath);
        return true;
    });
    platform.onSleep = [&](DWORD) {
        stateAtPause = windows.Text(windows.FindDialog(IDD_FLASHINFO_DIALOG), IDC_STATE_TEXT).Bytes();
    };
    WriteFlashFile("S9\n");
    ScriptReplies({kProgrammed});
    const DownloadReport report = Download();
    EXPECT_EQ(stateAtPause, "Programmierung beendet.");
    EXPECT_EQ(platform.Sleeps(), std::vector<DWORD>{1000});
    EXPECT_EQ(report.outcome, DownloadOutcome::Programmed);
}

TEST_F(UsbMessageWindow, ADeviceBackBeforeTheStatusWindowOpensDoesNotEndIt)
{
    // Gone and back while the last record's reply is read: heard only later.
    WriteFlashFile("S9\n");
    ScriptReplies({kProgrammed});
    platform.onWrite = [this](const std::string&) {
        windows.QueueInput([this] {
            platform.RemoveDevice(kDevicePath);
            platform.ArriveDevice(kDevicePath);
        });
    };
    int idleTurns = 0;
    std::string state;
    windows.SetIdleHook([&] {
        state = windows.Text(windows.FindDialog(IDD_FLASHINFO_DIALOG), IDC_STATE_TEXT).Bytes();
        if (++idleTurns == 3) {
            windows.Click(windows.FindDialog(IDD_FLASHINFO_DIALOG), IDCANCEL);
        }
        return idleTurns <= 3;
    });
    windows.SetMessageBoxHook([](const MessageBoxRecord&) { return IDYES; });
    const DownloadReport report = Download();
    EXPECT_EQ(state, "Warten auf Beginn der Programmierung");
    EXPECT_TRUE(device.IsOpen());
    EXPECT_EQ(report.outcome, DownloadOutcome::StatusWindowGivenUp);
}
}  // namespace
