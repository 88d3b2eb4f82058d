// Where the program's windows open on the real window system, and what the
// screen shows while the thread pauses after drawing.
#include <gtest/gtest.h>

#include <thread>

#include "ScreenPixels.h"
#include "Win32UiFixture.h"
#include "WindowPlaces.h"
#include "WindowProbe.h"
#include "ui/CAboutDlg.h"
#include "ui/CFlashInfoDlg.h"
#include "ui/CProgressDlg.h"
#include "ui/res/resource.h"

namespace {

using namespace WindowPlaces;

class PlacementTest : public Win32UiFixture {
protected:
    // The main window at the work area's top left, so that centred over it
    // and centred on the screen differ.
    void OpenMainWindowAside()
    {
        OpenMainWindow();
        const RECT area = WorkArea();
        ::SetWindowPos(MainWindow(), nullptr, area.left + 20, area.top + 10, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Where `dialog` stood during its modal run.
    RECT PlaceDuringModalRun(CDialog& dialog)
    {
        RECT place{};
        probe.Start(
            [&] {
                if (Handle(dialog) == nullptr || !::IsWindowVisible(Handle(dialog))) {
                    return false;
                }
                place = RectOf(Handle(dialog));
                dialog.EndDialog(IDOK);
                return true;
            },
            [&] { dialog.EndDialog(-2); });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_FALSE(probe.TimedOut());
        return place;
    }

    // Where the progress window opens; it is taken down again as the
    // download does it.
    RECT PlaceOfProgressWindow()
    {
        CProgressDlg progress;
        EXPECT_TRUE(progress.ShowModeless());
        const RECT place = RectOf(Handle(progress));
        if (MainWindow() != nullptr) {
            ::EnableWindow(MainWindow(), TRUE);
        }
        progress.DestroyWindow();
        return place;
    }
};

TEST_F(PlacementTest, TheMainDialogOpensInTheMiddleOfTheWorkArea)
{
    OpenMainWindow();
    EXPECT_TRUE(::IsWindowVisible(MainWindow()));
    EXPECT_TRUE(CentredOn(RectOf(MainWindow()), WorkArea()));
}

TEST_F(PlacementTest, ProgressStatusAndAboutWindowsOpenCentredOverTheMainDialog)
{
    OpenMainWindowAside();
    const RECT main = RectOf(MainWindow());

    EXPECT_TRUE(CentredOn(PlaceOfProgressWindow(), main)) << "progress window";
    CFlashInfoDlg status;
    EXPECT_TRUE(CentredOn(PlaceDuringModalRun(status), main)) << "status window";
    CAboutDlg about;
    EXPECT_TRUE(CentredOn(PlaceDuringModalRun(about), main)) << "about box";
}

TEST_F(PlacementTest, WithoutAMainWindowProgressAndStatusWindowsOpenInTheMiddleOfTheWorkArea)
{
    EXPECT_TRUE(CentredOn(PlaceOfProgressWindow(), WorkArea())) << "progress window";
    CFlashInfoDlg status;
    EXPECT_TRUE(CentredOn(PlaceDuringModalRun(status), WorkArea())) << "status window";
}

TEST_F(PlacementTest, OverAMinimisedMainDialogTheAboutBoxOpensInTheMiddleOfTheWorkArea)
{
    OpenMainWindowAside();
    ::ShowWindow(MainWindow(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(MainWindow()));
    CAboutDlg about;
    EXPECT_TRUE(CentredOn(PlaceDuringModalRun(about), WorkArea()));
}

TEST_F(PlacementTest, TheStatusWindowsQuestionOpensCentredOverTheStatusWindow)
{
    OpenMainWindowAside();
    CFlashInfoDlg status;
    const QuestionSeen seen = AskOnceAndEnd(status);
    ASSERT_EQ(seen.boxOwner, seen.statusWindow);
    EXPECT_TRUE(CentredOn(seen.boxPlace, seen.statusPlace));
    EXPECT_FALSE(CentredOn(seen.boxPlace, WorkArea())) << "the status window stands aside, over the main dialog";
}

TEST_F(PlacementTest, WhatWasDrawnBeforeAPauseIsOnTheScreenDuringIt)
{
    CProgressDlg progress;
    ASSERT_TRUE(progress.ShowModeless());
    const HWND text = ::GetDlgItem(Handle(progress), IDC_DESCRIPTION);
    const RECT area = RectOf(text);
    // Idle once, so that the window as it opened is on the screen.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
    windows.PumpWaitingMessages();
    const ScreenPixels before = ReadScreen(area);

    progress.SetDlgItemText(IDC_DESCRIPTION, "Programmierung beendet.");
    // A click waiting meanwhile is not taken before the pause is over.
    ::PostMessageA(Handle(progress), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    progress.UpdateWindow();
    const bool cancelTakenByUpdate = progress.m_bCancel;
    // The thread pauses as the status window's last second does; another
    // thread reads the screen meanwhile.
    ScreenPixels during;
    std::thread reader([&] {
        ::Sleep(300);
        during = ReadScreen(area);
    });
    ::Sleep(800);
    reader.join();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
    windows.PumpWaitingMessages();
    const ScreenPixels after = ReadScreen(area);

    EXPECT_FALSE(cancelTakenByUpdate);
    EXPECT_TRUE(progress.m_bCancel) << "taken once the program takes messages again";
    ASSERT_FALSE(before.Empty());
    ASSERT_FALSE(during.Empty());
    EXPECT_TRUE(after.HasContrast()) << "the new text is drawn";
    EXPECT_NE(before.DifferingBytes(after), 0u) << "the text changed on the screen";
    EXPECT_EQ(during.DifferingBytes(after), 0u) << "during the pause the screen already showed the new text";
}

}  // namespace
