// Trelox.exe, unmodified, under Wine with a simulated device: the message
// without a device, the identity queries of the main dialog, and a direct
// download to its end with the status window's wait for the device.
#include <gtest/gtest.h>

#include <cctype>
#include <thread>

#include "DeviceNoticeSender.h"
#include "EndToEndFixture.h"
#include "WindowScreenshot.h"
#include "WindowPlaces.h"
#include "WindowProbe.h"
#include "app/ExitStatus.h"
#include "ui/res/resource.h"

namespace {

using EndToEndTest = EndToEndFixture;
using namespace WindowProbe;
using namespace WindowPlaces;

TEST_F(EndToEndTest, WithoutTheDeviceTheProgramSaysSoAndEndsAfterOk)
{
    ASSERT_TRUE(device.SetPresent(false));
    TreloxProcess trelox("");
    ASSERT_TRUE(trelox.Started());

    const HWND box = WaitForWindow(trelox.Id(), [](HWND w) { return IsMessageBox(w, "Trelox"); }, kStartUpMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "USB-Schnittstelle konnte nicht ge\xF6" "ffnet werden!");
    EXPECT_EQ(VisibleTopWindows(trelox.Id()).size(), 1u) << "no dialog beside the message";

    PressButton(box, IDOK);
    ASSERT_TRUE(trelox.WaitForExit(kStepMs));
    EXPECT_EQ(trelox.ExitCode(), static_cast<DWORD>(exitDeviceNotFound));
    EXPECT_EQ(DeviceRequests().size(), requestsBefore) << "nothing went to the device";
}

TEST_F(EndToEndTest, IdentityQueriesOfTheMainDialogShowTheDevicesAnswers)
{
    ASSERT_TRUE(device.SetPresent(true));
    TreloxProcess trelox("");
    ASSERT_TRUE(trelox.Started());
    const HWND main = WaitForWindow(trelox.Id(), [](HWND w) { return IsDialogTitled(w, "Trelox"); }, kStartUpMs);
    ASSERT_NE(main, nullptr);

    struct Query {
        int button;
        int field;
        const char* command;
        const char* answer;
    };
    const Query queries[] = {
        {IDC_QUERY_SERIAL_NUMBER, IDC_SERIAL_NUMBER, "?S", "SIM-0001"},
        {IDC_QUERY_PRODUCT_NAME, IDC_PRODUCT_NAME, "?P", "Trelox Testgeraet"},
        {IDC_QUERY_MANUFACTURER, IDC_MANUFACTURER, "?M", "Testwerk"},
        {IDC_QUERY_VERSION, IDC_VERSION, "?V", "1.1.0"},
        {IDC_QUERY_ERROR_INFO, IDC_ERROR_INFO, "?E", "keine Fehler"},
    };
    std::vector<std::string> expectedRequests;
    for (const Query& query : queries) {
        PressButton(main, query.button);
        EXPECT_TRUE(WaitUntil([&] { return ItemTextOf(main, query.field) == query.answer; }, kStepMs))
            << query.command << " showed \"" << ItemTextOf(main, query.field) << "\"";
        expectedRequests.push_back(Hex(query.command));
    }
    const std::vector<std::string> requests = DeviceRequests();
    EXPECT_EQ(std::vector<std::string>(requests.begin() + static_cast<std::ptrdiff_t>(requestsBefore), requests.end()),
              expectedRequests);
    Screenshot(main, "main-dialog");

    PressButton(main, IDCANCEL);
    ASSERT_TRUE(trelox.WaitForExit(kStepMs));
    EXPECT_EQ(trelox.ExitCode(), static_cast<DWORD>(exitProgrammed));
}

TEST_F(EndToEndTest, DirectDownloadRunsToItsEndAndTheStatusWindowClosesASecondAfterTheDeviceIsBack)
{
    ASSERT_TRUE(device.SetPresent(true));
    const std::vector<std::string> records = {
        "S00F000068656C6C6F202020202000003C",
        "S11F00007C0802A6900100049421FFF07C6C1B787C8C23783C6000003863000026",
        "S11F001C4BFFFFE5398000007D83637880010014382100107C0803A64E800020E9",
        "S111003848656C6C6F20776F726C642E0A0042",
        "S5030004F8",
        "S9030000FC",
    };
    std::string content = "\r\n";  // a blank line first: it is no record
    for (const std::string& record : records) {
        content += "  " + record + "\r\n";
    }
    const std::string flashFile = WriteFlashFile("trelox-e2e.s19", content);
    TreloxProcess trelox("\"" + flashFile + "\"");
    ASSERT_TRUE(trelox.Started());

    // The progress window, when the device is slow enough to see it.
    const HWND progress = WaitForWindow(trelox.Id(), IsProgressOrStatusWindow, kStartUpMs);
    ASSERT_NE(progress, nullptr);
    // Read first: a quick device closes it at any moment.
    const std::string title = StoredTextOf(progress);
    const std::string description = StoredTextOf(::GetDlgItem(progress, IDC_DESCRIPTION));
    const RECT progressPlace = RectOf(progress);
    if (StillStands(progress) && title == "Fortschrittsanzeige") {
        EXPECT_EQ(description, "Download");
        // Without a main window: in the middle of the screen.
        EXPECT_TRUE(CentredOn(progressPlace, WorkArea())) << "the progress window";
    }

    const HWND status =
        WaitForWindow(trelox.Id(), [](HWND w) { return IsDialogTitled(w, "Flash-Programmierung"); }, kStepMs);
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(CentredOn(RectOf(status), WorkArea())) << "the status window";
    const HWND state = ::GetDlgItem(status, IDC_STATE_TEXT);
    const HWND time = ::GetDlgItem(status, IDC_TIME_TEXT);
    EXPECT_EQ(StoredTextOf(state), "Warten auf Beginn der Programmierung");
    EXPECT_TRUE(WaitUntil([&] { return StoredTextOf(time) == "00:00" || StoredTextOf(time) == "00:01"; }, kStepMs));
    EXPECT_FALSE(IsWindowVisible(progress) && progress != status) << "the progress window is down";

    std::vector<std::string> expectedRequests;
    for (const std::string& record : records) {
        expectedRequests.push_back(Hex(record));
    }
    const std::vector<std::string> requests = DeviceRequests();
    EXPECT_EQ(std::vector<std::string>(requests.begin() + static_cast<std::ptrdiff_t>(requestsBefore), requests.end()),
              expectedRequests);

    const HWND messageWindow = DeviceNoticeSender::FindMessageWindow(trelox.Id(), kStepMs);
    ASSERT_NE(messageWindow, nullptr);
    ASSERT_TRUE(device.SetPresent(false));
    DeviceNoticeSender::SendRemoval(messageWindow, kInterfacePath);
    EXPECT_EQ(StoredTextOf(state), "Programmierung l\xE4uft...");

    // The arrival holds the program for a second: send it from another thread
    // and watch the window meanwhile.
    ASSERT_TRUE(device.SetPresent(true));
    const DWORD sentAt = ::GetTickCount();
    std::thread notifier([&] { DeviceNoticeSender::SendArrival(messageWindow, kInterfacePath); });
    const bool finishedShown = WaitUntil([&] { return StoredTextOf(state) == "Programmierung beendet."; }, kStepMs);
    const DWORD shownAt = ::GetTickCount();
    const bool closed = WaitUntilGone(status, kStepMs);
    const DWORD closedAt = ::GetTickCount();
    notifier.join();
    EXPECT_TRUE(finishedShown);
    EXPECT_TRUE(closed);
    // The finished text stands for a second (less the tick count's granularity).
    EXPECT_GE(closedAt - sentAt, 950u);
    EXPECT_LT(closedAt - shownAt, 3000u);

    ASSERT_TRUE(trelox.WaitForExit(kStepMs));
    EXPECT_EQ(trelox.ExitCode(), static_cast<DWORD>(exitProgrammed)) << "programmed, and the device came back";
}

TEST_F(EndToEndTest, TheStatusWindowHeedsOnlyTheProgrammedDevicesNotices)
{
    const char otherDevice[] = "\\\\?\\root#treloxtest#sim9#{c0558574-212d-4625-8877-fe9c2e8ed396}";
    ASSERT_TRUE(device.SetPresent(true));
    const std::string flashFile =
        WriteFlashFile("trelox-other.s19", "S1130000000102030405060708090A0B0C0D0E0F64\r\nS9030000FC\r\n");
    TreloxProcess trelox("\"" + flashFile + "\"");
    ASSERT_TRUE(trelox.Started());
    const HWND status =
        WaitForWindow(trelox.Id(), [](HWND w) { return IsDialogTitled(w, "Flash-Programmierung"); }, kStartUpMs);
    ASSERT_NE(status, nullptr);
    const HWND state = ::GetDlgItem(status, IDC_STATE_TEXT);
    const HWND messageWindow = DeviceNoticeSender::FindMessageWindow(trelox.Id(), kStepMs);
    ASSERT_NE(messageWindow, nullptr);

    // Each notice is handled when SendMessage returns.
    DeviceNoticeSender::SendRemoval(messageWindow, otherDevice);
    EXPECT_EQ(StoredTextOf(state), "Warten auf Beginn der Programmierung");
    ASSERT_TRUE(device.SetPresent(false));
    DeviceNoticeSender::SendRemoval(messageWindow, kInterfacePath);
    EXPECT_EQ(StoredTextOf(state), "Programmierung l\xE4uft...");
    DeviceNoticeSender::SendArrival(messageWindow, otherDevice);
    EXPECT_EQ(StoredTextOf(state), "Programmierung l\xE4uft...");
    EXPECT_TRUE(::IsWindow(status)) << "another device is not the programmed one coming back";

    // The system may name the device in other letter cases than its list.
    std::string shouted = kInterfacePath;
    for (char& c : shouted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    ASSERT_TRUE(device.SetPresent(true));
    DeviceNoticeSender::SendArrival(messageWindow, shouted);
    EXPECT_TRUE(WaitUntilGone(status, kStepMs));
    ASSERT_TRUE(trelox.WaitForExit(kStepMs));
    EXPECT_EQ(trelox.ExitCode(), static_cast<DWORD>(exitProgrammed));
}

}  // namespace
