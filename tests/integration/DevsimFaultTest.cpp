// trelox-devsim's scripted faults: each acts on the transfer it aims at, as
// often as it says, and leaves the later transfers in order.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "DevsimFixture.h"

namespace {

using DevsimFaultTest = DevsimFixture;

TEST_F(DevsimFaultTest, RefusedRecordKeepsItsNumberOverItsResends)
{
    StartDevsim({"--fault", "record=2,refuse=2"});
    Connect();
    EXPECT_EQ(kAccepted, Exchange("S1AA"));
    EXPECT_EQ(kRefused, Exchange("S1BB"));
    EXPECT_EQ(kRefused, Exchange("S1BB"));
    EXPECT_EQ(kAccepted, Exchange("S1BB"));
    EXPECT_EQ(kAccepted, Exchange("S1BB"));  // taken before: the same bytes again are a new record
    EXPECT_EQ(3u, m_devsim.LinesWith({"text=\"S1BB\" record=2 send="}).size());
    EXPECT_EQ(1u, m_devsim.LinesWith({"text=\"S1BB\" record=2 send=3"}).size());
    EXPECT_EQ(1u, m_devsim.LinesWith({"text=\"S1BB\" record=3 send=1"}).size());
}

TEST_F(DevsimFaultTest, TimesZeroActsOnEveryMatchAndRulesOnOneTargetTakeTurns)
{
    StartDevsim({"--fault", "query=S,reply=4141", "--fault", "query=S,reply=42", "--fault", "query=E,refuse=0"});
    Connect();
    EXPECT_EQ("AA", Exchange("?S", 64));
    EXPECT_EQ("B", Exchange("?S", 64));
    EXPECT_EQ("SIM0001", Exchange("?S", 64));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(kRefused, Exchange("?E", 64));
}

TEST_F(DevsimFaultTest, ReplyFaultSendsTheGivenBytesOrNone)
{
    StartDevsim({"--fault", "query=E,reply=", "--fault", "record=1,reply=10 06 00"});
    Connect();
    EXPECT_EQ("", Exchange("?E", 64));
    EXPECT_EQ(std::string("\x10\x06\x00", 3), Exchange("S1"));
}

TEST_F(DevsimFaultTest, StalledReadCompletesLateJustBeforeTheNextRead)
{
    StartDevsim({"--fault", "record=1,stall-read"});
    Connect();
    EXPECT_EQ(2, Write("S1"));
    ASSERT_TRUE(m_input->SendReadRequest(10));
    std::uint32_t status = 0;
    std::string data;
    EXPECT_FALSE(m_input->ReceiveReadCompletion(kQuietMs, &status, &data));
    // The program gives up, then goes on with the next record.
    EXPECT_EQ(6, Write("S9FFFF"));
    ASSERT_TRUE(m_input->SendReadRequest(10));
    ASSERT_TRUE(m_input->ReceiveReadCompletion(kWaitMs, &status, &data));
    EXPECT_EQ(kAccepted, data);  // the stalled read's own reply, late
    ASSERT_TRUE(m_input->ReceiveReadCompletion(kWaitMs, &status, &data));
    EXPECT_EQ(kProgrammed, data);
    EXPECT_EQ(1u, m_devsim.LinesWith({"pipe=PIPE03 late read size=10 status=0 len=2 hex=1006"}).size());
}

TEST_F(DevsimFaultTest, TimedStallCompletesByItself)
{
    StartDevsim({"--fault", "query=S,stall-read=100", "--fault", "query=P,stall-write=100"});
    Connect();
    EXPECT_EQ("SIM0001", Exchange("?S", 64));
    EXPECT_EQ("DEVSIM-1", Exchange("?P", 64));
    EXPECT_EQ(1u, m_devsim.LinesWith({"late read", "text=\"SIM0001\""}).size());
    EXPECT_EQ(1u, m_devsim.LinesWith({"pipe=PIPE02 late write status=0 count=2"}).size());
}

TEST_F(DevsimFaultTest, StalledWriteIsNotActedOnAndCompletesBeforeTheNextWrite)
{
    StartDevsim({"--fault", "record=1,stall-write"});
    Connect();
    ASSERT_TRUE(m_output->SendWrite("S1000"));
    std::uint32_t status = 9;
    std::uint32_t count = 0;
    EXPECT_FALSE(m_output->ReceiveWriteCompletion(kQuietMs, &status, &count));
    ASSERT_TRUE(m_output->SendWrite("?S"));
    ASSERT_TRUE(m_output->ReceiveWriteCompletion(kWaitMs, &status, &count));
    EXPECT_EQ(5u, count);  // the held one first
    ASSERT_TRUE(m_output->ReceiveWriteCompletion(kWaitMs, &status, &count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ("SIM0001", Read(64));  // no stale acknowledge in between
}

TEST_F(DevsimFaultTest, ShortWriteAndFailedWriteQueueNoReply)
{
    StartDevsim({"--fault", "record=1,short=3", "--fault", "record=2,write-error=31"});
    Connect();
    EXPECT_EQ(3, Write("S1AAAA"));
    ASSERT_TRUE(m_output->SendWrite("S1BBBB"));
    std::uint32_t status = 0;
    std::uint32_t count = 9;
    ASSERT_TRUE(m_output->ReceiveWriteCompletion(kWaitMs, &status, &count));
    EXPECT_EQ(31u, status);
    EXPECT_EQ(0u, count);
    EXPECT_EQ("SIM0001", Exchange("?S", 64));
}

TEST_F(DevsimFaultTest, ReadErrorFailsTheReadThatCarriesTheReply)
{
    StartDevsim({"--fault", "query=V,read-error=121"});
    Connect();
    EXPECT_EQ("<status 121>", Exchange("?V", 64));
    EXPECT_EQ("1.00", Exchange("?V", 64));
}

TEST_F(DevsimFaultTest, LeavingAtARecordDropsTheTransferAndComesBackLater)
{
    StartDevsim({"--fault", "record=2,leave=300"});
    Connect();
    EXPECT_EQ(kAccepted, Exchange("S1AA"));
    ASSERT_TRUE(m_output->SendWrite("S1BB"));
    EXPECT_TRUE(m_output->WaitForClose(kWaitMs));
    EXPECT_TRUE(m_input->WaitForClose(kWaitMs));
    EXPECT_FALSE(MarkerPresent());  // removed before the connections closed
    EXPECT_TRUE(BusEmptiesWithin(kWaitMs));
    ASSERT_TRUE(m_devsim.WaitForLine({"dev=1 arrive"}, kWaitMs, 2));
    Connect();
    EXPECT_EQ(kAccepted, Exchange("S1AA"));
    EXPECT_EQ(kAccepted, Exchange("S1BB"));  // the rule is spent
}

TEST_F(DevsimFaultTest, LeavingWithoutReturnStaysAway)
{
    StartDevsim({"--fault", "query=S,leave", "--program-time=0"});
    Connect();
    ASSERT_TRUE(m_output->SendWrite("?S"));
    EXPECT_TRUE(m_output->WaitForClose(kWaitMs));
    EXPECT_FALSE(m_devsim.WaitForLine({"dev=1 arrive"}, kQuietMs * 2, 2));
    EXPECT_FALSE(MarkerPresent());
}

TEST_F(DevsimFaultTest, AfterReportModesShapeTheProgrammingPhase)
{
    StartDevsim({"--leave-delay=50", "--program-time=50", "--device-id=STAY", "--after-report=stay",
                 "--device-id=GONE", "--after-report=gone", "--device-id=AGAIN", "--after-report=rearrive"});
    for (const char* instance : {"STAY", "GONE", "AGAIN"}) {
        Connect(instance);
        EXPECT_EQ(kProgrammed, Exchange("S9030000FC")) << instance;
    }
    ASSERT_TRUE(m_devsim.WaitForLine({"dev=3 rearrive"}, kWaitMs));
    EXPECT_FALSE(m_devsim.WaitForLine({"dev=2 arrive"}, kQuietMs * 2, 2));
    EXPECT_TRUE(MarkerPresent("STAY"));
    EXPECT_FALSE(MarkerPresent("GONE"));
    EXPECT_TRUE(MarkerPresent("AGAIN"));
    EXPECT_TRUE(m_devsim.LinesWith({"dev=3 leave"}).empty());
    EXPECT_EQ("AGAIN", Exchange("?S", 64));  // the connection survived the second announcement
}

}  // namespace
