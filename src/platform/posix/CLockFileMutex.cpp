// A named mutex held as an exclusive flock on its lock file.
#include "platform/posix/CLockFileMutex.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/CPosixClock.h"

namespace {
constexpr std::uint64_t kRetryMilliseconds = 5;
constexpr DWORD kInfinite = 0xFFFFFFFF;

bool TryLock(int fd)
{
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}
}  // namespace

CLockFileMutex::~CLockFileMutex()
{
    ::close(m_fd);
}

DWORD CLockFileMutex::Wait(DWORD milliseconds)
{
    // Other holders are other processes: nothing here can be woken by them,
    // so a wait with a time-out retries at a short interval.
    const std::uint64_t start = CPosixClock::NowMilliseconds();
    for (;;) {
        if (TryLock(m_fd)) {
            m_held = true;
            return WAIT_OBJECT_0;
        }
        if (errno != EWOULDBLOCK) {
            return WAIT_FAILED;
        }
        if (milliseconds != kInfinite && CPosixClock::NowMilliseconds() - start >= milliseconds) {
            return WAIT_TIMEOUT;
        }
        CPosixClock::Sleep(kRetryMilliseconds);
    }
}

bool CLockFileMutex::Release()
{
    if (!m_held) {
        errno = EPERM;
        return false;
    }
    ::flock(m_fd, LOCK_UN);
    m_held = false;
    return true;
}
