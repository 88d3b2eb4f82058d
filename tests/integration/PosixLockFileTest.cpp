// The POSIX platform's named mutexes as lock files: where each name lives,
// the folders' modes, and holding against other processes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "PosixTestBus.h"
#include "platform/CPlatform.h"

namespace {

class PosixLockFileTest : public ::testing::Test {
protected:
    std::string LocalFolder() const { return m_bus.LockPath() + "/local-" + std::to_string(::getuid()); }
    std::string GlobalFolder() const { return m_bus.LockPath() + "/global"; }

    static bool Exists(const std::string& path)
    {
        struct stat info;
        return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }
    static unsigned Mode(const std::string& path)
    {
        struct stat info;
        return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0xFFFFu;
    }

    // Whether another process can take the lock file at `path` right now.
    static bool FreeForAnotherProcess(const std::string& path)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0666);
            ::_exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    PosixTestBus m_bus;
    CPlatform& m_platform = BuildPlatform();
};

TEST_F(PosixLockFileTest, NamesAreEscapedIntoTheirNamespaceFolder)
{
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"Global\\ORB812MUTEX_SIM0001", GlobalFolder() + "/ORB812MUTEX_SIM0001"},
        {"Local\\a/../b%c\xE4 ok", LocalFolder() + "/a%2F..%2Fb%25c%E4%20ok"},
        {"ORB812SynchronizerMutex", LocalFolder() + "/ORB812SynchronizerMutex"},
        {"Global\\..", GlobalFolder() + "/%2E%2E"},
        {"Local\\.", LocalFolder() + "/%2E"},
        {"Local\\Global\\x", LocalFolder() + "/Global%5Cx"},
    };
    for (const auto& entry : cases) {
        const HANDLE mutex = m_platform.CreateMutex(entry.name);
        ASSERT_NE(nullptr, mutex) << entry.name;
        EXPECT_TRUE(Exists(entry.file)) << entry.file;
        EXPECT_TRUE(m_platform.CloseHandle(mutex));
    }
}

TEST_F(PosixLockFileTest, LocalAndUnprefixedNamesAreOneMutexAndLetterCaseCounts)
{
    const HANDLE prefixed = m_platform.CreateMutex("Local\\Shared");
    const HANDLE plain = m_platform.CreateMutex("Shared");
    const HANDLE otherCase = m_platform.CreateMutex("Local\\SHARED");
    ASSERT_NE(nullptr, prefixed);
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, otherCase);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform.WaitForSingleObject(prefixed, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform.WaitForSingleObject(plain, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform.WaitForSingleObject(otherCase, 0));
    EXPECT_TRUE(m_platform.ReleaseMutex(prefixed));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform.WaitForSingleObject(plain, 0));
    for (const HANDLE mutex : {prefixed, plain, otherCase}) {
        m_platform.CloseHandle(mutex);
    }
}

TEST_F(PosixLockFileTest, RefusedNamesGiveNullWithTheReason)
{
    EXPECT_EQ(nullptr, m_platform.CreateMutex(("Global\\" + std::string(300, 'n')).c_str()));
    EXPECT_EQ(static_cast<DWORD>(ENAMETOOLONG), m_platform.GetLastError());
    // Escaping triples these bytes past the limit of a file name.
    EXPECT_EQ(nullptr, m_platform.CreateMutex(("Local\\" + std::string(100, '\xFF')).c_str()));
    EXPECT_EQ(static_cast<DWORD>(ENAMETOOLONG), m_platform.GetLastError());
    EXPECT_EQ(nullptr, m_platform.CreateMutex(std::string(20000, 'n').c_str()));
    EXPECT_EQ(static_cast<DWORD>(ENAMETOOLONG), m_platform.GetLastError());
    EXPECT_EQ(nullptr, m_platform.CreateMutex("Local\\"));
    EXPECT_EQ(static_cast<DWORD>(EINVAL), m_platform.GetLastError());
}

TEST_F(PosixLockFileTest, FoldersGetTheirModesWhateverTheUmask)
{
    const mode_t saved = ::umask(077);
    const HANDLE global = m_platform.CreateMutex("Global\\g");
    const HANDLE local = m_platform.CreateMutex("Local\\l");
    ::umask(saved);
    ASSERT_NE(nullptr, global);
    ASSERT_NE(nullptr, local);
    EXPECT_EQ(01777u, Mode(m_bus.LockPath()));
    EXPECT_EQ(01777u, Mode(GlobalFolder()));
    EXPECT_EQ(0700u, Mode(LocalFolder()));
    EXPECT_EQ(0600u, Mode(GlobalFolder() + "/g")) << "the umask narrows the lock file itself";
    m_platform.CloseHandle(global);
    m_platform.CloseHandle(local);
}

TEST_F(PosixLockFileTest, AHoldIsSeenByOtherProcessesAndReleaseIsOnlyForTheHolder)
{
    const HANDLE mutex = m_platform.CreateMutex("Global\\ORB812MUTEX_X");
    ASSERT_NE(nullptr, mutex);
    const std::string file = GlobalFolder() + "/ORB812MUTEX_X";
    EXPECT_FALSE(m_platform.ReleaseMutex(mutex));
    EXPECT_TRUE(FreeForAnotherProcess(file));
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform.WaitForSingleObject(mutex, 0));
    EXPECT_FALSE(FreeForAnotherProcess(file));
    EXPECT_TRUE(m_platform.ReleaseMutex(mutex));
    EXPECT_FALSE(m_platform.ReleaseMutex(mutex));
    EXPECT_TRUE(FreeForAnotherProcess(file));
    // Closing a held mutex frees it as well.
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform.WaitForSingleObject(mutex, 0));
    m_platform.CloseHandle(mutex);
    EXPECT_TRUE(FreeForAnotherProcess(file));
}

TEST_F(PosixLockFileTest, AMutexHeldByAnotherProcessIsFreeOnceThatProcessDies)
{
    const HANDLE mutex = m_platform.CreateMutex("ORB812SynchronizerMutex");
    ASSERT_NE(nullptr, mutex);
    const std::string file = LocalFolder() + "/ORB812SynchronizerMutex";
    int ready[2];
    ASSERT_EQ(0, ::pipe(ready));
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0666);
        const char held = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? 'y' : 'n';
        (void)::write(ready[1], &held, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char held = 0;
    ASSERT_EQ(1, ::read(ready[0], &held, 1));
    ::close(ready[0]);
    EXPECT_EQ('y', held);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform.WaitForSingleObject(mutex, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), m_platform.WaitForSingleObject(mutex, 20));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), m_platform.WaitForSingleObject(mutex, 0));
    EXPECT_TRUE(m_platform.ReleaseMutex(mutex));
    m_platform.CloseHandle(mutex);
}

}  // namespace
