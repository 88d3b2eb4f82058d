// For the permission cases: the calling thread loses the power to pass over
// file permissions (as root has it), so that a device node it may not open
// is refused as it would be to an unprivileged user. Given back when the
// object goes; nothing to do where the thread never had that power.
#pragma once

class ThreadFileAccess {
public:
    ThreadFileAccess();
    ThreadFileAccess(const ThreadFileAccess&) = delete;
    ThreadFileAccess& operator=(const ThreadFileAccess&) = delete;
    ~ThreadFileAccess();

private:
    bool m_dropped = false;
    unsigned m_effective[2] = {};
};
