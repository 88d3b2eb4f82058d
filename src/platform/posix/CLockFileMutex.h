// A named mutex held as an exclusive flock on its lock file, so that other
// programs (and the test-system software) see it held, and the kernel frees
// it when the holding process ends.
#pragma once

#include "platform/PlatformBasics.h"
#include "platform/posix/CPosixObject.h"

class CLockFileMutex : public CPosixObject {
public:
    explicit CLockFileMutex(int fd) : m_fd(fd) {}
    ~CLockFileMutex() override;

    // Takes the lock: WAIT_OBJECT_0, WAIT_TIMEOUT after `milliseconds`, or
    // WAIT_FAILED with errno set. Taking a lock already held succeeds.
    DWORD Wait(DWORD milliseconds);
    // False (errno EPERM) when this handle does not hold the lock.
    bool Release();

private:
    int m_fd;
    bool m_held = false;
};
