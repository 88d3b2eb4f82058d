// The POSIX platform's flash-file access (read-only, held against other
// openers) and its clock.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "PosixTestBus.h"
#include "platform/CPlatform.h"

namespace {

void Ignore(int) {}

class PosixFileAndClockTest : public ::testing::Test {
protected:
    std::string PutFile(const std::string& name, const std::string& content)
    {
        const std::string path = m_bus.Root() + "/" + name;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        EXPECT_EQ(static_cast<ssize_t>(content.size()), ::write(fd, content.data(), content.size()));
        ::close(fd);
        return path;
    }

    PosixTestBus m_bus;
    CPlatform& m_platform = BuildPlatform();
};

TEST_F(PosixFileAndClockTest, AFileIsReadToItsEndAndReportsItsSize)
{
    const std::string content = "S00F0000\r\n\r\nS9030000FC\n";
    const HANDLE file = m_platform.OpenFileExclusive(PutFile("flash.s19", content).c_str());
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::uint64_t size = 0;
    EXPECT_TRUE(m_platform.GetFileSize(file, &size));
    EXPECT_EQ(content.size(), size);
    std::string read;
    char buffer[7];
    DWORD count = 0;
    while (m_platform.ReadFileBytes(file, buffer, sizeof(buffer), &count) && count > 0) {
        read.append(buffer, count);
    }
    EXPECT_EQ(content, read);
    EXPECT_EQ(0u, count);
    EXPECT_TRUE(m_platform.CloseHandle(file));
    EXPECT_FALSE(m_platform.ReadFileBytes(file, buffer, sizeof(buffer), &count));
    EXPECT_EQ(static_cast<DWORD>(EBADF), m_platform.GetLastError());
}

TEST_F(PosixFileAndClockTest, AnOpenFileKeepsOtherOpenersOutUntilItIsClosed)
{
    const std::string path = PutFile("flash.s19", "S9\n");
    const HANDLE first = m_platform.OpenFileExclusive(path.c_str());
    ASSERT_NE(INVALID_HANDLE_VALUE, first);
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_platform.OpenFileExclusive(path.c_str()));
    EXPECT_EQ(static_cast<DWORD>(EWOULDBLOCK), m_platform.GetLastError());
    m_platform.CloseHandle(first);
    const HANDLE second = m_platform.OpenFileExclusive(path.c_str());
    EXPECT_NE(INVALID_HANDLE_VALUE, second);
    m_platform.CloseHandle(second);
}

TEST_F(PosixFileAndClockTest, FoldersAndMissingFilesDoNotOpen)
{
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_platform.OpenFileExclusive(m_bus.Root().c_str()));
    EXPECT_EQ(static_cast<DWORD>(EISDIR), m_platform.GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_platform.OpenFileExclusive((m_bus.Root() + "/none").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ENOENT), m_platform.GetLastError());
}

TEST_F(PosixFileAndClockTest, SleepLastsItsWholeTimeThroughSignalsAndTheTickCountFollows)
{
    struct sigaction action = {};
    action.sa_handler = Ignore;  // no SA_RESTART: the sleep is interrupted
    struct sigaction saved;
    ::sigaction(SIGALRM, &action, &saved);
    const itimerval every5ms = {{0, 5000}, {0, 5000}};
    ::setitimer(ITIMER_REAL, &every5ms, nullptr);
    const DWORD before = m_platform.GetTickCount();
    m_platform.Sleep(40);
    const DWORD after = m_platform.GetTickCount();
    const itimerval stop = {};
    ::setitimer(ITIMER_REAL, &stop, nullptr);
    ::sigaction(SIGALRM, &saved, nullptr);
    EXPECT_GE(static_cast<DWORD>(after - before), 40u);
}

}  // namespace
