// Another process that holds a named mutex (trelox_mutex_holder.exe beside
// the test program) until the test lets it end, releasing the mutex or not.
#pragma once

#include "platform/win32/Win32Api.h"

#include <string>

class MutexHolderProcess {
public:
    enum class Ending { Release, Abandon };

    MutexHolderProcess(const std::string& mutexName, Ending ending);
    ~MutexHolderProcess();
    MutexHolderProcess(const MutexHolderProcess&) = delete;
    MutexHolderProcess& operator=(const MutexHolderProcess&) = delete;

    // True once the other process holds the mutex.
    bool Holds() const { return m_holding; }
    // Lets the other process end as chosen; its exit code (0 when all went
    // well), or -1 when it did not end in time.
    int Finish();

private:
    HANDLE m_ready = nullptr;
    HANDLE m_finish = nullptr;
    PROCESS_INFORMATION m_process{};
    bool m_holding = false;
    bool m_finished = false;
};
