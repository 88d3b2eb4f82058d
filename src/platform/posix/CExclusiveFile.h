// A file opened for reading and held against other openers by an exclusive
// flock, the nearest this system has to a file opened without sharing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/PlatformBasics.h"
#include "platform/posix/CPosixObject.h"

class CExclusiveFile : public CPosixObject {
public:
    ~CExclusiveFile() override;

    // Opens an existing file read-only; fails on a directory (EISDIR) and
    // while another holder has it (EWOULDBLOCK). Null with errno on failure.
    static CExclusiveFile* Open(const std::string& path);

    // Up to `size` bytes; 0 at the end. -1 with errno on failure.
    long Read(void* buffer, DWORD size);
    // The size the system reports; 0 for pipes. False with errno on failure.
    bool Size(std::uint64_t* size) const;

private:
    explicit CExclusiveFile(int fd) : m_fd(fd) {}

    int m_fd;
};
