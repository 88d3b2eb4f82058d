// The programming status window: its texts when it opens, the running time
// in minutes and seconds past 99 minutes, a fresh time field on every
// showing, giving up with Yes and No, and its question holding the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "ui/CFlashInfoDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/res/resource.h"

namespace {
class FlashInfoDlg : public ::testing::Test {
protected:
    FlashInfoDlg()
    {
        m_platform.Install();
        RegisterDialogTemplates();
    }

    WindowHandle Window() const { return m_windows.FindDialog(IDD_FLASHINFO_DIALOG); }
    std::string TimeText() const { return m_windows.Text(Window(), IDC_TIME_TEXT).Bytes(); }

    // Runs the window; each idle turn moves the clock to the next of
    // `atMs` (from the opening) and notes the time field; then gives up.
    std::vector<std::string> TimesAt(const std::vector<DWORD>& atMs)
    {
        std::vector<std::string> shown;
        std::size_t next = 0;
        DWORD opened = 0;
        m_windows.SetIdleHook([&] {
            if (next == 0 && shown.empty()) {
                opened = m_platform.GetTickCount();
                m_stateAtOpening = m_windows.Text(Window(), IDC_STATE_TEXT).Bytes();
            }
            shown.push_back(TimeText());
            if (next == atMs.size()) {
                m_windows.Click(Window(), IDCANCEL);
                return true;
            }
            m_platform.SetTickCount(opened + atMs[next++]);
            return true;
        });
        m_windows.AnswerMessageBox(IDYES);
        EXPECT_EQ(m_dialog.DoModal(), IDCANCEL);
        return shown;
    }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    CFlashInfoDlg m_dialog;
    std::string m_stateAtOpening;
};

TEST_F(FlashInfoDlg, OpensWaitingWithAnEmptyTimeThatCountsInMinutesAndSeconds)
{
    const std::vector<std::string> times =
        TimesAt({199, 200, 999, 59000, 60000, 3725000, 5999999, 6000200, 6001200});
    EXPECT_EQ(times, (std::vector<std::string>{"", "", "00:00", "00:00", "00:59", "01:00", "62:05", "99:59",
                                               "100:00", "100:01"}));
    EXPECT_EQ(m_stateAtOpening, "Warten auf Beginn der Programmierung");
}

TEST_F(FlashInfoDlg, EveryShowingStartsWithAnEmptyFieldAndShows0000AtItsFirstTick)
{
    EXPECT_EQ(TimesAt({200}), (std::vector<std::string>{"", "00:00"}));
    // The last showing ended on 00:00; this one shows it again at once.
    EXPECT_EQ(TimesAt({200}), (std::vector<std::string>{"", "00:00"}));
}

TEST_F(FlashInfoDlg, GivingUpAsksAndOnlyYesEndsTheWindow)
{
    int turns = 0;
    std::string timeAfterNo;
    m_windows.SetIdleHook([&] {
        ++turns;
        if (turns == 3) {
            timeAfterNo = TimeText();
        }
        if (turns == 1 || turns == 3) {
            m_windows.Click(Window(), IDCANCEL);
        }
        if (turns == 2) {
            // After No the window and its timer go on.
            m_platform.AdvanceClock(2000);
        }
        return turns < 4;
    });
    m_windows.AnswerMessageBox(IDNO);
    m_windows.AnswerMessageBox(IDYES);
    EXPECT_EQ(m_dialog.DoModal(), IDCANCEL);

    ASSERT_EQ(m_windows.MessageBoxes().size(), 2u);
    EXPECT_EQ(m_windows.MessageBoxes()[0].text,
              "Die Programmierung ist moeglicherweise noch nicht vollst\xE4" "ndig.\nWollen Sie wirklich abbrechen?");
    EXPECT_EQ(m_windows.MessageBoxes()[0].answer, IDNO);
    EXPECT_EQ(m_windows.MessageBoxes()[1].answer, IDYES);
    EXPECT_EQ(timeAfterNo, "00:02");
    EXPECT_EQ(Window(), nullptr);
}
// Asks the question once and, while it is shown, presses "Abbrechen" again
// directly and as queued input (Esc, Ctrl-C on the terminal) taken by the
// box's own loop. Returns what was seen; the window ends after Yes.
struct QuestionSeen {
    WindowHandle window = nullptr;
    bool windowEnabledWhileAsked = true;
    bool mainEnabledWhileAsked = true;
    bool secondPressTaken = true;
    int deepestNesting = 0;
    bool windowEnabledAfterNo = false;
};

QuestionSeen AskTwiceWhileTheQuestionIsShown(MemoryWindowSystem& windows, CFlashInfoDlg& dialog, CWnd* mainWindow)
{
    QuestionSeen seen;
    int nesting = 0;
    int boxes = 0;
    windows.SetMessageBoxHook([&](const MessageBoxRecord&) {
        ++nesting;
        ++boxes;
        seen.deepestNesting = std::max(seen.deepestNesting, nesting);
        if (nesting == 1 && boxes == 1) {
            seen.windowEnabledWhileAsked = windows.IsWindowEnabled(seen.window);
            seen.mainEnabledWhileAsked = mainWindow != nullptr && mainWindow->IsWindowEnabled();
            seen.secondPressTaken = windows.PressButton(seen.window, IDCANCEL);
            windows.Click(seen.window, IDCANCEL);
            windows.PressEscape(seen.window);
            windows.PumpWaitingMessages();
        }
        --nesting;
        // A nested question answered Yes would end the window under the outer one.
        return nesting > 0 || boxes > 1 ? IDYES : IDNO;
    });
    int turns = 0;
    windows.SetIdleHook([&] {
        ++turns;
        seen.window = dialog.GetSafeHwnd();
        if (turns == 2) {
            seen.windowEnabledAfterNo = windows.IsWindowEnabled(seen.window);
        }
        windows.Click(seen.window, IDCANCEL);
        return turns < 3;
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    windows.SetMessageBoxHook(nullptr);
    windows.SetIdleHook(nullptr);
    return seen;
}

TEST_F(FlashInfoDlg, WithoutMainWindowItsQuestionDisablesItSoAFurtherCancelAsksNothing)
{
    const QuestionSeen seen = AskTwiceWhileTheQuestionIsShown(m_windows, m_dialog, nullptr);

    ASSERT_EQ(m_windows.MessageBoxes().size(), 2u) << "one question per press, none nested";
    EXPECT_EQ(m_windows.MessageBoxes()[0].owner, seen.window);
    EXPECT_EQ(m_windows.MessageBoxes()[0].answer, IDNO);
    EXPECT_EQ(seen.deepestNesting, 1);
    EXPECT_FALSE(seen.windowEnabledWhileAsked);
    EXPECT_FALSE(seen.secondPressTaken);
    EXPECT_TRUE(seen.windowEnabledAfterNo) << "after No the window takes input again";
}

TEST_F(FlashInfoDlg, UnderTheMainWindowItsQuestionIsItsOwnAndTheMainWindowStaysDisabled)
{
    CWinApp app;
    CDialog mainDialog(IDD_TRELOX_DIALOG);
    ASSERT_TRUE(mainDialog.Create(IDD_TRELOX_DIALOG));
    mainDialog.ShowWindow(SW_SHOW);
    app.m_pMainWnd = &mainDialog;

    const QuestionSeen seen = AskTwiceWhileTheQuestionIsShown(m_windows, m_dialog, &mainDialog);

    ASSERT_EQ(m_windows.MessageBoxes().size(), 2u);
    EXPECT_EQ(m_windows.MessageBoxes()[0].owner, seen.window);
    EXPECT_EQ(seen.deepestNesting, 1);
    EXPECT_FALSE(seen.windowEnabledWhileAsked);
    EXPECT_FALSE(seen.mainEnabledWhileAsked);
    EXPECT_FALSE(seen.secondPressTaken);
    EXPECT_TRUE(mainDialog.IsWindowEnabled()) << "enabled again after the status window";
    app.m_pMainWnd = nullptr;
}
}  // namespace
