// The download of a flash file: which messages end it and in which order,
// whether the status window opens, the repeats, progress, cancelling, the
// lock prompt, and what is left behind when something outside an exchange
// fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "protocol/CTreloxExceptionNoAck.h"
#include "support/DownloadFixture.h"
#include "ui/res/resource.h"

namespace {
const std::string kNotProgrammed = "Keine Programmierung erfolgt!\nFlash-Datei m\xF6" "glicherweise unvollst\xE4" "ndig!";
const std::string kProgrammedEarly = "Warnung: Programmierung vor Erreichen der letzten Zeile ausgef\xFC" "hrt!";
const std::string kCannotOpen = "Flash-Datei kann nicht ge\xF6" "ffnet werden!";
const std::string kLockPrompt = "Bitte Testsystem-Software schlie\xDF" "en!";
const std::string kGiveUp =
    "Die Programmierung ist moeglicherweise noch nicht vollst\xE4" "ndig.\nWollen Sie wirklich abbrechen?";
const std::string kWaiting = "Warten auf Beginn der Programmierung";
const std::string kRunning = "Programmierung l\xE4uft...";
const std::string kFinished = "Programmierung beendet.";
const std::string kSynchronizer = "ORB812SynchronizerMutex";

std::string TransferError(int record, const std::string& text)
{
    return "\xDC" "bertragungsfehler in Zeile " + std::to_string(record) + "\n(\"" + text + "\")";
}

std::string TransferError(int record, const std::string& text, const CString& error)
{
    return TransferError(record, text) + "\n" + error.Bytes();
}
}  // namespace

class FlashDownload : public DownloadFixture {
protected:
    // The lock's files are closed, the flash file is closed, no window is left.
    void ExpectEverythingReleased()
    {
        EXPECT_EQ(platform.OpenHandles(FakePlatform::HandleKind::Mutex), 0);
        EXPECT_FALSE(platform.IsFileOpen(kFlashFile));
        EXPECT_TRUE(windows.AllDialogs().empty());
    }

    // A file whose last record the device answers with the programming report.
    void ExpectProgrammedRun(const std::string& file)
    {
        WriteFlashFile(file);
        ScriptReplies({kAccepted, kProgrammed});
        DeviceCyclesWhileStatusShown();
        const DownloadReport report = Download();

        EXPECT_EQ(Sent(), (std::vector<std::string>{"S1 first", "S9 last"}));
        EXPECT_TRUE(BoxTexts().empty());
        EXPECT_EQ(StateTexts(), (std::vector<std::string>{kWaiting, kRunning, kFinished}));
        EXPECT_EQ(platform.Sleeps(), std::vector<DWORD>{1000});
        EXPECT_EQ(report.outcome, DownloadOutcome::Programmed);
        EXPECT_EQ(report.recordsTaken, 2);
        EXPECT_EQ(report.bytesTaken, 15u);
        EXPECT_TRUE(device.IsOpen());
        ExpectEverythingReleased();
    }
};

// ---- Which messages end a download, and whether the status window opens.

TEST_F(FlashDownload, ProgrammedLastRecordEndsWithoutAMessageOnceTheDeviceIsBack)
{
    ExpectProgrammedRun("S1 first\r\nS9 last\r\n");
}

TEST_F(FlashDownload, BlankLinesAfterTheProgrammedRecordChangeNothing)
{
    ExpectProgrammedRun("S1 first\r\nS9 last\r\n\r\n   \t\r\n\t\n\x0B\x0C\n");
}

TEST_F(FlashDownload, ARecordAfterTheProgrammedOneIsWarnedAboutAndNotSent)
{
    // 0x1A, the end mark of old editors, is a record like any other.
    WriteFlashFile("S1 first\nS9 last\n\x1A\n");
    ScriptReplies({kAccepted, kProgrammed});
    DeviceCyclesWhileStatusShown();
    const DownloadReport report = Download();

    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1 first", "S9 last"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kProgrammedEarly});
    EXPECT_EQ(StatusWindowShowings(), 1);
    EXPECT_EQ(report.outcome, DownloadOutcome::Programmed);
}

TEST_F(FlashDownload, NoProgrammingReportEndsWithTheIncompleteMessageAndNoStatusWindow)
{
    for (const std::string& file : {std::string("S1 a\nS1 b\n"), std::string(), std::string("\r\n \t \n\n")}) {
        SCOPED_TRACE(file);
        WriteFlashFile(file);
        ScriptReplies({kAccepted, kAccepted});
        const std::size_t boxesBefore = BoxTexts().size();
        const DownloadReport report = Download();

        const std::vector<std::string> boxes = BoxTexts();
        EXPECT_EQ(std::vector<std::string>(boxes.begin() + static_cast<long>(boxesBefore), boxes.end()),
                  std::vector<std::string>{kNotProgrammed});
        EXPECT_EQ(windows.FindDialog(IDD_FLASHINFO_DIALOG), nullptr);
        EXPECT_EQ(report.outcome, DownloadOutcome::NotProgrammed);
        EXPECT_TRUE(report.transferStarted);
        ExpectEverythingReleased();
    }
    // The empty files took the lock too, and sent nothing.
    EXPECT_EQ(platform.MutexesCreated().size(), 12u);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1 a", "S1 b"}));
}

TEST_F(FlashDownload, AFailedExchangeNamesTheRecordThenSaysNothingWasProgrammed)
{
    // Two blank lines before the first record: the third record is line 5.
    WriteFlashFile("\r\n  \r\nS1 one\r\nS1 two\r\n  S1 three  \r\nS1 four\r\nS9 end\r\n");
    ScriptReplies({kAccepted, kAccepted, std::string("\x10\x07", 2)});
    const DownloadReport report = Download();

    ASSERT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(BoxTexts()[0].rfind(TransferError(3, "S1 three") + "\n", 0), 0u) << BoxTexts()[0];
    EXPECT_EQ(BoxTexts()[1], kNotProgrammed);
    EXPECT_EQ(Sent().size(), 3u);
    EXPECT_EQ(windows.FindDialog(IDD_FLASHINFO_DIALOG), nullptr);
    EXPECT_EQ(report.outcome, DownloadOutcome::NotProgrammed);
    ExpectEverythingReleased();
}

TEST_F(FlashDownload, TheRecordTextIsShownAsItIsNeverTakenAsAFormat)
{
    const std::string record("S1 %s%n%d %% \x01\x00z", 17);
    WriteFlashFile(record + "\n");
    ScriptReplies({"?"});
    Download();

    ASSERT_FALSE(BoxTexts().empty());
    EXPECT_EQ(BoxTexts()[0].rfind(TransferError(1, record) + "\n", 0), 0u);
}

TEST_F(FlashDownload, ADeviceThatLeavesDuringTheTransferFailsTheNextRecordsWrite)
{
    WriteFlashFile("S1 a\nS1 b\nS9 c\n");
    ScriptReplies({kAccepted, kAccepted, kProgrammed});
    platform.onWrite = [this](const std::string& bytes) {
        if (bytes == "S1 a") {
            // Unplugged while record 1 is under way: heard when messages are taken.
            windows.QueueInput([this] { platform.RemoveDevice(kDevicePath); });
        }
    };
    const DownloadReport report = Download();

    ASSERT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(BoxTexts()[0].rfind(TransferError(2, "S1 b") + "\n", 0), 0u) << BoxTexts()[0];
    EXPECT_EQ(BoxTexts()[1], kNotProgrammed);
    EXPECT_EQ(Sent(), std::vector<std::string>{"S1 a"});
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(report.outcome, DownloadOutcome::NotProgrammed);
}

// ---- Repeats of refused records.

TEST_F(FlashDownload, ARecordRefusedTwiceIsSentAThirdTimeAndTheDownloadGoesOn)
{
    WriteFlashFile("S1 a\nS1 b\n");
    ScriptReplies({kRefused, kRefused, kAccepted, kAccepted});
    Download();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1 a", "S1 a", "S1 a", "S1 b"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotProgrammed});
}

TEST_F(FlashDownload, ARecordRefusedThreeTimesEndsWithTheNoAcknowledgeText)
{
    WriteFlashFile("S1 a\nS1 b\n");
    ScriptReplies({kAccepted, kRefused, kRefused, kRefused});
    Download();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1 a", "S1 b", "S1 b", "S1 b"}));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              TransferError(2, "S1 b", CTreloxExceptionNoAck(3).GetMessageText()), kNotProgrammed}));
}

// ---- Progress.

TEST_F(FlashDownload, ProgressIsTheShareOfTheFileReadInWholePercent)
{
    // Four records of ten bytes with their line ends, and one of 3 bytes alone.
    WriteFlashFile("S1 a1234\r\nS1 b12345\nS1 c1234\r\n\nS1 d1234\n");
    ScriptReplies({kAccepted, kAccepted, kAccepted, kAccepted});
    Download();
    EXPECT_EQ(PercentTexts(), (std::vector<std::string>{"25 %", "50 %", "75 %", "100 %"}));
}

TEST_F(FlashDownload, ASingleShortRecordReaches100Percent)
{
    WriteFlashFile("S1\n");
    ScriptReplies({kAccepted});
    Download();
    EXPECT_EQ(PercentTexts(), std::vector<std::string>{"100 %"});
}

TEST_F(FlashDownload, AFileThatReportsNoSizeStaysAtZeroPercent)
{
    WriteFlashFile("S1 a\nS1 b\n");
    platform.ReportFileSizeZero(kFlashFile);
    ScriptReplies({kAccepted, kAccepted});
    Download();
    EXPECT_EQ(PercentTexts(), std::vector<std::string>{"0 %"});
    EXPECT_EQ(Sent().size(), 2u);
}

// ---- Cancelling.

TEST_F(FlashDownload, CancelDuringARecordsRepeatsCompletesThatRecordAndReadsNoFurther)
{
    WriteFlashFile("S1 a\nS1 b\nS1 c\nS9 d\n");
    ScriptReplies({kAccepted, kRefused, kRefused, kAccepted, kAccepted, kProgrammed});
    platform.onWrite = [this](const std::string& bytes) {
        if (bytes == "S1 b" && Sent().size() == 1) {
            windows.Click(windows.FindDialog(IDD_PROGRESS_DIALOG), IDCANCEL);
        }
    };
    const DownloadReport report = Download();

    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1 a", "S1 b", "S1 b", "S1 b"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotProgrammed});
    EXPECT_EQ(report.outcome, DownloadOutcome::NotProgrammed);
    ExpectEverythingReleased();
}

TEST_F(FlashDownload, CancelAfterTheProgrammedRecordStillWaitsForTheDevice)
{
    WriteFlashFile("S1 a\nS9 b\n");
    ScriptReplies({kAccepted, kProgrammed});
    platform.onWrite = [this](const std::string& bytes) {
        if (bytes == "S9 b") {
            windows.Click(windows.FindDialog(IDD_PROGRESS_DIALOG), IDCANCEL);
        }
    };
    DeviceCyclesWhileStatusShown();
    const DownloadReport report = Download();
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(StatusWindowShowings(), 1);
    EXPECT_EQ(report.outcome, DownloadOutcome::Programmed);
}

TEST_F(FlashDownload, EscapeInTheProgressWindowDoesNotCancel)
{
    WriteFlashFile("S1 a\nS1 b\n");
    ScriptReplies({kAccepted, kAccepted});
    platform.onWrite = [this](const std::string& bytes) {
        if (bytes == "S1 a") {
            windows.PressEscape(windows.FindDialog(IDD_PROGRESS_DIALOG));
        }
    };
    Download();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1 a", "S1 b"}));
}

// ---- The lock.

TEST_F(FlashDownload, TheLockPromptIsAskedUntilTheLockIsFreeOrTheUserGivesUp)
{
    WriteFlashFile("S1 a\n");
    ScriptReplies({kAccepted});
    platform.HoldMutexElsewhere(kSynchronizer);
    int prompts = 0;
    windows.SetMessageBoxHook([&](const MessageBoxRecord& box) {
        if (box.text == kLockPrompt.c_str() && ++prompts == 2) {
            platform.HoldMutexElsewhere(kSynchronizer, false);  // the other program closes
        }
        return IDOK;
    });
    Download();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kLockPrompt, kLockPrompt, kNotProgrammed}));
    EXPECT_EQ(windows.MessageBoxes()[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(FlashDownload, CancelAtTheLockPromptEndsSilentlyWithoutAProgressWindow)
{
    WriteFlashFile("S1 a\n");
    platform.HoldMutexElsewhere(kSynchronizer);
    bool progressSeen = false;
    windows.SetMessageBoxHook([&](const MessageBoxRecord&) {
        progressSeen = progressSeen || windows.FindDialog(IDD_PROGRESS_DIALOG) != nullptr;
        return IDCANCEL;
    });
    const DownloadReport report = Download();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kLockPrompt});
    EXPECT_FALSE(progressSeen);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(report.outcome, DownloadOutcome::LockGivenUp);
    EXPECT_FALSE(report.transferStarted);
    ExpectEverythingReleased();
}

// ---- The file.

TEST_F(FlashDownload, AFileThatCannotBeOpenedIsTheOnlyMessageAndNothingElseHappens)
{
    platform.AddFile("/flash/held.s19", "S1\n");
    platform.RefuseFileOpen("/flash/held.s19");
    for (const char* path : {"/flash/missing.s19", "/flash/held.s19"}) {
        const DownloadReport report = device.DownloadFlashFile(path);
        EXPECT_EQ(report.outcome, DownloadOutcome::FileNotOpened);
    }
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kCannotOpen, kCannotOpen}));
    EXPECT_TRUE(platform.MutexesCreated().empty());
    EXPECT_TRUE(Sent().empty());
}

// ---- Failures outside a record's exchange leave things as the finish does.

TEST_F(FlashDownload, AReadFailureMidwayIsReportedAndEverythingIsReleased)
{
    WriteFlashFile("S1 a\nS1 b\nS1 c\n");
    platform.FailFileReadAfter(kFlashFile, 5);
    ScriptReplies({kAccepted, kAccepted});
    const DownloadReport report = Download();

    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0], "Lesefehler in der Flash-Datei nach Datensatz 1!\nDer Download wurde abgebrochen.");
    EXPECT_EQ(Sent(), std::vector<std::string>{"S1 a"});
    EXPECT_EQ(report.outcome, DownloadOutcome::Failed);
    EXPECT_FALSE(platform.IsMutexHeldHere(kSynchronizer));
    ExpectEverythingReleased();
}

TEST_F(FlashDownload, ARefusedMutexNameIsReportedAndTheFileClosed)
{
    WriteFlashFile("S1 a\n");
    platform.RefuseMutexName("Global\\ORB812MUTEX_ABC123");
    const DownloadReport report = Download();
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0].rfind("Die Ger\xE4tesperre kann nicht angelegt werden", 0), 0u) << BoxTexts()[0];
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(report.outcome, DownloadOutcome::Failed);
    ExpectEverythingReleased();
}

// ---- The status window.

TEST_F(FlashDownload, GivingUpTheWaitAsksFirstAndNoKeepsWaiting)
{
    WriteFlashFile("S9 only\n");
    ScriptReplies({kProgrammed});
    int idleTurns = 0;
    windows.SetIdleHook([&] {
        if (++idleTurns <= 2) {
            windows.Click(windows.FindDialog(IDD_FLASHINFO_DIALOG), IDCANCEL);
        }
        return idleTurns <= 2;
    });
    windows.AnswerMessageBox(IDNO);
    windows.AnswerMessageBox(IDYES);
    windows.SetMessageBoxHook(nullptr);
    const DownloadReport report = Download();

    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kGiveUp, kGiveUp}));
    EXPECT_EQ(windows.MessageBoxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(report.outcome, DownloadOutcome::StatusWindowGivenUp);
    ExpectEverythingReleased();
}

TEST_F(FlashDownload, TheMainWindowIsDisabledWhileTheDownloadRunsAndEnabledAfter)
{
    CWinApp app;
    CWnd mainWindow;
    ASSERT_TRUE(mainWindow.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_POPUP, 0, 0, 0, 0, nullptr, 0));
    app.m_pMainWnd = &mainWindow;
    WriteFlashFile("S1 a\nS9 b\n");
    ScriptReplies({kAccepted, kProgrammed});
    std::vector<bool> enabledAtWrites;
    platform.onWrite = [&](const std::string&) { enabledAtWrites.push_back(mainWindow.IsWindowEnabled() != FALSE); };
    bool enabledWhileWaiting = true;
    DeviceCyclesWhileStatusShown();
    platform.onSleep = [&](DWORD) { enabledWhileWaiting = mainWindow.IsWindowEnabled() != FALSE; };
    Download();

    EXPECT_EQ(enabledAtWrites, (std::vector<bool>{false, false}));
    EXPECT_FALSE(enabledWhileWaiting);
    EXPECT_TRUE(mainWindow.IsWindowEnabled());
    app.m_pMainWnd = nullptr;
}
