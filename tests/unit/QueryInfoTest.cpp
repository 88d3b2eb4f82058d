// The identity queries: the two command bytes, the reply kept byte for byte,
// and every failure shown once in a message box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/MemoryWindowSystem.h"
#include "support/UsbDeviceFixture.h"
#include "usb/DeviceContract.h"

class QueryInfo : public UsbDeviceFixture {
protected:
    void SetUp() override { OpenLink(); }

    // Queries `letter` with a field that already holds "old".
    bool Query(char letter = kQuerySerialNumber)
    {
        value = "old";
        return device.QueryInfo(letter, value);
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& box : windows.MessageBoxes()) {
            texts.push_back(box.text.Bytes());
        }
        return texts;
    }

    MemoryWindowSystem windows;
    CString value;
};

TEST_F(QueryInfo, SendsQuestionMarkAndTheLetter)
{
    ScriptReplies({"A", "B", "C", "D", "E"});
    for (char letter : {kQuerySerialNumber, kQueryProductName, kQueryManufacturer, kQueryVersion, kQueryErrorInfo}) {
        EXPECT_TRUE(Query(letter));
    }
    EXPECT_EQ((std::vector<std::string>{"\x3F\x53", "\x3F\x50", "\x3F\x4D", "\x3F\x56", "\x3F\x45"}),
              platform.Writes(kDevicePath));
    // A zero letter is still two bytes.
    ScriptReplies({"x"});
    EXPECT_TRUE(Query('\0'));
    EXPECT_EQ(std::string("?\0", 2), platform.Writes(kDevicePath).back());
}

TEST_F(QueryInfo, ReplyBecomesTheValueByteForByte)
{
    ScriptReplies({"ABC", "V1.0\r", "\x10\x15", std::string("A\0B\x01\xFF", 5)});
    EXPECT_TRUE(Query());
    EXPECT_EQ("ABC", value.Bytes());
    EXPECT_TRUE(Query());
    EXPECT_EQ("V1.0\r", value.Bytes());
    EXPECT_TRUE(Query());
    EXPECT_EQ("\x10\x15", value.Bytes());
    EXPECT_TRUE(Query());
    EXPECT_EQ(std::string("A\0B\x01\xFF", 5), value.Bytes());
    EXPECT_TRUE(windows.MessageBoxes().empty());
}

TEST_F(QueryInfo, OneReadOfAtMost64Bytes)
{
    const std::string reply64(64, 'S');
    ScriptReplies({reply64, reply64 + "overflow"});
    EXPECT_TRUE(Query());
    EXPECT_EQ(reply64, value.Bytes());
    EXPECT_TRUE(Query());
    EXPECT_EQ(reply64, value.Bytes());
    EXPECT_EQ((std::vector<DWORD>{64, 64}), platform.ReadSizes(kDevicePath));
}

TEST_F(QueryInfo, NoBytesMeansFalseWithoutAMessage)
{
    ScriptReplies({""});
    EXPECT_FALSE(Query());
    EXPECT_EQ("old", value.Bytes());
    EXPECT_TRUE(windows.MessageBoxes().empty());
}

TEST_F(QueryInfo, ReadTimeOutIsShownOnce)
{
    const DWORD start = platform.GetTickCount();
    EXPECT_FALSE(Query());
    EXPECT_EQ("old", value.Bytes());
    EXPECT_EQ(std::vector<std::string>{"Timeout beim Lesen"}, BoxTexts());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), windows.MessageBoxes()[0].type);
    EXPECT_EQ(5000u, platform.GetTickCount() - start);
}

TEST_F(QueryInfo, ShortWriteIsAWriteErrorAndNothingIsRead)
{
    platform.ScriptWrite(kDevicePath, FakeTransfer::Written(1));
    platform.SetLastError(0);
    EXPECT_FALSE(Query());
    EXPECT_EQ(std::vector<std::string>{"Fehler 0 beim Schreiben (1 von 2 Bytes geschrieben)"}, BoxTexts());
    EXPECT_TRUE(platform.ReadSizes(kDevicePath).empty());
}

TEST_F(QueryInfo, TransferFailuresShowTheirTexts)
{
    platform.ScriptWrite(kDevicePath, FakeTransfer::Never());
    EXPECT_FALSE(Query());
    platform.ScriptRead(kDevicePath, FakeTransfer::Fail(31));
    EXPECT_FALSE(Query());
    device.Close();
    EXPECT_FALSE(Query());
    EXPECT_EQ((std::vector<std::string>{"Timeout beim Schreiben", "Fehler 31 beim Lesen (0 von 64 Bytes gelesen)",
                                        "Fehler 6 beim Schreiben (0 von 2 Bytes geschrieben)"}),
              BoxTexts());
    EXPECT_EQ("old", value.Bytes());
}

TEST_F(QueryInfo, AnyOtherFailureIsAnUnknownException)
{
    platform.FailEventCreation(true);
    EXPECT_FALSE(Query());
    EXPECT_EQ(std::vector<std::string>{"Unbekannte Ausnahme"}, BoxTexts());
    EXPECT_EQ("old", value.Bytes());
}
