// The lock-holding child process and the free-lock probe.
#include "LockHolderProcess.h"

#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

LockHolderProcess::~LockHolderProcess()
{
    EndWithoutUnlocking();
}

bool LockHolderProcess::Hold(const std::vector<std::string>& paths)
{
    int ready[2];
    if (pipe(ready) != 0) return false;
    m_pid = fork();
    if (m_pid == 0) {
        close(ready[0]);
        for (const std::string& path : paths) {
            int fd = open(path.c_str(), O_RDWR | O_CREAT, 0666);
            if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) _exit(3);
        }
        const char byte = 'k';
        if (write(ready[1], &byte, 1) != 1) _exit(4);
        for (;;) pause();
    }
    close(ready[1]);
    char byte = 0;
    pollfd entry = {ready[0], POLLIN, 0};
    const bool held = m_pid > 0 && poll(&entry, 1, 5000) == 1 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (!held) EndWithoutUnlocking();
    return held;
}

void LockHolderProcess::EndWithoutUnlocking()
{
    if (m_pid <= 0) return;
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

bool LockHolderProcess::IsFree(const std::string& path)
{
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    // A fresh open file description: its flock conflicts with every other
    // holder, in this process too.
    const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return free;
}
