// Timed writes and reads over the pipes: counts, errors, the 5000 ms limit on
// the virtual clock, and the event and pending request released on every path.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/CResourceException.h"
#include "protocol/CTreloxExceptionRead.h"
#include "protocol/CTreloxExceptionReadTimeout.h"
#include "protocol/CTreloxExceptionWrite.h"
#include "protocol/CTreloxExceptionWriteTimeout.h"
#include "support/UsbDeviceFixture.h"

class UsbDeviceTransfer : public UsbDeviceFixture {
protected:
    void SetUp() override { OpenLink(); }

    // Every event created was closed and no request is left with the system.
    void ExpectNothingLeftBehind()
    {
        EXPECT_EQ(platform.EventsCreated(), platform.EventsClosed());
        EXPECT_EQ(0, platform.OpenHandles(FakePlatform::HandleKind::Event));
        EXPECT_EQ(0, platform.TransfersInFlight());
        EXPECT_EQ(0, platform.EventsClosedWhilePending());
    }
};

TEST_F(UsbDeviceTransfer, TransferDoneAtOnceReturnsWithoutWaiting)
{
    EXPECT_EQ(3, device.Write("abc", 3));
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply("\x10\x06"));
    char buffer[10] = {};
    EXPECT_EQ(2, device.Read(buffer, sizeof buffer));
    EXPECT_EQ(0, std::memcmp(buffer, "\x10\x06", 2));
    EXPECT_TRUE(platform.EventWaits().empty());
    ASSERT_EQ(1u, platform.Writes(kDevicePath).size());
    EXPECT_EQ("abc", platform.Writes(kDevicePath)[0]);
    EXPECT_EQ(2, platform.EventsCreated());
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, ShortTransfersReturnTheirCountWithoutError)
{
    platform.ScriptWrite(kDevicePath, FakeTransfer::Written(1));
    EXPECT_EQ(1, device.Write("ab", 2));
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply(""));
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply("").After(20));
    char buffer[10];
    EXPECT_EQ(0, device.Read(buffer, sizeof buffer));
    EXPECT_EQ(0, device.Read(buffer, sizeof buffer));
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, ReplyLongerThanTheBufferStaysInsideIt)
{
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply(std::string(100, 'r')).After(10));
    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(10, device.Read(buffer, 10));
    EXPECT_EQ(std::string(10, 'r'), std::string(buffer, 10));
    EXPECT_EQ("##", std::string(buffer + 10, 2));

    // A count reported beyond the size asked for is never passed on.
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply("xy").WithCount(5000));
    platform.ScriptWrite(kDevicePath, FakeTransfer::Written(7));
    EXPECT_EQ(10, device.Read(buffer, 10));
    EXPECT_EQ(2, device.Write("ab", 2));
}

TEST_F(UsbDeviceTransfer, NegativeCountsAskForNothing)
{
    EXPECT_EQ(0, device.Write("abc", -5));
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply("zz"));
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(0, device.Read(buffer, -1));
    EXPECT_EQ('#', buffer[0]);
    EXPECT_EQ(std::vector<DWORD>{0}, platform.ReadSizes(kDevicePath));
}

TEST_F(UsbDeviceTransfer, ClosedLinkFailsAtOnceWithTheSystemCode)
{
    device.Close();
    try {
        device.Write("ab", 2);
        FAIL() << "write on a closed link returned";
    } catch (const CTreloxExceptionWrite& error) {
        EXPECT_EQ(2, error.m_nRequested);
        EXPECT_EQ(0, error.m_nTransferred);
        EXPECT_EQ(FakePlatform::kErrorInvalidHandle, error.m_dwError);
    }
    char buffer[64];
    try {
        device.Read(buffer, 64);
        FAIL() << "read on a closed link returned";
    } catch (const CTreloxExceptionRead& error) {
        EXPECT_EQ(64, error.m_nRequested);
        EXPECT_EQ(0, error.m_nTransferred);
        EXPECT_EQ(FakePlatform::kErrorInvalidHandle, error.m_dwError);
    }
    EXPECT_TRUE(platform.EventWaits().empty());
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, RefusalCarriesTheCountSoFarAndTheCode)
{
    platform.ScriptWrite(kDevicePath, FakeTransfer::Fail(1167).WithCount(1));
    try {
        device.Write("abcd", 4);
        FAIL();
    } catch (const CTreloxExceptionWrite& error) {
        EXPECT_EQ("Fehler 1167 beim Schreiben (1 von 4 Bytes geschrieben)", error.GetMessageText().Bytes());
    }
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, SilentDeviceTimesOutAfter5000MsAndTheRequestIsCancelled)
{
    const DWORD start = platform.GetTickCount();
    char buffer[10];
    EXPECT_THROW(device.Read(buffer, sizeof buffer), CTreloxExceptionReadTimeout);
    EXPECT_EQ(5000u, platform.GetTickCount() - start);
    EXPECT_EQ(std::vector<DWORD>{5000}, platform.EventWaits());
    EXPECT_EQ(1, platform.Cancels());
    ExpectNothingLeftBehind();

    platform.ScriptWrite(kDevicePath, FakeTransfer::Never());
    EXPECT_THROW(device.Write("ab", 2), CTreloxExceptionWriteTimeout);
    EXPECT_EQ(10000u, platform.GetTickCount() - start);
    EXPECT_EQ(2, platform.Cancels());
    ExpectNothingLeftBehind();
    EXPECT_TRUE(device.IsOpen());
}

TEST_F(UsbDeviceTransfer, CompletionAtExactly5000MsCountsAndOneMoreDoesNot)
{
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply("\x10\x06").After(5000));
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply("\x10\x06").After(5001));
    char buffer[10];
    EXPECT_EQ(2, device.Read(buffer, sizeof buffer));
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_THROW(device.Read(buffer, sizeof buffer), CTreloxExceptionReadTimeout);

    // The late reply finds its request cancelled: the buffer stays untouched.
    platform.AdvanceClock(60000);
    EXPECT_EQ('#', buffer[0]);
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, TimeOutCountsFromTheMomentTheTransferIsPending)
{
    platform.Sleep(7000);  // time before the transfer does not count
    platform.ScriptWrite(kDevicePath, FakeTransfer::Whole().After(4999));
    platform.ScriptRead(kDevicePath, FakeTransfer::Reply("\x10\x06").After(4999));
    const DWORD start = platform.GetTickCount();
    EXPECT_EQ(2, device.Write("ab", 2));
    char buffer[10];
    EXPECT_EQ(2, device.Read(buffer, sizeof buffer));
    EXPECT_EQ(9998u, platform.GetTickCount() - start);
    EXPECT_EQ(0, platform.Cancels());
}

TEST_F(UsbDeviceTransfer, PendingTransferFailingWithinTheLimitIsAnErrorNotATimeout)
{
    platform.ScriptRead(kDevicePath, FakeTransfer::Error(FakePlatform::kErrorDeviceGone).After(1200));
    const DWORD start = platform.GetTickCount();
    char buffer[10];
    try {
        device.Read(buffer, sizeof buffer);
        FAIL();
    } catch (const CTreloxExceptionRead& error) {
        EXPECT_EQ(10, error.m_nRequested);
        EXPECT_EQ(0, error.m_nTransferred);
        EXPECT_EQ(FakePlatform::kErrorDeviceGone, error.m_dwError);
    }
    EXPECT_EQ(1200u, platform.GetTickCount() - start);

    platform.ScriptWrite(kDevicePath, FakeTransfer::Error(995).WithCount(3).After(10));
    try {
        device.Write("abcdef", 6);
        FAIL();
    } catch (const CTreloxExceptionWrite& error) {
        EXPECT_EQ("Fehler 995 beim Schreiben (3 von 6 Bytes geschrieben)", error.GetMessageText().Bytes());
    }
    EXPECT_EQ(0, platform.Cancels());
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, FailedWaitCountsAsTimeOutAndStillCancels)
{
    platform.ScriptWrite(kDevicePath, FakeTransfer::WaitFails());
    EXPECT_THROW(device.Write("ab", 2), CTreloxExceptionWriteTimeout);
    EXPECT_EQ(1, platform.Cancels());
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, SignalledWhileStillRunningIsAnErrorAndTheRequestIsCancelled)
{
    // The request is still the system's: it must be ended before the event
    // and the bytes go.
    platform.ScriptRead(kDevicePath, FakeTransfer::SignalledEarly());
    char buffer[4];
    try {
        device.Read(buffer, sizeof buffer);
        FAIL();
    } catch (const CTreloxExceptionRead& error) {
        EXPECT_NE(std::string::npos, error.GetMessageText().Bytes().find("996")) << error.GetMessageText().Bytes();
    }
    EXPECT_EQ(1, platform.Cancels());
    ExpectNothingLeftBehind();
}

TEST_F(UsbDeviceTransfer, NoEventMeansAResourceErrorBeforeAnyTransfer)
{
    platform.FailEventCreation(true);
    EXPECT_THROW(device.Write("ab", 2), CResourceException);
    char buffer[2];
    EXPECT_THROW(device.Read(buffer, 2), CResourceException);
    EXPECT_TRUE(platform.Writes(kDevicePath).empty());
    EXPECT_TRUE(platform.ReadSizes(kDevicePath).empty());
}

TEST_F(UsbDeviceTransfer, LongRunOfFailuresLeavesNoEventsOrRequests)
{
    char buffer[10];
    for (int i = 0; i < 200; ++i) {
        platform.ScriptWrite(kDevicePath, i % 2 == 0 ? FakeTransfer::Fail(31) : FakeTransfer::Never());
        EXPECT_ANY_THROW(device.Write("x", 1));
        EXPECT_THROW(device.Read(buffer, sizeof buffer), CTreloxExceptionReadTimeout);
    }
    EXPECT_EQ(400, platform.EventsCreated());
    ExpectNothingLeftBehind();
    // The pipes stay in use after every error.
    EXPECT_EQ(200u, platform.Writes(kDevicePath).size());
    EXPECT_EQ(2, platform.OpenHandles(FakePlatform::HandleKind::Pipe));
}

TEST_F(UsbDeviceTransfer, DeviceUnpluggedDuringTheWaitEndsThePendingRead)
{
    platform.ScriptRead(kDevicePath, FakeTransfer::Never());
    char buffer[10];
    EXPECT_THROW(device.Read(buffer, sizeof buffer), CTreloxExceptionReadTimeout);
    platform.RemoveDevice(kDevicePath);
    try {
        device.Write("ab", 2);
        FAIL();
    } catch (const CTreloxExceptionWrite& error) {
        EXPECT_EQ(FakePlatform::kErrorDeviceGone, error.m_dwError);
    }
    ExpectNothingLeftBehind();
}
