// Another program that keeps Trelox off the device: a child process that
// holds lock files the way the bus contract says (open, exclusive flock) until
// it is told to end, and can end without unlocking.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

class LockHolderProcess {
public:
    LockHolderProcess() = default;
    LockHolderProcess(const LockHolderProcess&) = delete;
    LockHolderProcess& operator=(const LockHolderProcess&) = delete;
    // Kills the holder if it still runs.
    ~LockHolderProcess();

    // Forks a child that creates and locks every file in `paths` (their
    // directories must exist); true once it holds them all.
    bool Hold(const std::vector<std::string>& paths);
    // Kills the holder with SIGKILL: it ends without releasing anything.
    void EndWithoutUnlocking();

    // Whether this process could take the file's lock now (it is released
    // again at once): true when nobody holds it.
    static bool IsFree(const std::string& path);

private:
    pid_t m_pid = -1;
};
