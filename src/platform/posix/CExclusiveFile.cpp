// A file opened for reading and held against other openers.
#include "platform/posix/CExclusiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

CExclusiveFile::~CExclusiveFile()
{
    ::close(m_fd);
}

CExclusiveFile* CExclusiveFile::Open(const std::string& path)
{
    // Non-blocking so that opening a FIFO without a writer does not hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info;
    int error = 0;
    // NOLINTNEXTLINE(bugprone-branch-clone): two different failures both leave their errno
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return new CExclusiveFile(fd);
}

long CExclusiveFile::Read(void* buffer, DWORD size)
{
    ssize_t count;
    do {
        count = ::read(m_fd, buffer, size);
    } while (count < 0 && errno == EINTR);
    return static_cast<long>(count);
}

bool CExclusiveFile::Size(std::uint64_t* size) const
{
    struct stat info;
    if (::fstat(m_fd, &info) != 0) {
        return false;
    }
    *size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
    return true;
}
