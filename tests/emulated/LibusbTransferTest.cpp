// Transfers of the libusb backend against an emulated device: through the
// device object as the program uses it, and at the platform seam where the
// overlapped contract itself is at stake (time-outs, cancels, buffers).
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "BackendFixture.h"
#include "protocol/AckResult.h"
#include "protocol/CTreloxExceptionRead.h"
#include "usb/CUsbDevice.h"
#include "usb/DeviceContract.h"

namespace {

using LibusbTransferTest = BackendFixture;

TEST_F(LibusbTransferTest, ARecordGoesToPipe02AndItsAcknowledgeComesFromPipe03)
{
    ASSERT_EQ(0, OpenLink()) << Report();
    EXPECT_EQ(ackAccepted, m_link.SendLine(CString("S1131000AA")));
    // Index 2 of the interface, not the first OUT endpoint (0x01).
    EXPECT_EQ(std::vector<std::string>{"S1131000AA"}, m_device.ReceivedOn(0x02));
    EXPECT_TRUE(m_device.ReceivedOn(0x01).empty());
    CString value;
    EXPECT_TRUE(m_link.QueryInfo('P', value));
    EXPECT_EQ("EMULATED-1", value.Bytes());
}

TEST_F(LibusbTransferTest, ARecordOfWholePacketsEndsWithoutAZeroLengthPacket)
{
    ASSERT_EQ(0, OpenLink()) << Report();
    const std::string record = "S1" + std::string(62, '0');  // 64 bytes: one full packet
    EXPECT_EQ(ackAccepted, m_link.SendLine(CString(record.c_str())));
    EXPECT_EQ(std::vector<std::string>{record}, m_device.Received());
    EXPECT_EQ(0, m_device.ZeroPacketWrites());
}

TEST_F(LibusbTransferTest, AShortReadCompletesWithItsCountAndAnEmptyOneWithNothing)
{
    UsePlatform();
    OpenPipes();
    char buffer[64];
    m_device.Send("AB");
    StartRead(buffer, sizeof buffer);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform->WaitForSingleObject(m_event, 5000));
    DWORD count = 99;
    EXPECT_TRUE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(2u, count);
    EXPECT_EQ(0, std::memcmp(buffer, "AB", 2));

    m_device.Send("");
    StartRead(buffer, sizeof buffer);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform->WaitForSingleObject(m_event, 5000));
    EXPECT_TRUE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(0u, count);
}

TEST_F(LibusbTransferTest, AReadAskedForBeforeItsReplyIsIncompleteThenCompletes)
{
    UsePlatform();
    OpenPipes();
    char buffer[8];
    StartRead(buffer, sizeof buffer);
    DWORD count = 99;
    // The code every backend gives for a transfer still under way.
    EXPECT_FALSE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_INCOMPLETE), m_platform->GetLastError());
    m_device.Send("OK");
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform->WaitForSingleObject(m_event, 5000));
    EXPECT_TRUE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(2u, count);
}

TEST_F(LibusbTransferTest, ATimedOutReadIsDiscardedBeforeTheCancelReturnsAndNeverTouchesTheBufferAgain)
{
    UsePlatform();
    OpenPipes();
    // The opening looked for stale answers with reads of its own.
    const int discardedByOpening = m_device.DiscardedUrbs();
    char buffer[10];
    std::memset(buffer, 0xAA, sizeof buffer);
    StartRead(buffer, sizeof buffer);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform->WaitForSingleObject(m_event, 200));
    EXPECT_EQ(1, m_device.PendingReads());

    m_platform->CancelTransfer(m_read, &m_overlapped);
    // Discarded, given back and reaped: nothing of it is left in flight.
    EXPECT_EQ(discardedByOpening + 1, m_device.DiscardedUrbs());
    EXPECT_EQ(0, m_device.PendingReads());
    DWORD count = 0;
    EXPECT_FALSE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), m_platform->GetLastError());

    // The device answers late: the answer waits for the next read, and the
    // abandoned buffer stays as it was.
    m_device.Send("\x10\x06");
    char next[10] = {};
    StartRead(next, sizeof next);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform->WaitForSingleObject(m_event, 5000));
    EXPECT_TRUE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(2u, count);
    EXPECT_EQ(std::string(10, '\xAA'), std::string(buffer, sizeof buffer));
}

TEST_F(LibusbTransferTest, ADeviceUnpluggedDuringAReadEndsItWithTheVanishedDeviceError)
{
    ASSERT_EQ(0, OpenLink()) << Report();
    std::thread unplug([this] {
        if (m_device.WaitUntil([](const EmulatedDevice& d) { return d.PendingReads() == 1; }, 5000)) {
            m_bus.Unplug(m_device);
        }
    });
    char buffer[10];
    const auto start = std::chrono::steady_clock::now();
    try {
        m_link.Read(buffer, sizeof buffer);
        ADD_FAILURE() << "the read succeeded";
    } catch (const CTreloxExceptionRead& error) {
        EXPECT_EQ("Fehler 19 beim Lesen (0 von 10 Bytes gelesen)", error.GetMessageText().Bytes());
    }
    unplug.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4)) << "not by the time-out";
}

TEST_F(LibusbTransferTest, ADeviceSendingMoreThanAskedFailsTheReadAndNothingPastTheBufferIsWritten)
{
    UsePlatform();
    OpenPipes();
    char buffer[32];
    std::memset(buffer, 0xAA, sizeof buffer);
    m_device.Send(std::string("\x10\x06") + std::string(20, 'X'));
    StartRead(buffer, 10);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform->WaitForSingleObject(m_event, 5000));
    DWORD count = 0;
    EXPECT_FALSE(m_platform->GetOverlappedResult(m_read, &m_overlapped, &count, FALSE));
    EXPECT_EQ(static_cast<DWORD>(EOVERFLOW), m_platform->GetLastError());
    EXPECT_EQ(std::string(22, '\xAA'), std::string(buffer + 10, 22));
}

TEST_F(LibusbTransferTest, AnOversizedAcknowledgeIsAReadErrorOfTheRecord)
{
    m_device.Configure([](EmulatedFirmware& firmware) { firmware.SendOversizedAcknowledges(); });
    ASSERT_EQ(0, OpenLink()) << Report();
    try {
        m_link.SendLine(CString("S1131000AA"));
        ADD_FAILURE() << "the acknowledge was taken";
    } catch (const CTreloxExceptionRead& error) {
        EXPECT_EQ("Fehler 75 beim Lesen (10 von 10 Bytes gelesen)", error.GetMessageText().Bytes());
    }
}

}  // namespace
