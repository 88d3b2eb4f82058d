// The POSIX platform's pipes on the simulated bus, against a scripted device:
// framing, completions at once and later, time-outs with cancelling, closed
// connections and handles, long socket addresses and large frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <future>
#include <memory>
#include <vector>

#include "PosixScriptedPipe.h"
#include "PosixTestBus.h"
#include "platform/CPlatform.h"

namespace {

constexpr DWORD kPatienceMs = 5000;

// Blocks the device script until the test lets it go on.
class Gate {
public:
    void Open() { m_promise.set_value(); }
    void Pass()
    {
        if (m_future.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "the test never opened the gate";
        }
    }

private:
    std::promise<void> m_promise;
    std::shared_future<void> m_future = m_promise.get_future().share();
};

class PosixPipeTransferTest : public ::testing::Test {
protected:
    void SetUp() override { m_bus.CreateBus(); }

    std::string InterfacePath() const
    {
        return "\\\\?\\usb#vid_1234&pid_5678#SIM0001" + std::string(PosixTestBus::kClassSuffix);
    }
    std::string WritePipePath() const { return InterfacePath() + "\\PIPE02"; }
    std::string ReadPipePath() const { return InterfacePath() + "\\PIPE03"; }

    // One transfer's record, with its own event.
    struct Transfer {
        explicit Transfer(CPlatform& platform) : m_platform(platform)
        {
            std::memset(&overlapped, 0, sizeof(overlapped));
            overlapped.hEvent = platform.CreateEvent();
        }
        ~Transfer() { m_platform.CloseHandle(overlapped.hEvent); }
        // Waits for a pending transfer and asks for its outcome.
        BOOL Finish(HANDLE pipe, DWORD* count)
        {
            EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform.WaitForSingleObject(overlapped.hEvent, kPatienceMs));
            return m_platform.GetOverlappedResult(pipe, &overlapped, count, FALSE);
        }
        CPlatform& m_platform;
        Overlapped overlapped;
    };

    BOOL Write(HANDLE pipe, const std::string& bytes, DWORD* count)
    {
        Transfer transfer(m_platform);
        if (m_platform.WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), count, &transfer.overlapped)) {
            return TRUE;
        }
        if (m_platform.GetLastError() != ERROR_IO_PENDING) {
            return FALSE;
        }
        return transfer.Finish(pipe, count);
    }

    BOOL Read(HANDLE pipe, char* buffer, DWORD size, DWORD* count)
    {
        Transfer transfer(m_platform);
        if (m_platform.ReadFile(pipe, buffer, size, count, &transfer.overlapped)) {
            return TRUE;
        }
        if (m_platform.GetLastError() != ERROR_IO_PENDING) {
            return FALSE;
        }
        return transfer.Finish(pipe, count);
    }

    PosixTestBus m_bus;
    CPlatform& m_platform = BuildPlatform();
};

TEST_F(PosixPipeTransferTest, WriteCompletesAtOnceOnlyWhenItsCompletionIsAlreadyThere)
{
    PosixScriptedPipe device(m_bus.BusPath(), WritePipePath());
    Gate answered;
    Gate secondSent;
    device.Serve([&](PosixScriptedPipe& pipe) {
        // The first completion goes out before the request has come in.
        pipe.WriteWord(0);
        pipe.WriteWord(3);
        answered.Open();
        EXPECT_EQ(3u, pipe.ReadWord());
        EXPECT_EQ("abc", pipe.ReadBytes(3));
        EXPECT_EQ(2u, pipe.ReadWord());
        EXPECT_EQ("de", pipe.ReadBytes(2));
        secondSent.Pass();
        pipe.WriteWord(0);
        pipe.WriteWord(2);
    });
    const HANDLE pipe = m_platform.OpenPipe(WritePipePath().c_str(), PipeAccess::Write);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    answered.Pass();

    Transfer first(m_platform);
    DWORD count = 99;
    EXPECT_TRUE(m_platform.WriteFile(pipe, "abc", 3, &count, &first.overlapped));
    EXPECT_EQ(3u, count);

    Transfer second(m_platform);
    count = 99;
    EXPECT_FALSE(m_platform.WriteFile(pipe, "de", 2, &count, &second.overlapped));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), m_platform.GetLastError());
    secondSent.Open();
    EXPECT_TRUE(second.Finish(pipe, &count));
    EXPECT_EQ(2u, count);
    device.Join();
    m_platform.CloseHandle(pipe);
}

TEST_F(PosixPipeTransferTest, WriteReportsShortCountsAndDeviceErrors)
{
    PosixScriptedPipe device(m_bus.BusPath(), WritePipePath());
    device.Serve([](PosixScriptedPipe& pipe) {
        pipe.ReadBytes(4 + 5);
        pipe.WriteWord(0);  // took only two bytes
        pipe.WriteWord(2);
        pipe.ReadBytes(4 + 5);
        pipe.WriteWord(EIO);  // failed after one byte
        pipe.WriteWord(1);
        pipe.ReadBytes(4 + 5);
        pipe.WriteWord(0);  // claims more than it was given
        pipe.WriteWord(500);
        EXPECT_EQ(0u, pipe.ReadWord());  // an empty write is still a frame
        pipe.WriteWord(0);
        pipe.WriteWord(0);
    });
    const HANDLE pipe = m_platform.OpenPipe(WritePipePath().c_str(), PipeAccess::Write);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    DWORD count = 0;
    EXPECT_TRUE(Write(pipe, "12345", &count));
    EXPECT_EQ(2u, count);
    EXPECT_FALSE(Write(pipe, "12345", &count));
    EXPECT_EQ(static_cast<DWORD>(EIO), m_platform.GetLastError());
    EXPECT_EQ(1u, count);
    EXPECT_TRUE(Write(pipe, "12345", &count));
    EXPECT_EQ(5u, count);
    EXPECT_TRUE(Write(pipe, "", &count));
    EXPECT_EQ(0u, count);
    device.Join();
    m_platform.CloseHandle(pipe);
}

TEST_F(PosixPipeTransferTest, ReadKeepsTheFirstBytesOfALongerReplyAndStaysInFrame)
{
    PosixScriptedPipe device(m_bus.BusPath(), ReadPipePath());
    device.Serve([](PosixScriptedPipe& pipe) {
        EXPECT_EQ(4u, pipe.ReadWord());
        pipe.WriteWord(0);
        pipe.WriteWord(10);
        pipe.WriteBytes("0123456789");
        EXPECT_EQ(10u, pipe.ReadWord());
        pipe.WriteWord(0);
        pipe.WriteWord(2);
        pipe.WriteBytes("OK");
        pipe.ReadWord();
        pipe.WriteWord(0);
        pipe.WriteWord(0);
        pipe.ReadWord();
        pipe.WriteWord(EPROTO);
        pipe.WriteWord(0);
    });
    const HANDLE pipe = m_platform.OpenPipe(ReadPipePath().c_str(), PipeAccess::Read);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    char buffer[12];
    std::memset(buffer, '#', sizeof(buffer));
    DWORD count = 0;
    EXPECT_TRUE(Read(pipe, buffer, 4, &count));
    EXPECT_EQ(4u, count);
    EXPECT_EQ("0123####", std::string(buffer, 8));

    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_TRUE(Read(pipe, buffer, 10, &count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ("OK##", std::string(buffer, 4));

    EXPECT_TRUE(Read(pipe, buffer, 10, &count));
    EXPECT_EQ(0u, count);

    EXPECT_FALSE(Read(pipe, buffer, 10, &count));
    EXPECT_EQ(static_cast<DWORD>(EPROTO), m_platform.GetLastError());
    device.Join();
    m_platform.CloseHandle(pipe);
}

TEST_F(PosixPipeTransferTest, AReadAskedForBeforeItsReplyIsIncompleteThenCompletes)
{
    PosixScriptedPipe device(m_bus.BusPath(), ReadPipePath());
    Gate asked;
    device.Serve([&](PosixScriptedPipe& pipe) {
        EXPECT_EQ(8u, pipe.ReadWord());
        asked.Pass();
        pipe.WriteWord(0);
        pipe.WriteWord(2);
        pipe.WriteBytes("OK");
    });
    const HANDLE pipe = m_platform.OpenPipe(ReadPipePath().c_str(), PipeAccess::Read);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    Transfer transfer(m_platform);
    char buffer[8];
    DWORD count = 99;
    EXPECT_FALSE(m_platform.ReadFile(pipe, buffer, sizeof buffer, &count, &transfer.overlapped));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), m_platform.GetLastError());
    // The code every backend gives for a transfer still under way.
    EXPECT_FALSE(m_platform.GetOverlappedResult(pipe, &transfer.overlapped, &count, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_INCOMPLETE), m_platform.GetLastError());
    asked.Open();
    EXPECT_TRUE(transfer.Finish(pipe, &count));
    EXPECT_EQ(2u, count);
    device.Join();
    m_platform.CloseHandle(pipe);
}

TEST_F(PosixPipeTransferTest, AbandonedReadNeverTouchesTheCallerAndItsLateCompletionIsDropped)
{
    PosixScriptedPipe device(m_bus.BusPath(), ReadPipePath());
    Gate cancelled;
    device.Serve([&](PosixScriptedPipe& pipe) {
        EXPECT_EQ(16u, pipe.ReadWord());
        cancelled.Pass();
        pipe.WriteWord(0);
        pipe.WriteWord(4);
        pipe.WriteBytes("LATE");
        EXPECT_EQ(8u, pipe.ReadWord());
        pipe.WriteWord(0);
        pipe.WriteWord(4);
        pipe.WriteBytes("NEXT");
    });
    const HANDLE pipe = m_platform.OpenPipe(ReadPipePath().c_str(), PipeAccess::Read);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);

    auto abandoned = std::make_unique<Transfer>(m_platform);
    char abandonedBuffer[16];
    std::memset(abandonedBuffer, '#', sizeof(abandonedBuffer));
    DWORD count = 0;
    EXPECT_FALSE(m_platform.ReadFile(pipe, abandonedBuffer, 16, &count, &abandoned->overlapped));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), m_platform.GetLastError());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform.WaitForSingleObject(abandoned->overlapped.hEvent, 30));
    m_platform.CancelTransfer(pipe, &abandoned->overlapped);
    const Overlapped afterCancel = abandoned->overlapped;
    const HANDLE abandonedEvent = m_platform.CreateEvent();
    abandoned->overlapped.hEvent = abandonedEvent;
    cancelled.Open();

    char buffer[8];
    EXPECT_TRUE(Read(pipe, buffer, 8, &count));
    EXPECT_EQ(4u, count);
    EXPECT_EQ("NEXT", std::string(buffer, 4));
    EXPECT_EQ(std::string(16, '#'), std::string(abandonedBuffer, 16));
    EXPECT_EQ(0, std::memcmp(&afterCancel, &abandoned->overlapped, offsetof(Overlapped, hEvent)));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform.WaitForSingleObject(abandonedEvent, 0));
    EXPECT_FALSE(m_platform.GetOverlappedResult(pipe, &abandoned->overlapped, &count, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), m_platform.GetLastError());
    device.Join();
    m_platform.CloseHandle(pipe);
}

TEST_F(PosixPipeTransferTest, AbandonedWriteStillSendsItsWholeFrameAfterTheCallerFreedIt)
{
    constexpr std::size_t kSize = 4 * 1024 * 1024;
    std::string original(kSize, '\0');
    for (std::size_t i = 0; i < kSize; ++i) {
        original[i] = static_cast<char>(i * 7 + i / 251);
    }
    PosixScriptedPipe device(m_bus.BusPath(), WritePipePath());
    Gate cancelled;
    device.Serve([&](PosixScriptedPipe& pipe) {
        EXPECT_EQ(kSize, pipe.ReadWord());
        cancelled.Pass();
        EXPECT_TRUE(pipe.ReadBytes(kSize) == original);
        pipe.WriteWord(0);
        pipe.WriteWord(static_cast<std::uint32_t>(kSize));
        EXPECT_EQ(2u, pipe.ReadWord());
        EXPECT_EQ("ok", pipe.ReadBytes(2));
        pipe.WriteWord(0);
        pipe.WriteWord(2);
    });
    const HANDLE pipe = m_platform.OpenPipe(WritePipePath().c_str(), PipeAccess::Write);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    {
        std::vector<char> bytes(original.begin(), original.end());
        Transfer abandoned(m_platform);
        DWORD count = 0;
        EXPECT_FALSE(m_platform.WriteFile(pipe, bytes.data(), kSize, &count, &abandoned.overlapped));
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform.WaitForSingleObject(abandoned.overlapped.hEvent, 30));
        m_platform.CancelTransfer(pipe, &abandoned.overlapped);
        std::fill(bytes.begin(), bytes.end(), 'X');
    }
    cancelled.Open();
    DWORD count = 0;
    EXPECT_TRUE(Write(pipe, "ok", &count));
    EXPECT_EQ(2u, count);
    device.Join();
    m_platform.CloseHandle(pipe);
}

TEST_F(PosixPipeTransferTest, LargeFramesInBothDirectionsDoNotDeadlock)
{
    constexpr std::size_t kWriteSize = 32 * 1024 * 1024;
    constexpr std::size_t kReplySize = 8 * 1024 * 1024;
    constexpr DWORD kKept = 1024 * 1024;
    PosixScriptedPipe writer(m_bus.BusPath(), WritePipePath());
    PosixScriptedPipe reader(m_bus.BusPath(), ReadPipePath());
    writer.Serve([&](PosixScriptedPipe& pipe) {
        EXPECT_EQ(kWriteSize, pipe.ReadWord());
        const std::string data = pipe.ReadBytes(kWriteSize);
        EXPECT_EQ(std::string::npos, data.find_first_not_of('w'));
        pipe.WriteWord(0);
        pipe.WriteWord(static_cast<std::uint32_t>(kWriteSize));
    });
    reader.Serve([&](PosixScriptedPipe& pipe) {
        EXPECT_EQ(kKept, pipe.ReadWord());
        pipe.WriteWord(0);
        pipe.WriteWord(static_cast<std::uint32_t>(kReplySize));
        pipe.WriteBytes(std::string(kReplySize, 'r'));
        pipe.ReadWord();
        pipe.WriteWord(0);
        pipe.WriteWord(1);
        pipe.WriteBytes("!");
    });
    const HANDLE out = m_platform.OpenPipe(WritePipePath().c_str(), PipeAccess::Write);
    const HANDLE in = m_platform.OpenPipe(ReadPipePath().c_str(), PipeAccess::Read);
    ASSERT_NE(INVALID_HANDLE_VALUE, out);
    ASSERT_NE(INVALID_HANDLE_VALUE, in);
    DWORD count = 0;
    EXPECT_TRUE(Write(out, std::string(kWriteSize, 'w'), &count));
    EXPECT_EQ(kWriteSize, count);
    std::vector<char> buffer(kKept);
    EXPECT_TRUE(Read(in, buffer.data(), kKept, &count));
    EXPECT_EQ(kKept, count);
    EXPECT_EQ(kKept, static_cast<DWORD>(std::count(buffer.begin(), buffer.end(), 'r')));
    EXPECT_TRUE(Read(in, buffer.data(), 4, &count));
    EXPECT_EQ('!', buffer[0]);
    writer.Join();
    reader.Join();
    m_platform.CloseHandle(out);
    m_platform.CloseHandle(in);
}

TEST_F(PosixPipeTransferTest, ConnectionClosedByTheDeviceFailsThePendingAndTheNextTransferWithEnodev)
{
    PosixScriptedPipe device(m_bus.BusPath(), ReadPipePath());
    Gate pending;
    device.Serve([&](PosixScriptedPipe& pipe) {
        pipe.ReadWord();
        pending.Pass();
        pipe.CloseConnection();
    });
    const HANDLE pipe = m_platform.OpenPipe(ReadPipePath().c_str(), PipeAccess::Read);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    Transfer transfer(m_platform);
    char buffer[4];
    DWORD count = 0;
    EXPECT_FALSE(m_platform.ReadFile(pipe, buffer, 4, &count, &transfer.overlapped));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), m_platform.GetLastError());
    pending.Open();
    EXPECT_FALSE(transfer.Finish(pipe, &count));
    EXPECT_EQ(static_cast<DWORD>(ENODEV), m_platform.GetLastError());

    Transfer next(m_platform);
    EXPECT_FALSE(m_platform.ReadFile(pipe, buffer, 4, &count, &next.overlapped));
    EXPECT_EQ(static_cast<DWORD>(ENODEV), m_platform.GetLastError());
    device.Join();
    m_platform.CloseHandle(pipe);
}

TEST_F(PosixPipeTransferTest, TransfersOnHandlesThatAreNoOpenPipeFailAtOnceWithEbadf)
{
    PosixScriptedPipe device(m_bus.BusPath(), WritePipePath());
    device.Serve([](PosixScriptedPipe&) {});
    const HANDLE pipe = m_platform.OpenPipe(WritePipePath().c_str(), PipeAccess::Write);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    Transfer transfer(m_platform);
    char buffer[4];
    DWORD count = 7;
    // A write pipe does not read.
    EXPECT_FALSE(m_platform.ReadFile(pipe, buffer, 4, &count, &transfer.overlapped));
    EXPECT_EQ(static_cast<DWORD>(EBADF), m_platform.GetLastError());
    EXPECT_TRUE(m_platform.CloseHandle(pipe));
    EXPECT_FALSE(m_platform.WriteFile(pipe, "x", 1, &count, &transfer.overlapped));
    EXPECT_EQ(static_cast<DWORD>(EBADF), m_platform.GetLastError());
    EXPECT_FALSE(m_platform.WriteFile(INVALID_HANDLE_VALUE, "x", 1, &count, &transfer.overlapped));
    EXPECT_EQ(static_cast<DWORD>(EBADF), m_platform.GetLastError());
    EXPECT_FALSE(m_platform.WriteFile(transfer.overlapped.hEvent, "x", 1, &count, &transfer.overlapped));
    EXPECT_EQ(static_cast<DWORD>(EBADF), m_platform.GetLastError());
    EXPECT_EQ(7u, count);
    EXPECT_FALSE(m_platform.CloseHandle(pipe));
    EXPECT_EQ(static_cast<DWORD>(EBADF), m_platform.GetLastError());
    device.Join();
}

TEST_F(PosixPipeTransferTest, OpeningAPipeNobodyServesFailsWithTheConnectError)
{
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_platform.OpenPipe(WritePipePath().c_str(), PipeAccess::Write));
    EXPECT_EQ(static_cast<DWORD>(ENOENT), m_platform.GetLastError());

    PosixScriptedPipe gone(m_bus.BusPath(), ReadPipePath());
    gone.StopListening();
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_platform.OpenPipe(ReadPipePath().c_str(), PipeAccess::Read));
    EXPECT_EQ(static_cast<DWORD>(ECONNREFUSED), m_platform.GetLastError());

    // A name with a slash would lead out of the bus folder.
    m_bus.PutFile("x");
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_platform.OpenPipe("../bus/x", PipeAccess::Read));
    EXPECT_EQ(static_cast<DWORD>(ENOENT), m_platform.GetLastError());
}

TEST(PosixLongAddressTest, PipesBeyondTheSocketAddressLimitAreReachedThroughTheOpenFolder)
{
    PosixTestBus bus(std::string(70, 'b'));
    bus.CreateBus();
    const std::string interfacePath = "\\\\?\\usb#vid_1234&pid_5678#LONG" + std::string(PosixTestBus::kClassSuffix);
    const std::string pipePath = interfacePath + "\\PIPE02";
    ASSERT_GT(bus.BusPath().size() + 1 + pipePath.size(), 107u);
    CPlatform& platform = BuildPlatform();

    PosixScriptedPipe device(bus.BusPath(), pipePath);
    device.Serve([](PosixScriptedPipe& pipe) {
        EXPECT_EQ(std::string("\x01\x00\x00\x00Z", 5), pipe.ReadBytes(5));
        pipe.WriteWord(0);
        pipe.WriteWord(1);
    });
    const HANDLE pipe = platform.OpenPipe(pipePath.c_str(), PipeAccess::Write);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    Overlapped overlapped = {};
    overlapped.hEvent = platform.CreateEvent();
    DWORD count = 0;
    if (!platform.WriteFile(pipe, "Z", 1, &count, &overlapped)) {
        ASSERT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), platform.GetLastError());
        ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), platform.WaitForSingleObject(overlapped.hEvent, kPatienceMs));
        EXPECT_TRUE(platform.GetOverlappedResult(pipe, &overlapped, &count, FALSE));
    }
    EXPECT_EQ(1u, count);
    device.Join();
    platform.CloseHandle(overlapped.hEvent);
    platform.CloseHandle(pipe);

    // Too long even through the folder's descriptor: refused, not cut short.
    const std::string tooLong = std::string(120, 'p') + PosixTestBus::kClassSuffix + "\\PIPE02";
    EXPECT_EQ(INVALID_HANDLE_VALUE, platform.OpenPipe(tooLong.c_str(), PipeAccess::Write));
    EXPECT_EQ(static_cast<DWORD>(ENAMETOOLONG), platform.GetLastError());
}

}  // namespace
