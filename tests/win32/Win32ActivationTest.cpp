// Which window takes input after a modal run and while a message box asks, on
// the real window system: the owner of an ended dialog is enabled and active
// again, and the status window's question belongs to the status window.
#include <gtest/gtest.h>

#include "Win32UiFixture.h"
#include "WindowProbe.h"
#include "ui/CAboutDlg.h"
#include "ui/CFlashInfoDlg.h"

namespace {

HWND Handle(const CWnd& wnd)
{
    return static_cast<HWND>(wnd.GetSafeHwnd());
}

// What was seen while the status window asked its question.
struct QuestionSeen {
    HWND statusWindow = nullptr;
    HWND boxOwner = nullptr;
    bool statusEnabledWhileAsked = true;
    bool mainEnabledWhileAsked = true;
    bool statusEnabledAfterNo = false;
};

class ActivationTest : public Win32UiFixture {
protected:
    // Runs the status window, raises its question with Esc, notes who owns
    // the box and who is enabled meanwhile, answers No, then ends the window.
    QuestionSeen AskOnceAndEnd(CFlashInfoDlg& status);
};

QuestionSeen ActivationTest::AskOnceAndEnd(CFlashInfoDlg& status)
{
    const HWND mainDialog = MainWindow();
    QuestionSeen seen;
    int step = 0;
    probe.Start(
        [&] {
            const HWND window = Handle(status);
            const HWND box = FindOwnMessageBox();
            if (step == 0 && window != nullptr && ::GetFocus() != nullptr) {
                seen.statusWindow = window;
                ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                step = 1;
            } else if (step == 1 && box != nullptr) {
                seen.boxOwner = ::GetWindow(box, GW_OWNER);
                seen.statusEnabledWhileAsked = ::IsWindowEnabled(window) != FALSE;
                seen.mainEnabledWhileAsked = mainDialog != nullptr && ::IsWindowEnabled(mainDialog);
                WindowProbe::PressButton(box, IDNO);
                step = 2;
            } else if (step == 2 && box == nullptr) {
                seen.statusEnabledAfterNo = ::IsWindowEnabled(window) != FALSE;
                status.EndDialog(IDOK);
                return true;
            }
            return false;
        },
        [&] { status.EndDialog(-2); });
    EXPECT_EQ(status.DoModal(), IDOK);
    EXPECT_FALSE(probe.TimedOut());
    return seen;
}

TEST_F(ActivationTest, AfterAModalDialogTheOwnerIsEnabledAndActiveAgain)
{
    OpenMainWindow();
    ::SetActiveWindow(MainWindow());
    CAboutDlg about;
    bool aboutWasActive = false;
    probe.Start(
        [&] {
            const HWND window = Handle(about);
            if (window == nullptr || ::GetActiveWindow() != window) {
                return false;
            }
            aboutWasActive = true;
            WindowProbe::PressButton(window, IDOK);
            return true;
        },
        [&] { about.EndDialog(-2); });

    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_FALSE(probe.TimedOut()) << "the about box never became the active window";
    EXPECT_TRUE(aboutWasActive);
    EXPECT_TRUE(::IsWindowEnabled(MainWindow()));
    EXPECT_EQ(::GetActiveWindow(), MainWindow());
}

TEST_F(ActivationTest, WithoutMainWindowTheStatusWindowOwnsItsQuestionAndIsDisabledMeanwhile)
{
    CFlashInfoDlg status;
    const QuestionSeen seen = AskOnceAndEnd(status);

    ASSERT_NE(seen.statusWindow, nullptr);
    EXPECT_EQ(seen.boxOwner, seen.statusWindow);
    EXPECT_FALSE(seen.statusEnabledWhileAsked);
    EXPECT_TRUE(seen.statusEnabledAfterNo);
}

TEST_F(ActivationTest, OverTheMainWindowTheStatusWindowOwnsItsQuestionAndTheMainWindowStaysDisabled)
{
    OpenMainWindow();
    CFlashInfoDlg status;
    const QuestionSeen seen = AskOnceAndEnd(status);

    ASSERT_NE(seen.statusWindow, nullptr);
    EXPECT_EQ(seen.boxOwner, seen.statusWindow);
    EXPECT_FALSE(seen.statusEnabledWhileAsked);
    EXPECT_FALSE(seen.mainEnabledWhileAsked);
    EXPECT_TRUE(seen.statusEnabledAfterNo);
    EXPECT_TRUE(::IsWindowEnabled(MainWindow()));
    EXPECT_EQ(::GetActiveWindow(), MainWindow());
}

}  // namespace
