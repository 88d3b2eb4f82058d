// The progress window: "Download" from the first moment, "Prozent" and an
// empty bar until the first record, the percentage as text and bar, Enter
// doing nothing, and "Abbrechen" raising the flag and disabling itself.
#include <gtest/gtest.h>

#include "framework/CWinApp.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "ui/CProgressDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/res/resource.h"

namespace {
class ProgressDlg : public ::testing::Test {
protected:
    ProgressDlg()
    {
        m_platform.Install();
        RegisterDialogTemplates();
    }

    WindowHandle Window() const { return m_dialog.GetSafeHwnd(); }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    CProgressDlg m_dialog;
};

TEST_F(ProgressDlg, ShowsDownloadAndNoPercentUntilTheFirstRecord)
{
    ASSERT_TRUE(m_dialog.ShowModeless());
    EXPECT_TRUE(m_windows.FindWindow(Window())->visible);
    EXPECT_EQ(m_windows.Text(Window(), IDC_DESCRIPTION), "Download");
    EXPECT_EQ(m_windows.Text(Window(), IDC_PERCENT), "Prozent");
    EXPECT_EQ(m_windows.ProgressPosition(Window(), IDC_PROGRESS), 0);
}

TEST_F(ProgressDlg, SetPercentWritesTextAndBarAndReturnsThePreviousPosition)
{
    ASSERT_TRUE(m_dialog.ShowModeless());
    EXPECT_EQ(m_dialog.SetPercent(0), 0);
    EXPECT_EQ(m_windows.Text(Window(), IDC_PERCENT), "0 %");
    EXPECT_EQ(m_dialog.SetPercent(42), 0);
    EXPECT_EQ(m_dialog.SetPercent(100), 42);
    EXPECT_EQ(m_windows.Text(Window(), IDC_PERCENT), "100 %");
    EXPECT_EQ(m_windows.ProgressPosition(Window(), IDC_PROGRESS), 100);
}

TEST_F(ProgressDlg, AbbrechenSetsTheFlagDisablesItselfAndKeepsTheWindow)
{
    ASSERT_TRUE(m_dialog.ShowModeless());
    m_windows.PressEnter(Window());
    AfxPumpWaitingMessages();
    EXPECT_FALSE(m_dialog.m_bCancel);
    m_windows.Click(Window(), IDCANCEL);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(m_dialog.m_bCancel);
    EXPECT_FALSE(m_windows.IsEnabled(Window(), IDCANCEL));
    EXPECT_TRUE(m_windows.FindWindow(Window())->visible);
}

TEST_F(ProgressDlg, TheMainWindowIsDisabledWhileShownAndOwnsIt)
{
    CWinApp app;
    CWnd mainWindow;
    ASSERT_TRUE(mainWindow.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_POPUP, 0, 0, 0, 0, nullptr, 0));
    app.m_pMainWnd = &mainWindow;
    ASSERT_TRUE(m_dialog.ShowModeless());
    EXPECT_FALSE(mainWindow.IsWindowEnabled());
    EXPECT_EQ(m_windows.FindWindow(Window())->owner, mainWindow.GetSafeHwnd());
    app.m_pMainWnd = nullptr;
}
}  // namespace
