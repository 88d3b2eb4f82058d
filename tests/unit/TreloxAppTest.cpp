// Start-up: the device-change window before the device is opened, the
// opening failure that ends every run, direct mode with the exit status of
// each ending, and the closing line of a direct download.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CTreloxApp.h"
#include "app/DownloadSummary.h"
#include "app/ExitStatus.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "ui/res/resource.h"

namespace {
const char kDevicePath[] = "\\\\?\\usb#vid_1234&pid_5678#ABC123#{c0558574-212d-4625-8877-fe9c2e8ed396}";
const std::string kAccepted("\x10\x06", 2);
const std::string kProgrammed("\x10\x04", 2);

class TreloxApp : public ::testing::Test {
protected:
    TreloxApp() { m_platform.Install(); }

    // Runs the program as "/opt/trelox/trelox" with `arguments`.
    int Run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "/opt/trelox/trelox");
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(&argument[0]);
        }
        argv.push_back(nullptr);
        return AfxRunApplicationWith(m_windows, m_platform, static_cast<int>(arguments.size()), argv.data());
    }

    void DeviceWithFile(const std::string& file, std::initializer_list<std::string> replies)
    {
        m_platform.AddDevice(kDevicePath);
        m_platform.AddFile("fw.s19", file);
        for (const std::string& reply : replies) {
            m_platform.ScriptRead(kDevicePath, FakeTransfer::Reply(reply));
        }
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& box : m_windows.MessageBoxes()) {
            texts.push_back(box.caption.Bytes() + ": " + box.text.Bytes());
        }
        return texts;
    }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    CTreloxApp m_app;  // last: goes first, while its systems are still there
};

TEST_F(TreloxApp, WithoutADeviceEveryRunEndsWithTheOpeningMessage)
{
    m_platform.AddFile("fw.s19", "S1\n");
    for (const auto& arguments : {std::vector<std::string>{"fw.s19"}, std::vector<std::string>{"/I", "fw.s19"},
                                  std::vector<std::string>{}}) {
        EXPECT_EQ(Run(arguments), exitDeviceNotFound);
    }
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(3, "trelox: USB-Schnittstelle konnte nicht ge\xF6" "ffnet werden!"));
    EXPECT_EQ(m_windows.MessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(m_windows.MessageBoxes()[0].owner, nullptr);
    // The command line was never read, and the notices were asked for first.
    EXPECT_TRUE(m_platform.MutexesCreated().empty());
    EXPECT_EQ(m_platform.Registrations(), 1);
    EXPECT_EQ(m_windows.CommonControlClasses(), static_cast<DWORD>(ICC_WIN95_CLASSES));
    EXPECT_TRUE(m_windows.ClosingLines().empty());
}

TEST_F(TreloxApp, ADirectDownloadThatProgramsTheDeviceEndsWithStatus0AndAClosingLine)
{
    DeviceWithFile("S1 a\r\nS9 b\r\n", {kAccepted, kProgrammed});
    m_windows.SetIdleHook([this] {
        const WindowHandle status = m_windows.FindDialog(IDD_FLASHINFO_DIALOG);
        if (m_windows.Text(status, IDC_STATE_TEXT) == "Warten auf Beginn der Programmierung") {
            m_platform.RemoveDevice(kDevicePath);
        } else {
            m_platform.ArriveDevice(kDevicePath);
        }
        return true;
    });
    EXPECT_EQ(Run({"-X", "fw.s19", "second.s19"}), exitProgrammed);
    EXPECT_TRUE(m_windows.MessageBoxes().empty());
    ASSERT_EQ(m_windows.ClosingLines().size(), 1u);
    EXPECT_EQ(m_windows.ClosingLines()[0].Bytes().rfind("Download: 2 Datens\xE4tze \xFC" "bertragen, 8 Bytes in ", 0),
              0u);
}

TEST_F(TreloxApp, EachOtherEndingOfADirectDownloadHasItsOwnStatus)
{
    DeviceWithFile("S1 a\n", {kAccepted});
    EXPECT_EQ(Run({"missing.s19"}), exitFileNotOpened);
    EXPECT_TRUE(m_windows.ClosingLines().empty());
    EXPECT_EQ(Run({"fw.s19"}), exitNotProgrammed);
    EXPECT_EQ(m_windows.ClosingLines().size(), 1u);

    m_platform.HoldMutexElsewhere("ORB812MUTEX");
    m_windows.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(Run({"fw.s19"}), exitLockGivenUp);
    m_platform.HoldMutexElsewhere("ORB812MUTEX", false);

    m_platform.RefuseMutexName("ORB812SynchronizerMutex");
    EXPECT_EQ(Run({"fw.s19"}), exitDownloadFailed);
}

TEST(ExitStatusTest, EveryOutcomeHasADistinctStatus)
{
    const std::vector<DownloadOutcome> outcomes{
        DownloadOutcome::Programmed,    DownloadOutcome::FileNotOpened,       DownloadOutcome::LockGivenUp,
        DownloadOutcome::NotProgrammed, DownloadOutcome::StatusWindowGivenUp, DownloadOutcome::Failed};
    std::vector<int> statuses;
    for (const DownloadOutcome outcome : outcomes) {
        statuses.push_back(ExitStatusOf(outcome));
    }
    EXPECT_EQ(statuses, (std::vector<int>{0, 3, 4, 5, 6, 7}));
}

TEST(DownloadSummaryTest, TellsRecordsBytesTimeAndRate)
{
    DownloadReport report;
    report.recordsTaken = 42;
    report.bytesTaken = 1734;
    report.transferMs = 2045;
    EXPECT_EQ(DownloadSummaryLine(report),
              "Download: 42 Datens\xE4tze \xFC" "bertragen, 1734 Bytes in 2,045 s (847 Bytes/s, 20 Datens\xE4tze/s)");
    report.transferMs = 0;
    EXPECT_EQ(DownloadSummaryLine(report), "Download: 42 Datens\xE4tze \xFC" "bertragen, 1734 Bytes in 0,000 s");
}
}  // namespace
