// Two devices of the class on one bus, each played by its own trelox-devsim:
// the one that is not being programmed comes and goes, and the download and
// the wait for the programmed device go on as if it were not there.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "DevsimDownloadFixture.h"
#include "TreloxProcess.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {
const int kRunMs = 30000;

class TwoDevices : public DevsimDownloadFixture {
protected:
    TwoDevices() : m_other(m_bus, m_temp.MakeSubdirectory("other")), m_trelox(m_bus, m_locks, m_temp.Path()) {}

    // The second device, SIM0002: sorted after the first, so that the
    // program takes SIM0001 while both are there.
    bool StartOther() { return m_other.Start({"--device-id=SIM0002"}); }

    DevsimProcess m_other;
    TreloxProcess m_trelox;
};

TEST_F(TwoDevices, TheOtherLeavingMidDownloadChangesNothing)
{
    StartDevice({"--fault=record=10,stall-read=800"});
    ASSERT_TRUE(StartOther()) << m_other.Log();
    ASSERT_TRUE(m_trelox.Start({SampleCopy()}));
    ASSERT_TRUE(m_devsim.WaitForLine({" record=10 "}, kWaitMs));
    EXPECT_EQ(m_other.Stop(), 0);

    EXPECT_EQ(m_trelox.Wait(kRunMs), 0) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), Not(HasSubstr(kTransferError)));
    EXPECT_EQ(RecordsReceived(), static_cast<std::size_t>(SampleRecordCount()));
}

TEST_F(TwoDevices, TheOtherArrivingWhileTheProgrammedOneIsAwayIsNotItsReturn)
{
    StartDevice({"--after-report=gone"});
    ASSERT_TRUE(m_trelox.Start({SampleCopy()}));
    ASSERT_TRUE(m_devsim.WaitForLine({"leave reason=programming"}, kWaitMs));
    ASSERT_TRUE(StartOther()) << m_other.Log();

    // The wait for a device that never comes back goes on; a run without
    // anyone at the keys ends it as a confirmed "Abbrechen" would.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_FALSE(m_trelox.HasEnded()) << m_trelox.Output();
    m_trelox.Signal(SIGTERM);
    EXPECT_EQ(m_trelox.Wait(kRunMs), 6);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr(kRunning));
    EXPECT_THAT(output, Not(HasSubstr(kFinished)));
    EXPECT_TRUE(m_other.LinesWith({"connect"}).empty());
}

TEST_F(TwoDevices, TheProgrammedDeviceReturningAfterTheOtherEndsTheWait)
{
    StartDevsim({"--program-time=2500"});
    ASSERT_TRUE(m_trelox.Start({SampleCopy()}));
    ASSERT_TRUE(m_devsim.WaitForLine({"leave reason=programming"}, kWaitMs));
    ASSERT_TRUE(StartOther()) << m_other.Log();

    EXPECT_EQ(m_trelox.Wait(kRunMs), 0) << m_trelox.Output();
    // Ended by the programmed device's own return, after the other's arrival.
    EXPECT_EQ(m_devsim.LinesWith({" arrive "}).size(), 2u);
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kFinished));
}
}  // namespace
