// The Win32 backend's overlapped transfers against a named-pipe server that
// plays the device: at once, pending, timed out and cancelled, refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "NamedPipeServer.h"
#include "platform/win32/CWin32Platform.h"

namespace {

constexpr DWORD kTimeoutMs = 5000;

class OverlappedTransferTest : public ::testing::Test {
protected:
    void Connect(PipeAccess access)
    {
        m_pipe = m_platform.OpenPipe(m_server.Path().c_str(), access);
        ASSERT_NE(m_pipe, INVALID_HANDLE_VALUE) << "error " << m_platform.GetLastError();
        ASSERT_TRUE(m_server.AcceptClient());
        m_overlapped = NewTransfer();
    }

    // A fresh overlapped record with its own event, as each transfer has.
    Overlapped NewTransfer()
    {
        Overlapped overlapped{};
        overlapped.hEvent = m_platform.CreateEvent();
        EXPECT_NE(overlapped.hEvent, nullptr);
        m_events.push_back(overlapped.hEvent);
        return overlapped;
    }

    void TearDown() override
    {
        for (HANDLE event : m_events) {
            m_platform.CloseHandle(event);
        }
        if (m_pipe != INVALID_HANDLE_VALUE) {
            m_platform.CloseHandle(m_pipe);
        }
    }

    CWin32Platform m_platform;
    NamedPipeServer m_server;
    HANDLE m_pipe = INVALID_HANDLE_VALUE;
    Overlapped m_overlapped{};
    std::vector<HANDLE> m_events;
    DWORD m_transferred = 0;
};

TEST_F(OverlappedTransferTest, ShortReplyWaitingCompletesReadAtOnceWithItsLength)
{
    Connect(PipeAccess::Read);
    ASSERT_TRUE(m_server.Send("\x06\x01"));
    char buffer[64];
    std::memset(buffer, 0x5A, sizeof buffer);

    ASSERT_TRUE(m_platform.ReadFile(m_pipe, buffer, sizeof buffer, &m_transferred, &m_overlapped));
    EXPECT_EQ(m_transferred, 2u);
    EXPECT_EQ(buffer[0], '\x06');
    EXPECT_EQ(buffer[1], '\x01');
    EXPECT_EQ(buffer[2], '\x5A');
}

TEST_F(OverlappedTransferTest, WriteWithRoomCompletesAtOnceAndReachesTheFarEnd)
{
    Connect(PipeAccess::Write);
    const std::string record = "S1130000FFFFFFFF";

    ASSERT_TRUE(m_platform.WriteFile(m_pipe, record.data(), static_cast<DWORD>(record.size()), &m_transferred,
                                     &m_overlapped));
    EXPECT_EQ(m_transferred, record.size());
    EXPECT_EQ(m_server.Receive(64, kTimeoutMs), record);
}

TEST_F(OverlappedTransferTest, ReadPendingUntilTheReplyArrivesThenReportsItsCount)
{
    Connect(PipeAccess::Read);
    char buffer[64] = {};

    ASSERT_FALSE(m_platform.ReadFile(m_pipe, buffer, sizeof buffer, &m_transferred, &m_overlapped));
    ASSERT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
    EXPECT_EQ(m_platform.WaitForSingleObject(m_overlapped.hEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    ASSERT_TRUE(m_server.Send("OK"));
    ASSERT_EQ(m_platform.WaitForSingleObject(m_overlapped.hEvent, kTimeoutMs), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD count = 0;
    ASSERT_TRUE(m_platform.GetOverlappedResult(m_pipe, &m_overlapped, &count, FALSE));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(std::string(buffer, 2), "OK");
}

TEST_F(OverlappedTransferTest, UnansweredReadTimesOutAndOnceCancelledNeverTouchesItsBuffer)
{
    Connect(PipeAccess::Read);
    char buffer[64];
    std::memset(buffer, 0xA5, sizeof buffer);
    ASSERT_FALSE(m_platform.ReadFile(m_pipe, buffer, sizeof buffer, &m_transferred, &m_overlapped));
    ASSERT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));

    const DWORD started = m_platform.GetTickCount();
    EXPECT_EQ(m_platform.WaitForSingleObject(m_overlapped.hEvent, kTimeoutMs), static_cast<DWORD>(WAIT_TIMEOUT));
    const DWORD waited = m_platform.GetTickCount() - started;
    EXPECT_GE(waited, kTimeoutMs - 50);  // the tick count moves in steps of 10-16 ms
    EXPECT_LT(waited, kTimeoutMs + 2000);

    m_platform.SetLastError(ERROR_SEM_TIMEOUT);
    m_platform.CancelTransfer(m_pipe, &m_overlapped);
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_SEM_TIMEOUT)) << "the caller's reason survives";
    DWORD count = 99;
    EXPECT_FALSE(m_platform.GetOverlappedResult(m_pipe, &m_overlapped, &count, FALSE));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_OPERATION_ABORTED));

    // A late reply goes to the next read, not into the abandoned buffer.
    ASSERT_TRUE(m_server.Send("late"));
    Overlapped next = NewTransfer();
    char nextBuffer[64] = {};
    DWORD nextCount = 0;
    if (!m_platform.ReadFile(m_pipe, nextBuffer, sizeof nextBuffer, &nextCount, &next)) {
        ASSERT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
        ASSERT_EQ(m_platform.WaitForSingleObject(next.hEvent, kTimeoutMs), static_cast<DWORD>(WAIT_OBJECT_0));
        ASSERT_TRUE(m_platform.GetOverlappedResult(m_pipe, &next, &nextCount, FALSE));
    }
    EXPECT_EQ(std::string(nextBuffer, nextCount), "late");
    for (unsigned char byte : buffer) {
        ASSERT_EQ(byte, 0xA5);
    }
}

TEST_F(OverlappedTransferTest, PendingReadEndsWithTheTransferErrorWhenTheFarEndGoesAway)
{
    Connect(PipeAccess::Read);
    char buffer[64];
    ASSERT_FALSE(m_platform.ReadFile(m_pipe, buffer, sizeof buffer, &m_transferred, &m_overlapped));
    ASSERT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));

    m_server.Close();
    ASSERT_EQ(m_platform.WaitForSingleObject(m_overlapped.hEvent, kTimeoutMs), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD count = 0;
    EXPECT_FALSE(m_platform.GetOverlappedResult(m_pipe, &m_overlapped, &count, FALSE));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(count, 0u);
}

TEST_F(OverlappedTransferTest, WriteOnAClosedLinkFailsAtOnceWithTheSystemsCode)
{
    Overlapped overlapped = NewTransfer();
    const char record[] = "S9030000FC";
    const DWORD started = m_platform.GetTickCount();

    EXPECT_FALSE(m_platform.WriteFile(INVALID_HANDLE_VALUE, record, sizeof record - 1, &m_transferred, &overlapped));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(m_transferred, 0u);
    EXPECT_LT(m_platform.GetTickCount() - started, 1000u);
    EXPECT_EQ(m_platform.WaitForSingleObject(overlapped.hEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(OverlappedTransferTest, PipesOpenOnlyInTheirOwnDirection)
{
    Connect(PipeAccess::Read);
    const char record[] = "X";
    EXPECT_FALSE(m_platform.WriteFile(m_pipe, record, 1, &m_transferred, &m_overlapped));
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    EXPECT_EQ(m_platform.OpenPipe((m_server.Path() + "-missing").c_str(), PipeAccess::Write), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m_platform.GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(OverlappedTransferTest, TransferEventStartsClearAndResetsItselfOnceSeen)
{
    HANDLE event = NewTransfer().hEvent;
    EXPECT_EQ(m_platform.WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_TRUE(::SetEvent(event));
    EXPECT_EQ(m_platform.WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(m_platform.WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
