// Dialogs: data exchange both ways, binding of controls, modal and modeless
// runs with their owners, and how a modal run ends.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/CFileDialog.h"
#include "framework/CProgressCtrl.h"
#include "framework/CWinApp.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "support/TestDialogTemplate.h"

namespace {
class ExchangeDialog : public CDialog {
public:
    explicit ExchangeDialog(UINT templateId = test_dialog::kTemplateId) : CDialog(templateId) {}

    CString m_strName;
    CProgressCtrl m_progress;
    int changes = 0;
    int endInInit = 0;
    BOOL initResult = TRUE;
    bool ownerEnabledDuringInit = true;
    CWnd* watchedOwner = nullptr;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (watchedOwner != nullptr) {
            ownerEnabledDuringInit = watchedOwner->IsWindowEnabled() != FALSE;
        }
        if (endInInit != 0) {
            EndDialog(endInInit);
        }
        return initResult;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, test_dialog::kEdit, m_strName);
        DDX_Control(pDX, test_dialog::kProgress, m_progress);
    }
    void OnEditChange() { ++changes; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ExchangeDialog, CDialog)
    ON_EN_CHANGE(test_dialog::kEdit, &ExchangeDialog::OnEditChange)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
protected:
    DialogTest()
    {
        m_platform.Install();
        test_dialog::Register();
    }

    // A main window of the application, as the program's main dialog is.
    void MakeMainWindow()
    {
        ASSERT_TRUE(m_mainWindow.CreateEx(0, AfxRegisterWndClass(0), "Haupt", WS_POPUP, 0, 0, 0, 0, nullptr, 0));
        m_app.m_pMainWnd = &m_mainWindow;
    }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    CWinApp m_app;
    CWnd m_mainWindow;
};

TEST_F(DialogTest, InitDialogWritesTheFieldsIntoTheControls)
{
    ExchangeDialog dialog;
    dialog.m_strName = "Pr\xFC" "fling";
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    EXPECT_EQ(m_windows.Text(dialog.GetSafeHwnd(), test_dialog::kEdit), "Pr\xFC" "fling");
    EXPECT_EQ(dialog.changes, 1);
}

TEST_F(DialogTest, UpdateDataTakesTheControlsIntoTheFields)
{
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    dialog.SetDlgItemText(test_dialog::kEdit, CString("a\0b", 3));
    EXPECT_TRUE(dialog.m_strName.IsEmpty());
    dialog.UpdateData(TRUE);
    EXPECT_EQ(dialog.m_strName, CString("a\0b", 3));
}

TEST_F(DialogTest, WritingAnUnchangedTextReportsNoChange)
{
    ExchangeDialog dialog;
    dialog.m_strName = "x";
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    const int changesAfterInit = dialog.changes;
    dialog.UpdateData(FALSE);
    EXPECT_EQ(dialog.changes, changesAfterInit);
    dialog.m_strName = "y";
    dialog.UpdateData(FALSE);
    EXPECT_EQ(dialog.changes, changesAfterInit + 1);
}

TEST_F(DialogTest, BoundProgressBarReportsThePreviousPositionWithinItsRange)
{
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    ASSERT_NE(dialog.m_progress.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.m_progress.SetPos(42), 0);
    EXPECT_EQ(dialog.m_progress.SetPos(100), 42);
    EXPECT_EQ(dialog.m_progress.SetPos(250), 100);
    EXPECT_EQ(m_windows.ProgressPosition(dialog.GetSafeHwnd(), test_dialog::kProgress), 100);
    EXPECT_EQ(dialog.m_progress.SetPos(-5), 100);
    EXPECT_EQ(dialog.m_progress.GetPos(), 0);
}

TEST_F(DialogTest, ABoundControlLetsGoWhenTheDialogIsDestroyed)
{
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.m_progress.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.m_progress.SetPos(10), 0);
    // A second window binds it again.
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    EXPECT_NE(dialog.m_progress.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, ModalDialogDisablesTheMainWindowUntilItEnds)
{
    MakeMainWindow();
    ExchangeDialog dialog;
    dialog.watchedOwner = &m_mainWindow;
    bool enabledWhileRunning = true;
    m_windows.SetIdleHook([&] {
        enabledWhileRunning = m_mainWindow.IsWindowEnabled() != FALSE;
        m_windows.Click(m_windows.CurrentModalDialog(), IDCANCEL);
        return true;
    });

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    EXPECT_FALSE(dialog.ownerEnabledDuringInit);
    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_TRUE(m_mainWindow.IsWindowEnabled());
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, ADisabledOwnerStaysDisabledAfterTheModalRun)
{
    MakeMainWindow();
    m_mainWindow.EnableWindow(FALSE);
    ExchangeDialog dialog;
    dialog.endInInit = IDOK;
    dialog.DoModal();
    EXPECT_FALSE(m_mainWindow.IsWindowEnabled());
}

TEST_F(DialogTest, AfterAModalRunTheOwnerIsInFrontAgainWithItsFocus)
{
    // The owner must take input again before the dialog hides: hiding the
    // window in front hands the focus to the one then in front.
    ExchangeDialog mainDialog;
    ASSERT_TRUE(mainDialog.Create(test_dialog::kTemplateId));
    mainDialog.ShowWindow(SW_SHOW);
    m_app.m_pMainWnd = &mainDialog;
    m_windows.SetFocus(m_windows.Control(mainDialog.GetSafeHwnd(), test_dialog::kSecondEdit));
    ExchangeDialog dialog;
    m_windows.SetIdleHook([&] {
        m_windows.Click(m_windows.CurrentModalDialog(), IDCANCEL);
        return true;
    });

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    EXPECT_EQ(m_windows.ActiveDialog(), mainDialog.GetSafeHwnd());
    EXPECT_EQ(m_windows.FocusedControlId(mainDialog.GetSafeHwnd()), test_dialog::kSecondEdit);
    m_app.m_pMainWnd = nullptr;
}

TEST_F(DialogTest, OkTakesTheFieldsAndEndsWithIdOk)
{
    ExchangeDialog dialog;
    m_windows.SetIdleHook([&] {
        const WindowHandle running = m_windows.CurrentModalDialog();
        m_windows.Type(running, test_dialog::kEdit, "neu");
        m_windows.Click(running, IDOK);
        return true;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, "neu");
}

TEST_F(DialogTest, TheCloseBoxActsAsCancel)
{
    ExchangeDialog dialog;
    m_windows.SetIdleHook([&] {
        m_windows.CloseBox(m_windows.CurrentModalDialog());
        return true;
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, EndDialogDuringInitDialogEndsTheRunAtOnce)
{
    ExchangeDialog dialog;
    dialog.endInInit = 77;
    EXPECT_EQ(dialog.DoModal(), 77);
}

TEST_F(DialogTest, AMissingTemplateFailsWithMinusOneAndReleasesTheOwner)
{
    MakeMainWindow();
    ExchangeDialog dialog(4711);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(m_mainWindow.IsWindowEnabled());
}

TEST_F(DialogTest, InitDialogTrueFocusesTheFirstTabStopFalseLeavesTheFocus)
{
    ExchangeDialog first;
    ASSERT_TRUE(first.Create(test_dialog::kTemplateId));
    EXPECT_EQ(m_windows.FocusedControlId(first.GetSafeHwnd()), test_dialog::kEdit);

    ExchangeDialog second;
    second.initResult = FALSE;
    ASSERT_TRUE(second.Create(test_dialog::kTemplateId));
    EXPECT_EQ(m_windows.FocusedControlId(second.GetSafeHwnd()), 0);
}

TEST_F(DialogTest, ModelessDialogIsOwnedByTheMainWindowWhichStaysEnabled)
{
    MakeMainWindow();
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    EXPECT_EQ(m_windows.FindWindow(dialog.GetSafeHwnd())->owner, m_mainWindow.GetSafeHwnd());
    EXPECT_TRUE(m_mainWindow.IsWindowEnabled());
    EXPECT_FALSE(dialog.IsWindowVisible());

    // The owner takes its owned windows with it.
    m_mainWindow.DestroyWindow();
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, EndDialogOfAModelessDialogOnlyHidesIt)
{
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    dialog.ShowWindow(SW_SHOW);
    dialog.EndDialog(IDOK);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_NE(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, AModalLoopWithNothingToDoFailsTheTestAndEnds)
{
    ExchangeDialog dialog;
    int result = 0;
    EXPECT_NONFATAL_FAILURE(result = dialog.DoModal(), "no idle hook");
    EXPECT_EQ(result, -1);
}

TEST_F(DialogTest, FileDialogAsksWithItsOwnerInitialNameAndFlags)
{
    MakeMainWindow();
    m_windows.AnswerFileDialog("/daten/neu.s19");
    m_windows.CancelFileDialog();

    CFileDialog dialog(TRUE, nullptr, "alt.s19");
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), "/daten/neu.s19");
    CFileDialog cancelled(TRUE, nullptr, "alt.s19");
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_TRUE(cancelled.GetPathName().IsEmpty());

    const FileDialogRecord& asked = m_windows.FileDialogs().at(0);
    EXPECT_EQ(asked.owner, m_mainWindow.GetSafeHwnd());
    EXPECT_EQ(asked.initialFile, "alt.s19");
    EXPECT_EQ(asked.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER));
    EXPECT_TRUE(m_mainWindow.IsWindowEnabled());
}
}  // namespace

namespace {
class KeyDialog : public CDialog {
public:
    KeyDialog() : CDialog(test_dialog::kTemplateId) {}
    std::vector<int> buttons;

protected:
    void OnButton() { buttons.push_back(test_dialog::kButton); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyDialog, CDialog)
    ON_BN_CLICKED(test_dialog::kButton, &KeyDialog::OnButton)
END_MESSAGE_MAP()

class DialogKeysTest : public ::testing::Test {
protected:
    DialogKeysTest()
    {
        m_platform.Install();
        test_dialog::Register();
    }
    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
};

TEST_F(DialogKeysTest, EnterPressesTheFocusedButtonOrElseTheDefaultButton)
{
    KeyDialog dialog;
    int turn = 0;
    m_windows.SetIdleHook([&] {
        const WindowHandle running = m_windows.CurrentModalDialog();
        if (turn++ == 0) {
            m_windows.MoveFocus(running, test_dialog::kButton);
            m_windows.PressEnter(running);
            m_windows.MoveFocus(running, test_dialog::kEdit);
            m_windows.Type(running, test_dialog::kEdit, "getippt");
        }
        m_windows.PressEnter(running);
        return true;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.buttons, std::vector<int>{test_dialog::kButton});
}

TEST_F(DialogKeysTest, EscapeIsCancelUnlessTheCancelButtonIsDisabled)
{
    KeyDialog dialog;
    int turn = 0;
    m_windows.SetIdleHook([&] {
        const WindowHandle running = m_windows.CurrentModalDialog();
        if (turn++ == 0) {
            dialog.GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
            m_windows.PressEscape(running);
        } else if (turn == 2) {
            EXPECT_NE(dialog.GetSafeHwnd(), nullptr);
            dialog.GetDlgItem(IDCANCEL)->EnableWindow(TRUE);
            m_windows.PressEscape(running);
        }
        return turn < 5;
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogKeysTest, ThePumpGivesKeysNoDialogMeaning)
{
    KeyDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    dialog.ShowWindow(SW_SHOW);
    m_windows.MoveFocus(dialog.GetSafeHwnd(), test_dialog::kButton);
    m_windows.PressEnter(dialog.GetSafeHwnd());
    m_windows.PressEscape(dialog.GetSafeHwnd());
    AfxPumpWaitingMessages();
    EXPECT_TRUE(dialog.buttons.empty());
    EXPECT_TRUE(dialog.IsWindowVisible());
}
}  // namespace
