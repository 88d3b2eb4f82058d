// The program's dialogs made by the Windows window system from the real
// resources: their texts and controls after initialisation, owners and
// disabling, the modal loop's keys, timers, and the pump.
#include <gtest/gtest.h>

#include "Win32UiFixture.h"
#include "WindowProbe.h"
#include "framework/AfxMessageBox.h"
#include "framework/CWindowSystem.h"
#include "ui/CAboutDlg.h"
#include "ui/CFlashInfoDlg.h"
#include "ui/CProgressDlg.h"
#include "ui/CTreloxDlg.h"
#include "ui/res/resource.h"

namespace {

using DialogFromResourcesTest = Win32UiFixture;

TEST_F(DialogFromResourcesTest, ProgressWindowIsOwnedByTheMainWindowWhichItDisables)
{
    OpenMainWindow();
    CProgressDlg progress;
    ASSERT_TRUE(progress.ShowModeless());
    const HWND window = Handle(progress);

    EXPECT_EQ(::GetWindow(window, GW_OWNER), MainWindow());
    EXPECT_FALSE(::IsWindowEnabled(MainWindow()));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(WindowProbe::TextOf(window), "Fortschrittsanzeige");
    EXPECT_EQ(WindowProbe::ItemTextOf(window, IDC_DESCRIPTION), "Download");
    EXPECT_EQ(WindowProbe::ItemTextOf(window, IDC_PERCENT), "Prozent");
    EXPECT_EQ(WindowProbe::ClassOf(::GetDlgItem(window, IDC_PROGRESS)), "msctls_progress32");
    EXPECT_EQ(Handle(progress.m_progress), ::GetDlgItem(window, IDC_PROGRESS));

    progress.DestroyWindow();
    EXPECT_EQ(progress.GetSafeHwnd(), nullptr);
    EXPECT_EQ(progress.m_progress.GetSafeHwnd(), nullptr) << "the bound bar goes with its dialog";
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(DialogFromResourcesTest, PercentGoesToTheTextAndTheRealBar)
{
    CProgressDlg progress;
    ASSERT_TRUE(progress.ShowModeless());
    const HWND bar = ::GetDlgItem(Handle(progress), IDC_PROGRESS);

    EXPECT_EQ(progress.SetPercent(42), 0);
    EXPECT_EQ(WindowProbe::ItemTextOf(Handle(progress), IDC_PERCENT), "42 %");
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 42);
    EXPECT_EQ(progress.SetPercent(100), 42) << "the bar reports its previous position";
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0) << "default range, low end";
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100) << "default range, high end";
}

TEST_F(DialogFromResourcesTest, PumpDispatchesClicksButGivesNoDialogKeys)
{
    CProgressDlg progress;
    ASSERT_TRUE(progress.ShowModeless());
    const HWND window = Handle(progress);
    const HWND cancel = ::GetDlgItem(window, IDCANCEL);

    // Esc to the focused button: only a modal loop's dialog keys make it Cancel.
    ::SetFocus(cancel);
    ::PostMessageA(cancel, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageA(cancel, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    AfxPumpWaitingMessages();
    EXPECT_FALSE(progress.m_bCancel);

    WindowProbe::PressButton(window, IDCANCEL);
    AfxPumpWaitingMessages();
    EXPECT_TRUE(progress.m_bCancel);
    EXPECT_FALSE(::IsWindowEnabled(cancel));
    EXPECT_TRUE(::IsWindowVisible(window)) << "cancelling leaves the window up";
}

TEST_F(DialogFromResourcesTest, StatusWindowRunsModallyWithItsTimerOverTheDisabledMainWindow)
{
    OpenMainWindow();
    CFlashInfoDlg status;
    std::string initialState;
    std::string initialTime = "unset";
    bool ownerSeen = false;
    bool mainDisabled = false;
    probe.Start(
        [&] {
            const HWND window = Handle(status);
            if (window == nullptr) {
                return false;
            }
            if (initialTime == "unset") {
                initialState = WindowProbe::ItemTextOf(window, IDC_STATE_TEXT);
                initialTime = WindowProbe::ItemTextOf(window, IDC_TIME_TEXT);
                ownerSeen = ::GetWindow(window, GW_OWNER) == MainWindow();
                mainDisabled = !::IsWindowEnabled(MainWindow());
            }
            if (WindowProbe::ItemTextOf(window, IDC_TIME_TEXT) != "00:00") {
                return false;
            }
            status.EndDialog(IDOK);
            return true;
        },
        [&] { status.EndDialog(-2); }, 10);

    EXPECT_EQ(status.DoModal(), IDOK);
    EXPECT_FALSE(probe.TimedOut()) << "the status window's timer never showed 00:00";
    EXPECT_EQ(initialState, "Warten auf Beginn der Programmierung");
    EXPECT_EQ(initialTime, "");
    EXPECT_TRUE(ownerSeen);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(::IsWindowEnabled(MainWindow())) << "enabled again after the modal run";
    EXPECT_EQ(status.GetSafeHwnd(), nullptr);
}

TEST_F(DialogFromResourcesTest, StatusWindowAsksBeforeGivingUpAndNoKeepsItOpen)
{
    CFlashInfoDlg status;
    std::vector<std::string> questions;
    int answered = 0;
    probe.Start(
        [&] {
            const HWND window = Handle(status);
            const HWND box = FindOwnMessageBox();
            if (box != nullptr) {
                questions.push_back(WindowProbe::MessageBoxText(box));
                WindowProbe::PressButton(box, answered == 0 ? IDNO : IDYES);
                ++answered;
                return false;
            }
            if (window != nullptr && answered < 2 && ::GetFocus() != nullptr) {
                // Esc through the modal loop's dialog keys, as the keyboard gives it.
                ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                return false;
            }
            return answered == 2;
        },
        [&] { status.EndDialog(-2); }, 50);

    EXPECT_EQ(status.DoModal(), IDCANCEL);
    EXPECT_FALSE(probe.TimedOut());
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0], "Die Programmierung ist moeglicherweise noch nicht vollst\xE4ndig.\n"
                            "Wollen Sie wirklich abbrechen?");
}

TEST_F(DialogFromResourcesTest, EnterInTheModalLoopPressesTheDefaultButton)
{
    OpenMainWindow();
    CAboutDlg about;
    std::string title;
    std::vector<std::string> texts;
    bool owned = false;
    bool mainDisabled = false;
    probe.Start(
        [&] {
            const HWND window = Handle(about);
            if (window == nullptr || ::GetFocus() == nullptr) {
                return false;
            }
            title = WindowProbe::TextOf(window);
            texts = WindowProbe::ChildTexts(window);
            owned = ::GetWindow(window, GW_OWNER) == MainWindow();
            mainDisabled = !::IsWindowEnabled(MainWindow());
            ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
            return true;
        },
        [&] { about.EndDialog(-2); });

    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_EQ(title, "Info \xFC" "ber Trelox");
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[1], "Trelox Version 1.1");
    EXPECT_TRUE(owned);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(::IsWindowEnabled(MainWindow()));
}

TEST_F(DialogFromResourcesTest, MainDialogOpensAsItsInitialisationLeavesItAndOpensTheAboutBox)
{
    CTreloxDlg dialog;
    app.m_pMainWnd = &dialog;
    struct Seen {
        int focusId = 0;
        bool setButtonsHidden = false;
        bool queryButtonShown = false;
        bool flashEnabledEmpty = true;
        bool flashEnabledTyped = false;
        bool appWindow = false;
        HICON bigIcon = nullptr;
        HICON dragIcon = nullptr;
        std::string lastMenuItem;
        bool aboutOwned = false;
    } seen;
    int step = 0;
    probe.Start(
        [&] {
            const HWND window = Handle(dialog);
            if (window == nullptr || !::IsWindowVisible(window)) {
                return false;
            }
            if (step == 0) {
                seen.focusId = ::GetDlgCtrlID(::GetFocus());
                seen.setButtonsHidden = !::IsWindowVisible(::GetDlgItem(window, IDC_SET_SERIAL_NUMBER)) &&
                                        !::IsWindowVisible(::GetDlgItem(window, IDC_SET_PRODUCT_NAME)) &&
                                        !::IsWindowVisible(::GetDlgItem(window, IDC_SET_MANUFACTURER));
                seen.queryButtonShown = ::IsWindowVisible(::GetDlgItem(window, IDC_QUERY_SERIAL_NUMBER)) != FALSE;
                seen.flashEnabledEmpty = ::IsWindowEnabled(::GetDlgItem(window, IDOK)) != FALSE;
                seen.appWindow = (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
                seen.bigIcon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0));
                seen.dragIcon = reinterpret_cast<HICON>(::SendMessageA(window, WM_QUERYDRAGICON, 0, 0));
                const HMENU menu = ::GetSystemMenu(window, FALSE);
                char item[64] = {};
                ::GetMenuStringA(menu, static_cast<UINT>(::GetMenuItemCount(menu) - 1), item, sizeof item,
                                 MF_BYPOSITION);
                seen.lastMenuItem = item;
                // Typing a path: the edit reports the change, "Flashen" follows it.
                WindowProbe::TypeInto(window, IDC_FLASH_FILE, "C:\\firmware.s19");
                seen.flashEnabledTyped = ::IsWindowEnabled(::GetDlgItem(window, IDOK)) != FALSE;
                ::PostMessageA(window, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
                ++step;
                return false;
            }
            const HWND about = FindOwnDialog("Info \xFC" "ber Trelox");
            if (step == 1 && about != nullptr) {
                seen.aboutOwned = ::GetWindow(about, GW_OWNER) == window;
                WindowProbe::PressButton(about, IDOK);
                ++step;
                return false;
            }
            if (step == 2 && about == nullptr && ::IsWindowEnabled(window)) {
                WindowProbe::PressButton(window, IDCANCEL);
                return true;
            }
            return false;
        },
        [&] { dialog.EndDialog(-2); });

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    app.m_pMainWnd = nullptr;
    EXPECT_FALSE(probe.TimedOut());
    EXPECT_EQ(seen.focusId, IDCANCEL) << "the focus starts on Schlie\xDF" "en";
    EXPECT_TRUE(seen.setButtonsHidden);
    EXPECT_TRUE(seen.queryButtonShown);
    EXPECT_FALSE(seen.flashEnabledEmpty) << "no flash file, no Flashen";
    EXPECT_TRUE(seen.flashEnabledTyped);
    EXPECT_TRUE(seen.appWindow);
    EXPECT_NE(seen.bigIcon, nullptr);
    EXPECT_EQ(seen.bigIcon, static_cast<HICON>(windows.LoadIcon(IDR_MAINFRAME)));
    EXPECT_EQ(seen.dragIcon, seen.bigIcon);
    EXPECT_EQ(seen.lastMenuItem, "&Info \xFC" "ber Trelox...");
    EXPECT_TRUE(seen.aboutOwned);
}

}  // namespace
