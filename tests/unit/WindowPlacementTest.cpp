// Where dialogs open: the centring arithmetic with its edges, which dialogs
// the framework centres after their initialisation, and over what.
#include <gtest/gtest.h>

#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/CWindowPlacement.h"
#include "support/FakePlatform.h"
#include "support/MemoryWindowSystem.h"
#include "support/TestDialogTemplate.h"

namespace {
CRect Rect(int left, int top, int right, int bottom)
{
    return CRect{left, top, right, bottom};
}

void ExpectRect(const CRect& actual, int left, int top, int right, int bottom)
{
    EXPECT_EQ(actual.left, left);
    EXPECT_EQ(actual.top, top);
    EXPECT_EQ(actual.right, right);
    EXPECT_EQ(actual.bottom, bottom);
}

const CRect kScreen = Rect(0, 0, 1024, 768);

TEST(WindowPlacementArithmetic, CentredOverTheOwnerKeepingItsSize)
{
    // 200 x 100 over an owner of 400 x 300 at (100, 50).
    ExpectRect(CWindowPlacement::Centred(Rect(0, 0, 200, 100), Rect(100, 50, 500, 350), kScreen), 200, 150, 400,
               250);
    // Odd sizes: whole pixels, the window half a pixel right of and below the middle.
    ExpectRect(CWindowPlacement::Centred(Rect(7, 9, 208, 110), Rect(0, 0, 400, 300), kScreen), 100, 100, 301, 201);
}

TEST(WindowPlacementArithmetic, AnOwnerPartlyOffTheScreenPullsTheWindowOnlyToTheEdge)
{
    // Owner off the left and top edges: the window stops at them.
    ExpectRect(CWindowPlacement::Centred(Rect(0, 0, 300, 200), Rect(-350, -250, 50, 50), kScreen), 0, 0, 300, 200);
    // Off the right and bottom edges: the window ends at them.
    ExpectRect(CWindowPlacement::Centred(Rect(0, 0, 300, 200), Rect(900, 700, 1300, 1000), kScreen), 724, 568, 1024,
               768);
}

TEST(WindowPlacementArithmetic, AWindowLargerThanTheWorkAreaKeepsItsCaptionOnIt)
{
    // The task bar takes the top 40 pixels.
    const CRect area = Rect(0, 40, 800, 600);
    ExpectRect(CWindowPlacement::Centred(Rect(0, 0, 1000, 700), area, area), 0, 40, 1000, 740);
}

TEST(WindowPlacementArithmetic, OnTheWorkAreaAWindowIsCentredOnItNotOnTheScreen)
{
    const CRect area = Rect(60, 0, 1024, 728);  // task bar left, another below
    ExpectRect(CWindowPlacement::Centred(Rect(0, 0, 200, 100), area, area), 442, 314, 642, 414);
}

TEST(WindowPlacementDecision, OnlyAHiddenUnmovedDialogWithoutAnOwnerThatTakesInputIsCentred)
{
    CWindowPlacement::InitFacts hidden;
    hidden.placeBefore = hidden.placeAfter = Rect(0, 0, 100, 50);
    EXPECT_TRUE(CWindowPlacement::CentresAfterInit(hidden)) << "no owner";

    CWindowPlacement::InitFacts owned = hidden;
    owned.hasOwner = true;
    EXPECT_TRUE(CWindowPlacement::CentresAfterInit(owned)) << "owner disabled";
    owned.ownerEnabled = true;
    EXPECT_FALSE(CWindowPlacement::CentresAfterInit(owned)) << "owner still takes input";

    CWindowPlacement::InitFacts shown = hidden;
    shown.shownBefore = true;
    EXPECT_FALSE(CWindowPlacement::CentresAfterInit(shown)) << "seen before its initialisation";
    shown = hidden;
    shown.shownAfter = true;
    EXPECT_FALSE(CWindowPlacement::CentresAfterInit(shown)) << "shown by its initialisation";

    CWindowPlacement::InitFacts moved = hidden;
    moved.placeAfter = Rect(30, 0, 130, 50);
    EXPECT_FALSE(CWindowPlacement::CentresAfterInit(moved)) << "placed itself";
    moved.placeAfter = Rect(0, 0, 120, 60);
    EXPECT_TRUE(CWindowPlacement::CentresAfterInit(moved)) << "resized, not moved";
}

// The test template is 200 x 100 dialog units: 400 x 200 pixels.
class PlacedDialog : public CDialog {
public:
    PlacedDialog() : CDialog(test_dialog::kTemplateId) {}
    int moveToX = -1;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (moveToX >= 0) {
            WindowSystem().SetWindowPosition(GetSafeHwnd(), moveToX, 0);
        }
        return TRUE;
    }
};

class DialogPlacementTest : public ::testing::Test {
protected:
    DialogPlacementTest()
    {
        m_platform.Install();
        test_dialog::Register();
        m_windows.SetWorkArea(Rect(0, 0, 1000, 800));
    }

    // A shown main window of 600 x 400 at (300, 100).
    void MakeMainWindow()
    {
        ASSERT_TRUE(m_mainWindow.CreateEx(0, AfxRegisterWndClass(0), "Haupt", WS_POPUP | WS_VISIBLE, 300, 100, 600,
                                          400, nullptr, 0));
        m_app.m_pMainWnd = &m_mainWindow;
    }

    // Where `dialog` stood while its modal run went on.
    CRect PlaceDuringModalRun(CDialog& dialog)
    {
        CRect place;
        m_windows.SetIdleHook([&] {
            m_windows.GetWindowRect(dialog.GetSafeHwnd(), &place);
            dialog.EndDialog(IDOK);
            return true;
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        return place;
    }

    // Creates `dialog` modeless and expects it at the place given.
    void ExpectModelessAt(CDialog& dialog, int left, int top, int right, int bottom)
    {
        ASSERT_TRUE(dialog.Create(test_dialog::kTemplateId));
        CRect place;
        ASSERT_TRUE(m_windows.GetWindowRect(dialog.GetSafeHwnd(), &place));
        ExpectRect(place, left, top, right, bottom);
    }

    FakePlatform m_platform;
    MemoryWindowSystem m_windows;
    CWinApp m_app;
    CWnd m_mainWindow;
};

TEST_F(DialogPlacementTest, AModalDialogOpensCentredOverTheMainWindow)
{
    MakeMainWindow();
    PlacedDialog dialog;
    ExpectRect(PlaceDuringModalRun(dialog), 400, 200, 800, 400);
}

TEST_F(DialogPlacementTest, OverAMinimisedOrHiddenOwnerItOpensInTheMiddleOfTheWorkArea)
{
    MakeMainWindow();
    m_mainWindow.ShowWindow(SW_MINIMIZE);
    PlacedDialog overMinimised;
    ExpectRect(PlaceDuringModalRun(overMinimised), 300, 300, 700, 500);

    m_mainWindow.ShowWindow(SW_HIDE);
    PlacedDialog overHidden;
    ExpectRect(PlaceDuringModalRun(overHidden), 300, 300, 700, 500);
}

TEST_F(DialogPlacementTest, WithoutAnOwnerADialogOpensInTheMiddleOfTheWorkArea)
{
    m_windows.SetWorkArea(Rect(0, 40, 1000, 840));
    PlacedDialog modal;
    ExpectRect(PlaceDuringModalRun(modal), 300, 340, 700, 540);

    PlacedDialog modeless;
    ExpectModelessAt(modeless, 300, 340, 700, 540);
}

TEST_F(DialogPlacementTest, ADialogThatPlacedItselfInItsInitialisationStaysThere)
{
    MakeMainWindow();
    PlacedDialog dialog;
    dialog.moveToX = 20;
    ExpectRect(PlaceDuringModalRun(dialog), 20, 0, 420, 200);
}

TEST_F(DialogPlacementTest, AModelessDialogIsCentredOnlyWhenItsOwnerIsDisabledForIt)
{
    MakeMainWindow();
    PlacedDialog beside;
    ExpectModelessAt(beside, 0, 0, 400, 200);

    // As the progress window opens: its owner disabled first.
    m_mainWindow.EnableWindow(FALSE);
    PlacedDialog progress;
    ExpectModelessAt(progress, 400, 200, 800, 400);
}

TEST_F(DialogPlacementTest, ADialogLargerThanTheWorkAreaOpensAtItsTopLeft)
{
    m_windows.SetWorkArea(Rect(10, 20, 310, 170));
    MakeMainWindow();
    PlacedDialog dialog;
    ExpectRect(PlaceDuringModalRun(dialog), 10, 20, 410, 220);
}
}  // namespace
