// trelox-devsim as a child process on a test's private bus directory: started
// with the test's options, waited for until its devices are on the bus,
// stopped with SIGTERM, and its log read back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ChildProcess.h"

class DevsimProcess {
public:
    // `busDirectory` is passed with --bus; the log and the ready file go to
    // `workDirectory`.
    DevsimProcess(std::string busDirectory, const std::string& workDirectory);
    DevsimProcess(const DevsimProcess&) = delete;
    DevsimProcess& operator=(const DevsimProcess&) = delete;
    // Stops the simulator if it still runs.
    ~DevsimProcess();

    // Starts it with `options` and waits up to 5 s for its ready file. False
    // when it ended or did not get ready in time (it is then stopped).
    bool Start(const std::vector<std::string>& options);
    // Starts it and waits for it to end by itself (for option errors); the
    // exit status, or -1.
    int RunToExit(const std::vector<std::string>& options);
    // SIGTERM, then waits for the end (SIGKILL after 5 s). The exit status,
    // or -1 when it had to be killed or was not running.
    int Stop();
    bool Running() const { return m_process.Running(); }

    std::string Log() const;
    std::vector<std::string> LogLines() const;
    // The log lines that contain every one of `parts`.
    std::vector<std::string> LinesWith(const std::vector<std::string>& parts) const;
    // Waits up to `timeoutMs` until `count` log lines contain every one of `parts`.
    bool WaitForLine(const std::vector<std::string>& parts, int timeoutMs, std::size_t count = 1) const;

    const std::string& BusDirectory() const { return m_bus; }

private:
    // The options that put it on the test's bus, then `options`.
    std::vector<std::string> Arguments(const std::vector<std::string>& options) const;

    std::string m_bus;
    std::string m_logPath;
    std::string m_readyPath;
    ChildProcess m_process;
};
