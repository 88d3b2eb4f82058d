// The message queue: timers on the platform's clock, the pump, device
// notices as WM_DEVICECHANGE, and modal loops that take all of them.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <functional>
#include <vector>

#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "support/TestDialogTemplate.h"

namespace {
constexpr UINT kPing = WM_USER + 10;

class QueueWindow : public CWnd {
public:
    std::vector<UINT_PTR> timers;
    std::vector<WPARAM> pings;
    std::vector<UINT> notices;
    std::vector<DWORD> noticeTypes;
    int pingsToRepost = 0;

    BOOL Create() { return CreateEx(0, AfxRegisterWndClass(0), "Q", WS_POPUP, 0, 0, 0, 0, nullptr, 0); }

protected:
    void OnTimer(UINT_PTR id) { timers.push_back(id); }
    LRESULT OnPing(WPARAM wParam, LPARAM)
    {
        pings.push_back(wParam);
        if (pingsToRepost > 0) {
            --pingsToRepost;
            PostMessage(kPing, wParam + 1, 0);
        }
        return 0;
    }
    BOOL OnDeviceChange(UINT eventType, DWORD_PTR data)
    {
        notices.push_back(eventType);
        const auto* header = reinterpret_cast<const DevBroadcastHeader*>(data);
        noticeTypes.push_back(header != nullptr ? header->dbch_devicetype : 0);
        return CWnd::OnDeviceChange(eventType, data);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(QueueWindow, CWnd)
    ON_WM_TIMER()
    ON_WM_DEVICECHANGE()
    ON_MESSAGE(kPing, &QueueWindow::OnPing)
END_MESSAGE_MAP()

class MessageQueueTest : public ::testing::Test {
protected:
    MessageQueueTest()
    {
        m_platform.Install();
        test_dialog::Register();
    }

    DeviceNotice NoticeFor(const CWnd& window, UINT eventType)
    {
        DeviceNotice notice;
        notice.window = window.GetSafeHwnd();
        notice.eventType = eventType;
        DevBroadcastHeader header{sizeof(DevBroadcastHeader), DBT_DEVTYP_DEVICEINTERFACE, 0};
        const auto* bytes = reinterpret_cast<const BYTE*>(&header);
        notice.record.assign(bytes, bytes + sizeof header);
        return notice;
    }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
};

TEST_F(MessageQueueTest, ATimerFiresWhenItsTimeHasComeAndAgainEachPeriod)
{
    QueueWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(window.SetTimer(1, 200), 1u);

    m_platform.AdvanceClock(199);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(window.timers.empty());

    m_platform.AdvanceClock(1);
    AfxPumpWaitingMessages();
    EXPECT_EQ(window.timers.size(), 1u);

    // Late by several periods: one tick, not a burst.
    m_platform.AdvanceClock(1000);
    AfxPumpWaitingMessages();
    EXPECT_EQ(window.timers.size(), 2u);

    window.KillTimer(1);
    m_platform.AdvanceClock(1000);
    AfxPumpWaitingMessages();
    EXPECT_EQ(window.timers.size(), 2u);
}

TEST_F(MessageQueueTest, TimersSurviveTheWrapOfTheTickCount)
{
    m_platform.SetTickCount(0xFFFFFF00u);
    QueueWindow window;
    ASSERT_TRUE(window.Create());
    window.SetTimer(5, 0x200);
    m_platform.AdvanceClock(0x100);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(window.timers.empty());
    m_platform.AdvanceClock(0x100);
    AfxPumpWaitingMessages();
    EXPECT_EQ(window.timers, std::vector<UINT_PTR>{5});
}

TEST_F(MessageQueueTest, ATimerOfADestroyedWindowIsGone)
{
    QueueWindow window;
    ASSERT_TRUE(window.Create());
    window.SetTimer(1, 10);
    window.DestroyWindow();
    m_platform.AdvanceClock(100);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(window.timers.empty());
    EXPECT_EQ(window.SetTimer(1, 10), 0u);
}

TEST_F(MessageQueueTest, ThePumpTakesEveryWaitingMessageInOrderAndReturns)
{
    QueueWindow window;
    ASSERT_TRUE(window.Create());
    window.pingsToRepost = 2;
    window.PostMessage(kPing, 1, 0);
    window.PostMessage(kPing, 10, 0);

    AfxPumpWaitingMessages();

    // Messages posted while pumping are waiting too, and are taken.
    EXPECT_EQ(window.pings, (std::vector<WPARAM>{1, 10, 2, 11}));
    AfxPumpWaitingMessages();
    EXPECT_EQ(window.pings.size(), 4u);
}

TEST_F(MessageQueueTest, DeviceNoticesArriveAsDeviceChangeWithTheirRecord)
{
    QueueWindow window;
    ASSERT_TRUE(window.Create());
    m_platform.QueueNotice(NoticeFor(window, DBT_DEVICEREMOVECOMPLETE));
    m_platform.QueueNotice(NoticeFor(window, DBT_DEVICEARRIVAL));

    AfxPumpWaitingMessages();

    EXPECT_EQ(window.notices, (std::vector<UINT>{DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEARRIVAL}));
    EXPECT_EQ(window.noticeTypes, (std::vector<DWORD>{DBT_DEVTYP_DEVICEINTERFACE, DBT_DEVTYP_DEVICEINTERFACE}));
}

TEST_F(MessageQueueTest, ANoticeForAWindowThatIsGoneIsDropped)
{
    QueueWindow window;
    ASSERT_TRUE(window.Create());
    const DeviceNotice notice = NoticeFor(window, DBT_DEVICEARRIVAL);
    window.DestroyWindow();
    m_platform.QueueNotice(notice);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(window.notices.empty());
    EXPECT_EQ(m_platform.QueuedNotices(), 0);
}

// A dialog that ends itself on the third timer tick, as a status window
// that counts the time would be ended by an event.
class TickingDialog : public CDialog {
public:
    TickingDialog() : CDialog(test_dialog::kTemplateId) {}
    int ticks = 0;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 200);
        return TRUE;
    }
    void OnTimer(UINT_PTR)
    {
        if (++ticks == 3) {
            EndDialog(IDOK);
        }
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TickingDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(MessageQueueTest, AModalLoopDeliversTimersAsTheTestMovesTheClock)
{
    TickingDialog dialog;
    int idleTurns = 0;
    m_windows.SetIdleHook([&] {
        ++idleTurns;
        m_platform.AdvanceClock(100);
        return true;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.ticks, 3);
    EXPECT_EQ(idleTurns, 6);
}

TEST_F(MessageQueueTest, AModalLoopAlsoServesOtherWindowsAndNestedLoops)
{
    QueueWindow hidden;
    ASSERT_TRUE(hidden.Create());
    TickingDialog outer;
    TickingDialog inner;
    bool innerRan = false;
    m_windows.SetIdleHook([&] {
        if (!innerRan) {
            innerRan = true;
            m_platform.QueueNotice(NoticeFor(hidden, DBT_DEVICEARRIVAL));
            EXPECT_EQ(inner.DoModal(), IDOK);
            EXPECT_EQ(outer.ticks, 3);  // the outer dialog's timer ran inside
        }
        m_platform.AdvanceClock(200);
        return true;
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(hidden.notices, std::vector<UINT>{DBT_DEVICEARRIVAL});
}

TEST_F(MessageQueueTest, AnIdleHookThatGivesUpFailsTheTestAndEndsTheLoop)
{
    TickingDialog dialog;
    m_windows.SetIdleHook([] { return false; });
    int result = 0;
    EXPECT_NONFATAL_FAILURE(result = dialog.DoModal(), "nothing more to do");
    EXPECT_EQ(result, -1);
}

// A terminal's input (a key, Ctrl-C) taken when a loop looks for input, at a
// moment when a device notice is waiting as well.
class InputBesideNotices : public MemoryWindowSystem {
public:
    std::function<void()> inputOnNextPoll;

protected:
    void PollInput() override
    {
        if (inputOnNextPoll) {
            QueueInput(std::move(inputOnNextPoll));
            inputOnNextPoll = nullptr;
        }
    }
};

TEST_F(MessageQueueTest, ADeviceNoticeWaitingBesideInputComesFirstInThePumpAndInAModalLoop)
{
    InputBesideNotices windows;
    QueueWindow window;
    ASSERT_TRUE(window.Create());
    std::size_t noticesSeenByInput = 99;

    windows.inputOnNextPoll = [&] { noticesSeenByInput = window.notices.size(); };
    m_platform.QueueNotice(NoticeFor(window, DBT_DEVICEREMOVECOMPLETE));
    AfxPumpWaitingMessages();
    EXPECT_EQ(noticesSeenByInput, 1u);

    // The status window's case: the device is gone, then Ctrl-C gives up.
    CDialog dialog(test_dialog::kTemplateId);
    bool queued = false;
    windows.SetIdleHook([&] {
        if (!queued) {
            queued = true;
            m_platform.QueueNotice(NoticeFor(window, DBT_DEVICEARRIVAL));
            windows.inputOnNextPoll = [&] {
                noticesSeenByInput = window.notices.size();
                dialog.EndDialog(IDCANCEL);
            };
        }
        return true;
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(noticesSeenByInput, 2u);
}

TEST_F(MessageQueueTest, TheWaitCursorIsCounted)
{
    CWnd window;
    window.BeginWaitCursor();
    window.BeginWaitCursor();
    window.EndWaitCursor();
    EXPECT_EQ(m_windows.WaitCursorDepth(), 1);
    window.EndWaitCursor();
    window.EndWaitCursor();
    EXPECT_EQ(m_windows.WaitCursorDepth(), 0);
    EXPECT_EQ(m_windows.WaitCursorBegins(), 2);
}
}  // namespace
