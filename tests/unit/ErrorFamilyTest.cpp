// The device error family: exact German texts, the kinds handlers tell apart,
// and the response error's own byte copy.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "protocol/CTreloxExceptionNoAck.h"
#include "protocol/CTreloxExceptionRead.h"
#include "protocol/CTreloxExceptionReadTimeout.h"
#include "protocol/CTreloxExceptionResponse.h"
#include "protocol/CTreloxExceptionWrite.h"
#include "protocol/CTreloxExceptionWriteTimeout.h"

namespace {

std::string ResponseText(std::vector<BYTE> bytes)
{
    return CTreloxExceptionResponse(static_cast<int>(bytes.size()), bytes.data()).GetMessageText().Bytes();
}

}  // namespace

TEST(ErrorFamily, TransferErrorsFillCodeThenTransferredThenRequested)
{
    EXPECT_EQ("Fehler 31 beim Schreiben (0 von 2 Bytes geschrieben)", CTreloxExceptionWrite(2, 0, 31).GetMessageText().Bytes());
    EXPECT_EQ("Fehler 0 beim Schreiben (1 von 2 Bytes geschrieben)", CTreloxExceptionWrite(2, 1, 0).GetMessageText().Bytes());
    EXPECT_EQ("Fehler 995 beim Lesen (0 von 64 Bytes gelesen)", CTreloxExceptionRead(64, 0, 995).GetMessageText().Bytes());
    // A code above the signed range is shown as a signed number.
    EXPECT_EQ("Fehler -1 beim Lesen (0 von 10 Bytes gelesen)",
              CTreloxExceptionRead(10, 0, 0xFFFFFFFFu).GetMessageText().Bytes());
}

TEST(ErrorFamily, TimeoutTexts)
{
    EXPECT_EQ("Timeout beim Schreiben", CTreloxExceptionWriteTimeout().GetMessageText().Bytes());
    EXPECT_EQ("Timeout beim Lesen", CTreloxExceptionReadTimeout().GetMessageText().Bytes());
}

TEST(ErrorFamily, NoAckNamesTheAttemptsOnlyAboveOne)
{
    EXPECT_EQ("Kein Acknowledge (3 Versuche)", CTreloxExceptionNoAck(3).GetMessageText().Bytes());
    EXPECT_EQ("Kein Acknowledge (2 Versuche)", CTreloxExceptionNoAck(2).GetMessageText().Bytes());
    EXPECT_EQ("Kein Acknowledge", CTreloxExceptionNoAck(1).GetMessageText().Bytes());
    EXPECT_EQ("Kein Acknowledge", CTreloxExceptionNoAck(0).GetMessageText().Bytes());
}

TEST(ErrorFamily, ResponseListsUpperCaseHexWithSingleBlanks)
{
    EXPECT_EQ("Keine Antwortdaten erhalten", ResponseText({}));
    EXPECT_EQ("Fehlerhafte Antwortdaten (1 Byte {06})", ResponseText({0x06}));
    EXPECT_EQ("Fehlerhafte Antwortdaten (3 Byte {10 06 0D})", ResponseText({0x10, 0x06, 0x0D}));
    EXPECT_EQ("Fehlerhafte Antwortdaten (2 Byte {0A FF})", ResponseText({0x0A, 0xFF}));
    EXPECT_EQ("Fehlerhafte Antwortdaten (10 Byte {00 01 02 03 04 05 06 07 08 09})",
              ResponseText({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(ErrorFamily, ResponseWithoutUsableBytesHasNone)
{
    const CTreloxExceptionResponse missingData(4, nullptr);
    EXPECT_EQ(0, missingData.m_nLength);
    EXPECT_EQ(nullptr, missingData.m_pData);
    const BYTE byte = 0x41;
    const CTreloxExceptionResponse negative(-3, &byte);
    EXPECT_EQ("Keine Antwortdaten erhalten", negative.GetMessageText().Bytes());
}

TEST(ErrorFamily, ResponseCopiesOwnTheirBytes)
{
    BYTE reply[] = {0x10, 0x07};
    CTreloxExceptionResponse original(2, reply);
    reply[0] = 0x00;  // the error keeps what was received
    ASSERT_NE(reply, original.m_pData.get());

    CTreloxExceptionResponse copy(original);
    EXPECT_NE(original.m_pData.get(), copy.m_pData.get());
    CTreloxExceptionResponse assigned(0, nullptr);
    assigned = copy;
    EXPECT_NE(copy.m_pData.get(), assigned.m_pData.get());
    assigned = assigned;  // self-assignment keeps the bytes
    {
        CTreloxExceptionResponse dropped(std::move(copy));
    }
    EXPECT_EQ("Fehlerhafte Antwortdaten (2 Byte {10 07})", original.GetMessageText().Bytes());
    EXPECT_EQ("Fehlerhafte Antwortdaten (2 Byte {10 07})", assigned.GetMessageText().Bytes());
}

TEST(ErrorFamily, RootHandlerCatchesEveryKindButTimeoutsAreNotTransferErrors)
{
    const auto caughtByRoot = [](auto error) {
        try {
            throw error;
        } catch (const CTreloxException& caught) {
            return !caught.GetMessageText().IsEmpty();
        }
    };
    EXPECT_TRUE(caughtByRoot(CTreloxExceptionWrite(1, 0, 0)));
    EXPECT_TRUE(caughtByRoot(CTreloxExceptionWriteTimeout()));
    EXPECT_TRUE(caughtByRoot(CTreloxExceptionRead(1, 0, 0)));
    EXPECT_TRUE(caughtByRoot(CTreloxExceptionReadTimeout()));
    EXPECT_TRUE(caughtByRoot(CTreloxExceptionResponse(0, nullptr)));
    EXPECT_TRUE(caughtByRoot(CTreloxExceptionNoAck(3)));

    bool writeHandlerTookTimeout = false;
    try {
        try {
            throw CTreloxExceptionWriteTimeout();
        } catch (const CTreloxExceptionWrite&) {
            writeHandlerTookTimeout = true;
        }
    } catch (const CTreloxException&) {
    }
    EXPECT_FALSE(writeHandlerTookTimeout);

    bool readHandlerTookTimeout = false;
    try {
        try {
            throw CTreloxExceptionReadTimeout();
        } catch (const CTreloxExceptionRead&) {
            readHandlerTookTimeout = true;
        }
    } catch (const CTreloxException&) {
    }
    EXPECT_FALSE(readHandlerTookTimeout);
}
