// Direct mode end to end: trelox programs a flash file into trelox-devsim,
// both real processes on a private bus, with nobody at the keys and the
// output going to a file. Each ending shows its messages and exit status.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "DevsimDownloadFixture.h"
#include "LockHolderProcess.h"
#include "TreloxProcess.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {
const int kRunMs = 30000;

class DirectDownload : public DevsimDownloadFixture {
protected:
    DirectDownload() : m_trelox(m_bus, m_locks, m_temp.Path()) {}

    TreloxProcess m_trelox;
};

TEST_F(DirectDownload, TheSampleIsProgrammedAndTheDeviceComesBackWithExitStatus0)
{
    StartDevice();
    EXPECT_EQ(m_trelox.Run({SampleCopy()}, kRunMs), 0) << m_trelox.Output();
    const std::string output = m_trelox.Output();

    EXPECT_THAT(output, HasSubstr("Download  [####################]  100 %\n"));
    EXPECT_THAT(output, HasSubstr(std::string(kWaiting) + "\n"));
    EXPECT_THAT(output, HasSubstr(kRunning));
    EXPECT_THAT(output, HasSubstr(kFinished));
    EXPECT_THAT(output, HasSubstr("Download: 42 Datens\xC3\xA4tze \xC3\xBC" "bertragen, 1734 Bytes in "));
    EXPECT_LT(output.find(kRunning), output.find(kFinished));
    EXPECT_LT(output.find(kFinished), output.find("Download: 42"));
    // Into a file nothing is redrawn in place, and progress comes at most per tenth.
    EXPECT_EQ(output.find('\r'), std::string::npos);
    EXPECT_EQ(output.find('\x1b'), std::string::npos);
    std::size_t progressLines = 0;
    for (std::size_t at = output.find("Download  ["); at != std::string::npos; at = output.find("Download  [", at + 1)) {
        ++progressLines;
    }
    EXPECT_LE(progressLines, 12u);
    EXPECT_EQ(RecordsReceived(), 42u);
    EXPECT_EQ(m_devsim.LinesWith({"leave reason=programming"}).size(), 1u);
}

TEST_F(DirectDownload, ThreeRefusalsNameTheRecordAndEndWithStatus5)
{
    StartDevice({"--fault=record=5,refuse=3"});
    EXPECT_EQ(m_trelox.Run({SampleCopy()}, kRunMs), 5);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr(std::string(kTransferError) + "5\n(\"S1"));
    EXPECT_THAT(output, HasSubstr("Kein Acknowledge (3 Versuche)"));
    EXPECT_THAT(output, HasSubstr(kNotProgrammed));
    EXPECT_LT(output.find(kTransferError), output.find(kNotProgrammed));
    EXPECT_EQ(m_devsim.LinesWith({" record=5 "}).size(), 3u);
    EXPECT_EQ(RecordsReceived(), 5u);
}

TEST_F(DirectDownload, AGarbageReplyIsAResponseError)
{
    StartDevice({"--fault=record=3,reply=4142"});
    EXPECT_EQ(m_trelox.Run({SampleCopy()}, kRunMs), 5);
    EXPECT_THAT(m_trelox.Output(), HasSubstr(std::string(kTransferError) + "3\n"));
    EXPECT_EQ(RecordsReceived(), 3u);
}

TEST_F(DirectDownload, AStalledReadTimesOut)
{
    StartDevice({"--fault=record=2,stall-read"});
    EXPECT_EQ(m_trelox.Run({SampleCopy()}, kRunMs), 5);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr(std::string(kTransferError) + "2\n"));
    EXPECT_THAT(output, HasSubstr(kNotProgrammed));
    EXPECT_EQ(RecordsReceived(), 2u);
}

TEST_F(DirectDownload, ADeviceLeavingMidTransferFailsThatRecord)
{
    StartDevice({"--fault=record=10,leave=300"});
    EXPECT_EQ(m_trelox.Run({SampleCopy()}, kRunMs), 5);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr(std::string(kTransferError) + "10\n"));
    EXPECT_THAT(output, HasSubstr(kNotProgrammed));
    EXPECT_THAT(output, Not(HasSubstr(kWaiting)));
}

TEST_F(DirectDownload, ALockHeldByAnotherProgramIsGivenUpWithoutATerminal)
{
    StartDevice();
    const std::string local = m_locks + "/local-" + std::to_string(getuid());
    ASSERT_EQ(mkdir(local.c_str(), 0700), 0);
    LockHolderProcess holder;
    ASSERT_TRUE(holder.Hold({local + "/ORB812MUTEX"}));

    EXPECT_EQ(m_trelox.Run({SampleCopy()}, kRunMs), 4);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr(kLockPrompt));
    EXPECT_THAT(output, HasSubstr("> Abbrechen"));
    EXPECT_THAT(output, Not(HasSubstr("Download")));
    EXPECT_EQ(RecordsReceived(), 0u);
}

TEST_F(DirectDownload, AnEmptyFileProgramsNothing)
{
    StartDevice();
    EXPECT_EQ(m_trelox.Run({FlashFile("")}, kRunMs), 5);
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kNotProgrammed));
    EXPECT_EQ(RecordsReceived(), 0u);
}

TEST_F(DirectDownload, AMissingFileIsTheOnlyMessage)
{
    StartDevice();
    EXPECT_EQ(m_trelox.Run({m_temp.File("missing.s19")}, kRunMs), 3);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr("Flash-Datei kann nicht ge\xC3\xB6" "ffnet werden!"));
    EXPECT_THAT(output, Not(HasSubstr("Download")));
}

TEST_F(DirectDownload, NoDeviceEndsWithStatus2)
{
    EXPECT_EQ(m_trelox.Run({SampleCopy()}, kRunMs), 2);
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kNoDevice));
}

TEST_F(DirectDownload, CtrlCDuringTheTransferCancelsAfterTheRecordInHand)
{
    StartDevice({"--fault=record=5,stall-read=1500"});
    ASSERT_TRUE(m_trelox.Start({SampleCopy()}));
    ASSERT_TRUE(m_devsim.WaitForLine({" record=5 "}, kWaitMs));
    m_trelox.Interrupt();
    EXPECT_EQ(m_trelox.Wait(kRunMs), 5);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr(kNotProgrammed));
    EXPECT_THAT(output, Not(HasSubstr(kTransferError)));
    EXPECT_THAT(output, HasSubstr("Download: 5 Datens\xC3\xA4tze"));
    EXPECT_EQ(RecordsReceived(), 5u);
}

TEST_F(DirectDownload, SigtermDuringTheTransferEndsItInOrderWithStatus5)
{
    StartDevice({"--fault=record=5,stall-read=1500"});
    ASSERT_TRUE(m_trelox.Start({SampleCopy()}));
    ASSERT_TRUE(m_devsim.WaitForLine({" record=5 "}, kWaitMs));
    m_trelox.Signal(SIGTERM);
    EXPECT_EQ(m_trelox.Wait(kRunMs), 5);
    const std::string output = m_trelox.Output();
    EXPECT_THAT(output, HasSubstr(kNotProgrammed));
    EXPECT_THAT(output, HasSubstr("Download: 5 Datens\xC3\xA4tze"));
    EXPECT_EQ(RecordsReceived(), 5u);
}

TEST_F(DirectDownload, CtrlCWhileWaitingForTheDeviceGivesUpWithStatus6)
{
    StartDevice({"--after-report=stay"});
    ASSERT_TRUE(m_trelox.Start({SampleCopy()}));
    ASSERT_TRUE(m_devsim.WaitForLine({"programming-report"}, kWaitMs));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    m_trelox.Interrupt();
    EXPECT_EQ(m_trelox.Wait(kRunMs), 6);
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kGiveUpQuestion));
    EXPECT_THAT(m_trelox.Output(), HasSubstr("> Ja"));
}
}  // namespace
