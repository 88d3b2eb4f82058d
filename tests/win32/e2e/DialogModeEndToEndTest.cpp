// Trelox.exe in dialog mode under Wine with a simulated device, as a
// technician sees it: the main dialog in the middle of the screen, the about
// box, the download's windows and the status window's question over the
// window they belong to, and "Programmierung beendet." on the screen for
// the second before the status window closes.
#include <gtest/gtest.h>

#include <thread>

#include "DeviceNoticeSender.h"
#include "EndToEndFixture.h"
#include "WindowScreenshot.h"
#include "ScreenPixels.h"
#include "WindowPlaces.h"
#include "WindowProbe.h"
#include "ui/res/resource.h"

namespace {

// One suite with the other end-to-end tests: the device interface is
// registered once per suite and the system keeps it.
using EndToEndTest = EndToEndFixture;
using namespace WindowProbe;
using namespace WindowPlaces;

// Long enough for a window's drawing to reach the screen when its thread
// waits for messages.
constexpr DWORD kSettleMs = 300;

TEST_F(EndToEndTest, WindowsOpenOverTheMainDialogAndTheFinishedTextIsSeenForItsSecond)
{
    ASSERT_TRUE(device.SetPresent(true));
    const std::string flashFile = WriteFlashFile(
        "trelox-dialog.s19", "S00F000068656C6C6F202020202000003C\r\nS111003848656C6C6F20776F726C642E0A0042\r\n"
                             "S5030002FA\r\nS9030000FC\r\n");
    TreloxProcess trelox("/I \"" + flashFile + "\"");
    ASSERT_TRUE(trelox.Started());
    const HWND main = WaitForWindow(trelox.Id(), [](HWND w) { return IsDialogTitled(w, "Trelox"); }, kStartUpMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(CentredOn(RectOf(main), WorkArea())) << "the main dialog";

    // Aside, so that over the main dialog and in the middle of the screen differ.
    const RECT area = WorkArea();
    ::SetWindowPos(main, nullptr, area.left + 20, area.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return RectOf(main).left == area.left + 20; }, kStepMs));
    const RECT mainPlace = RectOf(main);

    ::PostMessageA(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about =
        WaitForWindow(trelox.Id(), [](HWND w) { return IsDialogTitled(w, "Info \xFC" "ber Trelox"); }, kStepMs);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(CentredOn(RectOf(about), mainPlace)) << "the about box";
    PressButton(about, IDOK);
    ASSERT_TRUE(WaitUntilGone(about, kStepMs));

    PressButton(main, IDOK);  // "Flashen"
    const HWND progress = WaitForWindow(trelox.Id(), IsProgressOrStatusWindow, kStepMs);
    ASSERT_NE(progress, nullptr);
    // Seen when the device answers slowly enough; read first, as it closes
    // at any moment.
    const std::string title = StoredTextOf(progress);
    const RECT progressPlace = RectOf(progress);
    if (StillStands(progress) && title == "Fortschrittsanzeige") {
        EXPECT_TRUE(CentredOn(progressPlace, mainPlace)) << "the progress window";
        std::string percent;
        WaitUntil(
            [&] {
                percent = StoredTextOf(::GetDlgItem(progress, IDC_PERCENT));
                return percent != "Prozent" || !StillStands(progress);
            },
            kStepMs);
        if (StillStands(progress) && percent != "Prozent") {
            ::Sleep(kSettleMs);
            Screenshot(main, "progress-window");
        }
    }
    const HWND status =
        WaitForWindow(trelox.Id(), [](HWND w) { return IsDialogTitled(w, "Flash-Programmierung"); }, kStepMs);
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(CentredOn(RectOf(status), mainPlace)) << "the status window";

    // Its question belongs to it; "Nein" keeps waiting.
    PressButton(status, IDCANCEL);
    const HWND box = WaitForWindow(trelox.Id(), [](HWND w) { return IsMessageBox(w, "Trelox"); }, kStepMs);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(CentredOn(RectOf(box), RectOf(status))) << "the question";
    PressButton(box, IDNO);
    ASSERT_TRUE(WaitUntilGone(box, kStepMs));

    const HWND messageWindow = DeviceNoticeSender::FindMessageWindow(trelox.Id(), kStepMs);
    ASSERT_NE(messageWindow, nullptr);
    const HWND state = ::GetDlgItem(status, IDC_STATE_TEXT);
    ASSERT_TRUE(device.SetPresent(false));
    DeviceNoticeSender::SendRemoval(messageWindow, kInterfacePath);
    EXPECT_EQ(StoredTextOf(state), "Programmierung l\xE4uft...");
    ::Sleep(kSettleMs);
    Screenshot(main, "status-window");
    const ScreenPixels running = ReadScreen(RectOf(state));

    // The arrival holds the program for a second; the screen is read in it.
    ASSERT_TRUE(device.SetPresent(true));
    std::thread notifier([&] { DeviceNoticeSender::SendArrival(messageWindow, kInterfacePath); });
    const bool textSet = WaitUntil([&] { return StoredTextOf(state) == "Programmierung beendet."; }, kStepMs);
    ::Sleep(kSettleMs);
    const ScreenPixels finished = ReadScreen(RectOf(state));
    const bool stillPausing = ::IsWindowVisible(status) != FALSE;
    notifier.join();

    ASSERT_TRUE(textSet);
    EXPECT_TRUE(stillPausing) << "the screen was read during the pause";
    ASSERT_FALSE(running.Empty());
    ASSERT_FALSE(finished.Empty());
    EXPECT_TRUE(finished.HasContrast()) << "a text is drawn";
    EXPECT_NE(finished.DifferingBytes(running), 0u) << "the screen still showed \"Programmierung l\xE4uft...\"";

    ASSERT_TRUE(WaitUntilGone(status, kStepMs));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }, kStepMs)) << "back in the main dialog";
    PressButton(main, IDCANCEL);
    ASSERT_TRUE(trelox.WaitForExit(kStepMs));
}

}  // namespace
