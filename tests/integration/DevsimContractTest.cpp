// trelox-devsim keeps to the bus contract: presence on the bus, framing,
// order of transfers, identity replies and acknowledges, leaving and coming back.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "DevsimFixture.h"

namespace {

using DevsimContractTest = DevsimFixture;

TEST_F(DevsimContractTest, PresentsMarkerAndSocketsAndLeavesNothingBehindOnSigterm)
{
    StartDevsim({});
    const std::string path = InterfacePath("SIM0001");
    EXPECT_EQ(TempDirectory::List(m_bus), (std::vector<std::string>{path, path + "\\PIPE02", path + "\\PIPE03"}));
    Connect();
    ASSERT_TRUE(m_output->SendWrite("S1"));  // a transfer in flight does not keep anything behind
    EXPECT_EQ(0, m_devsim.Stop());
    EXPECT_TRUE(TempDirectory::List(m_bus).empty());
    EXPECT_TRUE(m_input->WaitForClose(kWaitMs));
}

TEST_F(DevsimContractTest, AnswersIdentityQueriesWithTheConfiguredBytes)
{
    StartDevsim({"--ident-hex", "S=41000D42", "--ident", "P=", "--ident", "M=Maker=X", "--ident-hex", "V=1015",
                 "--ident", "E=Fehler 0"});
    Connect();
    EXPECT_EQ(std::string("A\0\rB", 4), Exchange("?S", 64));
    EXPECT_EQ("", Exchange("?P", 64));  // no value: a completed read of no bytes
    EXPECT_EQ("Maker=X", Exchange("?M", 64));
    EXPECT_EQ(kRefused, Exchange("?V", 64));  // text that looks like a refusal stays text
    EXPECT_EQ("Fehler 0", Exchange("?E", 64));
    EXPECT_EQ("", Exchange("?X", 64));
    EXPECT_EQ(1u, m_devsim.LinesWith({"pipe=PIPE02 write len=2 hex=3F53", "query=S"}).size());
}

TEST_F(DevsimContractTest, AcknowledgesRecordsAndReportsProgrammingOnlyForImageEnds)
{
    StartDevsim({"--after-report=stay"});
    Connect();
    EXPECT_EQ(kAccepted, Exchange("S1130000AABB"));
    EXPECT_EQ(kAccepted, Exchange("S5030001FB"));
    EXPECT_EQ(kAccepted, Exchange(":10010000214601360121470136007EFE09D2190140"));
    EXPECT_EQ(kProgrammed, Exchange("S9030000FC"));
    EXPECT_EQ(kProgrammed, Exchange("S804000000FB"));
    EXPECT_EQ(kProgrammed, Exchange(":00000001FF"));
    EXPECT_EQ(kAccepted, Exchange(""));  // an empty write is a record, not a query
}

TEST_F(DevsimContractTest, ReassemblesRequestsSplitAcrossSends)
{
    StartDevsim({});
    Connect();
    const std::string record = "S1130010" + std::string(40, 'F');
    const std::string frame = RawPipeClient::Word(static_cast<std::uint32_t>(record.size())) + record;
    for (std::size_t at = 0; at < frame.size(); at += 3) ASSERT_TRUE(m_output->SendRaw(frame.substr(at, 3)));
    std::uint32_t status = 9;
    std::uint32_t count = 0;
    ASSERT_TRUE(m_output->ReceiveWriteCompletion(kWaitMs, &status, &count));
    EXPECT_EQ(0u, status);
    EXPECT_EQ(record.size(), count);
    EXPECT_EQ(1u, m_devsim.LinesWith({"write len=48 hex=5331313330303130", "text=\"" + record + "\""}).size());
    EXPECT_EQ(kAccepted, Read(10));
}

TEST_F(DevsimContractTest, AnswersPipelinedTransfersStrictlyInOrder)
{
    StartDevsim({"--ident", "S=first", "--ident", "P=second"});
    Connect();
    ASSERT_TRUE(m_output->SendRaw(RawPipeClient::Word(2) + "?S" + RawPipeClient::Word(2) + "?P"));
    std::uint32_t status = 0;
    std::uint32_t count = 0;
    ASSERT_TRUE(m_output->ReceiveWriteCompletion(kWaitMs, &status, &count));
    ASSERT_TRUE(m_output->ReceiveWriteCompletion(kWaitMs, &status, &count));
    ASSERT_TRUE(m_input->SendRaw(RawPipeClient::Word(64) + RawPipeClient::Word(64)));
    std::string first;
    std::string second;
    ASSERT_TRUE(m_input->ReceiveReadCompletion(kWaitMs, &status, &first));
    ASSERT_TRUE(m_input->ReceiveReadCompletion(kWaitMs, &status, &second));
    EXPECT_EQ("first", first);
    EXPECT_EQ("second", second);
}

TEST_F(DevsimContractTest, ReadWaitsUntilTheDeviceHasAReply)
{
    StartDevsim({});
    Connect();
    ASSERT_TRUE(m_input->SendReadRequest(64));
    std::uint32_t status = 0;
    std::string data;
    EXPECT_FALSE(m_input->ReceiveReadCompletion(kQuietMs, &status, &data));
    EXPECT_EQ(2, Write("?S"));
    ASSERT_TRUE(m_input->ReceiveReadCompletion(kWaitMs, &status, &data));
    EXPECT_EQ("SIM0001", data);
}

TEST_F(DevsimContractTest, SendsAReplyLongerThanTheReadBufferWhole)
{
    StartDevsim({"--fault", "query=S,long=100", "--fault", "record=1,long=12"});
    Connect();
    EXPECT_EQ("SIM0001" + std::string(93, '.'), Exchange("?S", 64));
    EXPECT_EQ(kAccepted + std::string(10, '.'), Exchange("S10000", 10));
    EXPECT_EQ("SIM0001", Exchange("?S", 64));  // framing is intact after it
}

TEST_F(DevsimContractTest, LeavesAfterTheReportAndServesASecondDownloadOnReturn)
{
    StartDevsim({"--leave-delay=50", "--program-time=300"});
    Connect();
    EXPECT_EQ(kAccepted, Exchange("S10000"));
    EXPECT_EQ(kProgrammed, Exchange("S9030000FC"));
    EXPECT_TRUE(m_output->WaitForClose(kWaitMs));
    EXPECT_FALSE(MarkerPresent());
    EXPECT_TRUE(m_devsim.WaitForLine({"dev=1 leave reason=programming"}, kWaitMs));
    ASSERT_TRUE(m_devsim.WaitForLine({"dev=1 arrive"}, kWaitMs, 2));
    EXPECT_TRUE(MarkerPresent());
    Connect();
    EXPECT_EQ(kAccepted, Exchange("S10000"));
    EXPECT_EQ(2u, m_devsim.LinesWith({"text=\"S10000\" record=1 send=1"}).size());  // counts afresh
}

TEST_F(DevsimContractTest, ReachesLongPathsThroughTheDirectoryDescriptor)
{
    // Too long beside the bus directory, short enough as /proc/self/fd/N/...
    const std::string instance(17, 'L');
    ASSERT_GT((m_bus + "/" + InterfacePath(instance) + "\\PIPE02").size(), 107u);
    ASSERT_LE(("/proc/self/fd/99/" + InterfacePath(instance) + "\\PIPE02").size(), 107u);
    StartDevsim({"--device-id=" + instance});
    Connect(instance);
    EXPECT_EQ(instance, Exchange("?S", 64));
}

TEST_F(DevsimContractTest, RefusedPipeFailsToConnectWhileTheOtherDeviceServes)
{
    StartDevsim({"--device", "--refuse-pipe=02", "--device"});
    RawPipeClient refused;
    EXPECT_EQ(ECONNREFUSED, refused.Connect(m_bus, InterfacePath("SIM0001") + "\\PIPE02"));
    RawPipeClient input;
    EXPECT_EQ(0, input.Connect(m_bus, InterfacePath("SIM0001") + "\\PIPE03"));
    EXPECT_TRUE(MarkerPresent("SIM0001"));
    Connect("SIM0002");
    EXPECT_EQ("SIM0002", Exchange("?S", 64));
}

TEST_F(DevsimContractTest, RejectsWrongOptionsWithoutTouchingTheBus)
{
    EXPECT_EQ(2, m_devsim.RunToExit({"--fault=record=0,refuse"}));
    EXPECT_EQ(2, m_devsim.RunToExit({"--fault=record=1"}));
    EXPECT_EQ(2, m_devsim.RunToExit({"--fault=query=S,reply=1"}));
    EXPECT_EQ(2, m_devsim.RunToExit({"--device=no-interface-path"}));
    EXPECT_EQ(2, m_devsim.RunToExit({"--device-id=A", "--device-id=A"}));
    EXPECT_EQ(2, m_devsim.RunToExit({"--ident-hex", "S=4"}));
    EXPECT_EQ(0, m_devsim.RunToExit({"--help"}));
    EXPECT_TRUE(TempDirectory::List(m_bus).empty());
}

TEST_F(DevsimContractTest, RefusesAPathThatAnotherDeviceAlreadyPresents)
{
    StartDevsim({});
    DevsimProcess second(m_bus, m_temp.MakeSubdirectory("second"));
    EXPECT_EQ(2, second.RunToExit({}));
    EXPECT_TRUE(MarkerPresent());
    Connect();
    EXPECT_EQ("SIM0001", Exchange("?S", 64));
}

TEST_F(DevsimContractTest, ReplacesAMarkerLeftByAKilledSimulator)
{
    const std::string path = InterfacePath("SIM0001");
    for (const std::string& name : {path, path + "\\PIPE02"}) {
        FILE* file = std::fopen((m_bus + "/" + name).c_str(), "w");
        ASSERT_NE(nullptr, file);
        std::fclose(file);
    }
    StartDevsim({});
    EXPECT_EQ(1u, m_devsim.LinesWith({"stale-marker-removed"}).size());
    Connect();
    EXPECT_EQ("SIM0001", Exchange("?S", 64));
}

}  // namespace
