// The program's message box: caption, owner (the window in front) and default icons.
#include <gtest/gtest.h>

#include "framework/AfxMessageBox.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "support/MemoryWindowSystem.h"
#include "support/TestDialogTemplate.h"

namespace {
class MessageBoxTest : public ::testing::Test {
protected:
    // Creates `dialog` from the test template and shows it.
    static void Show(CDialog& dialog)
    {
        test_dialog::Register();
        ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
        dialog.ShowWindow(SW_SHOW);
    }

    // Notes whether `window` is enabled while the next box is shown.
    void WatchWhileShown(CWnd& window, bool& enabledWhileShown)
    {
        m_windows.SetMessageBoxHook([&window, &enabledWhileShown](const MessageBoxRecord&) {
            enabledWhileShown = window.IsWindowEnabled() != FALSE;
            return IDOK;
        });
    }

    MemoryWindowSystem m_windows;
};

TEST_F(MessageBoxTest, CaptionIsTheExecutableNameWithoutExtension)
{
    CWinApp app;
    char program[] = "C:\\Programme\\Werkzeug\\Trelox.exe";
    char* argv[] = {program, nullptr};
    app.SetCommandLine(1, argv);

    AfxMessageBox("Text");

    ASSERT_EQ(m_windows.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_windows.MessageBoxes()[0].caption, "Trelox");
    EXPECT_EQ(m_windows.MessageBoxes()[0].text, "Text");
}

TEST_F(MessageBoxTest, CaptionOfAPosixPathAndANameWithDots)
{
    CWinApp app;
    char program[] = "/opt/tools.d/trelox";
    char* argv[] = {program, nullptr};
    app.SetCommandLine(1, argv);
    AfxMessageBox("x");
    EXPECT_EQ(m_windows.MessageBoxes().back().caption, "trelox");
}

TEST_F(MessageBoxTest, WithoutApplicationTheFallbackTitleIsUsed)
{
    AfxMessageBox("x");
    EXPECT_EQ(m_windows.MessageBoxes().back().caption, "Trelox");
}

TEST_F(MessageBoxTest, DefaultIconsFollowTheButtons)
{
    m_windows.AnswerMessageBox(IDCANCEL);
    m_windows.AnswerMessageBox(IDYES);
    m_windows.AnswerMessageBox(IDNO);
    AfxMessageBox("ok");
    EXPECT_EQ(AfxMessageBox("okcancel", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("yesno", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("yesnocancel", MB_YESNOCANCEL), IDNO);

    const auto& boxes = m_windows.MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[2].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes[3].type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
}

TEST_F(MessageBoxTest, AnIconAskedForIsKept)
{
    m_windows.AnswerMessageBox(IDNO);
    AfxMessageBox("frage", MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(m_windows.MessageBoxes().back().type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
}

TEST_F(MessageBoxTest, ZeroBytesOfTheTextAreShown)
{
    AfxMessageBox(CString("a\0b", 3));
    EXPECT_EQ(m_windows.MessageBoxes().back().text.GetLength(), 3);
}

TEST_F(MessageBoxTest, WithNoDialogInFrontTheMainWindowOwnsTheBoxAndIsDisabledMeanwhile)
{
    CWinApp app;
    CWnd mainWindow;
    ASSERT_TRUE(mainWindow.CreateEx(0, AfxRegisterWndClass(0), "Haupt", WS_POPUP | WS_SYSMENU, 0, 0, 0, 0,
                                    nullptr, 0));
    app.m_pMainWnd = &mainWindow;
    bool enabledWhileShown = true;
    WatchWhileShown(mainWindow, enabledWhileShown);

    AfxMessageBox("x");

    EXPECT_EQ(m_windows.MessageBoxes().back().owner, mainWindow.GetSafeHwnd());
    EXPECT_FALSE(enabledWhileShown);
    EXPECT_TRUE(mainWindow.IsWindowEnabled());
}

TEST_F(MessageBoxTest, ADialogInFrontOwnsTheBoxAndTheMainWindowItDisabledStaysSo)
{
    CWinApp app;
    CDialog mainDialog(test_dialog::kTemplateId);
    Show(mainDialog);
    app.m_pMainWnd = &mainDialog;
    // A window over the main window that disabled it, as the progress window does.
    CDialog front(test_dialog::kTemplateId);
    Show(front);
    mainDialog.EnableWindow(FALSE);
    bool frontEnabledWhileShown = true;
    bool mainEnabledWhileShown = true;
    m_windows.SetMessageBoxHook([&](const MessageBoxRecord&) {
        frontEnabledWhileShown = front.IsWindowEnabled() != FALSE;
        mainEnabledWhileShown = mainDialog.IsWindowEnabled() != FALSE;
        return IDOK;
    });

    AfxMessageBox("x");

    EXPECT_EQ(m_windows.MessageBoxes().back().owner, front.GetSafeHwnd());
    EXPECT_FALSE(frontEnabledWhileShown);
    EXPECT_FALSE(mainEnabledWhileShown);
    EXPECT_TRUE(front.IsWindowEnabled());
    EXPECT_FALSE(mainDialog.IsWindowEnabled()) << "the main window is left to the window that disabled it";
}

TEST_F(MessageBoxTest, HiddenAndDisabledDialogsAreNotInFront)
{
    CWinApp app;
    CDialog mainDialog(test_dialog::kTemplateId);
    Show(mainDialog);
    app.m_pMainWnd = &mainDialog;
    CDialog hidden(test_dialog::kTemplateId);
    ASSERT_TRUE(hidden.Create(test_dialog::kTemplateId));
    CDialog disabled(test_dialog::kTemplateId);
    Show(disabled);
    disabled.EnableWindow(FALSE);

    AfxMessageBox("x");

    EXPECT_EQ(m_windows.MessageBoxes().back().owner, mainDialog.GetSafeHwnd());
    EXPECT_FALSE(disabled.IsWindowEnabled());
}

TEST_F(MessageBoxTest, WithoutMainWindowTheShownDialogOwnsTheBox)
{
    CWinApp app;
    CDialog shown(test_dialog::kTemplateId);
    Show(shown);
    bool enabledWhileShown = true;
    WatchWhileShown(shown, enabledWhileShown);

    AfxMessageBox("x");

    EXPECT_EQ(m_windows.MessageBoxes().back().owner, shown.GetSafeHwnd());
    EXPECT_FALSE(enabledWhileShown);
    EXPECT_TRUE(shown.IsWindowEnabled());
}

TEST_F(MessageBoxTest, WithoutMainWindowTheBoxHasNoOwner)
{
    CWinApp app;
    AfxMessageBox("x");
    EXPECT_EQ(m_windows.MessageBoxes().back().owner, nullptr);
}
}  // namespace
