// Which window takes input after a modal run and while a message box asks, on
// the real window system: the owner of an ended dialog is enabled and active
// again, and the status window's question belongs to the status window.
#include <gtest/gtest.h>

#include "Win32UiFixture.h"
#include "WindowProbe.h"
#include "ui/CAboutDlg.h"
#include "ui/CFlashInfoDlg.h"

namespace {

using ActivationTest = Win32UiFixture;

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
