// The rules of a modal loop's end that both window systems keep through
// CModalLoopState: the first end counts, an end before the loop keeps the
// dialog hidden, an end without a loop only hides it.
#include <gtest/gtest.h>

#include "framework/CModalLoopState.h"

using Ending = CModalLoopState::Ending;

TEST(FrameworkModalLoopState, TheFirstEndOfARunningLoopCountsAndLaterOnesAreIgnored)
{
    CModalLoopState state;
    EXPECT_TRUE(state.Start());
    EXPECT_EQ(Ending::EndsLoop, state.End(1));
    EXPECT_EQ(Ending::AlreadyEnded, state.End(2));
    EXPECT_TRUE(state.Ended());
    EXPECT_EQ(1, state.Result());
}

TEST(FrameworkModalLoopState, EndedBeforeItsLoopTheDialogIsNotShownAndKeepsThatResult)
{
    CModalLoopState state;
    EXPECT_EQ(Ending::HidesDialog, state.End(7));
    EXPECT_FALSE(state.Start());
    EXPECT_EQ(Ending::AlreadyEnded, state.End(8));
    EXPECT_EQ(7, state.Result());
}

TEST(FrameworkModalLoopState, AfterItsLoopHasReturnedANewEndIsStillIgnored)
{
    CModalLoopState state;
    state.Start();
    state.End(3);
    state.Stop();
    EXPECT_EQ(Ending::AlreadyEnded, state.End(4));
    EXPECT_EQ(3, state.Result());
}
