// Trelox.exe started by the end-to-end tests as a user would start it: its
// command line, its process id for finding its windows, its exit status.
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <string>

class TreloxProcess {
public:
    // Starts the program with `arguments` after its own name.
    explicit TreloxProcess(const std::string& arguments);
    // Starts `program` (a Windows path), for example an installed copy.
    TreloxProcess(const std::string& program, const std::string& arguments);
    // Ends the program if it is still running.
    ~TreloxProcess();
    TreloxProcess(const TreloxProcess&) = delete;
    TreloxProcess& operator=(const TreloxProcess&) = delete;

    bool Started() const { return m_process != nullptr; }
    DWORD Id() const { return m_id; }
    // True when it ended within `timeoutMs`.
    bool WaitForExit(DWORD timeoutMs);
    // The exit status; only meaningful after WaitForExit.
    DWORD ExitCode() const;

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// The program under test, as the build placed it.
std::string TreloxExecutable();
