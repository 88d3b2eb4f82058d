// The device-change window: its registration, which notices reach the device
// object, and what the device object does with them, with and without the
// status window on the screen.
#include <gtest/gtest.h>

#include <cctype>
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

TEST_F(UsbMessageWindow, NoticesAboutAnotherDeviceLeaveTheLinkAlone)
{
    platform.AddDevice(kOtherDevice);
    platform.QueueDeviceNotice(DBT_DEVICEREMOVECOMPLETE, kOtherDevice);
    platform.QueueDeviceNotice(DBT_DEVICEARRIVAL, kOtherDevice);
    AfxPumpWaitingMessages();
    EXPECT_EQ(device.GetInterfacePath(), kDevicePath);

    // The system may name the device in use in other letter cases.
    std::string shouted = kDevicePath;
    for (char& c : shouted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    platform.QueueDeviceNotice(DBT_DEVICEREMOVECOMPLETE, shouted);
    AfxPumpWaitingMessages();
    EXPECT_FALSE(device.IsOpen());

    // With nothing open, any device of the class that arrives is taken.
    platform.RemoveDevice(kDevicePath);
    platform.QueueDeviceNotice(DBT_DEVICEARRIVAL, kOtherDevice);
    AfxPumpWaitingMessages();
    EXPECT_EQ(device.GetInterfacePath(), kOtherDevice);
}

TEST_F(UsbMessageWindow, ADownloadGoesOnWhileAnotherDeviceLeaves)
{
    platform.AddDevice(kOtherDevice);
    WriteFlashFile("S1\nS2\nS9\n");
    ScriptReplies({kAccepted, kAccepted, kProgrammed});
    platform.onWrite = [this](const std::string& bytes) {
        if (bytes == "S1") {
            platform.RemoveDevice(kOtherDevice);
        }
    };
    DeviceCyclesWhileStatusShown();
    const DownloadReport report = Download();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1", "S2", "S9"}));
    EXPECT_EQ(report.outcome, DownloadOutcome::Programmed);
}

TEST_F(UsbMessageWindow, TheStatusWindowWaitsForTheProgrammedDeviceOnly)
{
    // First in the list, so that a search for any device would take it.
    platform.AddDeviceFirst(kOtherDevice);
    WriteFlashFile("S9\n");
    ScriptReplies({kProgrammed});
    int turn = 0;
    std::vector<std::string> states;
    windows.SetIdleHook([&] {
        const WindowHandle status = windows.FindDialog(IDD_FLASHINFO_DIALOG);
        if (status == nullptr) {
            return false;
        }
        states.push_back(windows.Text(status, IDC_STATE_TEXT).Bytes());
        switch (++turn) {
        case 1:
            platform.RemoveDevice(kDevicePath);
            break;
        case 2:
            platform.RemoveDevice(kOtherDevice);
            platform.ArriveDevice(kOtherDevice);
            break;
        case 3:
            EXPECT_FALSE(device.IsOpen());
            platform.ArriveDevice(kDevicePath);
            break;
        default:
            break;
        }
        return true;
    });
    const DownloadReport report = Download();
    EXPECT_EQ(states, (std::vector<std::string>{"Warten auf Beginn der Programmierung",
                                                "Programmierung l\xE4uft...", "Programmierung l\xE4uft..."}));
    EXPECT_EQ(device.GetInterfacePath(), kDevicePath);
    EXPECT_EQ(report.outcome, DownloadOutcome::Programmed);
}

TEST_F(UsbMessageWindow, ANoticeWithoutAPathIsCheckedAgainstTheDeviceList)
{
    // The system lost count: a removal while the device is still listed is
    // not its removal.
    QueueRecord(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, kDeviceInterfaceClass);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(device.IsOpen());

    WriteFlashFile("S9\n");
    ScriptReplies({kProgrammed});
    int turn = 0;
    windows.SetIdleHook([&] {
        switch (++turn) {
        case 1:
            platform.RemoveDevice(kDevicePath);
            break;
        case 2:
            // Another device is there, but not the one awaited.
            platform.AddDevice(kOtherDevice);
            QueueRecord(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, kDeviceInterfaceClass);
            break;
        case 3:
            platform.AddDevice(kDevicePath);
            QueueRecord(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, kDeviceInterfaceClass);
            break;
        default:
            break;
        }
        return turn < 8;
    });
    const DownloadReport report = Download();
    EXPECT_EQ(turn, 3);
    EXPECT_EQ(device.GetInterfacePath(), kDevicePath);
    EXPECT_EQ(report.outcome, DownloadOutcome::Programmed);
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
