// Message maps: dispatch by message and by control notification, the chain
// to base classes, and the default processing of what nobody handles.
#include <gtest/gtest.h>

#include <vector>

#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "support/TestDialogTemplate.h"

namespace {
class RecordingWindow : public CWnd {
public:
    std::vector<UINT> timers;
    std::vector<UINT> sysCommands;
    int creates = 0;
    int destroys = 0;
    int createResult = 0;

    BOOL Create() { return CreateEx(0, AfxRegisterWndClass(0), "Verborgen", WS_POPUP, 0, 0, 0, 0, nullptr, 0); }
    LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) { return DeliverMessage(message, wParam, lParam); }

protected:
    int OnCreate(AfxCreateStruct* createStruct)
    {
        ++creates;
        EXPECT_STREQ(createStruct->lpszName, "Verborgen");
        if (CWnd::OnCreate(createStruct) == -1) {
            return -1;
        }
        return createResult;
    }
    void OnDestroy()
    {
        ++destroys;
        CWnd::OnDestroy();
    }
    void OnTimer(UINT_PTR id) { timers.push_back(static_cast<UINT>(id)); }
    void OnSysCommand(UINT id, LPARAM lParam)
    {
        sysCommands.push_back(id);
        CWnd::OnSysCommand(id, lParam);
    }
    BOOL OnDeviceChange(UINT eventType, DWORD_PTR data) { return CWnd::OnDeviceChange(eventType, data); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

// A class below RecordingWindow that adds one handler and keeps the rest.
class DerivedWindow : public RecordingWindow {
public:
    int paints = 0;

protected:
    void OnPaint() { ++paints; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, RecordingWindow)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class CommandDialog : public CDialog {
public:
    CommandDialog() : CDialog(test_dialog::kTemplateId) {}
    std::vector<int> events;

protected:
    void OnButton() { events.push_back(1); }
    void OnEditChange() { events.push_back(2); }
    void OnEditKillFocus() { events.push_back(3); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandDialog, CDialog)
    ON_BN_CLICKED(test_dialog::kButton, &CommandDialog::OnButton)
    ON_EN_CHANGE(test_dialog::kEdit, &CommandDialog::OnEditChange)
    ON_EN_KILLFOCUS(test_dialog::kEdit, &CommandDialog::OnEditKillFocus)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    MessageMapTest()
    {
        m_platform.Install();
        test_dialog::Register();
    }
    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
};

TEST_F(MessageMapTest, CreateAndDestroyReachTheirHandlers)
{
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(window.creates, 1);
    EXPECT_FALSE(window.IsWindowVisible());
    ASSERT_TRUE(window.DestroyWindow());
    EXPECT_EQ(window.destroys, 1);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(window.DestroyWindow());
}

TEST_F(MessageMapTest, MinusOneFromOnCreateFailsTheCreation)
{
    RecordingWindow window;
    window.createResult = -1;
    EXPECT_FALSE(window.Create());
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(window.destroys, 1);
}

TEST_F(MessageMapTest, UnhandledMessagesGetTheDefaultProcessing)
{
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    // Nobody maps WM_SETICON: the default processing keeps the icon.
    HANDLE icon = reinterpret_cast<HANDLE>(0x1234);
    EXPECT_EQ(window.SetIcon(icon, TRUE), nullptr);
    EXPECT_EQ(window.SetIcon(nullptr, TRUE), icon);
}

TEST_F(MessageMapTest, DeviceChangeHandlerReturnsTheDefaultResult)
{
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(window.Deliver(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0), TRUE);
}

TEST_F(MessageMapTest, ABaseClassMapServesWhatTheDerivedMapLacks)
{
    DerivedWindow window;
    ASSERT_TRUE(window.Create());
    window.Deliver(WM_PAINT, 0, 0);
    window.Deliver(WM_TIMER, 7, 0);
    EXPECT_EQ(window.paints, 1);
    EXPECT_EQ(window.timers, std::vector<UINT>{7});
}

TEST_F(MessageMapTest, DefaultInsideAHandlerProcessesTheMessageBeingHandled)
{
    RecordingWindow window;
    ASSERT_TRUE(window.Create());
    // The handler passes SC_CLOSE on; for a plain window that closes it.
    window.Deliver(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(window.sysCommands, std::vector<UINT>{SC_CLOSE});
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(window.destroys, 1);
}

TEST_F(MessageMapTest, CommandsAreRoutedByNotificationAndControlId)
{
    CommandDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    const WindowHandle handle = dialog.GetSafeHwnd();
    dialog.ShowWindow(SW_SHOW);

    m_windows.Click(handle, test_dialog::kButton);
    m_windows.Type(handle, test_dialog::kEdit, "abc");
    m_windows.MoveFocus(handle, test_dialog::kSecondEdit);
    // A click on a control without an entry reaches nobody.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(test_dialog::kProgress, BN_CLICKED), 0);
    AfxPumpWaitingMessages();

    EXPECT_EQ(dialog.events, (std::vector<int>{1, 2, 3}));
}

TEST_F(MessageMapTest, ADisabledButtonTakesNoClick)
{
    CommandDialog dialog;
    ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
    dialog.ShowWindow(SW_SHOW);
    dialog.GetDlgItem(test_dialog::kButton)->EnableWindow(FALSE);
    m_windows.Click(dialog.GetSafeHwnd(), test_dialog::kButton);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(dialog.events.empty());
}
}  // namespace
