// A record and its two-byte acknowledge, and the repeat rule for a refused
// record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/CTreloxExceptionNoAck.h"
#include "protocol/CTreloxExceptionReadTimeout.h"
#include "protocol/CTreloxExceptionResponse.h"
#include "protocol/CTreloxExceptionWrite.h"
#include "protocol/SendRecordWithRepeats.h"
#include "support/UsbDeviceFixture.h"

namespace {

const char kAccepted[] = "\x10\x06";
const char kRejected[] = "\x10\x15";
const char kProgrammed[] = "\x10\x04";

}  // namespace

class CommandExchange : public UsbDeviceFixture {
protected:
    void SetUp() override { OpenLink(); }

    // The text of the response error that the reply `bytes` raises.
    std::string ResponseErrorFor(const std::string& bytes)
    {
        platform.ScriptRead(kDevicePath, FakeTransfer::Reply(bytes));
        try {
            device.SendLine("S00");
        } catch (const CTreloxExceptionResponse& error) {
            return error.GetMessageText().Bytes();
        }
        return "no response error";
    }
};

TEST_F(CommandExchange, TheThreeAcknowledges)
{
    ScriptReplies({kAccepted, kRejected, kProgrammed});
    EXPECT_EQ(ackAccepted, device.SendLine("S1"));
    EXPECT_EQ(ackRejected, device.SendLine("S2"));
    EXPECT_EQ(ackProgrammed, device.SendLine("S3"));
}

TEST_F(CommandExchange, RecordGoesAsItsBareBytesAndOneReadOfTenFollows)
{
    ScriptReplies({kAccepted});
    const CString record(std::string("S1 \x00\xFF\t", 6));
    device.SendLine(record);
    EXPECT_EQ(std::vector<std::string>{record.Bytes()}, platform.Writes(kDevicePath));
    EXPECT_EQ(std::vector<DWORD>{10}, platform.ReadSizes(kDevicePath));
}

TEST_F(CommandExchange, AnythingButTheThreeFormsIsAResponseError)
{
    EXPECT_EQ("Fehlerhafte Antwortdaten (3 Byte {10 06 00})", ResponseErrorFor(std::string("\x10\x06\x00", 3)));
    EXPECT_EQ("Fehlerhafte Antwortdaten (1 Byte {06})", ResponseErrorFor("\x06"));
    EXPECT_EQ("Fehlerhafte Antwortdaten (1 Byte {10})", ResponseErrorFor("\x10"));
    EXPECT_EQ("Fehlerhafte Antwortdaten (2 Byte {00 06})", ResponseErrorFor(std::string("\x00\x06", 2)));
    EXPECT_EQ("Fehlerhafte Antwortdaten (2 Byte {10 07})", ResponseErrorFor("\x10\x07"));
    EXPECT_EQ("Fehlerhafte Antwortdaten (2 Byte {06 10})", ResponseErrorFor("\x06\x10"));
    EXPECT_EQ("Keine Antwortdaten erhalten", ResponseErrorFor(""));
    // A reply longer than the acknowledge buffer is cut to its ten bytes.
    EXPECT_EQ("Fehlerhafte Antwortdaten (10 Byte {10 06 41 41 41 41 41 41 41 41})",
              ResponseErrorFor("\x10\x06" + std::string(500, 'A')));
}

TEST_F(CommandExchange, ShortWriteIsAWriteErrorAndNoAcknowledgeIsRead)
{
    platform.ScriptWrite(kDevicePath, FakeTransfer::Written(5));
    platform.SetLastError(0);
    try {
        device.SendLine("S12345");
        FAIL() << "a short write passed";
    } catch (const CTreloxExceptionWrite& error) {
        EXPECT_EQ(6, error.m_nRequested);
        EXPECT_EQ(5, error.m_nTransferred);
        EXPECT_EQ("Fehler 0 beim Schreiben (5 von 6 Bytes geschrieben)", error.GetMessageText().Bytes());
    }
    EXPECT_TRUE(platform.ReadSizes(kDevicePath).empty());
}

TEST_F(CommandExchange, RefusedRecordIsRepeatedAtMostThreeTimes)
{
    ScriptReplies({kRejected, kAccepted});
    EXPECT_EQ(ackAccepted, SendRecordWithRepeats(device, "S1"));
    EXPECT_EQ(2u, platform.Writes(kDevicePath).size());

    ScriptReplies({kRejected, kRejected, kProgrammed});
    EXPECT_EQ(ackProgrammed, SendRecordWithRepeats(device, "S9"));
    EXPECT_EQ(5u, platform.Writes(kDevicePath).size());

    ScriptReplies({kRejected, kRejected, kRejected, kAccepted});
    try {
        SendRecordWithRepeats(device, "S2");
        FAIL() << "three refusals passed";
    } catch (const CTreloxExceptionNoAck& error) {
        EXPECT_EQ(3, error.m_nAttempts);
        EXPECT_EQ("Kein Acknowledge (3 Versuche)", error.GetMessageText().Bytes());
    }
    const std::vector<std::string> writes = platform.Writes(kDevicePath);
    ASSERT_EQ(8u, writes.size());
    EXPECT_EQ((std::vector<std::string>{"S2", "S2", "S2"}), std::vector<std::string>(writes.begin() + 5, writes.end()));
    // No pause between the sends.
    EXPECT_TRUE(platform.Sleeps().empty());
}

TEST_F(CommandExchange, AnErrorEndsTheRepeatsAtOnce)
{
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply(kRejected));
    platform.ScriptRead(kDevicePath, FakeTransfer::Never());
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply(kAccepted));
    EXPECT_THROW(SendRecordWithRepeats(device, "S1"), CTreloxExceptionReadTimeout);
    EXPECT_EQ(2u, platform.Writes(kDevicePath).size());
    // The reply kept for a third send is still unread.
    EXPECT_EQ(ackAccepted, device.SendLine("S2"));

    ScriptReplies({"\x10\x07", kAccepted});
    EXPECT_THROW(SendRecordWithRepeats(device, "S3"), CTreloxExceptionResponse);
    EXPECT_EQ(4u, platform.Writes(kDevicePath).size());
}
